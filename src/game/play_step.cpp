// The fixed step of play and the mouse look.
#include <algorithm>
#include <cstddef>
#include <utility>

#include "game/ghost_set.h"
#include "game/level.h"
#include "game/pickup_set.h"
#include "game/play_rules.h"
#include "game/play_support.h"
#include "game/player.h"
#include "input/game_settings.h"

namespace {

// A ghost hurts within 2 units, horizontally.
constexpr float GHOST_REACH_SQUARED = 4.0f;
constexpr int HEARTBEAT_HEALTH = 20;
constexpr int DEAD_HEALTH = 1;
constexpr float DEGREES_TO_RADIANS = 3.14159265f / 180.0f;
// A ghost's touch shakes the pad in short pulses, not once per step.
constexpr float HURT_RUMBLE_STRENGTH = 0.5f;
constexpr int HURT_RUMBLE_MS = 150;
constexpr int HURT_RUMBLE_EVERY_STEPS = 20;

// What the held keys of one axis already add, -1, 0 or 1: the stick adds
// to it only up to the full speed a key gives.
float keyAxis(GameSettings& settings, int positive, int negative) {
    return (settings.isActionActive(positive, false) ? 1.0f : 0.0f) -
           (settings.isActionActive(negative, false) ? 1.0f : 0.0f);
}

float stickShare(float keys, float stick) {
    return std::clamp(keys + stick, -1.0f, 1.0f) - keys;
}

}  // namespace

PlayRules::PlayRules(Player& player, const Level& level, GhostSet& ghosts, PickupSet& pickups,
                     std::function<void()> playerDied)
    : m_player(player),
      m_level(level),
      m_ghosts(ghosts),
      m_pickups(pickups),
      m_playerDied(std::move(playerDied)) {}

void PlayRules::look(float dx, float dy) {
    if (dx != 0.0f) {
        m_player.move(Player::Command::Turn, dx);
    }
    if (dy != 0.0f) {
        m_player.move(Player::Command::LookUpDown, dy);
    }
}

void PlayRules::step() {
    padLook();
    movePlayer();
    keepOutOfWalls();
    if (m_player.updateWeapons()) {
        maceHitTest();
    }
    arrowHitTest();
    m_pickups.collect(m_player);
    updateGhosts();
}

void PlayRules::movePlayer() {
    GameSettings* settings = gameSettings();
    bool moved = false;
    if (settings != nullptr) {
        const int actions[4] = {ControlTable::MOVE_FORWARD, ControlTable::MOVE_BACK,
                                ControlTable::STRAFE_LEFT, ControlTable::STRAFE_RIGHT};
        for (int action : actions) {
            if (settings->isActionActive(action, false)) {
                m_player.move(static_cast<Player::Command>(action), PLAY_STEP);
                moved = true;
            }
        }
        moved = moveByStick(*settings) || moved;
    }
    if (m_footstepsPlaying && !moved) {
        stopSound(Sound::Footsteps);
        m_footstepsPlaying = false;
    } else if (moved && !m_footstepsPlaying) {
        playSound(Sound::Footsteps, true);
        m_footstepsPlaying = true;
    }
}

// The left stick walks and strafes as far as it is pushed.
bool PlayRules::moveByStick(GameSettings& settings) {
    const StickPosition stick = settings.pad().move();
    if (stick.x == 0.0f && stick.y == 0.0f) {
        return false;
    }
    const float forward =
        stickShare(keyAxis(settings, ControlTable::MOVE_FORWARD, ControlTable::MOVE_BACK), stick.y);
    const float right = stickShare(
        keyAxis(settings, ControlTable::STRAFE_RIGHT, ControlTable::STRAFE_LEFT), stick.x);
    if (forward != 0.0f) {
        m_player.move(Player::Command::MoveForward, PLAY_STEP * forward);
    }
    if (right != 0.0f) {
        m_player.move(Player::Command::StrafeRight, PLAY_STEP * right);
    }
    return true;
}

// The right stick turns at the look speed (degrees a second at full push)
// and looks up and down at the same rate, with the mouse's invert setting.
void PlayRules::padLook() {
    GameSettings* settings = gameSettings();
    if (settings == nullptr) {
        return;
    }
    const StickPosition stick = settings->pad().look();
    if (stick.x == 0.0f && stick.y == 0.0f) {
        return;
    }
    const float radians = settings->padLookSpeed * DEGREES_TO_RADIANS * PLAY_STEP;
    const float amount = radians / std::max(m_player.getTurnSpeed(), 0.001f);
    // Pushed up looks up, as the mouse moved away from the player does.
    look(stick.x * amount, -stick.y * amount);
}

void PlayRules::rumbleOnHurt() {
    if (m_stepsSinceHurtRumble < HURT_RUMBLE_EVERY_STEPS) {
        return;
    }
    m_stepsSinceHurtRumble = 0;
    if (GameSettings* settings = gameSettings()) {
        settings->rumble(HURT_RUMBLE_STRENGTH, HURT_RUMBLE_MS);
    }
}

void PlayRules::keepOutOfWalls() {
    Vector3 p = m_player.getPosition();
    if (m_level.keepOutOfWalls(p)) {
        m_player.setPosition(p.x, p.y, p.z);
    }
}

void PlayRules::updateGhosts() {
    ++m_stepsSinceHurtRumble;
    for (std::size_t i = 0; i < m_ghosts.count(); ++i) {
        Ghost* ghost = m_ghosts.at(i);
        ghost->update(m_player.getPosition(), m_ghosts.world());
        if (!ghost->isAlive()) {
            continue;
        }
        Vector3 d = ghost->getPosition().subtract(m_player.getPosition());
        float q = d.x * d.x + d.z * d.z;
        if (!(q < GHOST_REACH_SQUARED)) {
            continue;
        }
        const float damage = ghost->damage(m_player.getPosition());
        m_player.addHealth(damage);
        if (damage != 0.0f) {
            rumbleOnHurt();
        }
        if (m_player.getHealth() < DEAD_HEALTH) {
            m_playerDied();
        } else if (m_player.getHealth() < HEARTBEAT_HEALTH && !isSoundPlaying(Sound::Heartbeat)) {
            playSound(Sound::Heartbeat, true);
        }
    }
}
