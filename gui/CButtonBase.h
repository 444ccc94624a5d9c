/// @file
/// CButtonBase: what push buttons and toggles share: flags, id, tooltip, hover and click.
#pragma once

#include <string>

#include "math/CVector2.h"

class CAnimatedSprite;
class CSprite;

/// The behaviour push buttons (CButton) and toggles (CToggleButton) share. A button shows an
/// animated image: its first frame while the pointer is elsewhere, the image played once while
/// the pointer is over it, with the tooltip printed. A left click over an enabled button reports
/// its id to the event manager. Mouse handling happens inside the draw operations, once per
/// frame, after the frame's event poll.
///
/// What differs lives in the two classes: which image is shown, which frame gives the hover box,
/// where the position is kept and what else a click does.
class CButtonBase {
public:
    virtual ~CButtonBase() = default;

    /// Not copyable: a button owns its images.
    /// @{
    CButtonBase(const CButtonBase&) = delete;
    CButtonBase& operator=(const CButtonBase&) = delete;
    /// @}

    /// The position, relative to the window's top-left corner when drawn by a window.
    /// @{
    virtual float GetX() const = 0;
    virtual float GetY() const = 0;
    virtual void SetX(float x) = 0;
    virtual void SetY(float y) = 0;
    /// @}
    /// The size in pixels.
    /// @{
    virtual float GetWidth() const = 0;
    virtual float GetHeight() const = 0;
    /// @}

    /// The flags: a disabled button still hovers but reports no click; an invisible one is not
    /// drawn and handles no mouse (both start true). Hovered tells whether the pointer was over
    /// the button at its last draw; SetHovered's value lasts only until the next draw.
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

    /// Mouse test against the hover box at the position + (ox, oy), edges included; a
    /// left-button-down event while enabled counts as a click. True whenever the pointer is
    /// inside.
    bool HitTest(float ox, float oy);

    /// Draws, and tests the mouse, at the button's own position.
    void Draw();
    /// A window passes its top-left corner.
    ///
    /// Draws at the position offset by (ox, oy).
    void Draw(float ox, float oy);
    /// Draws, and tests the mouse, at (x, y) itself.
    void DrawAt(float x, float y);

protected:
    /// Enabled, visible, not hovered, no tooltip; @p buttonId is what a click reports.
    explicit CButtonBase(int buttonId) : id(buttonId) {}

    /// The image a draw shows now; null when the button has nothing to draw.
    virtual CAnimatedSprite* ShownImage() const = 0;
    /// The frame whose size is the hover box; null when there is no box.
    virtual CSprite* HoverFrame() const = 0;
    /// What a click does beyond reporting the id.
    virtual void OnClick() {}

    /// A frame count as the images take it: below 1 gives an image without frames.
    static unsigned int FrameCount(int count) {
        return count > 0 ? static_cast<unsigned int>(count) : 0u;
    }
    /// Gives every frame of @p image (which may be null) the size w x h.
    static void ResizeFrames(CAnimatedSprite* image, float w, float h);

private:
    bool HitTestAt(float x0, float y0);

    bool enabled = true;
    bool visible = true;
    bool hovered = false;
    std::string tooltipText;
    bool tooltipOn = false;
    CVector2 tooltipPos;
    int id;
};
