// The bitmap font and the font manager, drawn for real and read back. Two pictures are used:
// tests/data/font/cells.tga, one flat colour per cell (red and green tell the column and row,
// blue 255, alpha 128), which shows which cell was drawn and how often; and the engine's own
// Data/Font/font.tga, whose drawn glyphs are compared with the coverage stored in the picture.
#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/CEngine.h"
#include "support/TestSupport.h"
#include "graphics/CGraphicsCore.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CTgaImage.h"

using orvane_test::EngineTest;
using orvane_test::ReadPixel;
using orvane_test::Rgba;
using orvane_test::StreamCapture;

namespace {

const char* const kCellFont = "tests/data/font/cells.tga";
const double kCellAlpha = 128.0 / 255.0;

// A channel of a cell drawn once, or twice, over black with the cell font's half alpha.
int Once(int channel) {
    return static_cast<int>(std::lround(channel * kCellAlpha));
}
int Twice(int channel) {
    return static_cast<int>(std::lround(channel * kCellAlpha + Once(channel) * (1 - kCellAlpha)));
}

// The flat colour of glyph g in the cell font, drawn once or twice.
Rgba CellColour(int glyph, bool twice = false) {
    int r = 16 * (glyph % 16) + 8;
    int g = 16 * (glyph / 16) + 8;
    if (twice) {
        return Rgba{Twice(r), Twice(g), Twice(255), 0};
    }
    return Rgba{Once(r), Once(g), Once(255), 0};
}

::testing::AssertionResult ColourNear(int x, int y, Rgba expected, int tolerance = 3) {
    Rgba p = ReadPixel(x, y);
    if (std::abs(p.r - expected.r) <= tolerance && std::abs(p.g - expected.g) <= tolerance &&
        std::abs(p.b - expected.b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << p.r << ", " << p.g << ", " << p.b
           << "), expected (" << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

// Blue is 255 in every cell, so it measures coverage even where filtering mixes two cells.
::testing::AssertionResult BlueNear(int x, int y, int expected, int tolerance = 3) {
    int blue = ReadPixel(x, y).b;
    if (std::abs(blue - expected) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "blue of (" << x << ", " << y << ") is " << blue << ", expected " << expected;
}

// The engine's font picture, decoded without a context.
class FontPicture {
public:
    FontPicture() {
        StreamCapture quiet;
        ok_ = image_.Decode(std::fopen("Data/Font/font.tga", "rb"), "Data/Font/font.tga");
    }
    bool Ok() const {
        return ok_ && image_.GetWidth() == 256 && image_.GetHeight() == 256 &&
               image_.GetBitsPerPixel() == 32;
    }
    // Alpha of picture row `row` counted from the bottom (file order), column `col`.
    int Alpha(int row, int col) const {
        return image_.GetPixels()[(static_cast<size_t>(row) * 256 + col) * 4 + 3];
    }
    // What glyph g leaves at pixel (px, py) of its 16 x 16 quad when drawn white over black:
    // columns hit texel centres exactly, rows are filtered between two texels because the
    // cell's top edge is pulled in by 0.001.
    double Expected(int glyph, int px, int py) const {
        double cy = (glyph / 16) / 16.0;
        double top = 1.0 - cy - 0.001;
        double bottom = 1.0 - cy - 0.0625;
        double t = top + (py + 0.5) / 16.0 * (bottom - top);
        double v = t * 256.0 - 0.5;
        int r0 = static_cast<int>(std::floor(v));
        double w = v - r0;
        int col = (glyph % 16) * 16 + px;
        return Alpha(r0, col) * (1.0 - w) + Alpha(r0 + 1, col) * w;
    }
    double Ink(int glyph) const {
        double sum = 0;
        for (int py = 0; py < 16; ++py) {
            for (int px = 0; px < 16; ++px) {
                sum += Expected(glyph, px, py);
            }
        }
        return sum;
    }

private:
    CTgaImage image_;
    bool ok_ = false;
};

// Compares the drawn text at (x, y) with the glyphs of `text` in `set` (0 or 1), each glyph
// taking the 12 columns of its pen advance; the picture keeps every glyph's ink inside them.
// Returns the number of pixels further off than the tolerance.
int CountMismatches(const FontPicture& picture, int x, int y, const std::string& text, int set,
                    std::string* first) {
    int bad = 0;
    for (size_t k = 0; k < text.size(); ++k) {
        int glyph = static_cast<unsigned char>(text[k]) - 32 + 128 * set;
        for (int py = 0; py < 16; ++py) {
            for (int px = 0; px < 12; ++px) {
                double expected = picture.Expected(glyph, px, py);
                int sx = x + static_cast<int>(k) * 12 + px;
                Rgba p = ReadPixel(sx, y + py);
                if (std::fabs(p.r - expected) > 5 || std::fabs(p.b - expected) > 5) {
                    if (bad++ == 0 && first != nullptr) {
                        *first = "pixel (" + std::to_string(sx) + ", " + std::to_string(y + py) +
                                 ") is " + std::to_string(p.r) + ", expected " +
                                 std::to_string(expected);
                    }
                }
            }
        }
    }
    return bad;
}

// Every capability and binding a print may touch, to compare before and after.
struct GlState {
    GLboolean depth, blend, texture, scissor, lighting;
    GLint blendSrc, blendDst, matrixMode, boundTexture, program, activeUnit;
    GLint viewport[4];
    GLfloat modelView[16], projection[16];

    static GlState Read() {
        GlState s;
        s.depth = glIsEnabled(GL_DEPTH_TEST);
        s.blend = glIsEnabled(GL_BLEND);
        s.texture = glIsEnabled(GL_TEXTURE_2D);
        s.scissor = glIsEnabled(GL_SCISSOR_TEST);
        s.lighting = glIsEnabled(GL_LIGHTING);
        glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
        glGetIntegerv(GL_BLEND_DST, &s.blendDst);
        glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.boundTexture);
        glGetIntegerv(GL_CURRENT_PROGRAM, &s.program);
        glGetIntegerv(GL_ACTIVE_TEXTURE, &s.activeUnit);
        glGetIntegerv(GL_VIEWPORT, s.viewport);
        glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView);
        glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
        return s;
    }
};

void ExpectSameCapabilitiesAndMatrices(const GlState& before, const GlState& after) {
    EXPECT_EQ(before.depth, after.depth);
    EXPECT_EQ(before.blend, after.blend);
    EXPECT_EQ(before.texture, after.texture);
    EXPECT_EQ(before.scissor, after.scissor);
    EXPECT_EQ(before.lighting, after.lighting);
    EXPECT_EQ(before.blendSrc, after.blendSrc);
    EXPECT_EQ(before.blendDst, after.blendDst);
    EXPECT_EQ(before.matrixMode, after.matrixMode);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(before.viewport[i], after.viewport[i]);
    }
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before.modelView[i], after.modelView[i]) << "model-view element " << i;
        EXPECT_EQ(before.projection[i], after.projection[i]) << "projection element " << i;
    }
}

class FontTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        StreamCapture quiet;
        cells_.reset(new CFont());
        cells_->Load(kCellFont);
        ClearFrame();
    }
    void TearDown() override {
        cells_.reset();
        EngineTest::TearDown();
    }

    std::unique_ptr<CFont> cells_;
};

class EngineFontTest : public EngineTest {};

}  // namespace

TEST_F(FontTest, LetterAInTheFirstTwoSetsDrawsGlyph33And161AtThePen) {
    EXPECT_TRUE(cells_->Print(100, 200, 0, "A"));
    EXPECT_STREQ("A", cells_->GetText());
    // Glyph 33: column 1, row 2 of the grid; its 16 x 16 quad has its top-left at the pen.
    EXPECT_TRUE(ColourNear(108, 208, CellColour(33)));
    EXPECT_TRUE(ColourNear(102, 202, CellColour(33)));
    EXPECT_TRUE(ColourNear(113, 213, CellColour(33)));
    EXPECT_TRUE(BlueNear(100, 200, Once(255)));
    EXPECT_TRUE(BlueNear(115, 215, Once(255)));
    EXPECT_TRUE(BlueNear(99, 208, 0));
    EXPECT_TRUE(BlueNear(116, 208, 0));
    EXPECT_TRUE(BlueNear(108, 199, 0));
    EXPECT_TRUE(BlueNear(108, 216, 0));

    cells_->Print(300, 200, 1, "A");
    EXPECT_TRUE(ColourNear(308, 208, CellColour(161)));

    // Space is the first cell; byte 159 the last glyph of set 0.
    cells_->Print(500, 200, 0, " \x9f");
    EXPECT_TRUE(ColourNear(506, 208, CellColour(0)));
    EXPECT_TRUE(ColourNear(521, 208, CellColour(127)));
}

