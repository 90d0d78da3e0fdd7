#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scene/camera.h"
#include "scene/node_shape.h"
#include "scene/scene_ids.h"

class Geometry;
class Light;
class Node;
class RootCuller;
class ShapeTexture;
struct Material;
struct TextureTransform;

// What the scene needs from the layers above it. The game fills these in;
// every hook is optional.
class SceneHooks {
public:
    virtual ~SceneHooks() = default;
    // The texture (group, id) handed out by the texture manager, or null.
    virtual ShapeTexture* findTexture(int group, std::uint32_t id) = 0;
    // Called at the end of clearScene(group): release the texture group and
    // the GUI controls that belong to it.
    virtual void releaseContentGroup(int group) = 0;
};

// The viewpoint of the play view and what is drawn in hand after the scene.
class PlayView {
public:
    virtual ~PlayView() = default;
    virtual Vector3 eyePosition() const = 0;
    virtual Vector3 lookAtPoint() const = 0;
    // Drawn under the view's model-view matrix with blending on.
    virtual void drawWeapon() = 0;
};

// The engine's scene container: owns every node, geometry, material,
// texture transform and light, hands out the IDs that address them (their
// list positions: 1-based, 0-based for lights), enforces the attach rules,
// copies subtrees and draws the play view. Lists only grow, and are emptied
// as a whole by clearScene.
//
// The destructor clears both content groups and calls the hooks that are
// still set, so an owner whose hooks die before the Scene (a derived game
// scene holding the texture manager) resets them with setHooks(nullptr).
class Scene {
public:
    Scene();
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Takes ownership of node (also on failure, when it is deleted). Returns
    // its NodeID, or 0.
    NodeID addNode(Node* node, NodeID parentID);
    std::uint32_t addGeometry(Geometry* geometry);
    MaterialID addMaterial(Material* material);
    std::uint32_t addTextureTransform(TextureTransform* transform);
    // 0-based; -1 for a null light.
    // KEPT: a light id is also its OpenGL light slot, so 0 is a real light.
    int addLight(Light* light);

    bool setShapeMaterial(NodeID shapeID, MaterialID materialID);
    bool setShapeTexture(NodeID shapeID, int group, std::uint32_t id);
    bool setShapeTextureTfm(NodeID shapeID, std::uint32_t texTfmID);

    NodeID getNodeID(const Node* node) const;
    bool copySubtree(Node* source, std::string name, unsigned copies, NodeID destID);
    bool copyChildren(Node* first, NodeID parentID);
    void clearScene(int group);

    // The play view: camera, lights, opaque walk, see-through shapes back to
    // front, the weapon.
    void renderScene();
    void enableLights();
    void disableLights();
    void clearDeferred();
    // Root-level subtrees wholly outside the view are left out of the
    // opaque walk (on by default); the picture is the same either way.
    void setCulling(bool on) { m_bCulling = on; }
    bool culling() const { return m_bCulling; }
    // Root-level subtrees drawn and left out in the last render pass, and
    // those whose boxes it worked out (all of them only when culling starts
    // on a new graph; then only what moved or changed).
    std::size_t rootsDrawnLastFrame() const;
    std::size_t rootsCulledLastFrame() const;
    std::size_t rootsMeasuredLastFrame() const;

    // The first match in pre-order over the whole graph, or null.
    Node* findByName(const char* name) const;

    Node* node(NodeID id) const;
    Geometry* geometry(std::uint32_t id) const;
    Material* material(MaterialID id) const;
    TextureTransform* textureTransform(std::uint32_t id) const;
    Light* light(int id) const;
    std::size_t nodeCount() const { return m_vpNodes.size(); }
    std::size_t geometryCount() const { return m_vpGeometries.size(); }
    std::size_t materialCount() const { return m_vpMaterials.size(); }
    std::size_t textureTransformCount() const { return m_vpTextureTfms.size(); }
    std::size_t lightCount() const { return m_vpLights.size(); }
    const DeferredList& deferred() const { return m_vpDeferred; }
    unsigned lightIndex() const { return m_uiLightIndex; }

    Camera& camera() { return m_camera; }
    void setHooks(SceneHooks* hooks) { m_pHooks = hooks; }
    void setPlayView(PlayView* view) { m_pPlayView = view; }

private:
    bool isShapeID(NodeID shapeID);
    NodeID rejectNode(Node* node, NodeID parentID, const char* reason);

    std::vector<std::unique_ptr<Light>> m_vpLights;
    std::vector<std::unique_ptr<Node>> m_vpNodes;
    std::vector<std::unique_ptr<Geometry>> m_vpGeometries;
    std::vector<std::unique_ptr<Material>> m_vpMaterials;
    std::vector<std::unique_ptr<TextureTransform>> m_vpTextureTfms;
    DeferredList m_vpDeferred;
    unsigned m_uiLightIndex = 0;
    // The last node of the root chain, so that appending there costs no walk.
    Node* m_pRootTail = nullptr;
    std::unique_ptr<RootCuller> m_pCuller;
    bool m_bCulling = true;

    Camera m_camera;
    SceneHooks* m_pHooks = nullptr;
    PlayView* m_pPlayView = nullptr;
};
