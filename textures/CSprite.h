/// @file
/// CSprite: one image file drawn as a textured quad.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "math/CVector2.h"

class CShaderProgram;

/// One image file as one OpenGL texture, drawn as a single quad with a position, a uniform
/// scale, a rotation and a colour through shader program 0. Applications own their sprites;
/// the texture manager only lists them.
///
/// Create sprites only after CEngine::SetVideoMode: loading makes the texture in the OpenGL
/// context and takes program 0 from the shader manager, both of which SetVideoMode provides.
/// Create them with new in CApp::Init and delete them in the application's destructor, which
/// runs while the engine is still alive. A sprite handed to a GUI window (CWindow::AddImage)
/// belongs to the window instead.
///
/// Drawing happens in screen pixels (x right, y down, origin top left) when done after the
/// frame step in 2D mode, and scrolls with the current 2D camera; call
/// CGraphicsCore::Begin2D / End2D around it in 3D mode. The colour (r, g, b, a) multiplies the
/// picture's own, so (1, 1, 1, 1) draws it unchanged.
class CSprite {
public:
    /// An unloaded sprite: texture 0, size 0 x 0; drawing it draws nothing.
    CSprite();
    /// Loads the file at once ("Loading Texture: " and, on failure, one error line).
    explicit CSprite(const std::string& fileName);
    /// Loads the file at once and sets the alpha that DrawWithAlpha uses.
    CSprite(const std::string& fileName, float alpha);
    /// Unregisters the sprite from the texture manager, so the registry never holds a destroyed
    /// sprite, and deletes its texture while the context it was made in lives (after the
    /// queued quads, which may show it, are drawn); after shutdown it makes no OpenGL call.
    ~CSprite();

    /// Not copyable: the sprite is registered with the texture manager by address, and it is
    /// the one holder of its texture.
    /// @{
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;
    /// @}

    /// Loads an image file (any format SDL_image reads) into a new texture and registers the
    /// sprite with the texture manager. A file that cannot be loaded leaves the sprite
    /// unloaded after one line on standard output, waiting for the file
    /// (CTextureManager::AddWaiting), which live reload loads once it can be read.
    void Load(const std::string& fileName);
    /// Uploads the surface as the sprite's texture, sets the size from it, frees the surface
    /// and registers the sprite. Null is ignored.
    void CreateTexture(SDL_Surface* surface);
    /// Reads the picture again (from fileName, which becomes the sprite's file name) into the
    /// same texture, so everything drawing this sprite or holding its texture shows the new
    /// picture; the size follows the picture as at load. A picture that cannot be read or
    /// decoded leaves the old one, after the loader's failure line. An unloaded sprite loads.
    /// Called by the texture manager's ReloadTextures; needs the OpenGL context.
    void Reload(const std::string& fileName);
    /// Reload for every sprite of the list from one reading of the file, with one
    /// "Reloading Texture: " line: each one's texture is filled with the same picture, and an
    /// unloaded one gets its texture and registers, as at load. A picture that cannot be read
    /// or decoded leaves every one as it was, after the loader's failure line. Live reload
    /// calls it for all the sprites of a changed file.
    static void ReloadAll(const std::string& fileName, const std::vector<CSprite*>& sprites);

    /// Binds the texture and, for a non-zero angle, turns the current matrix by the angle
    /// (degrees, about z) around (-hx, -hy), half the size of the area drawn.
    void ApplyRotation(float angle, float top, float right, float bottom, float left);

    /// No draw changes a matrix: the corners are placed (scaled, turned, moved) on the CPU and
    /// the quad is queued on the engine's quad path (CQuadBatch), under the current model-view.
    /// The tint (r, g, b, a) travels as the quad's vertex colour, which program 0 multiplies
    /// into the picture; after the run ends the current colour is white and the picture bound
    /// (see CGraphicsCore::FlushQuads).
    ///
    /// Draws the whole picture with its top-left corner at (x, y), scaled, turned by angle
    /// degrees and tinted by (r, g, b, a).
    void Draw(float x, float y, float scale, float angle, float r, float g, float b, float a);
    /// Like Draw, at the sprite's own position.
    void DrawAtPosition(float scale, float angle, float r, float g, float b, float a);
    /// Like Draw, with the sprite's own alpha (GetAlpha) as a.
    void DrawWithAlpha(float x, float y, float scale, float angle, float r, float g, float b);
    /// top and bottom count from the bottom of the picture, left and right from its left edge;
    /// the whole image is (1, 1, 0, 0).
    ///
    /// Draws that share of the picture, at that share of the size, with its top-left corner at
    /// (x, y).
    void DrawRegion(float x, float y, float top, float right, float bottom, float left, float scale,
                    float angle, float r, float g, float b, float a);
    /// Binds the texture to the texture unit (0 for GL_TEXTURE0) for a custom shader,
    /// enabling texturing there; the unit stays active.
    void BindToUnit(int unit);

    /// The drawn size in pixels (that of the picture after loading; windows resize their
    /// images), the alpha that DrawWithAlpha uses, and what Load produced.
    /// @{
    float GetWidth() const { return width; }
    float GetHeight() const { return height; }
    void SetWidth(float w) { width = w; }
    void SetHeight(float h) { height = h; }
    float GetAlpha() const { return alpha; }
    void SetAlpha(float a) { alpha = a; }
    unsigned int GetTexture() const { return texture; }
    const std::string& GetFileName() const { return fileName; }
    CShaderProgram* GetShader() const { return shader; }
    bool IsLoaded() const { return texture != 0; }
    /// @}

    /// The sprite's own position, used by DrawAtPosition; applications write it directly.
    CVector2 position;

private:
    // Deletes the texture, if the context it was made in lives, and leaves texture 0.
    void ReleaseTexture();
    // Fills the sprite's texture with the surface's picture and takes its size.
    void Upload(SDL_Surface* surface);
    // Fills the sprites' textures with the one picture, each level built once.
    static void UploadAll(const std::vector<CSprite*>& sprites, SDL_Surface* surface);
    // The one drawing path: the given area of the texture as a quad of that share of the size.
    void DrawArea(float x, float y, float top, float right, float bottom, float left, float scale,
                  float angle, float r, float g, float b, float a);

    unsigned int texture;
    unsigned int textureContext;  // CRenderState::Context() when the texture was made
    bool opaque;                  // the picture has no alpha channel
    std::string fileName;
    float width;
    float height;
    float alpha;
    CShaderProgram* shader;
};
