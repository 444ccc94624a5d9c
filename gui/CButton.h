/// @file
/// CButton: a push button made of one animated image.
#pragma once

#include <string>

#include "math/CVector2.h"

class CAnimatedSprite;
class CSprite;

/// A push button made of one animated image. Hovering plays the image once and shows a
/// tooltip; a left click while hovering reports the button's id to the event manager for the
/// application to pick up after the frame's windows are drawn. Mouse handling happens inside the
/// draw operations, once per frame, after the frame's event poll.
///
/// Build buttons after CEngine::SetVideoMode (the frames are sprites). A button added to a
/// window (CWindow::AddButton, CWindow::CreateButton) belongs to the window, which draws it in
/// the frame step; read the click with CEventManager::GetClickedId after CEngine::Update. A
/// button the application keeps for itself is its own to delete and to draw once per frame
/// after the frame step; its click shows in GetClickedId once it has been drawn. The button
/// owns its animated image.
class CButton {
public:
    /// No image until Load: such a button draws nothing, is never hovered and measures 0 x 0.
    CButton();
    /// Frames come from `base1.png` .. `base<frameCount>.png`; the size is that of frame 0. A
    /// frame count below 1 gives an image without frames, which behaves like no image at all.
    /// (x, y) is the position relative to the window; id is what a click reports.
    CButton(const char* base, int frameCount, float x, float y, int id);
    /// Destroys the button's image and with it the frames.
    ~CButton();

    /// Not copyable: the button owns its image.
    /// @{
    CButton(const CButton&) = delete;
    CButton& operator=(const CButton&) = delete;
    /// @}

    /// Replaces (and destroys) the image; the new one's frame 0 gives the size.
    void Load(const char* base, int frameCount);

    /// The position, relative to the window's top-left corner when drawn by a window.
    /// @{
    void SetPosition(float x, float y) { position = CVector2(x, y); }
    void SetX(float x) { position.x = x; }
    void SetY(float y) { position.y = y; }
    float GetX() const { return position.x; }
    float GetY() const { return position.y; }
    /// @}

    /// Resizes every frame as well; the hover box follows frame 0.
    void SetSize(int w, int h);
    /// The size in pixels (frame 0's unless SetSize changed it).
    /// @{
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    /// @}
    /// 0-based; null without an image or past the last frame.
    ///
    /// The frame stays the button's.
    CSprite* GetFrame(int index) const;
    /// The button's animated image (null before a load); it stays the button's.
    CAnimatedSprite* GetImage() const { return image; }
    /// A negative rate counts as 0, which holds the animation where it is.
    void SetFps(int rate);

    /// The flags: a disabled button still hovers but reports no click; an invisible one is not
    /// drawn and handles no mouse (both start true); hovered tells whether the pointer was over
    /// the button at its last draw, and SetHovered's value lasts only until the next draw.
    /// @{
    void SetEnabled(bool value) { enabled = value; }
    void SetVisible(bool value) { visible = value; }
    void SetHovered(bool value) { hovered = value; }
    bool IsEnabled() const { return enabled; }
    bool IsVisible() const { return visible; }
    bool IsHovered() const { return hovered; }
    /// @}
    /// The id a click reports.
    int GetId() const { return id; }

    /// The tooltip is printed at (x, y) on the screen, not relative to any window, while the
    /// button is hovered. Older callers passed an extra integer and four values after the text
    /// that nothing ever read; they are no longer taken.
    ///
    /// Setting a tooltip also turns it on; it is printed with font 1.
    void SetTooltip(const std::string& text, float x, float y);
    /// Whether the tooltip is shown on hover, and its text.
    /// @{
    void SetTooltipOn(bool on) { tooltipOn = on; }
    const std::string& GetTooltipText() const { return tooltipText; }
    bool IsTooltipOn() const { return tooltipOn; }
    /// @}

    /// Mouse test against the box of frame 0 at position + (ox, oy), edges included; reports
    /// the id on a left-button-down event while enabled. True whenever the pointer is inside.
    bool HitTest(float ox, float oy);

    /// Draws, and tests the mouse, at the button's own position: the first frame while not
    /// hovered, the image played once while hovered.
    void Draw();
    /// A window passes its top-left corner.
    ///
    /// Draws at the position offset by (ox, oy).
    void Draw(float ox, float oy);
    /// Draws, and tests the mouse, at (x, y) itself.
    void DrawAt(float x, float y);

private:
    bool HitTestAt(float x0, float y0);

    CVector2 position;
    bool enabled;
    bool visible;
    bool hovered;
    CAnimatedSprite* image;
    std::string tooltipText;
    bool tooltipOn;
    CVector2 tooltipPos;
    float width;
    float height;
    int id;
};
