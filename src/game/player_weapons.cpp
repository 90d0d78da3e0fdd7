// The player's two weapons: creating them, switching between them, and the
// step and drawing of the one in hand.
#include <new>

#include "app/error_reporter.h"
#include "game/play_support.h"
#include "game/player.h"
#include "game/weapon_crossbow.h"
#include "game/weapon_mace.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "scene/node.h"

namespace {

NodeTransform* findTransform(NodeTransform* root, const char* name) {
    if (!root) {
        return nullptr;
    }
    Node* node = root->findByName(name);
    return node && node->isTransform() ? static_cast<NodeTransform*>(node) : nullptr;
}

// A selection key press is used once: holding it does not switch back and forth.
bool pressed(int action) {
    GameSettings* settings = gameSettings();
    return settings && settings->isActionActive(action, true);
}

}  // namespace

bool Player::createWeapons(NodeTransform* hidden) {
    m_weaponState = WeaponState::MaceReady;
    m_mace.reset(new (std::nothrow) WeaponMace(findTransform(hidden, "mace")));
    if (!m_mace) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create WeaponMace");
        return false;
    }
    if (!m_mace->checkNodes()) {
        return false;
    }
    m_crossbow.reset(new (std::nothrow) WeaponCrossbow(findTransform(hidden, "weapon"),
                                                       findTransform(hidden, "arrow")));
    if (!m_crossbow) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create WeaponCrossbow");
        return false;
    }
    return m_crossbow->checkNodes();
}

bool Player::updateWeapons() {
    if (!m_mace || !m_crossbow) {
        return false;
    }
    bool striking = false;
    const WeaponState before = m_weaponState;
    switch (m_weaponState) {
        case WeaponState::MaceReady:
            if (pressed(ControlTable::RANGED_WEAPON)) {
                m_weaponState = WeaponState::MaceLowering;
                m_mace->moveHold(true, true);
            } else {
                m_mace->update();
                striking = m_mace->isStriking();
            }
            break;
        case WeaponState::MaceLowering:
            if (m_mace->moveHold(true, false)) {
                m_weaponState = WeaponState::CrossbowRaising;
                m_crossbow->moveHold(false, true);
            }
            break;
        case WeaponState::MaceRaising:
            if (m_mace->moveHold(false, false)) {
                m_weaponState = WeaponState::MaceReady;
            }
            break;
        case WeaponState::CrossbowReady:
            if (pressed(ControlTable::MELEE_WEAPON)) {
                m_weaponState = WeaponState::CrossbowLowering;
                m_crossbow->moveHold(true, true);
            } else {
                m_crossbow->update(getPosition(), getDirection());
            }
            break;
        case WeaponState::CrossbowLowering:
            if (m_crossbow->moveHold(true, false)) {
                m_weaponState = WeaponState::MaceRaising;
                m_mace->moveHold(false, true);
            }
            break;
        case WeaponState::CrossbowRaising:
            if (m_crossbow->moveHold(false, false)) {
                m_weaponState = WeaponState::CrossbowReady;
            }
            break;
    }
    if (m_weaponState != before &&
        (m_weaponState == WeaponState::MaceReady || m_weaponState == WeaponState::CrossbowReady)) {
        traceEvent("weapon %s ready",
                   m_weaponState == WeaponState::MaceReady ? "mace" : "crossbow");
    }
    // Arrows already shot fly on whichever weapon is in hand; frozen in the
    // air they would hang there as traps for the ghosts.
    m_crossbow->flyArrows();
    return striking;
}

void Player::switchWeapon() {
    if (!m_mace || !m_crossbow) {
        return;
    }
    if (m_weaponState == WeaponState::MaceReady) {
        m_weaponState = WeaponState::MaceLowering;
        m_mace->moveHold(true, true);
    } else if (m_weaponState == WeaponState::CrossbowReady) {
        m_weaponState = WeaponState::CrossbowLowering;
        m_crossbow->moveHold(true, true);
    }
}

bool Player::isCrossbowSelected() const {
    return m_weaponState == WeaponState::CrossbowReady ||
           m_weaponState == WeaponState::CrossbowLowering ||
           m_weaponState == WeaponState::CrossbowRaising;
}

void Player::renderWeapon() {
    if (!m_mace || !m_crossbow) {
        return;
    }
    if (isCrossbowSelected()) {
        m_crossbow->render();
    } else {
        m_mace->render();
    }
    // Stuck arrows go after their time even while the mace is in hand.
    m_crossbow->expireArrows(playTimeNow());
}
