// CWindow: a rectangular GUI panel drawn in screen pixels over the scene. It owns its images
// (the first is the background), push buttons, toggle buttons and labels, and draws them
// relative to its top-left corner. A movable window is dragged by a strip along its top edge,
// the title bar, over which it shows its tooltip and asks for the alternate mouse cursor.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "math/CVector2.h"

class CButton;
class CSprite;
class CStaticText;
class CToggleButton;

class CWindow {
public:
    // Hidden, empty, at (0, 0, 0, 0), id -1, a title bar of 15 pixels, not movable.
    CWindow();
    // The background is cut down to the window's size when larger (each side on its own), or
    // set to exactly that size when stretch is true. The window starts hidden.
    CWindow(int left, int top, int right, int bottom, const char* background, bool stretch,
            float alpha, unsigned int titleBarHeight, int id, bool movable);
    // Destroys every child: buttons, then images, then toggles, then labels.
    ~CWindow();

    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // The Add operations take ownership and ignore a null pointer. Buttons and toggles are
    // pulled back inside the window where they stick out on the right or at the bottom; a
    // negative position is left alone. Images and labels are never moved.
    void AddButton(CButton* button);
    CButton* CreateButton(const char* base, int frameCount, float x, float y, int id);
    void AddImage(CSprite* image);
    CSprite* CreateImage(const char* file, unsigned int x, unsigned int y, float alpha);
    void AddToggle(CToggleButton* toggle);
    CToggleButton* CreateToggle(const char* firstBase, int firstCount, const char* secondBase,
                                int secondCount, float x, float y, int id);
    void AddText(CStaticText* text);

    // Drag handling, the tooltip, then images, buttons, toggles and labels at the window's
    // own place. Does nothing while hidden.
    void Draw();
    // Draws the content with (x, y) in place of the top-left corner; no dragging, tooltip or
    // cursor change.
    void DrawAt(float x, float y);

    // Activating also shows the window; hiding also deactivates it.
    void SetActive(bool value);
    void SetVisible(bool value);
    bool IsActive() const { return active; }
    bool IsVisible() const { return visible; }
    int GetId() const { return id; }
    // Children keep their positions relative to the corner.
    void SetRect(int left, int top, int right, int bottom);
    void SetMovable(bool value) { movable = value; }
    bool IsMovable() const { return movable; }
    bool IsDragging() const { return dragging; }
    void SetTitleBarHeight(unsigned int height) { titleBarHeight = height; }
    unsigned int GetTitleBarHeight() const { return titleBarHeight; }

    // The window keeps its own copy of the text, printed at (x, y) on the screen while the
    // mouse is over the title bar of a movable window. Older callers passed an extra integer
    // and four values after the text that nothing ever read; they are no longer taken.
    void SetTooltip(const std::string& text, float x, float y);
    void SetTooltipOn(bool on) { tooltipOn = on; }
    const std::string& GetTooltipText() const { return tooltipText; }

    // Whether the pointer is on the title bar, edges included; a movable window also switches
    // between the normal and the alternate cursor here.
    bool MouseOverTitleBar();

    float GetLeft() const { return left; }
    float GetTop() const { return top; }
    float GetRight() const { return right; }
    float GetBottom() const { return bottom; }

    size_t GetButtonCount() const { return buttons.size(); }
    size_t GetImageCount() const { return images.size(); }
    size_t GetToggleCount() const { return toggles.size(); }
    size_t GetTextCount() const { return texts.size(); }
    // Null past the end.
    CButton* GetButton(size_t index) const;
    CSprite* GetImage(size_t index) const;
    CToggleButton* GetToggle(size_t index) const;
    CStaticText* GetText(size_t index) const;

private:
    void Clamp(CButton* button) const;
    void Clamp(CToggleButton* toggle) const;

    float top;
    float right;
    float bottom;
    float left;
    bool active;
    bool visible;
    bool movable;
    std::vector<CButton*> buttons;
    std::vector<CSprite*> images;
    std::vector<CToggleButton*> toggles;
    std::vector<CStaticText*> texts;
    int id;
    unsigned int titleBarHeight;
    bool dragging;
    std::string tooltipText;
    bool tooltipOn;
    CVector2 tooltipPos;
};
