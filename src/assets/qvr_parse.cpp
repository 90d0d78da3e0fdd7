// Reading the chunks of a QVR file image. Nothing a file claims is trusted:
// a count or a name length that is negative or larger than the bytes left
// fails the chunk before any allocation.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "assets/qvr_format.h"

namespace {

class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_left(size) {}

    std::size_t left() const { return m_left; }

    bool bytes(void* out, std::size_t count) {
        if (count > m_left) {
            return false;
        }
        if (count > 0) {
            std::memcpy(out, m_data, count);
        }
        m_data += count;
        m_left -= count;
        return true;
    }
    void skip(std::size_t count) {
        std::size_t n = count < m_left ? count : m_left;
        m_data += n;
        m_left -= n;
    }
    bool u8(std::uint8_t& out) { return bytes(&out, 1); }
    bool u32(std::uint32_t& out) {
        std::uint8_t b[4];
        if (!bytes(b, 4)) {
            return false;
        }
        out = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
              static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
        return true;
    }
    bool i32(std::int32_t& out) {
        std::uint32_t u = 0;
        if (!u32(u)) {
            return false;
        }
        out = static_cast<std::int32_t>(u);
        return true;
    }
    bool i16(std::int16_t& out) {
        std::uint8_t b[2];
        if (!bytes(b, 2)) {
            return false;
        }
        out = static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | b[1] << 8));
        return true;
    }
    bool i64(std::int64_t& out) {
        std::uint32_t low = 0, high = 0;
        if (!u32(low) || !u32(high)) {
            return false;
        }
        out = static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
        return true;
    }
    bool f32(float& out) {
        std::uint32_t u = 0;
        if (!u32(u)) {
            return false;
        }
        std::memcpy(&out, &u, sizeof out);
        return true;
    }
    bool floats(float* out, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            if (!f32(out[i])) {
                return false;
            }
        }
        return true;
    }
    bool vec3(Vector3& v) { return f32(v.x) && f32(v.y) && f32(v.z); }
    bool vec2(Vector2& v) { return f32(v.x) && f32(v.y); }

    // A length-prefixed name; 0 means none.
    bool name(std::string& out) {
        std::int32_t length = 0;
        if (!i32(length) || length < 0 || static_cast<std::size_t>(length) > m_left) {
            return false;
        }
        out.assign(reinterpret_cast<const char*>(m_data), static_cast<std::size_t>(length));
        skip(static_cast<std::size_t>(length));
        return true;
    }

    // A counted array of 4-byte items.
    template <typename T>
    bool array(std::vector<T>& out) {
        static_assert(sizeof(T) == 4, "QVR arrays hold 4-byte items");
        std::int32_t count = 0;
        if (!i32(count) || count < 0 || static_cast<std::size_t>(count) > m_left / 4) {
            return false;
        }
        out.resize(static_cast<std::size_t>(count));
        for (T& item : out) {
            std::uint32_t u = 0;
            u32(u);
            std::memcpy(&item, &u, sizeof item);
        }
        return true;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_left;
};

bool readBody(ByteCursor& in, QvrTransformRecord& r) {
    return in.name(r.name) && in.u8(r.visible) && in.vec3(r.translation) && in.vec3(r.centre) &&
           in.vec3(r.scale) && in.vec3(r.axis) && in.f32(r.angle) && in.floats(r.matrix, 16);
}

bool readBody(ByteCursor& in, QvrShapeRecord& r) {
    return in.name(r.name) && in.u8(r.visible) && in.i64(r.materialId) && in.i64(r.textureId) &&
           in.i64(r.textureTfmId) && in.i64(r.geometryId);
}

bool readBody(ByteCursor& in, QvrTextureRecord& r) {
    return in.name(r.fileName) && in.u8(r.solid);
}

bool readBody(ByteCursor& in, QvrTextureTfmRecord& r) {
    return in.vec2(r.translation) && in.vec2(r.centre) && in.vec2(r.scale) && in.f32(r.rotation);
}

bool readBody(ByteCursor& in, QvrMaterialRecord& r) {
    return in.floats(r.ambient, 4) && in.floats(r.diffuse, 4) && in.floats(r.specular, 4) &&
           in.floats(r.emission, 4) && in.f32(r.shininess);
}

bool readBody(ByteCursor& in, QvrGeometryRecord& r) {
    return in.array(r.normals) && in.array(r.texCoords) && in.array(r.texCoordIndices) &&
           in.array(r.vertices) && in.array(r.vertexIndices) && in.u8(r.perVertexNormals);
}

template <typename Record>
bool readChunk(ByteCursor& in, const QvrChunkHeader& header, std::vector<QvrChunk<Record>>& list) {
    QvrChunk<Record> chunk;
    chunk.id = header.id;
    chunk.parentId = header.parentId;
    if (!readBody(in, chunk.record)) {
        return false;
    }
    list.push_back(std::move(chunk));
    return true;
}

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* pattern, ...) {
    char text[1024];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

}  // namespace

std::string qvrFolder(const std::string& fileName) {
    std::size_t cut = fileName.rfind('\\');
    if (cut == std::string::npos) {
        cut = fileName.rfind('/');
    }
    return cut == std::string::npos ? std::string() : fileName.substr(0, cut + 1);
}

