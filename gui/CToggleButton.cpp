// CToggleButton: the two images, the state and the position of a two-state button.
#include "gui/CToggleButton.h"

#include <cmath>

#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

CToggleButton::CToggleButton()
    : CButtonBase(-1), firstImage(nullptr), secondImage(nullptr), isOn(false) {}

CToggleButton::CToggleButton(const char* firstBase, int firstCount, const char* secondBase,
                             int secondCount, float x, float y, int toggleId)
    : CButtonBase(toggleId),
      firstImage(new CAnimatedSprite(firstBase, FrameCount(firstCount), x, y)),
      secondImage(new CAnimatedSprite(secondBase, FrameCount(secondCount), x, y)),
      isOn(false) {}

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

CSprite* CToggleButton::HoverFrame() const {
    return firstImage != nullptr ? firstImage->GetFrame(0) : nullptr;
}

CAnimatedSprite* CToggleButton::ShownImage() const {
    if (firstImage == nullptr || secondImage == nullptr) {
        return nullptr;
    }
    return isOn ? secondImage : firstImage;
}

float CToggleButton::GetWidth() const {
    CSprite* first = HoverFrame();
    return first != nullptr ? first->GetWidth() : 0.0f;
}

float CToggleButton::GetHeight() const {
    CSprite* first = HoverFrame();
    return first != nullptr ? first->GetHeight() : 0.0f;
}

void CToggleButton::SetSize(int w, int h) {
    ResizeFrames(firstImage, static_cast<float>(w), static_cast<float>(h));
    ResizeFrames(secondImage, static_cast<float>(w), static_cast<float>(h));
}
