/// @file
/// CQuadBatch: the one path by which the engine's textured quads reach OpenGL.
#pragma once

class CShaderProgram;

/// Sprites, animated sprites, GUI images, the sprite cursor and bitmap text all draw textured
/// quads through program 0 on texture unit 0. Each quad goes to OpenGL at once, with its corners
/// already placed on the CPU and its tint as the vertex colour, so a quad changes no matrix and
/// no uniform. The program and the texture are set only when they differ from what the previous
/// quad left, and are put back only by Flush. With nothing changing between them, the driver
/// merges a run of quads into one draw.
///
/// Between a quad and the next Flush, program 0 stays bound and the current colour is the last
/// tint. Begin2D, End2D, a font print that had to change the drawing state (in a 3D scene, say)
/// and the end of the frame step flush; an application that issues its own OpenGL calls right
/// after engine draws calls CGraphicsCore::FlushQuads first.
class CQuadBatch {
public:
    /// One corner of a quad: position in the current model-view's units, then texture
    /// coordinates.
    struct Vertex {
        float x;  ///< Position, right.
        float y;  ///< Position, down in 2D.
        float s;  ///< Texture coordinate across the picture.
        float t;  ///< Texture coordinate down the picture (0 at its top row).
    };

    /// Makes program 0 (with "colors" white) and the texture on unit 0 current, touching only
    /// what differs from the state the previous quad left.
    static void Use(unsigned int texture, CShaderProgram* program);
    /// Sends one quad, corners in drawing order, tinted by rgba. Call Use first.
    static void Quad(const Vertex corners[4], const float rgba[4]);
    /// What Flush puts back, set by whoever drew last: a sprite leaves the current colour white
    /// and its picture bound; a print brings back the colour it found and texture 0.
    static void SetEndState(const float rgba[4], bool unbindTexture);
    /// The current colour as the application will see it once the run ends: the colour Flush
    /// will put back while a run is open, OpenGL's current colour otherwise.
    static void ColorAfterRun(float rgba[4]);
    /// Ends the run: unbinds the program and puts back the end state, as a single draw always
    /// left it, and forgets what was bound. Does nothing when no quad was sent since the last
    /// flush.
    static void Flush();
    /// Forgets which texture and unit the run left, without an OpenGL call; for code that binds
    /// a texture or selects a unit of its own.
    static void ForgetTexture();
    /// Forgets the whole run without an OpenGL call; for when the context goes away.
    static void Reset();
};
