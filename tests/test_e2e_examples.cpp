// The example programs end to end: each runs from the repository root under Xvfb, is driven
// from outside with xdotool, and is judged by its standard output and by screenshots.
#include <SDL.h>
#include <SDL_image.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

#include "support/TestSupport.h"

using orvane_test::BuiltProgram;
using orvane_test::ChildProcess;
using orvane_test::ProcessResult;
using orvane_test::Rgb;
using orvane_test::Screenshot;
using orvane_test::Shell;

namespace {

bool Near(const Rgb& c, int r, int g, int b, int tolerance = 12) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}

::testing::AssertionResult PixelIs(const Screenshot& shot, int x, int y, int r, int g, int b) {
    Rgb c = shot.At(x, y);
    if (Near(c, r, g, b)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "pixel " << x << "," << y << " is (" << c.r << ", " << c.g << ", " << c.b
           << "), expected (" << r << ", " << g << ", " << b << ")";
}

// Pixels of the rectangle whose colour differs between the two shots.
int CountChanged(const Screenshot& a, const Screenshot& b, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!Near(a.At(x, y), b.At(x, y).r, b.At(x, y).g, b.At(x, y).b, 8)) {
                ++count;
            }
        }
    }
    return count;
}

bool White(const Rgb& c) {
    return c.r > 235 && c.g > 235 && c.b > 235;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Dummy audio, so the audio device opens without a sound card; in a sanitizer build the leak
// checker keeps its suppressions but stops listing them on standard error, which the tests
// expect to stay empty.
std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env = {"SDL_AUDIODRIVER=dummy"};
    if (const char* lsan = std::getenv("LSAN_OPTIONS")) {
        env.push_back(std::string("LSAN_OPTIONS=") + lsan + ":print_suppressions=0");
    }
    return env;
}

// One example program, started with the pointer parked where it disturbs nothing, judged
// once it has shown its first frames.
class ExampleRun {
public:
    ExampleRun(const std::string& name, const std::string& lastLoadLine, int pointerX, int pointerY)
        : lastLoadLine_(lastLoadLine) {
        Shell("xdotool mousemove " + std::to_string(pointerX) + " " + std::to_string(pointerY));
        process_ = std::make_unique<ChildProcess>(std::vector<std::string>{BuiltProgram(name)},
                                                  ChildEnvironment());
    }
    ChildProcess& process() { return *process_; }
    bool WaitUntilRunning() {
        if (!process_->WaitForOutput(lastLoadLine_, 20000)) {
            return false;
        }
        Pause(1500);
        return true;
    }
    bool WaitFor(const std::string& line) { return process_->WaitForOutput(line + "\n", 5000); }
    // Waits until the output holds the text `times` times.
    bool WaitForCount(const std::string& text, size_t times) {
        for (int i = 0; i < 250; ++i) {
            if (CountOf(Out(), text) >= times) {
                return true;
            }
            Pause(20);
        }
        return false;
    }
    std::string Out() { return process_->Result().out; }
    // Escape must end the program with status 0, having written no failure line and nothing
    // on standard error.
    void ExpectCleanEndOnEscape() {
        Shell("xdotool key Escape");
        ASSERT_TRUE(process_->WaitForExit(5000)) << "no exit after Escape";
        ProcessResult result = process_->Result();
        EXPECT_EQ(0, result.exitStatus);
        for (const char* failure : {"Failed", "Cannot Load", "Unable"}) {
            EXPECT_EQ(std::string::npos, result.out.find(failure)) << result.out;
            EXPECT_EQ(std::string::npos, result.err.find(failure)) << result.err;
        }
        EXPECT_EQ("", result.err);
    }

private:
    std::string lastLoadLine_;
    std::unique_ptr<ChildProcess> process_;
};

// ---- GUI example ------------------------------------------------------------------------------

// Colours of the generated GUI pictures (tools/make_gui_images.py).
const Rgb kPanelTitle{220, 200, 200};
const Rgb kPanelBody{90, 30, 30};
const Rgb kWideTitle{200, 200, 220};
const Rgb kWideBody{30, 30, 90};
const Rgb kButtonRest{40, 80, 200};
const Rgb kToggleOff{120, 120, 120};
const Rgb kToggleOn{40, 180, 60};
const Rgb kAltPointer{255, 220, 60};
const Rgb kBackground{31, 36, 41};

