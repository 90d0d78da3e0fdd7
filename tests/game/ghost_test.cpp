#include <cmath>

#include "game/ghost.h"
#include "game/play_support.h"
#include "play_objects_fixture.h"
#include "scene/math_constants.h"

namespace {

constexpr float WORLD = 100.0f;

class GhostTest : public PlayObjectsTest {
protected:
    GhostTest() : root(nodes.ghost()), ghost(root) {
        // The first step brings the ghost in from an edge; then it is put
        // where the test wants it.
        ghost.update(Vector3(-100.0f, 0.0f, -100.0f), world);
        EXPECT_EQ(ghost.getState(), Ghost::State::Wandering);
    }

    // The ghost at (x, z) facing the heading, then one step with the player at p.
    void stepAt(float x, float z, float heading, const Vector3& p) {
        ghost.setPosition(x, 0.0f, z);
        ghost.setHeading(heading);
        ghost.update(p, world);
    }
    // The player at distance and bearing (degrees, clockwise from the
    // heading 0 = +Z) from (50, 50).
    static Vector3 around(float distance, float bearing) {
        float b = bearing * DEG_TO_RAD;
        return Vector3(50.0f + distance * std::sin(b), 1.8f, 50.0f + distance * std::cos(b));
    }
    void makeChase() {
        stepAt(50.0f, 50.0f, 0.0f, around(10.0f, 90.0f));
        ASSERT_EQ(ghost.getState(), Ghost::State::Chasing);
    }

    GhostWorld world{WORLD, WORLD};
    NodeTransform* root;
    Ghost ghost;
};

TEST_F(GhostTest, AngleOfAZeroOrRoundedVectorIsNeverNaN) {
    EXPECT_FLOAT_EQ(angleToUnitDegrees(Vector3(), Vector3(0, 0, 1)), 90.0f);
    EXPECT_FLOAT_EQ(angleToUnitDegrees(Vector3(0, 0, 3), Vector3(0, 0, 1)), 0.0f);
    EXPECT_FLOAT_EQ(angleToUnitDegrees(Vector3(0, 0, -3), Vector3(0, 0, 1)), 180.0f);
    // A "unit" vector a rounding above length 1 takes the raw cosine past 1.
    EXPECT_FLOAT_EQ(angleToUnitDegrees(Vector3(0, 0, 3), Vector3(0, 0, 1.0000002f)), 0.0f);
    EXPECT_FLOAT_EQ(angleToUnitDegrees(Vector3(0, 0, -3), Vector3(0, 0, 1.0000002f)), 180.0f);
}

TEST_F(GhostTest, WanderingGhostChasesWhatItSeesWithin15Units) {
    struct Case {
        float distance;
        float bearing;
        Ghost::State expected;
    } cases[] = {
        {10.0f, 0.0f, Ghost::State::Wandering},    // straight ahead: under 5 degrees
        {10.0f, 4.0f, Ghost::State::Wandering},    //
        {10.0f, 6.0f, Ghost::State::Chasing},      //
        {10.0f, 90.0f, Ghost::State::Chasing},     // to the right
        {10.0f, -90.0f, Ghost::State::Chasing},    // to the left
        {10.0f, 119.0f, Ghost::State::Chasing},    //
        {10.0f, 121.0f, Ghost::State::Wandering},  // behind it: unseen
        {10.0f, 180.0f, Ghost::State::Wandering},  //
        {14.9f, 90.0f, Ghost::State::Chasing},     //
        {15.1f, 90.0f, Ghost::State::Wandering},   // too far to notice
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " at " << c.bearing);
        stepAt(50.0f, 50.0f, 0.0f, around(c.distance, c.bearing));
        EXPECT_EQ(ghost.getState(), c.expected);
        if (ghost.getState() == Ghost::State::Chasing) {
            stepAt(50.0f, 50.0f, 0.0f, around(30.0f, 0.0f));  // lose it again
            ASSERT_EQ(ghost.getState(), Ghost::State::Wandering);
        }
    }
}

