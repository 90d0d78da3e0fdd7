#include "game/high_scores.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "support/temp_dir.h"

namespace {

class HighScoresTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    int refreshes = 0;

    HighScoreTable table() {
        HighScoreTable t;
        t.setRefreshHook([this](const std::vector<HighScoreEntry>&) { ++refreshes; });
        return t;
    }
    std::string scores(std::initializer_list<std::pair<int, const char*>> entries) {
        std::string text = std::to_string(entries.size()) + "\n";
        for (const auto& e : entries) {
            text += std::to_string(e.first) + "\n" + e.second + "\n";
        }
        return text;
    }
};

TEST_F(HighScoresTest, MissingFileIsCreatedWithTheDefaultTable) {
    HighScoreTable t = table();
    t.loadHighScores();  // no save/ folder yet
    std::string expected = "8\n";
    for (int i = 0; i < 8; ++i) {
        expected += "0\n<none>\n";
    }
    EXPECT_EQ(readFile("save/data.dat"), expected);
    EXPECT_EQ(t.entries().size(), 8u);
    EXPECT_TRUE(t.isHighScore(0));
    EXPECT_EQ(refreshes, 1);
}

TEST_F(HighScoresTest, EqualScoreGoesAboveAndTheLastDropsOut) {
    ::mkdir("save", 0755);
    writeFile("save/data.dat", scores({{500, "ann"}, {300, "bob"}, {100, "cy"}}));
    HighScoreTable t = table();
    t.loadHighScores();
    ASSERT_TRUE(t.isHighScore(100));
    t.saveHighScores(true, 300, "dee");
    EXPECT_EQ(readFile("save/data.dat"), scores({{500, "ann"}, {300, "dee"}, {300, "bob"}}));
    EXPECT_EQ(refreshes, 2);

    t.saveHighScores(true, 300, "eve");
    EXPECT_EQ(t.entries()[1].name, "eve");
    EXPECT_EQ(t.entries().size(), 3u);
}

TEST_F(HighScoresTest, LowScoreIsNotEntered) {
    ::mkdir("save", 0755);
    std::string before = scores({{500, "ann"}, {300, "bob"}});
    writeFile("save/data.dat", before);
    HighScoreTable t = table();
    t.loadHighScores();
    EXPECT_FALSE(t.isHighScore(299));
    t.saveHighScores(true, 299, "zed");
    EXPECT_EQ(readFile("save/data.dat"), before);
}

TEST_F(HighScoresTest, HostileFilesYieldWhatIsThere) {
    ::mkdir("save", 0755);
    struct Case {
        const char* text;
        std::vector<int> scores;
    } cases[] = {
        {"2000000000\n5\na\n4\nb\n", {5, 4}},
        {"99999999999999999999\n5\na\n", {}},
        {"-3\n5\na\n", {}},
        {"3\n7\nx\n6\n", {7}},
        {"", {}},
        {"2\nseven\nx\n6\ny\n", {}},
    };
    for (const Case& c : cases) {
        writeFile("save/data.dat", c.text);
        HighScoreTable t = table();
        t.loadHighScores();
        std::vector<int> got;
        for (const auto& e : t.entries()) {
            got.push_back(e.score);
        }
        EXPECT_EQ(got, c.scores) << c.text;
    }
}

// Older games read the entries and stop; the maps follow them.
TEST_F(HighScoresTest, EachEntryNotesItsMapAfterTheEntriesAnOlderGameReads) {
    ::mkdir("save", 0755);
    writeFile("save/data.dat", scores({{500, "ann"}, {300, "bob"}, {100, "cy"}}));
    HighScoreTable t = table();
    t.loadHighScores();
    t.saveHighScores(true, 400, "dee", "my room.png");
    const std::string entries = scores({{500, "ann"}, {400, "dee"}, {300, "bob"}});
    EXPECT_EQ(readFile("save/data.dat"), entries + "maps\n\nmy room.png\n\n");

    HighScoreTable again = table();
    again.loadHighScores();
    ASSERT_EQ(again.entries().size(), 3u);
    EXPECT_EQ(again.entries()[1].map, "my room.png");
    EXPECT_EQ(again.entries()[2].map, "");
    again.saveHighScores(true, 600, "eve", "Castle");
    EXPECT_EQ(readFile("save/data.dat"),
              scores({{600, "eve"}, {500, "ann"}, {400, "dee"}}) + "maps\nCastle\n\nmy room.png\n");
}

TEST_F(HighScoresTest, HostileMapLinesAreCutOrIgnored) {
    ::mkdir("save", 0755);
    const std::string two = scores({{5, "a"}, {4, "b"}});
    const std::string long_(60, 'm');
    struct Case {
        std::string text;
        std::vector<std::string> maps;
    } cases[] = {
        {two + "maps\nx.png\r\n", {"x.png", ""}},  // one label short, CRLF
        {two + "mops\nx.png\ny.png\n", {"", ""}},  // not the maps line
        {two + "maps\n" + long_ + "\nt\x01\xff.tga\n", {long_.substr(0, 40), "t??.tga"}},
        {"3\n5\na\n4\nb\nmaps\nx\ny\n", {"", ""}},  // fewer entries than counted
    };
    for (const Case& c : cases) {
        writeFile("save/data.dat", c.text);
        HighScoreTable t = table();
        t.loadHighScores();
        std::vector<std::string> got;
        for (const auto& e : t.entries()) {
            got.push_back(e.map);
        }
        EXPECT_EQ(got, c.maps) << c.text;
    }
}

TEST_F(HighScoresTest, LongNamesAreCut) {
    ::mkdir("save", 0755);
    writeFile("save/data.dat", scores({{10, "abcdefghijklmnopqrstuvwxyz"}}));
    HighScoreTable t = table();
    t.loadHighScores();
    ASSERT_EQ(t.entries().size(), 1u);
    EXPECT_EQ(t.entries()[0].name, "abcdefghijklmnop");
    t.saveHighScores(true, 20, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(t.entries()[0].name, "ABCDEFGHIJKLMNOP");
}

TEST_F(HighScoresTest, FailedWriteLeavesTheOldTable) {
    ::mkdir("save", 0755);
    std::string before = scores({{500, "ann"}, {300, "bob"}});
    writeFile("save/data.dat", before);
    HighScoreTable t = table();
    t.loadHighScores();
    ASSERT_EQ(::mkdir("save/data.dat.tmp", 0755), 0);
    t.saveHighScores(true, 400, "cat");
    EXPECT_EQ(readFile("save/data.dat"), before);
    EXPECT_EQ(t.entries()[1].name, "cat");
}

// A table that cannot be written still plays on (no box), but the reason
// is in the error log for the player who wonders where the scores went.
TEST_F(HighScoresTest, UnwritableTableLogsWhy) {
    writeFile("save", "a file where the save folder should be");
    ErrorReporter reporter("ErrorLog", true);
    HighScoreTable t = table();
    t.loadHighScores();
    t.saveHighScores(true, 900, "zed");
    EXPECT_EQ(t.entries().front().name, "zed");
    std::string log = readFile("ErrorLog.txt");
    std::string line = "Can not save save/data.dat: can not create the folder save";
    std::size_t first = log.find(line);
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_NE(log.find(line, first + 1), std::string::npos)
        << log;  // the load's write, then the save's
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
    EXPECT_EQ(refreshes, 2);
}

}  // namespace
