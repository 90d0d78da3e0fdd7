#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <queue>
#include <sstream>

#include "generated_tree.h"

using namespace datagen_test;
using datagen::Image;
using datagen::Rgba;

namespace {

// The level builder's colour classes, with its thresholds.
bool isBlack(const Rgba& c) {
    return c.r < 0.0039f && c.g < 0.0039f && c.b < 0.0039f;
}
bool isWhite(const Rgba& c) {
    return c.r > 0.996f && c.g > 0.996f && c.b > 0.996f;
}
bool isYellow(const Rgba& c) {
    return c.r > 0.996f && c.g > 0.996f && c.b < 0.0039f;
}
bool isMagenta(const Rgba& c) {
    return c.r > 0.996f && c.g < 0.0039f && c.b > 0.996f;
}
bool isHall(const Rgba& c) {
    return isYellow(c) || isMagenta(c);
}

class CastleMap : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(generatedRoot().empty());
        int bpp = 0;
        map = loadImage("maps/castle.map", &bpp);
        ASSERT_GT(map.width(), 2);
        ASSERT_EQ(bpp, 24);
    }
    Rgba cell(int x, int y) const {
        if (!map.contains(x, y))
            return Rgba{0, 0, 0, 1};  // outside reads as wall
        return map.at(x, y);
    }
    Image map;
};

}  // namespace

TEST_F(CastleMap, BorderIsClosed) {
    for (int x = 0; x < map.width(); ++x) {
        EXPECT_TRUE(isBlack(cell(x, 0))) << x;
        EXPECT_TRUE(isBlack(cell(x, map.height() - 1))) << x;
    }
    for (int y = 0; y < map.height(); ++y) {
        EXPECT_TRUE(isBlack(cell(0, y))) << y;
        EXPECT_TRUE(isBlack(cell(map.width() - 1, y))) << y;
    }
}

TEST_F(CastleMap, EveryOpenCellIsReachable) {
    int open = 0, startX = -1, startY = -1;
    for (int y = 0; y < map.height(); ++y) {
        for (int x = 0; x < map.width(); ++x) {
            if (!isBlack(cell(x, y))) {
                ++open;
                if (startX < 0)
                    startX = x, startY = y;
            }
        }
    }
    ASSERT_GT(open, 0);
    std::vector<char> seen(static_cast<size_t>(map.width() * map.height()), 0);
    std::queue<std::pair<int, int>> todo;
    todo.push({startX, startY});
    seen[static_cast<size_t>(startY * map.width() + startX)] = 1;
    int reached = 0;
    while (!todo.empty()) {
        auto [x, y] = todo.front();
        todo.pop();
        ++reached;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], ny = y + dy[k];
            if (isBlack(cell(nx, ny)))
                continue;
            char& s = seen[static_cast<size_t>(ny * map.width() + nx)];
            if (!s) {
                s = 1;
                todo.push({nx, ny});
            }
        }
    }
    EXPECT_EQ(reached, open);
}

TEST_F(CastleMap, HasPassagesHallsAndOtherFloors) {
    int white = 0, yellow = 0, magenta = 0, other = 0;
    for (int y = 0; y < map.height(); ++y) {
        for (int x = 0; x < map.width(); ++x) {
            Rgba c = cell(x, y);
            if (isBlack(c))
                continue;
            white += isWhite(c);
            yellow += isYellow(c);
            magenta += isMagenta(c);
            other += !isWhite(c) && !isHall(c);
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_GT(yellow, 4);
    EXPECT_GT(magenta, 4);
    EXPECT_GT(other, 0);
}

// An open cell of another colour has a ceiling two boxes high, but only hall
// cells raise the walls and passages beside them: so such a cell must be
// surrounded by halls or similar cells, or the ceiling would float above a gap.
TEST_F(CastleMap, HighCeilingsNeverMeetLowWalls) {
    for (int y = 0; y < map.height(); ++y) {
        for (int x = 0; x < map.width(); ++x) {
            Rgba c = cell(x, y);
            if (isBlack(c) || isWhite(c) || isHall(c))
                continue;
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i) {
                    Rgba n = cell(x + i, y + j);
                    EXPECT_FALSE(isBlack(n) || isWhite(n))
                        << "cell (" << x << ", " << y << ") touches a low wall or passage";
                }
            }
        }
    }
}

namespace {

// The value of a field ("wid_" etc.) on a line, as the scene reader finds it.
bool field(const std::string& line, const std::string& key, std::string& value) {
    size_t at = line.find(key);
    if (at == std::string::npos)
        return false;
    size_t start = at + key.size();
    value = line.substr(start, line.find(' ', start) - start);
    return true;
}

std::vector<std::string> objectLines() {
    std::istringstream in(readFile(resource("objects.lvl")));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("END", 0) == 0)
            break;
        if (line.size() + 1 < 3 || line.rfind("//", 0) == 0)
            continue;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(ObjectList, DefinesTheBoxAndPlaneTheLevelNeeds) {
    ASSERT_FALSE(generatedRoot().empty());
    std::string w, d, h, pw, pd, v;
    bool box = false, plane = false;
    for (const std::string& line : objectLines()) {
        // The reader takes a geometry's name from the ninth character on.
        if (line.rfind("box", 0) == 0 && field(line.substr(8), "name_", v) && v == "box") {
            box = field(line, "wid_", w) && field(line, "dep_", d) && field(line, "hei_", h);
        }
        if (line.rfind("grid", 0) == 0 && field(line.substr(8), "name_", v) && v == "plane") {
            plane = field(line, "wid_", pw) && field(line, "dep_", pd);
        }
    }
    ASSERT_TRUE(box);
    ASSERT_TRUE(plane);
    float cellSize = std::atof(w.c_str()), wallHeight = std::atof(h.c_str());
    EXPECT_FLOAT_EQ(std::atof(d.c_str()), cellSize);
    EXPECT_GT(cellSize, 2.5f * 1.6f) << "the player (radius 1.25) needs room to turn";
    EXPECT_GT(wallHeight, 1.8f + 0.5f) << "the eye stands at 1.8 under a low ceiling";
    EXPECT_FLOAT_EQ(std::atof(pw.c_str()), cellSize);
    EXPECT_FLOAT_EQ(std::atof(pd.c_str()), cellSize);
}

TEST(ObjectList, LinesAreReadableAndLeaveRoomForTheGameLights) {
    ASSERT_FALSE(generatedRoot().empty());
    int lights = 0;
    for (const std::string& line : objectLines()) {
        EXPECT_GE(line.size() + 1, 9u) << line;  // shorter lines are refused
        EXPECT_LT(line.size(), 299u) << line;    // longer ones would be split
        EXPECT_EQ(line.find("  "), std::string::npos) << "fields are separated by one space";
        if (line.find("light ") != std::string::npos)
            ++lights;
    }
    // The player's light and the three ghosts' lights share the 8 applied.
    EXPECT_LE(lights, 4);
}
