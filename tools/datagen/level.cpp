#include "level.h"

#include <cstdio>
#include <fstream>
#include <queue>

#include "generators.h"

namespace datagen {

Rgba cellColour(Cell cell) {
    switch (cell) {
        case Cell::Wall:
            return rgb(0, 0, 0);
        case Cell::Passage:
            return rgb(255, 255, 255);
        case Cell::WoodHall:
            return rgb(255, 255, 0);
        case Cell::CarpetHall:
            return rgb(255, 0, 255);
        case Cell::Flagstone:
            return rgb(128, 128, 128);
        case Cell::Bloodstone:
            return rgb(128, 32, 32);
    }
    return rgb(0, 0, 0);
}

Cell CastleMap::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height)
        return Cell::Wall;
    return cells[static_cast<size_t>(y) * width + x];
}

namespace {

class Planner {
public:
    explicit Planner(CastleMap& map) : m_map(map) {}
    void rect(int x0, int y0, int w, int h, Cell cell) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x)
                set(x, y, cell);
        }
    }
    // A one-cell passage along a horizontal or vertical run; only walls are
    // carved, so a passage never overwrites a hall it runs into.
    void passage(int x0, int y0, int x1, int y1) {
        int dx = (x1 > x0) - (x1 < x0), dy = (y1 > y0) - (y1 < y0);
        for (int x = x0, y = y0;; x += dx, y += dy) {
            if (m_map.at(x, y) == Cell::Wall)
                set(x, y, Cell::Passage);
            if (x == x1 && y == y1)
                break;
        }
    }

private:
    void set(int x, int y, Cell cell) {
        // The outer ring of the map always stays wall.
        if (x < 1 || y < 1 || x >= m_map.width - 1 || y >= m_map.height - 1)
            return;
        m_map.cells[static_cast<size_t>(y) * m_map.width + x] = cell;
    }
    CastleMap& m_map;
};

}  // namespace

CastleMap buildCastleMap() {
    CastleMap map;
    map.width = 32;
    map.height = 32;
    map.cells.assign(static_cast<size_t>(map.width) * map.height, Cell::Wall);
    Planner p(map);

    // Halls first. Open floors of other colours sit inside a hall with at least
    // one hall cell around them, because their high ceiling needs tall walls and
    // only hall cells raise the walls next to them.
    p.rect(3, 3, 6, 5, Cell::WoodHall);      // library
    p.rect(23, 3, 6, 6, Cell::CarpetHall);   // chapel
    p.rect(11, 11, 10, 8, Cell::WoodHall);   // great hall
    p.rect(13, 13, 6, 4, Cell::Flagstone);   // its stone floor
    p.rect(3, 23, 7, 5, Cell::CarpetHall);   // banquet hall
    p.rect(22, 22, 6, 6, Cell::WoodHall);    // armoury
    p.rect(24, 24, 2, 2, Cell::Bloodstone);  // its old altar stones
    p.rect(18, 5, 3, 3, Cell::CarpetHall);   // study

    // The ring passage just inside the outer wall.
    p.passage(1, 1, 30, 1);
    p.passage(30, 1, 30, 30);
    p.passage(30, 30, 1, 30);
    p.passage(1, 30, 1, 1);

    p.passage(5, 1, 5, 3);   // ring to library
    p.passage(8, 5, 14, 5);  // library towards the great hall
    p.passage(14, 5, 14, 11);
    p.passage(11, 1, 11, 3);  // ring to the study
    p.passage(11, 3, 19, 3);
    p.passage(19, 3, 19, 5);
    p.passage(25, 8, 25, 9);  // chapel down to the great hall
    p.passage(25, 9, 17, 9);
    p.passage(17, 9, 17, 11);
    p.passage(29, 5, 30, 5);    // chapel to ring
    p.passage(1, 15, 11, 15);   // ring to the great hall, west door
    p.passage(12, 18, 12, 20);  // great hall to the banquet hall
    p.passage(12, 20, 6, 20);
    p.passage(6, 20, 6, 23);
    p.passage(1, 25, 3, 25);    // banquet hall to ring
    p.passage(20, 17, 25, 17);  // great hall to the armoury
    p.passage(25, 17, 25, 22);
    p.passage(20, 14, 30, 14);  // great hall, east door to ring
    p.passage(25, 27, 25, 30);  // armoury to ring
    p.passage(27, 24, 30, 24);
    p.passage(15, 30, 15, 24);  // a winding back way into the great hall
    p.passage(15, 24, 19, 24);
    p.passage(19, 24, 19, 18);
    p.passage(9, 10, 9, 12);  // a dead end behind the library
    p.passage(5, 7, 5, 10);
    p.passage(5, 10, 9, 10);
    return map;
}

