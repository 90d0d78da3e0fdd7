#include "scene/scene.h"

#include "app/error_reporter.h"
#include "scene/geometry.h"
#include "scene/light.h"
#include "scene/material.h"
#include "scene/node.h"
#include "scene/scene_cull.h"
#include "scene/scene_report.h"

namespace {

constexpr unsigned MAX_COPIES = 99;

template <typename T>
T* entry(const std::vector<std::unique_ptr<T>>& list, std::uint32_t id) {
    return id >= 1 && id <= list.size() ? list[id - 1].get() : nullptr;
}

Node* copyOf(const Node& source) {
    if (source.isShape()) {
        return new NodeShape(static_cast<const NodeShape&>(source));
    }
    if (source.isTransform()) {
        return new NodeTransform(static_cast<const NodeTransform&>(source));
    }
    return nullptr;
}

}  // namespace

Scene::Scene() : m_pCuller(std::make_unique<RootCuller>()) {}

Scene::~Scene() {
    clearScene(0);
    clearScene(1);
}

Node* Scene::node(NodeID id) const {
    return entry(m_vpNodes, id);
}
Geometry* Scene::geometry(std::uint32_t id) const {
    return entry(m_vpGeometries, id);
}
Material* Scene::material(MaterialID id) const {
    return entry(m_vpMaterials, id);
}
TextureTransform* Scene::textureTransform(std::uint32_t id) const {
    return entry(m_vpTextureTfms, id);
}
Light* Scene::light(int id) const {
    return id >= 0 && static_cast<std::size_t>(id) < m_vpLights.size() ? m_vpLights[id].get()
                                                                       : nullptr;
}

NodeID Scene::rejectNode(Node* node, NodeID parentID, const char* reason) {
    delete node;
    reportError(ERROR_GAME, "Can not add this Node under NodeID=%u.\nNodeID=%u %s", parentID,
                parentID, reason);
    return 0;
}

NodeID Scene::addNode(Node* node, NodeID parentID) {
    if (!node) {
        reportError(ERROR_GAME, "Can not add Node to scene");
        return 0;
    }
    if (parentID > m_vpNodes.size()) {
        return rejectNode(node, parentID, "does not exist.");
    }
    if (parentID == 0) {
        if (!node->isTransform()) {
            delete node;
            reportError(ERROR_GAME,
                        "Can not add this Node to root.  Only\n"
                        "Transform nodes are allowed in the root.");
            return 0;
        }
        if (!m_vpNodes.empty()) {
            if (!m_vpNodes[0]) {
                delete node;
                reportError(ERROR_GAME,
                            "Can not add this Node to root.\nm_vpNodes[0] is an invalid node");
                return 0;
            }
            // The tail is where the last root-level add left it; a chain
            // extended some other way is followed on from there.
            Node* tail = m_pRootTail != nullptr ? m_pRootTail : m_vpNodes[0].get();
            node->attachAsSiblingOf(tail);
        }
        m_pRootTail = node;
    } else {
        Node* parent = m_vpNodes[parentID - 1].get();
        if (!parent) {
            return rejectNode(node, parentID, "is not a valid node.");
        }
        if (!parent->isTransform()) {
            return rejectNode(node, parentID, "is not a transform node.");
        }
        node->attachTo(parent);
    }
    m_vpNodes.emplace_back(node);
    return static_cast<NodeID>(m_vpNodes.size());
}

std::uint32_t Scene::addGeometry(Geometry* geometry) {
    if (!geometry) {
        reportError(ERROR_GAME, "Can not add Geometry to list");
        return 0;
    }
    m_vpGeometries.emplace_back(geometry);
    return static_cast<std::uint32_t>(m_vpGeometries.size());
}

MaterialID Scene::addMaterial(Material* material) {
    if (!material) {
        reportError(ERROR_GAME, "Can not add Material to list");
        return 0;
    }
    m_vpMaterials.emplace_back(material);
    return static_cast<MaterialID>(m_vpMaterials.size());
}

std::uint32_t Scene::addTextureTransform(TextureTransform* transform) {
    if (!transform) {
        reportError(ERROR_GAME, "Can not add TextureTransform to list");
        return 0;
    }
    m_vpTextureTfms.emplace_back(transform);
    return static_cast<std::uint32_t>(m_vpTextureTfms.size());
}

int Scene::addLight(Light* light) {
    if (!light) {
        reportError(ERROR_GAME, "Can not add light to scene");
        return -1;
    }
    m_vpLights.emplace_back(light);
    return static_cast<int>(m_vpLights.size()) - 1;
}

