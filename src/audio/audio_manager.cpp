// The audio manager's lifetime, device, sound slots and streaming thread.
#include "audio/audio_manager.h"

#include <AL/alut.h>

#include <algorithm>
#include <chrono>

#include "app/error_reporter.h"
#include "audio/audio_manager_impl.h"

namespace {
AudioManager* g_audioManager = nullptr;
}

AudioManager* audioManager() {
    return g_audioManager;
}

AudioManager::AudioManager() : m_pImpl(std::make_unique<Impl>()) {
    g_audioManager = this;
}

AudioManager::~AudioManager() {
    m_pImpl.reset();  // shuts down and ends the thread
    if (g_audioManager == this) {
        g_audioManager = nullptr;
    }
}

void AudioManager::init() {
    m_pImpl->init();
}
void AudioManager::shutdown() {
    m_pImpl->shutdown();
}
bool AudioManager::createSource(SourceID id, const std::string& fileName) {
    return m_pImpl->createSource(id, fileName);
}
void AudioManager::deleteSource(SourceID id) {
    m_pImpl->deleteSource(id);
}
void AudioManager::playSource(SourceID id, bool loop) {
    m_pImpl->playSource(id, loop);
}
void AudioManager::stopSource(SourceID id) {
    m_pImpl->stopSource(id);
}
bool AudioManager::isSourcePlaying(SourceID id) {
    return m_pImpl->isSourcePlaying(id);
}
void AudioManager::setSourceGain(SourceID id, float gain) {
    m_pImpl->setSourceGain(id, gain);
}
bool AudioManager::createStream(StreamID id, const std::string& fileName, bool loop, int bufferSize,
                                int bufferCount) {
    return m_pImpl->createStream(id, fileName, loop, bufferSize, bufferCount);
}
void AudioManager::deleteStream(StreamID id) {
    m_pImpl->deleteStream(id);
}
void AudioManager::playStream(StreamID id) {
    m_pImpl->playStream(id);
}
void AudioManager::stopStream(StreamID id) {
    m_pImpl->stopStream(id);
}
bool AudioManager::isSilent() const {
    return m_pImpl->m_silent;
}

AudioManager::Impl::Impl() {
    std::fill(std::begin(m_sourceSlots), std::end(m_sourceSlots), NO_AL_NAME);
    std::fill(std::begin(m_streamSlots), std::end(m_streamSlots), NO_AL_NAME);
    m_thread = std::thread([this] { streamingThread(); });
}

AudioManager::Impl::~Impl() {
    shutdown();
    {
        std::lock_guard<std::mutex> guard(m_wakeLock);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

// The thread never opens a box: a stream whose refill fails has its reason
// posted (logged now, shown by the main thread's next frame), leaves the
// active list and plays out what is queued; the other streams go on.
void AudioManager::Impl::refillActiveStreams() {
    std::lock_guard<std::mutex> guard(m_lock);
    for (auto it = m_vpActiveStreams.begin(); it != m_vpActiveStreams.end();) {
        AudioStream* stream = *it;
        if (stream->update() == AudioStream::RefillResult::Failed) {
            stream->failed = true;
            it = m_vpActiveStreams.erase(it);
        } else {
            ++it;
        }
    }
}

void AudioManager::Impl::streamingThread() {
    while (!m_stopRequested) {
        refillActiveStreams();
        // Waiting on the stop request instead of a plain sleep lets the
        // manager's destruction end the thread at once.
        std::unique_lock<std::mutex> wait(m_wakeLock);
        m_wake.wait_for(wait, std::chrono::milliseconds(REFILL_INTERVAL_MS),
                        [this] { return m_stopRequested.load(); });
    }
    m_threadFinished = true;
}

void AudioManager::Impl::init() {
    shutdown();
    if (alutInit(nullptr, nullptr) != AL_TRUE) {
        // No sound card, or the device cannot be opened: the game is still
        // playable, only silent. Say so once in the log, never in a box.
        m_silent = true;
        if (!m_silenceLogged) {
            m_silenceLogged = true;
            logMessage("No audio device (%s); the game runs without sound.",
                       alutGetErrorString(alutGetError()));
        }
        return;
    }
    m_alutStarted = true;
    m_silent = false;
    const ALfloat orientation[6] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    alListenerf(AL_GAIN, 1.0f);
    alListener3f(AL_POSITION, 0.0f, 0.0f, 0.0f);
    alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alListenerfv(AL_ORIENTATION, orientation);
}

void AudioManager::Impl::shutdown() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_vpActiveStreams.clear();
    }
    m_vpStreams.clear();
    m_vpSources.clear();
    m_vpBuffers.clear();
    if (m_alutStarted) {
        // ALUT refuses to close the device while an OpenAL error is pending.
        alGetError();
        alutExit();
        m_alutStarted = false;
    }
    std::fill(std::begin(m_sourceSlots), std::end(m_sourceSlots), NO_AL_NAME);
    std::fill(std::begin(m_streamSlots), std::end(m_streamSlots), NO_AL_NAME);
}

