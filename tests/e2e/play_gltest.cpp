// A whole game in the real executable, driven only by real X input: the
// intro, the main menu, a game on a small hall where the ghosts come
// quickly, walking, looking, both weapons, the pause menu, dying, a name in
// the high-score table, and quitting. Every step is checked where a player
// would notice it: in the window's pixels, in the recording of what OpenAL
// Soft played, in save/data.dat.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/e2e_input.h"
#include "e2e/e2e_scratch_game.h"
#include "e2e/e2e_screen.h"
#include "e2e/e2e_sound.h"
#include "support/x11_helpers.h"

namespace {

// Sanitizer builds run the game several times slower; waits stretch with it.
#if defined(__SANITIZE_ADDRESS__)
constexpr double SLOWDOWN = 4.0;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr double SLOWDOWN = 4.0;
#else
constexpr double SLOWDOWN = 1.0;
#endif
#else
constexpr double SLOWDOWN = 1.0;
#endif

// An open wood-floored hall, seven cells square, inside a closed wall. The
// ghosts enter from the edges of the map and cross it within seconds.
const std::vector<std::string> HALL = {
    "#########", "#yyyyyyy#", "#yyyyyyy#", "#yyyyyyy#", "#yyyyyyy#",
    "#yyyyyyy#", "#yyyyyyy#", "#yyyyyyy#", "#########",
};

// The part of the window where only the 3D view is drawn: below the score
// panel, left of the radar, above the crosshair and the weapon.
const e2e::Rect VIEW = {300, 110, 480, 260};
// Where the game-over screen prints the name being typed (centred on x 512,
// standing on y 525 from the bottom), clear of the pulsing prompts above it.
const e2e::Rect TYPED_NAME = {372, 208, 280, 45};

std::string artifactsFolder() {
    std::string folder = std::string(SPOOKHOLLOW_GAME_DIR) + "/../tests/e2e_artifacts";
    std::filesystem::create_directories(folder);
    return folder;
}

class PlayThrough : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !e2e::xdotoolAvailable()) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
        if (!scratch.hasResources()) {
            GTEST_SKIP() << "the build made no resources";
        }
        ASSERT_TRUE(e2e::loadTga(e2e::resourcePath("textures/GUI.tga"), gui));
        ASSERT_TRUE(e2e::loadTga(e2e::resourcePath("textures/instructions.tga"), instructions));
        ASSERT_TRUE(e2e::loadTga(e2e::resourcePath("fonts/LargeNumbers.tga"), largeNumbers));
        artifacts = artifactsFolder();
    }

    void TearDown() override {
        if (game && game->running()) {
            game->kill();
        }
    }

    // The pictures that tell the screens apart, where the game draws them.
    e2e::GuiPicture startButton() const { return {&gui, 0, 75, 98, 38, 268, 323}; }
    e2e::GuiPicture highScoresButton() const { return {&gui, 0, 113, 244, 39, 268, 262}; }
    e2e::GuiPicture highScoresHeading() const { return {&gui, 0, 709, 402, 101, 202, 430}; }
    e2e::GuiPicture resumeButton() const { return {&gui, 0, 261, 319, 35, 258, 381}; }
    e2e::GuiPicture instructionsPicture() const {
        return {&instructions, 9, 676, 1006, 671, -104, -22};
    }
    e2e::GuiPicture gameOverPicture() const {
        return {&instructions, 0, 1023, 1024, 307, -111, 284};
    }
    e2e::GuiPicture healthPanel() const { return {&largeNumbers, 2, 509, 173, 60, -100, -75}; }
    e2e::GuiPicture crosshair() const { return {&largeNumbers, 215, 511, 36, 35, 370, 264}; }

    bool shows(const e2e::GuiPicture& picture, double share = 0.8) const {
        return e2e::pictureMatch(shot, picture) >= share;
    }

    bool capture() { return x11::capture(window, shot); }

    // Captures the window until the test holds; false when the game ended or
    // time ran out (the last shot is then kept for a look).
    bool waitFor(const std::string& what, double seconds, const std::function<bool()>& test) {
        auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<int>(seconds * SLOWDOWN * 1000));
        while (std::chrono::steady_clock::now() < deadline) {
            if (!game->running()) {
                ADD_FAILURE() << "the game ended while waiting for " << what << "\n"
                              << game->standardError();
                return false;
            }
            if (capture() && test()) {
                return true;
            }
            e2e::sleepMs(150);
        }
        keep("failed_" + what);
        ADD_FAILURE() << "timed out waiting for " << what;
        return false;
    }

    void keep(const std::string& name) {
        std::string file = name;
        for (char& c : file) {
            c = (c == ' ') ? '_' : c;
        }
        e2e::saveShot(shot, artifacts + "/play_" + file);
    }

    e2e::ScratchGame scratch;
    e2e::Picture gui;
    e2e::Picture instructions;
    e2e::Picture largeNumbers;
    std::string artifacts;
    std::unique_ptr<ChildProcess> game;
    unsigned long window = 0;
    x11::Geometry where;
    x11::Image shot;
};

