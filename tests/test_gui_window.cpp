// GUI windows and the window manager: background sizing, the title bar, dragging with pushed
// events and warped pointers, the cursor choice, clamping of children, visibility and the
// drawing order, run through the engine's frame step and checked by reading pixels back.
#include <GL/glew.h>

#include <cstdlib>
#include <vector>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "gui/CButton.h"
#include "gui/CStaticText.h"
#include "gui/CToggleButton.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "input/CEventManager.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CAnimatedSprite.h"
#include "textures/CSprite.h"

using orvane_test::PixelNear;
using orvane_test::Rgba;

namespace {

// Colours of the generated pictures (tools/make_gui_images.py).
const Rgba kWideTitle = {200, 200, 220, 255};
const Rgba kWideBody = {30, 30, 90, 255};
const Rgba kSquareTitle = {220, 200, 200, 255};
const Rgba kSquareBody = {90, 30, 30, 255};
const Rgba kButtonFace = {40, 80, 200, 255};
const Rgba kBlack = {0, 0, 0, 255};

::testing::AssertionResult Shows(int x, int y, const Rgba& c) {
    return PixelNear(x, y, c.r, c.g, c.b);
}

// Pixels of a rectangle (y downwards) that differ from the colour by more than 8 per channel.
int PixelsUnlike(int x, int y, int w, int h, const Rgba& c) {
    std::vector<unsigned char> rgba(4 * w * h);
    g_pGraphicsCore->FlushQuads();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, SDL_GetVideoSurface()->h - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int count = 0;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        if (std::abs(rgba[i] - c.r) > 8 || std::abs(rgba[i + 1] - c.g) > 8 ||
            std::abs(rgba[i + 2] - c.b) > 8) {
            ++count;
        }
    }
    return count;
}

class WindowTest : public orvane_test::EngineTest {
protected:
    // A movable window at (100, 50)-(400, 350) with the square background, shown and handed to
    // the window manager.
    CWindow* AddSquareWindow(int id = 1, bool movable = true) {
        CWindow* window =
            new CWindow(100, 50, 400, 350, "Data/GUI/window.png", false, 1.0f, 15, id, movable);
        window->SetVisible(true);
        g_pWindowManager->AddWindow(window);
        return window;
    }

    // One frame of the engine with the pointer at (x, y): poll, windows, cursor, camera.
    void Frame(int x, int y) {
        orvane_test::WarpMouse(x, y);
        Step();
    }
    // The same with a mouse-button event queued at the pointer.
    void FrameWithClick(int x, int y, Uint8 button, bool down) {
        orvane_test::WarpMouse(x, y);
        orvane_test::PushMouseButton(button, down, x, y);
        Step();
        ASSERT_TRUE(g_pEventManager->HasEvent());
        ASSERT_EQ(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, g_pEventManager->GetEvent().type);
    }
    void Step() {
        ClearFrame();
        engine_->Update();
    }

    void ExpectEdges(const CWindow& window, float left, float top, float right, float bottom) {
        EXPECT_EQ(left, window.GetLeft());
        EXPECT_EQ(top, window.GetTop());
        EXPECT_EQ(right, window.GetRight());
        EXPECT_EQ(bottom, window.GetBottom());
    }
};

// ---------------------------------------------------------------------------------------------
// Window

TEST_F(WindowTest, BackgroundIsCutToTheWindowOrStretchedToIt) {
    CWindow* cut =
        new CWindow(100, 50, 400, 350, "Data/GUI/window_wide.png", false, 1.0f, 15, 1, true);
    CWindow* stretched =
        new CWindow(500, 50, 800, 350, "Data/GUI/window_wide.png", true, 1.0f, 15, 2, true);
    CWindow small(0, 0, 600, 400, "Data/GUI/window.png", false, 1.0f, 15, 3, true);
    EXPECT_EQ(300.0f, cut->GetImage(0)->GetWidth());
    EXPECT_EQ(128.0f, cut->GetImage(0)->GetHeight());
    EXPECT_EQ(300.0f, stretched->GetImage(0)->GetWidth());
    EXPECT_EQ(300.0f, stretched->GetImage(0)->GetHeight());
    EXPECT_EQ(300.0f, small.GetImage(0)->GetWidth());
    EXPECT_EQ(300.0f, small.GetImage(0)->GetHeight());
    EXPECT_FALSE(cut->IsVisible()) << "a new window starts hidden";

    g_pWindowManager->AddWindow(cut);
    g_pWindowManager->AddWindow(stretched);
    Frame(1000, 700);
    EXPECT_TRUE(Shows(250, 120, kBlack)) << "hidden windows are not drawn";

    g_pWindowManager->Activate(1);
    g_pWindowManager->Activate(2);
    Frame(1000, 700);
    EXPECT_TRUE(Shows(250, 56, kWideTitle));
    EXPECT_TRUE(Shows(250, 120, kWideBody));
    EXPECT_TRUE(Shows(250, 200, kBlack));
    EXPECT_TRUE(Shows(395, 120, kWideBody));
    EXPECT_TRUE(Shows(405, 120, kBlack));
    EXPECT_TRUE(Shows(650, 300, kWideBody));
    EXPECT_TRUE(Shows(650, 360, kBlack));
}

