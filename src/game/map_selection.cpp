#include "game/map_selection.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool isMapImage(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".png" || extension == ".tga" || extension == ".map";
}

}  // namespace

std::string printableLabel(const std::string& text, std::size_t maxLength) {
    std::string label = text.substr(0, maxLength);
    for (char& c : label) {
        if (c < ' ' || c > '~') {
            c = '?';
        }
    }
    return label;
}

std::string mapLabel(const std::string& file) {
    return printableLabel(fs::path(file).filename().string());
}

std::vector<MapEntry> listMaps(const std::string& folder) {
    std::vector<MapEntry> maps{{CASTLE_LABEL, ""}};
    if (folder.empty()) {
        return maps;
    }
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        // Hidden files are an editor's or a file manager's, not the player's.
        if (path.filename().string().front() != '.' && isMapImage(path) &&
            fs::is_regular_file(path, typeError)) {
            names.push_back(path.filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    if (names.size() > MAPS_OFFERED) {
        names.resize(MAPS_OFFERED);
    }
    for (const std::string& name : names) {
        maps.push_back({mapLabel(name), (fs::path(folder) / name).string()});
    }
    return maps;
}

void MapSelection::playOnly(const std::string& file) {
    m_fixed = true;
    m_current = {mapLabel(file), file};
}

bool MapSelection::startOffersChoice() {
    if (m_fixed) {
        return false;
    }
    m_choices = listMaps(m_folder);
    if (m_choices.size() > 1) {
        return true;
    }
    m_current = {CASTLE_LABEL, ""};
    return false;
}
