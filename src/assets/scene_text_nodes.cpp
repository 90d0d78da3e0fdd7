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

using namespace scene_text;

namespace {

bool startsWith(const char* text, const char* keyword) {
    return std::strncmp(text, keyword, std::strlen(keyword)) == 0;
}

}  // namespace

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
    FieldRead nameRead = readOptional("name_", text, VALUE_STRING, name, lineNumber);
    if (nameRead == FieldRead::STOP ||
        readFlag("vis_", text, visible, lineNumber) == FieldRead::STOP ||
        readOptional("trans_", text, VALUE_VEC3, node->m_vTranslation, lineNumber) ==
            FieldRead::STOP ||
        readOptional("cent_", text, VALUE_VEC3, node->m_vCentre, lineNumber) == FieldRead::STOP ||
        readOptional("scale_", text, VALUE_VEC3, node->m_vScale, lineNumber) == FieldRead::STOP) {
        return 0;
    }
    FieldRead axisRead = readOptional("axis_", text, VALUE_VEC3, axis, lineNumber);
    if (axisRead == FieldRead::STOP ||
        readOptional("angle_", text, VALUE_FLOAT, node->m_fAngle, lineNumber) == FieldRead::STOP) {
        return 0;
    }
    if (nameRead == FieldRead::TAKEN) {
        node->setName(name.s);
    }
    node->setVisible(visible);
    if (axisRead == FieldRead::TAKEN) {
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
    if (findKeywordValue("geoid_", text, VALUE_INT, &geoId) != FOUND) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Did not find {%s} on Line %d.", "geoid_",
                        lineNumber);
        return 0;
    }
    const FileIdEntry* entry = findFileId(KIND_GEOMETRY, geoId);
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
    FieldRead nameRead = readOptional("name_", text, VALUE_STRING, name, lineNumber);
    if (nameRead == FieldRead::STOP) {
        return id;
    }
    if (nameRead == FieldRead::TAKEN) {
        shape->setName(name.s);
    }

    struct Reference {
        const char* keyword;
        FileIdKind kind;
    };
    const Reference references[] = {
        {"matid_", KIND_MATERIAL}, {"texid_", KIND_TEXTURE}, {"textfmid_", KIND_TEXTURE_TFM}};
    for (const Reference& reference : references) {
        int fileId = 0;
        FieldRead read = readOptional(reference.keyword, text, VALUE_INT, fileId, lineNumber);
        if (read == FieldRead::STOP) {
            return id;
        }
        if (read != FieldRead::TAKEN) {
            continue;
        }
        const FileIdEntry* target = findFileId(reference.kind, fileId);
        if (target == nullptr) {
            reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s%d on Line %d is invalid.",
                            reference.keyword, fileId, lineNumber);
            continue;
        }
        bool applied = true;
        if (reference.kind == KIND_MATERIAL) {
            applied = m_scene.setShapeMaterial(id, target->sceneId);
        } else if (reference.kind == KIND_TEXTURE) {
            // A texture that failed to load leaves the shape untextured, silently.
            if (target->sceneId != 0) {
                applied = m_scene.setShapeTexture(id, textureGroup, target->sceneId);
            }
        } else {
            applied = m_scene.setShapeTextureTfm(id, target->sceneId);
        }
        if (!applied) {
            showAndReset(RESET_NO_ERROR);
        }
    }
    return id;
}

NodeID SceneTextReader::parseLight(const char* text, int lineNumber, NodeID parent) {
    TextValue type;
    if (findKeywordValue("type_", text, VALUE_STRING, type.s) != FOUND) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Did not find {%s} on Line %d.", "type_",
                        lineNumber);
        return 0;
    }
    std::unique_ptr<Light> light;
    const bool point = std::strcmp(type.s, "point") == 0;
    const bool directional = std::strcmp(type.s, "dir") == 0;
    const bool spot = std::strcmp(type.s, "spot") == 0;
    if (point) {
        light.reset(new (std::nothrow) LightPoint);
    } else if (directional) {
        light.reset(new (std::nothrow) LightDirectional);
    } else if (spot) {
        light.reset(new (std::nothrow) LightSpot);
    } else {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "{%s} is an invalid light type on Line %d.",
                        type.s, lineNumber);
        return 0;
    }
    if (!light) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY,
                        point         ? "Can not create a new point light."
                        : directional ? "Can not create a new directional light."
                                      : "Can not create a new spot light.");
        return 0;
    }

    auto vector = [&](const char* keyword, void (*apply)(Light&, const Vector3&)) {
        Vector3 value;
        FieldRead read = readOptional(keyword, text, VALUE_VEC3, value, lineNumber);
        if (read == FieldRead::TAKEN) {
            apply(*light, value);
        }
        return read != FieldRead::STOP;
    };
    auto number = [&](const char* keyword, void (*apply)(Light&, float)) {
        float value = 0.0f;
        FieldRead read = readOptional(keyword, text, VALUE_FLOAT, value, lineNumber);
        if (read == FieldRead::TAKEN) {
            apply(*light, value);
        }
        return read != FieldRead::STOP;
    };
    auto colour = [&](const char* keyword, void (*apply)(Light&, const float*)) {
        ColourValue value;
        FieldRead read = readOptional(keyword, text, VALUE_VEC4, value, lineNumber);
        if (read == FieldRead::TAKEN) {
            apply(*light, value.v);
        }
        return read != FieldRead::STOP;
    };
    auto attenuation = [](Light& l, const Vector3& v) { l.setAttenuation(v.x, v.y, v.z); };
    auto position = [](Light& l, const Vector3& v) { l.setPosition(v.x, v.y, v.z); };
    auto direction = [](Light& l, const Vector3& v) { l.setDirection(v.x, v.y, v.z); };

    bool fieldsRead = true;
    if (point) {
        fieldsRead = vector("atten_", attenuation) && vector("pos_", position);
    } else if (directional) {
        fieldsRead = vector("dir_", direction);
    } else {
        fieldsRead = vector("atten_", attenuation) && vector("pos_", position) &&
                     vector("dir_", direction) &&
                     number("cut_", [](Light& l, float f) { l.setSpotCutoff(f); }) &&
                     number("exp_", [](Light& l, float f) { l.setSpotExponent(f); });
    }
    bool on = light->isOn();
    FieldRead onRead = fieldsRead ? readFlag("on_", text, on, lineNumber) : FieldRead::STOP;
    if (onRead == FieldRead::STOP ||
        !colour("amb_", [](Light& l, const float* c) { l.setAmbient(c[0], c[1], c[2], c[3]); }) ||
        !colour("dif_", [](Light& l, const float* c) { l.setDiffuse(c[0], c[1], c[2], c[3]); }) ||
        !colour("spec_", [](Light& l, const float* c) { l.setSpecular(c[0], c[1], c[2], c[3]); })) {
        return 0;
    }
    if (onRead == FieldRead::TAKEN) {
        light->setOn(on);
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
    if (readOptional("name_", text, VALUE_STRING, name, lineNumber) == FieldRead::TAKEN) {
        node->setName(name.s);
    }
    return id;
}
