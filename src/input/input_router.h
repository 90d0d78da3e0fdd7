#pragma once
#include <functional>

#include "app/frame_handler.h"
#include "app/game_state.h"

// What the routed keyboard and mouse events reach above the input layer.
// The game fills these in once its screens, GUI and player exist; an empty
// hook simply drops the event.
struct InputHooks {
    // The options screen waits for a key to bind to the selected action.
    std::function<bool()> waitingForKey;
    std::function<void(int keyCode)> bindKey;
    // Name entry on the game-over screen; true when it took the key.
    std::function<bool(int keyCode, bool shift)> nameEntryKey;
    // GUI processing of a mouse event: hit test in the current state's group,
    // then the screens' handler (a hover, or a click when clicked is true).
    std::function<void(bool clicked)> guiMouseEvent;
    // The left button went up; the GUI manager releases the state's group.
    std::function<void(GameState state)> guiButtonReleased;
    // Mouse wheel during play: weapon selection.
    std::function<void(int wheel)> weaponWheel;
    // Look offsets during play (already scaled by the sensitivity).
    std::function<void(float dx, float dy)> mouseLook;
    // Whether the game object exists; when empty, asks the window.
    std::function<bool()> sceneExists;
};

// Turns the window's keyboard and mouse events into key state in
// GameSettings and routes the rest by the current GameState.
class InputRouter : public InputListener {
public:
    InputRouter() = default;
    explicit InputRouter(InputHooks hooks) : m_hooks(std::move(hooks)) {}

    InputHooks& hooks() { return m_hooks; }
    bool handleInput(const platform::Event& event) override;

    // The codes the game stores for keys with the extended bit: keypad Enter
    // is 108, right Ctrl 163 and right Alt 165.
    static int translateKeyCode(int keyCode, bool extended);

private:
    bool binding() const;
    void onKeyDown(int code);
    bool onSysKeyDown(int code);
    void onMouseDown(int button);
    void onMouseUp(int button);
    void onMouseMove(const platform::Event& event);

    InputHooks m_hooks;
};
