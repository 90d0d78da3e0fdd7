#pragma once
#include <functional>

#include "gui/gui_control.h"
#include "platform/events.h"

class GameWindow;
class GUIManager;
class HighScoreTable;
class MapSelection;
class Player;
class TextureManager;

// What the screens reach of the game object.
struct ScreenContext {
    GameWindow& window;
    GUIManager& gui;
    TextureManager& textures;
    // The score on the game-over screen; the options' invert toggle.
    Player& player;
    HighScoreTable& highScores;
    // The map the next game is played on; the high-score table notes it.
    MapSelection& maps;
    // Back from a game to the menus: the level, its sounds and the play
    // controls go.
    std::function<void()> leaveGame;
};

// One of the screens around play. `Screens` calls the screen of the current
// state; what a screen does not need it leaves to these defaults.
class Screen {
public:
    virtual ~Screen() = default;

    // Creates the screen's controls; false at the first that fails (the
    // failing call has reported why).
    virtual bool setUp() { return true; }
    // The state was set and is this screen's, whether it changed or not.
    virtual void enter() {}
    // One fixed step of the screen's animations.
    virtual void step() {}
    // The keys of a menu frame. A key that stands for a control returns that
    // control's id, and the control is then clicked as by the mouse; 0: none.
    virtual GUI_ID keys() { return 0; }
    // A pad button pressed on the screen (the left stick arrives as the
    // D-pad); true when the screen took it. What it leaves comes back as
    // the keys a keyboard would give: arrows, Enter for A, Escape for B.
    virtual bool padButton(platform::PadButton /*button*/) { return false; }
    // The mouse wheel turned on the screen: platform::WHEEL_NOTCH per
    // notch, positive away from the user.
    virtual void wheel(int /*delta*/) {}
    // The mouse is over (clicked false) or clicked a control of the screen's
    // group; 0 when it hit none.
    virtual void guiEvent(GUI_ID /*id*/, bool /*clicked*/) {}
    // What is moved or printed before the screen's controls are drawn (so
    // under them), and what is printed after them, on top.
    virtual void drawBeforeControls() {}
    virtual void drawAfterControls() {}
};
