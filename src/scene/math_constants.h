#pragma once

// Angle constants. Every derived value is computed in float from the float PI
// (not from an exact pi), so the rounding matches what the game was tuned with.
// 4 * atan(1) rounded to float is the float nearest pi, written out here so the
// constants exist before any code runs.
constexpr float PI = 3.14159265358979323846f;
constexpr float TWO_PI = PI + PI;
constexpr float HALF_PI = PI * 0.5f;
constexpr float QUARTER_PI = PI * 0.25f;
constexpr float DEG_TO_RAD = PI / 180.0f;
constexpr float RAD_TO_DEG = 180.0f / PI;
constexpr float INV_PI = 1.0f / PI;

// Every length and component test of the vector types uses this bound.
constexpr float VECTOR_EPSILON = 1e-7f;
