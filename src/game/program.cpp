#include "game/program.h"

#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/command_line.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
#include "audio/audio_manager.h"
#include "input/game_settings.h"
#include "input/input_router.h"
#include "platform/instance_guard.h"
#include "platform/message_box.h"
#include "platform/window.h"

namespace {

const char* const TITLE = "Spookhollow";
const char* const VERSION = "Version 1.04";

void showHelp() {
    platform::showMessageBox(TITLE, std::string(TITLE) + "\n" + VERSION,
                             platform::MessageIcon::Information);
}

void refuseSecondCopy() {
    platform::showMessageBox("Application Already Running",
                             "Application has already been\nstarted in a different window.",
                             platform::MessageIcon::Warning);
}

}  // namespace

int runProgram(int argc, const char* const* argv) {
    CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.showHelp) {
        showHelp();
        return 0;
    }

    platform::InstanceGuard instanceGuard;
    if (!instanceGuard.acquire(TITLE)) {
        refuseSecondCopy();
        return 1;
    }

    std::srand(static_cast<unsigned>(std::time(nullptr)));

    auto reporter = std::make_unique<ErrorReporter>("ErrorLog", true);
    auto settings = std::make_unique<GameSettings>("save/config.ini");
    if (!settings->loadControls("save/control.cfg")) {
        reporter->setError(ERROR_GENERAL, "Can not load control action table. Using defaults.");
        reporter->showError();
        reporter->setError(ERROR_NONE, "None");
    }

    auto audio = std::make_unique<AudioManager>();
    audio->init();
    audio->createStream(0, "resources/audio/intro.ogg", false, 40960, 3);

    auto window = std::make_unique<GameWindow>();
    InputRouter inputRouter;
    window->setInputListener(&inputRouter);
    WindowParams params;
    params.title = TITLE;
    params.width = settings->screenWidth;
    params.height = settings->screenHeight;
    params.windowed = !commandLine.fullscreen;
    params.color32 = true;
    params.version = VERSION;

    int exitCode = 0;
    if (!window->create(params)) {
        reporter->showError();
        exitCode = -1;
    } else {
        audio->playStream(0);
        window->run();
        settings->saveSettings();
        platform::showCursor(true);
        if (reporter->getErrorKind() != ERROR_NONE) {
            reporter->showError();
        }
    }

    // Shutdown in reverse order of creation; audio shuts down first so no
    // stream is refilled while the rest goes away.
    audio->shutdown();
    instanceGuard.release();
    window.reset();
    audio.reset();
    settings.reset();
    reporter.reset();
    return exitCode;
}
