// Animated sprites: frame timing on a driven clock, looping and one-shot play, frame indices,
// file naming, and animations without frames, checked by reading the drawn pixels back.
#include <GL/glew.h>

#include <cstdlib>
#include <vector>

#include "core/CEngine.h"

#include "support/TestSupport.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"
#include "utils/CClock.h"

using orvane_test::Rgba;
using orvane_test::StreamCapture;

namespace {

Uint32& g_now = orvane_test::g_testTicks;

const char* const kBase = "tests/data/anim/anim";

// The flat colours of anim1.png .. anim10.png (tools/make_gui_images.py).
const Rgba kFrameColours[10] = {{255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},
                                {255, 255, 0, 255}, {0, 255, 255, 255}, {255, 0, 255, 255},
                                {255, 128, 0, 255}, {128, 0, 255, 255}, {255, 255, 255, 255},
                                {0, 128, 128, 255}};

class AnimatedSpriteTest : public orvane_test::DrivenClockEngineTest {
protected:
    // The 1-based number of the frame whose colour is at the centre of the 8 x 8 picture at
    // (x, y), 0 for the black background and -1 for anything else.
    int FrameAt(int x, int y) {
        Rgba p = orvane_test::ReadPixel(x + 4, y + 4);
        if (p.r < 4 && p.g < 4 && p.b < 4) {
            return 0;
        }
        for (int i = 0; i < 10; ++i) {
            const Rgba& c = kFrameColours[i];
            if (std::abs(p.r - c.r) <= 4 && std::abs(p.g - c.g) <= 4 && std::abs(p.b - c.b) <= 4) {
                return i + 1;
            }
        }
        return -1;
    }

    // Clears, plays once at the animation's own position 100 ms after the last call, and
    // returns the frame drawn.
    int PlayLater(CAnimatedSprite& anim, bool once) {
        g_now += 100;
        ClearFrame();
        if (once) {
            anim.PlayOnce();
        } else {
            anim.Play();
        }
        return FrameAt(static_cast<int>(anim.GetX()), static_cast<int>(anim.GetY()));
    }
};

TEST_F(AnimatedSpriteTest, StepsOnlyWhenMoreThanOneIntervalHasPassed) {
    CAnimatedSprite anim(kBase, 3, 100.0f, 100.0f);
    ASSERT_EQ(20u, anim.GetFps());

    g_now = 1050;  // exactly 1000 / 20 ms after construction
    anim.Play();
    EXPECT_EQ(1, FrameAt(100, 100));
    EXPECT_EQ(1u, anim.GetCurrentFrame());

    g_now = 1051;
    ClearFrame();
    anim.Play();
    EXPECT_EQ(1, FrameAt(100, 100)) << "the frame current when the call began is drawn";
    EXPECT_EQ(2u, anim.GetCurrentFrame());

    // The interval counts from the step just taken, and at most one step is taken per call.
    g_now = 1101;
    anim.Play();
    EXPECT_EQ(2u, anim.GetCurrentFrame());
    g_now = 5000;
    anim.Play();
    EXPECT_EQ(3u, anim.GetCurrentFrame());

    anim.SetFps(0);
    g_now = 900000;
    anim.Play();
    EXPECT_EQ(3u, anim.GetCurrentFrame()) << "a rate of 0 never steps";
}

TEST_F(AnimatedSpriteTest, TickCounterWrapAroundIsHarmless) {
    g_now = 0xFFFFFFF0u;
    CAnimatedSprite anim(kBase, 3, 100.0f, 100.0f);
    g_now = 0x00000010u;  // 32 ms later, across the wrap
    anim.Play();
    EXPECT_EQ(1u, anim.GetCurrentFrame());
    g_now = 0x00000030u;  // 64 ms later
    anim.Play();
    EXPECT_EQ(2u, anim.GetCurrentFrame());
}

TEST_F(AnimatedSpriteTest, PlayLoopsAndPlayOnceHoldsTheLastFrameUntilRewind) {
    CAnimatedSprite loop(kBase, 3, 100.0f, 100.0f);
    int looped[6];
    for (int& frame : looped) {
        frame = PlayLater(loop, false);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 1, 2, 3}), std::vector<int>(looped, looped + 6));

    CAnimatedSprite once(kBase, 3, 200.0f, 100.0f);
    int played[5];
    for (int& frame : played) {
        frame = PlayLater(once, true);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 3, 3}), std::vector<int>(played, played + 5));
    once.Rewind();
    EXPECT_EQ(1, PlayLater(once, true));
    EXPECT_EQ(2, PlayLater(once, true));
}

