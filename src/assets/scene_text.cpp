// The scene text reader: the line loop, record dispatch and the resource
// records (geometry primitives, materials, texture transforms, textures).
#include "assets/scene_text.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "app/error_reporter.h"
#include "assets/scene_text_record.h"
#include "assets/texture_manager.h"
#include "scene/geometry_primitives.h"
#include "scene/material.h"
#include "scene/scene.h"

using namespace scene_text;

namespace scene_text {

void reportDuplicate(const char* keyword, int lineNumber) {
    reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "keyword {%s} found more than once on Line %d.",
                    keyword, lineNumber);
}

void reportOutOfRange(const char* keyword, int lineNumber) {
    reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                    "The number after {%s} on Line %d is out of range.", keyword, lineNumber);
}

const char* textFrom(const char* line, std::size_t offset) {
    std::size_t length = std::strlen(line);
    return line + (offset < length ? offset : length);
}

bool startsWith(const char* line, const char* keyword) {
    return std::strncmp(line, keyword, std::strlen(keyword)) == 0;
}

}  // namespace scene_text

SceneTextReader::SceneTextReader(Scene& scene, TextureManager& textures, unsigned textureQuality)
    : m_scene(scene), m_textures(textures), m_textureQuality(textureQuality) {}

namespace {

bool isControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7F;
}

// The line as a message may show it: control bytes as \xNN, and no more
// than a screenful.
std::string escapedForMessage(const char* line, std::size_t length) {
    constexpr std::size_t SHOWN = 80;
    std::string shown;
    for (std::size_t i = 0; i < length && i < SHOWN; ++i) {
        if (isControlByte(line[i])) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(line[i]));
            shown += escaped;
        } else {
            shown += line[i];
        }
    }
    if (length > SHOWN) {
        shown += "...";
    }
    return shown;
}

// Reads one line, without its line end, into line (LINE_SIZE bytes, always
// terminated). length counts every byte of the line, including those that
// did not fit; a NUL byte inside it is kept, for the caller to refuse as a
// control byte. False at the end of the file.
bool readLine(std::FILE* file, char* line, std::size_t& length) {
    length = 0;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(file)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (length < SceneTextReader::LINE_SIZE - 1) {
            line[length] = static_cast<char>(c);
        }
        ++length;
    }
    line[length < SceneTextReader::LINE_SIZE - 1 ? length : SceneTextReader::LINE_SIZE - 1] = '\0';
    return any;
}

}  // namespace

void SceneTextReader::loadSceneText(const char* fileName, int textureGroup) {
    if (fileName == nullptr) {
        return;
    }
    std::FILE* file = std::fopen(fileName, "rt");
    if (file == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Can not find file {%s}.", fileName);
        return;
    }
    m_fileIdTable.clear();
    m_nestingStack.clear();
    m_fileName = fileName;
    m_vertexCount = 0;

    char line[LINE_SIZE];
    std::size_t length = 0;
    int lineNumber = 0;
    while (readLine(file, line, length)) {
        ++lineNumber;
        // A line longer than the buffer is one error, not one record per
        // piece of it.
        if (length > LINE_SIZE - 1) {
            reportShowReset(
                RESET_NO_ERROR, ERROR_GENERAL,
                "Error on line %d of %s.\n   Line of text is longer than %d characters.",
                lineNumber, fileName, LINE_SIZE - 1);
            continue;
        }
        if (length > 0 && line[length - 1] == '\r') {
            line[--length] = '\0';
        }
        if (length < 2 || startsWith(line, "//")) {
            continue;
        }
        if (startsWith(line, "END")) {
            break;
        }
        if (length <= 7) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Error on line %d of %s.\n   Line of text is too short.", lineNumber,
                            fileName);
            continue;
        }
        const char* control = std::find_if(line, line + length, isControlByte);
        if (control != line + length) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                            "Error on line %d of %s.\n   Line holds a control character:\n%s",
                            lineNumber, fileName, escapedForMessage(line, length).c_str());
            continue;
        }
        char lowered[LINE_SIZE];
        for (std::size_t i = 0; i < length; ++i) {
            char c = line[i];
            lowered[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
        lowered[length] = '\0';
        parseSceneLine(lowered, lineNumber, textureGroup);
    }
    std::fclose(file);
    m_fileIdTable.clear();
    m_nestingStack.clear();
    m_fileName.clear();
}

