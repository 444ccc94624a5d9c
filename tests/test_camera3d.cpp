// The first-person 3D camera: turning, moving, the side vector, keyboard movement scaled by the
// frame time (with a driven clock and SDL's own key table), mouse look with warped pointers in
// a 1024 x 768 window, the view it loads, and the guards that keep it free of not-a-numbers.
#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "camera/CCamera.h"
#include "core/CEngine.h"
#include "support/TestSupport.h"
#include "utils/CClock.h"
#include "utils/CUtils.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;

namespace {

const double kPi = 3.14159265358979323846;

struct Vec {
    double x, y, z;
};

// Rodrigues' rotation of v by angle about the unit axis k, in double precision.
Vec RotateAbout(Vec v, Vec k, double angle) {
    double c = std::cos(angle);
    double s = std::sin(angle);
    double dot = k.x * v.x + k.y * v.y + k.z * v.z;
    Vec cross{k.y * v.z - k.z * v.y, k.z * v.x - k.x * v.z, k.x * v.y - k.y * v.x};
    return Vec{v.x * c + cross.x * s + k.x * dot * (1 - c),
               v.y * c + cross.y * s + k.y * dot * (1 - c),
               v.z * c + cross.z * s + k.z * dot * (1 - c)};
}

::testing::AssertionResult Near(const CVector3& v, Vec e, double tolerance = 1e-4) {
    if (std::fabs(v.x - e.x) <= tolerance && std::fabs(v.y - e.y) <= tolerance &&
        std::fabs(v.z - e.z) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << v.x << ", " << v.y << ", " << v.z << "), expected (" << e.x << ", " << e.y
           << ", " << e.z << ")";
}

bool Same(const CVector3& a, const CVector3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

bool Finite(const CVector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool AllFinite(const CCamera& camera) {
    return Finite(camera.eye) && Finite(camera.center) && Finite(camera.up) && Finite(camera.side);
}

// The initial viewing direction (1, 0, 26) and side vector (-26, 0, 1), both as unit vectors.
const double kRoot677 = std::sqrt(677.0);
const Vec kForward{1.0 / kRoot677, 0.0, 26.0 / kRoot677};
const Vec kSide{-26.0 / kRoot677, 0.0, 1.0 / kRoot677};

Uint32 g_ticks = 0;
Uint32 FakeTicks() {
    return g_ticks;
}

// Two frame-rate updates 16 ms apart make the utils' frame time 0.016 seconds.
void MakeFrameTime16ms() {
    g_ticks = 500;
    g_pUtils->UpdateFPS();
    g_ticks = 516;
    g_pUtils->UpdateFPS();
}

// SDL's own key table, written directly: pushed events do not change it.
void HoldKeys(std::initializer_list<SDLKey> keys) {
    Uint8* table = SDL_GetKeyState(nullptr);
    for (int key = 0; key < SDLK_LAST; ++key) {
        table[key] = 0;
    }
    for (SDLKey key : keys) {
        table[key] = 1;
    }
}

// Pumps until SDL reports the pointer at (x, y); false when it never gets there.
bool PointerReaches(int x, int y) {
    int mx = -1;
    int my = -1;
    for (int i = 0; i < 200; ++i) {
        SDL_PumpEvents();
        SDL_GetMouseState(&mx, &my);
        if (mx == x && my == y) {
            return true;
        }
        SDL_Delay(5);
    }
    ADD_FAILURE() << "pointer at (" << mx << ", " << my << "), expected (" << x << ", " << y << ")";
    return false;
}

// A camera with the engine's timing but no window (so no mouse look).
class CameraKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        StreamCapture capture;
        engine_.reset(new CEngine());
        CClock::SetTickSource(FakeTicks);
        CCamera::pitchTotal = 0.0f;
    }
    void TearDown() override {
        HoldKeys({});
        CClock::SetTickSource(nullptr);
        StreamCapture capture;
        engine_.reset();
    }
    std::unique_ptr<CEngine> engine_;
};

// An engine with a 1024 x 768 window in 3D mode.
class Camera3DTest : public EngineTest {
protected:
    bool Mode2D() const override { return false; }
    void SetUp() override {
        EngineTest::SetUp();
        CCamera::pitchTotal = 0.0f;
        CClock::SetTickSource(FakeTicks);
    }
    void TearDown() override {
        HoldKeys({});
        CClock::SetTickSource(nullptr);
        EngineTest::TearDown();
    }
};

}  // namespace

TEST(Camera, RotateTurnsTheCenterAboutTheEye) {
    CCamera camera;
    camera.Place(0, 0, 0, 0, 0, 1, 0, 1, 0);
    camera.Rotate(static_cast<float>(kPi / 2), 0, 1, 0);
    EXPECT_TRUE(Near(camera.center, Vec{1, 0, 0}, 1e-6));
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.eye));

    // About a tilted axis, away from the origin: the distance is kept.
    CCamera tilted;
    double r = 1.0 / std::sqrt(3.0);
    Vec axis{r, r, r};
    tilted.Rotate(0.7f, float(r), float(r), float(r));
    Vec turned = RotateAbout(Vec{1, 0, 26}, axis, 0.7);
    EXPECT_TRUE(Near(tilted.center, Vec{turned.x, 5 + turned.y, -25 + turned.z}));
    EXPECT_TRUE(Same(CVector3(0, 5, -25), tilted.eye));
}

