#include "synth.h"

#include <algorithm>
#include <cmath>

namespace datagen {

float midiToHz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

float adsr(float t, float hold, float attack, float decay, float sustain, float release) {
    if (t < 0.0f)
        return 0.0f;
    float level;
    if (t < attack) {
        level = t / attack;
    } else if (t < attack + decay) {
        level = 1.0f - (1.0f - sustain) * (t - attack) / decay;
    } else {
        level = sustain;
    }
    if (t > hold) {
        // Release from the level reached at the end of the hold.
        float atHold = adsr(hold, hold + 1.0f, attack, decay, sustain, release);
        float r = (t - hold) / release;
        level = r >= 1.0f ? 0.0f : atHold * (1.0f - r) * (1.0f - r);
    }
    return level;
}

void OnePole::setLowpass(float cutoff) {
    m_a = 1.0f - std::exp(-kTwoPi * cutoff / kRate);
}

float OnePole::lowpass(float x) {
    m_state += m_a * (x - m_state);
    return m_state;
}

float OnePole::highpass(float x) {
    return x - lowpass(x);
}

void BandPass::set(float centre, float q) {
    m_f = 2.0f * std::sin(3.14159265f * std::min(centre, kRate * 0.2f) / kRate);
    m_q = 1.0f / std::max(q, 0.5f);
}

float BandPass::process(float x) {
    float high = x - m_low - m_q * m_band;
    m_band += m_f * high;
    m_low += m_f * m_band;
    return m_band;
}

Reverb::Reverb(float roomSize, float damping) : m_feedback(roomSize), m_damping(damping) {
    const int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    const int allPassLengths[4] = {556, 441, 341, 225};
    for (int ch = 0; ch < 2; ++ch) {
        int spread = ch * 23;
        for (int len : combLengths) {
            Comb c;
            c.buffer.assign(static_cast<size_t>(len + spread), 0.0f);
            m_combs[ch].push_back(c);
        }
        for (int len : allPassLengths) {
            AllPass a;
            a.buffer.assign(static_cast<size_t>(len + spread), 0.0f);
            m_allPasses[ch].push_back(a);
        }
    }
}

void Reverb::process(float in, float& left, float& right) {
    float out[2] = {0.0f, 0.0f};
    for (int ch = 0; ch < 2; ++ch) {
        for (Comb& c : m_combs[ch]) {
            float y = c.buffer[c.pos];
            c.store = y * (1.0f - m_damping) + c.store * m_damping;
            c.buffer[c.pos] = in + c.store * m_feedback;
            c.pos = (c.pos + 1) % c.buffer.size();
            out[ch] += y;
        }
        for (AllPass& a : m_allPasses[ch]) {
            float b = a.buffer[a.pos];
            a.buffer[a.pos] = out[ch] + b * 0.5f;
            a.pos = (a.pos + 1) % a.buffer.size();
            out[ch] = b - out[ch];
        }
    }
    left = out[0] * 0.05f;
    right = out[1] * 0.05f;
}

float softSaw(float phase, float freq) {
    // Naive saw with a polynomial correction at the wrap (PolyBLEP), which
    // removes most of the aliasing for the price of a few multiplications.
    float t = phase - std::floor(phase);
    float dt = freq / kRate;
    float v = 2.0f * t - 1.0f;
    if (t < dt) {
        float x = t / dt;
        v -= x + x - x * x - 1.0f;
    } else if (t > 1.0f - dt) {
        float x = (t - 1.0f) / dt;
        v -= x * x + x + x + 1.0f;
    }
    return v * 0.6f;
}

void mixInto(std::vector<float>& dst, const std::vector<float>& src, long offset, float gain) {
    for (size_t i = 0; i < src.size(); ++i) {
        long j = offset + static_cast<long>(i);
        if (j >= 0 && j < static_cast<long>(dst.size()))
            dst[static_cast<size_t>(j)] += src[i] * gain;
    }
}

void normalise(std::vector<float>& samples, float peak) {
    float maxAbs = 0.0f;
    for (float s : samples)
        maxAbs = std::max(maxAbs, std::fabs(s));
    if (maxAbs < 1e-6f)
        return;
    float k = peak / maxAbs;
    for (float& s : samples)
        s *= k;
}

}  // namespace datagen
