#pragma once
#include <cstdint>

#include "platform/clock.h"

// Measures the time between frames with the high-resolution counter when the
// clock has one, else with the millisecond clock.
class FrameTimer {
public:
    explicit FrameTimer(platform::Clock& clock);

    // Seconds since the previous read (or since construction).
    double read();
    bool usesHighResolution() const { return m_highResolution; }
    double tickLength() const { return m_tickLength; }

private:
    std::uint64_t now();

    platform::Clock& m_clock;
    bool m_highResolution = false;
    double m_tickLength = 0.001;
    std::uint64_t m_lastReading = 0;
};

// Runs game logic in fixed steps of 0.01 s however long the frames take. At
// most one second is caught up per frame: 1.0 less 0.01 a hundred times in
// double precision leaves just under one step, so a long frame runs 99 steps.
class FixedStepper {
public:
    static constexpr double STEP_LENGTH = 0.01;
    static constexpr double STEPS_PER_SECOND = 100.0;

    // Adds frameTime and runs step() while a whole step is available; returns
    // the number of steps run.
    template <typename StepFunction>
    int run(double frameTime, StepFunction&& step) {
        add(frameTime);
        int steps = 0;
        while (STEP_LENGTH <= m_accumulator) {
            step();
            m_accumulator -= STEP_LENGTH;
            ++steps;
        }
        return steps;
    }

    double accumulator() const { return m_accumulator; }
    // How far the logic is into the next step, 0 to 1 (for interpolation).
    float stepFraction() const { return static_cast<float>(STEPS_PER_SECOND * m_accumulator); }

private:
    void add(double frameTime);

    double m_accumulator = 0.0;
};
