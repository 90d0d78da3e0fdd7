#pragma once
#include <cstdint>

namespace platform {

// The time sources the frame timer chooses between. Tests substitute their
// own clock so frames can be driven deterministically.
class Clock {
public:
    virtual ~Clock() = default;
    // Ticks per second of the high-resolution counter; 0 when there is none.
    virtual std::uint64_t counterFrequency() = 0;
    virtual std::uint64_t counter() = 0;
    // Milliseconds since some fixed point (wraps after about 49 days).
    virtual std::uint32_t milliseconds() = 0;
};

// The real clock of this machine.
Clock& systemClock();

}  // namespace platform