TEST_F(GhostTest, ChasingGhostTurnsOneDegreePerStepTowardThePlayer) {
    makeChase();
    struct Case {
        float bearing;
        float turn;
    } cases[] = {
        {0.0f, 0.0f},   {4.0f, 0.0f},   {-4.0f, 0.0f},  // already facing
        {6.0f, 1.0f},   {-6.0f, -1.0f}, {90.0f, 1.0f},  {-90.0f, -1.0f},
        {119.0f, 1.0f}, {121.0f, 0.0f}, {180.0f, 0.0f},  // out of sight: keeps its heading
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bearing);
        stepAt(50.0f, 50.0f, 30.0f, around(20.0f, 30.0f + c.bearing));
        EXPECT_EQ(ghost.getState(), Ghost::State::Chasing);
        EXPECT_FLOAT_EQ(root->m_fAngle, 30.0f + c.turn);
        float h = root->m_fAngle * DEG_TO_RAD;
        EXPECT_FLOAT_EQ(ghost.getDirection().x, std::sin(h));
        EXPECT_FLOAT_EQ(ghost.getDirection().z, std::cos(h));
    }
    // A full turn of 90 degrees takes 90 steps (the ghost stays put here).
    ghost.setHeading(0.0f);
    for (int i = 0; i < 90; ++i) {
        ghost.setPosition(50.0f, 0.0f, 50.0f);
        ghost.update(around(20.0f, 90.0f), world);
    }
    EXPECT_NEAR(root->m_fAngle, 85.0f, 1.0f);  // stops turning within 5 degrees
}

TEST_F(GhostTest, ChasingGhostGivesUpBeyond25Units) {
    makeChase();
    stepAt(50.0f, 50.0f, 0.0f, around(24.9f, 0.0f));
    EXPECT_EQ(ghost.getState(), Ghost::State::Chasing);
    stepAt(50.0f, 50.0f, 0.0f, around(25.1f, 0.0f));
    EXPECT_EQ(ghost.getState(), Ghost::State::Wandering);
    EXPECT_EQ(ghost.getAttackMode(), 0);
}

TEST_F(GhostTest, AttacksWithOneArmThenSometimesBothWhenCloseAndFacing) {
    makeChase();
    stepAt(50.0f, 50.0f, 0.0f, around(5.0f, 0.0f));
    int first = ghost.getAttackMode();
    EXPECT_TRUE(first == 1 || first == 2) << first;
    int steps = 0;
    while (ghost.getAttackMode() != 3 && steps < 2000) {
        stepAt(50.0f, 50.0f, 0.0f, around(5.0f, 0.0f));
        ++steps;
        ASSERT_NE(ghost.getAttackMode(), 0);
    }
    EXPECT_EQ(ghost.getAttackMode(), 3);
    // Too far off the heading or too far away: the arms stop.
    stepAt(50.0f, 50.0f, 0.0f, around(5.0f, 50.0f));
    EXPECT_EQ(ghost.getAttackMode(), 0);
    stepAt(50.0f, 50.0f, 0.0f, around(5.0f, 0.0f));
    EXPECT_NE(ghost.getAttackMode(), 0);
    stepAt(50.0f, 50.0f, 0.0f, around(7.6f, 0.0f));
    EXPECT_EQ(ghost.getAttackMode(), 0);
}

TEST_F(GhostTest, OnlyTheAttackingArmSwingsAndTheOthersRelax) {
    NodeTransform* rightShoulder = static_cast<NodeTransform*>(root->findByName("R_Shoulder"));
    NodeTransform* leftShoulder = static_cast<NodeTransform*>(root->findByName("L_Shoulder"));
    leftShoulder->m_fAngle = 10.0f;
    rightShoulder->m_fAngle = 10.0f;
    makeChase();
    int mode = 0;
    for (int i = 0; i < 5; ++i) {
        stepAt(50.0f, 50.0f, 0.0f, around(5.0f, 0.0f));
        mode = ghost.getAttackMode();
        ghost.animate(0.0f);
    }
    ASSERT_TRUE(mode == 1 || mode == 2) << mode;
    NodeTransform* swinging = mode == 1 ? rightShoulder : leftShoulder;
    NodeTransform* resting = mode == 1 ? leftShoulder : rightShoulder;
    // Five steps into the 0 -> 35 degree segment of 0.1167 s.
    EXPECT_NEAR(swinging->m_fAngle, 35.0f * 0.05f / 0.11666667f, 0.01f);
    EXPECT_NEAR(resting->m_fAngle, 10.0f - 5 * 0.3f, 1e-4f);
    for (int i = 0; i < 100; ++i) {
        ghost.animate(0.0f);
    }
    EXPECT_LE(std::fabs(resting->m_fAngle), 1.0f);
}

