#pragma once
#include <algorithm>

#include "scene/vector.h"

// An axis-aligned box; a new one is empty and grows to take in points.
struct Bounds3 {
    Vector3 lo{0.0f, 0.0f, 0.0f};
    Vector3 hi{0.0f, 0.0f, 0.0f};
    bool empty = true;

    void add(const Vector3& p) {
        if (empty) {
            lo = hi = p;
            empty = false;
            return;
        }
        lo = Vector3(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = Vector3(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
    void add(const Bounds3& other) {
        if (!other.empty) {
            add(other.lo);
            add(other.hi);
        }
    }
};
