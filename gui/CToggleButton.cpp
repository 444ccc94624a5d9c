// CToggleButton: state flipping, hover animation and the tooltip of a two-state button.
#include "gui/CToggleButton.h"

#include <cmath>

#include "input/CEventManager.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

namespace {

unsigned int FrameCountOf(int count) {
    return count > 0 ? static_cast<unsigned int>(count) : 0u;
}

void ResizeFrames(CAnimatedSprite* image, float w, float h) {
    if (image == nullptr) {
        return;
    }
    for (unsigned int i = 0; i < image->GetFrameCount(); ++i) {
        if (CSprite* frame = image->GetFrame(i)) {
            frame->SetWidth(w);
            frame->SetHeight(h);
        }
    }
}

}  // namespace

CToggleButton::CToggleButton()
    : enabled(true),
      hovered(false),
      visible(true),
      firstImage(nullptr),
      secondImage(nullptr),
      isOn(false),
      tooltipOn(false),
      id(-1) {}

CToggleButton::CToggleButton(const char* firstBase, int firstCount, const char* secondBase,
                             int secondCount, float x, float y, int toggleId)
    : CToggleButton() {
    firstImage = new CAnimatedSprite(firstBase, FrameCountOf(firstCount), x, y);
    secondImage = new CAnimatedSprite(secondBase, FrameCountOf(secondCount), x, y);
    id = toggleId;
}

CToggleButton::~CToggleButton() {
    delete firstImage;
    delete secondImage;
}

void CToggleButton::SetPosition(float x, float y) {
    if (firstImage != nullptr) {
        firstImage->SetPosition(x, y);
    }
    if (secondImage != nullptr) {
        secondImage->SetPosition(x, y);
    }
}

float CToggleButton::GetX() const {
    return firstImage != nullptr ? firstImage->GetX() : 0.0f;
}

float CToggleButton::GetY() const {
    return firstImage != nullptr ? firstImage->GetY() : 0.0f;
}

void CToggleButton::SetX(float x) {
    float whole = std::trunc(x);
    if (firstImage != nullptr) {
        firstImage->SetX(whole);
    }
    if (secondImage != nullptr) {
        secondImage->SetX(whole);
    }
}

void CToggleButton::SetY(float y) {
    float whole = std::trunc(y);
    if (firstImage != nullptr) {
        firstImage->SetY(whole);
    }
    if (secondImage != nullptr) {
        secondImage->SetY(whole);
    }
}

float CToggleButton::GetWidth() const {
    CSprite* first = firstImage != nullptr ? firstImage->GetFrame(0) : nullptr;
    return first != nullptr ? first->GetWidth() : 0.0f;
}

float CToggleButton::GetHeight() const {
    CSprite* first = firstImage != nullptr ? firstImage->GetFrame(0) : nullptr;
    return first != nullptr ? first->GetHeight() : 0.0f;
}

void CToggleButton::SetSize(int w, int h) {
    ResizeFrames(firstImage, static_cast<float>(w), static_cast<float>(h));
    ResizeFrames(secondImage, static_cast<float>(w), static_cast<float>(h));
}

void CToggleButton::SetTooltip(const std::string& text, float x, float y) {
    tooltipText = text;
    tooltipPos = CVector2(x, y);
    tooltipOn = true;
}

bool CToggleButton::HitTest(float ox, float oy) {
    return HitTestAt(GetX() + ox, GetY() + oy);
}

bool CToggleButton::HitTestAt(float x0, float y0) {
    CSprite* first = firstImage != nullptr ? firstImage->GetFrame(0) : nullptr;
    if (first == nullptr || g_pEventManager == nullptr) {
        return false;
    }
    if (!g_pEventManager->MouseInBox(x0, y0, first->GetWidth(), first->GetHeight())) {
        return false;
    }
    if (enabled && g_pEventManager->TookEvent(EVENT_LBUTTONDOWN)) {
        g_pEventManager->SetClickedId(id);
        isOn = !isOn;
    }
    return true;
}

void CToggleButton::Draw() {
    Draw(0.0f, 0.0f);
}

void CToggleButton::Draw(float ox, float oy) {
    DrawAt(GetX() + ox, GetY() + oy);
}

void CToggleButton::DrawAt(float x, float y) {
    if (!visible || firstImage == nullptr || secondImage == nullptr) {
        return;
    }
    // Chosen before the hit test, so a click shows the other image from the next draw on.
    CAnimatedSprite* shown = isOn ? secondImage : firstImage;
    if (HitTestAt(x, y)) {
        hovered = true;
        shown->PlayOnceAt(x, y);
        if (tooltipOn && g_pFontManager != nullptr) {
            g_pFontManager->PrintLiteralAt(tooltipPos.x, tooltipPos.y, tooltipText.c_str());
        }
    } else {
        hovered = false;
        shown->Rewind();
        shown->DrawFrameAt(0, x, y);
    }
}
