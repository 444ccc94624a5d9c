// bench_marks_page: the sprite mark as a page (N copies of one 32 x 32 blended sprite bouncing in
// the window, drawn through the engine once per browser frame), for scripts/bench.sh --web.
// The page's URL names the count: index.html?arg=--count&arg=10000.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "bench/BenchMarks.h"
#include "core/CApp.h"
#include "core/CEngine.h"
#include "core/RunApplication.h"
#include "textures/CSprite.h"

namespace {

int g_count = 1000;

class PageMarkApp : public CApp {
public:
    PageMarkApp() : m_bouncers(g_count) {}
    ~PageMarkApp() override { delete m_sprite; }

    void Init() override {
        m_pEngine->SetVideoMode(bench::kMarkWidth, bench::kMarkHeight, 16, false, true);
        m_sprite = new CSprite(bench::kMarkSprite);
    }

    void MainLoop() override {
        while (RunFrame()) {
        }
    }

    bool RunFrame() override {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        m_pEngine->Update();
        m_bouncers.Step();
        for (size_t i = 0; i < m_bouncers.Count(); ++i) {
            m_sprite->Draw(m_bouncers.X(i), m_bouncers.Y(i), 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        }
        SDL_GL_SwapBuffers();
        return true;
    }

    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}

private:
    bench::Bouncers m_bouncers;
    CSprite* m_sprite = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--count") == 0) {
            g_count = std::atoi(argv[i + 1]);
        }
    }
    return RunApplication<PageMarkApp>();
}
