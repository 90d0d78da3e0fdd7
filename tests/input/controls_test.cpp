#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "app/error_reporter.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "input/key_names.h"
#include "support/temp_dir.h"

namespace {

std::string records(std::initializer_list<std::pair<int, int>> pairs) {
    std::string bytes;
    auto put = [&bytes](int value) {
        auto raw = static_cast<unsigned>(value);
        for (int shift = 0; shift < 32; shift += 8) {
            bytes.push_back(static_cast<char>((raw >> shift) & 0xFFu));
        }
    };
    for (const auto& record : pairs) {
        put(record.first);
        put(record.second);
    }
    return bytes;
}

const std::string DEFAULT_FILE =
    records({{0, 87}, {1, 83}, {2, 65}, {3, 68}, {7, 49}, {8, 50}, {9, 1}});

class ControlsTest : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("control.cfg");
};

TEST_F(ControlsTest, MissingFileGivesDefaultsAndSavesTheFiftySixBytes) {
    ControlTable table;
    ASSERT_TRUE(table.load(path.c_str()));
    ASSERT_EQ(table.count(), 7);
    const char* labels[] = {"   Move Forward", "   Move Back",    "   Strafe Left",
                            "   Strafe Right", "   Melee Weapon", "   Ranged Weapon",
                            "   Attack"};
    const char* names[] = {"W", "S", "A", "D", "1", "2", "[L Mouse]"};
    const int ids[] = {0, 1, 2, 3, 7, 8, 9};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(table.actionIdAt(row), ids[row]);
        EXPECT_EQ(table.labelAt(row), labels[row]);
        EXPECT_EQ(table.keyNameAt(row), names[row]);
    }
    EXPECT_EQ(table.actionIdAt(7), -1);
    EXPECT_EQ(table.labelAt(-1), "");
    EXPECT_EQ(table.keyNameAt(7), "");

    table.save();
    std::string written = readFile(path);
    EXPECT_EQ(written.size(), 56u);
    EXPECT_EQ(written, DEFAULT_FILE);
}

TEST_F(ControlsTest, NullNameFailsKeepsDefaultsAndSavesNothing) {
    ControlTable table;
    EXPECT_FALSE(table.load(nullptr));
    EXPECT_EQ(table.count(), 7);
    EXPECT_TRUE(table.save());  // no name kept: nothing to do
}

TEST_F(ControlsTest, SingleRecordRebindsAndUnbindsTheOldHolder) {
    writeFile(path, records({{0, 68}}));
    ControlTable table;
    ASSERT_TRUE(table.load(path.c_str()));
    EXPECT_EQ(table.boundKey(0), 68);
    EXPECT_EQ(table.boundKey(3), 0);
    EXPECT_EQ(table.keyNameAt(3), "[none]");
    EXPECT_EQ(table.boundKey(1), 83);
}

TEST_F(ControlsTest, PartialRecordsUnknownIdsAndHostileCodes) {
    // (1, 69), an unknown id 5, a code far outside the key array, a negative
    // code, then a trailing half record that must be ignored.
    std::string bytes =
        records({{1, 69}, {5, 70}, {2, 100000}, {8, -7}}) + records({{3, 0}}).substr(0, 4);
    writeFile(path, bytes);
    ControlTable table;
    ASSERT_TRUE(table.load(path.c_str()));
    EXPECT_EQ(table.count(), 7);
    EXPECT_EQ(table.boundKey(5), -1);
    EXPECT_EQ(table.boundKey(1), 69);
    EXPECT_EQ(table.boundKey(2), 0);
    EXPECT_EQ(table.boundKey(8), 0);
    EXPECT_EQ(table.boundKey(3), 68);

    // A partial key field after a whole id is ignored too.
    writeFile(path, records({{0, 83}}) + records({{7, 0}}).substr(0, 6));
    ControlTable second;
    ASSERT_TRUE(second.load(path.c_str()));
    EXPECT_EQ(second.boundKey(0), 83);
    EXPECT_EQ(second.boundKey(1), 0);
    EXPECT_EQ(second.boundKey(7), 49);
}

