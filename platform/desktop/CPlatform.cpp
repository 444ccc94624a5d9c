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

std::string CPlatform::VideoDriverNamed() {
    return CDesktopSystem::VideoDriverNamed();
}

bool CPlatform::StartVideo(bool fullscreen) {
    return CDesktopSystem::StartVideo(fullscreen);
}

unsigned int CPlatform::StartGLEW() {
    GLenum status = glewInit();
    // GLEW sets up OpenGL's entry points first and looks for GLX's after; only the latter fail
    // without a GLX display.
    return status == GLEW_ERROR_NO_GLX_DISPLAY ? GLEW_OK : status;
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

// OpenGL holds the matrices the engine set for the run, so the copies are not needed.
void CPlatform::DrawQuadArrays(unsigned int /*program*/, const float* corners, const float* colors,
                               const float tint[4], int vertexCount, const float* /*projection*/,
                               const float* /*modelView*/) {
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

bool CPlatform::CanSkipTransparentFragments() {
    GLint function = GL_NEVER;
    GLfloat reference = 1.0f;
    GLint equations[2] = {0, 0};
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &function);
    glGetFloatv(GL_ALPHA_TEST_REF, &reference);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &equations[0]);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &equations[1]);
    return !glIsEnabled(GL_ALPHA_TEST) && function == GL_ALWAYS && reference == 0.0f &&
           !glIsEnabled(GL_STENCIL_TEST) && !glIsEnabled(GL_COLOR_LOGIC_OP) &&
           equations[0] == GL_FUNC_ADD && equations[1] == GL_FUNC_ADD;
}

void CPlatform::SkipTransparentFragments(bool on) {
    if (on) {
        glAlphaFunc(GL_GREATER, 0.0f);
        glEnable(GL_ALPHA_TEST);
    } else {
        glDisable(GL_ALPHA_TEST);
        glAlphaFunc(GL_ALWAYS, 0.0f);
    }
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
