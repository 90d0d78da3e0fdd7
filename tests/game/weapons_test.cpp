#include <algorithm>
#include <cmath>
#include <string>

#include "game/play_support.h"
#include "game/player.h"
#include "game/weapon_crossbow.h"
#include "game/weapon_mace.h"
#include "play_objects_fixture.h"
#include "scene/math_constants.h"

namespace {

NodeTransform* transform(NodeTransform* root, const char* name) {
    return static_cast<NodeTransform*>(root->findByName(name));
}

// The player with both weapons made from hand-built models.
class WeaponsTest : public PlayObjectsTest {
protected:
    WeaponsTest() {
        hidden = nodes.weapons();
        EXPECT_TRUE(player.createWeapons(hidden));
        crossbow = player.getCrossbow();
        mace = player.getMace();
        for (int i = 0; i < WeaponCrossbow::MAX_FLYING; ++i) {
            std::string name = "arrow_" + std::to_string(i + 1);
            arrows[i] = nodes.make(name.c_str());
            EXPECT_TRUE(crossbow->setArrowNode(i, arrows[i]));
        }
    }

    // One fixed step of the weapons, one step of game time later.
    bool step() {
        bool striking = player.updateWeapons();
        advance(0.01);
        return striking;
    }
    // Steps until the weapon state changes; the number of steps taken.
    int stepsInState(int limit = 1000) {
        WeaponState state = player.getWeaponState();
        int steps = 0;
        while (player.getWeaponState() == state && steps < limit) {
            step();
            ++steps;
        }
        return steps;
    }
    void raiseCrossbow() {
        press(ControlTable::RANGED_WEAPON);
        while (player.getWeaponState() != WeaponState::CrossbowReady) {
            step();
        }
    }
    int fireStepsIn(WeaponCrossbow::FireState state, int limit = 1000) {
        int steps = 0;
        while (crossbow->getFireState() == state && steps < limit) {
            step();
            ++steps;
        }
        return steps;
    }

    NodeTransform* hidden = nullptr;
    Player player{0.5f};
    WeaponCrossbow* crossbow = nullptr;
    WeaponMace* mace = nullptr;
    NodeTransform* arrows[WeaponCrossbow::MAX_FLYING] = {};
};

TEST_F(WeaponsTest, ANewLevelStartsWithTheMaceInHandAndNoArrows) {
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceReady);
    EXPECT_FALSE(player.isCrossbowSelected());
    EXPECT_EQ(crossbow->getArrowCount(), 0);
    EXPECT_EQ(transform(hidden, "mace")->m_vTranslation, Vector3(-2.017f, 5.729f, -3.668f));
    EXPECT_EQ(transform(hidden, "weapon")->m_vTranslation, Vector3(0.327f, -0.211f, -0.588f));
    EXPECT_EQ(transform(hidden, "weapon")->m_vScale, Vector3(0.16f, 0.16f, 0.16f));
    NodeTransform* loaded = transform(hidden, "arrow");
    EXPECT_FALSE(loaded->isVisible());
    EXPECT_EQ(loaded->m_vTranslation, Vector3(0.172f, -0.238f, -1.334f));
    EXPECT_EQ(loaded->m_fAngle, -90.0f);
}

TEST_F(WeaponsTest, SwitchingTakesAQuarterSecondDownAndAQuarterSecondUp) {
    SilentSlots sounds(dir, {Sound::CrossbowLoad});
    ASSERT_TRUE(sounds.usable());
    press(ControlTable::RANGED_WEAPON);
    step();
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceLowering);
    EXPECT_FALSE(settings.isActionActive(ControlTable::RANGED_WEAPON, false));  // used once
    EXPECT_TRUE(player.isCrossbowSelected() == false);
    EXPECT_NEAR(stepsInState(), 24, 1);  // plus the step of the press: 0.25 s
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowRaising);
    EXPECT_TRUE(player.isCrossbowSelected());
    EXPECT_NEAR(stepsInState(), 25, 1);
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowReady);
    EXPECT_EQ(crossbow->holdPosition(), Vector3(0.171f, -0.239f, -0.949f));

    // Without arrows the crossbow never loads, and never sounds as if it did.
    for (int i = 0; i < 100; ++i) {
        step();
    }
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Unloaded);
    EXPECT_FALSE(transform(hidden, "arrow")->isVisible());
    EXPECT_FALSE(sounds.playing(Sound::CrossbowLoad));

    press(ControlTable::MELEE_WEAPON);
    step();
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowLowering);
    EXPECT_NEAR(stepsInState(), 24, 1);
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceRaising);
    EXPECT_FALSE(player.isCrossbowSelected());
    EXPECT_NEAR(stepsInState(), 25, 1);
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceReady);
    EXPECT_EQ(mace->holdPosition(), Vector3(-2.017f, 5.729f, -3.668f));
}

