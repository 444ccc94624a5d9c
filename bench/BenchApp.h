// Shared by the engine's benchmark programs: the application lifecycle with start-up failures
// turned into one line on standard error and exit status 1, as RunApplication does, but for an
// application object the program configures itself.
#pragma once

#include <iostream>
#include <memory>
#include <string>

namespace bench {

// make() returns the configured application (a std::unique_ptr to a CApp subclass).
template <class Make>
int RunBenchApp(Make make) {
    try {
        auto app = make();
        app->Init();
        app->MainLoop();
        app->Shutdown();
    } catch (const std::string& message) {
        std::cerr << message << std::endl;
        return 1;
    }
    return 0;
}

}  // namespace bench
