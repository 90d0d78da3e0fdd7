#include <GL/gl.h>

#include "app/app_settings.h"
#include "scene/light.h"
#include "scene/node.h"
#include "scene/render_state.h"
#include "scene/scene.h"
#include "scene/scene_cull.h"

void Scene::renderScene() {
    if ((appSettings() && appSettings()->quitRequested) || m_vpNodes.empty()) {
        return;
    }
    if (m_pPlayView) {
        m_camera.set(m_pPlayView->eyePosition(), m_pPlayView->lookAtPoint(),
                     Vector3(0.0f, 1.0f, 0.0f));
    }
    m_camera.apply();
    enableLights();
    clearDeferred();

    NodeShape::setDeferredList(&m_vpDeferred);
    beginRenderStateCache();
    if (m_bCulling) {
        Frustum frustum;
        frustum.fromGL();
        m_pCuller->drawOpaque(m_vpNodes[0].get(), frustum);
    } else {
        m_vpNodes[0]->render(false, true);
    }
    NodeShape::setDeferredList(nullptr);

    glEnable(GL_BLEND);
    glMatrixMode(GL_MODELVIEW);
    for (const std::unique_ptr<DeferredShape>& record : m_vpDeferred) {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadMatrixf(record->matrix.data());
        // Only the recorded shape: its later siblings were drawn (or
        // recorded themselves) in the opaque walk already, and drawing them
        // again here would blend see-through ones twice.
        record->shape->render(true, false);
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    // The weapon in hand draws its nodes on its own, with every state set.
    endRenderStateCache();
    if (m_pPlayView) {
        m_pPlayView->drawWeapon();
    }
    glDisable(GL_BLEND);
    disableLights();
}

std::size_t Scene::rootsDrawnLastFrame() const {
    return m_pCuller->drawnLastFrame();
}

std::size_t Scene::rootsCulledLastFrame() const {
    return m_pCuller->culledLastFrame();
}

std::size_t Scene::rootsMeasuredLastFrame() const {
    return m_pCuller->measuredLastFrame();
}

void Scene::enableLights() {
    if (m_vpLights.empty()) {
        return;
    }
    glEnable(GL_LIGHTING);
    m_uiLightIndex = 0;
    const unsigned maximum = static_cast<unsigned>(Light::maxLights());
    for (const std::unique_ptr<Light>& light : m_vpLights) {
        if (m_uiLightIndex >= maximum) {
            break;
        }
        if (light->isOn()) {
            light->apply(m_uiLightIndex);
        }
        ++m_uiLightIndex;
    }
}

void Scene::disableLights() {
    if (m_vpLights.empty()) {
        return;
    }
    glDisable(GL_LIGHTING);
    const unsigned maximum = static_cast<unsigned>(Light::maxLights());
    unsigned slot = 0;
    for (const std::unique_ptr<Light>& light : m_vpLights) {
        if (slot >= maximum) {
            break;
        }
        if (light->isOn()) {
            light->disable(slot);
        }
        ++slot;
    }
}
