// Frame timing with a driven clock, the debug shapes' state, and the BMP loader on files
// written by SDL itself.
#include <GL/glew.h>
#include <GL/glu.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "support/TestSupport.h"
#include "utils/CClock.h"
#include "utils/CUtils.h"

using orvane_test::EngineTest;
using orvane_test::PixelNear;
using orvane_test::StreamCapture;

namespace {

Uint32& g_ticks = orvane_test::g_testTicks;

class DrivenClock {
public:
    DrivenClock() { CClock::SetTickSource(orvane_test::TestTicks); }
    ~DrivenClock() { CClock::SetTickSource(nullptr); }
};

std::string WindowTitle() {
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    return title != nullptr ? title : "";
}

// A BMP written by SDL: 24 bits, each pixel's red channel its row number and green its column.
std::string WriteBmp(int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Uint8* p = static_cast<Uint8*>(s->pixels) + y * s->pitch + x * 3;
            Uint32 value = SDL_MapRGB(s->format, Uint8(y * 10 + 5), Uint8(x * 20 + 7), 200);
            std::memcpy(p, &value, 3);
        }
    }
    char path[] = "/tmp/orvane-bmp-XXXXXX";
    int fd = mkstemp(path);
    close(fd);
    SDL_SaveBMP(s, path);
    SDL_FreeSurface(s);
    return path;
}

}  // namespace

TEST(FrameRate, FirstRateOnlyAfterMoreThanOneSecondAndNotAtExactlyOne) {
    DrivenClock clock;
    StreamCapture capture;
    CEngine engine;
    engine.SetVideoMode(640, 480, 16, false, true);
    g_pGraphicsCore->SetCaption("Orvane Engine - Sprite Animation Demo");

    for (Uint32 t = 100; t <= 1000; t += 100) {
        g_ticks = t;
        g_pUtils->UpdateFPS();
    }
    EXPECT_EQ(0, g_pUtils->GetFPS()) << "a rate after exactly one second";
    EXPECT_EQ("Orvane Engine - Sprite Animation Demo", WindowTitle());
    EXPECT_NEAR(0.1f, g_pUtils->GetFrameTime(), 1e-5);

    g_ticks = 1500;
    g_pUtils->UpdateFPS();
    EXPECT_EQ(11, g_pUtils->GetFPS());
    EXPECT_STREQ(" Current FPS: 11", g_pUtils->GetFPSText());
    EXPECT_EQ("Orvane Engine - Sprite Animation Demo Current FPS: 11", WindowTitle());
    EXPECT_NEAR(0.5f, g_pUtils->GetFrameTime(), 1e-5);

    // Exactly 1.0 s after the last rate: no new rate; the frame after does.
    for (Uint32 t = 1600; t <= 2500; t += 100) {
        g_ticks = t;
        g_pUtils->UpdateFPS();
    }
    EXPECT_EQ(11, g_pUtils->GetFPS());
    g_ticks = 2501;
    g_pUtils->UpdateFPS();
    EXPECT_EQ(11, g_pUtils->GetFPS());
    EXPECT_EQ("Orvane Engine - Sprite Animation Demo Current FPS: 11", WindowTitle());
    g_ticks = 2600;
    for (int i = 0; i < 5; ++i) {
        g_pUtils->UpdateFPS();
    }
    EXPECT_EQ(11, g_pUtils->GetFPS());
    EXPECT_FLOAT_EQ(0.0f, g_pUtils->GetFrameTime());
}

TEST(FrameRate, AHugeRateIsCutToTheTextBuffer) {
    DrivenClock clock;
    StreamCapture capture;
    CEngine engine;
    g_ticks = 0;
    for (int i = 0; i < 200000; ++i) {
        g_pUtils->UpdateFPS();
    }
    g_ticks = 1001;
    g_pUtils->UpdateFPS();
    EXPECT_EQ(200001, g_pUtils->GetFPS());
    EXPECT_EQ(19u, std::strlen(g_pUtils->GetFPSText()));
    EXPECT_STREQ(" Current FPS: 20000", g_pUtils->GetFPSText());
}

