#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

// A window bigger than the display is shrunk to 90 % of it, keeping its
// shape; anything that fits, and an unknown display, keep the size.
TEST(WindowSize, OnlyWhatDoesNotFitTheDisplayIsShrunk) {
    struct Case {
        platform::Size wanted, usable, expected;
    } cases[] = {
        {{1024, 768}, {1920, 1080}, {1024, 768}},
        {{1920, 1080}, {1920, 1080}, {1920, 1080}},  // exactly the display
        {{1024, 768}, {800, 600}, {720, 540}},
        {{1024, 768}, {1280, 720}, {864, 648}},  // too high only
        {{2560, 1080}, {1920, 1080}, {1728, 729}},
        {{1024, 768}, {0, 0}, {1024, 768}},
    };
    for (const Case& c : cases) {
        platform::Size got = platform::shrinkToFit(c.wanted, c.usable);
        EXPECT_EQ(got.width, c.expected.width) << c.wanted.width << "x" << c.wanted.height;
        EXPECT_EQ(got.height, c.expected.height) << c.wanted.width << "x" << c.wanted.height;
    }
}

}  // namespace
