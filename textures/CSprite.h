// CSprite: one image file as one OpenGL texture, drawn as a single quad with a position, a
// uniform scale, a rotation and a colour through shader program 0. Applications own their
// sprites; the texture manager only lists them.
#pragma once

#include <SDL.h>

#include <string>

#include "math/CVector2.h"

class CShaderProgram;

class CSprite {
public:
    // An unloaded sprite: texture 0, size 0 x 0; drawing it draws nothing.
    CSprite();
    // Loads the file at once ("Loading Texture: " and, on failure, one error line).
    explicit CSprite(const std::string& fileName);
    CSprite(const std::string& fileName, float alpha);
    // Unregisters the sprite from the texture manager, so the registry never holds a destroyed
    // sprite; the texture itself lives as long as the context.
    ~CSprite();

    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    void Load(const std::string& fileName);
    void CreateTexture(SDL_Surface* surface);
    // Hook for the texture manager's ReloadTextures; a sprite keeps its texture.
    void Reload(const std::string& fileName);

    // Binds the texture and, for a non-zero angle, turns the current matrix by the angle
    // (degrees, about z) around (-hx, -hy), half the size of the area drawn.
    void ApplyRotation(float angle, float top, float right, float bottom, float left);

    // All draws work on the current matrix stack and restore it; the colour feeds "colors".
    void Draw(float x, float y, float scale, float angle, float r, float g, float b, float a);
    void DrawAtPosition(float scale, float angle, float r, float g, float b, float a);
    void DrawWithAlpha(float x, float y, float scale, float angle, float r, float g, float b);
    // top and bottom count from the bottom of the picture, left and right from its left edge;
    // the whole image is (1, 1, 0, 0).
    void DrawRegion(float x, float y, float top, float right, float bottom, float left, float scale,
                    float angle, float r, float g, float b, float a);
    void BindToUnit(int unit);

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

    // The sprite's own position, used by DrawAtPosition; applications write it directly.
    CVector2 position;

private:
    // The one drawing path: the given area of the texture as a quad of that share of the size.
    void DrawArea(float x, float y, float top, float right, float bottom, float left, float scale,
                  float angle, float r, float g, float b, float a);

    unsigned int texture;
    std::string fileName;
    float width;
    float height;
    float alpha;
    CShaderProgram* shader;
};
