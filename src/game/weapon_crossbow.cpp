#include "game/weapon_crossbow.h"

#include <GL/gl.h>

#include <cstdint>

#include "app/error_reporter.h"
#include "game/map_colours.h"
#include "game/play_support.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "scene/node.h"
#include "scene/scalar_math.h"

namespace {

constexpr float HOLD_MOVE_SECONDS = 0.25f;
constexpr float CROSSBOW_SCALE = 0.16f;
// The arrow on the crossbow slides back with the string, and the pusher
// behind it.
constexpr float ARROW_REST_Z = -1.334f;
constexpr float ARROW_DRAWN_Z = -1.06f;
constexpr float PUSHER_DRAWN_Z = 1.53f;

NodeTransform* findTransform(NodeTransform* root, const char* name) {
    if (!root) {
        return nullptr;
    }
    Node* node = root->findByName(name);
    return node && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
}

bool triggerHeld() {
    GameSettings* settings = gameSettings();
    return settings && settings->isActionActive(ControlTable::ATTACK, false);
}

}  // namespace

bool arrowStopsInCell(const Color4& cell, float height, float wallHeight) {
    if (isBlack(cell)) {
        return true;
    }
    if (isWhite(cell)) {
        return height > wallHeight;
    }
    if (isYellow(cell) || isMagenta(cell)) {
        return height > 2.0f * wallHeight;
    }
    return false;
}

WeaponCrossbow::WeaponCrossbow(NodeTransform* weapon, NodeTransform* arrow)
    : m_root(weapon), m_loadedArrow(arrow) {
    m_holdTween.start(m_heldPosition, m_awayPosition, HOLD_MOVE_SECONDS, true);
    if (m_root) {
        m_root->m_vTranslation = m_awayPosition;
        m_root->m_vScale = Vector3(CROSSBOW_SCALE, CROSSBOW_SCALE, CROSSBOW_SCALE);
    }
    m_stringL = findTransform(m_root, "stringL");
    m_stringR = findTransform(m_root, "stringR");
    m_pusher = findTransform(m_root, "pusher");
    if (m_stringL) {
        m_stringL->m_fAngle = 0.0f;
    }
    if (m_stringR) {
        m_stringR->m_fAngle = 0.0f;
    }
    if (m_loadedArrow) {
        m_loadedArrow->setVisible(false);
        // On the rail of the crossbow, which is held low on the right; both are
        // drawn in eye space.
        m_loadedArrow->m_vTranslation = Vector3(0.172f, -0.238f, ARROW_REST_Z);
        m_loadedArrow->m_vScale = Vector3(CROSSBOW_SCALE, CROSSBOW_SCALE, CROSSBOW_SCALE);
        m_loadedArrow->m_fAngle = -90.0f;
    }
}

bool WeaponCrossbow::checkNodes() const {
    const char* missing = nullptr;
    if (!m_root) {
        missing = "WeaponCrossbow: Could not find root transform node";
    } else if (!m_stringL) {
        missing = "WeaponCrossbow: Could not find stringL node";
    } else if (!m_stringR) {
        missing = "WeaponCrossbow: Could not find stringR node";
    } else if (!m_pusher) {
        missing = "WeaponCrossbow: Could not find pusher node";
    } else if (!m_loadedArrow) {
        missing = "WeaponCrossbow: Could not find arrow node";
    }
    if (missing) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "%s", missing);
        return false;
    }
    return true;
}

bool WeaponCrossbow::moveHold(bool toAway, bool start) {
    return stepHoldMove(m_holdTween, m_heldPosition, m_awayPosition, toAway, start);
}

float WeaponCrossbow::stringAngle() const {
    return m_stringL ? m_stringL->m_fAngle : 0.0f;
}

void WeaponCrossbow::slide() {
    m_loadedArrow->m_vTranslation.z =
        mapRangeClamped(ARROW_REST_Z, ARROW_DRAWN_Z, 0.0f, DRAWN_ANGLE, m_stringL->m_fAngle);
    m_pusher->m_vTranslation.z = mapRangeClamped(0.0f, PUSHER_DRAWN_Z, ARROW_REST_Z, ARROW_DRAWN_Z,
                                                 m_loadedArrow->m_vTranslation.z);
}

void WeaponCrossbow::shoot(const Vector3& eye, const Vector3& direction, float now) {
    if (static_cast<int>(m_flying.size()) >= MAX_FLYING) {
        m_flying.front().node->setVisible(false);
        m_flying.pop_front();
    }
    NodeTransform* node = m_arrowNodes[m_nextArrow];
    m_nextArrow = (m_nextArrow + 1) % MAX_FLYING;
    if (!node) {
        return;  // never handed over: the shot is spent without an arrow to show
    }
    node->setVisible(true);
    const Vector3 up(0.0f, 1.0f, 0.0f);
    Vector3 forward = direction;
    forward.normalize();
    Vector3 right = cross(direction, up);
    right.normalize();
    // From in front of the arrow on the rail, right of and below the eye.
    node->m_vTranslation =
        Vector3(eye.x + 1.395f * forward.x + 0.171f * right.x, eye.y + 1.395f * forward.y - 0.233f,
                eye.z + 1.395f * forward.z + 0.171f * right.z);
    // The model points along +Y; tip it over onto the line of flight.
    node->setAxis(cross(up, direction));
    node->m_fAngle = angleToUnitDegrees(direction, up);
    FlyingArrow arrow;
    arrow.node = node;
    arrow.velocity =
        Vector3(forward.x * ARROW_SPEED, forward.y * ARROW_SPEED, forward.z * ARROW_SPEED);
    arrow.active = true;
    arrow.expiryTime = now + ARROW_LIFE;
    m_flying.push_back(arrow);
}

