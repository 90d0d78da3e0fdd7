// The map cells: geometry lookup, colours, neighbour wall masks, free cells.
// The analysis itself lives in MapGrid, which knows nothing of the scene.
#include "game/game_scene.h"
#include "game/map_colours.h"
#include "game/map_grid.h"
#include "game/pickups.h"
#include "scene/geometry.h"

namespace {

MapGrid gridOf(const GameScene& scene) {
    return MapGrid(scene.mapWidth, scene.mapHeight,
                   [&scene](int x, int y) { return scene.cellColour(x, y); });
}

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
    return gridOf(*this).wallMask(x, y);
}

// A cell is free when it is open and no pickup lies on it (the pickups that
// exist so far, whether lying or waiting to come back).
bool GameScene::isFreeCell(int x, int y) const {
    if (!gridOf(*this).isOpen(x, y)) {
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
    return gridOf(*this).findFreeCell([this](int cx, int cy) { return isFreeCell(cx, cy); }, x, y);
}
