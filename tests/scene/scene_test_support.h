#pragma once
#include <sstream>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "support/message_box_recorder.h"
#include "support/temp_dir.h"

// A reporter logging into a temporary folder, and the log's lines after the
// date header.
class LoggedReporter {
public:
    LoggedReporter() : m_reporter("ErrorLog", true) {}

    ErrorReporter& reporter() { return m_reporter; }
    std::vector<std::string> lines() const {
        std::istringstream in(readFile(m_dir.file("ErrorLog.txt")));
        std::vector<std::string> result;
        std::string line;
        int index = 0;
        while (std::getline(in, line)) {
            if (index++ >= 2) {
                result.push_back(line);
            }
        }
        return result;
    }

private:
    TempDir m_dir;
    ScopedWorkingDir m_cwd{m_dir.path()};
    ErrorReporter m_reporter;
};
