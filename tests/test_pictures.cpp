// Picture regression: scenes drawn through the public API (sprites in every draw operation,
// animations, text in every set and print operation, GUI windows, the sprite cursor, 2D in a 3D
// window, a program's own OpenGL calls) and the demo and examples at fixed frames, compared
// with the reference pictures in tests/data/pictures/ within 2 levels per channel.
//
// The references are what the renderer drew when they were made. To make them again, run the
// cases with ORVANE_UPDATE_PICTURES=1 in the environment (see ReferencePicture.h), e.g. from
// build/: ORVANE_UPDATE_PICTURES=1 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24
// -noreset" ctest -R ^Picture
// and look at the pictures before committing them. Run the cases as CTest does, each in a
// process of its own: the frame-rate counter keeps its times from one engine to the next.
#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <string>

#include "demo/Camera2DDemo.h"
#include "examples/audio_demo/AudioDemo.h"
#include "examples/gui_demo/GuiDemo.h"
#include "examples/scene3d_demo/Scene3DDemo.h"
#include "graphics/CGraphicsCore.h"
#include "gui/CButton.h"
#include "gui/CStaticText.h"
#include "gui/CToggleButton.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "support/ReferencePicture.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"
#include "utils/CUtils.h"

using orvane_test::DrainEvents;
using orvane_test::g_testTicks;
using orvane_test::PixelRect;
using orvane_test::ReferencePicture;
using orvane_test::StreamCapture;
using orvane_test::WarpMouse;

