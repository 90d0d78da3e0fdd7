#pragma once
// What the tests that drive one of our windows with real X input share:
// running xdotool, handing the window its events as the main loop does, and
// putting the pointer over the window (without a window manager the
// keyboard focus follows the pointer).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/game_window.h"
#include "support/x11_helpers.h"

namespace window_driving {

inline void run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// For this long, hands the window every event that arrives; withFrames also
// runs a frame between rounds, as the main loop does.
inline void pump(GameWindow& window, int milliseconds, bool withFrames = false) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    platform::Event event;
    while (std::chrono::steady_clock::now() < end) {
        while (platform::pollEvent(event)) {
            window.windowProc(event);
        }
        if (withFrames) {
            window.frame();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Finds the window by its title, stores its place on the screen in where and
// moves the pointer to (x, y) inside it.
inline void pointInto(const std::string& title, int x, int y, x11::Geometry& where) {
    unsigned long id = x11::findWindow(title, 10);
    ASSERT_NE(id, 0u) << title;
    ASSERT_TRUE(x11::geometry(id, where));
    run("xdotool mousemove " + std::to_string(where.x + x) + " " + std::to_string(where.y + y));
}

}  // namespace window_driving