TEST_F(WindowTest, TitleBarIncludesItsEdges) {
    CWindow* window = AddSquareWindow();
    const int inside[][2] = {{400, 65}, {100, 50}, {250, 57}};
    const int outside[][2] = {{401, 65}, {400, 66}, {99, 50}, {100, 49}};
    for (const auto& p : inside) {
        Frame(p[0], p[1]);
        EXPECT_TRUE(window->MouseOverTitleBar()) << p[0] << ", " << p[1];
    }
    for (const auto& p : outside) {
        Frame(p[0], p[1]);
        EXPECT_FALSE(window->MouseOverTitleBar()) << p[0] << ", " << p[1];
    }
    window->SetTitleBarHeight(30);
    Frame(250, 80);
    EXPECT_TRUE(window->MouseOverTitleBar());
}

TEST_F(WindowTest, DraggingTheTitleBarMovesTheWindowAndItsChildren) {
    CWindow* window = AddSquareWindow();
    window->CreateButton("Data/GUI/button", 3, 20.0f, 30.0f, 5);
    Frame(200, 57);
    FrameWithClick(200, 57, SDL_BUTTON_LEFT, true);
    EXPECT_TRUE(window->IsDragging());
    ExpectEdges(*window, 100, 50, 400, 350);

    Frame(210, 52);
    ExpectEdges(*window, 110, 45, 410, 345);
    // The moved button, and the window's body where the button was before.
    EXPECT_TRUE(Shows(190, 80, kButtonFace));
    EXPECT_TRUE(Shows(125, 110, kSquareBody));
    EXPECT_TRUE(Shows(405, 200, kSquareBody));
    EXPECT_TRUE(Shows(105, 200, kBlack));

    // Releasing over the title bar ends the drag.
    FrameWithClick(210, 52, SDL_BUTTON_LEFT, false);
    EXPECT_FALSE(window->IsDragging());
    Frame(260, 52);
    ExpectEdges(*window, 110, 45, 410, 345);
}

TEST_F(WindowTest, AReleaseAwayFromTheTitleBarDoesNotEndTheDrag) {
    CWindow* window = AddSquareWindow();
    Frame(200, 57);
    FrameWithClick(200, 57, SDL_BUTTON_LEFT, true);
    // The pointer jumps below the strip and is released there in the same frame.
    FrameWithClick(200, 157, SDL_BUTTON_LEFT, false);
    EXPECT_TRUE(window->IsDragging());
    ExpectEdges(*window, 100, 150, 400, 450);
    Frame(205, 157);
    ExpectEdges(*window, 105, 150, 405, 450);
    FrameWithClick(205, 157, SDL_BUTTON_LEFT, false);
    EXPECT_FALSE(window->IsDragging());
}

TEST_F(WindowTest, RightButtonStartsNoDrag) {
    CWindow* window = AddSquareWindow();
    Frame(200, 57);
    FrameWithClick(200, 57, SDL_BUTTON_RIGHT, true);
    EXPECT_FALSE(window->IsDragging());
    Frame(220, 60);
    ExpectEdges(*window, 100, 50, 400, 350);
}

