// Recorded games in the real executable: the shipped recording of a game
// through the castle replays to the same end (any change to the rules or the
// timing of play shows up here), a game recorded from real X input plays back
// to exactly the state it was left in, and a damaged or foreign file is
// refused with a message.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/demo_file.h"
#include "e2e/e2e_input.h"
#include "e2e/game_process.h"
#include "support/game_trace.h"
#include "support/sanitizer_slowdown.h"
#include "support/x11_helpers.h"

namespace {

// What the shipped recording came to when it was made: replaying it must end
// in exactly this state.
const char* const CASTLE_DEMO_END =
    "demo: frames 1731, play steps 7065, game over frame -1"
    ", score 0, health 68, energy 0, at 150.000 1.800 138.000, facing 0.381 0.000 0.925";

std::string shippedDemo() {
    return std::string(SPOOKHOLLOW_TEST_DATA) + "/castle.demo";
}

// The game with its standard output kept in a file (the test support keeps
// only standard error).
class DemoRun {
public:
    DemoRun(GameSandbox& sandbox, const std::vector<std::string>& gameArguments)
        : m_output(sandbox.file("stdout.txt")) {
        std::vector<std::string> arguments = {"-c", "exec \"$0\" \"$@\" > \"$OUT\"",
                                              SPOOKHOLLOW_EXE};
        arguments.insert(arguments.end(), gameArguments.begin(), gameArguments.end());
        ChildProcess::Options options;
        options.workingDir = sandbox.path();
        options.environment = {"XDG_RUNTIME_DIR=" + sandbox.file("runtime"),
                               "SPOOKHOLLOW_MESSAGE_BOX=stderr", "ALSOFT_DRIVERS=null",
                               "OUT=" + m_output};
        m_process = std::make_unique<ChildProcess>("/bin/sh", arguments, options);
    }

    ChildProcess& process() { return *m_process; }
    bool finish(double seconds) { return m_process->waitForExit(seconds * SLOWDOWN); }

    // The line of the standard output that starts with prefix ("" if none).
    std::string line(const std::string& prefix) const {
        std::istringstream in(readFile(m_output));
        std::string text;
        while (std::getline(in, text)) {
            if (text.compare(0, prefix.size(), prefix) == 0) {
                return text;
            }
        }
        return "";
    }

private:
    std::string m_output;
    std::unique_ptr<ChildProcess> m_process;
};

class DemoReplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable()) {
            GTEST_SKIP() << "needs an X display";
        }
        if (!sandbox.hasResources()) {
            GTEST_SKIP() << "the build made no resources";
        }
    }

    GameSandbox sandbox;
};

TEST_F(DemoReplay, ShippedCastleGameEndsAsRecorded) {
    DemoRun run(sandbox, {"--timedemo", shippedDemo()});
    ASSERT_TRUE(run.finish(300)) << "the replay did not end";
    EXPECT_EQ(run.process().exitCode(), 0) << run.process().standardError();
    EXPECT_EQ(run.line("demo:"), CASTLE_DEMO_END);

    // The timings line names the frames it measured: every recorded one.
    std::string timings = run.line("timedemo:");
    unsigned frames = 0;
    double median = 0, percentile = 0, fps = 0;
    ASSERT_EQ(std::sscanf(timings.c_str(),
                          "timedemo: frames %u, median %lf ms, 99th percentile %lf ms, "
                          "average %lf fps",
                          &frames, &median, &percentile, &fps),
              4)
        << timings;
    EXPECT_NE(std::string(CASTLE_DEMO_END).find("frames " + std::to_string(frames) + ","),
              std::string::npos);
    EXPECT_GT(median, 0.0);
    EXPECT_GE(percentile, median);
    EXPECT_GT(fps, 0.0);
    std::printf("[ demo ] %s\n", timings.c_str());
}

// The same recording replayed in a window of another size and aspect: its
// clicks land on the same controls, so the game ends the same.
TEST_F(DemoReplay, ShippedCastleGameEndsAsRecordedInAnotherWindowSize) {
    Demo demo;
    std::string reason;
    ASSERT_TRUE(loadDemo(shippedDemo(), demo, reason)) << reason;
    demo.window = {800, 600, false};
    const std::string resized = sandbox.file("castle-800x600.demo");
    ASSERT_TRUE(saveDemo(resized, demo, reason)) << reason;
    DemoRun run(sandbox, {"--timedemo", resized});
    ASSERT_TRUE(run.finish(300)) << "the replay did not end";
    EXPECT_EQ(run.process().exitCode(), 0) << run.process().standardError();
    EXPECT_EQ(run.line("demo:"), CASTLE_DEMO_END);
}

