// A level's life in the game object: built while the loading screen shows,
// played in fixed steps and drawn frames, ended when the player dies, and
// left for the main menu.
#include <GL/gl.h>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/level_builder.h"
#include "game/sound_slots.h"

// A failed build takes back what it made, so the main menu it returns to is
// clean and the next Start builds from nothing (the HUD's ids are free again).
bool GameScene::buildLevel() {
    LevelBuilder builder({*this, m_textures, m_level, m_player, m_ghosts, m_pickups, m_hud,
                          m_screens.art().instructions, m_maps.current().file});
    const bool built = builder.build();
    m_textures.endPreload();
    m_levelSoundsCreated = builder.soundsCreated();
    if (!built) {
        releaseLevelObjects();
        return false;
    }
    m_play.restart();
    return true;
}

// The main loop runs every step of a frame it started in Playing; the steps
// left after the game ended in that frame must not play on.
void GameScene::updatePlay() {
    if (m_window.currentState() != GameState::Playing) {
        return;
    }
    m_play.step();
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

// The once-per-drawn-frame side of play: what turns smoothly between the
// fixed steps, pickups coming back, and the radar's drain on energy.
void GameScene::updateAnimations(float stepFraction) {
    m_pickups.animate(stepFraction);
    m_ghosts.animate(stepFraction);
    m_pickups.respawn(m_level);
    m_player.addEnergy(-m_frameTime);
}

void GameScene::drawPlayOverlay() {
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);

    const bool radarShown =
        m_hud.update(m_frameTime, m_window.currentState() == GameState::Playing);
    drawScreenOverlay();
    // The radar's screen is opaque, so its sweep goes on top of it.
    if (radarShown) {
        m_hud.drawRadarSweep();
    }

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}

void GameScene::leaveGame() {
    // Only a built level filled the level's sound and music slots, and asking
    // to delete an empty slot is an error the player would see: leaving with
    // no level must be quiet.
    bool levelSounds = m_levelSoundsCreated;
    m_levelSoundsCreated = false;
    releaseLevelObjects();
    AudioManager* audio = audioManager();
    if (audio == nullptr) {
        return;
    }
    if (levelSounds) {
        for (SourceID slot = slotOf(FIRST_LEVEL_SOUND); slot <= slotOf(LAST_LEVEL_SOUND); ++slot) {
            audio->deleteSource(slot);
        }
        for (StreamID slot = slotOf(FIRST_LEVEL_MUSIC); slot <= slotOf(LAST_LEVEL_MUSIC); ++slot) {
            audio->deleteStream(slot);
        }
    }
    playMusic(Music::Menu);
}

// Clearing content group 1 also releases the level's textures and the play
// and game-over GUI groups.
void GameScene::releaseLevelObjects() {
    m_ghosts.clear();
    m_pickups.clear();
    m_player.reset();
    clearScene(1);
    m_level.clear();
    m_hud.clear();
    m_play.restart();
}
