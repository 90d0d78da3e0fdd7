// Skins of the models. Each is painted as a function of the texture
// coordinates (v = 0 at the bottom, as OpenGL samples the uploaded picture);
// the models map their parts into the regions named here.
#include <cmath>
#include <functional>

#include "models.h"
#include "noise.h"

namespace datagen {

namespace {

constexpr int SKIN_SIZE = 128;

Image paint(const std::function<Rgba(float, float)>& colour) {
    Image image(SKIN_SIZE, SKIN_SIZE);
    for (int y = 0; y < SKIN_SIZE; ++y) {
        for (int x = 0; x < SKIN_SIZE; ++x) {
            float u = (static_cast<float>(x) + 0.5f) / SKIN_SIZE;
            float v = 1.0f - (static_cast<float>(y) + 0.5f) / SKIN_SIZE;
            image.at(x, y) = colour(u, v);
        }
    }
    return image;
}

// Wood with grain running along v.
Rgba wood(float u, float v, Rgba light, Rgba dark, std::uint32_t seed) {
    float grain = tileFbm2(u * 4, v, 16, 2, 4, seed);
    float rings = 0.5f + 0.5f * std::sin((u * 40 + grain * 6) * 3.14159f);
    float knots = tileFbm(u, v, 6, 3, seed + 7);
    return mix(dark, light, clamp01(0.35f + 0.45f * rings * (0.7f + 0.3f * knots)));
}

// Hammered dark iron.
Rgba iron(float u, float v, std::uint32_t seed) {
    float n = tileFbm(u, v, 8, 4, seed);
    float pits = tileFbm(u, v, 32, 2, seed + 3);
    return mix(rgb(38, 38, 44), rgb(120, 118, 122), clamp01(0.5f + 0.5f * n - 0.3f * pits * pits));
}

// Feathers: a shaft down the middle, barbs slanting away from it.
Rgba feather(float u, float v, Rgba base, std::uint32_t seed) {
    float across = std::fabs(u - 0.5f) * 2;
    float barbs = 0.5f + 0.5f * std::sin((v * 40 + across * 10) * 3.14159f);
    float n = tileFbm(u, v, 8, 2, seed);
    Rgba c = scaled(base, 0.75f + 0.2f * barbs + 0.1f * n);
    if (across < 0.08f)
        c = rgb(235, 228, 210);
    return c;
}

}  // namespace

Image ghostSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f) {
            // Robe: pale cloth with long folds, greying into wisps at the hem.
            float folds = tileFbm2(u * 2, v, 12, 2, 4, 501);
            float streak = 0.5f + 0.5f * std::sin((u * 2 * 24 + folds * 3) * 3.14159f);
            Rgba c = mix(rgb(150, 165, 190), rgb(236, 242, 255), 0.45f + 0.4f * streak);
            return mix(rgb(90, 100, 125), c, smoothstep(0.0f, 0.35f, v));
        }
        // Skin of head and hands: mottled, deathly pale green-grey.
        float n = tileFbm(u, v, 6, 4, 502);
        float veins = std::fabs(tileFbm(u, v, 10, 3, 503));
        Rgba c = mix(rgb(170, 186, 180), rgb(232, 240, 232), 0.55f + 0.45f * n);
        return mix(rgb(120, 135, 150), c, smoothstep(0.0f, 0.08f, veins));
    });
}

Image crossbowSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f)
            return wood(u * 2, v, rgb(150, 96, 52), rgb(78, 44, 22), 601);
        if (u < 0.75f)
            return iron(u, v, 602);
        // String: twisted hemp.
        float twist = 0.5f + 0.5f * std::sin((v * 60 + u * 16) * 3.14159f);
        return mix(rgb(150, 132, 96), rgb(226, 210, 168), twist);
    });
}

