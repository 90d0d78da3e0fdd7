#pragma once
// What every fuzz target needs: a silent error reporter (message boxes go
// nowhere) and a scratch file for the readers that take file names.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/error_reporter.h"
#include "platform/message_box.h"

class FuzzEnvironment {
public:
    FuzzEnvironment() : m_reporter(nullptr, false) {
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) {});
        // An empty working folder: names in the input find no files.
        m_folder = std::filesystem::temp_directory_path() /
                   ("spookhollow-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        std::filesystem::current_path(m_folder);
    }
    ~FuzzEnvironment() {
        std::error_code ignored;
        std::filesystem::current_path(m_folder.parent_path(), ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }
    FuzzEnvironment(const FuzzEnvironment&) = delete;
    FuzzEnvironment& operator=(const FuzzEnvironment&) = delete;

    // Writes the input to the scratch file and returns its name.
    std::string write(const std::uint8_t* data, std::size_t size, const char* name) {
        std::string path = (m_folder / name).string();
        if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
            if (size > 0) {
                std::fwrite(data, 1, size, file);
            }
            std::fclose(file);
        }
        return path;
    }

private:
    ErrorReporter m_reporter;
    std::filesystem::path m_folder;
};

inline FuzzEnvironment& fuzzEnvironment() {
    static FuzzEnvironment environment;
    return environment;
}
