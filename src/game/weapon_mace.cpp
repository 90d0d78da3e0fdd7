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

WeaponMace::WeaponMace(NodeTransform* node) : root(node) {
    holdTween.start(heldPosition, awayPosition, HOLD_MOVE_SECONDS, true);
    if (root) {
        root->m_vTranslation = heldPosition;
    }
}

bool WeaponMace::checkNodes() const {
    if (!root) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "WeaponMace: Could not find mace node");
        return false;
    }
    return true;
}

bool WeaponMace::moveHold(bool toAway, bool start) {
    return stepHoldMove(holdTween, heldPosition, awayPosition, toAway, start);
}

void WeaponMace::update() {
    root->setAxis(-0.1f, -0.1f, 1.0f);
    const float turn = PLAY_STEP * SWING_SPEED;
    switch (swingState) {
        case 0:
            if (attackHeld()) {
                swingState = 1;
                traceEvent("mace swing");
            }
            break;
        case 1: {
            float angle = root->m_fAngle + turn;
            if (angle >= SWING_LIMIT) {
                root->m_fAngle = SWING_LIMIT;
                swingState = 2;
            } else {
                root->m_fAngle = angle;
            }
            break;
        }
        default: {
            float angle = root->m_fAngle - turn;
            if (angle <= 0.0f) {
                root->m_fAngle = 0.0f;
                swingState = 0;
                traceEvent("mace at rest");
            } else {
                root->m_fAngle = angle;
            }
            break;
        }
    }
}

bool WeaponMace::isStriking() const {
    return swingState == 1 && STRIKE_FROM < root->m_fAngle && root->m_fAngle < STRIKE_TO;
}

void WeaponMace::render() {
    root->m_vTranslation = holdTween.value();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    root->render(false, false);
    glPopMatrix();
}
