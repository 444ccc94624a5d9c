// The graphics core against real SDL and Mesa: 2D and 3D set-up, the 2D switch, caption and
// wireframe, the screenshot, and the video failure path.
#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "camera/CCamera.h"
#include "camera/CCameraManager.h"
#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "math/CPosition2D.h"
#include "platform/CPlatform.h"
#include "render/CQuadBatch.h"
#include "render/CRenderState.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;

namespace {

GLint GetInt(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

void DrawUntexturedQuad(float x0, float y0, float x1, float y1) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

// The matrix OpenGL holds now, column by column.
std::vector<float> Matrix(GLenum which) {
    std::vector<float> m(16);
    glGetFloatv(which, m.data());
    return m;
}

std::vector<float> Translation(float x, float y) {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, 0, 1};
}

}  // namespace

using GraphicsCore2D = EngineTest;

TEST_F(GraphicsCore2D, VideoModeLeavesAPixelOrthographicProjectionWithTheDrawingState) {
    EXPECT_EQ(GL_ALWAYS, GetInt(GL_DEPTH_FUNC));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(GL_SRC_ALPHA, GetInt(GL_BLEND_SRC));
    EXPECT_EQ(GL_ONE_MINUS_SRC_ALPHA, GetInt(GL_BLEND_DST));
    EXPECT_EQ(GL_MODELVIEW, GetInt(GL_MATRIX_MODE));
    // No viewport is set in 2D mode: the new context's default covers the window.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(1024, viewport[2]);
    EXPECT_EQ(768, viewport[3]);
    EXPECT_FALSE(g_pGraphicsCore->Is3D());

    // Before any frame: one unit per pixel, origin top left, y downwards.
    glLoadIdentity();
    DrawUntexturedQuad(100.0f, 50.0f, 200.0f, 150.0f);
    EXPECT_TRUE(PixelNear(100, 50, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(199, 149, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(99, 50, 0, 0, 0, 0));
    EXPECT_TRUE(PixelNear(100, 49, 0, 0, 0, 0));
    EXPECT_TRUE(PixelNear(200, 100, 0, 0, 0, 0));
    EXPECT_TRUE(PixelNear(150, 150, 0, 0, 0, 0));
}

TEST_F(GraphicsCore2D, EndLeavesLessOrEqualAndTheFrameStepSwitchesBackTo2D) {
    g_pGraphicsCore->End2D();
    EXPECT_EQ(GL_LEQUAL, GetInt(GL_DEPTH_FUNC));
    // The frame step's Begin2D restores the pixel projection and the depth function.
    engine_->Update();
    EXPECT_EQ(GL_ALWAYS, GetInt(GL_DEPTH_FUNC));
    DrawUntexturedQuad(10.0f, 10.0f, 20.0f, 20.0f);
    EXPECT_TRUE(PixelNear(15, 15, 255, 0, 0, 0));
    EXPECT_TRUE(PixelNear(25, 15, 0, 0, 0, 0));
}

TEST_F(GraphicsCore2D, CaptionIsStoredAndGivenToTheWindow) {
    EXPECT_EQ("Orvane Engine", g_pGraphicsCore->GetCaption());
    g_pGraphicsCore->SetCaption("A caption");
    EXPECT_EQ("A caption", g_pGraphicsCore->GetCaption());
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(nullptr, title);
    EXPECT_STREQ("A caption", title);
    EXPECT_STREQ("", icon);
}

TEST_F(GraphicsCore2D, WireframeSwitchesThePolygonMode) {
    g_pGraphicsCore->SetWireframe(true);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(GL_LINE, modes[0]);
    EXPECT_TRUE(g_pGraphicsCore->IsWireframe());
    g_pGraphicsCore->SetWireframe(false);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(GL_FILL, modes[0]);
}

TEST_F(GraphicsCore2D, VideoFlagsAskForAnOpenGLWindowAndExtensionsAreCopied) {
    Uint32 flags = g_pGraphicsCore->GetVideoFlags();
    EXPECT_TRUE(flags & SDL_OPENGL);
    EXPECT_TRUE(flags & SDL_HWPALETTE);
    EXPECT_FALSE(flags & SDL_FULLSCREEN);
    g_pGraphicsCore->ReadExtensions();
    EXPECT_NE(std::string::npos, g_pGraphicsCore->GetExtensions().find("GL_ARB_shader_objects"));
    // ReadExtensions leaves the scissor test off.
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    // 2D drawing never tests depth, so a 2D window has no depth buffer to fill.
    int depth = -1;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    EXPECT_EQ(0, depth);
    // SDL runs on the platform's own driver, which on Linux it was told for its start only: no
    // driver is named for later starts.
    char driver[32] = "";
    EXPECT_STREQ(orvane_test::kVideoDriver, SDL_VideoDriverName(driver, sizeof(driver)));
    EXPECT_EQ("", CPlatform::VideoDriverNamed());
}

// The sprite is still queued when the picture is read: the screenshot must send it first.
TEST_F(GraphicsCore2D, ScreenshotSendsTheQueuedQuadsAndWritesTheBackBufferAsABmp) {
    ClearFrame(0.0f, 0.0f, 1.0f);
    CSprite quadrants("tests/data/sprites/quadrants_rgb.png");  // 300 x 200, four colours
    g_pGraphicsCore->Begin2D();  // quads wait for the end of 2D drawing from here
    quadrants.Draw(100.0f, 50.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    const std::vector<Uint8> pixels = g_pGraphicsCore->ReadPixels();
    g_pGraphicsCore->End2D();
    ASSERT_EQ(1024u * 768u * 4u, pixels.size());
    const std::string path = ::testing::TempDir() + "orvane_screenshot.bmp";
    ASSERT_TRUE(g_pGraphicsCore->SaveScreenshot(path));
    SDL_Surface* bmp = SDL_LoadBMP(path.c_str());
    ASSERT_NE(nullptr, bmp);
    EXPECT_TRUE(bmp->w == 1024 && bmp->h == 768);
    // The top left and bottom right quadrants (rows run top first) and the cleared background,
    // in memory and in the file.
    const int probes[3][5] = {
        {150, 100, 220, 40, 40}, {350, 200, 230, 210, 40}, {10, 10, 0, 0, 255}};
    for (const int* p : probes) {
        const Uint8* m = &pixels[(static_cast<size_t>(p[1]) * 1024 + p[0]) * 4];
        const orvane_test::Rgb f = orvane_test::SurfacePixel(bmp, p[0], p[1]);
        EXPECT_TRUE(std::abs(m[0] - p[2]) <= 4 && std::abs(m[1] - p[3]) <= 4 &&
                    std::abs(m[2] - p[4]) <= 4 && std::abs(f.r - p[2]) <= 4 &&
                    std::abs(f.g - p[3]) <= 4 && std::abs(f.b - p[4]) <= 4)
            << "(" << p[0] << ", " << p[1] << "): memory " << int(m[0]) << " " << int(m[1]) << " "
            << int(m[2]) << ", file " << f.r << " " << f.g << " " << f.b;
    }
    SDL_FreeSurface(bmp);
    std::remove(path.c_str());

    // A folder that does not exist: false, and one line naming the file and SDL's reason.
    StreamCapture capture;
    EXPECT_FALSE(g_pGraphicsCore->SaveScreenshot("/nonexistent/shot.bmp"));
    const std::string line = capture.Text();
    const std::string prefix = "Failed to save the screenshot: /nonexistent/shot.bmp, Error: ";
    EXPECT_EQ(0u, line.rfind(prefix, 0)) << line;
    EXPECT_GT(line.size(), prefix.size() + 1);
    EXPECT_EQ(line.size() - 1, line.find('\n'));
}

TEST_F(GraphicsCore2D, OverlayMultipliesTheOrthographicMatrixIntoTheModelView) {
    glLoadIdentity();
    g_pGraphicsCore->Begin2DOverlay();
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_NEAR(2.0 / 1024.0, modelview[0], 1e-7);
    EXPECT_NEAR(-2.0 / 768.0, modelview[5], 1e-7);
    g_pGraphicsCore->End2D();
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    EXPECT_FLOAT_EQ(1.0f, modelview[0]);
}

TEST_F(GraphicsCore2D, OwnCallsAmongEngineDrawsSeeTheEnginesMatricesOrTheirOwn) {
    StreamCapture quiet;
    CSprite sprite("tests/data/sprites/grey.png");
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);
    g_pCameraManager->AddCamera(new CPosition2D(30.0f, 20.0f));
    const std::vector<float> pixels = Matrix(GL_PROJECTION_MATRIX);
    // The frame step leaves the pixel projection and the camera's offset.
    engine_->Update();
    sprite.Draw(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    font->Print(0, 0, 0, "text");
    g_pGraphicsCore->FlushQuads();
    EXPECT_EQ(pixels, Matrix(GL_PROJECTION_MATRIX));
    EXPECT_EQ(Translation(30.0f, 20.0f), Matrix(GL_MODELVIEW_MATRIX));
    // Inside Begin2D an application's own model-view stays in force around prints and sprites,
    // even while their quads wait.
    g_pGraphicsCore->Begin2D();
    glLoadIdentity();
    glTranslatef(5.0f, 6.0f, 0.0f);
    font->Print(100, 100, 0, "text");
    sprite.Draw(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    font->Print(100, 200, 0, "text");
    EXPECT_EQ(Translation(5.0f, 6.0f), Matrix(GL_MODELVIEW_MATRIX));
    g_pGraphicsCore->FlushQuads();
    EXPECT_EQ(pixels, Matrix(GL_PROJECTION_MATRIX));
    EXPECT_EQ(Translation(5.0f, 6.0f), Matrix(GL_MODELVIEW_MATRIX));
    EXPECT_EQ(GL_MODELVIEW, GetInt(GL_MATRIX_MODE));
    g_pGraphicsCore->End2D();
    EXPECT_EQ(pixels, Matrix(GL_PROJECTION_MATRIX));
}

TEST_F(GraphicsCore2D, TheEnginesCopyOfTheMatricesIsOpenGLsToTheBitUntilHandedBack) {
    // The page hands the copy to its program in place of the emulation's matrices.
    const float* projection = nullptr;
    const float* modelView = nullptr;
    EXPECT_FALSE(CRenderState::KnownMatrices(&projection, &modelView));
    CRenderState::LoadIdentity();
    CRenderState::Translate(30.5f, 20.25f, 0.0f);
    CRenderState::PushMatrix();
    CRenderState::Translate(-7.125f, 0.1f, 0.0f);
    ASSERT_TRUE(CRenderState::KnownMatrices(&projection, &modelView));
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), std::vector<float>(projection, projection + 16));
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), std::vector<float>(modelView, modelView + 16));
    CRenderState::PopMatrix();
    ASSERT_TRUE(CRenderState::KnownMatrices(&projection, &modelView));
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), std::vector<float>(modelView, modelView + 16));
    // A turn is not followed, and the application's own calls may follow FlushQuads.
    CRenderState::Rotate(30.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_FALSE(CRenderState::KnownMatrices(&projection, &modelView));
    CRenderState::LoadIdentity();
    g_pGraphicsCore->FlushQuads();
    EXPECT_FALSE(CRenderState::KnownMatrices(&projection, &modelView));
}

