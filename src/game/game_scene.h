#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_handler.h"
#include "assets/texture_manager.h"
#include "game/high_scores.h"
#include "game/player.h"
#include "game/screens/screens.h"
#include "gui/gui_manager.h"
#include "scene/animation.h"
#include "scene/scene.h"

class GameWindow;
struct InputHooks;
class Ghost;
class PickupArrows;
class PickupEnergy;
class PickupHealth;
class PickupObject;
class NodeTransform;

// The game object: the engine's scene container plus everything the game
// keeps beside it (textures, GUI, player, level, ghosts, pickups and the
// screens). The main loop drives it through FrameHandler; the scene
// reaches its textures and releases content through SceneHooks; the render
// pass asks it for the eye and the weapon in hand through PlayView.
//
// One class, several files, each about one thing:
//   game_scene.cpp      construction, the frame glue, hooks, input wiring,
//                       leaving a game
//   screens/            the screens around play, one file each (Screens)
//   level_build.cpp     buildLevel and its steps
//   level_map.cpp       map cells: colour tests, wall masks, free cells
//   play_step.cpp       updatePlay, mouseLook
//   play_hits.cpp       the mace and arrow hit tests, collecting pickups
//   collision.cpp       collideWithWalls, worldToCell
//   play_animations.cpp updateAnimations
//   hud.cpp             the play HUD and the radar
class GameScene : public Scene, public FrameHandler, public SceneHooks, public PlayView {
public:
    explicit GameScene(GameWindow& window);
    ~GameScene() override;

    // FrameHandler.
    bool setUpScreens() override { return m_screens.setUp(); }
    void setFrameTime(float seconds) override { frameTime = seconds; }
    void menuStep() override { m_screens.step(); }
    void handleStateKeys() override { m_screens.keys(); }
    void playStep() override { updatePlay(); }
    void drawScreenOverlay() override { m_screens.drawOverlay(); }
    void drawMouseCursor() override;
    bool buildLevel() override;
    void updateAnimations(float stepFraction) override;
    void draw3D() override;
    void drawPlayOverlay() override;
    void skipIntro() override { m_screens.skipIntro(); }
    void fullscreenChanged(bool fullscreen) override {
        setFullscreenLift(fullscreen ? 32.0f : 0.0f);
    }

    // SceneHooks.
    ShapeTexture* findTexture(int group, std::uint32_t id) override;
    void releaseContentGroup(int group) override;

    // PlayView.
    Vector3 eyePosition() const override;
    Vector3 lookAtPoint() const override;
    void drawWeapon() override;

    // The routes of input events into the screens, GUI and player, for the
    // input router.
    void connectInput(InputHooks& hooks);

    GameWindow& window() { return m_window; }
    TextureManager& textures() { return m_textures; }
    GUIManager& gui() { return m_gui; }
    Player& player() { return m_player; }
    HighScoreTable& highScores() { return m_highScores; }
    Screens& screens() { return m_screens; }

    // Back from a game to the menus: the level, its sounds and the play
    // controls go, and the menu music plays.
    void leaveGame();

    // ---- Level ----
    Geometry* findGeometry(const char* name) const;
    int cellWallMask(int x, int y) const;
    // A random free cell (never row or column 0, never under a lying pickup);
    // false, with (0, 0), only when the map has none at all.
    bool findFreeCell(int& x, int& y) const;
    // True when (x, y) lies in the map.
    bool isInMap(int x, int y) const;
    // The map pixel of a cell; outside the map, opaque black (a wall).
    Color4 cellColour(int x, int y) const;

    // ---- Play ----
    void updatePlay();
    void mouseLook(float dx, float dy);
    void collideWithWalls();
    void worldToCell(float x, float z, int& cx, int& cz) const;

    // ---- HUD ----
    bool setupPlayHud();
    void drawRadar();
    void updateRadarBlip(GUI_ID guiId, const Vector3& forward, const Vector3& right,
                         const Vector2& centre);

    // ---- Level state ----
    TextureID mapTexture;
    int mapWidth = 0;
    int mapHeight = 0;
    float cellSize = 0.0f;
    float wallHeight = 0.0f;
    float playerRadius = 1.25f;
    float radarScale = 0.0f;
    std::vector<int> cellWallMasks;
    std::unique_ptr<PickupHealth> healthPickup;
    std::unique_ptr<PickupEnergy> energyPickup;
    std::unique_ptr<PickupArrows> arrowsPickup;
    std::vector<std::unique_ptr<Ghost>> ghosts;
    bool footstepsPlaying = false;
    bool radarOn = true;
    // Set once the level has filled its sound and music slots.
    bool levelSoundsCreated = false;

    // ---- HUD state ----
    TextureID largeNumbersTexture;
    FontID largeNumbersFont;
    float radarSweepAngle = 0.0f;
    // 32 in fullscreen, where the score panel and the radar sit higher.
    float fullscreenLift = 0.0f;
    // Sets fullscreenLift and moves the lifted HUD pictures that exist by the change.
    void setFullscreenLift(float lift);
    // The time of the drawn frame (0 on the first frame after a state change).
    float frameTime = 0.0f;

private:
    // Private steps of the files above are declared here, each group under
    // the name of its file.

    // game_scene.cpp
    void releaseLevelObjects();

    // level_build.cpp
    // What the cell builder needs: the two level geometries and the five
    // surface textures.
    struct LevelParts {
        Geometry* plane = nullptr;
        Geometry* box = nullptr;
        TextureID ground;
        TextureID carpet;
        TextureID wood;
        TextureID ceiling;
        TextureID wall;
    };
    unsigned readerTextureQuality() const;
    // Every step of buildLevel; false at the first that fails.
    bool buildLevelParts();
    bool createPlayerLight();
    bool loadLevelFiles(LevelParts& parts);
    bool readLevelGeometry(LevelParts& parts);
    void buildCells(const LevelParts& parts);
    void buildCell(int x, int y, const LevelParts& parts);
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

    // level_map.cpp
    // Open, not in row or column 0, and no pickup on it.
    bool isFreeCell(int x, int y) const;

    // play_step.cpp
    void movePlayer();
    void updateGhosts();
    void endGame();

    // play_hits.cpp
    // The mace against the ghosts, in a step in which it strikes.
    void maceHitTest();
    // Every arrow in flight against the map cells and the ghosts.
    void arrowHitTest();
    // Each pickup spins one step and is taken when the player stands on it.
    void collectPickups();

    // hud.cpp
    bool createHudImage(GUI_ID id, GameState state, TextureID texture, float x, float y,
                        float width, float height, int px, int py);
    bool createHudNumber(GUI_ID id, float x, float y);
    void slideRadarPanel();
    // The radar's centre in the design space, from where its panel stands.
    Vector2 radarCentre();
    void drawRadarSweep();
    // The position of what a blip shows; false when it is not in the level.
    bool radarObject(GUI_ID guiId, Vector3& position) const;

    GameWindow& m_window;
    TextureManager m_textures;
    GUIManager m_gui;
    Player m_player;
    HighScoreTable m_highScores;
    Screens m_screens;
    // The HUD's game-over picture is the screens' instructions picture; the
    // HUD reads it under its old name until it asks screens().art() itself.
    const TextureID& instructionsTexture = m_screens.art().instructions;
};
