// The sprite mouse cursor: the frame step draws it with its top-left corner at the pointer,
// switches to the alternate picture on request, and frees the sprites it replaces.
#include <GL/glew.h>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "support/TestSupport.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;
using orvane_test::WarpMouse;

namespace {

// 16 x 16 pictures whose upper-left triangle is opaque (tools/make_test_images.py).
const char* const kCursor = "tests/data/sprites/cursor.png";
const char* const kAltCursor = "tests/data/sprites/cursor_alt.png";

class CursorTest : public EngineTest {
protected:
    // One frame step with the pointer at (x, y), on a cleared frame.
    void FrameAt(int x, int y) {
        WarpMouse(x, y);
        ClearFrame();
        engine_->Update();
    }
    ::testing::AssertionResult CursorAt(int x, int y, int r, int g, int b) {
        // Inside the opaque triangle, just inside the corner, and outside the picture.
        ::testing::AssertionResult inside = PixelNear(x + 3, y + 2, r, g, b, 2);
        if (!inside) {
            return inside;
        }
        ::testing::AssertionResult corner = PixelNear(x, y, r, g, b, 2);
        if (!corner) {
            return corner;
        }
        ::testing::AssertionResult left = PixelNear(x - 1, y + 2, 0, 0, 0, 0);
        if (!left) {
            return left;
        }
        ::testing::AssertionResult above = PixelNear(x + 3, y - 1, 0, 0, 0, 0);
        if (!above) {
            return above;
        }
        // The lower-right half of the picture is transparent.
        return PixelNear(x + 13, y + 13, 0, 0, 0, 0);
    }
    StreamCapture quiet_;
};

}  // namespace

TEST_F(CursorTest, TheFrameStepDrawsTheCursorAtThePointer) {
    FrameAt(200, 150);
    EXPECT_TRUE(PixelNear(203, 152, 0, 0, 0, 0)) << "no sprite cursor until one is set";

    g_pGraphicsCore->SetCursorImage(kCursor);
    EXPECT_TRUE(g_pGraphicsCore->HasCustomCursor());
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    FrameAt(200, 150);
    EXPECT_TRUE(CursorAt(200, 150, 255, 0, 255));
    FrameAt(611, 437);
    EXPECT_TRUE(CursorAt(611, 437, 255, 0, 255));
    EXPECT_TRUE(PixelNear(203, 152, 0, 0, 0, 0));
}

TEST_F(CursorTest, TheAlternateCursorIsDrawnWhenSelected) {
    g_pGraphicsCore->SetCursorImages(kCursor, kAltCursor);
    EXPECT_EQ(g_pGraphicsCore->GetCursor(), g_pGraphicsCore->GetCurrentCursor());
    FrameAt(300, 200);
    EXPECT_TRUE(CursorAt(300, 200, 255, 0, 255));
    g_pGraphicsCore->UseAltCursor(true);
    FrameAt(300, 200);
    EXPECT_TRUE(CursorAt(300, 200, 0, 255, 255));
    g_pGraphicsCore->UseAltCursor(false);
    FrameAt(300, 200);
    EXPECT_TRUE(CursorAt(300, 200, 255, 0, 255));
}

TEST_F(CursorTest, LoadingACursorAgainFreesTheSpriteItReplaces) {
    g_pGraphicsCore->SetCursorImage(kCursor);
    ASSERT_EQ(1u, g_pTextureManager->GetCount());
    g_pGraphicsCore->SetCursorImage(kAltCursor);
    // The replaced sprite was destroyed, which took it out of the registry.
    EXPECT_EQ(1u, g_pTextureManager->GetCount());
    EXPECT_EQ(kAltCursor, g_pGraphicsCore->GetCursor()->GetFileName());
    FrameAt(100, 100);
    EXPECT_TRUE(CursorAt(100, 100, 0, 255, 255));

    g_pGraphicsCore->SetCursorImages(kCursor, kAltCursor);
    EXPECT_EQ(2u, g_pTextureManager->GetCount());
    g_pGraphicsCore->UseAltCursor(true);
    g_pGraphicsCore->SetAltCursorImage(kCursor);
    EXPECT_EQ(2u, g_pTextureManager->GetCount());
    // The selected alternate stays selected through its reload.
    EXPECT_EQ(g_pGraphicsCore->GetAltCursor(), g_pGraphicsCore->GetCurrentCursor());
    FrameAt(100, 100);
    EXPECT_TRUE(CursorAt(100, 100, 255, 0, 255));
}

TEST_F(CursorTest, AHiddenSystemCursorStaysHiddenAndACursorThatFailsDrawsNothing) {
    g_pGraphicsCore->ShowCursor(false);
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    g_pGraphicsCore->SetCursorImage("tests/data/sprites/no_such_cursor.png");
    EXPECT_EQ(SDL_DISABLE, SDL_ShowCursor(SDL_QUERY));
    FrameAt(200, 150);
    EXPECT_TRUE(PixelNear(203, 152, 0, 0, 0, 0));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    g_pGraphicsCore->ShowCursor(true);
    EXPECT_EQ(SDL_ENABLE, SDL_ShowCursor(SDL_QUERY));
}
