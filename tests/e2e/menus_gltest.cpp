// The screens around play in the real executable, driven only by real X
// input (xdotool) and checked by what is on screen and by the saved files:
// the intro's two endings, hovering, options (rebinding, invert mouse, the
// sensitivity slider), the high-score table, starting a game, the pause menu
// and quitting. Every screenshot is kept in the build folder, as
// tests/e2e_artifacts/menus_*.png.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/game_process.h"
#include "support/x11_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;

// The 800 x 600 layout sits at guiOffset (112, 84) in a 1024 x 768 window.
constexpr int OFFSET_X = 112;
constexpr int OFFSET_Y = 84;
constexpr int WINDOW_HEIGHT = 768;

struct Rect {
    int x0, y0, x1, y1;  // layout coordinates, y up, inclusive
};

bool isRed(const std::uint8_t* p) {
    return p[0] > 110 && p[1] < 70 && p[2] < 80;
}
bool isFlame(const std::uint8_t* p) {
    return p[0] > 190 && p[1] > 60 && p[2] < 140 && p[0] > p[2] + 90;
}
bool isBright(const std::uint8_t* p) {
    return p[0] > 150 && p[1] > 150 && p[2] > 150;
}
bool isLit(const std::uint8_t* p) {
    return p[0] > 60 && p[1] > 60 && p[2] > 60;
}
bool isParchment(const std::uint8_t* p) {
    return p[0] > 170 && p[1] > 140 && p[2] > 80 && p[0] > p[2] + 40;
}

// How many pixels of a layout rectangle pass a test.
int count(const x11::Image& image, Rect r, bool (*test)(const std::uint8_t*)) {
    int n = 0;
    for (int y = r.y0; y <= r.y1; ++y) {
        int row = WINDOW_HEIGHT - OFFSET_Y - y;
        if (row < 0 || row >= image.height) {
            continue;
        }
        for (int x = r.x0; x <= r.x1; ++x) {
            int column = x + OFFSET_X;
            if (column < 0 || column >= image.width) {
                continue;
            }
            const std::uint8_t* p = &image.rgb[(static_cast<std::size_t>(row) * image.width +
                                                static_cast<std::size_t>(column)) *
                                               3];
            n += test(p) ? 1 : 0;
        }
    }
    return n;
}

// What identifies each screen: its own pictures, and the absence of the
// buttons of the screens it could be mistaken for.
bool introShowing(const x11::Image& image) {
    return image.fractionNear(255, 255, 255, 8) > 0.5;
}
bool backButtonShowing(const x11::Image& image) {
    return count(image, {-52, -52, 165, -17}, isFlame) > 150;
}
bool startAndQuitShowing(const x11::Image& image) {
    return count(image, {268, 323, 366, 361}, isFlame) > 150 &&
           count(image, {268, 100, 366, 136}, isFlame) > 100;
}
bool changeButtonShowing(const x11::Image& image) {
    return count(image, {462, 210, 586, 259}, isFlame) > 150;
}
bool mainMenuShowing(const x11::Image& image) {
    return image.fractionNear(255, 255, 255, 8) < 0.1 &&
           count(image, {268, 450, 517, 619}, isRed) > 500 && startAndQuitShowing(image) &&
           !backButtonShowing(image) && count(image, {-100, 150, 200, 400}, isLit) < 200;
}
bool markerAt(const x11::Image& image, int y) {
    return count(image, {214, y, 256, y + 29}, isFlame) > 40;
}
bool optionsShowing(const x11::Image& image) {
    return count(image, {379, 544, 665, 608}, isRed) > 500 && backButtonShowing(image) &&
           changeButtonShowing(image);
}
bool promptShowing(const x11::Image& image) {
    return count(image, {150, 172, 850, 190}, isBright) > 150;
}
bool highScoresShowing(const x11::Image& image) {
    return count(image, {202, 430, 604, 531}, isRed) > 1000 && backButtonShowing(image) &&
           !changeButtonShowing(image) && !startAndQuitShowing(image);
}
// The score font's "Loading ..." under the instructions.
bool loadingShowing(const x11::Image& image) {
    return count(image, {10, -52, 160, -26}, isBright) > 60;
}
// The pulsing "Press left mouse button to begin" over the instructions.
bool readyShowing(const x11::Image& image) {
    return count(image, {300, 200, 500, 400}, isParchment) > 10000 && !loadingShowing(image) &&
           count(image, {208, -52, 560, -26}, isLit) > 60;
}
bool pausedShowing(const x11::Image& image) {
    return count(image, {258, 381, 577, 416}, isFlame) > 200 &&
           count(image, {212, 388, 254, 417}, isFlame) > 40 &&
           count(image, {268, 450, 517, 619}, isRed) < 100;
}

class MenusEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || std::system("command -v xdotool > /dev/null") != 0) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
        if (!sandbox.hasResources()) {
            GTEST_SKIP() << "the build made no resources";
        }
        artefacts =
            std::filesystem::path(SPOOKHOLLOW_GAME_DIR).parent_path() / "tests" / "e2e_artifacts";
        std::filesystem::create_directories(artefacts);
    }
    void TearDown() override {
        if (game && game->running()) {
            game->kill();
        }
    }

    void start() {
        game = sandbox.start({});
        window = x11::findWindow("Spookhollow", 20);
        ASSERT_NE(window, 0u) << game->standardError();
        shown = Clock::now();
        ASSERT_TRUE(x11::geometry(window, where));
        ASSERT_EQ(where.width, 1024);
        ASSERT_EQ(where.height, 768);
        // Keyboard focus follows the pointer without a window manager.
        pointTo(400, -60);
    }
    double sinceShown() const {
        return std::chrono::duration<double>(Clock::now() - shown).count();
    }
    void waitUntil(double secondsSinceShown) {
        while (sinceShown() < secondsSinceShown) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    static void run(const std::string& command) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string screenPoint(int x, int y) const {
        return std::to_string(where.x + OFFSET_X + x) + " " +
               std::to_string(where.y + WINDOW_HEIGHT - OFFSET_Y - y);
    }
    void pointTo(int x, int y) { run("xdotool mousemove " + screenPoint(x, y)); }
    void click(int x, int y) {
        pointTo(x, y);
        pause(0.15);
        run("xdotool mousedown 1");
        pause(0.1);
        run("xdotool mouseup 1");
    }
    // Held for a while: the game reads keys once per frame, and a press
    // released before the next frame is gone.
    void key(const std::string& name) {
        run("xdotool keydown " + name);
        pause(0.3);
        run("xdotool keyup " + name);
    }
    static void pause(double seconds) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    }

    x11::Image shot() {
        x11::Image image;
        EXPECT_TRUE(x11::capture(window, image));
        return image;
    }
    // Polls the screen until the test holds; keeps the last picture.
    bool waitFor(const std::function<bool(const x11::Image&)>& test, double timeout,
                 const std::string& name, double interval = 0.1) {
        auto end = Clock::now() + std::chrono::duration<double>(timeout);
        x11::Image image;
        bool passed = false;
        do {
            image = shot();
            passed = test(image);
            if (!passed) {
                pause(interval);
            }
        } while (!passed && Clock::now() < end);
        keep(image, name);
        return passed;
    }
    void keep(const x11::Image& image, const std::string& name) {
        std::string ppm = (artefacts / ("menus_" + name + ".ppm")).string();
        std::string png = (artefacts / ("menus_" + name + ".png")).string();
        if (image.writePpm(ppm) &&
            std::system(("convert " + ppm + " " + png + " 2>/dev/null").c_str()) == 0) {
            std::filesystem::remove(ppm);
        }
    }
    // The sandbox's resources, with the level's object list replaced by a
    // pipe: the level build then waits on the loading screen until the test
    // hands the list over.
    void holdObjectList() {
        std::filesystem::path real = std::filesystem::path(SPOOKHOLLOW_GAME_DIR) / "resources";
        std::filesystem::path own = sandbox.file("resources");
        std::filesystem::remove(own);
        std::filesystem::create_directory(own);
        for (const auto& entry : std::filesystem::directory_iterator(real)) {
            if (entry.path().filename() != "objects.lvl") {
                std::filesystem::create_symlink(entry.path(), own / entry.path().filename());
            }
        }
        ASSERT_EQ(mkfifo((own / "objects.lvl").c_str(), 0600), 0);
    }
    // False when the game never opened the list.
    bool feedObjectList() {
        std::signal(SIGPIPE, SIG_IGN);
        std::string fifo = sandbox.file("resources/objects.lvl");
        int fd = -1;
        for (int attempt = 0; attempt < 600 && fd < 0; ++attempt) {
            fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0 && errno == ENXIO) {
                pause(0.05);  // no reader yet
            } else if (fd < 0) {
                return false;
            }
        }
        if (fd < 0) {
            return false;
        }
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        std::string list = readFile(std::string(SPOOKHOLLOW_GAME_DIR) + "/resources/objects.lvl");
        bool written = write(fd, list.data(), list.size()) == static_cast<ssize_t>(list.size());
        close(fd);
        return written;
    }
    std::string line(const std::string& text, int index) {
        std::istringstream in(text);
        std::string value;
        for (int i = 0; i <= index && std::getline(in, value); ++i) {
        }
        return value;
    }

    GameSandbox sandbox;
    std::unique_ptr<ChildProcess> game;
    unsigned long window = 0;
    x11::Geometry where;
    Clock::time_point shown;
    std::filesystem::path artefacts;
};

