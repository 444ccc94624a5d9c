// The camera-movement demo's program entry.
#include "core/RunApplication.h"
#include "demo/Camera2DDemo.h"

int main(int /*argc*/, char** /*argv*/) {
    return RunApplication<Camera2DDemo>();
}
