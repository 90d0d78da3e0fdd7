// What keys, hovers and clicks do on the screens around play: the per-state
// keys, the GUI event table, rebinding a control and typing a high-score name.
#include <cstdio>
#include <string>

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/game_scene.h"
#include "game/sound_slots.h"
#include "input/game_settings.h"
#include "input/key_names.h"
#include "platform/keycodes.h"

namespace {

constexpr double INTRO_SKIPPABLE_AFTER = 5.0;
constexpr double INTRO_LENGTH = 8.0;
constexpr int MENU_ENTRIES = 4;
constexpr float PROMPT_CENTRE_X = 500.0f;

// Menu keys act once per press: a key is taken by clearing its entry, so a
// held key does not repeat and the key-up of an unused press does no harm.
bool takeKey(int code) {
    GameSettings* settings = gameSettings();
    if (settings == nullptr || !settings->isKeyDown(code)) {
        return false;
    }
    settings->setKeyDown(code, false);
    return true;
}

// The keys move the highlight with the sound a hover makes.
void playClick() {
    playSound(Sound::MenuButton);
}

bool isMenuButton(GUI_ID id) {
    switch (id) {
        case 3:
        case 4:
        case 5:
        case 6:
        case 13:
        case 18:
        case 20:
        case 29:
        case 30:
            return true;
        default:
            return false;
    }
}

}  // namespace

void GameScene::handleStateKeys() {
    switch (m_window.currentState()) {
        case GameState::Intro:
            introKeys();
            break;
        case GameState::MainMenu:
            mainMenuKeys();
            break;
        case GameState::Options:
            optionsKeys();
            break;
        case GameState::HighScores:
            highScoreKeys();
            break;
        case GameState::Paused:
            pauseMenuKeys();
            break;
        default:
            // Loading and Ready take no keys; play reads its controls in the
            // fixed steps of the play frame.
            break;
    }
}

void GameScene::introKeys() {
    double elapsed = m_window.totalTime();
    // Space is only taken once the intro may be skipped, so an early press
    // is forgotten at its key-up.
    if (elapsed > INTRO_SKIPPABLE_AFTER && takeKey(platform::VK_SPACE)) {
        traceEvent("intro skipped");
        leaveIntro();
    } else if (elapsed > INTRO_LENGTH) {
        leaveIntro();
    }
}

void GameScene::leaveIntro() {
    m_window.setState(GameState::Previous);
    playMusic(Music::Menu);
}

void GameScene::mainMenuKeys() {
    int& selection = m_window.menuSelection;
    if (takeKey(platform::VK_UP)) {
        selection = (selection + MENU_ENTRIES - 1) % MENU_ENTRIES;
        playClick();
    } else if (takeKey(platform::VK_DOWN)) {
        selection = (selection + 1) % MENU_ENTRIES;
        playClick();
    } else if (takeKey(platform::VK_RETURN)) {
        onGuiEvent(static_cast<GUI_ID>(3 + selection), true);
    }
}

void GameScene::optionsKeys() {
    if (takeKey(platform::VK_ESCAPE)) {
        onGuiEvent(20, true);
        return;
    }
    bool left = takeKey(platform::VK_LEFT);
    bool right = takeKey(platform::VK_RIGHT);
    if (left || right) {
        m_window.optionsOnBack = !m_window.optionsOnBack;
        playClick();
    } else if (takeKey(platform::VK_UP)) {
        m_gui.moveListSelection(17, -1);
    } else if (takeKey(platform::VK_DOWN)) {
        m_gui.moveListSelection(17, 1);
    } else if (takeKey(platform::VK_RETURN)) {
        onGuiEvent(m_window.optionsOnBack ? 20 : 18, true);
    }
}

void GameScene::highScoreKeys() {
    bool escape = takeKey(platform::VK_ESCAPE);
    bool enter = takeKey(platform::VK_RETURN);
    if (escape || enter) {
        onGuiEvent(13, true);
    }
}

void GameScene::pauseMenuKeys() {
    bool up = takeKey(platform::VK_UP);
    bool down = takeKey(platform::VK_DOWN);
    if (up || down) {
        m_window.pauseOnResume = !m_window.pauseOnResume;
        playClick();
    } else if (takeKey(platform::VK_RETURN)) {
        onGuiEvent(m_window.pauseOnResume ? 29 : 30, true);
    }
}

void GameScene::guiMouseEvent(bool clicked) {
    GameState state = m_window.currentState();
    GUI_ID id = m_gui.handleMouse(state);
    onGuiEvent(id, clicked);
    // A held slider follows the mouse beyond its box as well, where the hit
    // test names no control; the setting must still follow the knob.
    const GUISlider* slider = m_gui.getSlider(26);
    if (id != 26 && state == GameState::Options && slider != nullptr && slider->isHeld()) {
        onGuiEvent(26, false);
    }
}