TEST_F(WeaponsTest, SelectingTheWeaponInHandOrSwitchingMidwayChangesNothing) {
    press(ControlTable::MELEE_WEAPON);
    step();
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceReady);
    hold(ControlTable::MELEE_WEAPON, false);

    player.switchWeapon();  // the mouse wheel
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceLowering);
    player.switchWeapon();
    step();
    EXPECT_EQ(player.getWeaponState(), WeaponState::MaceLowering);
    stepsInState();
    player.switchWeapon();
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowRaising);
    stepsInState();
    press(ControlTable::RANGED_WEAPON);
    step();
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowReady);
    player.switchWeapon();
    EXPECT_EQ(player.getWeaponState(), WeaponState::CrossbowLowering);
}

TEST_F(WeaponsTest, MaceSwingStrikesInTheMiddleAndRepeatsWhileAttackIsHeld) {
    NodeTransform* maceNode = transform(hidden, "mace");
    hold(ControlTable::ATTACK, true);
    int striking = 0;
    int firstStrike = -1;
    float highest = 0.0f;
    int steps = 0;
    do {
        bool strike = step();
        EXPECT_EQ(strike, mace->isStriking());
        if (strike) {
            EXPECT_GT(maceNode->m_fAngle, 35.0f);
            EXPECT_LT(maceNode->m_fAngle, 65.0f);
            firstStrike = firstStrike < 0 ? steps : firstStrike;
            ++striking;
        }
        highest = std::max(highest, maceNode->m_fAngle);
        ++steps;
    } while (mace->getSwingState() != 0 && steps < 1000);
    // Up to 75 degrees and back at 360 degrees a second: about 0.42 s.
    EXPECT_NEAR(steps, 43, 1);
    EXPECT_EQ(highest, 75.0f);
    EXPECT_EQ(maceNode->m_fAngle, 0.0f);
    EXPECT_EQ(striking, 9);
    EXPECT_EQ(firstStrike, 10);
    const Vector3& axis = maceNode->axis();
    EXPECT_NEAR(axis.x, -0.1f / std::sqrt(1.02f), 1e-6f);
    EXPECT_NEAR(axis.z, 1.0f / std::sqrt(1.02f), 1e-6f);
    step();
    EXPECT_EQ(mace->getSwingState(), 1);  // still held: the next swing begins
    hold(ControlTable::ATTACK, false);
}

