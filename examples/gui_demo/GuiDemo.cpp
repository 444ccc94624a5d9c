// GuiDemo: set-up, the frame loop and the reactions of the GUI example.
#include "examples/gui_demo/GuiDemo.h"

#include <GL/gl.h>
#include <SDL.h>

#include <iostream>
#include <string>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "gui/CButton.h"
#include "gui/CStaticText.h"
#include "gui/CToggleButton.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "input/CEventManager.h"
#include "text/CFont.h"
#include "text/CFontManager.h"

namespace {

const int kPanelId = 1;
const int kSecondId = 2;
// Ids 1 to 3 are the panel's buttons; the second window's button hides that window.
const int kHideButtonId = 4;
const int kToggleId = 10;

const char* const kButtonBase = "Data/GUI/button";
const int kButtonFrames = 3;

}  // namespace

GuiDemo::GuiDemo()
    : m_pPanel(nullptr),
      m_pSecond(nullptr),
      m_pClickedLabel(nullptr),
      m_pToggleLabel(nullptr),
      m_pToggle(nullptr),
      m_toggleWasOn(false),
      m_altCursorWasOn(false),
      m_panelWasDragged(false) {}

GuiDemo::~GuiDemo() {
    // The windows, with their buttons, toggle, labels and backgrounds, belong to the window
    // manager, which frees them at engine shutdown; the cursors belong to the graphics core.
}

void GuiDemo::Init() {
    m_pEngine->SetVideoMode(1024, 768, 16, false, true);
    g_pGraphicsCore->SetCaption("Orvane Engine - GUI Example");
    m_pEngine->ShowFPS(true);
    // The sprite cursor replaces the system one; the panel switches to the alternate picture
    // while the pointer is over its title bar.
    g_pGraphicsCore->SetCursorImages("Data/MousePointer.png", "Data/GUI/AltPointer.png");

    m_pPanel =
        new CWindow(100, 100, 400, 400, "Data/GUI/window.png", false, 1.0f, 15, kPanelId, true);
    m_pPanel->SetTooltip("Drag the title bar to move the panel", 100.0f, 80.0f);
    m_pPanel->AddText(new CStaticText("Panel", 6.0f, 0.0f, 0.1f, 0.1f, 0.1f, 1.0f));
    m_pPanel->AddText(new CStaticText("Push a button:", 20.0f, 40.0f));
    for (int id = 1; id <= 3; ++id) {
        CButton* button =
            m_pPanel->CreateButton(kButtonBase, kButtonFrames, 20.0f + 98.0f * (id - 1), 70.0f, id);
        button->SetTooltip(
            "Button " + std::to_string(id) + " writes " + std::to_string(id) + " into the label",
            100.0f, 410.0f);
    }
    m_pClickedLabel = new CStaticText("Last clicked: none", 20.0f, 125.0f, 1.0f, 0.4f, 1.0f, 1.0f);
    m_pPanel->AddText(m_pClickedLabel);
    m_pToggle = m_pPanel->CreateToggle("Data/GUI/toggle_off", 2, "Data/GUI/toggle_on", 2, 20.0f,
                                       170.0f, kToggleId);
    m_pToggle->SetTooltip("The toggle flips on every click", 100.0f, 410.0f);
    m_pToggleLabel = new CStaticText("Toggle: off", 100.0f, 178.0f);
    m_pPanel->AddText(m_pToggleLabel);
    m_pPanel->AddText(new CStaticText("H: second window", 20.0f, 240.0f));
    g_pWindowManager->AddWindow(m_pPanel);

    // Not movable: with two movable windows the one drawn last would always pick the cursor.
    m_pSecond = new CWindow(450, 500, 962, 628, "Data/GUI/window_wide.png", false, 1.0f, 15,
                            kSecondId, false);
    m_pSecond->AddText(new CStaticText("Second window", 6.0f, 0.0f, 0.1f, 0.1f, 0.1f, 1.0f));
    m_pSecond->AddText(new CStaticText("H or the button hides it", 12.0f, 40.0f));
    CButton* hide =
        m_pSecond->CreateButton(kButtonBase, kButtonFrames, 430.0f, 70.0f, kHideButtonId);
    hide->SetTooltip("Hides this window", 450.0f, 640.0f);
    g_pWindowManager->AddWindow(m_pSecond);

    // Windows start hidden; Activate shows every window with the id.
    g_pWindowManager->Activate(kPanelId);
    g_pWindowManager->Activate(kSecondId);
}

void GuiDemo::ShowSecondWindow(bool show) {
    if (show == m_pSecond->IsVisible()) {
        return;
    }
    if (show) {
        g_pWindowManager->Activate(kSecondId);
    } else {
        m_pSecond->SetVisible(false);
    }
    std::cout << "Second window: " << (show ? "shown" : "hidden") << std::endl;
}

bool GuiDemo::HandleInput() {
    if (!g_pEventManager->HasEvent()) {
        return true;
    }
    if (g_pEventManager->IsEvent(EVENT_QUIT) || g_pEventManager->IsKeyDown(SDLK_ESCAPE)) {
        return false;
    }
    if (g_pEventManager->IsEvent(EVENT_KEYDOWN) &&
        g_pEventManager->GetEvent().key.keysym.sym == SDLK_h) {
        ShowSecondWindow(!m_pSecond->IsVisible());
    }
    return true;
}

void GuiDemo::ReactToWidgets() {
    // The buttons report during the window pass of the frame step, and the next poll clears
    // the id, so it is read here, between the two.
    int clicked = g_pEventManager->GetClickedId();
    if (clicked != -1) {
        std::cout << "Clicked: " << clicked << std::endl;
        m_pClickedLabel->SetText("Last clicked: " + std::to_string(clicked));
        if (clicked == kHideButtonId) {
            ShowSecondWindow(false);
        }
    }
    if (m_pToggle->IsOn() != m_toggleWasOn) {
        m_toggleWasOn = m_pToggle->IsOn();
        m_pToggleLabel->SetText(m_toggleWasOn ? "Toggle: on" : "Toggle: off");
        std::cout << (m_toggleWasOn ? "Toggle: on" : "Toggle: off") << std::endl;
    }
    bool altCursor = g_pGraphicsCore->GetCurrentCursor() == g_pGraphicsCore->GetAltCursor();
    if (altCursor != m_altCursorWasOn) {
        m_altCursorWasOn = altCursor;
        std::cout << "Cursor: " << (altCursor ? "alternate" : "normal") << std::endl;
    }
    if (m_pPanel->IsDragging() != m_panelWasDragged) {
        m_panelWasDragged = m_pPanel->IsDragging();
        if (m_panelWasDragged) {
            std::cout << "Drag: started" << std::endl;
        } else {
            std::cout << "Drag: ended at (" << m_pPanel->GetLeft() << ", " << m_pPanel->GetTop()
                      << ")" << std::endl;
        }
    }
}

void GuiDemo::MainLoop() {
    while (RunFrame()) {
    }
}

bool GuiDemo::RunFrame() {
    RenderFrame();
    return HandleInput();
}

void GuiDemo::RenderFrame() {
    glClearColor(0.12f, 0.14f, 0.16f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    m_pEngine->Update();
    ReactToWidgets();

    if (CFont* font = g_pFontManager->GetFont(1)) {
        font->PrintColored(20, 740, 0, 0.7f, 0.8f, 1.0f,
                           "Click the buttons, drag the panel by its title bar.  H: second "
                           "window  Esc: quit");
    }
    SDL_GL_SwapBuffers();
}
