#pragma once
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

// A scratch folder to run the real game executable in: it sees the generated
// resources/ (when the build has made them) and keeps its own save/ folder,
// ErrorLog.txt and single-instance lock, so tests never touch a player's files.
class GameSandbox {
public:
    GameSandbox() {
        std::filesystem::create_directory(m_dir.file("save"));
        std::filesystem::create_directory(m_dir.file("runtime"));
        std::string resources = std::string(SPOOKHOLLOW_GAME_DIR) + "/resources";
        if (std::filesystem::exists(resources)) {
            std::filesystem::create_directory_symlink(resources, m_dir.file("resources"));
        }
    }

    std::unique_ptr<ChildProcess> start(const std::vector<std::string>& arguments,
                                        const std::string& workingDir = "") {
        ChildProcess::Options options;
        options.workingDir = workingDir.empty() ? m_dir.path() : workingDir;
        options.environment = {"XDG_RUNTIME_DIR=" + m_dir.file("runtime"),
                               "SPOOKHOLLOW_MESSAGE_BOX=stderr", "ALSOFT_DRIVERS=null"};
        return std::make_unique<ChildProcess>(SPOOKHOLLOW_EXE, arguments, options);
    }

    // Starts the game with OpenAL Soft rendering what it plays into a WAV file.
    std::unique_ptr<ChildProcess> startRecordingSound(
        const std::string& wavPath, const std::vector<std::string>& arguments = {}) {
        writeFile(m_dir.file("alsoft.conf"),
                  "[general]\ndrivers=wave\n[wave]\nfile=" + wavPath + "\n");
        ChildProcess::Options options;
        options.workingDir = m_dir.path();
        options.environment = {"XDG_RUNTIME_DIR=" + m_dir.file("runtime"),
                               "SPOOKHOLLOW_MESSAGE_BOX=stderr",
                               "ALSOFT_CONF=" + m_dir.file("alsoft.conf")};
        options.unsetVariables = {"ALSOFT_DRIVERS"};
        return std::make_unique<ChildProcess>(SPOOKHOLLOW_EXE, arguments, options);
    }

    bool hasResources() const { return std::filesystem::exists(m_dir.file("resources")); }

    std::unique_ptr<ChildProcess> startWithoutDisplay(const std::vector<std::string>& arguments) {
        ChildProcess::Options options;
        options.workingDir = m_dir.path();
        options.environment = {"XDG_RUNTIME_DIR=" + m_dir.file("runtime"), "ALSOFT_DRIVERS=null"};
        options.unsetVariables = {"DISPLAY", "WAYLAND_DISPLAY", "SPOOKHOLLOW_MESSAGE_BOX"};
        return std::make_unique<ChildProcess>(SPOOKHOLLOW_EXE, arguments, options);
    }

    std::string file(const std::string& name) const { return m_dir.file(name); }
    const std::string& path() const { return m_dir.path(); }

private:
    TempDir m_dir;
};
