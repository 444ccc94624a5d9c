// CFontManager: holds the loaded fonts and hands them out by number, counting from 1. Video
// set-up loads the engine's font as number 1; everything that prints asks for it.
#pragma once

#include <vector>

class CFont;

class CFontManager {
public:
    CFontManager();
    // Destroys the fonts too; a font makes no OpenGL call once the context is gone.
    ~CFontManager();

    // Writes "Loading Font: " and the path, then loads; a picture that cannot be loaded ends
    // the process inside the font's Load.
    void LoadFont(const char* path);
    // Ownership passes to the manager.
    void AddFont(CFont* font);
    // Font number n, or the last font added when n is 0 or past the end; null when there is
    // no font at all.
    CFont* GetFont(unsigned int n) const;
    unsigned int GetFontCount() const { return fontCount; }

private:
    std::vector<CFont*> fonts;
    unsigned int fontCount;
};

extern CFontManager* g_pFontManager;
