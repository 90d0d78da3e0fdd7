#include "audio/audio_manager.h"

#include <AL/alut.h>

#include <algorithm>
#include <chrono>

#include "app/error_reporter.h"

namespace {
AudioManager* g_audioManager = nullptr;
}

AudioManager* audioManager() {
    return g_audioManager;
}

AudioManager::AudioManager() {
    std::fill(std::begin(m_sourceSlots), std::end(m_sourceSlots), NO_AL_NAME);
    std::fill(std::begin(m_streamSlots), std::end(m_streamSlots), NO_AL_NAME);
    g_audioManager = this;
    m_thread = std::thread([this] { streamingThread(); });
}

AudioManager::~AudioManager() {
    shutdown();
    {
        std::lock_guard<std::mutex> guard(m_wakeLock);
        m_stopRequested = true;
    }
    m_wake.notify_all();
    m_thread.join();
    if (g_audioManager == this) {
        g_audioManager = nullptr;
    }
}

void AudioManager::streamingThread() {
    while (!m_stopRequested) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            for (AudioStream* stream : m_activeStreams) {
                stream->update();
            }
        }
        // Waiting on the stop request instead of a plain sleep lets the
        // manager's destruction end the thread at once.
        std::unique_lock<std::mutex> wait(m_wakeLock);
        m_wake.wait_for(wait, std::chrono::milliseconds(REFILL_INTERVAL_MS),
                        [this] { return m_stopRequested.load(); });
    }
    m_threadFinished = true;
}

void AudioManager::init() {
    shutdown();
    if (alutInit(nullptr, nullptr) != AL_TRUE) {
        // No sound card, or the device cannot be opened: the game is still
        // playable, only silent. Say so once in the log, never in a box.
        m_silent = true;
        if (!m_silenceReported && errorReporter() != nullptr) {
            m_silenceReported = true;
            errorReporter()->setError(ERROR_OPENAL,
                                      "No audio device (%s); the game runs without sound.",
                                      alutGetErrorString(alutGetError()));
            errorReporter()->setError(ERROR_NONE, "None");
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

void AudioManager::shutdown() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_activeStreams.clear();
    }
    m_streams.clear();
    m_sources.clear();
    m_buffers.clear();
    if (m_alutStarted) {
        // ALUT refuses to close the device while an OpenAL error is pending.
        alGetError();
        alutExit();
        m_alutStarted = false;
    }
    std::fill(std::begin(m_sourceSlots), std::end(m_sourceSlots), NO_AL_NAME);
    std::fill(std::begin(m_streamSlots), std::end(m_streamSlots), NO_AL_NAME);
}

namespace {

// The slot checks shared by sound sources ("SourceID") and streams ("StreamID").
// A slot number outside the tables must never index them: it is reported
// like an invalid slot instead.
bool slotInRange(const char* kind, int id, int slotCount) {
    if (id >= 0 && id < slotCount) {
        return true;
    }
    reportShowReset(RESET_NONE, ERROR_OPENAL, "%s{%d} is invalid.", kind, id);
    return false;
}

bool slotInUse(const char* kind, int id, ALuint sourceName) {
    if (sourceName == NO_AL_NAME) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "%s{%d} has not been initialized.", kind, id);
        return false;
    }
    if (!alIsSource(sourceName)) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "%s{%d} is invalid.", kind, id);
        return false;
    }
    return true;
}

}  // namespace

bool AudioManager::sourceIdInRange(SourceID id) {
    return slotInRange("SourceID", id, SOURCE_SLOTS);
}

bool AudioManager::streamIdInRange(StreamID id) {
    return slotInRange("StreamID", id, STREAM_SLOTS);
}

int AudioManager::activeStreamCount() {
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<int>(m_activeStreams.size());
}

int AudioManager::bufferUseCount(const std::string& fileName) const {
    for (const auto& buffer : m_buffers) {
        if (buffer->fileName == fileName) {
            return buffer->useCount;
        }
    }
    return -1;
}

void AudioManager::dropUnusedBuffer(AudioBuffer* buffer) {
    if (buffer == nullptr || buffer->useCount >= 1) {
        return;
    }
    auto found =
        std::find_if(m_buffers.begin(), m_buffers.end(),
                     [buffer](const std::unique_ptr<AudioBuffer>& b) { return b.get() == buffer; });
    if (found != m_buffers.end()) {
        m_buffers.erase(found);
    }
}

