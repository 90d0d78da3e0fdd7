#include "mesh.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace datagen {

namespace {

constexpr float PI = 3.14159265358979f;

float radians(float degrees) {
    return degrees * PI / 180.0f;
}

// Any unit vector at right angles to d.
V3 sideOf(V3 d, V3 up) {
    V3 s = cross(d, up);
    if (dot(s, s) < 1e-8f)
        s = cross(d, V3{1, 0, 0});
    return normalised(s);
}

}  // namespace

V3 normalised(V3 v) {
    float length = std::sqrt(dot(v, v));
    return length > 1e-12f ? v * (1.0f / length) : V3{0, 1, 0};
}

Frame Frame::at(V3 origin) {
    Frame f;
    f.origin = origin;
    return f;
}

Frame Frame::along(V3 a, V3 b) {
    Frame f;
    f.origin = a;
    f.ay = b - a;
    V3 d = normalised(f.ay);
    f.ax = sideOf(d, V3{0, 0, 1});
    f.az = cross(f.ax, d);
    return f;
}

Frame Frame::scaled(float sx, float sy, float sz) const {
    Frame f = *this;
    f.ax = ax * sx;
    f.ay = ay * sy;
    f.az = az * sz;
    return f;
}

Frame Frame::rotatedY(float degrees) const {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Frame f = *this;
    f.ax = ax * c - az * s;
    f.az = ax * s + az * c;
    return f;
}

Frame Frame::rotatedX(float degrees) const {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Frame f = *this;
    f.ay = ay * c + az * s;
    f.az = az * c - ay * s;
    return f;
}

Frame Frame::rotatedZ(float degrees) const {
    float c = std::cos(radians(degrees)), s = std::sin(radians(degrees));
    Frame f = *this;
    f.ax = ax * c + ay * s;
    f.ay = ay * c - ax * s;
    return f;
}

V3 Frame::point(V3 p) const {
    return origin + ax * p.x + ay * p.y + az * p.z;
}

V3 Frame::normal(V3 n) const {
    // The inverse transpose of [ax ay az] is the set of reciprocal vectors.
    V3 bx = cross(ay, az), by = cross(az, ax), bz = cross(ax, ay);
    float det = dot(ax, bx);
    if (std::fabs(det) < 1e-12f)
        return normalised(n);
    return normalised((bx * n.x + by * n.y + bz * n.z) * (1.0f / det));
}

std::uint32_t Mesh::add(V3 position, V3 normal, float u, float v) {
    m_vertices.push_back({position, normalised(normal), u, v});
    return static_cast<std::uint32_t>(m_vertices.size() - 1);
}

void Mesh::triangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const V3 pa = m_vertices[a].position, pb = m_vertices[b].position, pc = m_vertices[c].position;
    V3 face = cross(pb - pa, pc - pa);
    if (dot(face, face) < 1e-14f)
        return;  // degenerate (a closed pole): nothing to draw
    V3 n = m_vertices[a].normal + m_vertices[b].normal + m_vertices[c].normal;
    if (dot(face, n) < 0)
        std::swap(b, c);
    m_indices.insert(m_indices.end(), {a, b, c});
}

void Mesh::quad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    triangle(a, b, c);
    triangle(a, c, d);
}

void Mesh::append(const Mesh& other, const Frame& frame, float u0, float v0, float u1, float v1) {
    const auto base = static_cast<std::uint32_t>(m_vertices.size());
    for (const Vertex& v : other.m_vertices) {
        m_vertices.push_back({frame.point(v.position), frame.normal(v.normal), u0 + v.u * (u1 - u0),
                              v0 + v.v * (v1 - v0)});
    }
    // Re-check the winding: a mirroring frame turns the faces inside out.
    for (std::size_t i = 0; i + 2 < other.m_indices.size(); i += 3) {
        triangle(base + other.m_indices[i], base + other.m_indices[i + 1],
                 base + other.m_indices[i + 2]);
    }
}

void Mesh::warp(const std::function<V3(V3)>& move) {
    for (Vertex& v : m_vertices)
        v.position = move(v.position);
}

Mesh Mesh::lathe(const std::vector<ProfilePoint>& profile, int segments, float radialNoise,
                 std::uint32_t seed) {
    Mesh mesh;
    const int rows = static_cast<int>(profile.size());
    // Profile normals from the neighbouring points, so the surface is smooth.
    std::vector<float> nr(rows), ny(rows), v(rows);
    float length = 0;
    for (int i = 0; i < rows; ++i) {
        const ProfilePoint& prev = profile[std::max(i - 1, 0)];
        const ProfilePoint& next = profile[std::min(i + 1, rows - 1)];
        float dr = next.radius - prev.radius, dy = next.y - prev.y;
        nr[i] = dy;
        ny[i] = -dr;
        if (i > 0)
            length += std::hypot(profile[i].radius - profile[i - 1].radius,
                                 profile[i].y - profile[i - 1].y);
        v[i] = length;
    }
    for (int i = 0; i < rows; ++i) {
        v[i] = length > 0 ? v[i] / length : 0;
        for (int s = 0; s <= segments; ++s) {
            float a = 2 * PI * static_cast<float>(s % segments) / static_cast<float>(segments);
            float r = profile[i].radius;
            if (radialNoise > 0 && r > 0)
                r *= 1.0f + radialNoise * tileNoise(static_cast<float>(s % segments) * 0.5f,
                                                    static_cast<float>(i) * 0.7f, segments / 2 + 1,
                                                    seed);
            float c = std::cos(a), sn = std::sin(a);
            V3 normal{nr[i] * sn, ny[i], nr[i] * c};
            if (r <= 0)
                normal = V3{0, i == 0 ? -1.0f : 1.0f, 0};
            mesh.add(V3{r * sn, profile[i].y, r * c}, normal,
                     static_cast<float>(s) / static_cast<float>(segments), v[i]);
        }
    }
    const int stride = segments + 1;
    for (int i = 0; i + 1 < rows; ++i) {
        for (int s = 0; s < segments; ++s) {
            auto a = static_cast<std::uint32_t>(i * stride + s);
            mesh.quad(a, a + 1, a + 1 + stride, a + stride);
        }
    }
    return mesh;
}

