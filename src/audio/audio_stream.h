#pragma once
// PRIVATE HEADER: only src/audio (and its tests, tools and benchmarks) include this.
#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <string>
#include <vector>

#include "audio/audio_common.h"

// Music played from an OGG Vorbis file through a small ring of OpenAL
// buffers queued on one source. open() fills and queues the ring; update(),
// run by the streaming thread, refills the buffers the source has played.
//
// open() and fill() run on the main thread and report, show and reset as
// every loader does. update() runs on the streaming thread, which must never
// open a box: its failures are posted (logged at once, shown by the main
// thread's next frame).
class AudioStream {
public:
    enum class RefillResult {
        Refilled,  // every played buffer is queued again
        Ended,     // a non-looping file has nothing more: the source plays out what is queued
        Failed,    // decoding or OpenAL failed; the reason is posted
    };

    AudioStream(int bufferSize, int bufferCount);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Does not start playback.
    bool open(const std::string& fileName, bool loop);
    // Decodes the next buffer-size bytes into one OpenAL buffer.
    bool fill(ALuint bufferName);
    // Refills and requeues every processed buffer; never restarts the source.
    RefillResult update();
    ALuint sourceName() const { return m_sourceName; }

    // Set by the streaming thread when update() failed, cleared when the
    // stream is played again; read under the manager's lock.
    bool failed = false;

private:
    enum class FillResult { Filled, Empty, Failed };
    // How a failure reaches the player: a box now (main thread) or a post.
    enum class Reporting { ShowNow, Post };

    bool checkRing();
    bool openDecoder(const std::string& fileName);
    bool createOpenALObjects();
    bool fillRing();
    FillResult fillBuffer(ALuint bufferName, Reporting reporting);
    void decodeFailed(int code, Reporting reporting);
    void destroyState();
    bool rewind();

    int m_bufferSize;
    int m_bufferCount;
    bool m_loop = false;
    std::vector<ALuint> m_bufferNames;
    ALuint m_sourceName = NO_AL_NAME;
    OggVorbis_File m_decoder{};
    bool m_decoderOpen = false;
    // Copied from the stream information, which a reopened decoder replaces.
    int m_channels = 0;
    long m_rate = 0;
    ALenum m_format = 0;
    std::string m_fileName;
};
