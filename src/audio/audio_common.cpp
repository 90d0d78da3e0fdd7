#include "audio/audio_common.h"

#include <strings.h>
#include <cstdarg>
#include <cstdio>

#include "app/error_reporter.h"

bool hasOggExtension(const std::string& fileName) {
    return fileName.size() >= 4 &&
           ::strcasecmp(fileName.c_str() + fileName.size() - 4, ".ogg") == 0;
}

const char* vorbisErrorText(int code) {
    switch (code) {
        case -3:
            return "interruption in the data. One of: garbage between pages, loss of sync followed "
                   "by "
                   "recapture, or a corrupt page";
        case -128:
            return "A read from media returned an error";
        case -129:
            return "Internal logic fault; indicates a bug or heap/stack corruption";
        case -132:
            return "Bitstream does not contain any Vorbis data";
        case -133:
            return "Invalid Vorbis bitstream header";
        case -134:
            return "Vorbis version mismatch";
        case -137:
            return "invalid stream section was supplied to libvorbisfile, or the requested link is "
                   "corrupt";
        default:
            return nullptr;
    }
}

void applyVorbisErrorText(int code) {
    if (const char* text = vorbisErrorText(code)) {
        reportShowReset(RESET_NONE, ERROR_OGG_VORBIS, "%s", text);
    }
}

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
