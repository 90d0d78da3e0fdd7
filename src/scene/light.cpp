#include "scene/light.h"

#include <GL/gl.h>

#include "scene/node_save.h"
#include "scene/scene_report.h"

namespace {

int g_maxLights = 8;

bool isRgba(const float* c, float r, float g, float b, float a) {
    return c[0] == r && c[1] == g && c[2] == b && c[3] == a;
}

void appendVec3(ListingLine& line, const char* key, float x, float y, float z) {
    line.append(" %s%f,%f,%f", key, static_cast<double>(x), static_cast<double>(y),
                static_cast<double>(z));
}

void appendRgba(ListingLine& line, const char* key, const float* c) {
    line.append(" %s%f,%f,%f,%f", key, static_cast<double>(c[0]), static_cast<double>(c[1]),
                static_cast<double>(c[2]), static_cast<double>(c[3]));
}

}  // namespace

int Light::maxLights() {
    return g_maxLights;
}

Light::Light() {
    GLint count = 0;
    glGetIntegerv(GL_MAX_LIGHTS, &count);
    if (count > 0) {
        g_maxLights = count;
    }
}

void Light::setAmbient(float r, float g, float b, float a) {
    m_cAmbient[0] = r;
    m_cAmbient[1] = g;
    m_cAmbient[2] = b;
    m_cAmbient[3] = a;
}

void Light::setDiffuse(float r, float g, float b, float a) {
    m_cDiffuse[0] = r;
    m_cDiffuse[1] = g;
    m_cDiffuse[2] = b;
    m_cDiffuse[3] = a;
}

void Light::setSpecular(float r, float g, float b, float a) {
    m_cSpecular[0] = r;
    m_cSpecular[1] = g;
    m_cSpecular[2] = b;
    m_cSpecular[3] = a;
}

void Light::setAttenuation(float constant, float linear, float quadratic) {
    m_fConstantAtten = constant < 0.0f ? 0.0f : constant;
    m_fLinearAtten = linear < 0.0f ? 0.0f : linear;
    m_fQuadraticAtten = quadratic < 0.0f ? 0.0f : quadratic;
}

void Light::setSpotExponent(float e) {
    m_fSpotExponent = e <= 0.0f ? 0.0f : (e >= 128.0f ? 128.0f : e);
}

void Light::setSpotCutoff(float c) {
    m_fSpotCutoff = c <= 0.0f ? 0.0f : (c >= 90.0f ? 90.0f : c);
}

void Light::disable(unsigned slot) {
    m_eGLLight = GL_LIGHT0 + slot;
    glDisable(m_eGLLight);
}

