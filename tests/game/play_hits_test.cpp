// What the weapons hit and what the player collects, through the real play
// step on a small map, and the per-frame side of play.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "game/ghost.h"
#include "game/map_colours.h"
#include "game/pickup_set.h"
#include "game/play_support.h"
#include "game/weapon_crossbow.h"
#include "game_fixture.h"
#include "level_files.h"
#include "play_objects_fixture.h"
#include "scene/math_constants.h"

namespace {

constexpr float CELL = 6.0f;
constexpr float WALL = 4.0f;

TEST(ArrowStops, EachCellClassStopsArrowsAtItsOwnHeight) {
    const Color4 black(0, 0, 0, 255), white(255, 255, 255, 255), yellow(255, 255, 0, 255),
        magenta(255, 0, 255, 255), red(255, 0, 0, 255), grey(128, 128, 128, 255);
    struct Case {
        const Color4& cell;
        float height;
        bool stops;
    } cases[] = {
        {black, 0.1f, true},   {black, 100.0f, true},   {white, 3.99f, false},
        {white, 4.0f, false},  {white, 4.01f, true},    {yellow, 7.99f, false},
        {yellow, 8.01f, true}, {magenta, 4.01f, false}, {magenta, 8.01f, true},
        {red, 100.0f, false},  {grey, 100.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cell.r << c.cell.g << c.cell.b << " at " << c.height);
        EXPECT_EQ(arrowStopsInCell(c.cell, c.height, WALL), c.stops);
    }
}

class PlayHitsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedWorkingDir cwd{dir.path()};
    NodePool nodes;
    GameFixture game;
    GameScene& scene = *game.scene;
    Player& player = scene.player();
    PickupSet& pickups = scene.pickups();
    WeaponCrossbow* crossbow = nullptr;

    // A 7 x 5 map walled all round, with a row of each cell class; the player
    // stands in the middle of cell (3, 3) looking along +X.
    void SetUp() override {
        game.useMap({"#######", "#.YMR.#", "#.....#", "#.....#", "#######"}, CELL, WALL);
        ASSERT_TRUE(isYellow(scene.level().cellColour(2, 1)));
        player.setSpeeds(20.0f, 3.0f);
        player.setView(Vector3(18.0f, 1.8f, 18.0f), Vector3(1.0f, 0.0f, 0.0f));
        ASSERT_TRUE(player.createWeapons(nodes.weapons()));
        crossbow = player.getCrossbow();
        for (int i = 0; i < WeaponCrossbow::MAX_FLYING; ++i) {
            ASSERT_TRUE(crossbow->setArrowNode(i, nodes.make("arrow_n")));
        }
        crossbow->moveHold(false, true);
        while (!crossbow->moveHold(false, false)) {
        }
        game.window.setState(GameState::Playing);
        game.advanceTime(1.0);
    }

    // Shoots one arrow along +X and puts it where it will be after the next
    // step's flight; the index of its record.
    int arrowAt(const Vector3& p) {
        crossbow->addArrows(1);
        game.hold(ControlTable::ATTACK, true);
        const int before = crossbow->flyingCount();
        for (int i = 0; i < 200 && crossbow->flyingCount() == before; ++i) {
            crossbow->update(player.getPosition(), Vector3(1.0f, 0.0f, 0.0f));
            game.advanceTime(0.01);
        }
        game.hold(ControlTable::ATTACK, false);
        EXPECT_EQ(crossbow->flyingCount(), before + 1);
        const int index = crossbow->flyingCount() - 1;
        crossbow->flyingArrow(index).node->m_vTranslation =
            Vector3(p.x - 40.0f * PLAY_STEP, p.y, p.z);
        return index;
    }
    bool flying(int index) {
        Vector3 p;
        return crossbow->flyingPosition(index, p);
    }
    // A ghost that has appeared, standing at (x, 0, z) facing +Z.
    Ghost& ghostAt(std::size_t index, float x, float z) {
        return game.ghostAt(index, nodes.ghost(), x, z);
    }
};

