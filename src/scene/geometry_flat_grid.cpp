#include <GL/gl.h>

#include "scene/geometry_alloc.h"
#include "scene/geometry_primitives.h"
#include "scene/scene_report.h"

GeometryFlatGrid::GeometryFlatGrid(float width, float depth, int numX, int numZ)
    : m_fWidth(width <= 0.0f ? 1.0f : width),
      m_fDepth(depth <= 0.0f ? 1.0f : depth),
      m_iNumX(numX < 1 ? 1 : numX),
      m_iNumZ(numZ < 1 ? 1 : numZ) {
    const std::int64_t count =
        (static_cast<std::int64_t>(m_iNumX) + 1) * (static_cast<std::int64_t>(m_iNumZ) + 1);
    m_pVertices = allocatePrimitiveArray<Vector3>(count);
    m_pTexCoords = allocatePrimitiveArray<Vector2>(count);
    if (!m_pVertices || !m_pTexCoords) {
        m_pVertices.reset();
        m_pTexCoords.reset();
        return;
    }
    for (int k = 0; k <= m_iNumZ; ++k) {
        for (int c = 0; c <= m_iNumX; ++c) {
            int entry = k * (m_iNumX + 1) + c;
            float x =
                (static_cast<float>(c) * m_fWidth) / static_cast<float>(m_iNumX) - m_fWidth * 0.5f;
            float z =
                (static_cast<float>(k) * m_fDepth) / static_cast<float>(m_iNumZ) - m_fDepth * 0.5f;
            m_pVertices[entry] = Vector3(x, 0.0f, z);
            // One texture repeat per cell; v counts down as z grows.
            m_pTexCoords[entry] = Vector2(static_cast<float>(c), static_cast<float>(m_iNumZ - k));
        }
    }
}

void GeometryFlatGrid::emitGeometry(bool textured) const {
    if (!m_pVertices) {
        return;
    }
    glNormal3f(0.0f, 1.0f, 0.0f);
    const int columns = m_iNumX + 1;
    for (int k = 0; k < m_iNumZ; ++k) {
        glBegin(GL_TRIANGLE_STRIP);
        for (int c = 0; c <= m_iNumX; ++c) {
            for (int row = k; row <= k + 1; ++row) {
                int entry = row * columns + c;
                if (textured) {
                    glTexCoord2f(m_pTexCoords[entry].x, m_pTexCoords[entry].y);
                }
                glVertex3f(m_pVertices[entry].x, m_pVertices[entry].y, m_pVertices[entry].z);
            }
        }
        glEnd();
    }
}

void GeometryFlatGrid::print() const {
    ListingLine line;
    line.append("Grid geoID_%lld", objectIdentity(this));
    if (m_fWidth != 1.0f) {
        line.append(" wid_%f", static_cast<double>(m_fWidth));
    }
    if (m_fDepth != 1.0f) {
        line.append(" dep_%f", static_cast<double>(m_fDepth));
    }
    if (m_iNumX != 1) {
        line.append(" numX_%d", m_iNumX);
    }
    if (m_iNumZ != 1) {
        line.append(" numZ_%d", m_iNumZ);
    }
    line.emit();
}

Bounds3 GeometryFlatGrid::computeBounds() const {
    Bounds3 b;
    const int count = (m_iNumX + 1) * (m_iNumZ + 1);
    for (int i = 0; m_pVertices && i < count; ++i) {
        b.add(m_pVertices[i]);
    }
    return b;
}