void WeaponCrossbow::update(const Vector3& eye, const Vector3& direction) {
    const float now = playTimeNow();
    switch (m_fireState) {
        case FireState::Unloaded:
            if (m_arrowCount > 0 && m_holdTween.finished()) {
                m_fireState = FireState::Drawing;
                m_loadedArrow->setVisible(true);
                m_loadedArrow->m_vTranslation.z = ARROW_REST_Z;
                m_pusher->m_vTranslation.z = 0.0f;
                playSound(Sound::CrossbowLoad);
            }
            break;
        case FireState::Drawing:
            if (m_arrowCount == 0) {
                m_fireState = FireState::Unloaded;
                break;
            }
            m_stringL->m_fAngle += PLAY_STEP * DRAW_SPEED;
            if (m_stringL->m_fAngle > DRAWN_ANGLE) {
                m_stringL->m_fAngle = DRAWN_ANGLE;
                m_stringR->m_fAngle = DRAWN_ANGLE;
                m_fireState = FireState::Loaded;
                traceEvent("crossbow loaded");
            } else {
                m_stringR->m_fAngle = m_stringL->m_fAngle;
            }
            slide();
            break;
        case FireState::Loaded:
            if (m_arrowCount == 0) {
                m_fireState = FireState::Unloaded;
            } else if (triggerHeld()) {
                // The arrow is spent at the trigger, not at the load.
                m_arrowCount -= 1;
                m_fireState = FireState::Releasing;
                playSound(Sound::CrossbowShoot);
            }
            break;
        case FireState::Releasing:
            m_stringL->m_fAngle -= PLAY_STEP * RELEASE_SPEED;
            if (m_stringL->m_fAngle > 0.0f) {
                m_stringR->m_fAngle = m_stringL->m_fAngle;
            } else {
                m_stringL->m_fAngle = 0.0f;
                m_stringR->m_fAngle = 0.0f;
                m_fireState = FireState::Reloading;
                m_reloadTime = now + RELOAD_PAUSE;
                m_loadedArrow->setVisible(false);
                shoot(eye, direction, now);
                traceEvent("crossbow shot, %d arrows left", m_arrowCount);
            }
            slide();
            break;
        default:
            if (now > m_reloadTime) {
                m_fireState = FireState::Unloaded;
            }
            break;
    }
}

void WeaponCrossbow::flyArrows() {
    for (FlyingArrow& arrow : m_flying) {
        if (arrow.active) {
            Vector3& p = arrow.node->m_vTranslation;
            p = Vector3(p.x + arrow.velocity.x * PLAY_STEP, p.y + arrow.velocity.y * PLAY_STEP,
                        p.z + arrow.velocity.z * PLAY_STEP);
        }
    }
}

void WeaponCrossbow::render() {
    m_root->m_vTranslation = m_holdTween.value();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    m_root->render(false, false);
    if (m_holdTween.finished()) {
        m_loadedArrow->render(true, false);
    }
    glPopMatrix();
}

void WeaponCrossbow::expireArrows(float now) {
    while (!m_flying.empty() && m_flying.front().expiryTime < now) {
        m_flying.front().node->setVisible(false);
        m_flying.pop_front();
    }
}

bool WeaponCrossbow::setArrowNode(int index, NodeTransform* node) {
    if (!node) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME, "WeaponCrossbow: can not find node number {%d}",
                        index);
        return false;
    }
    if (index < 0 || index >= MAX_FLYING) {
        reportShowReset(RESET_NO_ERROR, ERROR_GAME,
                        "WeaponCrossbow: ArrowID value {%d} is out of range", index);
        return false;
    }
    node->setVisible(false);
    node->m_fAngle = 0.0f;
    m_arrowNodes[index] = node;
    return true;
}

int WeaponCrossbow::addArrows(int n) {
    const std::int64_t sum = static_cast<std::int64_t>(m_arrowCount) + n;
    m_arrowCount = sum < 0 ? 0 : (sum > MAX_ARROWS ? MAX_ARROWS : static_cast<int>(sum));
    return sum > INT32_MAX ? INT32_MAX : static_cast<int>(sum);
}

bool WeaponCrossbow::flyingPosition(int i, Vector3& position) const {
    if (i < 0 || i >= flyingCount() || !m_flying[i].active) {
        return false;
    }
    position = m_flying[i].node->m_vTranslation;
    return true;
}

void WeaponCrossbow::stopArrow(int i) {
    if (i >= 0 && i < flyingCount()) {
        m_flying[i].active = false;
    }
}
