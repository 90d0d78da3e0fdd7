#include "input/pad_sticks.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float STICK_FULL_TRAVEL = 32767.0f;
// The look curve is LOOK_LINEAR_SHARE * m + (1 - LOOK_LINEAR_SHARE) * m^3:
// the cube gives slow, precise aiming for most of the travel, and the linear
// share keeps a small push from doing nothing, as a pure m^2 or m^3 would.
constexpr float LOOK_LINEAR_SHARE = 0.25f;

struct Polar {
    float x;  // direction, a unit vector (0, 0 when not pushed)
    float y;
    float length;  // past the dead zone: 0 at its edge, 1 at full travel
};

Polar shaped(int rawX, int rawY) {
    const float x = stickFraction(rawX);
    const float y = -stickFraction(rawY);
    const float length = std::sqrt(x * x + y * y);
    if (!(length > STICK_DEAD_ZONE)) {
        return {0.0f, 0.0f, 0.0f};
    }
    const float scaled = std::min((length - STICK_DEAD_ZONE) / (1.0f - STICK_DEAD_ZONE), 1.0f);
    return {x / length, y / length, scaled};
}

}  // namespace

float stickFraction(int raw) {
    return std::clamp(static_cast<float>(raw) / STICK_FULL_TRAVEL, -1.0f, 1.0f);
}

bool isOutsideDeadZone(int rawX, int rawY) {
    return shaped(rawX, rawY).length > 0.0f;
}

StickPosition shapeMoveStick(int rawX, int rawY) {
    const Polar p = shaped(rawX, rawY);
    return {p.x * p.length, p.y * p.length};
}

StickPosition shapeLookStick(int rawX, int rawY) {
    const Polar p = shaped(rawX, rawY);
    const float m = p.length;
    const float curved = LOOK_LINEAR_SHARE * m + (1.0f - LOOK_LINEAR_SHARE) * m * m * m;
    return {p.x * curved, p.y * curved};
}
