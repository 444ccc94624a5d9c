// CPlatform: the desktop build's and the browser build's versions of what differs between them.
#include "platform/CPlatform.h"

#include <GL/glew.h>
#include <SDL.h>

#ifndef __EMSCRIPTEN__

void CPlatform::RunFrames(const std::function<void()>& loop, const std::function<bool()>& /*frame*/,
                          const std::function<void()>& done) {
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

std::string CPlatform::AdaptShaderSource(const std::string& source) {
    return source;
}

void CPlatform::BindProgram(unsigned int program) {
    glUseProgramObjectARB(program);
}

#else  // The browser: WebAssembly, emscripten's SDL 1.2 and its OpenGL emulation over WebGL 1.

#include <emscripten.h>

#include <cmath>
#include <cstring>
#include <map>
#include <utility>

namespace {

// ---- The page's side, in JavaScript (which clang-format would take for C++) -------------

// clang-format off
EM_JS(void, PublishFrameCount, (int count), {
    Module["frameCount"] = count;
});

EM_JS(void, AnnounceFramesEnded, (), {
    if (Module["onFramesEnded"]) Module["onFramesEnded"]();
});

EM_JS(void, CapturePointerOnClick, (), {
    var canvas = Module["canvas"];
    canvas.addEventListener("click", function() {
        if (document.pointerLockElement !== canvas && canvas.requestPointerLock) {
            canvas.requestPointerLock();
        }
    });
});

EM_JS(void, ShowCanvasPointer, (int show), {
    Module["canvas"].style.cursor = show ? "auto" : "none";
});

// The emulation's own lighting (the fixed-function pipeline) reads its copy of these.
EM_JS(void, SetEmulatedLight, (int index, int kind, const float* values), {
    var target = [GLEmulation.lightAmbient, GLEmulation.lightDiffuse,
                  GLEmulation.lightSpecular, GLEmulation.lightPosition][kind];
    for (var i = 0; i < 4; ++i) {
        target[index][i] = HEAPF32[(values >> 2) + i];
    }
});

EM_JS(void, SetEmulatedTwoSide, (int on), {
    GLEmulation.lightModelTwoSide = on != 0;
});
// clang-format on

// ---- The frame loop -------------------------------------------------------------------------

std::function<bool()> g_frame;
std::function<void()> g_done;
int g_frameCount = 0;

void BrowserFrame() {
    bool more = g_frame();
    // The page shows the count, and tests wait on it for the first frame.
    ++g_frameCount;
    PublishFrameCount(g_frameCount);
    if (more) {
        return;
    }
    emscripten_cancel_main_loop();
    // Copies: done may start another program, which replaces both.
    std::function<void()> done = std::move(g_done);
    g_frame = nullptr;
    done();
    AnnounceFramesEnded();
}

// ---- Key codes --------------------------------------------------------------------------------

// Keys without a character: emscripten's symbol and SDL 1.2's number.
const std::pair<int, int> kKeys[] = {
    {SDLK_KP_0, 256},        {SDLK_KP_1, 257},       {SDLK_KP_2, 258},
    {SDLK_KP_3, 259},        {SDLK_KP_4, 260},       {SDLK_KP_5, 261},
    {SDLK_KP_6, 262},        {SDLK_KP_7, 263},       {SDLK_KP_8, 264},
    {SDLK_KP_9, 265},        {SDLK_KP_PERIOD, 266},  {SDLK_KP_DIVIDE, 267},
    {SDLK_KP_MULTIPLY, 268}, {SDLK_KP_MINUS, 269},   {SDLK_KP_PLUS, 270},
    {SDLK_KP_ENTER, 271},    {SDLK_KP_EQUALS, 272},  {SDLK_UP, 273},
    {SDLK_DOWN, 274},        {SDLK_RIGHT, 275},      {SDLK_LEFT, 276},
    {SDLK_INSERT, 277},      {SDLK_HOME, 278},       {SDLK_END, 279},
    {SDLK_PAGEUP, 280},      {SDLK_PAGEDOWN, 281},   {SDLK_F1, 282},
    {SDLK_F2, 283},          {SDLK_F3, 284},         {SDLK_F4, 285},
    {SDLK_F5, 286},          {SDLK_F6, 287},         {SDLK_F7, 288},
    {SDLK_F8, 289},          {SDLK_F9, 290},         {SDLK_F10, 291},
    {SDLK_F11, 292},         {SDLK_F12, 293},        {SDLK_F13, 294},
    {SDLK_F14, 295},         {SDLK_F15, 296},        {SDLK_NUMLOCKCLEAR, 300},
    {SDLK_CAPSLOCK, 301},    {SDLK_SCROLLLOCK, 302}, {SDLK_RSHIFT, 303},
    {SDLK_LSHIFT, 304},      {SDLK_RCTRL, 305},      {SDLK_LCTRL, 306},
    {SDLK_RALT, 307},        {SDLK_LALT, 308},       {SDLK_LGUI, 311},
    {SDLK_RGUI, 312},        {SDLK_MODE, 313},       {SDLK_HELP, 315},
    {SDLK_PRINTSCREEN, 316}, {SDLK_SYSREQ, 317},     {SDLK_PAUSE, 19},
    {SDLK_MENU, 319},        {SDLK_POWER, 320},      {SDLK_UNDO, 322},
    {SDLK_APPLICATION, 319},
};

// ---- The pointer ------------------------------------------------------------------------------

// What a warp added to the position the browser reports.
int g_pointerOffsetX = 0;
int g_pointerOffsetY = 0;

// ---- Fixed-function light state the shaders read --------------------------------------------

struct LightState {
    float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float specular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Eye coordinates, as OpenGL keeps them.
    float position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    float spotDirection[3] = {0.0f, 0.0f, -1.0f};
    float spotExponent = 0.0f;
    float spotCutoff = 180.0f;
    float constantAttenuation = 1.0f;
    float linearAttenuation = 0.0f;
    float quadraticAttenuation = 0.0f;
};

const int kLights = 8;
LightState g_lights[kLights];
float g_lightModelAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};

// The uniforms a translated program reads, looked up once per program (-1: not used).
struct LightUniforms {
    GLint ambient, diffuse, specular, position, spotDirection, spotExponent, spotCutoff,
        spotCosCutoff, constantAttenuation, linearAttenuation, quadraticAttenuation, modelAmbient;
};
std::map<unsigned int, LightUniforms> g_programs;

const char* const kLightSourceName = "orv_LightSource0";
const char* const kLightDeclarations =
    "struct orv_LightSourceParameters { vec4 ambient; vec4 diffuse; vec4 specular; "
    "vec4 position; vec3 spotDirection; float spotExponent; float spotCutoff; "
    "float spotCosCutoff; float constantAttenuation; float linearAttenuation; "
    "float quadraticAttenuation; };\n"
    "uniform orv_LightSourceParameters orv_LightSource0;\n"
    "struct orv_LightModelParameters { vec4 ambient; };\n"
    "uniform orv_LightModelParameters orv_LightModel;\n";

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

GLint Location(unsigned int program, const char* member) {
    std::string name = member[0] == 'm' ? std::string("orv_LightModel.ambient")
                                        : std::string(kLightSourceName) + "." + member;
    return glGetUniformLocationARB(program, name.c_str());
}

const LightUniforms& UniformsOf(unsigned int program) {
    auto found = g_programs.find(program);
    if (found != g_programs.end()) {
        return found->second;
    }
    LightUniforms u;
    u.ambient = Location(program, "ambient");
    u.diffuse = Location(program, "diffuse");
    u.specular = Location(program, "specular");
    u.position = Location(program, "position");
    u.spotDirection = Location(program, "spotDirection");
    u.spotExponent = Location(program, "spotExponent");
    u.spotCutoff = Location(program, "spotCutoff");
    u.spotCosCutoff = Location(program, "spotCosCutoff");
    u.constantAttenuation = Location(program, "constantAttenuation");
    u.linearAttenuation = Location(program, "linearAttenuation");
    u.quadraticAttenuation = Location(program, "quadraticAttenuation");
    u.modelAmbient = Location(program, "model");
    return g_programs.emplace(program, u).first->second;
}

void SetLightUniforms(unsigned int program) {
    const LightUniforms& u = UniformsOf(program);
    const LightState& light = g_lights[0];
    const float radians = light.spotCutoff * 3.14159265358979f / 180.0f;
    if (u.ambient >= 0)
        glUniform4fvARB(u.ambient, 1, light.ambient);
    if (u.diffuse >= 0)
        glUniform4fvARB(u.diffuse, 1, light.diffuse);
    if (u.specular >= 0)
        glUniform4fvARB(u.specular, 1, light.specular);
    if (u.position >= 0)
        glUniform4fvARB(u.position, 1, light.position);
    if (u.spotDirection >= 0)
        glUniform3fvARB(u.spotDirection, 1, light.spotDirection);
    if (u.spotExponent >= 0)
        glUniform1fARB(u.spotExponent, light.spotExponent);
    if (u.spotCutoff >= 0)
        glUniform1fARB(u.spotCutoff, light.spotCutoff);
    if (u.spotCosCutoff >= 0) {
        // OpenGL gives -1 for the 180-degree "no spot" value.
        glUniform1fARB(u.spotCosCutoff, light.spotCutoff == 180.0f ? -1.0f : std::cos(radians));
    }
    if (u.constantAttenuation >= 0)
        glUniform1fARB(u.constantAttenuation, light.constantAttenuation);
    if (u.linearAttenuation >= 0)
        glUniform1fARB(u.linearAttenuation, light.linearAttenuation);
    if (u.quadraticAttenuation >= 0) {
        glUniform1fARB(u.quadraticAttenuation, light.quadraticAttenuation);
    }
    if (u.modelAmbient >= 0)
        glUniform4fvARB(u.modelAmbient, 1, g_lightModelAmbient);
}

// v = M v, with M column-major as OpenGL returns it; w = 0 leaves out the translation.
void Transform(const float m[16], float* v, float w) {
    float x = v[0], y = v[1], z = v[2];
    for (int row = 0; row < 3; ++row) {
        v[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row] * w;
    }
}

LightState* LightOf(GLenum light) {
    int index = static_cast<int>(light) - GL_LIGHT0;
    return index >= 0 && index < kLights ? &g_lights[index] : nullptr;
}

GLint g_savedUnpackAlignment = 4;

}  // namespace

