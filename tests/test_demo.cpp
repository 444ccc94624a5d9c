// The camera demo driven frame by frame in the test process: the drift and its turns, the
// keys, the frames without events, and the ways out.
#include "camera/CCameraManager.h"
#include "demo/Camera2DDemo.h"
#include "input/CEventManager.h"
#include "support/TestSupport.h"
#include "textures/CSprite.h"

using orvane_test::DrainEvents;
using orvane_test::PushKey;
using orvane_test::PushQuit;
using orvane_test::StreamCapture;

namespace {

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        StreamCapture capture;
        demo_.reset(new Camera2DDemo());
        demo_->Init();
        DrainEvents();
    }
    void TearDown() override {
        StreamCapture capture;
        demo_.reset();
    }
    float CameraX() const { return g_pCameraManager->GetPosition()->x; }
    float CameraY() const { return g_pCameraManager->GetPosition()->y; }
    // Frames with an empty queue; stray window-system events would be taken as this frame's.
    void RunQuietFrames(int count) {
        for (int i = 0; i < count; ++i) {
            DrainEvents();
            ASSERT_TRUE(demo_->RunFrame());
        }
    }

    std::unique_ptr<Camera2DDemo> demo_;
};

}  // namespace

TEST_F(DemoTest, InitPlacesTheLogoTwoPixelsInsideTheCornerAndStartsTheCamera) {
    const CSprite* logo = demo_->GetLogo();
    ASSERT_GT(logo->GetWidth(), 0.0f);
    EXPECT_FLOAT_EQ(1022.0f - logo->GetWidth(), logo->position.x);
    EXPECT_FLOAT_EQ(766.0f - logo->GetHeight(), logo->position.y);
    EXPECT_FLOAT_EQ(-1.0f, CameraX());
    EXPECT_FLOAT_EQ(0.0f, CameraY());
    EXPECT_FLOAT_EQ(-0.5f, demo_->GetScrollSpeed());
    EXPECT_EQ(1u, g_pCameraManager->GetCameraCount());
}

TEST_F(DemoTest, DriftTurnsAtBothEndsOfItsRange) {
    RunQuietFrames(1530);
    EXPECT_FLOAT_EQ(-766.0f, CameraX());
    EXPECT_FLOAT_EQ(-0.5f, demo_->GetScrollSpeed());
    RunQuietFrames(1);
    EXPECT_FLOAT_EQ(-766.5f, CameraX()) << "the 1531st frame";
    EXPECT_FLOAT_EQ(0.5f, demo_->GetScrollSpeed());
    // The climb is the same half-pixel step; skip to just below the top, where it turns at 0.5.
    g_pCameraManager->GetPosition()->x = -2.0f;
    RunQuietFrames(4);
    EXPECT_FLOAT_EQ(0.0f, CameraX());
    EXPECT_FLOAT_EQ(0.5f, demo_->GetScrollSpeed());
    RunQuietFrames(1);
    EXPECT_FLOAT_EQ(0.5f, CameraX());
    EXPECT_FLOAT_EQ(-0.5f, demo_->GetScrollSpeed());
    RunQuietFrames(1);
    EXPECT_FLOAT_EQ(0.0f, CameraX());
    EXPECT_FLOAT_EQ(-0.5f, demo_->GetScrollSpeed());
}

TEST_F(DemoTest, ACameraPushedOutsideTheRangeJittersByHalfAPixel) {
    g_pCameraManager->GetPosition()->x = 10.0f;
    RunQuietFrames(1);
    EXPECT_FLOAT_EQ(9.5f, CameraX());
    for (int i = 0; i < 4; ++i) {
        RunQuietFrames(1);
        EXPECT_FLOAT_EQ(10.0f, CameraX());
        RunQuietFrames(1);
        EXPECT_FLOAT_EQ(9.5f, CameraX());
    }
}

TEST_F(DemoTest, ArrowKeysMoveTheCameraOnlyInFramesThatTookAnEvent) {
    DrainEvents();
    PushKey(SDLK_UP, true);
    ASSERT_TRUE(demo_->RunFrame());
    EXPECT_FLOAT_EQ(5.0f, CameraY());
    // Held with nothing else queued: no further movement.
    RunQuietFrames(3);
    EXPECT_FLOAT_EQ(5.0f, CameraY());
    // Any event (here a key-up of another key) lets the held key count again.
    PushKey(SDLK_a, false);
    ASSERT_TRUE(demo_->RunFrame());
    EXPECT_FLOAT_EQ(10.0f, CameraY());

    float x = CameraX();
    PushKey(SDLK_UP, false);
    PushKey(SDLK_LEFT, true);
    ASSERT_TRUE(demo_->RunFrame());
    ASSERT_TRUE(demo_->RunFrame());
    // Left adds 5 to x on top of the two frames' drift.
    EXPECT_FLOAT_EQ(x - 1.0f + 5.0f, CameraX());
    EXPECT_FLOAT_EQ(10.0f, CameraY());
    PushKey(SDLK_LEFT, false);
    PushKey(SDLK_DOWN, true);
    PushKey(SDLK_RIGHT, true);
    ASSERT_TRUE(demo_->RunFrame());
    ASSERT_TRUE(demo_->RunFrame());
    EXPECT_FLOAT_EQ(5.0f, CameraY());
    ASSERT_TRUE(demo_->RunFrame());
    // Down and Right held together both apply in the frame of the last key-down.
    EXPECT_FLOAT_EQ(0.0f, CameraY());
}

TEST_F(DemoTest, EscapeAndTheQuitEventEndTheLoop) {
    DrainEvents();
    PushKey(SDLK_ESCAPE, true);
    EXPECT_FALSE(demo_->RunFrame());
    PushKey(SDLK_ESCAPE, false);
    EXPECT_TRUE(demo_->RunFrame());
    PushQuit();
    EXPECT_FALSE(demo_->RunFrame());
}
