#pragma once
// Level files for tests: map images drawn as rows of letters, and a
// resources/ tree that holds them beside the generated models, textures,
// fonts and sounds.
#include <filesystem>
#include <string>
#include <vector>

#include "assets/tga_builder.h"
#include "support/temp_dir.h"

namespace level_files {

// '#' wall, '.' low passage (white), 'Y' wood hall, 'M' carpet hall, 'R'
// red and 'G' grey (open cells of no class of their own).
inline Rgba cellPixel(char c) {
    switch (c) {
        case '#':
            return Rgba{0, 0, 0, 255};
        case '.':
            return Rgba{255, 255, 255, 255};
        case 'Y':
            return Rgba{255, 255, 0, 255};
        case 'M':
            return Rgba{255, 0, 255, 255};
        case 'R':
            return Rgba{255, 0, 0, 255};
        default:
            return Rgba{128, 128, 128, 255};
    }
}

// rows[y][x] is the cell the game reads at (x, y). The image is stored
// bottom row first, so the first row of the list is the bottom of the picture.
inline std::string mapImage(const std::vector<std::string>& rows) {
    Picture picture;
    picture.height = static_cast<int>(rows.size());
    picture.width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
    for (int r = 0; r < picture.height; ++r) {
        for (char c : rows[static_cast<std::size_t>(picture.height - 1 - r)]) {
            picture.pixels.push_back(cellPixel(c));
        }
    }
    return buildTga(picture, TgaLayout{});
}

inline std::string generatedResources() {
    return std::string(SPOOKHOLLOW_GAME_DIR) + "/resources";
}

inline std::string generatedObjects() {
    return readFile(generatedResources() + "/objects.lvl");
}

// The object list without the line that defines the named geometry.
inline std::string objectsWithout(const std::string& geometryName) {
    std::string text = generatedObjects();
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        if (line.find("name_" + geometryName) == std::string::npos) {
            out += line;
        }
        start = end;
    }
    return out;
}

// Fills folder/resources: links to the generated folders, and a map and
// object list of the test's own.
inline void makeResources(const std::string& folder, const std::string& mapFile,
                          const std::string& objects = generatedObjects()) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(folder) / "resources";
    fs::create_directories(root / "maps");
    for (const char* sub : {"textures", "models", "fonts", "audio"}) {
        if (!fs::exists(root / sub)) {
            fs::create_directory_symlink(fs::path(generatedResources()) / sub, root / sub);
        }
    }
    writeFile((root / "maps" / "castle.map").string(), mapFile);
    writeFile((root / "objects.lvl").string(), objects);
}

}  // namespace level_files
