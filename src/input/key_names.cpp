#include "input/key_names.h"

#include <cstdio>

namespace {

const char* fixedName(int code) {
    switch (code) {
        case 1:
            return "[L Mouse]";
        case 2:
            return "[R Mouse]";
        case 4:
            return "[M Mouse]";
        case 8:
            return "[Backspace]";
        case 9:
            return "[Tab]";
        case 13:
            return "[Enter]";
        case 16:
            return "[Shift]";
        case 17:
            return "[L Control]";
        case 18:
            return "[L Alt]";
        case 19:
            return "[Pause]";
        case 20:
            return "[Caps Lock]";
        case 32:
            return "[Space]";
        case 33:
            return "[Page Up]";
        case 34:
            return "[Page Down]";
        case 35:
            return "[End]";
        case 36:
            return "[Home]";
        case 37:
            return "[Left]";
        case 38:
            return "[Up]";
        case 39:
            return "[Right]";
        case 40:
            return "[Down]";
        case 44:
            return "[Print Screen]";
        case 45:
            return "[Insert]";
        case 46:
            return "[Delete]";
        case 106:
            return "[Num *]";
        case 107:
            return "[Num +]";
        case 108:
            return "[Num Enter]";
        case 109:
            return "[Num -]";
        case 110:
            return "[Num .]";
        case 111:
            return "[Num /]";
        case 144:
            return "[Num Lock]";
        case 145:
            return "[Scroll Lock]";
        case 163:
            return "[R Control]";
        case 165:
            return "[R Alt]";
        case 186:
            return ";";
        case 187:
            return "=";
        case 188:
            return ",";
        case 189:
            return "-";
        case 190:
            return ".";
        case 191:
            return "/";
        case 192:
            return "~";
        case 219:
            return "[";
        case 220:
            return "\\";
        case 221:
            return "]";
        case 222:
            return "'";
        default:
            return nullptr;
    }
}

}  // namespace

std::string keyName(int code) {
    if (code < 1 || code > 222) {
        return "[none]";
    }
    if (const char* name = fixedName(code)) {
        return name;
    }
    char text[16];
    if ((code >= 48 && code <= 57) || (code >= 65 && code <= 90)) {
        std::snprintf(text, sizeof text, "%c", code);
        return text;
    }
    if (code >= 96 && code <= 105) {
        std::snprintf(text, sizeof text, "[Num%c]", code - 48);
        return text;
    }
    if (code >= 112 && code <= 123) {
        std::snprintf(text, sizeof text, "[F%d]", code - 111);
        return text;
    }
    return "[none]";
}
