// Sprites against real SDL_image and Mesa: loading and its log, the upload of every picture
// layout, and what each draw operation puts on screen, read back pixel by pixel.
#include <GL/glew.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/CEngine.h"
#include "core/CLiveReload.h"
#include "graphics/CGraphicsCore.h"
#include "render/CQuadBatch.h"
#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "support/TestSupport.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"
#include "textures/CTextureManager.h"

using orvane_test::DrivenClockEngineTest;
using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::ReadPixel;
using orvane_test::StreamCapture;

// Counts the allocations made through operator new while a draw loop runs.
namespace {
bool g_countAllocations = false;
int g_allocations = 0;

// Out of line, so that the compiler does not pair the replaced operators with malloc and free.
__attribute__((noinline)) void* Acquire(std::size_t size) {
    if (g_countAllocations) {
        ++g_allocations;
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
__attribute__((noinline)) void Release(void* p) {
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size) {
    return Acquire(size);
}
void* operator new[](std::size_t size) {
    return Acquire(size);
}
// The driver's compiler allocates with the nothrow forms too; every form that pairs with the
// plain deletes is replaced, so that no block crosses between two allocators.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Acquire(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}

namespace {

const char* const kRgb = "tests/data/sprites/quadrants_rgb.png";
const char* const kRgba = "tests/data/sprites/quadrants_rgba.png";

struct Colour {
    int r, g, b;
};
// The quadrants of the test pictures (tools/make_test_images.py).
const Colour kTopLeft = {220, 40, 40};
const Colour kTopRight = {40, 200, 60};
const Colour kBottomLeft = {40, 60, 220};
const Colour kBottomRight = {230, 210, 40};

::testing::AssertionResult Shows(int x, int y, Colour c, int tolerance = 4) {
    return PixelNear(x, y, c.r, c.g, c.b, tolerance);
}
::testing::AssertionResult Background(int x, int y) {
    return PixelNear(x, y, 0, 0, 0, 0);
}
bool Covered(int x, int y) {
    orvane_test::Rgba p = ReadPixel(x, y);
    return p.r + p.g + p.b > 60;
}

GLint InternalFormat(const CSprite& sprite) {
    GLint format = 0;
    glBindTexture(GL_TEXTURE_2D, sprite.GetTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format;
}

class SpriteTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        glLoadIdentity();
    }
    // A 64 x 64 quadrant picture drawn at (100, 100): its quadrants are 32 pixels wide.
    void ExpectSmallQuadrants(Colour tl, Colour tr, Colour bl, Colour br) {
        EXPECT_TRUE(Shows(116, 116, tl));
        EXPECT_TRUE(Shows(148, 116, tr));
        EXPECT_TRUE(Shows(116, 148, bl));
        EXPECT_TRUE(Shows(148, 148, br));
    }
};

}  // namespace

TEST_F(SpriteTest, LoadsWithOneLogLineAndItsSize) {
    StreamCapture out;
    CSprite sprite(kRgb);
    EXPECT_EQ(std::string("Loading Texture: ") + kRgb + "\n", out.Text());
    EXPECT_FLOAT_EQ(300.0f, sprite.GetWidth());
    EXPECT_FLOAT_EQ(200.0f, sprite.GetHeight());
    EXPECT_EQ(kRgb, sprite.GetFileName());
    EXPECT_NE(0u, sprite.GetTexture());
    EXPECT_EQ(g_pShaderManager->GetProgram(0), sprite.GetShader());
    EXPECT_FLOAT_EQ(1.0f, sprite.GetAlpha());
    CSprite faded(kRgb, 0.25f);
    EXPECT_FLOAT_EQ(0.25f, faded.GetAlpha());
    EXPECT_NE(sprite.GetTexture(), faded.GetTexture());
}

TEST_F(SpriteTest, DrawCoversItsRectangleWithThePictureUpright) {
    CSprite sprite(kRgb);
    sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_TRUE(Shows(270, 50, kTopRight));
    EXPECT_TRUE(Shows(50, 190, kBottomLeft));
    EXPECT_TRUE(Shows(270, 190, kBottomRight));
    EXPECT_TRUE(Shows(14, 24, kTopLeft));
    EXPECT_TRUE(Shows(305, 215, kBottomRight));
    // Exactly (10, 20) to (310, 220).
    EXPECT_TRUE(Covered(10, 100) && Covered(309, 100) && Covered(100, 20) && Covered(100, 219));
    EXPECT_TRUE(Background(9, 100));
    EXPECT_TRUE(Background(310, 100));
    EXPECT_TRUE(Background(100, 19));
    EXPECT_TRUE(Background(100, 220));
}

TEST_F(SpriteTest, ScaleGrowsThePictureAboutItsCorner) {
    CSprite sprite(kRgb);
    sprite.Draw(10.0f, 20.0f, 2.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(30, 40, kTopLeft));
    EXPECT_TRUE(Shows(300, 200, kTopLeft));
    EXPECT_TRUE(Shows(590, 40, kTopRight));
    EXPECT_TRUE(Shows(30, 400, kBottomLeft));
    EXPECT_TRUE(Shows(590, 400, kBottomRight));
    EXPECT_TRUE(Covered(609, 100) && Covered(100, 419));
    EXPECT_TRUE(Background(610, 100));
    EXPECT_TRUE(Background(100, 420));
    EXPECT_TRUE(Background(9, 100));
}

TEST_F(SpriteTest, TheColourTintsThePicture) {
    CSprite sprite(kRgb);
    sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, {110, 40, 0}));
    EXPECT_TRUE(Shows(270, 190, {115, 210, 0}));
}