bool AudioManager::createSource(SourceID id, const std::string& fileName) {
    if (m_silent) {
        return true;
    }
    if (!sourceIdInRange(id)) {
        return false;
    }
    if (m_sourceSlots[id] != NO_AL_NAME) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "SourceID %d already in use, deleting contents.",
                        id);
        deleteSource(id);
    }

    AudioBuffer* buffer = nullptr;
    for (const auto& candidate : m_buffers) {
        if (candidate->fileName == fileName) {
            buffer = candidate.get();
            break;
        }
    }
    if (buffer == nullptr) {
        auto created = std::make_unique<AudioBuffer>();
        if (!created->load(fileName)) {
            return false;
        }
        buffer = created.get();
        m_buffers.push_back(std::move(created));
    }

    auto source = std::make_unique<AudioSource>();
    if (!source->bind(buffer)) {
        source.reset();
        dropUnusedBuffer(buffer);
        return false;
    }
    m_sourceSlots[id] = source->name;
    m_sources.push_back(std::move(source));
    return true;
}

bool AudioManager::validSource(SourceID id) {
    return !m_silent && sourceIdInRange(id) && slotInUse("SourceID", id, m_sourceSlots[id]);
}

void AudioManager::deleteSource(SourceID id) {
    if (!validSource(id)) {
        return;
    }
    auto found = std::find_if(
        m_sources.begin(), m_sources.end(),
        [this, id](const std::unique_ptr<AudioSource>& s) { return s->name == m_sourceSlots[id]; });
    if (found == m_sources.end()) {
        return;
    }
    ALuint bufferName = (*found)->buffer != nullptr ? (*found)->buffer->name : NO_AL_NAME;
    m_sources.erase(found);
    m_sourceSlots[id] = NO_AL_NAME;
    if (bufferName == NO_AL_NAME) {
        return;
    }
    auto unused = std::find_if(m_buffers.begin(), m_buffers.end(),
                               [bufferName](const std::unique_ptr<AudioBuffer>& b) {
                                   return b->name == bufferName && b->useCount < 1;
                               });
    if (unused != m_buffers.end()) {
        m_buffers.erase(unused);
    }
}

void AudioManager::playSource(SourceID id, bool loop) {
    if (!validSource(id)) {
        return;
    }
    alSourcei(m_sourceSlots[id], AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    alSourcePlay(m_sourceSlots[id]);
}

void AudioManager::stopSource(SourceID id) {
    if (validSource(id)) {
        alSourceStop(m_sourceSlots[id]);
    }
}

bool AudioManager::isSourcePlaying(SourceID id) {
    if (!validSource(id)) {
        return false;
    }
    ALint state = 0;
    alGetSourcei(m_sourceSlots[id], AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void AudioManager::setSourceGain(SourceID id, float gain) {
    if (!validSource(id)) {
        return;
    }
    if (gain >= 0.0f) {
        alSourcef(m_sourceSlots[id], AL_GAIN, gain);
    }
}

bool AudioManager::createStream(StreamID id, const std::string& fileName, bool loop, int bufferSize,
                                int bufferCount) {
    if (m_silent) {
        return true;
    }
    if (!streamIdInRange(id)) {
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
    m_streams.push_back(std::move(stream));
    return true;
}

bool AudioManager::validStream(StreamID id) {
    return !m_silent && streamIdInRange(id) && slotInUse("StreamID", id, m_streamSlots[id]);
}

AudioStream* AudioManager::findStream(ALuint sourceName) {
    for (const auto& stream : m_streams) {
        if (stream->sourceName() == sourceName) {
            return stream.get();
        }
    }
    return nullptr;
}

void AudioManager::activate(AudioStream* stream) {
    std::lock_guard<std::mutex> guard(m_lock);
    if (std::find(m_activeStreams.begin(), m_activeStreams.end(), stream) ==
        m_activeStreams.end()) {
        m_activeStreams.push_back(stream);
    }
}

void AudioManager::deactivate(AudioStream* stream) {
    std::lock_guard<std::mutex> guard(m_lock);
    m_activeStreams.erase(std::remove(m_activeStreams.begin(), m_activeStreams.end(), stream),
                          m_activeStreams.end());
}

void AudioManager::playStream(StreamID id) {
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

void AudioManager::stopStream(StreamID id) {
    if (!validStream(id)) {
        return;
    }
    alSourceStop(m_streamSlots[id]);
    if (AudioStream* stream = findStream(m_streamSlots[id])) {
        deactivate(stream);
    }
}

void AudioManager::deleteStream(StreamID id) {
    if (!validStream(id)) {
        return;
    }
    auto found = std::find_if(m_streams.begin(), m_streams.end(),
                              [this, id](const std::unique_ptr<AudioStream>& s) {
                                  return s->sourceName() == m_streamSlots[id];
                              });
    if (found == m_streams.end()) {
        return;
    }
    deactivate(found->get());
    m_streams.erase(found);
    m_streamSlots[id] = NO_AL_NAME;
}
