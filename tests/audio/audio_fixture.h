#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/error_reporter.h"
#include "audio/audio_manager.h"
#include "audio_test_support.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

// A working folder, an error reporter, recorded boxes and an initialised
// audio manager rendering into the WAV output.
class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        useWaveOutput();
        reporter = std::make_unique<ErrorReporter>("ErrorLog", true);
        audio = std::make_unique<AudioManager>();
        audio->init();
        ASSERT_FALSE(audio->isSilent());
    }
    void TearDown() override {
        audio.reset();
        reporter.reset();
    }

    std::string toneWav(const std::string& name, double seconds = 0.5, int channels = 1,
                        int rate = 22050) {
        std::string path = dir.file(name);
        EXPECT_TRUE(soxToneWav(path, seconds, channels, rate));
        return path;
    }
    std::string ownOgg(const std::string& name, int frames, int channels = 2, int rate = 44100) {
        std::string path = dir.file(name);
        EXPECT_TRUE(
            writeOggVorbis(path, sineSamples(frames, channels, rate, 440.0, 0.5), channels, rate));
        return path;
    }
    std::string boxText(std::size_t i) const { return boxes.boxes().at(i).text; }
    static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // Peak of what is rendered over the next stretch of time.
    static int peakOver(int ms) {
        std::size_t start = renderedSampleCount();
        sleepMs(ms);
        return renderedPeakSince(start);
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    std::unique_ptr<ErrorReporter> reporter;
    std::unique_ptr<AudioManager> audio;
};
