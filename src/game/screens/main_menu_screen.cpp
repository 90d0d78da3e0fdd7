#include "game/screens/main_menu_screen.h"

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/map_selection.h"
#include "game/screens/menu_controls.h"
#include "platform/keycodes.h"
#include "scene/random.h"

namespace {

// The entries from the top of the list down, in the order of the selection.
constexpr GUI_ID ENTRIES[] = {gui_id::MENU_START, gui_id::MENU_HIGH_SCORES, gui_id::MENU_OPTIONS,
                              gui_id::MENU_QUIT};
constexpr int ENTRY_COUNT = 4;

const char* const CREDIT_LINE = "Spookhollow - a game on its own small engine";
const char* const SECOND_CREDIT_LINE = "The Spookhollow project";
const char* const CLOSING_LINE = "Thanks for playing";

float randomBobDuration() {
    return 1.5f + 0.5f * randomFraction();
}

int entryOf(GUI_ID id) {
    for (int entry = 0; entry < ENTRY_COUNT; ++entry) {
        if (ENTRIES[entry] == id) {
            return entry;
        }
    }
    return -1;
}

}  // namespace

MainMenuScreen::MainMenuScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art), m_versionText(context.window.version()) {
    m_bobbing.init(61.0f, 86.0f, 1.5f, true);
}

bool MainMenuScreen::setUp() {
    GUIManager& gui = m_context.gui;
    const GameState menu = GameState::MainMenu;
    const TextureID atlas = m_art.gui;
    return createMenuButton(gui, atlas, gui_id::MENU_QUIT, menu, 268, 100, 98, 36, 0, 185) &&
           createMenuButton(gui, atlas, gui_id::MENU_OPTIONS, menu, 268, 201, 210, 34, 0, 149) &&
           createMenuButton(gui, atlas, gui_id::MENU_HIGH_SCORES, menu, 268, 262, 244, 39, 0,
                            113) &&
           createMenuButton(gui, atlas, gui_id::MENU_START, menu, 268, 323, 98, 38, 0, 75) &&
           createPicture(gui, gui_id::MENU_TITLE, menu, 268, 450, 249, 169, atlas, 775, 168) &&
           createPicture(gui, gui_id::MENU_MARKER, menu, 214, 331, 42, 29, atlas, 22, 29) &&
           createPicture(gui, gui_id::MENU_GHOST, menu, 473, 61, 321, 420, atlas, 361, 420);
}

void MainMenuScreen::step() {
    m_bobbing.step();
}

GUI_ID MainMenuScreen::keys() {
    if (takeKey(platform::VK_UP)) {
        m_iSelection = (m_iSelection + ENTRY_COUNT - 1) % ENTRY_COUNT;
        traceEvent("menu entry %d", m_iSelection);
        playClick();
    } else if (takeKey(platform::VK_DOWN)) {
        m_iSelection = (m_iSelection + 1) % ENTRY_COUNT;
        traceEvent("menu entry %d", m_iSelection);
        playClick();
    } else if (takeKey(platform::VK_RETURN)) {
        return ENTRIES[m_iSelection];
    }
    return 0;
}

void MainMenuScreen::guiEvent(GUI_ID id, bool clicked) {
    int entry = entryOf(id);
    if (entry < 0) {
        return;
    }
    m_iSelection = entry;
    if (!clicked) {
        return;
    }
    GameWindow& window = m_context.window;
    if (id == gui_id::MENU_START) {
        window.setState(m_context.maps.startOffersChoice() ? GameState::MapChoice
                                                           : GameState::Loading);
    } else if (id == gui_id::MENU_HIGH_SCORES) {
        window.setState(GameState::HighScores);
    } else if (id == gui_id::MENU_OPTIONS) {
        window.setState(GameState::Options);
    } else if (AppSettings* app = appSettings()) {
        app->quitRequested = true;
    }
    m_context.gui.resetButton(id);
}

void MainMenuScreen::drawBeforeControls() {
    GUIManager& gui = m_context.gui;
    float markerY = m_iSelection == 3 ? 108.0f : 331.0f - 61.0f * static_cast<float>(m_iSelection);
    gui.setPosition(gui_id::MENU_MARKER, gui.getPosition(gui_id::MENU_MARKER).x, markerY);
    if (m_bobbing.finished()) {
        m_bobbing.reverse(randomBobDuration());
    }
    gui.setPosition(gui_id::MENU_GHOST, gui.getPosition(gui_id::MENU_GHOST).x, m_bobbing.value());

    TextureManager& textures = m_context.textures;
    const int group = m_art.smallFont.group;
    const std::uint32_t font = m_art.smallFont.id;
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
    // Along the bottom of the frame, below the menu.
    textures.printText(group, font, -107.0f, -79.0f, "%s", m_versionText.c_str());
    textures.printText(group, font, 246.0f, -79.0f, "%s", CREDIT_LINE);
    textures.printText(group, font, 684.0f, -59.0f, "%s", SECOND_CREDIT_LINE);
    textures.printText(group, font, 692.0f, -79.0f, "%s", CLOSING_LINE);
    textures.setFontColour(group, font, 0.0f, 0.0f, 0.0f, 1.0f);
}
