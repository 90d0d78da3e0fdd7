#include "scene/render_state.h"

#include <GL/gl.h>

namespace {
RenderStateCache g_state;
unsigned g_boundsGeneration = 0;
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