TEST(FrameRate, TheFrameStepUpdatesTimingOnlyWithTheDisplayOn) {
    DrivenClock clock;
    StreamCapture capture;
    CEngine engine;
    engine.SetVideoMode(640, 480, 16, false, true);
    g_ticks = 500;
    engine.Update();
    engine.Update();
    EXPECT_FLOAT_EQ(0.0f, g_pUtils->GetFrameTime());
    engine.ShowFPS(true);
    engine.Update();
    g_ticks = 516;
    engine.Update();
    EXPECT_NEAR(0.016f, g_pUtils->GetFrameTime(), 1e-5);
    engine.ShowFPS(false);
    EXPECT_FALSE(engine.IsShowingFPS());
}

class DebugShapes : public EngineTest {
protected:
    bool Mode2D() const override { return false; }
    void LookAtOrigin() {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(0.0, 0.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    }
    void ExpectColour(float r, float g, float b) {
        GLfloat c[4];
        glGetFloatv(GL_CURRENT_COLOR, c);
        EXPECT_NEAR(r, c[0], 1e-6);
        EXPECT_NEAR(g, c[1], 1e-6);
        EXPECT_NEAR(b, c[2], 1e-6);
    }
    void ExpectNoTranslation() {
        GLdouble m[16];
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        EXPECT_NEAR(-5.0, m[14], 1e-5);
        EXPECT_NEAR(0.0, m[12], 1e-5);
        EXPECT_NEAR(0.0, m[13], 1e-5);
    }
};

TEST_F(DebugShapes, CubeDrawsItsFacesInOrderAndRestoresColourAndMatrix) {
    LookAtOrigin();
    glEnable(GL_TEXTURE_2D);
    g_pUtils->DrawCube(0.0f, 0.0f, 0.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    // The depth test passes always in this set-up, so the back face (yellow), drawn after the
    // front face, is what the middle of the screen shows.
    EXPECT_TRUE(PixelNear(512, 384, 255, 255, 0));
    ExpectColour(1.0f, 1.0f, 1.0f);
    ExpectNoTranslation();
}

TEST_F(DebugShapes, QuadGridAndAxesLeaveTheirColours) {
    LookAtOrigin();
    g_pUtils->DrawQuad(0.0f, 0.0f, -2.0f);
    EXPECT_TRUE(PixelNear(512, 384, 77, 255, 51));
    ExpectColour(0.3f, 1.0f, 0.2f);
    ExpectNoTranslation();
    g_pUtils->DrawGrid(0.0f, -1.0f, 0.0f);
    ExpectColour(0.5f, 0.5f, 0.5f);
    ExpectNoTranslation();
    g_pUtils->DrawAxes();
    ExpectColour(0.0f, 0.0f, 1.0f);
}

TEST(BmpLoader, FlipsRowsAndConvertsPixelsByTheRealPitch) {
    StreamCapture capture;
    CEngine engine;
    // Width 3 at 3 bytes per pixel: 9-byte rows padded to 12 in the surface.
    std::string path = WriteBmp(3, 5);
    BMPImage* image = g_pUtils->LoadBMP(path.c_str());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(3, image->components);
    EXPECT_EQ(3, image->width);
    EXPECT_EQ(5, image->height);
    // Rows come out bottom-up: row 0 holds the picture's last row (4); the middle row stays.
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 3; ++col) {
            const unsigned char* p = image->data + (row * 3 + col) * 3;
            EXPECT_EQ((4 - row) * 10 + 5, p[0]) << row << "," << col;
            EXPECT_EQ(col * 20 + 7, p[1]) << row << "," << col;
            EXPECT_EQ(200, p[2]);
        }
    }
    CUtils::FreeBMP(image);
    std::remove(path.c_str());
}

TEST(BmpLoader, HeightOneIsNotFlipped) {
    StreamCapture capture;
    CEngine engine;
    std::string path = WriteBmp(4, 1);
    BMPImage* image = g_pUtils->LoadBMP(path.c_str());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ(5, image->data[0]);
    EXPECT_EQ(3 * 20 + 7, image->data[3 * 3 + 1]);
    CUtils::FreeBMP(image);
    std::remove(path.c_str());
}

