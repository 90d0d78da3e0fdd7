#include "game/program.h"

#include <cstdlib>
#include <ctime>
#include <memory>

#include "app/app_settings.h"
#include "app/command_line.h"
#include "app/error_reporter.h"
#include "app/game_window.h"
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
    auto settings = std::make_unique<AppSettings>();
    // The settings file and the control table are loaded here, and the audio
    // manager with the intro stream is started here, before the window exists.

    auto window = std::make_unique<GameWindow>();
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
        // The intro music starts here, as the loop begins.
        window->run();
        // Settings and bindings are saved here.
        platform::showCursor(true);
        if (reporter->getErrorKind() != ERROR_NONE) {
            reporter->showError();
        }
    }

    // Shutdown in reverse order of creation (audio shuts down first).
    instanceGuard.release();
    window.reset();
    settings.reset();
    reporter.reset();
    return exitCode;
}
