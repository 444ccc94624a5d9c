/// @file
/// CGraphicsCore: SDL video, the OpenGL context and state, the sprite cursor and the caption;
/// declares g_pGraphicsCore.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

class CSprite;

/// Owns SDL video and the OpenGL state the rest of the engine assumes: the window and context,
/// the 2D (one unit per pixel, origin top left) and 3D set-ups, the sprite mouse cursor and the
/// window caption. Its destructor is where SDL is shut down.
///
/// The engine creates the one instance (g_pGraphicsCore) at start-up without opening a window;
/// CEngine::SetVideoMode opens it. Applications use the cursor, caption and 2D operations after
/// that. The graphics core owns its cursor sprites. At shutdown it is destroyed first, so the
/// OpenGL context is gone before any other manager's destructor runs.
class CGraphicsCore {
public:
    /// No window yet: 1024 x 768 x 16 remembered, no cursor sprite, caption "Orvane Engine".
    /// Only engine start-up creates it; use g_pGraphicsCore.
    CGraphicsCore();
    /// Frees the cursor sprites and quits SDL (every subsystem, the window with its context
    /// included).
    ~CGraphicsCore();

    /// Opens the window and the context, sets up 2D or 3D, then initialises GLEW. Throws a
    /// std::string when SDL, the window, GLEW or the shader-object extension is not available.
    /// Applications call CEngine::SetVideoMode, which calls this and then loads the shaders and
    /// the font.
    void SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D);
    /// The SDL half of SetVideoMode: SDL video, the flags and attributes, the window, then
    /// Begin2D or Setup3D. Throws a std::string on an SDL failure, after a line on standard
    /// error when the X display is the reason (see CDisplayCheck).
    void InitVideo(int width, int height, int bpp, bool fullscreen, bool mode2D);
    /// Chooses the SDL video flags (OpenGL, full screen when asked, hardware surface and
    /// acceleration when offered) and sets the OpenGL attributes (double buffer; a depth
    /// buffer of bpp bits for a 3D window, none for a 2D one, whose drawing never tests depth).
    /// Throws a std::string when SDL cannot describe the video hardware.
    void ChooseVideoFlags(bool fullscreen);
    /// The 3D set-up: viewport, a 60-degree perspective from 1 to 4000 units, identity
    /// model-view, depth test on. Used by SetVideoMode when mode2D is false.
    void Setup3D(int width, int height);

    /// Begin2D saves the projection and loads a pixel orthographic one; End2D brings back what
    /// Begin2D (or Begin2DOverlay) saved and sets the depth test back to less-or-equal. A
    /// Begin2D while 2D is already begun only loads the pixel projection again, so the matrix
    /// stacks stay balanced however often the frame step and the application begin 2D.
    ///
    /// Begin2D also turns on blending, texturing and the scissor test and makes the depth test
    /// pass always, so 2D drawing covers what came before; the matrix mode is left at
    /// model-view. The frame step calls Begin2D itself; applications call the pair around
    /// extra 2D drawing. Both end a run of engine quads (see FlushQuads).
    void Begin2D();
    /// See Begin2D.
    void End2D();
    /// Saves both matrices and multiplies the model-view matrix by the pixel orthographic one;
    /// End2D closes it.
    void Begin2DOverlay();
    /// Ends the current run of engine quads. Between Begin2D and End2D (and in the frame step)
    /// sprites, GUI images, the cursor and text queue their quads, and a run goes to OpenGL as
    /// one draw when its texture or program changes or when it ends; program 0 stays bound and
    /// the current colour is undefined while it is open. Begin2D, End2D, the frame step and a
    /// font print that had to change the drawing state (in a 3D scene, say) end such a run
    /// themselves; a print in the plain 2D state joins it. Outside Begin2D and End2D each draw
    /// reaches OpenGL before it returns.
    ///
    /// Call FlushQuads before OpenGL calls of your own that follow engine calls: it ends the
    /// run, and tells the engine that the state it set (switches, blend factors, matrix mode,
    /// viewport, colour, matrices) may change, so that the next print reads the state in force
    /// instead of trusting what the engine last set:
    ///
    ///     sprite->Draw(10.0f, 10.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    ///     g_pGraphicsCore->FlushQuads();
    ///     glBegin(GL_LINES);  // your own drawing, through your own state
    ///     ...
    ///
    /// Afterwards the state is what a single draw always left: no program bound; after a sprite
    /// the current colour white and its texture bound on unit 0, after a print the colour the
    /// print found and texture 0. The matrices are the ones in force before the run: the frame
    /// step's pixel projection and camera offset, or what your own calls set (inside Begin2D,
    /// say); prints get their pixel matrices for their own draw only, so OpenGL holds yours even
    /// while their quads wait. In a 3D window the engine asks OpenGL for the state around every
    /// print, so a scene's own calls need no FlushQuads for that.
    void FlushQuads();
    /// Draws polygons as outlines (true) or filled (false).
    void SetWireframe(bool on);

    /// The picture being drawn: sends the queued quads (FlushQuads), then reads the back
    /// buffer, so call it before the program swaps the buffers. The window's pixels as RGBA,
    /// four bytes each, top row first; empty without a window. A program's own glReadPixels
    /// needs FlushQuads first for the same reason: queued quads are not in the buffer yet.
    std::vector<Uint8> ReadPixels();
    /// Writes what ReadPixels reads to @p path as a 24-bit BMP file. Returns false, after one
    /// line on standard output ("Failed to save the screenshot: PATH, Error: REASON"), when
    /// there is no window or the file cannot be written.
    bool SaveScreenshot(const std::string& path);

    /// Shows or hides the system mouse cursor.
    void ShowCursor(bool show);
    /// Loading a cursor again frees the sprite it replaces.
    ///
    /// Loads the sprite cursor that the frame step draws at the mouse position from then on,
    /// and hides the system cursor. Needs the window (after SetVideoMode); the graphics core
    /// owns the sprite.
    void SetCursorImage(const std::string& file);
    /// Loads the alternate cursor (movable GUI windows select it while the mouse is over their
    /// title bar). Loading it again frees the sprite it replaces; needs the window.
    void SetAltCursorImage(const std::string& file);
    /// Both cursors at once; the normal one is selected.
    void SetCursorImages(const std::string& file, const std::string& altFile);
    /// Selects the alternate cursor (true) or the normal one (false).
    void UseAltCursor(bool alt);
    /// Draws the current cursor sprite with its top-left corner at the mouse position.
    /// The frame step calls it while a cursor image is set.
    void DrawCursor();

    /// Driver strings; empty while there is no context.
    /// @{
    const char* GetVendor() const;
    const char* GetRenderer() const;
    const char* GetVersion() const;
    /// @}
    /// Reads the driver's extension string, which GetExtensions returns from then on (empty
    /// before, or without a context).
    void ReadExtensions();
    /// The string ReadExtensions read.
    const std::string& GetExtensions() const { return m_extensions; }

    /// Sets the window caption; while the frame rate is shown, the rate is appended to it
    /// about once a second.
    void SetCaption(const std::string& caption);
    /// The caption last set, without the frame rate.
    std::string GetCaption() const { return m_caption; }
    /// True when the video mode was set up for 3D (mode2D false).
    bool Is3D() const { return m_is3D; }

    /// The video mode and state as last set.
    /// @{
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBpp() const { return m_bpp; }
    Uint32 GetVideoFlags() const { return m_videoFlags; }
    bool IsWireframe() const { return m_wireframe; }
    /// @}
    /// The cursor sprites, owned by the graphics core (null while not loaded); HasCustomCursor
    /// tells whether a cursor image was set.
    /// @{
    bool HasCustomCursor() const { return m_customCursor; }
    CSprite* GetCursor() const { return m_pCursor; }
    CSprite* GetAltCursor() const { return m_pAltCursor; }
    CSprite* GetCurrentCursor() const { return m_pCurrentCursor; }
    /// @}

private:
    Uint32 m_videoFlags;
    int m_width;
    int m_height;
    int m_bpp;
    CSprite* m_pCursor;
    bool m_customCursor;
    CSprite* m_pAltCursor;
    CSprite* m_pCurrentCursor;
    bool m_hasAltCursor;
    std::string m_caption;
    std::string m_extensions;
    bool m_wireframe;
    bool m_is3D;
    // What Begin2D and Begin2DOverlay pushed, so End2D pops exactly that.
    bool m_projectionPushed;
    bool m_modelViewPushed;

    // The 2D drawing state and the pixel projection, loaded into the current projection.
    void Setup2DState();
};

/// The graphics core, created by engine start-up and deleted (first) by shutdown; null outside
/// the engine's lifetime.
extern CGraphicsCore* g_pGraphicsCore;
