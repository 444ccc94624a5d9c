// The audio example's program entry.
#include "core/RunApplication.h"
#include "examples/audio_demo/AudioDemo.h"

int main(int /*argc*/, char** /*argv*/) {
    return RunApplication<AudioDemo>();
}