void Light::apply(unsigned slot) {
    m_eGLLight = GL_LIGHT0 + slot;
    glEnable(m_eGLLight);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(m_mMatrix.data());
    glLightfv(m_eGLLight, GL_AMBIENT, m_cAmbient);
    glLightfv(m_eGLLight, GL_DIFFUSE, m_cDiffuse);
    glLightfv(m_eGLLight, GL_SPECULAR, m_cSpecular);
    glLightfv(m_eGLLight, GL_POSITION, m_vPosition);
    applyKindSettings();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void Light::appendColours(ListingLine& line) const {
    if (!m_bOn) {
        line.append(" on_%d", 0);
    }
    if (!isRgba(m_cAmbient, 0, 0, 0, 1)) {
        appendRgba(line, "amb_", m_cAmbient);
    }
    if (!isRgba(m_cDiffuse, 1, 1, 1, 1)) {
        appendRgba(line, "dif_", m_cDiffuse);
    }
    if (!isRgba(m_cSpecular, 1, 1, 1, 1)) {
        appendRgba(line, "spec_", m_cSpecular);
    }
}

LightPoint::LightPoint() {
    m_eLightType = LIGHT_POINT;
    m_bOn = true;
    m_vPosition[3] = 1.0f;
}

void LightPoint::setPosition(float x, float y, float z) {
    m_vPosition[0] = x;
    m_vPosition[1] = y;
    m_vPosition[2] = z;
}

void LightPoint::applyKindSettings() const {
    glLightf(m_eGLLight, GL_CONSTANT_ATTENUATION, m_fConstantAtten);
    glLightf(m_eGLLight, GL_LINEAR_ATTENUATION, m_fLinearAtten);
    glLightf(m_eGLLight, GL_QUADRATIC_ATTENUATION, m_fQuadraticAtten);
}

void LightPoint::print() const {
    ListingLine line;
    line.append("//Light lightID_%lld Type_point ", objectIdentity(this));
    appendColours(line);
    if (attenuation() != Vector3(0, 0, 0)) {
        appendVec3(line, "atten_", m_fConstantAtten, m_fLinearAtten, m_fQuadraticAtten);
    }
    if (m_vPosition[0] != 0.0f || m_vPosition[1] != 0.0f || m_vPosition[2] != 0.0f) {
        appendVec3(line, "pos_", m_vPosition[0], m_vPosition[1], m_vPosition[2]);
    }
    line.emit();
}

LightDirectional::LightDirectional() {
    m_eLightType = LIGHT_DIRECTIONAL;
    m_bOn = true;
    m_vPosition[2] = 1.0f;
}

void LightDirectional::setDirection(float x, float y, float z) {
    m_vPosition[0] = -x;
    m_vPosition[1] = -y;
    m_vPosition[2] = -z;
}

void LightDirectional::print() const {
    ListingLine line;
    line.append("//Light lightID_%lld Type_dir", objectIdentity(this));
    appendColours(line);
    // The listing gives the direction the light travels, as the text format reads it.
    if (m_vPosition[0] != 0.0f || m_vPosition[1] != 0.0f || m_vPosition[2] != 0.0f) {
        appendVec3(line, "dir_", -m_vPosition[0], -m_vPosition[1], -m_vPosition[2]);
    }
    line.emit();
}

LightSpot::LightSpot() {
    m_eLightType = LIGHT_SPOT;
    m_bOn = true;
    m_vPosition[3] = 1.0f;
    m_fSpotCutoff = 30.0f;
    m_fSpotExponent = 12.0f;
}

void LightSpot::setPosition(float x, float y, float z) {
    m_vPosition[0] = x;
    m_vPosition[1] = y;
    m_vPosition[2] = z;
}

void LightSpot::setDirection(float x, float y, float z) {
    m_vSpotDirection = Vector3(x, y, z);
}

void LightSpot::applyKindSettings() const {
    glLightfv(m_eGLLight, GL_SPOT_DIRECTION, &m_vSpotDirection.x);
    glLightf(m_eGLLight, GL_SPOT_EXPONENT, m_fSpotExponent);
    glLightf(m_eGLLight, GL_SPOT_CUTOFF, m_fSpotCutoff);
    glLightf(m_eGLLight, GL_CONSTANT_ATTENUATION, m_fConstantAtten);
    glLightf(m_eGLLight, GL_LINEAR_ATTENUATION, m_fLinearAtten);
    glLightf(m_eGLLight, GL_QUADRATIC_ATTENUATION, m_fQuadraticAtten);
}

void LightSpot::print() const {
    ListingLine line;
    line.append("//Light lightID_%lld Type_spot", objectIdentity(this));
    appendColours(line);
    if (attenuation() != Vector3(0, 0, 0)) {
        appendVec3(line, "atten_", m_fConstantAtten, m_fLinearAtten, m_fQuadraticAtten);
    }
    if (m_vPosition[0] != 0.0f || m_vPosition[1] != 0.0f || m_vPosition[2] != 0.0f) {
        appendVec3(line, "pos_", m_vPosition[0], m_vPosition[1], m_vPosition[2]);
    }
    if (m_vSpotDirection != Vector3(0, 0, 0)) {
        appendVec3(line, "dir_", m_vSpotDirection.x, m_vSpotDirection.y, m_vSpotDirection.z);
    }
    if (m_fSpotCutoff != 30.0f) {
        line.append(" cut_%f", static_cast<double>(m_fSpotCutoff));
    }
    if (m_fSpotExponent != 12.0f) {
        line.append(" exp_%f", static_cast<double>(m_fSpotExponent));
    }
    line.emit();
}

void NodeLight::renderSelf(bool /*transparentPass*/) {
    m_mModelView.captureModelView();
    if (m_pLight) {
        m_pLight->setMatrix(m_mModelView.data());
    }
}

bool NodeLight::saveSelf(NodeSaveStream&, NodeResourceCollector&, bool) {
    return true;
}

void NodeLight::describe(ListingLine& line, bool detailed) const {
    line.append("Light");
    if (detailed) {
        line.append(" //using #%lld", objectIdentity(m_pLight));
    }
}
