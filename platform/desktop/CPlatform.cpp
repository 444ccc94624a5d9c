// CPlatform on the desktop: SDL 1.2 and OpenGL as the system provides them.
#include "platform/CPlatform.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>

#include <dlfcn.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

namespace {

void (*g_beforeSwap)() = nullptr;

// A uniform type of OpenGL 2.1 and later: what its values are, and its columns and rows (a
// vector has one column).
struct WideType {
    GLenum type;
    enum { kUnsigned, kFloat, kDouble } kind;
    int columns;
    int rows;
};

const WideType kWideTypes[] = {
    {GL_UNSIGNED_INT, WideType::kUnsigned, 1, 1},
    {GL_UNSIGNED_INT_VEC2, WideType::kUnsigned, 1, 2},
    {GL_UNSIGNED_INT_VEC3, WideType::kUnsigned, 1, 3},
    {GL_UNSIGNED_INT_VEC4, WideType::kUnsigned, 1, 4},
    {GL_FLOAT_MAT2x3, WideType::kFloat, 2, 3},
    {GL_FLOAT_MAT2x4, WideType::kFloat, 2, 4},
    {GL_FLOAT_MAT3x2, WideType::kFloat, 3, 2},
    {GL_FLOAT_MAT3x4, WideType::kFloat, 3, 4},
    {GL_FLOAT_MAT4x2, WideType::kFloat, 4, 2},
    {GL_FLOAT_MAT4x3, WideType::kFloat, 4, 3},
    {GL_DOUBLE, WideType::kDouble, 1, 1},
    {GL_DOUBLE_VEC2, WideType::kDouble, 1, 2},
    {GL_DOUBLE_VEC3, WideType::kDouble, 1, 3},
    {GL_DOUBLE_VEC4, WideType::kDouble, 1, 4},
    {GL_DOUBLE_MAT2, WideType::kDouble, 2, 2},
    {GL_DOUBLE_MAT2x3, WideType::kDouble, 2, 3},
    {GL_DOUBLE_MAT2x4, WideType::kDouble, 2, 4},
    {GL_DOUBLE_MAT3x2, WideType::kDouble, 3, 2},
    {GL_DOUBLE_MAT3, WideType::kDouble, 3, 3},
    {GL_DOUBLE_MAT3x4, WideType::kDouble, 3, 4},
    {GL_DOUBLE_MAT4x2, WideType::kDouble, 4, 2},
    {GL_DOUBLE_MAT4x3, WideType::kDouble, 4, 3},
    {GL_DOUBLE_MAT4, WideType::kDouble, 4, 4},
};

const WideType* FindWide(unsigned int type) {
    for (const WideType& wide : kWideTypes) {
        if (wide.type == type) {
            return &wide;
        }
    }
    return nullptr;
}

}  // namespace

void CPlatform::SetBeforeSwap(void (*hook)()) {
    g_beforeSwap = hook;
}

// The program's swap comes here first; SDL's own follows in the next library that has it.
extern "C" void SDL_GL_SwapBuffers() {
    if (g_beforeSwap != nullptr) {
        g_beforeSwap();
    }
    using Swap = void (*)();
    static Swap sdlSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (sdlSwap != nullptr) {
        sdlSwap();
    }
}

void CPlatform::RunFrames(const std::function<void()>& loop, const std::function<bool()>& /*frame*/,
                          const std::function<int()>& done) {
    loop();
    done();
}

bool CPlatform::StartEventThread() {
    return SDL_InitSubSystem(SDL_INIT_EVENTTHREAD) == 0;
}

int CPlatform::KeySlot(int symbol) {
    return symbol;
}

const unsigned char* CPlatform::HeldKeys() {
    return SDL_GetKeyState(nullptr);
}

unsigned int CPlatform::GetPointer(int* x, int* y) {
    return SDL_GetMouseState(x, y);
}

void CPlatform::WarpPointer(int x, int y) {
    SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
}

