// The event manager with real pushed SDL events and warped pointers: one event per frame, the
// key table, the button flags, the classification, mouse deltas and the clicked id.
#include <cstring>

#include "input/CEventManager.h"
#include "support/TestSupport.h"

using orvane_test::DrainEvents;
using orvane_test::EngineTest;
using orvane_test::PushKey;
using orvane_test::PushMouseButton;
using orvane_test::PushQuit;
using orvane_test::WarpMouse;

namespace {

void PushEventOfType(Uint8 type) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = type;
    SDL_PushEvent(&event);
}

}  // namespace

class EventManagerTest : public EngineTest {
protected:
    CEventManager& events() { return *g_pEventManager; }
};

TEST_F(EventManagerTest, StartsEmpty) {
    CEventManager fresh;
    EXPECT_FALSE(fresh.HasEvent());
    EXPECT_TRUE(fresh.IsEvent(EVENT_NONE));
    EXPECT_EQ(-1, fresh.GetClickedId());
    EXPECT_EQ(0, fresh.GetMouseX());
    EXPECT_FALSE(fresh.IsLeftButtonDown());
    EXPECT_EQ(0, fresh.GetEvent().type);
}

TEST_F(EventManagerTest, TakesOneEventPerFrame) {
    PushKey(SDLK_a, true);
    PushKey(SDLK_b, true);
    events().PollEvent();
    EXPECT_TRUE(events().HasEvent());
    EXPECT_TRUE(events().IsEvent(EVENT_KEYDOWN));
    EXPECT_TRUE(events().IsKeyDown(SDLK_a));
    EXPECT_FALSE(events().IsKeyDown(SDLK_b));
    events().PollEvent();
    EXPECT_TRUE(events().IsKeyDown(SDLK_b));
    events().PollEvent();
    EXPECT_FALSE(events().HasEvent());
    // A frame without an event keeps the key table and reports no event code.
    EXPECT_TRUE(events().IsEvent(EVENT_NONE));
    EXPECT_TRUE(events().IsKeyDown(SDLK_a));
    EXPECT_TRUE(events().IsKeyDown(SDLK_b));
    // GetEvent still hands back the last record taken.
    EXPECT_EQ(SDL_KEYDOWN, events().GetEvent().type);
    EXPECT_EQ(SDLK_b, events().GetEvent().key.keysym.sym);
}

TEST_F(EventManagerTest, KeyUpClearsTheKeyWithoutAnEventCode) {
    PushKey(SDLK_ESCAPE, true);
    PushKey(SDLK_ESCAPE, false);
    events().PollEvent();
    EXPECT_TRUE(events().IsKeyDown(SDLK_ESCAPE));
    events().PollEvent();
    EXPECT_TRUE(events().HasEvent());
    EXPECT_TRUE(events().IsEvent(EVENT_NONE));
    EXPECT_FALSE(events().IsKeyDown(SDLK_ESCAPE));
}

TEST_F(EventManagerTest, KeySymbolsOutsideTheTableReadAsUp) {
    EXPECT_FALSE(events().IsKeyDown(KEY_SLOTS));
    EXPECT_FALSE(events().IsKeyDown(100000));
    EXPECT_FALSE(events().IsKeyDown(-1));
}

TEST_F(EventManagerTest, ClassifiesEveryButtonAndTheQuitEvent) {
    struct Case {
        Uint8 button;
        bool down;
        unsigned int code;
        bool left;
        bool right;
    };
    const Case cases[] = {
        {SDL_BUTTON_LEFT, true, EVENT_LBUTTONDOWN, true, false},
        {SDL_BUTTON_RIGHT, true, EVENT_RBUTTONDOWN, true, true},
        {SDL_BUTTON_LEFT, false, EVENT_LBUTTONUP, false, true},
        {SDL_BUTTON_RIGHT, false, EVENT_RBUTTONUP, false, false},
    };
    for (const Case& c : cases) {
        PushMouseButton(c.button, c.down, 10, 10);
        events().PollEvent();
        EXPECT_TRUE(events().HasEvent());
        EXPECT_TRUE(events().IsEvent(c.code)) << "button " << int(c.button) << " down " << c.down;
        EXPECT_EQ(c.left, events().IsLeftButtonDown());
        EXPECT_EQ(c.right, events().IsRightButtonDown());
    }
    PushQuit();
    events().PollEvent();
    EXPECT_TRUE(events().HasEvent());
    EXPECT_TRUE(events().IsEvent(EVENT_QUIT));
}

TEST_F(EventManagerTest, MiddleButtonWheelAndOtherEventsStayUnclassified) {
    PushMouseButton(SDL_BUTTON_LEFT, true, 10, 10);
    events().PollEvent();
    for (Uint8 button : {SDL_BUTTON_MIDDLE, SDL_BUTTON_WHEELUP, SDL_BUTTON_WHEELDOWN}) {
        PushMouseButton(button, true, 10, 10);
        events().PollEvent();
        EXPECT_TRUE(events().HasEvent());
        EXPECT_TRUE(events().IsEvent(EVENT_NONE));
        PushMouseButton(button, false, 10, 10);
        events().PollEvent();
        EXPECT_TRUE(events().IsEvent(EVENT_NONE));
    }
    EXPECT_TRUE(events().IsLeftButtonDown());
    EXPECT_FALSE(events().IsRightButtonDown());
    PushEventOfType(SDL_USEREVENT);
    events().PollEvent();
    EXPECT_TRUE(events().HasEvent());
    EXPECT_TRUE(events().IsEvent(EVENT_NONE));
}

TEST_F(EventManagerTest, MouseDeltasFollowTheWarpedPointer) {
    WarpMouse(100, 200);
    events().PollEvent();
    events().PollEvent();
    EXPECT_EQ(100, events().GetMouseX());
    EXPECT_EQ(200, events().GetMouseY());
    EXPECT_FALSE(events().MouseMoved());

    WarpMouse(103, 198);
    events().PollEvent();
    EXPECT_EQ(3, events().GetMouseDeltaX());
    EXPECT_EQ(-2, events().GetMouseDeltaY());
    EXPECT_TRUE(events().MouseMoved());

    events().PollEvent();
    EXPECT_EQ(0, events().GetMouseDeltaX());
    EXPECT_EQ(0, events().GetMouseDeltaY());
    EXPECT_FALSE(events().MouseMoved());
}

TEST_F(EventManagerTest, ClickedIdLivesForOneFrame) {
    events().PollEvent();
    events().SetClickedId(7);
    EXPECT_EQ(7, events().GetClickedId());
    events().PollEvent();
    EXPECT_EQ(-1, events().GetClickedId());
}

TEST_F(EventManagerTest, TheFrameStepPollsExactlyOneEvent) {
    DrainEvents();
    PushKey(SDLK_UP, true);
    PushKey(SDLK_DOWN, true);
    engine_->Update();
    EXPECT_TRUE(events().IsKeyDown(SDLK_UP));
    EXPECT_FALSE(events().IsKeyDown(SDLK_DOWN));
}
