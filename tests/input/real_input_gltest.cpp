// Real X input (sent with xdotool) through the whole path: the X server, the
// platform layer's translation, the window and the input router, into the key
// state the game reads.
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

class RealInput : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || std::system("command -v xdotool > /dev/null") != 0) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
        ASSERT_TRUE(settings.loadControls(dir.file("control.cfg").c_str()));  // the defaults
        window.setInputListener(&router);
        WindowParams params;
        params.title = "Spookhollow input test";
        params.width = 320;
        params.height = 240;
        params.colour32 = true;
        ASSERT_TRUE(window.create(params)) << reporter.getMessage();
        x11::Geometry where;
        window_driving::pointInto(params.title, 100, 100, where);
        pumpFor(300);
    }

    static void run(const std::string& command) { window_driving::run(command); }

    void pumpFor(int milliseconds) { window_driving::pump(window, milliseconds); }

    // Pumps events until the key entry has the wanted value (or time runs out).
    bool waitForKey(int code, unsigned char wanted) {
        for (int i = 0; i < 100 && settings.keyDown[code] != wanted; ++i) {
            pumpFor(20);
        }
        return settings.keyDown[code] == wanted;
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    GameSettings settings{dir.file("config.ini").c_str()};
    InputRouter router;
    GameWindow window;
};

TEST_F(RealInput, KeysAndButtonsReachTheKeyStateWithTheirCodes) {
    run("xdotool keydown w");
    EXPECT_TRUE(waitForKey('W', 1));
    run("xdotool keyup w");
    EXPECT_TRUE(waitForKey('W', 0));

    // Keypad Enter carries the extended bit and becomes 108; Enter stays 13.
    run("xdotool keydown KP_Enter");
    EXPECT_TRUE(waitForKey(108, 1));
    EXPECT_EQ(settings.keyDown[13], 0);
    run("xdotool keyup KP_Enter");
    EXPECT_TRUE(waitForKey(108, 0));
    run("xdotool keydown Return");
    EXPECT_TRUE(waitForKey(13, 1));
    run("xdotool keyup Return");
    EXPECT_TRUE(waitForKey(13, 0));

    run("xdotool keydown F11");
    EXPECT_TRUE(waitForKey(122, 1));
    run("xdotool keyup F11");

    run("xdotool mousedown 1");
    EXPECT_TRUE(waitForKey(1, 1));
    EXPECT_TRUE(settings.isActionActive(9, true));   // Attack, consumed
    EXPECT_FALSE(settings.isActionActive(9, true));  // until pressed again
    run("xdotool mouseup 1");
    run("xdotool mousedown 3");
    EXPECT_TRUE(waitForKey(2, 1));
    run("xdotool mouseup 3");
    EXPECT_TRUE(waitForKey(2, 0));
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
