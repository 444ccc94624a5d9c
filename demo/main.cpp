// The camera-movement demo's program entry.
// Usage: camera2d_demo [--frames N]   (N > 0: ends by itself with status 0 after N frames, so
// that it can run unattended, under valgrind for instance)
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "core/RunApplication.h"
#include "demo/Camera2DDemo.h"

namespace {

int g_frameLimit = 0;

class LimitedDemo : public Camera2DDemo {
public:
    void MainLoop() override {
        for (int frame = 0; frame < g_frameLimit && RunFrame(); ++frame) {
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    // Other arguments are ignored, as they always were.
    if (argc < 2 || std::strcmp(argv[1], "--frames") != 0) {
        return RunApplication<Camera2DDemo>();
    }
    char* end = nullptr;
    long frames = argc == 3 ? std::strtol(argv[2], &end, 10) : 0;
    if (end == nullptr || *end != '\0' || frames < 1 || frames > 1000000000L) {
        std::cerr << "Usage: " << argv[0] << " [--frames N]   (N a whole number above 0)"
                  << std::endl;
        return 2;
    }
    g_frameLimit = static_cast<int>(frames);
    return RunApplication<LimitedDemo>();
}
