#pragma once
// The program-wide objects a game object needs, without a window: a quiet
// error reporter whose boxes are recorded, default settings, a window object
// on a fake clock, and the game object itself.
#include <memory>
#include <string>
#include <vector>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "input/game_settings.h"
#include "support/fake_clock.h"
#include "support/message_box_recorder.h"

struct GameFixture {
    MessageBoxRecorder boxes;
    ErrorReporter reporter{"ErrorLog.txt", false};
    GameSettings settings{nullptr};
    FakeClock clock;
    GameWindow window{clock};
    std::unique_ptr<GameScene> scene = std::make_unique<GameScene>(window);

    // The default key bindings (no bindings file is read or written).
    GameFixture() { settings.loadControls("/nonexistent-spookhollow/control.cfg"); }

    // Holds or releases the key bound to a control action.
    void hold(int action, bool down) {
        settings.setKeyDown(settings.controls().boundKey(action), down);
    }
    // Runs the game clock on by the given time (frames of the main loop do this).
    void advanceTime(double seconds) {
        clock.advanceSeconds(seconds);
        window.beginFrame();
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
};
