// bench_marks_page: the sprite mark (N copies of one 32 x 32 blended sprite bouncing in the
// window) or the text mark (a screen of 60 lines of 80 characters) as a page, drawn through the
// engine once per browser frame, for scripts/bench.sh --web.
// The page's URL names the mark and the count: index.html?arg=--count&arg=10000 or
// index.html?arg=--mark&arg=text.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/BenchMarks.h"
#include "core/CApp.h"
#include "core/CEngine.h"
#include "core/RunApplication.h"
#include "text/CFont.h"
#include "text/CFontManager.h"
#include "textures/CSprite.h"

namespace {

int g_count = 1000;
bool g_text = false;

class PageMarkApp : public CApp {
public:
    PageMarkApp() : m_bouncers(g_text ? 0 : g_count) {}
    ~PageMarkApp() override { delete m_sprite; }

    void Init() override {
        m_pEngine->SetVideoMode(bench::kMarkWidth, bench::kMarkHeight, 16, false, true);
        m_sprite = new CSprite(bench::kMarkSprite);
        for (int line = 0; g_text && line < bench::kTextLines; ++line) {
            m_lines.push_back(bench::TextLine(line));
        }
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
        for (size_t line = 0; line < m_lines.size(); ++line) {
            g_pFontManager->GetFont(1)->Print(0, static_cast<int>(line) * bench::kTextLineHeight,
                                              0, "%s", m_lines[line].c_str());
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
    std::vector<std::string> m_lines;
};

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--count") == 0) {
            g_count = std::atoi(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--mark") == 0) {
            g_text = std::strcmp(argv[i + 1], "text") == 0;
        }
    }
    return RunApplication<PageMarkApp>();
}
