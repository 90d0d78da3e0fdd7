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
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/design_fit.h"
#include "e2e/e2e_input.h"
#include "e2e/game_process.h"
#include "support/game_trace.h"
#include "support/sanitizer_slowdown.h"
#include "support/x11_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;

// A window pixel (from the top-left) of a point of the GUI's design space,
// as the game fits it into its 1024 x 768 window.
void layoutPixel(int x, int y, int& column, int& row) {
    const DesignFit fit = fitDesign(1024, 768);
    column = static_cast<int>(std::lround(fit.windowX(static_cast<float>(x))));
    row = 768 - static_cast<int>(std::lround(fit.windowY(static_cast<float>(y))));
}

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
        for (int x = r.x0; x <= r.x1; ++x) {
            int column = 0;
            int row = 0;
            layoutPixel(x, y, column, row);
            if (row < 0 || row >= image.height || column < 0 || column >= image.width) {
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
// The window column where the intro's dark picture begins, -1 when none of
// it is on screen. It comes in from the left, rests at x = 120 (column 240)
// from about 3.2 s to 4.8 s, and leaves to the right after 5 s.
constexpr int INTRO_REST_COLUMN = 240;
int introPictureColumn(const x11::Image& image) {
    for (int column = 0; column < image.width; ++column) {
        int rows = 0;
        int dark = 0;
        for (int row = 200; row <= 480 && row < image.height; row += 4) {
            const std::uint8_t* p =
                &image.rgb[(static_cast<std::size_t>(row) * image.width + column) * 3];
            dark += (p[0] < 100 && p[1] < 100 && p[2] < 100) ? 1 : 0;
            ++rows;
        }
        if (dark * 2 > rows) {
            return column;
        }
    }
    return -1;
}
bool introAtRest(const x11::Image& image) {
    return introShowing(image) && std::abs(introPictureColumn(image) - INTRO_REST_COLUMN) <= 15;
}
// Seen on its way out, the picture was drawn more than 5.2 s into the intro.
bool introMovingOut(const x11::Image& image) {
    return introShowing(image) && introPictureColumn(image) >= INTRO_REST_COLUMN + 50;
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
bool pausedOnQuit(const x11::Image& image) {
    return count(image, {258, 381, 577, 416}, isFlame) > 200 &&
           count(image, {212, 265, 254, 294}, isFlame) > 40 &&
           count(image, {212, 388, 254, 417}, isFlame) < 20;
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
        game = sandbox.start({"--trace", "-"});
        trace = std::make_unique<GameTrace>(*game);
        window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
        ASSERT_NE(window, 0u) << game->standardError();
        ASSERT_TRUE(x11::geometry(window, where));
        ASSERT_EQ(where.width, 1024);
        ASSERT_EQ(where.height, 768);
        // Keyboard focus follows the pointer without a window manager.
        pointTo(400, -60);
    }
    // Waits for the game's next trace line that begins with `event`.
    bool traced(const std::string& event, double seconds = 30) {
        return trace->waitFor(event, seconds * SLOWDOWN);
    }
    // Holds a key until the trace shows its effect.
    bool keyUntilTraced(const std::string& name, const std::string& event) {
        return e2e::holdKeyUntil(name, [&] { return traced(event); });
    }

    static void run(const std::string& command) {
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    std::string screenPoint(int x, int y) const {
        int column = 0;
        int row = 0;
        layoutPixel(x, y, column, row);
        return std::to_string(where.x + column) + " " + std::to_string(where.y + row);
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
    // released before the next frame is gone. Where the press must not be
    // lost, keyUntilTraced holds the key until the game shows its effect.
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
        auto end = Clock::now() + std::chrono::duration<double>(timeout * SLOWDOWN);
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

    e2e::KeyRepeatOff keyRepeatOff;
    GameSandbox sandbox;
    std::unique_ptr<ChildProcess> game;
    std::unique_ptr<GameTrace> trace;
    unsigned long window = 0;
    x11::Geometry where;
    std::filesystem::path artefacts;
};

TEST_F(MenusEndToEnd, IntroEndsByItselfAfterEightSeconds) {
    start();
    EXPECT_TRUE(waitFor(introAtRest, 10.0, "intro")) << "the picture did not rest at x = 120";

    ASSERT_TRUE(traced("state MainMenu")) << trace->text();
    ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "intro_end_main_menu"));
    // The intro's clock starts before the window line of the trace, and the
    // trace's own clock before that.
    const double ended = trace->timeOf("state MainMenu");
    EXPECT_GE(ended, 8.0) << trace->text();
    EXPECT_LT(ended - trace->timeOf("window"), 11.0) << trace->text();
    EXPECT_FALSE(trace->seen("intro skipped")) << trace->text();

    click(300, 118);  // Quit
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
}

TEST_F(MenusEndToEnd, MenusOptionsHighScoresStartPauseAndQuit) {
    holdObjectList();
    start();

    // Space during the first five seconds is forgotten; after them it ends
    // the intro. Had the early press been kept, the intro would end at 5 s,
    // before its picture is seen moving out.
    ASSERT_TRUE(traced("state Intro")) << trace->text();
    key("space");
    ASSERT_TRUE(
        waitFor(
            [&](const x11::Image& i) { return introMovingOut(i) || trace->seen("state MainMenu"); },
            20.0, "intro_after_early_space") &&
        !trace->seen("state MainMenu"))
        << "Space before 5 s ended the intro\n"
        << trace->text();
    ASSERT_TRUE(keyUntilTraced("space", "intro skipped"))
        << "Space after 5 s did not end the intro\n"
        << trace->text();
    ASSERT_TRUE(traced("state MainMenu")) << trace->text();
    ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "main_menu"));

    // The marker starts at the first entry and follows the pointer.
    EXPECT_TRUE(
        waitFor([](const x11::Image& i) { return markerAt(i, 331); }, 10.0, "marker_on_start"));
    pointTo(350, 218);  // over Options
    EXPECT_TRUE(waitFor([](const x11::Image& i) { return markerAt(i, 209) && !markerAt(i, 331); },
                        10.0, "marker_on_options"));
    pointTo(350, 281);  // over High Scores
    EXPECT_TRUE(waitFor([](const x11::Image& i) { return markerAt(i, 270); }, 10.0,
                        "marker_on_high_scores"));

    // Options: rebind Move Forward (row 0) to the Up arrow.
    click(350, 218);
    ASSERT_TRUE(traced("state Options")) << trace->text();
    ASSERT_TRUE(waitFor(optionsShowing, 10.0, "options"));
    click(450, 478);  // row 0 of the binding list
    click(520, 234);  // Change
    EXPECT_TRUE(waitFor(promptShowing, 10.0, "options_rebinding"));
    key("Up");  // taken as it goes down
    EXPECT_TRUE(
        waitFor([](const x11::Image& i) { return !promptShowing(i); }, 10.0, "options_rebound"));
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
    // For a look only (the settings are read back from config.ini below);
    // the frame may not show the last move yet.
    keep(shot(), "options_changed");
    ASSERT_TRUE(keyUntilTraced("Escape", "state MainMenu")) << trace->text();
    ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "back_from_options"));

    // High scores: the default table, then Escape back.
    click(380, 281);
    ASSERT_TRUE(traced("state HighScores")) << trace->text();
    ASSERT_TRUE(waitFor(highScoresShowing, 10.0, "high_scores"));
    x11::Image scores = shot();
    // Eight rows of "0" and "<none>" in the list window.
    EXPECT_GT(count(scores, {260, 189, 527, 445}, isLit), 800);
    EXPECT_EQ(readFile(sandbox.file("save/data.dat")),
              "8\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n<none>\n0\n"
              "<none>\n");
    ASSERT_TRUE(keyUntilTraced("Escape", "state MainMenu")) << trace->text();
    ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "back_from_high_scores"));

    // Start: the loading screen, then the ready screen (or the main menu
    // with a message when no level can be built).
    click(310, 342);
    ASSERT_TRUE(traced("state Loading")) << trace->text();
    bool loading = waitFor(loadingShowing, 20.0, "loading", 0.0);
    // Only now may the build read its object list: the loading screen stays
    // until then, however fast the build.
    bool fed = feedObjectList();
    ASSERT_TRUE(traced("level ", 60)) << trace->text();
    if (!trace->seen("level built")) {
        ASSERT_TRUE(traced("state MainMenu")) << trace->text();
        ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "not_built_main_menu"));
        EXPECT_NE(trace->untraced(), "") << "back at the menu without a message";
    } else {
        ASSERT_TRUE(traced("state Ready")) << trace->text();
        ASSERT_TRUE(waitFor(readyShowing, 20.0, "ready"));
        EXPECT_TRUE(loading) << "the loading screen was not seen";
        EXPECT_TRUE(fed);
        // A click anywhere starts the game; Escape pauses it.
        click(400, 300);
        ASSERT_TRUE(traced("state Playing")) << trace->text();
        EXPECT_TRUE(waitFor([](const x11::Image& i) { return !readyShowing(i); }, 10.0, "playing"));
        ASSERT_TRUE(keyUntilTraced("Escape", "state Paused")) << trace->text();
        ASSERT_TRUE(waitFor(pausedShowing, 10.0, "paused"));
        ASSERT_TRUE(e2e::holdKeyUntil(
            "Down", [&] { return waitFor(pausedOnQuit, 10.0, "paused_on_quit"); }));
        ASSERT_TRUE(keyUntilTraced("Return", "state MainMenu")) << trace->text();
        ASSERT_TRUE(waitFor(mainMenuShowing, 10.0, "back_from_game"));
    }

    // Quit.
    click(300, 118);
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN)) << "the quit button did not end the game";
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();

    // Move Forward is on the Up arrow (38); the other bindings kept.
    std::string controls = readFile(sandbox.file("save/control.cfg"));
    ASSERT_EQ(controls.size(), 56u);
    EXPECT_EQ(controls.substr(0, 8), std::string("\0\0\0\0\x26\0\0\0", 8));
    EXPECT_EQ(controls.substr(8, 8), std::string("\1\0\0\0\x53\0\0\0", 8));
    std::string config = readFile(sandbox.file("save/config.ini"));
    EXPECT_EQ(line(config, 4), "0") << config;      // invert mouse off
    EXPECT_EQ(line(config, 5), "0.002") << config;  // the slider's right end
    EXPECT_EQ(line(config, 0), "0") << config;      // fullscreen at the display's own size
    EXPECT_EQ(line(config, 7), "1024") << config;   // the window's width
    // Nothing went wrong on the way: the log holds its date header only.
    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    std::size_t header = log.find("\n\n");
    ASSERT_NE(header, std::string::npos) << log;
    EXPECT_EQ(log.substr(header + 2), "") << log;
}

}  // namespace
