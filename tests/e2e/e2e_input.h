#pragma once
// Real X input for the game's window, sent with xdotool as a player would
// give it. Without a window manager the keyboard focus follows the pointer,
// so the pointer has to stay over the window while keys are sent.
//
// The screens act on keys that are down when a frame runs, so a press that
// goes down and up between two frames can be missed: keys and buttons are
// held until the game shows their effect, or at least for a while, rather
// than tapped.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "e2e/e2e_screen.h"
#include "support/x11_helpers.h"

namespace e2e {

// The X server repeats a held key after about 0.6 s, 25 times a second, and
// every repeat reaches the game as one more press: a key held until its
// effect shows would act again whenever the game is slow to show it (Return
// on the pause menu's quit entry, repeated, starts a game from the main
// menu). A test that holds keys turns repeating off for as long as it runs.
class KeyRepeatOff {
public:
    KeyRepeatOff() : m_display(XOpenDisplay(nullptr)) {
        if (m_display != nullptr) {
            XAutoRepeatOff(m_display);
            XSync(m_display, False);
        }
    }
    ~KeyRepeatOff() {
        if (m_display != nullptr) {
            XAutoRepeatOn(m_display);
            XCloseDisplay(m_display);
        }
    }
    KeyRepeatOff(const KeyRepeatOff&) = delete;
    KeyRepeatOff& operator=(const KeyRepeatOff&) = delete;

private:
    Display* m_display;
};

inline bool xdotoolAvailable() {
    return std::system("command -v xdotool > /dev/null 2>&1") == 0;
}

inline bool xdotool(const std::string& arguments) {
    std::string command = "xdotool " + arguments + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

inline void sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Holds a key (an X keysym name such as "space", "Return", "w") down.
inline bool holdKey(const std::string& key, int milliseconds = 250) {
    if (!xdotool("keydown " + key)) {
        return false;
    }
    sleepMs(milliseconds);
    return xdotool("keyup " + key);
}

// Holds a key down until `effect` (a wait on the trace or the screen with a
// deadline of its own) returns, then lets it go; true when the effect showed.
inline bool holdKeyUntil(const std::string& key, const std::function<bool()>& effect) {
    if (!xdotool("keydown " + key)) {
        return false;
    }
    const bool shown = effect();
    return xdotool("keyup " + key) && shown;
}

// Holds a mouse button down where the pointer is until `effect` returns.
inline bool holdButtonUntil(int button, const std::function<bool()>& effect) {
    if (!xdotool("mousedown " + std::to_string(button))) {
        return false;
    }
    const bool shown = effect();
    return xdotool("mouseup " + std::to_string(button)) && shown;
}

// Holds a mouse button (1 left, 2 middle, 3 right) down where the pointer is.
inline bool holdButton(int button, int milliseconds = 250) {
    if (!xdotool("mousedown " + std::to_string(button))) {
        return false;
    }
    sleepMs(milliseconds);
    return xdotool("mouseup " + std::to_string(button));
}

// One notch of the wheel: up is button 4, down button 5.
inline bool wheel(bool up) {
    return xdotool(std::string("click ") + (up ? "4" : "5"));
}

// Moves the pointer to a design point of the GUI in the window at `where`,
// fitted to the window's size as the game fits it.
inline bool pointAtDesign(const x11::Geometry& where, int x, int y) {
    int wx = 0;
    int wy = 0;
    designToWindow(x, y, wx, wy, fitDesign(where.width, where.height));
    return xdotool("mousemove " + std::to_string(where.x + wx) + " " +
                   std::to_string(where.y + wy));
}

// Moves the pointer to a window pixel (counted from the top-left).
inline bool pointAtWindow(const x11::Geometry& where, int wx, int wy) {
    return xdotool("mousemove " + std::to_string(where.x + wx) + " " +
                   std::to_string(where.y + wy));
}

// A left click on a design point: point, then hold the button.
inline bool clickDesign(const x11::Geometry& where, int x, int y, int milliseconds = 150) {
    if (!pointAtDesign(where, x, y)) {
        return false;
    }
    sleepMs(100);  // the pointer is over the button before it goes down
    return holdButton(1, milliseconds);
}

}  // namespace e2e
