#pragma once

// Two- and three-component float vectors. Results are float results: every
// intermediate value is rounded to float when it is stored.

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;

    Vector2() = default;
    Vector2(float ax, float ay) : x(ax), y(ay) {}

    Vector2 add(const Vector2& other) const { return Vector2(x + other.x, y + other.y); }
    Vector2 subtract(const Vector2& other) const { return Vector2(x - other.x, y - other.y); }
    Vector2 scale(const float& f) const { return Vector2(x * f, y * f); }
    // (0, 0) for a divisor within VECTOR_EPSILON of zero.
    Vector2 divide(float f) const;
    float dot(const Vector2& other) const { return x * other.x + y * other.y; }
    float length() const;
    float cosAngle(const Vector2& other, bool otherIsUnit) const;
};

struct Vector3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    Vector3() = default;
    Vector3(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    Vector3 add(const Vector3& other) const {
        return Vector3(x + other.x, y + other.y, z + other.z);
    }
    Vector3 subtract(const Vector3& other) const {
        return Vector3(x - other.x, y - other.y, z - other.z);
    }
    float dot(const Vector3& other) const { return x * other.x + y * other.y + z * other.z; }
    float lengthSquared() const { return x * x + y * y + z * z; }
    float length() const;
    // Becomes (0, 0, 0) when the length is at or below VECTOR_EPSILON.
    void normalize();
    // The cosine of the angle to other; see the source for the clamping rules.
    float cosAngle(const Vector3& other, bool otherIsUnit) const;
    // True only when every component lies strictly inside +-VECTOR_EPSILON.
    bool isZero() const;

    bool operator==(const Vector3& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const Vector3& o) const { return !(*this == o); }
};

inline Vector3 cross(const Vector3& a, const Vector3& b) {
    return Vector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
