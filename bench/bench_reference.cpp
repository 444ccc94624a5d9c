// bench_reference: the camera demo's frame written straight against SDL, OpenGL and GLEW, as the
// yardstick for the engine's frame. Same window, same pictures uploaded the same way, same
// state, same quads and glyphs in the same order; no managers, no per-draw state changes.
// Two variants: "glsl" draws through the simple texture program (texture times a uniform
// colour, read from shaders/simpleTexture.*), "fixed" through the fixed-function pipeline
// (GL_MODULATE with a white current colour).
// Usage: bench_reference [--frames N] [--mode glsl|fixed] [--snapshot FILE.ppm]
#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/ReferenceTextures.h"

namespace {

using bench::Fail;
using bench::LoadFontPicture;
using bench::LoadPicture;
using bench::Texture;

const int kWidth = 1024;
const int kHeight = 768;
const int kBpp = 16;

// 256 display lists, one per cell of the 16 x 16 glyph grid: a 16 x 16 quad, then the pen
// moves 12 units right.
GLuint BuildGlyphLists(GLuint fontTexture) {
    GLuint base = glGenLists(256);
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    for (int g = 0; g < 256; ++g) {
        float cx = static_cast<float>(g % 16) / 16.0f;
        float cy = static_cast<float>(g / 16) / 16.0f;
        glNewList(base + g, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, 1.0f - cy - 0.0625f);
        glVertex2i(0, 16);
        glTexCoord2f(cx + 0.0625f, 1.0f - cy - 0.0625f);
        glVertex2i(16, 16);
        glTexCoord2f(cx + 0.0625f, 1.0f - cy - 0.001f);
        glVertex2i(16, 0);
        glTexCoord2f(cx, 1.0f - cy - 0.001f);
        glVertex2i(0, 0);
        glEnd();
        glTranslated(12, 0, 0);
        glEndList();
    }
    return base;
}

std::string ReadText(const char* path) {
    std::ifstream file(path);
    if (!file) {
        Fail(std::string("cannot read ") + path);
    }
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

GLuint CompileProgram(const char* vertexPath, const char* fragmentPath) {
    GLuint program = glCreateProgram();
    const char* paths[2] = {vertexPath, fragmentPath};
    const GLenum kinds[2] = {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER};
    for (int i = 0; i < 2; ++i) {
        std::string source = ReadText(paths[i]);
        const char* text = source.c_str();
        GLuint shader = glCreateShader(kinds[i]);
        glShaderSource(shader, 1, &text, nullptr);
        glCompileShader(shader);
        GLint ok = 0;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[1024] = {};
            glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
            Fail(std::string("cannot compile ") + paths[i] + ": " + log);
        }
        glAttachShader(program, shader);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        Fail("cannot link the simple texture program");
    }
    return program;
}

void DrawPicture(const Texture& texture, float x, float y) {
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(x, y + texture.height);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(x + texture.width, y + texture.height);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(x + texture.width, y);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x, y);
    glEnd();
}

// Text sits in window pixels whatever the camera, with the depth test off, as the font does.
void DrawText(const Texture& font, GLuint lists, int x, int y, const char* text) {
    if (font.name == 0) {
        return;
    }
    glDisable(GL_DEPTH_TEST);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0);
    glBindTexture(GL_TEXTURE_2D, font.name);
    glListBase(lists - 32);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}

}  // namespace

