#include <AL/al.h>

#include <mutex>
#include <thread>
#include <vector>

#include "audio_fixture.h"

namespace {

using AudioStreamTest = AudioTest;

ALint queuedBuffers(ALuint source) {
    ALint queued = 0;
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    return queued;
}

ALint sourceState(ALuint source) {
    ALint state = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Records boxes with the thread that asked for them. Any thread may call the
// handler, so unlike MessageBoxRecorder it locks.
class BoxThreads {
public:
    BoxThreads() {
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            std::lock_guard<std::mutex> guard(m_mutex);
            m_boxes.push_back({request, std::this_thread::get_id()});
        });
    }
    ~BoxThreads() { platform::setMessageBoxHandler(nullptr); }

    struct Box {
        platform::MessageBoxRequest request;
        std::thread::id thread;
    };
    std::vector<Box> boxes() const {
        std::lock_guard<std::mutex> guard(m_mutex);
        return m_boxes;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<Box> m_boxes;
};

TEST_F(AudioStreamTest, BufferSizeAndCountLimits) {
    std::string music = ownOgg("music.ogg", 44100);
    EXPECT_FALSE(audio->createStream(0, music, false, 4095, 3));
    EXPECT_FALSE(audio->createStream(0, music, false, 4096, 1));
    ASSERT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(boxText(0), "Buffer size is too small.  Minimum size = 4096");
    EXPECT_EQ(boxText(1), "Not enough buffers.  Minimum number = 2");
    EXPECT_EQ(boxes.boxes()[0].caption, "Error");
    EXPECT_EQ(access().streamSlot(0), NO_AL_NAME);
    EXPECT_EQ(access().streamCount(), 0);

    ASSERT_TRUE(audio->createStream(0, music, false, 4096, 2));
    EXPECT_EQ(queuedBuffers(access().streamSlot(0)), 2);
    EXPECT_EQ(boxes.boxes().size(), 2u);
}

TEST_F(AudioStreamTest, ShortAndEmptyFiles) {
    // 500 mono frames are 1000 bytes: less than one 4096-byte buffer.
    std::string shortFile = ownOgg("short.ogg", 500, 1, 22050);
    ASSERT_TRUE(audio->createStream(0, shortFile, false, 4096, 3));
    EXPECT_EQ(queuedBuffers(access().streamSlot(0)), 1);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxText(0), shortFile + " does not need 3 buffers of size 4096");

    // Looping, the same file wraps inside each buffer and fills the ring.
    ASSERT_TRUE(audio->createStream(1, shortFile, true, 4096, 3));
    EXPECT_EQ(queuedBuffers(access().streamSlot(1)), 3);
    EXPECT_EQ(boxes.boxes().size(), 1u);

    std::string empty = dir.file("empty.ogg");
    ASSERT_TRUE(writeOggVorbis(empty, {}, 2, 44100));
    EXPECT_FALSE(audio->createStream(2, empty, false, 4096, 3));
    EXPECT_FALSE(audio->createStream(2, empty, true, 4096, 3));
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxText(1), "Could not fill buffer(s) for " + empty);
    EXPECT_EQ(boxText(2), "Could not fill buffer(s) for " + empty);
    EXPECT_EQ(access().streamSlot(2), NO_AL_NAME);
    EXPECT_EQ(access().streamCount(), 2);
}

TEST_F(AudioStreamTest, FileNameRulesAndReplacement) {
    std::string music = ownOgg("music.ogg", 22050);
    writeFile(dir.file("music.ogg.bak"), readFile(music));
    EXPECT_FALSE(audio->createStream(0, dir.file("music.ogg.bak"), false, 4096, 2));
    EXPECT_FALSE(audio->createStream(0, ".ogg", false, 4096, 2));
    ASSERT_TRUE(audio->createStream(0, music, false, 4096, 2));
    ASSERT_TRUE(audio->createStream(0, music, false, 4096, 2));
    EXPECT_FALSE(audio->createStream(1, dir.file("missing.ogg"), false, 4096, 2));
    ASSERT_EQ(boxes.boxes().size(), 3u);
    EXPECT_EQ(boxText(0), "Can only stream OGG files");
    EXPECT_EQ(boxText(1), "Invalid audio stream file name.");
    EXPECT_EQ(boxText(2), "StreamID 0 already in use, deleting contents.");
    EXPECT_EQ(access().streamCount(), 1);
    // A missing file leaves its message stored without a box.
    EXPECT_EQ(reporter->getMessage(), "Audio File " + dir.file("missing.ogg"));

    std::string upper = dir.file("LOUD.OGG");
    writeFile(upper, readFile(music));
    EXPECT_TRUE(audio->createStream(1, upper, false, 4096, 2));
}

