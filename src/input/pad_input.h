#pragma once
#include <array>
#include <vector>

#include "input/pad_sticks.h"
#include "platform/events.h"

// What one pad event did to a button: pressed it, released it, or nothing
// (button None). A trigger pulled past half way is a press of its button.
struct PadTransition {
    platform::PadButton button = platform::PadButton::None;
    bool down = false;
};

// The state of every connected game controller, from the platform's pad
// events. The pad used last drives: a button press, a stick pushed past the
// dead zone or a trigger pulled past half way makes that pad the active one,
// and only the active pad's state is reported, so a second pad lying on the
// table cannot fight the one in the player's hands.
class PadInput {
public:
    // Events of more pads than this are ignored: a recording may name any
    // number, and each pad's state is kept until it is removed.
    static constexpr int MAX_PADS = 8;
    // A trigger counts as pressed past half way and released only below a
    // quarter, so a finger resting near the threshold does not chatter.
    static constexpr int TRIGGER_PRESS = 16384;
    static constexpr int TRIGGER_RELEASE = 8192;

    // Takes any pad event; other events and buttons or axes outside the
    // enums change nothing. Returns the button the event pressed or released.
    PadTransition handle(const platform::Event& event);

    // Held down on the active pad.
    bool isDown(platform::PadButton button) const;
    // Held down on the active pad and not yet used by takePress.
    bool hasPress(platform::PadButton button) const;
    // Uses the active pad's press of the button once: true the first time
    // after it went down, then false until it is released and pressed again.
    bool takePress(platform::PadButton button);
    // Every button held now counts as used; what letting go of the keys is
    // to the keyboard's state.
    void forgetPresses();

    // The active pad's sticks, shaped (see pad_sticks.h); 0, 0 without one.
    StickPosition move() const;
    StickPosition look() const;
    // The raw value of an axis of a connected pad (not only the active one);
    // 0 for an unknown pad or axis.
    int axis(int pad, platform::PadAxis which) const;

    // The active pad's instance number; -1 when none is active.
    int activePad() const { return m_active; }
    int connectedCount() const { return static_cast<int>(m_pads.size()); }
    bool isConnected(int pad) const { return find(pad) != nullptr; }
    // Forgets every pad and which one was active.
    void clear();

private:
    static constexpr int BUTTON_COUNT = static_cast<int>(platform::PadButton::Count);
    static constexpr int AXIS_COUNT = static_cast<int>(platform::PadAxis::Count);

    struct Pad {
        int id = -1;
        std::array<bool, BUTTON_COUNT> down{};
        std::array<bool, BUTTON_COUNT> used{};
        std::array<int, AXIS_COUNT> axes{};
    };

    Pad* find(int pad);
    const Pad* find(int pad) const;
    const Pad* active() const { return find(m_active); }
    // The pad's state, made when first heard of; null when too many are kept.
    Pad* findOrAdd(int pad);
    PadTransition setButton(Pad& pad, platform::PadButton button, bool down);
    PadTransition moveAxis(Pad& pad, platform::PadAxis which, int value);

    std::vector<Pad> m_pads;
    int m_active = -1;
};
