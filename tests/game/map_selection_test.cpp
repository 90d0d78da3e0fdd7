#include "game/map_selection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

std::vector<std::string> labels(const std::vector<MapEntry>& maps) {
    std::vector<std::string> result;
    for (const MapEntry& map : maps) {
        result.push_back(map.label);
    }
    return result;
}

TEST(MapSelection, TheFolderOffersItsImagesByNameAfterTheCastle) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("maps"));
    for (const char* name : {"b.png", "A.TGA", "c.map", ".hidden.png", "notes.txt", "x.png~"}) {
        writeFile(dir.file(std::string("maps/") + name), "");
    }
    std::filesystem::create_directories(dir.file("maps/folder.png"));
    const std::vector<MapEntry> maps = listMaps(dir.file("maps"));
    EXPECT_EQ(labels(maps), (std::vector<std::string>{"Castle", "A.TGA", "b.png", "c.map"}));
    EXPECT_EQ(maps[0].file, "");
    EXPECT_EQ(maps[2].file, dir.file("maps/b.png"));

    for (const std::string& folder : {std::string(), dir.file("nowhere"), dir.file("maps/b.png")}) {
        EXPECT_EQ(labels(listMaps(folder)), std::vector<std::string>{"Castle"}) << folder;
    }
}

TEST(MapSelection, ManyMapsAreCutToTheFirstOffered) {
    TempDir dir;
    std::filesystem::create_directories(dir.file("maps"));
    for (std::size_t i = 0; i < MAPS_OFFERED + 5; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "maps/m%03zu.png", i);
        writeFile(dir.file(name), "");
    }
    const std::vector<MapEntry> maps = listMaps(dir.file("maps"));
    ASSERT_EQ(maps.size(), MAPS_OFFERED + 1);
    EXPECT_EQ(maps.back().label, "m099.png");
}

TEST(MapSelection, AChoiceIsOfferedOnlyForAFolderWithMapsAndNoFixedMap) {
    TempDir dir;
    MapSelection selection;
    EXPECT_FALSE(selection.startOffersChoice());
    EXPECT_EQ(selection.current().label, "Castle");
    EXPECT_EQ(selection.current().file, "");

    std::filesystem::create_directories(dir.file("maps"));
    selection.offerFolder(dir.file("maps"));
    EXPECT_FALSE(selection.startOffersChoice());  // only the castle
    writeFile(dir.file("maps/room.png"), "");
    ASSERT_TRUE(selection.startOffersChoice());
    selection.choose(listMaps(dir.file("maps"))[1]);
    EXPECT_EQ(selection.current().label, "room.png");

    // The chosen map's image gone, Start plays the castle.
    std::filesystem::remove(dir.file("maps/room.png"));
    EXPECT_FALSE(selection.startOffersChoice());
    EXPECT_EQ(selection.current().label, "Castle");

    writeFile(dir.file("maps/room.png"), "");
    selection.playOnly("/home/player/my\tcastle.png");
    EXPECT_FALSE(selection.startOffersChoice());
    EXPECT_EQ(selection.current().label, "my?castle.png");
    EXPECT_EQ(selection.current().file, "/home/player/my\tcastle.png");
}

TEST(MapSelection, LabelsKeepToPrintableTextAndTheirLength) {
    const struct {
        std::string text;
        std::string label;
    } cases[] = {
        {"room.png", "room.png"},
        {"caf\xc3\xa9.png", "caf??.png"},
        {std::string(50, 'a'), std::string(MAP_LABEL_LENGTH, 'a')},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printableLabel(c.text), c.label) << c.text;
    }
}

}  // namespace
