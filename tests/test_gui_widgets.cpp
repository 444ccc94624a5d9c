// Push buttons, toggle buttons and labels: hover boxes, clicks from pushed SDL events, the
// hover animation on a driven clock, tooltips and label printing, checked by reading pixels.
#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/CEngine.h"
#include "gui/CButton.h"
#include "gui/CStaticText.h"
#include "gui/CToggleButton.h"
#include "input/CEventManager.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"
#include "utils/CClock.h"

using orvane_test::PixelNear;
using orvane_test::Rgba;

namespace {

Uint32& g_now = orvane_test::g_testTicks;

// Face colours of the generated pictures (tools/make_gui_images.py).
const Rgba kButtonFaces[3] = {{40, 80, 200, 255}, {60, 140, 230, 255}, {230, 160, 40, 255}};
const Rgba kToggleOff[2] = {{120, 120, 120, 255}, {160, 160, 160, 255}};
const Rgba kToggleOn[2] = {{40, 180, 60, 255}, {90, 230, 110, 255}};

// A rectangle of the back buffer, read in one go; y counts downwards.
struct Block {
    int x, y, w, h;
    std::vector<unsigned char> rgba;
    Rgba At(int px, int py) const {
        const unsigned char* p = &rgba[4 * ((h - 1 - (py - y)) * w + (px - x))];
        return Rgba{p[0], p[1], p[2], p[3]};
    }
};

Block ReadBlock(int x, int y, int w, int h) {
    Block block{x, y, w, h, std::vector<unsigned char>(4 * w * h)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, SDL_GetVideoSurface()->h - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE,
                 block.rgba.data());
    return block;
}

// Bounding box and brightest channels of everything not black in a block.
struct Ink {
    int count = 0;
    int minX = 1 << 30, minY = 1 << 30, maxX = -1, maxY = -1;
    int maxR = 0, maxG = 0, maxB = 0;
};

Ink FindInk(const Block& block) {
    Ink ink;
    for (int py = block.y; py < block.y + block.h; ++py) {
        for (int px = block.x; px < block.x + block.w; ++px) {
            Rgba p = block.At(px, py);
            if (p.r + p.g + p.b < 24) {
                continue;
            }
            ++ink.count;
            ink.minX = std::min(ink.minX, px);
            ink.maxX = std::max(ink.maxX, px);
            ink.minY = std::min(ink.minY, py);
            ink.maxY = std::max(ink.maxY, py);
            ink.maxR = std::max(ink.maxR, p.r);
            ink.maxG = std::max(ink.maxG, p.g);
            ink.maxB = std::max(ink.maxB, p.b);
        }
    }
    return ink;
}

::testing::AssertionResult Shows(int x, int y, const Rgba& c) {
    return PixelNear(x, y, c.r, c.g, c.b);
}

class WidgetTest : public orvane_test::DrivenClockEngineTest {
protected:
    // A frame as the engine's frame step begins it: the pointer at (x, y), one poll of the
    // queue, a cleared picture. Time moves on by 100 ms, more than one animation interval.
    void BeginFrame(int x, int y) {
        orvane_test::WarpMouse(x, y);
        Poll();
    }
    // The same with a mouse-button event queued at the pointer.
    void BeginFrameWithClick(int x, int y, Uint8 button, bool down) {
        orvane_test::WarpMouse(x, y);
        orvane_test::PushMouseButton(button, down, x, y);
        Poll();
        ASSERT_TRUE(g_pEventManager->HasEvent());
        ASSERT_EQ(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, g_pEventManager->GetEvent().type);
    }
    void Poll() {
        g_now += 100;
        g_pEventManager->PollEvent();
        ClearFrame();
    }
};

// ---------------------------------------------------------------------------------------------
// Push button

TEST_F(WidgetTest, ButtonHoverBoxIncludesBothEdges) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    ASSERT_EQ(64.0f, button.GetWidth());
    ASSERT_EQ(32.0f, button.GetHeight());
    const int inside[][2] = {{120, 80}, {184, 112}, {184, 80}, {120, 112}, {150, 95}};
    for (const auto& p : inside) {
        BeginFrame(p[0], p[1]);
        EXPECT_TRUE(button.HitTest(100.0f, 50.0f)) << p[0] << ", " << p[1];
        button.Draw(100.0f, 50.0f);
        EXPECT_TRUE(button.IsHovered());
    }
    const int outside[][2] = {{185, 80}, {119, 80}, {120, 79}, {120, 113}};
    for (const auto& p : outside) {
        BeginFrame(p[0], p[1]);
        EXPECT_FALSE(button.HitTest(100.0f, 50.0f)) << p[0] << ", " << p[1];
        button.Draw(100.0f, 50.0f);
        EXPECT_FALSE(button.IsHovered());
    }
    // Drawn at rest with its first frame where the window's origin puts it.
    EXPECT_TRUE(Shows(130, 90, kButtonFaces[0]));
    EXPECT_TRUE(PixelNear(190, 90, 0, 0, 0));

