// Where the screens' design lands in windows of every size and aspect, and
// recorded pointer positions carried from one window size to another.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/demo_file.h"
#include "app/design_fit.h"

namespace {

TEST(DesignFit, TheFrameIsScaledToTheLargestSizeThatFitsAndCentred) {
    struct Case {
        int width, height;
        float scale, offsetX, offsetY;
    } cases[] = {
        {800, 600, 0.78125f, 88, 66},     {1024, 768, 1.0f, 112, 84},
        {1920, 1080, 1.40625f, 398, 118}, {2560, 1080, 1.40625f, 718, 118},
        {640, 480, 0.625f, 70, 53},       {7680, 2160, 2.8125f, 2715, 236},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.width << "x" << c.height);
        const DesignFit fit = fitDesign(c.width, c.height);
        EXPECT_FLOAT_EQ(fit.scale, c.scale);
        EXPECT_EQ(fit.offsetX, c.offsetX);
        EXPECT_EQ(fit.offsetY, c.offsetY);
        // The whole frame is inside the window and touches two of its sides.
        const float left = fit.windowX(DESIGN_FRAME_LEFT);
        const float right = fit.windowX(DESIGN_FRAME_LEFT + DESIGN_FRAME_WIDTH);
        const float bottom = fit.windowY(DESIGN_FRAME_BOTTOM);
        const float top = fit.windowY(DESIGN_FRAME_BOTTOM + DESIGN_FRAME_HEIGHT);
        EXPECT_GE(left, -0.5f);
        EXPECT_LE(right, c.width + 0.5f);
        EXPECT_GE(bottom, -0.5f);
        EXPECT_LE(top, c.height + 0.5f);
        EXPECT_TRUE(std::abs(right - left - c.width) < 1.0f ||
                    std::abs(top - bottom - c.height) < 1.0f);
        EXPECT_NEAR(left + right, static_cast<float>(c.width), 1.0f) << "centred";
    }
}

TEST(DesignFit, AnchoredSidesKeepToTheWindowsSides) {
    for (const auto& size :
         {std::pair<int, int>{1024, 768}, {1920, 1080}, {2560, 1080}, {640, 480}, {7680, 2160}}) {
        const DesignFit fit = fitDesign(size.first, size.second);
        SCOPED_TRACE(size.first);
        EXPECT_NEAR(fit.windowX(DESIGN_FRAME_LEFT, DesignAnchor::Low), 0.0f, 0.5f);
        EXPECT_NEAR(fit.windowY(DESIGN_FRAME_BOTTOM, DesignAnchor::Low), 0.0f, 0.5f);
        EXPECT_NEAR(fit.windowX(DESIGN_FRAME_LEFT + DESIGN_FRAME_WIDTH, DesignAnchor::High),
                    size.first, 0.5f);
        EXPECT_NEAR(fit.windowY(DESIGN_FRAME_BOTTOM + DESIGN_FRAME_HEIGHT, DesignAnchor::High),
                    size.second, 0.5f);
        // Each anchor maps back to the design point it came from.
        for (DesignAnchor anchor : {DesignAnchor::Low, DesignAnchor::Centre, DesignAnchor::High}) {
            EXPECT_NEAR(fit.designX(fit.windowX(123.0f, anchor), anchor), 123.0f, 1e-3f);
            EXPECT_NEAR(fit.designY(fit.windowY(-45.0f, anchor), anchor), -45.0f, 1e-3f);
        }
    }
}

TEST(DesignFit, NoSizeIsTooSmallToFit) {
    const DesignFit fit = fitDesign(0, -5);
    EXPECT_EQ(fit.width, 1);
    EXPECT_EQ(fit.height, 1);
    EXPECT_GT(fit.scale, 0.0f);
}

platform::Event pointerAt(int x, int y) {
    platform::Event event;
    event.type = platform::EventType::MouseDown;
    event.x = x;
    event.y = y;
    return event;
}

// Recorded and replayed in the same window, the pointer comes back on the
// very pixel; replayed in another, on the same design point.
TEST(DesignFit, RecordedPointerPositionsSurviveTheTripBetweenWindowSizes) {
    const std::pair<int, int> sizes[] = {{800, 600},   {1024, 768}, {1920, 1080},
                                         {2560, 1080}, {640, 480},  {7680, 2160}};
    for (const auto& from : sizes) {
        const DesignFit recorded = fitDesign(from.first, from.second);
        for (const auto& pixel :
             {std::pair<int, int>{0, 0}, {17, 433}, {from.first - 1, 5}, {-3, from.second + 40}}) {
            const platform::Event kept =
                demoEventFromWindow(pointerAt(pixel.first, pixel.second), recorded);
            const platform::Event back = demoEventToWindow(kept, recorded);
            EXPECT_EQ(back.x, pixel.first) << from.first;
            EXPECT_EQ(back.y, pixel.second) << from.first;
            for (const auto& to : sizes) {
                const DesignFit replayed = fitDesign(to.first, to.second);
                const platform::Event there = demoEventToWindow(kept, replayed);
                const float designX = recorded.designX(static_cast<float>(pixel.first));
                const float thereX = replayed.designX(static_cast<float>(there.x));
                EXPECT_NEAR(thereX, designX, 0.5f / replayed.scale + 1e-3f)
                    << from.first << " to " << to.first;
            }
        }
    }
}

TEST(DesignFit, PositionsBeyondWhatAnIntHoldsAreClamped) {
    const DesignFit fit = fitDesign(640, 480);
    const platform::Event far = demoEventFromWindow(pointerAt(INT_MAX, INT_MIN), fit);
    EXPECT_EQ(far.x, INT_MAX);
    EXPECT_EQ(far.y, INT_MAX) << "window rows run down, design y up";
    const platform::Event back = demoEventToWindow(pointerAt(INT_MIN, INT_MAX), fit);
    EXPECT_LT(back.x, 0);
    EXPECT_LT(back.y, 0);
}

}  // namespace