TEST(BmpLoader, FailuresWriteTheirLines) {
    StreamCapture out;
    StreamCapture err(std::cerr);
    CEngine engine;
    out.Clear();
    EXPECT_EQ(nullptr, g_pUtils->LoadBMP("Data/none.bmp"));
    std::string errText = err.Text();
    std::string prefix = " Failed loading Data/none.bmp : ";
    ASSERT_EQ(prefix, errText.substr(0, prefix.size()));
    EXPECT_EQ('\n', errText.back());

    err.Clear();
    EXPECT_EQ(0u, g_pUtils->LoadTextureBMP("Data/none.bmp"));
    std::string outText = out.Text();
    std::string expected =
        "Loading Texture: Data/none.bmp\nFailed to load the image: Data/none.bmp, Error: ";
    ASSERT_EQ(expected, outText.substr(0, expected.size()));
    EXPECT_EQ(prefix, err.Text().substr(0, prefix.size()));
}

// SDL 1.2 takes a BMP header's size on trust (the first file was found by the fuzzer: its
// buffer size overflows an int and SDL asks for about 2^64 bytes). Such headers, and paths
// that are not files, are refused before SDL reads anything, with the loader's failure line.
TEST(BmpLoader, RefusesHeadersSdlWouldMisreadAndPathsThatAreNotFiles) {
    StreamCapture out;
    StreamCapture err(std::cerr);
    CEngine engine;
    const std::string written = WriteBmp(3, 5);
    const std::string valid = orvane_test::ReadFile(written);
    std::remove(written.c_str());
    ASSERT_EQ(54u + 5 * 12, valid.size());
    auto header = [&valid](int width, int height, int bits) {
        std::string bytes = valid.substr(0, 54);
        for (int i = 0; i < 4; ++i) {
            bytes[18 + i] = static_cast<char>(width >> (8 * i));
            bytes[22 + i] = static_cast<char>(height >> (8 * i));
        }
        bytes[28] = static_cast<char>(bits);
        return bytes;
    };
    const std::string path = std::string(ORVANE_BINARY_DIR) + "/bmp_refused.bmp";
    const struct {
        std::string bytes;
        const char* why;
    } cases[] = {
        {orvane_test::ReadFile("tests/fuzz/regressions_bmp/size_overflow.bmp"),
         "12383 x 51130 pixels of 32 bits are more than SDL can hold"},
        {header(20000, 2, 32), "20000 x 2 pixels of 32 bits are more than SDL can hold"},
        {header(3, -5, 24) + valid.substr(54, 48),
         "the file is too short for 3 x 5 pixels of 24 bits"},
        {header(0, 5, 24) + valid.substr(54), "impossible size 0 x 5"},
        {valid.substr(0, 29), "the header is cut short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::ofstream(path, std::ios::binary) << c.bytes;
        err.Clear();
        EXPECT_EQ(nullptr, g_pUtils->LoadBMP(path.c_str()));
        EXPECT_EQ(" Failed loading " + path + " : " + c.why + "\n", err.Text());
    }
    std::remove(path.c_str());

    err.Clear();
    EXPECT_EQ(nullptr, g_pUtils->LoadBMP("tests"));
    EXPECT_EQ(" Failed loading tests : a directory, not a regular file\n", err.Text());
    out.Clear();
    EXPECT_EQ(0u, g_pUtils->LoadTextureBMP("tests"));
    EXPECT_EQ(
        "Loading Texture: tests\nFailed to load the image: tests, Error: a directory, not a "
        "regular file\n",
        out.Text());
}

class BmpTexture : public EngineTest {};

TEST_F(BmpTexture, UploadsAnRgbMipmappedTexture) {
    std::string path = WriteBmp(3, 5);
    GLint alignment = 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    StreamCapture capture;
    unsigned int texture = g_pUtils->LoadTextureBMP(path.c_str());
    ASSERT_NE(0u, texture);
    EXPECT_EQ("Loading Texture: " + path + "\n", capture.Text());
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(4, alignment);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(GL_LINEAR_MIPMAP_NEAREST, filter);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_TRUE(format == GL_RGB || format == 3 || format == GL_RGB8) << format;
    std::remove(path.c_str());
}

TEST(BmpLoader, RefusesASurfaceWhosePitchIsShorterThanARow) {
    // Found by the fuzzer: SDL decodes this file into a surface of 65-bit pixels with pitch 0.
    StreamCapture err(std::cerr);
    StreamCapture out;
    CEngine engine;
    const char* path = "tests/fuzz/regressions_bmp/depth65_wide_convert.bmp";
    EXPECT_EQ(nullptr, g_pUtils->LoadBMP(path));
    EXPECT_EQ(std::string(" Failed loading ") + path + " : unsupported pixel layout\n", err.Text());
}
