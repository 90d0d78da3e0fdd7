#include <gtest/gtest.h>

#include "app/frame_timer.h"
#include "app/game_window.h"
#include "support/fake_clock.h"

namespace {

TEST(FixedStepper, ThreeSecondFrameRuns99StepsAndLeavesJustUnderOneStep) {
    FixedStepper stepper;
    int counted = 0;
    int steps = stepper.run(3.0, [&] { ++counted; });
    EXPECT_EQ(steps, 99);
    EXPECT_EQ(counted, 99);
    EXPECT_LT(stepper.accumulator(), 0.01);
    EXPECT_GT(stepper.accumulator(), 0.0099);
}

TEST(FixedStepper, CarriesTheRemainderToTheNextFrame) {
    FixedStepper stepper;
    EXPECT_EQ(stepper.run(0.025, [] {}), 2);
    EXPECT_NEAR(stepper.accumulator(), 0.005, 1e-12);
    EXPECT_EQ(stepper.run(0.005, [] {}), 1);
    EXPECT_NEAR(stepper.accumulator(), 0.0, 1e-12);
    EXPECT_NEAR(stepper.stepFraction(), 0.0f, 1e-6f);
}

TEST(FixedStepper, NegativeTimeNeverRunsSteps) {
    FixedStepper stepper;
    EXPECT_EQ(stepper.run(-5.0, [] {}), 0);
    EXPECT_EQ(stepper.accumulator(), 0.0);
}

TEST(FrameTimer, UsesTheCounterWhenItHasAFrequency) {
    FakeClock clock(1000);
    FrameTimer timer(clock);
    EXPECT_TRUE(timer.usesHighResolution());
    clock.advanceTicks(250);
    EXPECT_DOUBLE_EQ(timer.read(), 0.25);
    EXPECT_DOUBLE_EQ(timer.read(), 0.0);
}

TEST(FrameTimer, FallsBackToMilliseconds) {
    FakeClock clock(0);
    FrameTimer timer(clock);
    EXPECT_FALSE(timer.usesHighResolution());
    EXPECT_DOUBLE_EQ(timer.tickLength(), 0.001);
    clock.advanceSeconds(0.5);
    EXPECT_DOUBLE_EQ(timer.read(), 0.5);
}

TEST(GameWindowFrames, FrameTimeIsZeroOnTheFirstFrameAfterAStateChange) {
    FakeClock clock(1000);
    GameWindow window(clock);
    clock.advanceTicks(30);
    EXPECT_EQ(window.beginFrame(), 0.0f);  // the very first frame counts as a change
    clock.advanceTicks(30);
    EXPECT_FLOAT_EQ(window.beginFrame(), 0.03f);
    window.setState(GameState::Options);
    clock.advanceTicks(40);
    EXPECT_EQ(window.beginFrame(), 0.0f);
    EXPECT_DOUBLE_EQ(window.frameTime(), 0.04);
    EXPECT_DOUBLE_EQ(window.totalTime(), 0.1);
    clock.advanceTicks(20);
    EXPECT_FLOAT_EQ(window.beginFrame(), 0.02f);
}

}  // namespace
