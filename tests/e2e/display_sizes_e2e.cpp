// The real executable on a new installation, filling displays of other
// shapes and sizes than the 1024 x 768 its screens were composed for. Each
// ctest entry runs this on an X server of one size (CMakeLists.txt here):
// the window covers the display, the menu is clicked where it is drawn, the
// HUD keeps to the window's corners, and leaving fullscreen lays it out again.
#include <X11/Xlib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "e2e/e2e_input.h"
#include "e2e/e2e_screen.h"
#include "e2e/game_process.h"
#include "support/game_trace.h"
#include "support/sanitizer_slowdown.h"
#include "support/x11_helpers.h"

namespace {

// The X server's screen: its size and its root window.
struct Screen {
    int width = 0;
    int height = 0;
    unsigned long root = 0;
};

bool screen(Screen& result) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    result = {DisplayWidth(display, DefaultScreen(display)),
              DisplayHeight(display, DefaultScreen(display)), DefaultRootWindow(display)};
    XCloseDisplay(display);
    return true;
}

// Captures the window until `test` holds on the shot; false when the
// deadline passed first (the last shot is kept).
bool captureUntil(unsigned long window, x11::Image& shot, double seconds,
                  const std::function<bool()>& test) {
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(seconds * SLOWDOWN * 1000));
    for (;;) {
        if (x11::capture(window, shot) && test()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        e2e::sleepMs(100);
    }
}

std::string artifact(const std::string& name) {
    const std::string folder = std::string(SPOOKHOLLOW_GAME_DIR) + "/../tests/e2e_artifacts";
    std::filesystem::create_directories(folder);
    return folder + "/sizes_" + name;
}

// The radar's dark green screen; walls, floor and sky are grey or brown.
bool radarGreen(const std::uint8_t* p) {
    return p[1] >= 25 && p[1] - p[0] >= 15 && p[1] - p[2] >= 10;
}

// The panels' parchment number fields; the walls and the mace's wood are darker.
bool parchment(const std::uint8_t* p) {
    return p[0] >= 170 && p[1] >= 140 && p[0] >= p[1] && p[0] - p[2] >= 40 && p[1] - p[2] >= 25;
}

// The HUD as the screen shows it in the window at `where`.
struct HudSeen {
    double scale = 1;
    double radarPixels = 0, radarFromRight = 0, radarFromTop = 0;
    double bottomLeft = 0, bottomRight = 0, topLeft = 0, leftSide = 0, rightSide = 0;

    // The radar centred near the window's top-right corner, the panels'
    // parchment in the other corners and none half-way down the sides.
    bool inCorners() const {
        return radarPixels > 10000 * scale * scale && radarFromRight > 0 && radarFromRight < 280 &&
               radarFromTop > 0 && radarFromTop < 280 && bottomLeft > 0.06 && bottomRight > 0.06 &&
               topLeft > 0.06 && leftSide < 0.02 && rightSide < 0.02;
    }
};

std::ostream& operator<<(std::ostream& out, const HudSeen& h) {
    return out << "radar: " << h.radarPixels << " px, centre " << h.radarFromRight
               << " px from the right, " << h.radarFromTop << " from the top; parchment "
               << h.bottomLeft << " bottom left, " << h.bottomRight << " bottom right, "
               << h.topLeft << " top left, " << h.leftSide << " and " << h.rightSide
               << " half-way down the sides";
}

// The pixels of a region of the screen that pass a test: how many, and
// their mean place.
struct Found {
    double count = 0, x = 0, y = 0;
};

Found find(const x11::Image& shot, int left, int top, int width, int height,
           bool (*test)(const std::uint8_t*)) {
    Found f;
    for (int y = std::max(0, top); y < std::min(shot.height, top + height); ++y) {
        for (int x = std::max(0, left); x < std::min(shot.width, left + width); ++x) {
            if (test(&shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3])) {
                f = {f.count + 1, f.x + x, f.y + y};
            }
        }
    }
    return f.count == 0 ? f : Found{f.count, f.x / f.count, f.y / f.count};
}

