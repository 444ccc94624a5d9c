// CButton: the image, size and position of a push button.
#include "gui/CButton.h"

#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

CButton::CButton() : CButtonBase(-1), image(nullptr), width(0.0f), height(0.0f) {}

CButton::CButton(const char* base, int frameCount, float x, float y, int buttonId)
    : CButtonBase(buttonId), position(x, y), image(nullptr), width(0.0f), height(0.0f) {
    image = new CAnimatedSprite(base, FrameCount(frameCount), x, y);
    if (CSprite* first = image->GetFrame(0)) {
        width = first->GetWidth();
        height = first->GetHeight();
    }
}

CButton::~CButton() {
    delete image;
}

void CButton::Load(const char* base, int frameCount) {
    SetEnabled(true);
    SetHovered(false);
    delete image;
    image = new CAnimatedSprite(base, FrameCount(frameCount), 0.0f, 0.0f);
    CSprite* first = image->GetFrame(0);
    width = first != nullptr ? first->GetWidth() : 0.0f;
    height = first != nullptr ? first->GetHeight() : 0.0f;
}

void CButton::SetSize(int w, int h) {
    width = static_cast<float>(w);
    height = static_cast<float>(h);
    ResizeFrames(image, width, height);
}

CSprite* CButton::GetFrame(int index) const {
    if (image == nullptr || index < 0) {
        return nullptr;
    }
    return image->GetFrame(static_cast<unsigned int>(index));
}

void CButton::SetFps(int rate) {
    if (image != nullptr) {
        image->SetFps(rate > 0 ? static_cast<unsigned int>(rate) : 0u);
    }
}
