// Map cells without drawing anything: colour classes, neighbour wall masks
// and the choice of free cells, on map images written by the tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

#include "game/level.h"
#include "game/map_colours.h"
#include "game/pickup_set.h"
#include "game_fixture.h"
#include "level_files.h"
#include "scene/node.h"
#include "support/temp_dir.h"

namespace {

TEST(MapColours, ClassesUseStrictBoundsAndIgnoreAlpha) {
    struct Case {
        Color4 c;
        bool black, white, yellow, magenta;
    };
    const float lo = COLOUR_LOW;
    const float hi = COLOUR_HIGH;
    const Case cases[] = {
        {Color4(0, 0, 0, 0), true, false, false, false},
        {Color4(255, 255, 255, 0), false, true, false, false},
        {Color4(255, 255, 0, 255), false, false, true, false},
        {Color4(255, 0, 255, 255), false, false, false, true},
        {Color4(255, 0, 0, 255), false, false, false, false},
        {Color4(128, 128, 128, 255), false, false, false, false},
        // 1/255 is just above the low bound, 254/255 just above the high one.
        {Color4(1, 0, 0, 255), false, false, false, false},
        {Color4(254, 254, 254, 255), false, true, false, false},
        {Color4(253, 253, 253, 255), false, false, false, false},
        {Color4(lo, lo, lo, 1.0f), false, false, false, false},
        {Color4(hi, hi, hi, 1.0f), false, false, false, false},
        {Color4(hi, hi, lo, 1.0f), false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.c.r << "," << c.c.g << "," << c.c.b);
        EXPECT_EQ(isBlack(c.c), c.black);
        EXPECT_EQ(isWhite(c.c), c.white);
        EXPECT_EQ(isYellow(c.c), c.yellow);
        EXPECT_EQ(isMagenta(c.c), c.magenta);
    }
}

// A map image read through the texture manager, as the level reads it, but
// without the rest of the level.
class LevelMapTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    // The pickups' nodes outlive the game object that points at them.
    NodeTransform nodes[4];
    GameFixture game;
    GameScene& scene = *game.scene;
    Level& level = scene.level();
    PickupSet& pickups = scene.pickups();

    bool findFreeCell(int& x, int& y) { return pickups.findFreeCell(level, x, y); }

    void useMap(const std::vector<std::string>& rows) {
        static int serial = 0;
        // A new name each time: the texture manager shares a file loaded before.
        std::string name = "map" + std::to_string(++serial) + ".map";
        writeFile(dir.file(name), level_files::mapImage(rows));
        TextureID map = scene.textures().loadTexture(1, false, 1, 1, name);
        ASSERT_NE(map.id, 0u);
        level.setMap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
                     textureColours(scene.textures(), map));
        level.setCells(6.0f, 4.0f);
    }
    void placePickups(const std::vector<std::pair<int, int>>& cells) {
        pickups.setHealth(std::make_unique<PickupHealth>(&nodes[0], 3.0f));
        pickups.setEnergy(std::make_unique<PickupEnergy>(&nodes[1], &nodes[3], 10.0f));
        pickups.setArrows(std::make_unique<PickupArrows>(&nodes[2], 5.0f));
        PickupObject* placed[3] = {pickups.health(), pickups.energy(), pickups.arrows()};
        for (std::size_t i = 0; i < cells.size() && i < 3; ++i) {
            placed[i]->setPosition(cells[i].first * 6.0f, 0.0f, cells[i].second * 6.0f);
        }
    }
};

TEST_F(LevelMapTest, RowsOfTheListAreTheRowsTheGameReads) {
    useMap({"#.Y", "M#R", "..#"});
    EXPECT_TRUE(isBlack(level.cellColour(0, 0)));
    EXPECT_TRUE(isWhite(level.cellColour(1, 0)));
    EXPECT_TRUE(isYellow(level.cellColour(2, 0)));
    EXPECT_TRUE(isMagenta(level.cellColour(0, 1)));
    EXPECT_TRUE(isWhite(level.cellColour(0, 2)));
    EXPECT_TRUE(isBlack(level.cellColour(2, 2)));
}

