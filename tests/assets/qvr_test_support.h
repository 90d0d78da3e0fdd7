#pragma once
// Hand-built QVR file images, and scene hooks that hand the texture
// manager's textures to shapes.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "assets/texture_manager.h"
#include "scene/scene.h"

class QvrBytes {
public:
    std::string bytes;

    QvrBytes& raw(const std::string& text) {
        bytes += text;
        return *this;
    }
    QvrBytes& u8(std::uint8_t v) {
        bytes.push_back(static_cast<char>(v));
        return *this;
    }
    QvrBytes& i16(std::int16_t v) {
        auto u = static_cast<std::uint16_t>(v);
        return u8(static_cast<std::uint8_t>(u & 0xFF)).u8(static_cast<std::uint8_t>(u >> 8));
    }
    QvrBytes& u32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) {
            u8(static_cast<std::uint8_t>((v >> shift) & 0xFF));
        }
        return *this;
    }
    QvrBytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
    QvrBytes& i64(std::int64_t v) {
        auto u = static_cast<std::uint64_t>(v);
        return u32(static_cast<std::uint32_t>(u & 0xFFFFFFFFu))
            .u32(static_cast<std::uint32_t>(u >> 32));
    }
    QvrBytes& f32(float v) {
        std::uint32_t u = 0;
        std::memcpy(&u, &v, 4);
        return u32(u);
    }
    QvrBytes& floats(const std::vector<float>& values) {
        for (float v : values) {
            f32(v);
        }
        return *this;
    }
    QvrBytes& name(const std::string& text) {
        i32(static_cast<std::int32_t>(text.size()));
        return raw(text);
    }

    QvrBytes& header(std::int16_t major = 1, std::int16_t minor = 1) {
        return raw("QVR FILE").i16(major).i16(minor);
    }
    QvrBytes& chunk(std::int64_t id, std::int64_t parentId, std::uint32_t type) {
        return i64(id).i64(parentId).u32(type);
    }
    QvrBytes& end() { return chunk(0, 0, 0); }

    QvrBytes& transform(std::int64_t id, std::int64_t parentId, const std::string& nodeName = "",
                        std::uint8_t visible = 1) {
        chunk(id, parentId, 1).name(nodeName).u8(visible);
        floats({0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 1, 0, 0});
        return floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    }
    QvrBytes& shape(std::int64_t id, std::int64_t parentId, std::int64_t geometry,
                    std::int64_t material = 0, std::int64_t texture = 0, std::int64_t tfm = 0,
                    const std::string& nodeName = "") {
        return chunk(id, parentId, 2)
            .name(nodeName)
            .u8(1)
            .i64(material)
            .i64(texture)
            .i64(tfm)
            .i64(geometry);
    }
    QvrBytes& texture(std::int64_t id, const std::string& file, std::uint8_t solid = 1) {
        return chunk(id, 0, 3).name(file).u8(solid);
    }
    QvrBytes& textureTfm(std::int64_t id) {
        return chunk(id, 0, 4).floats({0.5f, 0.25f, 0.5f, 0.5f, 2, 2, 90});
    }
    QvrBytes& material(std::int64_t id, float red = 1.0f) {
        chunk(id, 0, 5);
        return floats({0.2f, 0.2f, 0.2f, 1, red, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 10});
    }
    // One triangle with a face normal and texture coordinates.
    QvrBytes& triangle(std::int64_t id, std::uint32_t badVertexIndex = 0) {
        chunk(id, 0, 6);
        i32(3).floats({0, 0, 1});
        i32(6).floats({0, 0, 1, 0, 0, 1});
        i32(3).u32(0).u32(1).u32(2);
        i32(9).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
        i32(3).u32(0).u32(1).u32(badVertexIndex != 0 ? badVertexIndex : 2);
        return u8(0);
    }
    // A model with one transform, one shape and its triangle.
    static QvrBytes model() {
        QvrBytes b;
        b.header().transform(1, 0, "root").shape(2, 1, 10).triangle(10).end();
        return b;
    }
    const std::uint8_t* data() const { return reinterpret_cast<const std::uint8_t*>(bytes.data()); }
};

// What the game's scene does with the texture manager: shapes get the
// textures' surfaces, and clearing a group releases it.
class TextureHooks : public SceneHooks {
public:
    explicit TextureHooks(TextureManager& textures) : m_textures(textures) {}
    ShapeTexture* findTexture(int group, std::uint32_t id) override {
        Texture* texture = m_textures.getTexture(group, id);
        return texture != nullptr ? &texture->surface() : nullptr;
    }
    void releaseContentGroup(int group) override { m_textures.releaseGroup(group); }

private:
    TextureManager& m_textures;
};
