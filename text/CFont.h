/// @file
/// CFont: a bitmap font printed with printf-style formats.
#pragma once

#include <cstdarg>

#include "textures/CTgaImage.h"

/// Glyphs in a font: a 16 x 16 grid.
const int GLYPH_COUNT = 256;
/// Width and height of a glyph's quad in pixels, at scale 1.
const int GLYPH_SIZE = 16;
/// Pixels from one glyph to the next, at scale 1.
const int GLYPH_ADVANCE = 12;
/// Size of the buffer one print formats into, the terminating NUL included.
const int TEXT_CAPACITY = 152;

class CShaderProgram;

/// A bitmap font of 256 glyphs in a 16 x 16 grid of a TGA picture, each glyph a textured quad,
/// printed with printf-style formats through shader program 0. A print sets up its own pixel
/// projection, so text ignores the camera, and restores the state it changed.
///
/// The engine's font is font 1 of the font manager, loaded by CEngine::SetVideoMode from
/// "Data/Font/font.tga": get it with `g_pFontManager->GetFont(1)` and print after the frame step,
/// before the swap. A font of your own must be loaded after SetVideoMode (it needs the context
/// and program 0); hand it to CFontManager::AddFont, which owns it from then on, or keep it and
/// delete it yourself. Coordinates are viewport pixels of the top-left corner of the text, y
/// downwards, whatever projection the scene uses.
class CFont {
public:
    /// Not loaded yet: white, scale 1.
    CFont();
    /// Frees memory only; the glyph texture lives as long as the context.
    ~CFont();

    /// Not copyable: the font owns its picture.
    /// @{
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    /// @}

    /// Loads the picture and takes program 0 from the shader manager. A picture that cannot be
    /// loaded ends the process (SDL_Quit, exit status 1) after the loader's message.
    ///
    /// Returns true whenever it returns. Needs the OpenGL context.
    bool Load(const char* path);
    /// The glyph scale in x and y used by Print, PrintColored and PrintAt (1 is the natural
    /// size); returns true.
    bool SetScale(float sx, float sy);
    /// The colour used by Print and PrintAt; it multiplies the glyph picture. White at first.
    void SetColor(float r, float g, float b, float a);

    /// Sets 0 and 1 are the two halves of the grid, 2 and 3 the same halves in bold. Formatted
    /// text longer than TEXT_CAPACITY - 1 characters is cut. A null format prints nothing.
    ///
    /// Each formats its arguments like printf and prints the text with its top-left corner at
    /// (x, y): PrintColored in the given colour (alpha 1), Print and PrintAt in the font's
    /// colour (PrintAt also hands the position to the shader's "tpos" uniform), PrintScaled in
    /// the given colour and scale for this print only. Pass text that is not a format through
    /// "%s", so that a '%' in it prints as itself. All return true.
    /// @{
    bool PrintColored(int x, int y, int set, float r, float g, float b, const char* format, ...);
    bool Print(int x, int y, int set, const char* format, ...);
    bool PrintAt(float x, float y, int set, const char* format, ...);
    bool PrintScaled(int x, int y, int set, float r, float g, float b, float a, float sx, float sy,
                     const char* format, ...);
    /// @}

    /// Always 0: text is drawn as quads, without display lists. Kept for programs written when
    /// glyphs were display lists. And the text of the last print.
    /// @{
    unsigned int GetBase() const { return base; }
    const char* GetText() const { return text; }
    /// @}

private:
    // The one print procedure behind the four public ones; only PrintAt sets "tpos".
    void PrintFormatted(float x, float y, int set, const float rgba[4], float sx, float sy,
                        bool setTextPosition, const char* format, va_list args);
    // One pass over the text in glyph set `set` (0 or 1), pen starting at (x, y).
    void DrawPass(float x, float y, int set, const float rgba[4], float sx, float sy);

    unsigned int base;
    float scaleX;
    float scaleY;
    float color[4];
    CShaderProgram* shader;
    char text[TEXT_CAPACITY];
    CTgaImage image;
};
