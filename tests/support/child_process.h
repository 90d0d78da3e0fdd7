#pragma once
#include <sys/types.h>
#include <string>
#include <vector>

// Starts a program (the real game executable, say) in a given working
// folder, with extra environment settings, and collects its exit code and
// standard error.
class ChildProcess {
public:
    struct Options {
        std::string workingDir;
        std::vector<std::string> environment;  // "NAME=value" added or replaced
        std::vector<std::string> unsetVariables;
    };

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const Options& options);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits up to timeoutSeconds; true when it ended (exitCode() is then valid).
    bool waitForExit(double timeoutSeconds);
    bool running();
    void kill();
    // The exit status as the shell sees it (0..255), or -1 if killed by a signal.
    int exitCode() const { return m_exitCode; }
    pid_t pid() const { return m_pid; }
    std::string standardError() const;

private:
    pid_t m_pid = -1;
    int m_exitCode = -1;
    bool m_ended = false;
    std::string m_stderrPath;
};
