#include "assets/qvr_reader.h"

#include <cstdarg>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "app/error_reporter.h"
#include "assets/qvr_format.h"
#include "assets/texture_manager.h"
#include "scene/geometry_compiled.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"

namespace {

bool readWholeFile(const std::string& fileName, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::uint8_t block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    std::fclose(file);
    return true;
}

template <typename Record>
const Record* findRecord(const std::vector<QvrChunk<Record>>& list, std::int64_t id) {
    if (id == 0) {
        return nullptr;  // 0 names no object
    }
    for (const QvrChunk<Record>& chunk : list) {
        if (chunk.id == id) {
            return &chunk.record;
        }
    }
    return nullptr;
}

int itemCount(std::size_t size) {
    return static_cast<int>(size);  // the parser bounds every count by a signed 32-bit value
}

}  // namespace

QvrReader::QvrReader(Scene& scene, TextureManager& textures, unsigned textureQuality)
    : m_scene(scene), m_textures(textures), m_textureQuality(textureQuality) {}

bool QvrReader::loadQVR(const std::string& fileName, int textureGroup, NodeID parentNodeID) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(fileName, bytes)) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Can not open %s", fileName.c_str());
        return false;
    }
    QvrContents contents;
    std::string error;
    if (!parseQvr(bytes.data(), bytes.size(), fileName, contents, error)) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", error.c_str());
        return false;
    }
    if (contents.transforms.empty() || contents.shapes.empty()) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "No valid objects saved in QVR file %s",
                        fileName.c_str());
        return false;
    }
    for (const auto& geometry : contents.geometries) {
        if (!checkQvrGeometry(geometry.record, fileName, error)) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", error.c_str());
            return false;
        }
    }
    return build(contents, fileName, textureGroup, parentNodeID);
}

namespace {

// The build of one model: what it adds to the scene and the scene ids its
// chunk ids became. Each step reports, shows and resets its own failures.
class ModelBuild {
public:
    ModelBuild(Scene& scene, TextureManager& textures, unsigned textureQuality,
               const QvrContents& contents, const std::string& fileName, int textureGroup)
        : m_scene(scene),
          m_textures(textures),
          m_textureQuality(textureQuality),
          m_contents(contents),
          m_fileName(fileName),
          m_folder(qvrFolder(fileName)),
          m_textureGroup(textureGroup) {}

    // Parents come before their children in the file, so one pass places every transform.
    bool addTransforms(NodeID parentNodeID) {
        for (const auto& chunk : m_contents.transforms) {
            NodeID sceneParent = parentNodeID;
            if (chunk.parentId != 0) {
                auto parent = m_nodeTable.find(chunk.parentId);
                if (parent == m_nodeTable.end()) {
                    reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                                    "Missing transform node in QVR file %s", m_fileName.c_str());
                    return false;
                }
                sceneParent = parent->second;
            }
            if (!addTransform(chunk.id, chunk.record, sceneParent)) {
                return false;
            }
        }
        return true;
    }

    bool addShapes() {
        for (const auto& chunk : m_contents.shapes) {
            if (!addShape(chunk.id, chunk.parentId, chunk.record)) {
                return false;
            }
        }
        return true;
    }

private:
    bool addTransform(std::int64_t chunkId, const QvrTransformRecord& r, NodeID sceneParent) {
        auto* node = new (std::nothrow) NodeTransform;
        if (node == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Not enough memory for Transform Node");
            return false;
        }
        node->setVisible(r.visible == 1);
        node->setMatrix(r.matrix);
        node->setUseMatrix(true);
        node->m_vTranslation = r.translation;
        node->m_vCentre = r.centre;
        node->m_vScale = r.scale;
        node->setAxis(r.axis);
        node->m_fAngle = r.angle;
        if (!r.name.empty()) {
            node->setName(r.name.c_str());
        }
        NodeID id = m_scene.addNode(node, sceneParent);
        if (id == 0) {
            showAndReset(RESET_NO_ERROR);
            return false;
        }
        m_nodeTable.emplace(chunkId, id);
        return true;
    }

