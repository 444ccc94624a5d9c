// CGraphicsCore: owns SDL video and the OpenGL state the rest of the engine assumes: the
// window and context, the 2D (one unit per pixel, origin top left) and 3D set-ups, the sprite
// mouse cursor and the window caption. Its destructor is where SDL is shut down.
#pragma once

#include <SDL.h>

#include <string>

class CSprite;

class CGraphicsCore {
public:
    CGraphicsCore();
    ~CGraphicsCore();

    // Opens the window and the context, sets up 2D or 3D, then initialises GLEW. Throws a
    // std::string when SDL, the window, GLEW or the shader-object extension is not available.
    void SetVideoMode(int width, int height, int bpp, bool fullscreen, bool mode2D);
    void InitVideo(int width, int height, int bpp, bool fullscreen, bool mode2D);
    void ChooseVideoFlags(bool fullscreen);
    void Setup3D(int width, int height);

    // Begin2D pushes the projection and loads a pixel orthographic one; End2D pops both
    // matrices and sets the depth test back to less-or-equal.
    void Begin2D();
    void End2D();
    void Begin2DOverlay();
    void SetWireframe(bool on);

    void ShowCursor(bool show);
    // Loading a cursor again frees the sprite it replaces.
    void SetCursorImage(const std::string& file);
    void SetAltCursorImage(const std::string& file);
    void SetCursorImages(const std::string& file, const std::string& altFile);
    void UseAltCursor(bool alt);
    // Draws the current cursor sprite with its top-left corner at the mouse position.
    void DrawCursor();

    // Driver strings; empty while there is no context.
    const char* GetVendor() const;
    const char* GetRenderer() const;
    const char* GetVersion() const;
    void ReadExtensions();
    const std::string& GetExtensions() const { return m_extensions; }

    void SetCaption(const std::string& caption);
    std::string GetCaption() const { return m_caption; }
    bool Is3D() const { return m_is3D; }

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBpp() const { return m_bpp; }
    Uint32 GetVideoFlags() const { return m_videoFlags; }
    bool IsWireframe() const { return m_wireframe; }
    bool HasCustomCursor() const { return m_customCursor; }
    CSprite* GetCursor() const { return m_pCursor; }
    CSprite* GetAltCursor() const { return m_pAltCursor; }
    CSprite* GetCurrentCursor() const { return m_pCurrentCursor; }

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
};

extern CGraphicsCore* g_pGraphicsCore;
