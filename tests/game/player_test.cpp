// The player's movement, look limits and the values it carries.
#include "game/player.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float STEP = 0.01f;

// Speeds and a view as the level gives them.
void toLevel(Player& p, const Vector3& direction = Vector3(1.0f, 0.0f, 0.1f)) {
    p.setSpeeds(20.0f, 3.0f);
    p.setView(Vector3(12.0f, 1.8f, 12.0f), direction);
}

float horizontalDistance(const Vector3& a, const Vector3& b) {
    return std::hypot(a.x - b.x, a.z - b.z);
}

struct PitchCase {
    const char* name;
    float lookOffset;  // mouse offset given to the look command before walking
};

void PrintTo(const PitchCase& c, std::ostream* os) {
    *os << c.name;
}

class WalkingSpeed : public ::testing::TestWithParam<PitchCase> {};

// The horizontal offset to the target is not normalised, and pitching never
// changes it, so the speed is 0.5 x 20 whatever the pitch.
TEST_P(WalkingSpeed, OneSecondOfMoveForwardCoversTenUnitsAlongTheHorizontalView) {
    Player p(0.5f);
    toLevel(p);
    if (GetParam().lookOffset != 0.0f) {
        p.move(Player::Command::LookUpDown, GetParam().lookOffset);
    }
    const Vector3 start = p.getPosition();
    Vector3 heading = p.getTarget().subtract(start);
    heading.y = 0.0f;
    heading.normalize();
    for (int i = 0; i < 100; ++i) {
        p.move(Player::Command::MoveForward, STEP);
    }
    const Vector3 end = p.getPosition();
    EXPECT_NEAR(horizontalDistance(start, end), 10.0f, 1e-3f);
    EXPECT_FLOAT_EQ(end.y, start.y);
    EXPECT_NEAR((end.x - start.x) / 10.0f, heading.x, 1e-4f);
    EXPECT_NEAR((end.z - start.z) / 10.0f, heading.z, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(Pitches, WalkingSpeed,
                         ::testing::Values(PitchCase{"level", 0.0f}, PitchCase{"up", -0.1f},
                                           PitchCase{"fullyUp", -5.0f},
                                           PitchCase{"fullyDown", 5.0f}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PlayerMove, ForwardAndBackInOneStepCancel) {
    Player p(0.5f);
    toLevel(p);
    const Vector3 start = p.getPosition();
    for (int i = 0; i < 100; ++i) {
        p.move(Player::Command::MoveForward, STEP);
        p.move(Player::Command::MoveBack, STEP);
    }
    EXPECT_NEAR(horizontalDistance(start, p.getPosition()), 0.0f, 1e-4f);
}

TEST(PlayerMove, StrafingGoesAtRightAnglesToTheView) {
    Player p(0.5f);
    toLevel(p, Vector3(0.0f, 0.0f, -1.0f));  // looking along -Z: right is +X
    const Vector3 start = p.getPosition();
    p.move(Player::Command::StrafeRight, 0.1f);
    EXPECT_NEAR(p.getPosition().x - start.x, 1.0f, 1e-5f);
    EXPECT_NEAR(p.getPosition().z, start.z, 1e-5f);
    p.move(Player::Command::StrafeLeft, 0.2f);
    EXPECT_NEAR(p.getPosition().x - start.x, -1.0f, 1e-5f);
    // The target moves along: the view direction is unchanged.
    EXPECT_NEAR(p.getDirection().z, -1.0f, 1e-5f);
}

TEST(PlayerMove, TurningKeepsTheLookDistanceAndTheEye) {
    Player p(0.5f);
    toLevel(p, Vector3(1.0f, 0.0f, 0.0f));
    const Vector3 eye = p.getPosition();
    p.move(Player::Command::Turn, 0.5f);  // 1.5 radians
    Vector3 d = p.getTarget().subtract(eye);
    EXPECT_EQ(p.getPosition(), eye);
    EXPECT_NEAR(std::hypot(d.x, d.z), 0.5f, 1e-5f);
    EXPECT_NEAR(std::atan2(d.z, d.x), 1.5f, 1e-4f);
    p.move(Player::Command::TurnBack, 0.5f);
    d = p.getTarget().subtract(eye);
    EXPECT_NEAR(d.x, 0.5f, 1e-5f);
    EXPECT_NEAR(d.z, 0.0f, 1e-5f);
    const Vector3 before = p.getTarget();
    p.move(static_cast<Player::Command>(99), 1.0f);
    EXPECT_EQ(p.getTarget(), before);
}

TEST(PlayerLook, OneOffsetMovesTheTargetByThreeTimesItAgainstTheInvertSign) {
    for (bool invert : {false, true}) {
        Player p(0.5f);
        toLevel(p);
        p.setInvertMouse(invert);
        const float y = p.getTarget().y;
        p.move(Player::Command::LookUpDown, 0.05f);
        EXPECT_NEAR(p.getTarget().y - y, invert ? 0.15f : -0.15f, 1e-6f) << invert;
    }
}

TEST(PlayerLook, PitchStopsAtFiftyDegreesUpAndThirtyDown) {
    Player p(0.5f);
    toLevel(p);
    p.setInvertMouse(false);
    for (int i = 0; i < 20; ++i) {
        p.move(Player::Command::LookUpDown, -0.05f);
    }
    EXPECT_NEAR(p.getTarget().y - p.getPosition().y, std::tan(50.0 * M_PI / 180.0) * 0.5, 1e-5);
    EXPECT_NEAR(p.getTarget().y - p.getPosition().y, 0.596f, 1e-3f);
    for (int i = 0; i < 40; ++i) {
        p.move(Player::Command::LookUpDown, 0.05f);
    }
    EXPECT_NEAR(p.getPosition().y - p.getTarget().y, std::tan(30.0 * M_PI / 180.0) * 0.5, 1e-5);
}

TEST(PlayerView, SetViewNormalisesAndAZeroDirectionLooksAtTheEye) {
    Player p(0.5f);
    p.setView(Vector3(1.0f, 2.0f, 3.0f), Vector3(0.0f, 0.0f, 8.0f));
    EXPECT_EQ(p.getTarget(), Vector3(1.0f, 2.0f, 3.5f));
    p.setView(Vector3(1.0f, 2.0f, 3.0f), Vector3());
    EXPECT_EQ(p.getTarget(), p.getPosition());
    // The direction of a view without length is zero, never NaN.
    Vector3 d = p.getDirection();
    EXPECT_EQ(d, Vector3());
    p.move(Player::Command::Turn, 1.0f);
    p.move(Player::Command::MoveForward, 1.0f);
    EXPECT_FALSE(std::isnan(p.getTarget().x) || std::isnan(p.getPosition().x));
}

TEST(PlayerView, SetPositionCarriesTheTarget) {
    Player p(0.5f);
    toLevel(p, Vector3(0.0f, 0.0f, 1.0f));
    p.move(Player::Command::LookUpDown, -0.05f);
    const Vector3 offset = p.getTarget().subtract(p.getPosition());
    p.setPosition(-4.0f, 1.8f, 7.0f);
    EXPECT_EQ(p.getPosition(), Vector3(-4.0f, 1.8f, 7.0f));
    const Vector3 moved = p.getTarget().subtract(p.getPosition());
    EXPECT_NEAR(moved.x, offset.x, 1e-6f);
    EXPECT_NEAR(moved.y, offset.y, 1e-6f);
    EXPECT_NEAR(moved.z, offset.z, 1e-6f);
}

TEST(PlayerConstruction, StartsWithTheDefaultsAndNoWeapons) {
    Player p(0.5f);
    EXPECT_EQ(p.getPosition(), Vector3(0.0f, 0.5f, 0.0f));
    EXPECT_EQ(p.getTarget(), Vector3(0.0f, 0.5f, -0.5f));
    EXPECT_EQ(p.getMoveSpeed(), 15.0f);
    EXPECT_EQ(p.getTurnSpeed(), 3.0f);
    EXPECT_EQ(p.getEnergy(), 50);
    EXPECT_EQ(p.getHealth(), 100);
    EXPECT_EQ(p.getScore(), 0);
    EXPECT_EQ(p.getWeaponState(), WeaponState::MaceReady);
    EXPECT_EQ(p.getCrossbow(), nullptr);
    EXPECT_EQ(p.getMace(), nullptr);
}

TEST(PlayerValues, HealthAndEnergyStayWithinZeroAndAHundred) {
    Player p(0.5f);
    p.addHealth(30.0f);
    EXPECT_EQ(p.healthValue(), 100.0f);
    p.addHealth(-250.0f);
    EXPECT_EQ(p.healthValue(), 0.0f);
    p.addEnergy(-60.0f);
    EXPECT_EQ(p.energyValue(), 0.0f);
    p.addEnergy(175.0f);
    EXPECT_EQ(p.energyValue(), 100.0f);
    // A value that is not a number would stay for good; it is ignored.
    p.addEnergy(std::nanf(""));
    p.addHealth(INFINITY);
    EXPECT_EQ(p.energyValue(), 100.0f);
    EXPECT_EQ(p.healthValue(), 0.0f);
    p.addScore(7);
    p.reset();
    EXPECT_EQ(p.getEnergy(), 50);
    EXPECT_EQ(p.getHealth(), 100);
    EXPECT_EQ(p.getScore(), 0);
}

TEST(PlayerValues, ReadingsTruncateTowardZero) {
    struct Case {
        float health;
        int shown;
    };
    for (Case c : {Case{19.6f, 19}, Case{0.9f, 0}, Case{1.0f, 1}, Case{99.99f, 99}}) {
        Player p(0.5f);
        p.addHealth(c.health - 100.0f);
        EXPECT_EQ(p.getHealth(), c.shown) << c.health;
    }
}

}  // namespace
