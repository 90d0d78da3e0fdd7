#include "gui/gui_button.h"

#include <GL/gl.h>

#include <utility>

#include "app/error_reporter.h"
#include "audio/audio_manager.h"

namespace {

void playThroughAudioManager(unsigned slot) {
    if (AudioManager* audio = audioManager()) {
        audio->playSource(static_cast<SourceID>(slot), false);
    }
}

GUIButton::SoundPlayer& soundPlayer() {
    static GUIButton::SoundPlayer player = playThroughAudioManager;
    return player;
}

}  // namespace

GUIButton::SoundPlayer GUIButton::setSoundPlayer(SoundPlayer player) {
    SoundPlayer previous = std::move(soundPlayer());
    soundPlayer() = player ? std::move(player) : SoundPlayer(playThroughAudioManager);
    return previous;
}

GUIButton::GUIButton(TextureManager& textures, GUI_ID id, float x, float y, float width,
                     float height, float hitX, float hitY, float hitWidth, float hitHeight)
    : GUIControl(textures, GUI_BUTTON, id, x, y, width, height, hitX, hitY, hitWidth, hitHeight) {}

void GUIButton::print() {
    reportError(ERROR_NONE, "//  GUI Button (%1.0f,%1.0f)", static_cast<double>(m_vPosition.x),
                static_cast<double>(m_vPosition.y));
}

GUI_ID GUIButton::update(float mouseX, float mouseY, bool pressed) {
    const bool over = isMouseOver(mouseX, mouseY);
    const bool entered = over && !m_bMouseOver;
    m_bMouseOver = over;
    if (entered && m_uiSound != 0) {
        soundPlayer()(m_uiSound);
    }
    if (over && pressed) {
        m_bToggled = !m_bToggled;
    }
    return over ? m_uiID : 0;
}

bool GUIButton::setTexture(int group, std::uint32_t textureId, int px, int py, int look) {
    if (look < 0 || look > ALL_LOOKS) {
        reportShowReset(RESET_NO_ERROR, ERROR_GENERAL, "Invalid button state %d", look);
        return false;
    }
    unsigned name = 0;
    GUITexRect rect;
    if (!textureRect(group, textureId, px, py, m_vSize.x, m_vSize.y, "Invalid BindTextureID", name,
                     rect)) {
        return false;
    }
    m_uiTexture = name;
    if (look == ALL_LOOKS) {
        for (GUITexRect& each : m_rects) {
            each = rect;
        }
    } else {
        m_rects[look] = rect;
    }
    return true;
}

void GUIButton::draw() {
    if (m_uiTexture == 0) {
        return;
    }
    const int look = (m_bMouseOver ? 2 : 0) + (m_bToggled ? 1 : 0);
    const GUITexRect& r = m_rects[look];
    const float corners[4][2] = {
        {r.uMin, r.vMin}, {r.uMax, r.vMin}, {r.uMax, r.vMax}, {r.uMin, r.vMax}};
    selectModelView();
    glColor3f(1.0f, 1.0f, 1.0f);
    drawTexturedQuad(m_uiTexture, m_vPosition.x, m_vPosition.y, m_vSize.x, m_vSize.y, corners);
}
