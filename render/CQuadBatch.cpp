// CQuadBatch: quads queued in one vertex array, sent as one draw per run.
#include "render/CQuadBatch.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/CPlatform.h"
#include "render/CMatrixStack.h"
#include "render/CRenderState.h"

namespace {

// A browser's indices are 16 bits (all that WebGL 1 offers without an extension), so a run
// draws at most this many quads at a time.
const size_t kMaxQuadsPerDraw = 65536 / 4;

const float kIdentity[16] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                             0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

// The run being gathered and what the batch knows of the OpenGL state it left.
struct Batch {
    std::vector<CQuadBatch::Vertex> vertices;
    // The run's tint while every quad queued has had the same one; once a quad's differs, each
    // vertex's colour in colors (filled in for the quads before it too).
    float runTint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool oneTint = true;
    std::vector<float> colors;
    // Whether the run's picture has no alpha, and whether every quad queued is opaque with it.
    bool pictureOpaque = false;
    bool runOpaque = false;
    // Whether the run's corners are viewport pixels of this size (a print's), which the run's
    // draw sets matrices up for, rather than units of the matrices in force.
    bool inPixels = false;
    int pixelSize[2] = {0, 0};

    // What the quads of the current run left bound. A texture of 0 means "unknown".
    bool running = false;
    unsigned int texture = 0;
    bool programKnown = false;
    unsigned int program = 0;
    // The program's untinted build (CShaderProgram::GetUntintedHandle), 0 without one.
    unsigned int untinted = 0;
    // The program the batch left bound, unless another was bound since.
    bool boundKnown = false;
    unsigned int bound = 0;
    unsigned int colorsHandle = 0;
    int colorsLocation = -1;
    // What the end of the run puts back: the current colour, and whether unit 0 goes back to
    // texture 0 (a print's glyph picture) or keeps the last picture (a sprite's).
    float endColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool endUnbindsTexture = false;
    unsigned long draws = 0;
    // The scopes (CQuadBatch::Scope) open now; quads wait only while one is.
    unsigned int scopes = 0;
    // While a run is drawn, the state changes the draw makes itself concern nobody.
    bool drawing = false;
};

Batch g_batch;

// Binds the run's program or its untinted build, unless the batch left it bound already.
void BindBuild(unsigned int build) {
    Batch& b = g_batch;
    if (b.boundKnown && b.bound == build) {
        return;
    }
    CPlatform::BindProgram(build);
    // The tint travels as the vertex colour; "colors" stays white for the engine's quads.
    // A program whose files were missing has no object and so no uniform.
    if (build != 0 && build == b.program) {
        if (b.colorsHandle != build) {
            b.colorsHandle = build;
            b.colorsLocation = glGetUniformLocationARB(build, "colors");
        }
        glUniform4fARB(b.colorsLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    b.bound = build;
    b.boundKnown = true;
}

// What the state tells the batch before it changes: queued quads go out under the state they
// were queued for. A print's corners are in pixels of their own, which no matrix call moves.
void OnStateChange(CRenderState::Change change) {
    Batch& b = g_batch;
    if (b.drawing || (change == CRenderState::kMatrices && b.inPixels)) {
        return;
    }
    CQuadBatch::DrawPending();
    if (change == CRenderState::kTexture) {
        // No loaded picture has texture 0, so the next quad binds its own again; and whatever
        // was bound since stays bound when the run ends.
        b.texture = 0;
        b.endUnbindsTexture = false;
    }
}

// Makes the run's corners pixels of a viewport of that size, or units of the matrices in force;
// queued quads placed otherwise go out first, unless the pixel matrices are in force, which
// places both alike.
void Place(bool inPixels, int width, int height) {
    Batch& b = g_batch;
    if (!b.vertices.empty() &&
        (b.inPixels != inPixels ||
         (inPixels && (b.pixelSize[0] != width || b.pixelSize[1] != height)))) {
        bool mixed = b.inPixels != inPixels;
        int w = inPixels ? width : b.pixelSize[0];
        int h = inPixels ? height : b.pixelSize[1];
        if (!mixed || !CRenderState::PixelMatricesInForce(w, h)) {
            CQuadBatch::DrawPending();
        } else {
            // Both alike: the run now stands under the matrices in force.
            inPixels = false;
        }
    }
    b.inPixels = inPixels;
    b.pixelSize[0] = width;
    b.pixelSize[1] = height;
}

void Select(unsigned int texture, bool withProgram, unsigned int program, unsigned int untinted,
            bool opaque) {
    Batch& b = g_batch;
    bool programChanged = withProgram && (!b.running || !b.programKnown || b.program != program ||
                                          b.untinted != untinted);
    bool textureChanged = !b.running || b.texture != texture;
    if (programChanged || textureChanged) {
        CQuadBatch::DrawPending();
    }
    if (programChanged) {
        // Bound at the first draw, when it is known which build the run takes.
        b.program = program;
        b.untinted = untinted;
        b.programKnown = true;
    }
    if (textureChanged) {
        // Unit 0 is made active before the texture is bound, so that a texture bound to another
        // unit earlier (BindToUnit) cannot leave unit 0 showing a stale picture.
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glBindTexture(GL_TEXTURE_2D, texture);
        b.texture = texture;
    }
    b.pictureOpaque = opaque;
    b.running = true;
}

}  // namespace

void CQuadBatch::Use(unsigned int texture, bool withProgram, unsigned int program,
                     unsigned int untinted, bool opaque) {
    Select(texture, withProgram, program, untinted, opaque);
    Place(false, 0, 0);
}

void CQuadBatch::UseInPixels(unsigned int texture, bool withProgram, unsigned int program,
                             unsigned int untinted, int width, int height) {
    Select(texture, withProgram, program, untinted, false);
    // Where the pixel matrices are in force already, the print is placed like a sprite.
    Place(!CRenderState::PixelMatricesInForce(width, height), width, height);
}

void CQuadBatch::Quad(const Vertex corners[4], const float rgba[4]) {
    Batch& b = g_batch;
    if (b.vertices.size() / 4 >= kMaxQuadsPerDraw) {
        Draw(false);
    }
    if (b.vertices.empty()) {
        std::copy(rgba, rgba + 4, b.runTint);
        b.oneTint = true;
        b.runOpaque = b.pictureOpaque;
    } else if (b.oneTint && !std::equal(rgba, rgba + 4, b.runTint)) {
        b.oneTint = false;
        for (size_t i = 0; i < b.vertices.size(); ++i) {
            b.colors.insert(b.colors.end(), b.runTint, b.runTint + 4);
        }
    }
    b.runOpaque = b.runOpaque && rgba[3] == 1.0f;
    b.vertices.insert(b.vertices.end(), corners, corners + 4);
    if (!b.oneTint) {
        for (int i = 0; i < 4; ++i) {
            b.colors.insert(b.colors.end(), rgba, rgba + 4);
        }
    }
    if (b.scopes == 0) {
        Draw(true);
    }
}

void CQuadBatch::DrawPending() {
    Draw(false);
}

bool CQuadBatch::QuadsWait() {
    return g_batch.scopes != 0;
}

void CQuadBatch::RebindProgram() {
    if (g_batch.programKnown) {
        BindBuild(g_batch.program);
    }
}

void CQuadBatch::Draw(bool alone) {
    Batch& b = g_batch;
    if (b.vertices.empty()) {
        return;
    }
    static_assert(sizeof(Vertex) == 4 * sizeof(float), "a corner is four floats");
    static const float kWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    b.drawing = true;
    unsigned int program = 0;
    if (b.programKnown) {
        program = b.program;
        // Multiplying by white changes no pixel, so an all-white run skips the multiply where
        // the program has a build without it. A quad sent as it is queued keeps the program:
        // switching builds between single quads would cost more than it saves.
        if (!alone && b.untinted != 0 && b.oneTint &&
            std::equal(b.runTint, b.runTint + 4, kWhite)) {
            program = b.untinted;
        }
        BindBuild(program);
    }
    // A print's pixels get their matrices for the draw only, so that OpenGL's are the
    // application's again as soon as it is over.
    const float* projection = nullptr;
    const float* modelView = nullptr;
    float pixelProjection[16];
    int mode = 0;
    if (b.inPixels) {
        mode = CRenderState::GetMatrixMode();
        CRenderState::SetMatrixMode(GL_PROJECTION);
        CRenderState::PushMatrix();
        CRenderState::LoadIdentity();
        CRenderState::Ortho(0.0, b.pixelSize[0], b.pixelSize[1], 0.0, -1.0, 1.0);
        CRenderState::SetMatrixMode(GL_MODELVIEW);
        CRenderState::PushMatrix();
        CRenderState::LoadIdentity();
        CMatrixStack::PixelProjection(b.pixelSize[0], b.pixelSize[1], pixelProjection);
        projection = pixelProjection;
        modelView = kIdentity;
    } else {
        CRenderState::KnownMatrices(&projection, &modelView);
    }
    // Over-blending a pixel of alpha 1 writes it as it is, yet makes the rasteriser read back
    // every pixel it writes; an opaque run (a map, a backdrop) goes without. The state the
    // engine knows is put back at once, so nothing else sees the change.
    bool unblended = b.runOpaque && CRenderState::BlendKeepsOpaque();
    // Glyphs and sprites are mostly transparent around their shapes. Where such a pixel leaves
    // the one under it as it was, dropping it before blending gives the same picture and spares
    // the read-back and the blend.
    bool skipsTransparent = !unblended && CRenderState::TransparentLeavesPixels();
    if (unblended) {
        glDisable(GL_BLEND);
    } else if (skipsTransparent) {
        CPlatform::SkipTransparentFragments(true);
    }
    CPlatform::DrawQuadArrays(program, &b.vertices[0].x, b.oneTint ? nullptr : b.colors.data(),
                              b.runTint, static_cast<int>(b.vertices.size()), projection,
                              modelView);
    if (unblended) {
        glEnable(GL_BLEND);
    } else if (skipsTransparent) {
        CPlatform::SkipTransparentFragments(false);
    }
    if (b.inPixels) {
        CRenderState::SetMatrixMode(GL_PROJECTION);
        CRenderState::PopMatrix();
        CRenderState::SetMatrixMode(GL_MODELVIEW);
        CRenderState::PopMatrix();
        CRenderState::SetMatrixMode(mode);
    }
    ++b.draws;
    // Clearing keeps the capacity: the next run reuses the same memory.
    b.vertices.clear();
    b.colors.clear();
    b.drawing = false;
}

void CQuadBatch::SetEndState(const float rgba[4], bool unbindTexture) {
    std::copy(rgba, rgba + 4, g_batch.endColor);
    g_batch.endUnbindsTexture = unbindTexture;
}

void CQuadBatch::ColorAfterRun(float rgba[4]) {
    if (!g_batch.running) {
        CRenderState::GetColor(rgba);
        return;
    }
    std::copy(g_batch.endColor, g_batch.endColor + 4, rgba);
}

void CQuadBatch::Flush() {
    Batch& b = g_batch;
    if (!b.running) {
        return;
    }
    DrawPending();
    if (b.programKnown) {
        CPlatform::BindProgram(0);
        b.bound = 0;
        b.boundKnown = true;
    }
    // A draw from a colour array leaves the current colour undefined, so it is always set.
    CRenderState::SetColor(b.endColor);
    if (b.endUnbindsTexture) {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    b.running = false;
    b.texture = 0;
    b.programKnown = false;
}

void CQuadBatch::ForgetProgram() {
    DrawPending();
    // Whoever binds a program now owns the binding: the run's end leaves it alone.
    g_batch.programKnown = false;
    g_batch.boundKnown = false;
}

void CQuadBatch::ProgramRelinked(unsigned int program) {
    ForgetProgram();
    CPlatform::ForgetQuadInputs(program);
    if (g_batch.colorsHandle == program) {
        g_batch.colorsHandle = 0;
        g_batch.colorsLocation = -1;
    }
}

void CQuadBatch::SetScope(Scope scope, bool open) {
    if (open) {
        g_batch.scopes |= scope;
        return;
    }
    g_batch.scopes &= ~static_cast<unsigned int>(scope);
    if (g_batch.scopes == 0) {
        DrawPending();
    }
}

void CQuadBatch::EndFrame() {
    Flush();
    SetScope(kFrame, false);
    // Between frames the application may set the matrices itself.
    CRenderState::HandMatricesBack();
}

void CQuadBatch::Reset() {
    // The draw count outlives contexts; the rest starts afresh.
    unsigned long draws = g_batch.draws;
    g_batch = Batch();
    g_batch.draws = draws;
    CRenderState::SetListener(&OnStateChange);
}

unsigned long CQuadBatch::TakeDrawCount() {
    unsigned long draws = g_batch.draws;
    g_batch.draws = 0;
    return draws;
}
