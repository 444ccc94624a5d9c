// CDesktopSystem on Linux: SDL_image, the dynamic linker, Xlib, and X11 or Wayland beneath SDL.
#include "platform/desktop/CDesktopSystem.h"

#include <SDL.h>
#include <SDL_image.h>

#include <dlfcn.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

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

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// sdl12-compat, SDL 1.2's interface over SDL 2, numbers its releases from 1.2.50 on.
bool OverSDL2() {
    return SDL_Linked_Version()->patch >= 50;
}

// Whether the environment the program was started with has the variable; where that cannot be
// read, it is taken to have it.
bool WasStartedWith(const std::string& name) {
    std::ifstream start("/proc/self/environ", std::ios::binary);
    std::string entry;
    while (std::getline(start, entry, '\0')) {
        if (entry.compare(0, name.size() + 1, name + "=") == 0) {
            return true;
        }
    }
    return !start.eof();
}

// Where the user named a video driver, its name; else null. sdl12-compat names x11 itself, as
// it loads, for a program that links GLEW (which could talk to X directly): that x11 is not
// the user's, and Wayland serves the engine as well.
const char* NamedDriver() {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver == nullptr || *driver == '\0' ||
        (std::strcmp(driver, "x11") == 0 && OverSDL2() && !WasStartedWith("SDL_VIDEODRIVER"))) {
        return nullptr;
    }
    return driver;
}

// Whether SDL is to talk to a Wayland server rather than to X.
bool WantsWayland() {
    const char* driver = NamedDriver();
    if (driver != nullptr) {
        return strcasecmp(driver, "wayland") == 0;
    }
    return !IsSet("DISPLAY") && IsSet("WAYLAND_DISPLAY") && OverSDL2();
}

// An environment variable set for the life of the object, then put back as it was.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name), m_set(value != nullptr) {
        const char* previous = std::getenv(name);
        m_hadValue = previous != nullptr;
        m_previous = m_hadValue ? previous : "";
        if (m_set) {
            setenv(name, value, 1);
        }
    }
    ~ScopedVariable() {
        if (m_set && m_hadValue) {
            setenv(m_name, m_previous.c_str(), 1);
        } else if (m_set) {
            unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_set;
    bool m_hadValue;
    std::string m_previous;
};

}  // namespace

std::string CDesktopSystem::VideoDriverNamed() {
    const char* driver = NamedDriver();
    return driver != nullptr ? driver : "";
}

bool CDesktopSystem::StartVideo(bool fullscreen) {
    const char* driver = nullptr;
    if (NamedDriver() == nullptr) {
        driver = IsSet("DISPLAY") ? "x11" : (WantsWayland() ? "wayland" : nullptr);
    }
    // SDL reads these two while its video starts; afterwards they are as they were.
    ScopedVariable chosen("SDL_VIDEODRIVER", driver);
    // sdl12-compat draws an OpenGL window into a framebuffer of its own and copies that to the
    // window, so that it can scale a fullscreen mode the display lacks. A window of the size
    // asked for gains nothing from it, and it would differ from the window's own: no back buffer
    // to read, and a depth buffer of other precision, which decides ties of equal depth
    // differently.
    bool scale = fullscreen || !OverSDL2() || std::getenv("SDL12COMPAT_OPENGL_SCALING") != nullptr;
    ScopedVariable scaling("SDL12COMPAT_OPENGL_SCALING", scale ? nullptr : "0");
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

std::string CDesktopSystem::DisplayServerProblem() {
    if (WantsWayland()) {
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