TEST(Camera, MoveForwardMovesOnlyTheEye) {
    CCamera camera;
    camera.MoveForward(1.0f);
    EXPECT_TRUE(Near(camera.eye, Vec{kForward.x, 5, -25 + kForward.z}, 1e-5));
    EXPECT_TRUE(Same(CVector3(1, 5, 1), camera.center));
    camera.MoveForward(-3.0f);
    EXPECT_TRUE(Near(camera.eye, Vec{-2 * kForward.x, 5, -25 - 2 * kForward.z}, 1e-5));
}

TEST(Camera, UpdateSetsTheSideVectorThatStrafeFollows) {
    CCamera camera;
    // No side vector before the first Update: strafing moves nothing.
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.side));
    camera.Strafe(1.0f);
    EXPECT_TRUE(Same(CVector3(0, 5, -25), camera.eye));
    EXPECT_TRUE(Same(CVector3(1, 5, 1), camera.center));

    // Without an engine there is no mouse or keyboard to apply.
    camera.Update();
    EXPECT_TRUE(Near(camera.side, kSide, 1e-6));
    EXPECT_NEAR(-0.9993, camera.side.x, 1e-4);
    EXPECT_NEAR(0.0384, camera.side.z, 1e-4);

    camera.Place(0, 7, 0, 1, 3, 26, 0, 1, 0);
    camera.side = CVector3(float(kSide.x), 0.0f, float(kSide.z));
    camera.Strafe(1.0f);
    EXPECT_TRUE(Near(camera.eye, Vec{kSide.x, 7, kSide.z}, 1e-6));
    EXPECT_TRUE(Near(camera.center, Vec{1 + kSide.x, 3, 26 + kSide.z}, 1e-5));
    EXPECT_EQ(7.0f, camera.eye.y);
    EXPECT_EQ(3.0f, camera.center.y);
}

TEST(Camera, MoveToCarriesTheCenterAlong) {
    CCamera camera;
    camera.MoveTo(10, 0, 0);
    EXPECT_TRUE(Same(CVector3(10, 0, 0), camera.eye));
    EXPECT_TRUE(Same(CVector3(11, 0, 26), camera.center));
    // Place and MoveTo leave the accumulated pitch alone.
    CCamera::pitchTotal = 0.5f;
    camera.Place(1, 2, 3, 4, 5, 6, 0, 0, 1);
    EXPECT_TRUE(Same(CVector3(1, 2, 3), camera.eye));
    EXPECT_TRUE(Same(CVector3(4, 5, 6), camera.center));
    EXPECT_TRUE(Same(CVector3(0, 0, 1), camera.up));
    EXPECT_EQ(0.5f, CCamera::pitchTotal);
}

