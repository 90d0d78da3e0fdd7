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
class RootCuller {
public:
    // render(false, false) on every root-level node from first on that may
    // be seen, in chain order.
    void drawOpaque(Node* first, const Frustum& frustum);
    void forget();

    std::size_t drawnLastFrame() const { return m_drawn; }
    std::size_t culledLastFrame() const { return m_culled; }

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

    void rebuild(Node* first);
    void measure(Entry& entry);
    bool changed(const Entry& entry) const;

    std::vector<Entry> m_entries;
    std::vector<Watch> m_watches;
    std::vector<Watch> m_scratch;
    std::size_t m_uiLiveWatches = 0;
    Node* m_pFirst = nullptr;
    unsigned m_uiGeneration = 0;
    bool m_bBuilt = false;
    std::size_t m_drawn = 0;
    std::size_t m_culled = 0;
};
