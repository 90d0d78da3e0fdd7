#include "scene/node_shape.h"

#include <GL/gl.h>

#include <algorithm>
#include <new>

#include "app/error_reporter.h"
#include "scene/geometry.h"
#include "scene/material.h"
#include "scene/node_save.h"
#include "scene/render_state.h"
#include "scene/scene_report.h"

namespace {

DeferredList* g_deferred = nullptr;

const Material& defaultMaterial() {
    static const Material material;
    return material;
}

bool materialIsOpaque(const Material& m) {
    return m.m_cAmbient.a >= OPAQUE_ALPHA && m.m_cDiffuse.a >= OPAQUE_ALPHA &&
           m.m_cSpecular.a >= OPAQUE_ALPHA && m.m_cEmissive.a >= OPAQUE_ALPHA;
}

bool sameColour(const Color4& a, const Color4& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// Compared by value: game code changes a material's colours in place.
bool sameMaterial(const Material& a, const Material& b) {
    return sameColour(a.m_cAmbient, b.m_cAmbient) && sameColour(a.m_cDiffuse, b.m_cDiffuse) &&
           sameColour(a.m_cSpecular, b.m_cSpecular) && sameColour(a.m_cEmissive, b.m_cEmissive) &&
           a.m_fShininess == b.m_fShininess;
}

void applyMaterial(const Material& m) {
    RenderStateCache& state = renderState();
    if (state.active) {
        if (state.materialKnown && sameMaterial(state.material, m)) {
            return;
        }
        state.material = m;
        state.materialKnown = true;
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, m.m_cAmbient.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, m.m_cDiffuse.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, m.m_cSpecular.data());
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, m.m_cEmissive.data());
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, m.m_fShininess);
}

// Steps that leave the matrix as it was (a zero move, no turn, unit scale)
// are left out: the product would come out the same.
void applyTextureTransform(const TextureTransform& t) {
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    if (t.m_vTranslation.x != 0.0f || t.m_vTranslation.y != 0.0f) {
        glTranslatef(t.m_vTranslation.x, t.m_vTranslation.y, 0.0f);
    }
    const bool centred = t.m_vCentre.x != 0.0f || t.m_vCentre.y != 0.0f;
    if (centred) {
        glTranslatef(t.m_vCentre.x, t.m_vCentre.y, 0.0f);
    }
    if (t.m_fRotation != 0.0f) {
        glRotatef(t.m_fRotation, 0.0f, 0.0f, 1.0f);
    }
    if (t.m_vScale.x != 1.0f || t.m_vScale.y != 1.0f) {
        glScalef(t.m_vScale.x, t.m_vScale.y, 1.0f);
    }
    if (centred) {
        glTranslatef(-t.m_vCentre.x, -t.m_vCentre.y, 0.0f);
    }
}

}  // namespace

void NodeShape::setDeferredList(DeferredList* list) {
    g_deferred = list;
}

NodeShape::NodeShape(const NodeShape& source)
    : Node(NODE_SHAPE),
      m_pMaterial(source.m_pMaterial),
      m_pTexture(source.m_pTexture),
      m_pTextureTfm(source.m_pTextureTfm),
      m_pGeometry(source.m_pGeometry) {
    m_bVisible = source.m_bVisible;
}

void NodeShape::renderSelf(bool transparentPass) {
    bool opaque = true;
    if (!m_pMaterial) {
        applyMaterial(defaultMaterial());
    } else {
        opaque = materialIsOpaque(*m_pMaterial);
        applyMaterial(*m_pMaterial);
    }

    RenderStateCache& state = renderState();
    if (!m_pTexture) {
        if (opaque || transparentPass) {
            if (state.active && state.texturedDrawn && state.textureOn) {
                glDisable(GL_TEXTURE_2D);
                state.textureOn = false;
            }
            if (m_pGeometry) {
                m_pGeometry->draw(false);
            }
        } else {
            defer();
        }
        return;
    }

    if (!m_pTexture->isSolid()) {
        opaque = false;
    }
    if (!opaque && !transparentPass) {
        defer();
        return;
    }
    const unsigned name = m_pTexture->glName();
    if (!state.active) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, name);
    } else {
        if (!state.textureOn) {
            glEnable(GL_TEXTURE_2D);
            state.textureOn = true;
        }
        state.texturedDrawn = true;
        if (!state.bindKnown || state.bound != name) {
            glBindTexture(GL_TEXTURE_2D, name);
            state.bindKnown = true;
            state.bound = name;
        }
    }
    if (m_pTextureTfm) {
        applyTextureTransform(*m_pTextureTfm);
        state.modelViewSelected = false;
    }
    if (m_pGeometry) {
        m_pGeometry->draw(true);
    }
    if (m_pTextureTfm) {
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
    }
    // In the walk texturing stays on for the next textured shape.
    if (!state.active) {
        glDisable(GL_TEXTURE_2D);
    }
}

void NodeShape::defer() {
    if (!g_deferred) {
        return;
    }
    std::unique_ptr<DeferredShape> record(new (std::nothrow) DeferredShape);
    if (!record) {
        return;
    }
    record->shape = this;
    record->matrix.captureModelView();
    const float* m = record->matrix.data();
    record->distance = m[12] * m[12] + m[13] * m[13] + m[14] * m[14];
    // Farthest first; equal distances keep the order the walk reached them.
    const float distance = record->distance;
    auto position = std::upper_bound(
        g_deferred->begin(), g_deferred->end(), distance,
        [](float d, const std::unique_ptr<DeferredShape>& other) { return d > other->distance; });
    g_deferred->insert(position, std::move(record));
}

bool NodeShape::saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool /*isTop*/) {
    const char* failure = nullptr;
    if (!stream.writeShapeHeader(*this, objectIdentity(getParent()))) {
        failure = "Can not save QVR chunk for shape node";
    } else if (!stream.writeShapeBody(*this)) {
        failure = "Can not save shape node data";
    }
    if (failure) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", failure);
        return false;
    }
    collector.addGeometry(m_pGeometry);
    if (m_pMaterial) {
        collector.addMaterial(m_pMaterial);
    }
    if (m_pTexture) {
        collector.addTexture(m_pTexture);
    }
    if (m_pTextureTfm) {
        collector.addTextureTransform(m_pTextureTfm);
    }
    return true;
}

void NodeShape::describe(ListingLine& line, bool detailed) const {
    line.append("Shape");
    appendName(line);
    if (!detailed) {
        return;
    }
    line.append(" geoID_%lld", objectIdentity(m_pGeometry));
    if (m_pMaterial) {
        line.append(" matID_%lld", objectIdentity(m_pMaterial));
    }
    if (m_pTexture) {
        line.append(" texID_%lld", objectIdentity(m_pTexture));
    }
    if (m_pTextureTfm) {
        line.append(" texTfmID_%lld", objectIdentity(m_pTextureTfm));
    }
}
