#pragma once
// PRIVATE HEADER: only src/assets (and its tests, tools and benchmarks) include this.
// Field lookup and the helpers shared by the record parsers of the scene
// text reader.
#include "assets/scene_text.h"

// Results of findKeywordValue.
enum class KeywordResult {
    Found,
    Duplicate,  // the value was converted, but the keyword appears again after it
    Missing,
    Invalid,
    OutOfRange,  // a number too large for its type, infinity or NaN: out is unchanged
};

// How a field value is converted, and what out points to for each type:
// a char[SCENE_TEXT_STRING_SIZE] for strings, int, float, Vector2, Vector3,
// and float[4] for colours (red, green, blue, alpha).
enum class ValueType { String, Int, Float, Vec2, Vec3, Vec4 };

// Looks for keyword (matched without regard to case) in text and converts
// the value that follows it.
KeywordResult findKeywordValue(const char* keyword, const char* text, ValueType valueType,
                               void* out);

namespace scene_text {

struct TextValue {
    char s[SCENE_TEXT_STRING_SIZE] = {};
};
struct ColourValue {
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

enum class FieldRead {
    Taken,    // found: the value was replaced
    Default,  // missing or invalid: the value is unchanged
    Stop,     // given twice or out of range: the message is shown and the record ends
};

// Shows the message for a keyword given twice on one line.
void reportDuplicate(const char* keyword, int lineNumber);
// Shows the message for a number that does not fit, infinity or NaN.
void reportOutOfRange(const char* keyword, int lineNumber);
// The text from offset on, or its end for a shorter text.
const char* textFrom(const char* line, std::size_t offset);
// Whether line starts with keyword.
bool startsWith(const char* line, const char* keyword);

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
    if (result == KeywordResult::Found) {
        value = read;
        return FieldRead::Taken;
    }
    if (result == KeywordResult::Duplicate) {
        reportDuplicate(keyword, lineNumber);
        return FieldRead::Stop;
    }
    if (result == KeywordResult::OutOfRange) {
        reportOutOfRange(keyword, lineNumber);
        return FieldRead::Stop;
    }
    return FieldRead::Default;
}

// A flag is written as an integer and set above 0.5.
inline FieldRead readFlag(const char* keyword, const char* text, bool& flag, int lineNumber) {
    int value = flag ? 1 : 0;
    FieldRead result = readOptional(keyword, text, ValueType::Int, value, lineNumber);
    if (result == FieldRead::Taken) {
        flag = value > 0.5;
    }
    return result;
}

}  // namespace scene_text
