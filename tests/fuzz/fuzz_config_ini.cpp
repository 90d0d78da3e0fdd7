// The settings file: read, then written and read again, which must give the
// same text (what the game writes at exit it must take back at start-up).
#include <cstdlib>
#include <sstream>

#include "fuzz_support.h"
#include "input/game_settings.h"
#include "input/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = fuzzEnvironment().write(data, size, "config.ini");
    GameSettings settings(path.c_str());
    const std::string written = formatSettings(settings);
    GameSettings again(nullptr);
    std::istringstream in(written);
    readSettings(in, again);
    if (formatSettings(again) != written) {
        std::abort();
    }
    return 0;
}
