// CQuadBatch: quads queued in one vertex array, sent as one draw per run.
#include "render/CQuadBatch.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/CPlatform.h"
#include "render/CRenderState.h"

namespace {

// A browser's indices are 16 bits (all that WebGL 1 offers without an extension), so a run
// draws at most this many quads at a time.
const size_t kMaxQuadsPerDraw = 65536 / 4;

std::vector<CQuadBatch::Vertex> g_vertices;
// The run's tint while every quad queued has had the same one; once a quad's differs, each
// vertex's colour in g_colors (filled in for the quads before it too).
float g_runTint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
bool g_oneTint = true;
std::vector<float> g_colors;
// Whether the run's picture has no alpha, and whether every quad queued is opaque with it.
bool g_pictureOpaque = false;
bool g_runOpaque = false;

// What the quads of the current run left bound. A texture of 0 means "unknown".
bool g_running = false;
unsigned int g_texture = 0;
bool g_programKnown = false;
unsigned int g_program = 0;
// The program's untinted build (CShaderProgram::GetUntintedHandle), 0 without one.
unsigned int g_untinted = 0;
// The program the batch left bound, unless another was bound since.
bool g_boundKnown = false;
unsigned int g_bound = 0;
unsigned int g_colorsHandle = 0;
int g_colorsLocation = -1;
// What the end of the run puts back: the current colour, and whether unit 0 goes back to
// texture 0 (a print's glyph picture) or keeps the last picture (a sprite's).
float g_endColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
bool g_endUnbindsTexture = false;
unsigned long g_draws = 0;
// The scopes (CQuadBatch::Scope) open now; quads wait only while one is.
unsigned int g_scopes = 0;
// Whether UsePixelMatrices pushed the projection and model-view, and for what viewport size.
bool g_pixelPushed = false;
int g_pixelSize[2] = {0, 0};

void PopPixelMatrices() {
    CRenderState::SetMatrixMode(GL_PROJECTION);
    glPopMatrix();
    CRenderState::SetMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    g_pixelPushed = false;
}

// Binds the run's program or its untinted build, unless the batch left it bound already.
void BindBuild(unsigned int build) {
    if (g_boundKnown && g_bound == build) {
        return;
    }
    CPlatform::BindProgram(build);
    // The tint travels as the vertex colour; "colors" stays white for the engine's quads.
    // A program whose files were missing has no object and so no uniform.
    if (build != 0 && build == g_program) {
        if (g_colorsHandle != build) {
            g_colorsHandle = build;
            g_colorsLocation = glGetUniformLocationARB(build, "colors");
        }
        glUniform4fARB(g_colorsLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    g_bound = build;
    g_boundKnown = true;
}

}  // namespace

void CQuadBatch::Use(unsigned int texture, bool withProgram, unsigned int program,
                     unsigned int untinted, bool opaque) {
    bool programChanged = withProgram && (!g_running || !g_programKnown || g_program != program ||
                                          g_untinted != untinted);
    bool textureChanged = !g_running || g_texture != texture;
    if (programChanged || textureChanged) {
        DrawPending();
    }
    if (programChanged) {
        // Bound at the first draw, when it is known which build the run takes.
        g_program = program;
        g_untinted = untinted;
        g_programKnown = true;
    }
    if (textureChanged) {
        // Unit 0 is made active before the texture is bound, so that a texture bound to another
        // unit earlier (BindToUnit) cannot leave unit 0 showing a stale picture.
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glBindTexture(GL_TEXTURE_2D, texture);
        g_texture = texture;
    }
    g_pictureOpaque = opaque;
    g_running = true;
}

void CQuadBatch::Quad(const Vertex corners[4], const float rgba[4]) {
    if (g_vertices.size() / 4 >= kMaxQuadsPerDraw) {
        Draw(false);
    }
    if (g_vertices.empty()) {
        std::copy(rgba, rgba + 4, g_runTint);
        g_oneTint = true;
        g_runOpaque = g_pictureOpaque;
    } else if (g_oneTint && !std::equal(rgba, rgba + 4, g_runTint)) {
        g_oneTint = false;
        for (size_t i = 0; i < g_vertices.size(); ++i) {
            g_colors.insert(g_colors.end(), g_runTint, g_runTint + 4);
        }
    }
    g_runOpaque = g_runOpaque && rgba[3] == 1.0f;
    g_vertices.insert(g_vertices.end(), corners, corners + 4);
    if (!g_oneTint) {
        for (int i = 0; i < 4; ++i) {
            g_colors.insert(g_colors.end(), rgba, rgba + 4);
        }
    }
    if (g_scopes == 0) {
        Draw(true);
    }
}

void CQuadBatch::UsePixelMatrices(int width, int height) {
    if (g_pixelPushed && g_pixelSize[0] == width && g_pixelSize[1] == height) {
        return;
    }
    // Queued quads were placed for the matrices in force, so they go out first.
    DrawPending();
    CRenderState::SetMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    CRenderState::SetMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    g_pixelPushed = true;
    g_pixelSize[0] = width;
    g_pixelSize[1] = height;
}

void CQuadBatch::EndPixelMatrices() {
    Draw(false);
    if (g_pixelPushed) {
        PopPixelMatrices();
    }
}

void CQuadBatch::DrawPending() {
    Draw(false);
    if (g_pixelPushed) {
        int mode = CRenderState::GetMatrixMode();
        PopPixelMatrices();
        CRenderState::SetMatrixMode(mode);
    }
}

bool CQuadBatch::QuadsWait() {
    return g_scopes != 0;
}

void CQuadBatch::RebindProgram() {
    if (g_programKnown) {
        BindBuild(g_program);
    }
}

void CQuadBatch::Draw(bool alone) {
    if (g_vertices.empty()) {
        return;
    }
    static_assert(sizeof(Vertex) == 4 * sizeof(float), "a corner is four floats");
    static const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    unsigned int program = 0;
    if (g_programKnown) {
        program = g_program;
        // Multiplying by white changes no pixel, so an all-white run skips the multiply where
        // the program has a build without it. A quad sent as it is queued keeps the program:
        // switching builds between single quads would cost more than it saves.
        if (!alone && g_untinted != 0 && g_oneTint &&
            std::equal(g_runTint, g_runTint + 4, kWhite)) {
            program = g_untinted;
        }
        BindBuild(program);
    }
    // Over-blending a pixel of alpha 1 writes it as it is, yet makes the rasteriser read back
    // every pixel it writes; an opaque run (a map, a backdrop) goes without. The state the
    // engine knows is put back at once, so nothing else sees the change.
    bool unblended = g_runOpaque && CRenderState::BlendKeepsOpaque();
    if (unblended) {
        glDisable(GL_BLEND);
    }
    CPlatform::DrawQuadArrays(program, &g_vertices[0].x, g_oneTint ? nullptr : g_colors.data(),
                              g_runTint, static_cast<int>(g_vertices.size()));
    if (unblended) {
        glEnable(GL_BLEND);
    }
    ++g_draws;
    // Clearing keeps the capacity: the next run reuses the same memory.
    g_vertices.clear();
    g_colors.clear();
}

void CQuadBatch::SetEndState(const float rgba[4], bool unbindTexture) {
    for (int i = 0; i < 4; ++i) {
        g_endColor[i] = rgba[i];
    }
    g_endUnbindsTexture = unbindTexture;
}

void CQuadBatch::ColorAfterRun(float rgba[4]) {
    if (!g_running) {
        CRenderState::GetColor(rgba);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        rgba[i] = g_endColor[i];
    }
}

void CQuadBatch::Flush() {
    if (!g_running) {
        return;
    }
    DrawPending();
    if (g_programKnown) {
        CPlatform::BindProgram(0);
        g_bound = 0;
        g_boundKnown = true;
    }
    // A draw from a colour array leaves the current colour undefined, so it is always set.
    CRenderState::SetColor(g_endColor);
    if (g_endUnbindsTexture) {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    g_running = false;
    g_texture = 0;
    g_programKnown = false;
}

void CQuadBatch::ForgetTexture() {
    DrawPending();
    // No loaded picture has texture 0, so the next quad binds its own again; and whatever was
    // bound since stays bound when the run ends.
    g_texture = 0;
    g_endUnbindsTexture = false;
}

void CQuadBatch::ForgetProgram() {
    DrawPending();
    // Whoever binds a program now owns the binding: the run's end leaves it alone.
    g_programKnown = false;
    g_boundKnown = false;
}

void CQuadBatch::ProgramRelinked(unsigned int program) {
    ForgetProgram();
    CPlatform::ForgetQuadInputs(program);
    if (g_colorsHandle == program) {
        g_colorsHandle = 0;
        g_colorsLocation = -1;
    }
}

void CQuadBatch::SetScope(Scope scope, bool open) {
    if (open) {
        g_scopes |= scope;
        return;
    }
    g_scopes &= ~static_cast<unsigned int>(scope);
    if (g_scopes == 0) {
        DrawPending();
    }
}

void CQuadBatch::EndFrame() {
    Flush();
    SetScope(kFrame, false);
}

void CQuadBatch::Reset() {
    g_scopes = 0;
    g_pixelPushed = false;
    g_vertices.clear();
    g_colors.clear();
    g_running = false;
    g_endUnbindsTexture = false;
    g_texture = 0;
    g_programKnown = false;
    g_untinted = 0;
    g_boundKnown = false;
    g_colorsHandle = 0;
    g_colorsLocation = -1;
}

unsigned long CQuadBatch::TakeDrawCount() {
    unsigned long draws = g_draws;
    g_draws = 0;
    return draws;
}
