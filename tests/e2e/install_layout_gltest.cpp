// The installed game: staged with `cmake --install` into a scratch DESTDIR,
// its desktop files checked with the desktop's own validators, and run from
// there the way a player's menu would start it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "e2e/game_process.h"
#include "support/sanitizer_slowdown.h"
#include "support/x11_helpers.h"

namespace fs = std::filesystem;

namespace {

bool hasTool(const std::string& name) {
    return std::system(("command -v " + name + " > /dev/null").c_str()) == 0;
}

// Every file below a folder with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> snapshot(
    const std::string& folder) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                        entry.last_write_time()};
    }
    return files;
}

// The width and height in a PNG's header (0, 0 when it is no PNG).
std::pair<int, int> pngSize(const std::string& path) {
    std::string bytes = readFile(path);
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return {0, 0};
    }
    auto big = [&](std::size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24) |
               (static_cast<unsigned char>(bytes[at + 1]) << 16) |
               (static_cast<unsigned char>(bytes[at + 2]) << 8) |
               static_cast<unsigned char>(bytes[at + 3]);
    };
    return {big(16), big(20)};
}

class InstalledGame : public ::testing::Test {
protected:
    void SetUp() override {
        if (!x11::displayAvailable()) {
            GTEST_SKIP() << "no X display";
        }
        if (!fs::exists(std::string(SPOOKHOLLOW_GAME_DIR) + "/resources")) {
            GTEST_SKIP() << "the build made no game data";
        }
        std::string command = "DESTDIR='" + stage.path() + "' '" + SPOOKHOLLOW_CMAKE +
                              "' --install '" + SPOOKHOLLOW_BUILD_DIR + "' --prefix /usr > '" +
                              stage.file("install.log") + "' 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << readFile(stage.file("install.log"));
    }

    std::string installed(const std::string& path) const { return stage.file("usr/" + path); }

    TempDir stage;
};

TEST_F(InstalledGame, EveryFileInItsPlaceAndTheDesktopFilesValidate) {
    EXPECT_TRUE(fs::is_regular_file(installed("games/spookhollow")));
    EXPECT_TRUE(fs::is_regular_file(installed("share/games/spookhollow/resources/objects.lvl")));
    EXPECT_TRUE(fs::is_regular_file(installed("share/man/man6/spookhollow.6")));
    for (int size : {48, 128, 256}) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        EXPECT_EQ(pngSize(installed("share/icons/hicolor/" + name + "/apps/spookhollow.png")),
                  std::make_pair(size, size))
            << name;
    }

    std::string desktop = installed("share/applications/spookhollow.desktop");
    std::string metainfo =
        installed(std::string("share/metainfo/") + SPOOKHOLLOW_APPSTREAM_ID + ".metainfo.xml");
    ASSERT_TRUE(hasTool("desktop-file-validate") && hasTool("appstreamcli"))
        << "tools/deps.sh installs desktop-file-utils and appstream";
    EXPECT_EQ(std::system(("desktop-file-validate '" + desktop + "'").c_str()), 0);
    EXPECT_EQ(
        std::system(("appstreamcli validate --no-net '" + metainfo + "' > /dev/null").c_str()), 0);
    EXPECT_NE(readFile(desktop).find("Exec=spookhollow\n"), std::string::npos);
    EXPECT_NE(readFile(metainfo).find("/docs/play_corridor.png</image>"), std::string::npos);
}

TEST_F(InstalledGame, RunsFromAnyFolderAndKeepsItsSavesInTheXdgFolder) {
    TempDir player;  // HOME, XDG_DATA_HOME and the folder the game is started from
    fs::create_directories(player.file("home"));
    fs::create_directories(player.file("started-here"));
    fs::create_directories(player.file("runtime"));
    std::string data = installed("share/games/spookhollow");
    auto before = snapshot(data);

    ChildProcess::Options options;
    options.workingDir = player.file("started-here");
    options.environment = {"HOME=" + player.file("home"), "XDG_DATA_HOME=" + player.file("xdg"),
                           "XDG_RUNTIME_DIR=" + player.file("runtime"),
                           "SPOOKHOLLOW_MESSAGE_BOX=stderr", "ALSOFT_DRIVERS=null"};
    options.unsetVariables = {"ALSOFT_LOGLEVEL"};
    ChildProcess game(installed("games/spookhollow"), {}, options);

    unsigned long window = x11::findWindow("Spookhollow", 20 * SLOWDOWN);
    ASSERT_NE(window, 0u) << game.standardError();
    // The window shows before the game has read its pictures; the intro's
    // white follows once it has.
    x11::Image shot;
    double white = 0.0;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(20 * SLOWDOWN);
    while (white < 0.99 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(x11::capture(window, shot));
        white = shot.fractionNear(255, 255, 255, 8);
    }
    EXPECT_GT(white, 0.99) << "the intro screen (white) did not show";
    ASSERT_TRUE(x11::requestClose(window));
    ASSERT_TRUE(game.waitForExit(20 * SLOWDOWN));
    EXPECT_EQ(game.exitCode(), 0);
    EXPECT_EQ(game.standardError(), "");

    std::string mine = player.file("xdg/spookhollow");
    EXPECT_EQ(readFile(mine + "/save/control.cfg").size(), 56u);  // the default bindings
    EXPECT_TRUE(fileExists(mine + "/save/data.dat"));
    std::string log = readFile(mine + "/ErrorLog.txt");
    EXPECT_EQ(log.rfind("Date(M/D/Y): ", 0), 0u) << log;
    EXPECT_EQ(log.find("Can not open"), std::string::npos) << log;  // the data was found

    EXPECT_TRUE(snapshot(data) == before) << "the game wrote into its data folder";
    EXPECT_TRUE(fs::is_empty(player.file("started-here")));
    EXPECT_TRUE(fs::is_empty(player.file("home")));
}

}  // namespace