TEST_F(MenusEndToEnd, IntroEndsByItselfAfterEightSeconds) {
    start();
    waitUntil(4.0);
    x11::Image intro = shot();
    keep(intro, "intro");
    EXPECT_TRUE(introShowing(intro));
    // The picture stands still at x = 120 around 4 s: some of it is on screen.
    EXPECT_GT(count(intro, {120, 182, 680, 498}, isLit), 5000);

    ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "intro_end_main_menu"));
    double ended = sinceShown();
    // The game's clock starts a little before the window shows.
    EXPECT_GT(ended, 7.0);
    EXPECT_LT(ended, 11.0);

    click(300, 118);  // Quit
    ASSERT_TRUE(game->waitForExit(20));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
}

TEST_F(MenusEndToEnd, MenusOptionsHighScoresStartPauseAndQuit) {
    holdObjectList();
    start();

    // Space during the first five seconds is forgotten; after them it ends the intro.
    waitUntil(2.0);
    key("space");
    waitUntil(4.5);
    ASSERT_TRUE(introShowing(shot())) << "Space before 5 s ended the intro";
    waitUntil(5.6);
    key("space");
    ASSERT_TRUE(waitFor(mainMenuShowing, 2.0, "main_menu"));
    EXPECT_LT(sinceShown(), 7.8) << "Space after 5 s did not end the intro";

    // The marker starts at the first entry and follows the pointer.
    EXPECT_TRUE(
        waitFor([](const x11::Image& i) { return markerAt(i, 331); }, 2.0, "marker_on_start"));
    pointTo(350, 218);  // over Options
    EXPECT_TRUE(waitFor([](const x11::Image& i) { return markerAt(i, 209) && !markerAt(i, 331); },
                        2.0, "marker_on_options"));
    pointTo(350, 281);  // over High Scores
    EXPECT_TRUE(waitFor([](const x11::Image& i) { return markerAt(i, 270); }, 2.0,
                        "marker_on_high_scores"));

    // Options: rebind Move Forward (row 0) to the Up arrow.
    click(350, 218);
    ASSERT_TRUE(waitFor(optionsShowing, 3.0, "options"));
    click(450, 478);  // row 0 of the binding list
    click(520, 234);  // Change
    EXPECT_TRUE(waitFor(promptShowing, 2.0, "options_rebinding"));
    key("Up");
    EXPECT_TRUE(
        waitFor([](const x11::Image& i) { return !promptShowing(i); }, 2.0, "options_rebound"));
    // Invert mouse off, then the slider dragged to its right end.
    click(511, 134);
    pointTo(640, 74);
    pause(0.15);
    run("xdotool mousedown 1");
    for (int x = 660; x <= 790; x += 26) {
        pointTo(x, 74);
        pause(0.05);
    }
    run("xdotool mouseup 1");
    pause(0.3);
    keep(shot(), "options_changed");
    key("Escape");
    ASSERT_TRUE(waitFor(mainMenuShowing, 3.0, "back_from_options"));

    // High scores: the default table, then Escape back.
    click(380, 281);
    ASSERT_TRUE(waitFor(highScoresShowing, 3.0, "high_scores"));
    x11::Image scores = shot();
    // Eight rows of "0" and "<none>" in the list window.
    EXPECT_GT(count(scores, {260, 189, 527, 445}, isLit), 800);
    EXPECT_EQ(readFile(sandbox.file("save/data.dat")),
              "8\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n"
              "<none>\n");
    key("Escape");
    ASSERT_TRUE(waitFor(mainMenuShowing, 3.0, "back_from_high_scores"));

    // Start: the loading screen, then the ready screen (or the main menu
    // with a message when no level can be built).
    click(310, 342);
    bool loading = waitFor(loadingShowing, 20.0, "loading", 0.0);
    // Only now may the build read its object list: the loading screen stays
    // until then, however fast the build.
    bool fed = feedObjectList();
    bool ready = waitFor(readyShowing, 60.0, "ready");
    if (!ready) {
        x11::Image now = shot();
        ASSERT_TRUE(mainMenuShowing(now)) << "neither the ready screen nor the main menu";
        EXPECT_NE(game->standardError(), "") << "back at the menu without a message";
    } else {
        EXPECT_TRUE(loading) << "the loading screen was not seen";
        EXPECT_TRUE(fed);
        // A click anywhere starts the game; Escape pauses it.
        click(400, 300);
        pause(1.0);
        keep(shot(), "playing");
        key("Escape");
        ASSERT_TRUE(waitFor(pausedShowing, 3.0, "paused"));
        key("Down");
        pause(0.3);
        keep(shot(), "paused_on_quit");
        key("Return");
        ASSERT_TRUE(waitFor(mainMenuShowing, 5.0, "back_from_game"));
    }

    // Quit.
    click(300, 118);
    ASSERT_TRUE(game->waitForExit(20)) << "the quit button did not end the game";
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();

    // Move Forward is on the Up arrow (38); the other bindings kept.
    std::string controls = readFile(sandbox.file("save/control.cfg"));
    ASSERT_EQ(controls.size(), 56u);
    EXPECT_EQ(controls.substr(0, 8), std::string("\0\0\0\0\x26\0\0\0", 8));
    EXPECT_EQ(controls.substr(8, 8), std::string("\1\0\0\0\x53\0\0\0", 8));
    std::string config = readFile(sandbox.file("save/config.ini"));
    EXPECT_EQ(line(config, 4), "0") << config;      // invert mouse off
    EXPECT_EQ(line(config, 5), "0.002") << config;  // the slider's right end
    EXPECT_EQ(line(config, 0), "1024") << config;
    // Nothing went wrong on the way: the log holds its date header only.
    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    std::size_t header = log.find("\n\n");
    ASSERT_NE(header, std::string::npos) << log;
    EXPECT_EQ(log.substr(header + 2), "") << log;
}

}  // namespace
