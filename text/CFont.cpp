// CFont: glyph quads cut from the grid, and the print procedure.
#include "text/CFont.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "shading/CShaderManager.h"
#include "shading/CShaderProgram.h"
#include "render/CQuadBatch.h"
#include "render/CRenderState.h"
#include "render/CStateGuard.h"

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
    : base(0), scaleX(1.0f), scaleY(1.0f), color{1.0f, 1.0f, 1.0f, 1.0f}, shader(nullptr), text{} {}

CFont::~CFont() {}

bool CFont::Load(const char* path) {
    if (!image.Load(path)) {
        // Nothing can print without the font. The loader's line went to standard output; the
        // reason the process ends goes where failures go.
        std::cerr << "Error: the font " << (path != nullptr ? path : "") << " could not be loaded"
                  << std::endl;
        SDL_Quit();
        std::exit(1);
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

    // The colour the application has set, which the print must leave as it found it.
    float savedColor[4];
    CQuadBatch::ColorAfterRun(savedColor);
    int viewport[4];
    CRenderState::GetViewport(viewport);
    // What Begin2D sets up is what a print needs; elsewhere (a 3D scene, say) the guard sets it
    // for the print and puts it back. Without a depth buffer the depth test decides nothing.
    CStateGuard guard;
    if (CRenderState::DepthBits() > 0) {
        guard.SetEnabled(GL_DEPTH_TEST, false);
    }
    guard.SetEnabled(GL_TEXTURE_2D, true);
    guard.SetEnabled(GL_BLEND, true);
    guard.SetEnabled(GL_SCISSOR_TEST, true);
    guard.SetEnabled(GL_LIGHTING, false);
    guard.SetBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // In the plain 2D state a print changes nothing around its quads: it then leaves program 0
    // and the glyph picture bound like a sprite draw, so consecutive prints and sprites reach
    // the driver as one draw; the run's end restores the rest.
    bool plain2D = !guard.Changed();

    // One unit per viewport pixel, y downwards, whatever projection the scene uses.
    CQuadBatch::UseInPixels(
        image.GetTexture(), shader != nullptr, shader != nullptr ? shader->GetHandle() : 0,
        shader != nullptr ? shader->GetUntintedHandle() : 0, viewport[2], viewport[3]);
    if (bold > 1) {
        first -= 2;
    }
    DrawPass(x, y, first, rgba, sx, sy);
    if (bold > 1) {
        // The same glyphs again one pixel to the right make the text bold.
        if (setTextPosition && shader != nullptr && shader->GetHandle() != 0) {
            CQuadBatch::RebindProgram();
            glUniform3fARB(glGetUniformLocationARB(shader->GetHandle(), "tpos"), x + 1.0f, y, 0.0f);
        }
        DrawPass(x + 1.0f, y, bold - 2, rgba, sx, sy);
    }

    // The print ends with no program, texture 0 and the application's colour, now or (in the
    // plain 2D state) when the run of quads ends.
    CQuadBatch::SetEndState(savedColor, true);
    if (!plain2D) {
        CQuadBatch::Flush();
    }
}

void CFont::DrawPass(float x, float y, int set, const float rgba[4], float sx, float sy) {
    float pen = x;
    float glyphWidth = static_cast<float>(GLYPH_SIZE) * sx;
    float glyphHeight = static_cast<float>(GLYPH_SIZE) * sy;
    for (const char* c = text; *c != '\0'; ++c) {
        // A set and byte that fall outside the 256 glyphs draw nothing and do not move the pen.
        long long glyph =
            static_cast<long long>(set) * SET_GLYPHS + static_cast<unsigned char>(*c) - FIRST_BYTE;
        if (glyph < 0 || glyph >= GLYPH_COUNT) {
            continue;
        }
        float cx = static_cast<float>(glyph % GRID_SIDE) * CELL;
        float cy = static_cast<float>(glyph / GRID_SIDE) * CELL;
        float bottom = 1.0f - cy - CELL;
        float top = 1.0f - cy - TOP_INSET;
        const CQuadBatch::Vertex corners[4] = {
            {pen, y + glyphHeight, cx, bottom},
            {pen + glyphWidth, y + glyphHeight, cx + CELL, bottom},
            {pen + glyphWidth, y, cx + CELL, top},
            {pen, y, cx, top}};
        CQuadBatch::Quad(corners, rgba);
        pen += static_cast<float>(GLYPH_ADVANCE) * sx;
    }
}
