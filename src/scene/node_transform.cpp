#include <GL/gl.h>

#include "app/error_reporter.h"
#include "scene/node.h"
#include "scene/node_save.h"
#include "scene/render_state.h"
#include "scene/scene_report.h"

NodeTransform::NodeTransform(const NodeTransform& source)
    : Node(NODE_TRANSFORM),
      m_vTranslation(source.m_vTranslation),
      m_vCentre(source.m_vCentre),
      m_vScale(source.m_vScale),
      m_fAngle(source.m_fAngle),
      m_bUseMatrix(source.m_bUseMatrix),
      m_mMatrix(source.m_mMatrix),
      m_vAxis(source.m_vAxis) {
    m_bVisible = source.m_bVisible;
}

bool NodeTransform::setAxis(float x, float y, float z) {
    m_vAxis = Vector3(x, y, z);
    m_vAxis.normalize();
    noteBoundsChanged();
    return !m_vAxis.isZero();
}

void NodeTransform::setMatrix(const float* sixteen) {
    m_mMatrix.set(sixteen);
    noteBoundsChanged();
}

void NodeTransform::setUseMatrix(bool use) {
    m_bUseMatrix = use;
    noteBoundsChanged();
}

// Steps that leave the matrix as it was (a zero move, no turn, unit scale)
// are left out, so a plain move costs one translation; the product comes
// out the same. The centre's two moves stay together: (t + c) - c need not
// give t back in floats.
void NodeTransform::renderSelf(bool transparentPass) {
    if (!m_pChild || !m_bVisible) {
        return;
    }
    RenderStateCache& state = renderState();
    if (!state.modelViewSelected) {
        glMatrixMode(GL_MODELVIEW);
        state.modelViewSelected = state.active;
    }
    glPushMatrix();
    if (m_bUseMatrix) {
        glMultMatrixf(m_mMatrix.data());
    }
    if (m_vTranslation.x != 0.0f || m_vTranslation.y != 0.0f || m_vTranslation.z != 0.0f) {
        glTranslatef(m_vTranslation.x, m_vTranslation.y, m_vTranslation.z);
    }
    const bool centred = m_vCentre.x != 0.0f || m_vCentre.y != 0.0f || m_vCentre.z != 0.0f;
    if (centred) {
        glTranslatef(m_vCentre.x, m_vCentre.y, m_vCentre.z);
    }
    if (m_fAngle != 0.0f) {
        glRotatef(m_fAngle, m_vAxis.x, m_vAxis.y, m_vAxis.z);
    }
    if (m_vScale.x != 1.0f || m_vScale.y != 1.0f || m_vScale.z != 1.0f) {
        glScalef(m_vScale.x, m_vScale.y, m_vScale.z);
    }
    if (centred) {
        glTranslatef(-m_vCentre.x, -m_vCentre.y, -m_vCentre.z);
    }
    m_pChild->render(transparentPass, true);
    if (!state.modelViewSelected) {
        glMatrixMode(GL_MODELVIEW);
        state.modelViewSelected = state.active;
    }
    glPopMatrix();
}

bool NodeTransform::saveSelf(NodeSaveStream& stream, NodeResourceCollector& collector, bool isTop) {
    long long parentId = isTop ? 0 : objectIdentity(getParent());
    const char* failure = nullptr;
    if (!stream.writeTransformHeader(*this, parentId)) {
        failure = "Can not save QVR chunk for transform node";
    } else if (!stream.writeTransformBody(*this)) {
        failure = "Can not save transform node data";
    }
    if (failure) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", failure);
        return false;
    }
    if (m_pChild) {
        return m_pChild->save(stream, collector, false);
    }
    return true;
}

void NodeTransform::describe(ListingLine& line, bool detailed) const {
    line.append("Transform");
    appendName(line);
    if (!detailed) {
        return;
    }
    if (!m_bVisible) {
        line.append(" vis_0");
    }
    auto vec = [&line](const char* key, const Vector3& v) {
        line.append(" %s%f,%f,%f", key, static_cast<double>(v.x), static_cast<double>(v.y),
                    static_cast<double>(v.z));
    };
    if (m_vTranslation != Vector3(0, 0, 0)) {
        vec("trans_", m_vTranslation);
    }
    if (m_vScale != Vector3(1, 1, 1)) {
        vec("scale_", m_vScale);
    }
    if (m_vCentre != Vector3(0, 0, 0)) {
        vec("cent_", m_vCentre);
    }
    if (m_vAxis != Vector3(0, 0, 0)) {
        vec("axis_", m_vAxis);
    }
    if (m_fAngle != 0.0f) {
        line.append(" angle_%f", static_cast<double>(m_fAngle));
    }
}
