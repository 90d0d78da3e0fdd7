#pragma once
#include <cstddef>
#include <string>
#include <vector>

// One map a game can be played on.
struct MapEntry {
    // What the map choice and the high-score table show: the image's file
    // name, or "Castle".
    std::string label;
    // The image to build from; empty for the generated castle.
    std::string file;
};

constexpr const char* CASTLE_LABEL = "Castle";
// The generated castle's map image.
constexpr const char* CASTLE_MAP_FILE = "resources/maps/castle.map";
// The longest label kept; file names beyond it are cut.
constexpr std::size_t MAP_LABEL_LENGTH = 40;
// The most of a folder's images offered; the rest are left out, by name.
constexpr std::size_t MAPS_OFFERED = 100;

// The text as the bitmap fonts can print it: every byte outside printable
// ASCII becomes '?', and it is cut to maxLength.
std::string printableLabel(const std::string& text, std::size_t maxLength = MAP_LABEL_LENGTH);
// The label of a map image: its file name without the folder.
std::string mapLabel(const std::string& file);

// The generated castle first, then the PNG and TGA images (".png", ".tga",
// ".map", in any case) in the folder, by file name. A folder that is
// missing or cannot be read adds nothing.
std::vector<MapEntry> listMaps(const std::string& folder);

// Which map the next game is built on: the generated castle unless the
// command line or the map choice named an image.
class MapSelection {
public:
    // "--map FILE": every game is played on that image and no choice is
    // offered.
    void playOnly(const std::string& file);
    // The player's maps folder; none (the default) offers no choice, as for
    // recorded games.
    void offerFolder(std::string folder) { m_folder = std::move(folder); }

    // Start was pressed: true when it should offer the choice (no map was
    // fixed and the folder holds at least one image). Otherwise the game is
    // played on the fixed map or the castle, also after a chosen map's
    // image has left the folder.
    bool startOffersChoice();
    // What the choice offers, the castle first, as the folder was when
    // Start was pressed last.
    const std::vector<MapEntry>& choices() const { return m_choices; }

    void choose(MapEntry map) { m_current = std::move(map); }
    const MapEntry& current() const { return m_current; }

private:
    std::string m_folder;
    std::vector<MapEntry> m_choices;
    bool m_fixed = false;
    MapEntry m_current{CASTLE_LABEL, ""};
};
