#pragma once
#include <cstdint>

#include "platform/clock.h"

// A clock that moves only when told to.
class FakeClock : public platform::Clock {
public:
    explicit FakeClock(std::uint64_t frequency = 1000000) : m_frequency(frequency) {}

    std::uint64_t counterFrequency() override { return m_frequency; }
    std::uint64_t counter() override { return m_ticks; }
    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(m_milliseconds); }

    void advanceTicks(std::uint64_t ticks) { m_ticks += ticks; }
    void advanceSeconds(double seconds) {
        m_ticks += static_cast<std::uint64_t>(seconds * static_cast<double>(m_frequency) + 0.5);
        m_milliseconds += static_cast<std::uint64_t>(seconds * 1000.0 + 0.5);
    }

private:
    std::uint64_t m_frequency;
    std::uint64_t m_ticks = 5000;
    std::uint64_t m_milliseconds = 700;
};