TEST_F(ControlsTest, HostileCodesNeverReachTheKeyArray) {
    writeFile(path, records({{9, 256}, {0, -1}}));
    GameSettings settings(nullptr);
    ASSERT_TRUE(settings.loadControls(path.c_str()));
    settings.keyDown[0] = 1;  // an unknown key reached entry 0
    EXPECT_FALSE(settings.isActionActive(9, false));
    EXPECT_FALSE(settings.isActionActive(0, false));
    EXPECT_FALSE(settings.isActionActive(4, false));
}

TEST_F(ControlsTest, SetControlKeepsEachKeyOnOneAction) {
    ControlTable table;
    table.load(nullptr);
    table.setControl(9, 87);
    EXPECT_EQ(table.boundKey(9), 87);
    EXPECT_EQ(table.boundKey(0), 0);
    table.setControl(9, 0);
    EXPECT_EQ(table.boundKey(9), 0);
    EXPECT_EQ(table.boundKey(0), 0);
    table.setControl(6, 50);  // unknown action: nothing changes
    EXPECT_EQ(table.boundKey(8), 50);
}

TEST_F(ControlsTest, SaveIsAtomicAndKeepsTheOldFileOnFailure) {
    writeFile(path, records({{0, 68}}));
    ControlTable table;
    table.load(path.c_str());
    // A directory where the temporary file must go makes the write fail.
    ASSERT_EQ(::mkdir((path + ".tmp").c_str(), 0755), 0);
    ErrorReporter reporter(dir.file("ErrorLog.txt").c_str(), true);
    EXPECT_FALSE(table.save());
    EXPECT_EQ(readFile(path), records({{0, 68}}));
    EXPECT_NE(readFile(dir.file("ErrorLog.txt")).find("Can not save " + path + ": can not create"),
              std::string::npos);
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
}

TEST(KeyNames, EveryRowOfTheTable) {
    struct Case {
        int code;
        const char* name;
    } cases[] = {
        {1, "[L Mouse]"},
        {2, "[R Mouse]"},
        {4, "[M Mouse]"},
        {8, "[Backspace]"},
        {9, "[Tab]"},
        {13, "[Enter]"},
        {16, "[Shift]"},
        {17, "[L Control]"},
        {18, "[L Alt]"},
        {19, "[Pause]"},
        {20, "[Caps Lock]"},
        {32, "[Space]"},
        {33, "[Page Up]"},
        {34, "[Page Down]"},
        {35, "[End]"},
        {36, "[Home]"},
        {37, "[Left]"},
        {38, "[Up]"},
        {39, "[Right]"},
        {40, "[Down]"},
        {44, "[Print Screen]"},
        {45, "[Insert]"},
        {46, "[Delete]"},
        {48, "0"},
        {57, "9"},
        {65, "A"},
        {90, "Z"},
        {96, "[Num0]"},
        {101, "[Num5]"},
        {105, "[Num9]"},
        {106, "[Num *]"},
        {107, "[Num +]"},
        {108, "[Num Enter]"},
        {109, "[Num -]"},
        {110, "[Num .]"},
        {111, "[Num /]"},
        {112, "[F1]"},
        {122, "[F11]"},
        {123, "[F12]"},
        {144, "[Num Lock]"},
        {145, "[Scroll Lock]"},
        {163, "[R Control]"},
        {165, "[R Alt]"},
        {186, ";"},
        {187, "="},
        {188, ","},
        {189, "-"},
        {190, "."},
        {191, "/"},
        {192, "~"},
        {219, "["},
        {220, "\\"},
        {221, "]"},
        {222, "'"},
        // No name: Escape, the Windows keys, unlisted codes and out-of-range ones.
        {0, "[none]"},
        {27, "[none]"},
        {91, "[none]"},
        {92, "[none]"},
        {47, "[none]"},
        {58, "[none]"},
        {64, "[none]"},
        {124, "[none]"},
        {162, "[none]"},
        {164, "[none]"},
        {223, "[none]"},
        {255, "[none]"},
        {-5, "[none]"},
        {1000, "[none]"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keyName(c.code), c.name) << c.code;
    }
}

}  // namespace