TEST_F(WindowTest, OnlyAMovableWindowDragsOrChangesTheCursor) {
    g_pGraphicsCore->SetCursorImages("tests/data/anim/anim1.png", "Data/GUI/AltPointer.png");
    CSprite* normal = g_pGraphicsCore->GetCursor();
    CSprite* alt = g_pGraphicsCore->GetAltCursor();
    CWindow* fixed = AddSquareWindow(1, false);
    Frame(200, 57);
    FrameWithClick(200, 57, SDL_BUTTON_LEFT, true);
    EXPECT_FALSE(fixed->IsDragging());
    EXPECT_EQ(normal, g_pGraphicsCore->GetCurrentCursor());
    Frame(230, 60);
    ExpectEdges(*fixed, 100, 50, 400, 350);

    fixed->SetMovable(true);
    Frame(230, 60);
    EXPECT_EQ(alt, g_pGraphicsCore->GetCurrentCursor());
    // The pointer's tip is its top-left pixel, drawn at the mouse position.
    EXPECT_TRUE(PixelNear(230, 60, 0, 0, 0, 40) || PixelNear(230, 60, 255, 220, 60, 40));
    EXPECT_TRUE(Shows(232, 66, {255, 220, 60, 255}));
    Frame(230, 100);
    EXPECT_EQ(normal, g_pGraphicsCore->GetCurrentCursor());
}

TEST_F(WindowTest, TheLastMovableWindowDrawnChoosesTheCursor) {
    g_pGraphicsCore->SetCursorImages("tests/data/anim/anim1.png", "Data/GUI/AltPointer.png");
    CWindow* first = AddSquareWindow(1);
    CWindow* second =
        new CWindow(500, 400, 800, 700, "Data/GUI/window.png", false, 1.0f, 15, 2, true);
    second->SetVisible(true);
    g_pWindowManager->AddWindow(second);

    // Over the first window's title bar, but the second window is drawn after it.
    Frame(200, 57);
    EXPECT_EQ(g_pGraphicsCore->GetCursor(), g_pGraphicsCore->GetCurrentCursor());
    Frame(600, 405);
    EXPECT_EQ(g_pGraphicsCore->GetAltCursor(), g_pGraphicsCore->GetCurrentCursor());
    // Asking the first window directly switches it, since the test itself picks the cursor.
    Frame(200, 57);
    EXPECT_TRUE(first->MouseOverTitleBar());
    EXPECT_EQ(g_pGraphicsCore->GetAltCursor(), g_pGraphicsCore->GetCurrentCursor());
}

TEST_F(WindowTest, ButtonsAndTogglesAreClampedOnTheRightAndBottomOnly) {
    CWindow window(100, 50, 400, 350, "Data/GUI/window.png", false, 1.0f, 15, 1, true);
    CButton* wide = new CButton("Data/GUI/button", 3, 250.0f, 10.0f, 1);
    wide->SetSize(80, 32);
    window.AddButton(wide);
    EXPECT_EQ(220.0f, wide->GetX());
    EXPECT_EQ(10.0f, wide->GetY());
    CButton* left = window.CreateButton("Data/GUI/button", 3, -20.0f, -5.0f, 2);
    EXPECT_EQ(-20.0f, left->GetX());
    EXPECT_EQ(-5.0f, left->GetY());
    CButton* low = window.CreateButton("Data/GUI/button", 3, 10.0f, 290.0f, 3);
    EXPECT_EQ(268.0f, low->GetY());

    CToggleButton* toggle =
        window.CreateToggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 270.5f, 280.0f, 4);
    EXPECT_EQ(236.0f, toggle->GetX());
    EXPECT_EQ(268.0f, toggle->GetY());
    EXPECT_EQ(236.0f, toggle->GetSecondImage()->GetX());
    CToggleButton* negative =
        new CToggleButton("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, -7.0f, -9.0f, 5);
    window.AddToggle(negative);
    EXPECT_EQ(-7.0f, negative->GetX());

    // Images and labels stay where they are put, even outside the window.
    CSprite* image = window.CreateImage("Data/GUI/button1.png", 500, 600, 0.5f);
    EXPECT_EQ(500.0f, image->position.x);
    EXPECT_EQ(600.0f, image->position.y);
    EXPECT_EQ(0.5f, image->GetAlpha());
    CStaticText* text = new CStaticText("far", 900.0f, 900.0f);
    window.AddText(text);
    EXPECT_EQ(900.0f, text->GetX());

    // Null children are refused.
    window.AddButton(nullptr);
    window.AddToggle(nullptr);
    window.AddImage(nullptr);
    window.AddText(nullptr);
    EXPECT_EQ(3u, window.GetButtonCount());
    EXPECT_EQ(2u, window.GetToggleCount());
    EXPECT_EQ(2u, window.GetImageCount());
    EXPECT_EQ(1u, window.GetTextCount());
    EXPECT_EQ(nullptr, window.GetButton(3));
}

