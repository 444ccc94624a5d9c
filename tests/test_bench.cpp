// The frame benchmark compares like with like only while the engine's demo frame and the
// hand-written reference programs draw the same picture: after the same number of frames (the
// same camera position) their windows must match pixel for pixel, in both reference variants.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

using orvane_test::BuiltProgram;
using orvane_test::ChildProcess;
using orvane_test::ProcessResult;
using orvane_test::ReadFile;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::string rgb;  // three bytes a pixel, top row first

    const unsigned char* At(int x, int y) const {
        return reinterpret_cast<const unsigned char*>(rgb.data()) + (y * width + x) * 3;
    }
};

// Reads the binary PPM that the benchmark programs write with --snapshot.
Picture ReadPpm(const std::string& path) {
    Picture picture;
    std::string data = ReadFile(path);
    int maxValue = 0;
    int consumed = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &picture.width, &picture.height, &maxValue,
                    &consumed) != 3 ||
        maxValue != 255) {
        return Picture();
    }
    size_t start = static_cast<size_t>(consumed) + 1;  // one white-space byte ends the header
    size_t size = static_cast<size_t>(picture.width) * picture.height * 3;
    if (data.size() < start + size) {
        return Picture();
    }
    picture.rgb = data.substr(start, size);
    return picture;
}

// Runs one benchmark program for 20 frames and returns the picture it left in its window.
Picture Snapshot(const std::vector<std::string>& command, const std::string& name) {
    std::string path = "/tmp/orvane_bench_" + std::to_string(getpid()) + "_" + name + ".ppm";
    std::vector<std::string> argv = command;
    argv.insert(argv.end(), {"--frames", "20", "--snapshot", path});
    ChildProcess child(argv);
    EXPECT_TRUE(child.WaitForExit(60000)) << name << " did not finish";
    ProcessResult result = child.Result();
    EXPECT_EQ(result.exitStatus, 0) << name << ": " << result.err;
    Picture picture = ReadPpm(path);
    unlink(path.c_str());
    return picture;
}

int CountDifferentPixels(const Picture& a, const Picture& b) {
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const unsigned char* p = a.At(x, y);
            const unsigned char* q = b.At(x, y);
            if (p[0] != q[0] || p[1] != q[1] || p[2] != q[2]) {
                ++count;
            }
        }
    }
    return count;
}

TEST(BenchPictures, ReferencesDrawTheEnginesFrame) {
    std::string engine = BuiltProgram("bench/bench_engine");
    std::string reference = BuiltProgram("bench/bench_reference");
    if (access(engine.c_str(), X_OK) != 0 || access(reference.c_str(), X_OK) != 0) {
        GTEST_SKIP() << "the benchmark programs are not built";
    }
    Picture fromEngine = Snapshot({engine}, "engine");
    ASSERT_EQ(fromEngine.width, 1024);
    ASSERT_EQ(fromEngine.height, 768);
    // A real frame, not an empty window: the maps cover the middle.
    const unsigned char* middle = fromEngine.At(512, 384);
    EXPECT_GT(middle[0] + middle[1] + middle[2], 30);

    for (const char* mode : {"glsl", "fixed"}) {
        Picture fromReference = Snapshot({reference, "--mode", mode}, mode);
        ASSERT_EQ(fromReference.width, fromEngine.width) << mode;
        ASSERT_EQ(fromReference.height, fromEngine.height) << mode;
        EXPECT_EQ(CountDifferentPixels(fromEngine, fromReference), 0) << mode;
    }
}

}  // namespace
