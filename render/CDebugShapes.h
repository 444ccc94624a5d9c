/// @file
/// CDebugShapes: immediate-mode shapes for looking at a 3D scene while it is being built.
#pragma once

/// A cube of six coloured faces two units wide, a grey 61-line grid in the x-z plane, a green
/// unit quad and the three axes, each drawn around (x, y, z) of the current model-view with
/// texturing turned off. They change the model-view only for the time they draw, and leave the
/// colour of their last vertex current. CUtils offers them as DrawCube, DrawGrid, DrawQuad and
/// DrawAxes.
class CDebugShapes {
public:
    /// Six faces, each in its own colour; the colour is white again afterwards.
    static void Cube(float x, float y, float z);
    /// 61 grey lines each way, from -30 to 30; the colour stays grey.
    static void Grid(float x, float y, float z);
    /// A green square facing +z; the colour stays green.
    static void Quad(float x, float y, float z);
    /// Red x, green y and blue z, ten units long from the origin.
    static void Axes();
};
