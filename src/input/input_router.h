#pragma once
#include <array>
#include <functional>
#include <map>

#include "app/frame_handler.h"
#include "app/game_state.h"

// What the routed keyboard, mouse and pad events reach above the input layer.
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
    // Mouse wheel on the screens (platform::WHEEL_NOTCH per notch, positive
    // away from the user), for a list that scrolls.
    std::function<void(int wheel)> menuWheel;
    // Look offsets during play (already scaled by the sensitivity).
    std::function<void(float dx, float dy)> mouseLook;
    // Whether the game object exists; when empty, asks the window.
    std::function<bool()> sceneExists;
    // A pad button pressed on a screen (outside play, name entry and
    // binding); the left stick arrives as the D-pad. True when the screen
    // took it; otherwise it comes as the key a keyboard would give.
    std::function<bool(platform::PadButton)> menuPad;
    // A pad button pressed on the game-over screen; true when taken.
    std::function<bool(platform::PadButton)> nameEntryPad;
    // While the options screen waits for a key (waitingForKey), a pad
    // button pressed is bound instead.
    std::function<void(platform::PadButton)> bindPadButton;
};

// Turns the window's keyboard, mouse and pad events into key and pad state
// in GameSettings and routes the rest by the current GameState.
//
// Pads: during play their state is only kept (play polls it) and Start
// pauses. On the screens a press goes to the hooks above and, when no hook
// takes it, becomes the key a keyboard player would press (D-pad: arrows,
// A: Enter, B: Escape, Start: Enter), held until the button is let go; the
// left stick is a D-pad there. Losing a pad during play pauses the game.
class InputRouter : public InputListener {
public:
    InputRouter() = default;
    explicit InputRouter(InputHooks hooks) : m_hooks(std::move(hooks)) {}

    InputHooks& hooks() { return m_hooks; }
    bool handleInput(const platform::Event& event) override;

    // The codes the game stores for keys with the extended bit: keypad Enter
    // is 108, right Ctrl 163 and right Alt 165.
    static int translateKeyCode(int keyCode, bool extended);

    // The left stick on the screens: pushed past STICK_PRESS of its travel
    // it presses the D-pad's button in that direction once; another press
    // waits until that direction is back under STICK_RELEASE.
    static constexpr float STICK_PRESS = 0.5f;
    static constexpr float STICK_RELEASE = 0.3f;

private:
    bool binding() const;
    void onKeyDown(int code);
    bool onSysKeyDown(int code);
    void onMouseDown(int button);
    void onMouseUp(int button);
    void onMouseMove(const platform::Event& event);

    static constexpr int PAD_BUTTON_COUNT = static_cast<int>(platform::PadButton::Count);
    // What the router did with one pad's presses on the screens.
    struct PadScreenState {
        int pad = -1;  // The key (or mouse button) each held button gave; 0: none.
        std::array<int, PAD_BUTTON_COUNT> heldKey{};
        // The D-pad direction the left stick holds, and the key it gave.
        platform::PadButton stickDirection = platform::PadButton::None;
        int stickKey = 0;
    };
    void onPadEvent(const platform::Event& event);
    PadScreenState& padScreenState(int pad);
    void releasePadScreenState(int pad);
    void onPadPress(platform::PadButton button, GameState state, bool fromStick, int& heldKey);
    void followStick(PadScreenState& pad, GameState state);
    void pressKey(int code);
    void releaseKey(int& code);

    InputHooks m_hooks;
    // By pad, for the pads the pad state knows (so bounded as it is); a
    // map, so an entry stays where it is while hooks run.
    std::map<int, PadScreenState> m_padScreens;
};
