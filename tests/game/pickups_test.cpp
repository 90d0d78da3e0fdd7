#include <cmath>
#include <memory>
#include <string>

#include "game/pickups.h"
#include "play_objects_fixture.h"

namespace {

using PickupsTest = PlayObjectsTest;

TEST_F(PickupsTest, TakenWithinOneUnitHorizontallyAtAnyHeight) {
    struct Case {
        float dx;
        float dz;
        float eyeHeight;
        bool taken;
    } cases[] = {
        {0.99f, 0.0f, 1.8f, true},  {1.0f, 0.0f, 1.8f, false}, {0.0f, -0.99f, 1.8f, true},
        {0.0f, -1.0f, 1.8f, false}, {0.7f, 0.7f, 1.8f, true},  {0.71f, 0.71f, 1.8f, false},
        {0.0f, 0.0f, 1.8f, true},   {0.5f, 0.0f, 50.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dz << " at " << c.eyeHeight);
        PickupHealth pack(nodes.make("healthPack.cob"), 3.0f);
        pack.setPosition(10.0f, 0.0f, 10.0f);
        const Vector3 player(10.0f + c.dx, c.eyeHeight, 10.0f + c.dz);
        EXPECT_EQ(pack.tryCollect(player), c.taken);
        EXPECT_EQ(pack.isVisible(), !c.taken);
        // Once taken it is gone until it comes back.
        EXPECT_FALSE(c.taken && pack.tryCollect(player));
    }
}

TEST_F(PickupsTest, ComeBackAfterTheirDelayCountedFromTheFirstFrameAfterCollection) {
    NodeTransform* battery = nodes.make("battery.cob");
    NodeTransform* cell = nodes.make("powerCell", battery);
    std::unique_ptr<PickupObject> pickups[] = {
        std::make_unique<PickupHealth>(nodes.make("healthPack.cob"), 3.0f),
        std::make_unique<PickupEnergy>(battery, cell, 10.0f),
        std::make_unique<PickupArrows>(nodes.make("arrowCase"), 5.0f),
    };
    const float delays[] = {3.0f, 10.0f, 5.0f};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(delays[i]);
        PickupObject& pickup = *pickups[i];
        pickup.setPosition(6.0f, 0.0f, 6.0f);
        EXPECT_FALSE(pickup.checkRespawn());  // lying: nothing to do
        ASSERT_TRUE(pickup.tryCollect(Vector3(6.0f, 1.8f, 6.0f)));
        advance(2.0);  // a long frame after the step that took it
        EXPECT_FALSE(pickup.checkRespawn());
        EXPECT_FLOAT_EQ(pickup.getRespawnTime(), now() + delays[i]);
        advance(delays[i] - 0.02);
        EXPECT_FALSE(pickup.checkRespawn());
        EXPECT_FALSE(pickup.isVisible());
        advance(0.04);
        EXPECT_TRUE(pickup.checkRespawn());
        EXPECT_TRUE(pickup.isVisible());
        EXPECT_FALSE(pickup.checkRespawn());
    }
}

TEST_F(PickupsTest, PowerCellAndArrowCaseSpinAtTheirOwnRates) {
    NodeTransform* battery = nodes.make("battery.cob");
    NodeTransform* cell = nodes.make("powerCell", battery);
    PickupEnergy energy(battery, cell, 10.0f);
    PickupArrows arrows(nodes.make("arrowCase"), 5.0f);
    NodeTransform* packNode = nodes.make("healthPack.cob");
    PickupHealth health(packNode, 3.0f);
    for (int i = 0; i < 100; ++i) {
        energy.update();
        arrows.update();
        health.update();
    }
    // One second of steps.
    EXPECT_NEAR(energy.getRootSpin().current(), 75.0f, 1e-3f);
    EXPECT_NEAR(energy.getNestedSpin().current(), 133.3f, 1e-3f);
    EXPECT_NEAR(arrows.getSpin().current(), 50.0f, 1e-3f);
    energy.animate(0.5f);
    arrows.animate(0.5f);
    health.animate(0.5f);
    EXPECT_NEAR(battery->m_fAngle, 75.0f - 0.375f, 1e-3f);
    EXPECT_NEAR(cell->m_fAngle, 133.3f - 0.6665f, 1e-3f);
    EXPECT_NEAR(arrows.getRoot()->m_fAngle, 50.0f - 0.25f, 1e-3f);
    EXPECT_EQ(packNode->m_fAngle, 0.0f);

    // An hour of play keeps the angles within a turn either way.
    for (int i = 0; i < 360000; ++i) {
        energy.update();
    }
    EXPECT_LE(std::fabs(energy.getRootSpin().current()), 360.0f);
    EXPECT_LE(std::fabs(energy.getNestedSpin().current()), 360.0f);

    // Taken, they stand still.
    ASSERT_TRUE(arrows.tryCollect(Vector3()));
    const float before = arrows.getSpin().current();
    arrows.update();
    arrows.animate(1.0f);
    EXPECT_EQ(arrows.getSpin().current(), before);
}

TEST_F(PickupsTest, MissingNodesAreNamedAndAskingAboutThemIsSafe) {
    PickupHealth rootless(nullptr, 3.0f);
    EXPECT_FALSE(rootless.checkNodes());
    PickupEnergy noCell(nodes.make("battery.cob"), nullptr, 10.0f);
    EXPECT_FALSE(noCell.checkNodes());
    PickupEnergy nothing(nullptr, nullptr, 10.0f);
    EXPECT_FALSE(nothing.checkNodes());
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "PickupObject: Could not find root transform node",
                              "PickupEnergy: Could not find nested transform node",
                              "PickupObject: Could not find root transform node",
                          }));
    EXPECT_EQ(reporter.getMessage(), "No Error.");

    EXPECT_EQ(rootless.getPosition(), Vector3());
    EXPECT_FALSE(rootless.isVisible());
    EXPECT_FALSE(rootless.tryCollect(Vector3()));
    EXPECT_FALSE(rootless.checkRespawn());
    rootless.setPosition(1.0f, 2.0f, 3.0f);
    nothing.update();
    nothing.animate(0.5f);
}

}  // namespace
