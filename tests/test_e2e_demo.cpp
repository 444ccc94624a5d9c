// The camera demo end to end: the built program runs from the repository root under Xvfb,
// driven from outside with xdotool and signals, its log compared byte for byte and its
// screen read back from screenshots.
#include <SDL.h>
#include <SDL_image.h>
#include <signal.h>
#include <unistd.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "support/TestSupport.h"

using orvane_test::BuiltProgram;
using orvane_test::ChildProcess;
using orvane_test::ProcessResult;
using orvane_test::Rgb;
using orvane_test::Screenshot;
using orvane_test::Shell;

namespace {

const char* const kCaption = "Orvane Engine - Sprite Animation Demo";
const char* const kLastLoadLine = "Loading Texture: Data/Logo/orvlogo.png\n";

struct DriverStrings {
    std::string vendor, renderer, version;
};

// The strings this display's driver reports, read through a window of our own.
DriverStrings QueryDriverStrings() {
    DriverStrings strings;
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        return strings;
    }
    if (SDL_SetVideoMode(64, 64, 16, SDL_OPENGL) != nullptr) {
        strings.vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
        strings.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        strings.version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    }
    SDL_Quit();
    return strings;
}

std::string ExpectedLog(const DriverStrings& d) {
    return std::string(orvane_test::kStartupLog) + "\nDetected Video Card Vendor: " + d.vendor +
           "\nDetected Renderer: " + d.renderer + "\nDetected OpenGL version: " + d.version +
           "\n"
           "\n"
           "-------------========= Loading built in shaders ==========------------\n"
           "\n"
           "Loading simple texture shader...\n"
           "Loading simple color shader...\n"
           "Loading heightmap texture shader...\n"
           "Loading Directional Per Pixel Diffuse lightning shader...\n"
           "Loading Directional Per Vertex Diffuse lightning shader...\n"
           "Loading Point Per Pixel lightning shader...\n"
           "Loading Spot Per Pixel lightning shader...\n"
           "Loading Toon shader...\n"
           "Loading vertex diffuse light with texture shader...\n"
           "Loading pixel diffuse light with texture shader...\n"
           "\n"
           "Loading Font: Data/Font/font.tga\n"
           "Loading Texture: Data/MousePointer.png\n"
           "Loading Texture: Data/MAP1.png\n"
           "Loading Texture: Data/MAP2.png\n"
           "Loading Texture: Data/Logo/orvlogo.png\n";
}

bool Near(const Rgb& c, int r, int g, int b, int tolerance) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}

int CountWhite(const Screenshot& shot, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            Rgb c = shot.At(x, y);
            if (c.r > 235 && c.g > 235 && c.b > 235) {
                ++count;
            }
        }
    }
    return count;
}

// The (dx, dy) that best maps a patch of `before` onto `after`: the scene's movement between
// the two shots.
void FindShift(const Screenshot& before, const Screenshot& after, int* bestDx, int* bestDy) {
    long best = -1;
    for (int dy = -8; dy <= 12; ++dy) {
        for (int dx = -300; dx <= 300; ++dx) {
            long sum = 0;
            for (int y = 150; y < 450 && (best < 0 || sum < best); y += 6) {
                for (int x = 350; x < 650; x += 6) {
                    Rgb a = before.At(x, y);
                    Rgb b = after.At(x + dx, y + dy);
                    sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
                }
            }
            if (best < 0 || sum < best) {
                best = sum;
                *bestDx = dx;
                *bestDy = dy;
            }
        }
    }
}

class DemoRun {
public:
    explicit DemoRun(const std::vector<std::string>& env = {})
        : process_({BuiltProgram("camera2d_demo")}, env) {}
    ChildProcess& process() { return process_; }
    // Waits for the last load line and for the window to show its first frames.
    bool WaitUntilRunning() {
        if (!process_.WaitForOutput(kLastLoadLine, 20000)) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        return true;
    }

private:
    ChildProcess process_;
};

}  // namespace

