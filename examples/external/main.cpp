// A minimal game built against an installed engine: a window, the engine's frame step, a few
// lines of text and the frame rate. Escape or closing the window ends it; "--frames N" ends it
// after N frames (handy for running it headless).
#include <GL/gl.h>
#include <SDL.h>

#include <cstdlib>
#include <cstring>

#include "core/CApp.h"
#include "core/CEngine.h"
#include "core/RunApplication.h"
#include "graphics/CGraphicsCore.h"
#include "input/CEventManager.h"
#include "text/CFont.h"
#include "text/CFontManager.h"

namespace {
int g_frameLimit = 0;
}

class ExternalGame : public CApp {
public:
    void Init() override {
        m_pEngine->SetVideoMode(640, 480, 16, false, true);
        m_pEngine->ShowFPS(true);
        g_pGraphicsCore->SetCaption("Orvane external game");
    }

    void MainLoop() override {
        for (int frame = 1;; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            m_pEngine->Update();
            if (CFont* font = g_pFontManager->GetFont(1)) {
                font->Print(40, 200, 0, "A game built outside the engine.");
                font->Print(40, 230, 2, "Frame %d", frame);
            }
            SDL_GL_SwapBuffers();
            if (g_frameLimit > 0 && frame >= g_frameLimit) {
                return;
            }
            if (g_pEventManager->HasEvent() &&
                (g_pEventManager->IsKeyDown(SDLK_ESCAPE) || g_pEventManager->IsEvent(EVENT_QUIT))) {
                return;
            }
        }
    }

    void Shutdown() override {}
    void Reserved1() override {}
    void Reserved2() override {}
};

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            g_frameLimit = std::atoi(argv[i + 1]);
        }
    }
    return RunApplication<ExternalGame>();
}
