// The CPU-made mipmap levels: their sizes, the rounding of the box filter and
// the pictures that describe nothing. (That they equal GLU's levels is checked
// with a real OpenGL context in texture_font_gltest.cpp.)
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "assets/mipmap_chain.h"

namespace {

TEST(MipmapChainTest, LevelsHalveDownToOnePixel) {
    struct Case {
        int width, height;
        std::vector<std::pair<int, int>> sizes;
    } cases[] = {
        {4, 4, {{4, 4}, {2, 2}, {1, 1}}},
        {8, 2, {{8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {1, 4, {{1, 4}, {1, 2}, {1, 1}}},
        {1, 1, {{1, 1}}},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(c.width * c.height * 3), 9);
        MipmapChain chain(pixels.data(), c.width, c.height, 3);
        ASSERT_EQ(chain.levelCount(), static_cast<int>(c.sizes.size()))
            << c.width << "x" << c.height;
        for (int i = 0; i < chain.levelCount(); ++i) {
            EXPECT_EQ(chain.level(i).width, c.sizes[i].first);
            EXPECT_EQ(chain.level(i).height, c.sizes[i].second);
            EXPECT_EQ(chain.level(i).rgba[0], 9);
            EXPECT_EQ(chain.level(i).rgba[3], 255) << "an RGB picture is opaque at every level";
        }
        EXPECT_EQ(chain.level(chain.levelCount()).rgba, nullptr);
    }
}

TEST(MipmapChainTest, EachPixelIsTheRoundedMeanOfTheFourAboveIt) {
    // Two RGBA rows of two pixels; one channel each tests a rounding.
    const std::uint8_t pixels[] = {
        0, 1, 255, 10, /**/ 1, 1, 255, 20,  //
        0, 0, 254, 30, /**/ 1, 0, 255, 41,  //
    };
    MipmapChain chain(pixels, 2, 2, 4);
    ASSERT_EQ(chain.levelCount(), 2);
    const std::uint8_t* mean = chain.level(1).rgba;
    EXPECT_EQ(mean[0], 1);    // (0+1+0+1+2)/4
    EXPECT_EQ(mean[1], 1);    // (1+1+0+0+2)/4
    EXPECT_EQ(mean[2], 255);  // (255+255+254+255+2)/4
    EXPECT_EQ(mean[3], 25);   // (10+20+30+41+2)/4

    // A dimension of 1 pairs each pixel with itself: the mean of two.
    const std::uint8_t row[] = {10, 0, 0, 0, 13, 0, 0, 0};
    MipmapChain line(row, 2, 1, 4);
    EXPECT_EQ(line.level(1).rgba[0], 12);  // (10+13+1)/2
}

TEST(MipmapChainTest, BlueFirstPixelsArePutInOrder) {
    const std::uint8_t bgr[] = {1, 2, 3};
    const std::uint8_t bgra[] = {1, 2, 3, 4};
    MipmapChain fromBgr(bgr, 1, 1, 3, true);
    MipmapChain fromBgra(bgra, 1, 1, 4, true);
    const std::uint8_t* a = fromBgr.level(0).rgba;
    const std::uint8_t* b = fromBgra.level(0).rgba;
    EXPECT_EQ(std::vector<std::uint8_t>(a, a + 4), (std::vector<std::uint8_t>{3, 2, 1, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(b, b + 4), (std::vector<std::uint8_t>{3, 2, 1, 4}));
}

TEST(MipmapChainTest, NoLevelsForAPictureThatIsNotThere) {
    const std::uint8_t pixel[4] = {};
    EXPECT_EQ(MipmapChain(nullptr, 4, 4, 3).levelCount(), 0);
    EXPECT_EQ(MipmapChain(pixel, 0, 4, 3).levelCount(), 0);
    EXPECT_EQ(MipmapChain(pixel, 1, -1, 4).levelCount(), 0);
    EXPECT_EQ(MipmapChain(pixel, 1, 1, 2).levelCount(), 0);
}

}  // namespace