TEST_F(LevelMapTest, OutsideTheMapIsOpaqueBlack) {
    useMap({"...", "...", "..."});
    for (auto cell : {std::pair<int, int>{-1, 0}, {3, 0}, {0, -1}, {0, 3}, {-100000, 7}}) {
        Color4 c = level.cellColour(cell.first, cell.second);
        EXPECT_TRUE(c.equals(0.0f, 0.0f, 0.0f, 1.0f)) << cell.first << "," << cell.second;
        EXPECT_FALSE(level.isInMap(cell.first, cell.second));
    }
}

TEST_F(LevelMapTest, EachBlackNeighbourAddsItsBit) {
    struct Case {
        int x, y, bit;
    };
    // Neighbours of the centre (2, 2) of a 5 x 5 open map.
    const Case cases[] = {{2, 1, 1},  {3, 2, 2},  {2, 3, 4},  {1, 2, 8},
                          {3, 1, 16}, {3, 3, 32}, {1, 3, 64}, {1, 1, 128}};
    for (const Case& c : cases) {
        std::vector<std::string> rows(5, ".....");
        rows[static_cast<std::size_t>(c.y)][static_cast<std::size_t>(c.x)] = '#';
        useMap(rows);
        EXPECT_EQ(level.cellWallMask(2, 2), c.bit) << c.x << "," << c.y;
    }
}

TEST_F(LevelMapTest, TheOutsideCountsAsWallForTheMask) {
    useMap({"#.#", "...", "#.#"});
    EXPECT_EQ(level.cellWallMask(1, 1), 16 + 32 + 64 + 128);
    EXPECT_EQ(level.cellWallMask(1, 0), 1 + 2 + 8 + 16 + 128);
    useMap({"###", "#.#", "###"});
    EXPECT_EQ(level.cellWallMask(1, 1), 255);
}

TEST_F(LevelMapTest, FreeCellsAreNeverInRowOrColumnZero) {
    // Row 0 and column 0 are wide open; the rest is wall but for one cell.
    useMap({".....", "...##", ".####", ".##.#", ".####"});
    std::set<std::pair<int, int>> chosen;
    for (int i = 0; i < 200; ++i) {
        int x = -1;
        int y = -1;
        ASSERT_TRUE(findFreeCell(x, y));
        chosen.insert({x, y});
    }
    EXPECT_EQ(chosen, (std::set<std::pair<int, int>>{{1, 1}, {2, 1}, {3, 3}}));
}

TEST_F(LevelMapTest, TheLastRowAndColumnCanBeChosen) {
    useMap({"###", "###", "##."});
    int x = 0;
    int y = 0;
    EXPECT_TRUE(findFreeCell(x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 2);
}

TEST_F(LevelMapTest, APickupsCellIsNotFree) {
    useMap({"#####", "#...#", "#####"});
    placePickups({{1, 1}, {3, 1}});
    // The third pickup lies on (3, 1) too; it is drawn 0.99 units off the cell.
    pickups.arrows()->setPosition(2.0f * 6.0f + 0.99f, 0.0f, 6.0f);
    for (int i = 0; i < 50; ++i) {
        int x = 0;
        int y = 0;
        // Only (2, 1) is left, and the pickup 0.99 away still stands on it.
        EXPECT_FALSE(findFreeCell(x, y));
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
    }
    // At 1.0 away it no longer does.
    pickups.arrows()->setPosition(2.0f * 6.0f + 1.0f, 0.0f, 6.0f);
    int x = 0;
    int y = 0;
    EXPECT_TRUE(findFreeCell(x, y));
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 1);
}

TEST_F(LevelMapTest, AMapWithoutAnOpenCellHasNoFreeCell) {
    for (const auto& rows :
         {std::vector<std::string>{"###", "###", "###"},
          std::vector<std::string>{"...", ".##", ".##"}, std::vector<std::string>{"."}}) {
        useMap(rows);
        int x = 5;
        int y = 5;
        EXPECT_FALSE(findFreeCell(x, y));
        EXPECT_EQ(x, 0);
        EXPECT_EQ(y, 0);
    }
}

}  // namespace
