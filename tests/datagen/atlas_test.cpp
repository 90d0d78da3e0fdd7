#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "generated_tree.h"

using namespace datagen_test;
using datagen::Image;
using datagen::Rgba;

namespace {

struct Expected {
    const char* file;
    int size;
    int bits;
};

// Control pictures as the screens and the HUD set them: texture offset and
// control size. The offset names the picture's left column and its bottom
// row counted from the top, because the texture rectangle runs from
// v = (S - py) / S upwards.
struct ControlPicture {
    const char* file;
    const char* what;
    int px, py, w, h;
};

const ControlPicture kPictures[] = {
    {"textures/gui.tga", "intro picture", 463, 1023, 560, 316},
    {"textures/gui.tga", "title", 775, 168, 249, 169},
    {"textures/gui.tga", "start", 0, 75, 98, 38},
    {"textures/gui.tga", "high scores", 0, 113, 244, 39},
    {"textures/gui.tga", "options", 0, 149, 210, 34},
    {"textures/gui.tga", "quit", 0, 185, 98, 36},
    {"textures/gui.tga", "menu marker", 22, 29, 42, 29},
    {"textures/gui.tga", "bobbing picture", 361, 420, 321, 420},
    {"textures/gui.tga", "high score heading", 0, 709, 402, 101},
    {"textures/gui.tga", "high score list frame", 5, 1018, 324, 307},
    {"textures/gui.tga", "back", 0, 223, 217, 35},
    {"textures/gui.tga", "back marker", 23, 30, 41, 27},
    {"textures/gui.tga", "options heading", 0, 617, 286, 64},
    {"textures/gui.tga", "bindings list frame", 698, 662, 321, 307},
    {"textures/gui.tga", "change binding", 797, 701, 124, 49},
    {"textures/gui.tga", "mouse label", 494, 691, 184, 24},
    {"textures/gui.tga", "invert off", 430, 1008, 20, 20},
    {"textures/gui.tga", "invert on", 364, 1008, 20, 20},
    {"textures/gui.tga", "invert off, hovered", 408, 1008, 20, 20},
    {"textures/gui.tga", "invert on, hovered", 386, 1008, 20, 20},
    {"textures/gui.tga", "sensitivity label", 462, 661, 215, 26},
    {"textures/gui.tga", "slider track", 719, 346, 297, 34},
    {"textures/gui.tga", "slider knob", 358, 898, 51, 50},
    {"textures/gui.tga", "slider knob, hovered", 409, 898, 51, 50},
    {"textures/gui.tga", "resume", 0, 261, 319, 35},
    {"textures/gui.tga", "quit to menu", 0, 299, 212, 36},
    {"textures/gui.tga", "mouse cursor", 0, 32, 20, 33},
    {"textures/instructions.tga", "instructions", 9, 676, 1006, 671},
    {"textures/instructions.tga", "game over", 0, 1023, 1024, 307},
    {"textures/largegraphics.tga", "options picture", 0, 511, 256, 512},
    {"textures/largegraphics.tga", "high score picture", 256, 511, 256, 512},
    {"fonts/largenumbers.tga", "health panel", 2, 509, 173, 60},
    {"fonts/largenumbers.tga", "energy panel", 2, 447, 173, 60},
    {"fonts/largenumbers.tga", "arrows panel", 2, 385, 173, 60},
    {"fonts/largenumbers.tga", "score panel", 2, 61, 282, 60},
    {"fonts/largenumbers.tga", "radar", 284, 509, 225, 225},
    {"fonts/largenumbers.tga", "power cell blip", 272, 507, 6, 6},
    {"fonts/largenumbers.tga", "arrow case blip", 263, 507, 6, 6},
    {"fonts/largenumbers.tga", "ghost blip", 254, 507, 6, 6},
    {"fonts/largenumbers.tga", "crosshair", 215, 511, 36, 35},
};

float coverage(const Image& image, int x0, int y0, int w, int h) {
    float sum = 0.0f;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x)
            sum += image.at(x, y).a;
    }
    return sum / static_cast<float>(w * h);
}

}  // namespace

