#pragma once
#include <cstdint>

// The game's one random number generator. Start-up seeds it once (a recorded
// game with the seed it was recorded with), and everything that needs chance
// draws from here, so a recording replays the same ghosts and the same menu.

void seedRandom(std::uint32_t seed);

// Uniform random numbers between two bounds given in either order, both
// ends included, from a 15-bit draw.
int randomInt(int a, int b);
float randomFloat(float a, float b);

// A full-width draw scaled into [0, 1].
float randomFraction();

// The mappings of randomInt and randomFloat for a given 15-bit draw r (0..32767).
int randomIntFromDraw(int r, int a, int b);
float randomFloatFromDraw(int r, float a, float b);