TEST_F(AnimatedSpriteTest, PlayAtAndDrawFrameAtDrawWhereTheyAreTold) {
    CAnimatedSprite anim(kBase, 3, 100.0f, 100.0f);
    anim.PlayOnceAt(300.0f, 200.0f);
    EXPECT_EQ(1, FrameAt(300, 200));
    EXPECT_EQ(0, FrameAt(100, 100));

    // Indices count from 0 and ignore the current frame.
    ClearFrame();
    anim.DrawFrame(0);
    anim.DrawFrameAt(2, 400.0f, 200.0f);
    EXPECT_EQ(1, FrameAt(100, 100));
    EXPECT_EQ(3, FrameAt(400, 200));
    EXPECT_EQ(1u, anim.GetCurrentFrame());

    anim.SetPosition(50.0f, 60.0f);
    ClearFrame();
    anim.DrawFrame(1);
    EXPECT_EQ(2, FrameAt(50, 60));
}

TEST_F(AnimatedSpriteTest, TenthFrameIsReadFromTheFileNumberedTen) {
    StreamCapture capture;
    CAnimatedSprite anim(kBase, 10, 100.0f, 100.0f);
    std::string log = capture.Text();
    EXPECT_NE(std::string::npos, log.find("Loading Texture: tests/data/anim/anim1.png\n"));
    EXPECT_NE(std::string::npos, log.find("Loading Texture: tests/data/anim/anim10.png\n"));
    EXPECT_EQ(std::string::npos, log.find("anim01"));
    EXPECT_EQ(std::string::npos, log.find("Failed"));
    EXPECT_EQ(10u, anim.GetFrameCount());
    anim.DrawFrame(9);
    EXPECT_EQ(10, FrameAt(100, 100));
}

TEST_F(AnimatedSpriteTest, AnimationsWithoutFramesOrPastTheLastFrameDrawNothing) {
    CAnimatedSprite empty;
    EXPECT_EQ(0u, empty.GetFrameCount());
    EXPECT_EQ(nullptr, empty.GetFrame(0));
    CAnimatedSprite none(kBase, 0, 100.0f, 100.0f);
    CAnimatedSprite three(kBase, 3, 100.0f, 100.0f);
    EXPECT_EQ(nullptr, three.GetFrame(3));
    EXPECT_EQ(nullptr, three.GetFrame(0xFFFFFFFFu));

    ClearFrame();
    for (CAnimatedSprite* anim : {&empty, &none}) {
        for (int i = 0; i < 3; ++i) {
            g_now += 100;
            anim->Play();
            anim->PlayAt(100.0f, 100.0f);
            anim->PlayOnce();
            anim->PlayOnceAt(100.0f, 100.0f);
            anim->DrawFrame(0);
            anim->DrawFrameAt(1, 100.0f, 100.0f);
        }
    }
    three.DrawFrame(3);
    three.DrawFrameAt(7, 0.0f, 0.0f);
    EXPECT_EQ(0, FrameAt(100, 100));
    EXPECT_EQ(0, FrameAt(0, 0));
    EXPECT_EQ(0, FrameAt(0, 0));

    // Frames appended to an empty animation become playable.
    empty.LoadFrames(kBase, 2);
    empty.SetPosition(100.0f, 100.0f);
    EXPECT_EQ(2u, empty.GetFrameCount());
    EXPECT_EQ(1, PlayLater(empty, false));
    EXPECT_EQ(2, PlayLater(empty, false));
    EXPECT_EQ(1, PlayLater(empty, false));
}

TEST_F(AnimatedSpriteTest, MissingFilesLeaveUnloadedFramesInTheirPlaces) {
    StreamCapture capture;
    CAnimatedSprite anim("tests/data/anim/missing", 2, 100.0f, 100.0f);
    EXPECT_NE(std::string::npos,
              capture.Text().find("Failed to load the image: tests/data/anim/missing2.png"));
    ASSERT_EQ(2u, anim.GetFrameCount());
    ASSERT_NE(nullptr, anim.GetFrame(1));
    EXPECT_FALSE(anim.GetFrame(1)->IsLoaded());
    anim.Play();
    EXPECT_EQ(0, FrameAt(100, 100));
}

TEST_F(AnimatedSpriteTest, TheAnimationDestroysItsFrames) {
    size_t before = g_pTextureManager->GetCount();
    {
        CAnimatedSprite anim(kBase, 3, 0.0f, 0.0f);
        EXPECT_EQ(before + 3, g_pTextureManager->GetCount());
    }
    EXPECT_EQ(before, g_pTextureManager->GetCount());
}

}  // namespace
