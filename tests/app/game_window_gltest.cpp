// GameWindow against a real X server: parameter checks, placement and the
// context it reports.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "support/message_box_recorder.h"
#include "support/window_driving.h"
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

// A remembered size too big for the display would hide the HUD's edges, so
// it is shrunk to fit and centred; a size asked for by name is kept.
TEST_F(GameWindowTest, WindowLargerThanTheDisplayIsShrunkToFitUnlessAskedFor) {
    WindowParams p = params(3000, 600);
    ASSERT_TRUE(window.create(p)) << reporter.getMessage();
    unsigned long id = x11::findWindow("Spookhollow window test", 10);
    ASSERT_NE(id, 0u);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(id, where));
    EXPECT_LT(where.width, window.screenWidth());
    EXPECT_NEAR(static_cast<double>(where.width) / where.height, 5.0, 0.02);
    EXPECT_EQ(where.x, (window.screenWidth() - where.width) / 2);
    window.destroy();

    p = params(3000, 600);
    p.fitToDisplay = false;
    ASSERT_TRUE(window.create(p)) << reporter.getMessage();
    EXPECT_EQ(window.windowWidth(), 3000);
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

// The game object, reduced to what the display tests look at: it covers
// the picture in one grey and hears of new sizes.
class GreyScene : public FrameHandler {
public:
    bool setUpScreens() override { return true; }
    void setFrameTime(float) override {}
    void menuStep() override {}
    void handleStateKeys() override {}
    void playStep() override {}
    void drawScreenOverlay() override {
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        glColor3f(0.4f, 0.4f, 0.4f);
        glRectf(0.0f, 0.0f, 4000.0f, 4000.0f);
    }
    void drawMouseCursor() override {}
    bool buildLevel() override { return true; }
    void updateAnimations(float) override {}
    void draw3D() override {}
    void drawPlayOverlay() override {}
    void windowResized(int width, int height) override { sizes.push_back({width, height}); }

    std::vector<std::pair<int, int>> sizes;
};

class WindowDisplayTest : public GameWindowTest {
protected:
    void SetUp() override {
        GameWindowTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        window.setSceneFactory([this](GameWindow&) {
            auto made = std::make_unique<GreyScene>();
            scene = made.get();
            return made;
        });
        WindowParams p = params(800, 600);
        ASSERT_TRUE(window.create(p)) << reporter.getMessage();
        window.initRenderer();
        id = x11::findWindow("Spookhollow window test", 10);
        ASSERT_NE(id, 0u);
    }

    // Runs the main loop's turns until `done` holds; false after 10 s.
    bool loopUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            window.runOnce();
        }
        return true;
    }

    GreyScene* scene = nullptr;
    unsigned long id = 0;
};

TEST_F(WindowDisplayTest, ResizedWindowDrawsAtItsNewSizeWithTheSameVerticalView) {
    window_driving::run("xdotool windowsize " + std::to_string(id) + " 1000 500");
    ASSERT_TRUE(loopUntil([&] { return !scene->sizes.empty(); }));
    EXPECT_EQ(scene->sizes, (std::vector<std::pair<int, int>>{{1000, 500}}));
    EXPECT_EQ(window.windowWidth(), 1000);
    EXPECT_EQ(window.windowHeight(), 500);
    EXPECT_EQ(settings.windowWidth, 1000);
    EXPECT_EQ(settings.windowHeight, 500);
    EXPECT_EQ(settings.displayWidth, 1000);
    EXPECT_TRUE(settings.settingsChanged);

    window.setPerspective();
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1000);
    EXPECT_EQ(viewport[3], 500);
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float vertical = 1.0f / std::tan(22.5f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[5], vertical, 1e-4);
    EXPECT_NEAR(projection[0], vertical * 500.0f / 1000.0f, 1e-4);
}

TEST_F(WindowDisplayTest, MinimisedWindowPausesPlayAndDrawsNothingUntilRestored) {
    window.setState(GameState::Playing);
    window_driving::run("xdotool windowunmap " + std::to_string(id));
    ASSERT_TRUE(loopUntil([&] { return window.window().isMinimised(); }));
    ASSERT_TRUE(loopUntil([&] { return window.currentState() == GameState::Paused; }));
    const long frames = window.frameCount();
    for (int turn = 0; turn < 5; ++turn) {
        window.runOnce();
    }
    EXPECT_EQ(window.frameCount(), frames);
    window_driving::run("xdotool windowmap " + std::to_string(id));
    EXPECT_TRUE(loopUntil([&] { return window.frameCount() > frames; }));
}

TEST_F(WindowDisplayTest, BrightnessLightensThePictureAndNoneLeavesItAlone) {
    window.setState(GameState::MainMenu);
    for (float brightness : {0.0f, 0.5f}) {
        window.setBrightness(brightness);
        const std::uint8_t expected = brightness > 0.0f ? 153 : 102;  // 0.4 and 0.4 * 1.5
        x11::Image shot;
        EXPECT_TRUE(loopUntil([&] {
            window.frame();
            return x11::capture(id, shot) &&
                   shot.fractionNear(expected, expected, expected, 2) > 0.99;
        })) << "brightness "
            << brightness;
    }
    EXPECT_FLOAT_EQ(settings.brightness, 0.5f);
    window.setBrightness(3.0f);
    EXPECT_FLOAT_EQ(settings.brightness, AppSettings::MAX_BRIGHTNESS);
}

}  // namespace
