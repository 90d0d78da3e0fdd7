#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Interleaved 16-bit samples of a sine tone.
std::vector<int16_t> sineSamples(int frames, int channels, int rate, double frequency,
                                 double amplitude);

// Our own OGG Vorbis writer (libvorbisenc); zero samples give a file that
// holds only the headers and decodes to nothing. With gapAtFrame set, the
// page holding that frame is left out: decoding up to it works, and reading
// across it fails (a hole in the data).
bool writeOggVorbis(const std::string& path, const std::vector<int16_t>& interleaved, int channels,
                    int rate, long gapAtFrame = -1);

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
// Peak absolute sample value rendered in [first, end) (end may pass what
// exists); -1 when there is no output.
int renderedPeakBetween(std::size_t first, std::size_t end);
// Waits until the output holds at least count samples; false after
// timeoutSeconds. The mixer renders in real time, but a loaded machine may
// lag, so tests wait for samples rather than for time.
bool waitForRenderedSamples(std::size_t count, double timeoutSeconds = 20.0);

// The output is 44.1 kHz stereo.
constexpr std::size_t OUTPUT_SAMPLES_PER_SECOND = 2 * 44100;
constexpr std::size_t samplesInMs(int ms) {
    return OUTPUT_SAMPLES_PER_SECOND * static_cast<std::size_t>(ms) / 1000;
}
