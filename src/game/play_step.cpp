// The fixed step of play and the mouse look.
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/game_scene.h"
#include "game/ghost.h"
#include "game/play_support.h"
#include "input/game_settings.h"

namespace {

// A ghost hurts within 2 units, horizontally.
constexpr float GHOST_REACH_SQUARED = 4.0f;
constexpr int HEARTBEAT_HEALTH = 20;
constexpr int DEAD_HEALTH = 1;

}  // namespace

void GameScene::mouseLook(float dx, float dy) {
    if (dx != 0.0f) {
        m_player.move(Player::TURN, dx);
    }
    if (dy != 0.0f) {
        m_player.move(Player::LOOK_UP_DOWN, dy);
    }
}

// The main loop runs every step of a frame it started in Playing; the steps
// left after the game ended in that frame must not play on.
void GameScene::updatePlay() {
    if (m_window.currentState() != GameState::Playing) {
        return;
    }
    movePlayer();
    collideWithWalls();
    if (m_player.updateWeapons()) {
        maceHitTest();
    }
    arrowHitTest();
    collectPickups();
    updateGhosts();
}

void GameScene::movePlayer() {
    GameSettings* settings = gameSettings();
    bool moved = false;
    if (settings != nullptr) {
        const int actions[4] = {Player::MOVE_FORWARD, Player::MOVE_BACK, Player::STRAFE_LEFT,
                                Player::STRAFE_RIGHT};
        for (int action : actions) {
            if (settings->isActionActive(action, false)) {
                m_player.move(action, PLAY_STEP);
                moved = true;
            }
        }
    }
    if (footstepsPlaying && !moved) {
        stopSound(Sound::Footsteps);
        footstepsPlaying = false;
    } else if (moved && !footstepsPlaying) {
        playSound(Sound::Footsteps, true);
        footstepsPlaying = true;
    }
}

void GameScene::updateGhosts() {
    for (const std::unique_ptr<Ghost>& ghost : ghosts) {
        if (ghost == nullptr) {
            continue;
        }
        ghost->update(m_player.getPosition());
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
            endGame();
        } else if (m_player.getHealth() < HEARTBEAT_HEALTH && !isSoundPlaying(Sound::Heartbeat)) {
            playSound(Sound::Heartbeat, true);
        }
    }
}

// Runs once: a second ghost within reach in the same step would otherwise
// push the game-over screen again and restart its music.
void GameScene::endGame() {
    if (m_window.currentState() == GameState::GameOver) {
        return;
    }
    m_window.setState(GameState::GameOver);
    traceEvent("game over, score %d", m_player.getScore());
    if (AudioManager* audio = audioManager()) {
        for (SourceID slot = slotOf(FIRST_LEVEL_SOUND); slot <= slotOf(LAST_LEVEL_SOUND); ++slot) {
            audio->stopSource(slot);
        }
        audio->playStream(slotOf(Music::GameOver));
    }
    m_screens.gameOver().begin();
}
