#include "game/screens/high_scores_screen.h"

#include <cstdio>

#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"
#include "platform/keycodes.h"

namespace {

// The list's frame is drawn wider than its picture, 324 wide, to hold the
// map each score was made on: columns inside the mouse box, 363 wide. A map
// label is cut to fit.
constexpr float FRAME_PICTURE_WIDTH = 324.0f;
constexpr int SCORE_COLUMN = 80;
constexpr int NAME_COLUMN = 190;
constexpr int MAP_COLUMN = 93;
constexpr float MAP_ROOM = MAP_COLUMN - 4.0f;

}  // namespace

HighScoresScreen::HighScoresScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

// The table outlives the screens inside the game object: it must not call
// back into a screen that is gone.
HighScoresScreen::~HighScoresScreen() {
    m_context.highScores.setRefreshHook(nullptr);
}

bool HighScoresScreen::setUp() {
    GUIManager& gui = m_context.gui;
    const GameState scores = GameState::HighScores;
    const TextureID atlas = m_art.gui;
    if (!createBackButton(gui, atlas, scores, gui_id::HIGH_SCORES_BACK,
                          gui_id::HIGH_SCORES_MARKER) ||
        !gui.createList(gui_id::HIGH_SCORE_LIST, scores, 193, 156, 420, 307, 19, 33, 363, 256) ||
        !gui.setListTexture(gui_id::HIGH_SCORE_LIST, 3, atlas.group, atlas.id, 5, 1018,
                            FRAME_PICTURE_WIDTH) ||
        !gui.assignListColumns(gui_id::HIGH_SCORE_LIST, {SCORE_COLUMN, NAME_COLUMN, MAP_COLUMN},
                               {m_art.scoreFont, m_art.scoreFont, m_art.smallFont},
                               {LIST_AMBER, LIST_WHITE, LIST_WHITE})) {
        return false;
    }
    m_context.highScores.setRefreshHook(
        [this](const std::vector<HighScoreEntry>& entries) { showHighScores(entries); });
    m_context.highScores.loadHighScores();
    return createPicture(gui, gui_id::HIGH_SCORES_TITLE, scores, 202, 430, 402, 101, atlas, 0,
                         709) &&
           createPicture(gui, gui_id::HIGH_SCORES_CASTLE, scores, 368, -40, 256, 512,
                         m_art.largeGraphics, 256, 511, 2);
}

void HighScoresScreen::showHighScores(const std::vector<HighScoreEntry>& entries) {
    GUIManager& gui = m_context.gui;
    if (gui.getList(gui_id::HIGH_SCORE_LIST) == nullptr) {
        return;  // the table was read before the screen exists
    }
    gui.clearList(gui_id::HIGH_SCORE_LIST);
    std::uint32_t row = 0;
    for (const HighScoreEntry& entry : entries) {
        char score[16];
        std::snprintf(score, sizeof score, "%d", entry.score);
        gui.addListItem(
            gui_id::HIGH_SCORE_LIST,
            {score, entry.name, fitText(m_context.textures, m_art.smallFont, entry.map, MAP_ROOM)},
            row++);
    }
}

GUI_ID HighScoresScreen::keys() {
    bool escape = takeKey(platform::VK_ESCAPE);
    bool enter = takeKey(platform::VK_RETURN);
    return escape || enter ? gui_id::HIGH_SCORES_BACK : 0;
}

void HighScoresScreen::guiEvent(GUI_ID id, bool clicked) {
    if (id == gui_id::HIGH_SCORES_BACK && clicked) {
        m_context.window.setState(GameState::Previous);
        m_context.gui.resetButton(id);
    }
}
