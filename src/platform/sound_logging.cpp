#include "platform/sound_logging.h"

#include <dlfcn.h>

#include <cstdlib>

namespace platform {
namespace {

// The shape of ALSA's snd_lib_error_handler_t, so no ALSA header is needed.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                                  const char* format, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void quietSoundLibraryLogging() {
    if (std::getenv("ALSOFT_LOGLEVEL") != nullptr) {
        return;
    }
    // Level 0 is OpenAL Soft's "no messages"; the game logs the outcome itself.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // OpenAL Soft loads ALSA at run time rather than linking it; so does this,
    // and only when it is installed. The library stays loaded, as it would
    // once OpenAL Soft opened it, so the handler stays in force.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (alsa == nullptr) {
        return;
    }
    auto setHandler =
        reinterpret_cast<SetAlsaErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(&ignoreAlsaError);
    }
}

}  // namespace platform