TEST(CameraGuards, MoveForwardStopsShortOfTheCenter) {
    CCamera camera;
    camera.Place(0, 0, 0, 0, 0, 2, 0, 1, 0);
    camera.MoveForward(2.0f);  // onto the center
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.eye));
    camera.MoveForward(3.0f);  // past it: the view would flip round
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.eye));
    camera.MoveForward(1.5f);
    EXPECT_TRUE(Same(CVector3(0, 0, 1.5f), camera.eye));
    camera.MoveForward(std::numeric_limits<float>::quiet_NaN());
    camera.MoveForward(-std::numeric_limits<float>::infinity());
    EXPECT_TRUE(Same(CVector3(0, 0, 1.5f), camera.eye));
    camera.Update();
    EXPECT_TRUE(AllFinite(camera));
}

TEST(CameraGuards, TurnOntoTheUpAxisIsSkipped) {
    // Turning (0, 1, e) back by e about x lands exactly on (0, 1, 0), parallel to up.
    const float e = std::ldexp(1.0f, -30);
    CCamera camera;
    camera.Place(0, 0, 0, 0, 1, e, 0, 1, 0);
    camera.Rotate(-e, 1, 0, 0);
    EXPECT_TRUE(Same(CVector3(0, 1, e), camera.center));
    // Half of it is fine.
    camera.Rotate(-e / 2, 1, 0, 0);
    EXPECT_TRUE(Near(camera.center, Vec{0, 1, e / 2}, 1e-12));
    EXPECT_GT(camera.center.z, 0.0f);
    // A turn about a not-a-number axis or by a not-a-number angle changes nothing.
    CVector3 before = camera.center;
    camera.Rotate(std::numeric_limits<float>::quiet_NaN(), 1, 0, 0);
    camera.Rotate(0.3f, std::numeric_limits<float>::quiet_NaN(), 0, 0);
    EXPECT_TRUE(Same(before, camera.center));
    camera.Update();
    EXPECT_TRUE(AllFinite(camera));
}

TEST(CameraGuards, ViewPlacedAlongUpHasNoSideButStaysFinite) {
    CCamera camera;
    camera.Place(0, 0, 0, 0, 3, 0, 0, 1, 0);
    camera.side = CVector3(5, 5, 5);
    camera.Update();
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.side));
    camera.Strafe(1.0f);
    camera.MoveForward(1.0f);
    camera.Rotate(0.5f, 0, 1, 0);  // spinning about up keeps it along up
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.eye));
    EXPECT_TRUE(Same(CVector3(0, 3, 0), camera.center));
    EXPECT_TRUE(AllFinite(camera));
    // A turn out of the line is taken, and from there the camera moves again.
    camera.Rotate(static_cast<float>(-kPi / 2), 1, 0, 0);
    EXPECT_TRUE(Near(camera.center, Vec{0, 0, -3}, 1e-6));
    camera.Update();
    EXPECT_TRUE(Near(camera.side, Vec{1, 0, 0}, 1e-6));
    camera.MoveForward(1.0f);
    EXPECT_TRUE(Near(camera.eye, Vec{0, 0, -1}, 1e-6));
}

TEST(CameraGuards, EyeOnTheCenterNeverTurnsIntoNotANumber) {
    CCamera camera;
    camera.Place(2, 2, 2, 2, 2, 2, 0, 1, 0);
    camera.Update();
    camera.MoveForward(1.0f);
    camera.Rotate(0.5f, 0, 1, 0);
    camera.Strafe(1.0f);
    EXPECT_TRUE(AllFinite(camera));
    EXPECT_TRUE(Same(CVector3(2, 2, 2), camera.eye));
    EXPECT_TRUE(Same(CVector3(2, 2, 2), camera.center));
}

TEST(CameraGuards, MovesThatRoundingWouldCollapseAreSkipped) {
    CCamera camera;
    camera.Place(0, 0, 0, 0.001f, 0, 0, 0, 1, 0);
    // At 1e8 a float cannot hold the 0.001 between eye and center.
    camera.MoveTo(1e8f, 0, 0);
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.eye));
    EXPECT_TRUE(Same(CVector3(0.001f, 0, 0), camera.center));
    camera.MoveTo(5, 0, 0);
    EXPECT_TRUE(Same(CVector3(5, 0, 0), camera.eye));
    camera.Update();
    camera.Strafe(std::numeric_limits<float>::infinity());
    EXPECT_TRUE(Same(CVector3(5, 0, 0), camera.eye));
    EXPECT_TRUE(AllFinite(camera));
}