ExampleRun StartGui() {
    return ExampleRun("gui_demo", "Loading Texture: Data/GUI/button3.png\n", 700, 300);
}

bool Is(const Screenshot& shot, int x, int y, const Rgb& c) {
    return Near(shot.At(x, y), c.r, c.g, c.b);
}

// The label text is yellow (red 1, green 1, blue 0.4).
bool LabelYellow(const Rgb& c) {
    return c.r > 220 && c.g > 220 && c.b > 70 && c.b < 140;
}

TEST(GuiExample, ShowsThePanelItsWidgetsAndTheSecondWindow) {
    ExampleRun gui = StartGui();
    ASSERT_TRUE(gui.WaitUntilRunning()) << gui.Out();
    Screenshot shot;
    ASSERT_TRUE(shot.Valid());
    // The panel spans (100, 100) to (400, 400): a 15-pixel title strip over the body.
    EXPECT_TRUE(Is(shot, 300, 107, kPanelTitle));
    EXPECT_TRUE(Is(shot, 380, 380, kPanelBody));
    EXPECT_TRUE(Is(shot, 98, 250, kBackground));
    EXPECT_TRUE(Is(shot, 402, 250, kBackground));
    // Three buttons at rest at panel (20, 70), (118, 70), (216, 70), 64 x 32 with a border.
    for (int x : {150, 248, 346}) {
        EXPECT_TRUE(Is(shot, x, 190, kButtonRest)) << "button at x " << x;
    }
    EXPECT_TRUE(Is(shot, 200, 190, kPanelBody));
    // The toggle, off, at panel (20, 170).
    EXPECT_TRUE(Is(shot, 150, 290, kToggleOff));
    // The labels: "Last clicked: none" in yellow, "Toggle: off" in white.
    EXPECT_GT(shot.Count(120, 225, 340, 241, LabelYellow), 60);
    EXPECT_GT(shot.Count(200, 278, 330, 294, White), 40);
    // The second window at (450, 500) to (962, 628), with its button at (880, 570).
    EXPECT_TRUE(Is(shot, 900, 507, kWideTitle));
    EXPECT_TRUE(Is(shot, 700, 610, kWideBody));
    EXPECT_TRUE(Is(shot, 910, 590, kButtonRest));
    // The help line at the bottom.
    EXPECT_GT(shot.Count(20, 740, 600, 756, [](const Rgb& c) { return c.b > 200 && c.r > 150; }),
              100);
    gui.ExpectCleanEndOnEscape();
}

TEST(GuiExample, AClickWritesTheButtonIdIntoTheLabelAndFlipsTheToggle) {
    ExampleRun gui = StartGui();
    ASSERT_TRUE(gui.WaitUntilRunning()) << gui.Out();
    Screenshot before;
    // Hovering shows the button's tooltip below the panel; nothing is printed there before.
    Shell("xdotool mousemove 250 186");
    Pause(400);
    Screenshot hovering;
    Shell("xdotool click 1");
    ASSERT_TRUE(gui.WaitFor("Clicked: 2")) << gui.Out();
    Shell("xdotool mousemove 700 300");
    Pause(400);
    Screenshot after;
    ASSERT_TRUE(before.Valid() && hovering.Valid() && after.Valid());

    EXPECT_EQ(0, before.Count(100, 410, 500, 426, White));
    EXPECT_GT(hovering.Count(100, 410, 500, 426, White), 100);
    EXPECT_EQ(0, after.Count(100, 410, 500, 426, White));
    // "Last clicked: none" became "Last clicked: 2": the prefix stays, "none" is gone.
    EXPECT_EQ(0, CountChanged(before, after, 120, 225, 286, 241));
    EXPECT_GT(before.Count(300, 225, 340, 241, LabelYellow), 20);
    EXPECT_EQ(0, after.Count(300, 225, 340, 241, LabelYellow));
    EXPECT_GT(after.Count(288, 225, 300, 241, LabelYellow), 8);
    EXPECT_EQ(std::string::npos, gui.Out().find("Clicked: 1"));

    // The pointer rests on the toggle before the click, as a hand's does: the engine reads the
    // pointer once a frame, and wine may hand the program a move and a click sent together in
    // the same frame.
    Shell("xdotool mousemove 150 290");
    Pause(200);
    Shell("xdotool click 1");
    ASSERT_TRUE(gui.WaitFor("Clicked: 10")) << gui.Out();
    ASSERT_TRUE(gui.WaitFor("Toggle: on")) << gui.Out();
    Shell("xdotool mousemove 700 300");
    Pause(400);
    Screenshot toggled;
    ASSERT_TRUE(toggled.Valid());
    EXPECT_TRUE(Is(toggled, 150, 290, kToggleOn));
    // "Toggle: on" is shorter than "Toggle: off".
    EXPECT_GT(CountChanged(after, toggled, 200, 278, 340, 294), 20);
    gui.ExpectCleanEndOnEscape();
}

