// CStateGuard: the changes a scope made, undone in reverse order.
#include "render/CStateGuard.h"

#include "render/CRenderState.h"

CStateGuard::CStateGuard() : changes_{}, count_(0) {}

CStateGuard::~CStateGuard() {
    Restore();
}

void CStateGuard::SetEnabled(unsigned int capability, bool on) {
    bool wasOn = CRenderState::IsEnabled(capability);
    if (wasOn == on || count_ == kMaxChanges) {
        return;
    }
    changes_[count_++] = Change{capability, wasOn, 0, 0};
    CRenderState::SetEnabled(capability, on);
}

void CStateGuard::SetBlendFunc(int source, int destination) {
    int oldSource = 0;
    int oldDestination = 0;
    CRenderState::GetBlendFunc(&oldSource, &oldDestination);
    if ((oldSource == source && oldDestination == destination) || count_ == kMaxChanges) {
        return;
    }
    changes_[count_++] = Change{0, false, oldSource, oldDestination};
    CRenderState::SetBlendFunc(source, destination);
}

void CStateGuard::Restore() {
    while (count_ > 0) {
        const Change& change = changes_[--count_];
        if (change.capability == 0) {
            CRenderState::SetBlendFunc(change.source, change.destination);
        } else {
            CRenderState::SetEnabled(change.capability, change.wasOn);
        }
    }
}
