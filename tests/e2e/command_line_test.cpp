// The real executable's command line, run without any display.
#include <gtest/gtest.h>

#include "e2e/game_process.h"
#include "support/map_images.h"

namespace {

TEST(ExecutableWithoutDisplay, HelpPrintsTitleAndVersionAndExitsZero) {
    for (auto arguments : std::vector<std::vector<std::string>>{{"-h"}, {"/?"}, {"-x", "-h"}}) {
        GameSandbox sandbox;
        auto game = sandbox.startWithoutDisplay(arguments);
        ASSERT_TRUE(game->waitForExit(20));
        EXPECT_EQ(game->exitCode(), 0);
        std::string err = game->standardError();
        EXPECT_NE(err.find("Spookhollow"), std::string::npos) << err;
        EXPECT_NE(err.find("Version 1.04"), std::string::npos) << err;
        // Help comes before anything else of start-up: no log, no settings.
        EXPECT_FALSE(fileExists(sandbox.file("ErrorLog.txt")));
        EXPECT_TRUE(std::filesystem::is_empty(sandbox.file("save")));
    }
}

TEST(ExecutableWithoutDisplay, NoWindowSystemFailsWithAStoredMessageAndMinusOne) {
    GameSandbox sandbox;
    auto game = sandbox.startWithoutDisplay({});
    ASSERT_TRUE(game->waitForExit(30));
    EXPECT_EQ(game->exitCode(), 255);  // -1 as the shell sees it
    std::string log = readFile(sandbox.file("ErrorLog.txt"));
    EXPECT_NE(log.find("Cannot register Spookhollow with Windows."), std::string::npos) << log;
    EXPECT_NE(game->standardError().find("Windows Error"), std::string::npos);
}

// The map check answers without a window; a map it refuses is refused by
// --map too, before any window, with the same message naming the file.
TEST(ExecutableWithoutDisplay, MapsAreCheckedAndBadOnesRefusedNamingTheFile) {
    const std::vector<std::string> room = {"#####", "#.y.#", "#...#", "#####"};
    const std::vector<std::string> empty = {"###", "###", "###"};
    const struct {
        std::vector<std::string> arguments;
        std::string file;
        std::string bytes;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--check-map", "room.tga"}, "room.tga", mapTga(room), 0, nullptr},
        {{"--check-map", "room.png"}, "room.png", mapPng(room), 0, nullptr},
        {{"--check-map", "empty.png"},
         "empty.png",
         mapPng(empty),
         1,
         "empty.png: no open cell: the map must have at least one floor cell."},
        {{"--map", "empty.tga", "--no-intro"},
         "empty.tga",
         mapTga(empty),
         1,
         "empty.tga: no open cell: the map must have at least one floor cell."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        GameSandbox sandbox;
        writeFile(sandbox.file(c.file), c.bytes);
        auto game = sandbox.startWithoutDisplay(c.arguments);
        ASSERT_TRUE(game->waitForExit(20));
        EXPECT_EQ(game->exitCode(), c.exitCode);
        const std::string err = game->standardError();
        if (c.message != nullptr) {
            EXPECT_NE(err.find(c.message), std::string::npos) << err;
        } else {
            EXPECT_EQ(err, "");
        }
    }
}

}  // namespace