// The GL entry points WebGL 1 and emscripten's emulation lack or only half provide. They keep
// what the engine's shaders read through AdaptShaderSource, and pass on what the emulation's
// own lighting understands.
extern "C" {

void glLightfv(GLenum light, GLenum name, const GLfloat* values) {
    LightState* state = LightOf(light);
    if (state == nullptr) {
        return;
    }
    int index = static_cast<int>(light - GL_LIGHT0);
    switch (name) {
        case GL_AMBIENT:
            std::memcpy(state->ambient, values, sizeof(state->ambient));
            SetEmulatedLight(index, 0, state->ambient);
            break;
        case GL_DIFFUSE:
            std::memcpy(state->diffuse, values, sizeof(state->diffuse));
            SetEmulatedLight(index, 1, state->diffuse);
            break;
        case GL_SPECULAR:
            std::memcpy(state->specular, values, sizeof(state->specular));
            SetEmulatedLight(index, 2, state->specular);
            break;
        case GL_POSITION: {
            float modelView[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
            std::memcpy(state->position, values, sizeof(state->position));
            Transform(modelView, state->position, state->position[3]);
            SetEmulatedLight(index, 3, state->position);
            break;
        }
        case GL_SPOT_DIRECTION: {
            float modelView[16];
            glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
            std::memcpy(state->spotDirection, values, sizeof(state->spotDirection));
            Transform(modelView, state->spotDirection, 0.0f);
            break;
        }
        default:
            break;
    }
}

void glLightf(GLenum light, GLenum name, GLfloat value) {
    LightState* state = LightOf(light);
    if (state == nullptr) {
        return;
    }
    switch (name) {
        case GL_SPOT_EXPONENT:
            state->spotExponent = value;
            break;
        case GL_SPOT_CUTOFF:
            state->spotCutoff = value;
            break;
        case GL_CONSTANT_ATTENUATION:
            state->constantAttenuation = value;
            break;
        case GL_LINEAR_ATTENUATION:
            state->linearAttenuation = value;
            break;
        case GL_QUADRATIC_ATTENUATION:
            state->quadraticAttenuation = value;
            break;
        default:
            break;
    }
}

void glLightModeli(GLenum name, GLint value) {
    if (name == GL_LIGHT_MODEL_TWO_SIDE) {
        SetEmulatedTwoSide(value);
    }
}

// The emulation's lighting takes the material from glMaterial only.
void glColorMaterial(GLenum /*face*/, GLenum /*mode*/) {}

// WebGL always interpolates colours; there is nothing to switch.
void glShadeModel(GLenum /*mode*/) {}

// Of the pixel-store state only the unpack alignment exists in WebGL 1.
void glPushClientAttrib(GLbitfield /*mask*/) {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &g_savedUnpackAlignment);
}

void glPopClientAttrib() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, g_savedUnpackAlignment);
}

