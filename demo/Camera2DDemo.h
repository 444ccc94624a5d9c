/// @file
/// Camera2DDemo: the camera-movement demonstration application.
#pragma once

#include "core/CApp.h"

class CPosition2D;
class CSprite;

/// The camera-movement demonstration. Two maps side by side scroll back and forth under a 2D
/// camera that drifts by itself; the cursor keys push the camera; a logo, two text lines, the
/// frame rate and a sprite cursor are drawn on top. Escape or closing the window ends it.
///
/// It is also the reference for the lifecycle: SetVideoMode first in Init, then the cursor,
/// caption and sprites; one engine frame step per frame in RenderFrame; input read after it;
/// the sprites deleted in the destructor, while the camera position it handed over is left to
/// the camera manager.
class Camera2DDemo : public CApp {
public:
    /// Starts the engine (through CApp); loads nothing yet.
    Camera2DDemo();
    /// Deletes the logo and the two maps, before CApp's destructor shuts the engine down.
    ~Camera2DDemo() override;

    /// Opens a full-screen 1024 x 768 2D window, sets the sprite cursor, the frame-rate display
    /// and the caption, loads the maps and the logo, and hands the camera position to the
    /// camera manager.
    void Init() override;
    /// Runs RunFrame until it returns false.
    void MainLoop() override;
    /// Nothing to do.
    void Shutdown() override {}
    /// Unused.
    /// @{
    void Reserved1() override {}
    void Reserved2() override {}
    /// @}

    /// One pass of the main loop: the drift, RenderFrame, the turn at the drift's ends and, in a
    /// frame that took an event, the keys. False when Escape or a quit event ends the demo.
    bool RunFrame() override;

    /// One frame: clear, the engine's frame step, the maps under the camera, the text and the
    /// logo, then the swap.
    void RenderFrame();

    /// The drift's step per frame in pixels, and the logo sprite (the demo's own).
    /// @{
    float GetScrollSpeed() const { return m_scrollSpeed; }
    const CSprite* GetLogo() const { return m_pLogo; }
    /// @}

private:
    CSprite* m_pMap1;
    CSprite* m_pMap2;
    CPosition2D* m_pCameraPos;
    float m_scrollSpeed;
    CSprite* m_pLogo;
};
