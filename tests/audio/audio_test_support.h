#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Interleaved 16-bit samples of a sine tone.
std::vector<int16_t> sineSamples(int frames, int channels, int rate, double frequency,
                                 double amplitude);

// Our own OGG Vorbis writer (libvorbisenc); zero samples give a file that
// holds only the headers and decodes to nothing.
bool writeOggVorbis(const std::string& path, const std::vector<int16_t>& interleaved, int channels,
                    int rate);

// Files made by independent tools.
bool soxToneWav(const std::string& path, double seconds, int channels, int rate);
bool oggencFile(const std::string& wavPath, const std::string& oggPath);

// OpenAL Soft reads its configuration once per process, so the backend is
// chosen before the first device is opened: unless ALSOFT_CONF is already set
// (a child process given another backend), everything is rendered into a
// WAV file whose path this returns.
const std::string& useWaveOutput();

// Samples rendered into the WAV output so far (16-bit, interleaved).
std::size_t renderedSampleCount();
// Peak absolute sample value rendered after the given sample position.
int renderedPeakSince(std::size_t samplePosition);
