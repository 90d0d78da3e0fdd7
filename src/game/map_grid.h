#pragma once
#include <functional>

#include "scene/color.h"

// What the level needs to know about the map image, kept apart from the
// scene and from GL so that any image a player puts in the game folder can
// be checked on its own: the class of each cell, the walls around it and
// where a free cell lies. Outside the image every cell is a wall.
enum class CellClass { Wall, Passage, WoodHall, CarpetHall, Other };

CellClass classifyCell(const Color4& colour);

class MapGrid {
public:
    using ColourAt = std::function<Color4(int x, int y)>;
    using CellTest = std::function<bool(int x, int y)>;

    // colourAt is asked only for cells inside width x height.
    MapGrid(int width, int height, ColourAt colourAt);

    bool contains(int x, int y) const;
    // The map pixel; opaque black outside the map.
    Color4 colour(int x, int y) const;
    CellClass cellClass(int x, int y) const { return classifyCell(colour(x, y)); }
    // One bit per wall among the eight neighbours: 1 north, 2 east, 4 south,
    // 8 west, then 16, 32, 64, 128 for north-east, south-east, south-west,
    // north-west.
    int wallMask(int x, int y) const;
    // Not a wall, and away from the first row and column, which the level
    // never uses for placing things.
    bool isOpen(int x, int y) const;
    // Tries random cells first, then every cell in order, for one that is
    // open and passes isFree. False, with (0, 0), when there is none.
    bool findFreeCell(const CellTest& isFree, int& x, int& y) const;

private:
    int m_width;
    int m_height;
    ColourAt m_colourAt;
};
