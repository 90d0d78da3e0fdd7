#include <GL/gl.h>

#include <cmath>
#include <new>

#include "scene/geometry_alloc.h"
#include "scene/geometry_primitives.h"
#include "scene/math_constants.h"
#include "scene/scene_report.h"

GeometryCylinder::GeometryCylinder(int sides, float radius, float height, bool smooth)
    : m_iNumSides(sides < 3 ? 3 : (sides > 20 ? 20 : sides)),
      m_fRadius(radius <= 0.0f ? 1.0f : radius),
      m_fHeight(height <= 0.0f ? 1.0f : height),
      m_bSmooth(smooth) {
    const int n = m_iNumSides;
    m_pNormals = allocatePrimitiveArray<Vector3>(n);
    m_pVertices = allocatePrimitiveArray<Vector3>(2 * n);
    m_pTexCoords = allocatePrimitiveArray<Vector2>(3 * n + 2);
    if (!m_pNormals || !m_pVertices || !m_pTexCoords) {
        m_pNormals.reset();
        m_pVertices.reset();
        m_pTexCoords.reset();
        return;
    }
    const float r = m_fRadius;
    const float h = m_fHeight;
    for (int i = 0; i < n; ++i) {
        float a = -static_cast<float>(i) * TWO_PI / static_cast<float>(n);
        float c = std::cos(a);
        float s = std::sin(a);
        m_pVertices[i] = Vector3(r * c, 0.0f, r * s);
        m_pVertices[n + i] = Vector3(r * c, h, r * s);
    }
    for (int i = 0; i <= n; ++i) {
        float u = static_cast<float>(i) / static_cast<float>(n);
        m_pTexCoords[i] = Vector2(u, 0.0f);
        m_pTexCoords[n + 1 + i] = Vector2(u, 0.5f);
    }
    for (int i = 0; i < n; ++i) {
        float b = static_cast<float>(i) * TWO_PI / static_cast<float>(n);
        m_pTexCoords[2 * n + 2 + i] =
            Vector2(0.25f * std::cos(b) + 0.25f, 0.25f * std::sin(b) + 0.75f);
    }
    for (int i = 0; i < n; ++i) {
        const Vector3& bottom = m_pVertices[i];
        const Vector3& bottomNext = m_pVertices[(i + 1) % n];
        const Vector3& top = m_pVertices[n + i];
        Vector3 normal = cross(bottomNext.subtract(bottom), top.subtract(bottom));
        normal.normalize();
        m_pNormals[i] = normal;
    }
    if (m_bSmooth) {
        std::unique_ptr<Vector3[]> faces = allocatePrimitiveArray<Vector3>(n);
        if (!faces) {
            m_pNormals.reset();
            m_pVertices.reset();
            m_pTexCoords.reset();
            return;
        }
        for (int i = 0; i < n; ++i) {
            faces[i] = m_pNormals[i];
        }
        for (int i = 0; i < n; ++i) {
            Vector3 edge = faces[(i + n - 1) % n].add(faces[i]);
            edge.normalize();
            m_pNormals[i] = edge;
        }
    }
}

void GeometryCylinder::emitGeometry(bool textured) const {
    if (!m_pVertices) {
        return;
    }
    const int n = m_iNumSides;
    const Vector3* v = m_pVertices.get();
    const Vector2* t = m_pTexCoords.get();
    const Vector3* normals = m_pNormals.get();
    for (int i = 0; i < n; ++i) {
        const int next = (i + 1) % n;
        // The texture entries do not wrap: the last side ends at u = 1.
        const Vector3& first = m_bSmooth ? normals[next] : normals[i];
        const Vector3& second = normals[i];
        const Corner side[4] = {
            {first, t[i + 1], v[next]},
            {first, t[n + 1 + i + 1], v[n + next]},
            {second, t[n + 1 + i], v[n + i]},
            {second, t[i], v[i]},
        };
        emitPolygon(true, side, 4, textured);
    }

    std::unique_ptr<Corner[]> cap(new (std::nothrow) Corner[static_cast<std::size_t>(n)]);
    if (!cap) {
        return;
    }
    for (int i = 0; i < n; ++i) {
        cap[i] = {Vector3(0.0f, 1.0f, 0.0f), t[2 * n + 2 + i], v[n + i]};
    }
    emitPolygon(false, cap.get(), n, textured);
    for (int i = n - 1, k = 0; i >= 0; --i, ++k) {
        const Vector2& c = t[2 * n + 2 + (n - 1 - i)];
        cap[k] = {Vector3(0.0f, -1.0f, 0.0f), Vector2(c.x + 0.5f, c.y), v[i]};
    }
    emitPolygon(false, cap.get(), n, textured);
}

void GeometryCylinder::print() const {
    ListingLine line;
    line.append("Cyl geoID_%lld", objectIdentity(this));
    if (m_fRadius != 1.0f) {
        line.append(" rad_%f", static_cast<double>(m_fRadius));
    }
    if (m_fHeight != 1.0f) {
        line.append(" hei_%f", static_cast<double>(m_fHeight));
    }
    if (m_iNumSides != 20) {
        line.append(" num_%d", m_iNumSides);
    }
    if (!m_bSmooth) {
        line.append(" smooth_0");
    }
    line.emit();
}

Bounds3 GeometryCylinder::computeBounds() const {
    Bounds3 b;
    for (int i = 0; m_pVertices && i < 2 * m_iNumSides; ++i) {
        b.add(m_pVertices[i]);
    }
    return b;
}
