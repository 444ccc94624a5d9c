// Editing while the demo runs: the built demo runs under Xvfb from a working copy of Data/ and
// shaders/, whose files the test rewrites the way editors save them, and the screen is read
// back from screenshots.
#include <stdlib.h>

#include <chrono>
#include <functional>
#include <thread>

#include "support/TestSupport.h"

using orvane_test::BuiltProgram;
using orvane_test::ChildProcess;
using orvane_test::Rgb;
using orvane_test::Screenshot;
using orvane_test::Shell;

namespace {

const char* const kLastLoadLine = "Loading Texture: Data/Logo/orvlogo.png\n";
const char* const kPictureFailure = "Failed to load the image: Data/MAP1.png";
const int kBandTop = 80;
const int kBandBottom = 700;
const double kLeftMapLeast = 0.1;

// The demo run from a fresh copy of the data, removed afterwards.
class WorkingCopyDemo {
public:
    explicit WorkingCopyDemo(bool watch) : dir_(MakeCopy()), demo_(Start(dir_, watch)) {}
    ~WorkingCopyDemo() {
        demo_->Signal(SIGTERM);
        demo_->WaitForExit(5000);
        Shell("rm -rf '" + dir_ + "'");
    }
    ChildProcess& process() { return *demo_; }
    // Runs a shell command in the working copy.
    void Edit(const std::string& command) { Shell("cd '" + dir_ + "' && " + command); }
    bool WaitUntilRunning() {
        if (!demo_->WaitForOutput(kLastLoadLine, 20000)) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        return true;
    }

private:
    static std::string MakeCopy() {
        char pattern[] = "/tmp/orvane_reload_XXXXXX";
        std::string dir = mkdtemp(pattern);
        Shell("cp -r '" ORVANE_SOURCE_DIR "/Data' '" ORVANE_SOURCE_DIR "/shaders' '" + dir + "/'");
        return dir;
    }
    static std::unique_ptr<ChildProcess> Start(const std::string& dir, bool watch) {
        return std::make_unique<ChildProcess>(
            std::vector<std::string>{BuiltProgram("camera2d_demo")},
            std::vector<std::string>{watch ? "ORVANE_WATCH=1" : "ORVANE_WATCH="}, dir);
    }

    std::string dir_;
    std::unique_ptr<ChildProcess> demo_;
};

// The share of the window's middle band (below the title text, above the logo) close to the
// colour. The camera drifts, so the left map covers between an eighth and all of it.
double Share(const Screenshot& shot, int r, int g, int b) {
    int count = shot.Count(0, kBandTop, 1024, kBandBottom, [=](const Rgb& c) {
        return std::abs(c.r - r) <= 8 && std::abs(c.g - g) <= 8 && std::abs(c.b - b) <= 8;
    });
    return count / (1024.0 * (kBandBottom - kBandTop));
}

// Takes screenshots until the colour covers at least the left map's least share of the band,
// for several seconds at most.
bool ShowsWithin(int r, int g, int b, int timeoutMs = 6000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Share(Screenshot(), r, g, b) > kLeftMapLeast) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool ErrorWithin(ChildProcess& process, const std::string& text, int timeoutMs = 6000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (process.Result().err.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace

TEST(ReloadEndToEnd, ReplacedPictureShowsAndABrokenOneLeavesTheOldOne) {
    WorkingCopyDemo demo(true);
    ASSERT_TRUE(demo.WaitUntilRunning());
    // An editor's save: a temporary file renamed over the picture.
    demo.Edit(
        "convert -size 1024x768 xc:'#ff00ff' png:Data/new.png && mv Data/new.png "
        "Data/MAP1.png");
    EXPECT_TRUE(ShowsWithin(255, 0, 255));

    // Half a picture, written in place.
    demo.Edit("head -c 3000 Data/MAP2.png > Data/MAP1.png");
    EXPECT_TRUE(demo.process().WaitForOutput(kPictureFailure, 6000));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_GT(Share(Screenshot(), 255, 0, 255), kLeftMapLeast);
    EXPECT_EQ(1u, Occurrences(demo.process().Result().out, kPictureFailure));

    // The next good save, in place and of another size, shows.
    demo.Edit("convert -size 1100x800 xc:'#00ffff' png:- > Data/MAP1.png");
    EXPECT_TRUE(ShowsWithin(0, 255, 255));
    EXPECT_EQ(1u, Occurrences(demo.process().Result().out, kPictureFailure));
}

TEST(ReloadEndToEnd, BrokenShaderKeepsThePictureAndTheFixedOneShows) {
    WorkingCopyDemo demo(true);
    ASSERT_TRUE(demo.WaitUntilRunning());
    // Program 0 draws every sprite; a missing semicolon.
    demo.Edit(
        "printf 'void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0) }\\n' > "
        "shaders/simpleTexture.frag");
    ASSERT_TRUE(
        ErrorWithin(demo.process(), "Shader compilation failed for shaders/simpleTexture.frag: "));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    Screenshot shot;
    // The maps are still drawn (a lost program would leave the clear colour), not in green.
    EXPECT_EQ(0, shot.Count(0, kBandTop, 1024, kBandBottom,
                            [](const Rgb& c) { return c.r < 8 && c.g < 8 && c.b < 8; }));
    EXPECT_LT(Share(shot, 0, 255, 0), 0.01);

    demo.Edit(
        "printf 'void main() { gl_FragColor = vec4(0.0, 1.0, 0.0, 1.0); }\\n' > "
        "shaders/simpleTexture.frag");
    EXPECT_TRUE(ShowsWithin(0, 255, 0));
}

TEST(ReloadEndToEnd, WithoutWatchingAChangedFileChangesNothing) {
    WorkingCopyDemo demo(false);
    ASSERT_TRUE(demo.WaitUntilRunning());
    demo.Edit("convert -size 1024x768 xc:'#ff00ff' png:- > Data/MAP1.png");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(0.0, Share(Screenshot(), 255, 0, 255));
    EXPECT_EQ(std::string::npos, demo.process().Result().out.find("Reloading"));
}
