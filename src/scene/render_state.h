#pragma once
// PRIVATE HEADER: only src/scene (and its tests, tools and benchmarks) include this.
#include "scene/material.h"

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

// Bumped by every change that moves geometry without going through a
// transform's public fields: links, axis, matrix, a compiled list.
unsigned boundsGeneration();
void bumpBoundsGeneration();
