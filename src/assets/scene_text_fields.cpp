// Field lookup and value conversion of the scene text format.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/scene_text_record.h"
#include "scene/vector.h"

namespace {

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first occurrence of keyword in text, ignoring the case of A to Z.
const char* findIgnoringCase(const char* text, const char* keyword) {
    const std::size_t length = std::strlen(keyword);
    if (length == 0) {
        return text;
    }
    for (const char* start = text; *start != '\0'; ++start) {
        std::size_t i = 0;
        while (i < length && start[i] != '\0' && lowerCase(start[i]) == lowerCase(keyword[i])) {
            ++i;
        }
        if (i == length) {
            return start;
        }
    }
    return nullptr;
}

enum class Conversion { Done, Unreadable, OutOfRange };

// Text that is no number reads as 0, as it always has; a number that does
// not fit, infinity or NaN is refused, since it would reach ids, sizes and
// transforms as a value nobody wrote.
Conversion convertInt(const char* value, int& out) {
    errno = 0;
    const long long read = std::strtoll(value, nullptr, 10);
    if (errno == ERANGE || read < INT32_MIN || read > INT32_MAX) {
        return Conversion::OutOfRange;
    }
    out = static_cast<int>(read);
    return Conversion::Done;
}

Conversion finite(const float* values, int count) {
    for (int i = 0; i < count; ++i) {
        if (!std::isfinite(values[i])) {
            return Conversion::OutOfRange;
        }
    }
    return Conversion::Done;
}

Conversion convertFloat(const char* value, float& out) {
    const float read = static_cast<float>(std::strtod(value, nullptr));
    if (finite(&read, 1) != Conversion::Done) {
        return Conversion::OutOfRange;
    }
    out = read;
    return Conversion::Done;
}

// count is 2, 3 or 4: values separated by commas.
Conversion convertVector(const char* value, int count, float* out) {
    float read[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int converted = 0;
    if (count == 2) {
        converted = std::sscanf(value, "%f,%f", &read[0], &read[1]);
    } else if (count == 3) {
        converted = std::sscanf(value, "%f,%f,%f", &read[0], &read[1], &read[2]);
    } else {
        converted = std::sscanf(value, "%f,%f,%f,%f", &read[0], &read[1], &read[2], &read[3]);
    }
    if (converted != count) {
        return Conversion::Unreadable;
    }
    if (finite(read, count) != Conversion::Done) {
        return Conversion::OutOfRange;
    }
    std::memcpy(out, read, sizeof(float) * static_cast<std::size_t>(count));
    return Conversion::Done;
}

Conversion convert(const char* value, ValueType valueType, void* out) {
    switch (valueType) {
        case ValueType::String: {
            char* text = static_cast<char*>(out);
            text[0] = '\0';
            return std::sscanf(value, "%255s", text) == 1 ? Conversion::Done
                                                          : Conversion::Unreadable;
        }
        case ValueType::Int:
            return convertInt(value, *static_cast<int*>(out));
        case ValueType::Float:
            return convertFloat(value, *static_cast<float*>(out));
        case ValueType::Vec2: {
            auto* v = static_cast<Vector2*>(out);
            float read[2] = {v->x, v->y};
            Conversion result = convertVector(value, 2, read);
            v->x = read[0];
            v->y = read[1];
            return result;
        }
        case ValueType::Vec3: {
            auto* v = static_cast<Vector3*>(out);
            float read[3] = {v->x, v->y, v->z};
            Conversion result = convertVector(value, 3, read);
            v->x = read[0];
            v->y = read[1];
            v->z = read[2];
            return result;
        }
        case ValueType::Vec4:
            return convertVector(value, 4, static_cast<float*>(out));
    }
    return Conversion::Unreadable;
}

}  // namespace

KeywordResult findKeywordValue(const char* keyword, const char* text, ValueType valueType,
                               void* out) {
    if (keyword == nullptr || text == nullptr || out == nullptr) {
        return KeywordResult::Missing;
    }
    const char* found = findIgnoringCase(text, keyword);
    if (found == nullptr) {
        return KeywordResult::Missing;
    }
    const char* value = found + std::strlen(keyword);
    if (*value == ' ') {
        return KeywordResult::Invalid;
    }
    switch (convert(value, valueType, out)) {
        case Conversion::Done:
            break;
        case Conversion::Unreadable:
            return KeywordResult::Invalid;
        case Conversion::OutOfRange:
            return KeywordResult::OutOfRange;
    }
    const char* end = std::strchr(value, ' ');
    if (end != nullptr && findIgnoringCase(end, keyword) != nullptr) {
        return KeywordResult::Duplicate;
    }
    return KeywordResult::Found;
}