TEST_F(GraphicsCore2D, TransparentPixelsAreSkippedOnlyWhereThatChangesNothing) {
    StreamCapture quiet;
    CSprite half("tests/data/sprites/half_alpha.png");  // (200, 100, 0) at alpha 128 throughout
    // Reading a pixel announces calls of the test's own; Begin2D reads the state again.
    auto drawAt = [&](float x, float alpha) {
        g_pGraphicsCore->Begin2D();
        half.Draw(x, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, alpha);
        CQuadBatch::Flush();
    };
    drawAt(0.0f, 1.0f);
    EXPECT_TRUE(PixelNear(30, 30, 100, 50, 0, 2));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    // Adding blends in even a pixel of alpha 0.
    g_pGraphicsCore->Begin2D();
    CRenderState::SetBlendFunc(GL_ONE, GL_ONE);
    half.Draw(100.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f);
    CQuadBatch::Flush();
    EXPECT_TRUE(PixelNear(130, 30, 200, 100, 0, 2));
    // The application's own alpha test holds for the engine's quads, and its function stays.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.6f);
    drawAt(200.0f, 1.0f);
    EXPECT_TRUE(PixelNear(230, 30, 0, 0, 0, 0));
    glDisable(GL_ALPHA_TEST);
    drawAt(300.0f, 1.0f);
    EXPECT_EQ(GL_GREATER, GetInt(GL_ALPHA_TEST_FUNC));
}

