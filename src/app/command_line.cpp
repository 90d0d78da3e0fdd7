#include "app/command_line.h"

#include <cstring>

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument == nullptr) {
            continue;
        }
        if (std::strcmp(argument, "-h") == 0 || std::strcmp(argument, "/?") == 0) {
            result.showHelp = true;
            return result;
        }
        if (std::strcmp(argument, "--help") == 0) {
            result.printUsage = true;
            return result;
        }
        if (std::strcmp(argument, "--version") == 0) {
            result.printVersion = true;
            return result;
        }
        if (argument[0] == '-' && argument[1] == 'f') {
            result.fullscreen = true;
        }
    }
    return result;
}