// Counts the program switches and uniform uploads that reach OpenGL through GLEW's pointers.
PFNGLUSEPROGRAMOBJECTARBPROC g_realUseProgram = nullptr;
PFNGLUNIFORM4FARBPROC g_realUniform4f = nullptr;
int g_programSwitches = 0;
int g_uniformUploads = 0;
void GLAPIENTRY CountingUseProgram(GLhandleARB program) {
    ++g_programSwitches;
    g_realUseProgram(program);
}
void GLAPIENTRY CountingUniform4f(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    ++g_uniformUploads;
    g_realUniform4f(location, x, y, z, w);
}

TEST_F(SpriteTest, ARunOfTintedSpritesAndTextSetsTheProgramOnceAndTintsEachOne) {
    CSprite quadrants(kRgb);
    CSprite grey("tests/data/sprites/grey.png");
    CFont* font = g_pFontManager->GetFont(1);
    ASSERT_NE(nullptr, font);
    g_realUseProgram = __glewUseProgramObjectARB;
    g_realUniform4f = __glewUniform4fARB;
    __glewUseProgramObjectARB = CountingUseProgram;
    __glewUniform4fARB = CountingUniform4f;
    // Nothing between these draws changes a matrix, the program or a uniform, so the driver
    // can merge each stretch that shares a texture into one draw.
    for (int i = 0; i < 20; ++i) {
        quadrants.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        quadrants.Draw(400.0f, 20.0f, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 1.0f);
        grey.Draw(100.0f, 300.0f, 1.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f);
        // Text in the plain 2D state joins the run as well.
        font->PrintColored(600, 500, 0, 1.0f, 1.0f, 0.0f, "%d", i);
    }
    int switchesInRun = g_programSwitches;
    int uploadsInRun = g_uniformUploads;
    g_pGraphicsCore->FlushQuads();
    int switchesAfterFlush = g_programSwitches;
    __glewUseProgramObjectARB = g_realUseProgram;
    __glewUniform4fARB = g_realUniform4f;
    EXPECT_EQ(1, switchesInRun);
    EXPECT_EQ(1, uploadsInRun);
    EXPECT_EQ(2, switchesAfterFlush);
    // The run ended on a print: texture 0 and the colour the print found, as a print leaves them.
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(0, texture);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(1.0f, colour[0] * colour[1] * colour[2] * colour[3]);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_TRUE(Shows(440, 50, {110, 40, 0}));
    EXPECT_TRUE(Shows(116, 316, {0, 40, 40}));
}

