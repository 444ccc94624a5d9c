/// @file
/// CButton: a push button made of one animated image.
#pragma once

#include "gui/CButtonBase.h"
#include "math/CVector2.h"

class CAnimatedSprite;
class CSprite;

/// A push button made of one animated image (the shared behaviour is CButtonBase's). Hovering
/// plays the image once and shows a tooltip; a left click while hovering reports the button's
/// id to the event manager for the application to pick up after the frame's windows are drawn.
///
/// Build buttons after CEngine::SetVideoMode (the frames are sprites). A button added to a
/// window (CWindow::AddButton, CWindow::CreateButton) belongs to the window, which draws it in
/// the frame step; read the click with CEventManager::GetClickedId after CEngine::Update. A
/// button the application keeps for itself is its own to delete and to draw once per frame
/// after the frame step; its click shows in GetClickedId once it has been drawn. The button
/// owns its animated image.
class CButton : public CButtonBase {
public:
    /// No image until Load: such a button draws nothing, is never hovered and measures 0 x 0.
    CButton();
    /// Frames come from `base1.png` .. `base<frameCount>.png`; the size is that of frame 0. A
    /// frame count below 1 gives an image without frames, which behaves like no image at all.
    /// (x, y) is the position relative to the window; id is what a click reports.
    CButton(const char* base, int frameCount, float x, float y, int id);
    /// Destroys the button's image and with it the frames.
    ~CButton() override;

    /// Replaces (and destroys) the image; the new one's frame 0 gives the size.
    void Load(const char* base, int frameCount);

    /// The position, relative to the window's top-left corner when drawn by a window.
    /// @{
    void SetPosition(float x, float y) { position = CVector2(x, y); }
    void SetX(float x) override { position.x = x; }
    void SetY(float y) override { position.y = y; }
    float GetX() const override { return position.x; }
    float GetY() const override { return position.y; }
    /// @}

    /// Resizes every frame as well; the hover box follows frame 0.
    void SetSize(int w, int h);
    /// The size in pixels (frame 0's unless SetSize changed it).
    /// @{
    float GetWidth() const override { return width; }
    float GetHeight() const override { return height; }
    /// @}
    /// 0-based; null without an image or past the last frame.
    ///
    /// The frame stays the button's.
    CSprite* GetFrame(int index) const;
    /// The button's animated image (null before a load); it stays the button's.
    CAnimatedSprite* GetImage() const { return image; }
    /// A negative rate counts as 0, which holds the animation where it is.
    void SetFps(int rate);

protected:
    CAnimatedSprite* ShownImage() const override { return image; }
    CSprite* HoverFrame() const override { return GetFrame(0); }

private:
    CVector2 position;
    CAnimatedSprite* image;
    float width;
    float height;
};