    // DrawAt places the box where the image is drawn.
    BeginFrame(300, 200);
    button.DrawAt(250.0f, 180.0f);
    EXPECT_TRUE(button.IsHovered());
    EXPECT_TRUE(Shows(260, 190, kButtonFaces[0]));
}

TEST_F(WidgetTest, ButtonReportsOnlyALeftButtonDownInside) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(7, g_pEventManager->GetClickedId());

    // The next poll forgets it, and no other event reports it.
    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, false);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    BeginFrameWithClick(150, 90, SDL_BUTTON_RIGHT, true);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    BeginFrameWithClick(185, 80, SDL_BUTTON_LEFT, true);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
}

TEST_F(WidgetTest, HoveringPlaysTheFramesOnceAndLeavingRewinds) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    const int expected[] = {0, 1, 2, 2};
    for (int frame : expected) {
        BeginFrame(150, 90);
        button.Draw(100.0f, 50.0f);
        EXPECT_TRUE(Shows(125, 85, kButtonFaces[frame])) << "frame index " << frame;
    }
    BeginFrame(300, 300);
    button.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kButtonFaces[0]));
    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kButtonFaces[0])) << "the next hover starts from the first frame";
}

TEST_F(WidgetTest, DisabledButtonAnimatesButReportsNothing) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    button.SetEnabled(false);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    EXPECT_TRUE(button.IsHovered());
    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kButtonFaces[1]));
}

TEST_F(WidgetTest, InvisibleButtonDoesNothing) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    button.SetVisible(false);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    button.Draw(100.0f, 50.0f);
    button.DrawAt(120.0f, 80.0f);
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    EXPECT_FALSE(button.IsHovered());
    EXPECT_TRUE(PixelNear(125, 85, 0, 0, 0));
}

TEST_F(WidgetTest, SetSizeResizesEveryFrameAndTheHoverBox) {
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    button.SetSize(100, 40);
    EXPECT_EQ(100.0f, button.GetWidth());
    EXPECT_EQ(40.0f, button.GetHeight());
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(nullptr, button.GetFrame(i));
        EXPECT_EQ(100.0f, button.GetFrame(i)->GetWidth());
        EXPECT_EQ(40.0f, button.GetFrame(i)->GetHeight());
    }
    EXPECT_EQ(nullptr, button.GetFrame(3));
    EXPECT_EQ(nullptr, button.GetFrame(-1));
    BeginFrameWithClick(220, 120, SDL_BUTTON_LEFT, true);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(7, g_pEventManager->GetClickedId());
    EXPECT_TRUE(Shows(210, 115, kButtonFaces[0]));
    BeginFrame(221, 120);
    EXPECT_FALSE(button.HitTest(100.0f, 50.0f));
}

TEST_F(WidgetTest, OverlappingButtonsBothReportAndTheLastDrawnWins) {
    CButton first("Data/GUI/button", 3, 0.0f, 0.0f, 1);
    CButton second("Data/GUI/button", 3, 30.0f, 10.0f, 2);
    BeginFrameWithClick(140, 70, SDL_BUTTON_LEFT, true);
    first.Draw(100.0f, 50.0f);
    EXPECT_EQ(1, g_pEventManager->GetClickedId());
    second.Draw(100.0f, 50.0f);
    EXPECT_EQ(2, g_pEventManager->GetClickedId());
    EXPECT_TRUE(first.IsHovered());
    EXPECT_TRUE(second.IsHovered());
}

