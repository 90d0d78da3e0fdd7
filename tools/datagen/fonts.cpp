// Bitmap font atlases: 10 x 10 cells holding the characters 32 to 131, white
// with coverage in alpha so the game can tint them, plus a metrics file each.
// The large number atlas also carries the HUD panels, radar, blips and crosshair
// in the cells the digits never use.
#include "fonts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "generators.h"
#include "noise.h"
#include "text.h"

namespace datagen {

const std::vector<HudPart>& hudParts() {
    static const std::vector<HudPart> parts = {
        {"health panel", 2, 509, 173, 60},   {"energy panel", 2, 447, 173, 60},
        {"arrows panel", 2, 385, 173, 60},   {"score panel", 2, 61, 282, 60},
        {"radar", 284, 509, 225, 225},       {"power cell blip", 272, 507, 6, 6},
        {"arrow case blip", 263, 507, 6, 6}, {"ghost blip", 254, 507, 6, 6},
        {"crosshair", 215, 511, 36, 35},
    };
    return parts;
}

std::string metricsText(const std::vector<GlyphMetric>& metrics) {
    std::string text;
    for (int row = 0; row < 10; ++row) {
        for (int col = 0; col < 10; ++col) {
            const GlyphMetric& m = metrics[static_cast<size_t>(row * 10 + col)];
            text += std::to_string(m.advance) + ", " + std::to_string(m.drop) + ", ";
        }
        text += "\n";
    }
    return text;
}

namespace {

struct AtlasLayout {
    const char* face;
    int cell;
    int textureSize;
    int outline;  // pixels of dark outline around each glyph (0 for none)
};

bool overlapsHud(int x, int y, int w, int h) {
    for (const HudPart& p : hudParts()) {
        PixelRect r = pictureRect(p.px, p.py, p.w, p.h);
        if (x < r.x + r.w && r.x < x + w && y < r.y + r.h && r.y < y + h)
            return true;
    }
    return false;
}

// The largest pixel size at which every printable glyph (with its outline)
// fits the visible C - 1 rows and columns of a cell.
int fitPixelSize(FontFace& face, int cell, int outline) {
    for (int size = cell; size > 4; --size) {
        face.setPixelSize(size);
        bool fits = true;
        for (unsigned c = 33; c < 127 && fits; ++c) {
            Glyph g = face.glyph(c);
            if (g.bitmap.height() + 2 * outline > cell - 1 ||
                g.bitmap.width() + std::max(0, g.left) + 2 * outline > cell - 1) {
                fits = false;
            }
        }
        if (fits)
            return size;
    }
    return 5;
}

// Builds the atlas. Each glyph sits on the bottom of its cell; the drop says
// how far below the baseline that bottom is, so text lines up when drawn.
Image buildAtlas(const AtlasLayout& layout, bool skipHudCells, std::vector<GlyphMetric>& metrics) {
    FontFace face(layout.face);
    Image atlas(layout.textureSize, layout.textureSize);
    metrics.assign(100, GlyphMetric{});
    if (!face.ok())
        return atlas;
    int size = fitPixelSize(face, layout.cell, layout.outline);
    face.setPixelSize(size);
    const int spacing = static_cast<int>(0.05f * layout.cell);  // the game adds this itself
    for (int i = 0; i < 100; ++i) {
        unsigned code = 32u + static_cast<unsigned>(i);
        int cx = (i % 10) * layout.cell, cy = (i / 10) * layout.cell;
        Glyph g = face.glyph(code < 127 ? code : 32u);
        metrics[i].advance = std::max(1, g.advance - spacing);
        if (code >= 127 || g.bitmap.width() == 0)
            continue;  // space and the unused codes
        if (skipHudCells && overlapsHud(cx, cy, layout.cell, layout.cell))
            continue;
        int bottom = g.top - g.bitmap.height();  // bitmap bottom above the baseline
        metrics[i].drop = -bottom + layout.outline;
        int gx = cx + std::max(0, g.left) + layout.outline;
        int gy = cy + layout.cell - 1 - layout.outline - g.bitmap.height();
        if (layout.outline > 0) {
            Image halo = g.bitmap.silhouette(Rgba{0.04f, 0.03f, 0.03f, 1});
            Image padded(g.bitmap.width() + 2 * layout.outline + 2,
                         g.bitmap.height() + 2 * layout.outline + 2);
            padded.draw(halo, layout.outline + 1, layout.outline + 1);
            padded.blur(1);
            padded.fadeAlpha(2.2f);
            atlas.draw(padded, gx - layout.outline - 1, gy - layout.outline - 1);
        }
        atlas.draw(g.bitmap, gx, gy);
    }
    return atlas;
}

// A HUD panel: iron frame, an icon on the left, parchment behind the number.
void hudPanel(Image& image, const HudPart& part, int kind) {
    PixelRect r = pictureRect(part.px, part.py, part.w, part.h);
    drawBevelPanel(image, r, 12.0f, rgb(70, 66, 72), rgb(28, 24, 30), 4.0f);
    PixelRect page{r.x + 52, r.y + 6, r.w - 58, r.h - 12};
    drawParchment(image, page, 6.0f, 71u + static_cast<unsigned>(kind));
    float s = 40.0f, ix = r.x + 7.0f, iy = r.y + (r.h - s) * 0.5f;
    switch (kind) {
        case 0:
            drawHeart(image, ix, iy, s);
            break;
        case 1:
            drawBolt(image, ix, iy, s);
            break;
        case 2:
            drawArrowIcon(image, ix, iy, s);
            break;
        default:
            drawSkull(image, ix, iy, s);
            break;
    }
}

void radar(Image& image, const HudPart& part) {
    PixelRect r = pictureRect(part.px, part.py, part.w, part.h);
    // The sweep centre is 111 across and 113 up from the panel's lower left.
    float cx = r.x + 111.5f, cy = r.y + (r.h - 1 - 113) + 0.5f;
    Image layer(r.w, r.h);
    float lx = cx - r.x, ly = cy - r.y;
    auto bezel = [=](float x, float y) { return sdCircle(x, y, lx, ly, 110.0f); };
    layer.fillShape(0, 0, r.w, r.h, bezel, [&](float x, float y) {
        float a = std::atan2(y - ly, x - lx);
        float k = 0.8f + 0.35f * std::cos(a + 2.3f);
        return scaled(rgb(96, 84, 66), k);
    });
    auto screen = [=](float x, float y) { return sdCircle(x, y, lx, ly, 101.0f); };
    layer.fillShape(0, 0, r.w, r.h, screen, [&](float x, float y) {
        float d = std::hypot(x - lx, y - ly) / 101.0f;
        float ring = 0.0f;
        for (float rr : {33.0f, 66.0f, 99.0f}) {
            ring = std::max(ring, 1.0f - smoothstep(0.3f, 1.3f, std::fabs(d * 101.0f - rr)));
        }
        float cross = std::min(std::fabs(x - lx), std::fabs(y - ly));
        float line = (1.0f - smoothstep(0.3f, 1.2f, cross)) * 0.6f;
        float n = tileFbm(x / 225.0f, y / 225.0f, 16, 2, 5u) * 0.05f;
        Rgba c = mix(rgb(18, 52, 30), rgb(4, 16, 8), d);
        c = scaled(c, 1.0f + n);
        return mix(c, rgb(90, 200, 120), std::max(ring * 0.55f, line * 0.45f));
    });
    // Rivets round the bezel.
    for (int i = 0; i < 12; ++i) {
        float a = i * 3.14159265f / 6.0f + 0.26f;
        drawOrb(layer, lx + std::cos(a) * 105.5f, ly + std::sin(a) * 105.5f, 2.4f,
                rgb(160, 140, 110));
    }
    Image shadow = layer.silhouette(Rgba{0, 0, 0, 0.5f});
    shadow.blur(3);
    image.draw(shadow, r.x + 2, r.y + 3);
    image.draw(layer, r.x, r.y);
}

void blip(Image& image, const HudPart& part, const Rgba& colour) {
    PixelRect r = pictureRect(part.px, part.py, part.w, part.h);
    image.fillShape(
        r.x, r.y, r.x + r.w, r.y + r.h,
        [&](float x, float y) { return sdCircle(x, y, r.x + 3.0f, r.y + 3.0f, 2.6f); },
        [&](float x, float y) {
            float d = std::hypot(x - r.x - 3.0f, y - r.y - 3.0f) / 2.6f;
            return mix(mix(colour, Rgba{1, 1, 1, 1}, 0.6f), colour, d);
        });
}

void crosshair(Image& image, const HudPart& part) {
    PixelRect r = pictureRect(part.px, part.py, part.w, part.h);
    float cx = r.x + r.w * 0.5f, cy = r.y + r.h * 0.5f;
    auto shape = [=](float x, float y) {
        float d = 1e9f;
        d = std::min(d, sdSegment(x, y, cx - 15, cy, cx - 5, cy, 1.0f));
        d = std::min(d, sdSegment(x, y, cx + 5, cy, cx + 15, cy, 1.0f));
        d = std::min(d, sdSegment(x, y, cx, cy - 15, cx, cy - 5, 1.0f));
        d = std::min(d, sdSegment(x, y, cx, cy + 5, cx, cy + 15, 1.0f));
        d = std::min(d, std::fabs(std::hypot(x - cx, y - cy) - 9.0f) - 0.6f);
        return d;
    };
    image.fillShape(
        r.x, r.y, r.x + r.w, r.y + r.h, [&](float x, float y) { return shape(x, y) - 1.2f; },
        Rgba{0, 0, 0, 0.6f});
    image.fillShape(r.x, r.y, r.x + r.w, r.y + r.h, shape, rgb(240, 230, 200, 0.95f));
    image.fillShape(
        r.x, r.y, r.x + r.w, r.y + r.h,
        [&](float x, float y) { return sdCircle(x, y, cx, cy, 1.3f); }, rgb(255, 80, 60));
}

bool writeFont(const std::string& dir, const std::string& name, const Image& atlas,
               const std::vector<GlyphMetric>& metrics) {
    if (!writeTga(dir + "/" + name, atlas, true)) {
        std::fprintf(stderr, "datagen: cannot write %s/%s\n", dir.c_str(), name.c_str());
        return false;
    }
    std::ofstream out(dir + "/" + name + ".txt", std::ios::binary | std::ios::trunc);
    out << metricsText(metrics);
    return static_cast<bool>(out);
}

}  // namespace

bool generateFonts(const std::string& root) {
    const std::string dir = root + "/fonts";
    if (!makeFolder(dir))
        return false;
    std::vector<GlyphMetric> metrics;

    Image small = buildAtlas({"DejaVuSans.ttf", 12, 128, 0}, false, metrics);
    if (!writeFont(dir, "small.tga", small, metrics))
        return false;

    Image score = buildAtlas({"DejaVuSerif-Bold.ttf", 25, 256, 1}, false, metrics);
    if (!writeFont(dir, "scoreletters.tga", score, metrics))
        return false;

    Image large = buildAtlas({"DejaVuSans-Bold.ttf", 51, 512, 0}, true, metrics);
    const std::vector<HudPart>& parts = hudParts();
    for (int kind = 0; kind < 4; ++kind)
        hudPanel(large, parts[static_cast<size_t>(kind)], kind);
    radar(large, parts[4]);
    blip(large, parts[5], rgb(80, 200, 255));
    blip(large, parts[6], rgb(255, 220, 60));
    blip(large, parts[7], rgb(255, 50, 40));
    crosshair(large, parts[8]);
    return writeFont(dir, "largenumbers.tga", large, metrics);
}

}  // namespace datagen
