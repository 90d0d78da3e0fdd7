#include "audio/audio_buffer.h"

#include <AL/alut.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>

#include "app/error_reporter.h"

bool decodeOggFile(const std::string& path, std::string& pcm, int& channels, long& rate) {
    OggVorbis_File file{};
    int result = ov_fopen(path.c_str(), &file);
    if (result < 0) {
        reportError(ERROR_OGG_VORBIS, "Audio File %s", path.c_str());
        applyVorbisErrorText(result);
        return false;
    }
    vorbis_info* info = ov_info(&file, -1);
    if (info == nullptr) {
        reportShowReset(RESET_NONE, ERROR_OGG_VORBIS, "Can not get info for %s", path.c_str());
        ov_clear(&file);
        return false;
    }
    channels = info->channels;
    rate = info->rate;

    char chunk[4096];
    int section = 0;
    pcm.clear();
    for (;;) {
        long got = ov_read(&file, chunk, sizeof chunk, 0, 2, 1, &section);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            reportError(ERROR_OGG_VORBIS, "Audio File %s", path.c_str());
            applyVorbisErrorText(static_cast<int>(got));
            ov_clear(&file);
            return false;
        }
        pcm.append(chunk, static_cast<std::size_t>(got));
    }
    ov_clear(&file);
    if (pcm.empty()) {
        // Stored and logged, but not worth a box.
        reportError(ERROR_OGG_VORBIS, "Audio File %s contains no data", path.c_str());
        return false;
    }
    return true;
}

bool AudioBuffer::decodeOgg(const std::string& path) {
    std::string pcm;
    int channels = 0;
    long rate = 0;
    if (!decodeOggFile(path, pcm, channels, rate)) {
        return false;
    }
    alGetError();
    alGenBuffers(1, &name);
    if (alGetError() != AL_NO_ERROR) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not create buffer for %s", path.c_str());
        name = NO_AL_NAME;
        return false;
    }
    ALenum format = channels == 1 ? FORMAT_MONO16 : FORMAT_STEREO16;
    alBufferData(name, format, pcm.data(), static_cast<ALsizei>(pcm.size()),
                 static_cast<ALsizei>(rate));
    if (alGetError() != AL_NO_ERROR) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not store buffer data for %s",
                        path.c_str());
        alDeleteBuffers(1, &name);
        name = NO_AL_NAME;
        return false;
    }
    return true;
}

bool AudioBuffer::load(const std::string& path) {
    alutGetError();
    if (path.size() < 5) {
        reportShowReset(RESET_NONE, ERROR_OPENAL,
                        "Invalid audio file name, filename must be > 4 characters long (including "
                        "extension).");
        return false;
    }
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (probe == nullptr) {
        reportShowReset(RESET_NONE, ERROR_OPENAL, "Can not open %s", path.c_str());
        return false;
    }
    std::fclose(probe);

    if (hasOggExtension(path)) {
        if (!decodeOgg(path)) {
            return false;
        }
    } else {
        name = alutCreateBufferFromFile(path.c_str());
        if (alutGetError() != ALUT_ERROR_NO_ERROR) {
            reportShowReset(RESET_NONE, ERROR_OPENAL, "Could not load %s", path.c_str());
            name = NO_AL_NAME;
            return false;
        }
    }
    fileName = path;
    return true;
}

void AudioBuffer::destroy() {
    if (name != NO_AL_NAME) {
        alDeleteBuffers(1, &name);
        name = NO_AL_NAME;
    }
    fileName.clear();
}
