// The real executable under an X server: the window, the single-instance
// guard, closing, and a refused fullscreen mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <thread>

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

TEST_F(ExecutableWindow, RefusedFullscreenModeIsReportedAndEndsWithMinusOne) {
    // The test X server has one mode (1280 x 1024), so 1024 x 768 is refused.
    auto game = sandbox.start({"-fullscreen"});
    ASSERT_TRUE(game->waitForExit(30));
    EXPECT_EQ(game->exitCode(), 255);
    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    EXPECT_NE(log.find("Failed to switch to 1024x768 fullscreen mode."), std::string::npos) << log;
    EXPECT_NE(game->standardError().find("Windows Error"), std::string::npos);
}

}  // namespace
