// Alt+Enter during play: the HUD pictures that sit higher in fullscreen move
// with the switch, wherever the radar is in its slide, and back again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/game_window.h"
#include "game/game_scene.h"
#include "play_objects_fixture.h"
#include "support/gl_context.h"
#include "support/x11_helpers.h"

namespace {

constexpr GUI_ID HEALTH_PANEL = 35;
constexpr GUI_ID SCORE_PANEL = 41;
constexpr GUI_ID SCORE_NUMBER = 42;
constexpr GUI_ID RADAR_PANEL = 43;

class HudFullscreenSwitch : public PlayObjectsTest {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        GLTestContext::shared().resetState();
        cwd = std::make_unique<ScopedWorkingDir>(SPOOKHOLLOW_GAME_DIR);
        scene = std::make_unique<GameScene>(window);
    }

    void setUpHud() {
        scene->instructionsTexture = scene->textures().loadTexture(
            0, false, 1, false, "resources/textures/instructions.tga");
        ASSERT_TRUE(scene->setupPlayHud()) << ::testing::PrintToString(boxTexts());
        window.setState(GameState::Playing);
    }

    void drawFrame(float seconds) {
        scene->setFrameTime(seconds);
        scene->drawPlayOverlay();
    }

    float y(GUI_ID id) { return scene->gui().getPosition(id).y; }

    std::unique_ptr<ScopedWorkingDir> cwd;
    std::unique_ptr<GameScene> scene;
};

TEST_F(HudFullscreenSwitch, LiftedPicturesFollowEachSwitch) {
    setUpHud();
    drawFrame(0.5f);  // the radar is sliding in: 644 - 75
    ASSERT_FLOAT_EQ(y(RADAR_PANEL), 569.0f);

    scene->fullscreenChanged(true);
    EXPECT_FLOAT_EQ(scene->fullscreenLift, 32.0f);
    EXPECT_FLOAT_EQ(y(SCORE_PANEL), 612.0f);
    EXPECT_FLOAT_EQ(y(RADAR_PANEL), 601.0f);
    EXPECT_FLOAT_EQ(y(HEALTH_PANEL), -75.0f);
    drawFrame(3.0f);
    EXPECT_FLOAT_EQ(y(SCORE_NUMBER), 623.0f);
    EXPECT_FLOAT_EQ(y(RADAR_PANEL), 464.0f);  // its slide ends at the lifted place

    scene->fullscreenChanged(true);  // no change, nothing moves
    EXPECT_FLOAT_EQ(y(RADAR_PANEL), 464.0f);

    scene->fullscreenChanged(false);
    EXPECT_FLOAT_EQ(scene->fullscreenLift, 0.0f);
    EXPECT_FLOAT_EQ(y(SCORE_PANEL), 580.0f);
    EXPECT_FLOAT_EQ(y(RADAR_PANEL), 432.0f);
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(y(SCORE_NUMBER), 591.0f);
}

TEST_F(HudFullscreenSwitch, ASwitchBeforeTheHudExistsOnlySetsTheLift) {
    scene->fullscreenChanged(true);
    EXPECT_FLOAT_EQ(scene->fullscreenLift, 32.0f);
    setUpHud();
    EXPECT_FLOAT_EQ(y(SCORE_PANEL), 612.0f);
    EXPECT_FLOAT_EQ(y(RADAR_PANEL), 676.0f);
}

}  // namespace
