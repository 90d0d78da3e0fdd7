#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "scene/scene_ids.h"

class Scene;
class TextureManager;

constexpr std::size_t SCENE_TEXT_STRING_SIZE = 256;

// Reads scene text files: lines of geometry, material, texture-transform and
// texture records, and a hierarchy of transform, shape and light nodes given
// by leading plus signs. Every problem is reported, shown at once, and the
// reader goes on with the next line; what was added stays in the scene.
class SceneTextReader {
public:
    static constexpr int MAX_DEPTH = 32;
    static constexpr int LINE_SIZE = 300;  // 299 characters and the terminator
    // The vertices all the primitives of one file may hold together: far
    // more than any real level needs, far less than a machine's memory.
    static constexpr std::int64_t VERTEX_BUDGET = 4000000;

    // textureQuality (1 to 4) is the filter quality of the textures the file
    // loads.
    SceneTextReader(Scene& scene, TextureManager& textures, unsigned textureQuality);

    // A null fileName does nothing. textureGroup (0 or 1) receives the textures.
    void loadSceneText(const char* fileName, int textureGroup);
    // Handles one lower-cased line (without its line end).
    void parseSceneLine(const char* line, int lineNumber, int textureGroup);

private:
    // What a file id names; each kind has ids of its own.
    enum class FileIdKind { Geometry, Material, Texture, TextureTfm };
    struct FileIdEntry {
        std::int32_t fileId;
        FileIdKind kind;
        std::uint32_t sceneId;
    };

    void parseGeometry(const char* line, int lineNumber);
    void parseMaterial(const char* line, int lineNumber);
    void parseTextureTransform(const char* line, int lineNumber);
    void parseTexture(const char* line, int lineNumber, int textureGroup);
    void parseNestedNode(const char* line, int lineNumber, int textureGroup);
    // Adds a transform under parent (0: top level); the NodeID, or 0.
    NodeID parseTransform(const char* text, int lineNumber, NodeID parent, bool nested);
    NodeID parseShape(const char* text, int lineNumber, NodeID parent, int textureGroup);
    // The material, texture and texture transform a shape line names.
    void applyShapeReferences(NodeID shapeId, const char* text, int lineNumber, int textureGroup);
    NodeID parseLight(const char* text, int lineNumber, NodeID parent);
    void rememberNode(int depth, NodeID id);

    // Reads a required file ID that must not be in the table yet; false (after
    // the message) when missing or taken.
    bool readNewFileId(const char* text, const char* keyword, FileIdKind kind, int lineNumber,
                       int& id);
    const FileIdEntry* findFileId(FileIdKind kind, std::int32_t fileId) const;

    Scene& m_scene;
    TextureManager& m_textures;
    unsigned m_textureQuality;
    std::vector<FileIdEntry> m_fileIdTable;
    std::vector<NodeID> m_nestingStack;
    std::string m_fileName;          // of the file being read; empty for single lines
    std::int64_t m_vertexCount = 0;  // held by the primitives the file has made so far
};
