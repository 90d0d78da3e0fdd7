#include "audio/audio_stream.h"

#include "app/error_reporter.h"

AudioStream::AudioStream(int bufferSize, int bufferCount)
    : m_bufferSize(bufferSize), m_bufferCount(bufferCount) {}

AudioStream::~AudioStream() {
    destroyState();
}

bool AudioStream::open(const std::string& fileName, bool loop) {
    if (!checkRing() || !openDecoder(fileName)) {
        return false;
    }
    m_loop = loop;
    return createOpenALObjects() && fillRing();
}

bool AudioStream::checkRing() {
    if (m_bufferSize < 4096) {
        reportShowReset(RESET_NONE, ERROR_GENERAL,
                        "Buffer size is too small.  Minimum size = 4096");
        return false;
    }
    if (m_bufferCount < 2) {
        reportShowReset(RESET_NONE, ERROR_GENERAL, "Not enough buffers.  Minimum number = 2");
        return false;
    }
    return true;
}

bool AudioStream::openDecoder(const std::string& fileName) {
    m_fileName = fileName;
    int result = ov_fopen(fileName.c_str(), &m_decoder);
    if (result < 0) {
        reportError(ERROR_OGG_VORBIS, "Audio File %s", fileName.c_str());
        applyVorbisErrorText(result);
        return false;
    }
    m_decoderOpen = true;
    vorbis_info* info = ov_info(&m_decoder, -1);
    if (info == nullptr) {
        reportShowReset(RESET_NONE, ERROR_OGG_VORBIS, "Can not get info for %s", fileName.c_str());
        ov_clear(&m_decoder);
        m_decoderOpen = false;
        return false;
    }
    m_channels = info->channels;
    m_rate = info->rate;
    m_format = m_channels == 1 ? FORMAT_MONO16 : FORMAT_STEREO16;
    return true;
}

bool AudioStream::createOpenALObjects() {
    alGetError();
    m_bufferNames.assign(static_cast<std::size_t>(m_bufferCount), NO_AL_NAME);
    alGenBuffers(m_bufferCount, m_bufferNames.data());
    if (alGetError() != AL_NO_ERROR) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not create buffer(s) for %s",
                        m_fileName.c_str());
        m_bufferNames.clear();  // none were generated
        destroyState();
        return false;
    }
    alGenSources(1, &m_sourceName);
    if (alGetError() != AL_NO_ERROR) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not create source for %s",
                        m_fileName.c_str());
        m_sourceName = NO_AL_NAME;
        destroyState();
        return false;
    }
    return true;
}

// A file shorter than the ring queues what it filled; one that fills nothing fails.
bool AudioStream::fillRing() {
    for (int i = 0; i < m_bufferCount; ++i) {
        if (fill(m_bufferNames[static_cast<std::size_t>(i)])) {
            continue;
        }
        if (!m_loop && i > 0) {
            reportShowReset(RESET_NONE, ERROR_GENERAL, "%s does not need %d buffers of size %d",
                            m_fileName.c_str(), m_bufferCount, m_bufferSize);
            alSourceQueueBuffers(m_sourceName, i, m_bufferNames.data());
            return true;
        }
        reportShowReset(RESET_NONE, ERROR_GENERAL, "Could not fill buffer(s) for %s",
                        m_fileName.c_str());
        destroyState();
        return false;
    }
    alSourceQueueBuffers(m_sourceName, m_bufferCount, m_bufferNames.data());
    return true;
}

bool AudioStream::rewind() {
    if (ov_seekable(&m_decoder)) {
        return ov_time_seek(&m_decoder, 0.0) == 0;
    }
    ov_clear(&m_decoder);
    m_decoderOpen = ov_fopen(m_fileName.c_str(), &m_decoder) >= 0;
    return m_decoderOpen;
}

bool AudioStream::fill(ALuint bufferName) {
    return fillBuffer(bufferName, Reporting::ShowNow) == FillResult::Filled;
}

