// Mesh: the torus and sphere builders and drawing through vertex arrays.
#include "examples/scene3d_demo/Mesh.h"

#include <GL/gl.h>

#include <cmath>

namespace {

const float kPi = 3.14159265358979f;
const int kFloatsPerVertex = 8;

}  // namespace

void Mesh::AddVertex(float px, float py, float pz, float nx, float ny, float nz, float s, float t) {
    vertices.insert(vertices.end(), {px, py, pz, nx, ny, nz, s, t});
}

void Mesh::AddGridIndices(int rows, int columns) {
    unsigned int stride = static_cast<unsigned int>(columns) + 1;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            unsigned int a = static_cast<unsigned int>(r) * stride + static_cast<unsigned int>(c);
            unsigned int b = a + stride;
            // Counter-clockwise seen from outside, so two-sided lighting takes the outside as the
            // front.
            indices.insert(indices.end(), {a, a + 1, b, a + 1, b + 1, b});
        }
    }
}

Mesh Mesh::Torus(float major, float minor, int rings, int sides) {
    Mesh mesh;
    // The seam vertices are doubled so the texture coordinates run 0 to 1 without wrapping.
    for (int i = 0; i <= rings; ++i) {
        float u = static_cast<float>(i) / static_cast<float>(rings);
        float theta = u * 2.0f * kPi;
        float ct = std::cos(theta);
        float st = std::sin(theta);
        for (int j = 0; j <= sides; ++j) {
            float v = static_cast<float>(j) / static_cast<float>(sides);
            float phi = v * 2.0f * kPi;
            float cp = std::cos(phi);
            float sp = std::sin(phi);
            // The normal points from the centre of the tube to the surface.
            float nx = cp * ct;
            float ny = sp;
            float nz = cp * st;
            mesh.AddVertex((major + minor * cp) * ct, minor * sp, (major + minor * cp) * st, nx, ny,
                           nz, u * 4.0f, v);
        }
    }
    mesh.AddGridIndices(rings, sides);
    return mesh;
}

Mesh Mesh::Sphere(float radius, int stacks, int slices) {
    Mesh mesh;
    for (int i = 0; i <= stacks; ++i) {
        float v = static_cast<float>(i) / static_cast<float>(stacks);
        float phi = v * kPi;
        for (int j = 0; j <= slices; ++j) {
            float u = static_cast<float>(j) / static_cast<float>(slices);
            float theta = u * 2.0f * kPi;
            float nx = std::sin(phi) * std::cos(theta);
            float ny = std::cos(phi);
            float nz = std::sin(phi) * std::sin(theta);
            mesh.AddVertex(radius * nx, radius * ny, radius * nz, nx, ny, nz, u, v);
        }
    }
    mesh.AddGridIndices(stacks, slices);
    return mesh;
}

void Mesh::Draw() const {
    if (indices.empty()) {
        return;
    }
    const GLsizei stride = kFloatsPerVertex * sizeof(float);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, vertices.data());
    glNormalPointer(GL_FLOAT, stride, vertices.data() + 3);
    glTexCoordPointer(2, GL_FLOAT, stride, vertices.data() + 6);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT,
                   indices.data());
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
