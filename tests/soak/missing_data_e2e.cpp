// Missing and broken game data in the real executable: every file under
// resources/ in turn is deleted, then cut to half its size, in a scratch copy
// of the game folder. The game is driven as far as the file is needed (the
// start, or Start on the main menu), and must name the file in a message,
// never end by a signal, leave the saves as they were and, when the file is
// one the level needs, stay on the main menu (its Quit button still ends the
// game normally).
//
// Each game runs on an X server of its own, so several run at once without
// their windows (and the pointer that gives keyboard focus) in each other's
// way. Skipped in the sanitizer build, where the soak covers the same paths.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/e2e_scratch_game.h"
#include "soak/soak_display.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int WORKERS = 3;

using namespace e2e;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

struct Case {
    std::string relative;  // under resources/
    bool truncated;        // false: deleted
};

// Formats that still read when cut short (a shorter sound, fewer lines)
// need not complain about a half file.
bool mayReadWhenCut(const std::string& relative) {
    const std::string ending = lowerCase(fs::path(relative).extension().string());
    return ending == ".ogg" || ending == ".wav" || ending == ".lvl";
}

// A font without its metrics file is a fixed-width font: no complaint.
bool mayBeMissing(const std::string& relative) {
    return lowerCase(fs::path(relative).extension().string()) == ".txt";
}

// Files without which no level can be built: the game must come back to the
// main menu. Without a sound, a skin or a font's metrics the level is built
// anyway and the game goes on to the ready screen.
bool levelCannotBeBuilt(const Case& c) {
    const std::string lower = lowerCase(c.relative);
    const std::string ending = fs::path(lower).extension().string();
    if (lower.rfind("maps/", 0) == 0 || ending == ".qvr") {
        return true;
    }
    if (lower == "objects.lvl") {
        return !c.truncated;
    }
    for (const char* surface : {"box", "carpet", "ceiling", "ground", "wood"}) {
        if (lower == std::string("textures/") + surface + ".tga") {
            return true;
        }
    }
    return false;
}

bool mustComplain(const Case& c) {
    return c.truncated ? !mayReadWhenCut(c.relative) : !mayBeMissing(c.relative);
}

const char* const CONFIG = "1024\n768\n55\n3\n1\n0.001\n0\n";
const char* const SCORES =
    "8\n900\nAlice\n800\nBob\n700\nCarol\n600\nDan\n500\nEve\n400\nFay\n"
    "300\nGus\n200\nHal\n";

std::string defaultControls() {
    const int records[7][2] = {{0, 87}, {1, 83}, {2, 65}, {3, 68}, {7, 49}, {8, 50}, {9, 1}};
    std::string bytes;
    for (const auto& record : records) {
        for (int value : record) {
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
            }
        }
    }
    return bytes;
}

// What went wrong in one case. Faults are the game's whatever drove it: a
// signal, a sanitizer report, a save file changed, a failing exit code.
// Misses depend on the driving too (a window not seen, a click or key lost by
// a loaded X server), so a case with only misses is run once more.
struct CaseResult {
    std::string faults;
    std::string misses;
    std::string errors;  // the game's standard error
    bool held() const { return faults.empty() && misses.empty(); }
    std::string report() const { return held() ? "" : faults + misses + "stderr:\n" + errors; }
};

