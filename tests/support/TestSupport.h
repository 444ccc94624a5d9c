// Shared helpers of the test suite: capturing the log, starting an engine with a real window
// under Xvfb, reading pixels back, pushing SDL events and running programs end to end.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/CApp.h"
#include "core/CEngine.h"

namespace orvane_test {

// Redirects a stream (std::cout by default) into a string for the object's lifetime.
class StreamCapture {
public:
    explicit StreamCapture(std::ostream& stream = std::cout);
    ~StreamCapture();
    std::string Text() const { return buffer_.str(); }
    void Clear() { buffer_.str(""); }

private:
    std::ostream& stream_;
    std::streambuf* saved_;
    std::ostringstream buffer_;
};

struct Rgba {
    int r, g, b, a;
};

// Window pixel (x, y), y downwards, read from the back buffer (read before swapping).
Rgba ReadPixel(int x, int y);
// Fails with the expected and observed colour unless every channel is within the tolerance.
::testing::AssertionResult PixelNear(int x, int y, int r, int g, int b, int tolerance = 4);

// A tick source for CClock that only the test moves: CClock::SetTickSource(TestTicks), then
// set g_testTicks to the time wanted (milliseconds).
extern Uint32 g_testTicks;
Uint32 TestTicks();

// Removes every queued SDL event (SDL queues motion and focus events when a window opens).
void DrainEvents();
void PushKey(SDLKey key, bool down);
void PushMouseButton(Uint8 button, bool down, int x, int y);
void PushQuit();
// Warps the pointer and pumps events so that SDL_GetMouseState reports the new position,
// then drains the motion events this queued.
void WarpMouse(int x, int y);

// An engine with a window: constructs CEngine (capturing its start-up log), opens a windowed
// video mode and clears the frame to black. The repository root is the working directory, so
// shaders/ and Data/ are found.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Called by SetUp; override to change the mode.
    virtual bool Mode2D() const { return true; }
    virtual int Width() const { return 1024; }
    virtual int Height() const { return 768; }
    void ClearFrame(float r = 0.0f, float g = 0.0f, float b = 0.0f);

    std::unique_ptr<CEngine> engine_;
    std::string startupLog_;
};

// An engine test whose CClock reads g_testTicks, starting at 1000 ms: time moves only when
// the test moves it.
class DrivenClockEngineTest : public EngineTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A whole application (the demo or an example) run in this process on a driven clock starting
// at 1000 ms. Start constructs it and runs its Init with the log captured; the application is
// destroyed, and SDL's clock restored, after the test.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    template <class App>
    App* Start() {
        StreamCapture quiet;
        App* app = new App();
        app_.reset(app);
        app->Init();
        DrainEvents();
        return app;
    }

    std::unique_ptr<CApp> app_;
};

// What engine start-up writes: the banner and one line per manager, in their order.
extern const char* const kStartupLog;

// A program run to its end or to a signal, with its output collected.
struct ProcessResult {
    int exitStatus = -1;  // -1 when it did not exit normally
    int signal = 0;
    std::string out;
    std::string err;
};

// Starts a program from the repository root (or workDir) with extra environment entries
// ("NAME=value"; "NAME=" removes NAME), reading its standard output and error in the
// background.
class ChildProcess {
public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
                 const std::string& workDir = ORVANE_SOURCE_DIR);
    ~ChildProcess();
    int Pid() const { return pid_; }
    // Waits up to timeoutMs for the program to end; false on timeout.
    bool WaitForExit(int timeoutMs);
    // Polls the collected standard output until it contains the text or the time is up.
    bool WaitForOutput(const std::string& text, int timeoutMs);
    void Signal(int sig);
    ProcessResult Result();

private:
    void Pump(int timeoutMs);
    int pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    bool exited_ = false;
    ProcessResult result_;
};

struct Rgb {
    int r, g, b;
};
// The colour of pixel (x, y), y downwards, of a surface SDL decoded (any pixel layout).
Rgb SurfacePixel(const SDL_Surface* surface, int x, int y);

// A screenshot of the whole X display (ImageMagick's import), read back through SDL_image.
class Screenshot {
public:
    Screenshot();
    ~Screenshot();
    Screenshot(const Screenshot&) = delete;
    Screenshot& operator=(const Screenshot&) = delete;

    bool Valid() const;
    Rgb At(int x, int y) const;
    // Pixels of the rectangle [x0, x1) x [y0, y1) that pass the test.
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(const Rgb&)>& test) const;

private:
    SDL_Surface* surface_ = nullptr;
};

// Path of a program built by this build tree (e.g. "camera2d_demo"), or of the one by that name
// in the folder ORVANE_TEST_PROGRAMS names.
std::string BuiltProgram(const std::string& name);
// Runs a shell command and returns its standard output.
std::string Shell(const std::string& command);
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace orvane_test
