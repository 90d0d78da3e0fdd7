#pragma once
#include <AL/al.h>
#include <vorbis/vorbisfile.h>

#include <string>
#include <vector>

#include "audio/audio_common.h"

// Music played from an OGG Vorbis file through a small ring of OpenAL
// buffers queued on one source. open() fills and queues the ring; update(),
// run by the streaming thread, refills the buffers the source has played.
class AudioStream {
public:
    AudioStream(int bufferSize, int bufferCount);
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

    // Does not start playback.
    bool open(const std::string& fileName, bool loop);
    // Decodes the next buffer-size bytes into one OpenAL buffer.
    bool fill(ALuint bufferName);
    // Refills and requeues every processed buffer; never restarts the source.
    bool update();
    ALuint sourceName() const { return m_sourceName; }

private:
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
