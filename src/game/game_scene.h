#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_handler.h"
#include "assets/texture_manager.h"
#include "game/ghost_set.h"
#include "game/high_scores.h"
#include "game/hud.h"
#include "game/level.h"
#include "game/map_selection.h"
#include "game/pickup_set.h"
#include "game/play_rules.h"
#include "game/player.h"
#include "game/screens/screens.h"
#include "gui/gui_manager.h"
#include "scene/animation.h"
#include "scene/scene.h"

class GameWindow;
struct InputHooks;

// The game object: the engine's scene container and the parts of the game
// beside it, each keeping its own state: the texture and GUI managers, the
// player, the level's grid, its ghosts and pickups, the HUD, the rules of a
// play step and the screens. The main loop drives it through FrameHandler;
// the scene reaches its textures and releases content through SceneHooks;
// the render pass asks it for the eye and the weapon in hand through
// PlayView. It builds a level (through LevelBuilder), runs play, ends the
// game and leaves it; everything else it hands to the part concerned.
//
//   game_scene.cpp      construction, the frame glue, hooks, input wiring
//   game_play.cpp       building, playing, ending and leaving a level
class GameScene : public Scene, public FrameHandler, public SceneHooks, public PlayView {
public:
    explicit GameScene(GameWindow& window);
    ~GameScene() override;

    // FrameHandler.
    bool setUpScreens() override { return m_screens.setUp(); }
    void setFrameTime(float seconds) override { m_frameTime = seconds; }
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
    // The GUI and HUD follow the window's drawable size; the HUD keeps to its
    // corners through its anchors, so going fullscreen needs nothing more.
    void windowResized(int width, int height) override { m_gui.setScreenSize(width, height); }

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

    // The map the next level is built from, and what the choice offers.
    MapSelection& maps() { return m_maps; }

    GameWindow& window() { return m_window; }
    TextureManager& textures() { return m_textures; }
    GUIManager& gui() { return m_gui; }
    Player& player() { return m_player; }
    HighScoreTable& highScores() { return m_highScores; }
    Level& level() { return m_level; }
    GhostSet& ghosts() { return m_ghosts; }
    PickupSet& pickups() { return m_pickups; }
    Hud& hud() { return m_hud; }
    PlayRules& play() { return m_play; }
    Screens& screens() { return m_screens; }

    // Back from a game to the menus: the level, its sounds and the play
    // controls go, and the menu music plays.
    void leaveGame();

    // ---- Play ----
    // One fixed step of play, while the state is Playing.
    void updatePlay();
    void mouseLook(float dx, float dy) { m_play.look(dx, dy); }

private:
    // Ends the game when the player has died; once only.
    void endGame();
    // The level's objects point into the scene graph, so they go before it.
    void releaseLevelObjects();

    GameWindow& m_window;
    TextureManager m_textures;
    GUIManager m_gui;
    Player m_player;
    HighScoreTable m_highScores;
    MapSelection m_maps;
    Screens m_screens;
    Level m_level;
    GhostSet m_ghosts;
    PickupSet m_pickups;
    Hud m_hud;
    PlayRules m_play;
    // The time of the drawn frame (0 on the first frame after a state change).
    float m_frameTime = 0.0f;
    // Set once the level has filled its sound and music slots.
    bool m_levelSoundsCreated = false;
};
