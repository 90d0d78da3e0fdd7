// The fifteen sound effects, 16-bit mono WAV at 44.1 kHz. Footsteps and the
// heartbeat are loops: they are rendered twice in a row and the second pass is
// kept, so any tail wraps round and the seam is inaudible.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "audio_io.h"
#include "generators.h"
#include "image.h"
#include "synth.h"

namespace datagen {
namespace {

using Samples = std::vector<float>;

Samples silence(float seconds) {
    return Samples(static_cast<size_t>(seconds * kRate), 0.0f);
}

float timeOf(size_t i) {
    return static_cast<float>(i) / kRate;
}

// A decaying noise burst through a band-pass: scuffs, whooshes, rattles.
Samples noiseBurst(float seconds, float centre, float q, float decay, uint64_t seed) {
    Samples out = silence(seconds);
    Rng rng(seed);
    BandPass bp;
    bp.set(centre, q);
    for (size_t i = 0; i < out.size(); ++i) {
        float env = std::exp(-timeOf(i) / decay);
        out[i] = bp.process(rng.range(-1.0f, 1.0f)) * env;
    }
    return out;
}

// A pitched thump whose pitch falls: footfalls, heartbeats, impacts.
Samples thump(float seconds, float startHz, float endHz, float decay) {
    Samples out = silence(seconds);
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i);
        float f = endHz + (startHz - endHz) * std::exp(-t * 25.0f);
        phase += f / kRate;
        float env = std::min(1.0f, t * 400.0f) * std::exp(-t / decay);
        out[i] = std::sin(kTwoPi * phase) * env;
    }
    return out;
}

// Adds a short room so the effects sit in stone halls.
void addRoom(Samples& s, float wet, float size = 0.8f) {
    Reverb reverb(size, 0.4f);
    for (float& v : s) {
        float l, r;
        reverb.process(v, l, r);
        v = v + (l + r) * 0.5f * wet;
    }
}

// Renders a loop: builder writes one period into a buffer two periods long at
// offsets 0 and period; the second period is returned.
Samples seamlessLoop(float seconds, const std::function<void(Samples&, long)>& builder, float wet) {
    long period = static_cast<long>(seconds * kRate);
    Samples twice(static_cast<size_t>(period * 2), 0.0f);
    builder(twice, 0);
    builder(twice, period);
    addRoom(twice, wet);
    return Samples(twice.begin() + period, twice.end());
}

Samples footsteps() {
    return seamlessLoop(
        0.9f,
        [](Samples& s, long at) {
            for (int step = 0; step < 2; ++step) {
                long offset = at + static_cast<long>(step * 0.45f * kRate);
                mixInto(s, thump(0.25f, 110.0f + step * 8, 60.0f, 0.05f), offset, 0.9f);
                mixInto(s, noiseBurst(0.2f, 900.0f + step * 150, 0.8f, 0.035f, 11 + step),
                        offset + 200, 0.9f);
                // Grit under the boot, a moment later.
                mixInto(s, noiseBurst(0.12f, 3000.0f, 1.5f, 0.02f, 21 + step), offset + 1800,
                        0.25f);
            }
        },
        0.6f);
}

Samples heartbeat() {
    return seamlessLoop(
        0.85f,
        [](Samples& s, long at) {
            mixInto(s, thump(0.3f, 75.0f, 45.0f, 0.07f), at, 1.0f);
            mixInto(s, thump(0.3f, 65.0f, 40.0f, 0.06f), at + static_cast<long>(0.22f * kRate),
                    0.75f);
        },
        0.15f);
}

Samples buttonOver() {
    Samples out = silence(0.25f);
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i);
        float env = std::exp(-t * 30.0f) * std::min(1.0f, t * 2000.0f);
        out[i] =
            (std::sin(kTwoPi * 1318.5f * t) + 0.4f * std::sin(kTwoPi * 3620.0f * t)) * env * 0.5f;
    }
    addRoom(out, 0.3f);
    return out;
}

Samples sweep(float seconds, float fromHz, float toHz, bool fadeIn) {
    Samples out = silence(seconds);
    float phase = 0.0f, lfo = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i), u = t / seconds;
        float f = fromHz * std::pow(toHz / fromHz, u);
        phase += f / kRate;
        lfo += 30.0f / kRate;
        float env = fadeIn ? std::min(1.0f, u * 6.0f) * (1.0f - smoothstep(0.8f, 1.0f, u))
                           : (1.0f - smoothstep(0.4f, 1.0f, u)) * std::min(1.0f, t * 200.0f);
        float tone = std::sin(kTwoPi * phase) * 0.6f + softSaw(phase * 0.5f, f * 0.5f) * 0.25f;
        out[i] = tone * env * (0.8f + 0.2f * std::sin(kTwoPi * lfo));
    }
    addRoom(out, 0.25f);
    return out;
}

