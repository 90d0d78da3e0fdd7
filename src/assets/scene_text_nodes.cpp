// The node records of the scene text reader: transforms at any depth, and
// shapes and lights nested under them.
#include <cstring>
#include <memory>
#include <new>

#include "app/error_reporter.h"
#include "assets/scene_text.h"
#include "assets/scene_text_record.h"
#include "scene/light.h"
#include "scene/node.h"
#include "scene/node_shape.h"
#include "scene/scene.h"

using namespace scene_text;

void SceneTextReader::rememberNode(int depth, NodeID id) {
    if (static_cast<std::size_t>(depth) >= m_nestingStack.size()) {
        m_nestingStack.push_back(id);
    } else {
        m_nestingStack[static_cast<std::size_t>(depth)] = id;
    }
}

void SceneTextReader::parseNestedNode(const char* line, int lineNumber, int textureGroup) {
    int depth = 0;
    while (line[depth] == '+') {
        ++depth;
    }
    if (depth > MAX_DEPTH) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Node on line %d is nested too deep.  Maximum is 32.", lineNumber);
        return;
    }
    if (static_cast<std::size_t>(depth) > m_nestingStack.size()) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL,
                        "Invalid nesting of node on line %d.  Missing node at previous depth.",
                        lineNumber);
        return;
    }
    const char* record = line + depth;
    const NodeID parent = m_nestingStack[static_cast<std::size_t>(depth) - 1];
    NodeID id = 0;
    if (startsWith(record, "transform")) {
        id = parseTransform(textFrom(record, 10), lineNumber, parent, true);
    } else if (startsWith(record, "shape")) {
        id = parseShape(textFrom(record, 6), lineNumber, parent, textureGroup);
    } else if (startsWith(record, "light")) {
        id = parseLight(textFrom(record, 6), lineNumber, parent);
    } else {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Unrecognized keyword on line %d:\n%s.",
                        lineNumber, line);
        return;
    }
    if (id != 0) {
        rememberNode(depth, id);
    }
}

NodeID SceneTextReader::parseTransform(const char* text, int lineNumber, NodeID parent,
                                       bool nested) {
    std::unique_ptr<NodeTransform> node(new (std::nothrow) NodeTransform);
    if (!node) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY,
                        nested ? "Can not create a new nested Transform Node."
                               : "Can not create a new Transform Node.");
        return 0;
    }
    TextValue name;
    bool visible = node->isVisible();
    Vector3 axis = node->axis();
    FieldRead nameRead = readOptional("name_", text, ValueType::String, name, lineNumber);
    if (nameRead == FieldRead::Stop ||
        readFlag("vis_", text, visible, lineNumber) == FieldRead::Stop ||
        readOptional("trans_", text, ValueType::Vec3, node->m_vTranslation, lineNumber) ==
            FieldRead::Stop ||
        readOptional("cent_", text, ValueType::Vec3, node->m_vCentre, lineNumber) ==
            FieldRead::Stop ||
        readOptional("scale_", text, ValueType::Vec3, node->m_vScale, lineNumber) ==
            FieldRead::Stop) {
        return 0;
    }
    FieldRead axisRead = readOptional("axis_", text, ValueType::Vec3, axis, lineNumber);
    if (axisRead == FieldRead::Stop ||
        readOptional("angle_", text, ValueType::Float, node->m_fAngle, lineNumber) ==
            FieldRead::Stop) {
        return 0;
    }
    if (nameRead == FieldRead::Taken) {
        node->setName(name.s);
    }
    node->setVisible(visible);
    if (axisRead == FieldRead::Taken) {
        node->setAxis(axis);
    }
    NodeID id = m_scene.addNode(node.release(), parent);
    if (id == 0) {
        showAndReset(RESET_NO_ERROR);
    }
    return id;
}