TEST_F(WeaponsTest, CrossbowFiringCycleDrawsReleasesAndReloads) {
    SilentSlots sounds(dir, {Sound::CrossbowLoad, Sound::CrossbowShoot});
    ASSERT_TRUE(sounds.usable());
    raiseCrossbow();
    NodeTransform* loaded = transform(hidden, "arrow");
    NodeTransform* pusher = transform(hidden, "pusher");
    NodeTransform* stringR = transform(hidden, "stringR");
    EXPECT_EQ(crossbow->addArrows(3), 3);
    step();
    ASSERT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Drawing);
    EXPECT_TRUE(loaded->isVisible());
    EXPECT_TRUE(sounds.playing(Sound::CrossbowLoad));
    for (int i = 0; i < 10; ++i) {
        step();
    }
    // The arrow and the pusher slide back with the string.
    EXPECT_FLOAT_EQ(crossbow->stringAngle(), 15.0f);
    EXPECT_EQ(stringR->m_fAngle, 15.0f);
    EXPECT_NEAR(loaded->m_vTranslation.z, -1.334f + 0.274f * 15.0f / 35.0f, 1e-5f);
    EXPECT_NEAR(pusher->m_vTranslation.z, 1.53f * 15.0f / 35.0f, 1e-5f);
    // 35 degrees at 150 a second: 0.233 s, so the 24th step finds it drawn.
    EXPECT_EQ(fireStepsIn(WeaponCrossbow::FireState::Drawing) + 10, 24);
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Loaded);
    EXPECT_EQ(crossbow->stringAngle(), 35.0f);
    EXPECT_EQ(stringR->m_fAngle, 35.0f);
    EXPECT_FLOAT_EQ(loaded->m_vTranslation.z, -1.06f);
    EXPECT_FLOAT_EQ(pusher->m_vTranslation.z, 1.53f);

    // Loaded, it waits for the trigger; the arrow is spent there.
    for (int i = 0; i < 100; ++i) {
        step();
    }
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Loaded);
    EXPECT_EQ(crossbow->getArrowCount(), 3);
    hold(ControlTable::ATTACK, true);
    step();
    hold(ControlTable::ATTACK, false);
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Releasing);
    EXPECT_EQ(crossbow->getArrowCount(), 2);
    EXPECT_TRUE(sounds.playing(Sound::CrossbowShoot));
    EXPECT_EQ(fireStepsIn(WeaponCrossbow::FireState::Releasing), 7);  // 35 / 500 s
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Reloading);
    EXPECT_EQ(crossbow->flyingCount(), 1);
    EXPECT_FALSE(loaded->isVisible());
    EXPECT_EQ(crossbow->stringAngle(), 0.0f);
    EXPECT_NEAR(fireStepsIn(WeaponCrossbow::FireState::Reloading), 40, 1);  // 0.4 s
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Unloaded);
    step();
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Drawing);
}

TEST_F(WeaponsTest, HeldTriggerShootsAboutOneAndAHalfArrowsASecond) {
    raiseCrossbow();
    crossbow->addArrows(20);
    hold(ControlTable::ATTACK, true);
    for (int i = 0; i < 300; ++i) {
        step();
    }
    // 0.233 s draw + 0.07 s release + 0.4 s pause, and a step or two between.
    EXPECT_EQ(crossbow->flyingCount(), 4);
    EXPECT_EQ(crossbow->getArrowCount(), 16);
}

TEST_F(WeaponsTest, ArrowsLeaveFromBelowAndRightOfTheEyeAlongTheView) {
    struct Case {
        Vector3 direction;
        Vector3 start;
        Vector3 axis;
        float angle;
    } cases[] = {
        {Vector3(0, 0, -1), Vector3(0.171f, 1.567f, -1.395f), Vector3(-1, 0, 0), 90.0f},
        {Vector3(1, 0, 0), Vector3(1.395f, 1.567f, 0.171f), Vector3(0, 0, -1), 90.0f},
        {Vector3(0, 0.70710678f, -0.70710678f),
         Vector3(0.171f, 1.8f + 1.395f * 0.70710678f - 0.233f, -1.395f * 0.70710678f),
         Vector3(-1, 0, 0), 45.0f},
    };
    NodeTransform* weapon = nodes.make("bow");
    nodes.make("stringL", weapon);
    nodes.make("stringR", weapon);
    nodes.make("pusher", weapon);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.direction.x << " " << c.direction.y << " " << c.direction.z);
        WeaponCrossbow bow(weapon, nodes.make("loaded"));
        NodeTransform* node = nodes.make("flying");
        ASSERT_TRUE(bow.setArrowNode(0, node));
        bow.moveHold(false, true);
        while (!bow.moveHold(false, false)) {
        }
        bow.addArrows(1);
        hold(ControlTable::ATTACK, true);
        const Vector3 eye(0.0f, 1.8f, 0.0f);
        for (int i = 0; i < 100 && bow.flyingCount() == 0; ++i) {
            bow.update(eye, c.direction);
        }
        ASSERT_EQ(bow.flyingCount(), 1);
        EXPECT_TRUE(node->isVisible());
        EXPECT_NEAR(node->m_vTranslation.x, c.start.x, 1e-5f);
        EXPECT_NEAR(node->m_vTranslation.y, c.start.y, 1e-5f);
        EXPECT_NEAR(node->m_vTranslation.z, c.start.z, 1e-5f);
        EXPECT_NEAR(node->axis().x, c.axis.x, 1e-5f);
        EXPECT_NEAR(node->axis().z, c.axis.z, 1e-5f);
        EXPECT_NEAR(node->m_fAngle, c.angle, 1e-3f);
        // 40 units a second along the view, without gravity.
        bow.flyArrows();
        EXPECT_NEAR(node->m_vTranslation.x, c.start.x + 0.4f * c.direction.x, 1e-5f);
        EXPECT_NEAR(node->m_vTranslation.y, c.start.y + 0.4f * c.direction.y, 1e-5f);
        EXPECT_NEAR(node->m_vTranslation.z, c.start.z + 0.4f * c.direction.z, 1e-5f);
        EXPECT_NEAR(bow.flyingArrow(0).expiryTime, now() + 60.0f, 1e-3f);
    }
}

