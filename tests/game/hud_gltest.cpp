// The play HUD over the generated LargeNumbers atlas: numbers, score
// alignment, the radar panel sliding with the energy, blips and their fade,
// the beep, the panels at the window's corners at several aspects, and a few
// pixels through GL.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <string>

#include "app/error_reporter.h"
#include "app/game_window.h"
#include "game/game_scene.h"
#include "game/ghost.h"
#include "game/ghost_set.h"
#include "game/gui_ids.h"
#include "game/pickup_set.h"
#include "input/game_settings.h"
#include "play_objects_fixture.h"
#include "scene/math_constants.h"
#include "support/gl_context.h"
#include "support/x11_helpers.h"

namespace {

using namespace gui_id;
constexpr GUI_ID GHOST_BLIP = FIRST_GHOST_BLIP;

class HudTest : public PlayObjectsTest {
protected:
    void SetUp() override {
        if (!x11::displayAvailable() || !GLTestContext::shared().ok()) {
            GTEST_SKIP() << "no GL context";
        }
        GLTestContext::shared().resetState();
        cwd = std::make_unique<ScopedWorkingDir>(SPOOKHOLLOW_GAME_DIR);
        scene = std::make_unique<GameScene>(window);
    }

    // The HUD as a level build sets it up; one world unit is one radar unit.
    void setUpHud() {
        TextureID gameOver = scene->textures().loadTexture(0, false, 1, false,
                                                           "resources/textures/instructions.tga");
        ASSERT_TRUE(scene->hud().setUp(gameOver)) << ::testing::PrintToString(boxTexts());
        scene->hud().setRadarRange(100.0f);
        scene->player().setView(Vector3(0.0f, 1.8f, 0.0f), Vector3(0.0f, 0.0f, 1.0f));
        window.setState(GameState::Playing);
    }

    // Runs the radar's sweep on to the angle (radians) in one frame, as time does.
    void sweepTo(float angle) {
        float turn = angle - scene->hud().radarSweepAngle();
        drawFrame((turn < 0.0f ? turn + TWO_PI : turn) / HALF_PI);
    }

    // One drawn frame of the overlay, the frame having lasted the given time.
    void drawFrame(float seconds) {
        scene->setFrameTime(seconds);
        scene->drawPlayOverlay();
    }

    std::string text(GUI_ID id) { return scene->gui().getText(id)->getText(); }
    float alpha(GUI_ID id) { return scene->gui().getControl(id)->getAlpha(); }
    Vector2 position(GUI_ID id) { return scene->gui().getPosition(id); }

    // A ghost standing at (x, z), on nodes of its own.
    Ghost& placeGhost(float x, float z) {
        GhostSet& ghosts = scene->ghosts();
        ghosts.start(100.0f, 100.0f);
        ghosts.add(std::make_unique<Ghost>(nodes.ghost()));
        ghosts.at(0)->setPosition(x, 0.0f, z);
        return *ghosts.at(0);
    }