TEST(Atlases, ImagesHaveTheSizesAndDepthsTheGameNeeds) {
    ASSERT_FALSE(generatedRoot().empty());
    const Expected expected[] = {
        {"textures/ground.tga", 0, 24},
        {"textures/carpet.tga", 0, 24},
        {"textures/wood.tga", 0, 24},
        {"textures/ceiling.tga", 0, 24},
        {"textures/box.tga", 0, 24},
        {"textures/gui.tga", 1024, 32},
        {"textures/instructions.tga", 1024, 32},
        {"textures/largegraphics.tga", 512, 32},
        {"fonts/largenumbers.tga", 512, 32},
        {"fonts/small.tga", 0, 32},
        {"fonts/scoreletters.tga", 0, 32},
    };
    for (const Expected& e : expected) {
        std::string bytes = readFile(resource(e.file));
        ASSERT_GE(bytes.size(), 18u) << e.file;
        EXPECT_EQ(bytes[1], 0) << e.file << " must not announce a colour map";
        EXPECT_TRUE(bytes[2] == 2 || bytes[2] == 10) << e.file;
        int bits = 0;
        Image image = loadImage(e.file, &bits);
        EXPECT_EQ(bits, e.bits) << e.file;
        EXPECT_EQ(image.width(), image.height()) << e.file;
        int side = image.width();
        EXPECT_TRUE(side >= 2 && (side & (side - 1)) == 0) << e.file << " is " << side;
        if (e.size) {
            EXPECT_EQ(side, e.size) << e.file;
        }
    }
}

TEST(Atlases, ControlPicturesLieInsideTheirTextureAndAreNotEmpty) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const ControlPicture& p : kPictures) {
        Image image = loadImage(p.file);
        ASSERT_GT(image.width(), 0) << p.file;
        int top = p.py - p.h + 1;
        ASSERT_GE(p.px, 0) << p.what;
        ASSERT_GE(top, 0) << p.what;
        ASSERT_LE(p.px + p.w, image.width()) << p.what;
        ASSERT_LE(p.py, image.height() - 1) << p.what;
        EXPECT_GT(coverage(image, p.px, top, p.w, p.h), 0.02f) << p.what << " is empty";
    }
}

// A button of several words reads as one phrase: between its first and last
// solid column no gap is much wider than a space.
TEST(Atlases, ButtonWordsSitASpaceApart) {
    ASSERT_FALSE(generatedRoot().empty());
    Image image = loadImage("textures/gui.tga");
    ASSERT_EQ(image.width(), 1024);
    for (const ControlPicture& p : kPictures) {
        const std::string what = p.what;
        if (what != "high scores" && what != "resume" && what != "quit to menu") {
            continue;
        }
        int first = -1, last = -1, widest = 0;
        for (int x = p.px; x < p.px + p.w; ++x) {
            bool solid = false;
            for (int y = p.py - p.h + 1; y <= p.py && !solid; ++y)
                solid = image.at(x, y).a > 0.5f;
            if (solid) {
                widest = first < 0 ? 0 : std::max(widest, x - last - 1);
                first = first < 0 ? x : first;
                last = x;
            }
        }
        EXPECT_GT(last - first, p.w / 2) << what << " has no label";
        EXPECT_LE(widest, 12) << what << " has a gap between its words";
    }
}

// The high score picture is drawn a quarter turn round (orientation 2), so it
// is stored turned the other way: the moon, in the landscape's upper left,
// lands in the texture's upper half, right of the middle, not low down.
TEST(Atlases, TurnedHighScorePictureIsStoredTurned) {
    ASSERT_FALSE(generatedRoot().empty());
    Image image = loadImage("textures/largegraphics.tga");
    ASSERT_EQ(image.width(), 512);
    auto meanRed = [&](int x0, int y0) {
        float sum = 0.0f;
        for (int y = y0; y < y0 + 60; ++y) {
            for (int x = x0; x < x0 + 60; ++x)
                sum += image.at(x, y).r;
        }
        return sum / 3600.0f;
    };
    EXPECT_GT(meanRed(369, 80), 0.5f) << "no moon near the texture's top right";
    EXPECT_LT(meanRed(338, 371), 0.3f) << "the picture is turned the wrong way";
}

