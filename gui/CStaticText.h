/// @file
/// CStaticText: a text label printed with font 1.
#pragma once

#include <string>

#include "math/CVector2.h"

/// A text label with a position, a colour, a glyph set and a scale, printed with font 1.
/// Windows own their labels and draw them relative to their top-left corner.
///
/// A label can be created any time, but it prints only once CEngine::SetVideoMode has loaded
/// font 1. Hand it to a window with CWindow::AddText (the window owns it from then on and
/// draws it in the frame step), or keep it, delete it yourself and draw it after the frame
/// step. Like all text it ignores the 2D camera.
class CStaticText {
public:
    /// "Static Text" in white at (0, 0), set 0, scale 1.
    CStaticText();
    /// The given text, otherwise as the default label.
    explicit CStaticText(const std::string& text);
    /// The given text at (x, y), otherwise as the default label.
    CStaticText(const std::string& text, float x, float y);
    /// The colour parameters are named in the order the font receives them: the second value
    /// is the blue component and the third the green one. Labels have always been coloured
    /// this way, so the order stays.
    CStaticText(const std::string& text, float x, float y, float red, float blue, float green,
                float alpha);

    /// The text, printed as it is ('%' included).
    /// @{
    std::string GetText() const { return text; }
    void SetText(const std::string& value) { text = value; }
    /// @}
    /// Same order as the constructor: red, blue, green, alpha.
    void SetColor(float red, float blue, float green, float alpha);
    /// Stored values in the order given; index 0 to 3.
    float GetColor(int index) const { return index >= 0 && index < 4 ? color[index] : 0.0f; }
    /// The font receives the set as an 8-bit signed value, so only 0 to 127 pass unchanged.
    ///
    /// The glyph set as CFont::PrintColored takes it: 0 and 1 plain, 2 and 3 bold.
    /// @{
    void SetFontSet(int set) { fontSet = set; }
    int GetFontSet() const { return fontSet; }
    /// @}
    /// The scale of the glyphs in x and y, 1 for their natural size.
    /// @{
    void SetScale(float sx, float sy);
    float GetScaleX() const { return scaleX; }
    float GetScaleY() const { return scaleY; }
    /// @}
    /// The position, relative to the window's top-left corner when drawn by a window.
    /// @{
    float GetX() const { return position.x; }
    float GetY() const { return position.y; }
    /// @}

    /// The point printed at is cut to whole pixels toward zero after the origin is added.
    ///
    /// Draw prints at the label's position, Draw (ox, oy) at the position offset by (ox, oy)
    /// (a window passes its top-left corner), DrawAt at (x, y) itself. Nothing is printed
    /// while there is no font.
    /// @{
    void Draw();
    void Draw(float ox, float oy);
    void DrawAt(float x, float y);
    /// @}

private:
    CVector2 position;
    float color[4];
    std::string text;
    int fontSet;
    float scaleX;
    float scaleY;
};
