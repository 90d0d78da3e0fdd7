#include "input/pad_input.h"

#include <algorithm>

namespace {

using platform::EventType;
using platform::PadAxis;
using platform::PadButton;

bool isButton(PadButton button) {
    return button >= PadButton::A && button < PadButton::Count;
}

bool isAxis(PadAxis axis) {
    return axis >= PadAxis::LeftX && axis < PadAxis::Count;
}

int index(PadButton button) {
    return static_cast<int>(button);
}

int index(PadAxis axis) {
    return static_cast<int>(axis);
}

bool isTrigger(PadAxis axis) {
    return axis == PadAxis::LeftTrigger || axis == PadAxis::RightTrigger;
}

}  // namespace

PadInput::Pad* PadInput::find(int pad) {
    for (Pad& p : m_pads) {
        if (p.id == pad) {
            return &p;
        }
    }
    return nullptr;
}

const PadInput::Pad* PadInput::find(int pad) const {
    for (const Pad& p : m_pads) {
        if (p.id == pad) {
            return &p;
        }
    }
    return nullptr;
}

PadInput::Pad* PadInput::findOrAdd(int pad) {
    // Instance numbers are never negative; -1 is "no pad".
    if (pad < 0) {
        return nullptr;
    }
    if (Pad* known = find(pad)) {
        return known;
    }
    if (static_cast<int>(m_pads.size()) >= MAX_PADS) {
        return nullptr;
    }
    m_pads.push_back(Pad{});
    m_pads.back().id = pad;
    return &m_pads.back();
}

PadTransition PadInput::handle(const platform::Event& event) {
    switch (event.type) {
        case EventType::PadAdded:
            findOrAdd(event.pad);
            return {};
        case EventType::PadRemoved:
            m_pads.erase(std::remove_if(m_pads.begin(), m_pads.end(),
                                        [&](const Pad& p) { return p.id == event.pad; }),
                         m_pads.end());
            if (m_active == event.pad) {
                m_active = -1;
            }
            return {};
        case EventType::PadButtonDown:
        case EventType::PadButtonUp: {
            // The trigger buttons come from the trigger axes alone, so the
            // two cannot disagree.
            if (!isButton(event.padButton) || event.padButton == PadButton::LeftTrigger ||
                event.padButton == PadButton::RightTrigger) {
                return {};
            }
            Pad* pad = findOrAdd(event.pad);
            if (pad == nullptr) {
                return {};
            }
            return setButton(*pad, event.padButton, event.type == EventType::PadButtonDown);
        }
        case EventType::PadAxisMoved: {
            if (!isAxis(event.padAxis)) {
                return {};
            }
            Pad* pad = findOrAdd(event.pad);
            if (pad == nullptr) {
                return {};
            }
            return moveAxis(*pad, event.padAxis, event.axisValue);
        }
        default:
            return {};
    }
}

PadTransition PadInput::setButton(Pad& pad, PadButton button, bool down) {
    const int i = index(button);
    if (pad.down[i] == down) {
        return {};  // a repeated event is no new press
    }
    pad.down[i] = down;
    pad.used[i] = false;
    if (down) {
        m_active = pad.id;
    }
    return {button, down};
}

PadTransition PadInput::moveAxis(Pad& pad, PadAxis which, int value) {
    if (isTrigger(which)) {
        value = std::clamp(value, 0, 32767);
        pad.axes[index(which)] = value;
        const PadButton button =
            which == PadAxis::LeftTrigger ? PadButton::LeftTrigger : PadButton::RightTrigger;
        if (!pad.down[index(button)] && value > TRIGGER_PRESS) {
            return setButton(pad, button, true);
        }
        if (pad.down[index(button)] && value < TRIGGER_RELEASE) {
            return setButton(pad, button, false);
        }
        return {};
    }
    pad.axes[index(which)] = std::clamp(value, -32768, 32767);
    const bool left = which == PadAxis::LeftX || which == PadAxis::LeftY;
    const int x = pad.axes[index(left ? PadAxis::LeftX : PadAxis::RightX)];
    const int y = pad.axes[index(left ? PadAxis::LeftY : PadAxis::RightY)];
    if (isOutsideDeadZone(x, y)) {
        m_active = pad.id;
    }
    return {};
}

bool PadInput::isDown(PadButton button) const {
    const Pad* pad = active();
    return pad != nullptr && isButton(button) && pad->down[index(button)];
}

bool PadInput::hasPress(PadButton button) const {
    const Pad* pad = active();
    return pad != nullptr && isButton(button) && pad->down[index(button)] &&
           !pad->used[index(button)];
}

bool PadInput::takePress(PadButton button) {
    Pad* pad = find(m_active);
    if (pad == nullptr || !hasPress(button)) {
        return false;
    }
    pad->used[index(button)] = true;
    return true;
}

void PadInput::forgetPresses() {
    for (Pad& pad : m_pads) {
        pad.used = pad.down;
    }
}

StickPosition PadInput::move() const {
    const Pad* pad = active();
    return pad == nullptr
               ? StickPosition{}
               : shapeMoveStick(pad->axes[index(PadAxis::LeftX)], pad->axes[index(PadAxis::LeftY)]);
}

StickPosition PadInput::look() const {
    const Pad* pad = active();
    return pad == nullptr ? StickPosition{}
                          : shapeLookStick(pad->axes[index(PadAxis::RightX)],
                                           pad->axes[index(PadAxis::RightY)]);
}

int PadInput::axis(int pad, PadAxis which) const {
    const Pad* p = find(pad);
    return p != nullptr && isAxis(which) ? p->axes[index(which)] : 0;
}

void PadInput::clear() {
    m_pads.clear();
    m_active = -1;
}
