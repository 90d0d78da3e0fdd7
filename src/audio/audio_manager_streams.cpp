// The audio manager's music slots and what the tests may look at.
#include <algorithm>

#include "app/error_reporter.h"
#include "audio/audio_manager_impl.h"
#include "audio/audio_manager_testing.h"

bool AudioManager::Impl::createStream(StreamID id, const std::string& fileName, bool loop,
                                      int bufferSize, int bufferCount) {
    if (m_silent) {
        return true;
    }
    if (!slotInRange("StreamID", id, STREAM_SLOTS)) {
        return false;
    }
    if (m_streamSlots[id] != NO_AL_NAME) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "StreamID %d already in use, deleting contents.",
                        id);
        deleteStream(id);
    }
    if (fileName.size() < 5) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Invalid audio stream file name.");
        return false;
    }
    if (!hasOggExtension(fileName)) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Can only stream OGG files");
        return false;
    }
    auto stream = std::make_unique<AudioStream>(bufferSize, bufferCount);
    if (!stream->open(fileName, loop)) {
        return false;
    }
    m_streamSlots[id] = stream->sourceName();
    m_vpStreams.push_back(std::move(stream));
    return true;
}

AudioStream* AudioManager::Impl::findStream(ALuint sourceName) const {
    for (const auto& stream : m_vpStreams) {
        if (stream->sourceName() == sourceName) {
            return stream.get();
        }
    }
    return nullptr;
}

void AudioManager::Impl::activate(AudioStream* stream) {
    std::lock_guard<std::mutex> guard(m_lock);
    stream->failed = false;
    if (std::find(m_vpActiveStreams.begin(), m_vpActiveStreams.end(), stream) ==
        m_vpActiveStreams.end()) {
        m_vpActiveStreams.push_back(stream);
    }
}

void AudioManager::Impl::deactivate(AudioStream* stream) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_vpActiveStreams.erase(std::remove(m_vpActiveStreams.begin(), m_vpActiveStreams.end(), stream),
                            m_vpActiveStreams.end());
}

int AudioManager::Impl::activeStreamCount() {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_vpActiveStreams.size());
}

void AudioManager::Impl::playStream(StreamID id) {
    if (!validStream(id)) {
        return;
    }
    ALint state = 0;
    alGetSourcei(m_streamSlots[id], AL_SOURCE_STATE, &state);
    if (state == AL_PLAYING) {
        return;
    }
    if (AudioStream* stream = findStream(m_streamSlots[id])) {
        activate(stream);
    }
    alSourcePlay(m_streamSlots[id]);
}

void AudioManager::Impl::stopStream(StreamID id) {
    if (!validStream(id)) {
        return;
    }
    alSourceStop(m_streamSlots[id]);
    if (AudioStream* stream = findStream(m_streamSlots[id])) {
        deactivate(stream);
    }
}

void AudioManager::Impl::deleteStream(StreamID id) {
    if (!validStream(id)) {
        return;
    }
    auto found = std::find_if(m_vpStreams.begin(), m_vpStreams.end(),
                              [this, id](const std::unique_ptr<AudioStream>& s) {
                                  return s->sourceName() == m_streamSlots[id];
                              });
    if (found == m_vpStreams.end()) {
        return;
    }
    // Out of the active list under the lock first, so the thread never
    // refills a stream that is being destroyed.
    deactivate(found->get());
    m_vpStreams.erase(found);
    m_streamSlots[id] = NO_AL_NAME;
}

ALuint AudioTestAccess::sourceSlot(SourceID id) const {
    return id >= 0 && id < AudioManager::SOURCE_SLOTS ? m_manager.m_pImpl->m_sourceSlots[id]
                                                      : NO_AL_NAME;
}

ALuint AudioTestAccess::streamSlot(StreamID id) const {
    return id >= 0 && id < AudioManager::STREAM_SLOTS ? m_manager.m_pImpl->m_streamSlots[id]
                                                      : NO_AL_NAME;
}

int AudioTestAccess::bufferCount() const {
    return static_cast<int>(m_manager.m_pImpl->m_vpBuffers.size());
}

int AudioTestAccess::sourceCount() const {
    return static_cast<int>(m_manager.m_pImpl->m_vpSources.size());
}

int AudioTestAccess::streamCount() const {
    return static_cast<int>(m_manager.m_pImpl->m_vpStreams.size());
}

int AudioTestAccess::activeStreamCount() const {
    return m_manager.m_pImpl->activeStreamCount();
}

int AudioTestAccess::bufferUseCount(const std::string& fileName) const {
    for (const auto& buffer : m_manager.m_pImpl->m_vpBuffers) {
        if (buffer->fileName == fileName) {
            return buffer->useCount;
        }
    }
    return -1;
}

bool AudioTestAccess::streamFailed(StreamID id) const {
    AudioManager::Impl& impl = *m_manager.m_pImpl;
    AudioStream* stream = impl.findStream(streamSlot(id));
    std::lock_guard<std::mutex> guard(impl.m_lock);
    return stream != nullptr && stream->failed;
}

bool AudioTestAccess::isStreamThreadFinished() const {
    return m_manager.m_pImpl->m_threadFinished;
}
