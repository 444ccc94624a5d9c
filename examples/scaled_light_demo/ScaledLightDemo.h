// ScaledLightDemo: an egg-shaped ball, a sphere scaled differently along each axis, lit per pixel
// by the built-in directional program. Its normals only light it right through the inverse
// transpose of the model-view, which is what the browser build's shaders are checked against.
// Beside it, the logo at half its size through its mip levels.
#pragma once

#include "core/CApp.h"
#include "examples/scene3d_demo/Mesh.h"
#include "textures/CSprite.h"

class ScaledLightDemo : public CApp {
public:
    ScaledLightDemo();

    void Init() override;
    void MainLoop() override;
    // One frame and its input; false when the example ends.
    bool RunFrame() override;
    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

    void RenderFrame();

private:
    Mesh m_ball;
    CSprite m_logo;
};
