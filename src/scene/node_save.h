#pragma once

class Geometry;
struct Material;
class NodeShape;
class NodeTransform;
class ShapeTexture;
struct TextureTransform;

// Where nodes write their chunks when a subtree is saved. The model file code
// implements the byte layout; each call returns false when writing failed.
// The identities are the object addresses (never 0); parentId is 0 for the
// top node of a save.
class NodeSaveStream {
public:
    virtual ~NodeSaveStream() = default;
    virtual bool writeTransformHeader(const NodeTransform& node, long long parentId) = 0;
    virtual bool writeTransformBody(const NodeTransform& node) = 0;
    virtual bool writeShapeHeader(const NodeShape& node, long long parentId) = 0;
    virtual bool writeShapeBody(const NodeShape& node) = 0;
};

// Gathers the resources the saved shapes refer to (each object once).
class NodeResourceCollector {
public:
    virtual ~NodeResourceCollector() = default;
    virtual void addGeometry(const Geometry* geometry) = 0;
    virtual void addMaterial(const Material* material) = 0;
    virtual void addTexture(const ShapeTexture* texture) = 0;
    virtual void addTextureTransform(const TextureTransform* transform) = 0;
};
