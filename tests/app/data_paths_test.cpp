// Where the game reads its data and writes its state: a portable copy keeps
// everything beside it, an installed one reads its data folder and writes
// into the player's XDG folder.
#include "app/data_paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

struct FakeEnvironment {
    std::map<std::string, std::string> values;
    EnvironmentLookup lookup() const {
        return [this](const char* name) -> const char* {
            auto found = values.find(name);
            return found != values.end() ? found->second.c_str() : nullptr;
        };
    }
};

// <root>/usr/games/spookhollow beside <root>/usr/share/games/spookhollow/resources.
std::string makeInstalledTree(const TempDir& root) {
    fs::create_directories(root.file("usr/games"));
    fs::create_directories(root.file("usr/share/games/spookhollow/resources"));
    writeFile(root.file("usr/games/spookhollow"), "");
    return root.file("usr/games/spookhollow");
}

TEST(DataPaths, PortableCopyKeepsEverythingRelative) {
    TempDir root;
    fs::create_directories(root.file("game/resources"));  // the build folder's layout
    FakeEnvironment environment{{{"HOME", "/home/player"}}};
    DataPaths paths = resolveDataPaths(root.file("game/spookhollow"), environment.lookup());
    EXPECT_FALSE(paths.installed);
    EXPECT_EQ(paths.savePath("config.ini"), "save/config.ini");
    EXPECT_EQ(paths.mapsFolder(), "maps");
    EXPECT_EQ(paths.logName(), "ErrorLog");
    std::string failure;
    EXPECT_TRUE(applyDataPaths(paths, failure));  // changes nothing
    EXPECT_FALSE(resolveDataPaths("", environment.lookup()).installed);
}

TEST(DataPaths, InstalledGameWritesIntoTheXdgFolder) {
    TempDir root;
    std::string executable = makeInstalledTree(root);
    std::string data = fs::canonical(root.file("usr/share/games/spookhollow")).string();
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        std::string writeFolder;
    };
    const Case cases[] = {
        {"XDG_DATA_HOME wins",
         {{"XDG_DATA_HOME", "/x/data"}, {"HOME", "/home/p"}},
         "/x/data/spookhollow"},
        {"HOME's default", {{"HOME", "/home/p"}}, "/home/p/.local/share/spookhollow"},
        {"an empty XDG_DATA_HOME is unset",
         {{"XDG_DATA_HOME", ""}, {"HOME", "/home/p"}},
         "/home/p/.local/share/spookhollow"},
        {"a relative XDG_DATA_HOME is ignored",
         {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/p"}},
         "/home/p/.local/share/spookhollow"},
        {"no home at all", {{"HOME", "relative"}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEnvironment environment{c.environment};
        DataPaths paths = resolveDataPaths(executable, environment.lookup());
        EXPECT_TRUE(paths.installed);
        EXPECT_EQ(paths.dataFolder, data);
        EXPECT_EQ(paths.writeFolder, c.writeFolder);
        if (!c.writeFolder.empty()) {
            EXPECT_EQ(paths.savePath("data.dat"), c.writeFolder + "/save/data.dat");
            EXPECT_EQ(paths.logName(), c.writeFolder + "/ErrorLog");
            EXPECT_EQ(paths.mapsFolder(), c.writeFolder + "/maps");
        }
    }
}

TEST(DataPaths, ApplyingCreatesTheSaveAndMapsFoldersAndEntersTheDataFolder) {
    TempDir root;
    std::string executable = makeInstalledTree(root);
    FakeEnvironment environment{{{"XDG_DATA_HOME", root.file("home/data")}}};
    DataPaths paths = resolveDataPaths(executable, environment.lookup());
    ScopedWorkingDir keep(root.path());  // restores the test's folder afterwards
    std::string failure;
    ASSERT_TRUE(applyDataPaths(paths, failure)) << failure;
    EXPECT_TRUE(fs::is_directory(root.file("home/data/spookhollow/save")));
    EXPECT_TRUE(fs::is_directory(root.file("home/data/spookhollow/maps")));
    EXPECT_EQ(fs::current_path(), fs::path(paths.dataFolder));
    EXPECT_TRUE(fs::is_directory("resources"));
}

TEST(DataPaths, FailuresSayWhatCouldNotBeDone) {
    TempDir root;
    std::string executable = makeInstalledTree(root);
    ScopedWorkingDir keep(root.path());

    // A file where the player's folder should be: no saves, but the data is found.
    writeFile(root.file("blocked"), "");
    FakeEnvironment blocked{{{"XDG_DATA_HOME", root.file("blocked")}}};
    std::string failure;
    EXPECT_FALSE(applyDataPaths(resolveDataPaths(executable, blocked.lookup()), failure));
    EXPECT_NE(failure.find("Can not create " + root.file("blocked") + "/spookhollow/save"),
              std::string::npos)
        << failure;
    EXPECT_TRUE(fs::is_directory("resources"));

    FakeEnvironment homeless;
    EXPECT_FALSE(applyDataPaths(resolveDataPaths(executable, homeless.lookup()), failure));
    EXPECT_NE(failure.find("No home folder"), std::string::npos) << failure;

    DataPaths gone = resolveDataPaths(executable, blocked.lookup());
    gone.writeFolder = root.file("home");
    gone.dataFolder = root.file("no such folder");
    EXPECT_FALSE(applyDataPaths(gone, failure));
    EXPECT_NE(failure.find("Can not enter " + gone.dataFolder), std::string::npos) << failure;
}

}  // namespace
