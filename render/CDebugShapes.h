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
    static void Cube(float x, float y, float z);
    static void Grid(float x, float y, float z);
    static void Quad(float x, float y, float z);
    /// Red x, green y and blue z, ten units long from the origin.
    static void Axes();
};