TEST_F(GhostTest, DamageFallsFromHalfAPointAtTheCentreToNothingAt2Units) {
    struct Case {
        float dx;
        float dz;
        float expected;
    } cases[] = {
        {0.0f, 0.0f, -0.5f},
        {1.0f, 0.0f, -0.375f},
        {0.0f, -1.0f, -0.375f},
        {1.0f, 1.0f, -0.25f},
        {1.99f, 0.0f, -0.5f + 0.125f * 1.99f * 1.99f},
        {2.0f, 0.0f, 0.0f},
        {0.0f, 3.0f, 0.0f},
    };
    ghost.setPosition(50.0f, 0.0f, 50.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dz);
        // The player's eye height plays no part.
        EXPECT_NEAR(ghost.damage(Vector3(50.0f + c.dx, 1.8f, 50.0f + c.dz)), c.expected, 1e-5f);
    }
}

TEST_F(GhostTest, DiesShrinkingWaitsFiveSecondsAndComesBackAtAnEdge) {
    ghost.setPosition(50.0f, 0.0f, 50.0f);
    EXPECT_EQ(ghost.kill(), 5);
    EXPECT_FALSE(ghost.isAlive());
    int steps = 0;
    while (ghost.getState() == Ghost::State::Dying && steps < 200) {
        ghost.update(Vector3(), world);
        advance(0.01);
        ++steps;
    }
    EXPECT_NEAR(steps, 101, 1);  // 0.01 of the scale per step
    EXPECT_EQ(ghost.getState(), Ghost::State::Waiting);
    EXPECT_FALSE(ghost.isVisible());
    const float deadAt = now();
    while (now() < deadAt + 4.99f) {
        ghost.update(Vector3(), world);
        ASSERT_EQ(ghost.getState(), Ghost::State::Waiting);
        advance(0.01);
    }
    advance(0.03);
    ghost.update(Vector3(), world);
    EXPECT_EQ(ghost.getState(), Ghost::State::Wandering);
    EXPECT_TRUE(ghost.isVisible());
    EXPECT_EQ(root->m_vScale, Vector3(1.0f, 1.0f, 1.0f));
    Vector3 p = ghost.getPosition();
    bool onEdge = p.x == 0.5f || p.z == 0.5f || p.x == WORLD - 0.5f || p.z == WORLD - 0.5f;
    EXPECT_TRUE(onEdge) << p.x << ", " << p.z;
}

TEST_F(GhostTest, ComesBackFacingIntoTheMapFromEveryEdge) {
    int seen[4] = {};
    for (int i = 0; i < 200; ++i) {
        ghost.kill();
        for (int s = 0; s < 110; ++s) {
            ghost.setPosition(50.0f, 0.0f, 50.0f);
            ghost.update(Vector3(), world);
        }
        ASSERT_EQ(ghost.getState(), Ghost::State::Waiting);
        advance(5.1);
        ghost.update(Vector3(), world);
        ASSERT_EQ(ghost.getState(), Ghost::State::Wandering);
        Vector3 p = ghost.getPosition();
        // The four edges, each with the direction into the map.
        const bool onSide[4] = {p.z == 0.5f, p.x == WORLD - 0.5f, p.z == WORLD - 0.5f, p.x == 0.5f};
        const Vector3 inward[4] = {Vector3(0, 0, 1), Vector3(-1, 0, 0), Vector3(0, 0, -1),
                                   Vector3(1, 0, 0)};
        int side = 0;
        while (side < 4 && !onSide[side]) {
            ++side;
        }
        ASSERT_LT(side, 4) << p.x << ", " << p.z;
        ++seen[side];
        EXPECT_GE(ghost.getDirection().dot(inward[side]), std::cos(45.0f * DEG_TO_RAD) - 1e-5f);
        EXPECT_GE(ghost.getSpeed(), world.baseSpeed - 0.01f);
        EXPECT_LE(ghost.getSpeed(), world.baseSpeed + 2.0f);
    }
    for (int count : seen) {
        EXPECT_GT(count, 20);
    }
}

