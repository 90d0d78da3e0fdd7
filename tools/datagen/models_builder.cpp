#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>

#include "assets/qvr_format.h"
#include "assets/qvr_writer.h"
#include "assets/texture.h"
#include "models.h"
#include "scene/geometry_compiled.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"

namespace datagen {

ModelBuilder::ModelBuilder(std::string modelsFolder) : m_folder(std::move(modelsFolder)) {}

ModelBuilder::~ModelBuilder() = default;

NodeTransform* ModelBuilder::transform(NodeTransform* parent, const char* name) {
    m_transforms.push_back(std::make_unique<NodeTransform>());
    NodeTransform* node = m_transforms.back().get();
    if (name != nullptr)
        node->setName(name);
    if (parent != nullptr)
        node->attachTo(parent);
    return node;
}

NodeShape* ModelBuilder::shape(NodeTransform* parent, const Mesh& mesh, Material* material,
                               ShapeTexture* skin) {
    // One normal per triangle corner; vertices and texture coordinates share
    // their index lists.
    std::vector<float> vertices, normals, texCoords;
    for (const Mesh::Vertex& v : mesh.vertices()) {
        vertices.insert(vertices.end(), {v.position.x, v.position.y, v.position.z});
        texCoords.insert(texCoords.end(), {v.u, v.v});
    }
    for (std::uint32_t index : mesh.indices()) {
        const V3& n = mesh.vertices()[index].normal;
        normals.insert(normals.end(), {n.x, n.y, n.z});
    }
    const bool textured = skin != nullptr;
    auto geometry = std::make_unique<GeometryCompiled>(true, textured);
    const int indexCount = static_cast<int>(mesh.indices().size());
    geometry->setVertices(vertices.data(), static_cast<int>(vertices.size()));
    geometry->setNormals(normals.data(), static_cast<int>(normals.size()));
    geometry->setVertexIndices(mesh.indices().data(), indexCount);
    if (textured) {
        geometry->setTexCoords(texCoords.data(), static_cast<int>(texCoords.size()));
        geometry->setTexCoordIndices(mesh.indices().data(), indexCount);
    }
    m_shapes.push_back(std::make_unique<NodeShape>(geometry.get()));
    m_geometries.push_back(std::move(geometry));
    NodeShape* node = m_shapes.back().get();
    node->setMaterial(material);
    node->setTexture(skin);
    node->attachTo(parent);
    return node;
}

Material* ModelBuilder::material(Rgba diffuse, Rgba emission, float specular, float shininess,
                                 float alpha) {
    auto m = std::make_unique<Material>();
    m->m_cAmbient = Color4{diffuse.r * 0.45f, diffuse.g * 0.45f, diffuse.b * 0.45f, alpha};
    m->m_cDiffuse = Color4{diffuse.r, diffuse.g, diffuse.b, alpha};
    m->m_cSpecular = Color4{specular, specular, specular, alpha};
    m->m_cEmissive = Color4{emission.r, emission.g, emission.b, alpha};
    m->m_fShininess = shininess;
    m_materials.push_back(std::move(m));
    return m_materials.back().get();
}

ShapeTexture* ModelBuilder::skin(const std::string& file, const Image& image, bool withAlpha) {
    const std::string path = m_folder + "/" + file;
    if (!writeTga(path, image, withAlpha)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return nullptr;
    }
    auto texture = std::make_unique<Texture>(true, 4, withAlpha ? 0 : 1);
    std::snprintf(texture->fileName, sizeof texture->fileName, "%s", path.c_str());
    m_surfaces.push_back(std::make_unique<TextureSurface>(*texture));
    m_textures.push_back(std::move(texture));
    return m_surfaces.back().get();
}

bool ModelBuilder::write(const std::string& file, NodeTransform* top) {
    QvrWriter writer;
    std::string bytes;
    const std::string path = m_folder + "/" + file;
    if (!writer.serialise(top, m_folder + "/", bytes) || !renumberQvrIds(bytes)) {
        std::fprintf(stderr, "datagen: cannot build %s\n", path.c_str());
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

namespace {

std::uint32_t readU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

}  // namespace

bool renumberQvrIds(std::string& bytes) {
    std::map<std::int64_t, std::int64_t> numbers;
    // Rewrites the 8-byte ID at `at` (0 stays 0).
    auto renumber = [&](std::size_t at) {
        std::int64_t id = 0;
        std::memcpy(&id, bytes.data() + at, 8);  // little-endian host, as the writer
        if (id == 0)
            return;
        auto found = numbers.emplace(id, static_cast<std::int64_t>(numbers.size()) + 1).first;
        std::memcpy(&bytes[at], &found->second, 8);
    };
    std::size_t at = QVR_HEADER_SIZE;
    while (at + QVR_CHUNK_HEADER_SIZE <= bytes.size()) {
        const std::uint32_t type = readU32(bytes, at + 16);
        renumber(at);
        renumber(at + 8);
        at += QVR_CHUNK_HEADER_SIZE;
        auto nameLength = [&]() -> std::size_t {
            return at + 4 <= bytes.size() ? readU32(bytes, at) : 0;
        };
        switch (type) {
            case CHUNK_END:
                return at == bytes.size();
            case CHUNK_TRANSFORM:
                at += 4 + nameLength() + 117;
                break;
            case CHUNK_SHAPE: {
                const std::size_t body = at + 4 + nameLength() + 1;
                if (body + 32 > bytes.size())
                    return false;
                for (std::size_t k = 0; k < 4; ++k)
                    renumber(body + 8 * k);
                at = body + 32;
                break;
            }
            case CHUNK_TEXTURE:
                at += 4 + nameLength() + 1;
                break;
            case CHUNK_TEXTURE_TFM:
                at += 28;
                break;
            case CHUNK_MATERIAL:
                at += 68;
                break;
            case CHUNK_GEOMETRY_COMPILED:
                for (int array = 0; array < 5; ++array) {
                    if (at + 4 > bytes.size())
                        return false;
                    at += 4 + 4 * static_cast<std::size_t>(readU32(bytes, at));
                }
                at += 1;
                break;
            default:
                return false;
        }
    }
    return false;
}

}  // namespace datagen
