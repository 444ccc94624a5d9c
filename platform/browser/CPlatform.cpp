// CPlatform in the browser: WebAssembly, emscripten's SDL 1.2 and its OpenGL emulation over
// WebGL 1.
#include "platform/CPlatform.h"

#include <GL/glew.h>
#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <emscripten.h>

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/browser/CBrowserGL.h"

namespace {

void (*g_beforeSwap)() = nullptr;

// ---- The page's side, in JavaScript (which clang-format would take for C++) -------------

// clang-format off
// The count, and the milliseconds the page's own code has spent in frames (the wasm and the
// JavaScript it calls), which a faster graphics card could not take away.
EM_JS(void, PublishFrame, (int count, double milliseconds), {
    Module["frameCount"] = count;
    Module["frameTime"] = (Module["frameTime"] || 0) + milliseconds;
});

EM_JS(void, AnnounceFramesEnded, (int status), {
    if (Module["onFramesEnded"]) Module["onFramesEnded"](status);
});

// From now on the mouse's movement is summed up for TakePointerMovement, and a click captures
// the pointer, so that it never leaves the canvas.
EM_JS(void, StartRelativePointer, (), {
    var canvas = Module["canvas"];
    Module["pointerMovement"] = [0, 0];
    document.addEventListener("mousemove", function(event) {
        if (event.target === canvas || document.pointerLockElement === canvas) {
            Module["pointerMovement"][0] += event.movementX;
            Module["pointerMovement"][1] += event.movementY;
        }
    });
    canvas.addEventListener("click", function() {
        if (document.pointerLockElement !== canvas && canvas.requestPointerLock) {
            canvas.requestPointerLock();
        }
    });
});

EM_JS(void, TakePointerMovement, (int* dx, int* dy), {
    var movement = Module["pointerMovement"];
    HEAP32[dx >> 2] = Math.round(movement[0]);
    HEAP32[dy >> 2] = Math.round(movement[1]);
    movement[0] = 0;
    movement[1] = 0;
});

EM_JS(void, ShowCanvasPointer, (int show), {
    Module["canvas"].style.cursor = show ? "auto" : "none";
});

// SDL_SetVideoMode may hand out a surface even when the canvas gave no WebGL context.
EM_JS(int, HasWebGLContext, (), {
    return Module["ctx"] ? 1 : 0;
});
// clang-format on

// ---- The frame loop -------------------------------------------------------------------------

std::function<bool()> g_frame;
std::function<int()> g_done;
int g_frameCount = 0;

void BrowserFrame() {
    double start = emscripten_get_now();
    bool more = g_frame();
    // The browser shows what was drawn as soon as this returns.
    if (g_beforeSwap != nullptr) {
        g_beforeSwap();
    }
    // The page shows the count, and tests wait on it for the first frame.
    ++g_frameCount;
    PublishFrame(g_frameCount, emscripten_get_now() - start);
    if (more) {
        return;
    }
    emscripten_cancel_main_loop();
    // Moved out first: done destroys the application, and with it what the frame captured.
    std::function<int()> done = std::move(g_done);
    g_frame = nullptr;
    AnnounceFramesEnded(done());
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

// Once a program has warped the pointer, its position is the warp's plus the movement since.
bool g_relativePointer = false;
int g_pointerX = 0;
int g_pointerY = 0;

}  // namespace

void CPlatform::SetBeforeSwap(void (*hook)()) {
    g_beforeSwap = hook;
}

void CPlatform::RunFrames(const std::function<void()>& /*loop*/, const std::function<bool()>& frame,
                          const std::function<int()>& done) {
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
    if (g_relativePointer) {
        int dx = 0;
        int dy = 0;
        TakePointerMovement(&dx, &dy);
        g_pointerX += dx;
        g_pointerY += dy;
        px = g_pointerX;
        py = g_pointerY;
    }
    if (x != nullptr) {
        *x = px;
    }
    if (y != nullptr) {
        *y = py;
    }
    return buttons;
}

// The page cannot move the mouse; a warp starts relative pointing instead.
void CPlatform::WarpPointer(int x, int y) {
    if (!g_relativePointer) {
        g_relativePointer = true;
        StartRelativePointer();
    }
    int dx = 0;
    int dy = 0;
    TakePointerMovement(&dx, &dy);
    g_pointerX = x;
    g_pointerY = y;
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

SDL_RWops* CPlatform::FileStream(std::FILE* file, const char* path) {
    std::fclose(file);
    return SDL_RWFromFile(path, "rb");
}

SDL_Surface* CPlatform::LoadPicture(std::FILE* file, const char* path) {
    std::fclose(file);
    return IMG_Load(path);
}

// The browser's SDL has SDL_SaveBMP only as a stub that throws.
std::string CPlatform::SaveBmp(SDL_Surface* /*surface*/, const char* /*path*/) {
    return "The browser build cannot write BMP files";
}

Mix_Music* CPlatform::LoadMusic(std::FILE* file, const char* path) {
    std::fclose(file);
    return Mix_LoadMUS(path);
}

std::string CPlatform::DisplayServerProblem() {
    return "";
}

std::string CPlatform::VideoDriverNamed() {
    return "";
}

bool CPlatform::StartVideo(bool /*fullscreen*/) {
    return SDL_Init(SDL_INIT_VIDEO) == 0;
}

unsigned int CPlatform::StartGLEW() {
    return glewInit();
}

std::string CPlatform::GLContextProblem() {
    // The browser's SDL_SetError keeps nothing, so the reason is handed back instead.
    return HasWebGLContext() ? "" : "this browser offers no WebGL context";
}

std::string CPlatform::AdaptShaderSource(const std::string& source) {
    return CBrowserGL::AdaptShaderSource(source);
}

namespace {

// Program 0's source reaches WebGL rewritten by the emulation: its fixed-function inputs become
// these attributes and matrices, which a draw of our own must feed itself.
struct QuadInputs {
    GLint position = -1;
    GLint texCoord = -1;
    GLint color = -1;
    GLint modelView = -1;
    GLint projection = -1;
};

std::map<unsigned int, QuadInputs> g_quadInputs;
GLuint g_vertexBuffer = 0;
GLuint g_indexBuffer = 0;
std::vector<unsigned short> g_indices;

void EnableAttribute(GLint location, int size, int stride, int offset) {
    if (location >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), size, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(static_cast<intptr_t>(offset)));
    }
}

void DisableAttribute(GLint location) {
    if (location >= 0) {
        glDisableVertexAttribArray(static_cast<GLuint>(location));
    }
}

}  // namespace