NodeID SceneTextReader::parseShape(const char* text, int lineNumber, NodeID parent,
                                   int textureGroup) {
    int geoId = 0;
    const KeywordResult geoRead = findKeywordValue("geoid_", text, ValueType::Int, &geoId);
    if (geoRead == KeywordResult::OutOfRange) {
        reportOutOfRange("geoid_", lineNumber);
        return 0;
    }
    if (geoRead != KeywordResult::Found) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Did not find {%s} on Line %d.", "geoid_",
                        lineNumber);
        return 0;
    }
    const FileIdEntry* entry = findFileId(FileIdKind::Geometry, geoId);
    Geometry* geometry = entry != nullptr ? m_scene.geometry(entry->sceneId) : nullptr;
    if (geometry == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Error on line %d. geoID_%d not found.",
                        lineNumber, geoId);
        return 0;
    }
    auto* shape = new (std::nothrow) NodeShape(geometry);
    if (shape == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create a new Shape Node Object.");
        return 0;
    }
    const NodeID id = m_scene.addNode(shape, parent);
    if (id == 0) {
        showAndReset(RESET_NO_ERROR);
        return 0;
    }
    // From here on the node belongs to the scene: a bad field ends the line
    // but keeps the node with what was read so far.
    TextValue name;
    FieldRead nameRead = readOptional("name_", text, ValueType::String, name, lineNumber);
    if (nameRead == FieldRead::Stop) {
        return id;
    }
    if (nameRead == FieldRead::Taken) {
        shape->setName(name.s);
    }
    applyShapeReferences(id, text, lineNumber, textureGroup);
    return id;
}

void SceneTextReader::applyShapeReferences(NodeID shapeId, const char* text, int lineNumber,
                                           int textureGroup) {
    struct Reference {
        const char* keyword;
        FileIdKind kind;
    };
    const Reference references[] = {{"matid_", FileIdKind::Material},
                                    {"texid_", FileIdKind::Texture},
                                    {"textfmid_", FileIdKind::TextureTfm}};
    for (const Reference& reference : references) {
        int fileId = 0;
        FieldRead read = readOptional(reference.keyword, text, ValueType::Int, fileId, lineNumber);
        if (read == FieldRead::Stop) {
            return;
        }
        if (read != FieldRead::Taken) {
            continue;
        }
        const FileIdEntry* target = findFileId(reference.kind, fileId);
        if (target == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s%d on Line %d is invalid.",
                            reference.keyword, fileId, lineNumber);
            continue;
        }
        bool applied = true;
        if (reference.kind == FileIdKind::Material) {
            applied = m_scene.setShapeMaterial(shapeId, target->sceneId);
        } else if (reference.kind == FileIdKind::Texture) {
            // A texture that failed to load leaves the shape untextured, silently.
            if (target->sceneId != 0) {
                applied = m_scene.setShapeTexture(shapeId, textureGroup, target->sceneId);
            }
        } else {
            applied = m_scene.setShapeTextureTfm(shapeId, target->sceneId);
        }
        if (!applied) {
            showAndReset(RESET_NO_ERROR);
        }
    }
}

namespace {

// The light of a "type_" value; false (after the message) for an unknown
// type or a failed allocation.
bool createLight(const char* type, int lineNumber, LightType& kind, std::unique_ptr<Light>& light) {
    if (std::strcmp(type, "point") == 0) {
        kind = LIGHT_POINT;
        light.reset(new (std::nothrow) LightPoint);
    } else if (std::strcmp(type, "dir") == 0) {
        kind = LIGHT_DIRECTIONAL;
        light.reset(new (std::nothrow) LightDirectional);
    } else if (std::strcmp(type, "spot") == 0) {
        kind = LIGHT_SPOT;
        light.reset(new (std::nothrow) LightSpot);
    } else {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "{%s} is an invalid light type on Line %d.",
                        type, lineNumber);
        return false;
    }
    if (!light) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY,
                        kind == LIGHT_POINT         ? "Can not create a new point light."
                        : kind == LIGHT_DIRECTIONAL ? "Can not create a new directional light."
                                                    : "Can not create a new spot light.");
        return false;
    }
    return true;
}

// Hands each field that is present to the light's setter, in the order the
// format gives them; false when a field was given twice (the line ends).
class LightFields {
public:
    LightFields(Light& light, const char* text, int lineNumber)
        : m_light(light), m_text(text), m_lineNumber(lineNumber) {}

