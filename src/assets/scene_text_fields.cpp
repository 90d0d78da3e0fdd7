// Field lookup and value conversion of the scene text format.
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

bool convert(const char* value, ValueType valueType, void* out) {
    switch (valueType) {
        case ValueType::String: {
            char* text = static_cast<char*>(out);
            text[0] = '\0';
            return std::sscanf(value, "%255s", text) == 1;
        }
        case ValueType::Int:
            *static_cast<int*>(out) = std::atoi(value);
            return true;
        case ValueType::Float:
            *static_cast<float*>(out) = static_cast<float>(std::atof(value));
            return true;
        case ValueType::Vec2: {
            auto* v = static_cast<Vector2*>(out);
            return std::sscanf(value, "%f,%f", &v->x, &v->y) == 2;
        }
        case ValueType::Vec3: {
            auto* v = static_cast<Vector3*>(out);
            return std::sscanf(value, "%f,%f,%f", &v->x, &v->y, &v->z) == 3;
        }
        case ValueType::Vec4: {
            auto* c = static_cast<float*>(out);
            return std::sscanf(value, "%f,%f,%f,%f", &c[0], &c[1], &c[2], &c[3]) == 4;
        }
    }
    return false;
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
    if (!convert(value, valueType, out)) {
        return KeywordResult::Invalid;
    }
    const char* end = std::strchr(value, ' ');
    if (end != nullptr && findIgnoringCase(end, keyword) != nullptr) {
        return KeywordResult::Duplicate;
    }
    return KeywordResult::Found;
}