TEST(GuiExample, TheTitleBarShowsTheAlternateCursorAndDragsThePanel) {
    ExampleRun gui = StartGui();
    ASSERT_TRUE(gui.WaitUntilRunning()) << gui.Out();
    Shell("xdotool mousemove 250 107");
    ASSERT_TRUE(gui.WaitFor("Cursor: alternate")) << gui.Out();
    Pause(300);
    Screenshot over;
    ASSERT_TRUE(over.Valid());
    // The alternate arrow is drawn with its tip at the pointer; the normal one is white there.
    EXPECT_TRUE(PixelIs(over, 252, 113, kAltPointer.r, kAltPointer.g, kAltPointer.b));
    // The panel's tooltip is printed above it.
    EXPECT_GT(over.Count(100, 80, 500, 96, White), 100);

    // Drag by (+50, +50), one step at a time: each must be taken in a frame of its own.
    Shell("xdotool mousedown 1");
    ASSERT_TRUE(gui.WaitFor("Drag: started")) << gui.Out();
    Shell("xdotool mousemove 300 157");
    Pause(300);
    Shell("xdotool mouseup 1");
    ASSERT_TRUE(gui.WaitFor("Drag: ended at (150, 150)")) << gui.Out();
    Shell("xdotool mousemove 700 300");
    ASSERT_TRUE(gui.WaitFor("Cursor: normal")) << gui.Out();
    Pause(300);
    Screenshot moved;
    ASSERT_TRUE(moved.Valid());
    EXPECT_TRUE(Is(moved, 420, 157, kPanelTitle));
    EXPECT_TRUE(Is(moved, 440, 440, kPanelBody));
    EXPECT_TRUE(Is(moved, 120, 120, kBackground));
    // The buttons came along.
    EXPECT_TRUE(Is(moved, 200, 240, kButtonRest));
    gui.ExpectCleanEndOnEscape();
}

TEST(GuiExample, HHidesAndShowsTheSecondWindow) {
    ExampleRun gui = StartGui();
    ASSERT_TRUE(gui.WaitUntilRunning()) << gui.Out();
    Shell("xdotool key h");
    ASSERT_TRUE(gui.WaitFor("Second window: hidden")) << gui.Out();
    Pause(300);
    Screenshot hidden;
    Shell("xdotool key h");
    ASSERT_TRUE(gui.WaitFor("Second window: shown")) << gui.Out();
    Pause(300);
    Screenshot shown;
    ASSERT_TRUE(hidden.Valid() && shown.Valid());
    EXPECT_TRUE(Is(hidden, 700, 610, kBackground));
    EXPECT_TRUE(Is(hidden, 900, 507, kBackground));
    EXPECT_TRUE(Is(shown, 700, 610, kWideBody));
    // The panel stays where it is throughout.
    EXPECT_TRUE(Is(hidden, 380, 380, kPanelBody));

    // The second window's own button hides it as well.
    Shell("xdotool mousemove 910 590");
    Pause(200);
    Shell("xdotool click 1");
    ASSERT_TRUE(gui.WaitFor("Clicked: 4")) << gui.Out();
    EXPECT_TRUE(gui.WaitForCount("Second window: hidden\n", 2)) << gui.Out();
    gui.ExpectCleanEndOnEscape();
}

