#pragma once
#include <AL/al.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_buffer.h"
#include "audio/audio_source.h"
#include "audio/audio_stream.h"

using SourceID = int;  // 0 to 15: sound effect slots
using StreamID = int;  // 0 to 3: music slots

// Owns every sound buffer, sound source and music stream of the program, and
// the thread that keeps the playing streams fed. Callers name sounds by slot
// only. Without a usable audio device the game runs silent: every operation
// is then a quiet no-op.
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

    // Inspection, for diagnostics and tests.
    bool isSilent() const { return m_silent; }
    ALuint sourceSlot(SourceID id) const {
        return id >= 0 && id < SOURCE_SLOTS ? m_sourceSlots[id] : NO_AL_NAME;
    }
    ALuint streamSlot(StreamID id) const {
        return id >= 0 && id < STREAM_SLOTS ? m_streamSlots[id] : NO_AL_NAME;
    }
    int bufferCount() const { return static_cast<int>(m_buffers.size()); }
    int sourceCount() const { return static_cast<int>(m_sources.size()); }
    int streamCount() const { return static_cast<int>(m_streams.size()); }
    int activeStreamCount();
    // Use count of the buffer loaded from a file, -1 when there is none.
    int bufferUseCount(const std::string& fileName) const;
    bool isStreamThreadFinished() const { return m_threadFinished; }

private:
    bool sourceIdInRange(SourceID id);
    bool streamIdInRange(StreamID id);
    bool validSource(SourceID id);
    bool validStream(StreamID id);
    AudioStream* findStream(ALuint sourceName);
    void activate(AudioStream* stream);
    void deactivate(AudioStream* stream);
    void dropUnusedBuffer(AudioBuffer* buffer);
    void streamingThread();

    std::vector<std::unique_ptr<AudioBuffer>> m_buffers;
    std::vector<std::unique_ptr<AudioSource>> m_sources;
    std::vector<std::unique_ptr<AudioStream>> m_streams;
    std::vector<AudioStream*> m_activeStreams;
    ALuint m_sourceSlots[SOURCE_SLOTS];
    ALuint m_streamSlots[STREAM_SLOTS];

    bool m_alutStarted = false;
    bool m_silent = false;
    bool m_silenceReported = false;

    std::mutex m_lock;  // guards m_activeStreams
    std::mutex m_wakeLock;
    std::condition_variable m_wake;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_threadFinished{false};
    std::thread m_thread;
};

// The one program-wide audio manager (null before start-up creates it).
AudioManager* audioManager();
