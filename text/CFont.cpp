// CFont: display lists built from the glyph grid, and the print procedure with its state save
// and restore.
#include "text/CFont.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"

namespace {

const int GRID_SIDE = 16;
// One cell of the grid in texture coordinates.
const float CELL = 1.0f / GRID_SIDE;
// The top edge of a cell is pulled in a little, so that filtering never reaches the row of
// cells above.
const float TOP_INSET = 0.001f;
// Each set is one half of the grid, and byte 32 (space) sits in its first cell.
const int SET_GLYPHS = 128;
const int FIRST_BYTE = 32;

}  // namespace

CFont::CFont()
    : base(0),
      scaleX(1.0f),
      scaleY(1.0f),
      color{1.0f, 1.0f, 1.0f, 1.0f},
      shader(nullptr),
      text{},
      blendWasOn(0),
      scissorWasOn(0),
      textureWasOn(0),
      lightingWasOn(0),
      depthWasOn(0),
      savedMatrixMode(0),
      savedViewport{0, 0, 0, 0},
      savedBlendSrc(0),
      savedBlendDst(0) {}

// Fonts outlive the context at shutdown (SDL quits first); their lists went with it then.
CFont::~CFont() {
    if (base != 0 && SDL_GetVideoSurface() != nullptr) {
        glDeleteLists(base, GLYPH_COUNT);
    }
}