TEST_F(WindowTest, ChildrenAreDrawnRelativeToTheWindow) {
    CWindow* window = AddSquareWindow(1, false);
    window->CreateImage("Data/GUI/button1.png", 200, 200, 1.0f);
    window->CreateButton("Data/GUI/button", 3, 20.0f, 30.0f, 5);
    window->CreateToggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 120.0f, 30.0f, 6);
    FrameWithClick(130, 90, SDL_BUTTON_LEFT, true);
    EXPECT_EQ(5, g_pEventManager->GetClickedId());
    EXPECT_TRUE(Shows(310, 260, kButtonFace));
    EXPECT_TRUE(Shows(225, 85, {120, 120, 120, 255}));
    EXPECT_TRUE(Shows(200, 200, kSquareBody));

    // DrawAt draws the same content elsewhere and leaves the window where it is.
    ClearFrame();
    g_pEventManager->PollEvent();
    window->DrawAt(500.0f, 100.0f);
    EXPECT_TRUE(Shows(700, 200, kSquareBody));
    EXPECT_TRUE(Shows(525, 135, kButtonFace));
    EXPECT_TRUE(Shows(625, 135, {120, 120, 120, 255}));
    EXPECT_TRUE(Shows(250, 200, kBlack));
    ExpectEdges(*window, 100, 50, 400, 350);
}

TEST_F(WindowTest, ActivatingShowsAndHidingDeactivates) {
    CWindow window(100, 50, 400, 350, "Data/GUI/window.png", false, 1.0f, 15, 1, true);
    EXPECT_FALSE(window.IsVisible());
    EXPECT_FALSE(window.IsActive());
    window.SetActive(true);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_TRUE(window.IsActive());
    window.SetActive(false);
    EXPECT_TRUE(window.IsVisible());
    EXPECT_FALSE(window.IsActive());
    window.SetActive(true);
    window.SetVisible(false);
    EXPECT_FALSE(window.IsVisible());
    EXPECT_FALSE(window.IsActive());
    window.SetVisible(true);
    EXPECT_FALSE(window.IsActive());

    CWindow empty;
    EXPECT_EQ(-1, empty.GetId());
    EXPECT_EQ(15u, empty.GetTitleBarHeight());
    EXPECT_FALSE(empty.IsVisible());
    EXPECT_FALSE(empty.IsMovable());
}

TEST_F(WindowTest, AHiddenWindowIsNeitherDrawnNorDraggedAndTheDragResumesWhenShown) {
    CWindow* window = AddSquareWindow();
    Frame(200, 57);
    FrameWithClick(200, 57, SDL_BUTTON_LEFT, true);
    ASSERT_TRUE(window->IsDragging());
    window->SetVisible(false);
    Frame(250, 57);
    ExpectEdges(*window, 100, 50, 400, 350);
    EXPECT_TRUE(Shows(250, 200, kBlack));
    window->SetVisible(true);
    Frame(260, 60);
    ExpectEdges(*window, 110, 53, 410, 353);
    EXPECT_TRUE(window->IsDragging());
}

// ---------------------------------------------------------------------------------------------
// Window manager

TEST_F(WindowTest, WindowsAreDrawnInTheOrderAdded) {
    CWindow* first = AddSquareWindow(1, false);
    CWindow* second =
        new CWindow(250, 200, 550, 500, "Data/GUI/window_wide.png", true, 1.0f, 15, 2, false);
    second->SetVisible(true);
    g_pWindowManager->AddWindow(second);
    Frame(1000, 700);
    EXPECT_TRUE(Shows(200, 150, kSquareBody));
    EXPECT_TRUE(Shows(300, 300, kWideBody)) << "the later window covers the earlier one";
    EXPECT_TRUE(Shows(500, 400, kWideBody));

    // A click on the overlap is seen by both windows' buttons; the later one reports last.
    first->CreateButton("Data/GUI/button", 3, 200.0f, 250.0f, 11);
    second->CreateButton("Data/GUI/button", 3, 50.0f, 100.0f, 12);
    FrameWithClick(310, 310, SDL_BUTTON_LEFT, true);
    EXPECT_TRUE(first->GetButton(0)->IsHovered());
    EXPECT_TRUE(second->GetButton(0)->IsHovered());
    EXPECT_EQ(12, g_pEventManager->GetClickedId());

    second->SetVisible(false);
    Frame(1000, 700);
    EXPECT_TRUE(Shows(390, 340, kSquareBody));
    EXPECT_TRUE(Shows(500, 400, kBlack));
}

