// The GUI example's program entry.
#include "core/RunApplication.h"
#include "examples/gui_demo/GuiDemo.h"

int main(int /*argc*/, char** /*argv*/) {
    return RunApplication<GuiDemo>();
}
