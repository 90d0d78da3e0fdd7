#include "app/command_line.h"

#include <cstring>

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
