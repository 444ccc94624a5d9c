// CStaticText: printing a label through font 1 with its colour, set and scale.
#include "gui/CStaticText.h"

#include "text/CFont.h"
#include "text/CFontManager.h"

CStaticText::CStaticText() : CStaticText("Static Text") {}

CStaticText::CStaticText(const std::string& value)
    : color{1.0f, 1.0f, 1.0f, 1.0f}, text(value), fontSet(0), scaleX(1.0f), scaleY(1.0f) {}

CStaticText::CStaticText(const std::string& value, float x, float y) : CStaticText(value) {
    position = CVector2(x, y);
}

CStaticText::CStaticText(const std::string& value, float x, float y, float red, float blue,
                         float green, float alpha)
    : CStaticText(value, x, y) {
    SetColor(red, blue, green, alpha);
}

void CStaticText::SetColor(float red, float blue, float green, float alpha) {
    color[0] = red;
    color[1] = blue;
    color[2] = green;
    color[3] = alpha;
}

void CStaticText::SetScale(float sx, float sy) {
    scaleX = sx;
    scaleY = sy;
}

void CStaticText::Draw() {
    DrawAt(position.x, position.y);
}

void CStaticText::Draw(float ox, float oy) {
    DrawAt(position.x + ox, position.y + oy);
}

void CStaticText::DrawAt(float x, float y) {
    CFont* font = g_pFontManager != nullptr ? g_pFontManager->GetFont(1) : nullptr;
    if (font == nullptr) {
        return;
    }
    // The text goes through "%s" so that a '%' in a label prints as itself.
    font->PrintScaled(static_cast<int>(x), static_cast<int>(y), static_cast<signed char>(fontSet),
                      color[0], color[2], color[1], color[3], scaleX, scaleY, "%s", text.c_str());
}