TEST_F(WeaponsTest, The26thArrowInFlightTakesTheOldestOnesPlace) {
    raiseCrossbow();
    crossbow->addArrows(30);
    hold(ControlTable::ATTACK, true);
    while (crossbow->flyingCount() < 25) {
        step();
    }
    for (int i = 0; i < 25; ++i) {
        EXPECT_TRUE(arrows[i]->isVisible());
        EXPECT_EQ(crossbow->flyingArrow(i).node, arrows[i]);
    }
    const float farAway = arrows[0]->m_vTranslation.z;
    EXPECT_LT(farAway, -500.0f);  // flown for more than 12 s
    while (crossbow->getArrowCount() > 4) {
        step();
    }
    while (crossbow->getFireState() != WeaponCrossbow::FireState::Reloading) {
        step();
    }
    EXPECT_EQ(crossbow->flyingCount(), 25);
    EXPECT_EQ(crossbow->flyingArrow(0).node, arrows[1]);
    EXPECT_EQ(crossbow->flyingArrow(24).node, arrows[0]);
    EXPECT_GT(arrows[0]->m_vTranslation.z, -3.0f);  // shot again from the eye
    EXPECT_TRUE(arrows[0]->isVisible());
}

TEST_F(WeaponsTest, StoppedArrowsStayWhereTheyAreUntilTheyExpire) {
    raiseCrossbow();
    crossbow->addArrows(2);
    hold(ControlTable::ATTACK, true);
    while (crossbow->flyingCount() < 2) {
        step();
    }
    hold(ControlTable::ATTACK, false);
    crossbow->stopArrow(0);
    Vector3 stuck = arrows[0]->m_vTranslation;
    Vector3 p;
    EXPECT_FALSE(crossbow->flyingPosition(0, p));
    EXPECT_TRUE(crossbow->flyingPosition(1, p));
    EXPECT_EQ(p, arrows[1]->m_vTranslation);
    step();
    EXPECT_EQ(arrows[0]->m_vTranslation, stuck);
    EXPECT_TRUE(arrows[0]->isVisible());
    // Indices outside the list are refused quietly.
    EXPECT_FALSE(crossbow->flyingPosition(-1, p));
    EXPECT_FALSE(crossbow->flyingPosition(2, p));
    crossbow->stopArrow(-1);
    crossbow->stopArrow(2);

    const float firstExpiry = crossbow->flyingArrow(0).expiryTime;
    crossbow->expireArrows(firstExpiry);
    EXPECT_EQ(crossbow->flyingCount(), 2);
    crossbow->expireArrows(firstExpiry + 0.01f);
    EXPECT_EQ(crossbow->flyingCount(), 1);
    EXPECT_FALSE(arrows[0]->isVisible());
    crossbow->expireArrows(firstExpiry + 100.0f);
    EXPECT_EQ(crossbow->flyingCount(), 0);
    EXPECT_FALSE(arrows[1]->isVisible());
}

TEST_F(WeaponsTest, ArrowsFlyOnWhileTheMaceIsInHand) {
    raiseCrossbow();
    crossbow->addArrows(1);
    hold(ControlTable::ATTACK, true);
    while (crossbow->flyingCount() == 0) {
        step();
    }
    hold(ControlTable::ATTACK, false);
    press(ControlTable::MELEE_WEAPON);
    const float before = arrows[0]->m_vTranslation.z;
    for (int i = 0; i < 100; ++i) {
        step();
    }
    EXPECT_NE(player.getWeaponState(), WeaponState::CrossbowReady);
    EXPECT_NEAR(arrows[0]->m_vTranslation.z, before - 40.0f, 1e-2f);
}