TEST_F(WidgetTest, ButtonsWithoutFramesDrawNothingAndMeasureZero) {
    CButton empty;
    CButton noFrames("Data/GUI/button", 0, 120.0f, 80.0f, 3);
    CButton negative("Data/GUI/button", -2, 120.0f, 80.0f, 4);
    BeginFrameWithClick(125, 85, SDL_BUTTON_LEFT, true);
    for (CButton* button : {&empty, &noFrames, &negative}) {
        EXPECT_EQ(0.0f, button->GetWidth());
        EXPECT_EQ(0.0f, button->GetHeight());
        EXPECT_EQ(nullptr, button->GetFrame(0));
        EXPECT_FALSE(button->HitTest(0.0f, 0.0f));
        button->Draw();
        button->Draw(5.0f, 5.0f);
        button->DrawAt(120.0f, 80.0f);
        button->SetSize(10, 10);
        button->SetFps(5);
        EXPECT_FALSE(button->IsHovered());
    }
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    EXPECT_TRUE(PixelNear(125, 85, 0, 0, 0));

    // Load gives a default button its picture and its size.
    empty.Load("Data/GUI/button", 3);
    EXPECT_EQ(64.0f, empty.GetWidth());
    empty.SetPosition(120.0f, 80.0f);
    empty.Draw();
    EXPECT_TRUE(Shows(125, 85, kButtonFaces[0]));
}

// ---------------------------------------------------------------------------------------------
// Toggle button

TEST_F(WidgetTest, ToggleFlipsOnALeftClickInsideItsInclusiveBox) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    ASSERT_EQ(64.0f, toggle.GetWidth());
    ASSERT_EQ(32.0f, toggle.GetHeight());

    BeginFrameWithClick(184, 112, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(9, g_pEventManager->GetClickedId());
    EXPECT_TRUE(Shows(125, 85, kToggleOff[0])) << "the image was chosen before the click";

    BeginFrame(300, 300);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kToggleOn[0]));

    BeginFrameWithClick(120, 80, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_FALSE(toggle.IsOn());

    // Up, right and outside change nothing.
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, false);
    toggle.Draw(100.0f, 50.0f);
    BeginFrameWithClick(150, 90, SDL_BUTTON_RIGHT, true);
    toggle.Draw(100.0f, 50.0f);
    BeginFrameWithClick(185, 80, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
}

TEST_F(WidgetTest, ToggleHoverPlaysTheShownImage) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    toggle.SetOn(true);
    BeginFrame(150, 90);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kToggleOn[0]));
    BeginFrame(150, 90);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kToggleOn[1]));
    BeginFrame(300, 300);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kToggleOn[0]));
}

TEST_F(WidgetTest, DisabledToggleAnimatesButNeitherFlipsNorReports) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    toggle.SetEnabled(false);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    BeginFrame(150, 90);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(Shows(125, 85, kToggleOff[1]));
}

TEST_F(WidgetTest, InvisibleToggleDoesNothing) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    toggle.SetVisible(false);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    toggle.DrawAt(120.0f, 80.0f);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_FALSE(toggle.IsHovered());
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
    EXPECT_TRUE(PixelNear(125, 85, 0, 0, 0));
}

TEST_F(WidgetTest, ToggleBoxIsTheFirstImagesEvenWhileTheSecondIsShown) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    for (unsigned int i = 0; i < 2; ++i) {
        toggle.GetSecondImage()->GetFrame(i)->SetWidth(128.0f);
    }
    toggle.SetOn(true);
    BeginFrameWithClick(200, 90, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_FALSE(toggle.IsHovered());
    EXPECT_TRUE(Shows(200, 90, kToggleOn[0])) << "the wider second image is drawn";
    EXPECT_EQ(64.0f, toggle.GetWidth());
}

TEST_F(WidgetTest, ToggleDrawnTwiceInAFrameFlipsTwice) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    BeginFrameWithClick(150, 90, SDL_BUTTON_LEFT, true);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(9, g_pEventManager->GetClickedId());
    g_pEventManager->SetClickedId(-1);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_FALSE(toggle.IsOn());
    EXPECT_EQ(9, g_pEventManager->GetClickedId());
}

