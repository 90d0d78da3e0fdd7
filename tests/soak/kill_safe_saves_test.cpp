// The three save files against a process killed while it writes them: a
// child saves in a loop through the game's own code, alternating two
// versions, and is killed with SIGKILL at a random moment. Whatever the
// moment, the file must be one the game wrote whole: the settings and the
// bindings one of their two versions, the high score table (which grows with
// every entry) a table of eight entries that reads back to the same bytes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/error_reporter.h"
#include "game/high_scores.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "input/settings_file.h"
#include "support/temp_dir.h"

namespace {

std::string contentsOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// How a save file is written by the game's own code, in two versions.
struct SaveFile {
    const char* name;
    std::function<void(const std::string& path, int version)> save;
    // For files whose new contents depend on the old: whether contents are
    // a whole file. Null: contents must be one of the two versions.
    std::function<bool(const std::string& path, const std::string& contents)> whole;
};

void saveSettingsVersion(const std::string& path, int version) {
    GameSettings settings(path.c_str());
    settings.loadControls((path + ".controls").c_str());
    settings.viewDistance = version == 1 ? 100.0f : 250.0f;
    settings.textureQuality = version == 1 ? 1 : 4;
    settings.settingsChanged = true;
    settings.saveSettings();
}

void saveControlsVersion(const std::string& path, int version) {
    ControlTable table;
    table.load(path.c_str());
    table.setControl(ControlTable::MOVE_FORWARD, version == 1 ? 38 : 87);
    table.setControl(ControlTable::ATTACK, version == 1 ? 2 : 1);
    table.save();
}

void saveScoresVersion(const std::string& path, int version) {
    HighScoreTable table(path);
    table.loadHighScores();
    table.saveHighScores(true, version == 1 ? 1000 : 2000, version == 1 ? "First" : "Second");
}

// A whole table: eight entries that the game writes back to the same bytes.
bool wholeScoreTable(const std::string& path, const std::string& contents) {
    HighScoreTable table(path);
    table.loadHighScores();
    return table.entries().size() == HighScoreTable::DEFAULT_ENTRIES &&
           HighScoreTable::format(table.entries()) == contents;
}

const SaveFile SAVE_FILES[] = {
    {"config.ini", saveSettingsVersion, nullptr},
    {"control.cfg", saveControlsVersion, nullptr},
    {"data.dat", saveScoresVersion, wholeScoreTable},
};

// Writes the file once per version in a scratch folder and returns each
// version's bytes: the only contents a killed save may leave.
std::vector<std::string> versionsOf(const SaveFile& file, const std::string& folder) {
    std::vector<std::string> versions;
    for (int version : {1, 2}) {
        std::string path = folder + "/" + file.name;
        std::remove(path.c_str());
        file.save(path, version);
        versions.push_back(contentsOf(path));
    }
    return versions;
}

class KillSafeSaves : public ::testing::TestWithParam<SaveFile> {
protected:
    TempDir dir;
    ErrorReporter reporter{nullptr, false};
};

TEST_P(KillSafeSaves, EveryKillLeavesTheOldFileOrANewOneWhole) {
    const SaveFile& file = GetParam();
    const std::vector<std::string> versions = versionsOf(file, dir.file("reference"));
    ASSERT_FALSE(versions[0].empty());
    ASSERT_NE(versions[0], versions[1]);

    const std::string path = dir.file(file.name);
    std::mt19937 random(20261209);
    constexpr int RUNS = 60;
    int caughtWriting = 0;
    for (int run = 0; run < RUNS; ++run) {
        // The old file: version 1 or 2, whole.
        {
            std::ofstream old(path, std::ios::binary | std::ios::trunc);
            old << versions[run % 2];
        }
        // The child says when its first save is done, so the kill's moment
        // is counted from a child that is saving, however slowly it started
        // (the sanitizers make a fork and a first save take milliseconds).
        int saving[2];
        ASSERT_EQ(::pipe(saving), 0);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(saving[0]);
            for (int version = 1;; version = 3 - version) {
                file.save(path, version);
                if (saving[1] >= 0) {
                    (void)!::write(saving[1], "s", 1);
                    ::close(saving[1]);
                    saving[1] = -1;
                }
            }
        }
        ::close(saving[1]);
        char started = 0;
        ASSERT_EQ(::read(saving[0], &started, 1), 1);
        ::close(saving[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string left = contentsOf(path);
        const bool whole =
            file.whole ? file.whole(path, left) : left == versions[0] || left == versions[1];
        EXPECT_TRUE(whole) << file.name << " run " << run << ": " << left.size() << " bytes:\n"
                           << left;
        std::ifstream temporary(path + ".tmp");
        caughtWriting += temporary.good() ? 1 : 0;
    }
    // The kills must have landed while files were being written, or the
    // test proves nothing.
    EXPECT_GT(caughtWriting, 0) << "no kill interrupted a write of " << file.name;
}

INSTANTIATE_TEST_SUITE_P(SaveFiles, KillSafeSaves, ::testing::ValuesIn(SAVE_FILES),
                         [](const ::testing::TestParamInfo<SaveFile>& param) {
                             std::string name = param.param.name;
                             for (char& c : name) {
                                 c = c == '.' ? '_' : c;
                             }
                             return name;
                         });

}  // namespace
