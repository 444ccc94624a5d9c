// CButton: hover animation, click reporting and the tooltip of a push button.
#include "gui/CButton.h"

#include "input/CEventManager.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

namespace {

unsigned int FrameCountOf(int count) {
    return count > 0 ? static_cast<unsigned int>(count) : 0u;
}

}  // namespace

CButton::CButton()
    : enabled(true),
      visible(true),
      hovered(false),
      image(nullptr),
      tooltipOn(false),
      width(0.0f),
      height(0.0f),
      id(-1) {}

CButton::CButton(const char* base, int frameCount, float x, float y, int buttonId) : CButton() {
    position = CVector2(x, y);
    id = buttonId;
    image = new CAnimatedSprite(base, FrameCountOf(frameCount), x, y);
    if (CSprite* first = image->GetFrame(0)) {
        width = first->GetWidth();
        height = first->GetHeight();
    }
}

CButton::~CButton() {
    delete image;
}

void CButton::Load(const char* base, int frameCount) {
    enabled = true;
    hovered = false;
    delete image;
    image = new CAnimatedSprite(base, FrameCountOf(frameCount), 0.0f, 0.0f);
    CSprite* first = image->GetFrame(0);
    width = first != nullptr ? first->GetWidth() : 0.0f;
    height = first != nullptr ? first->GetHeight() : 0.0f;
}

void CButton::SetSize(int w, int h) {
    width = static_cast<float>(w);
    height = static_cast<float>(h);
    if (image == nullptr) {
        return;
    }
    for (unsigned int i = 0; i < image->GetFrameCount(); ++i) {
        if (CSprite* frame = image->GetFrame(i)) {
            frame->SetWidth(width);
            frame->SetHeight(height);
        }
    }
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

void CButton::SetTooltip(const std::string& text, float x, float y) {
    tooltipText = text;
    tooltipPos = CVector2(x, y);
    tooltipOn = true;
}

bool CButton::HitTest(float ox, float oy) {
    return HitTestAt(position.x + ox, position.y + oy);
}

bool CButton::HitTestAt(float x0, float y0) {
    CSprite* first = GetFrame(0);
    if (first == nullptr || g_pEventManager == nullptr) {
        return false;
    }
    if (!g_pEventManager->MouseInBox(x0, y0, first->GetWidth(), first->GetHeight())) {
        return false;
    }
    if (enabled && g_pEventManager->TookEvent(EVENT_LBUTTONDOWN)) {
        g_pEventManager->SetClickedId(id);
    }
    return true;
}

void CButton::Draw() {
    DrawAt(position.x, position.y);
}

void CButton::Draw(float ox, float oy) {
    DrawAt(position.x + ox, position.y + oy);
}

void CButton::DrawAt(float x, float y) {
    if (!visible || image == nullptr) {
        return;
    }
    if (HitTestAt(x, y)) {
        hovered = true;
        image->PlayOnceAt(x, y);
        if (tooltipOn && g_pFontManager != nullptr) {
            g_pFontManager->PrintLiteralAt(tooltipPos.x, tooltipPos.y, tooltipText.c_str());
        }
    } else {
        hovered = false;
        image->Rewind();
        image->DrawFrameAt(0, x, y);
    }
}
