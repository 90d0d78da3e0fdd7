#pragma once

// What the command line asks for. "-h" or "/?" asks for help (and ends the
// examination); any argument "-f..." asks for fullscreen; the rest is ignored.
struct CommandLine {
    bool showHelp = false;
    bool fullscreen = false;
};

CommandLine parseCommandLine(int argc, const char* const* argv);