TEST(Atlases, SurfaceTexturesTileSeamlessly) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const char* file : {"textures/ground.tga", "textures/carpet.tga", "textures/wood.tga",
                             "textures/ceiling.tga"}) {
        Image image = loadImage(file);
        ASSERT_GT(image.width(), 0) << file;
        int n = image.width();
        auto columnJump = [&](int a, int b) {
            float sum = 0.0f;
            for (int y = 0; y < n; ++y)
                sum += std::fabs(image.at(a, y).g - image.at(b, y).g);
            return sum / n;
        };
        auto rowJump = [&](int a, int b) {
            float sum = 0.0f;
            for (int x = 0; x < n; ++x)
                sum += std::fabs(image.at(x, a).g - image.at(x, b).g);
            return sum / n;
        };
        // The wrap-around step may not be much rougher than an inner step.
        float inner = (columnJump(n / 2, n / 2 + 1) + columnJump(n / 3, n / 3 + 1) +
                       rowJump(n / 2, n / 2 + 1) + rowJump(n / 3, n / 3 + 1)) /
                      4.0f;
        EXPECT_LT(columnJump(n - 1, 0), inner * 2.5f + 0.01f) << file;
        EXPECT_LT(rowJump(n - 1, 0), inner * 2.5f + 0.01f) << file;
    }
}

namespace {

std::vector<std::pair<int, int>> readMetrics(const std::string& file, bool& valid) {
    std::vector<std::pair<int, int>> pairs;
    valid = true;
    FILE* in = std::fopen(resource(file).c_str(), "r");
    if (!in) {
        valid = false;
        return pairs;
    }
    // The same pattern the font loader reads with.
    for (int i = 0; i < 100 && valid; ++i) {
        int advance = 0, drop = 0;
        if (std::fscanf(in, "%d, %d,", &advance, &drop) != 2)
            valid = false;
        pairs.push_back({advance, drop});
    }
    std::fclose(in);
    return pairs;
}

}  // namespace

TEST(Fonts, MetricsFilesHoldOneHundredPairsInTenRows) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const char* file :
         {"fonts/small.tga.txt", "fonts/scoreletters.tga.txt", "fonts/largenumbers.tga.txt"}) {
        std::string text = readFile(resource(file));
        int rows = 0;
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++rows;
            int commas = 0;
            for (char c : line)
                commas += c == ',';
            EXPECT_EQ(commas, 20) << file << " row " << rows;
        }
        EXPECT_EQ(rows, 10) << file;
        bool valid = false;
        auto metrics = readMetrics(file, valid);
        ASSERT_TRUE(valid) << file;
        for (int i = 1; i < 95; ++i) {  // the printable characters after the space
            EXPECT_GT(metrics[static_cast<size_t>(i)].first, 0) << file << " glyph " << i;
        }
    }
}

TEST(Fonts, GlyphsAreWhiteCoverageInsideTheirCells) {
    ASSERT_FALSE(generatedRoot().empty());
    struct FontFile {
        const char* file;
        int cell;
        const char* text;  // characters that must be drawn
    };
    for (const FontFile& f : {FontFile{"fonts/small.tga", 12, "AZaz09%"},
                              FontFile{"fonts/scoreletters.tga", 25, "AZaz09!."},
                              FontFile{"fonts/largenumbers.tga", 51, "0123456789"}}) {
        Image atlas = loadImage(f.file);
        ASSERT_GE(atlas.width(), 10 * f.cell) << f.file;
        for (const char* c = f.text; *c; ++c) {
            int glyph = *c - 32;
            int x0 = (glyph % 10) * f.cell, y0 = (glyph / 10) * f.cell;
            // Only the first C - 1 rows and columns of a cell are shown.
            float inside = coverage(atlas, x0, y0, f.cell - 1, f.cell - 1);
            EXPECT_GT(inside, 0.03f) << f.file << " '" << *c << "' is empty";
            float maxAlpha = 0.0f;
            for (int y = y0; y < y0 + f.cell - 1; ++y) {
                for (int x = x0; x < x0 + f.cell - 1; ++x) {
                    const Rgba& p = atlas.at(x, y);
                    if (p.a > maxAlpha)
                        maxAlpha = p.a;
                    if (f.cell != 25 && p.a > 0.5f) {  // the score font has a dark rim
                        EXPECT_GT(p.r + p.g + p.b, 2.9f) << f.file << " '" << *c << "'";
                    }
                }
            }
            EXPECT_GT(maxAlpha, 0.9f) << f.file << " '" << *c << "'";
        }
    }
}