TEST_F(SpriteTest, DrawWithAlphaBlendsBySetAlpha) {
    ClearFrame(0.0f, 0.0f, 1.0f);
    CSprite sprite(kRgb);
    sprite.SetAlpha(0.5f);
    EXPECT_FLOAT_EQ(0.5f, sprite.GetAlpha());
    sprite.DrawWithAlpha(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, {110, 20, 20 + 128}, 3));
    EXPECT_TRUE(Shows(270, 190, {115, 105, 20 + 128}, 3));
    EXPECT_TRUE(Shows(400, 400, {0, 0, 255}, 0));
}

TEST_F(SpriteTest, SetWidthAndSetHeightSqueezeTheWholePicture) {
    CSprite sprite(kRgb);
    sprite.SetWidth(150.0f);
    sprite.SetHeight(100.0f);
    EXPECT_FLOAT_EQ(150.0f, sprite.GetWidth());
    sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(30, 35, kTopLeft));
    EXPECT_TRUE(Shows(140, 35, kTopRight));
    EXPECT_TRUE(Shows(30, 105, kBottomLeft));
    EXPECT_TRUE(Shows(140, 105, kBottomRight));
    EXPECT_TRUE(Covered(159, 50));
    EXPECT_TRUE(Background(160, 50));
    EXPECT_TRUE(Background(50, 120));
}

TEST_F(SpriteTest, DrawRegionShowsOnlyTheChosenPart) {
    CSprite sprite(kRgb);
    // The top-left quarter: top 1.0 and bottom 0.5 count from the picture's bottom edge.
    sprite.DrawRegion(400.0f, 300.0f, 1.0f, 0.5f, 0.5f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(405, 305, kTopLeft));
    EXPECT_TRUE(Shows(475, 350, kTopLeft));
    EXPECT_TRUE(Shows(540, 392, kTopLeft));
    EXPECT_TRUE(Covered(549, 350) && Covered(475, 399));
    EXPECT_TRUE(Background(550, 350));
    EXPECT_TRUE(Background(475, 400));
    // The bottom-right quarter.
    sprite.DrawRegion(100.0f, 500.0f, 0.5f, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(108, 508, kBottomRight));
    EXPECT_TRUE(Shows(240, 590, kBottomRight));
    EXPECT_TRUE(Background(250, 550));
}

TEST_F(SpriteTest, AnAngleTurnsThePictureAboutMinusHalfItsSize) {
    CSprite sprite(kRgb);
    // Translate (-150, -100), rotate 90 degrees, translate (150, 100), then (100, -750): the
    // picture point (u, v) lands at (500 - v, 150 + u), i.e. turned a quarter clockwise on
    // screen into the square from (300, 150) to (500, 450).
    sprite.Draw(100.0f, -750.0f, 1.0f, 90.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(450, 225, kTopLeft));
    EXPECT_TRUE(Shows(450, 375, kTopRight));
    EXPECT_TRUE(Shows(350, 225, kBottomLeft));
    EXPECT_TRUE(Shows(350, 375, kBottomRight));
    EXPECT_TRUE(Background(295, 300));
    EXPECT_TRUE(Background(505, 300));
    EXPECT_TRUE(Background(400, 145));
    EXPECT_TRUE(Background(400, 455));
    // The matrix is never changed; the program and the colour are back once the run of quads
    // ends.
    GLfloat matrix[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(i % 5 == 0 ? 1.0f : 0.0f, matrix[i]);
    }
    g_pGraphicsCore->FlushQuads();
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(1.0f, colour[0] * colour[1] * colour[2]);
}

TEST_F(SpriteTest, DrawAtPositionUsesThePositionMember) {
    CSprite sprite(kRgb);
    sprite.position.x = 200.0f;
    sprite.position.y = 100.0f;
    sprite.DrawAtPosition(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(240, 130, kTopLeft));
    EXPECT_TRUE(Shows(470, 280, kBottomRight));
    EXPECT_TRUE(Background(195, 130));
}

