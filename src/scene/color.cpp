#include "scene/color.h"

namespace {

float clampUnit(float v) {
    if (v >= 1.0f) {
        return 1.0f;
    }
    if (v <= 0.0f) {
        return 0.0f;
    }
    return v;
}

float fromByteScale(int v) {
    if (v < 1) {
        return 0.0f;
    }
    if (v >= 255) {
        return 1.0f;
    }
    return static_cast<float>(v) / 255.0f;
}

}  // namespace

Color4::Color4(float red, float green, float blue, float alpha)
    : r(clampUnit(red)), g(clampUnit(green)), b(clampUnit(blue)), a(clampUnit(alpha)) {}

Color4::Color4(int red, int green, int blue, int alpha)
    : r(fromByteScale(red)),
      g(fromByteScale(green)),
      b(fromByteScale(blue)),
      a(fromByteScale(alpha)) {}
