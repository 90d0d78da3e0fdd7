// The map check on small map images written as TGA and PNG files: what it
// counts, what it refuses and where it says each problem lies.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/map_check.h"
#include "support/map_images.h"
#include "support/temp_dir.h"

namespace {

const std::vector<std::string> ROOM = {
    "#######", "#..yy.#", "#.#mm.#", "#.....#", "#######",
};

struct Case {
    const char* name;
    std::function<std::string()> bytes;
    // An empty refusal means the map can be played.
    std::string refusal;
    int openCells;
    int halls;
    int unreachable;
    // Every problem's position, x from the left and y from the top.
    std::vector<std::pair<int, int>> problemsAt;
};

TEST(MapCheck, SmallMapsInBothFormats) {
    const std::vector<std::string> pocket = {
        "######",
        "#..#.#",
        "######",
    };
    const std::vector<std::string> highFloorBesideLowWall = {
        "#####",
        "#.g.#",
        "#####",
    };
    const Case cases[] = {
        {"room.tga", [] { return mapTga(ROOM); }, "", 14, 1, 0, {}},
        {"room.png", [] { return mapPng(ROOM); }, "", 14, 1, 0, {}},
        {"empty.png",
         [] {
             return mapPng({"###", "###", "###"});
         },
         "empty.png: no open cell: the map must have at least one floor cell.",
         0,
         0,
         0,
         {}},
        {"edge.tga",
         [] {
             return mapTga({"####", "#..#", "#.##", "#.##"});
         },
         "edge.tga: open cell on the edge at (1, 3): every cell on the map's edge must be a wall "
         "(black).",
         4,
         0,
         0,
         {{1, 3}}},
        {"tiny.png",
         [] {
             return mapPng({"#.", "##"});
         },
         "tiny.png: too small: the map is 2 x 2 pixels, and needs at least 3 x 3 to hold a floor "
         "cell with walls round it.",
         0,
         0,
         0,
         {}},
        {"pocket.png", [pocket] { return mapPng(pocket); }, "", 3, 0, 1, {{4, 1}}},
        {"gap.tga",
         [highFloorBesideLowWall] { return mapTga(highFloorBesideLowWall); },
         "",
         3,
         1,
         0,
         {{2, 1}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        writeFile(path, c.bytes());
        const MapReport report = checkMapFile(path);
        EXPECT_EQ(report.refusal, c.refusal.empty() ? "" : dir.path() + "/" + c.refusal);
        EXPECT_EQ(report.openCells, c.openCells);
        EXPECT_EQ(report.halls, c.halls);
        EXPECT_EQ(report.unreachableCells, c.unreachable);
        std::vector<std::pair<int, int>> at;
        for (const MapProblem& problem : report.problems) {
            at.emplace_back(problem.x, problem.y);
        }
        EXPECT_EQ(at, c.problemsAt);
        const std::string text = describeMap(report);
        EXPECT_EQ(text.find(path), 0u) << text;
        EXPECT_NE(text.find(report.playable() ? "can be played" : "refused: "), std::string::npos);
    }
}

// A file the readers do not take is refused with a reason naming it, and
// nothing is counted.
TEST(MapCheck, UnreadableFilesAreRefusedNamingTheFile) {
    const std::string png = mapPng(ROOM);
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"notes.txt", "a hall, a passage and a wall\n", "It is not a picture maps are read from"},
        {"cut.png", png.substr(0, png.size() / 2), "This PNG file is damaged"},
        {"short.tga", mapTga(ROOM).substr(0, 40), "File is corrupted."},
        {"missing.png", "", "Can not open"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        if (std::string(c.name) != "missing.png") {
            writeFile(path, c.bytes);
        }
        const MapReport report = checkMapFile(path);
        EXPECT_FALSE(report.playable());
        EXPECT_NE(report.refusal.find(path), std::string::npos) << report.refusal;
        EXPECT_NE(report.refusal.find(c.reason), std::string::npos) << report.refusal;
        EXPECT_EQ(report.refusal.find('\n'), std::string::npos);
        EXPECT_FALSE(report.analysed);
    }
}

// The budget is checked from the size alone: no pixel of a map too big for
// it is read.
TEST(MapCheck, MapsBeyondTheMemoryBudgetAreRefusedUnread) {
    ASSERT_GT(maxMapCells(), 32 * 32);
    const int side = 8192;
    ASSERT_GT(static_cast<std::int64_t>(side) * side, maxMapCells());
    int reads = 0;
    const MapReport report = checkMap("huge.png", side, side, [&reads](int, int) {
        ++reads;
        return Color4(255, 255, 255, 255);
    });
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(report.refusal.rfind("huge.png: too big: ", 0), 0u) << report.refusal;
}

// A long run of problems of one kind is cut to a list and a count.
TEST(MapCheck, ManyProblemsOfOneKindAreCountedPastTheList) {
    std::vector<std::string> rows(3, std::string(30, '#'));
    rows[1] = "#" + std::string(28, '.') + "#";
    rows[0] = "#" + std::string(28, '.') + "#";
    const MapReport report = checkMap("wide", 30, 3, [&rows](int x, int y) {
        const char c = rows[static_cast<std::size_t>(2 - y)][static_cast<std::size_t>(x)];
        return c == '#' ? Color4(0, 0, 0, 255) : Color4(255, 255, 255, 255);
    });
    ASSERT_EQ(report.problems.size(), MAP_PROBLEMS_LISTED + 1);
    EXPECT_EQ(report.problems.back().what, "8 more open cells on the edge");
    EXPECT_FALSE(report.playable());
}

}  // namespace
