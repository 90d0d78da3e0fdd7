#pragma once
// PRIVATE HEADER: only src/audio (and its tests, tools and benchmarks) include this.
#include <AL/al.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_buffer.h"
#include "audio/audio_manager.h"
#include "audio/audio_source.h"
#include "audio/audio_stream.h"

// What the AudioManager keeps behind its interface: the OpenAL objects, the
// slot tables and the streaming thread.
class AudioManager::Impl {
public:
    Impl();
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

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

    int activeStreamCount();
    AudioStream* findStream(ALuint sourceName) const;

    std::vector<std::unique_ptr<AudioBuffer>> m_vpBuffers;
    std::vector<std::unique_ptr<AudioSource>> m_vpSources;
    std::vector<std::unique_ptr<AudioStream>> m_vpStreams;
    std::vector<AudioStream*> m_vpActiveStreams;  // guarded by m_lock
    ALuint m_sourceSlots[SOURCE_SLOTS];
    ALuint m_streamSlots[STREAM_SLOTS];

    bool m_silent = false;
    std::mutex m_lock;  // guards m_vpActiveStreams and the streams' failed flags
    std::atomic<bool> m_threadFinished{false};

private:
    bool validSource(SourceID id);
    bool validStream(StreamID id);
    AudioBuffer* findOrLoadBuffer(const std::string& fileName);
    void dropUnusedBuffer(AudioBuffer* buffer);
    void activate(AudioStream* stream);
    void deactivate(AudioStream* stream);
    void streamingThread();
    void refillActiveStreams();

    bool m_alutStarted = false;
    bool m_silenceLogged = false;
    std::mutex m_wakeLock;
    std::condition_variable m_wake;
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;
};
