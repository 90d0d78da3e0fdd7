// A monkey soak: a seeded random player plays whole games in the real
// executable through real X input (the same way a player's keys, mouse moves,
// clicks and wheel reach the game), from the main menu through death, the
// name entry and back, for SPOOKHOLLOW_SOAK_SECONDS. The game's resident
// memory is sampled every 10 s; at the end it must still run, close
// normally, never have ended by a signal, left no sanitizer report, and its
// memory must not have grown after the first game.
//
// The sanitizer build runs it for two minutes in `make test`; `make soak`
// runs it for as long as asked in the normal build (the sample log is
// tests/soak/soak_artifacts/soak_memory.txt). Without the variable the normal build
// skips it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "e2e/e2e_scratch_game.h"
#include "soak/soak_display.h"
#include "support/game_trace.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace e2e;

long residentKilobytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

double soakSeconds() {
    if (const char* text = std::getenv("SPOOKHOLLOW_SOAK_SECONDS")) {
        return std::atof(text);
    }
#if defined(__SANITIZE_ADDRESS__)
    return 120.0;
#else
    return 0.0;
#endif
}

// The player: what it does is chosen from the seed alone, so a run that
// finds something can be played again.
class Monkey {
public:
    Monkey(const TestDisplay& display, unsigned seed) : m_display(display), m_random(seed) {}

    // From the main menu, or from the high score table a finished game's
    // name entry leads to: Escape leaves the table, Start begins the next
    // game. Each step waits for the game to show it; false when it did not.
    bool startGame(GameTrace& trace, bool fromTable) {
        constexpr double DEADLINE = 120.0;
        m_display.pointAtWindow(512, 300);
        if (fromTable) {
            if (!trace.waitFor("state HighScores", DEADLINE)) {
                return false;
            }
            // Held until the main menu shows (Escape does nothing there).
            m_display.xdotool("keydown Escape");
            const bool left = trace.waitFor("state MainMenu", DEADLINE);
            m_display.xdotool("keyup Escape");
            if (!left) {
                return false;
            }
        }
        m_display.click(START_X, START_Y);
        return trace.waitFor("state Loading", DEADLINE) && trace.waitFor("state Ready", DEADLINE);
    }

    // One random act of play. Escape is left out (it pauses, and the pause
    // menu's buttons would end the game early), and the pointer stays over
    // the window, whose keyboard focus follows it.
    void act() {
        static const char* const KEYS[] = {"w", "a", "s", "d", "1", "2", "space", "Up", "Left"};
        switch (pick(10)) {
            case 0:
            case 1:
            case 2: {  // walk or strafe for a while
                const std::string key = KEYS[pick(4)];
                m_display.xdotool("keydown " + key);
                pause(0.1 + pick(12) * 0.1);
                m_display.xdotool("keyup " + key);
                break;
            }
            case 3:
                m_display.key(KEYS[pick(9)]);
                break;
            case 4:
            case 5:
                m_display.pointAtWindow(200 + pick(624), 150 + pick(468));
                break;
            case 6:  // attack, or start play on the ready screen
                m_display.xdotool("click 1");
                break;
            case 7:
                m_display.xdotool(std::string("click ") + (pick(2) == 0 ? "4" : "5"));
                break;
            case 8: {  // a name for the table should the game be over, then Enter
                std::string name;
                for (int i = 1 + pick(6); i > 0; --i) {
                    name += static_cast<char>('a' + pick(26));
                }
                m_display.xdotool("type --delay 120 " + name);
                m_display.key("Return");
                break;
            }
            default:
                pause(0.2 + pick(10) * 0.05);
                break;
        }
    }

private:
    int pick(int count) { return static_cast<int>(m_random() % static_cast<unsigned>(count)); }

    const TestDisplay& m_display;
    std::mt19937 m_random;
};

