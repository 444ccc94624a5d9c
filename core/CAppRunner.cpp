// CAppRunner: the lifecycle stages, each guarded so that a failure ends the run the same way.
#include "core/CAppRunner.h"

#include <exception>
#include <functional>
#include <iostream>
#include <string>

#include "core/CApp.h"
#include "platform/CPlatform.h"

namespace {

// The application being run; in the browser it outlives Run, until its last frame.
CApp* g_pApp = nullptr;
int g_status = 0;

void Fail(const std::string& line) {
    // The application (and with it the engine and SDL) goes first, as the stack unwinding of a
    // blocking run always did; then the line.
    delete g_pApp;
    g_pApp = nullptr;
    std::cerr << line << std::endl;
    g_status = 1;
}

// Runs one stage; false after a failure, which has then ended the run.
bool Stage(const std::function<void()>& stage) {
    try {
        stage();
        return true;
    } catch (const std::string& message) {
        Fail(message);
    } catch (const std::exception& error) {
        Fail(std::string("Error: ") + error.what());
    }
    return false;
}

}  // namespace

int CAppRunner::Run(CApp* (*create)()) {
    g_status = 0;
    g_pApp = nullptr;
    if (!Stage([create] {
            g_pApp = create();
            g_pApp->Init();
        })) {
        return g_status;
    }
    CPlatform::RunFrames([] { Stage([] { g_pApp->MainLoop(); }); },
                         [] {
                             // After a failure the application is gone and more stays false.
                             bool more = false;
                             Stage([&more] { more = g_pApp->RunFrame(); });
                             return more;
                         },
                         [] {
                             if (g_pApp != nullptr && Stage([] { g_pApp->Shutdown(); })) {
                                 delete g_pApp;
                                 g_pApp = nullptr;
                             }
                             return g_status;
                         });
    return g_status;
}
