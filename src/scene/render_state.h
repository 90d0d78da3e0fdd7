#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include <cstddef>
#include <cstdint>

#include "scene/material.h"

class Node;

// OpenGL state the play view's walk keeps track of, so that a shape sets a
// material, switches texturing and binds a texture only when it changes, and
// a transform selects the model-view stack only when a shape left another
// selected. Outside the walk (the weapon in hand, tests drawing single
// nodes) it is inactive and every node sets its state in full.
struct RenderStateCache {
    bool active = false;
    bool materialKnown = false;
    Material material;
    // GL_TEXTURE_2D as it is now.
    bool textureOn = false;
    // A textured shape has been drawn in this walk: before the first one,
    // untextured shapes meet texturing as the walk found it; after it, off.
    bool texturedDrawn = false;
    bool bindKnown = false;
    unsigned bound = 0;
    bool modelViewSelected = false;
};

RenderStateCache& renderState();
// Starts tracking from the current OpenGL state.
void beginRenderStateCache();
// Leaves texturing off when a textured shape was drawn, as a walk without
// tracking would, and stops tracking.
void endRenderStateCache();

// Bumped by a change to what shapes draw that may touch any number of
// subtrees (a compiled list can be shared): every box is stale.
unsigned boundsGeneration();
void bumpBoundsGeneration();

// Changes that move geometry without going through a transform's public
// fields (links, axis, matrix, the fixed-in-place promise) are noted by the
// root-level subtree they happened in, as the culler last named it: its top
// node and its place in the chain. The last BOUNDS_CHANGES_KEPT notes are
// kept; a reader that fell further behind treats every box as stale.
struct BoundsChange {
    const Node* root;
    std::uint32_t index;
};
constexpr std::size_t BOUNDS_CHANGES_KEPT = 1024;
void noteBoundsChange(const Node* root, std::uint32_t index);
// How many notes were ever made; note n is kept while n + kept > count.
std::uint64_t boundsChangeCount();
const BoundsChange& boundsChange(std::uint64_t n);
