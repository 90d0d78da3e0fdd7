// Missing and broken game data in the real executable: every file under
// resources/ in turn is deleted, then cut to half its size, in a scratch copy
// of the game folder. The game is driven as far as the file is needed (the
// start, or Start on the main menu), and must name the file in a message,
// never end by a signal, leave the saves as they were and, when the file is
// one the level needs, stay on the main menu (its Quit button still ends the
// game normally).
//
// Each case is a test of its own on an X server of its own, so ctest runs
// several at once. Skipped in the sanitizer build, where the soak covers the
// same paths.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/e2e_scratch_game.h"
#include "soak/soak_display.h"
#include "support/child_process.h"
#include "support/game_trace.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using namespace e2e;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct Case {
    std::string relative;  // under resources/
    bool truncated;        // false: deleted
};

// Formats that still read when cut short (a shorter sound, fewer lines)
// need not complain about a half file.
bool mayReadWhenCut(const std::string& relative) {
    const std::string ending = lowerCase(fs::path(relative).extension().string());
    return ending == ".ogg" || ending == ".wav" || ending == ".lvl";
}

// A font without its metrics file is a fixed-width font: no complaint.
bool mayBeMissing(const std::string& relative) {
    return lowerCase(fs::path(relative).extension().string()) == ".txt";
}

// Files without which no level can be built. Without a sound, a skin or a
// font's metrics the level is built anyway and the game goes on to the ready
// screen; whenever a level is not built, the game is back on the main menu.
bool levelCannotBeBuilt(const Case& c) {
    const std::string lower = lowerCase(c.relative);
    const std::string ending = fs::path(lower).extension().string();
    if (lower.rfind("maps/", 0) == 0 || ending == ".qvr") {
        return true;
    }
    if (lower == "objects.lvl") {
        return !c.truncated;
    }
    for (const char* surface : {"box", "carpet", "ceiling", "ground", "wood"}) {
        if (lower == std::string("textures/") + surface + ".tga") {
            return true;
        }
    }
    return false;
}

bool mustComplain(const Case& c) {
    return c.truncated ? !mayReadWhenCut(c.relative) : !mayBeMissing(c.relative);
}

const char* const CONFIG = "1024\n768\n55\n3\n1\n0.001\n0\n";
const char* const SCORES =
    "8\n900\nAlice\n800\nBob\n700\nCarol\n600\nDan\n500\nEve\n400\nFay\n"
    "300\nGus\n200\nHal\n";

std::string defaultControls() {
    const int records[7][2] = {{0, 87}, {1, 83}, {2, 65}, {3, 68}, {7, 49}, {8, 50}, {9, 1}};
    std::string bytes;
    for (const auto& record : records) {
        for (int value : record) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    return bytes;
}

// The files under resources/, each deleted and each cut in half: one test
// case apiece, so ctest runs them side by side, each on an X server of its
// own, and names the one that fails.
std::vector<Case> allCases() {
    std::vector<Case> cases;
    const fs::path resources = fs::path(SPOOKHOLLOW_GAME_DIR) / "resources";
    std::error_code ignored;
    if (!fs::is_directory(resources, ignored)) {
        return cases;
    }
    for (const auto& entry : fs::recursive_directory_iterator(resources)) {
        if (entry.is_regular_file()) {
            const std::string relative = fs::relative(entry.path(), resources).string();
            cases.push_back({relative, false});
            cases.push_back({relative, true});
        }
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) {
        return a.relative != b.relative ? a.relative < b.relative : a.truncated < b.truncated;
    });
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name;
    for (char c : info.param.relative) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    return name + (info.param.truncated ? "_cut_in_half" : "_deleted");
}

class MissingData : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "covered by the soak in the sanitizer build";
#endif
        if (!display.ready() || std::system("command -v xdotool >/dev/null") != 0) {
            GTEST_SKIP() << "needs an X display and xdotool";
        }
    }

    // Replaces the case's file and writes known saves into a scratch game.
    void prepare(const Case& c) {
        const std::string original = std::string(SPOOKHOLLOW_GAME_DIR) + "/resources/" + c.relative;
        const std::string target = game.file("resources/" + c.relative);
        fs::remove(target);
        if (c.truncated) {
            std::string bytes = readAll(original);
            writeFile(target, bytes.substr(0, bytes.size() / 2));
        }
        for (const auto& save : saves) {
            writeFile(game.file(save[0]), save[1]);
        }
    }

    // A message or log line of the game names the file.
    bool named(const Case& c) const {
        const std::string name = lowerCase(fs::path(c.relative).filename().string());
        return lowerCase(process->standardError()).find(name) != std::string::npos ||
               lowerCase(readAll(game.file("ErrorLog.txt"))).find(name) != std::string::npos;
    }

    // Ends a game that is still running with a quit request, as the desktop
    // sends one; it must end by itself then.
    void quitIfRunning() {
        if (process->waitForExit(0.1)) {
            return;
        }
        ::kill(process->pid(), SIGTERM);
        if (!process->waitForExit(60)) {
            process->kill();
            process->waitForExit(10);
            ADD_FAILURE() << "did not end on a quit request";
        }
    }

    TestDisplay display;
    e2e::ScratchGame game;
    std::unique_ptr<ChildProcess> process;
    const std::string saves[3][2] = {{"save/config.ini", CONFIG},
                                     {"save/control.cfg", defaultControls()},
                                     {"save/data.dat", SCORES}};
};

// The game is driven as far as the file is needed: the start, or Start on
// the main menu. Every step waits on the game's trace, never on the clock,
// and nothing is tried twice.
TEST_P(MissingData, IsNamedAndNeverCrashesTheGame) {
    const Case& c = GetParam();
    prepare(c);
    process = startGameOn(display, game.path(), {"--no-intro", "--trace", "-"});
    GameTrace trace(*process);
    constexpr double DEADLINE = 120.0;  // generous: a loaded machine is slow, not stuck

    // A file the start needs ends the game before the main menu, named.
    if (!trace.waitFor("state MainMenu", DEADLINE)) {
        EXPECT_FALSE(process->running()) << "neither at the main menu nor ended\n" << trace.text();
    } else {
        display.click(START_X, START_Y);
        ASSERT_TRUE(trace.waitFor("state Loading", DEADLINE)) << trace.text();
        ASSERT_TRUE(trace.waitFor("level", DEADLINE)) << trace.text();
        if (trace.seen("level not built")) {
            // Back on the main menu, whose Quit still ends the game normally.
            ASSERT_TRUE(trace.waitFor("state MainMenu", DEADLINE)) << trace.text();
            display.click(QUIT_X, QUIT_Y);
            ASSERT_TRUE(process->waitForExit(DEADLINE)) << "Quit did not end the game\n"
                                                        << trace.text();
            EXPECT_EQ(process->exitCode(), 0) << trace.text();
        } else {
            EXPECT_FALSE(levelCannotBeBuilt(c)) << "a level was built without the file";
            ASSERT_TRUE(trace.waitFor("state Ready", DEADLINE)) << trace.text();
        }
    }
    quitIfRunning();

    const std::string errors = process->standardError();
    EXPECT_NE(process->exitCode(), -1) << "ended by a signal\n" << errors;
    EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error:"), std::string::npos) << errors;
    if (mustComplain(c)) {
        EXPECT_TRUE(named(c)) << "no message names the file\n" << errors;
    }
    for (const auto& save : saves) {
        EXPECT_EQ(readAll(game.file(save[0])), save[1]) << save[0] << " changed";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryResource, MissingData, ::testing::ValuesIn(allCases()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MissingData);

}  // namespace
