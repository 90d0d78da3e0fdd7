// Surface textures of the castle: flagstone ground, carpet, wood floor,
// ceiling and the wall box atlas. Every one tiles seamlessly: all noise and
// patterns repeat exactly across the tile (or across each atlas quarter).
#include <cmath>
#include <cstdio>
#include <vector>

#include "generators.h"
#include "image.h"
#include "noise.h"

namespace datagen {
namespace {

constexpr float kPi = 3.14159265f;

// A tile described by a height and an albedo per pixel, lit from the upper
// left so bevels, cracks and grain read as relief.
struct Surface {
    int size;
    std::vector<float> height;
    std::vector<Rgba> albedo;
    explicit Surface(int s)
        : size(s), height(static_cast<size_t>(s) * s, 0.0f), albedo(static_cast<size_t>(s) * s) {}
    float& h(int x, int y) { return height[static_cast<size_t>(y) * size + x]; }
    Rgba& a(int x, int y) { return albedo[static_cast<size_t>(y) * size + x]; }
    float hw(int x, int y) const {
        x = (x + size) % size;
        y = (y + size) % size;
        return height[static_cast<size_t>(y) * size + x];
    }
};

Image shade(const Surface& s, float strength, float ambient = 0.55f) {
    Image out(s.size, s.size);
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;  // light from the upper left
    for (int y = 0; y < s.size; ++y) {
        for (int x = 0; x < s.size; ++x) {
            float dx = (s.hw(x + 1, y) - s.hw(x - 1, y)) * strength;
            float dy = (s.hw(x, y + 1) - s.hw(x, y - 1)) * strength;
            float nx = -dx, ny = -dy, nz = 1.0f;
            float len = std::sqrt(nx * nx + ny * ny + nz * nz);
            float diffuse = (nx * lx + ny * ly + nz * lz) / len;
            float light = ambient + (1.0f - ambient) * std::max(0.0f, diffuse) / lz;
            // Deep parts (mortar, gaps) also get less light: cheap occlusion.
            light *= 0.72f + 0.28f * clamp01(s.hw(x, y));
            const Rgba& c = s.albedo[static_cast<size_t>(y) * s.size + x];
            out.at(x, y) =
                Rgba{clamp01(c.r * light), clamp01(c.g * light), clamp01(c.b * light), 1};
        }
    }
    return out;
}

float hashUnit(uint32_t a, uint32_t b, uint32_t seed) {
    return (hash32(a, b, seed) & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

// Ashlar masonry: courses of blocks, every other course shifted by half a
// block. bw, bh are block sizes in pixels and must divide the tile.
Image stoneWall(int size, int bw, int bh, uint32_t seed, const Rgba& base, float moss) {
    Surface s(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            // Wobble the joints a little so the blocks look hand cut.
            float wx = tileFbm(u, v, 8, 3, seed + 1) * 3.0f;
            float wy = tileFbm(u, v, 8, 3, seed + 2) * 3.0f;
            float fx = x + wx, fy = y + wy;
            int rows = size / bh, blocks = size / bw;
            int row = static_cast<int>(std::floor(fy / bh));
            int rowW = ((row % rows) + rows) % rows;
            // Each course has its own joint positions: a shift for the course
            // and a jitter per joint, so blocks differ in length.
            float shift = hashUnit(static_cast<uint32_t>(rowW), 91u, seed) * bw;
            float px = std::fmod(fx - shift + 4.0f * size, static_cast<float>(size));
            int col = 0;
            float left = 0.0f, right = static_cast<float>(size);
            for (int k = 0; k < blocks; ++k) {
                float jitter =
                    (hashUnit(static_cast<uint32_t>(rowW), static_cast<uint32_t>(k), seed + 13) -
                     0.5f) *
                    bw * 0.45f;
                float joint = k == 0 ? 0.0f : k * bw + jitter;
                if (joint <= px) {
                    col = k;
                    left = joint;
                } else {
                    right = joint;
                    break;
                }
            }
            float lx = px - left, ly = fy - row * bh;
            // Chipped corners and arrises: noise eats into the block's edge.
            float chip = std::max(0.0f, tileFbm(u, v, 32, 2, seed + 11)) * 5.0f;
            float edge = std::min(std::min(lx, right - left - lx), std::min(ly, bh - ly)) - chip;
            int colW = col;
            float tone = 0.78f + 0.3f * hashUnit(static_cast<uint32_t>(colW),
                                                 static_cast<uint32_t>(rowW), seed);
            float warm =
                hashUnit(static_cast<uint32_t>(colW), static_cast<uint32_t>(rowW), seed + 7) - 0.5f;
            float grain = tileFbm(u, v, 16, 4, seed + 3);
            float pits = tileFbm(u, v, 64, 2, seed + 4);
            float bevel = smoothstep(0.5f, 6.0f, edge);
            float height = bevel * (0.75f + 0.12f * grain) + 0.08f * pits * bevel;
            // Cracks: thin dark lines from ridged noise.
            float crack = std::fabs(tileFbm(u, v, 6, 4, seed + 5));
            float crackZone = smoothstep(0.25f, 0.55f, tileFbm(u, v, 3, 2, seed + 8));
            float crackMask = (1.0f - smoothstep(0.0f, 0.012f, crack)) * crackZone;
            height -= crackMask * 0.25f * bevel;
            s.h(x, y) = height;
            Rgba stone{base.r * tone * (1.0f + 0.18f * warm), base.g * tone,
                       base.b * tone * (1.0f - 0.15f * warm), 1};
            stone = scaled(stone, 0.9f + 0.2f * grain);
            Rgba mortar = rgb(52, 48, 44);
            Rgba c = mix(mortar, stone, bevel);
            // Damp and soot: darker, greener patches that follow the mortar.
            float damp = smoothstep(0.15f, 0.6f, tileFbm(u, v, 4, 4, seed + 6)) * moss;
            c = mix(c, Rgba{c.r * 0.55f, c.g * 0.68f, c.b * 0.5f, 1}, damp);
            c = scaled(c, 1.0f - crackMask * 0.35f);
            s.a(x, y) = c;
        }
    }
    return shade(s, 9.0f);
}

Image flagstones(int size, uint32_t seed) {
    Surface s(size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float wu = u + tileFbm(u, v, 4, 3, seed + 1) * 0.02f;
            float wv = v + tileFbm(u, v, 4, 3, seed + 2) * 0.02f;
            float f1, f2;
            uint32_t stoneId = 0;
            tileCells(wu, wv, 5, seed, f1, f2, &stoneId);
            float edge = (f2 - f1) * size / 5.0f;  // pixels to the nearest joint
            float bevel = smoothstep(1.5f, 8.0f, edge);
            float grain = tileFbm(u, v, 12, 5, seed + 3);
            // Each stone has its own shade and a slight warm or cool cast.
            float id = (stoneId & 0xFFFF) / 65535.0f;
            float cast = ((stoneId >> 16) & 0xFF) / 255.0f - 0.5f;
            float tone = 0.78f + 0.28f * id + 0.08f * tileFbm(u, v, 3, 2, seed + 9);
            s.h(x, y) = bevel * (0.7f + 0.15f * grain);
            Rgba stone = scaled(
                rgb(118 + static_cast<int>(cast * 16), 112, 104 - static_cast<int>(cast * 14)),
                tone * (0.88f + 0.22f * grain));
            Rgba joint = rgb(40, 36, 32);
            Rgba c = mix(joint, stone, bevel);
            float dirt = smoothstep(0.0f, 0.7f, tileFbm(u, v, 6, 4, seed + 4));
            c = mix(c, scaled(c, 0.7f), dirt * 0.45f);
            s.a(x, y) = c;
        }
    }
    return shade(s, 7.0f);
}

Image woodFloor(int size, uint32_t seed) {
    Surface s(size);
    const int plankH = size / 8;
    for (int y = 0; y < size; ++y) {
        int row = y / plankH;
        float across = static_cast<float>(y % plankH) / plankH;
        int joint = static_cast<int>(hashUnit(static_cast<uint32_t>(row), 3, seed) * size);
        float plankTone = 0.8f + 0.35f * hashUnit(static_cast<uint32_t>(row), 5, seed);
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            // Boards are half a tile long; the end joints of neighbouring rows
            // are staggered by the row hash.
            int along = ((x - joint) % (size / 2) + size / 2) % (size / 2);
            float endDist = std::min(along, size / 2 - along) + 0.5f;
            float sideDist = std::min(across, 1.0f - across) * plankH;
            float gap = std::min(endDist, sideDist);
            float bevel = smoothstep(0.5f, 3.0f, gap);
            float warp = tileFbm2(u, v, 2, 16, 3, seed + 1) * 1.5f;
            float rings = std::sin((v * 90.0f + warp * 6.0f + row * 1.7f) * kPi);
            float fine = tileFbm2(u, v, 4, 128, 3, seed + 2);
            float grain = 0.5f + 0.5f * rings * 0.6f + 0.25f * fine;
            Rgba light = rgb(142, 92, 52), dark = rgb(74, 42, 22);
            Rgba c = mix(dark, light, clamp01(grain));
            c = scaled(c, plankTone);
            float knots = tileFbm(u, v, 5, 2, seed + 3);
            c = mix(c, rgb(40, 22, 10), smoothstep(0.55f, 0.8f, knots) * 0.7f);
            float wear = smoothstep(-0.2f, 0.6f, tileFbm(u, v, 3, 4, seed + 4));
            c = mix(c, scaled(c, 1.25f), wear * 0.25f);
            s.h(x, y) = bevel * (0.8f + 0.05f * rings);
            s.a(x, y) = mix(rgb(18, 10, 6), c, bevel);
        }
    }
    return shade(s, 5.0f, 0.6f);
}

Image carpet(int size, uint32_t seed) {
    Image out(size, size);
    const int repeat = size / 4;  // pattern repeats four times across the tile
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float px = static_cast<float>(x % repeat) + 0.5f - repeat * 0.5f;
            float py = static_cast<float>(y % repeat) + 0.5f - repeat * 0.5f;
            float diamond = std::fabs(px) + std::fabs(py);  // 0 at the centre
            float r = std::hypot(px, py);
            Rgba c = rgb(112, 14, 28);  // deep wine red
            // Lattice of gold lines along the diamond's border.
            float border = std::fabs(diamond - repeat * 0.5f);
            float goldLine = 1.0f - smoothstep(1.2f, 2.6f, border);
            // A dark blue rosette in the middle of each diamond.
            float petals = std::cos(std::atan2(py, px) * 8.0f) * 3.0f;
            float rosette = 1.0f - smoothstep(13.0f + petals, 15.0f + petals, r);
            float rosetteRing = 1.0f - smoothstep(0.8f, 2.0f, std::fabs(r - 20.0f));
            float innerDot = 1.0f - smoothstep(3.5f, 5.0f, r);
            float fringe = 1.0f - smoothstep(1.0f, 2.0f, std::fabs(diamond - repeat * 0.38f));
            c = mix(c, rgb(26, 24, 68), rosette);
            c = mix(c, rgb(196, 150, 60), innerDot);
            c = mix(c, rgb(170, 120, 46), rosetteRing * 0.85f);
            c = mix(c, rgb(70, 10, 22), fringe * 0.8f);
            c = mix(c, rgb(200, 152, 64), goldLine);
            // Pile and weave: fine noise plus a faint cross-hatch.
            float pile = tileFbm(u, v, 128, 2, seed);
            float weave = 0.5f + 0.5f * std::sin(x * kPi * 0.5f) * std::sin(y * kPi * 0.5f);
            c = scaled(c, 0.86f + 0.12f * pile + 0.06f * weave);
            // Worn, dusty patches.
            float wear = smoothstep(0.1f, 0.7f, tileFbm(u, v, 3, 4, seed + 1));
            c = mix(c, scaled(mix(c, rgb(120, 100, 90), 0.35f), 1.1f), wear * 0.45f);
            out.at(x, y) = Rgba{clamp01(c.r), clamp01(c.g), clamp01(c.b), 1};
        }
    }
    return out;
}

