#pragma once
#include <cstdint>

namespace datagen {

// Small deterministic generator (SplitMix64): the same seed gives the same
// sequence on every machine, unlike the C library's rand().
class Rng {
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t next();
    float uniform();                  // [0, 1)
    float range(float lo, float hi);  // [lo, hi)
    int rangeInt(int lo, int hi);     // [lo, hi] inclusive
    float gaussian();                 // mean 0, deviation about 1

private:
    uint64_t m_state;
};

uint32_t hash32(uint32_t x, uint32_t y, uint32_t seed);

// Gradient noise in about [-1, 1] that repeats every `period` units on both
// axes, so textures built from it tile.
float tileNoise(float x, float y, int period, uint32_t seed);
// The same with different periods along x and y (for grain and weave).
float tileNoise2(float x, float y, int periodX, int periodY, uint32_t seed);
float tileFbm2(float x, float y, int periodX, int periodY, int octaves, uint32_t seed,
               float gain = 0.5f);
// Sum of octaves, each twice the frequency of the last; the first has `period`
// cells across the tile. Result roughly in [-1, 1].
float tileFbm(float x, float y, int period, int octaves, uint32_t seed, float gain = 0.5f);
// Cellular (Worley) distance to the nearest feature point, tiling with period;
// returns the nearest and second nearest distances in cell units, and a hash
// naming the nearest feature point (the same for every pixel of one cell).
void tileCells(float x, float y, int period, uint32_t seed, float& f1, float& f2,
               uint32_t* nearestId = nullptr);

}  // namespace datagen
