#include "scene/random.h"

#include <cstdint>
#include <cstdlib>

// The C library's generator is kept, so seeds recorded in existing
// recordings give the same sequence.

void seedRandom(std::uint32_t seed) {
    std::srand(seed);
}

namespace {

int draw15Bits() {
    return std::rand() & 0x7FFF;
}

}  // namespace

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

float randomFraction() {
    return static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX);
}
