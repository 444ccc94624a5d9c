// CDisplayCheck: asking the X server named by DISPLAY whether it answers.
#include "graphics/CDisplayCheck.h"

#include <dlfcn.h>

#include <cstdlib>
#include <iostream>

#include "platform/CPlatform.h"

std::string CDisplayCheck::Problem() {
    if (!CPlatform::NeedsDisplayServer()) {
        return "";
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return "DISPLAY is unset";
    }
    // SDL loads Xlib at run time as well, so the engine does not link it for this one question.
    // The library stays loaded: SDL may hold it, and an unloaded one leaves anonymous frames.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (xlib == nullptr) {
        return "";
    }
    using OpenDisplay = void* (*)(const char*);
    using CloseDisplay = int (*)(void*);
    auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(xlib, "XOpenDisplay"));
    auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(xlib, "XCloseDisplay"));
    if (openDisplay == nullptr || closeDisplay == nullptr) {
        return "";
    }
    void* connection = openDisplay(display);
    if (connection == nullptr) {
        return std::string("the X server of DISPLAY=") + display + " cannot be reached";
    }
    closeDisplay(connection);
    return "";
}

bool CDisplayCheck::ReportProblem() {
    std::string problem = Problem();
    if (!problem.empty()) {
        std::cerr << "No display: " << problem << std::endl;
    }
    return !problem.empty();
}

bool CDisplayCheck::RefusesVideo() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    return (driver == nullptr || *driver == '\0') && ReportProblem();
}
