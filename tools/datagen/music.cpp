// The four music tracks, composed here as note lists and rendered with small
// synthesised instruments, then encoded as Ogg Vorbis. All are in minor keys.
// The looping tracks are rendered twice in a row and the second pass is kept,
// so notes and reverb ringing over the end continue at the start: no click.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio_io.h"
#include "generators.h"
#include "image.h"
#include "synth.h"

namespace datagen {
namespace {

enum class Instrument { MusicBox, Organ, Pad, Bass, Bell, Choir, Timpani };

struct Note {
    float beat;      // start, in beats
    float length;    // in beats
    int pitch;       // MIDI note
    float velocity;  // 0..1
    Instrument instrument;
    float pan = 0.0f;  // -1 left .. 1 right
};

struct Piece {
    float bpm;
    float beats;  // length of the piece (one loop)
    bool loop;
    float reverbSize;
    float reverbWet;
    std::vector<Note> notes;
};

// Phase in cycles of a tone whose frequency wobbles by `depth` (a fraction)
// `rate` times a second: the integral of hz * (1 + depth * sin(...)).
float vibratoPhase(float hz, float t, float depth, float rate, float offset) {
    float w = kTwoPi * rate;
    return hz * (t + depth * (std::cos(offset) - std::cos(w * t + offset)) / w);
}

// One voice of an instrument at time t (seconds) into a note held for `hold`.
float voice(Instrument inst, float t, float hold, float hz, uint32_t seed) {
    switch (inst) {
        case Instrument::MusicBox: {
            float env = std::min(1.0f, t * 600.0f) * std::exp(-t * 2.2f);
            return env * (std::sin(kTwoPi * hz * t) +
                          0.3f * std::sin(kTwoPi * hz * 4.0f * t) * std::exp(-t * 6.0f) +
                          0.12f * std::sin(kTwoPi * hz * 6.9f * t) * std::exp(-t * 9.0f));
        }
        case Instrument::Bell: {
            float env = std::min(1.0f, t * 800.0f);
            return env * (std::sin(kTwoPi * hz * t) * std::exp(-t * 0.9f) +
                          0.5f * std::sin(kTwoPi * hz * 2.76f * t) * std::exp(-t * 1.6f) +
                          0.3f * std::sin(kTwoPi * hz * 5.4f * t) * std::exp(-t * 2.5f) +
                          0.25f * std::sin(kTwoPi * hz * 0.5f * t) * std::exp(-t * 0.6f));
        }
        case Instrument::Organ: {
            float env = adsr(t, hold, 0.08f, 0.2f, 0.85f, 0.35f);
            float p = vibratoPhase(hz, t, 0.002f, 5.5f, 0.0f);
            return env *
                   (std::sin(kTwoPi * p) + 0.5f * std::sin(kTwoPi * p * 2.0f) +
                    0.3f * std::sin(kTwoPi * p * 3.0f) + 0.18f * std::sin(kTwoPi * p * 4.0f) +
                    0.12f * std::sin(kTwoPi * p * 6.0f) + 0.4f * std::sin(kTwoPi * p * 0.5f)) *
                   0.4f;
        }
        case Instrument::Pad: {
            float env = adsr(t, hold, 0.9f, 0.5f, 0.8f, 1.4f);
            float detune = 1.0f + 0.004f * ((seed & 3u) - 1.5f);
            float a = softSaw(hz * t, hz), b = softSaw(hz * detune * 1.003f * t + 0.3f, hz);
            float c = std::sin(kTwoPi * hz * 0.5f * t);
            return env * ((a + b) * 0.35f + c * 0.4f);
        }
        case Instrument::Bass: {
            float env = adsr(t, hold, 0.01f, 0.3f, 0.6f, 0.2f);
            return env *
                   (std::sin(kTwoPi * hz * t) + 0.25f * softSaw(hz * t, hz) * std::exp(-t * 4.0f));
        }
        case Instrument::Choir: {
            float env = adsr(t, hold, 0.6f, 0.4f, 0.85f, 1.0f);
            float p = vibratoPhase(hz, t, 0.006f, 4.8f, static_cast<float>(seed & 7u));
            // "Ooh": a stack of low harmonics weighted like a dark vowel.
            float sum = 0.0f;
            const float weights[6] = {1.0f, 0.7f, 0.25f, 0.12f, 0.05f, 0.03f};
            for (int k = 0; k < 6; ++k)
                sum += weights[k] * std::sin(kTwoPi * p * (k + 1));
            return env * sum * 0.5f;
        }
        case Instrument::Timpani: {
            float env = std::min(1.0f, t * 300.0f) * std::exp(-t * 3.0f);
            float f = hz * (1.0f + 0.15f * std::exp(-t * 20.0f));
            return env * (std::sin(kTwoPi * f * t) +
                          0.3f * std::sin(kTwoPi * f * 1.5f * t) * std::exp(-t * 6.0f));
        }
    }
    return 0.0f;
}

float releaseOf(Instrument inst) {
    switch (inst) {
        case Instrument::MusicBox:
            return 2.5f;
        case Instrument::Bell:
            return 5.0f;
        case Instrument::Pad:
            return 1.5f;
        case Instrument::Choir:
            return 1.1f;
        case Instrument::Organ:
            return 0.4f;
        case Instrument::Bass:
            return 0.25f;
        case Instrument::Timpani:
            return 1.5f;
    }
    return 1.0f;
}

float gainOf(Instrument inst) {
    switch (inst) {
        case Instrument::MusicBox:
            return 0.32f;
        case Instrument::Bell:
            return 0.22f;
        case Instrument::Pad:
            return 0.13f;
        case Instrument::Choir:
            return 0.16f;
        case Instrument::Organ:
            return 0.14f;
        case Instrument::Bass:
            return 0.3f;
        case Instrument::Timpani:
            return 0.4f;
    }
    return 0.2f;
}

Sound render(const Piece& piece, float tailSeconds) {
    const float beatSec = 60.0f / piece.bpm;
    const long period = static_cast<long>(piece.beats * beatSec * kRate);
    const int passes = piece.loop ? 2 : 1;
    const long total = piece.loop ? period * 2 : period + static_cast<long>(tailSeconds * kRate);
    std::vector<float> dryL(static_cast<size_t>(total), 0.0f),
        dryR(static_cast<size_t>(total), 0.0f);
    std::vector<float> send(static_cast<size_t>(total), 0.0f);
    for (int pass = 0; pass < passes; ++pass) {
        // The seed depends on the note only: both passes must sound the same
        // for the loop seam to be continuous.
        uint32_t seed = 1;
        for (const Note& n : piece.notes) {
            float hz = midiToHz(static_cast<float>(n.pitch));
            float hold = n.length * beatSec;
            long start = static_cast<long>(n.beat * beatSec * kRate) + pass * period;
            long len = static_cast<long>((hold + releaseOf(n.instrument)) * kRate);
            float g = gainOf(n.instrument) * n.velocity;
            float left = std::sqrt(0.5f * (1.0f - n.pan)), right = std::sqrt(0.5f * (1.0f + n.pan));
            ++seed;
            for (long i = 0; i < len; ++i) {
                long j = start + i;
                if (j >= total)
                    break;
                float v = voice(n.instrument, static_cast<float>(i) / kRate, hold, hz, seed) * g;
                dryL[static_cast<size_t>(j)] += v * left;
                dryR[static_cast<size_t>(j)] += v * right;
                send[static_cast<size_t>(j)] += v;
            }
        }
    }
    Reverb reverb(piece.reverbSize, 0.35f);
    Sound out;
    out.rate = kRate;
    out.channels = 2;
    long from = piece.loop ? period : 0;
    out.samples.reserve(static_cast<size_t>(total - from) * 2);
    for (long j = 0; j < total; ++j) {
        float l, r;
        reverb.process(send[static_cast<size_t>(j)], l, r);
        if (j < from)
            continue;
        out.samples.push_back(dryL[static_cast<size_t>(j)] + l * piece.reverbWet);
        out.samples.push_back(dryR[static_cast<size_t>(j)] + r * piece.reverbWet);
    }
    if (!piece.loop) {
        // Fade the last second so the intro ends in silence.
        size_t frames = out.samples.size() / 2, fade = kRate;
        for (size_t f = frames - fade; f < frames; ++f) {
            float k = static_cast<float>(frames - f) / fade;
            out.samples[f * 2] *= k;
            out.samples[f * 2 + 1] *= k;
        }
    }
    normalise(out.samples, 0.85f);
    return out;
}

// Adds a melody written as (pitch, beats) pairs; pitch 0 is a rest.
void melody(Piece& p, Instrument inst, float startBeat,
            const std::vector<std::pair<int, float>>& line, float velocity, float pan = 0.0f) {
    float beat = startBeat;
    for (const auto& [pitch, beats] : line) {
        if (pitch > 0)
            p.notes.push_back({beat, beats * 0.95f, pitch, velocity, inst, pan});
        beat += beats;
    }
}

void chord(Piece& p, Instrument inst, float beat, float length, std::vector<int> pitches,
           float velocity) {
    float pan = -0.5f;
    for (int pitch : pitches) {
        p.notes.push_back({beat, length, pitch, velocity, inst, pan});
        pan += 1.0f / std::max<size_t>(1, pitches.size() - 1);
    }
}

// MIDI note numbers used below.
enum : int {
    D2 = 38,
    E2 = 40,
    F2 = 41,
    G2 = 43,
    A2 = 45,
    Bb2 = 46,
    C3 = 48,
    D3 = 50,
    E3 = 52,
    F3 = 53,
    G3 = 55,
    Gs3 = 56,
    A3 = 57,
    Bb3 = 58,
    B3 = 59,
    C4 = 60,
    Cs4 = 61,
    D4 = 62,
    E4 = 64,
    F4 = 65,
    G4 = 67,
    Gs4 = 68,
    A4 = 69,
    Bb4 = 70,
    B4 = 71,
    C5 = 72,
    Cs5 = 73,
    D5 = 74,
    E5 = 76,
    F5 = 77,
    G5 = 79,
    A5 = 81,
    A1 = 33,
    B2 = 47,
    Ds3 = 51,
    Fs3 = 54,
    Ds4 = 63,
    Fs4 = 66
};

// Intro: a bell tolls, the organ swells in D minor, and a music box states
// the main motif. About eight seconds.
Piece intro() {
    Piece p{60.0f, 6.5f, false, 0.88f, 0.9f, {}};
    p.notes.push_back({0.0f, 4.0f, D3, 1.0f, Instrument::Bell, 0.0f});
    p.notes.push_back({0.0f, 6.0f, D2, 0.8f, Instrument::Timpani, 0.0f});
    chord(p, Instrument::Organ, 0.2f, 5.6f, {D2, A2, D3, F3}, 0.8f);
    chord(p, Instrument::Pad, 0.0f, 6.0f, {D3, F3, A3}, 0.9f);
    melody(p, Instrument::MusicBox, 1.0f,
           {{A4, 0.5f},
            {D5, 0.5f},
            {F5, 0.5f},
            {E5, 0.5f},
            {D5, 0.5f},
            {Cs5, 0.5f},
            {D5, 1.0f},
            {A4, 1.5f}},
           0.9f, 0.2f);
    p.notes.push_back({4.0f, 2.5f, A2, 0.7f, Instrument::Bell, -0.2f});
    return p;
}

// Menu: a slow music-box waltz in A minor over a choir and pad; sixteen bars.
Piece menu() {
    Piece p{84.0f, 48.0f, true, 0.86f, 0.8f, {}};
    const std::vector<std::vector<int>> chords = {
        {A2, E3, A3, C4}, {F2, C3, A3, C4},   {D3, A3, D4, F4},  {E2, B3, D4, Gs4},
        {A2, E3, A3, C4}, {F2, C3, A3, F4},   {D3, F3, A3, D4},  {E2, Gs3, B3, E4},
        {F2, C3, F3, A3}, {G2, D3, G3, B3},   {C3, E3, G3, C4},  {A2, E3, A3, C4},
        {D3, F3, A3, D4}, {Bb2, F3, Bb3, D4}, {E2, Gs3, B3, D4}, {A2, E3, A3, C4},
    };
    for (int bar = 0; bar < 16; ++bar) {
        const std::vector<int>& c = chords[static_cast<size_t>(bar)];
        float b = bar * 3.0f;
        p.notes.push_back({b, 2.8f, c[0], 0.9f, Instrument::Bass, 0.0f});
        // Waltz accompaniment: the upper notes on beats two and three.
        for (int beat = 1; beat < 3; ++beat) {
            p.notes.push_back({b + beat, 0.8f, c[2] + 12, 0.35f, Instrument::MusicBox, -0.4f});
            p.notes.push_back({b + beat, 0.8f, c[3] + 12, 0.3f, Instrument::MusicBox, 0.4f});
        }
        chord(p, Instrument::Choir, b, 3.0f, {c[1] + 12, c[2] + 12}, 0.7f);
    }
    melody(p, Instrument::MusicBox, 0.0f,
           {{E5, 1.5f},  {D5, 0.5f}, {C5, 1.0f},  {A4, 2.0f},  {C5, 0.5f},  {E5, 0.5f}, {F5, 1.5f},
            {E5, 0.5f},  {D5, 1.0f}, {B4, 1.0f},  {Gs4, 1.0f}, {E4, 1.0f},  {E5, 1.5f}, {D5, 0.5f},
            {C5, 1.0f},  {A4, 1.0f}, {C5, 1.0f},  {F5, 1.0f},  {E5, 1.0f},  {D5, 1.0f}, {A4, 1.0f},
            {Gs4, 3.0f}, {A4, 1.0f}, {C5, 1.0f},  {F5, 1.0f},  {G5, 1.5f},  {F5, 0.5f}, {D5, 1.0f},
            {E5, 2.0f},  {G5, 1.0f}, {A5, 2.0f},  {E5, 1.0f},  {F5, 1.0f},  {E5, 1.0f}, {D5, 1.0f},
            {D5, 1.0f},  {F5, 1.0f}, {Bb4, 1.0f}, {B4, 1.5f},  {Gs4, 0.5f}, {E4, 1.0f}, {A4, 3.0f}},
           0.85f, 0.1f);
    for (int bar : {0, 8})
        p.notes.push_back({bar * 3.0f, 6.0f, A2, 0.6f, Instrument::Bell, -0.3f});
    return p;
}

// Play: a tense D minor pulse with a creeping organ line and distant bells.
Piece play() {
    Piece p{100.0f, 64.0f, true, 0.82f, 0.7f, {}};
    const std::vector<int> roots = {D2, D2, Bb2 - 12, A1, D2, F2, E2, A1,
                                    D2, D2, Bb2 - 12, A1, G2, F2, E2, A1};
    const std::vector<std::vector<int>> pads = {
        {D3, F3, A3},  {D3, F3, A3},  {Bb2, D3, F3}, {A2, Cs4, E3}, {D3, F3, A3},  {F3, A3, C4},
        {E3, G3, Bb3}, {A2, Cs4, E3}, {D3, F3, A3},  {D3, G3, Bb3}, {Bb2, D3, F3}, {A2, Cs4, E3},
        {G3, Bb3, D4}, {F3, A3, D4},  {E3, G3, Bb3}, {A2, Cs4, E3},
    };
    for (int bar = 0; bar < 16; ++bar) {
        float b = bar * 4.0f;
        int root = roots[static_cast<size_t>(bar)];
        // Heartbeat-like ostinato: long-short pairs on the root.
        for (int beat = 0; beat < 4; ++beat) {
            p.notes.push_back({b + beat, 0.4f, root, 0.9f, Instrument::Bass, 0.0f});
            p.notes.push_back({b + beat + 0.5f, 0.3f, root + 12, 0.45f, Instrument::Bass, 0.0f});
        }
        chord(p, Instrument::Pad, b, 4.0f, pads[static_cast<size_t>(bar)], 0.8f);
        if (bar % 4 == 0)
            p.notes.push_back({b, 1.0f, D2, 0.8f, Instrument::Timpani, 0.0f});
        if (bar % 4 == 3) {
            p.notes.push_back({b + 2.0f, 0.5f, A2, 0.6f, Instrument::Timpani, 0.0f});
            p.notes.push_back({b + 3.0f, 0.5f, A2, 0.7f, Instrument::Timpani, 0.0f});
        }
    }
    // The organ creeps in the second half of each phrase.
    melody(p, Instrument::Organ, 8.0f,
           {{D4, 2.0f},
            {E4, 1.0f},
            {F4, 1.0f},
            {E4, 2.0f},
            {Cs4, 2.0f},
            {0, 8.0f},
            {F4, 2.0f},
            {G4, 1.0f},
            {A4, 1.0f},
            {Bb4, 1.5f},
            {A4, 0.5f},
            {G4, 1.0f},
            {E4, 1.0f},
            {A3, 4.0f},
            {0, 4.0f}},
           0.8f, -0.2f);
    melody(p, Instrument::Choir, 40.0f,
           {{A4, 4.0f},
            {Bb4, 4.0f},
            {A4, 2.0f},
            {G4, 2.0f},
            {F4, 2.0f},
            {E4, 2.0f},
            {D4, 4.0f},
            {Cs4, 4.0f}},
           0.8f, 0.2f);
    melody(p, Instrument::MusicBox, 32.0f,
           {{A5, 0.5f},
            {F5, 0.5f},
            {D5, 0.5f},
            {A4, 0.5f},
            {0, 2.0f},
            {Bb4, 0.5f},
            {D5, 0.5f},
            {F5, 0.5f},
            {Cs5, 1.5f}},
           0.55f, 0.5f);
    for (float b : {0.0f, 28.0f, 48.0f})
        p.notes.push_back({b, 4.0f, D4, 0.45f, Instrument::Bell, -0.5f});
    return p;
}

// Game over: a slow lament in E minor for choir, organ and a tolling bell.
Piece gameOver() {
    Piece p{66.0f, 32.0f, true, 0.9f, 1.0f, {}};
    const std::vector<std::vector<int>> chords = {
        {E2, B3 - 12, E3, G3}, {C3, G3, C4, E4 - 12}, {A2, E3, A3, C4},      {B2, Ds3, Fs3, B3},
        {E2, B3 - 12, E3, G3}, {A2, E3, A3, C4},      {D3, A3, D4, F4 - 12}, {B2, Ds3, Fs3, B3},
    };
    for (int bar = 0; bar < 8; ++bar) {
        float b = bar * 4.0f;
        const std::vector<int>& c = chords[static_cast<size_t>(bar)];
        chord(p, Instrument::Organ, b, 3.9f, {c[0], c[1], c[2]}, 0.7f);
        chord(p, Instrument::Choir, b, 4.0f, {c[2], c[3]}, 0.8f);
        p.notes.push_back({b, 2.0f, c[0] + 12, 0.5f, Instrument::Bell, 0.3f});
    }
    melody(p, Instrument::MusicBox, 0.0f,
           {{B4, 2.0f}, {G4, 1.0f}, {E4, 1.0f},  {E4, 1.5f}, {G4, 0.5f},  {C5, 2.0f},
            {A4, 1.0f}, {C5, 1.0f}, {B4, 1.0f},  {A4, 1.0f}, {Fs4, 4.0f}, {B4, 2.0f},
            {G4, 1.0f}, {E4, 1.0f}, {A4, 1.5f},  {C5, 0.5f}, {E5, 2.0f},  {D5, 1.0f},
            {C5, 1.0f}, {A4, 1.0f}, {Fs4, 1.0f}, {Ds4, 4.0f}},
           0.7f, -0.1f);
    return p;
}

bool save(const std::string& dir, const char* name, const Sound& sound) {
    return writeOgg(dir + "/" + name, sound, 0.35f);
}

}  // namespace

bool generateMusic(const std::string& root) {
    const std::string dir = root + "/audio";
    if (!makeFolder(dir))
        return false;
    return save(dir, "intro.ogg", render(intro(), 1.5f)) &&
           save(dir, "menu.ogg", render(menu(), 0.0f)) &&
           save(dir, "play.ogg", render(play(), 0.0f)) &&
           save(dir, "gameOver.ogg", render(gameOver(), 0.0f));
}

}  // namespace datagen
