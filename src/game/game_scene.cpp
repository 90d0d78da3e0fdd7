#include "game/game_scene.h"

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "input/input_router.h"

GameScene::GameScene(GameWindow& window)
    : m_window(window),
      m_gui(m_textures),
      m_player(0.5f),
      m_screens(ScreenContext{window, m_gui, m_textures, m_player, m_highScores, m_maps,
                              [this] { leaveGame(); }}),
      m_hud(m_gui, m_textures, m_player, m_ghosts, m_pickups),
      m_play(m_player, m_level, m_ghosts, m_pickups, [this] { endGame(); }) {
    // Without a window (tests) the screens are laid out for 800 x 600.
    const bool sized = window.windowWidth() > 0 && window.windowHeight() > 0;
    m_gui.setScreenSize(sized ? window.windowWidth() : 800, sized ? window.windowHeight() : 600);
    setHooks(this);
    setPlayView(this);
    m_window.setStateListener([this](GameState state) {
        if (state == GameState::Paused) {
            // Where play stopped, for whoever reads the trace.
            const Vector3 at = m_player.getPosition();
            const Vector3 ahead = m_player.getDirection();
            traceEvent("paused at %.2f %.2f facing %.3f %.3f", at.x, at.z, ahead.x, ahead.z);
        }
        m_screens.stateEntered(state);
    });
}

GameScene::~GameScene() {
    m_window.setStateListener(nullptr);
    // The game objects point into the scene graph, and the scene's release
    // calls back into the texture manager and the GUI: everything goes while
    // those members still exist.
    m_ghosts.clear();
    m_pickups.clear();
    m_player.reset();
    clearScene(1);
    clearScene(0);
    setPlayView(nullptr);
    setHooks(nullptr);
}

void GameScene::drawMouseCursor() {
    m_gui.drawMouseCursor();
}

void GameScene::draw3D() {
    renderScene();
}

ShapeTexture* GameScene::findTexture(int group, std::uint32_t id) {
    Texture* texture = m_textures.getTexture(group, id);
    return texture != nullptr ? &texture->surface() : nullptr;
}

void GameScene::releaseContentGroup(int group) {
    m_textures.releaseGroup(group);
    if (group == 0) {
        m_gui.clearAll();
    } else {
        m_gui.clearGroup(GameState::Playing);
        m_gui.clearGroup(GameState::GameOver);
    }
}

Vector3 GameScene::eyePosition() const {
    return m_player.getPosition();
}

Vector3 GameScene::lookAtPoint() const {
    return m_player.getTarget();
}

void GameScene::drawWeapon() {
    m_player.renderWeapon();
}

void GameScene::connectInput(InputHooks& hooks) {
    hooks.waitingForKey = [this] { return m_screens.waitingForKey(); };
    hooks.bindKey = [this](int code) { m_screens.bindKey(code); };
    hooks.nameEntryKey = [this](int code, bool shift) {
        return m_screens.nameEntryKey(code, shift);
    };
    hooks.menuPad = [this](platform::PadButton button) { return m_screens.menuPad(button); };
    hooks.nameEntryPad = [this](platform::PadButton button) {
        return m_screens.nameEntryPad(button);
    };
    hooks.bindPadButton = [this](platform::PadButton button) { m_screens.bindPadButton(button); };
    hooks.guiMouseEvent = [this](bool clicked) { m_screens.guiMouseEvent(clicked); };
    hooks.guiButtonReleased = [this](GameState state) { m_gui.releaseGroup(state); };
    hooks.weaponWheel = [this](int) { m_player.switchWeapon(); };
    hooks.menuWheel = [this](int wheel) { m_screens.wheel(wheel); };
    hooks.mouseLook = [this](float dx, float dy) { mouseLook(dx, dy); };
    hooks.sceneExists = [] { return true; };
}
