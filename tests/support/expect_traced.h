#pragma once
// The end-to-end tests' step: wait for the game's next trace line that
// begins with `event`, the deadline stretched in sanitizer builds; a miss
// fails the test and shows the trace so far.
#include <gtest/gtest.h>

#include <string>

#include "support/game_trace.h"
#include "support/sanitizer_slowdown.h"

inline bool expectTraced(GameTrace& trace, const std::string& event, double seconds) {
    if (trace.waitFor(event, seconds * SLOWDOWN)) {
        return true;
    }
    ADD_FAILURE() << "the trace never said \"" << event << "\"\n" << trace.text();
    return false;
}
