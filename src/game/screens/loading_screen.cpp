#include "game/screens/loading_screen.h"

#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"

LoadingScreen::LoadingScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

bool LoadingScreen::setUp() {
    GUIManager& gui = m_context.gui;
    return createWhiteText(gui, gui_id::LOADING_TEXT, GameState::Loading, m_art.scoreFont, 10, -50,
                           "Loading ...") &&
           createPicture(gui, gui_id::LOADING_PICTURE, GameState::Loading, -104, -22, 1006, 671,
                         m_art.instructions, 9, 676);
}
