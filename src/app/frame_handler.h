#pragma once
#include "platform/events.h"

// What the main loop asks of the game object (the Scene) it creates at the
// start of the loop. The application core knows nothing of screens, levels or
// players; it only calls these at the points of the frame where they belong,
// and tells whoever listens of state changes (GameWindow::setStateListener).
class FrameHandler {
public:
    virtual ~FrameHandler() = default;

    // Sets up the menu screens; false ends the program (the reason is stored).
    virtual bool setUpScreens() = 0;
    // The time of this frame in seconds: 0 on the first frame after a state change.
    virtual void setFrameTime(float seconds) = 0;

    // Menu frame (and game-over) fixed step: the menu animations.
    virtual void menuStep() = 0;
    // The current screen's keyboard handling, once per menu frame.
    virtual void handleStateKeys() = 0;
    // One fixed step of play (0.01 s) while the state is Playing.
    virtual void playStep() = 0;
    // The current state's 2D overlay and GUI group.
    virtual void drawScreenOverlay() = 0;
    virtual void drawMouseCursor() = 0;
    // Builds the level while the loading screen shows; false returns to the menu.
    virtual bool buildLevel() = 0;

    // Play frame.
    virtual void updateAnimations(float stepFraction) = 0;
    virtual void draw3D() = 0;
    virtual void drawPlayOverlay() = 0;

    // Leaves the intro for the main menu at once, as its end would.
    virtual void skipIntro() {}

    // The window went fullscreen or back (Alt+Enter) while the game runs.
    virtual void fullscreenChanged(bool /*fullscreen*/) {}
    // The window's drawable size changed, in pixels.
    virtual void windowResized(int /*width*/, int /*height*/) {}
};

// Receives the keyboard and mouse events the window does not handle itself.
class InputListener {
public:
    virtual ~InputListener() = default;
    // Returns true when the event was handled.
    virtual bool handleInput(const platform::Event& event) = 0;
};