void AudioStream::decodeFailed(int code, Reporting reporting) {
    if (reporting == Reporting::ShowNow) {
        reportError(ERROR_OGG_VORBIS, "Audio File %s", m_fileName.c_str());
        applyVorbisErrorText(code);
        return;
    }
    if (const char* text = vorbisErrorText(code)) {
        logMessage("Audio File %s", m_fileName.c_str());
        postError(ERROR_OGG_VORBIS, "%s", text);
    } else {
        postError(ERROR_OGG_VORBIS, "Audio File %s", m_fileName.c_str());
    }
}

AudioStream::FillResult AudioStream::fillBuffer(ALuint bufferName, Reporting reporting) {
    std::vector<char> scratch(static_cast<std::size_t>(m_bufferSize));
    int filled = 0;
    // A rewind that yields nothing before the next end of file (a failed seek
    // or reopen) would otherwise spin forever on the streaming thread.
    bool readSinceRewind = true;
    while (filled < m_bufferSize) {
        int section = 0;
        long got = m_decoderOpen ? ov_read(&m_decoder, scratch.data() + filled,
                                           m_bufferSize - filled, 0, 2, 1, &section)
                                 : 0;
        if (got > 0) {
            filled += static_cast<int>(got);
            readSinceRewind = true;
            continue;
        }
        if (got < 0) {
            decodeFailed(static_cast<int>(got), reporting);
            return FillResult::Failed;
        }
        if (!m_loop) {
            break;
        }
        if (filled == 0) {
            return FillResult::Empty;
        }
        if (!readSinceRewind) {
            break;
        }
        rewind();
        readSinceRewind = false;
    }
    if (filled == 0) {
        return FillResult::Empty;
    }
    alGetError();
    alBufferData(bufferName, m_format, scratch.data(), filled, static_cast<ALsizei>(m_rate));
    if (alGetError() != AL_NO_ERROR) {
        if (reporting == Reporting::ShowNow) {
            reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not create source for %s",
                            m_fileName.c_str());
        } else {
            postError(ERROR_OPENAL, "Could not create source for %s", m_fileName.c_str());
        }
        return FillResult::Failed;
    }
    return FillResult::Filled;
}

AudioStream::RefillResult AudioStream::update() {
    ALint processed = 0;
    alGetSourcei(m_sourceName, AL_BUFFERS_PROCESSED, &processed);
    alGetError();
    for (ALint i = 0; i < processed; ++i) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(m_sourceName, 1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            postError(ERROR_OPENAL, "Could not removed processed buffer");
            return RefillResult::Failed;
        }
        switch (fillBuffer(buffer, Reporting::Post)) {
            case FillResult::Filled:
                break;
            case FillResult::Empty:
                return RefillResult::Ended;  // the buffer stays out of the queue
            case FillResult::Failed:
                return RefillResult::Failed;
        }
        alSourceQueueBuffers(m_sourceName, 1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            postError(ERROR_OPENAL, "Could not queue buffer");
            return RefillResult::Failed;
        }
    }
    return RefillResult::Refilled;
}

void AudioStream::destroyState() {
    if (m_sourceName != NO_AL_NAME) {
        alSourceStop(m_sourceName);
        // Unqueueing one at a time fails for a source that never played (its
        // buffers do not count as processed), which would leave the buffers
        // attached and undeletable; detaching the whole queue works in every state.
        alSourcei(m_sourceName, AL_BUFFER, 0);
        alDeleteSources(1, &m_sourceName);
        m_sourceName = NO_AL_NAME;
    }
    if (!m_bufferNames.empty()) {
        alDeleteBuffers(static_cast<ALsizei>(m_bufferNames.size()), m_bufferNames.data());
        m_bufferNames.clear();
    }
    if (m_decoderOpen) {
        ov_clear(&m_decoder);
        m_decoderOpen = false;
    }
    m_channels = 0;
    m_rate = 0;
    m_format = 0;
    m_loop = false;
    m_fileName.clear();
}