void CPlatform::ForgetQuadInputs(unsigned int program) {
    g_quadInputs.erase(program);
}

bool CPlatform::CanSkipTransparentFragments() {
    return false;
}

void CPlatform::SkipTransparentFragments(bool /*on*/) {}

void CPlatform::DrawQuadArrays(unsigned int program, const float* corners, const float* colors,
                               const float tint[4], int vertexCount, const float* projection,
                               const float* modelView) {
    if (program == 0) {
        return;
    }
    auto found = g_quadInputs.find(program);
    if (found == g_quadInputs.end()) {
        QuadInputs inputs;
        inputs.position = glGetAttribLocation(program, "a_position");
        inputs.texCoord = glGetAttribLocation(program, "a_texCoord0");
        inputs.color = glGetAttribLocation(program, "a_color");
        inputs.modelView = glGetUniformLocation(program, "u_modelView");
        inputs.projection = glGetUniformLocation(program, "u_projection");
        found = g_quadInputs.emplace(program, inputs).first;
    }
    const QuadInputs& inputs = found->second;
    if (g_vertexBuffer == 0) {
        glGenBuffers(1, &g_vertexBuffer);
        glGenBuffers(1, &g_indexBuffer);
    }
    // Matrices the engine does not know were set by the application's own calls, which only
    // the emulation saw; its copy answers without asking WebGL.
    float asked[2][16];
    if (projection == nullptr || modelView == nullptr) {
        glGetFloatv(GL_PROJECTION_MATRIX, asked[0]);
        glGetFloatv(GL_MODELVIEW_MATRIX, asked[1]);
        projection = asked[0];
        modelView = asked[1];
    }
    glUniformMatrix4fv(inputs.modelView, 1, GL_FALSE, modelView);
    glUniformMatrix4fv(inputs.projection, 1, GL_FALSE, projection);

    // The corners first, the colours (if any) after them in the same buffer.
    const int stride = 4 * sizeof(float);
    const GLsizeiptr cornerBytes = static_cast<GLsizeiptr>(vertexCount) * stride;
    glBindBuffer(GL_ARRAY_BUFFER, g_vertexBuffer);
    if (colors != nullptr) {
        glBufferData(GL_ARRAY_BUFFER, cornerBytes * 2, nullptr, GL_STREAM_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, cornerBytes, corners);
        glBufferSubData(GL_ARRAY_BUFFER, cornerBytes, cornerBytes, colors);
    } else {
        glBufferData(GL_ARRAY_BUFFER, cornerBytes, corners, GL_STREAM_DRAW);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g_indexBuffer);
    // Two triangles a quad, (0, 1, 2) and (0, 2, 3); every run's indices begin with the same
    // pattern, so the buffer only ever grows.
    const int indexCount = vertexCount / 4 * 6;
    if (indexCount > static_cast<int>(g_indices.size())) {
        for (int quad = static_cast<int>(g_indices.size()) / 6; quad < vertexCount / 4; ++quad) {
            const unsigned short quadCorners[6] = {0, 1, 2, 0, 2, 3};
            for (unsigned short corner : quadCorners) {
                g_indices.push_back(static_cast<unsigned short>(quad * 4 + corner));
            }
        }
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(g_indices.size() * 2),
                     g_indices.data(), GL_STATIC_DRAW);
    }
    EnableAttribute(inputs.position, 2, stride, 0);
    EnableAttribute(inputs.texCoord, 2, stride, 2 * sizeof(float));
    if (colors != nullptr) {
        EnableAttribute(inputs.color, 4, 0, static_cast<int>(cornerBytes));
    } else if (inputs.color >= 0) {
        // With its array off, an attribute reads this one value at every vertex.
        glVertexAttrib4fv(static_cast<GLuint>(inputs.color), tint);
    }
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, nullptr);
    if (colors != nullptr) {
        DisableAttribute(inputs.color);
    }
    DisableAttribute(inputs.texCoord);
    DisableAttribute(inputs.position);
    // The application's own client-side arrays need no buffer bound.
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void CPlatform::BindProgram(unsigned int program) {
    glUseProgramObjectARB(program);
    if (program != 0) {
        CBrowserGL::SetProgramLights(program);
    }
}

// WebGL 1 has no unsigned ints, no matrices other than square ones and no doubles.
bool CPlatform::GetWideUniform(unsigned int /*program*/, int /*location*/, unsigned int /*type*/,
                               void* /*value*/) {
    return false;
}

bool CPlatform::SetWideUniform(int /*location*/, unsigned int /*type*/, const void* /*value*/) {
    return false;
}
