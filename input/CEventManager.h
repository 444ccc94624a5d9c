// CEventManager: frame-sampled input. Once per frame the engine's frame step calls PollEvent,
// which samples the mouse, takes at most one event from SDL's queue and classifies it; every
// other part of the engine only reads the state that call leaves behind.
#pragma once

#include <SDL.h>

enum EventCode {
    EVENT_NONE = 0,
    EVENT_KEYDOWN = 1,
    EVENT_QUIT = 2,
    EVENT_LBUTTONUP = 3,
    EVENT_RBUTTONUP = 4,
    EVENT_LBUTTONDOWN = 5,
    EVENT_RBUTTONDOWN = 6
};

const int KEY_SLOTS = 400;

class CEventManager {
public:
    CEventManager();
    ~CEventManager();

    // Samples the mouse, resets the clicked id and takes at most one event from the queue.
    void PollEvent();

    bool HasEvent() const { return hasEvent; }
    SDL_Event GetEvent() const { return lastEvent; }
    bool IsEvent(unsigned int code) const { return eventCode == code; }
    // False for any symbol outside the key table.
    bool IsKeyDown(int key) const;

    int GetMouseX() const { return mouseX; }
    int GetMouseY() const { return mouseY; }
    int GetMouseDeltaX() const { return mouseX - prevMouseX; }
    int GetMouseDeltaY() const { return mouseY - prevMouseY; }
    bool MouseMoved() const { return mouseX != prevMouseX || mouseY != prevMouseY; }
    bool IsLeftButtonDown() const { return leftButton; }
    bool IsRightButtonDown() const { return rightButton; }
    // True when the mouse lies in the box from (x, y) to (x + w, y + h), all four edges
    // included: the hit box of GUI widgets and title bars.
    bool MouseInBox(float x, float y, float w, float h) const;
    // True in a frame whose event was a press (EVENT_LBUTTONDOWN) or a release
    // (EVENT_LBUTTONUP) of the left button.
    bool TookEvent(unsigned int code) const { return hasEvent && eventCode == code; }

    // The id of the widget clicked this frame, -1 when none; reset by every PollEvent.
    int GetClickedId() const { return clickedId; }
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

extern CEventManager* g_pEventManager;
