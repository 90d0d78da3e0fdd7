#pragma once
#include <cstddef>
#include <vector>

#include "app/demo_file.h"
#include "platform/clock.h"

// Real frame times of a replay, in milliseconds.
struct DemoTimings {
    std::size_t frames = 0;
    double medianMs = 0.0;
    double percentile99Ms = 0.0;
    double averageFps = 0.0;
};

// Hands the main loop a recorded game frame by frame: the events to handle
// and the frame time to use instead of the clock's. At the recorded pace it
// waits for real time to catch up with the recording; timed, it runs as fast
// as frames can be drawn and measures each one.
class DemoPlayer {
public:
    enum class Pace { Recorded, AsFastAsPossible };

    DemoPlayer(Demo demo, Pace pace, platform::Clock& clock = platform::systemClock());

    const Demo& demo() const { return m_demo; }
    bool finished() const { return m_next >= m_demo.frames.size(); }
    // The next frame; only while not finished(). At the recorded pace this
    // waits until the frame is due.
    const DemoFrame& nextFrame();
    // The time of the frame nextFrame returned last.
    double frameTime() const { return m_current != nullptr ? m_current->frameTime : 0.0; }
    // Marks the end of the frame nextFrame returned, for the timings.
    void endFrame();

    DemoTimings timings() const;
    const std::vector<double>& realFrameTimes() const { return m_realFrameTimes; }

private:
    double now();

    Demo m_demo;
    Pace m_pace;
    platform::Clock& m_clock;
    std::size_t m_next = 0;
    const DemoFrame* m_current = nullptr;
    bool m_started = false;
    double m_startTime = 0.0;
    double m_lastMark = 0.0;
    double m_recordedElapsed = 0.0;
    std::vector<double> m_realFrameTimes;
};

// The median and 99th percentile (nearest rank) of frame times in seconds,
// and frames per second over their sum.
DemoTimings summariseFrameTimes(std::vector<double> seconds);
