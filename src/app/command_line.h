#pragma once
#include <string>

// What the command line asks for. "-h" or "/?" asks for help (and ends the
// examination); any argument "-f..." asks for fullscreen; the rest is ignored.
struct CommandLine {
    bool showHelp = false;
    bool fullscreen = false;
    // "--help" and "--version" print to standard output instead of a box, for
    // terminals and package tools; like "-h" they end the examination.
    bool printUsage = false;
    bool printVersion = false;
    // "--record FILE", "--playdemo FILE", "--timedemo FILE": a recorded game
    // (the last of them given counts). Without its file name, demoError says so.
    enum class DemoMode { None, Record, Play, Time };
    DemoMode demoMode = DemoMode::None;
    std::string demoFile;
    std::string demoError;
    // "--no-intro": start at the main menu. Ignored with a recorded game,
    // which always begins with the intro it was recorded from.
    bool skipIntro = false;
    // "--trace FILE": one line per event the game goes through ("-" is
    // standard error). Without its file name, traceError says so.
    std::string traceFile;
    std::string traceError;
    // "--size WxH": draw at W x H pixels (the window's size, or the
    // fullscreen resolution), also for a recorded game, in place of the
    // configured or recorded size. 0 when not given; a size that is no size
    // leaves sizeError saying so.
    int width = 0;
    int height = 0;
    std::string sizeError;
    // "--check-map FILE": say what the game makes of a map image and end.
    // "--map FILE": play that map image instead of the castle. Without its
    // file name, mapError says so.
    std::string checkMapFile;
    std::string mapFile;
    std::string mapError;
};

CommandLine parseCommandLine(int argc, const char* const* argv);
