#include "noise.h"

#include <cmath>

namespace datagen {

uint64_t Rng::next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform() {
    return static_cast<float>(next() >> 40) / static_cast<float>(1ull << 24);
}

float Rng::range(float lo, float hi) {
    return lo + (hi - lo) * uniform();
}

int Rng::rangeInt(int lo, int hi) {
    uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(next() % span);
}

float Rng::gaussian() {
    float s = 0.0f;
    for (int i = 0; i < 4; ++i)
        s += uniform();
    return (s - 2.0f) * 1.7320508f;
}

uint32_t hash32(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B1u ^ x * 0x85EBCA77u ^ y * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

namespace {

int wrap(int v, int period) {
    v %= period;
    return v < 0 ? v + period : v;
}

float gradDot(int ix, int iy, float dx, float dy, int periodX, int periodY, uint32_t seed) {
    uint32_t h = hash32(static_cast<uint32_t>(wrap(ix, periodX)),
                        static_cast<uint32_t>(wrap(iy, periodY)), seed);
    // Eight gradient directions from the hash.
    static const float gx[8] = {1, -1, 0, 0, 0.7071f, -0.7071f, 0.7071f, -0.7071f};
    static const float gy[8] = {0, 0, 1, -1, 0.7071f, 0.7071f, -0.7071f, -0.7071f};
    int k = static_cast<int>(h & 7u);
    return gx[k] * dx + gy[k] * dy;
}

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

}  // namespace

float tileNoise(float x, float y, int period, uint32_t seed) {
    return tileNoise2(x, y, period, period, seed);
}

float tileNoise2(float x, float y, int period, int periodY, uint32_t seed) {
    int ix = static_cast<int>(std::floor(x));
    int iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    float n00 = gradDot(ix, iy, fx, fy, period, periodY, seed);
    float n10 = gradDot(ix + 1, iy, fx - 1, fy, period, periodY, seed);
    float n01 = gradDot(ix, iy + 1, fx, fy - 1, period, periodY, seed);
    float n11 = gradDot(ix + 1, iy + 1, fx - 1, fy - 1, period, periodY, seed);
    float u = fade(fx), v = fade(fy);
    float a = n00 + (n10 - n00) * u;
    float b = n01 + (n11 - n01) * u;
    return (a + (b - a) * v) * 1.41f;
}

float tileFbm(float x, float y, int period, int octaves, uint32_t seed, float gain) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    float fx = x * period, fy = y * period;
    int p = period;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * tileNoise(fx, fy, p, seed + static_cast<uint32_t>(o) * 1013u);
        norm += amp;
        amp *= gain;
        fx *= 2.0f;
        fy *= 2.0f;
        p *= 2;
    }
    return sum / norm;
}

float tileFbm2(float x, float y, int periodX, int periodY, int octaves, uint32_t seed, float gain) {
    float sum = 0.0f, amp = 1.0f, norm = 0.0f;
    float fx = x * periodX, fy = y * periodY;
    int px = periodX, py = periodY;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * tileNoise2(fx, fy, px, py, seed + static_cast<uint32_t>(o) * 1013u);
        norm += amp;
        amp *= gain;
        fx *= 2.0f;
        fy *= 2.0f;
        px *= 2;
        py *= 2;
    }
    return sum / norm;
}

void tileCells(float x, float y, int period, uint32_t seed, float& f1, float& f2,
               uint32_t* nearestId) {
    float px = x * period, py = y * period;
    int ix = static_cast<int>(std::floor(px));
    int iy = static_cast<int>(std::floor(py));
    f1 = f2 = 1e9f;
    // A 5 x 5 neighbourhood: with fully jittered points the second nearest
    // can lie two cells away, and missing it leaves creases inside cells.
    for (int j = -2; j <= 2; ++j) {
        for (int i = -2; i <= 2; ++i) {
            int cx = ix + i, cy = iy + j;
            uint32_t h = hash32(static_cast<uint32_t>(wrap(cx, period)),
                                static_cast<uint32_t>(wrap(cy, period)), seed);
            // Points keep away from their cell's border, so no cell becomes a sliver.
            float fx = cx + 0.15f + 0.7f * (h & 0xFFFF) / 65535.0f;
            float fy = cy + 0.15f + 0.7f * (h >> 16) / 65535.0f;
            float d = std::hypot(px - fx, py - fy);
            if (d < f1) {
                f2 = f1;
                f1 = d;
                if (nearestId)
                    *nearestId = h;
            } else if (d < f2) {
                f2 = d;
            }
        }
    }
}

}  // namespace datagen
