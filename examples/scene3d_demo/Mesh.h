// Mesh: an indexed triangle mesh with its own normals and texture coordinates, kept in client
// memory and drawn through vertex arrays, so the lighting programs have normals to work with
// and the textured ones coordinates on unit 0. Nothing here is an OpenGL object, so there is
// nothing to free while the context lives.
#pragma once

#include <cstddef>
#include <vector>

class Mesh {
public:
    // A ring of major radius `major` about the y axis, its tube of radius `minor`.
    static Mesh Torus(float major, float minor, int rings, int sides);
    static Mesh Sphere(float radius, int stacks, int slices);

    // Draws every triangle at the current matrix with the current colour and program.
    void Draw() const;
    size_t GetTriangleCount() const { return indices.size() / 3; }

private:
    // Per vertex: position (3), normal (3), texture coordinate (2).
    void AddVertex(float px, float py, float pz, float nx, float ny, float nz, float s, float t);
    // Two triangles for every cell of a (rows + 1) x (columns + 1) grid of vertices.
    void AddGridIndices(int rows, int columns);

    std::vector<float> vertices;
    std::vector<unsigned int> indices;
};
