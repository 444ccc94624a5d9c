/// @file
/// CToggleButton: a two-state button made of two animated images.
#pragma once

#include "gui/CButtonBase.h"

class CAnimatedSprite;
class CSprite;

/// A two-state button made of two animated images, the first shown while off and the second
/// while on (the shared behaviour is CButtonBase's). Hovering plays the shown image once and
/// shows a tooltip; a left click while hovering flips the state and reports the id to the event
/// manager. Its position and hover box are always those of the first image, whichever image is
/// shown.
///
/// Build toggles after CEngine::SetVideoMode (the frames are sprites). A toggle added to a
/// window (CWindow::AddToggle, CWindow::CreateToggle) belongs to the window, which draws it in
/// the frame step; after CEngine::Update read the click with CEventManager::GetClickedId and
/// the new state with IsOn. A toggle the application keeps for itself is its own to delete and
/// to draw once per frame after the frame step. The toggle owns both animated images.
class CToggleButton : public CButtonBase {
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
    ~CToggleButton() override;

    /// The position (that of the first image), relative to the window's top-left corner when
    /// drawn by a window.
    /// @{
    void SetPosition(float x, float y);
    float GetX() const override;
    float GetY() const override;
    /// @}
    /// Cut to a whole number toward zero, then given to both images.
    /// @{
    void SetX(float x) override;
    void SetY(float y) override;
    /// @}

    /// Size of frame 0 of the first image.
    /// @{
    float GetWidth() const override;
    float GetHeight() const override;
    /// @}
    /// Resizes every frame of both images.
    void SetSize(int w, int h);

    /// The state: on shows the second image. A click flips it, while enabled.
    /// @{
    void SetOn(bool on) { isOn = on; }
    bool IsOn() const { return isOn; }
    /// @}
    /// The two images (null without images); they stay the toggle's.
    /// @{
    CAnimatedSprite* GetFirstImage() const { return firstImage; }
    CAnimatedSprite* GetSecondImage() const { return secondImage; }
    /// @}

protected:
    /// Null unless both images are there.
    CAnimatedSprite* ShownImage() const override;
    CSprite* HoverFrame() const override;
    void OnClick() override { isOn = !isOn; }

private:
    CAnimatedSprite* firstImage;
    CAnimatedSprite* secondImage;
    bool isOn;
};
