#pragma once
#include <memory>
#include <string>

// Sound effect slots are numbered 0 to 15 and music slots 0 to 3; unlike
// most ids, 0 is a real slot here.
using SourceID = int;
using StreamID = int;

// Owns every sound buffer, sound source and music stream of the program, and
// the thread that keeps the playing streams fed. Callers name sounds by slot
// only. Without a usable audio device the game runs silent: every operation
// is then a quiet no-op.
//
// Main thread only. OpenAL, the decoder and the streaming thread stay behind
// the private implementation; tests look inside through
// audio/audio_manager_testing.h.
class AudioManager {
public:
    static constexpr int SOURCE_SLOTS = 16;
    static constexpr int STREAM_SLOTS = 4;
    static constexpr int REFILL_INTERVAL_MS = 400;

    AudioManager();
    ~AudioManager();
    AudioManager(const AudioManager&) = delete;
    AudioManager& operator=(const AudioManager&) = delete;

    void init();
    void shutdown();

    bool createSource(SourceID id, const std::string& fileName);
    void deleteSource(SourceID id);
    void playSource(SourceID id, bool loop);
    void stopSource(SourceID id);
    bool isSourcePlaying(SourceID id);
    void setSourceGain(SourceID id, float gain);

    bool createStream(StreamID id, const std::string& fileName, bool loop, int bufferSize,
                      int bufferCount);
    void deleteStream(StreamID id);
    void playStream(StreamID id);
    void stopStream(StreamID id);

    // True when no audio device could be opened.
    bool isSilent() const;

private:
    class Impl;
    friend class AudioTestAccess;
    std::unique_ptr<Impl> m_pImpl;
};

// The one program-wide audio manager (null before start-up creates it).
AudioManager* audioManager();
