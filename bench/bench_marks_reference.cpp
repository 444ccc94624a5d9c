// bench_marks_reference: the sprite and text marks written straight against SDL and OpenGL, as
// the practical limit for the engine: a window without a depth buffer, the same pictures, and
// each frame one vertex array of every quad drawn with a single call through the fixed-function
// pipeline (texture times a white colour).
// Usage: bench_marks_reference --mark sprites|text [--count N] [--frames F]
//                              [--snapshot FILE.ppm]
#include <GL/glew.h>
#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchMarks.h"
#include "bench/BenchSupport.h"
#include "bench/ReferenceTextures.h"

namespace {

struct Vertex {
    float x, y, s, t;
};

void AddQuad(std::vector<Vertex>& out, float x0, float y0, float x1, float y1, float s0, float t0,
             float s1, float t1) {
    out.push_back({x0, y0, s0, t0});
    out.push_back({x1, y0, s1, t0});
    out.push_back({x1, y1, s1, t1});
    out.push_back({x0, y1, s0, t1});
}

// The glyph grid as the engine's font cuts it: 16 x 16 cells, the top edge pulled in a little,
// 16-pixel quads 12 pixels apart, byte 32 in the first cell.
void AddTextLine(std::vector<Vertex>& out, const std::string& text, float y) {
    float pen = 0.0f;
    for (unsigned char c : text) {
        int glyph = c - 32;
        float cx = static_cast<float>(glyph % 16) / 16.0f;
        float cy = static_cast<float>(glyph / 16) / 16.0f;
        AddQuad(out, pen, y, pen + 16.0f, y + 16.0f, cx, 1.0f - cy - 0.001f, cx + 0.0625f,
                1.0f - cy - 0.0625f);
        pen += 12.0f;
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool text = std::string(bench::ParseOption(argc, argv, "--mark", "sprites")) == "text";
    int count = std::atoi(bench::ParseOption(argc, argv, "--count", "1000"));
    int frames = bench::ParseFrames(argc, argv, 100);
    const char* snapshot = bench::ParseOption(argc, argv, "--snapshot", nullptr);

    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        bench::Fail(std::string("SDL_Init: ") + SDL_GetError());
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    if (SDL_SetVideoMode(bench::kMarkWidth, bench::kMarkHeight, 16, SDL_OPENGL) == nullptr) {
        bench::Fail(std::string("SDL_SetVideoMode: ") + SDL_GetError());
    }
    if (glewInit() != GLEW_OK) {
        bench::Fail("glewInit failed");
    }
    bench::Texture picture = text ? bench::LoadFontPicture("Data/Font/font.tga")
                                  : bench::LoadPicture(bench::kMarkSprite);
    glViewport(0, 0, bench::kMarkWidth, bench::kMarkHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, bench::kMarkWidth, bench::kMarkHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, picture.name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);

    bench::Bouncers bouncers(count);
    std::vector<Vertex> vertices;
    vertices.reserve(text ? bench::kTextLines * bench::kTextColumns * 4 : count * 4);
    bench::FrameTimer timer;
    for (int frame = 0; frame <= frames; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT);
        vertices.clear();
        if (text) {
            for (int line = 0; line < bench::kTextLines; ++line) {
                AddTextLine(vertices, bench::TextLine(line),
                            static_cast<float>(line * bench::kTextLineHeight));
            }
        } else {
            bouncers.Step();
            for (size_t i = 0; i < bouncers.Count(); ++i) {
                float x = bouncers.X(i);
                float y = bouncers.Y(i);
                AddQuad(vertices, x, y, x + bench::kMarkSpriteSize, y + bench::kMarkSpriteSize,
                        0.0f, 0.0f, 1.0f, 1.0f);
            }
        }
        glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &vertices[0].s);
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(vertices.size()));
        SDL_GL_SwapBuffers();
        if (frame == 0) {
            timer.FirstFramePresented();
        }
    }
    glFinish();
    timer.Finished(frames);
    if (snapshot != nullptr) {
        bench::SaveWindow(snapshot);
    }
    SDL_Quit();
    return 0;
}