TEST_F(CameraKeysTest, FrameTimeScalesEachMovementKey) {
    MakeFrameTime16ms();
    ASSERT_NEAR(0.016, g_pUtils->GetFrameTime(), 1e-6);
    const double step = 0.016 * 200.0;

    HoldKeys({SDLK_w});
    g_pCamera->Update();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{step * kForward.x, 5, -25 + step * kForward.z}));
    EXPECT_NEAR(3.2, pointDistance(CVector3(0, 5, -25), g_pCamera->eye), 1e-4);
    EXPECT_TRUE(Same(CVector3(1, 5, 1), g_pCamera->center));

    HoldKeys({SDLK_DOWN});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}));

    HoldKeys({SDLK_d});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{step * kSide.x, 5, -25 + step * kSide.z}));
    EXPECT_TRUE(Near(g_pCamera->center, Vec{1 + step * kSide.x, 5, 1 + step * kSide.z}));

    HoldKeys({SDLK_LEFT});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}));
    EXPECT_TRUE(Near(g_pCamera->center, Vec{1, 5, 1}));

    HoldKeys({SDLK_UP});
    g_pCamera->KeyboardMove();
    HoldKeys({SDLK_s});
    g_pCamera->KeyboardMove();
    HoldKeys({SDLK_a});
    g_pCamera->KeyboardMove();
    HoldKeys({SDLK_RIGHT});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}));
    EXPECT_TRUE(Near(g_pCamera->center, Vec{1, 5, 1}));
}

TEST_F(CameraKeysTest, OppositeKeysCancelAndOtherKeysMoveNothing) {
    MakeFrameTime16ms();
    HoldKeys({SDLK_w, SDLK_s, SDLK_UP, SDLK_DOWN});
    g_pCamera->Update();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}, 1e-5));
    HoldKeys({SDLK_a, SDLK_d});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}, 1e-5));
    HoldKeys({SDLK_q, SDLK_e, SDLK_SPACE, SDLK_x});
    g_pCamera->KeyboardMove();
    EXPECT_TRUE(Near(g_pCamera->eye, Vec{0, 5, -25}, 1e-5));
    EXPECT_TRUE(Near(g_pCamera->center, Vec{1, 5, 1}, 1e-5));
}

TEST_F(CameraKeysTest, WithoutFrameRateUpdatesTheKeysMoveNothing) {
    g_ticks = 500;
    HoldKeys({SDLK_w, SDLK_d});
    g_pCamera->Update();
    EXPECT_EQ(0.0f, g_pUtils->GetFrameTime());
    EXPECT_TRUE(Same(CVector3(0, 5, -25), g_pCamera->eye));
    EXPECT_TRUE(Same(CVector3(1, 5, 1), g_pCamera->center));
}

TEST_F(CameraKeysTest, KeyboardMoveSkipsAStepOntoTheCenter) {
    // 3.2 units a frame towards a center 3.2 units away would land the eye on it.
    MakeFrameTime16ms();
    g_pCamera->Place(0, 0, 0, 0, 0, g_pUtils->GetFrameTime() * CCamera::MOVE_SPEED, 0, 1, 0);
    HoldKeys({SDLK_w});
    g_pCamera->Update();
    EXPECT_TRUE(Same(CVector3(0, 0, 0), g_pCamera->eye));
    EXPECT_TRUE(AllFinite(*g_pCamera));
}