TEST_F(GhostTest, LeavingTheMapMeansComingBackAtTheNextStep) {
    ghost.setPosition(0.01f, 0.0f, 50.0f);
    ghost.setHeading(270.0f);  // toward -X: out at the next step
    ghost.kill();
    ghost.update(Vector3(), world);
    EXPECT_EQ(ghost.getState(), Ghost::State::Waiting);
    EXPECT_EQ(ghost.getRespawnTime(), 0.0f);
    ghost.update(Vector3(), world);
    EXPECT_EQ(ghost.getState(), Ghost::State::Wandering);
    EXPECT_TRUE(ghost.isVisible());
    EXPECT_EQ(root->m_vScale.x, 1.0f);
}

TEST_F(GhostTest, BaseSpeedGrowsWithEveryStepOfEveryGhost) {
    NodeTransform* r2 = nodes.ghost("ghost_2");
    NodeTransform* r3 = nodes.ghost("ghost_3");
    Ghost second(r2);
    Ghost third(r3);
    Ghost* all[3] = {&ghost, &second, &third};
    for (int step = 0; step < 600 * 100; ++step) {
        for (Ghost* g : all) {
            g->update(Vector3(), world);
        }
    }
    // Ten minutes: 3 x 60000 x 0.01 x 0.004166.
    EXPECT_NEAR(world.baseSpeed, 3.0f + 7.4988f, 0.05f);
}

TEST_F(GhostTest, ArrowInHeadChestOrBackScoresMoreFromFurtherAway) {
    struct Case {
        float heading;
        Vector3 offset;  // from the ghost's feet, already turned by the heading
        int points;
    } cases[] = {
        {0.0f, Vector3(0.0f, 1.377f, 0.0f), 7},    // 5 + 10 x 0.2
        {0.0f, Vector3(0.0f, 1.756f, 0.085f), 9},  // 3 + 3 x 10 x 0.2
        {0.0f, Vector3(0.0f, 0.96f, -0.191f), 8},  // 4 + 2 x 10 x 0.2
        {90.0f, Vector3(0.085f, 1.756f, 0.0f), 9},   {90.0f, Vector3(-0.191f, 0.96f, 0.0f), 8},
        {180.0f, Vector3(0.0f, 1.756f, -0.085f), 9}, {180.0f, Vector3(0.0f, 0.96f, 0.191f), 8},
    };
    const Vector3 player(50.0f, 1.8f, 40.0f);  // 10 units away
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heading << " -> " << c.points);
        Ghost target(nodes.ghost("target"));
        target.update(Vector3(-100.0f, 0.0f, -100.0f), world);
        ASSERT_TRUE(target.isAlive());
        target.setPosition(50.0f, 0.0f, 50.0f);
        target.setHeading(c.heading);
        Vector3 arrow(50.0f + c.offset.x, c.offset.y, 50.0f + c.offset.z);
        EXPECT_EQ(target.arrowHit(arrow, player), c.points);
        EXPECT_EQ(target.getState(), Ghost::State::Dying);
        // A dying ghost is never hit again.
        EXPECT_EQ(target.arrowHit(arrow, player), 0);
    }
}

