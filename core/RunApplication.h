/// @file
/// RunApplication: the body of every program's main.
#pragma once

#include <SDL_main.h>

#include "core/CApp.h"
#include "core/CAppRunner.h"

/// The body of every program's main. It drives one application object through its lifecycle
/// (construct, Init, MainLoop, Shutdown, destroy; in the browser RunFrame once per displayed
/// frame instead of MainLoop) and turns the std::string that start-up or video set-up throws
/// into one line on standard error and exit status 1. Returns 0 after a normal run.
///
/// @code
/// int main() { return RunApplication<MyGame>(); }
/// @endcode
///
/// SDL's start-up header comes with it: on Windows it renames the program's main, which SDL's
/// start-up module then calls, so that the log goes to stdout.txt and stderr.txt.
///
/// @tparam App a class derived from CApp with a default constructor.
template <class App>
int RunApplication() {
    return CAppRunner::Run([]() -> CApp* { return new App(); });
}
