#pragma once
// Helpers shared by the record parsers of the scene text reader.
#include "assets/scene_text.h"

namespace scene_text {

struct TextValue {
    char s[SCENE_TEXT_STRING_SIZE] = {};
};
struct ColourValue {
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

enum class FieldRead {
    TAKEN,    // found: the value was replaced
    DEFAULT,  // missing or invalid: the value is unchanged
    STOP,     // given twice: the message is shown and the record ends
};

// Shows the message for a keyword given twice on one line.
void reportDuplicate(const char* keyword, int lineNumber);
// The text from offset on, or its end for a shorter text.
const char* textFrom(const char* line, std::size_t offset);

inline void* valuePointer(TextValue& value) {
    return value.s;
}
inline void* valuePointer(ColourValue& value) {
    return value.v;
}
template <typename T>
void* valuePointer(T& value) {
    return &value;
}

template <typename T>
FieldRead readOptional(const char* keyword, const char* text, ValueType type, T& value,
                       int lineNumber) {
    T read = value;
    KeywordResult result = findKeywordValue(keyword, text, type, valuePointer(read));
    if (result == FOUND) {
        value = read;
        return FieldRead::TAKEN;
    }
    if (result == DUPLICATE) {
        reportDuplicate(keyword, lineNumber);
        return FieldRead::STOP;
    }
    return FieldRead::DEFAULT;
}

// A flag is written as an integer and set above 0.5.
inline FieldRead readFlag(const char* keyword, const char* text, bool& flag, int lineNumber) {
    int value = flag ? 1 : 0;
    FieldRead result = readOptional(keyword, text, VALUE_INT, value, lineNumber);
    if (result == FieldRead::TAKEN) {
        flag = value > 0.5;
    }
    return result;
}

}  // namespace scene_text
