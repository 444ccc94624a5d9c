// CEventManager: one event and one mouse sample per frame.
#include "input/CEventManager.h"

#include <cstring>

#include "platform/CPlatform.h"

CEventManager* g_pEventManager = nullptr;

CEventManager::CEventManager()
    : eventCode(EVENT_NONE),
      hasEvent(false),
      mouseX(0),
      mouseY(0),
      prevMouseX(0),
      prevMouseY(0),
      leftButton(false),
      rightButton(false),
      clickedId(-1) {
    std::memset(&lastEvent, 0, sizeof(lastEvent));
    std::memset(keys, 0, sizeof(keys));
}

CEventManager::~CEventManager() {}

void CEventManager::PollEvent() {
    prevMouseX = mouseX;
    prevMouseY = mouseY;
    CPlatform::GetPointer(&mouseX, &mouseY);

    clickedId = -1;

    hasEvent = SDL_PollEvent(&lastEvent) == 1;
    eventCode = EVENT_NONE;
    // A frame without an event leaves the code at EVENT_NONE instead of classifying the
    // previous frame's record again: nothing may mistake an old event for a new one.
    if (hasEvent) {
        Classify();
    }
}

void CEventManager::Classify() {
    switch (lastEvent.type) {
        case SDL_KEYDOWN: {
            eventCode = EVENT_KEYDOWN;
            int slot = CPlatform::KeySlot(lastEvent.key.keysym.sym);
            if (slot >= 0 && slot < KEY_SLOTS) {
                keys[slot] = 1;
            }
            break;
        }
        case SDL_KEYUP: {
            int slot = CPlatform::KeySlot(lastEvent.key.keysym.sym);
            if (slot >= 0 && slot < KEY_SLOTS) {
                keys[slot] = 0;
            }
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
            if (lastEvent.button.button == SDL_BUTTON_LEFT) {
                leftButton = true;
                eventCode = EVENT_LBUTTONDOWN;
            } else if (lastEvent.button.button == SDL_BUTTON_RIGHT) {
                rightButton = true;
                eventCode = EVENT_RBUTTONDOWN;
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (lastEvent.button.button == SDL_BUTTON_LEFT) {
                leftButton = false;
                eventCode = EVENT_LBUTTONUP;
            } else if (lastEvent.button.button == SDL_BUTTON_RIGHT) {
                rightButton = false;
                eventCode = EVENT_RBUTTONUP;
            }
            break;
        case SDL_QUIT:
            eventCode = EVENT_QUIT;
            break;
        default:
            break;
    }
}

bool CEventManager::IsKeyDown(int key) const {
    int slot = CPlatform::KeySlot(key);
    if (slot < 0 || slot >= KEY_SLOTS) {
        return false;
    }
    return keys[slot] != 0;
}

bool CEventManager::MouseInBox(float x, float y, float w, float h) const {
    float mx = static_cast<float>(mouseX);
    float my = static_cast<float>(mouseY);
    return mx >= x && x + w >= mx && my >= y && y + h >= my;
}