void GameScene::onGuiEvent(GUI_ID guiId, bool clicked) {
    GameSettings* settings = gameSettings();
    switch (guiId) {
        case 3:
        case 4:
        case 5:
        case 6:
            m_window.menuSelection = static_cast<int>(guiId) - 3;
            if (clicked) {
                if (guiId == 3) {
                    m_window.setState(GameState::Loading);
                } else if (guiId == 4) {
                    m_window.setState(GameState::HighScores);
                } else if (guiId == 5) {
                    m_window.setState(GameState::Options);
                } else if (AppSettings* app = appSettings()) {
                    app->quitRequested = true;
                }
            }
            break;
        case 13:
            if (clicked) {
                m_window.setState(GameState::Previous);
            }
            break;
        case 18:
            m_window.optionsOnBack = false;
            if (clicked) {
                startRebinding();
            }
            break;
        case 20:
            m_window.optionsOnBack = true;
            if (clicked) {
                m_window.setState(GameState::Previous);
            }
            break;
        case 24:
            if (clicked && settings != nullptr) {
                bool invert = m_gui.isButtonToggled(24);
                settings->setInvertMouse(invert);
                m_player.setInvertMouse(invert);
            }
            break;
        case 26:
            // A hover over the slider reports the same value again; only a
            // real change marks the settings for saving.
            if (settings != nullptr) {
                float value = m_gui.getSliderValue(26);
                if (value != settings->mouseSensitivity) {
                    settings->setMouseSensitivity(value);
                }
            }
            break;
        case 29:
            m_window.pauseOnResume = true;
            if (clicked) {
                m_window.setState(GameState::Previous);
            }
            break;
        case 30:
            m_window.pauseOnResume = false;
            if (clicked) {
                m_window.setState(GameState::MainMenu);
                leaveGame();
            }
            break;
        default:
            break;
    }
    if (clicked && isMenuButton(guiId)) {
        m_gui.resetButton(guiId);
    }

    // On the ready screen a click anywhere starts the game.
    if (clicked && m_window.currentState() == GameState::Ready) {
        if (AudioManager* audio = audioManager()) {
            audio->stopStream(slotOf(Music::Menu));
            audio->playStream(slotOf(Music::Play));
        }
        m_window.setState(GameState::Playing);
    }
}

void GameScene::startRebinding() {
    waitingForKey = true;
    GameSettings* settings = gameSettings();
    std::string label =
        settings != nullptr ? settings->controlLabel(m_gui.getListSelectedRow(17)) : "";
    // The GUI keeps at most 127 characters of a text, however long the label.
    m_gui.setTextf(19, "Press the button/key you want the %s    action to have", label.c_str());
    Vector2 size = m_gui.getTextControlSize(19);
    Vector2 position = m_gui.getPosition(19);
    m_gui.setPosition(19, PROMPT_CENTRE_X - size.x / 2.0f, position.y);
}

void GameScene::bindKey(int code) {
    // A key without a name (Escape among them) unbinds the action.
    if (keyName(code) == "[none]") {
        code = 0;
    }
    if (GameSettings* settings = gameSettings()) {
        settings->setControl(settings->controlActionId(m_gui.getListSelectedRow(17)), code);
    }
    refreshControlList();
    waitingForKey = false;
    m_gui.setTextf(19, "%s", " ");
}

void GameScene::refreshControlList() {
    m_gui.clearList(17);
    GameSettings* settings = gameSettings();
    if (settings == nullptr) {
        return;
    }
    for (int row = 0; row < settings->controlCount(); ++row) {
        m_gui.addListItem(17, {settings->controlLabel(row), settings->controlKeyName(row)},
                          static_cast<std::uint32_t>(settings->controlActionId(row)));
    }
}

bool GameScene::nameEntryKey(int code, bool shift) {
    if (m_window.currentState() != GameState::GameOver) {
        return false;
    }
    // The name as it stands after each key, for the trace.
    auto typed = [this] {
        traceEvent("name \"%s\"", typedName.c_str());
        return true;
    };
    if (code == platform::VK_BACK) {
        if (!typedName.empty()) {
            typedName.pop_back();
        }
        return typed();
    }
    if (code == platform::VK_RETURN || code == platform::VK_SEPARATOR) {
        if (!newHighScore) {
            m_window.setState(GameState::MainMenu);
            leaveGame();
        } else if (!typedName.empty()) {
            m_highScores.saveHighScores(true, m_player.getScore(), typedName);
            traceEvent("high score entered");
            typedName.clear();
            newHighScore = false;
            m_window.setState(GameState::MainMenu);
            m_window.setState(GameState::HighScores);
            leaveGame();
        }
        return true;
    }
    if (typedName.size() >= HighScoreTable::MAX_NAME_LENGTH) {
        return true;
    }
    if (code >= platform::VK_0 && code <= platform::VK_0 + 9) {
        typedName.push_back(static_cast<char>(code));
        return typed();
    }
    if (code >= platform::VK_NUMPAD0 && code <= platform::VK_NUMPAD0 + 9) {
        typedName.push_back(static_cast<char>('0' + (code - platform::VK_NUMPAD0)));
        return typed();
    }
    if (code >= platform::VK_A && code <= platform::VK_A + 25) {
        typedName.push_back(static_cast<char>(shift ? code : code + 32));
        return typed();
    }
    return false;
}