class GraphicsCore3D : public EngineTest {
protected:
    bool Mode2D() const override { return false; }
    int Width() const override { return 800; }
    int Height() const override { return 600; }
};

TEST_F(GraphicsCore3D, ProjectionIsAPerspectiveOf60DegreesFrom1To4000) {
    GLdouble actual[16];
    glGetDoublev(GL_PROJECTION_MATRIX, actual);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(60.0, 800.0 / 600.0, 1.0, 4000.0);
    GLdouble expected[16];
    glGetDoublev(GL_PROJECTION_MATRIX, expected);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected[i], actual[i], 1e-6) << "element " << i;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(800, viewport[2]);
    EXPECT_EQ(600, viewport[3]);
    EXPECT_EQ(GL_ALWAYS, GetInt(GL_DEPTH_FUNC));
    EXPECT_TRUE(g_pGraphicsCore->Is3D());
    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    EXPECT_GE(depth, 16);
}

TEST_F(GraphicsCore3D, FrameStepLeaves2DAgainIn3DMode) {
    GLdouble before[16];
    glGetDoublev(GL_PROJECTION_MATRIX, before);
    GLint depthBefore = GetInt(GL_PROJECTION_STACK_DEPTH);
    engine_->Update();
    EXPECT_EQ(depthBefore, GetInt(GL_PROJECTION_STACK_DEPTH));
    GLdouble after[16];
    glGetDoublev(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(before[i], after[i], 1e-9) << "element " << i;
    }
    EXPECT_EQ(GL_LEQUAL, GetInt(GL_DEPTH_FUNC));
}