void SceneTextReader::parseSceneLine(const char* line, int lineNumber, int textureGroup) {
    if (line == nullptr) {
        return;
    }
    if (startsWith(line, "box") || startsWith(line, "cyl") || startsWith(line, "grid") ||
        startsWith(line, "sphere")) {
        parseGeometry(line, lineNumber);
    } else if (startsWith(line, "material")) {
        parseMaterial(line, lineNumber);
    } else if (startsWith(line, "textfm")) {
        parseTextureTransform(line, lineNumber);
    } else if (startsWith(line, "texture")) {
        parseTexture(line, lineNumber, textureGroup);
    } else if (startsWith(line, "transform")) {
        NodeID id = parseTransform(textFrom(line, 10), lineNumber, 0, false);
        if (id != 0) {
            rememberNode(0, id);
        }
    } else if (startsWith(line, "shape")) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Shape node must be nested under a transform node on Line %d.", lineNumber);
    } else if (startsWith(line, "light")) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Light node must be nested under a transform node on Line %d.", lineNumber);
    } else if (line[0] == '+') {
        parseNestedNode(line, lineNumber, textureGroup);
    } else {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Unrecognized keyword on line %d:\n%s.",
                        lineNumber, line);
    }
}

const SceneTextReader::FileIdEntry* SceneTextReader::findFileId(FileIdKind kind,
                                                                std::int32_t fileId) const {
    for (const FileIdEntry& entry : m_fileIdTable) {
        if (entry.kind == kind && entry.fileId == fileId) {
            return &entry;
        }
    }
    return nullptr;
}

bool SceneTextReader::readNewFileId(const char* text, const char* keyword, FileIdKind kind,
                                    int lineNumber, int& id) {
    id = 0;
    const KeywordResult read = findKeywordValue(keyword, text, ValueType::Int, &id);
    if (read == KeywordResult::OutOfRange) {
        reportOutOfRange(keyword, lineNumber);
        return false;
    }
    if (read != KeywordResult::Found) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Did not find {%s} on Line %d.", keyword,
                        lineNumber);
        return false;
    }
    if (findFileId(kind, id) != nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "%s%d used more than once.  Error on line %d.", keyword, id, lineNumber);
        return false;
    }
    return true;
}