Samples radarBeep() {
    Samples out = silence(0.45f);
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i);
        float env = std::min(1.0f, t * 500.0f) * std::exp(-t * 14.0f);
        out[i] = std::sin(kTwoPi * 1046.5f * t) * env * 0.7f;
    }
    addRoom(out, 0.5f, 0.85f);
    return out;
}

Samples swingMiss() {
    Samples out = silence(0.45f);
    Rng rng(5);
    BandPass bp;
    for (size_t i = 0; i < out.size(); ++i) {
        float u = timeOf(i) / 0.45f;
        bp.set(400.0f + 2200.0f * std::sin(u * 3.14159f), 2.0f);
        float env = std::sin(std::min(1.0f, u) * 3.14159f);
        out[i] = bp.process(rng.range(-1.0f, 1.0f)) * env * env;
    }
    return out;
}

Samples ghostHit() {
    Samples out = silence(0.9f);
    mixInto(out, thump(0.4f, 160.0f, 55.0f, 0.08f), 0, 1.0f);
    mixInto(out, noiseBurst(0.3f, 1800.0f, 0.7f, 0.05f, 31), 0, 0.7f);
    // A thin dying wail as the ghost dissolves.
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i);
        float f = 900.0f * std::exp(-t * 1.8f) * (1.0f + 0.03f * std::sin(kTwoPi * 7.0f * t));
        phase += f / kRate;
        float env = smoothstep(0.03f, 0.1f, t) * std::exp(-t * 3.5f);
        out[i] += std::sin(kTwoPi * phase) * env * 0.35f;
    }
    addRoom(out, 0.5f);
    return out;
}

// A plucked string (Karplus-Strong): the crossbow's cord.
Samples pluck(float seconds, float hz, float damping, uint64_t seed) {
    Samples out = silence(seconds);
    size_t period = static_cast<size_t>(kRate / hz);
    std::vector<float> line(period);
    Rng rng(seed);
    // Smoothed noise: a softer pluck, more wood and cord than wire.
    float last = 0.0f;
    for (float& v : line) {
        last += 0.35f * (rng.range(-1.0f, 1.0f) - last);
        v = last * 2.5f;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        size_t k = i % period;
        float next = line[(k + 1) % period];
        out[i] = line[k];
        line[k] = (line[k] + next) * 0.5f * damping;
    }
    return out;
}

Samples crossbowShoot() {
    Samples out = silence(0.6f);
    mixInto(out, pluck(0.6f, 98.0f, 0.992f, 41), 0, 0.8f);
    mixInto(out, thump(0.2f, 220.0f, 90.0f, 0.03f), 0, 0.7f);
    mixInto(out, noiseBurst(0.3f, 2500.0f, 1.0f, 0.06f, 43), 600, 0.4f);
    addRoom(out, 0.35f);
    return out;
}

Samples crossbowLoad() {
    Samples out = silence(0.75f);
    // Ratchet clicks, speeding up, then the latch.
    float t = 0.02f;
    for (int i = 0; i < 7; ++i) {
        mixInto(out, noiseBurst(0.04f, 2600.0f + i * 90.0f, 3.0f, 0.006f, 50 + i),
                static_cast<long>(t * kRate), 0.9f);
        t += 0.075f - i * 0.004f;
    }
    mixInto(out, thump(0.2f, 300.0f, 160.0f, 0.03f), static_cast<long>(0.6f * kRate), 0.8f);
    mixInto(out, noiseBurst(0.1f, 1500.0f, 1.2f, 0.02f, 61), static_cast<long>(0.6f * kRate), 0.6f);
    addRoom(out, 0.3f);
    return out;
}

Samples pickupArrows() {
    Samples out = silence(0.5f);
    const float times[4] = {0.0f, 0.05f, 0.11f, 0.16f};
    for (int i = 0; i < 4; ++i) {
        mixInto(out, thump(0.12f, 700.0f - i * 60.0f, 420.0f, 0.02f),
                static_cast<long>(times[i] * kRate), 0.5f);
        mixInto(out, noiseBurst(0.08f, 2000.0f, 2.0f, 0.012f, 70 + i),
                static_cast<long>(times[i] * kRate), 0.5f);
    }
    addRoom(out, 0.3f);
    return out;
}

// A short bell arpeggio; notes are MIDI numbers.
Samples chime(const std::vector<float>& notes, float gap, float seconds) {
    Samples out = silence(seconds);
    for (size_t n = 0; n < notes.size(); ++n) {
        float hz = midiToHz(notes[n]);
        long start = static_cast<long>(n * gap * kRate);
        for (size_t i = 0; i + start < out.size(); ++i) {
            float t = timeOf(i);
            float env = std::min(1.0f, t * 800.0f) * std::exp(-t * 4.0f);
            float v = std::sin(kTwoPi * hz * t) +
                      0.35f * std::sin(kTwoPi * hz * 2.76f * t) * std::exp(-t * 6.0f) +
                      0.2f * std::sin(kTwoPi * hz * 5.4f * t) * std::exp(-t * 10.0f);
            out[i + start] += v * env * 0.3f;
        }
    }
    addRoom(out, 0.6f);
    return out;
}

