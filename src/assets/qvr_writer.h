#pragma once
#include <string>
#include <vector>

#include "scene/node_save.h"

class Geometry;
class Node;
class ShapeTexture;

// Writes complete QVR files: the header (version 1.1), the chunks the nodes
// write through their save operation, one chunk per resource the saved
// shapes use, and the end chunk. Texture names are stored relative to the
// model file's folder. Only compiled geometry has a chunk layout, so a
// shape on a primitive cannot be saved.
class QvrWriter : private NodeSaveStream, private NodeResourceCollector {
public:
    QvrWriter() = default;

    // Saves top and its subtree (a top transform does not take its
    // siblings along). False, after the message was shown, when anything
    // could not be written; an existing file is then left as it was.
    bool saveQVR(const std::string& fileName, Node* top);

    // The file image saveQVR writes, for a model file in folder.
    bool serialise(Node* top, const std::string& folder, std::string& bytes);

private:
    bool writeTransformHeader(const NodeTransform& node, long long parentId) override;
    bool writeTransformBody(const NodeTransform& node) override;
    bool writeShapeHeader(const NodeShape& node, long long parentId) override;
    bool writeShapeBody(const NodeShape& node) override;
    void addGeometry(const Geometry* geometry) override;
    void addMaterial(const Material* material) override;
    void addTexture(const ShapeTexture* texture) override;
    void addTextureTransform(const TextureTransform* transform) override;

    bool writeResources(const std::string& folder);
    void chunkHeader(long long id, long long parentId, unsigned type);
    void name(const char* text);
    void u8(unsigned value);
    void u32(unsigned value);
    void i64(long long value);
    void f32(float value);

    std::string m_bytes;
    std::vector<const Geometry*> m_geometries;
    std::vector<const Material*> m_materials;
    std::vector<const ShapeTexture*> m_textures;
    std::vector<const TextureTransform*> m_textureTfms;
};