bool CFont::Load(const char* path) {
    if (!image.Load(path)) {
        // Nothing can print without the font; the loader has already said why.
        SDL_Quit();
        std::exit(1);
    }
    if (base != 0) {
        glDeleteLists(base, GLYPH_COUNT);
    }
    base = glGenLists(GLYPH_COUNT);
    glBindTexture(GL_TEXTURE_2D, image.GetTexture());
    for (int g = 0; g < GLYPH_COUNT; ++g) {
        float cx = static_cast<float>(g % GRID_SIDE) / 16.0f;
        float cy = static_cast<float>(g / GRID_SIDE) / 16.0f;
        float bottom = 1.0f - cy - CELL;
        float top = 1.0f - cy - TOP_INSET;
        glNewList(base + g, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(cx, bottom);
        glVertex2i(0, GLYPH_SIZE);
        glTexCoord2f(cx + CELL, bottom);
        glVertex2i(GLYPH_SIZE, GLYPH_SIZE);
        glTexCoord2f(cx + CELL, top);
        glVertex2i(GLYPH_SIZE, 0);
        glTexCoord2f(cx, top);
        glVertex2i(0, 0);
        glEnd();
        glTranslatef(static_cast<float>(GLYPH_ADVANCE), 0.0f, 0.0f);
        glEndList();
    }
    shader = g_pShaderManager != nullptr ? g_pShaderManager->GetProgram(0) : nullptr;
    return true;
}

bool CFont::SetScale(float sx, float sy) {
    scaleX = sx;
    scaleY = sy;
    return true;
}

void CFont::SetColor(float r, float g, float b, float a) {
    color[0] = r;
    color[1] = g;
    color[2] = b;
    color[3] = a;
}

bool CFont::PrintColored(int x, int y, int set, float r, float g, float b, const char* format,
                         ...) {
    if (format == nullptr) {
        return true;
    }
    const float rgba[4] = {r, g, b, 1.0f};
    va_list args;
    va_start(args, format);
    PrintFormatted(static_cast<float>(x), static_cast<float>(y), set, rgba, scaleX, scaleY, false,
                   format, args);
    va_end(args);
    return true;
}

bool CFont::Print(int x, int y, int set, const char* format, ...) {
    if (format == nullptr) {
        return true;
    }
    va_list args;
    va_start(args, format);
    PrintFormatted(static_cast<float>(x), static_cast<float>(y), set, color, scaleX, scaleY, false,
                   format, args);
    va_end(args);
    return true;
}

bool CFont::PrintAt(float x, float y, int set, const char* format, ...) {
    if (format == nullptr) {
        return true;
    }
    va_list args;
    va_start(args, format);
    PrintFormatted(x, y, set, color, scaleX, scaleY, true, format, args);
    va_end(args);
    return true;
}

bool CFont::PrintScaled(int x, int y, int set, float r, float g, float b, float a, float sx,
                        float sy, const char* format, ...) {
    if (format == nullptr) {
        return true;
    }
    const float rgba[4] = {r, g, b, a};
    va_list args;
    va_start(args, format);
    PrintFormatted(static_cast<float>(x), static_cast<float>(y), set, rgba, sx, sy, false, format,
                   args);
    va_end(args);
    return true;
}

void CFont::PrintFormatted(float x, float y, int set, const float rgba[4], float sx, float sy,
                           bool setTextPosition, const char* format, va_list args) {
    // Longer output is cut at TEXT_CAPACITY - 1 characters.
    if (std::vsnprintf(text, sizeof(text), format, args) < 0) {
        text[0] = '\0';
    }
    int bold = set > 3 ? 3 : set;
    int first = set;

    textureWasOn = glIsEnabled(GL_TEXTURE_2D);
    depthWasOn = glIsEnabled(GL_DEPTH_TEST);
    lightingWasOn = glIsEnabled(GL_LIGHTING);
    scissorWasOn = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_MATRIX_MODE, &savedMatrixMode);
    glGetIntegerv(GL_VIEWPORT, savedViewport);
    blendWasOn = glIsEnabled(GL_BLEND);
    glGetIntegerv(GL_BLEND_SRC, &savedBlendSrc);
    glGetIntegerv(GL_BLEND_DST, &savedBlendDst);

    if (depthWasOn) {
        glDisable(GL_DEPTH_TEST);
    }
    if (!textureWasOn) {
        glEnable(GL_TEXTURE_2D);
    }
    if (!blendWasOn) {
        glEnable(GL_BLEND);
    }
    if (!scissorWasOn) {
        glEnable(GL_SCISSOR_TEST);
    }
    if (lightingWasOn) {
        glDisable(GL_LIGHTING);
    }
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // One unit per viewport pixel, y downwards, whatever projection the scene uses.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, savedViewport[2], savedViewport[3], 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();

    // The program samples unit 0, so the glyph picture goes there whichever unit was active.
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, image.GetTexture());
    if (bold > 1) {
        first -= 2;
    }
    // List numbers wrap like GLuint for out-of-range sets; such lists draw nothing.
    long long firstBase = static_cast<long long>(first) * SET_GLYPHS + base - FIRST_BYTE;
    DrawPass(x, y, static_cast<unsigned int>(firstBase), rgba, sx, sy, false);
    if (bold > 1) {
        // The same glyphs again one pixel to the right make the text bold.
        long long boldBase = static_cast<long long>(bold - 2) * SET_GLYPHS + base - FIRST_BYTE;
        DrawPass(x + 1.0f, y, static_cast<unsigned int>(boldBase), rgba, sx, sy, setTextPosition);
    }

    glBindTexture(GL_TEXTURE_2D, 0);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();

    if (depthWasOn) {
        glEnable(GL_DEPTH_TEST);
    }
    if (!textureWasOn) {
        glDisable(GL_TEXTURE_2D);
    }
    if (!blendWasOn) {
        glDisable(GL_BLEND);
    }
    if (!scissorWasOn) {
        glDisable(GL_SCISSOR_TEST);
    }
    if (lightingWasOn) {
        glEnable(GL_LIGHTING);
    }
    glBlendFunc(static_cast<GLenum>(savedBlendSrc), static_cast<GLenum>(savedBlendDst));
    glMatrixMode(static_cast<GLenum>(savedMatrixMode));
}

void CFont::DrawPass(float x, float y, unsigned int listBase, const float rgba[4], float sx,
                     float sy, bool setTextPosition) {
    // Identity first: text ignores the camera and any scene transform.
    glLoadIdentity();
    glTranslatef(x, y, 0.0f);
    glListBase(listBase);
    glScalef(sx, sy, 1.0f);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    GLhandleARB program = shader != nullptr ? shader->GetHandle() : 0;
    if (program != 0) {
        shader->Bind();
        if (setTextPosition) {
            glUniform3fARB(glGetUniformLocationARB(program, "tpos"), x, y, 0.0f);
        }
        glUniform4fARB(glGetUniformLocationARB(program, "colors"), rgba[0], rgba[1], rgba[2],
                       rgba[3]);
    }
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    if (program != 0) {
        shader->Unbind();
    }
}
