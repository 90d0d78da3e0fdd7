#include "platform/clock.h"

#include <SDL.h>

namespace platform {
namespace {

class SystemClock : public Clock {
public:
    std::uint64_t counterFrequency() override { return SDL_GetPerformanceFrequency(); }
    std::uint64_t counter() override { return SDL_GetPerformanceCounter(); }
    std::uint32_t milliseconds() override { return SDL_GetTicks(); }
};

}  // namespace

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace platform