CaseResult runCase(const PrivateDisplay& display, const Case& c) {
    e2e::ScratchGame game;
    const std::string original = std::string(SPOOKHOLLOW_GAME_DIR) + "/resources/" + c.relative;
    const std::string target = game.file("resources/" + c.relative);
    fs::remove(target);
    if (c.truncated) {
        std::string bytes = readAll(original);
        writeFile(target, bytes.substr(0, bytes.size() / 2));
    }
    const std::string saves[3][2] = {{"save/config.ini", CONFIG},
                                     {"save/control.cfg", defaultControls()},
                                     {"save/data.dat", SCORES}};
    for (const auto& save : saves) {
        writeFile(game.file(save[0]), save[1]);
    }

    std::unique_ptr<ChildProcess> process = startGameOn(display, game.path());
    const std::string name = lowerCase(fs::path(c.relative).filename().string());
    auto named = [&] {
        return lowerCase(process->standardError()).find(name) != std::string::npos ||
               lowerCase(readAll(game.file("ErrorLog.txt"))).find(name) != std::string::npos;
    };
    auto waitNamed = [&](double seconds) {
        for (auto end = Clock::now() + std::chrono::duration<double>(seconds);
             Clock::now() < end && !named() && process->running();) {
            pause(0.1);
        }
        return named();
    };

    CaseResult result;
    bool shown = false;
    for (auto end = Clock::now() + std::chrono::seconds(30);
         Clock::now() < end && process->running() && !(shown = display.windowShown());) {
        pause(0.1);
    }
    const bool mustReturn = levelCannotBeBuilt(c);
    bool quitFromMenu = false;
    if (shown) {
        const auto shownAt = Clock::now();
        display.pointAt(400, -60);
        // A file of the start shows its message while the intro runs; then
        // there is nothing further to drive.
        bool early = false;
        while (Clock::now() - shownAt < std::chrono::milliseconds(5600) && process->running()) {
            pause(0.1);
            early = named();
            if (early && !mustReturn) {
                break;
            }
        }
        if (!early || mustReturn) {
            // The intro takes Space only after five seconds.
            display.key("space");
            pause(1.0);
            display.click(START_X, START_Y);
            waitNamed(mustComplain(c) ? 30 : 8);
            pause(1.0);
            // On the main menu, Quit ends the game; on the ready screen the
            // click starts play instead.
            if (process->running()) {
                display.click(QUIT_X, QUIT_Y);
                quitFromMenu = process->waitForExit(10);
            }
        }
    }
    if (mustReturn && !quitFromMenu) {
        result.misses += "not back at the main menu (its Quit did not end the game); ";
    }
    std::string& faults = result.faults;
    if (!process->waitForExit(1)) {
        ::kill(process->pid(), SIGTERM);  // a quit request, as from the desktop
        if (!process->waitForExit(15)) {
            process->kill();
            process->waitForExit(5);
            faults += "did not end on a quit request; ";
        }
    }
    if (quitFromMenu && process->exitCode() != 0) {
        faults += "ended with " + std::to_string(process->exitCode()) + "; ";
    }
    if (process->exitCode() == -1) {
        faults += "ended by a signal; ";
    }
    result.errors = process->standardError();
    if (result.errors.find("AddressSanitizer") != std::string::npos ||
        result.errors.find("runtime error:") != std::string::npos) {
        faults += "sanitizer report; ";
    }
    if (mustComplain(c) && !named()) {
        result.misses += "no message names the file; ";
    }
    for (const auto& save : saves) {
        if (readAll(game.file(save[0])) != save[1]) {
            faults += save[0] + " changed; ";
        }
    }
    return result;
}

TEST(MissingData, EveryFileDeletedOrCutInHalfIsNamedAndNeverCrashesTheGame) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "covered by the soak in the sanitizer build";
#endif
    const fs::path resources = fs::path(SPOOKHOLLOW_GAME_DIR) / "resources";
    if (!fs::is_directory(resources) || std::system("command -v xdotool >/dev/null") != 0 ||
        !fs::exists("/usr/bin/Xvfb")) {
        GTEST_SKIP() << "needs the generated resources, xdotool and Xvfb";
    }
    std::vector<Case> cases;
    for (const auto& entry : fs::recursive_directory_iterator(resources)) {
        if (entry.is_regular_file()) {
            const std::string relative = fs::relative(entry.path(), resources).string();
            cases.push_back({relative, false});
            cases.push_back({relative, true});
        }
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) {
        return a.relative != b.relative ? a.relative < b.relative : a.truncated < b.truncated;
    });
    ASSERT_GT(cases.size(), 0u);

    std::atomic<std::size_t> next{0};
    std::vector<std::string> results(cases.size(), "not run");
    std::vector<std::thread> workers;
    std::atomic<int> displaysReady{0};
    for (int w = 0; w < WORKERS; ++w) {
        workers.emplace_back([&] {
            auto display = std::make_unique<PrivateDisplay>();
            if (!display->ready()) {
                return;
            }
            ++displaysReady;
            for (std::size_t i = next++; i < cases.size(); i = next++) {
                CaseResult result = runCase(*display, cases[i]);
                std::string retried;
                // A loaded machine can lose a private X server or the input
                // sent to it: a case with misses only is tried once more on a
                // fresh server, and the first try's misses are printed.
                if (result.faults.empty() && !result.misses.empty()) {
                    retried = " (tried again after: " + result.misses + ")";
                    display = std::make_unique<PrivateDisplay>();
                    if (!display->ready()) {
                        results[i] = result.report();
                        return;
                    }
                    result = runCase(*display, cases[i]);
                }
                results[i] = result.report();
                std::printf("%s %s: %s%s\n", cases[i].relative.c_str(),
                            cases[i].truncated ? "cut in half" : "deleted",
                            result.held() ? "ok" : "FAILED", retried.c_str());
                std::fflush(stdout);
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    ASSERT_GT(displaysReady.load(), 0) << "no X server could be started";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(results[i], "") << cases[i].relative
                                  << (cases[i].truncated ? " cut in half" : " deleted");
    }
}

}  // namespace
