// CDesktopSystem on Linux: SDL_image, the dynamic linker and Xlib.
#include "platform/desktop/CDesktopSystem.h"

#include <SDL.h>
#include <SDL_image.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

#include "platform/CPlatform.h"

SDL_Surface* CDesktopSystem::DecodePicture(std::FILE* file, const char* path) {
    SDL_RWops* stream = CPlatform::FileStream(file, path);
    // The type is guessed from the extension after the last dot first, as IMG_Load does.
    const char* dot = std::strrchr(path, '.');
    return stream != nullptr
               ? IMG_LoadTyped_RW(stream, 1, const_cast<char*>(dot != nullptr ? dot + 1 : nullptr))
               : nullptr;
}

// The next library after the engine's program that has the symbol: SDL.
void (*CDesktopSystem::SdlSwapBuffers())() {
    return reinterpret_cast<void (*)()>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
}

std::string CDesktopSystem::DisplayServerProblem() {
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
