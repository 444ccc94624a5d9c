/// @file
/// CEventManager: frame-sampled keyboard and mouse input; declares g_pEventManager.
#pragma once

#include <SDL.h>

/// The classification of the frame's event, as CEventManager::IsEvent tests it.
enum EventCode {
    EVENT_NONE = 0,         ///< No event this frame, or one of no interest (a key release).
    EVENT_KEYDOWN = 1,      ///< A key was pressed.
    EVENT_QUIT = 2,         ///< The window's close button.
    EVENT_LBUTTONUP = 3,    ///< The left mouse button was released.
    EVENT_RBUTTONUP = 4,    ///< The right mouse button was released.
    EVENT_LBUTTONDOWN = 5,  ///< The left mouse button was pressed.
    EVENT_RBUTTONDOWN = 6   ///< The right mouse button was pressed.
};

/// Size of the key table: SDL key symbols from 0 to KEY_SLOTS - 1 are tracked.
const int KEY_SLOTS = 400;

/// Frame-sampled input. Once per frame the engine's frame step calls PollEvent, which samples
/// the mouse, takes at most one event from SDL's queue and classifies it; every other part of
/// the engine only reads the state that call leaves behind.
///
/// The engine creates the one instance (g_pEventManager) at start-up; applications never call
/// PollEvent themselves but read the state after CEngine::Update has returned, typically
/// `if (g_pEventManager->HasEvent() && g_pEventManager->IsKeyDown(SDLK_ESCAPE)) return;`.
/// Key and button state change only in frames that took their event from the queue, so a key
/// held without any further input counts in one frame only. Keys are SDL 1.2 key symbols;
/// mouse coordinates are window pixels from the top left.
class CEventManager {
public:
    /// No event, no key or button down, the mouse at (0, 0). Only engine start-up creates the
    /// manager; use g_pEventManager.
    CEventManager();
    /// Nothing to release.
    ~CEventManager();

    /// Samples the mouse, resets the clicked id and takes at most one event from the queue.
    /// The frame step calls it; applications do not.
    void PollEvent();

    /// Whether this frame's poll took an event from the queue.
    bool HasEvent() const { return hasEvent; }
    /// The event taken this frame (the last one taken, in frames without an event).
    SDL_Event GetEvent() const { return lastEvent; }
    /// Whether this frame's event has the given EventCode; a frame without an event is
    /// EVENT_NONE.
    bool IsEvent(unsigned int code) const { return eventCode == code; }
    /// Whether the key is held, as far as the key events taken so far tell. False for any
    /// symbol outside the key table.
    bool IsKeyDown(int key) const;

    /// The mouse, sampled once per frame: position in window pixels, its change since the
    /// previous frame's sample, and the two buttons as the events taken so far left them.
    /// @{
    int GetMouseX() const { return mouseX; }
    int GetMouseY() const { return mouseY; }
    int GetMouseDeltaX() const { return mouseX - prevMouseX; }
    int GetMouseDeltaY() const { return mouseY - prevMouseY; }
    bool MouseMoved() const { return mouseX != prevMouseX || mouseY != prevMouseY; }
    bool IsLeftButtonDown() const { return leftButton; }
    bool IsRightButtonDown() const { return rightButton; }
    /// @}

    /// True when the mouse lies in the box from (x, y) to (x + w, y + h), all four edges
    /// included: the hit box of GUI widgets and title bars.
    bool MouseInBox(float x, float y, float w, float h) const;
    /// True in a frame that took an event classified as @p code, e.g. EVENT_LBUTTONDOWN for a
    /// left click or EVENT_LBUTTONUP for its release.
    bool TookEvent(unsigned int code) const { return hasEvent && eventCode == code; }

    /// The id of the widget clicked this frame, -1 when none; reset by every PollEvent.
    ///
    /// GUI buttons and toggles set it while the frame step draws the windows, so read it after
    /// CEngine::Update, in the same frame.
    int GetClickedId() const { return clickedId; }
    /// Reports a click; buttons and toggles call it.
    void SetClickedId(int id) { clickedId = id; }

private:
    void Classify();

    SDL_Event lastEvent;
    unsigned char keys[KEY_SLOTS];
    unsigned int eventCode;
    bool hasEvent;
    int mouseX;
    int mouseY;
    int prevMouseX;
    int prevMouseY;
    bool leftButton;
    bool rightButton;
    int clickedId;
};

/// The event manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CEventManager* g_pEventManager;
