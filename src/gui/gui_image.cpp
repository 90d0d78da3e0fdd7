#include "gui/gui_image.h"

#include <GL/gl.h>

#include <utility>

#include "app/error_reporter.h"

namespace {

bool quarterTurn(int orientation) {
    return orientation == 1 || orientation == 2;
}

}  // namespace

GUIImage::GUIImage(TextureManager& textures, GUI_ID id, float x, float y, float width, float height)
    : GUIControl(textures, GUI_IMAGE, id, x, y, width, height, 0.0f, 0.0f, width, height) {}

void GUIImage::print() {
    reportError(ERROR_NONE, "//  GUI Image (%1.0f,%1.0f)", static_cast<double>(m_vPosition.x),
                static_cast<double>(m_vPosition.y));
}

GUI_ID GUIImage::update(float mouseX, float mouseY, bool /*pressed*/) {
    // Images answer the mouse but keep no hover state and never toggle.
    return isMouseOver(mouseX, mouseY) ? m_uiID : 0;
}

bool GUIImage::setTexture(int group, std::uint32_t textureId, int px, int py, int orientation) {
    // The picture is cut from the texture at its upright size; a quarter turn
    // only changes the size it is drawn at. Undoing an earlier turn first
    // keeps a second call from cutting a rectangle of the turned size.
    Vector2 upright = m_vSize;
    if (quarterTurn(m_iOrientation)) {
        std::swap(upright.x, upright.y);
    }
    unsigned name = 0;
    GUITexRect rect;
    if (!textureRect(group, textureId, px, py, upright.x, upright.y, "Invalid BindTextureID", name,
                     rect)) {
        return false;
    }
    if (orientation == 3) {
        std::swap(rect.uMin, rect.uMax);
        std::swap(rect.vMin, rect.vMax);
    }
    m_vSize = upright;
    if (quarterTurn(orientation)) {
        std::swap(m_vSize.x, m_vSize.y);
    }
    m_uiTexture = name;
    m_rect = rect;
    m_iOrientation = orientation;
    return true;
}

void GUIImage::draw() {
    if (m_uiTexture == 0) {
        return;
    }
    // The texture corners, lower-left, lower-right, upper-right, upper-left,
    // and which of them lands on each screen corner (in the same order) for
    // each orientation: a quarter turn is a rotation of that order.
    const GUITexRect& r = m_rect;
    const float texture[4][2] = {
        {r.uMin, r.vMin}, {r.uMax, r.vMin}, {r.uMax, r.vMax}, {r.uMin, r.vMax}};
    static const int ORDER[4][4] = {{0, 1, 2, 3}, {1, 2, 3, 0}, {3, 0, 1, 2}, {0, 1, 2, 3}};
    if (m_iOrientation < 0 || m_iOrientation > 3) {
        return;
    }
    float corners[4][2];
    for (int i = 0; i < 4; ++i) {
        corners[i][0] = texture[ORDER[m_iOrientation][i]][0];
        corners[i][1] = texture[ORDER[m_iOrientation][i]][1];
    }
    selectModelView();
    glColor4f(1.0f, 1.0f, 1.0f, m_fAlpha);
    drawTexturedQuad(m_uiTexture, m_vPosition.x, m_vPosition.y, m_vSize.x, m_vSize.y, corners);
}
