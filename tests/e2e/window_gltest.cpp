// The real executable under an X server: the window, the single-instance
// guard, closing, and a refused fullscreen mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

#include "e2e/e2e_input.h"
#include "e2e/game_process.h"
#include "support/game_trace.h"
#include "support/sanitizer_slowdown.h"
#include "support/x11_helpers.h"

namespace {

using Clock = std::chrono::steady_clock;

// Captures the window until it is white all over (the intro's clear colour);
// false when the deadline passed first. The last picture stays in shot.
bool showsWhite(unsigned long window, x11::Image& shot, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (x11::capture(window, shot) && shot.fractionNear(255, 255, 255, 8) > 0.99) {
            return true;
        }
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

class ExecutableWindow : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
    }
    GameSandbox sandbox;
};

TEST_F(ExecutableWindow, OpensWhiteIntroWindowRefusesSecondCopyAndClosesCleanly) {
    auto game = sandbox.start({"--trace", "-"});
    GameTrace trace(*game);
    unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    ASSERT_NE(window, 0u) << game->standardError();

    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.width, 1024);
    EXPECT_EQ(where.height, 768);

    // The intro's frames clear to white once the main loop runs.
    ASSERT_TRUE(trace.waitFor("state Intro", 30 * SLOWDOWN)) << trace.text();
    x11::Image shot;
    const bool white = showsWhite(window, shot, 20 * SLOWDOWN);
    shot.writePpm("/tmp/spookhollow-intro-window.ppm");
    EXPECT_TRUE(white) << "the intro did not clear the window to white";

    // A second copy, started from another folder, is refused before it
    // creates a log or touches settings.
    TempDir elsewhere;
    std::filesystem::create_directory(elsewhere.file("save"));
    auto second = sandbox.start({}, elsewhere.path());
    ASSERT_TRUE(second->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(second->exitCode(), 1);
    std::string err = second->standardError();
    EXPECT_NE(err.find("Application Already Running"), std::string::npos) << err;
    EXPECT_NE(err.find("Application has already been\nstarted in a different window."),
              std::string::npos);
    EXPECT_FALSE(fileExists(elsewhere.file("ErrorLog.txt")));
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.file("save")));
    EXPECT_TRUE(game->running());

    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN)) << "the game did not end after the close request";
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();

    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    EXPECT_TRUE(
        std::regex_search(log, std::regex(R"(^Date\(M/D/Y\): \d\d/\d\d/\d\d \d\d:\d\d:\d\d\n\n)")))
        << log;
}

