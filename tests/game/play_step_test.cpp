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