TEST_F(SpriteTest, RgbaAndRgbPicturesUploadInTheirOwnLayout) {
    CSprite rgb(kRgb);
    CSprite rgba(kRgba);
    EXPECT_EQ(GL_RGB, InternalFormat(rgb));
    EXPECT_EQ(GL_RGBA, InternalFormat(rgba));
    rgba.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_TRUE(Shows(270, 190, kBottomRight));

    // A half-transparent picture blends over the background by its own alpha.
    ClearFrame(0.0f, 0.0f, 1.0f);
    CSprite half("tests/data/sprites/half_alpha.png");
    EXPECT_EQ(GL_RGBA, InternalFormat(half));
    half.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(130, 130, {100, 50, 127}, 3));
}

TEST_F(SpriteTest, OtherLayoutsAreConvertedAndShowTheirTrueColours) {
    {
        CSprite palette("tests/data/sprites/palette.png");
        EXPECT_FLOAT_EQ(64.0f, palette.GetWidth());
        palette.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        ExpectSmallQuadrants(kTopLeft, kTopRight, kBottomLeft, kBottomRight);
    }
    {
        ClearFrame();
        CSprite blueFirst("tests/data/sprites/quadrants_bgr.bmp");
        blueFirst.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        ExpectSmallQuadrants(kTopLeft, kTopRight, kBottomLeft, kBottomRight);
    }
    {
        ClearFrame();
        CSprite sixteenBit("tests/data/sprites/quadrants_565.bmp");
        sixteenBit.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        // Five and six bits widen to full bytes.
        ExpectSmallQuadrants({255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0});
    }
    {
        ClearFrame();
        CSprite grey("tests/data/sprites/grey.png");
        grey.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        ExpectSmallQuadrants({40, 40, 40}, {100, 100, 100}, {160, 160, 160}, {220, 220, 220});
    }
}

TEST_F(SpriteTest, APictureWithATransparentColourKeepsItTransparent) {
    for (const char* file :
         {"tests/data/sprites/palette_transparent.png", "tests/data/sprites/rgb_keyed.png"}) {
        SCOPED_TRACE(file);
        ClearFrame(0.0f, 0.0f, 1.0f);
        CSprite keyed(file);
        EXPECT_EQ(GL_RGBA, InternalFormat(keyed));
        keyed.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        ExpectSmallQuadrants(kTopLeft, {0, 0, 255}, kBottomLeft, kBottomRight);
    }
}

