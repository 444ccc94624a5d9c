// CFont: a bitmap font of 256 glyphs in a 16 x 16 grid of a TGA picture, one display list per
// glyph, printed with printf-style formats through shader program 0. A print sets up its own
// pixel projection, so text ignores the camera, and restores the state it changed.
#pragma once

#include <cstdarg>

#include "textures/CTgaImage.h"

const int GLYPH_COUNT = 256;
const int GLYPH_SIZE = 16;
const int GLYPH_ADVANCE = 12;
const int TEXT_CAPACITY = 152;

class CShaderProgram;

class CFont {
public:
    CFont();
    ~CFont();

    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Loads the picture and builds the display lists. A picture that cannot be loaded ends the
    // process (SDL_Quit, exit status 1) after the loader's message.
    bool Load(const char* path);
    bool SetScale(float sx, float sy);
    void SetColor(float r, float g, float b, float a);

    // Sets 0 and 1 are the two halves of the grid, 2 and 3 the same halves in bold. Formatted
    // text longer than TEXT_CAPACITY - 1 characters is cut. A null format prints nothing.
    bool PrintColored(int x, int y, int set, float r, float g, float b, const char* format, ...);
    bool Print(int x, int y, int set, const char* format, ...);
    bool PrintAt(float x, float y, int set, const char* format, ...);
    bool PrintScaled(int x, int y, int set, float r, float g, float b, float a, float sx, float sy,
                     const char* format, ...);

    unsigned int GetBase() const { return base; }
    const char* GetText() const { return text; }

private:
    // The one print procedure behind the four public ones; only PrintAt sets "tpos".
    void PrintFormatted(float x, float y, int set, const float rgba[4], float sx, float sy,
                        bool setTextPosition, const char* format, va_list args);
    void DrawPass(float x, float y, unsigned int listBase, const float rgba[4], float sx, float sy,
                  bool setTextPosition);

    unsigned int base;
    float scaleX;
    float scaleY;
    float color[4];
    CShaderProgram* shader;
    char text[TEXT_CAPACITY];
    CTgaImage image;
    // What a print changes, as it was when the print began. Kept in the object, so a font
    // must not print from inside its own print.
    int blendWasOn;
    int scissorWasOn;
    int textureWasOn;
    int lightingWasOn;
    int depthWasOn;
    int savedMatrixMode;
    int savedViewport[4];
    int savedBlendSrc;
    int savedBlendDst;
};
