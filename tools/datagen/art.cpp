#include "art.h"

#include <cmath>

#include "noise.h"

namespace datagen {

PixelRect pictureRect(int px, int py, int w, int h) {
    return PixelRect{px, py - h + 1, w, h};
}

void drawShadow(Image& image, const PixelRect& r, float radius, int blur, float opacity) {
    int pad = blur * 3 + 2;
    Image layer(r.w + 2 * pad, r.h + 2 * pad);
    float cx = layer.width() * 0.5f, cy = layer.height() * 0.5f;
    layer.fillShape(
        0, 0, layer.width(), layer.height(),
        [&](float x, float y) { return sdRoundBox(x, y, cx, cy, r.w * 0.5f, r.h * 0.5f, radius); },
        Rgba{0, 0, 0, opacity});
    layer.blur(blur);
    image.draw(layer, r.x - pad + blur / 2, r.y - pad + blur);
}

void drawBevelPanel(Image& image, const PixelRect& r, float radius, const Rgba& rim,
                    const Rgba& face, float rimWidth) {
    float cx = r.x + r.w * 0.5f, cy = r.y + r.h * 0.5f;
    float hw = r.w * 0.5f - 0.5f, hh = r.h * 0.5f - 0.5f;
    auto outer = [=](float x, float y) { return sdRoundBox(x, y, cx, cy, hw, hh, radius); };
    // Rim: metal with light from the upper left along the bevel.
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, outer, [&](float x, float y) {
        float d = -outer(x, y);  // depth inside the edge
        float gx = (x - cx) / hw, gy = (y - cy) / hh;
        float lit = d < rimWidth ? (-gx * 0.35f - gy * 0.65f) : 0.0f;
        float k = 0.85f + 0.45f * lit + 0.1f * std::sin(x * 0.7f + y * 0.3f) * 0.3f;
        return Rgba{clamp01(rim.r * k), clamp01(rim.g * k), clamp01(rim.b * k), rim.a};
    });
    // Face, recessed: darker towards its upper-left edge where the rim shades it.
    float inset = rimWidth;
    auto inner = [=](float x, float y) {
        return sdRoundBox(x, y, cx, cy, hw - inset, hh - inset, std::max(1.0f, radius - inset));
    };
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, inner, [&](float x, float y) {
        float d = -inner(x, y);
        float shade = 0.6f + 0.4f * smoothstep(0.0f, 6.0f, d);
        float gy = (y - (cy - hh)) / (2 * hh);
        float k = shade * (1.05f - 0.15f * gy);
        return Rgba{clamp01(face.r * k), clamp01(face.g * k), clamp01(face.b * k), face.a};
    });
}

void drawParchment(Image& image, const PixelRect& r, float radius, unsigned seed) {
    float cx = r.x + r.w * 0.5f, cy = r.y + r.h * 0.5f;
    auto sdf = [=](float x, float y) {
        return sdRoundBox(x, y, cx, cy, r.w * 0.5f, r.h * 0.5f, radius);
    };
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, sdf, [&](float x, float y) {
        float n = tileFbm(x / 256.0f, y / 256.0f, 8, 4, seed);
        float edge = -sdf(x, y);
        float burn = 1.0f - smoothstep(0.0f, 10.0f, edge);
        Rgba c = mix(rgb(226, 206, 160), rgb(196, 168, 116), clamp01(0.5f + n));
        return mix(c, rgb(120, 84, 44), burn * 0.8f);
    });
}

