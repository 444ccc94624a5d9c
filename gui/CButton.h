// CButton: a push button made of one animated image. Hovering plays the image once and shows
// a tooltip; a left click while hovering reports the button's id to the event manager for the
// application to pick up after the frame's windows are drawn. Mouse handling happens inside the
// draw operations, once per frame, after the frame's event poll.
#pragma once

#include <string>

#include "math/CVector2.h"

class CAnimatedSprite;
class CSprite;

class CButton {
public:
    // No image until Load: such a button draws nothing, is never hovered and measures 0 x 0.
    CButton();
    // Frames come from base1.png .. base<frameCount>.png; the size is that of frame 0. A frame
    // count below 1 gives an image without frames, which behaves like no image at all.
    CButton(const char* base, int frameCount, float x, float y, int id);
    ~CButton();

    CButton(const CButton&) = delete;
    CButton& operator=(const CButton&) = delete;

    // Replaces (and destroys) the image; the new one's frame 0 gives the size.
    void Load(const char* base, int frameCount);

    void SetPosition(float x, float y) { position = CVector2(x, y); }
    void SetX(float x) { position.x = x; }
    void SetY(float y) { position.y = y; }
    float GetX() const { return position.x; }
    float GetY() const { return position.y; }

    // Resizes every frame as well; the hover box follows frame 0.
    void SetSize(int w, int h);
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    // 0-based; null without an image or past the last frame.
    CSprite* GetFrame(int index) const;
    CAnimatedSprite* GetImage() const { return image; }
    // A negative rate counts as 0, which holds the animation where it is.
    void SetFps(int rate);

    void SetEnabled(bool value) { enabled = value; }
    void SetVisible(bool value) { visible = value; }
    // The next draw overwrites it.
    void SetHovered(bool value) { hovered = value; }
    bool IsEnabled() const { return enabled; }
    bool IsVisible() const { return visible; }
    bool IsHovered() const { return hovered; }
    int GetId() const { return id; }

    // The tooltip is printed at (x, y) on the screen, not relative to any window, while the
    // button is hovered. Older callers passed an extra integer and four values after the text
    // that nothing ever read; they are no longer taken.
    void SetTooltip(const std::string& text, float x, float y);
    void SetTooltipOn(bool on) { tooltipOn = on; }
    const std::string& GetTooltipText() const { return tooltipText; }
    bool IsTooltipOn() const { return tooltipOn; }

    // Mouse test against the box of frame 0 at position + (ox, oy), edges included; reports
    // the id on a left-button-down event while enabled. True whenever the pointer is inside.
    bool HitTest(float ox, float oy);

    void Draw();
    // A window passes its top-left corner.
    void Draw(float ox, float oy);
    // Draws, and tests the mouse, at (x, y) itself.
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
