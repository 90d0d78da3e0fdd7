#include "game/level.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "game/map_colours.h"

namespace {

// Far enough outside any map to count as outside, small enough to convert
// to int without overflow.
constexpr float CELL_LIMIT = 1.0e6f;

// Truncation toward zero, as the map is laid out with cell centres on the
// multiples of the cell size. A coordinate that is not a number, or no cell
// size, gives a cell outside the map.
int toCell(float v, float size) {
    if (!(size > 0.0f)) {
        return -1;
    }
    float c = v / size + 0.5f;
    if (std::isnan(c)) {
        return -1;
    }
    if (c < -CELL_LIMIT) {
        c = -CELL_LIMIT;
    } else if (c > CELL_LIMIT) {
        c = CELL_LIMIT;
    }
    return static_cast<int>(c);
}

int clampInto(int v, int count) {
    if (v < 0) {
        return 0;
    }
    return v >= count ? count - 1 : v;
}

// Moves p onto the line z = x + b.
void ontoRisingLine(Vector3& p, float b) {
    float x = (p.z + p.x - b) / 2.0f;
    p.x = x;
    p.z = x + b;
}

// Moves p onto the line x + z = c.
void ontoFallingLine(Vector3& p, float c) {
    float x = (p.x - p.z + c) / 2.0f;
    float z = (p.z - p.x + c) / 2.0f;
    p.x = x;
    p.z = z;
}

}  // namespace

MapGrid::ColourAt textureColours(const TextureManager& textures, TextureID map) {
    return [&textures, map](int x, int y) {
        return textures.getTexturePixel(map.group, map.id, x, y);
    };
}

void Level::setMap(int width, int height, MapGrid::ColourAt colourAt) {
    m_width = width;
    m_height = height;
    m_colourAt = std::move(colourAt);
    m_wallMasks.clear();
}

void Level::setCells(float cellSize, float wallHeight) {
    m_cellSize = cellSize;
    m_wallHeight = wallHeight;
    const MapGrid map = grid();
    m_wallMasks.clear();
    m_wallMasks.reserve(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height));
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            m_wallMasks.push_back(isBlack(map.colour(x, y)) ? -1 : map.wallMask(x, y));
        }
    }
}

void Level::clear() {
    m_width = 0;
    m_height = 0;
    m_colourAt = nullptr;
    m_cellSize = 0.0f;
    m_wallHeight = 0.0f;
    m_wallMasks.clear();
}

MapGrid Level::grid() const {
    return MapGrid(m_width, m_height, [this](int x, int y) { return cellColour(x, y); });
}

bool Level::isInMap(int x, int y) const {
    return x >= 0 && y >= 0 && x < m_width && y < m_height;
}

Color4 Level::cellColour(int x, int y) const {
    if (!isInMap(x, y) || !m_colourAt) {
        return Color4(0.0f, 0.0f, 0.0f, 1.0f);
    }
    return m_colourAt(x, y);
}

int Level::cellWallMask(int x, int y) const {
    return grid().wallMask(x, y);
}

int Level::storedWallMask(int x, int y) const {
    if (!isInMap(x, y)) {
        return -1;
    }
    std::size_t index = static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
                        static_cast<std::size_t>(x);
    return index < m_wallMasks.size() ? m_wallMasks[index] : -1;
}

bool Level::findFreeCell(const MapGrid::CellTest& isFree, int& x, int& y) const {
    return grid().findFreeCell(isFree, x, y);
}

Vector3 Level::cellPosition(int x, int y) const {
    return Vector3(static_cast<float>(x) * m_cellSize, 0.0f, static_cast<float>(y) * m_cellSize);
}

void Level::worldToCell(float x, float z, int& cx, int& cz) const {
    cx = toCell(x, m_cellSize);
    cz = toCell(z, m_cellSize);
}

// Only the walls around the player's own cell count. A position outside the
// map is treated as standing in a wall at the nearest border cell, which
// pulls it back inside; the mask list is never read out of range.
bool Level::keepOutOfWalls(Vector3& p) const {
    if (!(m_cellSize > 0.0f) || m_width < 1 || m_height < 1) {
        return false;
    }
    int cx = 0;
    int cz = 0;
    worldToCell(p.x, p.z, cx, cz);
    const int mask = storedWallMask(cx, cz);
    if (!isInMap(cx, cz)) {
        cx = clampInto(cx, m_width);
        cz = clampInto(cz, m_height);
    }

    const float H = m_cellSize * 0.5f;
    const float R = PLAYER_RADIUS;
    const float X = static_cast<float>(cx) * m_cellSize;
    const float Z = static_cast<float>(cz) * m_cellSize;

    if ((mask & 1) != 0 && p.z < Z - H + R) {
        p.z = Z - H + R;
    }
    if ((mask & 2) != 0 && p.x > X + H - R) {
        p.x = X + H - R;
    }
    if ((mask & 4) != 0 && p.z > Z + H - R) {
        p.z = Z + H - R;
    }
    if ((mask & 8) != 0 && p.x < X - H + R) {
        p.x = X - H + R;
    }
    if ((mask & 16) != 0) {
        float a = X + H - R;
        float b = (Z - H) - a;
        if (p.x > a && p.z - p.x < b) {
            ontoRisingLine(p, b);
        }
    }
    if ((mask & 32) != 0) {
        float a = X + H - R;
        float c = (X + H) + (Z + H - R);
        if (p.x > a && p.x + p.z > c) {
            ontoFallingLine(p, c);
        }
    }
    if ((mask & 64) != 0) {
        float a = X - H + R;
        float b = (Z + H) - a;
        if (p.x < a && p.z - p.x > b) {
            ontoRisingLine(p, b);
        }
    }
    if ((mask & 128) != 0) {
        float a = X - H + R;
        float c = (X - H) + (Z - H + R);
        if (p.x < a && p.x + p.z < c) {
            ontoFallingLine(p, c);
        }
    }
    return true;
}
