// GuiDemo: the GUI example. A movable panel with a background, three push buttons with tooltips,
// a toggle and labels; a click writes the button's id into a label; the alternate cursor shows
// over the panel's title bar; H shows and hides a second window. Every change of state is also
// printed as one line on standard output.
#pragma once

#include "core/CApp.h"

class CStaticText;
class CToggleButton;
class CWindow;

class GuiDemo : public CApp {
public:
    GuiDemo();
    ~GuiDemo() override;

    void Init() override;
    void MainLoop() override;
    // One frame and its input; false when the example ends.
    bool RunFrame() override;
    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

    // One frame: clear, the engine's frame step (which draws and clicks the windows), then
    // what the clicks changed, the help line and the swap.
    void RenderFrame();

private:
    // Acts on the key of this frame's key-down event; false when the demo should end.
    bool HandleInput();
    // Reads what the frame step's window pass left behind and reports what changed.
    void ReactToWidgets();
    void ShowSecondWindow(bool show);

    // The window manager owns the windows and they own their widgets; these are views only.
    CWindow* m_pPanel;
    CWindow* m_pSecond;
    CStaticText* m_pClickedLabel;
    CStaticText* m_pToggleLabel;
    CToggleButton* m_pToggle;
    bool m_toggleWasOn;
    bool m_altCursorWasOn;
    bool m_panelWasDragged;
};
