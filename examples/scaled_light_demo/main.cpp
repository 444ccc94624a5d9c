// The scaled light example's program entry.
#include "core/RunApplication.h"
#include "examples/scaled_light_demo/ScaledLightDemo.h"

int main(int /*argc*/, char** /*argv*/) {
    return RunApplication<ScaledLightDemo>();
}