TEST_F(FontTest, GlyphsStandTwelvePixelsApartAndOverlapByFour) {
    cells_->Print(100, 300, 0, "ABC");
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(ColourNear(100 + 12 * k + 6, 308, CellColour(33 + k))) << "glyph " << k;
    }
    // Columns 12 to 15 of a quad lie under the next glyph too.
    EXPECT_TRUE(BlueNear(111, 308, Once(255)));
    EXPECT_TRUE(BlueNear(112, 308, Twice(255)));
    EXPECT_TRUE(BlueNear(115, 308, Twice(255)));
    EXPECT_TRUE(BlueNear(116, 308, Once(255)));
    EXPECT_TRUE(BlueNear(139, 308, Once(255)));
    EXPECT_TRUE(BlueNear(140, 308, 0));
}

TEST_F(FontTest, BoldSetsDrawTheirHalfTwiceOnePixelApart) {
    cells_->Print(100, 400, 2, "A");
    EXPECT_TRUE(BlueNear(99, 408, 0));
    EXPECT_TRUE(BlueNear(100, 408, Once(255)));
    EXPECT_TRUE(BlueNear(101, 408, Twice(255)));
    EXPECT_TRUE(BlueNear(115, 408, Twice(255)));
    EXPECT_TRUE(BlueNear(116, 408, Once(255)));
    EXPECT_TRUE(BlueNear(117, 408, 0));
    EXPECT_TRUE(ColourNear(108, 408, CellColour(33, true)));

    cells_->Print(300, 400, 3, "A");
    EXPECT_TRUE(ColourNear(308, 408, CellColour(161, true)));
    EXPECT_TRUE(BlueNear(316, 408, Once(255)));

    // PrintAt takes the same two passes (and sets "tpos" in the second).
    cells_->PrintAt(500.0f, 400.0f, 2, "A");
    EXPECT_TRUE(ColourNear(508, 408, CellColour(33, true)));
    EXPECT_TRUE(BlueNear(500, 408, Once(255)));
    EXPECT_TRUE(BlueNear(516, 408, Once(255)));
}

TEST_F(FontTest, ColourAndScaleComeFromTheOperationUsed) {
    cells_->PrintColored(100, 100, 0, 1.0f, 0.0f, 1.0f, "A");
    Rgba expected = CellColour(33);
    expected.g = 0;
    EXPECT_TRUE(ColourNear(108, 108, expected));

    cells_->SetColor(0.0f, 1.0f, 1.0f, 1.0f);
    cells_->Print(200, 100, 0, "A");
    expected = CellColour(33);
    expected.r = 0;
    EXPECT_TRUE(ColourNear(208, 108, expected));

    // Double size: 32 x 32 quads, 24 pixels apart.
    cells_->PrintScaled(300, 100, 0, 1.0f, 1.0f, 1.0f, 1.0f, 2.0f, 2.0f, "AB");
    EXPECT_TRUE(ColourNear(312, 116, CellColour(33)));
    EXPECT_TRUE(ColourNear(340, 116, CellColour(34)));
    EXPECT_TRUE(BlueNear(355, 131, Once(255)));
    EXPECT_TRUE(BlueNear(356, 116, 0));
    EXPECT_TRUE(BlueNear(330, 132, 0));

    cells_->SetScale(1.0f, 3.0f);
    cells_->Print(400, 100, 0, "A");
    EXPECT_TRUE(BlueNear(408, 147, Once(255)));
    EXPECT_TRUE(BlueNear(408, 148, 0));
}

TEST_F(FontTest, TextIgnoresTheModelViewTransformInForce) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(200.0f, 100.0f, 0.0f);
    glScalef(3.0f, 3.0f, 1.0f);
    GlState before = GlState::Read();
    cells_->Print(100, 500, 0, "A");
    EXPECT_TRUE(ColourNear(108, 508, CellColour(33)));
    EXPECT_TRUE(BlueNear(308, 608, 0));
    EXPECT_TRUE(BlueNear(116, 508, 0));
    ExpectSameCapabilitiesAndMatrices(before, GlState::Read());
}

