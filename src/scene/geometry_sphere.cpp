#include <GL/gl.h>

#include <cmath>

#include "scene/geometry_alloc.h"
#include "scene/geometry_primitives.h"
#include "scene/math_constants.h"
#include "scene/scene_report.h"

GeometrySphere::GeometrySphere(float radius, int numH, int numV)
    : m_fRadius(radius <= 0.0f ? 1.0f : radius),
      m_iNumH(numH < 3 ? 3 : numH),
      m_iNumV(numV < 3 ? 3 : numV) {
    const int H = m_iNumH;
    const int V = m_iNumV;
    const std::int64_t entries = (static_cast<std::int64_t>(V) - 2) * H + 2;
    const std::int64_t texEntries = (static_cast<std::int64_t>(H) + 1) * V;
    m_pNormals = allocatePrimitiveArray<Vector3>(entries);
    m_pVertices = allocatePrimitiveArray<Vector3>(entries);
    m_pTexCoords = allocatePrimitiveArray<Vector2>(texEntries);
    if (!m_pNormals || !m_pVertices || !m_pTexCoords) {
        m_pNormals.reset();
        m_pVertices.reset();
        m_pTexCoords.reset();
        return;
    }
    const float r = m_fRadius;
    const int half = V / 2;
    m_pVertices[0] = Vector3(0.0f, r, 0.0f);
    m_pNormals[0] = Vector3(0.0f, 1.0f, 0.0f);

    int mirror = half - 1;
    for (int i = 1; i <= V - 2; ++i) {
        const int rowStart = (i - 1) * H + 1;
        if (V % 2 == 1 && i == half) {
            for (int j = 0; j < H; ++j) {
                float a = -static_cast<float>(j) * TWO_PI / static_cast<float>(H);
                float c = std::cos(a);
                float s = std::sin(a);
                m_pVertices[rowStart + j] = Vector3(r * c, 0.0f, r * s);
                m_pNormals[rowStart + j] = Vector3(c, 0.0f, s);
            }
        } else if (i < half) {
            // The rows are pi / V apart (not pi / (V - 1)).
            float phi = static_cast<float>(i) * PI / static_cast<float>(V);
            float ring = r * std::sin(phi);
            float y = r * std::cos(phi);
            for (int j = 0; j < H; ++j) {
                float a = -static_cast<float>(j) * TWO_PI / static_cast<float>(H);
                Vector3 vertex(ring * std::cos(a), y, ring * std::sin(a));
                Vector3 normal = vertex;
                normal.normalize();
                m_pVertices[rowStart + j] = vertex;
                m_pNormals[rowStart + j] = normal;
            }
        } else {
            // Southern rows mirror the northern ones in reverse order.
            --mirror;
            const int source = mirror * H + 1;
            for (int j = 0; j < H; ++j) {
                Vector3 vertex = m_pVertices[source + j];
                Vector3 normal = m_pNormals[source + j];
                vertex.y = -vertex.y;
                normal.y = -normal.y;
                m_pVertices[rowStart + j] = vertex;
                m_pNormals[rowStart + j] = normal;
            }
        }
    }
    const int last = static_cast<int>(entries) - 1;
    m_pVertices[last] = Vector3(0.0f, -r, 0.0f);
    m_pNormals[last] = Vector3(0.0f, -1.0f, 0.0f);

    for (int i = 0; i < V; ++i) {
        const bool pole = (i == 0 || i == V - 1);
        float v = 1.0f - static_cast<float>(i) / static_cast<float>(V - 1);
        for (int j = 0; j <= H; ++j) {
            // Pole corners sit over the middle of their triangle.
            float u = pole ? (static_cast<float>(j) - 0.5f) / static_cast<float>(H)
                           : static_cast<float>(j) / static_cast<float>(H);
            m_pTexCoords[i * (H + 1) + j] = Vector2(u, v);
        }
    }
}

void GeometrySphere::emit(int entry, int texRow, int texColumn, bool textured) const {
    const Vector3& n = m_pNormals[entry];
    glNormal3f(n.x, n.y, n.z);
    if (textured) {
        const Vector2& t = tex(texRow, texColumn);
        glTexCoord2f(t.x, t.y);
    }
    const Vector3& v = m_pVertices[entry];
    glVertex3f(v.x, v.y, v.z);
}

void GeometrySphere::emitGeometry(bool textured) const {
    if (!m_pVertices) {
        return;
    }
    const int H = m_iNumH;
    const int V = m_iNumV;
    const int N = entryCount();
    glBegin(GL_TRIANGLES);
    for (int j = 1; j <= H; ++j) {
        int third = (j == H) ? 1 : j + 1;
        emit(0, 0, j, textured);
        emit(j, 1, j - 1, textured);
        emit(third, 1, j, textured);
    }
    int a = 1;
    for (int band = 0; band < V - 3; ++band) {
        const int i = band + 1;  // texture row of the upper ring
        for (int k = 0; k < H; ++k, ++a) {
            if (k < H - 1) {
                emit(a, i, k, textured);
                emit(a + H, i + 1, k, textured);
                emit(a + 1, i, k + 1, textured);
                emit(a + 1, i, k + 1, textured);
                emit(a + H, i + 1, k, textured);
                emit(a + H + 1, i + 1, k + 1, textured);
            } else {
                // The closing corners take column H (u = 1), not column 0.
                emit(a, i, k, textured);
                emit(a + H, i + 1, k, textured);
                emit(a - H + 1, i, H, textured);
                emit(a - H + 1, i, H, textured);
                emit(a + H, i + 1, k, textured);
                emit(a + 1, i + 1, H, textured);
            }
        }
    }
    int c = 0;
    for (int e = N - H - 1; e <= N - 2; ++e, ++c) {
        int second = (e == N - 2) ? N - H - 1 : e + 1;
        emit(N - 1, V - 1, c + 1, textured);
        emit(second, V - 2, c + 1, textured);
        emit(e, V - 2, c, textured);
    }
    glEnd();
}

void GeometrySphere::print() const {
    ListingLine line;
    line.append("Sphere geoID_%lld", objectIdentity(this));
    if (m_fRadius != 1.0f) {
        line.append(" rad_%f", static_cast<double>(m_fRadius));
    }
    if (m_iNumH != 20) {
        line.append(" numH_%d", m_iNumH);
    }
    if (m_iNumV != 20) {
        line.append(" numV_%d", m_iNumV);
    }
    line.emit();
}

Bounds3 GeometrySphere::computeBounds() const {
    Bounds3 b;
    for (int i = 0; m_pVertices && i < entryCount(); ++i) {
        b.add(m_pVertices[i]);
    }
    return b;
}
