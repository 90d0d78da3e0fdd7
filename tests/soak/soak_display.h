#pragma once
// The X server of a test that plays the real game, and real X input sent to
// it with xdotool.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/design_fit.h"
#include "support/child_process.h"

namespace e2e {

// A 1024 x 768 window lands at (128, 128) on a screen without a window
// manager; the game fits the GUI's design space into it (app/design_fit.h).
constexpr int WINDOW_X = 128;
constexpr int WINDOW_Y = 128;
constexpr int WINDOW_WIDTH = 1024;
constexpr int WINDOW_HEIGHT = 768;
// Main menu buttons, in the layout's design space.
constexpr int START_X = 310, START_Y = 342;
constexpr int QUIT_X = 300, QUIT_Y = 118;

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The X server this test runs on: ctest gives every window test one of its
// own (tests/support/on_private_display.sh), so the game's window and the
// pointer that gives it keyboard focus are in no other test's way.
class TestDisplay {
public:
    TestDisplay() {
        const char* name = std::getenv("DISPLAY");
        m_name = name != nullptr ? name : "";
    }
    bool ready() const { return !m_name.empty(); }
    const std::string& name() const { return m_name; }

    bool xdotool(const std::string& arguments) const {
        return std::system(
                   ("DISPLAY=" + m_name + " xdotool " + arguments + " >/dev/null 2>&1").c_str()) ==
               0;
    }
    bool windowShown() const { return xdotool("search --onlyvisible --name '^Spookhollow$'"); }
    void pointAt(int x, int y) const {
        const DesignFit fit = fitDesign(WINDOW_WIDTH, WINDOW_HEIGHT);
        const long column = std::lround(fit.windowX(static_cast<float>(x)));
        const long row = WINDOW_HEIGHT - std::lround(fit.windowY(static_cast<float>(y)));
        xdotool("mousemove " + std::to_string(WINDOW_X + column) + " " +
                std::to_string(WINDOW_Y + row));
    }
    void click(int x, int y) const {
        pointAt(x, y);
        pause(0.15);
        xdotool("mousedown 1");
        pause(0.15);
        xdotool("mouseup 1");
    }
    // The whole screen as a PNG (ImageMagick's import).
    bool screenshot(const std::string& path) const {
        return std::system(
                   ("DISPLAY=" + m_name + " import -window root " + path + " >/dev/null 2>&1")
                       .c_str()) == 0;
    }
    // Relative to the window's top-left corner.
    void pointAtWindow(int x, int y) const {
        xdotool("mousemove " + std::to_string(WINDOW_X + x) + " " + std::to_string(WINDOW_Y + y));
    }
    void key(const std::string& name) const {
        xdotool("keydown " + name);
        pause(0.3);
        xdotool("keyup " + name);
    }

private:
    std::string m_name;
};

// Starts the game in its scratch folder on this display, its messages on
// standard error and its sound to no device.
inline std::unique_ptr<ChildProcess> startGameOn(const TestDisplay& display,
                                                 const std::string& folder,
                                                 const std::vector<std::string>& arguments = {}) {
    ChildProcess::Options options;
    options.workingDir = folder;
    options.environment = {"DISPLAY=" + display.name(), "XDG_RUNTIME_DIR=" + folder + "/runtime",
                           "SPOOKHOLLOW_MESSAGE_BOX=stderr", "ALSOFT_DRIVERS=null"};
    return std::make_unique<ChildProcess>(SPOOKHOLLOW_EXE, arguments, options);
}

}  // namespace e2e
