#include "gui/gui_control.h"

#include <GL/gl.h>

#include "app/error_reporter.h"
#include "assets/texture.h"
#include "assets/texture_manager.h"

namespace {

float notNegative(float value) {
    return value < 0.0f ? 0.0f : value;
}

}  // namespace

GUIControl::GUIControl(TextureManager& textures, GUIType type, GUI_ID id, float x, float y,
                       float width, float height, float hitX, float hitY, float hitWidth,
                       float hitHeight)
    : m_textures(textures),
      m_eType(type),
      m_uiID(id),
      m_vPosition(x, y),
      m_vSize(notNegative(width), notNegative(height)),
      m_vHitOffset(hitX, hitY),
      m_vHitSize(notNegative(hitWidth), notNegative(hitHeight)) {}

void GUIControl::setAlpha(float alpha) {
    if (alpha < 0.0f) {
        alpha = 0.0f;
    } else if (alpha > 1.0f) {
        alpha = 1.0f;
    }
    m_fAlpha = alpha;
}

bool GUIControl::isMouseOver(float mouseX, float mouseY) const {
    const float left = m_vPosition.x + m_vHitOffset.x;
    const float bottom = m_vPosition.y + m_vHitOffset.y;
    return mouseX >= left && mouseX <= left + m_vHitSize.x && mouseY >= bottom &&
           mouseY <= bottom + m_vHitSize.y;
}

bool GUIControl::textureRect(int group, std::uint32_t textureId, int px, int py, float width,
                             float height, const char* nameMessage, unsigned& glName,
                             GUITexRect& rect) const {
    const float s = static_cast<float>(m_textures.getTextureWidth(group, textureId)) - 1.0f;
    if (s <= 0.0f) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Invalid TextureWidth");
        return false;
    }
    const unsigned name = m_textures.getTextureGLName(group, textureId);
    if (name == 0) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "%s", nameMessage);
        return false;
    }
    const auto x = static_cast<float>(px);
    const auto y = static_cast<float>(py);
    rect.uMin = x / s;
    rect.uMax = (x + width - 1.0f) / s;
    rect.vMin = (s - y) / s;
    rect.vMax = (s - y + height - 1.0f) / s;
    glName = name;
    return true;
}

void GUIControl::selectModelView() {
    glMatrixMode(GL_MODELVIEW);
}

void GUIControl::bindTexture(unsigned glName) const {
    bindOverlayTexture(glName, m_textures.overlayScaled());
}

void GUIControl::drawTexturedQuad(unsigned glName, float x, float y, float width, float height,
                                  const float (&texCoords)[4][2]) const {
    const float right = x + width - 1.0f;
    const float top = y + height - 1.0f;
    glEnable(GL_TEXTURE_2D);
    bindTexture(glName);
    glBegin(GL_QUADS);
    glTexCoord2f(texCoords[0][0], texCoords[0][1]);
    glVertex2f(x, y);
    glTexCoord2f(texCoords[1][0], texCoords[1][1]);
    glVertex2f(right, y);
    glTexCoord2f(texCoords[2][0], texCoords[2][1]);
    glVertex2f(right, top);
    glTexCoord2f(texCoords[3][0], texCoords[3][1]);
    glVertex2f(x, top);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}
