// CWindow: children, title-bar dragging, cursor choice and drawing of a GUI panel.
#include "gui/CWindow.h"

#include "graphics/CGraphicsCore.h"
#include "gui/CButton.h"
#include "gui/CStaticText.h"
#include "gui/CToggleButton.h"
#include "input/CEventManager.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

namespace {

template <typename T>
T* At(const std::vector<T*>& list, size_t index) {
    return index < list.size() ? list[index] : nullptr;
}

}  // namespace

CWindow::CWindow()
    : top(0.0f),
      right(0.0f),
      bottom(0.0f),
      left(0.0f),
      active(false),
      visible(false),
      movable(false),
      id(-1),
      titleBarHeight(15),
      dragging(false),
      tooltipOn(false) {}

CWindow::CWindow(int l, int t, int r, int b, const char* background, bool stretch, float alpha,
                 unsigned int barHeight, int windowId, bool isMovable)
    : CWindow() {
    SetRect(l, t, r, b);
    movable = isMovable;
    id = windowId;
    titleBarHeight = barHeight;

    CSprite* sprite = new CSprite(background != nullptr ? background : "", alpha);
    int w = r - l;
    int h = b - t;
    if (sprite->GetWidth() > static_cast<float>(w)) {
        sprite->SetWidth(static_cast<float>(w));
    }
    if (sprite->GetHeight() > static_cast<float>(h)) {
        sprite->SetHeight(static_cast<float>(h));
    }
    if (stretch) {
        sprite->SetWidth(static_cast<float>(w));
        sprite->SetHeight(static_cast<float>(h));
    }
    images.push_back(sprite);
}

CWindow::~CWindow() {
    for (CButton* button : buttons) {
        delete button;
    }
    for (CSprite* image : images) {
        delete image;
    }
    for (CToggleButton* toggle : toggles) {
        delete toggle;
    }
    for (CStaticText* text : texts) {
        delete text;
    }
}

void CWindow::Clamp(CButtonBase* button) const {
    float w = right - left;
    float h = bottom - top;
    if (button->GetX() + button->GetWidth() > w) {
        button->SetX(w - button->GetWidth());
    }
    if (button->GetY() + button->GetHeight() > h) {
        button->SetY(h - button->GetHeight());
    }
}

void CWindow::AddButton(CButton* button) {
    if (button == nullptr) {
        return;
    }
    Clamp(button);
    buttons.push_back(button);
}

CButton* CWindow::CreateButton(const char* base, int frameCount, float x, float y, int buttonId) {
    CButton* button = new CButton(base, frameCount, x, y, buttonId);
    AddButton(button);
    return button;
}

void CWindow::AddImage(CSprite* image) {
    if (image != nullptr) {
        images.push_back(image);
    }
}

CSprite* CWindow::CreateImage(const char* file, unsigned int x, unsigned int y, float alpha) {
    CSprite* image = new CSprite(file != nullptr ? file : "");
    image->position = CVector2(static_cast<float>(x), static_cast<float>(y));
    image->SetAlpha(alpha);
    images.push_back(image);
    return image;
}

void CWindow::AddToggle(CToggleButton* toggle) {
    if (toggle == nullptr) {
        return;
    }
    Clamp(toggle);
    toggles.push_back(toggle);
}

CToggleButton* CWindow::CreateToggle(const char* firstBase, int firstCount, const char* secondBase,
                                     int secondCount, float x, float y, int toggleId) {
    CToggleButton* toggle =
        new CToggleButton(firstBase, firstCount, secondBase, secondCount, x, y, toggleId);
    AddToggle(toggle);
    return toggle;
}

void CWindow::AddText(CStaticText* text) {
    if (text != nullptr) {
        texts.push_back(text);
    }
}

bool CWindow::MouseOverTitleBar() {
    if (g_pEventManager == nullptr) {
        return false;
    }
    bool inside =
        g_pEventManager->MouseInBox(left, top, right - left, static_cast<float>(titleBarHeight));
    if (movable && g_pGraphicsCore != nullptr) {
        g_pGraphicsCore->UseAltCursor(inside);
    }
    return inside;
}

void CWindow::Draw() {
    if (!visible) {
        return;
    }
    if (movable && g_pEventManager != nullptr) {
        if (MouseOverTitleBar()) {
            if (g_pEventManager->TookEvent(EVENT_LBUTTONDOWN)) {
                dragging = true;
            } else if (g_pEventManager->TookEvent(EVENT_LBUTTONUP)) {
                dragging = false;
            }
            // Printed before the images on purpose: the window's own pictures cover it.
            if (tooltipOn && g_pFontManager != nullptr) {
                g_pFontManager->PrintLiteralAt(tooltipPos.x, tooltipPos.y, tooltipText.c_str());
            }
        }
        // A release seen anywhere but over the title bar does not end the drag, so the window
        // goes on following the mouse until one is.
        if (dragging) {
            float dx = static_cast<float>(g_pEventManager->GetMouseDeltaX());
            float dy = static_cast<float>(g_pEventManager->GetMouseDeltaY());
            left += dx;
            top += dy;
            right += dx;
            bottom += dy;
        }
    }
    for (CSprite* image : images) {
        image->DrawWithAlpha(left + image->position.x, top + image->position.y, 1.0f, 0.0f, 1.0f,
                             1.0f, 1.0f);
    }
    for (CButton* button : buttons) {
        button->Draw(left, top);
    }
    for (CToggleButton* toggle : toggles) {
        toggle->Draw(left, top);
    }
    for (CStaticText* text : texts) {
        text->Draw(left, top);
    }
}

void CWindow::DrawAt(float x, float y) {
    if (!visible) {
        return;
    }
    for (CSprite* image : images) {
        image->DrawWithAlpha(x + image->position.x, y + image->position.y, 1.0f, 0.0f, 1.0f, 1.0f,
                             1.0f);
    }
    for (CButton* button : buttons) {
        button->DrawAt(x + button->GetX(), y + button->GetY());
    }
    for (CToggleButton* toggle : toggles) {
        toggle->DrawAt(x + toggle->GetX(), y + toggle->GetY());
    }
    for (CStaticText* text : texts) {
        text->DrawAt(text->GetX() + x, text->GetY() + y);
    }
}

void CWindow::SetActive(bool value) {
    active = value;
    if (value) {
        visible = true;
    }
}

void CWindow::SetVisible(bool value) {
    visible = value;
    if (!value) {
        active = false;
    }
}

void CWindow::SetRect(int l, int t, int r, int b) {
    left = static_cast<float>(l);
    top = static_cast<float>(t);
    right = static_cast<float>(r);
    bottom = static_cast<float>(b);
}

void CWindow::SetTooltip(const std::string& text, float x, float y) {
    tooltipText = text;
    tooltipPos = CVector2(x, y);
    tooltipOn = true;
}

CButton* CWindow::GetButton(size_t index) const {
    return At(buttons, index);
}

CSprite* CWindow::GetImage(size_t index) const {
    return At(images, index);
}

CToggleButton* CWindow::GetToggle(size_t index) const {
    return At(toggles, index);
}

CStaticText* CWindow::GetText(size_t index) const {
    return At(texts, index);
}
