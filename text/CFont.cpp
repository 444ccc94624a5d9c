// CFont: placeholder until the TGA loader lands.
#include "text/CFont.h"

CFont::CFont() : base(0), scaleX(1.0f), scaleY(1.0f), color{1, 1, 1, 1}, shader(nullptr), text{} {}
CFont::~CFont() {}
bool CFont::Load(const char*) { return true; }
bool CFont::SetScale(float sx, float sy) { scaleX = sx; scaleY = sy; return true; }
void CFont::SetColor(float r, float g, float b, float a) { color[0] = r; color[1] = g; color[2] = b; color[3] = a; }
bool CFont::PrintColored(int, int, int, float, float, float, const char*, ...) { return true; }
bool CFont::Print(int, int, int, const char*, ...) { return true; }
bool CFont::PrintAt(float, float, int, const char*, ...) { return true; }
bool CFont::PrintScaled(int, int, int, float, float, float, float, float, float, const char*, ...) { return true; }
