#pragma once
// Windows virtual-key codes used by the game, and the translation of the
// platform's physical key positions (SDL scancodes) into them.

namespace platform {

enum VirtualKey : int {
    VK_NONE = 0,
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,  // Alt
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_SNAPSHOT = 44,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_0 = 48,
    VK_A = 65,
    VK_LWIN = 91,
    VK_RWIN = 92,
    VK_APPS = 93,
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SEPARATOR = 108,  // also what keypad Enter becomes after translation
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F10 = 121,
    VK_F12 = 123,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,
    VK_LSHIFT = 160,
    VK_RSHIFT = 161,
    VK_LCONTROL = 162,
    VK_RCONTROL = 163,
    VK_LMENU = 164,
    VK_RMENU = 165,
    VK_OEM_1 = 186,       // ;
    VK_OEM_PLUS = 187,    // =
    VK_OEM_COMMA = 188,   // ,
    VK_OEM_MINUS = 189,   // -
    VK_OEM_PERIOD = 190,  // .
    VK_OEM_2 = 191,       // /
    VK_OEM_3 = 192,       // ` ~
    VK_OEM_4 = 219,       // [
    VK_OEM_5 = 220,       // backslash
    VK_OEM_6 = 221,       // ]
    VK_OEM_7 = 222,       // '
};

struct TranslatedKey {
    int keyCode = 0;        // 0 when the key has no virtual-key code
    bool extended = false;  // set for keys that Windows marks as extended
};

// Translates an SDL scancode (a physical key position, US layout) into the
// virtual-key code and extended bit a Windows key message would carry.
// Takes a plain int so callers and tests need no SDL header.
TranslatedKey translateScancode(int scancode);

}  // namespace platform
