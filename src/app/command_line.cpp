#include "app/command_line.h"

#include <cstdio>
#include <cstring>

#include "app/app_settings.h"

namespace {

CommandLine::DemoMode demoOption(const char* argument) {
    if (std::strcmp(argument, "--record") == 0) {
        return CommandLine::DemoMode::Record;
    }
    if (std::strcmp(argument, "--playdemo") == 0) {
        return CommandLine::DemoMode::Play;
    }
    if (std::strcmp(argument, "--timedemo") == 0) {
        return CommandLine::DemoMode::Time;
    }
    return CommandLine::DemoMode::None;
}

// "1920x1080", within the sizes the settings accept.
bool parseSize(const char* text, int& width, int& height) {
    char rest = '\0';
    if (text == nullptr || std::sscanf(text, "%dx%d%c", &width, &height, &rest) != 2) {
        return false;
    }
    return AppSettings::isDisplaySize(width, height);
}

}  // namespace

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
        if (std::strcmp(argument, "--no-intro") == 0) {
            result.skipIntro = true;
            continue;
        }
        if (std::strcmp(argument, "--trace") == 0) {
            if (i + 1 >= argc || argv[i + 1] == nullptr || argv[i + 1][0] == '\0') {
                result.traceError = "--trace needs a file name.";
                continue;
            }
            result.traceFile = argv[++i];
            continue;
        }
        if (std::strcmp(argument, "--size") == 0) {
            const char* size = i + 1 < argc ? argv[++i] : nullptr;
            if (!parseSize(size, result.width, result.height)) {
                result.width = 0;
                result.height = 0;
                result.sizeError = "--size needs a size from 640x480 to 7680x2160, like 1920x1080.";
            }
            continue;
        }
        if (std::strcmp(argument, "--map") == 0 || std::strcmp(argument, "--check-map") == 0) {
            if (i + 1 >= argc || argv[i + 1] == nullptr || argv[i + 1][0] == '\0') {
                result.mapError = std::string(argument) + " needs a file name.";
                continue;
            }
            (argument[2] == 'm' ? result.mapFile : result.checkMapFile) = argv[++i];
            continue;
        }
        CommandLine::DemoMode demo = demoOption(argument);
        if (demo != CommandLine::DemoMode::None) {
            if (i + 1 >= argc || argv[i + 1] == nullptr || argv[i + 1][0] == '\0') {
                result.demoError = std::string(argument) + " needs a file name.";
                continue;
            }
            result.demoMode = demo;
            result.demoFile = argv[++i];
            continue;
        }
        if (argument[0] == '-' && argument[1] == 'f') {
            result.fullscreen = true;
        }
    }
    return result;
}
