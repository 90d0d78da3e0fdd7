#pragma once

// How far a pad's stick is pushed, after the dead zone: each component from
// -1 to 1, x positive to the right and y positive pushed away from the
// player (up), the way the game moves and looks. The length is at most 1.
struct StickPosition {
    float x = 0.0f;
    float y = 0.0f;
};

// The share of full travel around the centre that counts as not pushed: worn
// sticks rest a little off centre and must not walk or turn the player.
constexpr float STICK_DEAD_ZONE = 0.2f;

// True when a stick with these raw values (-32768 to 32767, y positive
// down as the platform reports it) is pushed past the dead zone.
bool isOutsideDeadZone(int rawX, int rawY);

// The raw value as a share of full travel, -1 to 1; out-of-range values are
// held to the ends.
float stickFraction(int raw);

// Walking and strafing: past the dead zone the push counts linearly, so the
// edge of the dead zone is 0 and full travel 1 (in every direction: the
// corners of a square gate are held to 1).
StickPosition shapeMoveStick(int rawX, int rawY);

// Turning and looking: the same dead zone, then the response curve below
// on the length, in the same direction.
StickPosition shapeLookStick(int rawX, int rawY);
