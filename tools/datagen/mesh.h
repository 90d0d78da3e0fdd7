#pragma once
// Triangle meshes for the models: smooth-shaded solids of revolution, swept
// tubes and rounded boxes, placed with small affine transforms.
#include <cstdint>
#include <functional>
#include <vector>

namespace datagen {

struct V3 {
    float x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline V3 operator*(V3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline float dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
V3 normalised(V3 v);

// Maps points: p -> origin + ax * p.x + ay * p.y + az * p.z. Normals go
// through the inverse transpose.
struct Frame {
    V3 origin{0, 0, 0};
    V3 ax{1, 0, 0}, ay{0, 1, 0}, az{0, 0, 1};

    static Frame at(V3 origin);
    // Local +Y runs from a to b (the frame's y axis has that length).
    static Frame along(V3 a, V3 b);
    Frame scaled(float sx, float sy, float sz) const;
    Frame rotatedY(float degrees) const;  // turns the local axes
    Frame rotatedX(float degrees) const;
    Frame rotatedZ(float degrees) const;
    V3 point(V3 p) const;
    V3 normal(V3 n) const;
};

struct ProfilePoint {
    float radius;
    float y;
};

class Mesh {
public:
    struct Vertex {
        V3 position;
        V3 normal;
        float u = 0, v = 0;
    };

    std::uint32_t add(V3 position, V3 normal, float u, float v);
    // Triangles face the side their vertex normals point to, whatever the
    // order given.
    void triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c);
    void quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    // Adds other through frame; its texture coordinates are squeezed into
    // the rectangle (u0, v0)-(u1, v1) of this mesh's skin.
    void append(const Mesh& other, const Frame& frame, float u0 = 0, float v0 = 0, float u1 = 1,
                float v1 = 1);

    // A solid of revolution about local Y: profile from bottom to top, u
    // around, v along the profile. A radius of 0 closes the end.
    static Mesh lathe(const std::vector<ProfilePoint>& profile, int segments,
                      float radialNoise = 0.0f, std::uint32_t seed = 0);
    static Mesh ellipsoid(float rx, float ry, float rz, int segments, int rings);
    // A tube along local Y from 0 to 1, radius r0 at the start and r1 at the
    // end, with rounded ends.
    static Mesh tube(float r0, float r1, int segments);
    // A tube through the points with the given radii (smooth, capped ends);
    // the cross-section is squashed by flatten along the path's side axis.
    static Mesh sweep(const std::vector<V3>& path, const std::vector<float>& radii, int segments,
                      float flatten = 1.0f, V3 up = {0, 1, 0});
    // A box of half extents h with edges rounded by radius r.
    static Mesh roundedBox(V3 h, float r, int steps);

    // Moves every vertex (normals are kept: for small ripples only).
    void warp(const std::function<V3(V3)>& move);

    const std::vector<Vertex>& vertices() const { return m_vertices; }
    const std::vector<std::uint32_t>& indices() const { return m_indices; }

private:
    std::vector<Vertex> m_vertices;
    std::vector<std::uint32_t> m_indices;
};

}  // namespace datagen