TEST_F(AudioStreamTest, LoopingStreamKeepsPlayingPastItsRing) {
    // 0.3 s of stereo music wraps inside a ring of 3 × 40960 bytes (0.7 s):
    // only the streaming thread's refills can keep it going for 1.5 s.
    std::string music = ownOgg("loop.ogg", 13230);
    ASSERT_TRUE(audio->createStream(2, music, true, 40960, 3));
    audio->playStream(2);
    audio->playStream(2);
    EXPECT_EQ(access().activeStreamCount(), 1);
    renderMs(900);
    EXPECT_GT(peakOver(300), 4000);
    ALint state = 0;
    alGetSourcei(access().streamSlot(2), AL_SOURCE_STATE, &state);
    EXPECT_EQ(state, AL_PLAYING);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(AudioStreamTest, StopThenPlayContinues) {
    std::string music = ownOgg("long.ogg", 44100 * 3);
    ASSERT_TRUE(audio->createStream(1, music, false, 40960, 3));
    audio->playStream(1);
    renderMs(500);
    audio->stopStream(1);
    EXPECT_EQ(access().activeStreamCount(), 0);
    renderMs(100);  // what the mixer had rendered ahead
    EXPECT_LT(peakOver(200), 50);
    audio->playStream(1);
    EXPECT_EQ(access().activeStreamCount(), 1);
    EXPECT_GT(peakOver(300), 4000);
    audio->deleteStream(1);
    EXPECT_EQ(access().activeStreamCount(), 0);
    EXPECT_EQ(access().streamSlot(1), NO_AL_NAME);
    audio->playStream(1);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxText(0), "StreamID{1} has not been initialized.");
}

TEST_F(AudioStreamTest, DestroyingTheManagerWhilePlayingEndsTheThreadQuickly) {
    ASSERT_TRUE(audio->createStream(0, ownOgg("m.ogg", 44100 * 2), true, 40960, 3));
    audio->playStream(0);
    // Not a judgement of sound: the thread is to be in the middle of its wait.
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    auto start = std::chrono::steady_clock::now();
    audio.reset();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 0.5);
    EXPECT_EQ(audioManager(), nullptr);
    EXPECT_TRUE(boxes.boxes().empty());
}

// The streaming thread never opens a box: the stream whose refill fails is
// logged and dropped from the refills, the other stream plays on, and the
// message reaches the screen when the main thread asks for it.
TEST_F(AudioStreamTest, RefillFailureIsPostedAndStopsOnlyThatStream) {
    BoxThreads boxThreads;
    std::string good = ownOgg("good.ogg", 13230);
    // Three seconds with a page missing 1.2 s in: the ring (0.7 s) fills at
    // creation, a refill on the thread then reads across the hole.
    std::string holed = dir.file("holed.ogg");
    ASSERT_TRUE(
        writeOggVorbis(holed, sineSamples(3 * 44100, 2, 44100, 440.0, 0.5), 2, 44100, 52920));
    ASSERT_TRUE(audio->createStream(0, good, true, 40960, 3));
    ASSERT_TRUE(audio->createStream(1, holed, false, 40960, 3));
    reporter->setError(ERROR_GAME, "stored by the main thread");

    audio->playStream(0);
    audio->playStream(1);
    ASSERT_TRUE(eventually([this] { return access().streamFailed(1); }));
    EXPECT_EQ(access().activeStreamCount(), 1);
    EXPECT_TRUE(eventually([this] { return sourceState(access().streamSlot(1)) == AL_STOPPED; }));
    EXPECT_EQ(sourceState(access().streamSlot(0)), AL_PLAYING);
    EXPECT_GT(peakOver(300), 4000);

    EXPECT_TRUE(boxThreads.boxes().empty());
    EXPECT_EQ(reporter->getMessage(), "stored by the main thread");
    std::string log = readFile(dir.file("ErrorLog.txt"));
    EXPECT_NE(log.find("Audio File " + holed + "\ninterruption in the data"), std::string::npos)
        << log;

    EXPECT_TRUE(showPendingErrors());
    std::vector<BoxThreads::Box> shown = boxThreads.boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].thread, std::this_thread::get_id());
    EXPECT_EQ(shown[0].request.caption, "OGG Vorbis Error");
    EXPECT_EQ(shown[0].request.text.rfind("interruption in the data", 0), 0u);
    EXPECT_EQ(reporter->getMessage(), "stored by the main thread");

    // Played again, it is refilled again (and fails again, quietly for now).
    audio->playStream(1);
    EXPECT_FALSE(access().streamFailed(1));
}

// Running out of music is how a non-looping stream ends, not a failure.
TEST_F(AudioStreamTest, StreamThatEndsIsNotAFailure) {
    std::string music = ownOgg("once.ogg", 44100);
    ASSERT_TRUE(audio->createStream(1, music, false, 40960, 3));
    audio->playStream(1);
    ASSERT_TRUE(eventually([this] { return sourceState(access().streamSlot(1)) == AL_STOPPED; }));
    renderMs(500);  // one more pass of the thread over the ended stream
    EXPECT_FALSE(access().streamFailed(1));
    EXPECT_FALSE(showPendingErrors());
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(readFile(dir.file("ErrorLog.txt")).find("Audio File"), std::string::npos);
}

}  // namespace
