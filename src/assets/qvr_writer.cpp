#include "assets/qvr_writer.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/atomic_file.h"
#include "app/error_reporter.h"
#include "assets/qvr_format.h"
#include "assets/texture.h"
#include "scene/geometry_compiled.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene_report.h"

namespace {

template <typename T>
void addOnce(std::vector<const T*>& list, const T* item) {
    if (item != nullptr && std::find(list.begin(), list.end(), item) == list.end()) {
        list.push_back(item);
    }
}

// The texture's file name as seen from the model's folder.
std::string relativeTextureName(const std::string& textureName, const std::string& folder) {
    namespace fs = std::filesystem;
    if (folder.empty()) {
        return textureName;
    }
    std::error_code error;
    fs::path texture = fs::absolute(textureName, error).lexically_normal();
    fs::path base = fs::absolute(folder, error).lexically_normal();
    if (error) {
        return textureName;
    }
    fs::path relative = texture.lexically_relative(base);
    return relative.empty() ? textureName : relative.generic_string();
}

}  // namespace

void QvrWriter::u8(unsigned value) {
    m_bytes.push_back(static_cast<char>(value & 0xFF));
}

void QvrWriter::u32(unsigned value) {
    for (int shift = 0; shift < 32; shift += 8) {
        u8(value >> shift);
    }
}

void QvrWriter::i64(long long value) {
    auto bits = static_cast<unsigned long long>(value);
    u32(static_cast<unsigned>(bits & 0xFFFFFFFFu));
    u32(static_cast<unsigned>(bits >> 32));
}

void QvrWriter::f32(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    u32(bits);
}

void QvrWriter::name(const char* text) {
    const std::size_t length = text != nullptr ? std::strlen(text) : 0;
    u32(static_cast<unsigned>(length));
    m_bytes.append(text != nullptr ? text : "", length);
}

void QvrWriter::chunkHeader(long long id, long long parentId, unsigned type) {
    i64(id);
    i64(parentId);
    u32(type);
}

bool QvrWriter::writeTransformHeader(const NodeTransform& node, long long parentId) {
    chunkHeader(objectIdentity(&node), parentId, CHUNK_TRANSFORM);
    return true;
}

bool QvrWriter::writeTransformBody(const NodeTransform& node) {
    name(node.getName());
    u8(node.isVisible() ? 1 : 0);
    for (const Vector3* v : {&node.m_vTranslation, &node.m_vCentre, &node.m_vScale, &node.axis()}) {
        f32(v->x);
        f32(v->y);
        f32(v->z);
    }
    f32(node.m_fAngle);
    for (float value : node.matrix().m) {
        f32(value);
    }
    return true;
}

bool QvrWriter::writeShapeHeader(const NodeShape& node, long long parentId) {
    chunkHeader(objectIdentity(&node), parentId, CHUNK_SHAPE);
    return true;
}

bool QvrWriter::writeShapeBody(const NodeShape& node) {
    name(node.getName());
    u8(node.isVisible() ? 1 : 0);
    i64(node.material() != nullptr ? objectIdentity(node.material()) : 0);
    i64(node.texture() != nullptr ? objectIdentity(node.texture()) : 0);
    i64(node.textureTransform() != nullptr ? objectIdentity(node.textureTransform()) : 0);
    i64(node.geometry() != nullptr ? objectIdentity(node.geometry()) : 0);
    return true;
}

void QvrWriter::addGeometry(const Geometry* geometry) {
    addOnce(m_geometries, geometry);
}
void QvrWriter::addMaterial(const Material* material) {
    addOnce(m_materials, material);
}
void QvrWriter::addTexture(const ShapeTexture* texture) {
    addOnce(m_textures, texture);
}
void QvrWriter::addTextureTransform(const TextureTransform* transform) {
    addOnce(m_textureTfms, transform);
}

