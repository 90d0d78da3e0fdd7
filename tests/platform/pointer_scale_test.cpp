#include <gtest/gtest.h>

#include "platform/events.h"

namespace {

// Mouse positions reach the game in pixels of what it draws, also where the
// window system counts in larger units (high-DPI screens).
TEST(PointerScale, WindowUnitsBecomeDrawablePixels) {
    struct Case {
        int position, windowUnits, drawablePixels, expected;
    } cases[] = {
        {300, 1024, 1024, 300},  // the same size: unchanged
        {300, 1024, 2048, 600},  // twice the pixels
        {1023, 1024, 2048, 2046},
        {1, 800, 1200, 1},  // 1.5 pixels a unit, rounded down
        {3, 800, 1200, 4},
        {-10, 800, 1600, -20},  // left of the window while a button is held
        {-1, 800, 1200, -2},    // still left of it, not on its first column
        {300, 0, 2048, 300},    // sizes unknown: unchanged
        {300, 1024, 0, 300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::toDrawablePixels(c.position, c.windowUnits, c.drawablePixels),
                  c.expected)
            << c.position << " of " << c.windowUnits << " in " << c.drawablePixels;
    }
}

}  // namespace
