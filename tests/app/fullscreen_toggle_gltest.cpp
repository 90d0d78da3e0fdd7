// Alt+Enter from a real X keyboard (xdotool): on a screen that has the
// configured mode the window goes fullscreen and back, and the game object
// hears of each switch; on a screen without it the window fills the screen
// at the screen's own size and the log says why.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/app_settings.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "platform/events.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"
#include "support/window_driving.h"
#include "support/x11_helpers.h"

namespace {

// The game object, reduced to what the switch tells it.
class SwitchListener : public FrameHandler {
public:
    explicit SwitchListener(std::vector<bool>& heard) : m_heard(heard) {}
    bool setUpScreens() override { return true; }
    void setFrameTime(float) override {}
    void menuStep() override {}
    void handleStateKeys() override {}
    void playStep() override {}
    void drawScreenOverlay() override {}
    void drawMouseCursor() override {}
    bool buildLevel() override { return true; }
    void updateAnimations(float) override {}
    void draw3D() override {}
    void drawPlayOverlay() override {}
    void fullscreenChanged(bool fullscreen) override { m_heard.push_back(fullscreen); }

private:
    std::vector<bool>& m_heard;
};

// An X server of its own with one 1024 x 768 mode, for as long as the test runs.
class SmallScreen {
public:
    SmallScreen() {
        // A display number no server holds; Xvfb refuses one that is taken.
        for (int number = 170; number < 200 && m_display.empty(); ++number) {
            std::string name = ":" + std::to_string(number);
            if (access(("/tmp/.X" + std::to_string(number) + "-lock").c_str(), F_OK) == 0) {
                continue;
            }
            m_pid = fork();
            if (m_pid == 0) {
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
                       "tcp", static_cast<char*>(nullptr));
                _exit(127);
            }
            if (waitUntilReady(name)) {
                m_display = name;
            } else {
                stop();
            }
        }
    }
    ~SmallScreen() { stop(); }
    SmallScreen(const SmallScreen&) = delete;
    SmallScreen& operator=(const SmallScreen&) = delete;

    const std::string& display() const { return m_display; }

private:
    // Ready when a client can connect; gone when the server ended (the number was taken).
    bool waitUntilReady(const std::string& name) {
        std::string probe = "DISPLAY=" + name + " xdotool getmouselocation > /dev/null 2>&1";
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                return false;
            }
            if (std::system(probe.c_str()) == 0) {
                return true;
            }
            usleep(50000);
        }
        return false;
    }

    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

    pid_t m_pid = -1;
    std::string m_display;
};

class FullscreenToggle : public ::testing::Test {
protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        m_previousDisplay = display != nullptr ? display : "";
        if (std::system("command -v xdotool Xvfb > /dev/null") != 0) {
            GTEST_SKIP() << "needs xdotool and Xvfb";
        }
    }
    void TearDown() override {
        window.reset();
        smallScreen.reset();  // only once nothing is connected to it
        if (!m_previousDisplay.empty()) {
            setenv("DISPLAY", m_previousDisplay.c_str(), 1);
        }
    }

    // A 1024 x 768 window on the current DISPLAY, the pointer over it for the
    // focus. The test helpers keep one X connection for the whole run, so on
    // a server of the test's own the window is found by its place alone: a
    // window the size of the screen sits at its origin.
    void openWindow(bool ownServer) {
        window = std::make_unique<GameWindow>();
        window->setSceneFactory(
            [this](GameWindow&) { return std::make_unique<SwitchListener>(heard); });
        WindowParams params;
        params.title = "Spookhollow fullscreen test";
        params.width = 1024;
        params.height = 768;
        params.fullscreenWidth = 1024;
        params.fullscreenHeight = 768;
        params.colour32 = true;
        ASSERT_TRUE(window->create(params)) << reporter.getMessage();
        window->initRenderer();
        x11::Geometry where;
        if (ownServer) {
            run("xdotool mousemove 500 400");
        } else {
            window_driving::pointInto(params.title, 500, 400, where);
        }
        ASSERT_TRUE(pumpUntilPointerSeen()) << "the window never saw the pointer";
    }

    static void run(const std::string& command) { window_driving::run(command); }

    // Hands the window its events until it has seen the pointer move over
    // it: it is then on screen under the pointer, where the X server sends
    // the keyboard without a window manager.
    bool pumpUntilPointerSeen() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool seen = false;
        platform::Event event;
        while (!seen && std::chrono::steady_clock::now() < deadline) {
            while (platform::pollEvent(event)) {
                seen = seen || event.type == platform::EventType::MouseMove;
                window->windowProc(event);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return seen;
    }

    // Hands the window its events until `done` holds; false after 10 s.
    bool pumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            window_driving::pump(*window, 20);
        }
        return true;
    }

    bool pressAltEnterUntil(size_t switches) {
        run("xdotool key alt+Return");
        return pumpUntil([&] { return heard.size() >= switches; });
    }

    TempDir dir;
    MessageBoxRecorder boxes;
    ErrorReporter reporter{dir.file("ErrorLog").c_str(), true};
    AppSettings settings;
    std::vector<bool> heard;
    std::unique_ptr<GameWindow> window;
    std::unique_ptr<SmallScreen> smallScreen;

