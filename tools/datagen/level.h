#pragma once
#include <string>
#include <vector>

#include "image.h"

namespace datagen {

// Sizes shared by objects.lvl and everything that is scaled to the maze.
constexpr float kCellSize = 6.0f;    // width and depth of a wall box
constexpr float kWallHeight = 4.0f;  // a low passage is one box high, a hall two

// Cell kinds of the castle map and the exact colours that encode them.
enum class Cell { Wall, Passage, WoodHall, CarpetHall, Flagstone, Bloodstone };
Rgba cellColour(Cell cell);

struct CastleMap {
    int width = 0;
    int height = 0;
    std::vector<Cell> cells;  // row after row
    Cell at(int x, int y) const;
};

// The castle: a hand-planned set of halls and passages.
CastleMap buildCastleMap();
// Number of open cells not reachable from the first open cell (0 for a good map).
int countUnreachable(const CastleMap& map);
// The scene text of objects.lvl.
std::string objectsText();

}  // namespace datagen
