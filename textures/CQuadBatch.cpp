// CQuadBatch: lazy program and texture state around immediate-mode quads.
#include "textures/CQuadBatch.h"

#include <GL/glew.h>

#include "shading/CShaderProgram.h"

namespace {

// What the quads of the current run left bound. A texture of 0 means "unknown".
bool g_running = false;
unsigned int g_texture = 0;
CShaderProgram* g_program = nullptr;
// The bind counter of CShaderProgram right after our own bind: any other bind or unbind since
// then (an application's program, say) means program 0 must be bound again.
unsigned long g_programBinds = 0;
unsigned int g_colorsHandle = 0;
int g_colorsLocation = -1;
// What the end of the run puts back: the current colour, and whether unit 0 goes back to
// texture 0 (a print's glyph picture) or keeps the last picture (a sprite's).
float g_endColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
bool g_endUnbindsTexture = false;

}  // namespace

void CQuadBatch::Use(unsigned int texture, CShaderProgram* program) {
    bool programChanged =
        !g_running || g_program != program || CShaderProgram::GetBindCount() != g_programBinds;
    if (programChanged && program != nullptr) {
        program->Bind();
        // The tint travels as the vertex colour; "colors" stays white for the engine's quads.
        // A program whose files were missing has no object and so no uniform.
        if (program->GetHandle() != 0) {
            if (g_colorsHandle != program->GetHandle()) {
                g_colorsHandle = program->GetHandle();
                g_colorsLocation = glGetUniformLocationARB(g_colorsHandle, "colors");
            }
            glUniform4fARB(g_colorsLocation, 1.0f, 1.0f, 1.0f, 1.0f);
        }
        g_program = program;
        g_programBinds = CShaderProgram::GetBindCount();
    }
    if (!g_running || g_texture != texture) {
        // Unit 0 is made active before the texture is bound, so that a texture bound to another
        // unit earlier (BindToUnit) cannot leave unit 0 showing a stale picture.
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glBindTexture(GL_TEXTURE_2D, texture);
        g_texture = texture;
    }
    g_running = true;
}

void CQuadBatch::Quad(const Vertex corners[4], const float rgba[4]) {
    glBegin(GL_QUADS);
    glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(corners[i].s, corners[i].t);
        glVertex2f(corners[i].x, corners[i].y);
    }
    glEnd();
}

void CQuadBatch::SetEndState(const float rgba[4], bool unbindTexture) {
    for (int i = 0; i < 4; ++i) {
        g_endColor[i] = rgba[i];
    }
    g_endUnbindsTexture = unbindTexture;
}

void CQuadBatch::ColorAfterRun(float rgba[4]) {
    if (!g_running) {
        glGetFloatv(GL_CURRENT_COLOR, rgba);
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
    if (g_program != nullptr && CShaderProgram::GetBindCount() == g_programBinds) {
        g_program->Unbind();
    }
    glColor4fv(g_endColor);
    if (g_endUnbindsTexture) {
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    g_running = false;
    g_texture = 0;
    g_program = nullptr;
}

void CQuadBatch::ForgetTexture() {
    // No loaded picture has texture 0, so the next quad binds its own again; and whatever was
    // bound since stays bound when the run ends.
    g_texture = 0;
    g_endUnbindsTexture = false;
}

void CQuadBatch::Reset() {
    g_running = false;
    g_endUnbindsTexture = false;
    g_texture = 0;
    g_program = nullptr;
    g_colorsHandle = 0;
    g_colorsLocation = -1;
}