    bool read(LightType kind) {
        if (!readGeometryOf(kind)) {
            return false;
        }
        bool on = m_light.isOn();
        FieldRead onRead = readFlag("on_", m_text, on, m_lineNumber);
        if (onRead == FieldRead::Stop ||
            !colour("amb_",
                    [](Light& l, const float* c) { l.setAmbient(c[0], c[1], c[2], c[3]); }) ||
            !colour("dif_",
                    [](Light& l, const float* c) { l.setDiffuse(c[0], c[1], c[2], c[3]); }) ||
            !colour("spec_",
                    [](Light& l, const float* c) { l.setSpecular(c[0], c[1], c[2], c[3]); })) {
            return false;
        }
        if (onRead == FieldRead::Taken) {
            m_light.setOn(on);
        }
        return true;
    }

private:
    // Where the light is and where it points: what each type has of them.
    bool readGeometryOf(LightType kind) {
        auto attenuation = [](Light& l, const Vector3& v) { l.setAttenuation(v.x, v.y, v.z); };
        auto position = [](Light& l, const Vector3& v) { l.setPosition(v.x, v.y, v.z); };
        auto direction = [](Light& l, const Vector3& v) { l.setDirection(v.x, v.y, v.z); };
        switch (kind) {
            case LIGHT_POINT:
                return vector("atten_", attenuation) && vector("pos_", position);
            case LIGHT_DIRECTIONAL:
                return vector("dir_", direction);
            case LIGHT_SPOT:
                return vector("atten_", attenuation) && vector("pos_", position) &&
                       vector("dir_", direction) &&
                       number("cut_", [](Light& l, float f) { l.setSpotCutoff(f); }) &&
                       number("exp_", [](Light& l, float f) { l.setSpotExponent(f); });
        }
        return false;
    }

    template <typename Value, typename Apply>
    bool field(const char* keyword, ValueType type, Apply apply) {
        Value value{};
        FieldRead read = readOptional(keyword, m_text, type, value, m_lineNumber);
        if (read == FieldRead::Taken) {
            apply(value);
        }
        return read != FieldRead::Stop;
    }
    bool vector(const char* keyword, void (*apply)(Light&, const Vector3&)) {
        return field<Vector3>(keyword, ValueType::Vec3,
                              [&](const Vector3& v) { apply(m_light, v); });
    }
    bool number(const char* keyword, void (*apply)(Light&, float)) {
        return field<float>(keyword, ValueType::Float, [&](float f) { apply(m_light, f); });
    }
    bool colour(const char* keyword, void (*apply)(Light&, const float*)) {
        return field<ColourValue>(keyword, ValueType::Vec4,
                                  [&](const ColourValue& c) { apply(m_light, c.v); });
    }

    Light& m_light;
    const char* m_text;
    int m_lineNumber;
};

}  // namespace

NodeID SceneTextReader::parseLight(const char* text, int lineNumber, NodeID parent) {
    TextValue type;
    if (findKeywordValue("type_", text, ValueType::String, type.s) != KeywordResult::Found) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Did not find {%s} on Line %d.", "type_",
                        lineNumber);
        return 0;
    }
    LightType kind = LIGHT_POINT;
    std::unique_ptr<Light> light;
    if (!createLight(type.s, lineNumber, kind, light) ||
        !LightFields(*light, text, lineNumber).read(kind)) {
        return 0;
    }

    int lightId = m_scene.addLight(light.release());
    if (lightId < 0) {
        showAndReset(RESET_NO_ERROR);
        return 0;
    }
    auto* node = new (std::nothrow) NodeLight(m_scene.light(lightId));
    if (node == nullptr) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create a new Light Node.");
        return 0;
    }
    const NodeID id = m_scene.addNode(node, parent);
    if (id == 0) {
        showAndReset(RESET_NO_ERROR);
        return 0;
    }
    TextValue name;
    if (readOptional("name_", text, ValueType::String, name, lineNumber) == FieldRead::Taken) {
        node->setName(name.s);
    }
    return id;
}
