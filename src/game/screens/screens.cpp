#include "game/screens/screens.h"

#include <utility>

#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/sound_slots.h"
#include "gui/gui_manager.h"

Screens::Screens(ScreenContext context)
    : m_context(std::move(context)),
      m_intro(m_context, m_art),
      m_mainMenu(m_context, m_art),
      m_highScores(m_context, m_art),
      m_options(m_context, m_art),
      m_pause(m_context, m_art),
      m_loading(m_context, m_art),
      m_ready(m_context, m_art, m_pulse),
      m_gameOver(m_context, m_art, m_pulse),
      m_mapChoice(m_context, m_art) {
    m_pulse.init(0.3f, 1.0f, 1.0f, true);
}

bool Screens::setUp() {
    return createMenuSounds() && m_art.loadPictures(m_context.textures) && m_intro.setUp() &&
           setUpMouseCursor() && m_mainMenu.setUp() && m_art.loadScoreFont(m_context.textures) &&
           m_art.loadSmallFont(m_context.textures) && m_highScores.setUp() && m_options.setUp() &&
           m_pause.setUp() && m_loading.setUp() && m_ready.setUp() && m_gameOver.setUp() &&
           m_mapChoice.setUp();
}

bool Screens::createMenuSounds() {
    AudioManager* audio = audioManager();
    if (audio == nullptr) {
        return true;  // a game object without sound (tools, tests)
    }
    return audio->createSource(slotOf(Sound::MenuButton), "resources/audio/btnOver.wav") &&
           audio->createStream(slotOf(Music::Menu), "resources/audio/menu.ogg", true, 40960, 3);
}

bool Screens::setUpMouseCursor() {
    const TextureID atlas = m_art.gui;
    return m_context.gui.createMouseCursor(20, 33, atlas.group, atlas.id, 0, 32, 1.0f, 30.0f);
}

Screen* Screens::screenOf(GameState state) {
    switch (state) {
        case GameState::Intro:
            return &m_intro;
        case GameState::MainMenu:
            return &m_mainMenu;
        case GameState::Options:
            return &m_options;
        case GameState::HighScores:
            return &m_highScores;
        case GameState::Loading:
            return &m_loading;
        case GameState::Ready:
            return &m_ready;
        case GameState::Paused:
            return &m_pause;
        case GameState::GameOver:
            return &m_gameOver;
        case GameState::MapChoice:
            return &m_mapChoice;
        default:
            return nullptr;
    }
}

void Screens::step() {
    if (Screen* screen = screenOf(m_context.window.currentState())) {
        screen->step();
    }
}

// Loading, Ready and GameOver take no keys here (a name comes through the
// input router); play reads its controls in the fixed steps of the play frame.
void Screens::keys() {
    Screen* screen = screenOf(m_context.window.currentState());
    if (screen == nullptr) {
        return;
    }
    GUI_ID pressed = screen->keys();
    if (pressed != 0) {
        guiEvent(pressed, true);
    }
}

bool Screens::menuPad(platform::PadButton button) {
    Screen* screen = screenOf(m_context.window.currentState());
    return screen != nullptr && screen->padButton(button);
}

void Screens::drawOverlay() {
    GameState state = m_context.window.currentState();
    Screen* screen = screenOf(state);
    // What a screen prints itself is placed in the design space, as its
    // controls are.
    if (screen != nullptr) {
        m_context.gui.loadTransform();
        screen->drawBeforeControls();
    }
    m_context.gui.drawGroup(state);
    if (screen != nullptr) {
        m_context.gui.loadTransform();
        screen->drawAfterControls();
    }
}

void Screens::stateEntered(GameState state) {
    if (Screen* screen = screenOf(state)) {
        screen->enter();
    }
}

void Screens::guiEvent(GUI_ID id, bool clicked) {
    if (Screen* screen = screenOf(m_context.window.currentState())) {
        screen->guiEvent(id, clicked);
    }
    // On the ready screen a click anywhere starts the game, on a control or
    // not; it is asked after the screen's own event, in the state that left.
    if (clicked && m_context.window.currentState() == GameState::Ready) {
        m_ready.startGame();
    }
}

void Screens::wheel(int delta) {
    if (Screen* screen = screenOf(m_context.window.currentState())) {
        screen->wheel(delta);
    }
}

void Screens::guiMouseEvent(bool clicked) {
    GameState state = m_context.window.currentState();
    GUI_ID id = m_context.gui.handleMouse(state);
    guiEvent(id, clicked);
    if (state == GameState::Options) {
        m_options.followHeldSlider(id);
    }
}