    // A shape and what it refers to. A material, texture or texture
    // transform that cannot be attached is shown and skipped; the shape stays.
    bool addShape(std::int64_t chunkId, std::int64_t parentId, const QvrShapeRecord& r) {
        if (parentId == 0) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Shape node is missing a parent transform in QVR file %s",
                            m_fileName.c_str());
            return false;
        }
        auto parent = m_nodeTable.find(parentId);
        if (parent == m_nodeTable.end()) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Missing parent transform node in QVR file %s", m_fileName.c_str());
            return false;
        }
        const QvrGeometryRecord* data = findRecord(m_contents.geometries, r.geometryId);
        if (data == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Missing geometry data in QVR file %s",
                            m_fileName.c_str());
            return false;
        }
        // Every shape compiles its own copy of the geometry it names, so a
        // small file can ask for the same large one many times over.
        const std::size_t corners = data->vertexIndices.size();
        if (corners > QvrReader::VERTEX_BUDGET - m_vertexCount) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "The shapes of QVR file %s need more than %d vertices.",
                            m_fileName.c_str(), static_cast<int>(QvrReader::VERTEX_BUDGET));
            return false;
        }
        m_vertexCount += corners;
        GeometryCompiled* geometry = addGeometry(*data);
        if (geometry == nullptr) {
            return false;
        }
        auto* shape = new (std::nothrow) NodeShape(geometry);
        if (shape == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Not enough memory for Shape Node");
            return false;
        }
        if (!r.name.empty()) {
            shape->setName(r.name.c_str());
        }
        const NodeID shapeId = m_scene.addNode(shape, parent->second);
        if (shapeId == 0) {
            showAndReset(RESET_NO_ERROR);
            return false;
        }
        m_nodeTable.emplace(chunkId, shapeId);
        return addMaterial(shapeId, r.materialId) && addTexture(shapeId, r.textureId) &&
               addTextureTransform(shapeId, r.textureTfmId);
    }

    // Every shape gets a geometry of its own, even when shapes share data.
    GeometryCompiled* addGeometry(const QvrGeometryRecord& data) {
        auto* geometry = new (std::nothrow)
            GeometryCompiled(data.perVertexNormals == 1, !data.texCoordIndices.empty());
        if (geometry == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_MEMORY,
                            "Not enough memory for Compiled Geometry");
            return nullptr;
        }
        geometry->setTexCoordIndices(data.texCoordIndices.data(),
                                     itemCount(data.texCoordIndices.size()));
        geometry->setVertexIndices(data.vertexIndices.data(), itemCount(data.vertexIndices.size()));
        geometry->setNormals(data.normals.data(), itemCount(data.normals.size()));
        geometry->setTexCoords(data.texCoords.data(), itemCount(data.texCoords.size()));
        geometry->setVertices(data.vertices.data(), itemCount(data.vertices.size()));
        geometry->compile();
        if (m_scene.addGeometry(geometry) == 0) {
            showAndReset(RESET_NO_ERROR);
            return nullptr;
        }
        return geometry;
    }

    // False only when memory runs out.
    bool addMaterial(NodeID shapeId, std::int64_t materialId) {
        const QvrMaterialRecord* m = findRecord(m_contents.materials, materialId);
        if (m == nullptr) {
            return true;
        }
        auto* material = new (std::nothrow) Material;
        if (material == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Not enough memory for Material");
            return false;
        }
        auto colour = [](const float* c) { return Color4(c[0], c[1], c[2], c[3]); };
        material->m_cAmbient = colour(m->ambient);
        material->m_cDiffuse = colour(m->diffuse);
        material->m_cSpecular = colour(m->specular);
        material->m_cEmissive = colour(m->emission);
        material->m_fShininess = m->shininess;
        MaterialID sceneId = m_scene.addMaterial(material);
        if (sceneId == 0 || !m_scene.setShapeMaterial(shapeId, sceneId)) {
            showAndReset(RESET_NO_ERROR);
        }
        return true;
    }

    // A texture that does not load was shown by the texture manager; the
    // shape stays untextured.
    bool addTexture(NodeID shapeId, std::int64_t textureId) {
        const QvrTextureRecord* t = findRecord(m_contents.textures, textureId);
        if (t == nullptr) {
            return true;
        }
        TextureID id = m_textures.loadTexture(m_textureGroup, true, m_textureQuality,
                                              static_cast<std::uint8_t>(t->solid == 1 ? 1 : 0),
                                              m_folder + t->fileName);
        if (id.id != 0 && !m_scene.setShapeTexture(shapeId, m_textureGroup, id.id)) {
            showAndReset(RESET_NO_ERROR);
        }
        return true;
    }

    // False only when memory runs out.
    bool addTextureTransform(NodeID shapeId, std::int64_t textureTfmId) {
        const QvrTextureTfmRecord* f = findRecord(m_contents.textureTfms, textureTfmId);
        if (f == nullptr) {
            return true;
        }
        auto* transform = new (std::nothrow) TextureTransform;
        if (transform == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_MEMORY,
                            "Not enough memory for Texture Transform");
            return false;
        }
        transform->m_vScale = f->scale;
        transform->m_fRotation = f->rotation;
        transform->m_vCentre = f->centre;
        transform->m_vTranslation = f->translation;
        std::uint32_t tfmId = m_scene.addTextureTransform(transform);
        if (tfmId == 0 || !m_scene.setShapeTextureTfm(shapeId, tfmId)) {
            showAndReset(RESET_NO_ERROR);
        }
        return true;
    }

    Scene& m_scene;
    TextureManager& m_textures;
    unsigned m_textureQuality;
    const QvrContents& m_contents;
    const std::string& m_fileName;
    const std::string m_folder;
    int m_textureGroup;
    std::map<std::int64_t, NodeID> m_nodeTable;  // chunk id -> the node it became
    std::size_t m_vertexCount = 0;               // compiled by the shapes so far
};

}  // namespace

bool QvrReader::build(const QvrContents& contents, const std::string& fileName, int textureGroup,
                      NodeID parentNodeID) {
    ModelBuild model(m_scene, m_textures, m_textureQuality, contents, fileName, textureGroup);
    return model.addTransforms(parentNodeID) && model.addShapes();
}