TEST_F(DemoReplay, GameRecordedFromRealInputPlaysBackToTheSameState) {
    if (!e2e::xdotoolAvailable()) {
        GTEST_SKIP() << "needs xdotool";
    }
    std::string demo = sandbox.file("played.demo");
    std::string recorded;
    {
        e2e::KeyRepeatOff keyRepeatOff;
        DemoRun recording(sandbox, {"--record", demo, "--trace", "-"});
        GameTrace trace(recording.process());
        auto traced = [&](const std::string& event, double seconds) {
            return trace.waitFor(event, seconds * SLOWDOWN);
        };
        unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
        ASSERT_NE(window, 0u) << recording.process().standardError();
        x11::Geometry where;
        ASSERT_TRUE(x11::geometry(window, where));
        ASSERT_TRUE(e2e::pointAtWindow(where, 512, 600));
        // The intro takes Space after five seconds, so it is held until
        // then; Start; the ready screen takes a click once the level is built.
        ASSERT_TRUE(traced("state Intro", 30)) << trace.text();
        ASSERT_TRUE(e2e::holdKeyUntil("space", [&] { return traced("intro skipped", 30); }))
            << trace.text();
        ASSERT_TRUE(traced("state MainMenu", 30)) << trace.text();
        ASSERT_TRUE(e2e::clickDesign(where, 317, 342));
        ASSERT_TRUE(traced("level built", 60)) << trace.text();
        ASSERT_TRUE(traced("state Ready", 30)) << trace.text();
        ASSERT_TRUE(e2e::holdButton(1, 150));
        ASSERT_TRUE(traced("state Playing", 30)) << trace.text();
        // Walk, look about, swing, step aside.
        ASSERT_TRUE(e2e::holdKey("w", 700));
        ASSERT_TRUE(e2e::xdotool("mousemove_relative -- 150 20"));
        e2e::sleepMs(200);  // a player's moment between looking and stepping aside
        ASSERT_TRUE(e2e::holdKey("a", 400));
        ASSERT_TRUE(e2e::holdButton(1, 100));
        ASSERT_TRUE(e2e::xdotool("mousemove_relative -- -60 -20"));
        ASSERT_TRUE(e2e::holdKey("w", 500));
        // SDL makes a quit request of SIGTERM: the loop ends, the file is written.
        ASSERT_EQ(::kill(recording.process().pid(), SIGTERM), 0);
        ASSERT_TRUE(recording.finish(30));
        EXPECT_EQ(recording.process().exitCode(), 0) << recording.process().standardError();
        recorded = recording.line("demo:");
    }
    ASSERT_NE(recorded.find(", score "), std::string::npos) << recorded;
    int playSteps = 0;
    ASSERT_EQ(std::sscanf(recorded.c_str(), "demo: frames %*d, play steps %d", &playSteps), 1);
    EXPECT_GT(playSteps, 100) << "the game was not played: " << recorded;

    // Played back at the recorded pace, and as fast as it goes, away from
    // where the pointer is and whatever the real mouse does.
    ASSERT_TRUE(e2e::xdotool("mousemove 5 5"));
    for (const char* option : {"--playdemo", "--timedemo"}) {
        DemoRun replay(sandbox, {option, demo});
        ASSERT_TRUE(replay.finish(120)) << option;
        EXPECT_EQ(replay.process().exitCode(), 0) << replay.process().standardError();
        EXPECT_EQ(replay.line("demo:"), recorded) << option;
    }
}

TEST_F(DemoReplay, ForeignDamagedAndMissingFilesAreRefusedBeforeAnyWindow) {
    std::string good = readFile(shippedDemo());
    ASSERT_GT(good.size(), 40u);
    std::string flipped = good;
    flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 1);
    std::string newer = good;
    newer[8] = 9;
    struct Case {
        const char* file;
        std::string contents;
        const char* says;
    };
    const Case cases[] = {
        {"cut.demo", good.substr(0, good.size() / 3), "it is damaged"},
        {"flipped.demo", flipped, "it is damaged (checksum mismatch)"},
        {"newer.demo", newer, "it is a version 9 demo; this game plays versions 1 to 3"},
        {"picture.demo", "BM\x36\x10\0\0", "it is not a Spookhollow demo"},
    };
    for (const Case& c : cases) {
        writeFile(sandbox.file(c.file), c.contents);
        DemoRun run(sandbox, {"--playdemo", c.file});
        ASSERT_TRUE(run.finish(20)) << c.file;
        EXPECT_EQ(run.process().exitCode(), 1) << c.file;
        std::string said = run.process().standardError();
        EXPECT_NE(said.find(std::string("Can not play the demo ") + c.file + ": " + c.says),
                  std::string::npos)
            << said;
        EXPECT_EQ(run.line("demo:"), "") << c.file;
    }
    DemoRun missing(sandbox, {"--timedemo", "nowhere.demo"});
    ASSERT_TRUE(missing.finish(20));
    EXPECT_EQ(missing.process().exitCode(), 1);
    EXPECT_NE(missing.process().standardError().find("Can not open the demo nowhere.demo."),
              std::string::npos);
}

}  // namespace
