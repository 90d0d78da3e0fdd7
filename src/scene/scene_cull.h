#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/bounds.h"
#include "scene/vector.h"

struct Affine;
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
// fixed-in-place promises change through operations that name the subtree
// they touched (see noteBoundsChange), and only that subtree is measured
// again; nodes added to the end of the root chain are measured as they
// come. A compiled list, which any number of shapes may share, marks every
// box stale. A subtree with a light node, with geometry that cannot tell
// its box, or that is not a transform is always drawn.
//
// Subtrees fixed in place (Node::setFixedInPlace) are not compared every
// frame: they are grouped by position into patches, and a patch wholly
// outside the view is passed over with one test. A few of them are still
// compared each frame, in turn, and one found changed there is measured
// again and moved to the patch it now falls in. Whatever is drawn is drawn
// in chain order.
class RootCuller {
public:
    // render(false, false) on every root-level node from first on that may
    // be seen, in chain order.
    void drawOpaque(Node* first, const Frustum& frustum);
    void forget();

    std::size_t drawnLastFrame() const { return m_drawn; }
    std::size_t culledLastFrame() const { return m_culled; }
    // Root-level subtrees whose boxes were worked out in the last call.
    std::size_t measuredLastFrame() const { return m_measured; }

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
    static constexpr std::uint32_t MOVING = 0xFFFFFFFFu;

    struct Entry {
        Node* node;
        std::uint32_t firstWatch;
        std::uint32_t watchCount;
        // The watches its range has room for: a subtree whose part is hidden
        // and shown again keeps its range.
        std::uint32_t watchRoom;
        // The patch the subtree is in, or MOVING: compared every frame.
        std::uint32_t patch;
        Bounds3 box;
        bool alwaysDrawn;
    };
    // Fixed subtrees whose boxes' centres lie in one square of the floor.
    struct Patch {
        Bounds3 box;
        // Indices into m_entries, in chain order.
        std::vector<std::uint32_t> members;
    };

    struct Collected;
    void collect(Node* node, const Affine& parent, Collected& out, std::uint32_t index);
    void rebuild(Node* first);
    void append(Node* node);
    bool takeNotedChanges();
    void checkFixedInTurn();
    void groupFixed();
    void measure(std::uint32_t index);
    void place(std::uint32_t index);
    std::uint32_t patchOf(const Bounds3& box) const;
    void enclose(Patch& patch, const Bounds3& box) const;
    void compactWatches();
    bool changed(const Entry& entry) const;
    bool mayBeSeen(const Entry& entry, const Frustum& frustum) const;

    std::vector<Entry> m_entries;
    std::vector<Watch> m_watches;
    std::vector<Watch> m_scratch;
    // Indices into m_entries, in chain order: the subtrees compared every
    // frame.
    std::vector<std::uint32_t> m_moving;
    // A side x side grid over the floor between m_gridLo and m_gridHi
    // (x and z), laid out when the fixed subtrees were last grouped; later
    // ones outside it join the nearest patch on its rim.
    std::vector<Patch> m_patches;
    float m_gridLo[2] = {0.0f, 0.0f};
    float m_gridHi[2] = {0.0f, 0.0f};
    std::size_t m_gridSide = 0;
    std::size_t m_fixedCount = 0;
    std::size_t m_groupedFixed = 0;
    std::vector<std::uint32_t> m_toDraw;
    std::vector<std::uint32_t> m_stale;
    std::size_t m_uiNextFixedCheck = 0;
    std::size_t m_uiLiveWatches = 0;
    Node* m_pFirst = nullptr;
    unsigned m_uiGeneration = 0;
    std::uint64_t m_uiChangesSeen = 0;
    bool m_bBuilt = false;
    std::size_t m_drawn = 0;
    std::size_t m_culled = 0;
    std::size_t m_measured = 0;
};