TEST(Soak, AMonkeyPlaysWholeGamesWithoutCrashLeakOrSanitizerReport) {
    const double seconds = soakSeconds();
    if (seconds <= 0.0) {
        GTEST_SKIP() << "set SPOOKHOLLOW_SOAK_SECONDS (make soak) to run it in this build";
    }
    e2e::ScratchGame game;
    if (!game.hasResources() || std::system("command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "needs the generated resources and xdotool";
    }
    TestDisplay display;
    ASSERT_TRUE(display.ready()) << "no X display";
    const char* seedText = std::getenv("SPOOKHOLLOW_SOAK_SEED");
    const unsigned seed = seedText != nullptr ? static_cast<unsigned>(std::atol(seedText)) : 14u;

    std::unique_ptr<ChildProcess> process =
        startGameOn(display, game.path(), {"--no-intro", "--trace", "-"});
    GameTrace trace(*process);
    ASSERT_TRUE(trace.waitFor("state MainMenu", 120)) << process->standardError();
    display.pointAtWindow(512, 300);

    Monkey monkey(display, seed);
    const std::string scores = game.file("save/data.dat");
    auto scoresStamp = [&] {
        struct stat info {};
        return ::stat(scores.c_str(), &info) == 0
                   ? info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec
                   : 0LL;
    };
    long long lastStamp = scoresStamp();
    int games = 0;
    long afterFirstGame = -1;
    std::vector<std::pair<double, long>> samples;
    const auto began = Clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - began).count(); };
    double nextSample = 0.0;

    ASSERT_TRUE(monkey.startGame(trace, false)) << trace.text();
    while (elapsed() < seconds && process->running()) {
        monkey.act();
        if (elapsed() >= nextSample) {
            samples.emplace_back(elapsed(), residentKilobytes(process->pid()));
            nextSample += 10.0;
        }
        // The table is written when a finished game's name is entered.
        const long long stamp = scoresStamp();
        if (stamp != lastStamp) {
            lastStamp = stamp;
            ++games;
            if (games == 1) {
                afterFirstGame = residentKilobytes(process->pid());
            }
            ASSERT_TRUE(monkey.startGame(trace, true)) << trace.text();
        }
    }
    const bool survived = process->running();
    const long finalKilobytes = residentKilobytes(process->pid());
    std::filesystem::create_directories("soak_artifacts");
    display.screenshot("soak_artifacts/soak_end.png");
    if (survived) {
        ::kill(process->pid(), SIGTERM);  // a quit request, as from the desktop
    }
    const bool ended = process->waitForExit(60);
    if (!ended) {
        process->kill();
        process->waitForExit(10);
    }

    std::ofstream log("soak_artifacts/soak_memory.txt");
    log << "seed " << seed << ", " << seconds << " s, " << games << " games finished\n"
        << "seconds resident_kB\n";
    for (const auto& [at, kilobytes] : samples) {
        log << static_cast<int>(at) << ' ' << kilobytes << '\n';
    }
    std::printf(
        "soak: seed %u, %.0f s, %d games, resident %ld kB after the first game, %ld kB at "
        "the end\n",
        seed, seconds, games, afterFirstGame, finalKilobytes);

    const std::string errors = process->standardError();
    EXPECT_TRUE(survived) << "the game ended during the soak:\n" << errors;
    EXPECT_TRUE(ended) << "the game did not end on a quit request";
    EXPECT_NE(process->exitCode(), -1) << "ended by a signal:\n" << errors;
    EXPECT_EQ(errors.find("AddressSanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error:"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("LeakSanitizer"), std::string::npos) << errors;
    // Debug builds log every OpenGL error a frame left behind.
    const std::string logged = readFile(game.file("ErrorLog.txt"));
    EXPECT_EQ(logged.find("OpenGL error"), std::string::npos) << logged;
    // After the first game everything a game needs has been made once:
    // later games may not keep adding to it.
    if (afterFirstGame > 0 && games >= 2) {
        EXPECT_LT(finalKilobytes, afterFirstGame + afterFirstGame / 5 + 20 * 1024)
            << "resident memory grew from " << afterFirstGame << " kB to " << finalKilobytes
            << " kB over " << games << " games";
    }
}

}  // namespace
