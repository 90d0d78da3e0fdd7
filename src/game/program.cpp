#include "game/program.h"

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/data_paths.h"
#include "app/demo_session.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "game/game_scene.h"
#include "game/map_check.h"
#include "game/sound_slots.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "platform/heap.h"
#include "platform/instance_guard.h"
#include "platform/message_box.h"
#include "platform/pad.h"
#include "platform/sound_logging.h"
#include "platform/window.h"
#include "scene/random.h"

namespace {

const char* const TITLE = "Spookhollow";
const char* const VERSION = "Version 1.04";

// The long-lived objects in the order start-up creates them; shutDown
// destroys them in reverse.
struct Program {
    InputRouter inputRouter;  // first, so it outlives the window that points to it
    std::unique_ptr<ErrorReporter> reporter;
    std::unique_ptr<GameSettings> settings;
    std::unique_ptr<AudioManager> audio;
    std::unique_ptr<GameWindow> window;
    DataPaths paths;
};

void showHelp() {
    platform::showMessageBox(TITLE, std::string(TITLE) + "\n" + VERSION,
                             platform::MessageIcon::Information);
}

// "--help" and "--version" answer on standard output, where terminals and
// packaging tools look; "-h" keeps its message box.
void printUsage() {
    std::printf(
        "Usage: spookhollow [options]\n"
        "  -f          play fullscreen (any option starting with -f)\n"
        "  -h, /?      show the title and version in a message box\n"
        "  --help      show this help\n"
        "  --version   show the version\n"
        "  --record FILE    record the game played into FILE\n"
        "  --playdemo FILE  play back a recorded game\n"
        "  --timedemo FILE  play back a recorded game as fast as it can be drawn\n"
        "                   and print the frame times\n"
        "  --no-intro       start at the main menu\n"
        "  --trace FILE     write one line per thing the game does (screens shown,\n"
        "                   level built, files refused) to FILE, - for the terminal\n"
        "  --size WxH       draw at W x H pixels (the window, or with -f the\n"
        "                   fullscreen resolution), also for --playdemo and\n"
        "                   --timedemo, e.g. --size 1920x1080\n"
        "  --map FILE       play the map image FILE (PNG or TGA) instead of the castle\n"
        "  --check-map FILE say what the game makes of a map image, without a window;\n"
        "                   exits 0 when it can be played\n"
        "Alt+Enter switches between the window and fullscreen.\n");
}

void printVersion() {
    std::printf("%s %s\n", TITLE, VERSION);
}

// The whole report on standard output; a refusal also on standard error,
// where scripts look for what went wrong.
int checkMapCommand(const std::string& file) {
    const MapReport report = checkMapFile(file);
    std::fputs(describeMap(report).c_str(), stdout);
    std::fflush(stdout);
    if (!report.playable()) {
        std::fprintf(stderr, "%s\n", report.refusal.c_str());
        return 1;
    }
    return 0;
}

void refuseSecondCopy() {
    platform::showMessageBox("Application Already Running",
                             "Application has already been\nstarted in a different window.",
                             platform::MessageIcon::Warning);
}

// The reporter comes first so everything after it can report. An installed
// game logs into the player's folder; a name too long for the reporter would
// be cut into another file, so such a game runs without a log.
void startReporting(Program& program) {
    std::string failure;
    bool pathsReady = applyDataPaths(program.paths, failure);
    std::string logName = program.paths.logName();
    bool fits = logName.size() + 4 < ErrorReporter::LOG_NAME_SIZE;
    program.reporter = std::make_unique<ErrorReporter>(fits ? logName.c_str() : nullptr, fits);
    if (!pathsReady) {
        reportShowReset(RESET_NONE, ERROR_GENERAL, "%s", failure.c_str());
    }
}

// A trace that cannot be written is said once and the game goes on without.
void startTrace(const CommandLine& commandLine) {
    if (!commandLine.traceError.empty()) {
        reportShowReset(RESET_NONE, ERROR_GENERAL, "%s", commandLine.traceError.c_str());
    } else if (!commandLine.traceFile.empty() &&
               !errorReporter()->startTrace(commandLine.traceFile)) {
        reportShowReset(RESET_NONE, ERROR_GENERAL, "Can not write the trace to %s.",
                        commandLine.traceFile.c_str());
    }
}

// A missing or unreadable control file is not fatal: the defaults serve.
void loadSettings(Program& program) {
    program.settings = std::make_unique<GameSettings>(program.paths.savePath("config.ini").c_str());
    if (!program.settings->loadControls(program.paths.savePath("control.cfg").c_str())) {
        reportShowReset(RESET_NONE, ERROR_GENERAL,
                        "Can not load control action table. Using defaults.");
    }
    // A damaged file has said why in the log already; the defaults serve.
    program.settings->loadPadControls(program.paths.savePath("pad.cfg").c_str());
}

// Pads are optional: without the controller subsystem the game plays on
// with keyboard and mouse. A mapping file of the player's that cannot be
// used is worth a line in the log, not a box.
void openGamePads(Program& program) {
    std::string logLine;
    if (!platform::openPads(program.paths.savePath("gamecontrollerdb.txt"), &logLine)) {
        logMessage("Game controllers are not available; playing with keyboard and mouse.");
    }
    if (!logLine.empty()) {
        logMessage("%s", logLine.c_str());
    }
    program.settings->rumbleOutput = [](int pad, float strength, int milliseconds) {
        platform::rumblePad(pad, strength, milliseconds);
    };
}

void startAudio(Program& program) {
    platform::quietSoundLibraryLogging();
    program.audio = std::make_unique<AudioManager>();
    program.audio->init();
    program.audio->createStream(slotOf(Music::Intro), "resources/audio/intro.ogg", false, 40960, 3);
}

// The window and what it calls into: the input router for the events it does
// not handle itself and, at the start of the main loop, the game object.
// A map named on the command line is played every game; otherwise Start
// offers the player's maps folder. Not while a game is recorded or
// replayed: a recording holds only input, so a choice made in it would
// replay on whatever the folder holds then.
void connectWindow(Program& program, const std::string& mapFile, bool offerMaps) {
    program.window = std::make_unique<GameWindow>();
    program.window->setInputListener(&program.inputRouter);
    InputRouter& router = program.inputRouter;
    const DataPaths& paths = program.paths;
    program.window->setSceneFactory([&router, &paths, mapFile, offerMaps](GameWindow& window) {
        auto scene = std::make_unique<GameScene>(window);
        if (!mapFile.empty()) {
            scene->maps().playOnly(mapFile);
        } else if (offerMaps) {
            scene->maps().offerFolder(paths.mapsFolder());
        }
        scene->connectInput(router.hooks());
        if (paths.installed) {
            // Before the screens are set up, which load the table and hook its refresh.
            scene->highScores() = HighScoreTable(paths.savePath("data.dat"));
        }
        return std::unique_ptr<FrameHandler>(std::move(scene));
    });
}

bool openWindow(Program& program, const CommandLine& commandLine, const DemoSession& demo) {
    WindowParams params;
    params.title = TITLE;
    params.width = program.settings->windowWidth;
    params.height = program.settings->windowHeight;
    params.fullscreenWidth = program.settings->screenWidth;
    params.fullscreenHeight = program.settings->screenHeight;
    params.windowed = !commandLine.fullscreen && !program.settings->fullscreen;
    params.colour32 = true;
    params.version = VERSION;
    demo.applyTo(params);
    return program.window->create(params);
}

// Plays until quit, then saves and shows what the audio thread posted
// since the last frame and what a loader left stored.
void runMainLoop(Program& program, bool introMusic) {
    if (introMusic) {
        playMusic(Music::Intro);
    }
    program.window->run();
    program.settings->saveSettings();
    platform::showCursor(true);
    showPendingErrors();
    if (program.reporter->getErrorKind() != ERROR_NONE) {
        showAndReset(RESET_NONE);
    }
}

// What a recorded game came to, beside the loop's own counts.
std::string demoFacts(Program& program) {
    auto* scene = dynamic_cast<GameScene*>(program.window->scene());
    if (scene == nullptr) {
        return "";
    }
    const Player& player = scene->player();
    Vector3 at = player.getPosition();
    Vector3 ahead = player.getDirection();
    char facts[160];
    std::snprintf(facts, sizeof facts,
                  "score %d, health %d, energy %d, at %.3f %.3f %.3f, facing %.3f %.3f %.3f",
                  player.getScore(), player.getHealth(), player.getEnergy(), at.x, at.y, at.z,
                  ahead.x, ahead.y, ahead.z);
    return facts;
}

// Audio shuts down first so no stream is refilled while the rest goes away.
void shutDown(Program& program, platform::InstanceGuard& instanceGuard) {
    program.audio->shutdown();
    platform::closePads();
    instanceGuard.release();
    program.window.reset();
    program.audio.reset();
    program.settings.reset();
    program.reporter.reset();
}

}  // namespace

