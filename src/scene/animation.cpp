#include "scene/animation.h"

#include <cmath>

#include "app/frame_timer.h"

namespace {

constexpr double STEP_LENGTH = FixedStepper::STEP_LENGTH;

float ease(float t, bool smooth) {
    return smooth ? t * t * (3.0f - 2.0f * t) : t;
}

}  // namespace

void Tween::init(float from, float to, float duration, bool smooth) {
    m_fStart = from;
    m_fSpan = to - from;
    m_dT = 0.0;
    m_fRate = duration > 0.0f ? 1.0f / duration : 1.0f;
    m_bSmooth = smooth;
    m_fValue = m_fPrevious = from;
}

void Tween::step() {
    m_fPrevious = m_fValue;
    if (m_dT >= 1.0) {
        m_fValue = m_fSpan;
        return;
    }
    m_dT += STEP_LENGTH * m_fRate;
    if (m_dT >= 1.0) {
        m_fSpan = m_fStart + m_fSpan;
        m_fValue = m_fSpan;
    } else {
        m_fValue = m_fStart + m_fSpan * ease(static_cast<float>(m_dT), m_bSmooth);
    }
}

void Tween::reverse(float duration) {
    m_bSmooth = true;
    float newStart = m_dT >= 1.0 ? m_fSpan : m_fStart + m_fSpan;
    m_fSpan = m_fStart - newStart;
    m_fStart = newStart;
    m_dT = 0.0;
    if (duration > 0.0f) {
        m_fRate = 1.0f / duration;
    }
    m_fValue = m_fPrevious = newStart;
}

void Tween3::start(const Vector3& from, const Vector3& to, float duration, bool smooth) {
    m_vStart = from;
    m_vSpan = to.subtract(from);
    m_dT = 0.0;
    m_bSmooth = smooth;
    if (duration > 0.0f) {
        m_fRate = 1.0f / duration;
    }
    m_vValue = m_vPrevious = from;
}

void Tween3::step() {
    m_vPrevious = m_vValue;
    if (m_dT >= 1.0) {
        m_vValue = m_vSpan;
        return;
    }
    m_dT += STEP_LENGTH * m_fRate;
    if (m_dT >= 1.0) {
        m_vSpan = m_vStart.add(m_vSpan);
        m_vValue = m_vSpan;
    } else {
        float s = ease(static_cast<float>(m_dT), m_bSmooth);
        m_vValue = Vector3(m_vStart.x + m_vSpan.x * s, m_vStart.y + m_vSpan.y * s,
                           m_vStart.z + m_vSpan.z * s);
    }
}

Vector3 Tween3::value(float f) const {
    return Vector3(m_vPrevious.x + (m_vValue.x - m_vPrevious.x) * f,
                   m_vPrevious.y + (m_vValue.y - m_vPrevious.y) * f,
                   m_vPrevious.z + (m_vValue.z - m_vPrevious.z) * f);
}

KeyframeTrack::KeyframeTrack(float initial, float target, float duration, bool smooth) {
    // A zero-length loop would never let update() leave its wrapping loop.
    if (duration <= 0.0f) {
        duration = 1.0f;
    }
    m_keyframes.push_back(Keyframe{duration, initial, target - initial, 1.0f / duration, smooth});
    m_fTotalLength = duration;
    m_fCurrent = m_fPrevious = initial;
}

void KeyframeTrack::addKeyframe(float target, float duration, bool smooth) {
    if (duration <= 0.0f) {
        duration = 1.0f;
    }
    const Keyframe& last = m_keyframes.back();
    float start = last.start + last.delta;
    m_keyframes.push_back(
        Keyframe{m_fTotalLength + duration, start, target - start, 1.0f / duration, smooth});
    m_fTotalLength += duration;
}

void KeyframeTrack::restart() {
    m_fTime = 0.0f;
    m_fCurrent = m_fPrevious = m_keyframes.front().start;
}

int KeyframeTrack::activeKeyframe() const {
    for (std::size_t i = 0; i < m_keyframes.size(); ++i) {
        if (m_keyframes[i].endTime > m_fTime) {
            return static_cast<int>(i);
        }
    }
    // A time equal to the loop length (or rounded past the last end time)
    // belongs to the last segment.
    return static_cast<int>(m_keyframes.size()) - 1;
}

void KeyframeTrack::update(float dt) {
    m_fPrevious = m_fCurrent;
    m_fTime += dt;
    if (!std::isfinite(m_fTime)) {
        m_fTime = 0.0f;
    }
    // Far beyond the loop (a huge dt), subtracting one loop at a time would
    // take too long or change nothing; take the remainder first.
    if (m_fTime > 1000.0f * m_fTotalLength) {
        m_fTime = std::fmod(m_fTime, m_fTotalLength);
    }
    while (m_fTime > m_fTotalLength) {
        m_fTime -= m_fTotalLength;
    }
    const int index = activeKeyframe();
    const Keyframe& key = m_keyframes[index];
    const float segmentStart = index == 0 ? 0.0f : m_keyframes[index - 1].endTime;
    float u = (m_fTime - segmentStart) * key.rate;
    m_fCurrent = key.start + key.delta * (key.smooth ? u * u * (3.0f - 2.0f * u) : u);
}

void AngleValue::advance(float degrees) {
    m_fPrevious = m_fCurrent;
    m_fCurrent += degrees;
    if (m_fCurrent > 360.0f || m_fCurrent < -360.0f) {
        m_fCurrent = std::fmod(m_fCurrent, 360.0f);
    }
}

float AngleValue::value(float alpha) const {
    float diff = m_fCurrent - m_fPrevious;
    if (diff < -180.0f) {
        return m_fPrevious + (diff + 360.0f) * alpha;
    }
    if (diff > 180.0f) {
        return m_fPrevious + 360.0f + (diff - 360.0f) * alpha;
    }
    return m_fPrevious + diff * alpha;
}
