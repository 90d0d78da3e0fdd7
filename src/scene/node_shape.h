#pragma once
#include <memory>
#include <vector>

#include "scene/matrix.h"
#include "scene/node.h"

class Geometry;
class ShapeTexture;
struct Material;
struct TextureTransform;
class NodeShape;

// A see-through shape reached in the opaque walk, with the model-view matrix
// it was reached under and its squared eye-space distance.
struct DeferredShape {
    NodeShape* shape = nullptr;
    float distance = 0.0f;
    Matrix4 matrix;
};

// Deferred records of one frame, kept from the farthest to the nearest.
using DeferredList = std::vector<std::unique_ptr<DeferredShape>>;

// A material whose four alpha values all reach this is opaque.
constexpr float OPAQUE_ALPHA = 0.997f;

// Puts one geometry into the graph with an optional material, texture and
// texture transform (none of them owned).
class NodeShape : public Node {
public:
    explicit NodeShape(Geometry* geometry) : Node(NODE_SHAPE), m_pGeometry(geometry) {}
    // Takes the source's visible flag and its four references; no links, no name.
    explicit NodeShape(const NodeShape& source);

    Material* material() const { return m_pMaterial; }
    ShapeTexture* texture() const { return m_pTexture; }
    TextureTransform* textureTransform() const { return m_pTextureTfm; }
    Geometry* geometry() const { return m_pGeometry; }
    void setMaterial(Material* material) { m_pMaterial = material; }
    void setTexture(ShapeTexture* texture) { m_pTexture = texture; }
    void setTextureTransform(TextureTransform* transform) { m_pTextureTfm = transform; }

    // Where see-through shapes met in the opaque walk are recorded. The Scene
    // sets it for the length of its render pass; without one such shapes are
    // skipped in that walk.
    static void setDeferredList(DeferredList* list);

protected:
    bool saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) override;
    void renderSelf(bool transparentPass) override;
    void describe(ListingLine& line, bool detailed) const override;

private:
    void defer();

    Material* m_pMaterial = nullptr;
    ShapeTexture* m_pTexture = nullptr;
    TextureTransform* m_pTextureTfm = nullptr;
    Geometry* m_pGeometry;
};
