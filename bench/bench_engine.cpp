// bench_engine: the camera demo's frame, drawn by the engine for a fixed number of frames with
// no input, timed for the frame benchmark. The demo's own RenderFrame draws every frame; only
// the loop around it differs (a frame count instead of waiting for Escape).
// Usage: bench_engine [--frames N] [--snapshot FILE.ppm] [--watch]
//   --watch  the engine watches the demo's pictures and shaders for changes, as with
//            ORVANE_WATCH=1
#include <GL/gl.h>

#include <algorithm>
#include <memory>
#include <string>

#include "bench/BenchApp.h"
#include "bench/BenchSupport.h"
#include "camera/CCameraManager.h"
#include "core/CEngine.h"
#include "demo/Camera2DDemo.h"
#include "math/CVector2.h"

namespace {

// The demo's drift: half a pixel per frame, turning round outside -766 to 0.
const float kDriftStep = -0.5f;
const float kDriftMinX = -766.0f;
const float kDriftMaxX = 0.0f;

class BenchDemo : public Camera2DDemo {
public:
    void SetFrames(int frames) { m_frames = frames; }
    void SetSnapshot(const char* path) { m_snapshot = path; }
    void SetWatching(bool watch) { m_watch = watch; }

    void Init() override {
        Camera2DDemo::Init();
        m_pEngine->SetWatching(m_watch);
    }

    void MainLoop() override {
        bench::FrameTimer timer;
        float speed = kDriftStep;
        // Frame 0 is the first presented frame (start-up time); the next m_frames are timed.
        for (int frame = 0; frame <= m_frames; ++frame) {
            g_pCameraManager->Translate(speed, 0.0f);
            RenderFrame();
            if (frame == 0) {
                timer.FirstFramePresented();
            }
            float x = g_pCameraManager->GetPosition()->x;
            if (x < kDriftMinX || x > kDriftMaxX) {
                speed = -speed;
            }
        }
        glFinish();
        timer.Finished(m_frames);
        if (m_snapshot != nullptr) {
            bench::SaveWindow(m_snapshot);
        }
    }

private:
    int m_frames = 300;
    const char* m_snapshot = nullptr;
    bool m_watch = false;
};

}  // namespace

int main(int argc, char** argv) {
    int frames = bench::ParseFrames(argc, argv, 300);
    return bench::RunBenchApp([&]() {
        auto app = std::make_unique<BenchDemo>();
        app->SetFrames(frames);
        app->SetSnapshot(bench::ParseOption(argc, argv, "--snapshot", nullptr));
        app->SetWatching(std::find_if(argv + 1, argv + argc, [](const char* arg) {
                             return std::string(arg) == "--watch";
                         }) != argv + argc);
        return app;
    });
}
