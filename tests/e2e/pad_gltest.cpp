// A whole game in the real executable with a pad alone: the game's test pad
// (a virtual controller fed from a command file) goes through SDL's own
// controller events, the platform layer and the input router like a real
// one. From the main menu to Start, the ready screen, walking, looking, both
// weapons, pausing and resuming, a disconnect during play, rumble, and a
// name entered letter by letter on the game-over screen; and the map choice
// of the player's maps folder, with the map noted in the high-score table.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/e2e_input.h"
#include "e2e/e2e_scratch_game.h"
#include "support/expect_traced.h"
#include "support/game_trace.h"
#include "support/map_images.h"
#include "support/x11_helpers.h"

namespace {

// A hall three cells square in solid wall, as in the keyboard's play-through:
// the ghosts reach the player some seconds into play.
const std::vector<std::string> HALL = {
    "#############", "#############", "#############", "#############", "#############",
    "#####yyy#####", "#####yyy#####", "#####yyy#####", "#############", "#############",
    "#############", "#############", "#############",
};

struct Pose {
    double x = 0, z = 0, facingX = 0, facingZ = 0;
};

// What holding a stick must have done between two poses.
bool walkedAUnit(const Pose& a, const Pose& b) {
    return std::hypot(b.x - a.x, b.z - a.z) > 1.0;
}
bool turnedHalfARadian(const Pose& a, const Pose& b) {
    return a.facingX * b.facingX + a.facingZ * b.facingZ < std::cos(0.5);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class PadPlay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !e2e::xdotoolAvailable()) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
        if (!scratch.hasResources()) {
            GTEST_SKIP() << "the build made no resources";
        }
        scratch.replaceResource("maps/castle.map", e2e::mapImage(HALL));
        commands = scratch.file("pad.txt");
        rumbles = scratch.file("rumble.txt");
        std::ofstream(commands).flush();
        // The pointer rests in a corner, off every button: the mouse is not
        // used.
        ASSERT_TRUE(e2e::xdotool("mousemove 0 0"));
    }

    void start(std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.end(), {"--trace", "-", "--no-intro"});
        game = scratch.startRecordingSound(
            scratch.file("sound.wav"), arguments,
            {"SPOOKHOLLOW_TEST_PAD=" + commands, "SPOOKHOLLOW_TEST_PAD_LOG=" + rumbles});
        trace = std::make_unique<GameTrace>(*game);
    }

    // Starts the game and plugs the pad in once the main menu shows.
    bool startWithPad(const std::vector<std::string>& arguments = {}) {
        start(arguments);
        if (!traced("state MainMenu")) {
            return false;
        }
        pad("attach");
        return traced("pad connected");
    }

    // From the main menu into play with the pad: down until Start, the first
    // entry, is marked (the pointer may have marked another as the window
    // opened under it), A chooses it, A again leaves the ready screen.
    bool startGame() {
        return pressStart("state Loading") && traced("level built", 60) && traced("state Ready") &&
               tap("a", "state Playing");
    }
    bool pressStart(const std::string& effect) {
        bool onStart = false;
        for (int i = 0; i < 4 && !onStart; ++i) {
            if (!tap("dpdown", "menu entry")) {
                return false;
            }
            const std::string text = trace->text();
            onStart = text.compare(text.rfind("menu entry ") + 11, 1, "0") == 0;
        }
        return onStart && tap("a", effect);
    }

    void TearDown() override {
        if (game && game->running()) {
            game->kill();
        }
    }

    void pad(const std::string& command) {
        std::ofstream out(commands, std::ios::app);
        out << command << '\n';
    }

    bool traced(const std::string& event, double seconds = 20) {
        return expectTraced(*trace, event, seconds);
    }

    // A press held until the game shows it took it: the test pad's events
    // are read at the game's pace, so a release sent at once could overtake
    // the press.
    bool tap(const std::string& button, const std::string& effect) {
        pad("press " + button);
        const bool taken = traced(effect);
        pad("release " + button);
        return taken;
    }

    // Pauses with Start, reads where the player stands from the trace, and
    // resumes with Start.
    bool pauseAndRead(Pose& pose) {
        if (!tap("start", "paused at")) {
            return false;
        }
        const std::string text = trace->text();
        const std::size_t at = text.rfind("paused at ");
        if (at == std::string::npos ||
            std::sscanf(text.c_str() + at, "paused at %lf %lf facing %lf %lf", &pose.x, &pose.z,
                        &pose.facingX, &pose.facingZ) != 4) {
            ADD_FAILURE() << "no pose in the trace:\n" << text;
            return false;
        }
        return tap("start", "state Playing");
    }

    // Holds a stick until the pose has changed as `changed` asks, pausing
    // to look every 0.3 s of holding it; false when it never did.
    bool holdUntil(const std::string& axis, int value, const Pose& from,
                   const std::function<bool(const Pose&, const Pose&)>& changed) {
        pad("axis " + axis + " " + std::to_string(value));
        Pose now;
        bool done = false;
        for (int i = 0; i < 40 && !done; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (!pauseAndRead(now)) {
                break;
            }
            done = changed(from, now);
        }
        pad("axis " + axis + " 0");
        return done;
    }

    e2e::ScratchGame scratch;
    std::string commands;
    std::string rumbles;
    std::unique_ptr<ChildProcess> game;
    std::unique_ptr<GameTrace> trace;
};

