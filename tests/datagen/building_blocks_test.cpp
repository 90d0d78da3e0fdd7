// The generator's own building blocks: writers, noise, geometry helpers.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>

#include "art.h"
#include "audio_io.h"
#include "fonts.h"
#include "image.h"
#include "level.h"
#include "noise.h"
#include "support/temp_dir.h"

using namespace datagen;

TEST(TgaWriter, RoundTripsBothDepthsWithTheBottomRowFirst) {
    TempDir dir;
    Image image(4, 4, Rgba{0, 0, 0, 1});
    image.at(0, 0) = Rgba{1, 0, 0, 0.5f};  // top left
    image.at(3, 3) = Rgba{0, 0, 1, 1};     // bottom right
    for (bool alpha : {false, true}) {
        const std::string path = dir.file(alpha ? "a.tga" : "b.tga");
        ASSERT_TRUE(writeTga(path, image, alpha));
        std::string bytes = readFile(path);
        ASSERT_EQ(bytes.size(), 18u + 16u * (alpha ? 4 : 3));
        EXPECT_EQ(bytes[2], 2);
        EXPECT_EQ(static_cast<unsigned char>(bytes[16]), alpha ? 32 : 24);
        EXPECT_EQ(bytes[17] & 0x30, 0) << "rows bottom to top, left to right";
        // The first pixel stored is the bottom-left one, in blue-green-red order.
        EXPECT_EQ(static_cast<unsigned char>(bytes[18]), 0);
        int bits = 0;
        Image back;
        ASSERT_TRUE(readTga(path, back, &bits));
        EXPECT_EQ(bits, alpha ? 32 : 24);
        EXPECT_FLOAT_EQ(back.at(0, 0).r, 1.0f);
        EXPECT_NEAR(back.at(0, 0).a, alpha ? 0.5f : 1.0f, 0.003f);
        EXPECT_FLOAT_EQ(back.at(3, 3).b, 1.0f);
    }
}

TEST(TgaWriter, FullyTransparentPixelsStoreNoStrayColour) {
    TempDir dir;
    Image image(2, 2, Rgba{0.7f, 0.2f, 0.9f, 0.0f});
    ASSERT_TRUE(writeTga(dir.file("clear.tga"), image, true));
    std::string bytes = readFile(dir.file("clear.tga"));
    for (size_t i = 18; i < bytes.size(); ++i)
        EXPECT_EQ(bytes[i], 0) << i;
}

TEST(TgaWriter, UnwritablePathIsReported) {
    Image image(2, 2);
    EXPECT_FALSE(writeTga("/nonexistent-folder/x.tga", image, false));
}

// The picture of a control must be what setTexture samples: with S = side - 1,
// v runs from (S - py) / S up by (h - 1) / S, which wraps to the top rows.
TEST(PictureRect, MatchesTheTextureRectangleOfAControl) {
    const int side = 1024;
    const float S = side - 1.0f;
    struct Case {
        int px, py, w, h;
    };
    for (const Case& c : {Case{0, 75, 98, 38}, Case{463, 1023, 560, 316}, Case{22, 29, 42, 29}}) {
        PixelRect r = pictureRect(c.px, c.py, c.w, c.h);
        float vMin = (S - c.py) / S, vMax = (S - c.py + c.h - 1) / S;
        // Texture coordinate v = k / S lands on image row side - 1 - k (row 0 on top).
        int bottomRow = side - 1 - static_cast<int>(std::lround(vMin * S));
        int topRow = side - 1 - static_cast<int>(std::lround(vMax * S));
        EXPECT_EQ(r.y + r.h - 1, bottomRow);
        EXPECT_EQ(r.y, topRow);
        EXPECT_EQ(r.x, static_cast<int>(std::lround(c.px / S * S)));
        EXPECT_EQ(r.w, c.w);
    }
}

TEST(Noise, RepeatsExactlyAcrossTheTile) {
    for (int period : {3, 8}) {
        for (float x : {0.05f, 0.37f, 0.81f}) {
            for (float y : {0.11f, 0.5f}) {
                EXPECT_NEAR(tileFbm(x, y, period, 4, 7u), tileFbm(x + 1.0f, y, period, 4, 7u),
                            1e-4f);
                EXPECT_NEAR(tileFbm(x, y, period, 4, 7u), tileFbm(x, y + 1.0f, period, 4, 7u),
                            1e-4f);
                EXPECT_NEAR(tileFbm2(x, y, period, 2 * period, 3, 9u),
                            tileFbm2(x + 1.0f, y + 1.0f, period, 2 * period, 3, 9u), 1e-4f);
                float a1, a2, b1, b2;
                uint32_t ia = 0, ib = 1;
                tileCells(x, y, period, 5u, a1, a2, &ia);
                tileCells(x + 1.0f, y, period, 5u, b1, b2, &ib);
                EXPECT_NEAR(a1, b1, 1e-4f);
                EXPECT_NEAR(a2, b2, 1e-4f);
                EXPECT_EQ(ia, ib);
            }
        }
    }
}