TEST_F(PlayHitsTest, ArrowsStickInWallsCeilingsAndTheFloorOnly) {
    struct Case {
        Vector3 at;
        bool stops;
        const char* what;
    } cases[] = {
        {Vector3(6.0f, 3.9f, 6.0f), false, "under a low ceiling"},
        {Vector3(6.0f, 4.1f, 6.0f), true, "into a low ceiling"},
        {Vector3(12.0f, 7.9f, 6.0f), false, "under a wood hall's ceiling"},
        {Vector3(12.0f, 8.1f, 6.0f), true, "into a wood hall's ceiling"},
        {Vector3(18.0f, 8.1f, 6.0f), true, "into a carpet hall's ceiling"},
        {Vector3(24.0f, 50.0f, 6.0f), false, "above a red cell"},
        {Vector3(0.0f, 1.0f, 6.0f), true, "into a wall"},
        {Vector3(6.0f, -0.1f, 6.0f), true, "into the floor"},
        {Vector3(-30.0f, 1.0f, 6.0f), true, "outside the map, before it"},
        {Vector3(1000.0f, 1.0f, 1000.0f), true, "outside the map, beyond it"},
        {Vector3(-1.0e30f, 1.0f, 1.0e30f), true, "far outside the map"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        int index = arrowAt(c.at);
        scene.updatePlay();
        EXPECT_EQ(flying(index), !c.stops);
        if (c.stops) {
            // Stuck where it struck, and still to be seen there.
            const Vector3 stuck = crossbow->flyingArrow(index).node->m_vTranslation;
            scene.updatePlay();
            EXPECT_EQ(crossbow->flyingArrow(index).node->m_vTranslation, stuck);
            EXPECT_TRUE(crossbow->flyingArrow(index).node->isVisible());
        }
    }
}

TEST_F(PlayHitsTest, AnArrowThatKillsFliesOnAndOneStoppingInAWallStillScores) {
    Ghost& open = ghostAt(0, 18.0f, 12.0f);  // 6 units from the player
    int index = arrowAt(Vector3(18.0f, 1.377f, 12.0f));
    scene.updatePlay();
    EXPECT_FALSE(open.isAlive());
    EXPECT_EQ(player.getScore(), 6);  // 5 + 6 x 0.2
    EXPECT_TRUE(flying(index));

    // A ghost drifting through a wall is hit by the arrow that sticks there.
    Ghost& inWall = ghostAt(1, 0.0f, 18.0f);
    index = arrowAt(Vector3(0.0f, 1.377f, 18.0f));
    scene.updatePlay();
    EXPECT_FALSE(inWall.isAlive());
    EXPECT_FALSE(flying(index));
    EXPECT_EQ(player.getScore(), 6 + 8);  // 5 + 18 x 0.2
}

TEST_F(PlayHitsTest, MaceKillsWithin10DegreesAnd2Point5UnitsOfTheView) {
    SilentSlots sounds(dir, {Sound::Miss, Sound::Hit});
    ASSERT_TRUE(sounds.usable());
    struct Case {
        float distance;
        float bearing;  // degrees off the view line
        float look;     // mouse offset up or down
        bool kills;
    } cases[] = {
        {2.0f, 5.0f, 0.0f, true},   {2.0f, -9.0f, 0.0f, true},  {2.4f, 0.0f, 0.0f, true},
        {2.0f, 12.0f, 0.0f, false}, {2.6f, 0.0f, 0.0f, false},  {2.0f, 180.0f, 0.0f, false},
        {0.0f, 0.0f, 0.0f, false},  {2.0f, 0.0f, -1.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.distance << " at " << c.bearing << ", look " << c.look);
        player.setView(Vector3(18.0f, 1.8f, 18.0f), Vector3(1.0f, 0.0f, 0.0f));
        scene.mouseLook(0.0f, c.look);
        sounds.audio.stopSource(slotOf(Sound::Miss));
        sounds.audio.stopSource(slotOf(Sound::Hit));
        const float b = c.bearing * DEG_TO_RAD;
        const float gx = 18.0f + c.distance * std::cos(b);
        const float gz = 18.0f + c.distance * std::sin(b);
        Ghost& ghost = ghostAt(0, gx, gz);
        const int score = player.getScore();
        game.hold(ControlTable::ATTACK, true);
        for (int i = 0; i < 20; ++i) {  // through the strike window
            ghost.setPosition(gx, 0.0f, gz);
            scene.updatePlay();
        }
        game.hold(ControlTable::ATTACK, false);
        for (int i = 0; i < 40; ++i) {
            scene.updatePlay();
        }
        EXPECT_EQ(ghost.isAlive(), !c.kills);
        EXPECT_EQ(player.getScore(), score + (c.kills ? 5 : 0));
        EXPECT_TRUE(std::isfinite(player.getDirection().x));
        EXPECT_TRUE(sounds.playing(Sound::Miss));  // every swing is heard
        EXPECT_EQ(sounds.playing(Sound::Hit), c.kills);
        player.addHealth(100.0f);
    }
}

class PickupStepTest : public PlayHitsTest {
protected:
    void SetUp() override {
        PlayHitsTest::SetUp();
        NodeTransform* battery = nodes.make("battery.cob");
        pickups.setHealth(std::make_unique<PickupHealth>(nodes.make("healthPack.cob"), 3.0f));
        pickups.setEnergy(
            std::make_unique<PickupEnergy>(battery, nodes.make("powerCell", battery), 10.0f));
        pickups.setArrows(std::make_unique<PickupArrows>(nodes.make("arrowCase"), 5.0f));
        pickups.health()->setPosition(6.0f, 0.0f, 12.0f);
        pickups.energy()->setPosition(12.0f, 0.0f, 12.0f);
        pickups.arrows()->setPosition(24.0f, 0.0f, 12.0f);
    }
};

TEST_F(PickupStepTest, CollectingAddsItsAmountPlaysItsSoundAndTheHealthPackStopsTheHeartbeat) {
    SilentSlots sounds(
        dir, {Sound::PickupArrows, Sound::PickupHealth, Sound::PickupPower, Sound::Heartbeat});
    ASSERT_TRUE(sounds.usable());
    player.addHealth(-20.0f);
    sounds.audio.playSource(slotOf(Sound::Heartbeat), true);

    pickups.health()->setPosition(18.99f, 0.0f, 18.0f);
    scene.updatePlay();
    EXPECT_FALSE(pickups.health()->isVisible());
    EXPECT_EQ(player.getHealth(), 100);  // 80 + 50, kept at 100
    EXPECT_TRUE(sounds.playing(Sound::PickupHealth));
    EXPECT_FALSE(sounds.playing(Sound::Heartbeat));

    pickups.energy()->setPosition(18.0f, 0.0f, 18.0f);  // right under the eye
    scene.updatePlay();
    EXPECT_EQ(player.getEnergy(), 75);
    EXPECT_TRUE(sounds.playing(Sound::PickupPower));

    // Arrows picked up while the mace is in hand wait in the crossbow.
    pickups.arrows()->setPosition(18.0f, 0.0f, 17.0f);
    scene.updatePlay();
    EXPECT_TRUE(pickups.arrows()->isVisible());  // exactly one unit away
    pickups.arrows()->setPosition(18.0f, 0.0f, 17.01f);
    scene.updatePlay();
    EXPECT_EQ(crossbow->getArrowCount(), 3);
    EXPECT_TRUE(sounds.playing(Sound::PickupArrows));
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceReady);
    scene.updatePlay();
    EXPECT_EQ(crossbow->getArrowCount(), 3);  // taken once
}

