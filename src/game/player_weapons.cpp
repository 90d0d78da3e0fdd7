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
    weaponState = MaceReady;
    mace.reset(new (std::nothrow) WeaponMace(findTransform(hidden, "mace")));
    if (!mace) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create WeaponMace");
        return false;
    }
    if (!mace->checkNodes()) {
        return false;
    }
    crossbow.reset(new (std::nothrow) WeaponCrossbow(findTransform(hidden, "weapon"),
                                                     findTransform(hidden, "arrow")));
    if (!crossbow) {
        reportShowReset(RESET_NO_ERROR, ERROR_MEMORY, "Can not create WeaponCrossbow");
        return false;
    }
    return crossbow->checkNodes();
}

bool Player::updateWeapons() {
    if (!mace || !crossbow) {
        return false;
    }
    bool striking = false;
    const WeaponState before = weaponState;
    switch (weaponState) {
        case MaceReady:
            if (pressed(ControlTable::RANGED_WEAPON)) {
                weaponState = MaceLowering;
                mace->moveHold(true, true);
            } else {
                mace->update();
                striking = mace->isStriking();
            }
            break;
        case MaceLowering:
            if (mace->moveHold(true, false)) {
                weaponState = CrossbowRaising;
                crossbow->moveHold(false, true);
            }
            break;
        case MaceRaising:
            if (mace->moveHold(false, false)) {
                weaponState = MaceReady;
            }
            break;
        case CrossbowReady:
            if (pressed(ControlTable::MELEE_WEAPON)) {
                weaponState = CrossbowLowering;
                crossbow->moveHold(true, true);
            } else {
                crossbow->update(getPosition(), getDirection());
            }
            break;
        case CrossbowLowering:
            if (crossbow->moveHold(true, false)) {
                weaponState = MaceRaising;
                mace->moveHold(false, true);
            }
            break;
        case CrossbowRaising:
            if (crossbow->moveHold(false, false)) {
                weaponState = CrossbowReady;
            }
            break;
    }
    if (weaponState != before && (weaponState == MaceReady || weaponState == CrossbowReady)) {
        traceEvent("weapon %s ready", weaponState == MaceReady ? "mace" : "crossbow");
    }
    // Arrows already shot fly on whichever weapon is in hand; frozen in the
    // air they would hang there as traps for the ghosts.
    crossbow->flyArrows();
    return striking;
}

void Player::switchWeapon() {
    if (!mace || !crossbow) {
        return;
    }
    if (weaponState == MaceReady) {
        weaponState = MaceLowering;
        mace->moveHold(true, true);
    } else if (weaponState == CrossbowReady) {
        weaponState = CrossbowLowering;
        crossbow->moveHold(true, true);
    }
}

bool Player::isCrossbowSelected() const {
    return weaponState == CrossbowReady || weaponState == CrossbowLowering ||
           weaponState == CrossbowRaising;
}

void Player::renderWeapon() {
    if (!mace || !crossbow) {
        return;
    }
    if (isCrossbowSelected()) {
        crossbow->render();
    } else {
        mace->render();
    }
    // Stuck arrows go after their time even while the mace is in hand.
    crossbow->expireArrows(playTimeNow());
}