void drawOrb(Image& image, float cx, float cy, float radius, const Rgba& colour) {
    int x0 = static_cast<int>(cx - radius - 2), y0 = static_cast<int>(cy - radius - 2);
    int x1 = static_cast<int>(cx + radius + 3), y1 = static_cast<int>(cy + radius + 3);
    image.fillShape(
        x0, y0, x1, y1, [=](float x, float y) { return sdCircle(x, y, cx, cy, radius); },
        [&](float x, float y) {
            float dx = (x - cx) / radius, dy = (y - cy) / radius;
            float hl = clamp01(1.0f - std::hypot(dx + 0.35f, dy + 0.4f) * 1.6f);
            float k = 0.75f + 0.35f * (1.0f - std::hypot(dx, dy));
            Rgba c = scaled(colour, k);
            return mix(c, Rgba{1, 1, 1, 1}, hl * 0.8f);
        });
}

void drawHeart(Image& image, float x, float y, float s) {
    auto sdf = [=](float px, float py) {
        // Two circles and a triangle-ish point, in a unit box.
        float u = (px - x) / s, v = (py - y) / s;
        float c1 = std::hypot(u - 0.32f, v - 0.36f) - 0.2f;
        float c2 = std::hypot(u - 0.68f, v - 0.36f) - 0.2f;
        float tri = std::max(std::fabs(u - 0.5f) * 1.1f + (v - 0.42f) * 0.78f - 0.36f, 0.4f - v);
        return std::min(std::min(c1, c2), tri) * s;
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), sdf, [&](float px, float py) {
                        float v = (py - y) / s, u = (px - x) / s;
                        float hl = clamp01(1.0f - std::hypot(u - 0.3f, v - 0.3f) * 5.0f);
                        return mix(mix(rgb(220, 30, 40), rgb(110, 0, 10), v), rgb(255, 200, 200),
                                   hl * 0.8f);
                    });
}

void drawBolt(Image& image, float x, float y, float s) {
    // A zig-zag lightning bolt made of three thick segments.
    auto sdf = [=](float px, float py) {
        float a = sdSegment(px, py, x + 0.62f * s, y + 0.08f * s, x + 0.36f * s, y + 0.5f * s,
                            0.075f * s);
        float b =
            sdSegment(px, py, x + 0.36f * s, y + 0.5f * s, x + 0.64f * s, y + 0.5f * s, 0.075f * s);
        float c =
            sdSegment(px, py, x + 0.64f * s, y + 0.5f * s, x + 0.38f * s, y + 0.92f * s, 0.06f * s);
        return std::min(a, std::min(b, c));
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), sdf, [&](float, float py) {
                        return mix(rgb(255, 250, 170), rgb(240, 170, 20), (py - y) / s);
                    });
}

void drawArrowIcon(Image& image, float x, float y, float s) {
    auto shaft = [=](float px, float py) {
        return sdSegment(px, py, x + 0.15f * s, y + 0.85f * s, x + 0.8f * s, y + 0.2f * s,
                         0.035f * s);
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), shaft, rgb(150, 100, 55));
    auto head = [=](float px, float py) {
        // A diamond point at the upper right.
        float u = px - (x + 0.8f * s), v = py - (y + 0.2f * s);
        float a = (u - v) * 0.7071f, b = (u + v) * 0.7071f;
        return std::max(std::fabs(b) - 0.08f * s, std::fabs(a - 0.02f * s) - 0.14f * s);
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), head, rgb(200, 205, 215));
    for (int i = 0; i < 2; ++i) {
        float off = (i == 0 ? -1.0f : 1.0f) * 0.07f * s;
        auto fletch = [=](float px, float py) {
            return sdSegment(px, py, x + 0.2f * s + off, y + 0.8f * s + off, x + 0.33f * s + off,
                             y + 0.67f * s + off, 0.04f * s);
        };
        image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                        static_cast<int>(y + s + 1), fletch, rgb(190, 40, 40));
    }
}

