#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "support/temp_dir.h"

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const Options& options) {
    static int counter = 0;
    m_stderrPath = "/tmp/spookhollow-child-" + std::to_string(getpid()) + "-" +
                   std::to_string(counter++) + ".err";
    m_pid = fork();
    if (m_pid != 0) {
        return;
    }
    // Child.
    for (const std::string& name : options.unsetVariables) {
        unsetenv(name.c_str());
    }
    for (const std::string& setting : options.environment) {
        std::string::size_type equals = setting.find('=');
        setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
    }
    if (!options.workingDir.empty() && chdir(options.workingDir.c_str()) != 0) {
        _exit(127);
    }
    int errFd = open(m_stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (errFd >= 0) {
        dup2(errFd, 2);
        close(errFd);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

ChildProcess::~ChildProcess() {
    if (!m_ended && m_pid > 0) {
        kill();
    }
    unlink(m_stderrPath.c_str());
}

bool ChildProcess::waitForExit(double timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<int>(timeoutSeconds * 1000));
    while (!m_ended) {
        int status = 0;
        pid_t result = waitpid(m_pid, &status, WNOHANG);
        if (result == m_pid) {
            m_ended = true;
            m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool ChildProcess::running() {
    return !waitForExit(0);
}

void ChildProcess::kill() {
    if (m_pid > 0 && !m_ended) {
        ::kill(m_pid, SIGKILL);
        waitForExit(5);
    }
}

std::string ChildProcess::standardError() const {
    return readFile(m_stderrPath);
}
