// The fixed play step on a small map: movement through the control actions,
// footsteps, ghost damage with its heartbeat and game-over thresholds.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <filesystem>

#include "audio/audio_manager.h"
#include "game/ghost.h"
#include "game_fixture.h"
#include "input/control_table.h"
#include "level_files.h"
#include "scene/node.h"
#include "support/temp_dir.h"

namespace {

constexpr float EYE = 1.8f;

class PlayStepTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    NodeTransform ghostNodes[2];
    GameFixture game;
    GameScene& scene = *game.scene;
    Player& player = scene.player();

    // A 7 x 5 hall walled all round; the player stands in the middle of
    // cell (3, 2), looking along +X.
    void SetUp() override {
        game.useMap({"#######", "#.....#", "#.....#", "#.....#", "#######"});
        player.setSpeeds(20.0f, 3.0f);
        player.setView(Vector3(18.0f, EYE, 12.0f), Vector3(1.0f, 0.0f, 0.0f));
        game.window.setState(GameState::Playing);
    }

    void steps(int count) {
        for (int i = 0; i < count; ++i) {
            scene.updatePlay();
        }
    }
    // A ghost that has appeared, put down at (x, 0, z).
    Ghost& ghostAt(std::size_t index, float x, float z) {
        game.advanceTime(0.5);
        return game.ghostAt(index, &ghostNodes[index], x, z);
    }
    // The pad's stick as the router hands its events on.
    void pushStick(platform::PadAxis axis, int value) {
        platform::Event event;
        event.pad = 0;
        event.type = platform::EventType::PadAdded;
        game.settings.pad().handle(event);
        event.type = platform::EventType::PadAxisMoved;
        event.padAxis = axis;
        event.axisValue = value;
        game.settings.pad().handle(event);
    }
    void setHealth(float health) {
        player.addHealth(-100.0f);
        player.addHealth(health);
    }
};

TEST_F(PlayStepTest, OneSecondOfMoveForwardCoversTenUnits) {
    game.hold(ControlTable::MOVE_FORWARD, true);
    steps(50);
    // Looking up changes nothing about the pace.
    scene.mouseLook(0.0f, -0.1f);
    steps(50);
    EXPECT_NEAR(player.getPosition().x, 28.0f, 1e-3f);
    EXPECT_NEAR(player.getPosition().z, 12.0f, 1e-4f);
    EXPECT_TRUE(scene.play().footstepsPlaying());
}

// The left stick walks as far as it is pushed beyond its dead zone (raw
// 19661 is 0.6 of the travel: half-way from the dead zone's edge), never
// faster than a key; looking along +X, right is +Z.
TEST_F(PlayStepTest, PadStickWalksInProportionToThePush) {
    struct Case {
        int x, y;
        float dx, dz;
    };
    const Case cases[] = {
        {0, -32767, 5.0f, 0.0f}, {0, -19661, 2.5f, 0.0f}, {0, 32767, -5.0f, 0.0f},
        {32767, 0, 0.0f, 5.0f},  {0, -5000, 0.0f, 0.0f},  {32767, -32767, 3.5355f, 3.5355f},
    };
    for (const Case& c : cases) {
        player.setView(Vector3(18.0f, EYE, 12.0f), Vector3(1.0f, 0.0f, 0.0f));
        pushStick(platform::PadAxis::LeftX, c.x);
        pushStick(platform::PadAxis::LeftY, c.y);
        steps(50);
        EXPECT_NEAR(player.getPosition().x - 18.0f, c.dx, 0.01f) << c.x << " " << c.y;
        EXPECT_NEAR(player.getPosition().z - 12.0f, c.dz, 0.01f) << c.x << " " << c.y;
        EXPECT_EQ(scene.play().footstepsPlaying(), c.dx != 0.0f || c.dz != 0.0f);
    }
    // Held with a key, the stick adds nothing beyond the key's full speed.
    player.setView(Vector3(18.0f, EYE, 12.0f), Vector3(1.0f, 0.0f, 0.0f));
    pushStick(platform::PadAxis::LeftX, 0);
    pushStick(platform::PadAxis::LeftY, -32767);
    game.hold(ControlTable::MOVE_FORWARD, true);
    steps(50);
    EXPECT_NEAR(player.getPosition().x, 23.0f, 0.01f);
}

// The right stick turns at the look speed (degrees a second at full push)
// and pitches the way the mouse does.
TEST_F(PlayStepTest, PadStickTurnsAtTheLookSpeedAndPitchesLikeTheMouse) {
    pushStick(platform::PadAxis::RightX, 32767);
    steps(20);  // 0.2 s at 150 degrees a second
    Vector3 d = player.getTarget().subtract(player.getPosition());
    EXPECT_NEAR(std::atan2(d.z, d.x), 30.0f * 3.14159265f / 180.0f, 1e-3f);
    pushStick(platform::PadAxis::RightX, 0);

    const float level = player.getTarget().y;
    pushStick(platform::PadAxis::RightY, -32767);  // pushed away: up
    steps(1);
    const float byStick = player.getTarget().y - level;
    pushStick(platform::PadAxis::RightY, 0);
    const float before = player.getTarget().y;
    scene.mouseLook(0.0f, -0.01f);  // the mouse moved away from the player
    const float byMouse = player.getTarget().y - before;
    EXPECT_NE(byStick, 0.0f);
    EXPECT_GT(byStick * byMouse, 0.0f);
}

