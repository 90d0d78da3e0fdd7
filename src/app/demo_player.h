#pragma once
#include <cstddef>
#include <utility>
#include <vector>

#include "app/demo_file.h"
#include "app/game_state.h"
#include "platform/clock.h"

// Real frame times of a replay, in milliseconds.
struct DemoTimings {
    std::size_t frames = 0;
    double medianMs = 0.0;
    double percentile99Ms = 0.0;
    double averageFps = 0.0;
};

// Milestones of start-up in a replay, in milliseconds; negative when the
// recording never got there. The player waited on the ready screen for as
// long as it liked, so the way to play is counted in two parts without it.
struct DemoStartup {
    // From the start of the program to the end of the first frame.
    double firstFrameMs = -1.0;
    // From the frame that handled Start (the first Loading frame, which
    // builds the level) to the end of the first frame of the ready screen.
    double startToReadyMs = -1.0;
    // The first frame of play, from the click that began it.
    double firstPlayFrameMs = -1.0;
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
    // Marks the end of the frame nextFrame returned, for the timings; state
    // is the one the frame ran in.
    void endFrame(GameState state);

    DemoTimings timings() const;
    // The timings of the frames each screen ran, the screens in the order
    // the replay first reached them.
    std::vector<std::pair<GameState, DemoTimings>> timingsByState() const;
    const DemoStartup& startup() const { return m_startup; }
    const std::vector<double>& realFrameTimes() const { return m_realFrameTimes; }

private:
    double now();

    Demo m_demo;
    Pace m_pace;
    platform::Clock& m_clock;
    std::size_t m_next = 0;
    const DemoFrame* m_current = nullptr;
    bool m_started = false;
    double m_constructed = 0.0;
    double m_loadingStart = -1.0;
    DemoStartup m_startup;
    double m_startTime = 0.0;
    double m_lastMark = 0.0;
    double m_recordedElapsed = 0.0;
    std::vector<double> m_realFrameTimes;
    std::vector<GameState> m_frameStates;  // beside m_realFrameTimes
};

// The median and 99th percentile (nearest rank) of frame times in seconds,
// and frames per second over their sum.
DemoTimings summariseFrameTimes(std::vector<double> seconds);
