#pragma once
#include <string>
#include <vector>

namespace datagen {

// Mono or interleaved stereo samples in [-1, 1]; values beyond are clipped.
struct Sound {
    int rate = 44100;
    int channels = 1;
    std::vector<float> samples;
    int frames() const { return static_cast<int>(samples.size()) / channels; }
};

// 16-bit PCM RIFF WAVE.
bool writeWav(const std::string& path, const Sound& sound);
// Ogg Vorbis through libvorbisenc, variable bit rate at the given quality
// (-0.1 .. 1). The stream serial number is fixed so the bytes never change.
bool writeOgg(const std::string& path, const Sound& sound, float quality);

}  // namespace datagen
