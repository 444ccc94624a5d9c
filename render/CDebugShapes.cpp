// CDebugShapes: cube, grid, quad and axes in immediate mode.
#include "render/CDebugShapes.h"

#include <GL/glew.h>

#include "render/CRenderState.h"

namespace {

// Texturing goes off (after any queued engine quads are drawn) and the shape moves by (x, y, z).
void Begin(float x, float y, float z) {
    CRenderState::SetEnabled(GL_TEXTURE_2D, false, true);
    CRenderState::Translate(x, y, z);
}

void SetColor(float r, float g, float b) {
    const float rgba[4] = {r, g, b, 1.0f};
    glColor3f(r, g, b);
    CRenderState::ColorSent(rgba);
}

}  // namespace

void CDebugShapes::Cube(float x, float y, float z) {
    struct Face {
        float r, g, b;
        float v[4][3];
    };
    static const Face kFaces[] = {
        {0, 1, 0, {{1, 1, -1}, {-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}}},
        {1, 0.5f, 0, {{1, -1, 1}, {-1, -1, 1}, {-1, -1, -1}, {1, -1, -1}}},
        {1, 0, 0, {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1}}},
        {1, 1, 0, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
        {0, 0, 1, {{-1, 1, 1}, {-1, 1, -1}, {-1, -1, -1}, {-1, -1, 1}}},
        {1, 0, 1, {{1, 1, -1}, {1, 1, 1}, {1, -1, 1}, {1, -1, -1}}},
    };
    Begin(x, y, z);
    glBegin(GL_QUADS);
    for (const Face& face : kFaces) {
        glColor3f(face.r, face.g, face.b);
        for (const auto& vertex : face.v) {
            glVertex3f(vertex[0], vertex[1], vertex[2]);
        }
    }
    glEnd();
    CRenderState::Translate(-x, -y, -z);
    SetColor(1.0f, 1.0f, 1.0f);
}

void CDebugShapes::Grid(float x, float y, float z) {
    Begin(x, y, z);
    SetColor(0.5f, 0.5f, 0.5f);
    glBegin(GL_LINES);
    for (int i = -30; i <= 30; ++i) {
        float f = static_cast<float>(i);
        glVertex3f(f, 0.0f, -30.0f);
        glVertex3f(f, 0.0f, 30.0f);
        glVertex3f(30.0f, 0.0f, f);
        glVertex3f(-30.0f, 0.0f, f);
    }
    glEnd();
    CRenderState::Translate(-x, -y, -z);
}

void CDebugShapes::Quad(float x, float y, float z) {
    Begin(x, y, z);
    SetColor(0.3f, 1.0f, 0.2f);
    glBegin(GL_QUADS);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glEnd();
    CRenderState::Translate(-x, -y, -z);
}

void CDebugShapes::Axes() {
    CRenderState::SetEnabled(GL_TEXTURE_2D, false, true);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(10.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 10.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 10.0f);
    glEnd();
    const float blue[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    CRenderState::ColorSent(blue);
}
