/// @file
/// CUtils: frame timing, debug shapes and the BMP loader; declares g_pUtils.
#pragma once

#include <functional>
#include <string>

/// A decoded BMP: rows bottom-up, three bytes (red, green, blue) per pixel. Allocated with
/// malloc; free it with CUtils::FreeBMP.
struct BMPImage {
    /// Bytes per pixel, always 3.
    int components;
    /// Size in pixels.
    /// @{
    int width;
    int height;
    /// @}
    /// width x height x 3 bytes.
    unsigned char* data;
};

/// Frame timing (the frame time and the once-a-second frame rate written into the caption),
/// immediate-mode debug shapes for 3D scenes and a BMP texture loader.
///
/// The engine creates the one instance (g_pUtils) at start-up. The frame step calls UpdateFPS
/// once per frame while the frame-rate display is on (CEngine::ShowFPS), so the rate and the
/// frame time only advance then. The shapes and the BMP texture need the OpenGL context (after
/// CEngine::SetVideoMode).
class CUtils {
public:
    /// No rate measured yet. Only engine start-up creates the utils; use g_pUtils.
    CUtils();
    /// Nothing to release.
    ~CUtils();

    /// Called once per frame while the frame-rate display is on. Once a second the window
    /// caption becomes the caption source's text followed by GetFPSText.
    void UpdateFPS();
    /// Where UpdateFPS takes the caption it extends: engine start-up points it at the graphics
    /// core's caption. Without a source the rate alone is shown.
    void SetCaptionSource(std::function<std::string()> source);
    /// Frames counted in the last whole second measured; 0 until the first second.
    int GetFPS() const { return m_fps; }
    /// Seconds between the two most recent UpdateFPS calls.
    float GetFrameTime() const { return m_frameTime; }
    /// The text appended to the caption: " Current FPS: " and the rate.
    const char* GetFPSText() const { return m_fpsText; }

    /// Debug shapes drawn in immediate mode around (x, y, z) of the current matrix, with
    /// texturing turned off: a cube of six coloured faces two units wide, a grey 61-line grid
    /// in the x-z plane and a green unit quad. DrawAxes draws the x, y and z axes (red, green,
    /// blue, ten units long) from the origin.
    /// @{
    void DrawCube(float x, float y, float z);
    void DrawGrid(float x, float y, float z);
    void DrawQuad(float x, float y, float z);
    void DrawAxes();
    /// @}

    /// A mipmapped RGB texture from a BMP file; 0 on failure.
    ///
    /// The texture name belongs to the caller; it lives as long as the context.
    unsigned int LoadTextureBMP(const char* file);
    /// Null on failure, after one line on standard error (" Failed loading FILE : WHY", WHY also
    /// left as SDL's error). A path that is not a regular file, and a header whose picture the
    /// file cannot hold or SDL cannot size, are refused before SDL decodes anything.
    ///
    /// The image belongs to the caller: free it with FreeBMP. No OpenGL call.
    BMPImage* LoadBMP(const char* file);
    /// Frees an image from LoadBMP; null is ignored.
    static void FreeBMP(BMPImage* image);
    /// Exchanges two bytes.
    void SwapBytes(unsigned char* a, unsigned char* b);

private:
    int m_fps;
    float m_frameTime;
    char m_fpsText[20];
    std::function<std::string()> m_captionSource;
};

/// The utils, created by engine start-up and deleted by shutdown; null outside the engine's
/// lifetime.
extern CUtils* g_pUtils;