Mesh Mesh::ellipsoid(float rx, float ry, float rz, int segments, int rings) {
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= rings; ++i) {
        float t = PI * static_cast<float>(i) / static_cast<float>(rings);
        profile.push_back({i == 0 || i == rings ? 0.0f : std::sin(t), -std::cos(t)});
    }
    Mesh unit = lathe(profile, segments);
    Mesh mesh;
    mesh.append(unit, Frame().scaled(rx, ry, rz));
    return mesh;
}

Mesh Mesh::tube(float r0, float r1, int segments) {
    std::vector<ProfilePoint> profile = {
        {0, -r0 * 0.6f}, {r0 * 0.8f, -r0 * 0.35f},    {r0, 0},
        {r1, 1},         {r1 * 0.8f, 1 + r1 * 0.35f}, {0, 1 + r1 * 0.6f}};
    return lathe(profile, segments);
}

Mesh Mesh::sweep(const std::vector<V3>& path, const std::vector<float>& radii, int segments,
                 float flatten, V3 up) {
    Mesh mesh;
    const int rows = static_cast<int>(path.size());
    std::vector<float> v(rows, 0);
    for (int i = 1; i < rows; ++i) {
        V3 d = path[i] - path[i - 1];
        v[i] = v[i - 1] + std::sqrt(dot(d, d));
    }
    for (int i = 0; i < rows; ++i) {
        V3 tangent = normalised(path[std::min(i + 1, rows - 1)] - path[std::max(i - 1, 0)]);
        V3 side = sideOf(tangent, up);
        V3 top = cross(side, tangent);
        for (int s = 0; s <= segments; ++s) {
            float a = 2 * PI * static_cast<float>(s % segments) / static_cast<float>(segments);
            float c = std::cos(a), sn = std::sin(a);
            V3 offset = side * (c * radii[i] * flatten) + top * (sn * radii[i]);
            V3 normal = side * (c / flatten) + top * sn;
            mesh.add(path[i] + offset, normal, static_cast<float>(s) / static_cast<float>(segments),
                     v[rows - 1] > 0 ? v[i] / v[rows - 1] : 0);
        }
    }
    const int stride = segments + 1;
    for (int i = 0; i + 1 < rows; ++i) {
        for (int s = 0; s < segments; ++s) {
            auto a = static_cast<std::uint32_t>(i * stride + s);
            mesh.quad(a, a + 1, a + 1 + stride, a + stride);
        }
    }
    // Flat caps at both ends.
    for (int end = 0; end < 2; ++end) {
        int row = end == 0 ? 0 : rows - 1;
        V3 n = normalised(path[end == 0 ? 0 : rows - 1] - path[end == 0 ? 1 : rows - 2]);
        std::uint32_t centre = mesh.add(path[row], n, 0.5f, end == 0 ? 0.0f : 1.0f);
        std::vector<std::uint32_t> ring;
        for (int s = 0; s <= segments; ++s) {
            const Vertex& vx = mesh.m_vertices[static_cast<std::size_t>(row * stride + s)];
            ring.push_back(mesh.add(vx.position, n, vx.u, vx.v));
        }
        for (int s = 0; s < segments; ++s)
            mesh.triangle(centre, ring[s], ring[s + 1]);
    }
    return mesh;
}

Mesh Mesh::roundedBox(V3 h, float r, int steps) {
    Mesh mesh;
    r = std::min({r, h.x, h.y, h.z});
    // Samples along one axis: dense inside the rounded bands, none across
    // the flat middle.
    auto samples = [&](float half) {
        std::vector<float> list;
        for (int i = 0; i <= steps; ++i)
            list.push_back(-half + r * static_cast<float>(i) / static_cast<float>(steps));
        for (int i = 0; i <= steps; ++i)
            list.push_back(half - r + r * static_cast<float>(i) / static_cast<float>(steps));
        return list;
    };
    const float half[3] = {h.x, h.y, h.z};
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            int ua = (axis + 1) % 3, va = (axis + 2) % 3;
            std::vector<float> us = samples(half[ua]), vs = samples(half[va]);
            const auto base = static_cast<std::uint32_t>(mesh.m_vertices.size());
            for (float vv : vs) {
                for (float uu : us) {
                    float q[3];
                    q[axis] = static_cast<float>(sign) * half[axis];
                    q[ua] = uu;
                    q[va] = vv;
                    float inner[3], n[3];
                    for (int k = 0; k < 3; ++k) {
                        inner[k] = std::clamp(q[k], -(half[k] - r), half[k] - r);
                        n[k] = q[k] - inner[k];
                    }
                    V3 normal = normalised(V3{n[0], n[1], n[2]});
                    V3 p = V3{inner[0], inner[1], inner[2]} + normal * r;
                    mesh.add(p, normal, 0.5f + uu / (2 * half[ua]), 0.5f + vv / (2 * half[va]));
                }
            }
            const auto nu = static_cast<std::uint32_t>(us.size());
            for (std::uint32_t j = 0; j + 1 < vs.size(); ++j) {
                for (std::uint32_t i = 0; i + 1 < nu; ++i) {
                    std::uint32_t a = base + j * nu + i;
                    mesh.quad(a, a + 1, a + 1 + nu, a + nu);
                }
            }
        }
    }
    return mesh;
}

}  // namespace datagen