int main(int argc, char** argv) {
    bench::FrameTimer timer;
    int frames = bench::ParseFrames(argc, argv, 300);
    std::string mode = bench::ParseOption(argc, argv, "--mode", "glsl");
    if (mode != "glsl" && mode != "fixed") {
        Fail("--mode must be glsl or fixed");
    }

    // The window the demo asks for: 1024 x 768, 16 bits, full screen, double-buffered, a
    // 16-bit depth buffer and no accumulation buffer.
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        Fail(std::string("SDL_Init: ") + SDL_GetError());
    }
    Uint32 flags = SDL_OPENGL | SDL_HWPALETTE | SDL_FULLSCREEN;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info != nullptr && info->hw_available) {
        flags |= SDL_HWSURFACE;
    }
    if (info != nullptr && info->blit_hw) {
        flags |= SDL_HWACCEL;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, kBpp);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
    if (SDL_SetVideoMode(kWidth, kHeight, kBpp, flags) == nullptr) {
        Fail(std::string("SDL_SetVideoMode: ") + SDL_GetError());
    }
    if (glewInit() != GLEW_OK) {
        Fail("glewInit failed");
    }
    SDL_ShowCursor(SDL_DISABLE);
    const char* caption = "Orvane Engine - Sprite Animation Demo";
    SDL_WM_SetCaption(caption, "");

    // The 2D state of the engine's frame, set once: blending, depth test that always passes
    // (and still writes depth), scissor test over the whole window, one unit per pixel with y
    // downwards.
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_SCISSOR_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, kWidth, kHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (mode == "glsl") {
        GLuint program = CompileProgram("shaders/simpleTexture.vert", "shaders/simpleTexture.frag");
        glUseProgram(program);
        glUniform1i(glGetUniformLocation(program, "tex"), 0);
        glUniform4f(glGetUniformLocation(program, "colors"), 1.0f, 1.0f, 1.0f, 1.0f);
    } else {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }

    Texture cursor = LoadPicture("Data/MousePointer.png");
    Texture map1 = LoadPicture("Data/MAP1.png");
    Texture map2 = LoadPicture("Data/MAP2.png");
    Texture logo = LoadPicture("Data/Logo/orvlogo.png");
    Texture font = LoadFontPicture("Data/Font/font.tga");
    GLuint lists = font.name != 0 ? BuildGlyphLists(font.name) : 0;
    float logoX = 1022.0f - logo.width;
    float logoY = 766.0f - logo.height;

    float cameraX = -1.0f;
    float speed = -0.5f;
    int fps = 0;
    int framesThisSecond = 0;
    Uint32 lastRateTicks = 0;
    char fpsText[32];
    char captionText[96];
    for (int frame = 0; frame <= frames; ++frame) {
        cameraX += speed;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();

        // One event and one mouse sample per frame, as the engine takes them.
        SDL_Event event;
        SDL_PollEvent(&event);
        int mouseX = 0;
        int mouseY = 0;
        SDL_GetMouseState(&mouseX, &mouseY);

        DrawPicture(cursor, static_cast<float>(mouseX), static_cast<float>(mouseY));

        ++framesThisSecond;
        Uint32 now = SDL_GetTicks();
        if (now - lastRateTicks > 1000) {
            lastRateTicks = now;
            fps = framesThisSecond;
            framesThisSecond = 0;
            std::snprintf(captionText, sizeof(captionText), "%s Current FPS: %d", caption, fps);
            SDL_WM_SetCaption(captionText, nullptr);
        }
        std::snprintf(fpsText, sizeof(fpsText), "Current FPS %d", fps);
        DrawText(font, lists, 1, 1, fpsText);

        glTranslatef(cameraX, 0.0f, 0.0f);
        DrawPicture(map1, 0.0f, 0.0f);
        DrawPicture(map2, 890.0f, 0.0f);
        DrawText(font, lists, 360, 30, "2D Camera Movement Demo.");
        DrawText(font, lists, 20, 740, "Press ESC to Exit.");
        glLoadIdentity();
        DrawPicture(logo, logoX, logoY);

        SDL_GL_SwapBuffers();
        if (frame == 0) {
            timer.FirstFramePresented();
        }
        if (cameraX < -766.0f || cameraX > 0.0f) {
            speed = -speed;
        }
    }
    glFinish();
    timer.Finished(frames);
    if (const char* snapshot = bench::ParseOption(argc, argv, "--snapshot", nullptr)) {
        bench::SaveWindow(snapshot);
    }
    SDL_Quit();
    return 0;
}
