/// @file
/// CPlatform: everything that differs between the desktop and the browser build.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include <SDL_mixer.h>

struct SDL_RWops;
struct SDL_Surface;

/// The one place where the desktop and the browser (WebAssembly over WebGL 1) part ways. The
/// rest of the engine calls these functions and stays the same on both. Each platform has its
/// own source, platform/desktop/CPlatform.cpp or platform/browser/CPlatform.cpp, and the build
/// compiles the one for its target; no source tests which platform it is on. It needs nothing
/// of the engine, so every folder may use it.
///
/// - The frame loop: a desktop program runs its own loop until it ends; a page must hand control
///   back to the browser after every frame.
/// - Pictures: the browser's SDL keeps a surface's pixels and colour key differently.
/// - Key codes: the browser's SDL numbers the keys without a character (arrows, function keys,
///   modifiers, keypad) differently from SDL 1.2; the engine's key table always counts in
///   SDL 1.2's numbers.
/// - The pointer: a page cannot move the mouse, so after a warp the engine follows the mouse's
///   movement instead of its place; hiding it is a matter of the canvas's style.
/// - Shader sources: WebGL wants no `#version` line and lacks the fixed-function light and
///   normal-matrix variables, which the browser build supplies as uniforms of its own.
/// - OpenGL: what WebGL 1 and emscripten's emulation of fixed-function OpenGL lack or get wrong
///   (immediate mode's current values, 32-bit indices, lights, GLU's matrices and more), the
///   browser build supplies itself (CBrowserGL), so the engine's OpenGL calls stay as they are.
class CPlatform {
public:
    /// Runs a program's frames and then @p done, which returns the program's exit status. On
    /// the desktop @p loop runs them itself and returns after the last one. In the browser
    /// @p frame runs once per displayed frame, with the browser in control in between, until it
    /// returns false; this call then returns at once, and @p done runs later, after that last
    /// frame, and the page learns whether the program ended or stopped on a failure.
    static void RunFrames(const std::function<void()>& loop, const std::function<bool()>& frame,
                          const std::function<int()>& done);

    /// Starts SDL's event thread, which the desktop's SDL 1.2 offers and a page's event loop
    /// makes unnecessary. False when SDL refuses (SDL_GetError says why).
    static bool StartEventThread();

    /// The key table's slot for an SDL key symbol as this build's SDL reports it: SDL 1.2's
    /// number for that key, or -1 for a key SDL 1.2 does not know.
    static int KeySlot(int symbol);

    /// SDL's table of the keys held now, indexed by this build's SDL key symbols (SDLK_...),
    /// as SDL_GetKeyState(nullptr) gives it on the desktop.
    static const unsigned char* HeldKeys();

    /// Where the pointer is, in window pixels from the top left, and the mouse buttons held
    /// (SDL_GetMouseState's mask). Use it instead of SDL_GetMouseState, so a warp counts.
    static unsigned int GetPointer(int* x, int* y);
    /// Puts the pointer at (x, y). On the desktop it really moves. A page cannot move the mouse:
    /// there the position reported from then on is (x, y) plus the mouse's movement since, so
    /// that mouse look works the same, and a click on the canvas captures the mouse, so that it
    /// turns the view without ever leaving the page.
    static void WarpPointer(int x, int y);
    /// Shows or hides the system's mouse pointer over the window (the canvas in a page).
    static void ShowPointer(bool show);

    /// Makes a surface's pixels readable and writable through its pixels pointer, and ends
    /// that again. SDL 1.2 may need a lock; the browser's SDL already keeps the pixels of
    /// loaded and created surfaces in memory (and a lock would read them back from a canvas
    /// that it has freed).
    /// @{
    static void LockPixels(SDL_Surface* surface);
    static void UnlockPixels(SDL_Surface* surface);
    /// @}
    /// Whether the surface has a colour key (the one colour drawn transparent), and which
    /// pixel value it is. SDL 1.2 keeps it in the pixel format, the browser's SDL elsewhere.
    static bool GetColorKey(const SDL_Surface* surface, unsigned int* key);

    /// An SDL stream over @p file, which the caller opened from @p path and hands over: it is
    /// closed with the stream, or at once when no stream results (SDL_GetError says why). On the
    /// desktop the stream reads that very file, so nothing swapped in at the path since it was
    /// opened is read. The browser's decoders find pictures and sounds by name, decoded while the
    /// page loaded, so there the stream names the path again; a page's files live in memory,
    /// where nothing can be swapped in or block.
    static SDL_RWops* FileStream(std::FILE* file, const char* path);
    /// IMG_Load and Mix_LoadMUS over a file opened as for FileStream (the type guessed from the
    /// path's extension first, as those do); null when SDL cannot decode it (SDL_GetError,
    /// Mix_GetError).
    /// @{
    static SDL_Surface* LoadPicture(std::FILE* file, const char* path);
    static Mix_Music* LoadMusic(std::FILE* file, const char* path);
    /// @}
    /// Writes the surface to @p path as a BMP file: empty when it worked, otherwise why not.
    /// SDL writes it on the desktop; the browser's SDL cannot.
    static std::string SaveBmp(SDL_Surface* surface, const char* path);

