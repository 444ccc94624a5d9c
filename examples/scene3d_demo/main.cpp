// The 3D example's program entry.
#include "core/RunApplication.h"
#include "examples/scene3d_demo/Scene3DDemo.h"

int main(int /*argc*/, char** /*argv*/) {
    return RunApplication<Scene3DDemo>();
}