namespace {

// The magic and, for the current magic, the version; only 1.x is read.
bool readHeader(ByteCursor& in, const std::string& fileName, std::string& error) {
    char magic[QVR_MAGIC_SIZE];
    if (!in.bytes(magic, sizeof magic)) {
        error = format("Can not read QVR header in %s", fileName.c_str());
        return false;
    }
    std::int16_t major = QVR_MAJOR_VERSION;
    std::int16_t minor = QVR_MINOR_VERSION;
    if (std::memcmp(magic, QVR_MAGIC_OLD, QVR_MAGIC_SIZE) == 0) {
        in.skip(4);
    } else if (std::memcmp(magic, QVR_MAGIC, QVR_MAGIC_SIZE) == 0) {
        if (!in.i16(major) || !in.i16(minor)) {
            error = format("Can not read QVR header in %s", fileName.c_str());
            return false;
        }
    } else {
        error = format("%s is not a QVR file", fileName.c_str());
        return false;
    }
    if (major != QVR_MAJOR_VERSION) {
        error = format(
            "This loader only supports QVR files saved in version 1.x format.\n"
            "%s has been saved as version %d.%d",
            fileName.c_str(), major, minor);
        return false;
    }
    return true;
}

// Reads the body of one chunk into its list; false, with the reason in
// error, when the body is cut short.
bool readChunkBody(ByteCursor& in, const QvrChunkHeader& header, QvrContents& contents,
                   const std::string& fileName, std::string& error) {
    bool ok = true;
    const char* failure = nullptr;
    switch (header.type) {
        case CHUNK_TRANSFORM:
            ok = readChunk(in, header, contents.transforms);
            failure = "Error reading transform chunk";
            break;
        case CHUNK_SHAPE:
            ok = readChunk(in, header, contents.shapes);
            failure = "Error reading shape chunk";
            break;
        case CHUNK_TEXTURE:
            ok = readChunk(in, header, contents.textures);
            failure = "Error reading texture chunk";
            break;
        case CHUNK_TEXTURE_TFM:
            ok = readChunk(in, header, contents.textureTfms);
            failure = "Error reading texture transform chunk";
            break;
        case CHUNK_MATERIAL:
            ok = readChunk(in, header, contents.materials);
            failure = "Error reading material chunk";
            break;
        case CHUNK_GEOMETRY_COMPILED:
            ok = readChunk(in, header, contents.geometries);
            failure = "Error reading geometry compiled chunk";
            break;
        default:
            // Bodies carry no length, so an unknown chunk has nothing to
            // skip: the next bytes are the next chunk header.
            break;
    }
    if (!ok) {
        error = format("%s in %s", failure, fileName.c_str());
    }
    return ok;
}

}  // namespace

bool parseQvr(const std::uint8_t* data, std::size_t size, const std::string& fileName,
              QvrContents& contents, std::string& error) {
    contents = QvrContents();
    ByteCursor in(data, data != nullptr ? size : 0);
    if (!readHeader(in, fileName, error)) {
        return false;
    }
    for (;;) {
        QvrChunkHeader header;
        if (!in.i64(header.id) || !in.i64(header.parentId) || !in.u32(header.type)) {
            error = format("Error reading chunk header in %s", fileName.c_str());
            return false;
        }
        if (header.type == CHUNK_END) {
            return true;
        }
        if (!readChunkBody(in, header, contents, fileName, error)) {
            return false;
        }
    }
}

bool checkQvrGeometry(const QvrGeometryRecord& geometry, const std::string& fileName,
                      std::string& error) {
    const bool perVertex = geometry.perVertexNormals == 1;
    const bool textured = !geometry.texCoordIndices.empty();
    const std::size_t normals = geometry.normals.size() / 3;
    const std::size_t vertices = geometry.vertices.size() / 3;
    const std::size_t texCoords = geometry.texCoords.size() / 2;
    // Triangles as drawing counts them (from the normals) and as the vertex
    // indices give them must agree, so no corner reads past an array.
    const std::size_t normalTriangles = perVertex ? normals / 3 : normals;
    const std::size_t indexTriangles = geometry.vertexIndices.size() / 3;

    for (std::uint32_t index : geometry.vertexIndices) {
        if (index >= vertices) {
            error = format("Invalid vertex index in QVR file %s", fileName.c_str());
            return false;
        }
    }
    if (geometry.vertexIndices.size() % 3 != 0 || indexTriangles < normalTriangles) {
        error = format("Invalid vertex index in QVR file %s", fileName.c_str());
        return false;
    }
    if (indexTriangles > normalTriangles) {
        error = format("Invalid normal index in QVR file %s", fileName.c_str());
        return false;
    }
    if (textured) {
        for (std::uint32_t index : geometry.texCoordIndices) {
            if (index >= texCoords) {
                error = format("Invalid texture coordinate index in QVR file %s", fileName.c_str());
                return false;
            }
        }
        if (geometry.texCoordIndices.size() < 3 * indexTriangles) {
            error = format("Invalid texture coordinate index in QVR file %s", fileName.c_str());
            return false;
        }
    }
    return true;
}