TEST_F(PlayThrough, FromIntroToHighScoreTableAndQuit) {
    scratch.replaceResource("maps/castle.map", e2e::mapImage(HALL));
    const std::string wav = scratch.file("sound.wav");
    game = scratch.startRecordingSound(wav);
    window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    ASSERT_NE(window, 0u) << game->standardError();
    ASSERT_TRUE(x11::geometry(window, where));
    ASSERT_EQ(where.width, e2e::WINDOW_WIDTH);
    ASSERT_EQ(where.height, e2e::WINDOW_HEIGHT);
    // The keyboard follows the pointer; it stays over the window throughout.
    ASSERT_TRUE(e2e::pointAtWindow(where, 512, 600));

    // Intro: Space counts only after 5 seconds; keep offering it.
    e2e::sleepMs(5300);
    ASSERT_TRUE(waitFor("main menu", 20, [&] {
        if (shows(startButton())) {
            return true;
        }
        e2e::holdKey("space", 200);
        return false;
    }));
    keep("01_main_menu");

    // The high-score table as it stands before the game, for comparison.
    ASSERT_TRUE(e2e::clickDesign(where, 390, 281));
    ASSERT_TRUE(waitFor("high scores before", 10, [&] { return shows(highScoresHeading()); }));
    const e2e::Rect table = e2e::designRect(241, 156, 324, 307);
    ASSERT_TRUE(e2e::pointAtDesign(where, 100, 560));  // off the list
    e2e::sleepMs(400);
    ASSERT_TRUE(capture());
    const x11::Image tableBefore = shot;
    ASSERT_TRUE(e2e::holdKey("Escape"));
    ASSERT_TRUE(waitFor("main menu again", 10, [&] { return shows(startButton()); }));

    // Start: loading, then the ready screen, whose prompt pulses.
    ASSERT_TRUE(e2e::clickDesign(where, 317, 342));
    ASSERT_TRUE(waitFor("loading", 20, [&] { return shows(instructionsPicture(), 0.7); }));
    const e2e::Rect prompt = {300, 700, 450, 50};
    x11::Image firstInstructions = shot;
    ASSERT_TRUE(waitFor("ready", 60, [&] {
        return shows(instructionsPicture(), 0.7) &&
               e2e::meanDifference(shot, firstInstructions, prompt) > 1.0;
    }));
    keep("02_ready");
    ASSERT_TRUE(e2e::holdButton(1, 150));
    ASSERT_TRUE(waitFor("play", 10, [&] { return shows(healthPanel(), 0.6); }));
    const double playStarted = scratch.secondsSinceStart();
    e2e::sleepMs(500);

    // Walking forward changes the view (the start faces an open cell).
    ASSERT_TRUE(capture());
    keep("03_before_walk");
    x11::Image beforeWalk = shot;
    ASSERT_TRUE(e2e::holdKey("w", 600));
    e2e::sleepMs(300);
    ASSERT_TRUE(capture());
    keep("04_after_walk");
    double walked = e2e::meanDifference(beforeWalk, shot, VIEW);
    EXPECT_GT(walked, 4.0) << "walking did not change the view";

    // Looking with the mouse turns the view: the play frame keeps the
    // pointer in the middle, so a relative move is a look offset.
    x11::Image beforeLook = shot;
    ASSERT_TRUE(e2e::xdotool("mousemove_relative -- 200 0"));
    e2e::sleepMs(400);
    ASSERT_TRUE(capture());
    keep("05_after_look");
    double turned = e2e::meanDifference(beforeLook, shot, VIEW);
    EXPECT_GT(turned, 4.0) << "moving the mouse did not turn the view";

    // The wheel raises the crossbow, and the crosshair with it; again lowers it.
    EXPECT_LT(e2e::pictureMatch(shot, crosshair()), 0.5) << "a crosshair with the mace in hand";
    ASSERT_TRUE(e2e::wheel(true));
    ASSERT_TRUE(waitFor("crosshair", 5, [&] { return shows(crosshair()); }));
    e2e::sleepMs(600);
    ASSERT_TRUE(capture());
    keep("06_crossbow");
    ASSERT_TRUE(e2e::wheel(true));
    ASSERT_TRUE(waitFor("crosshair gone", 5, [&] { return !shows(crosshair(), 0.5); }));
    e2e::sleepMs(700);  // the mace comes back up

    // A swing of the mace: its sound is looked for in the recording later.
    const double swing = scratch.secondsSinceStart();
    ASSERT_TRUE(e2e::holdButton(1, 300));
    e2e::sleepMs(800);

    // Escape pauses; Enter takes the highlighted resume entry.
    ASSERT_TRUE(e2e::holdKey("Escape", 150));
    ASSERT_TRUE(waitFor("pause menu", 10, [&] { return shows(resumeButton()); }));
    keep("07_paused");
    ASSERT_TRUE(e2e::holdKey("Return", 300));
    ASSERT_TRUE(waitFor("resumed play", 10,
                        [&] { return shows(healthPanel(), 0.6) && !shows(resumeButton(), 0.5); }));

    // Standing still in the hall, the ghosts come and the game ends.
    ASSERT_TRUE(waitFor("game over", 120, [&] { return shows(gameOverPicture(), 0.7); }));
    const double died = scratch.secondsSinceStart();
    e2e::sleepMs(500);
    ASSERT_TRUE(capture());
    keep("08_game_over");
    x11::Image beforeName = shot;

    // Every score enters the default table: type a name.
    ASSERT_TRUE(e2e::xdotool("type --delay 120 Tester"));
    e2e::sleepMs(500);
    ASSERT_TRUE(capture());
    keep("09_name_typed");
    EXPECT_GT(e2e::meanDifference(beforeName, shot, TYPED_NAME), 2.0)
        << "the typed name is not shown";

    // Enter files the name and shows the table with the new first row.
    ASSERT_TRUE(e2e::holdKey("Return", 150));
    ASSERT_TRUE(waitFor("high scores after", 10, [&] { return shows(highScoresHeading()); }));
    ASSERT_TRUE(e2e::pointAtDesign(where, 100, 560));
    e2e::sleepMs(400);
    ASSERT_TRUE(capture());
    keep("10_high_scores");
    const e2e::Rect firstRows = {table.x, table.y, table.width, table.height / 3};
    const e2e::Rect lastRows = {table.x, table.y + table.height / 2, table.width, table.height / 2};
    double topChange = e2e::meanDifference(tableBefore, shot, firstRows);
    double bottomChange = e2e::meanDifference(tableBefore, shot, lastRows);
    EXPECT_GT(topChange, 1.0) << "the table's first rows look as before the game";
    EXPECT_LT(bottomChange, topChange / 4) << "the lower rows changed, not the first";

    std::istringstream saved(readFile(scratch.file("save/data.dat")));
    int entries = 0, score = -1;
    std::string name;
    saved >> entries >> score >> name;
    EXPECT_EQ(entries, 8);
    EXPECT_GE(score, 0);
    EXPECT_EQ(name, "Tester") << readFile(scratch.file("save/data.dat"));

    // Escape goes back to the main menu, whose quit button ends the game.
    ASSERT_TRUE(e2e::holdKey("Escape"));
    ASSERT_TRUE(waitFor("main menu at the end", 10, [&] { return shows(startButton()); }));
    ASSERT_TRUE(e2e::clickDesign(where, 317, 118));
    ASSERT_TRUE(game->waitForExit(20 * SLOWDOWN)) << "the quit button did not end the game";
    EXPECT_EQ(game->exitCode(), 0) << game->standardError();

    // The swing's sound stands out of the music just after the click, and
    // nothing like it plays while walking and looking before it.
    e2e::Sound recording, miss;
    ASSERT_TRUE(e2e::readWav(wav, recording)) << wav;
    ASSERT_TRUE(e2e::readWav(e2e::resourcePath("audio/miss.wav"), miss));
    double heardAt = 0.0;
    double heard = e2e::effectPeak(recording, miss, swing - 1.5, swing + 2.5, &heardAt);
    double baseline = e2e::effectPeak(recording, miss, playStarted - 1.0, swing - 2.5);
    EXPECT_GT(heard, 0.25) << "the swing sound is not in the recording (baseline " << baseline
                           << ")";
    EXPECT_GT(heard, 3 * baseline) << "the swing sound does not stand out of the baseline";
    std::printf(
        "[ play ] swing heard %.3f at %.2f s (clicked at %.2f s), baseline %.3f; "
        "walk %.1f, turn %.1f; died %.1f s after play began; table change %.2f / %.2f\n",
        heard, heardAt, swing, baseline, walked, turned, died - playStarted, topChange,
        bottomChange);

    std::string log = readFile(scratch.file("ErrorLog.txt"));
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_EQ(log.find("Can not"), std::string::npos) << log;
    EXPECT_EQ(log.find("Could not"), std::string::npos) << log;
}

}  // namespace
