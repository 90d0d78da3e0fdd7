// The fixed step of play and the mouse look.
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
    }
    if (m_footstepsPlaying && !moved) {
        stopSound(Sound::Footsteps);
        m_footstepsPlaying = false;
    } else if (moved && !m_footstepsPlaying) {
        playSound(Sound::Footsteps, true);
        m_footstepsPlaying = true;
    }
}

void PlayRules::keepOutOfWalls() {
    Vector3 p = m_player.getPosition();
    if (m_level.keepOutOfWalls(p)) {
        m_player.setPosition(p.x, p.y, p.z);
    }
}

void PlayRules::updateGhosts() {
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
        m_player.addHealth(ghost->damage(m_player.getPosition()));
        if (m_player.getHealth() < DEAD_HEALTH) {
            m_playerDied();
        } else if (m_player.getHealth() < HEARTBEAT_HEALTH && !isSoundPlaying(Sound::Heartbeat)) {
            playSound(Sound::Heartbeat, true);
        }
    }
}
