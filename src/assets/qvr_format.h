#pragma once
// PRIVATE HEADER: only src/assets (and its tests, tools and benchmarks) include this.
// The QVR model file: a 12-byte header and a flat list of chunks, each a
// 20-byte chunk header (id, parent id, type) followed by a fixed body. All
// values little-endian; IDs only link chunks to each other.
#include <cstdint>
#include <string>
#include <vector>

#include "scene/vector.h"

constexpr char QVR_MAGIC[] = "QVR FILE";
// Accepted too; its version fields are skipped and it counts as 1.1.
constexpr char QVR_MAGIC_OLD[] = "QVR File";
constexpr std::size_t QVR_MAGIC_SIZE = 8;
constexpr std::size_t QVR_HEADER_SIZE = 12;
constexpr std::size_t QVR_CHUNK_HEADER_SIZE = 20;
constexpr std::int16_t QVR_MAJOR_VERSION = 1;
constexpr std::int16_t QVR_MINOR_VERSION = 1;

enum QvrChunkType : std::uint32_t {
    CHUNK_END = 0,
    CHUNK_TRANSFORM = 1,
    CHUNK_SHAPE = 2,
    CHUNK_TEXTURE = 3,
    CHUNK_TEXTURE_TFM = 4,
    CHUNK_MATERIAL = 5,
    CHUNK_GEOMETRY_COMPILED = 6,
};

struct QvrChunkHeader {
    std::int64_t id = 0;
    std::int64_t parentId = 0;
    std::uint32_t type = CHUNK_END;
};

struct QvrTransformRecord {
    std::string name;  // empty: no name
    std::uint8_t visible = 1;
    Vector3 translation;
    Vector3 centre;
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Vector3 axis{0.0f, 0.0f, 1.0f};
    float angle = 0.0f;
    float matrix[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

struct QvrShapeRecord {
    std::string name;
    std::uint8_t visible = 1;
    std::int64_t materialId = 0;
    std::int64_t textureId = 0;
    std::int64_t textureTfmId = 0;
    std::int64_t geometryId = 0;
};

struct QvrTextureRecord {
    std::string fileName;  // relative to the model file's folder
    std::uint8_t solid = 1;
};

struct QvrTextureTfmRecord {
    Vector2 translation;
    Vector2 centre;
    Vector2 scale{1.0f, 1.0f};
    float rotation = 0.0f;
};

struct QvrMaterialRecord {
    float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float shininess = 0.0f;
};

// Counts in the file count 4-byte items: 3 floats per normal or vertex, 2
// per texture coordinate pair, 3 indices per triangle.
struct QvrGeometryRecord {
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<std::uint32_t> texCoordIndices;
    std::vector<float> vertices;
    std::vector<std::uint32_t> vertexIndices;
    std::uint8_t perVertexNormals = 0;
};

// A chunk body with the ids of its chunk header.
template <typename Record>
struct QvrChunk {
    std::int64_t id = 0;
    std::int64_t parentId = 0;
    Record record;
};

// Everything one file holds, each chunk type in file order.
struct QvrContents {
    std::vector<QvrChunk<QvrTransformRecord>> transforms;
    std::vector<QvrChunk<QvrShapeRecord>> shapes;
    std::vector<QvrChunk<QvrTextureRecord>> textures;
    std::vector<QvrChunk<QvrTextureTfmRecord>> textureTfms;
    std::vector<QvrChunk<QvrMaterialRecord>> materials;
    std::vector<QvrChunk<QvrGeometryRecord>> geometries;
};

// Reads a whole file image. A false return leaves the reason in error (the
// message the loader reports); fileName only appears in messages. Counts and
// name lengths are checked against what the data can still hold before
// anything is allocated.
bool parseQvr(const std::uint8_t* data, std::size_t size, const std::string& fileName,
              QvrContents& contents, std::string& error);

// Checks every index of a geometry against its array: false, with the
// reason in error, when a triangle would read outside one.
bool checkQvrGeometry(const QvrGeometryRecord& geometry, const std::string& fileName,
                      std::string& error);

// The folder part of a model file name (up to and including its last
// backslash, else its last slash), where its texture names start from.
std::string qvrFolder(const std::string& fileName);
