#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "game/map_grid.h"

// What the game makes of a map image, without a window: its size, its
// cells by class, its halls, where the player may start and what cannot be
// reached, and every problem at the pixel it lies at. Positions here are as
// image editors show them: x from the left, y from the top (the level
// itself counts its rows from the bottom).
struct MapProblem {
    int x = -1;  // -1 when the problem is not at one pixel
    int y = -1;
    std::string what;
};

struct MapReport {
    std::string file;
    // Set when the game refuses the map: the message for the player, naming
    // the file. Empty when the map can be played.
    std::string refusal;
    int width = 0;
    int height = 0;
    // False when the map was refused before its cells were looked at; the
    // counts below are then all 0.
    bool analysed = false;
    int openCells = 0;     // every cell that is not a wall
    int passageCells = 0;  // white
    int hallCells = 0;     // yellow and magenta
    int halls = 0;         // connected groups of cells under a high ceiling
    int otherCells = 0;    // open cells of other colours: hall floors
    int areas = 0;         // connected groups of open cells
    // The player, the pickups and the ghosts' targets are drawn at random
    // from every open cell, so a start is anywhere in the largest area
    // unless it falls into a smaller one.
    int largestArea = 0;
    int unreachableCells = 0;  // open cells outside the largest area
    std::vector<MapProblem> problems;

    bool playable() const { return refusal.empty(); }
};

// The smallest map that can hold an open cell with walls all round it.
constexpr int MAP_MIN_SIDE = 3;
// Problems of one kind listed one by one; past this many, one line says how
// many more there are.
constexpr std::size_t MAP_PROBLEMS_LISTED = 20;

// The most cells a map may have so that the level build stays within
// MAP_MEMORY_BUDGET (see map_check.cpp for what one cell costs).
std::int64_t maxMapCells();

// colourAt is asked for cells in the level's order (row 0 at the bottom).
MapReport checkMap(const std::string& file, int width, int height,
                   const MapGrid::ColourAt& colourAt);
// Reads a PNG or TGA map image and checks it; a file that cannot be read is
// refused with the reader's reason.
MapReport checkMapFile(const std::string& path);

// The report as lines of text, for the terminal.
std::string describeMap(const MapReport& report);