TEST_F(PickupStepTest, EachFrameSpinsBringsBackOnAFreeCellAndDrainsEnergy) {
    for (int i = 0; i < 100; ++i) {
        scene.updatePlay();
    }
    scene.setFrameTime(0.25f);
    scene.updateAnimations(0.0f);
    EXPECT_NEAR(pickups.arrows()->getRoot()->m_fAngle, 49.5f, 1e-3f);
    EXPECT_NEAR(player.energyValue(), 49.75f, 1e-4f);

    pickups.health()->setPosition(18.0f, 0.0f, 18.0f);
    scene.updatePlay();
    ASSERT_FALSE(pickups.health()->isVisible());
    game.advanceTime(1.0);
    scene.updateAnimations(0.0f);  // the delay starts here
    game.advanceTime(2.98);
    scene.updateAnimations(0.0f);
    EXPECT_FALSE(pickups.health()->isVisible());
    game.advanceTime(0.04);
    scene.updateAnimations(0.0f);
    ASSERT_TRUE(pickups.health()->isVisible());
    // On an open cell off row and column 0, and not where another pickup lies.
    const Vector3 p = pickups.health()->getPosition();
    const int x = static_cast<int>(p.x / CELL);
    const int y = static_cast<int>(p.z / CELL);
    EXPECT_EQ(p.x, static_cast<float>(x) * CELL);
    EXPECT_EQ(p.z, static_cast<float>(y) * CELL);
    EXPECT_GE(x, 1);
    EXPECT_GE(y, 1);
    EXPECT_FALSE(isBlack(scene.level().cellColour(x, y)));
    EXPECT_NE(p, pickups.energy()->getPosition());
    EXPECT_NE(p, pickups.arrows()->getPosition());
}

TEST_F(PickupStepTest, FrameAnimatesTheGhostsAroundTheirPositions) {
    Ghost& ghost = ghostAt(0, 12.0f, 12.0f);
    scene.updatePlay();
    scene.updateAnimations(0.5f);
    const Vector3 own = ghost.getOwnPosition();
    const Vector3 drawn = ghost.getPosition();
    EXPECT_NEAR(drawn.x, own.x, 0.021f);
    EXPECT_GE(drawn.y, 0.15f);
    EXPECT_LE(drawn.y, 0.3f);
}

}  // namespace
