#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/demo_player.h"
#include "app/demo_recorder.h"

class GameWindow;
struct WindowParams;

// What start-up does for "--record", "--playdemo" and "--timedemo": chooses
// the random seed (the clock's, or the recorded one), plays in the recorded
// window, hands the recorder or player to the main loop, and afterwards saves
// the recording and prints what the game came to.
//
// A recorded game runs with the default settings and controls, so that it
// plays the same on any machine whatever its player has set up.
class DemoSession {
public:
    // Reads the demo to play at once, before anything changes the working
    // folder; a file given to record is kept by its absolute name.
    DemoSession(const CommandLine& commandLine, std::uint32_t clockSeed);

    bool active() const { return m_mode != CommandLine::DemoMode::None; }
    bool replaying() const { return m_player != nullptr; }
    // Empty when the options and the file are good; else what to tell the player.
    const std::string& failure() const { return m_failure; }
    std::uint32_t seed() const { return m_seed; }

    // The recorded window in place of the configured one; "--size" (for any
    // game, recorded or not) in place of either.
    void applyTo(WindowParams& params) const;
    void attach(GameWindow& window);
    // After the main loop: prints one line of counts ending with gameFacts
    // (and for a timed replay the timings and start-up milestones), and
    // saves a recording. False when the recording cannot be saved (the
    // reason is then stored) or a replay never got to its first frame.
    bool finish(const GameWindow& window, const std::string& gameFacts);

private:
    CommandLine::DemoMode m_mode = CommandLine::DemoMode::None;
    std::uint32_t m_seed = 0;
    int m_width = 0;  // "--size", 0 when not given
    int m_height = 0;
    std::string m_failure;
    std::unique_ptr<DemoRecorder> m_recorder;
    std::unique_ptr<DemoPlayer> m_player;
};

// The lines finish() prints, for whoever reads them back.
std::string formatDemoCounts(long frames, long playSteps, long gameOverFrame,
                             const std::string& gameFacts);
std::string formatDemoTimings(const DemoTimings& timings);
std::string formatDemoStartup(const DemoStartup& startup);
// "timedemo by screen: Intro 816 frames 1.40 ms, ..." with each screen's
// median frame.
std::string formatDemoTimingsByState(const std::vector<std::pair<GameState, DemoTimings>>& byState);
