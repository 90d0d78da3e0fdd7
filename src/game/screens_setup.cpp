// The controls of the eight screens around play, built once at start. Each
// step stops at the first failure; the failing call has already reported why.
#include <cstdio>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/game_scene.h"
#include "game/sound_slots.h"
#include "game/tuning.h"
#include "input/game_settings.h"

namespace {

// Column widths of the two lists inside their mouse boxes (267 and 250 wide).
constexpr int SCORE_COLUMN = 110;
constexpr int NAME_COLUMN = 157;
constexpr int ACTION_COLUMN = 150;
constexpr int KEY_COLUMN = 100;

// The lists' text sits on the black list background; the last column's
// colour is the one the shared font keeps, so it is the texts' white.
const Color4 AMBER(1.0f, 0.78f, 0.42f, 1.0f);
const Color4 WHITE(1.0f, 1.0f, 1.0f, 1.0f);

bool loaded(const TextureID& id) {
    return id.id != 0;
}

}  // namespace

bool GameScene::setupScreens() {
    return createMenuSounds() && loadMenuTextures() && setupIntroScreen() && setupMouseCursor() &&
           setupMainMenu() && setupHighScoreScreen() && setupOptionsScreen() && setupPauseMenu() &&
           setupLoadingScreens();
}

bool GameScene::createMenuSounds() {
    AudioManager* audio = audioManager();
    if (audio == nullptr) {
        return true;  // a game object without sound (tools, tests)
    }
    return audio->createSource(slotOf(Sound::MenuButton), "resources/audio/btnOver.wav") &&
           audio->createStream(slotOf(Music::Menu), "resources/audio/menu.ogg", true, 40960, 3);
}

bool GameScene::loadMenuTextures() {
    guiTexture = m_textures.loadTexture(0, false, 1, 0, "resources/textures/GUI.tga");
    if (!loaded(guiTexture)) {
        return false;
    }
    instructionsTexture =
        m_textures.loadTexture(0, false, 1, 0, "resources/textures/instructions.tga");
    if (!loaded(instructionsTexture)) {
        return false;
    }
    largeGraphicsTexture =
        m_textures.loadTexture(0, false, 4, 0, "resources/textures/largeGraphics.tga");
    return loaded(largeGraphicsTexture);
}

bool GameScene::createMenuButton(GUI_ID id, GameState state, float x, float y, float width,
                                 float height, int px, int py) {
    return m_gui.createButton(id, state, x, y, width, height) &&
           m_gui.setButtonTexture(id, 4, guiTexture.group, guiTexture.id, px, py) &&
           m_gui.setButtonSound(id, slotOf(Sound::MenuButton));
}

bool GameScene::createMenuImage(GUI_ID id, GameState state, float x, float y, float width,
                                float height, TextureID texture, int px, int py, int orientation) {
    return m_gui.createImage(id, state, x, y, width, height) &&
           m_gui.setImageTexture(id, texture.group, texture.id, px, py, orientation);
}

bool GameScene::createWhiteText(GUI_ID id, GameState state, FontID font, float x, float y,
                                const char* text) {
    if (!m_gui.createText(id, state, font.group, font.id, x, y)) {
        return false;
    }
    m_gui.setTextColour(id, 1.0f, 1.0f, 1.0f, 1.0f);
    m_gui.setTextf(id, "%s", text);
    return true;
}

bool GameScene::setupIntroScreen() {
    return createMenuImage(1, GameState::Intro, 0, 182, 560, 316, guiTexture, 463, 1023);
}

bool GameScene::setupMouseCursor() {
    return m_gui.createMouseCursor(20, 33, guiTexture.group, guiTexture.id, 0, 32, 1.0f, 30.0f);
}

bool GameScene::setupMainMenu() {
    const GameState menu = GameState::MainMenu;
    return createMenuButton(6, menu, 268, 100, 98, 36, 0, 185) &&
           createMenuButton(5, menu, 268, 201, 210, 34, 0, 149) &&
           createMenuButton(4, menu, 268, 262, 244, 39, 0, 113) &&
           createMenuButton(3, menu, 268, 323, 98, 38, 0, 75) &&
           createMenuImage(2, menu, 268, 450, 249, 169, guiTexture, 775, 168) &&
           createMenuImage(7, menu, 214, 331, 42, 29, guiTexture, 22, 29) &&
           createMenuImage(8, menu, 473, 61, 321, 420, guiTexture, 361, 420);
}

bool GameScene::setupHighScoreScreen() {
    const GameState scores = GameState::HighScores;
    TextureID letters = m_textures.loadTexture(0, false, 4, 0, "resources/fonts/ScoreLetters.tga");
    if (!loaded(letters)) {
        return false;
    }
    scoreFont = m_textures.createFont(
        0, letters.id, 25, Color4(1.0f / 255.0f, 1.0f / 255.0f, 1.0f / 255.0f, 1.0f), 1.0f);
    if (scoreFont.id == 0) {
        reportError(ERROR_MEMORY, "Can not create the font of %s.",
                    "resources/fonts/ScoreLetters.tga");
        return false;
    }
    if (!createMenuButton(13, scores, -52, -52, 217, 35, 0, 223) ||
        !createMenuImage(14, scores, -95, -50, 41, 27, guiTexture, 23, 30) ||
        !m_gui.createList(11, scores, 241, 156, 324, 307, 19, 33, 267, 256) ||
        !m_gui.setListTexture(11, 3, guiTexture.group, guiTexture.id, 5, 1018) ||
        !m_gui.assignListColumns(11, {SCORE_COLUMN, NAME_COLUMN}, {scoreFont}, {AMBER, WHITE})) {
        return false;
    }
    m_highScores.setRefreshHook(
        [this](const std::vector<HighScoreEntry>& entries) { showHighScores(entries); });
    m_highScores.loadHighScores();
    return createMenuImage(10, scores, 202, 430, 402, 101, guiTexture, 0, 709) &&
           createMenuImage(15, scores, 368, -40, 256, 512, largeGraphicsTexture, 256, 511, 2);
}

