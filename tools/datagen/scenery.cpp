#include "scenery.h"

#include <cmath>

#include "noise.h"

namespace datagen {

void drawNightSky(Image& image, const PixelRect& r, unsigned seed) {
    for (int y = r.y; y < r.y + r.h; ++y) {
        float t = static_cast<float>(y - r.y) / r.h;
        Rgba c = mix(rgb(8, 8, 22), rgb(40, 30, 62), t);
        for (int x = r.x; x < r.x + r.w; ++x) {
            float n = tileFbm(x / 512.0f, y / 512.0f, 4, 4, seed) * 0.5f + 0.5f;
            Rgba cloud = mix(c, rgb(70, 64, 96), smoothstep(0.55f, 0.85f, n) * 0.5f);
            image.blend(x, y, cloud);
        }
    }
    Rng rng(seed);
    int stars = r.w * r.h / 600;
    for (int i = 0; i < stars; ++i) {
        float x = r.x + rng.uniform() * r.w, y = r.y + rng.uniform() * r.h * 0.7f;
        float b = rng.range(0.3f, 1.0f);
        float rad = rng.uniform() < 0.1f ? 1.2f : 0.6f;
        image.fillShape(
            static_cast<int>(x) - 2, static_cast<int>(y) - 2, static_cast<int>(x) + 3,
            static_cast<int>(y) + 3,
            [=](float px, float py) { return sdCircle(px, py, x, y, rad); },
            Rgba{0.9f, 0.9f, 1.0f, b});
    }
}

void drawMoon(Image& image, float cx, float cy, float radius) {
    int pad = static_cast<int>(radius * 2.5f);
    Image glow(2 * pad, 2 * pad);
    glow.fillShape(
        0, 0, 2 * pad, 2 * pad,
        [=](float x, float y) { return sdCircle(x, y, pad, pad, radius * 1.2f); },
        rgb(200, 210, 255, 0.5f));
    glow.blur(static_cast<int>(radius * 0.35f) + 1);
    image.draw(glow, static_cast<int>(cx) - pad, static_cast<int>(cy) - pad);
    image.fillShape(
        static_cast<int>(cx - radius - 1), static_cast<int>(cy - radius - 1),
        static_cast<int>(cx + radius + 2), static_cast<int>(cy + radius + 2),
        [=](float x, float y) { return sdCircle(x, y, cx, cy, radius); },
        [=](float x, float y) {
            float n = tileFbm(x / 128.0f, y / 128.0f, 8, 4, 77u);
            float d = std::hypot(x - cx + radius * 0.3f, y - cy + radius * 0.3f) / radius;
            Rgba c = mix(rgb(250, 246, 225), rgb(200, 196, 180), clamp01(0.5f + n));
            return scaled(c, 1.05f - 0.25f * clamp01(d - 0.6f));
        });
}

void drawCastle(Image& image, const PixelRect& r, float baseY, float s, unsigned seed) {
    const Rgba stone = rgb(10, 8, 16);
    // The hill.
    image.fillShape(
        r.x, static_cast<int>(baseY - 20 * s), r.x + r.w, r.y + r.h,
        [=](float x, float y) {
            float u = (x - r.x) / r.w;
            float hill =
                baseY + 18 * s * (1.0f - std::sin(u * 3.14159f)) + 4 * s * std::sin(u * 23.0f);
            return hill - y;
        },
        stone);
    Rng rng(seed);
    float cx = r.x + r.w * 0.5f;
    auto box = [&](float x0, float x1, float top) {
        image.fillShape(
            static_cast<int>(x0) - 1, static_cast<int>(top) - 1, static_cast<int>(x1) + 2,
            static_cast<int>(baseY + 4 * s),
            [=](float x, float y) {
                return std::max(std::max(x0 - x, x - x1), std::max(top - y, y - baseY - 6 * s));
            },
            stone);
        // Crenellations along the top.
        float step = 6.0f * s;
        for (float x = x0; x + step * 0.5f <= x1; x += step) {
            image.fillShape(
                static_cast<int>(x) - 1, static_cast<int>(top - 5 * s) - 1,
                static_cast<int>(x + step * 0.55f) + 2, static_cast<int>(top) + 1,
                [=](float px, float py) {
                    return std::max(std::max(x - px, px - x - step * 0.55f),
                                    std::max(top - 5 * s - py, py - top - 0.5f));
                },
                stone);
        }
    };
    auto roof = [&](float x0, float x1, float top, float height) {
        float mid = (x0 + x1) * 0.5f, half = (x1 - x0) * 0.5f + 2 * s;
        image.fillShape(
            static_cast<int>(x0 - 3 * s), static_cast<int>(top - height),
            static_cast<int>(x1 + 3 * s) + 1, static_cast<int>(top) + 1,
            [=](float x, float y) {
                float t = (y - (top - height)) / height;  // 0 at the tip
                return std::max(std::fabs(x - mid) - half * t, y - top);
            },
            stone);
    };
    auto window = [&](float x, float y, float w, float h) {
        Rgba lit = rng.uniform() < 0.7f ? rgb(255, 190, 90) : rgb(120, 80, 40);
        image.fillShape(
            static_cast<int>(x) - 1, static_cast<int>(y - w) - 1, static_cast<int>(x + w) + 2,
            static_cast<int>(y + h) + 2,
            [=](float px, float py) {
                float arch = std::hypot(px - x - w * 0.5f, py - y) - w * 0.5f;
                float body =
                    std::max(std::fabs(px - x - w * 0.5f) - w * 0.5f, std::max(y - py, py - y - h));
                return std::min(arch, body);
            },
            lit);
    };
    // Curtain wall, keep and towers.
    box(cx - 70 * s, cx + 70 * s, baseY - 38 * s);
    box(cx - 24 * s, cx + 24 * s, baseY - 80 * s);
    box(cx - 92 * s, cx - 68 * s, baseY - 62 * s);
    box(cx + 68 * s, cx + 92 * s, baseY - 58 * s);
    box(cx - 8 * s, cx + 8 * s, baseY - 108 * s);
    roof(cx - 92 * s, cx - 68 * s, baseY - 66 * s, 30 * s);
    roof(cx + 68 * s, cx + 92 * s, baseY - 62 * s, 26 * s);
    roof(cx - 8 * s, cx + 8 * s, baseY - 112 * s, 34 * s);
    window(cx - 14 * s, baseY - 66 * s, 5 * s, 9 * s);
    window(cx + 8 * s, baseY - 66 * s, 5 * s, 9 * s);
    window(cx - 3 * s, baseY - 96 * s, 5 * s, 8 * s);
    window(cx - 83 * s, baseY - 50 * s, 5 * s, 8 * s);
    window(cx + 77 * s, baseY - 46 * s, 5 * s, 8 * s);
    window(cx - 45 * s, baseY - 26 * s, 4 * s, 6 * s);
    window(cx + 40 * s, baseY - 26 * s, 4 * s, 6 * s);
    // The gate.
    image.fillShape(
        static_cast<int>(cx - 10 * s), static_cast<int>(baseY - 30 * s),
        static_cast<int>(cx + 10 * s) + 1, static_cast<int>(baseY) + 1,
        [=](float x, float y) {
            float arch = std::hypot(x - cx, y - (baseY - 16 * s)) - 8 * s;
            float body =
                std::max(std::fabs(x - cx) - 8 * s, std::max(baseY - 16 * s - y, y - baseY));
            return std::min(arch, body);
        },
        rgb(60, 36, 20));
}

void drawFog(Image& image, const PixelRect& r, float fromY, unsigned seed) {
    for (int y = static_cast<int>(fromY); y < r.y + r.h; ++y) {
        float t = (y - fromY) / (r.y + r.h - fromY);
        for (int x = r.x; x < r.x + r.w; ++x) {
            float n = tileFbm(x / 256.0f, y / 128.0f, 4, 4, seed) * 0.5f + 0.5f;
            float a = smoothstep(0.0f, 1.0f, t) * (0.25f + 0.5f * n);
            image.blend(x, y, rgb(150, 160, 190), a * 0.7f);
        }
    }
}

void fadeEdges(Image& image, const PixelRect& r, float margin) {
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = r.x; x < r.x + r.w; ++x) {
            float d = std::min(std::min(x - r.x + 0.5f, r.x + r.w - x - 0.5f),
                               std::min(y - r.y + 0.5f, r.y + r.h - y - 0.5f));
            if (image.contains(x, y))
                image.at(x, y).a *= smoothstep(0.0f, margin, d);
        }
    }
}

