// CToggleButton: a two-state button made of two animated images, the first shown while off and
// the second while on. Hovering plays the shown image once and shows a tooltip; a left click
// while hovering flips the state and reports the id to the event manager. Its position and
// hover box are always those of the first image, whichever image is shown.
#pragma once

#include <string>

#include "math/CVector2.h"

class CAnimatedSprite;

class CToggleButton {
public:
    // No images: such a toggle draws nothing, is never hovered and measures 0 x 0.
    CToggleButton();
    // A frame count below 1 gives an image without frames; a first image without frames
    // leaves the toggle without a hover box.
    CToggleButton(const char* firstBase, int firstCount, const char* secondBase, int secondCount,
                  float x, float y, int id);
    ~CToggleButton();

    CToggleButton(const CToggleButton&) = delete;
    CToggleButton& operator=(const CToggleButton&) = delete;

    void SetPosition(float x, float y);
    float GetX() const;
    float GetY() const;
    // Cut to a whole number toward zero, then given to both images.
    void SetX(float x);
    void SetY(float y);

    // Size of frame 0 of the first image.
    float GetWidth() const;
    float GetHeight() const;
    // Resizes every frame of both images.
    void SetSize(int w, int h);

    void SetOn(bool on) { isOn = on; }
    bool IsOn() const { return isOn; }
    void SetEnabled(bool value) { enabled = value; }
    bool IsEnabled() const { return enabled; }
    void SetVisible(bool value) { visible = value; }
    bool IsVisible() const { return visible; }
    // The next draw overwrites it.
    void SetHovered(bool value) { hovered = value; }
    bool IsHovered() const { return hovered; }
    int GetId() const { return id; }
    CAnimatedSprite* GetFirstImage() const { return firstImage; }
    CAnimatedSprite* GetSecondImage() const { return secondImage; }

    // The tooltip is printed at (x, y) on the screen while the toggle is hovered. Older callers
    // passed an extra integer and four values after the text that nothing ever read; they are
    // no longer taken.
    void SetTooltip(const std::string& text, float x, float y);
    void SetTooltipOn(bool on) { tooltipOn = on; }
    const std::string& GetTooltipText() const { return tooltipText; }
    bool IsTooltipOn() const { return tooltipOn; }

    // Mouse test against the first image's box at its position + (ox, oy), edges included; a
    // left-button-down event while enabled reports the id and flips the state. True whenever
    // the pointer is inside.
    bool HitTest(float ox, float oy);

    void Draw();
    // A window passes its top-left corner.
    void Draw(float ox, float oy);
    // Draws, and tests the mouse, at (x, y) itself.
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
