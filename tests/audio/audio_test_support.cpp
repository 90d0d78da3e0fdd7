#include "audio_test_support.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"

std::vector<int16_t> sineSamples(int frames, int channels, int rate, double frequency,
                                 double amplitude) {
    std::vector<int16_t> samples;
    samples.reserve(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    for (int i = 0; i < frames; ++i) {
        double value = amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c) {
            samples.push_back(static_cast<int16_t>(std::lround(value)));
        }
    }
    return samples;
}

namespace {

// Writes the pages that are ready; with a gap frame set, the first page
// reaching it is dropped (once).
void writePages(std::FILE* file, ogg_stream_state& stream, bool flush, long& gapAtFrame) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (gapAtFrame >= 0 && ogg_page_granulepos(&page) >= gapAtFrame) {
            gapAtFrame = -1;
            continue;
        }
        std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file);
        std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file);
    }
}

}  // namespace

bool writeOggVorbis(const std::string& path, const std::vector<int16_t>& interleaved, int channels,
                    int rate, long gapAtFrame) {
    // A gap needs small pages: one packet each.
    const bool pagePerPacket = gapAtFrame >= 0;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    long noGap = -1;
    writePages(file, stream, true, noGap);

    auto drain = [&] {
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                writePages(file, stream, pagePerPacket, gapAtFrame);
            }
        }
    };
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    const std::size_t chunk = 1024;
    for (std::size_t start = 0; start < frames; start += chunk) {
        std::size_t count = std::min(chunk, frames - start);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (std::size_t i = 0; i < count; ++i) {
            for (int c = 0; c < channels; ++c) {
                std::size_t index =
                    (start + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c);
                buffer[c][i] = interleaved[index] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);  // end of stream
    drain();
    writePages(file, stream, true, gapAtFrame);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0;
}

bool soxToneWav(const std::string& path, double seconds, int channels, int rate) {
    char command[1024];
    std::snprintf(command, sizeof command,
                  "sox -q -n -r %d -c %d -b 16 '%s' synth %g sine 440 vol 0.5", rate, channels,
                  path.c_str(), seconds);
    return std::system(command) == 0;
}

bool oggencFile(const std::string& wavPath, const std::string& oggPath) {
    std::string command = "oggenc -Q -o '" + oggPath + "' '" + wavPath + "'";
    return std::system(command.c_str()) == 0;
}

namespace {

std::string& waveOutputPath() {
    static std::string path;
    return path;
}

// Offset of the first sample: the WAV header ends where the data chunk starts.
std::size_t dataOffset(const std::string& bytes) {
    std::size_t found = bytes.find("data");
    return found == std::string::npos || found > 200 ? std::string::npos : found + 8;
}

}  // namespace

const std::string& useWaveOutput() {
    static TempDir* dir = nullptr;
    if (dir == nullptr && std::getenv("ALSOFT_CONF") == nullptr) {
        dir = new TempDir();  // lives as long as the process
        std::string conf = dir->file("alsoft.conf");
        waveOutputPath() = dir->file("out.wav");
        std::ofstream out(conf);
        out << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency=44100\n"
            << "[wave]\nfile=" << waveOutputPath() << "\n";
        out.close();
        ::setenv("ALSOFT_CONF", conf.c_str(), 1);
        ::unsetenv("ALSOFT_DRIVERS");
    }
    return waveOutputPath();
}

namespace {

// The sample data starts after the header; OpenAL Soft writes a fixed one,
// but it is found rather than assumed.
std::size_t outputDataOffset() {
    std::ifstream in(waveOutputPath(), std::ios::binary);
    std::string head(256, '\0');
    in.read(&head[0], static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    return dataOffset(head);
}

}  // namespace

std::size_t renderedSampleCount() {
    std::size_t offset = outputDataOffset();
    std::error_code error;
    auto size = std::filesystem::file_size(waveOutputPath(), error);
    if (offset == std::string::npos || error || size < offset) {
        return 0;
    }
    return static_cast<std::size_t>(size - offset) / 2;
}

int renderedPeakBetween(std::size_t first, std::size_t end) {
    std::size_t offset = outputDataOffset();
    if (offset == std::string::npos || end <= first) {
        return -1;
    }
    std::ifstream in(waveOutputPath(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset + first * 2));
    std::string bytes((end - first) * 2, '\0');
    in.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    int peak = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        int16_t sample = 0;
        std::memcpy(&sample, bytes.data() + i, 2);
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

bool waitForRenderedSamples(std::size_t count, double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                        std::chrono::duration<double>(timeoutSeconds));
    while (renderedSampleCount() < count) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
