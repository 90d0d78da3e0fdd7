#pragma once
// Listening to what the game played: OpenAL Soft's wave writer records the
// mix into a WAV file, and a sound effect is found in that mix by matched
// filtering (normalised cross-correlation with the effect's own file).
// Music plays underneath, so loudness alone would not say which sound
// played; the correlation does, and a stretch of the recording without the
// effect serves as the baseline.
#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace e2e {

// Samples mixed down to one channel, -1..1.
struct Sound {
    int rate = 0;
    std::vector<float> samples;
    double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0.0; }
};

// Reads 16-bit integer or 32-bit float PCM, plain or "extensible".
inline bool readWav(const std::string& path, Sound& sound) {
    std::string bytes = readFile(path);
    auto u16 = [&](std::size_t i) {
        return static_cast<unsigned>(static_cast<std::uint8_t>(bytes[i]) |
                                     (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    };
    auto u32 = [&](std::size_t i) { return u16(i) | (u16(i + 2) << 16); };
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return false;
    }
    unsigned format = 0, channels = 0, bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::string id = bytes.substr(at, 4);
        std::size_t size = u32(at + 4);
        std::size_t body = at + 8;
        if (id == "fmt " && size >= 16 && body + size <= bytes.size()) {
            format = u16(body);
            channels = u16(body + 2);
            sound.rate = static_cast<int>(u32(body + 4));
            bits = u16(body + 14);
            if (format == 0xFFFE && size >= 26) {
                format = u16(body + 24);  // the sub-format's first two bytes
            }
        } else if (id == "data") {
            // A recording cut short may hold more (or less) than its header says.
            size = std::min(size, bytes.size() - body);
            if (size == 0) {
                size = bytes.size() - body;
            }
            if (channels == 0 || sound.rate <= 0 ||
                !((format == 1 && bits == 16) || (format == 3 && bits == 32))) {
                return false;
            }
            std::size_t frameBytes = channels * bits / 8;
            std::size_t frames = size / frameBytes;
            sound.samples.resize(frames);
            for (std::size_t f = 0; f < frames; ++f) {
                double sum = 0.0;
                for (unsigned c = 0; c < channels; ++c) {
                    std::size_t p = body + f * frameBytes + c * (bits / 8);
                    if (bits == 16) {
                        sum += static_cast<std::int16_t>(u16(p)) / 32768.0;
                    } else {
                        std::uint32_t raw = u32(p);
                        float value = 0.0f;
                        std::memcpy(&value, &raw, sizeof value);
                        sum += value;
                    }
                }
                sound.samples[f] = static_cast<float>(sum / channels);
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

// The same sound at another sample rate (linear interpolation).
inline Sound resampled(const Sound& in, int rate) {
    if (in.rate == rate || in.rate <= 0 || in.samples.empty()) {
        return in;
    }
    Sound out;
    out.rate = rate;
    std::size_t count = static_cast<std::size_t>(in.seconds() * rate);
    out.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) * in.rate / rate;
        std::size_t j = static_cast<std::size_t>(t);
        double f = t - static_cast<double>(j);
        float a = in.samples[std::min(j, in.samples.size() - 1)];
        float b = in.samples[std::min(j + 1, in.samples.size() - 1)];
        out.samples[i] = static_cast<float>(a + (b - a) * f);
    }
    return out;
}

inline void fft(std::vector<std::complex<double>>& a, bool inverse) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(a[i], a[j]);
        }
    }
    for (std::size_t length = 2; length <= n; length <<= 1) {
        double angle =
            2.0 * 3.14159265358979323846 / static_cast<double>(length) * (inverse ? 1.0 : -1.0);
        std::complex<double> unit(std::cos(angle), std::sin(angle));
        for (std::size_t i = 0; i < n; i += length) {
            std::complex<double> w(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                std::complex<double> u = a[i + k];
                std::complex<double> v = a[i + k + length / 2] * w;
                a[i + k] = u + v;
                a[i + k + length / 2] = u - v;
                w *= unit;
            }
        }
    }
    if (inverse) {
        for (auto& value : a) {
            value /= static_cast<double>(n);
        }
    }
}

// The best normalised correlation (0..1) of the effect with the recording
// for every start of the effect between fromSeconds and toSeconds; 1 means
// the recording holds nothing but the effect there. `atSeconds` receives
// where the best match starts.
inline double effectPeak(const Sound& recording, const Sound& effect, double fromSeconds,
                         double toSeconds, double* atSeconds = nullptr) {
    if (recording.rate <= 0 || effect.samples.empty()) {
        return 0.0;
    }
    Sound tmpl = resampled(effect, recording.rate);
    const std::size_t m = tmpl.samples.size();
    const auto rate = static_cast<double>(recording.rate);
    std::size_t first = static_cast<std::size_t>(std::max(0.0, fromSeconds) * rate);
    std::size_t last = static_cast<std::size_t>(std::max(0.0, toSeconds) * rate);
    if (recording.samples.size() < m || first > recording.samples.size() - m) {
        return 0.0;
    }
    last = std::min(last, recording.samples.size() - m);
    if (last < first) {
        return 0.0;
    }
    const std::size_t span = last - first + m;
    std::size_t n = 1;
    while (n < span + m) {
        n <<= 1;
    }
    std::vector<std::complex<double>> r(n), t(n);
    for (std::size_t i = 0; i < span; ++i) {
        r[i] = recording.samples[first + i];
    }
    double templateEnergy = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        t[i] = tmpl.samples[i];
        templateEnergy += static_cast<double>(tmpl.samples[i]) * tmpl.samples[i];
    }
    fft(r, false);
    fft(t, false);
    for (std::size_t i = 0; i < n; ++i) {
        r[i] *= std::conj(t[i]);
    }
    fft(r, true);

    std::vector<double> prefix(span + 1, 0.0);
    for (std::size_t i = 0; i < span; ++i) {
        double s = recording.samples[first + i];
        prefix[i + 1] = prefix[i] + s * s;
    }
    double best = 0.0;
    for (std::size_t lag = 0; lag + m <= span; ++lag) {
        double energy = prefix[lag + m] - prefix[lag];
        if (energy <= 1e-9 * static_cast<double>(m) || templateEnergy <= 0.0) {
            continue;
        }
        double value = r[lag].real() / std::sqrt(energy * templateEnergy);
        if (value > best) {
            best = value;
            if (atSeconds != nullptr) {
                *atSeconds = static_cast<double>(first + lag) / rate;
            }
        }
    }
    return best;
}

// Root mean square level of a stretch of the recording.
inline double rmsLevel(const Sound& sound, double fromSeconds, double toSeconds) {
    if (sound.rate <= 0) {
        return 0.0;
    }
    std::size_t first = static_cast<std::size_t>(std::max(0.0, fromSeconds) * sound.rate);
    std::size_t last = std::min(sound.samples.size(),
                                static_cast<std::size_t>(std::max(0.0, toSeconds) * sound.rate));
    double sum = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        sum += static_cast<double>(sound.samples[i]) * sound.samples[i];
    }
    return last > first ? std::sqrt(sum / static_cast<double>(last - first)) : 0.0;
}

}  // namespace e2e