private:
    std::string m_previousDisplay;
};

TEST_F(FullscreenToggle, SwitchesToTheModeAndBackWhereTheScreenHasIt) {
    smallScreen = std::make_unique<SmallScreen>();
    ASSERT_FALSE(smallScreen->display().empty()) << "Xvfb did not start";
    setenv("DISPLAY", smallScreen->display().c_str(), 1);
    openWindow(true);
    ASSERT_FALSE(window->isFullscreen());

    ASSERT_TRUE(pressAltEnterUntil(1)) << readFile(dir.file("ErrorLog.txt"));
    EXPECT_TRUE(window->isFullscreen());
    EXPECT_EQ(heard, std::vector<bool>{true});
    EXPECT_EQ(window->screenWidth(), 1024);
    EXPECT_EQ(settings.displayWidth, 1024);
    EXPECT_EQ(settings.displayHeight, 768);
    EXPECT_EQ(settings.mouseCentreX, 512);
    EXPECT_EQ(settings.mouseCentreY, 384);

    ASSERT_TRUE(pressAltEnterUntil(2));
    EXPECT_FALSE(window->isFullscreen());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    EXPECT_EQ(window->window().clientSize().width, 1024);
    EXPECT_TRUE(window->window().exists());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(readFile(dir.file("ErrorLog.txt")).find("Failed"), std::string::npos);
}

TEST_F(FullscreenToggle, RefusedModeFillsTheScreenAtItsOwnSizeAndLogsWhyOnce) {
    if (!x11::displayAvailable()) {
        GTEST_SKIP() << "no X display";
    }
    // The test display has one mode, its own size, and no 1024 x 768.
    openWindow(false);
    ASSERT_TRUE(pressAltEnterUntil(1)) << readFile(dir.file("ErrorLog.txt"));
    const std::string log = readFile(dir.file("ErrorLog.txt"));
    const std::string why =
        "Failed to switch to 1024x768 fullscreen mode: the display's nearest "
        "mode is " +
        std::to_string(window->screenWidth()) + "x" + std::to_string(window->screenHeight()) +
        ". The game fills the display at its own size instead.\n";
    EXPECT_NE(log.find(why), std::string::npos) << log;
    EXPECT_EQ(log.find("Failed"), log.rfind("Failed")) << log;
    EXPECT_TRUE(window->isFullscreen());
    EXPECT_EQ(window->windowWidth(), window->screenWidth());
    EXPECT_EQ(window->windowHeight(), window->screenHeight());
    unsigned long id = x11::findWindow("Spookhollow fullscreen test", 10);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(id, where));
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    EXPECT_EQ(where.width, window->screenWidth());
    EXPECT_EQ(where.height, window->screenHeight());
    EXPECT_TRUE(settings.fullscreen);  // the player's choice is kept

    ASSERT_TRUE(pressAltEnterUntil(2));
    EXPECT_FALSE(window->isFullscreen());
    EXPECT_EQ(window->windowWidth(), 1024);
    EXPECT_EQ(window->windowHeight(), 768);
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
