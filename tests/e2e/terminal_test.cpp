// What the executable prints for people at a terminal and for package tools.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "e2e/game_process.h"

namespace {

struct TerminalRun {
    std::string out;
    std::string err;
    int exitCode = -1;
};

// Runs the game in the sandbox with standard output and error kept apart.
TerminalRun runInSandbox(const GameSandbox& sandbox, const std::string& arguments) {
    std::string command = "cd '" + sandbox.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY " +
                          "ALSOFT_DRIVERS=null XDG_RUNTIME_DIR='" + sandbox.file("runtime") +
                          "' '" + SPOOKHOLLOW_EXE + "' " + arguments + " 2>'" +
                          sandbox.file("err") + "'";
    TerminalRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[256];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, got);
    }
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readFile(sandbox.file("err"));
    return run;
}

TEST(ExecutableAtATerminal, HelpAndVersionGoToStandardOutputAndExitZero) {
    struct Case {
        const char* arguments;
        const char* expected;
    };
    const Case cases[] = {
        {"--version", "Spookhollow Version 1.04\n"},
        {"--help", "Usage: spookhollow [options]\n"},
        {"-x --help -f", "  --version   show the version\n"},
        {"--version --help", "Spookhollow Version 1.04\n"},  // the first one answers
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        GameSandbox sandbox;
        TerminalRun run = runInSandbox(sandbox, c.arguments);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.out.find(c.expected), std::string::npos) << run.out;
        EXPECT_EQ(run.err, "");
        // Like -h, nothing else of start-up runs: no log, no settings.
        EXPECT_FALSE(fileExists(sandbox.file("ErrorLog.txt")));
        EXPECT_TRUE(std::filesystem::is_empty(sandbox.file("save")));
    }
    GameSandbox sandbox;
    EXPECT_EQ(runInSandbox(sandbox, "--version").out, "Spookhollow Version 1.04\n");
}

TEST(ExecutableAtATerminal, UnknownLongOptionsAreStillIgnored) {
    GameSandbox sandbox;
    // Without a display the start goes as far as the window, as with no options.
    TerminalRun run = runInSandbox(sandbox, "--helpful --versions");
    EXPECT_EQ(run.exitCode, 255);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(readFile(sandbox.file("ErrorLog.txt")).find("Cannot register Spookhollow"),
              std::string::npos);
}

// Starts the game without a display on a machine whose sound library offers
// no device: OpenAL Soft is told to use ALSA with a device that does not
// exist, so ALSA and OpenAL Soft both meet an error, on any machine.
std::string startWithoutSoundCard(const GameSandbox& sandbox, const char* logLevel) {
    writeFile(sandbox.file("alsoft.conf"), "[general]\ndrivers=alsa\n[alsa]\ndevice=nosuchpcm\n");
    ChildProcess::Options options;
    options.workingDir = sandbox.path();
    options.environment = {"XDG_RUNTIME_DIR=" + sandbox.file("runtime"),
                           "ALSOFT_CONF=" + sandbox.file("alsoft.conf")};
    options.unsetVariables = {"DISPLAY", "WAYLAND_DISPLAY", "SPOOKHOLLOW_MESSAGE_BOX",
                              "ALSOFT_DRIVERS", "ALSOFT_LOGLEVEL"};
    if (logLevel != nullptr) {
        options.environment.push_back(std::string("ALSOFT_LOGLEVEL=") + logLevel);
    }
    ChildProcess game(SPOOKHOLLOW_EXE, {}, options);
    EXPECT_TRUE(game.waitForExit(30));
    EXPECT_EQ(game.exitCode(), 255);  // no display: the window cannot be made
    return game.standardError();
}

TEST(ExecutableAtATerminal, NoSoundCardLeavesOnlyTheGamesOwnWords) {
    GameSandbox sandbox;
    std::string err = startWithoutSoundCard(sandbox, nullptr);
    // The one thing on the terminal is the game's own message (the window
    // error, as a box on a machine without a display).
    EXPECT_EQ(err.rfind("Windows Error: Cannot register Spookhollow with Windows.", 0), 0u) << err;
    EXPECT_EQ(err.find("ALSA lib"), std::string::npos) << err;
    EXPECT_EQ(err.find("AL lib"), std::string::npos) << err;
    EXPECT_NE(readFile(sandbox.file("ErrorLog.txt")).find("No audio device"), std::string::npos);

    // A player who sets OpenAL Soft's own logging level sees the libraries speak.
    GameSandbox loud;
    err = startWithoutSoundCard(loud, "2");
    EXPECT_NE(err.find("AL lib: (EE)"), std::string::npos) << err;
    EXPECT_NE(err.find("ALSA lib"), std::string::npos) << err;
}

}  // namespace
