#include "game/weapon_mace.h"

#include <GL/gl.h>

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "scene/node.h"

namespace {

constexpr float HOLD_MOVE_SECONDS = 0.25f;

bool attackHeld() {
    GameSettings* settings = gameSettings();
    return settings && settings->isActionActive(ControlTable::ATTACK, false);
}

}  // namespace

WeaponMace::WeaponMace(NodeTransform* node) : m_root(node) {
    m_holdTween.start(m_heldPosition, m_awayPosition, HOLD_MOVE_SECONDS, true);
    if (m_root) {
        m_root->m_vTranslation = m_heldPosition;
    }
}

bool WeaponMace::checkNodes() const {
    if (!m_root) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "WeaponMace: Could not find mace node");
        return false;
    }
    return true;
}

bool WeaponMace::moveHold(bool toAway, bool start) {
    return stepHoldMove(m_holdTween, m_heldPosition, m_awayPosition, toAway, start);
}

void WeaponMace::update() {
    m_root->setAxis(-0.1f, -0.1f, 1.0f);
    const float turn = PLAY_STEP * SWING_SPEED;
    switch (m_swingState) {
        case 0:
            if (attackHeld()) {
                m_swingState = 1;
                traceEvent("mace swing");
            }
            break;
        case 1: {
            float angle = m_root->m_fAngle + turn;
            if (angle >= SWING_LIMIT) {
                m_root->m_fAngle = SWING_LIMIT;
                m_swingState = 2;
            } else {
                m_root->m_fAngle = angle;
            }
            break;
        }
        default: {
            float angle = m_root->m_fAngle - turn;
            if (angle <= 0.0f) {
                m_root->m_fAngle = 0.0f;
                m_swingState = 0;
                traceEvent("mace at rest");
            } else {
                m_root->m_fAngle = angle;
            }
            break;
        }
    }
}

bool WeaponMace::isStriking() const {
    return m_swingState == 1 && STRIKE_FROM < m_root->m_fAngle && m_root->m_fAngle < STRIKE_TO;
}

void WeaponMace::render() {
    m_root->m_vTranslation = m_holdTween.value();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    m_root->render(false, false);
    glPopMatrix();
}