TEST_F(WidgetTest, TogglePositionsAreCutToWholePixelsTowardZero) {
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    toggle.SetX(12.9f);
    EXPECT_EQ(12.0f, toggle.GetX());
    EXPECT_EQ(12.0f, toggle.GetSecondImage()->GetX());
    toggle.SetX(-3.7f);
    EXPECT_EQ(-3.0f, toggle.GetX());
    EXPECT_EQ(-3.0f, toggle.GetSecondImage()->GetX());
    toggle.SetY(40.5f);
    EXPECT_EQ(40.0f, toggle.GetY());
    EXPECT_EQ(40.0f, toggle.GetSecondImage()->GetY());

    toggle.SetSize(100, 40);
    EXPECT_EQ(100.0f, toggle.GetWidth());
    EXPECT_EQ(40.0f, toggle.GetSecondImage()->GetFrame(1)->GetHeight());

    // Drawn on its own at its own place.
    toggle.SetPosition(300.0f, 200.0f);
    BeginFrame(10, 10);
    toggle.Draw();
    EXPECT_TRUE(Shows(310, 210, kToggleOff[0]));
    EXPECT_TRUE(Shows(395, 235, kToggleOff[0]));
}

TEST_F(WidgetTest, TogglesWithoutImagesDrawNothingAndMeasureZero) {
    CToggleButton empty;
    CToggleButton noFrames("Data/GUI/toggle_off", 0, "Data/GUI/toggle_on", 2, 120.0f, 80.0f, 3);
    BeginFrameWithClick(125, 85, SDL_BUTTON_LEFT, true);
    for (CToggleButton* toggle : {&empty, &noFrames}) {
        EXPECT_EQ(0.0f, toggle->GetWidth());
        EXPECT_EQ(0.0f, toggle->GetHeight());
        EXPECT_FALSE(toggle->HitTest(0.0f, 0.0f));
        toggle->Draw();
        toggle->Draw(5.0f, 5.0f);
        toggle->DrawAt(120.0f, 80.0f);
        toggle->SetX(3.0f);
        toggle->SetSize(10, 10);
        EXPECT_FALSE(toggle->IsOn());
    }
    EXPECT_EQ(0.0f, empty.GetX());
    EXPECT_EQ(-1, g_pEventManager->GetClickedId());
}

// ---------------------------------------------------------------------------------------------
// Tooltips and labels: these print with font 1.

CFont* Font() {
    return g_pFontManager->GetFont(1);
}

TEST_F(WidgetTest, ButtonTooltipPrintsWhileHoveredEvenWhenDisabled) {
    ASSERT_NE(nullptr, Font());
    CButton button("Data/GUI/button", 3, 20.0f, 30.0f, 7);
    button.SetTooltip("50% off %d", 600.0f, 400.0f);
    EXPECT_EQ("50% off %d", button.GetTooltipText());

    BeginFrame(300, 300);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(0, FindInk(ReadBlock(590, 390, 200, 40)).count);

    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_STREQ("50% off %d", Font()->GetText()) << "a '%' prints as itself";
    Ink ink = FindInk(ReadBlock(590, 390, 200, 40));
    EXPECT_GT(ink.count, 20);
    EXPECT_GE(ink.minX, 600);
    EXPECT_GE(ink.minY, 400);
    EXPECT_LE(ink.maxY, 416);

    button.SetEnabled(false);
    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_GT(FindInk(ReadBlock(590, 390, 200, 40)).count, 20);

    button.SetTooltipOn(false);
    BeginFrame(150, 90);
    button.Draw(100.0f, 50.0f);
    EXPECT_EQ(0, FindInk(ReadBlock(590, 390, 200, 40)).count);
}

TEST_F(WidgetTest, ToggleTooltipPrintsWhileHovered) {
    ASSERT_NE(nullptr, Font());
    CToggleButton toggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f, 30.0f, 9);
    toggle.SetTooltip("Sound 100%", 600.0f, 400.0f);
    BeginFrame(300, 300);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_EQ(0, FindInk(ReadBlock(590, 390, 200, 40)).count);
    toggle.SetEnabled(false);
    BeginFrame(150, 90);
    toggle.Draw(100.0f, 50.0f);
    EXPECT_STREQ("Sound 100%", Font()->GetText());
    EXPECT_GT(FindInk(ReadBlock(590, 390, 200, 40)).count, 20);
}

// Prints through the font directly, the way a label at (x, y) should, and reads the result.
Block Reference(int x, int y, const char* text, const Block& area, float sx = 1.0f,
                float sy = 1.0f) {
    glClear(GL_COLOR_BUFFER_BIT);
    Font()->PrintScaled(x, y, 0, 1.0f, 1.0f, 1.0f, 1.0f, sx, sy, "%s", text);
    return ReadBlock(area.x, area.y, area.w, area.h);
}

