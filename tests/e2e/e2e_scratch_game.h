#pragma once
// A scratch copy of the game folder for tests that play a whole game: its own
// save/, ErrorLog.txt and single-instance lock, the generated resources/
// linked in entry by entry so that single files (the map, say) can be
// replaced without touching the build's own copy.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace e2e {

class ScratchGame {
public:
    ScratchGame() {
        namespace fs = std::filesystem;
        fs::create_directory(m_dir.file("save"));
        fs::create_directory(m_dir.file("runtime"));
        fs::path resources = fs::path(SPOOKHOLLOW_GAME_DIR) / "resources";
        if (!fs::is_directory(resources)) {
            return;
        }
        m_hasResources = true;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(resources)) {
            fs::path relative = fs::relative(entry.path(), resources);
            fs::path copy = fs::path(m_dir.file("resources")) / relative;
            if (entry.is_directory()) {
                fs::create_directories(copy);
            } else {
                fs::create_directories(copy.parent_path());
                fs::create_symlink(entry.path(), copy);
            }
        }
    }

    bool hasResources() const { return m_hasResources; }

    // Puts a file of the test's own in place of a generated one, e.g.
    // replaceResource("maps/castle.map", bytes).
    void replaceResource(const std::string& relative, const std::string& contents) {
        std::string path = m_dir.file("resources/" + relative);
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        writeFile(path, contents);
    }

    // Starts the game with OpenAL Soft writing everything it plays to wavPath
    // (and any variables of the test's own in its environment).
    std::unique_ptr<ChildProcess> startRecordingSound(
        const std::string& wavPath, const std::vector<std::string>& args = {},
        const std::vector<std::string>& environment = {}) {
        writeFile(m_dir.file("alsoft.conf"),
                  "[general]\ndrivers=wave\n[wave]\nfile=" + wavPath + "\n");
        ChildProcess::Options options;
        options.workingDir = m_dir.path();
        options.environment = {"XDG_RUNTIME_DIR=" + m_dir.file("runtime"),
                               "SPOOKHOLLOW_MESSAGE_BOX=stderr",
                               "ALSOFT_CONF=" + m_dir.file("alsoft.conf")};
        options.environment.insert(options.environment.end(), environment.begin(),
                                   environment.end());
        options.unsetVariables = {"ALSOFT_DRIVERS"};
        m_started = std::chrono::steady_clock::now();
        return std::make_unique<ChildProcess>(SPOOKHOLLOW_EXE, args, options);
    }

    // Seconds since the game was started (the sound file begins about then).
    double secondsSinceStart() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_started).count();
    }

    std::string file(const std::string& name) const { return m_dir.file(name); }
    const std::string& path() const { return m_dir.path(); }

private:
    TempDir m_dir;
    bool m_hasResources = false;
    std::chrono::steady_clock::time_point m_started = std::chrono::steady_clock::now();
};

// A map image as the game reads it: an uncompressed 24-bit TGA, one pixel a
// cell. Rows are given as the picture shows them, top first, so the last row
// is map row 0 (world z = 0). '#' is a wall, '.' a low passage, 'y' a wood
// hall, 'm' a carpet hall and 'g' a plain stone floor.
inline std::string mapImage(const std::vector<std::string>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = height > 0 ? static_cast<int>(rows[0].size()) : 0;
    std::string tga(18, '\0');
    tga[2] = 2;  // uncompressed true colour
    tga[12] = static_cast<char>(width & 0xFF);
    tga[13] = static_cast<char>(width >> 8);
    tga[14] = static_cast<char>(height & 0xFF);
    tga[15] = static_cast<char>(height >> 8);
    tga[16] = 24;
    tga[17] = 0x20;  // first row is the top row
    for (const std::string& row : rows) {
        for (int x = 0; x < width; ++x) {
            char cell = x < static_cast<int>(row.size()) ? row[x] : '#';
            std::uint8_t r = 0, g = 0, b = 0;
            switch (cell) {
                case '.':
                    r = g = b = 255;
                    break;
                case 'y':
                    r = g = 255;
                    break;
                case 'm':
                    r = b = 255;
                    break;
                case 'g':
                    r = g = b = 128;
                    break;
                default:
                    break;
            }
            tga.push_back(static_cast<char>(b));
            tga.push_back(static_cast<char>(g));
            tga.push_back(static_cast<char>(r));
        }
    }
    return tga;
}

}  // namespace e2e
