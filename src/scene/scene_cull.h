#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/bounds.h"
#include "scene/vector.h"

class Node;
class NodeTransform;

// The view volume of the current projection and model-view matrices: six
// planes, inside where a x + b y + c z + d >= 0.
class Frustum {
public:
    // Reads both matrices from OpenGL.
    void fromGL();
    void fromMatrices(const float* projection, const float* modelView);
    // True only when the whole box lies outside one plane.
    bool outside(const Bounds3& box) const;

private:
    float m_planes[6][4] = {};
};

// Draws the root-level chain of the graph and leaves out the root-level
// subtrees whose box lies wholly outside the view. Each subtree's box is
// worked out from its geometry under its transforms and kept; every frame
// the transforms of each subtree are compared with the values the box was
// made from (a few loads per transform), and a subtree whose transforms
// changed gets a new box before it is tested. Links, axes, matrices and
// compiled lists change through operations that mark every box stale.
// A subtree with a light node, with geometry that cannot tell its box, or
// that is not a transform is always drawn.
//
// Subtrees fixed in place (Node::setFixedInPlace) are not compared every
// frame: they are grouped by position into patches, and a patch wholly
// outside the view is passed over with one test. A few of them are still
// compared each frame, in turn, and a change found there rebuilds the
// boxes. Whatever is drawn is drawn in chain order.
class RootCuller {
public:
    // render(false, false) on every root-level node from first on that may
    // be seen, in chain order.
    void drawOpaque(Node* first, const Frustum& frustum);
    void forget();

    std::size_t drawnLastFrame() const { return m_drawn; }
    std::size_t culledLastFrame() const { return m_culled; }

    // Fixed subtrees compared with their boxes' values per frame.
    static constexpr std::size_t FIXED_CHECKS_PER_FRAME = 256;

    // What a subtree's box was made from, per transform in it.
    struct Watch {
        NodeTransform* node;
        Vector3 translation;
        Vector3 centre;
        Vector3 scale;
        float angle;
        bool visible;
    };

private:
    struct Entry {
        Node* node;
        std::uint32_t firstWatch;
        std::uint32_t watchCount;
        Bounds3 box;
        bool alwaysDrawn;
    };
    // Fixed subtrees whose boxes' centres lie in one square of the floor.
    struct Patch {
        Bounds3 box;
        std::uint32_t firstMember;
        std::uint32_t memberCount;
    };

    void rebuild(Node* first);
    void groupFixed();
    void measure(Entry& entry);
    bool changed(const Entry& entry) const;
    bool fixedMoved();
    bool mayBeSeen(const Entry& entry, const Frustum& frustum) const;

    std::vector<Entry> m_entries;
    std::vector<Watch> m_watches;
    std::vector<Watch> m_scratch;
    // Indices into m_entries: the subtrees compared every frame, and the
    // fixed ones patch by patch.
    std::vector<std::uint32_t> m_moving;
    std::vector<std::uint32_t> m_fixed;
    std::vector<Patch> m_patches;
    std::vector<std::uint32_t> m_toDraw;
    std::size_t m_uiNextFixedCheck = 0;
    std::size_t m_uiLiveWatches = 0;
    Node* m_pFirst = nullptr;
    unsigned m_uiGeneration = 0;
    bool m_bBuilt = false;
    std::size_t m_drawn = 0;
    std::size_t m_culled = 0;
};
