#include "app/demo_session.h"

#include <cstdio>
#include <filesystem>

#include "app/error_reporter.h"
#include "app/game_window.h"

DemoSession::DemoSession(const CommandLine& commandLine, std::uint32_t clockSeed)
    : m_mode(commandLine.demoMode),
      m_seed(clockSeed),
      m_width(commandLine.width),
      m_height(commandLine.height),
      m_failure(commandLine.demoError) {
    if (!m_failure.empty()) {
        m_mode = CommandLine::DemoMode::None;
        return;
    }
    if (m_mode == CommandLine::DemoMode::Record) {
        std::error_code error;
        std::filesystem::path path = std::filesystem::absolute(commandLine.demoFile, error);
        m_recorder =
            std::make_unique<DemoRecorder>(error ? commandLine.demoFile : path.string(), m_seed);
    } else if (m_mode != CommandLine::DemoMode::None) {
        Demo demo;
        if (!loadDemo(commandLine.demoFile, demo, m_failure)) {
            m_mode = CommandLine::DemoMode::None;
            return;
        }
        m_seed = demo.seed;
        m_player =
            std::make_unique<DemoPlayer>(std::move(demo), m_mode == CommandLine::DemoMode::Time
                                                              ? DemoPlayer::Pace::AsFastAsPossible
                                                              : DemoPlayer::Pace::Recorded);
    }
}

void DemoSession::applyTo(WindowParams& params) const {
    if (m_player != nullptr) {
        const DemoWindow& recorded = m_player->demo().window;
        params.width = recorded.width;
        params.height = recorded.height;
        params.windowed = !recorded.fullscreen;
        if (recorded.fullscreen) {
            params.fullscreenWidth = recorded.width;
            params.fullscreenHeight = recorded.height;
        }
    }
    if (m_width > 0 && m_height > 0) {
        params.width = m_width;
        params.height = m_height;
        params.fullscreenWidth = m_width;
        params.fullscreenHeight = m_height;
        params.fitToDisplay = false;
    }
}

void DemoSession::attach(GameWindow& window) {
    window.setDemoRecorder(m_recorder.get());
    window.setDemoPlayer(m_player.get());
    if (m_mode == CommandLine::DemoMode::Time) {
        window.setSwapInterval(false);
    }
}

bool DemoSession::finish(const GameWindow& window, const std::string& gameFacts) {
    if (!active()) {
        return true;
    }
    std::printf("%s\n", formatDemoCounts(window.frameCount(), window.playStepCount(),
                                         window.gameOverFrame(), gameFacts)
                            .c_str());
    if (m_mode == CommandLine::DemoMode::Time) {
        std::printf("%s\n", formatDemoTimings(m_player->timings()).c_str());
        std::printf("%s\n", formatDemoStartup(m_player->startup()).c_str());
        std::printf("%s\n", formatDemoTimingsByState(m_player->timingsByState()).c_str());
    }
    std::fflush(stdout);
    // A replay that could not start (its window could not be had) has
    // already said why; it is no success.
    if (m_player != nullptr && window.frameCount() == 0 && !m_player->demo().frames.empty()) {
        return false;
    }
    if (m_recorder != nullptr) {
        std::string reason;
        if (!m_recorder->save(reason)) {
            reportError(ERROR_GENERAL, "%s", reason.c_str());
            return false;
        }
    }
    return true;
}

std::string formatDemoCounts(long frames, long playSteps, long gameOverFrame,
                             const std::string& gameFacts) {
    char line[160];
    std::snprintf(line, sizeof line, "demo: frames %ld, play steps %ld, game over frame %ld",
                  frames, playSteps, gameOverFrame);
    return gameFacts.empty() ? std::string(line) : std::string(line) + ", " + gameFacts;
}

std::string formatDemoStartup(const DemoStartup& startup) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "timedemo start-up: first frame %.1f ms, Start to ready %.1f ms, "
                  "first play frame %.1f ms",
                  startup.firstFrameMs, startup.startToReadyMs, startup.firstPlayFrameMs);
    return line;
}

std::string formatDemoTimingsByState(
    const std::vector<std::pair<GameState, DemoTimings>>& byState) {
    std::string line = "timedemo by screen:";
    const char* separator = " ";
    for (const auto& [state, timings] : byState) {
        char part[80];
        std::snprintf(part, sizeof part, "%s%s %zu frames %.2f ms", separator, stateName(state),
                      timings.frames, timings.medianMs);
        line += part;
        separator = ", ";
    }
    return line;
}

std::string formatDemoTimings(const DemoTimings& timings) {
    char line[200];
    std::snprintf(line, sizeof line,
                  "timedemo: frames %zu, median %.2f ms, 99th percentile %.2f ms, average %.1f fps",
                  timings.frames, timings.medianMs, timings.percentile99Ms, timings.averageFps);
    return line;
}
