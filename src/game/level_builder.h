#pragma once
#include <string>

#include "assets/texture_manager.h"
#include "scene/node.h"

class GhostSet;
class Geometry;
class Hud;
class Level;
class PickupSet;
class Player;
class Scene;

// Builds a level into the scene while the loading screen shows: the castle's
// cells from the map image, the player's light and start, the HUD, the
// pickups, the weapons, the ghosts and the level's sounds. Each step stops
// the build at its first failure, which it has reported; the caller takes
// back what was made.
class LevelBuilder {
public:
    // The parts a level fills in. gameOverTexture holds the game-over picture;
    // mapFile names a map image to build instead of the castle (empty: the
    // castle).
    struct Parts {
        Scene& scene;
        TextureManager& textures;
        Level& level;
        Player& player;
        GhostSet& ghosts;
        PickupSet& pickups;
        Hud& hud;
        TextureID gameOverTexture;
        const std::string& mapFile;
    };

    explicit LevelBuilder(const Parts& parts);

    bool build();
    // True once the level's sound and music slots are filled.
    bool soundsCreated() const { return m_soundsCreated; }

private:
    // What the cell builder needs: the two level geometries and the five
    // surface textures.
    struct Surfaces {
        Geometry* plane = nullptr;
        Geometry* box = nullptr;
        TextureID ground;
        TextureID carpet;
        TextureID wood;
        TextureID ceiling;
        TextureID wall;
    };

    unsigned readerTextureQuality() const;
    bool createPlayerLight();
    bool loadLevelFiles(Surfaces& surfaces);
    bool loadCastleMap();
    bool loadPlayerMap();
    const char* mapName() const;
    bool readLevelGeometry(Surfaces& surfaces);
    void buildCells(const Surfaces& surfaces);
    void buildCell(int x, int y, const Surfaces& surfaces);
    // A named root-level (or child) transform with a textured shape; the
    // transform's NodeID, or 0 when it could not be added. shapeID receives
    // the shape's NodeID (0 when it could not be added).
    NodeID addCellNode(const char* kind, int x, int y, const Vector3& translation, NodeID parent,
                       Geometry* geometry, TextureID texture, NodeID* shapeID = nullptr);
    bool placePlayer();
    bool createPickups();
    bool createWeaponNodes();
    bool createGhosts();
    bool createGhost(int index);
    void createLevelSounds();
    // The transform of that name, searched from start (null: the whole graph).
    NodeTransform* findTransform(const char* name, Node* start = nullptr) const;

    Scene& m_scene;
    TextureManager& m_textures;
    Level& m_level;
    Player& m_player;
    GhostSet& m_ghosts;
    PickupSet& m_pickups;
    Hud& m_hud;
    TextureID m_gameOverTexture;
    const std::string& m_mapFile;
    bool m_soundsCreated = false;
};
