#pragma once
#include "app/game_state.h"
#include "game/screens/game_over_screen.h"
#include "game/screens/high_scores_screen.h"
#include "game/screens/intro_screen.h"
#include "game/screens/loading_screen.h"
#include "game/screens/main_menu_screen.h"
#include "game/screens/map_choice_screen.h"
#include "game/screens/menu_art.h"
#include "game/screens/options_screen.h"
#include "game/screens/pause_screen.h"
#include "game/screens/ready_screen.h"
#include "game/screens/screen.h"
#include "scene/animation.h"

// The nine screens around play and the art they share. Each call goes to
// the screen of the current state; Playing has none.
class Screens {
public:
    explicit Screens(ScreenContext context);
    Screens(const Screens&) = delete;
    Screens& operator=(const Screens&) = delete;

    // The menu sounds, the art and every screen's controls, in the order the
    // ids of textures, fonts and controls rely on; false at the first failure
    // (the reason is reported).
    bool setUp();
    const MenuArt& art() const { return m_art; }
    // For a game object that builds a level without setting up its screens
    // (tests, benchmarks), which loads only the art the HUD takes.
    MenuArt& art() { return m_art; }

    // The frame handler's part for the screens.
    void step();
    void keys();
    // The current screen's drawing around its GUI group (the HUD's group
    // during play).
    void drawOverlay();
    void skipIntro() { m_intro.leave(); }

    // From the window: the state was set (changed or not) and is now `state`.
    void stateEntered(GameState state);
    // A GUI event in the current state (see Screen::guiEvent).
    void guiEvent(GUI_ID id, bool clicked);
    // The mouse wheel outside play, for the current screen.
    void wheel(int delta);
    // The mouse moved, or its left button went down, outside play.
    void guiMouseEvent(bool clicked);
    // Rebinding a control and typing a name, for the input router.
    bool waitingForKey() const { return m_options.waitingForKey(); }
    void bindKey(int code) { m_options.bindKey(code); }
    bool nameEntryKey(int code, bool shift) { return m_gameOver.nameEntryKey(code, shift); }
    // The pad's buttons on the screens, for the input router.
    bool menuPad(platform::PadButton button);
    bool nameEntryPad(platform::PadButton button) { return m_gameOver.nameEntryPad(button); }
    void bindPadButton(platform::PadButton button) { m_options.bindPadButton(button); }

    MainMenuScreen& mainMenu() { return m_mainMenu; }
    OptionsScreen& options() { return m_options; }
    PauseScreen& pause() { return m_pause; }
    GameOverScreen& gameOver() { return m_gameOver; }
    MapChoiceScreen& mapChoice() { return m_mapChoice; }
    // The prompt's pulse on the ready screen, which the game-over lines
    // carry on.
    const Tween& pulse() const { return m_pulse; }

private:
    // The screen of this state; null for Playing and anything else.
    Screen* screenOf(GameState state);
    bool createMenuSounds();
    bool setUpMouseCursor();

    ScreenContext m_context;
    MenuArt m_art;
    Tween m_pulse;
    IntroScreen m_intro;
    MainMenuScreen m_mainMenu;
    HighScoresScreen m_highScores;
    OptionsScreen m_options;
    PauseScreen m_pause;
    LoadingScreen m_loading;
    ReadyScreen m_ready;
    GameOverScreen m_gameOver;
    MapChoiceScreen m_mapChoice;
};