namespace {

// The primitive a geometry line describes, read from its fields. stopped:
// a field was given twice (its message is shown) and the line ends there.
// failure: the message for a primitive that could not be allocated.
struct PrimitiveRead {
    std::unique_ptr<Geometry> geometry;
    bool stopped = false;
    const char* failure = nullptr;
    std::int64_t vertices = 0;  // what the primitive will hold, counted before it is made
};

std::int64_t atLeast(int value, int lowest) {
    return value < lowest ? lowest : value;
}

// Fields are read in order and the first one given twice ends the line, so
// each read runs only while the ones before it went well.
PrimitiveRead readBox(const char* text, int line) {
    float width = 1.0f, depth = 1.0f, height = 1.0f;
    PrimitiveRead result;
    result.stopped = readOptional("wid_", text, ValueType::Float, width, line) == FieldRead::Stop ||
                     readOptional("dep_", text, ValueType::Float, depth, line) == FieldRead::Stop ||
                     readOptional("hei_", text, ValueType::Float, height, line) == FieldRead::Stop;
    result.vertices = 24;
    if (!result.stopped) {
        result.geometry.reset(new (std::nothrow) GeometryBox(width, depth, height));
    }
    result.failure = "Can not create a new Box Object.";
    return result;
}

PrimitiveRead readCylinder(const char* text, int line) {
    int sides = 20;
    float radius = 1.0f, height = 1.0f;
    bool smooth = true;
    PrimitiveRead result;
    result.stopped =
        readOptional("num_", text, ValueType::Int, sides, line) == FieldRead::Stop ||
        readOptional("rad_", text, ValueType::Float, radius, line) == FieldRead::Stop ||
        readFlag("smooth_", text, smooth, line) == FieldRead::Stop ||
        readOptional("hei_", text, ValueType::Float, height, line) == FieldRead::Stop;
    result.vertices = 4 * (std::min<std::int64_t>(atLeast(sides, 3), 20) + 1);
    if (!result.stopped) {
        result.geometry.reset(new (std::nothrow) GeometryCylinder(sides, radius, height, smooth));
    }
    result.failure = "Can not create a new Cylinder Object.";
    return result;
}

PrimitiveRead readFlatGrid(const char* text, int line) {
    float width = 1.0f, depth = 1.0f;
    int divX = 1, divZ = 1;
    PrimitiveRead result;
    result.stopped = readOptional("wid_", text, ValueType::Float, width, line) == FieldRead::Stop ||
                     readOptional("dep_", text, ValueType::Float, depth, line) == FieldRead::Stop ||
                     readOptional("divx_", text, ValueType::Int, divX, line) == FieldRead::Stop ||
                     readOptional("divz_", text, ValueType::Int, divZ, line) == FieldRead::Stop;
    result.vertices = (atLeast(divX, 1) + 1) * (atLeast(divZ, 1) + 1);
    if (!result.stopped && result.vertices <= SceneTextReader::VERTEX_BUDGET) {
        result.geometry.reset(new (std::nothrow) GeometryFlatGrid(width, depth, divX, divZ));
    }
    result.failure = "Can not create a new Flat Grid Object.";
    return result;
}

PrimitiveRead readSphere(const char* text, int line) {
    float radius = 1.0f;
    int numH = 15, numV = 15;
    PrimitiveRead result;
    result.stopped =
        readOptional("rad_", text, ValueType::Float, radius, line) == FieldRead::Stop ||
        readOptional("numH_", text, ValueType::Int, numH, line) == FieldRead::Stop ||
        readOptional("numV_", text, ValueType::Int, numV, line) == FieldRead::Stop;
    result.vertices = (atLeast(numH, 3) + 1) * atLeast(numV, 3);
    if (!result.stopped && result.vertices <= SceneTextReader::VERTEX_BUDGET) {
        result.geometry.reset(new (std::nothrow) GeometrySphere(radius, numH, numV));
    }
    result.failure = "Can not create a new Sphere Object.";
    return result;
}

}  // namespace

void SceneTextReader::parseGeometry(const char* line, int lineNumber) {
    const bool grid = startsWith(line, "grid");
    const char* text = textFrom(line, grid ? 5 : 4);
    int geoId = 0;
    if (!readNewFileId(text, "geoid_", FileIdKind::Geometry, lineNumber, geoId)) {
        return;
    }
    PrimitiveRead primitive = startsWith(line, "box")   ? readBox(text, lineNumber)
                              : startsWith(line, "cyl") ? readCylinder(text, lineNumber)
                              : grid                    ? readFlatGrid(text, lineNumber)
                                                        : readSphere(text, lineNumber);
    // The name is read after the primitive's own fields, and from a fixed column.
    TextValue name;
    if (primitive.stopped || readOptional("name_", textFrom(line, 8), ValueType::String, name,
                                          lineNumber) == FieldRead::Stop) {
        return;
    }
    // The budget is for the whole file: many large shapes cost as much as
    // one huge one.
    if (primitive.vertices > VERTEX_BUDGET - m_vertexCount) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Error on line %d of %s.\n   The shapes of this file need more than %d "
                        "vertices.",
                        lineNumber, m_fileName.empty() ? "scene text" : m_fileName.c_str(),
                        static_cast<int>(VERTEX_BUDGET));
        return;
    }
    if (!primitive.geometry) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "%s", primitive.failure);
        return;
    }
    m_vertexCount += primitive.vertices;
    primitive.geometry->setName(name.s);
    std::uint32_t sceneId = m_scene.addGeometry(primitive.geometry.release());
    if (sceneId == 0) {
        showAndReset(RESET_NO_ERROR);
        return;
    }
    m_fileIdTable.push_back({geoId, FileIdKind::Geometry, sceneId});
}

