#pragma once

// Wraps angle into [base, base + period); the period is 360 in degrees,
// TWO_PI otherwise.
float wrapAngle(float angle, bool inDegrees, float base);

// Maps x from [x0, x1] onto [y0, y1], clamped at both ends (x >= x1 wins).
float mapRangeClamped(float y0, float y1, float x0, float x1, float x);
