#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "scene/geometry.h"
#include "scene/vector.h"

// Indexed triangle data (from model files) drawn through one display list.
class GeometryCompiled : public Geometry {
public:
    static constexpr unsigned NO_LIST = 0xFFFFFFFFu;

    GeometryCompiled(bool perVertexNormals, bool hasTexCoords)
        : m_bPerVertexNormals(perVertexNormals), m_bHasTexCoords(hasTexCoords) {}
    ~GeometryCompiled() override;

    void print() const override;
    // Builds the display list; a geometry is compiled at most once.
    void compile() override;
    // Calls the list; texture coordinates are in it when the data has them.
    void draw(bool textured) const override;
    // The box around the triangles in the list; unknown before compile().
    bool bounds(Bounds3& out) const override {
        out = m_bounds;
        return m_uiDisplayList != NO_LIST;
    }

    // Each setter replaces its whole array.
    void setNormals(const float* floats, int floatCount);
    void setVertices(const float* floats, int floatCount);
    void setTexCoords(const float* floats, int floatCount);
    void setVertexIndices(const std::uint32_t* indices, int count);
    void setTexCoordIndices(const std::uint32_t* indices, int count);

    unsigned displayList() const { return m_uiDisplayList; }
    int numTriangles() const { return m_iNumTriangles; }
    bool perVertexNormals() const { return m_bPerVertexNormals; }
    bool hasTexCoords() const { return m_bHasTexCoords; }
    const std::vector<Vector3>& normals() const { return m_normals; }
    const std::vector<Vector3>& vertices() const { return m_vertices; }
    const std::vector<Vector2>& texCoords() const { return m_texCoords; }
    const std::vector<std::uint32_t>& vertexIndices() const { return m_vertexIndices; }
    const std::vector<std::uint32_t>& texCoordIndices() const { return m_texCoordIndices; }

    // Scratch lookups for whoever builds the arrays (file entry -> array
    // position); emptied by compile().
    std::map<std::uint64_t, std::uint32_t>& vertexLookup() { return m_mapVertexLookup; }
    std::map<std::uint64_t, std::uint32_t>& texCoordLookup() { return m_mapTexCoordLookup; }

private:
    bool triangleIsComplete(std::size_t t) const;

    unsigned m_uiDisplayList = NO_LIST;
    Bounds3 m_bounds;
    int m_iNumTriangles = 0;
    bool m_bPerVertexNormals;
    bool m_bHasTexCoords;
    std::vector<Vector3> m_normals;
    std::vector<Vector3> m_vertices;
    std::vector<Vector2> m_texCoords;
    std::vector<std::uint32_t> m_vertexIndices;
    std::vector<std::uint32_t> m_texCoordIndices;
    std::map<std::uint64_t, std::uint32_t> m_mapVertexLookup;
    std::map<std::uint64_t, std::uint32_t> m_mapTexCoordLookup;
};