namespace {

const char* const kLogo = "Data/Logo/orvlogo.png";  // 256 x 64, with an alpha channel
const char* const kMap = "Data/MAP1.png";           // 1024 x 768, opaque
const int kFrameMs = 20;

// A 2D window of the size each scene needs, on a driven clock; the loading lines are dropped.
class PictureTest : public orvane_test::DrivenClockEngineTest {
protected:
    int Width() const override { return 512; }
    int Height() const override { return 384; }
    ::testing::AssertionResult Matches(const std::string& name) const {
        return ReferencePicture({0, 0, Width(), Height()}).Matches(name);
    }
    StreamCapture quiet_;
};

class PictureSmallTest : public PictureTest {
protected:
    int Width() const override { return 320; }
    int Height() const override { return 240; }
};

class Picture3DTest : public PictureSmallTest {
protected:
    bool Mode2D() const override { return false; }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Sprites

TEST_F(PictureTest, SpritesTurnedScaledAndTinted) {
    CSprite map(kMap);
    CSprite logo(kLogo);
    ClearFrame(0.2f, 0.3f, 0.35f);
    map.Draw(0.0f, 0.0f, 0.15f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(10.5f, 200.25f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(300.0f, 10.0f, 0.75f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(330.0f, 320.0f, 1.3f, 0.0f, 0.5f, 1.0f, 0.3f, 1.0f);
    logo.Draw(270.0f, 70.0f, 1.0f, 0.0f, 1.0f, 0.2f, 0.2f, 0.6f);
    // A turn is about minus half the picture's size, before the move: these land with their
    // first corner near (40, 225), (505, 140), (300, 215) and (250, 380).
    logo.Draw(146.0f, 106.5f, 0.5f, 30.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(44.0f, -665.0f, 1.0f, 90.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(190.0f, 346.5f, 0.8f, -20.0f, 0.8f, 0.8f, 1.0f, 0.8f);
    logo.Draw(-506.0f, -444.0f, 0.6f, 180.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Matches("sprites_turned_scaled_tinted"));
}

TEST_F(PictureTest, SpriteRegionsAlphaAndOwnPositions) {
    CSprite map(kMap);
    CSprite logo(kLogo, 0.4f);
    ClearFrame(0.1f, 0.1f, 0.1f);
    map.DrawRegion(0.0f, 0.0f, 0.75f, 0.6f, 0.25f, 0.1f, 0.3f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    map.DrawRegion(300.0f, 10.0f, 1.0f, 1.0f, 0.88f, 0.88f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.DrawRegion(10.0f, 220.0f, 1.0f, 0.5f, 0.0f, 0.0f, 1.5f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.DrawRegion(250.0f, 200.0f, 0.8f, 0.9f, 0.3f, 0.4f, 2.0f, 15.0f, 0.3f, 1.0f, 1.0f, 1.0f);
    logo.DrawWithAlpha(20.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    logo.DrawWithAlpha(120.0f, 300.0f, 1.0f, 10.0f, 1.0f, 0.5f, 1.0f);
    logo.SetAlpha(0.75f);
    logo.DrawWithAlpha(240.0f, 130.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    logo.position.x = 260.5f;
    logo.position.y = 320.5f;
    logo.DrawAtPosition(0.9f, 0.0f, 1.0f, 1.0f, 0.5f, 1.0f);
    // A picture squeezed to another size, as GUI windows do with their backgrounds.
    map.SetWidth(100.0f);
    map.SetHeight(60.0f);
    map.Draw(400.0f, 80.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Matches("sprites_regions_alpha"));
}

TEST_F(PictureSmallTest, SpritesAfterATextureWasBoundToAnotherUnit) {
    CSprite map(kMap);
    CSprite logo(kLogo);
    ClearFrame(0.3f, 0.2f, 0.1f);
    map.BindToUnit(1);
    logo.Draw(10.0f, 10.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    map.BindToUnit(0);
    logo.Draw(10.0f, 80.0f, 0.75f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    map.BindToUnit(1);
    g_pFontManager->GetFont(1)->Print(10, 140, 0, "Unit 1 holds the map");
    logo.DrawRegion(10.0f, 170.0f, 1.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Matches("sprites_bound_to_unit"));
}

TEST_F(PictureSmallTest, AnimatedSprites) {
    // Flat 8 x 8 frames, ten of them, and the GUI's three button frames.
    CAnimatedSprite looping("tests/data/anim/anim", 10, 10.0f, 10.0f);
    CAnimatedSprite once("tests/data/anim/anim", 10, 10.0f, 40.0f);
    CAnimatedSprite button("Data/GUI/button", 3, 10.0f, 120.0f);
    button.SetFps(5);
    ClearFrame(0.1f, 0.1f, 0.2f);
    for (int i = 0; i < 24; ++i) {
        g_testTicks += 30;
        float x = 10.0f + 12.0f * i;
        looping.PlayAt(x, 10.0f);
        once.PlayOnceAt(x, 40.0f);
        looping.DrawFrameAt(static_cast<unsigned int>(i % 12), x, 70.0f);
    }
    for (int i = 0; i < 4; ++i) {
        g_testTicks += 250;
        button.PlayAt(10.0f + 70.0f * i, 120.0f);
        button.DrawFrame(static_cast<unsigned int>(i));
        button.SetY(button.GetY() + 10.0f);
    }
    looping.Play();
    once.PlayOnce();
    EXPECT_TRUE(Matches("animated_sprites"));
}

// ---------------------------------------------------------------------------------------------
// Text

TEST_F(PictureTest, TextInEverySetAndPrintOperation) {
    CSprite logo(kLogo);
    CFont* font = g_pFontManager->GetFont(1);
    ClearFrame(0.15f, 0.15f, 0.2f);
    logo.Draw(0.0f, 250.0f, 2.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    const char* sample = "Sphinx of black quartz 0123 %s!";
    for (int set = 0; set < 4; ++set) {
        font->Print(4, 4 + 22 * set, set, sample, "judge");
    }
    font->PrintColored(4, 92, 0, 1.0f, 0.5f, 0.2f, "PrintColored (1, 0.5, 0.2) %d%%", 42);
    font->PrintColored(4, 112, 3, 0.3f, 1.0f, 0.6f, "Bold and coloured");
    font->PrintAt(4.5f, 132.5f, 0, "PrintAt half a pixel in");
    font->PrintAt(250.0f, 132.0f, 2, "PrintAt bold");
    font->PrintScaled(4, 152, 0, 0.9f, 0.9f, 0.3f, 1.0f, 2.0f, 1.5f, "Scaled 2 x 1.5");
    font->PrintScaled(300, 152, 2, 1.0f, 1.0f, 1.0f, 0.5f, 0.75f, 0.75f, "Small, half alpha");
    font->SetScale(1.25f, 1.0f);
    font->SetColor(0.6f, 0.8f, 1.0f, 0.8f);
    font->Print(4, 190, 1, "Wide and tinted in set 1");
    font->PrintAt(4.0f, 210.0f, 3, "Set 3 through PrintAt");
    font->SetScale(1.0f, 1.0f);
    font->SetColor(1.0f, 1.0f, 1.0f, 1.0f);
    font->Print(10, 262, 0, "Over a picture, in set 0");
    font->Print(10, 282, 2, "Over a picture, bold");
    font->Print(440, 370, 0, "Cut at the edge");
    EXPECT_TRUE(Matches("text_sets_and_prints"));
}

// ---------------------------------------------------------------------------------------------
// GUI and the cursor

class PictureGuiTest : public PictureTest {
protected:
    int Width() const override { return 640; }
    int Height() const override { return 480; }
    void SetUp() override {
        PictureTest::SetUp();
        g_pGraphicsCore->SetCursorImages("Data/MousePointer.png", "Data/GUI/AltPointer.png");
        // Cut to 250 x 200, half transparent, a tooltip on its title bar.
        CWindow* panel =
            new CWindow(40, 80, 290, 280, "Data/GUI/window.png", false, 0.85f, 15, 1, true);
        panel->SetTooltip("Drag me", 300.0f, 20.0f);
        panel->AddText(new CStaticText("Panel", 6.0f, 0.0f, 0.1f, 0.1f, 0.1f, 1.0f));
        CButton* button = panel->CreateButton("Data/GUI/button", 3, 20.0f, 40.0f, 1);
        button->SetTooltip("Button one", 300.0f, 260.0f);
        // Both pulled back inside on the right and at the bottom.
        panel->CreateButton("Data/GUI/button", 3, 230.0f, 90.0f, 2);
        panel->CreateToggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 190.0f, 3);
        CStaticText* label = new CStaticText("Scaled, blue", 100.0f, 48.0f, 0.3f, 1.0f, 0.5f, 1.0f);
        label->SetScale(1.5f, 1.0f);
        panel->AddText(label);
        CStaticText* bold = new CStaticText("Bold label %", 20.0f, 140.0f);
        bold->SetFontSet(2);
        panel->AddText(bold);
        panel->CreateImage("Data/Logo/orvlogo.png", 120, 120, 0.5f);
        // Sticking out of the screen at the bottom right, with a stretched background.
        CWindow* corner =
            new CWindow(480, 380, 760, 560, "Data/GUI/window_wide.png", true, 1.0f, 15, 2, false);
        corner->AddText(new CStaticText("Off the edge", 12.0f, 20.0f));
        corner->CreateButton("Data/GUI/button", 3, 100.0f, 60.0f, 4);
        // And at the top left.
        CWindow* negative =
            new CWindow(-60, -20, 200, 60, "Data/GUI/window_wide.png", false, 1.0f, 15, 3, false);
        negative->AddText(new CStaticText("Above the top", 70.0f, 25.0f));
        negative->CreateToggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 220.0f, 10.0f, 5);
        for (CWindow* window : {panel, corner, negative}) {
            g_pWindowManager->AddWindow(window);
            window->SetVisible(true);
        }
    }
    // Frames with the pointer at (x, y); the hover animations run on the driven clock.
    void Frames(int x, int y, int count) {
        for (int i = 0; i < count; ++i) {
            g_testTicks += kFrameMs;
            WarpMouse(x, y);
            ClearFrame(0.12f, 0.14f, 0.16f);
            engine_->Update();
        }
    }
};

TEST_F(PictureGuiTest, WindowsWithButtonsTogglesAndLabels) {
    Frames(75, 135, 6);
    EXPECT_TRUE(Matches("gui_hovering_a_button"));
    Frames(200, 86, 2);
    EXPECT_TRUE(Matches("gui_over_the_title_bar"));
}

TEST_F(PictureSmallTest, TheSpriteCursorAtTheEdges) {
    CSprite map(kMap);
    g_pGraphicsCore->SetCursorImages("Data/MousePointer.png", "Data/GUI/AltPointer.png");
    const int spots[][2] = {{100, 80}, {306, 228}};
    for (bool alt : {false, true}) {
        for (const auto& spot : spots) {
            WarpMouse(spot[0], spot[1]);
            ClearFrame();
            map.Draw(0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
            g_pGraphicsCore->UseAltCursor(alt);
            engine_->Update();
            // 40 x 40 round the pointer, cut at the window's edges.
            int x = spot[0] - 8;
            int y = spot[1] - 8;
            std::string name = std::string("cursor_") + (alt ? "alt_" : "") +
                               (spot[0] > 200 ? "corner" : "middle");
            EXPECT_TRUE(
                ReferencePicture({x, y, std::min(40, Width() - x), std::min(40, Height() - y)})
                    .Matches(name));
        }
    }
}

// ---------------------------------------------------------------------------------------------
// 2D inside 3D, and a program's own OpenGL calls

TEST_F(Picture3DTest, SpritesBetweenBegin2DAndEnd2DInA3DWindow) {
    CSprite logo(kLogo);
    auto look = [] {
        glLoadIdentity();
        gluLookAt(4.0, 5.0, -8.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    };
    ClearFrame(0.05f, 0.07f, 0.12f);
    glLoadIdentity();
    engine_->Update();
    look();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    g_pUtils->DrawGrid(0.0f, 0.0f, 0.0f);
    g_pUtils->DrawCube(0.0f, 1.0f, 0.0f);

    g_pGraphicsCore->Begin2D();
    glLoadIdentity();
    logo.Draw(20.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    logo.Draw(150.0f, 120.0f, 0.6f, 25.0f, 1.0f, 0.7f, 0.7f, 0.8f);
    logo.DrawRegion(40.0f, 170.0f, 1.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.0f, 0.5f, 1.0f, 0.5f, 1.0f);
    g_pGraphicsCore->End2D();

    // 3D again over the sprites: what the 2D pass left in the depth buffer decides what shows.
    look();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    g_pUtils->DrawCube(-1.0f, 3.0f, -2.0f);
    g_pUtils->DrawAxes();
    g_pFontManager->GetFont(1)->Print(10, 215, 0, "Text after the 3D scene");
    EXPECT_TRUE(Matches("sprites_in_3d_window"));
}

TEST_F(PictureSmallTest, AProgramsOwnOpenGLCallsBetweenEngineDraws) {
    CSprite logo(kLogo);
    CSprite map(kMap);
    ClearFrame(0.2f, 0.2f, 0.25f);
    map.Draw(0.0f, 0.0f, 0.12f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);

    // Untextured immediate-mode geometry right after a sprite, once the run of engine quads
    // has ended (as the documentation asks before a program's own OpenGL calls).
    g_pGraphicsCore->FlushQuads();
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.3f, 0.1f, 0.7f);
    glBegin(GL_TRIANGLES);
    glVertex2f(150.0f, 10.0f);
    glVertex2f(310.0f, 10.0f);
    glVertex2f(230.0f, 120.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
    logo.Draw(120.0f, 40.0f, 0.75f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);

    // The fixed-function pipeline with the program's own texture binding and colour.
    g_pGraphicsCore->FlushQuads();
    glBindTexture(GL_TEXTURE_2D, map.GetTexture());
    glColor4f(0.4f, 1.0f, 0.4f, 0.8f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(10.0f, 160.0f);
    glTexCoord2f(0.5f, 0.0f);
    glVertex2f(110.0f, 160.0f);
    glTexCoord2f(0.5f, 0.5f);
    glVertex2f(110.0f, 230.0f);
    glTexCoord2f(0.0f, 0.5f);
    glVertex2f(10.0f, 230.0f);
    glEnd();

    // Client-side vertex arrays, which a buffer left bound would misread.
    const GLfloat corners[] = {130.0f, 160.0f, 200.0f, 160.0f, 200.0f, 230.0f, 130.0f, 230.0f};
    const GLubyte colours[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 0, 255};
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours);
    glDrawArrays(GL_QUADS, 0, 4);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The program's own matrix under a sprite and text.
    glPushMatrix();
    glTranslatef(220.0f, 150.0f, 0.0f);
    glRotatef(-15.0f, 0.0f, 0.0f, 1.0f);
    logo.Draw(0.0f, 0.0f, 0.35f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    g_pFontManager->GetFont(1)->Print(0, 30, 0, "Own matrix");
    glPopMatrix();
    EXPECT_TRUE(Matches("own_opengl_calls"));
}

// ---------------------------------------------------------------------------------------------
// The demo and the examples, driven frame by frame in this process. They swap at the end of
// their frame; the pictures are read from the back buffer after that, which Mesa's software
// driver leaves holding the frame just shown (its front buffer reads back black under Xvfb).

namespace {

class PictureAppTest : public orvane_test::AppTest {
protected:
    // Frames with an empty queue, the clock moving on by a steady step each.
    template <class App>
    void Frames(App* app, int count) {
        StreamCapture quiet;
        for (int i = 0; i < count; ++i) {
            g_testTicks += kFrameMs;
            DrainEvents();
            app->RenderFrame();
        }
    }
    static ::testing::AssertionResult Shows(const std::string& name, PixelRect area) {
        return ReferencePicture(area).Matches(name);
    }
};

}  // namespace

TEST_F(PictureAppTest, CameraDemoAtFixedFrames) {
    WarpMouse(500, 300);
    Camera2DDemo* demo = Start<Camera2DDemo>();
    // The drift moves the maps by half a pixel a frame: frames 1 and 2 show both phases.
    int frame = 0;
    for (int until : {1, 2, 100}) {
        for (; frame < until; ++frame) {
            g_testTicks += kFrameMs;
            DrainEvents();
            ASSERT_TRUE(demo->RunFrame());
        }
        std::string prefix = "demo_frame" + std::to_string(frame);
        EXPECT_TRUE(Shows(prefix + "_seam", {700, 200, 256, 128}));
        if (frame != 2) {
            EXPECT_TRUE(Shows(prefix + "_top", {0, 0, 1024, 64}));
            EXPECT_TRUE(Shows(prefix + "_bottom", {0, 696, 1024, 72}));
        }
    }
}

TEST_F(PictureAppTest, GuiExampleAtFixedFrames) {
    GuiDemo* demo = Start<GuiDemo>();
    // The pointer moves only once the window is open; until then it is wherever it was.
    WarpMouse(512, 384);
    Frames(demo, 3);
    EXPECT_TRUE(Shows("gui_demo_start", {0, 0, 1024, 768}));
    // Hovering the first button plays its frames and prints its tooltip.
    WarpMouse(150, 185);
    Frames(demo, 8);
    EXPECT_TRUE(Shows("gui_demo_hover", {0, 0, 500, 430}));
}

TEST_F(PictureAppTest, Scene3DExampleAtFixedFramesOutsideTheTurningTorus) {
    Scene3DDemo* demo = Start<Scene3DDemo>();
    Frames(demo, 30);
    // The torus turns with SDL's own clock: the box round its bounding sphere is left out.
    EXPECT_TRUE(ReferencePicture({0, 0, 1024, 768})
                    .Ignore({324, 275, 174, 172})
                    .Matches("scene3d_demo_frame30"));
}

TEST_F(PictureAppTest, AudioExampleAtFixedFrames) {
    AudioDemo* demo = Start<AudioDemo>();
    Frames(demo, 60);
    EXPECT_TRUE(Shows("audio_demo_frame60", {0, 0, 720, 440}));
}