bool AudioManager::Impl::validSource(SourceID id) {
    return !m_silent && slotInRange("SourceID", id, SOURCE_SLOTS) &&
           slotInUse("SourceID", id, m_sourceSlots[id]);
}

bool AudioManager::Impl::validStream(StreamID id) {
    return !m_silent && slotInRange("StreamID", id, STREAM_SLOTS) &&
           slotInUse("StreamID", id, m_streamSlots[id]);
}

AudioBuffer* AudioManager::Impl::findOrLoadBuffer(const std::string& fileName) {
    for (const auto& candidate : m_vpBuffers) {
        if (candidate->fileName == fileName) {
            return candidate.get();
        }
    }
    auto created = std::make_unique<AudioBuffer>();
    if (!created->load(fileName)) {
        return nullptr;
    }
    m_vpBuffers.push_back(std::move(created));
    return m_vpBuffers.back().get();
}

void AudioManager::Impl::dropUnusedBuffer(AudioBuffer* buffer) {
    if (buffer == nullptr || buffer->useCount >= 1) {
        return;
    }
    auto found =
        std::find_if(m_vpBuffers.begin(), m_vpBuffers.end(),
                     [buffer](const std::unique_ptr<AudioBuffer>& b) { return b.get() == buffer; });
    if (found != m_vpBuffers.end()) {
        m_vpBuffers.erase(found);
    }
}

bool AudioManager::Impl::createSource(SourceID id, const std::string& fileName) {
    if (m_silent) {
        return true;
    }
    if (!slotInRange("SourceID", id, SOURCE_SLOTS)) {
        return false;
    }
    if (m_sourceSlots[id] != NO_AL_NAME) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "SourceID %d already in use, deleting contents.",
                        id);
        deleteSource(id);
    }
    AudioBuffer* buffer = findOrLoadBuffer(fileName);
    if (buffer == nullptr) {
        return false;
    }
    auto source = std::make_unique<AudioSource>();
    if (!source->bind(buffer)) {
        source.reset();
        dropUnusedBuffer(buffer);
        return false;
    }
    m_sourceSlots[id] = source->name;
    m_vpSources.push_back(std::move(source));
    return true;
}

void AudioManager::Impl::deleteSource(SourceID id) {
    if (!validSource(id)) {
        return;
    }
    auto found = std::find_if(
        m_vpSources.begin(), m_vpSources.end(),
        [this, id](const std::unique_ptr<AudioSource>& s) { return s->name == m_sourceSlots[id]; });
    if (found == m_vpSources.end()) {
        return;
    }
    AudioBuffer* buffer = (*found)->buffer;
    m_vpSources.erase(found);
    m_sourceSlots[id] = NO_AL_NAME;
    dropUnusedBuffer(buffer);
}

void AudioManager::Impl::playSource(SourceID id, bool loop) {
    if (!validSource(id)) {
        return;
    }
    alSourcei(m_sourceSlots[id], AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(m_sourceSlots[id]);
}

void AudioManager::Impl::stopSource(SourceID id) {
    if (validSource(id)) {
        alSourceStop(m_sourceSlots[id]);
    }
}

bool AudioManager::Impl::isSourcePlaying(SourceID id) {
    if (!validSource(id)) {
        return false;
    }
    ALint state = 0;
    alGetSourcei(m_sourceSlots[id], AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void AudioManager::Impl::setSourceGain(SourceID id, float gain) {
    if (!validSource(id)) {
        return;
    }
    if (gain >= 0.0f) {
        alSourcef(m_sourceSlots[id], AL_GAIN, gain);
    }
}
