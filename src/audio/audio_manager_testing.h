#pragma once
// PRIVATE HEADER: for the tests of src/audio; no game code includes this.
#include <AL/al.h>

#include <string>

#include "audio/audio_common.h"
#include "audio/audio_manager.h"

// A look inside an AudioManager: the OpenAL names in its slots (NO_AL_NAME
// when empty), what it owns, and the state of its streaming thread.
class AudioTestAccess {
public:
    explicit AudioTestAccess(AudioManager& manager) : m_manager(manager) {}

    ALuint sourceSlot(SourceID id) const;
    ALuint streamSlot(StreamID id) const;
    int bufferCount() const;
    int sourceCount() const;
    int streamCount() const;
    int activeStreamCount() const;
    // Use count of the buffer loaded from a file, -1 when there is none.
    int bufferUseCount(const std::string& fileName) const;
    // Whether the streaming thread gave up on the stream in the slot.
    bool streamFailed(StreamID id) const;
    bool isStreamThreadFinished() const;

private:
    AudioManager& m_manager;
};