// The engine's own frame step measures the frame time only while the frame rate is shown.
TEST_F(Camera3DTest, FrameStepWithTheRateShownDrivesTheKeys) {
    orvane_test::WarpMouse(512, 384);
    g_ticks = 500;
    engine_->Update();
    g_ticks = 516;
    engine_->Update();
    EXPECT_EQ(0.0f, g_pUtils->GetFrameTime());

    // The mouse still turns the view while the keys move nothing.
    orvane_test::WarpMouse(522, 384);
    HoldKeys({SDLK_w});
    g_pCamera->Update();
    EXPECT_TRUE(Same(CVector3(0, 5, -25), g_pCamera->eye));
    Vec turned = RotateAbout(Vec{1, 0, 26}, Vec{0, 1, 0}, -0.02);
    EXPECT_TRUE(Near(g_pCamera->center, Vec{turned.x, 5, -25 + turned.z}));
    ASSERT_TRUE(PointerReaches(512, 384));

    engine_->ShowFPS(true);
    g_ticks = 1000;
    engine_->Update();
    g_ticks = 1016;
    engine_->Update();
    EXPECT_NEAR(0.016, g_pUtils->GetFrameTime(), 1e-6);
    orvane_test::WarpMouse(512, 384);
    HoldKeys({SDLK_w});
    CVector3 center = g_pCamera->center;
    g_pCamera->Update();
    EXPECT_NEAR(3.2, pointDistance(CVector3(0, 5, -25), g_pCamera->eye), 1e-4);
    double length = std::sqrt(turned.x * turned.x + turned.z * turned.z);
    EXPECT_TRUE(
        Near(g_pCamera->eye, Vec{3.2 * turned.x / length, 5, -25 + 3.2 * turned.z / length}));
    EXPECT_TRUE(Same(center, g_pCamera->center));
}

TEST_F(Camera3DTest, PointerInTheMiddleChangesAndWarpsNothing) {
    orvane_test::WarpMouse(512, 384);
    CCamera camera;
    camera.MouseLook();
    EXPECT_TRUE(Same(CVector3(0, 5, -25), camera.eye));
    EXPECT_TRUE(Same(CVector3(1, 5, 1), camera.center));
    EXPECT_EQ(0.0f, CCamera::pitchTotal);
    for (int i = 0; i < 5; ++i) {
        SDL_PumpEvents();
        SDL_Delay(5);
    }
    SDL_Event event;
    EXPECT_EQ(0, SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_MOUSEMOTIONMASK));
}

TEST_F(Camera3DTest, PointerRightOfTheMiddleTurnsAboutTheWorldY) {
    orvane_test::WarpMouse(522, 384);
    CCamera camera;
    camera.MouseLook();
    Vec turned = RotateAbout(Vec{1, 0, 26}, Vec{0, 1, 0}, -0.02);
    EXPECT_TRUE(Near(camera.center, Vec{turned.x, 5, -25 + turned.z}));
    EXPECT_TRUE(Same(CVector3(0, 5, -25), camera.eye));
    EXPECT_EQ(0.0f, CCamera::pitchTotal);
    EXPECT_TRUE(PointerReaches(512, 384));
}

TEST_F(Camera3DTest, PointerAboveTheMiddlePitchesAboutTheSide) {
    orvane_test::WarpMouse(512, 334);
    CCamera camera;
    camera.MouseLook();
    EXPECT_FLOAT_EQ(-0.1f, CCamera::pitchTotal);
    Vec pitched = RotateAbout(Vec{1, 0, 26}, kSide, 0.1);
    EXPECT_GT(pitched.y, 2.0);  // looking up
    EXPECT_TRUE(Near(camera.center, Vec{pitched.x, 5 + pitched.y, -25 + pitched.z}));
    EXPECT_TRUE(PointerReaches(512, 384));

    // A diagonal move pitches first, about the side, and then yaws about the world y.
    orvane_test::WarpMouse(497, 364);
    camera.MouseLook();
    EXPECT_FLOAT_EQ(-0.14f, CCamera::pitchTotal);
    double length = std::sqrt(pitched.x * pitched.x + pitched.z * pitched.z);
    Vec side{-pitched.z / length, 0, pitched.x / length};
    Vec expected = RotateAbout(RotateAbout(pitched, side, 0.04), Vec{0, 1, 0}, 0.03);
    EXPECT_TRUE(Near(camera.center, Vec{expected.x, 5 + expected.y, -25 + expected.z}));
    EXPECT_TRUE(PointerReaches(512, 384));
}

TEST_F(Camera3DTest, PitchLimitDropsTheWholeTurn) {
    CCamera camera;
    CCamera::pitchTotal = 0.95f;
    orvane_test::WarpMouse(530, 434);
    camera.MouseLook();
    EXPECT_EQ(1.0f, CCamera::pitchTotal);
    EXPECT_TRUE(Same(CVector3(1, 5, 1), camera.center));
    EXPECT_TRUE(PointerReaches(512, 384));

    CCamera::pitchTotal = -0.95f;
    orvane_test::WarpMouse(490, 334);
    camera.MouseLook();
    EXPECT_EQ(-1.0f, CCamera::pitchTotal);
    EXPECT_TRUE(Same(CVector3(1, 5, 1), camera.center));
    EXPECT_TRUE(PointerReaches(512, 384));

    // Back inside the limit the turn applies again.
    orvane_test::WarpMouse(512, 394);
    camera.MouseLook();
    EXPECT_FLOAT_EQ(-0.98f, CCamera::pitchTotal);
    EXPECT_LT(camera.center.y, 5.0f);
}