// The ARB names of the shader and multitexture entry points, which the emulation only knows by
// their OpenGL 2 names.
void glActiveTextureARB(GLenum unit) {
    glActiveTexture(unit);
}
GLhandleARB glCreateShaderObjectARB(GLenum type) {
    return glCreateShader(type);
}
GLhandleARB glCreateProgramObjectARB() {
    return glCreateProgram();
}
void glShaderSourceARB(GLhandleARB shader, GLsizei count, const GLcharARB** text,
                       const GLint* lengths) {
    glShaderSource(shader, count, text, lengths);
}
void glCompileShaderARB(GLhandleARB shader) {
    glCompileShader(shader);
}
void glAttachObjectARB(GLhandleARB program, GLhandleARB shader) {
    glAttachShader(program, shader);
}
void glLinkProgramARB(GLhandleARB program) {
    glLinkProgram(program);
}
void glUseProgramObjectARB(GLhandleARB program) {
    glUseProgram(program);
}
GLint glGetUniformLocationARB(GLhandleARB program, const GLcharARB* name) {
    return glGetUniformLocation(program, name);
}
void glUniform1iARB(GLint location, GLint value) {
    glUniform1i(location, value);
}
void glUniform1fARB(GLint location, GLfloat value) {
    glUniform1f(location, value);
}
void glUniform2fARB(GLint location, GLfloat x, GLfloat y) {
    glUniform2f(location, x, y);
}
void glUniform3fARB(GLint location, GLfloat x, GLfloat y, GLfloat z) {
    glUniform3f(location, x, y, z);
}
void glUniform4fARB(GLint location, GLfloat x, GLfloat y, GLfloat z, GLfloat w) {
    glUniform4f(location, x, y, z, w);
}
void glUniform3fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform3fv(location, count, values);
}
void glUniform4fvARB(GLint location, GLsizei count, const GLfloat* values) {
    glUniform4fv(location, count, values);
}

}  // extern "C"

