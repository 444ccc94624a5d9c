/// @file
/// CRenderState: the OpenGL state and matrices the engine sets, and what it knows of them, so that
/// a frame need not ask the driver.
#pragma once

/// The OpenGL state that the engine's drawing changes and puts back: five switches (texturing,
/// depth test, lighting, scissor test, blending), the blend factors, the matrix mode, the
/// viewport, the current colour, the depth buffer's bits, the matrices, and the texture bindings
/// of code that fills textures.
///
/// A query (glGet, glIsEnabled) waits for the driver to catch up with everything sent before it;
/// in a browser it even waits for another process. So the engine answers from what it set
/// itself wherever it can:
///
/// - In a 2D window every value the engine sets through this class is known from then on, until
///   CGraphicsCore::FlushQuads announces OpenGL calls of the application's own (MarkStale). An
///   unknown value is read from OpenGL when asked, and stays unknown.
/// - In a 3D window the application draws its scene with its own OpenGL calls between the
///   engine's, so every question goes to OpenGL, as the engine always did.
/// - The depth buffer's bits are read once per context.
///
/// Setting a value the engine knows to be in force already sends nothing, unless forced; any
/// change first tells the listener (CQuadBatch, which sends the quads queued under the state in
/// force), so that no caller has to send them by hand.
///
/// The engine's matrix calls (loading, translating, orthographic and perspective set-ups, the
/// look-at, push and pop) go through here too: each reaches OpenGL as the same call, so the
/// matrices an application sees are the ones it always saw, and a CPU copy of both stacks
/// (CMatrixStack) follows it. The copy counts only in a 2D window, from the engine's own load to
/// the point where the application gets the matrices back (HandMatricesBack, FlushQuads, the
/// swap), because an application changes them with OpenGL calls of its own.
class CRenderState {
public:
    /// What is about to change, as the listener hears it.
    enum Change {
        kSwitches,  ///< a switch, the blend factors or the viewport
        kMatrices,  ///< the current matrix
        kTexture,   ///< the texture bound, or the texture unit, or a texture deleted
    };
    /// The one listener, told before every change (null for none).
    static void SetListener(void (*listener)(Change change));

    /// A new window and context of that size: nothing is known but its viewport (the whole
    /// window) and current colour (white), and those only for a 2D window.
    static void ContextCreated(int width, int height, bool mode2D);
    /// The context is gone: nothing is known, and no OpenGL call is made from here on.
    static void ContextLost();
    /// A number for the context that lives now, never the same for two; 0 while none does.
    /// What was made in one context is deleted only while that context lives.
    static unsigned int Context();
    /// The application is about to change OpenGL state itself: forget everything known.
    static void MarkStale();
    /// Whether values the engine sets are remembered (a 2D window) or always asked for.
    static bool Remembers();

    /// Whether texturing, the depth test, lighting, the scissor test or blending is on.
    static bool IsEnabled(unsigned int capability);
    /// Turns one of those five on or off; @p force sends the call even when known to hold.
    static void SetEnabled(unsigned int capability, bool on, bool force = false);
    /// The blend factors (glBlendFunc).
    /// @{
    static void GetBlendFunc(int* source, int* destination);
    static void SetBlendFunc(int source, int destination, bool force = false);
    /// @}
    /// Whether blending is known to be on with factors that leave a pixel of alpha 1 exactly as
    /// the program wrote it, so that opaque quads may be drawn with it off. Never asks OpenGL.
    static bool BlendKeepsOpaque();
    /// Whether a fragment of alpha 0 is known to leave its pixel exactly as it was: blending on
    /// with a source factor of the source alpha and a destination factor that keeps the pixel,
    /// no depth test, and the operations LearnFragmentOps reads at their defaults. Never asks
    /// OpenGL.
    static bool TransparentLeavesPixels();
    /// In a 2D window, where not known since the application last announced calls of its own:
    /// reads whether the alpha test, the stencil test and the colour logic operation are off and
    /// the blend equation adds (CPlatform::CanSkipTransparentFragments), the per-fragment
    /// operations that would see a transparent fragment and that the engine never sets. The 2D
    /// set-up calls it, so a steady frame asks nothing.
    static void LearnFragmentOps();
    /// The matrix stack that matrix calls go to (glMatrixMode).
    /// @{
    static int GetMatrixMode();
    static void SetMatrixMode(int mode, bool force = false);
    /// @}
    /// The viewport: x, y, width, height.
    /// @{
    static void GetViewport(int viewport[4]);
    static void SetViewport(int x, int y, int width, int height);
    /// @}
    /// The current colour (glColor).
    /// @{
    static void GetColor(float rgba[4]);
    static void SetColor(const float rgba[4]);
    /// Records a colour the engine has already sent itself (inside glBegin and glEnd, say).
    static void ColorSent(const float rgba[4]);
    /// @}
    /// The depth buffer's bits, 0 without one.
    static int DepthBits();

    /// The engine's matrix calls, on the stack the matrix mode selects: glLoadIdentity,
    /// glTranslatef, glRotatef, glOrtho, gluPerspective, gluLookAt, glPushMatrix, glPopMatrix.
    /// @{
    static void LoadIdentity();
    static void Translate(float x, float y, float z);
    static void Rotate(float degrees, float x, float y, float z);
    static void Ortho(double left, double right, double bottom, double top, double zNear,
                      double zFar);
    static void Perspective(double fovY, double aspect, double zNear, double zFar);
    static void LookAt(double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
                       double centerZ, double upX, double upY, double upZ);
    static void PushMatrix();
    static void PopMatrix();
    /// @}
    /// The application gets the matrices back: the copy no longer counts until the engine
    /// loads them again. Sends nothing.
    static void HandMatricesBack();
    /// The projection and model-view in force, where both are known from the CPU copy: true,
    /// with the two matrices (16 floats each, column by column); false, touching nothing, where
    /// only OpenGL knows them.
    static bool KnownMatrices(const float** projection, const float** modelView);
    /// Whether the pixel projection for a viewport of that size and an identity model-view are
    /// in force: from the CPU copy in a 2D window (false where it does not know them), asked of
    /// OpenGL in a 3D one.
    static bool PixelMatricesInForce(int width, int height);

    /// Binds @p texture to the active unit, for code that fills or binds a texture itself.
    static void BindTexture(unsigned int texture);
    /// Makes texture unit @p unit (0 for GL_TEXTURE0) active.
    static void ActiveTexture(int unit);
    /// Deletes the texture.
    static void DeleteTexture(unsigned int texture);
};
