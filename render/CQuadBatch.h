/// @file
/// CQuadBatch: the one path by which the engine's textured quads reach OpenGL.
#pragma once

/// Sprites, animated sprites, GUI images, the sprite cursor and bitmap text all draw textured
/// quads through program 0 on texture unit 0. A quad's corners are placed on the CPU and its
/// tint travels as the vertex colour, so a quad changes no matrix and no uniform: quads are
/// queued in one vertex array and a whole run goes to OpenGL as one draw (CPlatform's
/// DrawQuadArrays): on the desktop quads from client-side arrays, unindexed, the primitive the
/// engine's quads always had, so the pictures stay the same; in the browser, which has no quads,
/// two indexed triangles a quad from a buffer of the engine's own, with the matrices the engine
/// knows (CRenderState) as the program's.
/// A run whose quads are all opaque white goes through the program's untinted build where it
/// has one (program 0 has), which skips the per-pixel tint; a quad sent on its own does not.
///
/// A sprite's corners are units of the matrices in force; a print's are viewport pixels
/// (UseInPixels), for which the run's draw sets up the pixel projection and an identity
/// model-view and then puts back the matrices it found, so that prints share one run whatever
/// matrices come and go in between, and OpenGL shows the application its own matrices
/// whenever the batch is not drawing. Where the pixel matrices are in force already, both
/// kinds share a run.
///
/// The batch sits on CRenderState and listens to it: every change of state that queued quads
/// depend on (a switch, the blend factors, the viewport, a texture binding or deletion, and for
/// quads placed under the matrices in force a matrix call) sends them first, so that callers
/// never send them by hand. A run is also sent when its texture or program changes, when the
/// placement of its corners does, before any program is bound through CShaderProgram, and when
/// it ends, the last one of a frame at the latest when the program swaps the buffers.
///
/// Quads wait in the array only where the engine knows that a flush will come: from the frame
/// step to the program's swap of the buffers, and between Begin2D and End2D. Anywhere else (a
/// loading screen before the first frame step, say) each quad is sent as soon as it is queued.
/// The program and the texture are set only when they differ from what the previous quad left,
/// and are put back only by Flush. The array grows to the longest run and then stays, so a
/// steady frame allocates nothing.
///
/// From a run's first draw to the next Flush, program 0 or its untinted build stays bound.
/// Begin2D, End2D, a font print that had to change the drawing state (in a 3D scene, say) and
/// the end of the frame step flush; an application that issues its own OpenGL calls right after
/// engine draws calls CGraphicsCore::FlushQuads first.
class CQuadBatch {
public:
    /// One corner of a quad: position in the current model-view's units (in viewport pixels
    /// after UseInPixels), then texture coordinates.
    struct Vertex {
        float x;  ///< Position, right.
        float y;  ///< Position, down in 2D.
        float s;  ///< Texture coordinate across the picture.
        float t;  ///< Texture coordinate down the picture (0 at its top row).
    };

    /// Makes the texture on unit 0 current and selects the program (bound with "colors" white
    /// at the run's next draw), touching only what differs from the state the previous quad
    /// left. Without @p withProgram the program bound stays as it is. @p untinted is the
    /// program's untinted build (0 for none), which draws a run whose quads are all opaque
    /// white in its place. A run of an @p opaque picture (one without alpha) whose quads' tints
    /// are all opaque too is drawn with blending off where that gives the same pixels.
    /// The quads that follow are placed under the matrices in force.
    static void Use(unsigned int texture, bool withProgram, unsigned int program,
                    unsigned int untinted, bool opaque = false);
    /// Use for quads placed in pixels of a viewport of that size, y down (a print's).
    static void UseInPixels(unsigned int texture, bool withProgram, unsigned int program,
                            unsigned int untinted, int width, int height);
    /// Queues one quad, corners in drawing order, tinted by rgba. Call Use first.
    static void Quad(const Vertex corners[4], const float rgba[4]);
    /// What Flush puts back, set by whoever drew last: a sprite leaves the current colour white
    /// and its picture bound; a print brings back the colour it found and texture 0.
    static void SetEndState(const float rgba[4], bool unbindTexture);
    /// The current colour as the application will see it once the run ends: the colour Flush
    /// will put back while a run is open, the current colour otherwise.
    static void ColorAfterRun(float rgba[4]);
    /// Sends the queued quads as one draw, leaving the run open.
    static void DrawPending();
    /// Whether quads queued now wait for the end of their run (CQuadBatch::Scope).
    static bool QuadsWait();
    /// Makes the run's program itself current again where a draw left its untinted build
    /// bound, for code that sets the program's uniforms while the run is open.
    static void RebindProgram();
    /// Ends the run: draws what is queued, unbinds the program and puts back the end state, as
    /// a single draw always left it, and forgets what was bound. Does nothing when no quad was
    /// queued since the last flush.
    static void Flush();
    /// Draws what is queued and forgets the program, for code that binds a program of its own.
    static void ForgetProgram();
    /// Why quads may wait: a frame is open (from the frame step to the swap), or 2D drawing is
    /// (from Begin2D to End2D).
    enum Scope { kFrame = 1, k2D = 2 };
    /// Opens or closes one of those scopes; once none is open, what is queued is sent.
    static void SetScope(Scope scope, bool open);
    /// Ends the run and closes the frame: what the program's swap of the buffers calls. The
    /// matrices go back to the application (CRenderState::HandMatricesBack).
    static void EndFrame();
    /// Draws what is queued and forgets what the batch knew of the program, whose uniforms may
    /// have moved; for a program about to be linked again under the same handle.
    static void ProgramRelinked(unsigned int program);
    /// Forgets the whole run without an OpenGL call, for when the context comes or goes, and
    /// listens to CRenderState from then on.
    static void Reset();

    /// Draws the batch has sent since the count was last taken, and clears the count; for
    /// tests and benchmarks that check how many draws a frame takes.
    static unsigned long TakeDrawCount();

private:
    // DrawPending, for a quad sent @p alone as it is queued or for a run.
    static void Draw(bool alone);
};