TEST_F(WidgetTest, LabelPrintsAtTheSumWithItsOriginCutTowardZero) {
    ASSERT_NE(nullptr, Font());
    CStaticText label("Hi%", 10.7f, 20.2f);
    label.Draw(100.5f, 50.5f);
    EXPECT_STREQ("Hi%", Font()->GetText());
    Block drawn = ReadBlock(90, 60, 80, 40);
    ASSERT_GT(FindInk(drawn).count, 20);
    EXPECT_EQ(Reference(111, 70, "Hi%", drawn).rgba, drawn.rgba);
    EXPECT_NE(Reference(112, 70, "Hi%", drawn).rgba, drawn.rgba);
    EXPECT_NE(Reference(111, 71, "Hi%", drawn).rgba, drawn.rgba);

    ClearFrame();
    CStaticText left("Hi%", -0.5f, 5.0f);
    left.Draw();
    Block corner = ReadBlock(0, 0, 60, 40);
    ASSERT_GT(FindInk(corner).count, 20);
    EXPECT_EQ(Reference(0, 5, "Hi%", corner).rgba, corner.rgba);

    ClearFrame();
    label.DrawAt(300.9f, 200.9f);
    Block at = ReadBlock(290, 190, 80, 40);
    EXPECT_EQ(Reference(300, 200, "Hi%", at).rgba, at.rgba);
}

TEST_F(WidgetTest, LabelColourGoesToTheFontAsRedBlueGreenAlpha) {
    ASSERT_NE(nullptr, Font());
    CStaticText label("HHHH", 100.0f, 100.0f);
    label.Draw();
    Ink white = FindInk(ReadBlock(90, 90, 80, 40));
    EXPECT_GT(white.count, 20);
    EXPECT_GT(std::min({white.maxR, white.maxG, white.maxB}), 200) << "white by default";

    label.SetColor(0.0f, 1.0f, 0.0f, 1.0f);
    ClearFrame();
    label.Draw();
    Ink blue = FindInk(ReadBlock(90, 90, 80, 40));
    EXPECT_GT(blue.count, 20);
    EXPECT_GT(blue.maxB, 200);
    EXPECT_LT(blue.maxR, 8);
    EXPECT_LT(blue.maxG, 8);

    CStaticText green("HHHH", 100.0f, 100.0f, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_EQ(1.0f, green.GetColor(2));
    ClearFrame();
    green.Draw();
    Ink ink = FindInk(ReadBlock(90, 90, 80, 40));
    EXPECT_GT(ink.count, 20);
    EXPECT_GT(ink.maxG, 200);
    EXPECT_LT(ink.maxR, 8);
    EXPECT_LT(ink.maxB, 8);
}

TEST_F(WidgetTest, LabelScaleStretchesTheGlyphs) {
    ASSERT_NE(nullptr, Font());
    CStaticText label("HHHH", 100.0f, 100.0f);
    label.Draw();
    Ink normal = FindInk(ReadBlock(90, 90, 200, 60));
    label.SetScale(2.0f, 0.5f);
    ClearFrame();
    label.Draw();
    Ink scaled = FindInk(ReadBlock(90, 90, 200, 60));
    ASSERT_GT(normal.count, 20);
    ASSERT_GT(scaled.count, 10);
    int normalWidth = normal.maxX - normal.minX + 1;
    int normalHeight = normal.maxY - normal.minY + 1;
    EXPECT_NEAR(2 * normalWidth, scaled.maxX - scaled.minX + 1, 3);
    EXPECT_NEAR(normalHeight / 2.0, scaled.maxY - scaled.minY + 1, 2);
    EXPECT_GE(scaled.minX, 100);
    EXPECT_GE(scaled.minY, 100);
}

TEST_F(WidgetTest, DefaultLabelPrintsStaticTextInWhite) {
    ASSERT_NE(nullptr, Font());
    CStaticText label;
    EXPECT_EQ("Static Text", label.GetText());
    label.Draw(100.0f, 50.0f);
    EXPECT_STREQ("Static Text", Font()->GetText());
    Block drawn = ReadBlock(90, 40, 200, 40);
    EXPECT_EQ(Reference(100, 50, "Static Text", drawn).rgba, drawn.rgba);
    label.SetText("");
    ClearFrame();
    label.Draw(100.0f, 50.0f);
    EXPECT_EQ(0, FindInk(ReadBlock(90, 40, 200, 40)).count);
}

}  // namespace