    /// Why no window can be opened for want of a display server: on the desktop "DISPLAY is
    /// unset" or "the X server of DISPLAY=NAME cannot be reached"; empty when the server
    /// answers (or Xlib cannot be loaded to ask it), and always in a page, whose canvas is there.
    /// No X server is needed where SDL is to use Wayland: SDL_VIDEODRIVER=wayland, or no driver
    /// named and only WAYLAND_DISPLAY set with SDL 2 underneath (sdl12-compat).
    static std::string DisplayServerProblem();
    /// The video driver the user named in SDL_VIDEODRIVER, or empty. On the desktop an x11 that
    /// sdl12-compat set there itself, on finding GLEW in the program, is not the user's.
    static std::string VideoDriverNamed();
    /// Starts SDL's video (SDL_Init); false when SDL refuses (SDL_GetError says why). Where the
    /// user named no driver in SDL_VIDEODRIVER, the desktop names one for this start: x11 where
    /// DISPLAY is set, so that a failure at the X server is a failure and not SDL 1.2's fall
    /// into a text-mode driver, and wayland where only WAYLAND_DISPLAY is set and SDL 2 is
    /// underneath. On sdl12-compat a window that is not @p fullscreen draws straight into its own
    /// framebuffer, as on SDL 1.2. What the user set in the environment stays as it was.
    static bool StartVideo(bool fullscreen);
    /// Sets up GLEW's OpenGL entry points for the current context and returns GLEW's status
    /// (GLEW_OK). The desktop needs nothing of GLX, which an EGL context (SDL 2 on Wayland) lacks.
    static unsigned int StartGLEW();
    /// Why the window has no OpenGL context (a browser that offers no WebGL), or empty. The
    /// desktop's SDL fails to open such a window instead and says why itself.
    static std::string GLContextProblem();

    /// Adapts a GLSL source read from a file to the build's OpenGL: unchanged on the desktop;
    /// for WebGL the `#version` line is blanked (line numbers stay) and the fixed-function
    /// light source, light model and normal matrix become the uniforms BindProgram sets.
    static std::string AdaptShaderSource(const std::string& source);
    /// Draws quads through @p program (bound already) from @p vertexCount vertices, four a quad
    /// in drawing order. @p corners holds four floats a vertex: a 2D position, then texture
    /// coordinates (unit 0). @p colors holds an RGBA float colour a vertex, or is null when every
    /// vertex has the colour @p tint: a run of one tint (a sprite field, a print) then sends half
    /// the bytes, which is what a software rasteriser behind a browser pays for most. At most
    /// 16,384 quads at a time. The application's own vertex arrays and buffers stay as they were.
    /// @p projection and @p modelView (16 floats each, column by column) are the matrices in
    /// force, or null where the engine does not know them.
    ///
    /// The desktop hands the arrays to OpenGL as client-side arrays of quads, the primitive the
    /// engine has always drawn them with, under OpenGL's own matrices. WebGL has no quads: the
    /// browser streams the vertices into a buffer of the engine's own, draws two indexed
    /// triangles a quad and feeds the program's attributes and matrices itself (those given, or
    /// else the emulation's), so the draw never passes through the emulation of immediate mode.
    static void DrawQuadArrays(unsigned int program, const float* corners, const float* colors,
                               const float tint[4], int vertexCount, const float* projection,
                               const float* modelView);
    /// Whether SkipTransparentFragments may drop fragments of alpha 0 unseen: on the desktop,
    /// asked of OpenGL, whether the alpha test (with its default function and reference), the
    /// stencil test and the colour logic operation are off and both blend equations add. False
    /// in the browser: WebGL has no alpha test.
    static bool CanSkipTransparentFragments();
    /// Drops fragments of alpha 0 before they reach the framebuffer (on, through the alpha
    /// test), or lets every fragment through again with the alpha test at its defaults (off).
    static void SkipTransparentFragments(bool on);
    /// Forgets where DrawQuadArrays found the program's inputs, for a program linked again.
    static void ForgetQuadInputs(unsigned int program);
    /// What must happen before a frame is shown: the engine sends its queued quads. On the
    /// desktop the program shows a frame with SDL_GL_SwapBuffers, which the engine's library
    /// provides in front of SDL's own, so that a program that draws and then swaps needs no
    /// call of the engine's in between; in the browser the frame is shown when the frame step
    /// returns to the browser, and @p hook runs right before.
    static void SetBeforeSwap(void (*hook)());
    /// Uniform values of the types beyond those of the shader-object calls (unsigned ints and
    /// their vectors, matrices that are not square, doubles): reads the value of @p program's
    /// uniform at @p location into @p value, which has room for 16 doubles, or sets the current
    /// program's from it. False, touching nothing, for any other type and where OpenGL lacks
    /// the type (WebGL 1 has none of them).
    /// @{
    static bool GetWideUniform(unsigned int program, int location, unsigned int type, void* value);
    static bool SetWideUniform(int location, unsigned int type, const void* value);
    /// @}
    /// Makes the program current (0: none) and, in the browser, gives it the light state that
    /// the fixed-function variables of its source would have read.
    static void BindProgram(unsigned int program);
};
