#include <gtest/gtest.h>

#include "scene/animation.h"

namespace {

TEST(TweenTest, LinearReachesItsEndAfterTheDurationAndStays) {
    Tween tween;
    tween.init(0, 10, 1.0f, false);
    EXPECT_EQ(tween.value(), 0.0f);
    for (int i = 0; i < 50; ++i) {
        tween.step();
    }
    EXPECT_NEAR(tween.value(), 5.0f, 1e-5);
    EXPECT_FALSE(tween.finished());
    for (int i = 0; i < 50; ++i) {
        tween.step();
    }
    EXPECT_TRUE(tween.finished());
    EXPECT_EQ(tween.value(), 10.0f);
    tween.step();
    tween.step();
    EXPECT_EQ(tween.value(), 10.0f);
    EXPECT_EQ(tween.value(0.5f), 10.0f);
}

TEST(TweenTest, SmoothEasesAndInterpolatesBetweenSteps) {
    Tween tween;
    tween.init(0, 1, 1.0f, true);
    for (int i = 0; i < 10; ++i) {
        tween.step();
    }
    EXPECT_NEAR(tween.value(), 0.028f, 1e-4);
    float before = tween.value();
    tween.step();
    float after = tween.value();
    EXPECT_NEAR(tween.value(0.5f), (before + after) / 2, 1e-6);
    EXPECT_EQ(tween.value(0.0f), before);
    for (int i = 0; i < 39; ++i) {
        tween.step();
    }
    EXPECT_NEAR(tween.value(), 0.5f, 1e-5);
}

TEST(TweenTest, ZeroDurationFinishesAfterOneSecond) {
    Tween tween;
    tween.init(2, 4, 0.0f, false);
    for (int i = 0; i < 99; ++i) {
        tween.step();
    }
    EXPECT_FALSE(tween.finished());
    tween.step();
    EXPECT_TRUE(tween.finished());
    EXPECT_EQ(tween.value(), 4.0f);
}

TEST(TweenTest, ReverseStartsFromTheEndValue) {
    Tween finished;
    finished.init(0.3f, 1.0f, 1.0f, false);
    for (int i = 0; i < 100; ++i) {
        finished.step();
    }
    ASSERT_TRUE(finished.finished());
    finished.reverse(-1);
    EXPECT_EQ(finished.value(), 1.0f);
    EXPECT_FALSE(finished.finished());
    for (int i = 0; i < 99; ++i) {
        finished.step();
    }
    EXPECT_FALSE(finished.finished());  // kept the 1 s duration
    finished.step();
    EXPECT_TRUE(finished.finished());
    EXPECT_FLOAT_EQ(finished.value(), 0.3f);

    // Not yet finished: it still starts from the end value.
    Tween running;
    running.init(0, 10, 1.0f, false);
    for (int i = 0; i < 30; ++i) {
        running.step();
    }
    running.reverse(0.5f);
    EXPECT_EQ(running.value(), 10.0f);
    EXPECT_EQ(running.value(0.3f), 10.0f);
    for (int i = 0; i < 50; ++i) {
        running.step();
    }
    EXPECT_TRUE(running.finished());
    EXPECT_EQ(running.value(), 0.0f);
    // And it swings back again.
    running.reverse(1.0f);
    EXPECT_EQ(running.value(), 0.0f);
    for (int i = 0; i < 100; ++i) {
        running.step();
    }
    EXPECT_EQ(running.value(), 10.0f);
}

TEST(Tween3Test, SharesProgressAndKeepsTheRateForNoDuration) {
    Tween3 tween;
    tween.start(Vector3(0, 0, 0), Vector3(10, -20, 4), 0.5f, false);
    for (int i = 0; i < 25; ++i) {
        tween.step();
    }
    EXPECT_NEAR(tween.value().x, 5.0f, 1e-4);
    EXPECT_NEAR(tween.value().y, -10.0f, 1e-4);
    EXPECT_NEAR(tween.value().z, 2.0f, 1e-4);
    for (int i = 0; i < 25; ++i) {
        tween.step();
    }
    EXPECT_TRUE(tween.finished());
    EXPECT_EQ(tween.value(), Vector3(10, -20, 4));
    tween.step();
    EXPECT_EQ(tween.value(), Vector3(10, -20, 4));

    // Duration 0 keeps the 0.5 s rate.
    tween.start(Vector3(1, 1, 1), Vector3(2, 2, 2), 0.0f, true);
    for (int i = 0; i < 50; ++i) {
        tween.step();
    }
    EXPECT_TRUE(tween.finished());
    EXPECT_EQ(tween.value(), Vector3(2, 2, 2));
}

TEST(KeyframeTrackTest, LoopsOverTheSumOfItsSegments) {
    KeyframeTrack track(0, 35, 0.11666667f);
    track.addKeyframe(-56, 0.1f);
    track.addKeyframe(0, 0.11666667f);
    EXPECT_NEAR(track.totalLength(), 1.0f / 3.0f, 1e-6);
    track.restart();
    EXPECT_EQ(track.value(), 0.0f);

    for (int i = 0; i < 20; ++i) {
        track.update(0.01f);
    }
    EXPECT_EQ(track.activeKeyframe(), 1);
    // 0.2 s is 0.0833 s into the second segment: 35 - 91 * 0.8333.
    EXPECT_NEAR(track.value(), 35.0f - 91.0f * (0.2f - 0.11666667f) / 0.1f, 1e-3);

    track.update(0.2f);  // 0.4 s wraps to about 0.0667 s
    EXPECT_EQ(track.activeKeyframe(), 0);
    EXPECT_NEAR(track.value(), 35.0f * (0.4f - 1.0f / 3.0f) / 0.11666667f, 1e-2);
    EXPECT_NEAR(track.previous(), 35.0f - 91.0f * (0.2f - 0.11666667f) / 0.1f, 1e-3);

    track.restart();
    track.update(1.0f / 3.0f);  // exactly the end of the loop
    EXPECT_EQ(track.activeKeyframe(), 2);
    EXPECT_NEAR(track.value(), 0.0f, 1e-3);
}

TEST(KeyframeTrackTest, NonPositiveDurationsCountAsOneSecondAndHugeStepsWrap) {
    KeyframeTrack track(1, 2, 0.0f);
    track.addKeyframe(5, -3.0f, true);
    EXPECT_EQ(track.totalLength(), 2.0f);
    track.update(1.5f);
    EXPECT_FLOAT_EQ(track.value(), 2.0f + 3.0f * 0.5f);  // smooth at u = 0.5
    track.update(1e12f);
    EXPECT_GE(track.time(), 0.0f);
    EXPECT_LE(track.time(), 2.0f);
}

TEST(AngleValueTest, WrapsAndInterpolatesTheShortWay) {
    AngleValue angle;
    angle.advance(350);
    EXPECT_EQ(angle.value(1.0f), 350.0f);
    angle.advance(20);
    EXPECT_EQ(angle.current(), 10.0f);
    EXPECT_EQ(angle.previous(), 350.0f);
    EXPECT_EQ(angle.value(0.5f), 360.0f);

    AngleValue back;
    back.advance(-350);
    back.advance(-20);
    EXPECT_EQ(back.current(), -10.0f);
    EXPECT_EQ(back.value(0.5f), 0.0f);  // -350 + 360 - 20 * 0.5

    AngleValue up;
    up.advance(10);
    up.advance(340);  // 10 -> 350 goes backwards through 0
    EXPECT_EQ(up.value(0.5f), 10.0f + 360.0f - 20.0f * 0.5f);
    AngleValue plain;
    plain.advance(30);
    EXPECT_EQ(plain.value(0.5f), 15.0f);
}

}  // namespace
