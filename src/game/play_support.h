#pragma once
#include <cmath>

#include "app/frame_timer.h"
#include "app/game_window.h"
#include "game/sound_slots.h"
#include "scene/animation.h"
#include "scene/math_constants.h"
#include "scene/vector.h"

// What the ghosts, weapons and pickups share about the play step: its
// length, the game's clock, and the sound slots. Tests and tools
// run these objects without a window or an audio device, so both may be
// missing: the clock then stands at 0 and every sound call does nothing.

constexpr float PLAY_STEP = static_cast<float>(FixedStepper::STEP_LENGTH);

inline float playTimeNow() {
    GameWindow* window = gameWindow();
    return window ? static_cast<float>(window->totalTime()) : 0.0f;
}

// The angle in degrees between a vector and a unit vector. A zero-length
// vector gives 90 (the engine's cosine of it is 0), and rounding that takes
// the cosine just past +-1 is clamped, so the result is never NaN.
inline float angleToUnitDegrees(const Vector3& v, const Vector3& unit) {
    float c = v.cosAngle(unit, true);
    if (!(c <= 1.0f)) {
        c = std::isnan(c) ? 0.0f : 1.0f;
    } else if (c < -1.0f) {
        c = -1.0f;
    }
    return std::acos(c) * RAD_TO_DEG;
}

// One step of a weapon moving between its held and its put-away position
// (toAway: from held to away); start begins the move. True once it is there.
inline bool stepHoldMove(Tween3& tween, const Vector3& held, const Vector3& away, bool toAway,
                         bool start) {
    if (start) {
        if (toAway) {
            tween.start(held, away, -1.0f, true);
        } else {
            tween.start(away, held, -1.0f, true);
        }
    }
    tween.step();
    return tween.finished();
}