Samples pickupPower() {
    Samples out = silence(0.8f);
    float phase = 0.0f;
    Rng rng(81);
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i), u = t / 0.8f;
        float f = 180.0f * std::pow(6.0f, u);
        phase += f / kRate;
        float buzz = softSaw(phase, f) * 0.5f + std::sin(kTwoPi * phase * 2.0f) * 0.3f;
        float crackle = rng.uniform() < 0.01f ? rng.range(-1.0f, 1.0f) : 0.0f;
        float env = std::min(1.0f, t * 50.0f) * (1.0f - smoothstep(0.6f, 1.0f, u));
        out[i] = (buzz + crackle) * env;
    }
    addRoom(out, 0.4f);
    return out;
}

// A voice-like tone through two vowel formants: moans and screeches.
Samples spectralVoice(float seconds, const std::function<float(float)>& pitch, float f1, float f2,
                      float noise, uint64_t seed, float attack) {
    Samples out = silence(seconds);
    BandPass a, b;
    a.set(f1, 4.0f);
    b.set(f2, 5.0f);
    Rng rng(seed);
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        float t = timeOf(i), u = t / seconds;
        float f = pitch(t);
        phase += f / kRate;
        float src = softSaw(phase, f) + noise * rng.range(-1.0f, 1.0f);
        float v = a.process(src) + 0.6f * b.process(src);
        float env = smoothstep(0.0f, attack, u) * (1.0f - smoothstep(0.6f, 1.0f, u));
        out[i] = v * env;
    }
    return out;
}

Samples ghostMoan() {
    Samples out = spectralVoice(
        1.9f,
        [](float t) {
            return 165.0f * (1.0f + 0.25f * std::sin(t * 1.9f)) *
                   (1.0f + 0.012f * std::sin(kTwoPi * 5.0f * t));
        },
        420.0f, 850.0f, 0.15f, 91, 0.25f);
    Samples high = spectralVoice(
        1.9f, [](float t) { return 247.0f * (1.0f + 0.2f * std::sin(t * 1.7f + 0.5f)); }, 520.0f,
        1000.0f, 0.1f, 92, 0.35f);
    mixInto(out, high, 0, 0.5f);
    addRoom(out, 0.9f, 0.88f);
    return out;
}

Samples ghostAttack() {
    Samples out = spectralVoice(
        0.9f,
        [](float t) {
            return 520.0f + 900.0f * std::sin(std::min(t * 4.0f, 1.5f)) +
                   40.0f * std::sin(kTwoPi * 13.0f * t);
        },
        1300.0f, 2600.0f, 0.5f, 101, 0.1f);
    Samples low = spectralVoice(
        0.9f, [](float t) { return 140.0f + 60.0f * std::sin(t * 5.0f); }, 500.0f, 1100.0f, 0.4f,
        102, 0.05f);
    mixInto(out, low, 0, 0.7f);
    addRoom(out, 0.6f);
    return out;
}

bool save(const std::string& dir, const char* name, Samples samples, float peak = 0.85f) {
    normalise(samples, peak);
    Sound sound;
    sound.rate = kRate;
    sound.channels = 1;
    sound.samples = std::move(samples);
    return writeWav(dir + "/" + name, sound);
}

}  // namespace

bool generateSounds(const std::string& root) {
    const std::string dir = root + "/audio";
    if (!makeFolder(dir))
        return false;
    return save(dir, "btnOver.wav", buttonOver(), 0.5f) &&
           save(dir, "footsteps.wav", footsteps(), 0.7f) &&
           save(dir, "radarOn.wav", sweep(0.6f, 220.0f, 880.0f, true), 0.6f) &&
           save(dir, "radarOff.wav", sweep(0.6f, 880.0f, 160.0f, false), 0.6f) &&
           save(dir, "radarBeep.wav", radarBeep(), 0.5f) &&
           save(dir, "miss.wav", swingMiss(), 0.8f) && save(dir, "hit.wav", ghostHit()) &&
           save(dir, "crossbowShoot.wav", crossbowShoot()) &&
           save(dir, "crossbowLoad.wav", crossbowLoad(), 0.7f) &&
           save(dir, "pickupArrows.wav", pickupArrows(), 0.7f) &&
           save(dir, "pickupHealth.wav", chime({69, 72, 76, 81}, 0.08f, 1.2f), 0.7f) &&
           save(dir, "pickupPower.wav", pickupPower(), 0.7f) &&
           save(dir, "ghostAttack.wav", ghostAttack()) && save(dir, "ghost.wav", ghostMoan()) &&
           save(dir, "heartbeat.wav", heartbeat(), 0.9f);
}

}  // namespace datagen
