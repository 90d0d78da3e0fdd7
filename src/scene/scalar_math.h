#pragma once

// Wraps angle into [base, base + period); the period is 360 in degrees,
// TWO_PI otherwise.
float wrapAngle(float angle, bool inDegrees, float base);

// Maps x from [x0, x1] onto [y0, y1], clamped at both ends (x >= x1 wins).
float mapRangeClamped(float y0, float y1, float x0, float x1, float x);

// Uniform random numbers between two bounds given in either order, both
// ends included. They draw 15-bit integers from the C library generator,
// which start-up seeds.
int randomInt(int a, int b);
float randomFloat(float a, float b);

// The same mappings for a given 15-bit draw r (0..32767).
int randomIntFromDraw(int r, int a, int b);
float randomFloatFromDraw(int r, float a, float b);