TEST_F(GhostTest, ArrowsBesideOrAboveTheBodyMiss) {
    ghost.setPosition(50.0f, 0.0f, 50.0f);
    ghost.setHeading(0.0f);
    const Vector3 player(50.0f, 1.8f, 40.0f);
    const Vector3 misses[] = {
        Vector3(50.0f, 1.9f, 50.0f),    // above the head
        Vector3(50.0f, 0.8f, 50.0f),    // below the body
        Vector3(50.3f, 1.377f, 50.0f),  // outside the column
        Vector3(50.0f, 0.85f, 50.2f),   // in the column, in no sphere
    };
    for (const Vector3& arrow : misses) {
        EXPECT_EQ(ghost.arrowHit(arrow, player), 0);
        EXPECT_TRUE(ghost.isAlive());
    }
    // Shot from on top of the ghost: the base points, nothing undefined.
    EXPECT_EQ(ghost.arrowHit(Vector3(50.0f, 1.377f, 50.0f), Vector3(50.0f, 1.8f, 50.0f)), 5);
}

TEST_F(GhostTest, APlayerStandingExactlyOnTheGhostNeverMakesNaN) {
    for (int i = 0; i < 300; ++i) {
        Vector3 mine = ghost.getOwnPosition();
        ghost.update(Vector3(mine.x, 1.8f, mine.z), world);
        ghost.animate(0.5f);
    }
    EXPECT_TRUE(std::isfinite(root->m_fAngle));
    EXPECT_TRUE(std::isfinite(ghost.getDirection().x));
    EXPECT_TRUE(std::isfinite(ghost.getDirection().z));
    EXPECT_TRUE(std::isfinite(ghost.getPosition().x));
    EXPECT_TRUE(std::isfinite(ghost.getPosition().z));
}

TEST_F(GhostTest, HoversAroundItsOwnPositionWhileVisible) {
    ghost.setPosition(50.0f, 0.0f, 50.0f);
    for (int i = 0; i < 500; ++i) {
        ghost.update(Vector3(), world);
        ghost.animate(0.5f);
        Vector3 own = ghost.getOwnPosition();
        Vector3 drawn = ghost.getPosition();
        ASSERT_LE(std::fabs(drawn.x - own.x), 0.02f + 1e-4f);
        ASSERT_LE(std::fabs(drawn.z - own.z), 0.02f + 1e-4f);
        ASSERT_GE(drawn.y, 0.15f - 1e-4f);
        ASSERT_LE(drawn.y, 0.3f + 1e-4f);
        float jawY = static_cast<NodeTransform*>(root->findByName("jawBone"))->m_vTranslation.y;
        ASSERT_GE(jawY, -0.03f - 1e-4f);
        ASSERT_LE(jawY, 0.02f + 1e-4f);
    }
    // Hidden, the node stays where it was.
    root->setVisible(false);
    Vector3 before = ghost.getPosition();
    ghost.update(Vector3(), world);
    ghost.animate(0.5f);
    EXPECT_EQ(ghost.getPosition(), before);
}

TEST_F(GhostTest, NodeCheckNamesTheFirstMissingPiece) {
    const char* joints[] = {"jawBone", "R_Shoulder", "L_Shoulder", "R_hand", "L_hand"};
    const char* messages[] = {
        "Ghost: Could not find jawBone transform node",
        "Ghost: Could not find Right Shoulder transform node",
        "Ghost: Could not find Left Shoulder transform node",
        "Ghost: Could not find Right Hand transform node",
        "Ghost: Could not find Left Hand transform node",
    };
    for (int i = 0; i < 5; ++i) {
        NodeTransform* model = nodes.ghost("other");
        static_cast<NodeTransform*>(model->findByName(joints[i]))->setName("renamed");
        Ghost partial(model);
        boxes.clear();
        EXPECT_FALSE(partial.checkNodes());
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, messages[i]);
        EXPECT_EQ(boxes.boxes()[0].caption, ErrorReporter::captionFor(ERROR_GAME));
        EXPECT_EQ(reporter.getMessage(), "No Error.");
    }
    Ghost rootless(nullptr);
    boxes.clear();
    EXPECT_FALSE(rootless.checkNodes());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Ghost: Could not find root transform node"});
    // Every joint found, but no light yet.
    boxes.clear();
    EXPECT_FALSE(ghost.checkNodes());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"Ghost: invalid light source"});
}

}  // namespace
