#pragma once
// PRIVATE HEADER: only src/audio (and its tests, tools and benchmarks) include this.
#include <AL/al.h>

#include "audio/audio_common.h"

class AudioBuffer;

// One OpenAL source playing one shared buffer, listener-relative at the origin.
class AudioSource {
public:
    AudioSource() = default;
    ~AudioSource() { destroy(); }
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // Fails silently; on success the buffer counts one more user.
    bool bind(AudioBuffer* buffer);
    void destroy();

    AudioBuffer* buffer = nullptr;
    ALuint name = NO_AL_NAME;
};