TEST_F(PlayStepTest, ForwardAndBackTogetherCancelYetTheFootstepsStart) {
    game.hold(ControlTable::MOVE_FORWARD, true);
    game.hold(ControlTable::MOVE_BACK, true);
    steps(100);
    EXPECT_NEAR(player.getPosition().x, 18.0f, 1e-4f);
    EXPECT_NEAR(player.getPosition().z, 12.0f, 1e-4f);
    EXPECT_TRUE(scene.play().footstepsPlaying());
    game.hold(ControlTable::MOVE_FORWARD, false);
    game.hold(ControlTable::MOVE_BACK, false);
    steps(1);
    EXPECT_FALSE(scene.play().footstepsPlaying());
}

TEST_F(PlayStepTest, TheWallsStopTheWalk) {
    game.hold(ControlTable::STRAFE_LEFT, true);  // toward -Z
    steps(300);
    EXPECT_NEAR(player.getPosition().z, 6.0f - 3.0f + 1.25f, 1e-4f);
    game.hold(ControlTable::STRAFE_LEFT, false);
    game.hold(ControlTable::MOVE_FORWARD, true);
    steps(300);
    EXPECT_NEAR(player.getPosition().x, 30.0f + 3.0f - 1.25f, 1e-4f);
}

TEST_F(PlayStepTest, NothingMovesOutsideThePlayingState) {
    game.window.setState(GameState::Paused);
    game.hold(ControlTable::MOVE_FORWARD, true);
    steps(10);
    EXPECT_EQ(player.getPosition().x, 18.0f);
    EXPECT_FALSE(scene.play().footstepsPlaying());
}

TEST_F(PlayStepTest, MouseLookTurnsAndPitches) {
    const Vector3 before = player.getTarget();
    scene.mouseLook(0.0f, 0.0f);
    EXPECT_EQ(player.getTarget(), before);
    scene.mouseLook(0.1f, 0.0f);
    Vector3 d = player.getTarget().subtract(player.getPosition());
    EXPECT_NEAR(std::atan2(d.z, d.x), 0.3f, 1e-5f);
    EXPECT_EQ(player.getTarget().y, before.y);
}

// A ghost 1 unit away takes 0.375 health a step; the readings truncate.
TEST_F(PlayStepTest, HealthThresholdsForTheEndOfTheGame) {
    struct Case {
        float before;
        bool over;
    };
    for (Case c : {Case{19.975f, false}, Case{1.275f, true}, Case{1.375f, false}}) {
        SCOPED_TRACE(c.before);
        game.window.setState(GameState::MainMenu);
        game.window.setState(GameState::Playing);
        player.reset();
        setHealth(c.before);
        ghostAt(0, 19.0f, 12.0f);
        steps(1);
        EXPECT_NEAR(player.healthValue(), c.before - 0.375f, 1e-5f);
        EXPECT_EQ(game.window.currentState() == GameState::GameOver, c.over);
    }
}

TEST_F(PlayStepTest, NoDamageFromTwoUnitsOrFromADyingGhost) {
    ghostAt(0, 20.0f, 12.0f);
    steps(1);
    EXPECT_EQ(player.healthValue(), 100.0f);
    Ghost& ghost = ghostAt(1, 18.5f, 12.0f);
    ghost.kill();
    steps(1);
    EXPECT_EQ(player.healthValue(), 100.0f);
}

TEST_F(PlayStepTest, TheGameEndsOnceAndStopsPlaying) {
    std::filesystem::create_directories(dir.file("save"));
    writeFile(dir.file("save/data.dat"), "2\n100\nann\n50\nbob\n");
    scene.highScores().loadHighScores();
    player.addScore(60);
    // A name begun at the end of an earlier game.
    game.window.setState(GameState::GameOver);
    ASSERT_TRUE(scene.screens().nameEntryKey('H', false));
    game.window.setState(GameState::Previous);
    setHealth(0.6f);
    ghostAt(0, 19.0f, 12.0f);
    ghostAt(1, 17.0f, 12.0f);
    const std::size_t depth = game.window.states().depth();
    steps(1);
    EXPECT_EQ(game.window.currentState(), GameState::GameOver);
    EXPECT_EQ(game.window.states().depth(), depth + 1);
    EXPECT_TRUE(scene.screens().gameOver().typedName().empty());
    EXPECT_TRUE(scene.screens().gameOver().newHighScore());
    // The steps left in the frame do not play on.
    game.hold(ControlTable::MOVE_FORWARD, true);
    steps(5);
    EXPECT_EQ(player.getPosition().x, 18.0f);
}

// Without a sound card: OpenAL Soft's null output still plays and loops.
TEST_F(PlayStepTest, FootstepsAndTheHeartbeatPlay) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    AudioManager audio;
    audio.init();
    if (audio.isSilent()) {
        GTEST_SKIP() << "no OpenAL device";
    }
    const std::string sounds = level_files::generatedResources() + "/audio/";
    ASSERT_TRUE(audio.createSource(2, sounds + "footsteps.wav"));
    ASSERT_TRUE(audio.createSource(15, sounds + "heartbeat.wav"));

    game.hold(ControlTable::MOVE_FORWARD, true);
    game.hold(ControlTable::MOVE_BACK, true);
    steps(1);
    EXPECT_TRUE(audio.isSourcePlaying(2));
    game.hold(ControlTable::MOVE_FORWARD, false);
    game.hold(ControlTable::MOVE_BACK, false);
    steps(1);
    EXPECT_FALSE(audio.isSourcePlaying(2));

    setHealth(20.4f);
    ghostAt(0, 19.0f, 12.0f);
    steps(1);  // 20.025: still 20
    EXPECT_FALSE(audio.isSourcePlaying(15));
    steps(1);  // 19.65: 19
    EXPECT_TRUE(audio.isSourcePlaying(15));
    EXPECT_EQ(game.window.currentState(), GameState::Playing);
}

}  // namespace
