#include "scene/scalar_math.h"

#include <cmath>

#include "scene/math_constants.h"

namespace {

// Adding or subtracting a period no longer changes a float this large (or
// an infinite one); the stepping loop would never end, so such angles are
// reduced in one go.
float reduceLargeAngle(float angle, float base, float period) {
    if (!std::isfinite(angle)) {
        return base;
    }
    double offset = std::fmod(static_cast<double>(angle) - base, static_cast<double>(period));
    if (offset < 0.0) {
        offset += period;
    }
    float result = static_cast<float>(base + offset);
    return result >= base + period ? base : result;
}

}  // namespace

float wrapAngle(float angle, bool inDegrees, float base) {
    const float period = inDegrees ? 360.0f : TWO_PI;
    if (angle < base) {
        while (angle < base) {
            float next = angle + period;
            if (next == angle) {
                return reduceLargeAngle(angle, base, period);
            }
            angle = next;
        }
    } else {
        while (angle >= base + period) {
            float next = angle - period;
            if (next == angle) {
                return reduceLargeAngle(angle, base, period);
            }
            angle = next;
        }
    }
    return angle;
}

float mapRangeClamped(float y0, float y1, float x0, float x1, float x) {
    if (x >= x1) {
        return y1;
    }
    if (x <= x0) {
        return y0;
    }
    float slope = (y1 - y0) / (x1 - x0);
    float intercept = y1 - x1 * slope;
    return x * slope + intercept;
}