TEST_F(FontTest, APrintRestoresTheStateItChanged) {
    // Depth on, blending off, an unusual blend function, texturing and scissor off, lighting
    // on, the projection matrix selected; announced to the engine as its own calls must be.
    g_pGraphicsCore->FlushQuads();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
    glEnable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    GlState before = GlState::Read();
    cells_->Print(100, 600, 2, "Hi");
    GlState after = GlState::Read();
    ExpectSameCapabilitiesAndMatrices(before, after);
    EXPECT_EQ(0, after.boundTexture);
    EXPECT_EQ(0, after.program);
    // It still drew, blended, with lighting and depth testing out of the way.
    EXPECT_TRUE(ColourNear(108, 608, CellColour('H' - 32, true)));

    // And the other way round.
    ClearFrame();
    g_pGraphicsCore->FlushQuads();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_SCISSOR_TEST);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_MODELVIEW);
    before = GlState::Read();
    cells_->PrintAt(100.0f, 600.0f, 0, "Hi");
    ExpectSameCapabilitiesAndMatrices(before, GlState::Read());
    EXPECT_TRUE(ColourNear(108, 608, CellColour('H' - 32)));
}

TEST_F(FontTest, PrintsInAFrameShareTheirMatricesUntilFlushQuads) {
    // Lines printed in a frame wait under one pair of matrices of their own; the application's
    // OpenGL after FlushQuads sees its own again.
    engine_->Update();
    g_pGraphicsCore->FlushQuads();
    glTranslatef(200.0f, 100.0f, 0.0f);
    GlState before = GlState::Read();
    cells_->Print(100, 500, 0, "A");
    cells_->Print(100, 540, 0, "A");
    g_pGraphicsCore->FlushQuads();
    ExpectSameCapabilitiesAndMatrices(before, GlState::Read());
    EXPECT_TRUE(ColourNear(108, 508, CellColour(33)) && ColourNear(108, 548, CellColour(33)));
}

TEST_F(FontTest, ANullFormatDrawsNothingAndTouchesNoState) {
    cells_->Print(10, 10, 0, "kept");
    ClearFrame();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glMatrixMode(GL_PROJECTION);
    GlState before = GlState::Read();

    const char* none = nullptr;
    EXPECT_TRUE(cells_->Print(100, 100, 0, none));
    EXPECT_TRUE(cells_->PrintAt(100.0f, 100.0f, 2, none));
    EXPECT_TRUE(cells_->PrintColored(100, 100, 0, 1.0f, 1.0f, 1.0f, none));
    EXPECT_TRUE(cells_->PrintScaled(100, 100, 0, 1.0f, 1.0f, 1.0f, 1.0f, 2.0f, 2.0f, none));

    GlState after = GlState::Read();
    ExpectSameCapabilitiesAndMatrices(before, after);
    EXPECT_EQ(before.boundTexture, after.boundTexture);
    EXPECT_EQ(before.activeUnit, after.activeUnit);
    EXPECT_STREQ("kept", cells_->GetText());
    EXPECT_TRUE(BlueNear(108, 108, 0));
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

TEST_F(FontTest, OverlongTextIsCutAt151Characters) {
    std::string longText(400, 'x');
    for (size_t i = 0; i < longText.size(); ++i) {
        longText[i] = static_cast<char>('a' + i % 26);
    }
    EXPECT_TRUE(cells_->Print(0, 700, 0, "%s|%s", longText.c_str(), longText.c_str()));
    EXPECT_EQ(longText.substr(0, 151), std::string(cells_->GetText()));

    std::string exact(151, 'y');
    cells_->Print(0, 700, 0, "%s", exact.c_str());
    EXPECT_EQ(exact, std::string(cells_->GetText()));
    cells_->Print(0, 700, 0, "%s!", exact.c_str());
    EXPECT_EQ(exact, std::string(cells_->GetText()));
    cells_->Print(0, 700, 0, "Current FPS %d", 60);
    EXPECT_STREQ("Current FPS 60", cells_->GetText());
}

TEST_F(FontTest, AFontTakesNoDisplayListsAndIsFreedAfterShutdown) {
    // Glyphs are quads: no font has taken a display list, so the first one is still free.
    EXPECT_EQ(0u, cells_->GetBase());
    EXPECT_EQ(1u, glGenLists(1));
    cells_.reset();

    // After shutdown (SDL has quit) a font is freed without touching OpenGL.
    CFont* late = new CFont();
    {
        StreamCapture quiet;
        late->Load(kCellFont);
    }
    engine_.reset();
    delete late;
}

// The engine's font picture, as video set-up loads it as font 1.
TEST_F(EngineFontTest, DrawsTheGlyphsOfItsPicture) {
    FontPicture picture;
    ASSERT_TRUE(picture.Ok());
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);

    // The picture holds real glyphs: 'A' has ink, space has none, and 'A' differs from 'B'
    // and from its bold twin.
    EXPECT_GT(picture.Ink('A' - 32), 2000.0);
    EXPECT_EQ(0.0, picture.Ink(0));
    double diff = 0;
    double boldDiff = 0;
    for (int py = 0; py < 16; ++py) {
        for (int px = 0; px < 16; ++px) {
            diff += std::fabs(picture.Expected(33, px, py) - picture.Expected(34, px, py));
            boldDiff += std::fabs(picture.Expected(33, px, py) - picture.Expected(161, px, py));
        }
    }
    EXPECT_GT(diff, 1000.0);
    EXPECT_GT(boldDiff, 500.0);

    // The frame step's line, under a camera translation that text ignores.
    glTranslatef(-40.0f, 25.0f, 0.0f);
    font->Print(1, 1, 0, "Current FPS %d", 60);
    font->Print(100, 300, 1, "Bold A");
    font->Print(100, 400, 0, "\x80\x9c\x9f");
    std::string first;
    EXPECT_EQ(0, CountMismatches(picture, 1, 1, "Current FPS 60", 0, &first)) << first;
    EXPECT_EQ(0, CountMismatches(picture, 100, 300, "Bold A", 1, &first)) << first;
    EXPECT_EQ(0, CountMismatches(picture, 100, 400, "\x80\x9c\x9f", 0, &first)) << first;
    // Nothing right of the last glyph's ink.
    for (int py = 0; py < 16; ++py) {
        EXPECT_EQ(0, ReadPixel(1 + 14 * 12 + 1, 1 + py).r);
    }
}

