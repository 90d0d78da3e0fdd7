// Level building and the play step: buildLevel of the generated castle and
// of a 256 x 256 map, and one fixed step of updatePlay with three ghosts
// chasing the player and 25 arrows in flight. Building uploads textures and
// compiles models, so it runs with a hidden window's GL context (under Xvfb
// in `make bench`). The generated resources/ tree is read from the build's
// game folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/ghost.h"
#include "game/weapon_crossbow.h"
#include "input/control_table.h"
#include "input/game_settings.h"
#include "platform/clock.h"
#include "platform/heap.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "scene/node.h"

namespace {

namespace fs = std::filesystem;

int g_messages = 0;  // boxes the game showed (should stay 0)

// A clock the play-step benchmark moves by hand.
class StepClock : public platform::Clock {
public:
    std::uint64_t counterFrequency() override { return 1000000; }
    std::uint64_t counter() override { return m_ticks; }
    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(m_ticks / 1000); }
    void advance(double seconds) { m_ticks += static_cast<std::uint64_t>(seconds * 1e6 + 0.5); }

private:
    std::uint64_t m_ticks = 1000;
};

// A map image, 24 bits, rows as the game reads them (bottom row first).
std::string mapTga(int width, int height, char (*cell)(int x, int y)) {
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 24;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char r = 0, g = 0, b = 0;
            switch (cell(x, y)) {
                case '.':
                    r = g = b = 255;
                    break;
                case 'Y':
                    r = g = 255;
                    break;
                case 'M':
                    r = b = 255;
                    break;
                case 'G':
                    r = g = b = 128;
                    break;
                default:
                    break;
            }
            bytes += static_cast<char>(b);
            bytes += static_cast<char>(g);
            bytes += static_cast<char>(r);
        }
    }
    return bytes;
}

// Rooms of 7 x 7 cells in four kinds (wood hall, carpet hall, low passage,
// flagstones) behind walls with a door in the middle of each side.
char castleLikeCell(int x, int y) {
    if (x == 0 || y == 0 || x == 255 || y == 255) {
        return '#';
    }
    int bx = x % 8;
    int by = y % 8;
    if (bx == 0 || by == 0) {
        return bx == 4 || by == 4 ? '.' : '#';
    }
    const char kinds[] = {'Y', 'M', '.', 'G'};
    return kinds[(x / 8 + y / 8) % 4];
}