void CPlatform::ShowPointer(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void CPlatform::LockPixels(SDL_Surface* surface) {
    if (SDL_MUSTLOCK(surface)) {
        SDL_LockSurface(surface);
    }
}

void CPlatform::UnlockPixels(SDL_Surface* surface) {
    if (SDL_MUSTLOCK(surface)) {
        SDL_UnlockSurface(surface);
    }
}

bool CPlatform::GetColorKey(const SDL_Surface* surface, unsigned int* key) {
    if ((surface->flags & SDL_SRCCOLORKEY) == 0) {
        return false;
    }
    *key = surface->format->colorkey;
    return true;
}

SDL_RWops* CPlatform::FileStream(std::FILE* file, const char* /*path*/) {
    SDL_RWops* stream = SDL_RWFromFP(file, 1);
    if (stream == nullptr) {
        std::fclose(file);
    }
    return stream;
}

namespace {

// The extension after the last dot, as SDL_image and SDL_mixer take it from a name; null
// without one.
const char* Extension(const char* path) {
    const char* dot = std::strrchr(path, '.');
    return dot != nullptr ? dot + 1 : nullptr;
}

// SDL_mixer's guess from the extension, which its music loader tries before the contents.
Mix_MusicType MusicTypeOf(const char* path) {
    const char* extension = Extension(path);
    if (extension == nullptr) {
        return MUS_NONE;
    }
    const std::pair<const char*, Mix_MusicType> kTypes[] = {
        {"WAV", MUS_WAV}, {"MID", MUS_MID},   {"MIDI", MUS_MID}, {"KAR", MUS_MID},
        {"OGG", MUS_OGG}, {"FLAC", MUS_FLAC}, {"MPG", MUS_MP3},  {"MPEG", MUS_MP3},
        {"MP3", MUS_MP3}, {"MAD", MUS_MP3}};
    for (const auto& type : kTypes) {
        if (strcasecmp(extension, type.first) == 0) {
            return type.second;
        }
    }
    return MUS_NONE;
}

}  // namespace

SDL_Surface* CPlatform::LoadPicture(std::FILE* file, const char* path) {
    SDL_RWops* stream = FileStream(file, path);
    return stream != nullptr ? IMG_LoadTyped_RW(stream, 1, const_cast<char*>(Extension(path)))
                             : nullptr;
}

std::string CPlatform::SaveBmp(SDL_Surface* surface, const char* path) {
    return SDL_SaveBMP(surface, path) == 0 ? std::string() : std::string(SDL_GetError());
}

Mix_Music* CPlatform::LoadMusic(std::FILE* file, const char* path) {
    SDL_RWops* stream = FileStream(file, path);
    if (stream == nullptr) {
        return nullptr;
    }
    // Only a specific error is kept; otherwise the mixer's generic one, as its loader by name.
    Mix_SetError("");
    Mix_Music* music = Mix_LoadMUSType_RW(stream, MusicTypeOf(path), 1);
    if (music == nullptr && Mix_GetError()[0] == '\0') {
        Mix_SetError("Unrecognized music format");
    }
    return music;
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

std::string CPlatform::VideoDriverNamed() {
    const char* driver = NamedDriver();
    return driver != nullptr ? driver : "";
}

bool CPlatform::StartVideo(bool fullscreen) {
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

unsigned int CPlatform::StartGLEW() {
    GLenum status = glewInit();
    // GLEW sets up OpenGL's entry points first and looks for GLX's after; only the latter fail
    // without a GLX display.
    return status == GLEW_ERROR_NO_GLX_DISPLAY ? GLEW_OK : status;
}

std::string CPlatform::DisplayServerProblem() {
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

std::string CPlatform::GLContextProblem() {
    return "";
}

std::string CPlatform::AdaptShaderSource(const std::string& source) {
    return source;
}

// Client-side arrays need nothing of the program.
void CPlatform::ForgetQuadInputs(unsigned int /*program*/) {}

void CPlatform::DrawQuadArrays(unsigned int /*program*/, const float* corners, const float* colors,
                               const float tint[4], int vertexCount) {
    const int stride = 4 * sizeof(float);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    // A buffer bound by the application would turn the pointers into offsets.
    if (GLEW_ARB_vertex_buffer_object) {
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    }
    glClientActiveTextureARB(GL_TEXTURE0_ARB);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, corners);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, stride, corners + 2);
    if (colors != nullptr) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, colors);
    } else {
        glColor4fv(tint);
    }
    glDrawArrays(GL_QUADS, 0, vertexCount);
    glPopClientAttrib();
}