int runProgram(int argc, const char* const* argv) {
    CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.showHelp) {
        showHelp();
        return 0;
    }
    if (commandLine.printUsage) {
        printUsage();
        return 0;
    }
    if (commandLine.printVersion) {
        printVersion();
        return 0;
    }
    if (!commandLine.checkMapFile.empty() && commandLine.mapError.empty()) {
        return checkMapCommand(commandLine.checkMapFile);
    }
    // Checked, and made absolute, before start-up moves into the game's
    // data folder, which a name relative to the terminal's folder would
    // then miss; the level reads it again when it is built.
    MapReport mapCheck;
    std::string mapFile;
    if (!commandLine.mapFile.empty()) {
        mapCheck = checkMapFile(commandLine.mapFile);
        std::error_code error;
        std::filesystem::path absolute = std::filesystem::absolute(commandLine.mapFile, error);
        mapFile = error ? commandLine.mapFile : absolute.string();
    }

    platform::keepFreedMemoryForReuse();
    platform::InstanceGuard instanceGuard;
    if (!instanceGuard.acquire(TITLE)) {
        refuseSecondCopy();
        return 1;
    }

    DemoSession demo(commandLine, static_cast<std::uint32_t>(std::time(nullptr)));
    seedRandom(demo.seed());

    Program program;
    program.paths = resolveDataPaths();
    startReporting(program);
    startTrace(commandLine);
    const std::string& startError = !demo.failure().empty()          ? demo.failure()
                                    : !commandLine.sizeError.empty() ? commandLine.sizeError
                                    : !commandLine.mapError.empty()  ? commandLine.mapError
                                                                     : mapCheck.refusal;
    if (!startError.empty()) {
        reportShowReset(RESET_NONE, ERROR_GENERAL, "%s", startError.c_str());
        return 1;
    }
    if (demo.active()) {
        program.settings = std::make_unique<GameSettings>(nullptr);
    } else {
        loadSettings(program);
    }
    openGamePads(program);
    startAudio(program);
    connectWindow(program, mapFile, !demo.active());

    int exitCode = 0;
    if (openWindow(program, commandLine, demo)) {
        demo.attach(*program.window);
        const bool skipIntro = commandLine.skipIntro && !demo.active();
        program.window->setSkipIntro(skipIntro);
        runMainLoop(program, !skipIntro);
        if (!demo.finish(*program.window, demoFacts(program))) {
            if (program.reporter->getErrorKind() != ERROR_NONE) {
                showAndReset(RESET_NONE);
            }
            exitCode = 1;
        }
    } else {
        showAndReset(RESET_NONE);
        exitCode = -1;
    }
    shutDown(program, instanceGuard);
    return exitCode;
}