void GameScene::showHighScores(const std::vector<HighScoreEntry>& entries) {
    if (m_gui.getList(11) == nullptr) {
        return;  // the table was read before the screen exists
    }
    m_gui.clearList(11);
    std::uint32_t row = 0;
    for (const HighScoreEntry& entry : entries) {
        char score[16];
        std::snprintf(score, sizeof score, "%d", entry.score);
        m_gui.addListItem(11, {score, entry.name}, row++);
    }
}

bool GameScene::setupOptionsScreen() {
    const GameState options = GameState::Options;
    return createMenuButton(20, options, -52, -52, 217, 35, 0, 223) &&
           createMenuImage(21, options, -95, -50, 41, 27, guiTexture, 23, 30) &&
           setupBindingList() &&
           createMenuImage(16, options, 379, 544, 286, 64, guiTexture, 0, 617) &&
           createMenuButton(18, options, 462, 210, 124, 49, 797, 701) &&
           createWhiteText(19, options, smallFont, 0, 174, " ") &&
           createMenuImage(22, options, -64, 64, 256, 512, largeGraphicsTexture, 0, 511) &&
           createMenuImage(23, options, 307, 122, 184, 24, guiTexture, 494, 691) &&
           setupMouseSettings();
}

bool GameScene::setupBindingList() {
    if (!m_gui.createList(17, GameState::Options, 362, 250, 321, 307, 40, 33, 250, 205) ||
        !m_gui.setListTexture(17, 3, guiTexture.group, guiTexture.id, 698, 662)) {
        return false;
    }
    m_gui.setListHighlightColour(17, 0.729412f, 0.0f, 0.278431f, 1.0f);
    TextureID small = m_textures.loadTexture(0, false, 4, 0, "resources/fonts/Small.tga");
    if (!loaded(small)) {
        return false;
    }
    smallFont = m_textures.createFont(0, small.id, 12, Color4(0.0f, 0.0f, 0.0f, 1.0f), 1.0f);
    if (smallFont.id == 0) {
        reportError(ERROR_MEMORY, "Can not create the font of %s.", "resources/fonts/Small.tga");
        return false;
    }
    if (!m_gui.assignListColumns(17, {ACTION_COLUMN, KEY_COLUMN}, {smallFont}, {AMBER, WHITE})) {
        return false;
    }
    refreshControlList();
    return true;
}

bool GameScene::setupMouseSettings() {
    const GameState options = GameState::Options;
    GameSettings* settings = gameSettings();
    bool invert = settings != nullptr ? settings->invertMouse : true;
    float sensitivity =
        settings != nullptr ? settings->mouseSensitivity : GameSettings::DEFAULT_MOUSE_SENSITIVITY;

    // The invert toggle has a picture per look: plain, ticked, and both under the mouse.
    if (!m_gui.createButton(24, options, 501, 124, 20, 20)) {
        return false;
    }
    const int looks[4][2] = {{430, 1008}, {364, 1008}, {408, 1008}, {386, 1008}};
    for (int look = 0; look < 4; ++look) {
        if (!m_gui.setButtonTexture(24, look, guiTexture.group, guiTexture.id, looks[look][0],
                                    looks[look][1])) {
            return false;
        }
    }
    m_gui.setButtonToggled(24, invert);

    return m_gui.createSlider(26, options, 497, 65, 297, 34, 51, 50, 26, -8, true, sensitivity,
                              SENSITIVITY_SLIDER_MIN, SENSITIVITY_SLIDER_MAX, 0.0f) &&
           m_gui.setSliderTexture(26, guiTexture.group, guiTexture.id, 719, 346, 358, 898, 51, 0) &&
           createMenuImage(25, options, 276, 70, 215, 26, guiTexture, 462, 661) &&
           createWhiteText(27, options, smallFont, 500, 55, "LOW") &&
           createWhiteText(28, options, smallFont, 757, 55, "HIGH");
}

bool GameScene::setupPauseMenu() {
    const GameState paused = GameState::Paused;
    return createMenuButton(30, paused, 258, 257, 212, 36, 0, 185) &&
           createMenuButton(29, paused, 258, 381, 319, 35, 0, 261) &&
           createMenuImage(31, paused, 212, 388, 42, 29, guiTexture, 22, 29);
}

bool GameScene::setupLoadingScreens() {
    return createWhiteText(32, GameState::Loading, scoreFont, 10, -50, "Loading ...") &&
           createMenuImage(33, GameState::Loading, -104, -22, 1006, 671, instructionsTexture, 9,
                           676) &&
           createMenuImage(34, GameState::Ready, -104, -22, 1006, 671, instructionsTexture, 9, 676);
}
