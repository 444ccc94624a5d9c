/// @file
/// RunApplication: the body of every program's main.
#pragma once

#include <exception>
#include <iostream>
#include <string>

/// The body of every program's main. It drives one application object through its lifecycle
/// (construct, Init, MainLoop, Shutdown, destroy) and turns the std::string that start-up or
/// video set-up throws into one line on standard error and exit status 1. Returns 0 after a
/// normal run.
///
/// @code
/// int main() { return RunApplication<MyGame>(); }
/// @endcode
///
/// @tparam App a class derived from CApp with a default constructor.
template <class App>
int RunApplication() {
    try {
        App app;
        app.Init();
        app.MainLoop();
        app.Shutdown();
    } catch (const std::string& message) {
        // The application (and with it the engine and SDL) is already destroyed here.
        std::cerr << message << std::endl;
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "Error: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
