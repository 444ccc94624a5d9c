// TEMPORARY, browser build only: stands in for the font's display lists and for
// gluBuild2DMipmaps until the engine draws text without lists and builds its own mipmaps.
#ifdef __EMSCRIPTEN__
#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "text/CFont.h"

namespace {
GLuint g_listBase = 0;
}  // namespace

extern "C" {
GLuint glGenLists(GLsizei) {
    return 1;
}
void glNewList(GLuint, GLenum) {}
void glEndList() {}
void glDeleteLists(GLuint, GLsizei) {}
void glListBase(GLuint base) {
    g_listBase = base;
}
void glCallLists(GLsizei count, GLenum, const GLvoid* lists) {
    const unsigned char* bytes = static_cast<const unsigned char*>(lists);
    const float cell = 1.0f / 16.0f;
    for (GLsizei i = 0; i < count; ++i) {
        long g = static_cast<long>(g_listBase) + bytes[i] - 1;
        if (g < 0 || g >= GLYPH_COUNT) {
            continue;
        }
        float cx = static_cast<float>(g % 16) / 16.0f;
        float cy = static_cast<float>(g / 16) / 16.0f;
        float bottom = 1.0f - cy - cell;
        float top = 1.0f - cy - 0.001f;
        glBegin(GL_QUADS);
        glTexCoord2f(cx, bottom);
        glVertex2i(0, GLYPH_SIZE);
        glTexCoord2f(cx + cell, bottom);
        glVertex2i(GLYPH_SIZE, GLYPH_SIZE);
        glTexCoord2f(cx + cell, top);
        glVertex2i(GLYPH_SIZE, 0);
        glTexCoord2f(cx, top);
        glVertex2i(0, 0);
        glEnd();
        glTranslatef(static_cast<float>(GLYPH_ADVANCE), 0.0f, 0.0f);
    }
}
// Like GLU: the largest powers of two that fit, each texel the mean of the area it covers.
GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* data) {
    int w = 1;
    while (w * 2 <= width)
        w *= 2;
    int h = 1;
    while (h * 2 <= height)
        h *= 2;
    int channels = format == GL_RGBA ? 4 : 3;
    const unsigned char* in = static_cast<const unsigned char*>(data);
    std::vector<unsigned char> out(static_cast<size_t>(w) * h * channels);
    double sx = double(width) / w, sy = double(height) / h;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < channels; ++c) {
                double sum = 0.0, area = 0.0;
                for (int iy = int(y * sy); iy < std::min(height, int(std::ceil((y + 1) * sy)));
                     ++iy) {
                    double hy = std::min((y + 1) * sy, iy + 1.0) - std::max(y * sy, double(iy));
                    for (int ix = int(x * sx); ix < std::min(width, int(std::ceil((x + 1) * sx)));
                         ++ix) {
                        double hx = std::min((x + 1) * sx, ix + 1.0) - std::max(x * sx, double(ix));
                        size_t row = (static_cast<size_t>(width) * channels + 3) & ~size_t(3);
                        sum += hx * hy * in[iy * row + ix * channels + c];
                        area += hx * hy;
                    }
                }
                out[(static_cast<size_t>(y) * w + x) * channels + c] =
                    static_cast<unsigned char>(sum / area + 0.5);
            }
        }
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(target, 0, format, w, h, 0, format, type, out.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenerateMipmap(target);
    return 0;
}
}
#endif
