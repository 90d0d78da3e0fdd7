#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "generated_tree.h"

using namespace datagen_test;

namespace {

struct Pcm {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;  // interleaved
    double seconds() const {
        return channels ? static_cast<double>(samples.size()) / channels / rate : 0.0;
    }
};

uint32_t le32(const std::string& b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8 |
           static_cast<uint8_t>(b[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t le16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1])
                                                                   << 8);
}

// Reads the plain 44-byte-header PCM files the generator writes.
bool readWav(const std::string& path, Pcm& pcm) {
    std::string b = readFile(path);
    if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0 ||
        b.compare(12, 4, "fmt ") != 0 || b.compare(36, 4, "data") != 0) {
        return false;
    }
    if (le16(b, 20) != 1 || le16(b, 34) != 16)
        return false;  // 16-bit PCM only
    pcm.channels = le16(b, 22);
    pcm.rate = static_cast<int>(le32(b, 24));
    uint32_t bytes = le32(b, 40);
    if (le32(b, 4) != 36 + bytes || b.size() != 44 + bytes)
        return false;
    pcm.samples.resize(bytes / 2);
    std::memcpy(pcm.samples.data(), b.data() + 44, bytes);
    return true;
}

bool readOgg(const std::string& path, Pcm& pcm) {
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return false;
    vorbis_info* info = ov_info(&file, -1);
    pcm.rate = static_cast<int>(info->rate);
    pcm.channels = info->channels;
    char buffer[8192];
    int section = 0;
    long got;
    while ((got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section)) > 0) {
        size_t old = pcm.samples.size();
        pcm.samples.resize(old + static_cast<size_t>(got) / 2);
        std::memcpy(pcm.samples.data() + old, buffer, static_cast<size_t>(got));
    }
    ov_clear(&file);
    return got == 0;
}

double rms(const Pcm& pcm) {
    double sum = 0.0;
    for (int16_t s : pcm.samples)
        sum += static_cast<double>(s) * s;
    return std::sqrt(sum / std::max<size_t>(1, pcm.samples.size())) / 32768.0;
}

int peak(const Pcm& pcm) {
    int p = 0;
    for (int16_t s : pcm.samples)
        p = std::max(p, std::abs(static_cast<int>(s)));
    return p;
}

// How much the step from the last frame to the first exceeds the usual
// step between neighbouring frames (1 or less: no click at the seam).
double seamRoughness(const Pcm& pcm) {
    size_t frames = pcm.samples.size() / pcm.channels;
    double worst = 0.0;
    for (int c = 0; c < pcm.channels; ++c) {
        auto at = [&](size_t f) { return static_cast<double>(pcm.samples[f * pcm.channels + c]); };
        std::vector<double> steps;
        for (size_t f = 0; f + 1 < frames; f += 7)
            steps.push_back(std::fabs(at(f + 1) - at(f)));
        std::sort(steps.begin(), steps.end());
        double typical = steps[steps.size() * 99 / 100] + 64.0;
        worst = std::max(worst, std::fabs(at(0) - at(frames - 1)) / typical);
    }
    return worst;
}

}  // namespace

TEST(Sounds, EffectsAre16BitPcmThatIsAudibleAndUnclipped) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const std::string& file : gameFiles()) {
        if (file.size() < 4 || file.compare(file.size() - 4, 4, ".wav") != 0)
            continue;
        Pcm pcm;
        ASSERT_TRUE(readWav(resource(file), pcm)) << file;
        EXPECT_EQ(pcm.channels, 1) << file;
        EXPECT_GT(pcm.seconds(), 0.1) << file;
        EXPECT_LT(pcm.seconds(), 3.0) << file;
        EXPECT_GT(rms(pcm), 0.02) << file << " is nearly silent";
        EXPECT_LT(peak(pcm), 32000) << file << " clips";
    }
}

TEST(Sounds, FootstepsAndHeartbeatLoopWithoutAClick) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const char* file : {"audio/footsteps.wav", "audio/heartbeat.wav"}) {
        Pcm pcm;
        ASSERT_TRUE(readWav(resource(file), pcm)) << file;
        EXPECT_LE(seamRoughness(pcm), 1.0) << file;
    }
}

TEST(Music, TracksDecodeWithVorbisfileAndHaveTheirLengths) {
    ASSERT_FALSE(generatedRoot().empty());
    struct Track {
        const char* file;
        double minSeconds, maxSeconds;
    };
    for (const Track& t :
         {Track{"audio/intro.ogg", 7.0, 9.0}, Track{"audio/menu.ogg", 15.0, 90.0},
          Track{"audio/play.ogg", 15.0, 90.0}, Track{"audio/gameOver.ogg", 10.0, 90.0}}) {
        Pcm pcm;
        ASSERT_TRUE(readOgg(resource(t.file), pcm)) << t.file;
        EXPECT_EQ(pcm.channels, 2) << t.file;
        EXPECT_EQ(pcm.rate, 44100) << t.file;
        EXPECT_GE(pcm.seconds(), t.minSeconds) << t.file;
        EXPECT_LE(pcm.seconds(), t.maxSeconds) << t.file;
        EXPECT_GT(rms(pcm), 0.03) << t.file << " is nearly silent";
        EXPECT_LT(peak(pcm), 32700) << t.file << " clips";
    }
}

TEST(Music, LoopingTracksJoinWithoutAClick) {
    ASSERT_FALSE(generatedRoot().empty());
    for (const char* file : {"audio/menu.ogg", "audio/play.ogg", "audio/gameOver.ogg"}) {
        Pcm pcm;
        ASSERT_TRUE(readOgg(resource(file), pcm)) << file;
        EXPECT_LE(seamRoughness(pcm), 1.0) << file;
    }
}

TEST(Music, IntroEndsInSilence) {
    ASSERT_FALSE(generatedRoot().empty());
    Pcm pcm;
    ASSERT_TRUE(readOgg(resource("audio/intro.ogg"), pcm));
    Pcm tail;
    tail.channels = pcm.channels;
    tail.rate = pcm.rate;
    tail.samples.assign(pcm.samples.end() - pcm.rate / 20 * pcm.channels, pcm.samples.end());
    EXPECT_LT(rms(tail), 0.01);
}
