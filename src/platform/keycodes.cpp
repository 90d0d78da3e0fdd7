#include "platform/keycodes.h"

#include <SDL.h>

namespace platform {
namespace {

TranslatedKey plain(int code) {
    return TranslatedKey{code, false};
}
TranslatedKey extendedKey(int code) {
    return TranslatedKey{code, true};
}

TranslatedKey translateLetterOrDigit(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return plain(VK_A + (scancode - SDL_SCANCODE_A));
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return plain(VK_0 + 1 + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) {
        return plain(VK_0);
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12) {
        return plain(VK_F1 + (scancode - SDL_SCANCODE_F1));
    }
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return plain(VK_NUMPAD0 + 1 + (scancode - SDL_SCANCODE_KP_1));
    }
    if (scancode == SDL_SCANCODE_KP_0) {
        return plain(VK_NUMPAD0);
    }
    return plain(VK_NONE);
}

}  // namespace

TranslatedKey translateScancode(int scancode) {
    switch (scancode) {
        case SDL_SCANCODE_BACKSPACE:
            return plain(VK_BACK);
        case SDL_SCANCODE_TAB:
            return plain(VK_TAB);
        case SDL_SCANCODE_RETURN:
            return plain(VK_RETURN);
        case SDL_SCANCODE_KP_ENTER:
            return extendedKey(VK_RETURN);
        case SDL_SCANCODE_LSHIFT:
            return plain(VK_SHIFT);
        case SDL_SCANCODE_RSHIFT:
            return plain(VK_SHIFT);
        case SDL_SCANCODE_LCTRL:
            return plain(VK_CONTROL);
        case SDL_SCANCODE_RCTRL:
            return extendedKey(VK_CONTROL);
        case SDL_SCANCODE_LALT:
            return plain(VK_MENU);
        case SDL_SCANCODE_RALT:
            return extendedKey(VK_MENU);
        case SDL_SCANCODE_PAUSE:
            return plain(VK_PAUSE);
        case SDL_SCANCODE_CAPSLOCK:
            return plain(VK_CAPITAL);
        case SDL_SCANCODE_ESCAPE:
            return plain(VK_ESCAPE);
        case SDL_SCANCODE_SPACE:
            return plain(VK_SPACE);
        case SDL_SCANCODE_PAGEUP:
            return extendedKey(VK_PRIOR);
        case SDL_SCANCODE_PAGEDOWN:
            return extendedKey(VK_NEXT);
        case SDL_SCANCODE_END:
            return extendedKey(VK_END);
        case SDL_SCANCODE_HOME:
            return extendedKey(VK_HOME);
        case SDL_SCANCODE_LEFT:
            return extendedKey(VK_LEFT);
        case SDL_SCANCODE_UP:
            return extendedKey(VK_UP);
        case SDL_SCANCODE_RIGHT:
            return extendedKey(VK_RIGHT);
        case SDL_SCANCODE_DOWN:
            return extendedKey(VK_DOWN);
        case SDL_SCANCODE_PRINTSCREEN:
            return extendedKey(VK_SNAPSHOT);
        case SDL_SCANCODE_INSERT:
            return extendedKey(VK_INSERT);
        case SDL_SCANCODE_DELETE:
            return extendedKey(VK_DELETE);
        case SDL_SCANCODE_LGUI:
            return extendedKey(VK_LWIN);
        case SDL_SCANCODE_RGUI:
            return extendedKey(VK_RWIN);
        case SDL_SCANCODE_APPLICATION:
            return extendedKey(VK_APPS);
        case SDL_SCANCODE_KP_MULTIPLY:
            return plain(VK_MULTIPLY);
        case SDL_SCANCODE_KP_PLUS:
            return plain(VK_ADD);
        case SDL_SCANCODE_KP_MINUS:
            return plain(VK_SUBTRACT);
        case SDL_SCANCODE_KP_PERIOD:
            return plain(VK_DECIMAL);
        case SDL_SCANCODE_KP_DIVIDE:
            return extendedKey(VK_DIVIDE);
        case SDL_SCANCODE_NUMLOCKCLEAR:
            return extendedKey(VK_NUMLOCK);
        case SDL_SCANCODE_SCROLLLOCK:
            return plain(VK_SCROLL);
        case SDL_SCANCODE_SEMICOLON:
            return plain(VK_OEM_1);
        case SDL_SCANCODE_EQUALS:
            return plain(VK_OEM_PLUS);
        case SDL_SCANCODE_COMMA:
            return plain(VK_OEM_COMMA);
        case SDL_SCANCODE_MINUS:
            return plain(VK_OEM_MINUS);
        case SDL_SCANCODE_PERIOD:
            return plain(VK_OEM_PERIOD);
        case SDL_SCANCODE_SLASH:
            return plain(VK_OEM_2);
        case SDL_SCANCODE_GRAVE:
            return plain(VK_OEM_3);
        case SDL_SCANCODE_LEFTBRACKET:
            return plain(VK_OEM_4);
        case SDL_SCANCODE_BACKSLASH:
            return plain(VK_OEM_5);
        case SDL_SCANCODE_NONUSBACKSLASH:
            return plain(VK_OEM_5);
        case SDL_SCANCODE_RIGHTBRACKET:
            return plain(VK_OEM_6);
        case SDL_SCANCODE_APOSTROPHE:
            return plain(VK_OEM_7);
        default:
            return translateLetterOrDigit(scancode);
    }
}

}  // namespace platform