void CPlatform::RunFrames(const std::function<void()>& /*loop*/, const std::function<bool()>& frame,
                          const std::function<void()>& done) {
    g_frame = frame;
    g_done = done;
    g_frameCount = 0;
    // The browser's own frame rate; returns at once, the frames follow.
    emscripten_set_main_loop(BrowserFrame, 0, 0);
}

bool CPlatform::StartEventThread() {
    return true;
}

int CPlatform::KeySlot(int symbol) {
    if ((symbol & SDLK_SCANCODE_MASK) == 0) {
        // Characters are the same in both.
        return symbol >= 0 && symbol < 256 ? symbol : -1;
    }
    for (const auto& key : kKeys) {
        if (key.first == symbol) {
            return key.second;
        }
    }
    return -1;
}

// The browser's table is indexed by the key codes its events carry, SDLK_UP included.
const unsigned char* CPlatform::HeldKeys() {
    return SDL_GetKeyboardState(nullptr);
}

unsigned int CPlatform::GetPointer(int* x, int* y) {
    int px = 0;
    int py = 0;
    unsigned int buttons = SDL_GetMouseState(&px, &py);
    if (x != nullptr) {
        *x = px + g_pointerOffsetX;
    }
    if (y != nullptr) {
        *y = py + g_pointerOffsetY;
    }
    return buttons;
}

void CPlatform::WarpPointer(int x, int y) {
    int px = 0;
    int py = 0;
    SDL_GetMouseState(&px, &py);
    g_pointerOffsetX = x - px;
    g_pointerOffsetY = y - py;
    static bool captureOnClick = false;
    if (!captureOnClick) {
        captureOnClick = true;
        CapturePointerOnClick();
    }
}

void CPlatform::ShowPointer(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
    ShowCanvasPointer(show);
}

void CPlatform::LockPixels(SDL_Surface* /*surface*/) {}

void CPlatform::UnlockPixels(SDL_Surface* /*surface*/) {}

// The browser decodes pictures to red, green, blue and alpha, and its SDL ignores colour keys.
bool CPlatform::GetColorKey(const SDL_Surface* /*surface*/, unsigned int* /*key*/) {
    return false;
}

std::string CPlatform::AdaptShaderSource(const std::string& source) {
    std::string text = source;
    // The emulation puts its own declarations first, and nothing may come before #version.
    size_t version = text.find("#version");
    if (version != std::string::npos) {
        size_t end = text.find('\n', version);
        text.replace(version, (end == std::string::npos ? text.size() : end) - version, "");
    }
    bool lights = text.find("gl_LightSource[0]") != std::string::npos ||
                  text.find("gl_LightModel") != std::string::npos;
    ReplaceAll(text, "gl_LightSource[0]", kLightSourceName);
    ReplaceAll(text, "gl_LightModel", "orv_LightModel");
    // The scenes' model-view matrices only turn and move, so the upper left 3 x 3 is the
    // normal matrix; the emulation turns gl_ModelViewMatrix into its own uniform.
    ReplaceAll(text, "gl_NormalMatrix",
               "mat3(gl_ModelViewMatrix[0].xyz, gl_ModelViewMatrix[1].xyz, "
               "gl_ModelViewMatrix[2].xyz)");
    if (lights) {
        text = kLightDeclarations + text;
    }
    return text;
}

void CPlatform::BindProgram(unsigned int program) {
    glUseProgramObjectARB(program);
    if (program != 0) {
        SetLightUniforms(program);
    }
}

#endif
