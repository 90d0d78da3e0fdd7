// Keeping the player out of the walls of the map.
#include <cmath>
#include <cstddef>

#include "game/game_scene.h"

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

void GameScene::worldToCell(float x, float z, int& cx, int& cz) const {
    cx = toCell(x, cellSize);
    cz = toCell(z, cellSize);
}

// Only the walls around the player's own cell count. A position outside the
// map is treated as standing in a wall at the nearest border cell, which
// pulls it back inside; the mask list is never read out of range.
void GameScene::collideWithWalls() {
    if (!(cellSize > 0.0f) || mapWidth < 1 || mapHeight < 1) {
        return;
    }
    Vector3 p = m_player.getPosition();
    int cx = 0;
    int cz = 0;
    worldToCell(p.x, p.z, cx, cz);
    int mask = -1;
    if (isInMap(cx, cz)) {
        std::size_t index = static_cast<std::size_t>(cz) * static_cast<std::size_t>(mapWidth) +
                            static_cast<std::size_t>(cx);
        if (index < cellWallMasks.size()) {
            mask = cellWallMasks[index];
        }
    } else {
        cx = clampInto(cx, mapWidth);
        cz = clampInto(cz, mapHeight);
    }

    const float H = cellSize * 0.5f;
    const float R = playerRadius;
    const float X = static_cast<float>(cx) * cellSize;
    const float Z = static_cast<float>(cz) * cellSize;

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
    m_player.setPosition(p.x, p.y, p.z);
}
