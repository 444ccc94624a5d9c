// CUtils: frame timing (the frame time and the once-a-second frame rate written into the
// caption), immediate-mode debug shapes for 3D scenes and a BMP texture loader.
#pragma once

// A decoded BMP: rows bottom-up, three bytes (red, green, blue) per pixel. Allocated with
// malloc; free it with CUtils::FreeBMP.
struct BMPImage {
    int components;
    int width;
    int height;
    unsigned char* data;
};

class CUtils {
public:
    CUtils();
    ~CUtils();

    // Called once per frame while the frame-rate display is on.
    void UpdateFPS();
    int GetFPS() const { return m_fps; }
    // Seconds between the two most recent UpdateFPS calls.
    float GetFrameTime() const { return m_frameTime; }
    const char* GetFPSText() const { return m_fpsText; }

    void DrawCube(float x, float y, float z);
    void DrawGrid(float x, float y, float z);
    void DrawQuad(float x, float y, float z);
    void DrawAxes();

    // A mipmapped RGB texture from a BMP file; 0 on failure.
    unsigned int LoadTextureBMP(const char* file);
    // Null on failure, after one line on standard error.
    BMPImage* LoadBMP(const char* file);
    static void FreeBMP(BMPImage* image);
    void SwapBytes(unsigned char* a, unsigned char* b);

private:
    int m_fps;
    float m_frameTime;
    char m_fpsText[20];
};

extern CUtils* g_pUtils;
