#pragma once

// An RGBA colour with channels in 0..1.
struct Color4 {
    float r;
    float g;
    float b;
    float a;

    // Each channel is clamped into 0..1.
    Color4(float red, float green, float blue, float alpha);
    // Channels on the 0..255 scale: below 1 gives 0, 255 and above gives 1.
    Color4(int red, int green, int blue, int alpha);

    const float* data() const { return &r; }
    bool equals(float red, float green, float blue, float alpha) const {
        return r == red && g == green && b == blue && a == alpha;
    }
};