TEST(DemoEndToEnd, WritesItsLogAndEndsWithStatusZeroOnEscape) {
    DriverStrings driver = QueryDriverStrings();
    ASSERT_FALSE(driver.vendor.empty());
    DemoRun demo;
    ASSERT_TRUE(demo.WaitUntilRunning()) << demo.process().Result().out;
    EXPECT_TRUE(demo.process().WaitForExit(0) == false) << "the demo ended on its own";
    Shell("xdotool key Escape");
    ASSERT_TRUE(demo.process().WaitForExit(5000)) << "no exit after Escape";
    ProcessResult result = demo.process().Result();
    EXPECT_EQ(0, result.exitStatus);
    EXPECT_EQ(ExpectedLog(driver), result.out);
    EXPECT_EQ("", result.err);
}

TEST(DemoEndToEnd, SigtermClosesTheWindowLikeTheCloseButton) {
    DemoRun demo;
    ASSERT_TRUE(demo.WaitUntilRunning());
    demo.process().Signal(SIGTERM);
    ASSERT_TRUE(demo.process().WaitForExit(5000)) << "no exit after SIGTERM";
    ProcessResult result = demo.process().Result();
    EXPECT_EQ(0, result.exitStatus);
    EXPECT_EQ(0, result.signal);
}

TEST(DemoEndToEnd, CaptionGainsTheFrameRate) {
    DemoRun demo;
    ASSERT_TRUE(demo.process().WaitForOutput(kLastLoadLine, 20000));
    std::string title;
    for (int i = 0; i < 40; ++i) {
        std::string id =
            Shell(std::string("xdotool search --name '^") + kCaption + "' | head -n 1");
        if (!id.empty()) {
            title = Shell("xdotool getwindowname " + id);
            if (title.find(" Current FPS: ") != std::string::npos) {
                break;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(0u, title.find(std::string(kCaption) + " Current FPS: ")) << title;
    Shell("xdotool key Escape");
    ASSERT_TRUE(demo.process().WaitForExit(5000));
    EXPECT_EQ(0, demo.process().Result().exitStatus);
}

TEST(DemoEndToEnd, ScreenShowsMapsLogoAndText) {
    DemoRun demo;
    ASSERT_TRUE(demo.WaitUntilRunning());
    Screenshot shot;
    ASSERT_TRUE(shot.Valid());

    // The maps cover the whole window: no pixel of the black clear colour shows.
    for (int y = 2; y < 768; y += 16) {
        for (int x = 2; x < 1024; x += 16) {
            Rgb c = shot.At(x, y);
            ASSERT_FALSE(c.r < 8 && c.g < 8 && c.b < 8) << "black at " << x << "," << y;
        }
    }
    // The logo (256 x 64, a 4-pixel yellow frame) ends 2 pixels inside the bottom-right corner.
    const int right = 1021;
    const int bottom = 765;
    EXPECT_TRUE(Near(shot.At(right, 734), 250, 200, 60, 12));
    EXPECT_TRUE(Near(shot.At(900, bottom), 250, 200, 60, 12));
    EXPECT_TRUE(Near(shot.At(right - 255, 734), 250, 200, 60, 12));
    EXPECT_TRUE(Near(shot.At(900, bottom - 63), 250, 200, 60, 12));
    EXPECT_FALSE(Near(shot.At(right + 2, 734), 250, 200, 60, 12));
    EXPECT_FALSE(Near(shot.At(900, bottom + 2), 250, 200, 60, 12));

    // The two white text lines at (360, 30) and (20, 740); the map itself has no white there.
    EXPECT_GT(CountWhite(shot, 360, 30, 360 + 24 * 12, 46), 40);
    EXPECT_GT(CountWhite(shot, 20, 740, 20 + 18 * 12, 756), 30);
    EXPECT_EQ(0, CountWhite(shot, 360, 60, 360 + 24 * 12, 76));

    Shell("xdotool key Escape");
    ASSERT_TRUE(demo.process().WaitForExit(5000));
}

TEST(DemoEndToEnd, AnArrowKeyMovesTheSceneByFivePixels) {
    DemoRun demo;
    ASSERT_TRUE(demo.WaitUntilRunning());
    Screenshot before;
    // Up moves the camera (and the scene) 5 pixels down in the frame that takes the key;
    // the release is taken in a later frame and moves nothing.
    Shell("xdotool key Up");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Screenshot after;
    ASSERT_TRUE(before.Valid() && after.Valid());
    int dx = 0;
    int dy = 0;
    FindShift(before, after, &dx, &dy);
    EXPECT_EQ(5, dy) << "horizontal drift between the shots: " << dx;
    Shell("xdotool key Escape");
    ASSERT_TRUE(demo.process().WaitForExit(5000));
    EXPECT_EQ(0, demo.process().Result().exitStatus);
}

TEST(DemoEndToEnd, AnUnavailableVideoDriverEndsWithStatusOne) {
    ChildProcess demo({BuiltProgram("camera2d_demo")}, {"SDL_VIDEODRIVER=nonexistent"});
    ASSERT_TRUE(demo.WaitForExit(10000));
    ProcessResult result = demo.Result();
    EXPECT_EQ(1, result.exitStatus);
    std::string prefix = "Error: SDL Could not be initialized: ";
    ASSERT_EQ(prefix, result.err.substr(0, prefix.size())) << result.err;
    // One line: the message and SDL's own text.
    EXPECT_GT(result.err.size(), prefix.size() + 1);
    EXPECT_EQ(result.err.size() - 1, result.err.find('\n'));
    EXPECT_EQ(0u, result.out.find("\nOrvane Engine version 0.02...\n"));
}

// Without a display SDL would fall back to a text-mode driver, which writes terminal codes to
// standard output or ends the process; the run fails before that, the cause line first. A
// driver chosen in SDL_VIDEODRIVER is still tried.
TEST(DemoEndToEnd, WithoutADisplayTheCauseIsWrittenBeforeTheError) {
    const char* const unset = "No display: DISPLAY is unset\n";
    const char* const initError =
        "Error: SDL Could not be initialized: No available video device\n";
    // sdl12-compat, SDL 1.2 over SDL 2, counts from 1.2.50.
    const bool overSdl2 = SDL_Linked_Version()->patch >= 50;
    // The last error line ends in SDL's own words, which differ between SDL 1.2 and SDL 2.
    const struct {
        std::vector<std::string> env;
        const char* cause;
        const char* error;
    } cases[] = {{{"DISPLAY=", "TERM="}, unset, initError},
                 {{"DISPLAY=", "TERM=xterm"}, unset, initError},
                 {{"DISPLAY=:4093", "TERM=dumb"},
                  "No display: the X server of DISPLAY=:4093 cannot be reached\n",
                  initError},
                 {{"DISPLAY=", "SDL_VIDEODRIVER=dummy"},
                  unset,
                  "Error: SDL Could not create Video Surface."},
                 // SDL 2 may use Wayland instead, and says itself why not; SDL 1.2 cannot.
                 {{"DISPLAY=", "WAYLAND_DISPLAY=orvane-none", "XDG_RUNTIME_DIR=/tmp"},
                  overSdl2 ? "" : unset,
                  overSdl2 ? "Error: SDL Could not be initialized: " : initError}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.env[0] + " " + c.env[1]);
        ChildProcess demo({BuiltProgram("camera2d_demo")}, c.env);
        ASSERT_TRUE(demo.WaitForExit(10000));
        ProcessResult result = demo.Result();
        EXPECT_EQ(1, result.exitStatus);
        std::string expected = std::string(c.cause) + c.error;
        EXPECT_EQ(0u, result.err.find(expected)) << result.err;
        // Nothing follows but the rest of that line.
        EXPECT_EQ(result.err.size() - 1, result.err.find('\n', expected.size() - 1)) << result.err;
        EXPECT_EQ(orvane_test::kStartupLog, result.out);
    }
}

TEST(DemoEndToEnd, AFrameLimitEndsTheDemoByItself) {
    ChildProcess demo({BuiltProgram("camera2d_demo"), "--frames", "3"});
    ASSERT_TRUE(demo.WaitForExit(20000));
    ProcessResult result = demo.Result();
    EXPECT_EQ(0, result.exitStatus) << result.err;
    EXPECT_NE(std::string::npos, result.out.find(kLastLoadLine));

    ChildProcess wrong({BuiltProgram("camera2d_demo"), "--frames", "3x"});
    ASSERT_TRUE(wrong.WaitForExit(10000));
    EXPECT_EQ(2, wrong.Result().exitStatus);
    EXPECT_NE(std::string::npos, wrong.Result().err.find("[--frames N]"));
}
