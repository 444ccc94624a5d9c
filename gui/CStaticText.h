// CStaticText: a text label with a position, a colour, a glyph set and a scale, printed with
// font 1. Windows own their labels and draw them relative to their top-left corner.
#pragma once

#include <string>

#include "math/CVector2.h"

class CStaticText {
public:
    // "Static Text" in white at (0, 0), set 0, scale 1.
    CStaticText();
    explicit CStaticText(const std::string& text);
    CStaticText(const std::string& text, float x, float y);
    // The colour parameters are named in the order the font receives them: the second value
    // is the blue component and the third the green one. Labels have always been coloured
    // this way, so the order stays.
    CStaticText(const std::string& text, float x, float y, float red, float blue, float green,
                float alpha);

    std::string GetText() const { return text; }
    void SetText(const std::string& value) { text = value; }
    // Same order as the constructor: red, blue, green, alpha.
    void SetColor(float red, float blue, float green, float alpha);
    // Stored values in the order given; index 0 to 3.
    float GetColor(int index) const { return index >= 0 && index < 4 ? color[index] : 0.0f; }
    // The font receives the set as an 8-bit signed value, so only 0 to 127 pass unchanged.
    void SetFontSet(int set) { fontSet = set; }
    int GetFontSet() const { return fontSet; }
    void SetScale(float sx, float sy);
    float GetScaleX() const { return scaleX; }
    float GetScaleY() const { return scaleY; }
    float GetX() const { return position.x; }
    float GetY() const { return position.y; }

    // The point printed at is cut to whole pixels toward zero after the origin is added.
    void Draw();
    void Draw(float ox, float oy);
    void DrawAt(float x, float y);

private:
    CVector2 position;
    float color[4];
    std::string text;
    int fontSet;
    float scaleX;
    float scaleY;
};
