// Scene3DDemo: the 3D example. A grid, axes and cubes from the debug shapes; the free-look
// camera on the mouse and W, A, S, D; a torus lit by the built-in program chosen with the keys
// 1 to 9; and a ball rolled with I, J, K, L over a floor, up a ramp and against walls by the
// collision tests. Changes of state are printed as one line each on standard output.
#pragma once

#include "core/CApp.h"
#include "examples/scene3d_demo/CollisionArena.h"
#include "examples/scene3d_demo/Mesh.h"

class CSprite;

class Scene3DDemo : public CApp {
public:
    Scene3DDemo();
    ~Scene3DDemo() override;

    void Init() override;
    void MainLoop() override;
    // One frame and its input; false when the example ends.
    bool RunFrame() override;
    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

    // One frame: clear, the engine's frame step, the camera, the scene in depth order, the
    // text, then the swap.
    void RenderFrame();

private:
    // Acts on this frame's event; false when the demo should end.
    bool HandleInput();
    // Rolls the ball by the held keys and reports where it came to rest, and where the camera
    // went, when the keys are let go.
    void MoveBall();
    void ReportCamera();
    void DrawDebugShapes() const;
    void DrawArena() const;
    void DrawTorus() const;
    // Sets light 0 for the chosen program: a point or spot light for programs 5 and 6, a
    // directional light for the others. Positions go through the current view matrix.
    void SetLight(int program) const;
    void DrawText() const;

    CSprite* m_pTexture;
    Mesh m_torus;
    Mesh m_ball;
    CollisionArena m_arena;
    int m_program;
    bool m_ballKeysHeld;
    bool m_cameraKeysHeld;
    bool m_reportedContact;
};