    std::unique_ptr<ScopedWorkingDir> cwd;
    std::unique_ptr<GameScene> scene;
};

TEST_F(HudTest, NumbersShowTruncatedValuesAndTheScoreStaysRightAligned) {
    setUpHud();
    Player& player = scene->player();
    player.addHealth(-80.4f);  // 19.6
    player.addEnergy(-49.1f);  // 0.9
    player.addScore(1234);
    drawFrame(0.0f);
    EXPECT_EQ(text(HEALTH_NUMBER), "19");
    EXPECT_EQ(text(ENERGY_NUMBER), "0");
    EXPECT_EQ(text(ARROWS_NUMBER), "0");
    EXPECT_EQ(text(SCORE_NUMBER), "1234");
    float width = scene->gui().getTextControlSize(SCORE_NUMBER).x;
    EXPECT_GT(width, 0.0f);
    EXPECT_FLOAT_EQ(position(SCORE_NUMBER).x + width, 168.0f);
    EXPECT_FLOAT_EQ(position(SCORE_NUMBER).y, 623.0f);
}

TEST_F(HudTest, RadarSlidesOutWithoutEnergyAndBackWhenItReturns) {
    setUpHud();
    // Energy 50: the panel slides in from 676 towards 464 at 150 a second.
    drawFrame(0.1f);
    EXPECT_NEAR(position(RADAR_PANEL).y, 676.0f - 15.0f, 1e-3);
    drawFrame(2.0f);
    EXPECT_FLOAT_EQ(position(RADAR_PANEL).y, 464.0f);
    EXPECT_TRUE(scene->hud().radarOn());

    scene->player().addEnergy(-49.1f);  // 0.9 reads as 0
    drawFrame(0.1f);
    EXPECT_FALSE(scene->hud().radarOn());
    EXPECT_NEAR(position(RADAR_PANEL).y, 479.0f, 1e-3);
    drawFrame(5.0f);
    EXPECT_FLOAT_EQ(position(RADAR_PANEL).y, 676.0f);

    scene->player().addEnergy(0.1f);  // 1.0
    drawFrame(0.1f);
    EXPECT_TRUE(scene->hud().radarOn());
    EXPECT_NEAR(position(RADAR_PANEL).y, 661.0f, 1e-3);
    EXPECT_FLOAT_EQ(position(RADAR_PANEL).x, 689.0f);
}

TEST_F(HudTest, GhostOnTheRimIsShownAndALittleFurtherIsNot) {
    setUpHud();
    drawFrame(5.0f);  // panel in place at 464
    Vector2 centre(689.0f + 111.0f, 464.0f + 113.0f);

    placeGhost(0.0f, 100.0f);  // straight ahead, exactly on the rim
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(position(GHOST_BLIP).x, centre.x - 3.0f);
    EXPECT_FLOAT_EQ(position(GHOST_BLIP).y, centre.y + 100.0f - 3.0f);

    scene->gui().setPosition(GHOST_BLIP, -1000.0f, -1000.0f);
    placeGhost(0.0f, 100.01f);
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(alpha(GHOST_BLIP), 0.0f);
    EXPECT_FLOAT_EQ(position(GHOST_BLIP).x, -1000.0f);  // a hidden blip keeps its place

    // Forward is up on the radar and the player's right is right.
    scene->player().setView(Vector3(0.0f, 1.8f, 0.0f), Vector3(1.0f, 0.0f, 0.0f));
    placeGhost(0.0f, 50.0f);  // +Z is on the right when looking along +X
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(position(GHOST_BLIP).x, centre.x + 50.0f - 3.0f);
    EXPECT_FLOAT_EQ(position(GHOST_BLIP).y, centre.y - 3.0f);
}

TEST_F(HudTest, BlipFadesBehindTheSweep) {
    setUpHud();
    placeGhost(0.0f, 50.0f);  // at a quarter turn on the radar
    struct Case {
        float behind;  // how far the sweep has gone past the blip
        float alpha;
    };
    const Case cases[] = {
        {0.01f, 1.0f},
        {QUARTER_PI, 1.0f},
        {(QUARTER_PI + 1.25f * PI) / 2.0f, 0.5f},
        {1.25f * PI, 0.0f},
        {-0.1f, 0.0f},                 // just ahead of the sweep: a whole turn behind
        {-(0.75f * PI - 0.1f), 0.0f},  // still more than 1.25 pi behind
    };
    for (const Case& c : cases) {
        sweepTo(HALF_PI + c.behind < 0.0f ? HALF_PI + c.behind + TWO_PI : HALF_PI + c.behind);
        EXPECT_NEAR(alpha(GHOST_BLIP), c.alpha, 1e-4) << "behind " << c.behind;
    }
}

TEST_F(HudTest, BlipBeepsOnceAsTheSweepPassesIt) {
    SilentSlots sounds(dir, {Sound::RadarBeep});
    if (!sounds.usable()) {
        GTEST_SKIP() << "no audio device";
    }
    setUpHud();
    placeGhost(0.0f, 50.0f);
    sweepTo(HALF_PI + 0.5f);  // well past: no beep
    EXPECT_FALSE(sounds.playing(Sound::RadarBeep));
    sweepTo(HALF_PI + 0.01f);
    EXPECT_TRUE(sounds.playing(Sound::RadarBeep));

    // With the radar off nothing beeps.
    sounds.audio.stopSource(slotOf(Sound::RadarBeep));
    scene->player().addEnergy(-50.0f);
    sweepTo(HALF_PI + 0.01f);
    EXPECT_FALSE(scene->hud().radarOn());
    EXPECT_FALSE(sounds.playing(Sound::RadarBeep));
}

TEST_F(HudTest, OnlyThingsInTheLevelHaveBlips) {
    setUpHud();
    // Pickups lying two units ahead, then taken.
    NodeTransform* arrowCase = nodes.make("arrowCase");
    NodeTransform* battery = nodes.make("battery.cob");
    NodeTransform* cell = nodes.make("powerCell", battery);
    PickupSet& pickups = scene->pickups();
    pickups.setArrows(std::make_unique<PickupArrows>(arrowCase, 5.0f));
    pickups.setEnergy(std::make_unique<PickupEnergy>(battery, cell, 10.0f));
    pickups.arrows()->setPosition(0.0f, 0.0f, 2.0f);
    pickups.energy()->setPosition(2.0f, 0.0f, 0.0f);
    sweepTo(HALF_PI + 0.01f);
    EXPECT_GT(alpha(ARROW_CASE_BLIP), 0.0f);
    arrowCase->setVisible(false);
    battery->setVisible(false);
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(alpha(ARROW_CASE_BLIP), 0.0f);
    EXPECT_FLOAT_EQ(alpha(POWER_CELL_BLIP), 0.0f);

    // A dying ghost still shows; a waiting (hidden) one does not; a missing
    // one (no level) neither.
    Ghost& ghost = placeGhost(0.0f, 2.0f);
    ghost.kill();
    drawFrame(0.0f);
    EXPECT_GT(alpha(GHOST_BLIP), 0.0f);
    for (int i = 0; i < 200 && ghost.getState() != Ghost::State::Waiting; ++i) {
        ghost.update(Vector3(50.0f, 1.8f, 50.0f), scene->ghosts().world());
    }
    ASSERT_EQ(ghost.getState(), Ghost::State::Waiting);
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(alpha(GHOST_BLIP), 0.0f);
    EXPECT_FLOAT_EQ(alpha(GHOST_BLIP + 1), 0.0f);
}

TEST_F(HudTest, CrosshairOnlyWithTheCrossbowAndTheGameOverPictureInItsOwnGroup) {
    setUpHud();
    drawFrame(0.0f);
    EXPECT_FLOAT_EQ(alpha(CROSSHAIR), 0.0f);
    EXPECT_EQ(scene->gui().groupSize(GameState::GameOver), 1u);
    ASSERT_NE(scene->gui().getImage(GAME_OVER_PICTURE), nullptr);
    EXPECT_EQ(scene->gui().groupSize(GameState::Playing), 15u);
    EXPECT_TRUE(boxTexts().empty()) << ::testing::PrintToString(boxTexts());
}

// The HUD drawn into the 256 x 256 test window: the health panel keeps to
// its corner; the design is moved so that the crosshair falls inside it.
TEST_F(HudTest, CrosshairAndPanelPixelsAreDrawnWhereTheyBelong) {
    setUpHud();
    GLTestContext& gl = GLTestContext::shared();
    auto drawAt = [&](float offsetX, float offsetY) {
        DesignFit fit;
        fit.width = gl.width();
        fit.height = gl.height();
        fit.offsetX = offsetX;
        fit.offsetY = offsetY;
        scene->gui().setFit(fit);
        glViewport(0, 0, gl.width(), gl.height());
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, gl.width(), 0.0, gl.height(), -1.0, 1.0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawFrame(0.0f);
    };
    auto lit = [&](int x, int y) {
        unsigned char rgba[4];
        gl.pixelAt(x, y, rgba);
        return rgba[0] + rgba[1] + rgba[2] > 30;
    };

    // Health panel (-100, -75), 173 x 60: (12, 9) from the lower-left
    // corner, wherever the design is moved.
    drawAt(-270.0f, -164.0f);
    EXPECT_TRUE(lit(12 + 86, 9 + 30));
    EXPECT_FALSE(lit(12 + 86, 9 + 70));

    // Crosshair (370, 264), 36 x 35, moved to (100, 100): hidden with the mace.
    drawAt(-270.0f, -164.0f);
    int litInside = 0;
    for (int dy = 0; dy < 35; ++dy) {
        for (int dx = 0; dx < 36; ++dx) {
            litInside += lit(100 + dx, 100 + dy) ? 1 : 0;
        }
    }
    EXPECT_EQ(litInside, 0);

    // With the crossbow coming up the crosshair shows.
    ASSERT_TRUE(scene->player().createWeapons(nodes.weapons()));
    scene->player().switchWeapon();
    for (int i = 0; i < 100 && !scene->player().isCrossbowSelected(); ++i) {
        scene->player().updateWeapons();
    }
    ASSERT_TRUE(scene->player().isCrossbowSelected());
    drawAt(-270.0f, -164.0f);
    EXPECT_FLOAT_EQ(alpha(CROSSHAIR), 1.0f);
    litInside = 0;
    for (int dy = 0; dy < 35; ++dy) {
        for (int dx = 0; dx < 36; ++dx) {
            litInside += lit(100 + dx, 100 + dy) ? 1 : 0;
        }
    }
    EXPECT_GT(litInside, 20);
}

// The panels keep to the window's corners at any aspect, scaled with the
// screens; the crosshair and the game-over picture stay in the middle.
TEST_F(HudTest, PanelsKeepToTheWindowCornersAtEveryAspect) {
    setUpHud();
    drawFrame(3.0f);  // the radar slides all the way in
    GUIManager& gui = scene->gui();
    // A control's rectangle in window pixels (origin lower-left).
    auto lowerLeft = [&](GUI_ID id) {
        const GUIControl* c = gui.getControl(id);
        return gui.designToWindow(c->getPosition(), c->anchorX(), c->anchorY());
    };
    auto upperRight = [&](GUI_ID id) {
        const GUIControl* c = gui.getControl(id);
        return gui.designToWindow(c->getPosition().add(c->getSize()), c->anchorX(), c->anchorY());
    };
    auto centre = [&](GUI_ID id) { return lowerLeft(id).add(upperRight(id)).scale(0.5f); };
    for (const auto& size : {std::pair<int, int>{1920, 1080}, {2560, 1080}, {1024, 768}}) {
        const auto w = static_cast<float>(size.first);
        const auto h = static_cast<float>(size.second);
        SCOPED_TRACE(size.first);
        scene->windowResized(size.first, size.second);
        const float s = gui.scale();
        const Vector2 radar = centre(RADAR_PANEL);
        EXPECT_LT(w - radar.x, 280.0f);
        EXPECT_LT(h - radar.y, 280.0f);
        EXPECT_GT(w - radar.x, 100.0f * s);
        EXPECT_NEAR(upperRight(RADAR_PANEL).x - lowerLeft(RADAR_PANEL).x, 225.0f * s, 1.0f);
        // Health bottom-left, arrows bottom-right, score top-left, each a
        // few scaled pixels in from its corner.
        EXPECT_NEAR(lowerLeft(HEALTH_PANEL).x, 12.0f * s, 1.0f);
        EXPECT_NEAR(lowerLeft(HEALTH_PANEL).y, 9.0f * s, 1.0f);
        EXPECT_NEAR(w - upperRight(ARROWS_PANEL).x, 15.0f * s, 1.0f);
        EXPECT_NEAR(lowerLeft(ARROWS_PANEL).y, 9.0f * s, 1.0f);
        EXPECT_NEAR(lowerLeft(SCORE_PANEL).x, 12.0f * s, 1.0f);
        EXPECT_NEAR(h - upperRight(SCORE_PANEL).y, 12.0f * s, 1.0f);
        // Each number stays on its panel.
        for (const auto& pair : {std::pair<GUI_ID, GUI_ID>{HEALTH_PANEL, HEALTH_NUMBER},
                                 {ARROWS_PANEL, ARROWS_NUMBER},
                                 {SCORE_PANEL, SCORE_NUMBER}}) {
            const Vector2 number = lowerLeft(pair.second);
            EXPECT_GE(number.x, lowerLeft(pair.first).x);
            EXPECT_LE(number.x, upperRight(pair.first).x);
            EXPECT_GE(number.y, lowerLeft(pair.first).y);
            EXPECT_LE(number.y, upperRight(pair.first).y);
        }
        EXPECT_NEAR(centre(CROSSHAIR).x, w / 2.0f, 16.0f * s);
        EXPECT_NEAR(centre(CROSSHAIR).y, h / 2.0f, 24.0f * s);
        EXPECT_NEAR(centre(GAME_OVER_PICTURE).x, w / 2.0f, 2.0f * s);
    }
}

}  // namespace
