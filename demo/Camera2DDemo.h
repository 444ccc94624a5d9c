// Camera2DDemo: the camera-movement demonstration. Two maps side by side scroll back and forth
// under a 2D camera that drifts by itself; the cursor keys push the camera; a logo, two text
// lines, the frame rate and a sprite cursor are drawn on top. Escape or closing the window
// ends it.
#pragma once

#include "core/CApp.h"

class CPosition2D;
class CSprite;

class Camera2DDemo : public CApp {
public:
    Camera2DDemo();
    ~Camera2DDemo() override;

    void Init() override;
    void MainLoop() override;
    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

    // One pass of the main loop: the drift, RenderFrame, the turn at the drift's ends and, in a
    // frame that took an event, the keys. False when Escape or a quit event ends the demo.
    bool RunFrame();

    // One frame: clear, the engine's frame step, the maps under the camera, the text and the
    // logo, then the swap.
    void RenderFrame();

    float GetScrollSpeed() const { return m_scrollSpeed; }
    const CSprite* GetLogo() const { return m_pLogo; }

private:
    CSprite* m_pMap1;
    CSprite* m_pMap2;
    CPosition2D* m_pCameraPos;
    float m_scrollSpeed;
    CSprite* m_pLogo;
};