Image ceiling(int size, uint32_t seed) {
    Surface s(size);
    const int beamEvery = size / 2, beamW = size / 8;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            int bx = x % beamEvery;
            // Beams stand in the middle of each half so the tile's edges
            // fall on plaster and the soot around a beam stays whole.
            float dBeam = std::fabs(bx + 0.5f - beamEvery * 0.5f);
            float beam = 1.0f - smoothstep(beamW * 0.5f - 1.5f, beamW * 0.5f + 1.0f, dBeam);
            // Plaster with hairline cracks and soot.
            float plasterN = tileFbm(u, v, 8, 5, seed);
            float crack = std::fabs(tileFbm(u, v, 5, 4, seed + 1));
            float crackZone = smoothstep(0.2f, 0.5f, tileFbm(u, v, 3, 2, seed + 8));
            float crackMask = (1.0f - smoothstep(0.0f, 0.01f, crack)) * crackZone;
            Rgba plaster = scaled(rgb(120, 110, 96), 0.85f + 0.2f * plasterN);
            plaster = scaled(plaster, 1.0f - 0.5f * crackMask);
            float soot = smoothstep(beamW * 0.5f, beamW * 0.5f + 40.0f, dBeam);
            plaster = mix(scaled(plaster, 0.55f), plaster, soot);
            // Timber: grain along y, dark and old.
            float grain = tileFbm2(u, v, 64, 2, 3, seed + 2);
            Rgba timber = mix(rgb(40, 24, 14), rgb(82, 52, 30), clamp01(0.5f + grain));
            float rounded =
                std::sqrt(clamp01(1.0f - (dBeam / (beamW * 0.5f)) * (dBeam / (beamW * 0.5f))));
            s.h(x, y) = beam * (0.6f + 0.4f * rounded) + (1.0f - beam) * (0.3f + 0.05f * plasterN) -
                        crackMask * 0.1f;
            s.a(x, y) = mix(plaster, timber, beam);
        }
    }
    return shade(s, 6.0f);
}