TEST_F(WindowTest, ActivateShowsEveryWindowWithTheIdAndDeactivateAllKeepsVisibility) {
    Frame(1000, 700);  // no windows: nothing drawn, nothing to activate
    g_pWindowManager->Activate(5);
    EXPECT_TRUE(Shows(200, 150, kBlack));

    CWindow* a = new CWindow(0, 0, 100, 100, "Data/GUI/window.png", false, 1.0f, 15, 3, false);
    CWindow* b = new CWindow(0, 0, 100, 100, "Data/GUI/window.png", false, 1.0f, 15, 3, false);
    CWindow* c = new CWindow(0, 0, 100, 100, "Data/GUI/window.png", false, 1.0f, 15, 4, false);
    for (CWindow* window : {a, b, c}) {
        g_pWindowManager->AddWindow(window);
    }
    g_pWindowManager->Activate(5);
    EXPECT_FALSE(a->IsVisible() || b->IsVisible() || c->IsVisible());
    g_pWindowManager->Activate(3);
    EXPECT_TRUE(a->IsVisible() && a->IsActive());
    EXPECT_TRUE(b->IsVisible() && b->IsActive());
    EXPECT_FALSE(c->IsVisible() || c->IsActive());

    g_pWindowManager->DeactivateAll();
    EXPECT_FALSE(a->IsActive() || b->IsActive() || c->IsActive());
    EXPECT_TRUE(a->IsVisible() && b->IsVisible());
    EXPECT_FALSE(c->IsVisible());

    // Null and repeated windows are refused, so none is drawn or freed twice.
    g_pWindowManager->AddWindow(nullptr);
    g_pWindowManager->AddWindow(a);
    EXPECT_EQ(3u, g_pWindowManager->GetWindowCount());
    EXPECT_EQ(c, g_pWindowManager->GetWindow(2));
    EXPECT_EQ(nullptr, g_pWindowManager->GetWindow(3));
}

// ---------------------------------------------------------------------------------------------
// Window tooltip: printed with font 1 before the window's own pictures.

TEST_F(WindowTest, TooltipShowsOverTheTitleBarOfAMovableWindowBeneathItsImages) {
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);
    CWindow* window = AddSquareWindow();
    {
        std::string text = "Drag 100% %s";
        window->SetTooltip(text, 600.0f, 500.0f);
    }  // the window keeps its own copy
    Frame(200, 100);
    EXPECT_EQ(0, PixelsUnlike(590, 490, 200, 40, kBlack)) << "not over the title bar";

    Frame(200, 57);
    EXPECT_STREQ("Drag 100% %s", font->GetText());
    EXPECT_GT(PixelsUnlike(590, 490, 200, 40, kBlack), 20);

    // Inside the window the background, drawn later, covers the tooltip.
    window->SetTooltip("Covered", 150.0f, 150.0f);
    Frame(200, 57);
    EXPECT_STREQ("Covered", font->GetText());
    EXPECT_EQ(0, PixelsUnlike(140, 140, 120, 30, kSquareBody));

    window->SetTooltip("Off", 600.0f, 500.0f);
    window->SetTooltipOn(false);
    Frame(200, 57);
    EXPECT_EQ(0, PixelsUnlike(590, 490, 200, 40, kBlack));

    window->SetTooltipOn(true);
    window->SetMovable(false);
    Frame(200, 57);
    EXPECT_EQ(0, PixelsUnlike(590, 490, 200, 40, kBlack)) << "a fixed window shows no tooltip";
}

TEST_F(WindowTest, LabelsAreDrawnLastRelativeToTheWindow) {
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);
    CWindow* window = AddSquareWindow(1, false);
    window->AddText(new CStaticText("Label", 20.0f, 100.0f));
    Frame(1000, 700);
    EXPECT_STREQ("Label", font->GetText());
    EXPECT_GT(PixelsUnlike(120, 150, 80, 16, kSquareBody), 20);
    EXPECT_EQ(0, PixelsUnlike(120, 180, 80, 16, kSquareBody));
}

}  // namespace
