#pragma once
// Pad events as the platform layer delivers them, for tests of what reads
// them.
#include "platform/events.h"

inline platform::Event padEvent(platform::EventType type, int pad) {
    platform::Event event;
    event.type = type;
    event.pad = pad;
    return event;
}

inline platform::Event buttonEvent(int pad, platform::PadButton button, bool down) {
    platform::Event event =
        padEvent(down ? platform::EventType::PadButtonDown : platform::EventType::PadButtonUp, pad);
    event.padButton = button;
    return event;
}

inline platform::Event axisEvent(int pad, platform::PadAxis axis, int value) {
    platform::Event event = padEvent(platform::EventType::PadAxisMoved, pad);
    event.padAxis = axis;
    event.axisValue = value;
    return event;
}
