/// @file
/// CWindow: a rectangular GUI panel with its images and widgets.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "math/CVector2.h"

class CButton;
class CButtonBase;
class CSprite;
class CStaticText;
class CToggleButton;

/// A rectangular GUI panel drawn in screen pixels over the scene. It owns its images (the first
/// is the background), push buttons, toggle buttons and labels, and draws them relative to its
/// top-left corner. A movable window is dragged by a strip along its top edge, the title bar,
/// over which it shows its tooltip and asks for the alternate mouse cursor.
///
/// Build windows after CEngine::SetVideoMode (the background and images are sprites), with new,
/// and hand them to the window manager (CWindowManager::AddWindow), which owns them, draws the
/// visible ones in the frame step and deletes them at shutdown. Everything added to a window
/// (Add and Create operations) belongs to the window: never delete a widget or image yourself.
/// Mouse handling (dragging, hovering, clicks) happens while the window is drawn, once per
/// frame, from the state of that frame's event poll; clicks show in
/// CEventManager::GetClickedId after CEngine::Update.
class CWindow {
public:
    /// Hidden, empty, at (0, 0, 0, 0), id -1, a title bar of 15 pixels, not movable.
    CWindow();
    /// A window covering left to right and top to bottom (screen pixels) with the picture
    /// `background` as its first image, drawn with the given alpha.
    ///
    /// The background is cut down to the window's size when larger (each side on its own), or
    /// set to exactly that size when stretch is true. The window starts hidden.
    CWindow(int left, int top, int right, int bottom, const char* background, bool stretch,
            float alpha, unsigned int titleBarHeight, int id, bool movable);
    /// Destroys every child: buttons, then images, then toggles, then labels.
    ~CWindow();

    /// Not copyable: the window owns its children.
    /// @{
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;
    /// @}

    /// The Add operations take ownership and ignore a null pointer. Buttons and toggles are
    /// pulled back inside the window where they stick out on the right or at the bottom; a
    /// negative position is left alone. Images and labels are never moved.
    ///
    /// Positions are relative to the window's top-left corner; an image's position is its
    /// CSprite::position. The Create operations build the widget or image with the same
    /// arguments as its constructor, add it, and return it (still owned by the window).
    /// Images are drawn with their own alpha (CSprite::GetAlpha).
    /// @{
    void AddButton(CButton* button);
    CButton* CreateButton(const char* base, int frameCount, float x, float y, int id);
    void AddImage(CSprite* image);
    CSprite* CreateImage(const char* file, unsigned int x, unsigned int y, float alpha);
    void AddToggle(CToggleButton* toggle);
    CToggleButton* CreateToggle(const char* firstBase, int firstCount, const char* secondBase,
                                int secondCount, float x, float y, int id);
    void AddText(CStaticText* text);
    /// @}

    /// Drag handling, the tooltip, then images, buttons, toggles and labels at the window's
    /// own place. Does nothing while hidden.
    ///
    /// The window manager calls it from the frame step for every visible window; call it
    /// yourself only for a window not handed to the manager, once per frame, after the frame
    /// step.
    void Draw();
    /// Draws the content with (x, y) in place of the top-left corner; no dragging, tooltip or
    /// cursor change.
    void DrawAt(float x, float y);

    /// Activating also shows the window; hiding also deactivates it.
    ///
    /// Only visible windows are drawn (and so handle the mouse); the active flag is kept for
    /// the application.
    /// @{
    void SetActive(bool value);
    void SetVisible(bool value);
    bool IsActive() const { return active; }
    bool IsVisible() const { return visible; }
    /// @}
    /// The id given at construction (CWindowManager::Activate looks windows up by it).
    int GetId() const { return id; }
    /// Children keep their positions relative to the corner.
    ///
    /// Moves and resizes the window (screen pixels); the background keeps its size.
    void SetRect(int left, int top, int right, int bottom);
    /// Whether the title bar drags the window, whether a drag is under way, and the height of
    /// the title bar in pixels.
    /// @{
    void SetMovable(bool value) { movable = value; }
    bool IsMovable() const { return movable; }
    bool IsDragging() const { return dragging; }
    void SetTitleBarHeight(unsigned int height) { titleBarHeight = height; }
    unsigned int GetTitleBarHeight() const { return titleBarHeight; }
    /// @}

    /// The window keeps its own copy of the text, printed at (x, y) on the screen while the
    /// mouse is over the title bar of a movable window. Older callers passed an extra integer
    /// and four values after the text that nothing ever read; they are no longer taken.
    ///
    /// Setting a tooltip also turns it on.
    void SetTooltip(const std::string& text, float x, float y);
    /// Turns the tooltip on or off, keeping its text.
    void SetTooltipOn(bool on) { tooltipOn = on; }
    /// The tooltip's text.
    const std::string& GetTooltipText() const { return tooltipText; }

    /// Whether the pointer is on the title bar, edges included; a movable window also switches
    /// between the normal and the alternate cursor here.
    bool MouseOverTitleBar();

    /// The window's edges in screen pixels, as set or as dragging left them.
    /// @{
    float GetLeft() const { return left; }
    float GetTop() const { return top; }
    float GetRight() const { return right; }
    float GetBottom() const { return bottom; }
    /// @}

    /// The children in the order they were added (image 0 is the background).
    /// @{
    size_t GetButtonCount() const { return buttons.size(); }
    size_t GetImageCount() const { return images.size(); }
    size_t GetToggleCount() const { return toggles.size(); }
    size_t GetTextCount() const { return texts.size(); }
    /// @}
    /// Null past the end.
    ///
    /// The child stays the window's.
    /// @{
    CButton* GetButton(size_t index) const;
    CSprite* GetImage(size_t index) const;
    CToggleButton* GetToggle(size_t index) const;
    CStaticText* GetText(size_t index) const;
    /// @}

private:
    /// Moves a button or toggle left and up until it fits inside the window, where it can.
    void Clamp(CButtonBase* button) const;

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