// One open flagstone floor: arrows fly through it without meeting a ceiling.
char openFloorCell(int x, int y) {
    return x == 0 || y == 0 || x == 63 || y == 63 ? '#' : 'G';
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    if (std::FILE* file = std::fopen(path.string().c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// The program-wide objects the game needs, a GL context, and resources/
// trees: the generated one, and copies that differ only in their map.
class LevelFixture {
public:
    LevelFixture() : m_reporter(nullptr, false), m_settings(nullptr) {
        platform::keepFreedMemoryForReuse();  // as the game does at start
        platform::setMessageBoxHandler([](const platform::MessageBoxRequest&) { ++g_messages; });
        m_settings.loadControls("/nonexistent-spookhollow/control.cfg");
        hasContext = platform::startWindowSystem() &&
                     m_window.create("bench", 64, 64, false, 32) == platform::CreateResult::Ok &&
                     m_window.createContext() && m_window.makeCurrent();
        generated = fs::path(SPOOKHOLLOW_GAME_DIR);
        folder =
            fs::temp_directory_path() / ("spookhollow-bench-level-" + std::to_string(::getpid()));
        makeTree("big", mapTga(256, 256, castleLikeCell));
        makeTree("open", mapTga(64, 64, openFloorCell));
    }
    ~LevelFixture() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // A game object with what the screens load before a level, and the level
    // built from the tree in folder; null when the build failed. With
    // onlyBuildLevel, the state's clock runs for buildLevel() alone: the game
    // makes its object and loads the screens' pictures once, at start-up.
    std::unique_ptr<GameScene> build(const fs::path& tree,
                                     benchmark::State* onlyBuildLevel = nullptr) {
        fs::path previous = fs::current_path();
        fs::current_path(tree);
        if (onlyBuildLevel != nullptr) {
            onlyBuildLevel->PauseTiming();
        }
        auto scene = std::make_unique<GameScene>(window);
        scene->screens().art().instructions = scene->textures().loadTexture(
            0, false, 1, false, "resources/textures/instructions.tga");
        if (onlyBuildLevel != nullptr) {
            onlyBuildLevel->ResumeTiming();
        }
        bool built = scene->buildLevel();
        fs::current_path(previous);
        if (!built) {
            scene.reset();
        }
        return scene;
    }

    GameSettings& settings() { return m_settings; }

    StepClock clock;
    GameWindow window{clock};
    fs::path generated;
    fs::path folder;
    bool hasContext = false;

private:
    void makeTree(const char* name, const std::string& map) {
        fs::path root = folder / name / "resources";
        fs::create_directories(root / "maps");
        for (const char* sub : {"textures", "models", "fonts", "audio"}) {
            fs::create_directory_symlink(generated / "resources" / sub, root / sub);
        }
        fs::copy_file(generated / "resources" / "objects.lvl", root / "objects.lvl");
        writeBytes(root / "maps" / "castle.map", map);
    }

    ErrorReporter m_reporter;
    GameSettings m_settings;
    platform::Window m_window;
};

LevelFixture& fixture() {
    static LevelFixture instance;
    return instance;
}

void buildLevelFrom(benchmark::State& state, const fs::path& tree, bool onlyBuildLevel = true) {
    if (!fixture().hasContext) {
        state.SkipWithError("no GL context (run under Xvfb)");
        return;
    }
    std::size_t nodes = 0;
    for (auto _ : state) {
        std::unique_ptr<GameScene> scene = fixture().build(tree, onlyBuildLevel ? &state : nullptr);
        if (!scene) {
            state.SkipWithError("buildLevel failed");
            break;
        }
        nodes = scene->nodeCount();
        state.PauseTiming();
        scene.reset();
        state.ResumeTiming();
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["messages"] = g_messages;
}

void BM_BuildLevelGeneratedCastle(benchmark::State& state) {
    buildLevelFrom(state, fixture().generated);
}
BENCHMARK(BM_BuildLevelGeneratedCastle)->Unit(benchmark::kMillisecond);

// The same with a new game object and the instructions picture each time,
// as the figure before this one was measured.
void BM_NewSceneAndBuildLevelGeneratedCastle(benchmark::State& state) {
    buildLevelFrom(state, fixture().generated, false);
}
BENCHMARK(BM_NewSceneAndBuildLevelGeneratedCastle)->Unit(benchmark::kMillisecond);

// Once is enough for a figure: the root-level nodes of a map this size make
// the build slow (see the README).
void BM_BuildLevel256x256(benchmark::State& state) {
    buildLevelFrom(state, fixture().folder / "big");
}
BENCHMARK(BM_BuildLevel256x256)->Unit(benchmark::kSecond)->Iterations(1);

// The play step's subjects kept in their busy state: every second of game
// time the player, the ghosts and the arrows go back to where they started,
// so the ghosts keep chasing and the arrows keep flying over open floor.
class PlayScene {
public:
    explicit PlayScene(std::unique_ptr<GameScene> built) : scene(std::move(built)) {}

    bool prepare() {
        LevelFixture& f = fixture();
        Player& player = scene->player();
        f.window.setState(GameState::Playing);
        player.setInvertMouse(false);
        player.setView(centre, Vector3(1.0f, 0.0f, 0.0f));
        hold(ControlTable::RANGED_WEAPON, true);
        steps(60);
        if (player.getCrossbow() == nullptr || !player.isCrossbowSelected()) {
            return false;
        }
        player.getCrossbow()->addArrows(100);
        player.move(Player::Command::LookUpDown, -1.0f);  // as far up as the view goes
        hold(ControlTable::ATTACK, true);
        for (int i = 0; i < 6000 && player.getCrossbow()->flyingCount() < 25; ++i) {
            scene->mouseLook(0.01f, 0.0f);  // spread the arrows round
            steps(1);
            if (i % 100 == 99) {
                resetArrows();
            }
        }
        hold(ControlTable::ATTACK, false);
        resetArrows();
        placeGhosts();
        steps(2);
        return activeArrows() == 25;
    }

    void step() {
        scene->updatePlay();
        scene->player().addHealth(100.0f);
        if (++count % 100 == 0) {
            // How busy the last second was, just before the reset.
            chasingSum += chasingGhosts();
            arrowSum += activeArrows();
            ++samples;
            resetArrows();
            placeGhosts();
        }
    }
    double averageChasing() const { return samples > 0 ? chasingSum / samples : 0.0; }
    double averageArrows() const { return samples > 0 ? arrowSum / samples : 0.0; }

    int chasingGhosts() const {
        int chasing = 0;
        for (std::size_t i = 0; i < scene->ghosts().count(); ++i) {
            chasing += scene->ghosts().at(i)->getState() == Ghost::State::Chasing ? 1 : 0;
        }
        return chasing;
    }
    int activeArrows() const {
        WeaponCrossbow* crossbow = scene->player().getCrossbow();
        int active = 0;
        for (int i = 0; crossbow != nullptr && i < crossbow->flyingCount(); ++i) {
            Vector3 p;
            active += crossbow->flyingPosition(i, p) ? 1 : 0;
        }
        return active;
    }

    std::unique_ptr<GameScene> scene;

private:
    void hold(int action, bool down) {
        GameSettings& settings = fixture().settings();
        settings.setKeyDown(settings.controls().boundKey(action), down);
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) {
            fixture().clock.advance(0.01);
            fixture().window.beginFrame();
            scene->updatePlay();
            scene->player().addHealth(100.0f);
        }
    }
    // Back over the player's head, still flying.
    void resetArrows() {
        WeaponCrossbow* crossbow = scene->player().getCrossbow();
        for (int i = 0; crossbow != nullptr && i < crossbow->flyingCount(); ++i) {
            NodeTransform* node = crossbow->flyingArrow(i).node;
            if (node != nullptr) {
                node->m_vTranslation = Vector3(centre.x, 3.0f + 0.1f * i, centre.z);
            }
        }
    }
    // 8 units away, the player 60 degrees off each ghost's heading: it
    // notices, chases and turns toward the player.
    void placeGhosts() {
        scene->player().setPosition(centre.x, centre.y, centre.z);
        const float a = 60.0f * 3.14159265f / 180.0f;
        for (std::size_t i = 0; i < scene->ghosts().count(); ++i) {
            Ghost* ghost = scene->ghosts().at(i);
            if (!ghost->isAlive()) {
                continue;
            }
            Vector3 h = ghost->getDirection();
            Vector3 toPlayer(h.x * std::cos(a) - h.z * std::sin(a), 0.0f,
                             h.x * std::sin(a) + h.z * std::cos(a));
            ghost->setPosition(centre.x - 8.0f * toPlayer.x, 0.0f, centre.z - 8.0f * toPlayer.z);
        }
    }

    const Vector3 centre{32.0f * 6.0f, 1.8f, 32.0f * 6.0f};
    long count = 0;
    double chasingSum = 0.0;
    double arrowSum = 0.0;
    int samples = 0;
};

void BM_UpdatePlayThreeChasingGhosts25Arrows(benchmark::State& state) {
    if (!fixture().hasContext) {
        state.SkipWithError("no GL context (run under Xvfb)");
        return;
    }
    PlayScene play(fixture().build(fixture().folder / "open"));
    if (!play.scene || !play.prepare()) {
        state.SkipWithError("could not set the play scene up");
        return;
    }
    for (auto _ : state) {
        play.step();
    }
    state.counters["chasingGhosts"] = play.averageChasing();
    state.counters["arrowsInFlight"] = play.averageArrows();
    state.counters["messages"] = g_messages;
}
BENCHMARK(BM_UpdatePlayThreeChasingGhosts25Arrows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