// The wall box atlas: front upper right, back lower right, both sides lower
// left, top and bottom upper left. Each quarter tiles on its own, so walls
// stacked or side by side continue their courses.
Image boxAtlas(int size, uint32_t seed) {
    int q = size / 2;
    Image atlas(size, size);
    // A quarter spans 6 units across and 4 up, so blocks of 1.5 x 0.5 units
    // are q/4 wide and q/8 high.
    atlas.copy(stoneWall(q, q / 4, q / 8, seed, rgb(132, 128, 122), 0.6f), q, 0);
    atlas.copy(stoneWall(q, q / 4, q / 8, seed + 100, rgb(126, 124, 124), 0.8f), q, q);
    atlas.copy(stoneWall(q, q / 4, q / 8, seed + 200, rgb(128, 122, 114), 0.7f), 0, q);
    atlas.copy(stoneWall(q, q / 2, q / 4, seed + 300, rgb(96, 92, 88), 1.0f), 0, 0);
    return atlas;
}

bool save(const std::string& path, const Image& image) {
    if (!writeTga(path, image, false)) {
        std::fprintf(stderr, "datagen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

bool generateTextures(const std::string& root) {
    const std::string dir = root + "/textures";
    if (!makeFolder(dir))
        return false;
    return save(dir + "/ground.tga", flagstones(512, 11)) &&
           save(dir + "/carpet.tga", carpet(512, 23)) &&
           save(dir + "/wood.tga", woodFloor(512, 37)) &&
           save(dir + "/ceiling.tga", ceiling(512, 41)) &&
           save(dir + "/box.tga", boxAtlas(1024, 53));
}

}  // namespace datagen
