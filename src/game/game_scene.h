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
#include "game/pickup_set.h"
#include "game/play_rules.h"
#include "game/player.h"
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
    bool setUpScreens() override { return setupScreens(); }
    void setFrameTime(float seconds) override { m_frameTime = seconds; }
    void menuStep() override;
    void handleStateKeys() override;
    void playStep() override { updatePlay(); }
    void drawScreenOverlay() override;
    void drawMouseCursor() override;
    bool buildLevel() override;
    void updateAnimations(float stepFraction) override;
    void draw3D() override;
    void drawPlayOverlay() override;
    void skipIntro() override { leaveIntro(); }
    void fullscreenChanged(bool fullscreen) override { m_hud.setFullscreen(fullscreen); }

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
    Level& level() { return m_level; }
    GhostSet& ghosts() { return m_ghosts; }
    PickupSet& pickups() { return m_pickups; }
    Hud& hud() { return m_hud; }
    PlayRules& play() { return m_play; }

    // ---- Screens ----
    bool setupScreens();
    void onGuiEvent(GUI_ID guiId, bool clicked);
    bool nameEntryKey(int code, bool shift);
    // Completes a rebinding with the key or button pressed.
    void bindKey(int code);
    void refreshControlList();
    void leaveGame();
    // The mouse moved or the left button went down outside play.
    void guiMouseEvent(bool clicked);

    // ---- Play ----
    // One fixed step of play, while the state is Playing.
    void updatePlay();
    void mouseLook(float dx, float dy) { m_play.look(dx, dy); }

    // ---- Screen state ----
    Tween bobbingTween;
    Tween pulseTween;
    TextureID guiTexture;
    TextureID instructionsTexture;
    TextureID largeGraphicsTexture;
    FontID scoreFont;
    FontID smallFont;
    std::string typedName;
    bool newHighScore = false;
    bool waitingForKey = false;
    std::string versionText;

private:
    // Private steps of the files above are declared here, each group under
    // the name of its file.

    // screens_setup.cpp
    bool createMenuSounds();
    bool loadMenuTextures();
    bool setupIntroScreen();
    bool setupMouseCursor();
    bool setupMainMenu();
    bool setupHighScoreScreen();
    bool setupOptionsScreen();
    bool setupBindingList();
    bool setupMouseSettings();
    bool setupPauseMenu();
    bool setupLoadingScreens();
    // A button with one picture of GUI.tga for all four looks and the hover sound.
    bool createMenuButton(GUI_ID id, GameState state, float x, float y, float width, float height,
                          int px, int py);
    bool createMenuImage(GUI_ID id, GameState state, float x, float y, float width, float height,
                         TextureID texture, int px, int py, int orientation = 0);
    bool createWhiteText(GUI_ID id, GameState state, FontID font, float x, float y,
                         const char* text);
    void showHighScores(const std::vector<HighScoreEntry>& entries);
    // screens_input.cpp
    void introKeys();
    void leaveIntro();
    void mainMenuKeys();
    void optionsKeys();
    void highScoreKeys();
    void pauseMenuKeys();
    void startRebinding();
    // screens_draw.cpp
    void drawMainMenuOverlay();
    void drawReadyOverlay();
    void drawGameOverOverlay();

    // Ends the game when the player has died; once only.
    void endGame();
    // The level's objects point into the scene graph, so they go before it.
    void releaseLevelObjects();

    GameWindow& m_window;
    TextureManager m_textures;
    GUIManager m_gui;
    Player m_player;
    HighScoreTable m_highScores;
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