// The screen shot where it shows the window `w`: the radar's green, and the
// parchment in regions of 200 x 100 design units (scaled as the game scales
// them) in the window's corners and half-way down its sides.
HudSeen lookAtHud(const x11::Image& screen, const x11::Geometry& w) {
    const double scale = fitDesign(w.width, w.height).scale;
    const int cw = static_cast<int>(200 * scale);
    const int ch = static_cast<int>(100 * scale);
    const int right = w.x + w.width - cw;
    const int bottom = w.y + w.height - ch;
    const int middle = w.y + (w.height - ch) / 2;
    auto parchmentShare = [&](int left, int top) {
        return find(screen, left, top, cw, ch, parchment).count / (cw * ch);
    };
    const Found radar = find(screen, w.x, w.y, w.width, w.height, radarGreen);
    return {scale,
            radar.count,
            w.x + w.width - radar.x,
            radar.y - w.y,
            parchmentShare(w.x, bottom),
            parchmentShare(right, bottom),
            parchmentShare(w.x, w.y),
            parchmentShare(w.x, middle),
            parchmentShare(right, middle)};
}

TEST(FittedLayout, FillsTheDisplayStartsWhereDrawnAndKeepsTheHudInTheCorners) {
    if (!x11::displayAvailable() || !e2e::xdotoolAvailable()) {
        GTEST_SKIP() << "needs an X display and xdotool";
    }
    GameSandbox sandbox;
    if (!sandbox.hasResources()) {
        GTEST_SKIP() << "the build made no resources";
    }
    Screen display;
    ASSERT_TRUE(screen(display));
    const std::string size = std::to_string(display.width) + "x" + std::to_string(display.height);
    SCOPED_TRACE("display " + size);
    e2e::KeyRepeatOff repeatOff;

    // No config.ini: "-f" fills the display at its own size.
    auto game = sandbox.start({"-f", "--no-intro", "--trace", "-"});
    GameTrace trace(*game);
    ASSERT_TRUE(trace.waitFor("window " + size + " fullscreen", 30 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(trace.waitFor("state MainMenu", 30 * SLOWDOWN)) << trace.text();
    const unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    ASSERT_EQ(where.width, display.width);
    ASSERT_EQ(where.height, display.height);

    // Start, where the fitted menu draws it; the ready screen takes a click.
    ASSERT_TRUE(e2e::clickDesign(where, 317, 342));
    ASSERT_TRUE(trace.waitFor("state Loading", 20 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(trace.waitFor("level built", 60 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(trace.waitFor("state Ready", 20 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(e2e::holdButtonUntil(1, [&] {
        return trace.waitFor("state Playing", 20 * SLOWDOWN);
    })) << trace.text();

    // The screen as the player sees it (the radar slides in at first).
    x11::Image shot;
    HudSeen hud;
    auto hudInCorners = [&] {
        hud = lookAtHud(shot, where);
        return hud.inCorners();
    };
    const bool cornered = captureUntil(display.root, shot, 20, hudInCorners);
    e2e::saveShot(shot, artifact(size + "_fullscreen"));
    EXPECT_TRUE(cornered) << hud;

    // Alt+Enter back to a window, which lies on the display; the HUD
    // follows the window's corners.
    ASSERT_TRUE(e2e::holdKeyUntil("alt+Return", [&] {
        return trace.waitFor("window resized ", 20 * SLOWDOWN);
    })) << trace.text();
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_TRUE(trace.seen("window resized " + std::to_string(where.width) + "x" +
                           std::to_string(where.height)))
        << trace.text();
    EXPECT_TRUE(where.x >= 0 && where.y >= 0 && where.x + where.width <= display.width &&
                where.y + where.height <= display.height)
        << "the window at (" << where.x << ", " << where.y << ") is " << where.width << "x"
        << where.height;
    const bool recornered = captureUntil(display.root, shot, 20, hudInCorners);
    e2e::saveShot(shot, artifact(size + "_windowed"));
    EXPECT_TRUE(recornered) << hud;

    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
}

}  // namespace
