#include "scene/vector.h"

#include <cmath>

#include "scene/math_constants.h"

namespace {

// Shared by both vector sizes. With otherIsUnit the caller vouches for the
// other length, so the result is not clamped.
float cosineFrom(float dotProduct, float lenA, float lenB, bool otherIsUnit) {
    if (lenA <= VECTOR_EPSILON) {
        return 0.0f;
    }
    if (otherIsUnit) {
        return dotProduct / lenA;
    }
    if (lenB <= VECTOR_EPSILON) {
        return 0.0f;
    }
    float c = dotProduct / (lenB * lenA);
    if (c > 1.0f) {
        return 1.0f;
    }
    if (c < -1.0f) {
        return -1.0f;
    }
    return c;
}

}  // namespace

Vector2 Vector2::divide(float f) const {
    if (-VECTOR_EPSILON < f && f < VECTOR_EPSILON) {
        return Vector2();
    }
    float r = 1.0f / f;
    return Vector2(x * r, y * r);
}

float Vector2::length() const {
    float sum = x * x + y * y;
    return std::sqrt(sum);
}

float Vector2::cosAngle(const Vector2& other, bool otherIsUnit) const {
    return cosineFrom(dot(other), length(), otherIsUnit ? 1.0f : other.length(), otherIsUnit);
}

float Vector3::length() const {
    float sum = lengthSquared();
    return std::sqrt(sum);
}

void Vector3::normalize() {
    float len = length();
    if (len > VECTOR_EPSILON) {
        float r = 1.0f / len;
        x *= r;
        y *= r;
        z *= r;
    } else {
        x = y = z = 0.0f;
    }
}

float Vector3::cosAngle(const Vector3& other, bool otherIsUnit) const {
    return cosineFrom(dot(other), length(), otherIsUnit ? 1.0f : other.length(), otherIsUnit);
}

bool Vector3::isZero() const {
    auto inside = [](float v) { return -VECTOR_EPSILON < v && v < VECTOR_EPSILON; };
    return inside(x) && inside(y) && inside(z);
}
