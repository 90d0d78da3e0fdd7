// The real executable's command line, run without any display.
#include <gtest/gtest.h>

#include "e2e/game_process.h"

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

}  // namespace