// ---- 3D example -------------------------------------------------------------------------------

const char* const kSceneReady = "Shader: 3\n";

ExampleRun StartScene() {
    // Mouse look turns the view by the pointer's distance from the middle of the window.
    return ExampleRun("scene3d_demo", kSceneReady, 512, 384);
}

bool CubeYellow(const Rgb& c) {
    return c.r > 230 && c.g > 230 && c.b < 40;
}
bool CubeGreen(const Rgb& c) {
    return c.r < 40 && c.g > 230 && c.b < 40;
}
bool GridGrey(const Rgb& c) {
    return Near(c, 128, 128, 128, 6);
}

// Reads the point of a line such as "Ball at (-15.0, 1.0, -3.0)" that follows `prefix`.
bool ReadPoint(const std::string& out, const std::string& prefix, float* x, float* y, float* z) {
    size_t at = out.rfind(prefix);
    if (at == std::string::npos) {
        return false;
    }
    return std::sscanf(out.c_str() + at + prefix.size(), "(%f, %f, %f)", x, y, z) == 3;
}

TEST(SceneExample, ShowsTheGridTheCubesAndTheProgramInUse) {
    ExampleRun scene = StartScene();
    ASSERT_TRUE(scene.WaitUntilRunning()) << scene.Out();
    Screenshot shot;
    ASSERT_TRUE(shot.Valid());
    // The grid covers the lower part of the view with grey lines over the clear colour.
    int grey = shot.Count(0, 560, 1024, 700, GridGrey);
    EXPECT_GT(grey, 3000);
    EXPECT_LT(grey, 1024 * 140 / 2);
    EXPECT_TRUE(PixelIs(shot, 512, 120, 13, 18, 31));
    // The nearest cube stands to the left of the middle: a yellow side under a green top.
    EXPECT_GT(shot.Count(100, 380, 400, 560, CubeYellow), 2000);
    EXPECT_GT(shot.Count(100, 380, 400, 560, CubeGreen), 300);
    // The program's name under the frame rate.
    EXPECT_GT(shot.Count(20, 30, 480, 46, White), 100);

    // Program 1 is flat colour: the torus becomes one even tone, which lighting never gives.
    auto flat = [](const Rgb& c) { return Near(c, 217, 217, 242, 3); };
    int flatBefore = shot.Count(300, 250, 560, 460, flat);
    Shell("xdotool key 1");
    ASSERT_TRUE(scene.WaitFor("Shader: 1")) << scene.Out();
    Pause(400);
    Screenshot flatShot;
    ASSERT_TRUE(flatShot.Valid());
    EXPECT_LT(flatBefore, 300);
    EXPECT_GT(flatShot.Count(300, 250, 560, 460, flat), 3000);
    // "Shader 1: simple colour" is shorter than the name before it.
    EXPECT_EQ(0, flatShot.Count(300, 30, 480, 46, White));

    for (int program = 2; program <= 9; ++program) {
        Shell("xdotool key " + std::to_string(program));
        ASSERT_TRUE(scene.WaitFor("Shader: " + std::to_string(program))) << scene.Out();
    }
    scene.ExpectCleanEndOnEscape();
}

