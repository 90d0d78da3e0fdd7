#pragma once
// The platform layer's own event type: SDL events are translated into this at
// the boundary, so nothing above src/platform sees SDL. Key codes are Windows
// virtual-key codes (the codes the control file stores and the key-name table
// names); mouse buttons are 1 (left), 2 (right) and 4 (middle). Game
// controllers ("pads") report their buttons and axes in the layout of SDL's
// controller database, under our own names below.

namespace platform {

// A pad's buttons by place, whatever they are labelled: A is the bottom face
// button, B the right one. The numbers are stored in recordings and pad.cfg.
enum class PadButton : int {
    None = -1,
    A = 0,
    B = 1,
    X = 2,
    Y = 3,
    Back = 4,
    Guide = 5,
    Start = 6,
    LeftStick = 7,
    RightStick = 8,
    LeftShoulder = 9,
    RightShoulder = 10,
    DPadUp = 11,
    DPadDown = 12,
    DPadLeft = 13,
    DPadRight = 14,
    // The triggers are axes; the input layer treats a trigger pulled past
    // half way as these buttons.
    LeftTrigger = 15,
    RightTrigger = 16,
    Count = 17,
};

// Sticks from -32768 to 32767 (x positive right, y positive down, as SDL
// reports them); triggers from 0 to 32767. Stored in recordings.
enum class PadAxis : int {
    LeftX = 0,
    LeftY = 1,
    RightX = 2,
    RightY = 3,
    LeftTrigger = 4,
    RightTrigger = 5,
    Count = 6,
};

// One notch of the mouse wheel in Event::wheel, the unit the weapon wheel
// counts in.
constexpr int WHEEL_NOTCH = 120;

enum class EventType {
    None,
    KeyDown,  // an ordinary key went down (Alt not held)
    KeyUp,
    SysKeyDown,  // Alt, F10, or any key pressed while Alt is held
    SysKeyUp,
    MouseDown,
    MouseUp,
    MouseWheel,
    MouseMove,
    Activated,       // the window gained the keyboard focus
    Deactivated,     // the window lost the keyboard focus
    CloseRequested,  // the user asked to close the window
    Quit,            // the application should end
    PadButtonDown,   // pad, padButton
    PadButtonUp,
    PadAxisMoved,  // pad, padAxis, axisValue
    PadAdded,      // pad: a controller was connected and opened
    PadRemoved,    // pad: a controller was disconnected
};

struct Event {
    EventType type = EventType::None;
    int keyCode = 0;        // virtual-key code for key events, 0 when unknown
    bool extended = false;  // the extended-key bit (keypad Enter, right Ctrl/Alt, ...)
    int button = 0;         // 1, 2 or 4 for mouse button events
    int wheel = 0;          // wheel delta, WHEEL_NOTCH per notch, positive away from the user
    // Mouse position in pixels of the drawn picture, from the client area's
    // top-left corner (on high-DPI screens the window system's units are scaled).
    int x = 0;
    int y = 0;
    int dx = 0;  // mouse motion since the last move event, in pixels (also in relative mode)
    int dy = 0;
    int pad = -1;  // for pad events: the pad's instance number, unique while the program runs
    PadButton padButton = PadButton::None;
    PadAxis padAxis = PadAxis::LeftX;
    int axisValue = 0;
};

// Takes the next waiting event without blocking; false when none is waiting.
bool pollEvent(Event& event);

// A mouse coordinate in the window system's units as a pixel of a drawable
// that has drawablePixels where the window has windowUnits (more on high-DPI
// screens); unchanged when either is unknown.
int toDrawablePixels(int position, int windowUnits, int drawablePixels);

// Sleeps until something arrives for the window, at most milliseconds; the
// event stays queued for pollEvent.
void waitForEvents(int milliseconds);

// Queues a Quit event (what destroying the window does on other platforms).
void postQuit();

}  // namespace platform