TEST_F(GraphicsCore3D, OwnCallsAfterPrintsInASceneSeeTheScenesMatrices) {
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);
    engine_->Update();
    glLoadIdentity();
    g_pCamera->Look();
    const std::vector<float> projection = Matrix(GL_PROJECTION_MATRIX);
    const std::vector<float> view = Matrix(GL_MODELVIEW_MATRIX);
    font->Print(10, 10, 0, "in the scene");
    g_pGraphicsCore->Begin2D();
    font->Print(10, 40, 0, "in 2D");
    g_pGraphicsCore->End2D();
    EXPECT_EQ(projection, Matrix(GL_PROJECTION_MATRIX));
    EXPECT_EQ(view, Matrix(GL_MODELVIEW_MATRIX));
    EXPECT_EQ(GL_MODELVIEW, GetInt(GL_MATRIX_MODE));
}

TEST_F(GraphicsCore3D, HeightZeroGivesAViewportOfHeightOne) {
    g_pGraphicsCore->Setup3D(800, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(800, viewport[2]);
    EXPECT_EQ(1, viewport[3]);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    // gluPerspective puts f / aspect at [0] and f at [5]: the aspect is 800 / 1.
    EXPECT_NEAR(800.0, projection[5] / projection[0], 800.0 * 1e-6);
}

TEST(GraphicsCoreVideo, HeightZeroIsStoredWhileTheViewportUsesOne) {
    StreamCapture capture;
    CEngine engine;
    // A window of height 0 cannot exist, so SDL may refuse the mode; the stored height and
    // the perspective set-up are what matter here.
    try {
        g_pGraphicsCore->InitVideo(640, 0, 16, false, false);
    } catch (const std::string&) {
    }
    EXPECT_EQ(0, g_pGraphicsCore->GetHeight());
    EXPECT_TRUE(g_pGraphicsCore->Is3D());
}

TEST(GraphicsCoreVideo, DriverStringsAreEmptyAndNoScreenshotIsTakenWithoutAContext) {
    StreamCapture capture;
    CEngine engine;
    EXPECT_STREQ("", g_pGraphicsCore->GetVendor());
    EXPECT_STREQ("", g_pGraphicsCore->GetRenderer());
    EXPECT_STREQ("", g_pGraphicsCore->GetVersion());
    capture.Clear();
    EXPECT_TRUE(g_pGraphicsCore->ReadPixels().empty());
    EXPECT_FALSE(g_pGraphicsCore->SaveScreenshot("never.bmp"));
    EXPECT_EQ("Failed to save the screenshot: never.bmp, Error: No window is open\n",
              capture.Text());
}

TEST(GraphicsCoreVideo, AnUnavailableVideoDriverThrowsTheSdlMessage) {
    orvane_test::SetEnv("SDL_VIDEODRIVER", "nonexistent");
    StreamCapture capture;
    CEngine engine;
    try {
        engine.SetVideoMode(640, 480, 16, false, true);
        FAIL() << "SetVideoMode did not throw";
    } catch (const std::string& message) {
        std::string prefix = "Error: SDL Could not be initialized: ";
        ASSERT_EQ(prefix, message.substr(0, prefix.size()));
        EXPECT_GT(message.size(), prefix.size());
    }
    orvane_test::SetEnv("SDL_VIDEODRIVER", "");
}