TEST(SceneExample, WMovesTheCameraForward) {
    ExampleRun scene = StartScene();
    ASSERT_TRUE(scene.WaitUntilRunning()) << scene.Out();
    Screenshot before;
    Pause(200);
    Screenshot still;
    Shell("xdotool keydown w");
    Pause(50);
    Shell("xdotool keyup w");
    ASSERT_TRUE(scene.process().WaitForOutput("Camera at (", 5000)) << scene.Out();
    Pause(300);
    Screenshot after;
    ASSERT_TRUE(before.Valid() && still.Valid() && after.Valid());

    float x = 0, y = 0, z = 0;
    ASSERT_TRUE(ReadPoint(scene.Out(), "Camera at ", &x, &y, &z)) << scene.Out();
    // From (-4, 9, -24) towards (-4, -7, 36): forward and a little down, never sideways.
    EXPECT_FLOAT_EQ(-4.0f, x);
    EXPECT_GT(z, -23.0f);
    EXPECT_LT(y, 9.0f);
    EXPECT_NEAR((9.0f - y) / (z + 24.0f), 16.0f / 60.0f, 0.02f);
    // Without input the grid stands still; after the move its lines are elsewhere.
    EXPECT_EQ(0, CountChanged(before, still, 0, 560, 1024, 700));
    EXPECT_GT(CountChanged(before, after, 0, 560, 1024, 700), 2000);
    scene.ExpectCleanEndOnEscape();
}

TEST(SceneExample, TheWallsStopTheBallAndTheRampLiftsIt) {
    ExampleRun scene = StartScene();
    ASSERT_TRUE(scene.WaitUntilRunning()) << scene.Out();
    // L rolls the ball from (-9, 1, -3) towards -x, into the side wall at x = -16.
    Shell("xdotool keydown l");
    Pause(1800);
    Shell("xdotool keyup l");
    ASSERT_TRUE(scene.WaitFor("Ball touches: side wall")) << scene.Out();
    ASSERT_TRUE(scene.WaitFor("Ball at (-15.0, 1.0, -3.0)")) << scene.Out();

    // I rolls it along the wall towards +z, up the ramp that rises from z = 1 to the top of the
    // back wall at z = 6, which holds it.
    Shell("xdotool keydown i");
    Pause(2000);
    Shell("xdotool keyup i");
    ASSERT_TRUE(scene.WaitFor("Ball touches: ramp")) << scene.Out();
    ASSERT_TRUE(scene.WaitForCount("Ball at (", 2)) << scene.Out();
    float x = 0, y = 0, z = 0;
    ASSERT_TRUE(ReadPoint(scene.Out(), "Ball at ", &x, &y, &z)) << scene.Out();
    EXPECT_NEAR(-15.0f, x, 0.05f);
    EXPECT_GT(y, 1.5f);
    EXPECT_GT(z, 1.0f);
    // Resting on the ramp, the ball reaches the back wall's top edge from above before its
    // centre comes within a radius of the wall's plane, so it stops a little beyond z = 5.
    EXPECT_LT(z, 5.5f);
    scene.ExpectCleanEndOnEscape();
}

// ---- Audio example ----------------------------------------------------------------------------

TEST(AudioExample, ShowsItsStateAndMStartsTheMusic) {
    ExampleRun audio("audio_demo", "Loading Font: Data/Font/font.tga\n", 700, 600);
    ASSERT_TRUE(audio.WaitUntilRunning()) << audio.Out();
    Screenshot before;
    ASSERT_TRUE(before.Valid());
    // The title in bold, the device line and the music line.
    EXPECT_GT(before.Count(100, 100, 260, 116, White), 80);
    EXPECT_GT(before.Count(100, 160, 320, 176, White), 60);
    EXPECT_GT(before.Count(100, 190, 300, 206, White), 40);
    EXPECT_TRUE(PixelIs(before, 600, 600, 20, 26, 46));

    Shell("xdotool key m");
    ASSERT_TRUE(audio.WaitFor("Music: playing")) << audio.Out();
    Pause(400);
    Screenshot playing;
    ASSERT_TRUE(playing.Valid());
    // "Music: stopped" became "Music: playing": the word after the colon changed, the lines
    // above and below did not.
    EXPECT_EQ(0, CountChanged(before, playing, 100, 190, 180, 206));
    EXPECT_GT(CountChanged(before, playing, 184, 190, 280, 206), 40);
    EXPECT_EQ(0, CountChanged(before, playing, 100, 160, 320, 176));
    EXPECT_EQ(0, CountChanged(before, playing, 100, 220, 320, 236));

    Shell("xdotool key m");
    ASSERT_TRUE(audio.WaitFor("Music: stopped")) << audio.Out();
    audio.ExpectCleanEndOnEscape();
}

}  // namespace
