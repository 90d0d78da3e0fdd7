#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/error_reporter.h"
#include "audio/audio_manager.h"
#include "audio/audio_manager_testing.h"
#include "audio_test_support.h"
#include "support/child_process.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

namespace {

// OpenAL Soft reads its configuration once per process, so the machine
// without a device is a child process of this test binary, configured with a
// backend that does not exist.
TEST(NoAudioDevice, GameRunsSilentWithoutBoxes) {
    if (std::getenv("SPOOKHOLLOW_AUDIO_CHILD") != nullptr) {
        GTEST_SKIP() << "runs in the parent";
    }
    TempDir dir;
    std::string conf = dir.file("nodevice.conf");
    std::ofstream(conf) << "[general]\ndrivers=nosuchdriver\n";
    char self[PATH_MAX] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);

    ChildProcess::Options options;
    options.workingDir = dir.path();
    options.environment = {"ALSOFT_CONF=" + conf, "SPOOKHOLLOW_AUDIO_CHILD=1"};
    options.unsetVariables = {"ALSOFT_DRIVERS"};
    ChildProcess child(self, {"--gtest_filter=NoAudioDevice.ChildChecks", "--gtest_color=no"},
                       options);
    ASSERT_TRUE(child.waitForExit(30.0));
    EXPECT_EQ(child.exitCode(), 0) << child.standardError();
}

TEST(NoAudioDevice, ChildChecks) {
    if (std::getenv("SPOOKHOLLOW_AUDIO_CHILD") == nullptr) {
        GTEST_SKIP() << "runs in the child process only";
    }
    TempDir dir;
    ScopedWorkingDir cwd(dir.path());
    MessageBoxRecorder boxes;
    ErrorReporter reporter("ErrorLog", true);
    ASSERT_TRUE(soxToneWav(dir.file("tone.wav"), 0.2, 1, 22050));
    ASSERT_TRUE(
        writeOggVorbis(dir.file("music.ogg"), sineSamples(4410, 2, 44100, 440.0, 0.5), 2, 44100));
    {
        AudioManager audio;
        audio.init();
        EXPECT_TRUE(audio.isSilent());
        EXPECT_TRUE(audio.createSource(1, dir.file("tone.wav")));
        EXPECT_TRUE(audio.createSource(2, dir.file("missing.wav")));
        audio.playSource(1, true);
        EXPECT_FALSE(audio.isSourcePlaying(1));
        audio.setSourceGain(1, 0.5f);
        audio.stopSource(1);
        audio.deleteSource(1);
        EXPECT_TRUE(audio.createStream(0, dir.file("music.ogg"), false, 40960, 3));
        audio.playStream(0);
        audio.stopStream(0);
        audio.deleteStream(0);
        audio.shutdown();
        audio.init();
        audio.playSource(0, false);
        EXPECT_EQ(AudioTestAccess(audio).bufferCount(), 0);
        EXPECT_EQ(AudioTestAccess(audio).activeStreamCount(), 0);
    }
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(reporter.getErrorKind(), ERROR_NONE);
    std::string log = readFile(dir.file("ErrorLog.txt"));
    std::size_t first = log.find("No audio device");
    EXPECT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find("No audio device", first + 1), std::string::npos) << log;
}

}  // namespace
