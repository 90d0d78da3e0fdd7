#include "app/demo_player.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <thread>
#include <utility>

DemoPlayer::DemoPlayer(Demo demo, Pace pace, platform::Clock& clock)
    : m_demo(std::move(demo)), m_pace(pace), m_clock(clock) {
    m_realFrameTimes.reserve(m_demo.frames.size());
    m_frameStates.reserve(m_demo.frames.size());
    // Made as the program starts: the start of its start-up.
    m_constructed = now();
}

double DemoPlayer::now() {
    std::uint64_t frequency = m_clock.counterFrequency();
    if (frequency != 0) {
        return static_cast<double>(m_clock.counter()) / static_cast<double>(frequency);
    }
    return m_clock.milliseconds() / 1000.0;
}

const DemoFrame& DemoPlayer::nextFrame() {
    m_current = &m_demo.frames[m_next];
    if (!m_started) {
        // The first frame's time covers start-up, which is behind us.
        m_started = true;
        m_startTime = now();
        m_lastMark = m_startTime;
    } else {
        m_recordedElapsed += m_current->frameTime;
    }
    if (m_pace == Pace::Recorded) {
        double lead = m_startTime + m_recordedElapsed - now();
        if (lead > 0.0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(lead));
        }
    }
    ++m_next;
    return *m_current;
}

void DemoPlayer::endFrame(GameState state) {
    double mark = now();
    if (m_realFrameTimes.empty()) {
        m_startup.firstFrameMs = 1000.0 * (mark - m_constructed);
    }
    if (state == GameState::Loading && m_loadingStart < 0.0) {
        m_loadingStart = m_lastMark;
    } else if (state == GameState::Ready && m_loadingStart >= 0.0 &&
               m_startup.startToReadyMs < 0.0) {
        m_startup.startToReadyMs = 1000.0 * (mark - m_loadingStart);
    } else if (state == GameState::Playing && m_startup.firstPlayFrameMs < 0.0) {
        m_startup.firstPlayFrameMs = 1000.0 * (mark - m_lastMark);
    }
    m_realFrameTimes.push_back(mark - m_lastMark);
    m_frameStates.push_back(state);
    m_lastMark = mark;
}

DemoTimings DemoPlayer::timings() const {
    return summariseFrameTimes(m_realFrameTimes);
}

std::vector<std::pair<GameState, DemoTimings>> DemoPlayer::timingsByState() const {
    std::vector<GameState> order;
    for (GameState state : m_frameStates) {
        if (std::find(order.begin(), order.end(), state) == order.end()) {
            order.push_back(state);
        }
    }
    std::vector<std::pair<GameState, DemoTimings>> byState;
    for (GameState state : order) {
        std::vector<double> seconds;
        for (std::size_t i = 0; i < m_frameStates.size(); ++i) {
            if (m_frameStates[i] == state) {
                seconds.push_back(m_realFrameTimes[i]);
            }
        }
        byState.emplace_back(state, summariseFrameTimes(std::move(seconds)));
    }
    return byState;
}

DemoTimings summariseFrameTimes(std::vector<double> seconds) {
    DemoTimings timings;
    timings.frames = seconds.size();
    if (seconds.empty()) {
        return timings;
    }
    double total = std::accumulate(seconds.begin(), seconds.end(), 0.0);
    std::sort(seconds.begin(), seconds.end());
    std::size_t n = seconds.size();
    timings.medianMs =
        1000.0 * (n % 2 == 1 ? seconds[n / 2] : (seconds[n / 2 - 1] + seconds[n / 2]) / 2.0);
    std::size_t rank = static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(n)));
    timings.percentile99Ms = 1000.0 * seconds[std::min(n, std::max<std::size_t>(rank, 1)) - 1];
    timings.averageFps = total > 0.0 ? static_cast<double>(n) / total : 0.0;
    return timings;
}
