// GameWindow against a real X server: parameter checks, placement and the
// context it reports.
#include <gtest/gtest.h>

#include <thread>

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "support/message_box_recorder.h"
#include "support/x11_helpers.h"

namespace {

class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
    MessageBoxRecorder boxes;
    ErrorReporter reporter{nullptr, false};
    AppSettings settings;
    GameWindow window;

    WindowParams params(int width, int height) {
        WindowParams p;
        p.title = "Spookhollow window test";
        p.width = width;
        p.height = height;
        p.colour32 = true;
        return p;
    }
};

TEST_F(GameWindowTest, ZeroWidthIsRefusedWithTheParameters) {
    WindowParams p = params(0, 768);
    EXPECT_FALSE(window.create(p));
    EXPECT_EQ(reporter.getErrorKind(), ERROR_GENERAL);
    EXPECT_EQ(reporter.getMessage(), "Invalid Parameters\nWidth   =0\nHeight  =768");
    EXPECT_FALSE(window.window().exists());
    EXPECT_EQ(p.window, nullptr);
}

TEST_F(GameWindowTest, WindowedIsCentredWithExactClientSizeAndASecondCreateIsRefused) {
    WindowParams p = params(800, 600);
    ASSERT_TRUE(window.create(p)) << reporter.getMessage();
    EXPECT_EQ(p.window, &window.window());
    EXPECT_TRUE(window.hasDepthBuffer());
    EXPECT_EQ(settings.displayWidth, 800);
    EXPECT_EQ(settings.displayHeight, 600);

    unsigned long id = x11::findWindow("Spookhollow window test", 10);
    ASSERT_NE(id, 0u);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(id, where));
    EXPECT_EQ(where.width, 800);
    EXPECT_EQ(where.height, 600);
    EXPECT_EQ(where.x, (window.screenWidth() - 800) / 2);
    EXPECT_EQ(where.y, (window.screenHeight() - 600) / 2);

    WindowParams again = params(800, 600);
    EXPECT_FALSE(window.create(again));
    EXPECT_EQ(reporter.getMessage(), "Window exists already, can not create it a 2nd time.");
    EXPECT_TRUE(window.window().exists());
}

TEST_F(GameWindowTest, WindowLargerThanTheScreenStartsAtTheEdge) {
    WindowParams p = params(1400, 600);
    ASSERT_TRUE(window.create(p)) << reporter.getMessage();
    unsigned long id = x11::findWindow("Spookhollow window test", 10);
    ASSERT_NE(id, 0u);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(id, where));
    if (window.screenWidth() < 1400) {
        EXPECT_EQ(where.x, 0);
    }
    EXPECT_EQ(where.y, (window.screenHeight() - 600) / 2);
}

// What another thread posted reaches the screen at the main loop's next
// frame, once, and leaves the stored error alone.
TEST_F(GameWindowTest, NextFrameShowsWhatAnotherThreadPosted) {
    WindowParams p = params(320, 240);
    ASSERT_TRUE(window.create(p)) << reporter.getMessage();
    reporter.setError(ERROR_GAME, "stored");
    std::thread([] { postError(ERROR_OPENAL, "Could not queue buffer"); }).join();
    EXPECT_TRUE(boxes.boxes().empty());
    window.frame();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "OpenAL Error");
    EXPECT_EQ(boxes.boxes()[0].text, "Could not queue buffer");
    window.frame();
    EXPECT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(reporter.getMessage(), "stored");
}

}  // namespace
