#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "noise.h"

// Building blocks for the sound effects and the music: oscillators, envelopes,
// filters and a small stereo reverb. Time is in seconds, frequencies in Hz.
namespace datagen {

constexpr int kRate = 44100;
constexpr float kTwoPi = 6.28318531f;

float midiToHz(float note);

// Attack-decay-sustain-release level at time t of a note held for `hold` seconds.
float adsr(float t, float hold, float attack, float decay, float sustain, float release);

// One-pole low-pass and high-pass filters.
class OnePole {
public:
    void setLowpass(float cutoff);
    float lowpass(float x);
    float highpass(float x);

private:
    float m_a = 1.0f;
    float m_state = 0.0f;
};

// State-variable band-pass (for formants and whooshes).
class BandPass {
public:
    void set(float centre, float q);
    float process(float x);

private:
    float m_f = 0.1f, m_q = 1.0f, m_low = 0.0f, m_band = 0.0f;
};

// Schroeder-style stereo reverb: parallel combs, then all-passes.
class Reverb {
public:
    Reverb(float roomSize, float damping);
    void process(float in, float& left, float& right);

private:
    struct Comb {
        std::vector<float> buffer;
        size_t pos = 0;
        float store = 0.0f;
    };
    struct AllPass {
        std::vector<float> buffer;
        size_t pos = 0;
    };
    std::vector<Comb> m_combs[2];
    std::vector<AllPass> m_allPasses[2];
    float m_feedback, m_damping;
};

// Saw wave with little aliasing, from a phase in cycles.
float softSaw(float phase, float freq);

// Adds src (mono) into dst (mono) starting at sample offset, scaled by gain.
void mixInto(std::vector<float>& dst, const std::vector<float>& src, long offset, float gain);
// Scales so the peak is `peak`, leaving silence alone.
void normalise(std::vector<float>& samples, float peak);

}  // namespace datagen