bool QvrWriter::writeResources(const std::string& folder) {
    for (const Material* m : m_materials) {
        chunkHeader(objectIdentity(m), 0, CHUNK_MATERIAL);
        for (const Color4* c : {&m->m_cAmbient, &m->m_cDiffuse, &m->m_cSpecular, &m->m_cEmissive}) {
            f32(c->r);
            f32(c->g);
            f32(c->b);
            f32(c->a);
        }
        f32(m->m_fShininess);
    }
    for (const ShapeTexture* t : m_textures) {
        const auto* surface = dynamic_cast<const TextureSurface*>(t);
        if (surface == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Can not save QVR texture chunk: the texture has no file name");
            return false;
        }
        chunkHeader(objectIdentity(t), 0, CHUNK_TEXTURE);
        std::string file = relativeTextureName(surface->texture().fileName, folder);
        name(file.c_str());
        u8(surface->texture().solid == 1 ? 1 : 0);
    }
    for (const TextureTransform* f : m_textureTfms) {
        chunkHeader(objectIdentity(f), 0, CHUNK_TEXTURE_TFM);
        for (const Vector2* v : {&f->m_vTranslation, &f->m_vCentre, &f->m_vScale}) {
            f32(v->x);
            f32(v->y);
        }
        f32(f->m_fRotation);
    }
    for (const Geometry* g : m_geometries) {
        const auto* compiled = dynamic_cast<const GeometryCompiled*>(g);
        if (compiled == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Can not save QVR geometry chunk: only compiled geometry can be saved");
            return false;
        }
        chunkHeader(objectIdentity(g), 0, CHUNK_GEOMETRY_COMPILED);
        u32(static_cast<unsigned>(compiled->normals().size() * 3));
        for (const Vector3& n : compiled->normals()) {
            f32(n.x);
            f32(n.y);
            f32(n.z);
        }
        // Without texture coordinates the index count stays 0, which is how
        // the reader knows.
        const bool textured = compiled->hasTexCoords();
        u32(static_cast<unsigned>(textured ? compiled->texCoords().size() * 2 : 0));
        if (textured) {
            for (const Vector2& t : compiled->texCoords()) {
                f32(t.x);
                f32(t.y);
            }
        }
        u32(static_cast<unsigned>(textured ? compiled->texCoordIndices().size() : 0));
        if (textured) {
            for (std::uint32_t index : compiled->texCoordIndices()) {
                u32(index);
            }
        }
        u32(static_cast<unsigned>(compiled->vertices().size() * 3));
        for (const Vector3& v : compiled->vertices()) {
            f32(v.x);
            f32(v.y);
            f32(v.z);
        }
        u32(static_cast<unsigned>(compiled->vertexIndices().size()));
        for (std::uint32_t index : compiled->vertexIndices()) {
            u32(index);
        }
        u8(compiled->perVertexNormals() ? 1 : 0);
    }
    return true;
}

bool QvrWriter::serialise(Node* top, const std::string& folder, std::string& bytes) {
    m_bytes.clear();
    m_geometries.clear();
    m_materials.clear();
    m_textures.clear();
    m_textureTfms.clear();
    bytes.clear();
    if (top == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Can not save QVR file: no node to save");
        return false;
    }
    m_bytes.append(QVR_MAGIC, QVR_MAGIC_SIZE);
    u8(QVR_MAJOR_VERSION & 0xFF);
    u8(0);
    u8(QVR_MINOR_VERSION & 0xFF);
    u8(0);
    if (!top->save(*this, *this, true) || !writeResources(folder)) {
        return false;
    }
    chunkHeader(0, 0, CHUNK_END);
    bytes.swap(m_bytes);
    return true;
}

bool QvrWriter::saveQVR(const std::string& fileName, Node* top) {
    std::string bytes;
    if (!serialise(top, qvrFolder(fileName), bytes)) {
        return false;
    }
    if (!writeFileAtomically(fileName, bytes)) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Can not save QVR file %s",
                        fileName.c_str());
        return false;
    }
    return true;
}
