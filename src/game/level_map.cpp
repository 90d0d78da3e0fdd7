// The map cells: geometry lookup, colours, neighbour wall masks, free cells.
#include <cstring>

#include "game/game_scene.h"
#include "game/map_colours.h"
#include "game/pickups.h"
#include "scene/geometry.h"
#include "scene/scalar_math.h"

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

Geometry* GameScene::findGeometry(const char* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    for (std::size_t i = 1; i <= geometryCount(); ++i) {
        Geometry* g = geometry(static_cast<std::uint32_t>(i));
        if (g != nullptr && g->name() == name) {
            return g;
        }
    }
    return nullptr;
}

bool GameScene::isInMap(int x, int y) const {
    return x >= 0 && y >= 0 && x < mapWidth && y < mapHeight;
}

Color4 GameScene::cellColour(int x, int y) const {
    if (!isInMap(x, y)) {
        return Color4(0.0f, 0.0f, 0.0f, 1.0f);
    }
    return m_textures.getTexturePixel(mapTexture.group, mapTexture.id, x, y);
}

int GameScene::cellWallMask(int x, int y) const {
    int mask = 0;
    for (const Neighbour& n : NEIGHBOURS) {
        if (isBlack(cellColour(x + n.dx, y + n.dy))) {
            mask += n.bit;
        }
    }
    return mask;
}

// A cell is free when it is open and no pickup lies on it (the pickups that
// exist so far, whether lying or waiting to come back).
bool GameScene::isFreeCell(int x, int y) const {
    if (x < 1 || y < 1 || isBlack(cellColour(x, y))) {
        return false;
    }
    const Vector3 cell(static_cast<float>(x) * cellSize, 0.0f, static_cast<float>(y) * cellSize);
    const PickupObject* pickups[3] = {arrowsPickup.get(), energyPickup.get(), healthPickup.get()};
    for (const PickupObject* pickup : pickups) {
        if (pickup != nullptr && pickup->getPosition().subtract(cell).lengthSquared() < 1.0f) {
            return false;
        }
    }
    return true;
}

bool GameScene::findFreeCell(int& x, int& y) const {
    for (int attempt = 0; attempt < FREE_CELL_TRIES; ++attempt) {
        x = randomInt(1, mapWidth - 1);
        y = randomInt(1, mapHeight - 1);
        if (isFreeCell(x, y)) {
            return true;
        }
    }
    for (int row = 1; row < mapHeight; ++row) {
        for (int column = 1; column < mapWidth; ++column) {
            if (isFreeCell(column, row)) {
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