TEST_F(SpriteTest, AMissingFileOrADirectoryLogsBothLinesAndDrawsNothing) {
    StreamCapture out;
    size_t registered = g_pTextureManager->GetCount();
    CSprite missing("tests/data/sprites/no_such_picture.png");
    std::string error = SDL_GetError();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(
        "Loading Texture: tests/data/sprites/no_such_picture.png\n"
        "Failed to load the image: tests/data/sprites/no_such_picture.png, Error: " +
            error + "\n",
        out.Text());
    EXPECT_FLOAT_EQ(0.0f, missing.GetWidth());
    EXPECT_FLOAT_EQ(0.0f, missing.GetHeight());
    EXPECT_EQ(0u, missing.GetTexture());
    EXPECT_EQ("", missing.GetFileName());
    EXPECT_EQ(nullptr, missing.GetShader());
    EXPECT_EQ(registered, g_pTextureManager->GetCount());

    // A picture that is not an image at all fails the same way.
    out.Clear();
    CSprite notAPicture("shaders/color.frag");
    EXPECT_EQ(0u, notAPicture.GetTexture());
    EXPECT_EQ(0u, out.Text().find("Loading Texture: shaders/color.frag\n"
                                  "Failed to load the image: shaders/color.frag, Error: "));

    // A directory is refused before SDL_image opens it, with the reason on standard error too.
    out.Clear();
    StreamCapture err(std::cerr);
    CSprite directory("tests/data/sprites");
    EXPECT_EQ(0u, directory.GetTexture());
    const std::string why = "Cannot read tests/data/sprites: a directory, not a regular file";
    EXPECT_EQ(
        "Loading Texture: tests/data/sprites\nFailed to load the image: tests/data/sprites, "
        "Error: " +
            why + "\n",
        out.Text());
    EXPECT_EQ(why + "\n", err.Text());

    CSprite unloaded;
    for (CSprite* sprite : {&missing, &notAPicture, &directory, &unloaded}) {
        sprite->Draw(10.0f, 10.0f, 2.0f, 30.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite->DrawAtPosition(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite->DrawWithAlpha(10.0f, 10.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
        sprite->DrawRegion(10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f,
                           1.0f);
    }
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
    EXPECT_TRUE(Background(10, 10));
    EXPECT_TRUE(Background(20, 20));
    EXPECT_TRUE(Background(512, 384));
}

TEST_F(SpriteTest, ReloadFillsTheSameTextureAndABrokenPictureKeepsTheOldOne) {
    std::string file = "/tmp/orvane_reload_" + std::to_string(getpid()) + ".png";
    orvane_test::Shell("cp tests/data/sprites/grey.png " + file);
    CSprite sprite(file);
    unsigned int texture = sprite.GetTexture();
    orvane_test::Shell(std::string("cp ") + kRgb + " " + file);
    sprite.Reload(file);
    EXPECT_EQ(texture, sprite.GetTexture());
    EXPECT_FLOAT_EQ(300.0f, sprite.GetWidth());
    EXPECT_FLOAT_EQ(200.0f, sprite.GetHeight());

    orvane_test::Shell(std::string("head -c 500 ") + kRgba + " > " + file);
    StreamCapture out;
    g_pTextureManager->ReloadTextures();
    std::string log = out.Text();
    EXPECT_EQ("Reloading Texture: " + file + "\nFailed to load the image: " + file + ", Error: ",
              log.substr(0, log.find("Error: ") + 7));
    EXPECT_EQ(2, std::count(log.begin(), log.end(), '\n'));
    EXPECT_FLOAT_EQ(300.0f, sprite.GetWidth());
    sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_TRUE(Shows(270, 190, kBottomRight));
    std::remove(file.c_str());
}

// A sprite is its texture's one holder: destroyed, it deletes the texture, once the quads
// queued with it are drawn.
TEST_F(SpriteTest, ADestroyedSpriteDeletesItsTextureAfterItsQueuedQuads) {
    CQuadBatch::SetScope(CQuadBatch::kFrame, true);
    CSprite* sprite = new CSprite(kRgb);
    const GLuint texture = sprite->GetTexture();
    sprite->Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    delete sprite;
    EXPECT_EQ(GL_FALSE, glIsTexture(texture));
    CQuadBatch::EndFrame();
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_EQ(static_cast<GLenum>(GL_NO_ERROR), glGetError());
}

class LiveReloadTest : public DrivenClockEngineTest {
protected:
    void SetUp() override {
        DrivenClockEngineTest::SetUp();
        dir_ = orvane_test::MakeTempDir("orvane_live");
    }
    void TearDown() override {
        orvane_test::Shell("rm -rf '" + dir_ + "'");
        DrivenClockEngineTest::TearDown();
    }
    // A second of frames, 16 ms apart.
    void PollASecond() {
        for (int frame = 0; frame < 63; ++frame) {
            orvane_test::g_testTicks += 16;
            reload_.Poll();
        }
    }
    std::string File(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
    CLiveReload reload_;
};

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// A changed picture is read once for all its sprites; one missing at load is loaded when it
// appears; a change of the permissions alone counts, so a file that could not be read is
// tried again.
TEST_F(LiveReloadTest, ReadsAPictureOnceForAllItsSpritesAndWatchesFailedLoadsAndPermissions) {
    orvane_test::Shell("cp tests/data/sprites/grey.png " + File("a.png"));
    StreamCapture out;
    CSprite first(File("a.png"));
    CSprite second(File("a.png"));
    CSprite missing(File("b.png"));
    PollASecond();
    orvane_test::Shell(std::string("cp ") + kRgb + " " + File("new.png") + " && mv " +
                       File("new.png") + " " + File("a.png") + " && cp " + kRgb + " " +
                       File("b.png"));
    out.Clear();
    PollASecond();
    EXPECT_EQ(1u, Occurrences(out.Text(), "Reloading Texture: " + File("a.png") + "\n"));
    EXPECT_EQ(1u, Occurrences(out.Text(), "Reloading Texture: " + File("b.png") + "\n"));
    EXPECT_FLOAT_EQ(300.0f, second.GetWidth());
    ASSERT_TRUE(missing.IsLoaded());
    EXPECT_EQ(File("b.png"), missing.GetFileName());
    EXPECT_EQ(3u, g_pTextureManager->GetCount());
    missing.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));

    out.Clear();
    orvane_test::Shell("chmod 600 " + File("a.png"));
    PollASecond();
    EXPECT_EQ("Reloading Texture: " + File("a.png") + "\n", out.Text());
}

// With more files than a frame looks at, a pass goes on over the next frames and still reaches
// the last one; the file of a destroyed sprite is forgotten, so a sprite made of it later
// starts watching afresh instead of reloading what it has just loaded.
TEST_F(LiveReloadTest, APassSpreadOverFramesReachesTheLastFileAndForgetsUnlistedOnes) {
    orvane_test::Shell("cd '" + dir_ + "' && for i in $(seq 1 250); do cp " ORVANE_SOURCE_DIR
                       "/tests/data/sprites/grey.png p$i.png; done");
    StreamCapture out;
    std::vector<std::unique_ptr<CSprite>> sprites;
    for (int i = 1; i <= 250; ++i) {
        sprites.emplace_back(new CSprite(File(("p" + std::to_string(i) + ".png").c_str())));
    }
    PollASecond();
    orvane_test::Shell(std::string("cp ") + kRgb + " " + File("p250.png"));
    out.Clear();
    PollASecond();
    EXPECT_EQ("Reloading Texture: " + File("p250.png") + "\n", out.Text());
    EXPECT_FLOAT_EQ(300.0f, sprites.back()->GetWidth());

    sprites.pop_back();
    PollASecond();
    PollASecond();
    orvane_test::Shell("cp tests/data/sprites/grey.png " + File("p250.png"));
    CSprite again(File("p250.png"));
    out.Clear();
    PollASecond();
    EXPECT_EQ("", out.Text());
}

TEST_F(SpriteTest, DrawingUsesUnitZeroEvenAfterAnotherUnitWasSelected) {
    CSprite quadrants(kRgb);
    CSprite grey("tests/data/sprites/grey.png");
    // Unit 0 holds the quadrant picture, then unit 1 is left active.
    quadrants.Draw(600.0f, 400.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    quadrants.BindToUnit(1);
    ClearFrame();
    grey.Draw(100.0f, 100.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    ExpectSmallQuadrants({40, 40, 40}, {100, 100, 100}, {160, 160, 160}, {220, 220, 220});
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

TEST_F(SpriteTest, TheFontsPenPositionDoesNotMoveSprites) {
    CShaderProgram* program = g_pShaderManager->GetProgram(0);
    program->Bind();
    glUniform3fARB(glGetUniformLocationARB(program->GetHandle(), "tpos"), 500.0f, 300.0f, 7.0f);
    program->Unbind();
    CSprite sprite(kRgb);
    sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(Shows(50, 50, kTopLeft));
    EXPECT_TRUE(Shows(270, 190, kBottomRight));
    EXPECT_TRUE(Background(315, 100));
}

TEST_F(SpriteTest, DrawsAllocateNothing) {
    CSprite sprite(kRgba);
    // The first draws let the driver build its code for this state.
    for (int i = 0; i < 2; ++i) {
        sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite.Draw(10.0f, 20.0f, 2.0f, 30.0f, 1.0f, 0.5f, 1.0f, 1.0f);
        sprite.DrawAtPosition(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite.DrawWithAlpha(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
        sprite.DrawRegion(10.0f, 20.0f, 1.0f, 0.5f, 0.5f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    g_allocations = 0;
    g_countAllocations = true;
    for (int i = 0; i < 50; ++i) {
        sprite.Draw(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite.Draw(10.0f, 20.0f, 2.0f, 30.0f, 1.0f, 0.5f, 1.0f, 1.0f);
        sprite.DrawAtPosition(1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        sprite.DrawWithAlpha(10.0f, 20.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
        sprite.DrawRegion(10.0f, 20.0f, 1.0f, 0.5f, 0.5f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    g_countAllocations = false;
    EXPECT_EQ(0, g_allocations);
}