void drawCandle(Image& image, float x, float y, float w, float h) {
    // Wax body with a little drip and shading across.
    image.fillShape(
        static_cast<int>(x - w), static_cast<int>(y - h), static_cast<int>(x + w) + 1,
        static_cast<int>(y) + 1,
        [=](float px, float py) {
            return sdRoundBox(px, py, x, y - h * 0.5f, w * 0.5f, h * 0.5f, w * 0.15f);
        },
        [=](float px, float) {
            float u = (px - x) / (w * 0.5f);
            return scaled(rgb(236, 226, 196), 0.7f + 0.35f * (1.0f - u * u) - 0.15f * u);
        });
    float fy = y - h - w * 0.9f;
    int pad = static_cast<int>(w * 4);
    Image halo(2 * pad, 2 * pad);
    halo.fillShape(
        0, 0, 2 * pad, 2 * pad,
        [=](float px, float py) { return sdCircle(px, py, pad, pad, w * 1.3f); },
        rgb(255, 170, 60, 0.9f));
    halo.blur(static_cast<int>(w * 0.9f) + 1);
    image.draw(halo, static_cast<int>(x) - pad, static_cast<int>(fy) - pad);
    auto flame = [=](float px, float py) {
        float v = (py - fy) / (w * 1.1f);  // -1 top .. 1 bottom
        float half =
            w * 0.32f * std::sqrt(clamp01(1.0f - v * v)) * (v > 0 ? 1.0f : 0.8f + 0.2f * (1 + v));
        return std::max(std::fabs(px - x) - half, std::fabs(py - fy) - w * 1.1f);
    };
    image.fillShape(static_cast<int>(x - w), static_cast<int>(fy - w * 1.3f),
                    static_cast<int>(x + w) + 1, static_cast<int>(fy + w * 1.3f) + 1, flame,
                    [=](float, float py) {
                        float v = (py - fy) / (w * 1.1f);
                        return mix(rgb(255, 250, 220), rgb(255, 150, 40), clamp01(0.5f - v * 0.5f));
                    });
}

}  // namespace datagen
