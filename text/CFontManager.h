/// @file
/// CFontManager: the loaded fonts, handed out by number; declares g_pFontManager.
#pragma once

#include <vector>

class CFont;

/// Holds the loaded fonts and hands them out by number, counting from 1. Video set-up loads the
/// engine's font as number 1; everything that prints asks for it.
///
/// The engine creates the one instance (g_pFontManager) at start-up, with no font;
/// CEngine::SetVideoMode loads "Data/Font/font.tga" as font 1, so GetFont returns null before
/// it. Further fonts need the OpenGL context as well (after SetVideoMode). The manager owns
/// every font, those it loaded and those handed to AddFont, and deletes them at shutdown:
/// never delete a font you got from GetFont.
class CFontManager {
public:
    /// No font yet. Only engine start-up creates the manager; use g_pFontManager.
    CFontManager();
    /// Destroys the fonts too; a font makes no OpenGL call once the context is gone.
    ~CFontManager();

    /// Writes "Loading Font: " and the path, then loads; a picture that cannot be loaded ends
    /// the process inside the font's Load.
    ///
    /// The new font gets the next number (GetFontCount after the call).
    void LoadFont(const char* path);
    /// Ownership passes to the manager.
    ///
    /// The font gets the next number; load it before or after, as long as the context lives.
    void AddFont(CFont* font);
    /// Font number n, or the last font added when n is 0 or past the end; null when there is
    /// no font at all.
    CFont* GetFont(unsigned int n) const;
    /// Prints @p text as it is (a '%' prints as itself) with font 1 at (x, y), set 0; does
    /// nothing without a font. The GUI's tooltips go through here.
    void PrintLiteralAt(float x, float y, const char* text) const;
    /// The number of fonts held, which is also the number of the last one.
    unsigned int GetFontCount() const { return fontCount; }

private:
    std::vector<CFont*> fonts;
    unsigned int fontCount;
};

/// The font manager, created by engine start-up and deleted by shutdown; null outside the
/// engine's lifetime.
extern CFontManager* g_pFontManager;
