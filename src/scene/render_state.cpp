#include "scene/render_state.h"

#include <GL/gl.h>

namespace {
RenderStateCache g_state;
unsigned g_boundsGeneration = 0;
BoundsChange g_changes[BOUNDS_CHANGES_KEPT] = {};
std::uint64_t g_changeCount = 0;
}  // namespace

RenderStateCache& renderState() {
    return g_state;
}

void beginRenderStateCache() {
    g_state = RenderStateCache();
    g_state.active = true;
    g_state.textureOn = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
}

void endRenderStateCache() {
    if (g_state.active && g_state.texturedDrawn && g_state.textureOn) {
        glDisable(GL_TEXTURE_2D);
    }
    g_state = RenderStateCache();
}

unsigned boundsGeneration() {
    return g_boundsGeneration;
}

void bumpBoundsGeneration() {
    ++g_boundsGeneration;
}

void noteBoundsChange(const Node* root, std::uint32_t index) {
    g_changes[g_changeCount % BOUNDS_CHANGES_KEPT] = BoundsChange{root, index};
    ++g_changeCount;
}

std::uint64_t boundsChangeCount() {
    return g_changeCount;
}

const BoundsChange& boundsChange(std::uint64_t n) {
    return g_changes[n % BOUNDS_CHANGES_KEPT];
}