Image arrowSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f)
            return wood(u * 2, v, rgb(206, 170, 112), rgb(150, 112, 66), 701);
        if (u < 0.75f) {
            // Fletching: red with a white cock feather band near the nock.
            Rgba base = v > 0.75f ? rgb(230, 226, 214) : rgb(170, 28, 26);
            return feather((u - 0.5f) * 4, v, base, 702);
        }
        return mix(iron(u, v, 703), rgb(200, 200, 206), 0.3f);
    });
}

Image maceSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f) {
            // Handle: dark wood, with a leather wrap over the grip end.
            Rgba w = wood(u * 2, v, rgb(110, 70, 40), rgb(52, 30, 16), 801);
            if (v < 0.45f) {
                float band = std::fmod(v * 18 + u * 2 * 1.0f, 1.0f);
                Rgba leather = mix(rgb(46, 26, 16), rgb(104, 64, 38), smoothstep(0.0f, 0.4f, band));
                return scaled(leather, 0.8f + 0.2f * tileFbm(u, v, 16, 2, 802));
            }
            return w;
        }
        return iron(u, v, 803);
    });
}

Image healthPackSkin() {
    return paint([](float u, float v) {
        // One face: cream enamel, a rim, the red cross, a little wear.
        float wear = tileFbm(u, v, 8, 4, 901);
        Rgba c = mix(rgb(196, 190, 176), rgb(244, 240, 230), 0.6f + 0.4f * wear);
        float edge = std::fmin(std::fmin(u, 1 - u), std::fmin(v, 1 - v));
        c = mix(rgb(120, 116, 110), c, smoothstep(0.03f, 0.07f, edge));
        float du = std::fabs(u - 0.5f), dv = std::fabs(v - 0.5f);
        float cross = std::fmin(std::fmax(du - 0.1f, dv - 0.3f), std::fmax(du - 0.3f, dv - 0.1f));
        float inside = 1.0f - smoothstep(-0.006f, 0.006f, cross);
        float outline = 1.0f - smoothstep(0.006f, 0.022f, cross);
        c = mix(c, rgb(90, 20, 20), outline * 0.7f);
        Rgba red = mix(rgb(150, 12, 14), rgb(214, 30, 30), 0.6f + 0.4f * wear);
        return mix(c, red, inside);
    });
}

Image powerCellSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f) {
            // Brass with engraved rings.
            float n = tileFbm(u, v, 8, 3, 1001);
            float ring = std::fabs(std::sin(v * 12 * 3.14159f));
            Rgba c = mix(rgb(120, 86, 34), rgb(214, 170, 84), 0.55f + 0.35f * n);
            return scaled(c, 0.65f + 0.35f * smoothstep(0.05f, 0.25f, ring));
        }
        // Energy: swirling bands, bright cores.
        float swirl = tileFbm(u, v, 4, 4, 1002);
        float band = 0.5f + 0.5f * std::sin((v * 6 + u * 4 + swirl * 1.5f) * 2 * 3.14159f);
        return mix(rgb(20, 120, 150), rgb(210, 255, 255), band * band);
    });
}

Image arrowCaseSkin() {
    return paint([](float u, float v) {
        if (u < 0.5f) {
            // Tooled leather with a stitched seam at both ends.
            float n = tileFbm(u * 2, v, 8, 4, 1101);
            Rgba c = mix(rgb(70, 36, 18), rgb(140, 84, 44), 0.5f + 0.45f * n);
            float seam = std::fmin(std::fabs(v - 0.08f), std::fabs(v - 0.92f));
            float stitch = std::sin(u * 2 * 64 * 3.14159f) > 0.2f ? 1.0f : 0.0f;
            if (seam < 0.012f)
                c = mix(c, rgb(210, 190, 140), stitch);
            float tool = std::fabs(std::sin((u * 2 * 6 + v * 3) * 3.14159f));
            return scaled(c, 0.8f + 0.2f * smoothstep(0.0f, 0.15f, tool));
        }
        return feather((u - 0.5f) * 2, v, v > 0.5f ? rgb(40, 40, 44) : rgb(200, 190, 160), 1102);
    });
}

}  // namespace datagen
