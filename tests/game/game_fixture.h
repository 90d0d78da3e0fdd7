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
#include "game/ghost_set.h"
#include "game/level.h"
#include "input/game_settings.h"
#include "level_files.h"
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
    // The level's grid from map rows (see level_files.h), read from a map
    // image in the working folder as a level reads it.
    void useMap(const std::vector<std::string>& rows, float cellSize = 6.0f,
                float wallHeight = 4.0f) {
        static int serial = 0;
        // A new name each time: the texture manager shares a file loaded before.
        std::string name = "map" + std::to_string(++serial) + ".map";
        writeFile(name, level_files::mapImage(rows));
        TextureID map = scene->textures().loadTexture(1, false, 1, 1, name);
        ASSERT_NE(map.id, 0u);
        scene->level().setMap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()),
                              textureColours(scene->textures(), map));
        scene->level().setCells(cellSize, wallHeight);
    }
    // A ghost of the level that has appeared, standing at (x, 0, z) facing
    // +Z. Index 0 starts a new set of ghosts; the others join it in order.
    Ghost& ghostAt(std::size_t index, NodeTransform* node, float x, float z) {
        GhostSet& ghosts = scene->ghosts();
        if (index == 0) {
            ghosts.start(scene->level().worldWidth(), scene->level().worldDepth());
        }
        ghosts.add(std::make_unique<Ghost>(node));
        Ghost& ghost = *ghosts.at(ghosts.count() - 1);
        ghost.update(Vector3(-100.0f, 0.0f, -100.0f), ghosts.world());
        EXPECT_TRUE(ghost.isAlive());
        ghost.setPosition(x, 0.0f, z);
        ghost.setHeading(0.0f);
        return ghost;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes.boxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
};
