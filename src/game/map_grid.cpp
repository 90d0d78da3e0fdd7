#include "game/map_grid.h"

#include <utility>

#include "game/map_colours.h"
#include "scene/random.h"

namespace {

constexpr int FREE_CELL_TRIES = 1000;

// The eight neighbours in the order they are read, with their bits.
struct Neighbour {
    int dx;
    int dy;
    int bit;
};
constexpr Neighbour NEIGHBOURS[8] = {
    {0, -1, 1}, {1, -1, 16}, {1, 0, 2},  {1, 1, 32},
    {0, 1, 4},  {-1, 1, 64}, {-1, 0, 8}, {-1, -1, 128},
};

}  // namespace

CellClass classifyCell(const Color4& colour) {
    if (isBlack(colour)) {
        return CellClass::Wall;
    }
    if (isWhite(colour)) {
        return CellClass::Passage;
    }
    if (isYellow(colour)) {
        return CellClass::WoodHall;
    }
    if (isMagenta(colour)) {
        return CellClass::CarpetHall;
    }
    return CellClass::Other;
}

MapGrid::MapGrid(int width, int height, ColourAt colourAt)
    : m_width(width), m_height(height), m_colourAt(std::move(colourAt)) {}

bool MapGrid::contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < m_width && y < m_height;
}

Color4 MapGrid::colour(int x, int y) const {
    if (!contains(x, y) || !m_colourAt) {
        return Color4(0.0f, 0.0f, 0.0f, 1.0f);
    }
    return m_colourAt(x, y);
}

int MapGrid::wallMask(int x, int y) const {
    int mask = 0;
    for (const Neighbour& n : NEIGHBOURS) {
        // Neighbours of a cell at the edge of int's range are outside the
        // map anyway; the sum must not overflow on the way there.
        const long long nx = static_cast<long long>(x) + n.dx;
        const long long ny = static_cast<long long>(y) + n.dy;
        const bool inside = nx >= 0 && ny >= 0 && nx < m_width && ny < m_height;
        if (!inside || isBlack(colour(static_cast<int>(nx), static_cast<int>(ny)))) {
            mask += n.bit;
        }
    }
    return mask;
}

bool MapGrid::isOpen(int x, int y) const {
    return x >= 1 && y >= 1 && !isBlack(colour(x, y));
}

bool MapGrid::findFreeCell(const CellTest& isFree, int& x, int& y) const {
    auto usable = [&](int cx, int cy) { return isOpen(cx, cy) && (!isFree || isFree(cx, cy)); };
    for (int attempt = 0; attempt < FREE_CELL_TRIES; ++attempt) {
        x = randomInt(1, m_width - 1);
        y = randomInt(1, m_height - 1);
        if (usable(x, y)) {
            return true;
        }
    }
    for (int row = 1; row < m_height; ++row) {
        for (int column = 1; column < m_width; ++column) {
            if (usable(column, row)) {
                x = column;
                y = row;
                return true;
            }
        }
    }
    x = 0;
    y = 0;
    return false;
}
