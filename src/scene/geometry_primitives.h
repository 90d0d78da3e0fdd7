#pragma once
#include <memory>

#include "scene/geometry.h"
#include "scene/vector.h"

// The four primitives. The box and the cylinder stand on y = 0, the flat grid
// lies in it and the sphere is centred on the origin. Front faces wind
// counter-clockwise seen from outside; ring index i sits at angle
// -i * TWO_PI / count, running from +x towards -z. Out-of-range parameters
// are replaced, never rejected.

class GeometryBox : public Geometry {
public:
    // Sizes at or below 0 become 1.
    GeometryBox(float width, float depth, float height);
    void print() const override;
    void draw(bool textured) const override;
    // (width, height, depth): x, y, z order.
    Vector3 getSize() const { return Vector3(m_fWidth, m_fHeight, m_fDepth); }

private:
    float m_fWidth;
    float m_fDepth;
    float m_fHeight;
};

class GeometryCylinder : public Geometry {
public:
    // 3 to 20 sides; radius or height at or below 0 becomes 1.
    GeometryCylinder(int sides, float radius, float height, bool smooth);
    void print() const override;
    void draw(bool textured) const override;

    int numSides() const { return m_iNumSides; }
    // Null when allocation failed.
    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector3* normals() const { return m_pNormals.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }

private:
    int m_iNumSides;
    float m_fRadius;
    float m_fHeight;
    bool m_bSmooth;
    std::unique_ptr<Vector3[]> m_pNormals;
    std::unique_ptr<Vector3[]> m_pVertices;
    std::unique_ptr<Vector2[]> m_pTexCoords;
};

class GeometryFlatGrid : public Geometry {
public:
    // Sizes at or below 0 become 1, counts below 1 become 1.
    GeometryFlatGrid(float width, float depth, int numX, int numZ);
    void print() const override;
    void draw(bool textured) const override;

    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }

private:
    std::unique_ptr<Vector3[]> m_pVertices;
    std::unique_ptr<Vector2[]> m_pTexCoords;
    float m_fWidth;
    float m_fDepth;
    int m_iNumX;
    int m_iNumZ;
};

class GeometrySphere : public Geometry {
public:
    // Radius at or below 0 becomes 1, counts below 3 become 3. numV counts
    // the rows from pole to pole, poles included.
    GeometrySphere(float radius, int numH, int numV);
    void print() const override;
    void draw(bool textured) const override;

    int numH() const { return m_iNumH; }
    int numV() const { return m_iNumV; }
    int entryCount() const { return (m_iNumV - 2) * m_iNumH + 2; }
    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector3* normals() const { return m_pNormals.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }

private:
    const Vector2& tex(int row, int column) const {
        return m_pTexCoords[row * (m_iNumH + 1) + column];
    }
    void emit(int entry, int texRow, int texColumn, bool textured) const;

    float m_fRadius;
    int m_iNumH;
    int m_iNumV;
    std::unique_ptr<Vector3[]> m_pNormals;
    std::unique_ptr<Vector3[]> m_pVertices;
    std::unique_ptr<Vector2[]> m_pTexCoords;
};
