#include "audio/audio_source.h"

#include "audio/audio_buffer.h"

bool AudioSource::bind(AudioBuffer* target) {
    if (target == nullptr || target->name == NO_AL_NAME) {
        return false;
    }
    alGetError();
    alGenSources(1, &name);
    if (alGetError() != AL_NO_ERROR) {
        name = NO_AL_NAME;
        return false;
    }
    alSourcei(name, AL_BUFFER, static_cast<ALint>(target->name));
    alSource3f(name, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(name, AL_PITCH, 1.0f);
    alSourcef(name, AL_GAIN, 1.0f);
    alSourcei(name, AL_SOURCE_RELATIVE, AL_TRUE);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteSources(1, &name);
        name = NO_AL_NAME;
        return false;
    }
    ++target->useCount;
    buffer = target;
    return true;
}

void AudioSource::destroy() {
    if (buffer != nullptr) {
        --buffer->useCount;
        buffer = nullptr;
    }
    if (name != NO_AL_NAME) {
        alSourceStop(name);
        alDeleteSources(1, &name);
        name = NO_AL_NAME;
    }
}
