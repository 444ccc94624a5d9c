// CPlatform on the desktop (Linux and Windows): SDL 1.2 and OpenGL as the system provides them.
#include "platform/CPlatform.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_mixer.h>

#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/desktop/CDesktopSystem.h"

namespace {

void (*g_beforeSwap)() = nullptr;

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
    static Swap sdlSwap = CDesktopSystem::SdlSwapBuffers();
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

// SDL_mixer's guess from the extension after the last dot, which its music loader tries before
// the contents.
Mix_MusicType MusicTypeOf(const char* path) {
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr) {
        return MUS_NONE;
    }
    const char* extension = dot + 1;
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
    return CDesktopSystem::DecodePicture(file, path);
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

std::string CPlatform::DisplayServerProblem() {
    return CDesktopSystem::DisplayServerProblem();
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
