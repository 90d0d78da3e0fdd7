// Mouse look from real X pointer motion (xdotool) through relative mouse
// mode: the play frame holds the pointer and the look offsets are the motion
// times the sensitivity, wherever the pointer is.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"
#include "support/window_driving.h"
#include "support/x11_helpers.h"

namespace {

class MouseLook : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || std::system("command -v xdotool > /dev/null") != 0) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
        router.hooks().sceneExists = [] { return true; };
        router.hooks().mouseLook = [this](float dx, float dy) {
            lookX += dx;
            lookY += dy;
            ++looks;
        };
        window.setInputListener(&router);
        WindowParams params;
        params.title = "Spookhollow mouse look test";
        params.width = 320;
        params.height = 240;
        params.colour32 = true;
        ASSERT_TRUE(window.create(params)) << reporter.getMessage();
        window_driving::pointInto(params.title, 160, 120, where);
        pumpFor(300);
    }

    static void run(const std::string& command) { window_driving::run(command); }

    // Runs frames and events the way the main loop does.
    void pumpFor(int milliseconds) { window_driving::pump(window, milliseconds, true); }

    // Pumps until the summed look has reached the wanted values (or time runs out).
    bool waitForLook(float x, float y) {
        for (int i = 0; i < 100; ++i) {
            if (std::abs(lookX - x) < 1e-4f && std::abs(lookY - y) < 1e-4f) {
                return true;
            }
            pumpFor(20);
        }
        return false;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    GameSettings settings{dir.file("config.ini").c_str()};
    InputRouter router;
    GameWindow window;
    x11::Geometry where;
    float lookX = 0.0f;
    float lookY = 0.0f;
    int looks = 0;
};

TEST_F(MouseLook, RelativeMotionTurnsByPixelsTimesSensitivity) {
    settings.mouseSensitivity = 0.002f;
    window.setState(GameState::Playing);
    pumpFor(200);  // the play frame takes the pointer
    lookX = lookY = 0.0f;

    // Far past the window's right edge: relative motion is not cut at the edge.
    run("xdotool mousemove_relative -- 200 0");
    EXPECT_TRUE(waitForLook(0.4f, 0.0f)) << lookX << ", " << lookY;
    run("xdotool mousemove_relative -- -50 30");
    EXPECT_TRUE(waitForLook(0.3f, 0.06f)) << lookX << ", " << lookY;
    EXPECT_TRUE(boxes.boxes().empty());

    // On the screens the pointer drives the GUI again, and nothing turns.
    int guiMoves = 0;
    router.hooks().guiMouseEvent = [&](bool) { ++guiMoves; };
    window.setState(GameState::Paused);
    pumpFor(200);
    float before = lookX;
    run("xdotool mousemove " + std::to_string(where.x + 100) + " " + std::to_string(where.y + 100));
    pumpFor(300);
    EXPECT_GT(guiMoves, 0);
    EXPECT_EQ(lookX, before);
}

}  // namespace