TEST(Rng, IsRepeatableAndKeepsToItsRanges) {
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        uint64_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs |= x != c.next();
    }
    EXPECT_TRUE(differs);
    Rng r(1);
    bool low = false, high = false;
    for (int i = 0; i < 2000; ++i) {
        int v = r.rangeInt(2, 5);
        ASSERT_GE(v, 2);
        ASSERT_LE(v, 5);
        low |= v == 2;
        high |= v == 5;
        float u = r.uniform();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
    }
    EXPECT_TRUE(low && high) << "both ends of an inclusive range occur";
}

TEST(Shapes, PolygonDistanceIsNegativeInsideOnly) {
    const std::vector<float> square = {0, 0, 10, 0, 10, 10, 0, 10};
    EXPECT_NEAR(sdPolygon(5, 5, square), -5.0f, 1e-4f);
    EXPECT_NEAR(sdPolygon(13, 5, square), 3.0f, 1e-4f);
    EXPECT_NEAR(sdPolygon(10, 5, square), 0.0f, 1e-4f);
    EXPECT_LT(sdRoundBox(5, 5, 5, 5, 4, 2, 1), 0.0f);
    EXPECT_GT(sdRoundBox(9.9f, 5, 5, 5, 4, 2, 1), 0.0f);
}

TEST(Metrics, TextReadsBackWithTheFontLoadersPattern) {
    std::vector<GlyphMetric> metrics(100);
    for (int i = 0; i < 100; ++i)
        metrics[static_cast<size_t>(i)] = {i + 1, i % 7 - 3};
    TempDir dir;
    writeFile(dir.file("m.txt"), metricsText(metrics));
    FILE* in = std::fopen(dir.file("m.txt").c_str(), "r");
    ASSERT_NE(in, nullptr);
    for (int i = 0; i < 100; ++i) {
        int advance = 0, drop = 0;
        ASSERT_EQ(std::fscanf(in, "%d, %d,", &advance, &drop), 2) << i;
        EXPECT_EQ(advance, i + 1);
        EXPECT_EQ(drop, i % 7 - 3);
    }
    std::fclose(in);
}

TEST(CastlePlan, UnreachableCellsAreCounted) {
    CastleMap map = buildCastleMap();
    EXPECT_EQ(countUnreachable(map), 0);
    // Wall in one open cell completely: carving a lone open cell elsewhere.
    int lone = -1;
    for (int y = 2; y < map.height - 2 && lone < 0; ++y) {
        for (int x = 2; x < map.width - 2 && lone < 0; ++x) {
            bool allWalls = true;
            for (int j = -1; j <= 1; ++j) {
                for (int i = -1; i <= 1; ++i)
                    allWalls &= map.at(x + i, y + j) == Cell::Wall;
            }
            if (allWalls)
                lone = y * map.width + x;
        }
    }
    ASSERT_GE(lone, 0);
    map.cells[static_cast<size_t>(lone)] = Cell::Passage;
    EXPECT_EQ(countUnreachable(map), 1);
}

TEST(OggWriter, SameInputGivesSameBytesAndTheExactLength) {
    TempDir dir;
    Sound sound;
    sound.rate = 22050;
    sound.channels = 2;
    const int frames = 22050 + 123;
    for (int i = 0; i < frames; ++i) {
        float v = 0.4f * std::sin(6.2831853f * 330.0f * i / 22050.0f);
        sound.samples.push_back(v);
        sound.samples.push_back(-v);
    }
    ASSERT_TRUE(writeOgg(dir.file("a.ogg"), sound, 0.3f));
    ASSERT_TRUE(writeOgg(dir.file("b.ogg"), sound, 0.3f));
    EXPECT_TRUE(readFile(dir.file("a.ogg")) == readFile(dir.file("b.ogg")));
    OggVorbis_File file;
    ASSERT_EQ(ov_fopen(dir.file("a.ogg").c_str(), &file), 0);
    EXPECT_EQ(ov_pcm_total(&file, -1), frames);
    EXPECT_EQ(ov_info(&file, -1)->channels, 2);
    ov_clear(&file);
}

TEST(WavWriter, ClipsOutOfRangeSamples) {
    TempDir dir;
    Sound sound;
    sound.samples = {2.0f, -2.0f, 0.5f};
    ASSERT_TRUE(writeWav(dir.file("c.wav"), sound));
    std::string b = readFile(dir.file("c.wav"));
    ASSERT_EQ(b.size(), 44u + 6u);
    auto sample = [&](size_t k) {
        return static_cast<int16_t>(static_cast<uint8_t>(b[44 + 2 * k]) |
                                    static_cast<uint8_t>(b[45 + 2 * k]) << 8);
    };
    EXPECT_EQ(sample(0), 32767);
    EXPECT_EQ(sample(1), -32767);
    EXPECT_EQ(sample(2), 16384);
}
