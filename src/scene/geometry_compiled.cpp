#include "scene/geometry_compiled.h"

#include <GL/gl.h>

#include "scene/scene_report.h"

GeometryCompiled::~GeometryCompiled() {
    if (m_uiDisplayList != NO_LIST) {
        glDeleteLists(m_uiDisplayList, 1);
    }
}

void GeometryCompiled::setNormals(const float* floats, int floatCount) {
    m_vNormals.clear();
    for (int i = 0; floats && i + 2 < floatCount; i += 3) {
        m_vNormals.emplace_back(floats[i], floats[i + 1], floats[i + 2]);
    }
}

void GeometryCompiled::setVertices(const float* floats, int floatCount) {
    m_vVertices.clear();
    for (int i = 0; floats && i + 2 < floatCount; i += 3) {
        m_vVertices.emplace_back(floats[i], floats[i + 1], floats[i + 2]);
    }
}

void GeometryCompiled::setTexCoords(const float* floats, int floatCount) {
    m_vTexCoords.clear();
    for (int i = 0; floats && i + 1 < floatCount; i += 2) {
        m_vTexCoords.emplace_back(floats[i], floats[i + 1]);
    }
}

void GeometryCompiled::setVertexIndices(const std::uint32_t* indices, int count) {
    m_vVertexIndices.clear();
    if (indices && count >= 1) {
        m_vVertexIndices.assign(indices, indices + count);
    }
}

void GeometryCompiled::setTexCoordIndices(const std::uint32_t* indices, int count) {
    m_vTexCoordIndices.clear();
    if (indices && count >= 1) {
        m_vTexCoordIndices.assign(indices, indices + count);
    }
}

// The arrays come from files: a triangle whose corners are missing or point
// outside the arrays is left out rather than read out of bounds.
bool GeometryCompiled::triangleIsComplete(std::size_t t) const {
    for (std::size_t k = 0; k < 3; ++k) {
        std::size_t p = 3 * t + k;
        if (p >= m_vVertexIndices.size() || m_vVertexIndices[p] >= m_vVertices.size()) {
            return false;
        }
        if (m_bPerVertexNormals && p >= m_vNormals.size()) {
            return false;
        }
        if (m_bHasTexCoords &&
            (p >= m_vTexCoordIndices.size() || m_vTexCoordIndices[p] >= m_vTexCoords.size())) {
            return false;
        }
    }
    return t < m_vNormals.size() || m_bPerVertexNormals;
}

void GeometryCompiled::compile() {
    if (m_uiDisplayList != NO_LIST) {
        return;
    }
    m_uiDisplayList = glGenLists(1);
    glNewList(m_uiDisplayList, GL_COMPILE);
    m_mapVertexLookup.clear();
    m_mapTexCoordLookup.clear();
    m_iNumTriangles =
        static_cast<int>(m_bPerVertexNormals ? m_vNormals.size() / 3 : m_vNormals.size());
    glBegin(GL_TRIANGLES);
    for (std::size_t t = 0; t < static_cast<std::size_t>(m_iNumTriangles); ++t) {
        if (!triangleIsComplete(t)) {
            continue;
        }
        if (!m_bPerVertexNormals) {
            const Vector3& n = m_vNormals[t];
            glNormal3f(n.x, n.y, n.z);
        }
        for (std::size_t k = 0; k < 3; ++k) {
            std::size_t p = 3 * t + k;
            if (m_bPerVertexNormals) {
                const Vector3& n = m_vNormals[p];
                glNormal3f(n.x, n.y, n.z);
            }
            if (m_bHasTexCoords) {
                glTexCoord2fv(&m_vTexCoords[m_vTexCoordIndices[p]].x);
            }
            glVertex3fv(&m_vVertices[m_vVertexIndices[p]].x);
        }
    }
    glEnd();
    m_mapVertexLookup.clear();
    m_mapTexCoordLookup.clear();
    glEndList();
}

void GeometryCompiled::draw(bool /*textured*/) const {
    glCallList(m_uiDisplayList);
}

void GeometryCompiled::print() const {
    ListingLine line;
    line.append("//Compiled geoID_%d", static_cast<int>(objectIdentity(this)));
    line.emit();
}
