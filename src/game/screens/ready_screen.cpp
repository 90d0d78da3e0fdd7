#include "game/screens/ready_screen.h"

#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/gui_ids.h"
#include "game/screens/menu_controls.h"
#include "game/sound_slots.h"
#include "input/game_settings.h"
#include "platform/keycodes.h"

ReadyScreen::ReadyScreen(const ScreenContext& context, const MenuArt& art, Tween& pulse)
    : m_context(context), m_art(art), m_pulse(pulse) {}

bool ReadyScreen::setUp() {
    return createPicture(m_context.gui, gui_id::READY_PICTURE, GameState::Ready, -104, -22, 1006,
                         671, m_art.instructions, 9, 676);
}

void ReadyScreen::step() {
    m_pulse.step();
}

void ReadyScreen::drawBeforeControls() {
    if (m_pulse.finished()) {
        m_pulse.reverse(-1.0f);
    }
    TextureManager& textures = m_context.textures;
    const int group = m_art.scoreFont.group;
    const std::uint32_t font = m_art.scoreFont.id;
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, m_pulse.value());
    const char* const mousePrompt = "Press left mouse button to begin";
    const GameSettings* settings = gameSettings();
    if (settings != nullptr && settings->pad().connectedCount() > 0) {
        // Centred where the mouse's prompt is.
        const char* const padPrompt = "Press A or the left mouse button to begin";
        const float centre = 208.0f + textures.getTextWidth(group, font, "%s", mousePrompt) / 2.0f;
        const float width = textures.getTextWidth(group, font, "%s", padPrompt);
        textures.printText(group, font, centre - width / 2.0f, -49.0f, "%s", padPrompt);
    } else {
        textures.printText(group, font, 208.0f, -49.0f, "%s", mousePrompt);
    }
    // The loading text shares this font: it must not inherit the pulse.
    textures.setFontColour(group, font, 1.0f, 1.0f, 1.0f, 1.0f);
}

void ReadyScreen::startGame() {
    // The click that starts the game is still down when play begins, and the
    // left button is Attack by default: taking the press keeps it from
    // swinging the mace or firing, so Attack waits for a fresh press.
    takeKey(platform::VK_LBUTTON);
    if (AudioManager* audio = audioManager()) {
        audio->stopStream(slotOf(Music::Menu));
        audio->playStream(slotOf(Music::Play));
    }
    m_context.window.setState(GameState::Playing);
}
