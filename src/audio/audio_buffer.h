#pragma once
// PRIVATE HEADER: only src/audio (and its tests, tools and benchmarks) include this.
#include <AL/al.h>

#include <string>

#include "audio/audio_common.h"

// Decoded sound data in one OpenAL buffer, shared by every sound slot that
// was created from the same file name.
class AudioBuffer {
public:
    AudioBuffer() = default;
    ~AudioBuffer() { destroy(); }
    AudioBuffer(const AudioBuffer&) = delete;
    AudioBuffer& operator=(const AudioBuffer&) = delete;

    // WAV files through ALUT, ".ogg" (any case) through the OGG decoder.
    bool load(const std::string& fileName);
    void destroy();

    int useCount = 0;
    ALuint name = NO_AL_NAME;
    std::string fileName;

private:
    bool decodeOgg(const std::string& path);
};

// Decodes a whole OGG Vorbis file into 16-bit little-endian PCM. Reports as
// the buffer loader does; false on failure or when nothing was decoded.
bool decodeOggFile(const std::string& path, std::string& pcm, int& channels, long& rate);