TEST_F(WeaponsTest, ACrossbowPutAwayLoadedIsStillLoadedWhenRaised) {
    crossbow->addArrows(3);  // collected while the mace is in hand
    raiseCrossbow();
    step();
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Drawing);  // loads at once
    fireStepsIn(WeaponCrossbow::FireState::Drawing);
    ASSERT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Loaded);
    press(ControlTable::MELEE_WEAPON);
    while (player.getWeaponState() != WeaponState::MaceReady) {
        step();
    }
    raiseCrossbow();
    EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Loaded);
    EXPECT_EQ(crossbow->getArrowCount(), 3);
}

TEST_F(WeaponsTest, LosingTheLastArrowWhileDrawingOrLoadedUnloads) {
    raiseCrossbow();
    for (WeaponCrossbow::FireState state :
         {WeaponCrossbow::FireState::Drawing, WeaponCrossbow::FireState::Loaded}) {
        SCOPED_TRACE(static_cast<int>(state));
        crossbow->addArrows(1);
        while (crossbow->getFireState() != state) {
            step();
        }
        crossbow->addArrows(-5);
        EXPECT_EQ(crossbow->getArrowCount(), 0);
        step();
        EXPECT_EQ(crossbow->getFireState(), WeaponCrossbow::FireState::Unloaded);
    }
}

TEST_F(WeaponsTest, ArrowCountStaysWithin0And999) {
    struct Case {
        int before;
        int add;
        int sum;
        int count;
    } cases[] = {
        {0, 3, 3, 3},
        {998, 3, 1001, 999},
        {2, -5, -3, 0},
        {999, 2147483647, 2147483647, 999},
    };
    for (const Case& c : cases) {
        crossbow->addArrows(-crossbow->getArrowCount());
        crossbow->addArrows(c.before);
        EXPECT_EQ(crossbow->addArrows(c.add), c.sum);
        EXPECT_EQ(crossbow->getArrowCount(), c.count);
    }
}

TEST_F(WeaponsTest, ArrowNodesOutsideTheTableOrMissingAreRefused) {
    struct Case {
        int index;
        bool node;
        const char* message;
    } cases[] = {
        {3, false, "WeaponCrossbow: can not find node number {3}"},
        {25, true, "WeaponCrossbow: ArrowID value {25} is out of range"},
        {-1, true, "WeaponCrossbow: ArrowID value {-1} is out of range"},
    };
    for (const Case& c : cases) {
        boxes.clear();
        EXPECT_FALSE(crossbow->setArrowNode(c.index, c.node ? nodes.make("spare") : nullptr));
        EXPECT_EQ(boxTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(reporter.getMessage(), "No Error.");
    }
    NodeTransform* node = nodes.make("spare");
    node->m_fAngle = 30.0f;
    EXPECT_TRUE(crossbow->setArrowNode(24, node));
    EXPECT_FALSE(node->isVisible());
    EXPECT_EQ(node->m_fAngle, 0.0f);
}

TEST_F(WeaponsTest, MissingModelNodesAreNamed) {
    const char* parts[] = {"weapon", "stringL", "stringR", "pusher", "arrow"};
    const char* messages[] = {
        "WeaponCrossbow: Could not find root transform node",
        "WeaponCrossbow: Could not find stringL node",
        "WeaponCrossbow: Could not find stringR node",
        "WeaponCrossbow: Could not find pusher node",
        "WeaponCrossbow: Could not find arrow node",
    };
    for (int i = 0; i < 5; ++i) {
        NodeTransform* models = nodes.weapons();
        transform(models, parts[i])->setName("renamed");
        Player other(0.5f);
        boxes.clear();
        EXPECT_FALSE(other.createWeapons(models));
        EXPECT_EQ(boxTexts(), std::vector<std::string>{messages[i]});
    }
    NodeTransform* models = nodes.weapons();
    transform(models, "mace")->setName("renamed");
    Player other(0.5f);
    boxes.clear();
    EXPECT_FALSE(other.createWeapons(models));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, ErrorReporter::captionFor(ERROR_GAME));
    boxes.clear();
    EXPECT_FALSE(other.createWeapons(nullptr));
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

}  // namespace