TEST(FontManager, GetFontFallsBackToTheLastFont) {
    CFontManager empty;
    EXPECT_EQ(nullptr, empty.GetFont(0));
    EXPECT_EQ(nullptr, empty.GetFont(1));
}

TEST_F(EngineFontTest, FontNumbersCountFromOneAndFallBackToTheLast) {
    CFont* first = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, g_pFontManager->GetFont(0));
    EXPECT_EQ(first, g_pFontManager->GetFont(7));
    EXPECT_NE(std::string::npos, startupLog_.find("Loading Font: Data/Font/font.tga\n"));

    StreamCapture capture;
    g_pFontManager->LoadFont(kCellFont);
    g_pFontManager->LoadFont("Data/Font/font.tga");
    EXPECT_EQ(
        "Loading Font: tests/data/font/cells.tga\n"
        "Loading Font: Data/Font/font.tga\n",
        capture.Text());
    EXPECT_EQ(3u, g_pFontManager->GetFontCount());
    CFont* second = g_pFontManager->GetFont(2);
    CFont* third = g_pFontManager->GetFont(3);
    EXPECT_NE(first, second);
    EXPECT_NE(second, third);
    EXPECT_EQ(third, g_pFontManager->GetFont(4));
    EXPECT_EQ(third, g_pFontManager->GetFont(0));

    // Font 2 is the cell font: its glyph for 'A' is flat.
    ClearFrame();
    second->Print(100, 100, 0, "A");
    EXPECT_TRUE(ColourNear(108, 108, CellColour(33)));
}

// The death-test child writes the log to standard error, where the expectation reads it.
TEST(FontManagerDeathTest, AFontPictureThatCannotBeLoadedEndsTheProcessWithStatus1) {
    EXPECT_EXIT(
        {
            std::cout.rdbuf(std::cerr.rdbuf());
            CFontManager manager;
            manager.LoadFont("Data/Font/missing.tga");
        },
        ::testing::ExitedWithCode(1),
        "^Loading Font: Data/Font/missing\\.tga\nCould not open texture file: "
        "Data/Font/missing\\.tga\nError: the font Data/Font/missing\\.tga could not be "
        "loaded\n$");

    std::string path = std::string(ORVANE_BINARY_DIR) + "/grey.tga";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, out);
    const unsigned char grey[] = {0, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 8, 0, 128};
    std::fwrite(grey, 1, sizeof(grey), out);
    std::fclose(out);
    EXPECT_EXIT(
        {
            std::cout.rdbuf(std::cerr.rdbuf());
            CFont font;
            font.Load(path.c_str());
        },
        ::testing::ExitedWithCode(1),
        "^TGA file be type 2 or type 10, Invalid Image: .*grey\\.tga\n"
        "Error: the font .*grey\\.tga could not be loaded\n$");
}