bool Scene::isShapeID(NodeID shapeID) {
    if (shapeID == 0 || shapeID > m_vpNodes.size()) {
        reportError(ERROR_GAME, "Invalid ShapeID %u", shapeID);
        return false;
    }
    const Node* node = m_vpNodes[shapeID - 1].get();
    if (!node || !node->isShape()) {
        reportError(ERROR_GAME, "ID %u does not belong to a shape", shapeID);
        return false;
    }
    return true;
}

bool Scene::setShapeMaterial(NodeID shapeID, MaterialID materialID) {
    if (materialID == 0 || materialID > m_vpMaterials.size()) {
        reportError(ERROR_GAME, "Invalid MaterialID %u", materialID);
        return false;
    }
    if (!isShapeID(shapeID)) {
        return false;
    }
    static_cast<NodeShape*>(m_vpNodes[shapeID - 1].get())
        ->setMaterial(m_vpMaterials[materialID - 1].get());
    return true;
}

bool Scene::setShapeTextureTfm(NodeID shapeID, std::uint32_t texTfmID) {
    if (texTfmID == 0 || texTfmID > m_vpTextureTfms.size()) {
        reportError(ERROR_GAME, "Invalid uiTextureTfmID %u", texTfmID);
        return false;
    }
    if (!isShapeID(shapeID)) {
        return false;
    }
    static_cast<NodeShape*>(m_vpNodes[shapeID - 1].get())
        ->setTextureTransform(m_vpTextureTfms[texTfmID - 1].get());
    return true;
}

bool Scene::setShapeTexture(NodeID shapeID, int group, std::uint32_t id) {
    if (!isShapeID(shapeID)) {
        return false;
    }
    ShapeTexture* texture = m_pHooks ? m_pHooks->findTexture(group, id) : nullptr;
    if (!texture) {
        reportError(ERROR_GAME, "Invalid TextureID (Group: %d, ID: %u)", group, id);
        return false;
    }
    static_cast<NodeShape*>(m_vpNodes[shapeID - 1].get())->setTexture(texture);
    return true;
}

NodeID Scene::getNodeID(const Node* node) const {
    for (std::size_t i = 0; i < m_vpNodes.size(); ++i) {
        if (m_vpNodes[i].get() == node) {
            return static_cast<NodeID>(i + 1);
        }
    }
    return 0;
}

Node* Scene::findByName(const char* name) const {
    return m_vpNodes.empty() || !m_vpNodes[0] ? nullptr : m_vpNodes[0]->findByName(name);
}

bool Scene::copySubtree(Node* source, std::string name, unsigned copies, NodeID destID) {
    const char* failure = nullptr;
    Node* destination =
        destID >= 1 && destID <= m_vpNodes.size() ? m_vpNodes[destID - 1].get() : nullptr;
    if (!source) {
        failure = "Invalid source scenegraph node specified";
    } else if (copies == 0 || copies > MAX_COPIES) {
        failure = "Invalid number of copies specified. Limit is set to 99.";
    } else if (destID > m_vpNodes.size()) {
        failure = "Invalid destination node ID specified";
    } else if (destID != 0 && ((destination == source && !source->isShape()) ||
                               source->isInSubtree(destination))) {
        // Copying a node into itself would copy its own copies forever.
        failure =
            "Invalid destination node ID specified. Destination node is a child of the root node";
    } else if (source->isShape() && (!destination || !destination->isTransform())) {
        failure =
            "Selected scenegraph tree must be nested under a transform node or placed at the "
            "root.";
    }
    if (failure) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", failure);
        return false;
    }
    if (source->isLight()) {
        return true;
    }
    for (unsigned i = 1; i <= copies; ++i) {
        std::string copyName = name;
        if (copies != 1) {
            copyName += "_" + std::to_string(i);
        }
        Node* copy = copyOf(*source);
        copy->setName(copyName.c_str());
        NodeID copyID = addNode(copy, destID);
        if (source->isTransform() && source->child()) {
            if (copyID == 0 || !copyChildren(source->child(), copyID)) {
                return false;
            }
        }
    }
    return true;
}

bool Scene::copyChildren(Node* first, NodeID parentID) {
    for (Node* source = first; source; source = source->next()) {
        if (source->isLight()) {
            continue;
        }
        Node* copy = copyOf(*source);
        copy->setName(source->getName());
        NodeID copyID = addNode(copy, parentID);
        if (source->isTransform() && source->child()) {
            if (copyID == 0 || !copyChildren(source->child(), copyID)) {
                return false;
            }
        }
    }
    return true;
}

void Scene::clearDeferred() {
    m_vpDeferred.clear();
}

void Scene::clearScene(int group) {
    clearDeferred();
    m_vpGeometries.clear();
    m_vpLights.clear();
    m_vpMaterials.clear();
    m_pCuller->forget();
    m_pRootTail = nullptr;
    m_vpNodes.clear();
    m_vpTextureTfms.clear();
    if (m_pHooks) {
        m_pHooks->releaseContentGroup(group);
    }
}
