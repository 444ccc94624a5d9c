// bench_marks_engine: the sprite mark (N copies of one 32 x 32 blended sprite bouncing in the
// window) or the text mark (a screen of 60 lines of 80 characters), drawn each frame through the
// engine's public API, timed for scripts/bench.sh --sprites.
// Usage: bench_marks_engine --mark sprites|text [--count N] [--frames F] [--snapshot FILE.ppm]
#include <GL/gl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchApp.h"
#include "bench/BenchMarks.h"
#include "bench/BenchSupport.h"
#include "core/CApp.h"
#include "core/CEngine.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

namespace {

class MarkApp : public CApp {
public:
    MarkApp(bool text, int count, int frames, const char* snapshot)
        : m_text(text), m_bouncers(count), m_frames(frames), m_snapshot(snapshot) {}
    ~MarkApp() override { delete m_sprite; }

    void Init() override {
        m_pEngine->SetVideoMode(bench::kMarkWidth, bench::kMarkHeight, 16, false, true);
        m_sprite = new CSprite(bench::kMarkSprite);
        for (int line = 0; line < bench::kTextLines; ++line) {
            m_lines.push_back(bench::TextLine(line));
        }
    }

    void MainLoop() override {
        bench::FrameTimer timer;
        for (int frame = 0; frame <= m_frames; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            m_pEngine->Update();
            if (m_text) {
                DrawText();
            } else {
                DrawSprites();
            }
            SDL_GL_SwapBuffers();
            if (frame == 0) {
                timer.FirstFramePresented();
            }
        }
        glFinish();
        timer.Finished(m_frames);
        if (m_snapshot != nullptr) {
            bench::SaveWindow(m_snapshot);
        }
    }

    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

private:
    void DrawSprites() {
        m_bouncers.Step();
        for (size_t i = 0; i < m_bouncers.Count(); ++i) {
            m_sprite->Draw(m_bouncers.X(i), m_bouncers.Y(i), 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        }
    }

    void DrawText() {
        CFont* font = g_pFontManager->GetFont(1);
        for (int line = 0; line < bench::kTextLines; ++line) {
            font->Print(0, line * bench::kTextLineHeight, 0, "%s", m_lines[line].c_str());
        }
    }

    bool m_text;
    bench::Bouncers m_bouncers;
    int m_frames;
    const char* m_snapshot;
    CSprite* m_sprite = nullptr;
    std::vector<std::string> m_lines;
};

}  // namespace

int main(int argc, char** argv) {
    bool text = std::string(bench::ParseOption(argc, argv, "--mark", "sprites")) == "text";
    int count = std::atoi(bench::ParseOption(argc, argv, "--count", "1000"));
    int frames = bench::ParseFrames(argc, argv, 100);
    const char* snapshot = bench::ParseOption(argc, argv, "--snapshot", nullptr);
    return bench::RunBenchApp(
        [&]() { return std::make_unique<MarkApp>(text, count, frames, snapshot); });
}