void drawSkull(Image& image, float x, float y, float s) {
    auto sdf = [=](float px, float py) {
        float u = (px - x) / s, v = (py - y) / s;
        float cranium = std::hypot(u - 0.5f, (v - 0.42f) * 1.1f) - 0.34f;
        float jaw = sdRoundBox(u, v, 0.5f, 0.74f, 0.17f, 0.12f, 0.05f);
        return std::min(cranium, jaw) * s;
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), sdf, [&](float, float py) {
                        return mix(rgb(245, 240, 220), rgb(170, 160, 135), (py - y) / s);
                    });
    auto holes = [=](float px, float py) {
        float u = (px - x) / s, v = (py - y) / s;
        float e1 = std::hypot(u - 0.36f, v - 0.46f) - 0.09f;
        float e2 = std::hypot(u - 0.64f, v - 0.46f) - 0.09f;
        float nose = std::max(std::fabs(u - 0.5f) - 0.03f, std::fabs(v - 0.62f) - 0.05f);
        float teeth = std::max(std::fabs(std::fmod(u * 20.0f, 2.0f) - 1.0f) - 0.25f,
                               std::max(std::fabs(v - 0.78f) - 0.06f, std::fabs(u - 0.5f) - 0.12f));
        return std::min(std::min(e1, e2), std::min(nose, teeth / 20.0f * 2.0f)) * s;
    };
    image.fillShape(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + s + 1),
                    static_cast<int>(y + s + 1), holes, rgb(30, 20, 20));
}

void drawGhost(Image& image, float cx, float cy, float size, float alpha, unsigned seed) {
    int pad = static_cast<int>(size * 0.35f);
    int w = static_cast<int>(size * 0.9f) + 2 * pad, h = static_cast<int>(size) + 2 * pad;
    Image layer(w, h);
    float ox = w * 0.5f, top = static_cast<float>(pad);
    float headR = size * 0.22f;
    auto body = [=](float px, float py) {
        float v = (py - top) / size;  // 0 at the top of the head, 1 at the tail
        float head = std::hypot(px - ox, py - (top + headR)) - headR;
        // The robe widens downwards and frays into three wavy tails.
        float halfW = headR * (0.95f + 0.9f * v) +
                      size * 0.03f * std::sin(v * 14.0f + static_cast<float>(seed));
        float robe =
            std::max(std::fabs(px - ox) - halfW, std::max(top + headR - py, py - top - size));
        float tails = std::sin((px - ox) / size * 22.0f) * size * 0.06f;
        robe = std::max(robe, py - (top + size * 0.9f + tails));
        return std::min(head, robe);
    };
    layer.fillShape(0, 0, w, h, body, [&](float px, float py) {
        float v = (py - top) / size;
        float n = tileFbm(px / 128.0f, py / 128.0f, 4, 3, seed);
        Rgba c = mix(rgb(235, 242, 255), rgb(150, 175, 210), clamp01(v * 0.9f + 0.2f * n));
        c.a = clamp01(1.0f - smoothstep(0.55f, 1.0f, v)) * 0.9f + 0.1f;
        return c;
    });
    // Eyes and mouth: dark hollows.
    auto face = [=](float px, float py) {
        float e1 = std::hypot((px - (ox - headR * 0.38f)) * 1.3f, py - (top + headR * 0.95f)) -
                   headR * 0.2f;
        float e2 = std::hypot((px - (ox + headR * 0.38f)) * 1.3f, py - (top + headR * 0.95f)) -
                   headR * 0.2f;
        float m = std::hypot((px - ox) * 1.4f, (py - (top + headR * 1.6f)) * 0.8f) - headR * 0.22f;
        return std::min(std::min(e1, e2), m);
    };
    layer.fillShape(0, 0, w, h, face, rgb(20, 24, 48));
    Image glow = layer.silhouette(rgb(150, 200, 255, 0.8f));
    glow.blur(static_cast<int>(size * 0.06f) + 1);
    image.draw(glow, static_cast<int>(cx - ox), static_cast<int>(cy - size * 0.5f - top), alpha);
    image.draw(layer, static_cast<int>(cx - ox), static_cast<int>(cy - size * 0.5f - top), alpha);
}

}  // namespace datagen
