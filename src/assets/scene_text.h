#pragma once
#include <cstdint>
#include <vector>

#include "scene/scene.h"

class TextureManager;

// Results of findKeywordValue.
enum KeywordResult : int {
    FOUND = 0,
    DUPLICATE = 1,
    MISSING = 2,
    INVALID = 3,
};

// How a field value is converted, and what out points to for each type:
// a char[256] for strings, int, float, Vector2, Vector3, and float[4] for
// colours (red, green, blue, alpha).
enum ValueType : int {
    VALUE_STRING = 0,
    VALUE_INT = 1,
    VALUE_FLOAT = 2,
    VALUE_VEC2 = 3,
    VALUE_VEC3 = 4,
    VALUE_VEC4 = 5,
};

constexpr std::size_t SCENE_TEXT_STRING_SIZE = 256;

// Looks for keyword (matched without regard to case) in text and converts
// the value that follows it. DUPLICATE means the value was converted but the
// keyword appears again after it.
KeywordResult findKeywordValue(const char* keyword, const char* text, ValueType valueType,
                               void* out);

// Reads scene text files: lines of geometry, material, texture-transform and
// texture records, and a hierarchy of transform, shape and light nodes given
// by leading plus signs. Every problem is reported, shown at once, and the
// reader goes on with the next line; what was added stays in the scene.
class SceneTextReader {
public:
    enum FileIdKind : int {
        KIND_GEOMETRY = 0,
        KIND_MATERIAL = 1,
        KIND_TEXTURE = 2,
        KIND_TEXTURE_TFM = 3,
    };
    static constexpr int MAX_DEPTH = 32;
    static constexpr int LINE_SIZE = 300;  // 299 characters and the terminator

    // textureQuality (1 to 4) is the filter quality of the textures the file
    // loads.
    SceneTextReader(Scene& scene, TextureManager& textures, unsigned textureQuality);

    // A null fileName does nothing. textureGroup (0 or 1) receives the textures.
    void loadSceneText(const char* fileName, int textureGroup);
    // Handles one lower-cased line (without its line end).
    void parseSceneLine(const char* line, int lineNumber, int textureGroup);

private:
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
};