int countUnreachable(const CastleMap& map) {
    std::vector<char> seen(map.cells.size(), 0);
    int open = 0, start = -1;
    for (size_t i = 0; i < map.cells.size(); ++i) {
        if (map.cells[i] != Cell::Wall) {
            ++open;
            if (start < 0)
                start = static_cast<int>(i);
        }
    }
    if (start < 0)
        return 0;
    std::queue<int> todo;
    todo.push(start);
    seen[start] = 1;
    int reached = 0;
    while (!todo.empty()) {
        int i = todo.front();
        todo.pop();
        ++reached;
        int x = i % map.width, y = i / map.width;
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], ny = y + dy[k];
            if (map.at(nx, ny) == Cell::Wall)
                continue;
            int j = ny * map.width + nx;
            if (!seen[j]) {
                seen[j] = 1;
                todo.push(j);
            }
        }
    }
    return open - reached;
}

namespace {

std::string num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(v));
    return buf;
}

// A candle stand in a hall: iron stand, a pale wax candle, a glowing flame and
// a warm point light. Positions are world units.
std::string candle(int index, float x, float z) {
    std::string n = std::to_string(index);
    return "transform name_candle" + n + " trans_" + num(x) + ",0," + num(z) + "\n" +
           "+shape geoid_3 matid_1 name_candlestand" + n + "\n" + "+transform trans_0,1.3,0\n" +
           "++shape geoid_4 matid_2 name_wax" + n + "\n" + "++transform trans_0,0.42,0\n" +
           "+++shape geoid_5 matid_3 name_flame" + n + "\n" +
           "+light type_point pos_0,1.9,0 atten_0.35,0.04,0.008 amb_0,0,0,1 "
           "dif_1,0.62,0.28,1 spec_0.3,0.2,0.1,1 name_candlelight" +
           n + "\n";
}

}  // namespace

std::string objectsText() {
    std::string s;
    s += "// Spookhollow castle objects. A cell is one box wide; a low passage is one\n";
    s += "// box high and a hall two. The builder looks up \"box\" and \"plane\".\n";
    s += "box geoid_1 wid_" + num(kCellSize) + " dep_" + num(kCellSize) + " hei_" +
         num(kWallHeight) + " name_box\n";
    s += "grid geoid_2 wid_" + num(kCellSize) + " dep_" + num(kCellSize) +
         " divx_2 divz_2 name_plane\n";
    s += "cyl geoid_3 num_8 rad_0.09 hei_1.3 smooth_1 name_candlestand\n";
    s += "cyl geoid_4 num_10 rad_0.07 hei_0.42 smooth_1 name_candle\n";
    s += "sphere geoid_5 rad_0.05 numh_8 numv_6 name_flame\n";
    s += "material matid_1 amb_0.08,0.07,0.06,1 dif_0.22,0.2,0.19,1 spec_0.5,0.45,0.4,1 "
         "shine_40\n";
    s += "material matid_2 amb_0.5,0.47,0.4,1 dif_0.92,0.88,0.75,1 spec_0.2,0.2,0.2,1 "
         "emiss_0.25,0.2,0.12,1 shine_8\n";
    s += "material matid_3 amb_1,0.7,0.3,1 dif_1,0.75,0.35,1 spec_0,0,0,1 "
         "emiss_1,0.72,0.3,1 shine_1\n";
    // Three candles: with the player's light and the three ghost lights that
    // makes seven of the eight lights that are applied.
    // Each stands in a hall cell, pushed towards one of the cell's walls.
    auto at = [](int cellX, int cellY, float dx, float dz, int index) {
        return candle(index, cellX * kCellSize + dx, cellY * kCellSize + dz);
    };
    s += at(11, 12, -2.2f, -1.0f, 1);  // great hall, against its west wall
    s += at(28, 4, 2.2f, 0.0f, 2);     // chapel, by the east wall
    s += at(3, 26, -2.2f, 1.0f, 3);    // banquet hall, west wall
    s += "END\n";
    return s;
}

bool generateLevel(const std::string& root) {
    CastleMap map = buildCastleMap();
    int lost = countUnreachable(map);
    if (lost != 0) {
        std::fprintf(stderr, "datagen: %d open map cells cannot be reached\n", lost);
        return false;
    }
    if (!makeFolder(root + "/maps"))
        return false;
    Image image(map.width, map.height);
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x)
            image.at(x, y) = cellColour(map.at(x, y));
    }
    // The game reads pixel (x, y) with y = 0 on the bottom row of the image;
    // the map is written so that plan row y becomes that pixel row.
    Image flipped(map.width, map.height);
    for (int y = 0; y < map.height; ++y) {
        for (int x = 0; x < map.width; ++x)
            flipped.at(x, map.height - 1 - y) = image.at(x, y);
    }
    if (!writeTga(root + "/maps/castle.map", flipped, false)) {
        std::fprintf(stderr, "datagen: cannot write %s/maps/castle.map\n", root.c_str());
        return false;
    }
    std::ofstream out(root + "/objects.lvl", std::ios::binary | std::ios::trunc);
    out << objectsText();
    if (!out) {
        std::fprintf(stderr, "datagen: cannot write %s/objects.lvl\n", root.c_str());
        return false;
    }
    return true;
}

}  // namespace datagen