// Every camera reads and writes the one accumulated pitch.
TEST_F(Camera3DTest, AllCamerasShareTheAccumulatedPitch) {
    CCamera first;
    CCamera second;
    orvane_test::WarpMouse(512, 334);
    first.MouseLook();
    ASSERT_TRUE(PointerReaches(512, 384));
    orvane_test::WarpMouse(512, 334);
    second.MouseLook();
    EXPECT_FLOAT_EQ(-0.2f, CCamera::pitchTotal);
    EXPECT_FLOAT_EQ(-0.2f, g_pCamera->pitchTotal);
}

TEST_F(Camera3DTest, MouseLookAlongUpKeepsTheViewFinite) {
    CCamera camera;
    camera.Place(0, 0, 0, 0, 2, 0, 0, 1, 0);
    orvane_test::WarpMouse(522, 334);
    camera.Update();
    // No axis to pitch about, and yawing about y leaves a view along y where it is.
    EXPECT_TRUE(Same(CVector3(0, 2, 0), camera.center));
    EXPECT_TRUE(Same(CVector3(0, 0, 0), camera.side));
    EXPECT_FLOAT_EQ(-0.1f, CCamera::pitchTotal);
    EXPECT_TRUE(AllFinite(camera));
    EXPECT_TRUE(PointerReaches(512, 384));

    // With another up the same view has a side to pitch about.
    camera.Place(0, 0, 0, 0, 2, 0, 0, 0, 1);
    orvane_test::WarpMouse(512, 334);
    camera.MouseLook();
    EXPECT_TRUE(Near(camera.center, Vec{0, 2 * std::cos(0.1), 2 * std::sin(0.1)}, 1e-6));
    EXPECT_FLOAT_EQ(-0.2f, CCamera::pitchTotal);
}

// The view Look loads: what lies at the center is drawn in the middle of the window, what lies
// along the side vector to its right and what lies along up above it.
TEST_F(Camera3DTest, LookAimsTheViewAtTheCenter) {
    glUseProgramObjectARB(0);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    auto square = [](float r, float g, float b, Vec at) {
        glColor3f(r, g, b);
        glBegin(GL_QUADS);
        glVertex3d(at.x - 1, at.y - 1, at.z);
        glVertex3d(at.x + 1, at.y - 1, at.z);
        glVertex3d(at.x + 1, at.y + 1, at.z);
        glVertex3d(at.x - 1, at.y + 1, at.z);
        glEnd();
    };
    auto drawScene = [&]() {
        ClearFrame();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        g_pCamera->Look();
        square(1, 0, 0, Vec{1, 5, 1});
        square(0, 1, 0, Vec{1 + 8 * kSide.x, 5, 1 + 8 * kSide.z});
        square(0, 0, 1, Vec{1, 11, 1});
    };
    drawScene();
    // 26 units ahead the window spans about +-20 units across and +-15 units down.
    EXPECT_TRUE(PixelNear(512, 384, 255, 0, 0));
    EXPECT_TRUE(PixelNear(717, 384, 0, 255, 0));
    EXPECT_TRUE(PixelNear(307, 384, 0, 0, 0));
    EXPECT_TRUE(PixelNear(512, 230, 0, 0, 255));
    EXPECT_TRUE(PixelNear(512, 538, 0, 0, 0));

    // Turned round, the scene is behind the eye.
    g_pCamera->Rotate(static_cast<float>(kPi), 0, 1, 0);
    drawScene();
    EXPECT_TRUE(PixelNear(512, 384, 0, 0, 0));
    EXPECT_TRUE(PixelNear(717, 384, 0, 0, 0));
    EXPECT_TRUE(PixelNear(512, 230, 0, 0, 0));
    glColor3f(1, 1, 1);
}
