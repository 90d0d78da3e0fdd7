#include <AL/al.h>

#include "audio/audio_buffer.h"
#include "audio_fixture.h"

namespace {

using AudioManagerTest = AudioTest;

TEST_F(AudioManagerTest, SoundSlotProducesSamplesAndGainZeroSilencesIt) {
    ASSERT_TRUE(audio->createSource(1, toneWav("tone.wav", 2.0)));
    EXPECT_LT(peakOver(150), 50);  // nothing plays yet
    audio->playSource(1, false);
    EXPECT_TRUE(audio->isSourcePlaying(1));
    EXPECT_GT(peakOver(300), 4000);

    audio->setSourceGain(1, -1.0f);
    ALfloat gain = 0.0f;
    alGetSourcef(access().sourceSlot(1), AL_GAIN, &gain);
    EXPECT_FLOAT_EQ(gain, 1.0f);
    audio->setSourceGain(1, 0.0f);
    renderMs(100);
    EXPECT_LT(peakOver(200), 50);
    audio->stopSource(1);
    EXPECT_FALSE(audio->isSourcePlaying(1));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(AudioManagerTest, SharedBufferLivesUntilTheLastSlotGoes) {
    std::string wav = toneWav("shared.wav");
    ASSERT_TRUE(audio->createSource(2, wav));
    ASSERT_TRUE(audio->createSource(5, wav));
    EXPECT_EQ(access().bufferCount(), 1);
    EXPECT_EQ(access().bufferUseCount(wav), 2);
    EXPECT_NE(access().sourceSlot(2), access().sourceSlot(5));

    audio->deleteSource(2);
    EXPECT_EQ(access().bufferCount(), 1);
    EXPECT_EQ(access().bufferUseCount(wav), 1);
    EXPECT_EQ(access().sourceSlot(2), NO_AL_NAME);
    audio->playSource(5, false);
    EXPECT_GT(peakOver(250), 4000);

    audio->deleteSource(5);
    EXPECT_EQ(access().bufferCount(), 0);
    EXPECT_EQ(access().sourceCount(), 0);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(AudioManagerTest, OccupiedSlotIsReplacedAfterAMessage) {
    std::string first = toneWav("first.wav");
    std::string second = ownOgg("second.ogg", 4000, 1, 22050);
    ASSERT_TRUE(audio->createSource(3, first));
    ASSERT_TRUE(audio->createSource(3, second));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxText(0), "SourceID 3 already in use, deleting contents.");
    EXPECT_EQ(boxes.boxes()[0].caption, "OpenAL Error");
    EXPECT_EQ(access().bufferCount(), 1);
    EXPECT_EQ(access().bufferUseCount(first), -1);
    EXPECT_EQ(access().bufferUseCount(second), 1);
    EXPECT_EQ(reporter->getErrorKind(), ERROR_NONE);
}

TEST_F(AudioManagerTest, BadNamesAndFilesLeaveTheSlotEmpty) {
    EXPECT_FALSE(audio->createSource(1, "a.wa"));
    EXPECT_FALSE(audio->createSource(1, dir.file("missing.wav")));
    writeFile(dir.file("noise.wav"), "this is not a wave file at all");
    EXPECT_FALSE(audio->createSource(1, dir.file("noise.wav")));
    writeFile(dir.file("noise.ogg"), "this is not an ogg file at all");
    EXPECT_FALSE(audio->createSource(1, dir.file("noise.ogg")));
    ASSERT_EQ(boxes.boxes().size(), 4u);
    EXPECT_EQ(
        boxText(0),
        "Invalid audio file name, filename must be > 4 characters long (including extension).");
    EXPECT_EQ(boxText(1), "Can not open " + dir.file("missing.wav"));
    EXPECT_EQ(boxText(2), "Could not load " + dir.file("noise.wav"));
    EXPECT_EQ(boxText(3), "Bitstream does not contain any Vorbis data");
    EXPECT_EQ(access().sourceSlot(1), NO_AL_NAME);
    EXPECT_EQ(access().bufferCount(), 0);
    EXPECT_EQ(access().sourceCount(), 0);
}

TEST_F(AudioManagerTest, OggThatDecodesToNothingFailsWithoutABox) {
    std::string empty = dir.file("empty.ogg");
    ASSERT_TRUE(writeOggVorbis(empty, {}, 1, 22050));
    EXPECT_FALSE(audio->createSource(4, empty));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(reporter->getErrorKind(), ERROR_OGG_VORBIS);
    EXPECT_EQ(reporter->getMessage(), "Audio File " + empty + " contains no data");
    EXPECT_EQ(access().bufferCount(), 0);
}

TEST_F(AudioManagerTest, FilesOfIndependentEncodersAndUpperCaseOgg) {
    std::string soxWav = toneWav("sox.wav", 0.5, 2, 44100);
    std::string oggenc = dir.file("oggenc.ogg");
    ASSERT_TRUE(oggencFile(soxWav, oggenc));
    std::string upper = dir.file("MUSIC.OGG");
    ASSERT_TRUE(writeOggVorbis(upper, sineSamples(22050, 2, 44100, 440.0, 0.5), 2, 44100));

    // The whole-file decoder gives back the length that went in.
    std::string pcm;
    int channels = 0;
    long rate = 0;
    ASSERT_TRUE(decodeOggFile(oggenc, pcm, channels, rate));
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100);
    EXPECT_EQ(pcm.size(), 22050u * 4u);
    ASSERT_TRUE(decodeOggFile(upper, pcm, channels, rate));
    EXPECT_EQ(pcm.size(), 22050u * 4u);

    ASSERT_TRUE(audio->createSource(6, soxWav));
    ASSERT_TRUE(audio->createSource(7, oggenc));
    ASSERT_TRUE(audio->createSource(8, upper));
    EXPECT_EQ(access().bufferCount(), 3);
    for (int slot : {6, 7, 8}) {
        audio->playSource(slot, false);
        EXPECT_GT(peakOver(200), 4000) << slot;
        audio->stopSource(slot);
    }
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(AudioManagerTest, UnusedSlotsReportAndQueryFalse) {
    audio->playSource(0, false);
    audio->stopSource(0);
    EXPECT_FALSE(audio->isSourcePlaying(0));
    audio->setSourceGain(0, 0.5f);
    audio->deleteSource(0);
    ASSERT_EQ(boxes.boxes().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(boxText(i), "SourceID{0} has not been initialized.");
    }
    EXPECT_EQ(reporter->getMessage(), "None");
}

TEST_F(AudioManagerTest, SlotNumbersOutsideTheTablesAreRefused) {
    std::string wav = toneWav("tone.wav");
    EXPECT_FALSE(audio->createSource(16, wav));
    EXPECT_FALSE(audio->createSource(-1, wav));
    audio->playSource(99, false);
    EXPECT_FALSE(audio->createStream(4, ownOgg("m.ogg", 4410), false, 4096, 2));
    audio->playStream(-2);
    ASSERT_EQ(boxes.boxes().size(), 5u);
    EXPECT_EQ(boxText(0), "SourceID{16} is invalid.");
    EXPECT_EQ(boxText(2), "SourceID{99} is invalid.");
    EXPECT_EQ(boxText(3), "StreamID{4} is invalid.");
    EXPECT_EQ(boxText(4), "StreamID{-2} is invalid.");
    EXPECT_EQ(access().bufferCount(), 0);
    EXPECT_EQ(access().streamCount(), 0);
}

TEST_F(AudioManagerTest, ShutdownTwiceAndInitAfterItLeaveEverythingEmpty) {
    ASSERT_TRUE(audio->createSource(1, toneWav("a.wav")));
    ASSERT_TRUE(audio->createStream(1, ownOgg("m.ogg", 44100), true, 40960, 3));
    audio->playStream(1);
    audio->shutdown();
    audio->shutdown();
    auto expectEmpty = [this] {
        for (int i = 0; i < AudioManager::SOURCE_SLOTS; ++i) {
            EXPECT_EQ(access().sourceSlot(i), NO_AL_NAME);
        }
        for (int i = 0; i < AudioManager::STREAM_SLOTS; ++i) {
            EXPECT_EQ(access().streamSlot(i), NO_AL_NAME);
        }
        EXPECT_EQ(access().bufferCount(), 0);
        EXPECT_EQ(access().sourceCount(), 0);
        EXPECT_EQ(access().streamCount(), 0);
        EXPECT_EQ(access().activeStreamCount(), 0);
    };
    expectEmpty();
    audio->init();
    expectEmpty();
    ASSERT_TRUE(audio->createSource(1, dir.file("a.wav")));
    audio->playSource(1, false);
    EXPECT_GT(peakOver(200), 4000);
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
