// CFontManager: fonts by number.
#include "text/CFontManager.h"

#include <iostream>

#include "text/CFont.h"

CFontManager* g_pFontManager = nullptr;

CFontManager::CFontManager() : fontCount(0) {}

CFontManager::~CFontManager() {
    for (CFont* font : fonts) {
        delete font;
    }
    fonts.clear();
    fontCount = 0;
}

void CFontManager::LoadFont(const char* path) {
    CFont* font = new CFont();
    std::cout << "Loading Font: " << path << std::endl;
    font->Load(path);
    AddFont(font);
}

void CFontManager::AddFont(CFont* font) {
    fonts.push_back(font);
    ++fontCount;
}

CFont* CFontManager::GetFont(unsigned int n) const {
    if (fonts.empty()) {
        return nullptr;
    }
    if (n != 0 && n <= fontCount) {
        return fonts[n - 1];
    }
    return fonts[fontCount - 1];
}

void CFontManager::PrintLiteralAt(float x, float y, const char* text) const {
    if (CFont* font = GetFont(1)) {
        font->PrintAt(x, y, 0, "%s", text);
    }
}
