// What moves and what is printed on the screens around play.
#include "app/game_window.h"
#include "game/game_scene.h"
#include "scene/random.h"

namespace {

const char* const CREDIT_LINE = "Spookhollow - a game on its own small engine";
const char* const SECOND_CREDIT_LINE = "The Spookhollow project";
const char* const MENU_CLOSING_LINE = "Thanks for playing";
const char* const GAME_OVER_CLOSING_LINE = "Play it again!";

float randomBobDuration() {
    return 1.5f + 0.5f * randomFraction();
}

}  // namespace

void GameScene::menuStep() {
    switch (m_window.currentState()) {
        case GameState::MainMenu:
            bobbingTween.step();
            break;
        case GameState::Ready:
        case GameState::GameOver:
            pulseTween.step();
            break;
        default:
            break;
    }
}

void GameScene::drawScreenOverlay() {
    GameState state = m_window.currentState();
    switch (state) {
        case GameState::Intro: {
            // In from the far left, a moment's rest at 4 s, then out to the right.
            float t = static_cast<float>(m_window.totalTime()) - 4.0f;
            m_gui.setPosition(1, t * t * t * 30.0f + 120.0f, m_gui.getPosition(1).y);
            break;
        }
        case GameState::MainMenu:
            drawMainMenuOverlay();
            break;
        case GameState::Ready:
            drawReadyOverlay();
            break;
        case GameState::Options:
            if (m_window.optionsOnBack) {
                m_gui.setPosition(21, -95.0f, -50.0f);
            } else {
                m_gui.setPosition(21, 420.0f, 220.0f);
            }
            break;
        case GameState::Paused:
            m_gui.setPosition(31, m_gui.getPosition(31).x,
                              m_window.pauseOnResume ? 384.0f : 261.0f);
            break;
        default:
            break;
    }
    m_gui.drawGroup(state);
    if (state == GameState::GameOver) {
        drawGameOverOverlay();
    }
}

void GameScene::drawMainMenuOverlay() {
    int selection = m_window.menuSelection;
    float markerY = selection == 3 ? 108.0f : 331.0f - 61.0f * static_cast<float>(selection);
    m_gui.setPosition(7, m_gui.getPosition(7).x, markerY);
    if (bobbingTween.finished()) {
        bobbingTween.reverse(randomBobDuration());
    }
    m_gui.setPosition(8, m_gui.getPosition(8).x, bobbingTween.value());

    const int group = smallFont.group;
    const std::uint32_t font = smallFont.id;
    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
    m_textures.printText(group, font, 5.0f, 5.0f, "%s", versionText.c_str());
    m_textures.printText(group, font, 358.0f, 5.0f, "%s", CREDIT_LINE);
    m_textures.printText(group, font, 796.0f, 25.0f, "%s", SECOND_CREDIT_LINE);
    m_textures.printText(group, font, 804.0f, 5.0f, "%s", MENU_CLOSING_LINE);
    m_textures.setFontColour(group, font, 0.0f, 0.0f, 0.0f, 1.0f);
}

void GameScene::drawReadyOverlay() {
    if (pulseTween.finished()) {
        pulseTween.reverse(-1.0f);
    }
    const int group = scoreFont.group;
    const std::uint32_t font = scoreFont.id;
    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, pulseTween.value());
    m_textures.printText(group, font, 320.0f, 35.0f, "%s", "Press left mouse button to begin");
    // The loading text shares this font: it must not inherit the pulse.
    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
}

void GameScene::drawGameOverOverlay() {
    if (pulseTween.finished()) {
        pulseTween.reverse(-1.0f);
    }
    const int group = scoreFont.group;
    const std::uint32_t font = scoreFont.id;
    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
    m_textures.printText(group, font, 293.0f, 573.0f, "%d", m_player.getScore());
    m_textures.printText(group, font, 343.0f, 410.0f, "%s", GAME_OVER_CLOSING_LINE);
    if (newHighScore) {
        float width = m_textures.getTextWidth(group, font, "%s", typedName.c_str());
        m_textures.printText(group, font, 512.0f - width / 2.0f, 525.0f, "%s", typedName.c_str());
    }

    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, pulseTween.value());
    if (newHighScore) {
        m_textures.printText(group, font, 727.0f, 607.0f, "%s", "You got a high score!");
        m_textures.printText(group, font, 562.0f, 573.0f, "%s",
                             "Type in your name and press ENTER");
    } else {
        m_textures.printText(group, font, 508.0f, 573.0f, "%s",
                             "Press ENTER to return to the main menu");
    }
    m_textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
}