void SceneTextReader::parseMaterial(const char* line, int lineNumber) {
    const char* text = textFrom(line, 9);
    int matId = 0;
    if (!readNewFileId(text, "matid_", FileIdKind::Material, lineNumber, matId)) {
        return;
    }
    std::unique_ptr<Material> material(new (std::nothrow) Material);
    if (!material) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create a new Material.");
        return;
    }
    struct ColourField {
        const char* keyword;
        Color4* target;
    };
    const ColourField colours[] = {{"amb_", &material->m_cAmbient},
                                   {"dif_", &material->m_cDiffuse},
                                   {"spec_", &material->m_cSpecular},
                                   {"emiss_", &material->m_cEmissive}};
    for (const ColourField& field : colours) {
        ColourValue colour;
        FieldRead result = readOptional(field.keyword, text, ValueType::Vec4, colour, lineNumber);
        if (result == FieldRead::Stop) {
            return;
        }
        if (result == FieldRead::Taken) {
            *field.target = Color4(colour.v[0], colour.v[1], colour.v[2], colour.v[3]);
        }
    }
    if (readOptional("shine_", text, ValueType::Float, material->m_fShininess, lineNumber) ==
        FieldRead::Stop) {
        return;
    }
    MaterialID sceneId = m_scene.addMaterial(material.release());
    if (sceneId == 0) {
        showAndReset(RESET_NO_ERROR);
        return;
    }
    m_fileIdTable.push_back({matId, FileIdKind::Material, sceneId});
}

void SceneTextReader::parseTextureTransform(const char* line, int lineNumber) {
    const char* text = textFrom(line, 7);
    int tfmId = 0;
    if (!readNewFileId(text, "textfmid_", FileIdKind::TextureTfm, lineNumber, tfmId)) {
        return;
    }
    std::unique_ptr<TextureTransform> transform(new (std::nothrow) TextureTransform);
    if (!transform) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create a new Texture Transform.");
        return;
    }
    if (readOptional("scale_", text, ValueType::Vec2, transform->m_vScale, lineNumber) ==
            FieldRead::Stop ||
        readOptional("rot_", text, ValueType::Float, transform->m_fRotation, lineNumber) ==
            FieldRead::Stop ||
        readOptional("cent_", text, ValueType::Vec2, transform->m_vCentre, lineNumber) ==
            FieldRead::Stop ||
        readOptional("trans_", text, ValueType::Vec2, transform->m_vTranslation, lineNumber) ==
            FieldRead::Stop) {
        return;
    }
    std::uint32_t sceneId = m_scene.addTextureTransform(transform.release());
    if (sceneId == 0) {
        showAndReset(RESET_NO_ERROR);
        return;
    }
    m_fileIdTable.push_back({tfmId, FileIdKind::TextureTfm, sceneId});
}

void SceneTextReader::parseTexture(const char* line, int lineNumber, int textureGroup) {
    const char* text = textFrom(line, 8);
    int texId = 0;
    if (!readNewFileId(text, "texid_", FileIdKind::Texture, lineNumber, texId)) {
        return;
    }
    TextValue file;
    if (findKeywordValue("file_", text, ValueType::String, file.s) != KeywordResult::Found) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Filename missing for texture node on Line %d.", lineNumber);
        return;
    }
    bool mipmap = true;
    bool solid = true;
    if (readFlag("mip_", text, mipmap, lineNumber) == FieldRead::Stop ||
        readFlag("solid_", text, solid, lineNumber) == FieldRead::Stop) {
        return;
    }
    TextureID id = m_textures.loadTexture(textureGroup, mipmap, m_textureQuality,
                                          static_cast<std::uint8_t>(solid ? 1 : 0), file.s);
    // Kept even when loading failed (id 0): shapes naming it then get no texture.
    m_fileIdTable.push_back({texId, FileIdKind::Texture, id.id});
}
