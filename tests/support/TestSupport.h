// Shared helpers of the test suite: capturing the log, starting an engine with a real window
// under Xvfb, reading pixels back, pushing SDL events and running programs end to end. What
// differs between Linux and the Windows build run under wine lives in support/posix/ and
// support/windows/, one of which the build picks.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
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

// The end-to-end helpers (ChildProcess, Screenshot) drive X tools and programs of this build
// tree, so only the Linux suite has them; the Windows programs run from there under wine.

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
// Runs a shell command and returns its standard output. Under wine it is the host's shell,
// which wine starts as it starts a Windows program.
std::string Shell(const std::string& command);
// The video driver SDL runs on when the user names none: x11 on Linux, windib on Windows.
extern const char* const kVideoDriver;
// Sets an environment variable of this process; an empty value removes it.
void SetEnv(const std::string& name, const std::string& value);
// A new, empty folder /tmp/PREFIX_XXXXXX (a path the host's shell understands too).
std::string MakeTempDir(const std::string& prefix);
// A stream that reads the bytes given, and the reading end of a pipe that holds them (written and
// closed already); the caller closes either.
std::FILE* MemoryFile(const void* data, size_t size);
std::FILE* PipeOf(const std::string& bytes);
// A picture file decoded as the platform decodes pictures: SDL_image on Linux, the system's own
// decoder on Windows (the same pixels for every committed PNG); null when it cannot be read.
SDL_Surface* DecodePicture(const std::string& path);
// The definition of a C function that the test program replaces with its own, as the library
// that it is named by (e.g. "SDL_mixer.dll" on Windows) provides it.
void* NextDefinition(const char* library, const char* name);

// Whole pages of memory that a test can make unreadable, so that any access there ends the
// process. Freed by the destructor.
class Pages {
public:
    explicit Pages(size_t count);
    ~Pages();
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;

    static size_t Size();
    unsigned char* Data() const { return data_; }
    // Makes pages [first, first + count) readable and writable, or inaccessible; false on failure.
    bool Allow(size_t first, size_t count, bool access);

private:
    unsigned char* data_ = nullptr;
    size_t count_ = 0;
};
// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace orvane_test
