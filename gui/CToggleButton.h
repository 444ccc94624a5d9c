/// @file
/// CToggleButton: a two-state button made of two animated images.
#pragma once

#include <string>

#include "math/CVector2.h"

class CAnimatedSprite;

/// A two-state button made of two animated images, the first shown while off and the second
/// while on. Hovering plays the shown image once and shows a tooltip; a left click while
/// hovering flips the state and reports the id to the event manager. Its position and hover box
/// are always those of the first image, whichever image is shown.
///
/// Build toggles after CEngine::SetVideoMode (the frames are sprites). A toggle added to a
/// window (CWindow::AddToggle, CWindow::CreateToggle) belongs to the window, which draws it in
/// the frame step; after CEngine::Update read the click with CEventManager::GetClickedId and
/// the new state with IsOn. A toggle the application keeps for itself is its own to delete and
/// to draw once per frame after the frame step. The toggle owns both animated images.
class CToggleButton {
public:
    /// No images: such a toggle draws nothing, is never hovered and measures 0 x 0.
    CToggleButton();
    /// A frame count below 1 gives an image without frames; a first image without frames
    /// leaves the toggle without a hover box.
    ///
    /// Frames come from `firstBase1.png` .. and `secondBase1.png` ..; (x, y) is the position
    /// relative to the window; id is what a click reports. The toggle starts off.
    CToggleButton(const char* firstBase, int firstCount, const char* secondBase, int secondCount,
                  float x, float y, int id);
    /// Destroys both images and with them the frames.
    ~CToggleButton();

    /// Not copyable: the toggle owns its images.
    /// @{
    CToggleButton(const CToggleButton&) = delete;
    CToggleButton& operator=(const CToggleButton&) = delete;
    /// @}

    /// The position (that of the first image), relative to the window's top-left corner when
    /// drawn by a window.
    /// @{
    void SetPosition(float x, float y);
    float GetX() const;
    float GetY() const;
    /// @}
    /// Cut to a whole number toward zero, then given to both images.
    /// @{
    void SetX(float x);
    void SetY(float y);
    /// @}

    /// Size of frame 0 of the first image.
    /// @{
    float GetWidth() const;
    float GetHeight() const;
    /// @}
    /// Resizes every frame of both images.
    void SetSize(int w, int h);

    /// The state: on shows the second image. A click flips it.
    /// @{
    void SetOn(bool on) { isOn = on; }
    bool IsOn() const { return isOn; }
    /// @}
    /// A disabled toggle still hovers but neither flips nor reports a click; an invisible one
    /// is not drawn and handles no mouse. Both start true.
    /// @{
    void SetEnabled(bool value) { enabled = value; }
    bool IsEnabled() const { return enabled; }
    void SetVisible(bool value) { visible = value; }
    bool IsVisible() const { return visible; }
    /// @}
    /// The next draw overwrites it.
    ///
    /// Whether the pointer was over the toggle at its last draw.
    /// @{
    void SetHovered(bool value) { hovered = value; }
    bool IsHovered() const { return hovered; }
    /// @}
    /// The id a click reports.
    int GetId() const { return id; }
    /// The two images (null without images); they stay the toggle's.
    /// @{
    CAnimatedSprite* GetFirstImage() const { return firstImage; }
    CAnimatedSprite* GetSecondImage() const { return secondImage; }
    /// @}

    /// The tooltip is printed at (x, y) on the screen while the toggle is hovered. Older callers
    /// passed an extra integer and four values after the text that nothing ever read; they are
    /// no longer taken.
    ///
    /// Setting a tooltip also turns it on; it is printed with font 1.
    void SetTooltip(const std::string& text, float x, float y);
    /// Whether the tooltip is shown on hover, and its text.
    /// @{
    void SetTooltipOn(bool on) { tooltipOn = on; }
    const std::string& GetTooltipText() const { return tooltipText; }
    bool IsTooltipOn() const { return tooltipOn; }
    /// @}

    /// Mouse test against the first image's box at its position + (ox, oy), edges included; a
    /// left-button-down event while enabled reports the id and flips the state. True whenever
    /// the pointer is inside.
    bool HitTest(float ox, float oy);

    /// Draws, and tests the mouse, at the toggle's own position: the shown image's first frame
    /// while not hovered, the image played once while hovered.
    void Draw();
    /// A window passes its top-left corner.
    ///
    /// Draws at the position offset by (ox, oy).
    void Draw(float ox, float oy);
    /// Draws, and tests the mouse, at (x, y) itself.
    void DrawAt(float x, float y);

private:
    bool HitTestAt(float x0, float y0);

    bool enabled;
    bool hovered;
    bool visible;
    CAnimatedSprite* firstImage;
    CAnimatedSprite* secondImage;
    bool isOn;
    std::string tooltipText;
    bool tooltipOn;
    CVector2 tooltipPos;
    int id;
};
