#include "game/screens/intro_screen.h"

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"
#include "game/sound_slots.h"
#include "platform/keycodes.h"

namespace {

constexpr double SKIPPABLE_AFTER = 5.0;
constexpr double INTRO_LENGTH = 8.0;

}  // namespace

IntroScreen::IntroScreen(const ScreenContext& context, const MenuArt& art)
    : m_context(context), m_art(art) {}

bool IntroScreen::setUp() {
    return createPicture(m_context.gui, gui_id::INTRO_PICTURE, GameState::Intro, 0, 182, 560, 316,
                         m_art.gui, 463, 1023);
}

GUI_ID IntroScreen::keys() {
    double elapsed = m_context.window.totalTime();
    // Space is only taken once the intro may be skipped, so an early press
    // is forgotten at its key-up.
    if (elapsed > SKIPPABLE_AFTER && takeKey(platform::VK_SPACE)) {
        traceEvent("intro skipped");
        leave();
    } else if (elapsed > INTRO_LENGTH) {
        leave();
    }
    return 0;
}

void IntroScreen::leave() {
    m_context.window.setState(GameState::Previous);
    playMusic(Music::Menu);
}

void IntroScreen::drawBeforeControls() {
    // In from the far left, a moment's rest at 4 s, then out to the right.
    GUIManager& gui = m_context.gui;
    float t = static_cast<float>(m_context.window.totalTime()) - 4.0f;
    gui.setPosition(gui_id::INTRO_PICTURE, t * t * t * 30.0f + 120.0f,
                    gui.getPosition(gui_id::INTRO_PICTURE).y);
}
