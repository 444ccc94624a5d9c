/// @file
/// CRenderState: what the engine knows of OpenGL's state, so that a frame need not ask the driver.
#pragma once

/// The OpenGL state that the engine's 2D drawing changes and puts back: five switches (texturing,
/// depth test, lighting, scissor test, blending), the blend factors, the matrix mode, the
/// viewport, the current colour and the depth buffer's bits.
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
/// change first sends the engine's pending quads (CQuadBatch), which must still be drawn with the
/// state they were queued under.
class CRenderState {
public:
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

    /// Whether the pixel projection and an identity model-view are known to be in force, so that
    /// a print can draw without matrices of its own. Only the frame step knows this, between its
    /// own Begin2D and matrix changes; every other matrix change forgets it.
    /// @{
    static bool PixelMatrices();
    static void SetPixelMatrices(bool known);
    /// @}
};
