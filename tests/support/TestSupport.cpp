// Shared helpers of the test suite that are the same on every platform.
#include "support/TestSupport.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "utils/CClock.h"

namespace orvane_test {

StreamCapture::StreamCapture(std::ostream& stream) : stream_(stream) {
    saved_ = stream_.rdbuf(buffer_.rdbuf());
}

StreamCapture::~StreamCapture() {
    stream_.rdbuf(saved_);
}

Rgba ReadPixel(int x, int y) {
    // Reading the picture is an OpenGL call of the test's own: a run of engine quads still open
    // (after a frame step, before the swap) goes out first.
    if (g_pGraphicsCore != nullptr) {
        g_pGraphicsCore->FlushQuads();
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    int height = SDL_GetVideoSurface() != nullptr ? SDL_GetVideoSurface()->h : viewport[3];
    unsigned char pixel[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return Rgba{pixel[0], pixel[1], pixel[2], pixel[3]};
}

::testing::AssertionResult PixelNear(int x, int y, int r, int g, int b, int tolerance) {
    Rgba p = ReadPixel(x, y);
    if (std::abs(p.r - r) <= tolerance && std::abs(p.g - g) <= tolerance &&
        std::abs(p.b - b) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel (" << x << ", " << y << ") is (" << p.r << ", " << p.g << ", " << p.b
           << "), expected (" << r << ", " << g << ", " << b << ") within " << tolerance;
}

Uint32 g_testTicks = 0;

Uint32 TestTicks() {
    return g_testTicks;
}

void DrainEvents() {
    SDL_Event event;
    SDL_PumpEvents();
    while (SDL_PollEvent(&event) == 1) {
    }
}

void PushKey(SDLKey key, bool down) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

void PushMouseButton(Uint8 button, bool down, int x, int y) {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    SDL_PushEvent(&event);
}

void PushQuit() {
    SDL_Event event;
    std::memset(&event, 0, sizeof(event));
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void WarpMouse(int x, int y) {
    SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
    // The X server reports the warp asynchronously; pump until SDL has seen it.
    for (int i = 0; i < 200; ++i) {
        SDL_PumpEvents();
        int mx = -1;
        int my = -1;
        SDL_GetMouseState(&mx, &my);
        if (mx == x && my == y) {
            break;
        }
        SDL_Delay(5);
    }
    DrainEvents();
}

void EngineTest::SetUp() {
    StreamCapture capture;
    engine_.reset(new CEngine());
    try {
        engine_->SetVideoMode(Width(), Height(), 16, false, Mode2D());
    } catch (const std::string& message) {
        FAIL() << "video set-up failed: " << message;
    }
    startupLog_ = capture.Text();
    ClearFrame();
    DrainEvents();
}

void EngineTest::TearDown() {
    StreamCapture capture;
    engine_.reset();
}

void EngineTest::ClearFrame(float r, float g, float b) {
    glClearColor(r, g, b, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

void DrivenClockEngineTest::SetUp() {
    g_testTicks = 1000;
    CClock::SetTickSource(TestTicks);
    EngineTest::SetUp();
}

void DrivenClockEngineTest::TearDown() {
    EngineTest::TearDown();
    CClock::SetTickSource(nullptr);
}

void AppTest::SetUp() {
    g_testTicks = 1000;
    CClock::SetTickSource(TestTicks);
}

void AppTest::TearDown() {
    StreamCapture quiet;
    app_.reset();
    CClock::SetTickSource(nullptr);
}

const char* const kStartupLog =
    "\n"
    "Orvane Engine version 0.02...\n"
    "\n"
    "Initialize Graphics Core...done\n"
    "Initialize Texture Manager...done\n"
    "Initialize Window Manager...done\n"
    "Initialize Event Manager...done\n"
    "Initialize Utils...done\n"
    "Initialize Sound Manager...done\n"
    "Initialize Shader Manager...done\n"
    "Initialize the Camera...done\n"
    "Initialize the Camera Manager...done\n"
    "Initialize the Font Manager...done\n";

Rgb SurfacePixel(const SDL_Surface* surface, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                     x * surface->format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, p, surface->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return Rgb{r, g, b};
}

std::string BuiltProgram(const std::string& name) {
    // Another folder of programs by the same names: the Windows build's, run under wine.
    const char* programs = std::getenv("ORVANE_TEST_PROGRAMS");
    return std::string(programs != nullptr ? programs : ORVANE_BINARY_DIR) + "/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace orvane_test
