#pragma once
#include <memory>
#include <vector>

#include "scene/geometry.h"
#include "scene/vector.h"

// The four primitives. The box and the cylinder stand on y = 0, the flat grid
// lies in it and the sphere is centred on the origin. Front faces wind
// counter-clockwise seen from outside; ring index i sits at angle
// -i * TWO_PI / count, running from +x towards -z. Out-of-range parameters
// are replaced, never rejected.
//
// A primitive never changes after construction, so what it emits is made
// ready once at its first draw (one variant with texture coordinates, one
// without) and reused from then on. Triangles are recorded in a display
// list. Quads and polygons are kept as vertex arrays instead and drawn as
// quads and polygons: how a driver cuts them into triangles can depend on the
// draw (Mesa's software drivers take one diagonal for some draws and the
// other for the rest), and the lighting interpolated across them follows the
// cut, so only drawing them as they were sent keeps the picture.
class GeometryPrimitive : public Geometry {
public:
    ~GeometryPrimitive() override;
    void draw(bool textured) const final;
    bool bounds(Bounds3& out) const final;
    // Whether a variant has been made ready (it is at its first draw).
    bool prepared(bool textured) const { return m_variants[textured ? 1 : 0].prepared; }

    // One corner as the primitives send it.
    struct Corner {
        Vector3 normal;
        Vector2 tex;
        Vector3 position;
    };

protected:
    GeometryPrimitive() = default;
    // The immediate-mode calls. A primitive sends either only emitPolygon
    // calls or only triangles of its own.
    virtual void emitGeometry(bool textured) const = 0;
    // A run of quads (a b c d)... or one polygon.
    void emitPolygon(bool quad, const Corner* corners, int count, bool textured) const;
    virtual Bounds3 computeBounds() const = 0;

private:
    // Consecutive quads form one run, as OpenGL batches consecutive quads of
    // immediate mode into one draw; a polygon is a run of its own.
    struct PolygonRun {
        bool quad;
        int first;
        int count;
    };
    struct Variant {
        bool prepared = false;
        unsigned list = 0;
        std::vector<Corner> corners;
        std::vector<PolygonRun> runs;
    };
    void prepare(Variant& variant, bool textured) const;
    void drawPolygons(const Variant& variant, bool textured) const;

    mutable Variant m_variants[2];
    mutable Variant* m_pCapture = nullptr;
    mutable Bounds3 m_bounds;
    mutable bool m_bBoundsKnown = false;
};

class GeometryBox : public GeometryPrimitive {
public:
    static constexpr int CORNERS = 24;

    // Sizes at or below 0 become 1.
    GeometryBox(float width, float depth, float height);
    void print() const override;
    // The six faces' corners as the box sends them: a quad (a b c d) each,
    // in the order front, right, back, left, top, bottom.
    void corners(Corner (&out)[CORNERS]) const;
    // (width, height, depth): x, y, z order.
    Vector3 getSize() const { return Vector3(m_fWidth, m_fHeight, m_fDepth); }

protected:
    void emitGeometry(bool textured) const override;
    Bounds3 computeBounds() const override;

private:
    float m_fWidth;
    float m_fDepth;
    float m_fHeight;
};

class GeometryCylinder : public GeometryPrimitive {
public:
    // 3 to 20 sides; radius or height at or below 0 becomes 1.
    GeometryCylinder(int sides, float radius, float height, bool smooth);
    void print() const override;

    int numSides() const { return m_iNumSides; }
    // Null when allocation failed.
    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector3* normals() const { return m_pNormals.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }

protected:
    void emitGeometry(bool textured) const override;
    Bounds3 computeBounds() const override;

private:
    int m_iNumSides;
    float m_fRadius;
    float m_fHeight;
    bool m_bSmooth;
    std::unique_ptr<Vector3[]> m_pNormals;
    std::unique_ptr<Vector3[]> m_pVertices;
    std::unique_ptr<Vector2[]> m_pTexCoords;
};

class GeometryFlatGrid : public GeometryPrimitive {
public:
    // Sizes at or below 0 become 1, counts below 1 become 1.
    GeometryFlatGrid(float width, float depth, int numX, int numZ);
    void print() const override;

    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }
    int numX() const { return m_iNumX; }
    int numZ() const { return m_iNumZ; }

protected:
    void emitGeometry(bool textured) const override;
    Bounds3 computeBounds() const override;

private:
    std::unique_ptr<Vector3[]> m_pVertices;
    std::unique_ptr<Vector2[]> m_pTexCoords;
    float m_fWidth;
    float m_fDepth;
    int m_iNumX;
    int m_iNumZ;
};

class GeometrySphere : public GeometryPrimitive {
public:
    // Radius at or below 0 becomes 1, counts below 3 become 3. numV counts
    // the rows from pole to pole, poles included.
    GeometrySphere(float radius, int numH, int numV);
    void print() const override;

    int numH() const { return m_iNumH; }
    int numV() const { return m_iNumV; }
    int entryCount() const { return (m_iNumV - 2) * m_iNumH + 2; }
    const Vector3* vertices() const { return m_pVertices.get(); }
    const Vector3* normals() const { return m_pNormals.get(); }
    const Vector2* texCoords() const { return m_pTexCoords.get(); }

protected:
    void emitGeometry(bool textured) const override;
    Bounds3 computeBounds() const override;

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