// The largest absolute 16-bit sample of a WAV file's data (0 when unreadable).
int peakOfWav(const std::string& bytes) {
    std::size_t data = bytes.find("data");
    if (data == std::string::npos) {
        return 0;
    }
    int peak = 0;
    for (std::size_t i = data + 8; i + 1 < bytes.size(); i += 2) {
        auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

// Waits until the recording holds a sample louder than `level`; false when
// the deadline passed first.
bool recordingReaches(const std::string& wav, int level, double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (peakOfWav(readFile(wav)) <= level) {
        if (Clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

TEST_F(ExecutableWindow, IntroMusicPlaysFromTheStart) {
    if (!sandbox.hasResources()) {
        GTEST_SKIP() << "the build made no resources";
    }
    std::string wav = sandbox.file("sound.wav");
    auto game = sandbox.startRecordingSound(wav, {"--trace", "-"});
    GameTrace trace(*game);
    unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    ASSERT_NE(window, 0u) << game->standardError();
    // The menu's music starts only after the trace says the intro ended, so
    // music heard before that is the intro's.
    const bool heard = recordingReaches(wav, 1000, 20 * SLOWDOWN);
    const bool duringIntro = !trace.seen("state MainMenu");
    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
    EXPECT_TRUE(heard) << "the intro music was silent";
    EXPECT_TRUE(duringIntro) << "no music until the intro had ended\n" << trace.text();
    // A clean run with its data stores no error.
    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_EQ(log.find("Can not"), std::string::npos) << log;
}

// How many times `text` occurs in `log`.
std::size_t occurrences(const std::string& log, const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
        ++count;
    }
    return count;
}

// The test display (1280 x 1024) refuses every mode switch: a configured
// 1024 x 768 falls back to the display's own size, once per attempt, and
// the game goes on; Alt+Enter goes to the window and back the same way.
TEST_F(ExecutableWindow, RefusedFullscreenModeFillsTheDisplayAtItsOwnSizeAndPlayGoesOn) {
    if (!e2e::xdotoolAvailable()) {
        GTEST_SKIP() << "needs xdotool";
    }
    // A settings file from before the window had a size of its own.
    writeFile(sandbox.file("save/config.ini"), "1024\n768\n55\n3\n1\n0.001\n0\n");
    auto game = sandbox.start({"-fullscreen", "--trace", "-"});
    GameTrace trace(*game);
    ASSERT_TRUE(trace.waitFor("window 1280x1024 fullscreen", 30 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(trace.waitFor("state Intro", 30 * SLOWDOWN)) << trace.text();
    unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    ASSERT_NE(window, 0u);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    EXPECT_EQ(where.width, 1280);
    EXPECT_EQ(where.height, 1024);
    const std::string refused = "Failed to switch to 1024x768 fullscreen mode";
    EXPECT_EQ(occurrences(readFile(sandbox.file("ErrorLog.txt")), refused), 1u);

    e2e::KeyRepeatOff repeatOff;
    ASSERT_TRUE(e2e::pointAtWindow(where, 640, 512));
    ASSERT_TRUE(e2e::holdKeyUntil("alt+Return", [&] {
        return trace.waitFor("window resized 1024x768", 20 * SLOWDOWN);
    })) << trace.text();
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.width, 1024);
    EXPECT_EQ(where.height, 768);

    ASSERT_TRUE(e2e::pointAtWindow(where, 512, 384));
    ASSERT_TRUE(e2e::holdKeyUntil("alt+Return", [&] {
        return trace.waitFor("window resized 1280x1024", 20 * SLOWDOWN);
    })) << trace.text();
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.width, 1280);
    EXPECT_EQ(where.height, 1024);
    EXPECT_EQ(occurrences(readFile(sandbox.file("ErrorLog.txt")), refused), 2u);
    EXPECT_TRUE(game->running());

    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
    // The resolution keeps its meaning; Alt+Enter kept fullscreen as the choice.
    EXPECT_EQ(readFile(sandbox.file("save/config.ini")),
              "1024\n768\n55\n3\n1\n0.001\n0\n1024\n768\n1\n0\n150\n1\n");
}

// The options' display settings act at once and are kept in config.ini.
TEST_F(ExecutableWindow, DisplayOptionsActAtOnceAndAreKept) {
    if (!e2e::xdotoolAvailable() || !sandbox.hasResources()) {
        GTEST_SKIP() << "needs xdotool and the game's data";
    }
    auto game = sandbox.start({"--no-intro", "--trace", "-"});
    GameTrace trace(*game);
    ASSERT_TRUE(trace.waitFor("state MainMenu", 30 * SLOWDOWN)) << trace.text();
    unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    x11::Geometry where;
    ASSERT_TRUE(x11::geometry(window, where));
    ASSERT_TRUE(e2e::clickDesign(where, 350, 218));  // Options
    ASSERT_TRUE(trace.waitFor("state Options", 20 * SLOWDOWN)) << trace.text();

    ASSERT_TRUE(e2e::clickDesign(where, 346, 430));  // vertical sync on
    ASSERT_TRUE(e2e::clickDesign(where, 354, 502));  // Desktop -> the display's one mode
    // The brightness knob dragged to the slider's right end.
    ASSERT_TRUE(e2e::pointAtDesign(where, 523, 26));
    e2e::sleepMs(150);
    ASSERT_TRUE(e2e::xdotool("mousedown 1"));
    for (int x = 550; x <= 800; x += 25) {
        ASSERT_TRUE(e2e::pointAtDesign(where, x, 26));
        e2e::sleepMs(50);
    }
    ASSERT_TRUE(e2e::xdotool("mouseup 1"));
    ASSERT_TRUE(e2e::clickDesign(where, 346, 462));  // fullscreen on
    ASSERT_TRUE(trace.waitFor("window resized 1280x1024", 20 * SLOWDOWN)) << trace.text();
    ASSERT_TRUE(x11::geometry(window, where));
    EXPECT_EQ(where.x, 0);
    EXPECT_EQ(where.y, 0);
    EXPECT_EQ(where.width, 1280);
    EXPECT_EQ(where.height, 1024);

    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();
    EXPECT_EQ(readFile(sandbox.file("save/config.ini")),
              "1280\n1024\n55\n3\n1\n0.001\n1\n1024\n768\n1\n1\n150\n1\n");
    EXPECT_EQ(readFile(sandbox.file("ErrorLog.txt")).find("Failed"), std::string::npos);
}

// "-f" on a new installation fills the display at its own size, whatever
// its shape, on a server of its own that refuses mode switches.
class NewInstallationFullscreen : public ::testing::TestWithParam<const char*> {};

TEST_P(NewInstallationFullscreen, FillsTheDisplayExactly) {
    if (std::system("command -v xdotool xwininfo Xvfb > /dev/null") != 0) {
        GTEST_SKIP() << "needs xdotool, xwininfo and Xvfb";
    }
    const std::string screen = GetParam();
    GameSandbox sandbox;
    ChildProcess::Options options;
    options.workingDir = sandbox.path();
    options.environment = {"XDG_RUNTIME_DIR=" + sandbox.file("runtime"),
                           "SPOOKHOLLOW_MESSAGE_BOX=stderr", "ALSOFT_DRIVERS=null",
                           "SPOOKHOLLOW_TEST_SCREEN=" + screen};
    // Once the window shows, its place and size are final: they are set
    // before it is shown.
    const std::string script =
        "\"$1\" -f --trace - & game=$!\n"
        "xdotool search --sync --onlyvisible --name '^Spookhollow$' > /dev/null\n"
        "xwininfo -name Spookhollow >&2\n"
        "kill $game; wait $game\n";
    ChildProcess game(SPOOKHOLLOW_SOURCE_DIR "/tests/support/on_private_display.sh",
                      {"sh", "-c", script, "sh", SPOOKHOLLOW_EXE}, options);
    ASSERT_TRUE(game.waitForExit(60 * SLOWDOWN)) << game.standardError();
    const std::string out = game.standardError();
    const std::string width = screen.substr(0, screen.find('x'));
    const std::string height = screen.substr(screen.find('x') + 1);
    EXPECT_NE(out.find("window " + screen + " fullscreen"), std::string::npos) << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("Absolute upper-left X: +0\n"))) << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("Absolute upper-left Y: +0\n"))) << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("Width: " + width + "\n"))) << out;
    EXPECT_TRUE(std::regex_search(out, std::regex("Height: " + height + "\n"))) << out;
    EXPECT_EQ(readFile(sandbox.file("ErrorLog.txt")).find("Failed"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Screens, NewInstallationFullscreen,
                         ::testing::Values("1920x1080", "2560x1080"));

}  // namespace
