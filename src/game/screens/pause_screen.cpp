#include "game/screens/pause_screen.h"

#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"
#include "platform/keycodes.h"

PauseScreen::PauseScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

bool PauseScreen::setUp() {
    GUIManager& gui = m_context.gui;
    const GameState paused = GameState::Paused;
    const TextureID atlas = m_art.gui;
    return createMenuButton(gui, atlas, gui_id::PAUSE_QUIT, paused, 258, 257, 212, 36, 0, 299) &&
           createMenuButton(gui, atlas, gui_id::PAUSE_RESUME, paused, 258, 381, 319, 35, 0, 261) &&
           createPicture(gui, gui_id::PAUSE_MARKER, paused, 212, 388, 42, 29, atlas, 22, 29);
}

GUI_ID PauseScreen::keys() {
    bool up = takeKey(platform::VK_UP);
    bool down = takeKey(platform::VK_DOWN);
    if (up || down) {
        m_bOnResume = !m_bOnResume;
        playClick();
    } else if (takeKey(platform::VK_RETURN)) {
        return m_bOnResume ? gui_id::PAUSE_RESUME : gui_id::PAUSE_QUIT;
    }
    return 0;
}

bool PauseScreen::padButton(platform::PadButton button) {
    if (button != platform::PadButton::B) {
        return false;
    }
    guiEvent(gui_id::PAUSE_RESUME, true);
    return true;
}

void PauseScreen::guiEvent(GUI_ID id, bool clicked) {
    if (id == gui_id::PAUSE_RESUME) {
        m_bOnResume = true;
        if (clicked) {
            m_context.window.setState(GameState::Previous);
            m_context.gui.resetButton(id);
        }
    } else if (id == gui_id::PAUSE_QUIT) {
        m_bOnResume = false;
        if (clicked) {
            m_context.window.setState(GameState::MainMenu);
            m_context.leaveGame();
            m_context.gui.resetButton(id);
        }
    }
}

void PauseScreen::drawBeforeControls() {
    GUIManager& gui = m_context.gui;
    gui.setPosition(gui_id::PAUSE_MARKER, gui.getPosition(gui_id::PAUSE_MARKER).x,
                    m_bOnResume ? 384.0f : 261.0f);
}