void CPlatform::BindProgram(unsigned int program) {
    glUseProgramObjectARB(program);
}

bool CPlatform::GetWideUniform(unsigned int program, int location, unsigned int type, void* value) {
    const WideType* wide = FindWide(type);
    // A driver that compiled such a uniform offers the calls for it; this only guards the
    // pointers.
    if (wide == nullptr) {
        return false;
    } else if (wide->kind == WideType::kUnsigned && glGetUniformuiv != nullptr) {
        glGetUniformuiv(program, location, static_cast<GLuint*>(value));
    } else if (wide->kind == WideType::kFloat) {
        glGetUniformfvARB(program, location, static_cast<GLfloat*>(value));
    } else if (wide->kind == WideType::kDouble && glGetUniformdv != nullptr) {
        glGetUniformdv(program, location, static_cast<GLdouble*>(value));
    } else {
        return false;
    }
    return true;
}

bool CPlatform::SetWideUniform(int location, unsigned int type, const void* value) {
    const WideType* wide = FindWide(type);
    if (wide == nullptr) {
        return false;
    }
    // By columns, then rows; a square float matrix is no wide type.
    const PFNGLUNIFORMMATRIX2X3FVPROC floatMatrices[3][3] = {
        {nullptr, glUniformMatrix2x3fv, glUniformMatrix2x4fv},
        {glUniformMatrix3x2fv, nullptr, glUniformMatrix3x4fv},
        {glUniformMatrix4x2fv, glUniformMatrix4x3fv, nullptr}};
    const PFNGLUNIFORMMATRIX2DVPROC doubleMatrices[3][3] = {
        {glUniformMatrix2dv, glUniformMatrix2x3dv, glUniformMatrix2x4dv},
        {glUniformMatrix3x2dv, glUniformMatrix3dv, glUniformMatrix3x4dv},
        {glUniformMatrix4x2dv, glUniformMatrix4x3dv, glUniformMatrix4dv}};
    const PFNGLUNIFORM1UIVPROC unsignedVectors[4] = {glUniform1uiv, glUniform2uiv, glUniform3uiv,
                                                     glUniform4uiv};
    const PFNGLUNIFORM1DVPROC doubleVectors[4] = {glUniform1dv, glUniform2dv, glUniform3dv,
                                                  glUniform4dv};
    const int column = wide->columns - 2;
    const int row = wide->rows - (wide->columns == 1 ? 1 : 2);
    if (wide->kind == WideType::kUnsigned && unsignedVectors[row] != nullptr) {
        unsignedVectors[row](location, 1, static_cast<const GLuint*>(value));
    } else if (wide->kind == WideType::kFloat && floatMatrices[column][row] != nullptr) {
        floatMatrices[column][row](location, 1, GL_FALSE, static_cast<const GLfloat*>(value));
    } else if (wide->kind == WideType::kDouble && wide->columns == 1 &&
               doubleVectors[row] != nullptr) {
        doubleVectors[row](location, 1, static_cast<const GLdouble*>(value));
    } else if (wide->kind == WideType::kDouble && wide->columns > 1 &&
               doubleMatrices[column][row] != nullptr) {
        doubleMatrices[column][row](location, 1, GL_FALSE, static_cast<const GLdouble*>(value));
    } else {
        return false;
    }
    return true;
}
