#include "app/frame_timer.h"

FrameTimer::FrameTimer(platform::Clock& clock) : m_clock(clock) {
    std::uint64_t frequency = m_clock.counterFrequency();
    m_highResolution = frequency != 0;
    m_tickLength = m_highResolution ? 1.0 / static_cast<double>(frequency) : 0.001;
    m_lastReading = now();
}

std::uint64_t FrameTimer::now() {
    return m_highResolution ? m_clock.counter()
                            : static_cast<std::uint64_t>(m_clock.milliseconds());
}

double FrameTimer::read() {
    std::uint64_t reading = now();
    auto difference = static_cast<std::int64_t>(reading - m_lastReading);
    m_lastReading = reading;
    return static_cast<double>(difference) * m_tickLength;
}

void FixedStepper::add(double frameTime) {
    m_accumulator += frameTime;
    if (m_accumulator < 0.0) {
        m_accumulator = 0.0;
    } else if (m_accumulator > 1.0) {
        m_accumulator = 1.0;
    }
}
