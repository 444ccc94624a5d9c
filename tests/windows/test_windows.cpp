// What only the Windows build does itself, checked under wine: the system's picture decoder gives
// every committed PNG exactly as SDL_image does on Linux, and a picture it cannot read costs the
// demo one line and nothing more.
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cinttypes>
#include <sstream>
#include <thread>

#include "support/TestSupport.h"
#include "windows/PictureHash.h"

using orvane_test::BuiltProgram;
using orvane_test::ChildProcess;
using orvane_test::Shell;

TEST(WindowsPictures, EveryCommittedPngDecodesAsWithSdlImage) {
    std::string files = Shell("cd " ORVANE_SOURCE_DIR " && git ls-files -- '*.png' | tr '\\n' ' '");
    ASSERT_FALSE(files.empty());
    std::istringstream lines(Shell(BuiltProgram("picture_dump") + " " + files));
    std::istringstream names(files);
    std::string name;
    int compared = 0;
    for (std::string line; std::getline(lines, line) && names >> name; ++compared) {
        SDL_Surface* reference = IMG_Load(name.c_str());
        ASSERT_NE(nullptr, reference) << name;
        char expected[600];
        std::snprintf(expected, sizeof expected, "%s %d %d %016" PRIx64, name.c_str(), reference->w,
                      reference->h, orvane_test::PictureHash(reference));
        SDL_FreeSurface(reference);
        EXPECT_EQ(expected, line);
    }
    EXPECT_EQ(static_cast<int>(std::count(files.begin(), files.end(), ' ')), compared);
}

TEST(WindowsDemo, AMissingAndACorruptPictureGiveTheirLineAndTheDemoGoesOn) {
    std::string dir = orvane_test::MakeTempDir("orvane-pictures");
    Shell("cd " ORVANE_SOURCE_DIR " && cp -r Data shaders '" + dir + "/' && rm '" + dir +
          "/Data/MAP2.png' && printf 'not a picture' > '" + dir + "/Data/MAP1.png'");
    ChildProcess demo({BuiltProgram("camera2d_demo")}, {}, dir);
    ASSERT_TRUE(demo.WaitForOutput("Loading Texture: Data/Logo/orvlogo.png\n", 30000))
        << demo.Result().out;
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_FALSE(demo.WaitForExit(0)) << "the demo ended on a picture it could not read";
    Shell("xdotool key Escape");
    ASSERT_TRUE(demo.WaitForExit(10000));
    Shell("rm -rf '" + dir + "'");
    orvane_test::ProcessResult result = demo.Result();
    EXPECT_EQ(0, result.exitStatus);
    EXPECT_EQ("", result.err);
    // The corrupt one: the system's own text, on the one line.
    const std::string corrupt = "Loading Texture: Data/MAP1.png\nFailed to load the image: "
                                "Data/MAP1.png, Error: ";
    size_t at = result.out.find(corrupt);
    ASSERT_NE(std::string::npos, at) << result.out;
    size_t end = result.out.find('\n', at + corrupt.size());
    std::string why = result.out.substr(at + corrupt.size(), end - at - corrupt.size());
    EXPECT_FALSE(why.empty());
    std::cout << "A corrupt picture: " << why << std::endl;
    EXPECT_EQ(0u, result.out.compare(end, 32, "\nLoading Texture: Data/MAP2.png\n"));
    EXPECT_NE(std::string::npos,
              result.out.find("Loading Texture: Data/MAP2.png\nFailed to load the image: "
                              "Data/MAP2.png, Error: Couldn't open Data/MAP2.png\n"
                              "Loading Texture: Data/Logo/orvlogo.png\n"))
        << result.out;
}
