#pragma once
#include <vector>

#include "scene/vector.h"

// Small animated values, stepped once per fixed logic step (0.01 s) and read
// with the fraction of a step the drawn frame is into the next one.
//
// Progress t is kept in double: summing 0.01 in float falls just short of 1
// after 100 steps, which would make a one-second tween last 101 steps.

// A float going from one value to another, linearly or smoothly.
class Tween {
public:
    void init(float from, float to, float duration, bool smooth);
    void step();
    float value() const { return m_fValue; }
    // Between the previous and the current value at step fraction f.
    float value(float f) const { return m_fPrevious + (m_fValue - m_fPrevious) * f; }
    // Heads back from the end value to the start, smoothly; a duration at or
    // below 0 keeps the current rate.
    void reverse(float duration);
    bool finished() const { return m_dT >= 1.0; }

private:
    float m_fStart = 0.0f;
    // The distance to the end; holds the end value itself once finished.
    float m_fSpan = 0.0f;
    double m_dT = 0.0;
    float m_fRate = 1.0f;
    bool m_bSmooth = false;
    float m_fValue = 0.0f;
    float m_fPrevious = 0.0f;
};

// The same on three components sharing one progress.
class Tween3 {
public:
    // A duration at or below 0 keeps the rate set before.
    void start(const Vector3& from, const Vector3& to, float duration, bool smooth);
    void step();
    const Vector3& value() const { return m_vValue; }
    Vector3 value(float f) const;
    bool finished() const { return m_dT >= 1.0; }

private:
    Vector3 m_vStart;
    Vector3 m_vSpan;
    double m_dT = 0.0;
    float m_fRate = 1.0f;
    bool m_bSmooth = false;
    Vector3 m_vValue;
    Vector3 m_vPrevious;
};

// A looping sequence of float segments, advanced by elapsed time.
class KeyframeTrack {
public:
    // One segment from initial to target over duration (at or below 0: 1 s).
    KeyframeTrack(float initial, float target, float duration, bool smooth = false);
    // Appends a segment from the previous end value to target; a duration at
    // or below 0 counts as 1 s.
    void addKeyframe(float target, float duration, bool smooth = false);
    void restart();
    void update(float dt);
    float value() const { return m_fCurrent; }
    float previous() const { return m_fPrevious; }
    float totalLength() const { return m_fTotalLength; }
    float time() const { return m_fTime; }
    // The index of the segment the current time lies in.
    int activeKeyframe() const;

private:
    struct Keyframe {
        float endTime;
        float start;
        float delta;
        float rate;
        bool smooth;
    };
    std::vector<Keyframe> m_keyframes;
    float m_fTotalLength = 0.0f;
    float m_fTime = 0.0f;
    float m_fCurrent = 0.0f;
    float m_fPrevious = 0.0f;
};

// An angle in degrees that remembers the previous step, read the short way
// round between the two.
class AngleValue {
public:
    void advance(float degrees);
    float value(float alpha) const;
    float current() const { return m_fCurrent; }
    float previous() const { return m_fPrevious; }

private:
    float m_fCurrent = 0.0f;
    float m_fPrevious = 0.0f;
};
