#include "scene/camera.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "scene/matrix.h"

void Camera::apply() const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(m_vEye.x, m_vEye.y, m_vEye.z, m_vTarget.x, m_vTarget.y, m_vTarget.z, m_vUp.x, m_vUp.y,
              m_vUp.z);
}

void Matrix4::captureModelView() {
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
}
