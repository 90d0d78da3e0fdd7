// Keeping the player out of the walls: each rule at its limit and just past
// it, corners, wall cells and positions outside the map.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <set>
#include <utility>

#include "game/level.h"

namespace {

// A 5 x 5 map of 6-unit cells; the tests wall in the centre cell (2, 2) by
// painting its neighbours black. Its centre is (12, 12): sides at 9 and 15,
// limits R = 1.25 inside.
constexpr int CX = 2;
constexpr int CZ = 2;

// The neighbour each wall bit stands for.
struct Neighbour {
    int bit, dx, dz;
};
constexpr Neighbour NEIGHBOURS[] = {{1, 0, -1},  {2, 1, 0},  {4, 0, 1},   {8, -1, 0},
                                    {16, 1, -1}, {32, 1, 1}, {64, -1, 1}, {128, -1, -1}};

class CollisionTest : public ::testing::Test {
protected:
    Level level;
    std::set<std::pair<int, int>> walls;

    void SetUp() override { build(); }
    void build() {
        level.setMap(5, 5, [this](int x, int z) {
            return walls.count({x, z}) != 0 ? Color4(0, 0, 0, 1) : Color4(1, 1, 1, 1);
        });
        level.setCells(6.0f, 4.0f);
    }
    // Walls around the centre cell where the mask has bits; -1 makes the
    // centre a wall itself.
    void setMask(int mask) {
        walls.clear();
        if (mask == -1) {
            walls.insert({CX, CZ});
        } else {
            for (const Neighbour& n : NEIGHBOURS) {
                if ((mask & n.bit) != 0) {
                    walls.insert({CX + n.dx, CZ + n.dz});
                }
            }
        }
        build();
        ASSERT_EQ(level.storedWallMask(CX, CZ), mask);
    }
    Vector3 collideFrom(float x, float z) {
        Vector3 p(x, 1.8f, z);
        level.keepOutOfWalls(p);
        return p;
    }
};

struct RuleCase {
    const char* name;
    int bit;
    float x, z;      // where the player stands
    bool moved;      // whether the rule moves it
    float toX, toZ;  // where to, when it does
};

// Side limits: 10.25 and 13.75. Corner lines through the points R from each
// corner: z = x - 4.75 (+X-Z), x + z = 28.75 (+X+Z), z = x + 4.75 (-X+Z),
// x + z = 19.25 (-X-Z); the x tests are against 13.75 and 10.25.
const RuleCase RULES[] = {
    {"minusZAtLimit", 1, 12.0f, 10.25f, false, 0, 0},
    {"minusZInside", 1, 12.0f, 10.24f, true, 12.0f, 10.25f},
    {"plusXAtLimit", 2, 13.75f, 12.0f, false, 0, 0},
    {"plusXInside", 2, 13.76f, 12.0f, true, 13.75f, 12.0f},
    {"plusZAtLimit", 4, 12.0f, 13.75f, false, 0, 0},
    {"plusZInside", 4, 12.0f, 13.76f, true, 12.0f, 13.75f},
    {"minusXAtLimit", 8, 10.25f, 12.0f, false, 0, 0},
    {"minusXInside", 8, 10.24f, 12.0f, true, 10.25f, 12.0f},
    {"plusXMinusZOnLine", 16, 14.25f, 9.5f, false, 0, 0},
    {"plusXMinusZInside", 16, 14.25f, 9.49f, true, 14.245f, 9.495f},
    {"plusXMinusZAtXLimit", 16, 13.75f, 8.0f, false, 0, 0},
    {"plusXPlusZOnLine", 32, 14.25f, 14.5f, false, 0, 0},
    {"plusXPlusZInside", 32, 14.25f, 14.51f, true, 14.245f, 14.505f},
    {"plusXPlusZAtXLimit", 32, 13.75f, 16.0f, false, 0, 0},
    {"minusXPlusZOnLine", 64, 9.75f, 14.5f, false, 0, 0},
    {"minusXPlusZInside", 64, 9.75f, 14.51f, true, 9.755f, 14.505f},
    {"minusXPlusZAtXLimit", 64, 10.25f, 16.0f, false, 0, 0},
    {"minusXMinusZOnLine", 128, 9.75f, 9.5f, false, 0, 0},
    {"minusXMinusZInside", 128, 9.75f, 9.49f, true, 9.755f, 9.495f},
    {"minusXMinusZAtXLimit", 128, 10.25f, 8.0f, false, 0, 0},
};

void PrintTo(const RuleCase& c, std::ostream* os) {
    *os << c.name;
}

class CollisionRule : public CollisionTest, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(CollisionRule, MovesOnlyPastTheLimit) {
    const RuleCase& c = GetParam();
    setMask(c.bit);
    Vector3 p = collideFrom(c.x, c.z);
    if (c.moved) {
        EXPECT_NEAR(p.x, c.toX, 1e-4f);
        EXPECT_NEAR(p.z, c.toZ, 1e-4f);
    } else {
        EXPECT_EQ(p.x, c.x);
        EXPECT_EQ(p.z, c.z);
    }
    EXPECT_EQ(p.y, 1.8f);
}

INSTANTIATE_TEST_SUITE_P(Rules, CollisionRule, ::testing::ValuesIn(RULES),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(CollisionTest, AnOpenCellMovesNobody) {
    Vector3 p = collideFrom(14.9f, 9.1f);
    EXPECT_EQ(p.x, 14.9f);
    EXPECT_EQ(p.z, 9.1f);
}

// Walls on -Z and +X with the corner between them: the side rules leave the
// player R from both walls and the corner rule then has nothing to do.
TEST_F(CollisionTest, CorridorCornerKeepsRadiusFromBothWalls) {
    setMask(1 | 2 | 16);
    Vector3 p = collideFrom(14.9f, 9.1f);
    EXPECT_EQ(p.x, 13.75f);
    EXPECT_EQ(p.z, 10.25f);
}

// An outside corner only: sliding round it keeps the eye off the 45-degree
// line and the side walls out of play.
TEST_F(CollisionTest, OutsideCornerCutsDiagonally) {
    setMask(16);
    Vector3 p = collideFrom(14.5f, 9.0f);
    EXPECT_NEAR(p.z - p.x, -4.75f, 1e-5f);
    EXPECT_GT(p.x, 13.75f);
}

TEST_F(CollisionTest, APlayerInAWallCellIsPushedToItsMiddle) {
    setMask(-1);
    for (auto start : {std::pair<float, float>{14.9f, 9.1f}, {9.01f, 14.99f}, {12.0f, 14.5f}}) {
        Vector3 p = collideFrom(start.first, start.second);
        EXPECT_GE(p.x, 10.25f - 1e-4f) << start.first << "," << start.second;
        EXPECT_LE(p.x, 13.75f + 1e-4f);
        EXPECT_GE(p.z, 10.25f - 1e-4f);
        EXPECT_LE(p.z, 13.75f + 1e-4f);
    }
}

// Outside the map no mask is read: the position counts as standing in a
// wall at the nearest border cell, which pulls it back into the map.
TEST_F(CollisionTest, OutsideTheMapIsWallAtTheNearestBorderCell) {
    struct Case {
        float x, z;
        float minX, maxX, minZ, maxZ;  // the middle region it ends in
    };
    const Case cases[] = {
        {-20.0f, 12.0f, -1.75f, 1.75f, 10.25f, 13.75f},
        {40.0f, 12.0f, 22.25f, 25.75f, 10.25f, 13.75f},
        {12.0f, -30.0f, 10.25f, 13.75f, -1.75f, 1.75f},
        {12.0f, 1.0e20f, 10.25f, 13.75f, 22.25f, 25.75f},
        {-1.0e30f, -1.0e30f, -1.75f, 1.75f, -1.75f, 1.75f},
    };
    for (const Case& c : cases) {
        Vector3 p = collideFrom(c.x, c.z);
        EXPECT_GE(p.x, c.minX - 1e-3f) << c.x << "," << c.z;
        EXPECT_LE(p.x, c.maxX + 1e-3f) << c.x << "," << c.z;
        EXPECT_GE(p.z, c.minZ - 1e-3f) << c.x << "," << c.z;
        EXPECT_LE(p.z, c.maxZ + 1e-3f) << c.x << "," << c.z;
    }
}

TEST_F(CollisionTest, WithoutALevelNothingMoves) {
    level.clear();
    Vector3 p(-50.0f, 1.8f, 7.0f);
    EXPECT_FALSE(level.keepOutOfWalls(p));
    EXPECT_EQ(p.x, -50.0f);
    EXPECT_EQ(p.z, 7.0f);
}

TEST_F(CollisionTest, WorldToCellTruncatesTowardZero) {
    struct Case {
        float v;
        int cell;
    };
    const Case cases[] = {
        {0.0f, 0},  {2.99f, 0}, {3.0f, 1},   {8.99f, 1},  {9.0f, 2},    {-2.0f, 0},
        {-4.0f, 0}, {-8.9f, 0}, {-9.0f, -1}, {-9.1f, -1}, {-15.0f, -2}, {29.0f, 5},
    };
    for (const Case& c : cases) {
        int cx = 99;
        int cz = 99;
        level.worldToCell(c.v, -c.v, cx, cz);
        EXPECT_EQ(cx, c.cell) << c.v;
        level.worldToCell(0.0f, c.v, cx, cz);
        EXPECT_EQ(cz, c.cell) << c.v;
    }
}

TEST_F(CollisionTest, WorldToCellOfNoNumberOrNoCellSizeIsOutside) {
    int cx = 0;
    int cz = 0;
    level.worldToCell(std::numeric_limits<float>::quiet_NaN(), 1.0e38f, cx, cz);
    EXPECT_FALSE(level.isInMap(cx, cz));
    EXPECT_EQ(cx, -1);
    level.clear();
    level.worldToCell(6.0f, 6.0f, cx, cz);
    EXPECT_FALSE(level.isInMap(cx, cz));
}

}  // namespace