TEST_F(PadPlay, PadAlonePlaysFromTheMenuToTheHighScoreTable) {
    ASSERT_TRUE(startWithPad());
    ASSERT_TRUE(startGame());

    Pose start;
    ASSERT_TRUE(pauseAndRead(start));
    // The left stick pushed away walks forward; the right stick pushed
    // right turns.
    EXPECT_TRUE(holdUntil("lefty", -32767, start, walkedAUnit));
    Pose walked;
    ASSERT_TRUE(pauseAndRead(walked));
    EXPECT_TRUE(holdUntil("rightx", 32767, walked, turnedHalfARadian));

    // The right trigger swings the mace; the shoulder buttons switch to the
    // crossbow (which has no arrows yet) and back.
    pad("axis righttrigger 32767");
    EXPECT_TRUE(traced("mace swing"));
    pad("axis righttrigger 0");
    ASSERT_TRUE(tap("rightshoulder", "weapon crossbow ready"));
    ASSERT_TRUE(tap("leftshoulder", "weapon mace ready"));

    // Pulling the pad out pauses play; plugged in again, Start resumes.
    pad("detach");
    ASSERT_TRUE(traced("pad disconnected"));
    ASSERT_TRUE(traced("state Paused"));
    pad("attach");
    ASSERT_TRUE(traced("pad connected"));
    ASSERT_TRUE(tap("start", "state Playing"));

    // The ghosts end the game; their touches shake the pad.
    ASSERT_TRUE(traced("game over", 120));
    EXPECT_NE(readFile(rumbles).find("rumble "), std::string::npos) << "no rumble was asked for";

    // "BA": up once to B, add it; down once back to A, add it; Start enters.
    ASSERT_TRUE(tap("dpup", "name letter B"));
    ASSERT_TRUE(tap("a", "name \"B\""));
    ASSERT_TRUE(tap("dpdown", "name letter A"));
    ASSERT_TRUE(tap("a", "name \"BA\""));
    ASSERT_TRUE(tap("start", "high score entered"));
    ASSERT_TRUE(traced("state HighScores"));
    EXPECT_NE(readFile(scratch.file("save/data.dat")).find("BA"), std::string::npos);

    // B leaves the table for the main menu.
    ASSERT_TRUE(tap("b", "state MainMenu"));
}

// A map of the player's own, drawn in an image editor and saved as PNG,
// played with --map: the level is built from it and the player walks in it.
TEST_F(PadPlay, AMapOfThePlayersOwnIsPlayedWithTheMapOption) {
    const std::vector<std::string> room = {
        "#########", "#.......#", "#.yyyyy.#", "#.yyyyy.#", "#.yyyyy.#", "#.......#", "#########",
    };
    writeFile(scratch.file("room.png"), mapPng(room));
    ASSERT_TRUE(startWithPad({"--map", scratch.file("room.png")}));
    ASSERT_TRUE(startGame());
    Pose start;
    ASSERT_TRUE(pauseAndRead(start));
    // Every open cell of the room lies within 9 x 7 cells of 6 units.
    EXPECT_GT(start.x, 0.0);
    EXPECT_LT(start.x, 54.0);
    EXPECT_GT(start.z, 0.0);
    EXPECT_LT(start.z, 42.0);
    EXPECT_TRUE(holdUntil("rightx", 32767, start, turnedHalfARadian));
    Pose turned;
    ASSERT_TRUE(pauseAndRead(turned));
    // Forward, or back when the turn left the player facing a wall.
    EXPECT_TRUE(holdUntil("lefty", -32767, turned, walkedAUnit) ||
                holdUntil("lefty", 32767, turned, walkedAUnit));
}

// A refused map keeps the player at the choice; the chosen one is played,
// and the score made on it notes it.
TEST_F(PadPlay, TheMapChoicePlaysTheChosenMapAndTheTableNotesIt) {
    std::filesystem::create_directory(scratch.file("maps"));
    writeFile(scratch.file("maps/a walls.tga"), e2e::mapImage({"###", "###", "###"}));
    writeFile(scratch.file("maps/b hall.tga"), e2e::mapImage(HALL));
    ASSERT_TRUE(startWithPad());
    ASSERT_TRUE(pressStart("state MapChoice"));

    ASSERT_TRUE(tap("dpdown", "map entry 1"));
    ASSERT_TRUE(tap("a", "map refused"));
    ASSERT_TRUE(tap("dpdown", "map entry 2"));
    EXPECT_EQ(trace->text().find("state Loading"), std::string::npos);
    ASSERT_TRUE(tap("a", "map chosen: b hall.tga"));
    ASSERT_TRUE(traced("level built", 60));
    ASSERT_TRUE(traced("state Ready"));
    ASSERT_TRUE(tap("a", "state Playing"));

    ASSERT_TRUE(traced("game over", 120));
    ASSERT_TRUE(tap("a", "name \"A\""));
    ASSERT_TRUE(tap("start", "high score entered"));
    EXPECT_NE(readFile(scratch.file("save/data.dat")).find("maps\nb hall.tga\n"), std::string::npos)
        << readFile(scratch.file("save/data.dat"));
    EXPECT_NE(readFile(scratch.file("ErrorLog.txt")).find("a walls.tga: no open cell"),
              std::string::npos);
}

}  // namespace
