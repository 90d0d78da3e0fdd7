#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/error_reporter.h"
#include "audio/audio_manager.h"
#include "audio/audio_manager_testing.h"
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
    AudioTestAccess access() const { return AudioTestAccess(*audio); }

    // Waits until the mixer has rendered ms more of output.
    static void renderMs(int ms) {
        ASSERT_TRUE(waitForRenderedSamples(renderedSampleCount() + samplesInMs(ms)));
    }
    // Peak of the next ms of rendered output.
    static int peakOver(int ms) {
        std::size_t start = renderedSampleCount();
        std::size_t end = start + samplesInMs(ms);
        EXPECT_TRUE(waitForRenderedSamples(end));
        return renderedPeakBetween(start, end);
    }
    // Polls a condition; false after a generous timeout.
    static bool eventually(const std::function<bool()>& condition, double seconds = 20.0) {
        auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::milliseconds(static_cast<long>(seconds * 1000.0));
        while (!condition()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    MessageBoxRecorder boxes;
    std::unique_ptr<ErrorReporter> reporter;
    std::unique_ptr<AudioManager> audio;
};
