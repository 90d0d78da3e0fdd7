#include "scene/scalar_math.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "scene/math_constants.h"

namespace {

int draw15Bits() {
    return std::rand() & 0x7FFF;
}

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

int randomIntFromDraw(int r, int a, int b) {
    int lo = a < b ? a : b;
    int hi = a < b ? b : a;
    // 64-bit so that wide ranges cannot overflow; same result otherwise.
    std::int64_t span = static_cast<std::int64_t>(hi) - lo + 1;
    return static_cast<int>(lo + (static_cast<std::int64_t>(r) * span) / 32768);
}

float randomFloatFromDraw(int r, float a, float b) {
    float lo = a < b ? a : b;
    float hi = a < b ? b : a;
    return static_cast<float>(lo + (hi - lo) * (r / 32767.0));
}

int randomInt(int a, int b) {
    return randomIntFromDraw(draw15Bits(), a, b);
}

float randomFloat(float a, float b) {
    return randomFloatFromDraw(draw15Bits(), a, b);
}
