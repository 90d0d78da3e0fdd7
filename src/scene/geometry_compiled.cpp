#include "scene/geometry_compiled.h"

#include <GL/gl.h>

#include "scene/render_state.h"
#include "scene/scene_report.h"

GeometryCompiled::~GeometryCompiled() {
    if (m_uiDisplayList != NO_LIST) {
        glDeleteLists(m_uiDisplayList, 1);
    }
}

void GeometryCompiled::setNormals(const float* floats, int floatCount) {
    m_normals.clear();
    for (int i = 0; floats && i + 2 < floatCount; i += 3) {
        m_normals.emplace_back(floats[i], floats[i + 1], floats[i + 2]);
    }
}

void GeometryCompiled::setVertices(const float* floats, int floatCount) {
    m_vertices.clear();
    for (int i = 0; floats && i + 2 < floatCount; i += 3) {
        m_vertices.emplace_back(floats[i], floats[i + 1], floats[i + 2]);
    }
}

void GeometryCompiled::setTexCoords(const float* floats, int floatCount) {
    m_texCoords.clear();
    for (int i = 0; floats && i + 1 < floatCount; i += 2) {
        m_texCoords.emplace_back(floats[i], floats[i + 1]);
    }
}

void GeometryCompiled::setVertexIndices(const std::uint32_t* indices, int count) {
    m_vertexIndices.clear();
    if (indices && count >= 1) {
        m_vertexIndices.assign(indices, indices + count);
    }
}

void GeometryCompiled::setTexCoordIndices(const std::uint32_t* indices, int count) {
    m_texCoordIndices.clear();
    if (indices && count >= 1) {
        m_texCoordIndices.assign(indices, indices + count);
    }
}

// The arrays come from files: a triangle whose corners are missing or point
// outside the arrays is left out rather than read out of bounds.
bool GeometryCompiled::triangleIsComplete(std::size_t t) const {
    for (std::size_t k = 0; k < 3; ++k) {
        std::size_t p = 3 * t + k;
        if (p >= m_vertexIndices.size() || m_vertexIndices[p] >= m_vertices.size()) {
            return false;
        }
        if (m_bPerVertexNormals && p >= m_normals.size()) {
            return false;
        }
        if (m_bHasTexCoords &&
            (p >= m_texCoordIndices.size() || m_texCoordIndices[p] >= m_texCoords.size())) {
            return false;
        }
    }
    return t < m_normals.size() || m_bPerVertexNormals;
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
        static_cast<int>(m_bPerVertexNormals ? m_normals.size() / 3 : m_normals.size());
    glBegin(GL_TRIANGLES);
    for (std::size_t t = 0; t < static_cast<std::size_t>(m_iNumTriangles); ++t) {
        if (!triangleIsComplete(t)) {
            continue;
        }
        if (!m_bPerVertexNormals) {
            const Vector3& n = m_normals[t];
            glNormal3f(n.x, n.y, n.z);
        }
        for (std::size_t k = 0; k < 3; ++k) {
            std::size_t p = 3 * t + k;
            if (m_bPerVertexNormals) {
                const Vector3& n = m_normals[p];
                glNormal3f(n.x, n.y, n.z);
            }
            if (m_bHasTexCoords) {
                glTexCoord2fv(&m_texCoords[m_texCoordIndices[p]].x);
            }
            glVertex3fv(&m_vertices[m_vertexIndices[p]].x);
            m_bounds.add(m_vertices[m_vertexIndices[p]]);
        }
    }
    glEnd();
    m_mapVertexLookup.clear();
    m_mapTexCoordLookup.clear();
    glEndList();
    bumpBoundsGeneration();
}

void GeometryCompiled::draw(bool /*textured*/) const {
    glCallList(m_uiDisplayList);
}

void GeometryCompiled::print() const {
    ListingLine line;
    line.append("//Compiled geoID_%d", static_cast<int>(objectIdentity(this)));
    line.emit();
}
