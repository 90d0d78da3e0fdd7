#pragma once
#include <vector>

#include "assets/texture_manager.h"
#include "game/map_grid.h"
#include "scene/color.h"
#include "scene/vector.h"

// The pixels of a map image loaded as a texture that keeps its pixels.
MapGrid::ColourAt textureColours(const TextureManager& textures, TextureID map);

// The castle's grid as play sees it: the map image's cells laid out on the
// floor with their centres on the multiples of the cell size, the walls
// around each cell, and keeping the player out of them. The scene nodes the
// cells are drawn with belong to the scene graph; the level only knows
// where they stand.
class Level {
public:
    // How far the player keeps from a wall.
    static constexpr float PLAYER_RADIUS = 1.25f;

    // The map image: its size and the colour of each pixel (asked only
    // inside it).
    void setMap(int width, int height, MapGrid::ColourAt colourAt);
    // The size of a cell and of a low passage; remembers every cell's walls
    // for the collisions of play.
    void setCells(float cellSize, float wallHeight);
    // No map and no cells, as between games.
    void clear();

    int width() const { return m_width; }
    int height() const { return m_height; }
    float cellSize() const { return m_cellSize; }
    float wallHeight() const { return m_wallHeight; }
    float worldWidth() const { return static_cast<float>(m_width) * m_cellSize; }
    float worldDepth() const { return static_cast<float>(m_height) * m_cellSize; }

    // True when (x, y) lies in the map.
    bool isInMap(int x, int y) const;
    // The map pixel of a cell; outside the map, opaque black (a wall).
    Color4 cellColour(int x, int y) const;
    // The walls among a cell's eight neighbours, from the map (see MapGrid).
    int cellWallMask(int x, int y) const;
    // The walls collisions use: every bit for a wall cell; -1 also outside
    // the map and before setCells.
    int storedWallMask(int x, int y) const;
    // A random open cell that also passes isFree (null: any); false, with
    // (0, 0), only when there is none.
    bool findFreeCell(const MapGrid::CellTest& isFree, int& x, int& y) const;
    // The world position of a cell's centre on the floor.
    Vector3 cellPosition(int x, int y) const;
    void worldToCell(float x, float z, int& cx, int& cz) const;

    // Moves a position standing against the walls around its cell back to
    // the player's distance from them. False, leaving it alone, when the
    // level has no cells.
    bool keepOutOfWalls(Vector3& position) const;

private:
    MapGrid grid() const;

    int m_width = 0;
    int m_height = 0;
    MapGrid::ColourAt m_colourAt;
    float m_cellSize = 0.0f;
    float m_wallHeight = 0.0f;
    std::vector<int> m_wallMasks;
};
