// Shared helpers of the test suite.
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

#include "core/CEngine.h"
#include "graphics/CGraphicsCore.h"
#include "platform/CPlatform.h"
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

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, const std::string& workDir) {
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
        return;
    }
    // sdl12-compat names a driver in this process's environment itself; the program chooses as
    // if the user started it.
    const bool userDriver = !CPlatform::VideoDriverNamed().empty();
    pid_ = fork();
    if (pid_ == 0) {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        close(outPipe[0]);
        close(outPipe[1]);
        close(errPipe[0]);
        close(errPipe[1]);
        if (chdir(workDir.c_str()) != 0) {
            _exit(126);
        }
        if (!userDriver) {
            unsetenv("SDL_VIDEODRIVER");
        }
        for (const std::string& entry : env) {
            size_t eq = entry.find('=');
            std::string name = entry.substr(0, eq);
            std::string value = eq == std::string::npos ? "" : entry.substr(eq + 1);
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    outFd_ = outPipe[0];
    errFd_ = errPipe[0];
    fcntl(outFd_, F_SETFL, O_NONBLOCK);
    fcntl(errFd_, F_SETFL, O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !exited_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (outFd_ >= 0) {
        close(outFd_);
    }
    if (errFd_ >= 0) {
        close(errFd_);
    }
}

void ChildProcess::Pump(int timeoutMs) {
    std::array<pollfd, 2> fds = {pollfd{outFd_, POLLIN, 0}, pollfd{errFd_, POLLIN, 0}};
    if (poll(fds.data(), fds.size(), timeoutMs) <= 0) {
        return;
    }
    char buffer[4096];
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0) {
            continue;
        }
        for (;;) {
            ssize_t n = read(fds[i].fd, buffer, sizeof(buffer));
            if (n <= 0) {
                break;
            }
            (i == 0 ? result_.out : result_.err).append(buffer, static_cast<size_t>(n));
        }
    }
}

bool ChildProcess::WaitForExit(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!exited_) {
        Pump(10);
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            exited_ = true;
            result_.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            result_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
            // Collect what the pipes still hold.
            for (int i = 0; i < 5; ++i) {
                Pump(10);
            }
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (result_.out.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        Pump(20);
    }
    return true;
}

void ChildProcess::Signal(int sig) {
    if (pid_ > 0 && !exited_) {
        kill(pid_, sig);
    }
}

ProcessResult ChildProcess::Result() {
    Pump(0);
    return result_;
}

Screenshot::Screenshot() {
    char path[] = "/tmp/orvane-shot-XXXXXX";
    int fd = mkstemp(path);
    close(fd);
    std::string png = std::string(path) + ".png";
    Shell("import -window root " + png + " 2>/dev/null");
    surface_ = IMG_Load(png.c_str());
    std::remove(png.c_str());
    std::remove(path);
}

Screenshot::~Screenshot() {
    if (surface_ != nullptr) {
        SDL_FreeSurface(surface_);
    }
}

bool Screenshot::Valid() const {
    return surface_ != nullptr && surface_->w >= 1024 && surface_->h >= 768;
}

Rgb SurfacePixel(const SDL_Surface* surface, int x, int y) {
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch +
                     x * surface->format->BytesPerPixel;
    Uint32 value = 0;
    std::memcpy(&value, p, surface->format->BytesPerPixel);
    Uint8 r, g, b;
    SDL_GetRGB(value, surface->format, &r, &g, &b);
    return Rgb{r, g, b};
}

Rgb Screenshot::At(int x, int y) const {
    return SurfacePixel(surface_, x, y);
}

int Screenshot::Count(int x0, int y0, int x1, int y1,
                      const std::function<bool(const Rgb&)>& test) const {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (test(At(x, y))) {
                ++count;
            }
        }
    }
    return count;
}

std::string BuiltProgram(const std::string& name) {
    // Another folder of programs by the same names: the Windows build's, run under wine.
    const char* programs = std::getenv("ORVANE_TEST_PROGRAMS");
    return std::string(programs != nullptr ? programs : ORVANE_BINARY_DIR) + "/" + name;
}

std::string Shell(const std::string& command) {
    std::string output;
    // Tools such as xdotool, ImageMagick and cmake run without the sanitizer preload that the
    // test's own programs get.
    const char* preload = std::getenv("LD_PRELOAD");
    std::string savedPreload = preload != nullptr ? preload : "";
    unsetenv("LD_PRELOAD");
    FILE* pipe = popen(command.c_str(), "r");
    if (!savedPreload.empty()) {
        setenv("LD_PRELOAD", savedPreload.c_str(), 1);
    }
    if (pipe == nullptr) {
        return output;
    }
    char buffer[1024];
    size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output.append(buffer, n);
    }
    pclose(pipe);
    return output;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace orvane_test
