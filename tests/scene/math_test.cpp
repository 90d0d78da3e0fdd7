#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scene/color.h"
#include "scene/math_constants.h"
#include "scene/random.h"
#include "scene/scalar_math.h"
#include "scene/vector.h"

namespace {

TEST(MathConstants, DerivedFromTheFloatPi) {
    EXPECT_EQ(PI, static_cast<float>(4.0 * std::atan(1.0)));
    float pi = PI;
    EXPECT_EQ(TWO_PI, pi + pi);
    EXPECT_EQ(DEG_TO_RAD, pi / 180.0f);
    EXPECT_EQ(RAD_TO_DEG, 180.0f / pi);
    EXPECT_EQ(INV_PI, 1.0f / pi);
    EXPECT_EQ(VECTOR_EPSILON, static_cast<float>(1e-7));
}

TEST(Vector3Test, NormalizeAndZeroThresholds) {
    Vector3 tiny(0, 0, 1e-8f);
    tiny.normalize();
    EXPECT_EQ(tiny, Vector3(0, 0, 0));

    Vector3 v(3, 0, 4);
    v.normalize();
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_FLOAT_EQ(v.z, 0.8f);

    // The zero test's bound is exclusive.
    EXPECT_FALSE(Vector3(1e-7f, 0, 0).isZero());
    EXPECT_FALSE(Vector3(0, -1e-7f, 0).isZero());
    EXPECT_TRUE(Vector3(9e-8f, -9e-8f, 0).isZero());
    EXPECT_FLOAT_EQ(Vector3(1, 2, 2).length(), 3.0f);
    EXPECT_EQ(Vector3(1, 2, 3).dot(Vector3(4, -5, 6)), 12.0f);
}

TEST(Vector3Test, CosAngleClampsOnlyWhenOtherIsNotUnit) {
    Vector3 x(1, 0, 0);
    EXPECT_EQ(x.cosAngle(Vector3(-2, 0, 0), false), -1.0f);
    EXPECT_EQ(x.cosAngle(Vector3(-2, 0, 0), true), -2.0f);
    EXPECT_FLOAT_EQ(Vector3(2, 0, 0).cosAngle(Vector3(0, 0, 1), true), 0.0f);
    EXPECT_FLOAT_EQ(Vector3(1, 1, 0).cosAngle(Vector3(3, 0, 0), false), std::sqrt(0.5f));
    // Zero-length vectors give 0 rather than dividing by nothing.
    EXPECT_EQ(Vector3(0, 0, 0).cosAngle(x, false), 0.0f);
    EXPECT_EQ(x.cosAngle(Vector3(0, 0, 1e-8f), false), 0.0f);
    EXPECT_EQ(Vector3(0, 0, 1e-8f).cosAngle(x, true), 0.0f);
}

TEST(Vector2Test, DivideScaleAndCosAngle) {
    Vector2 v(2, -4);
    EXPECT_EQ(v.divide(5e-8f).x, 0.0f);
    EXPECT_EQ(v.divide(-5e-8f).y, 0.0f);
    EXPECT_FLOAT_EQ(v.divide(2.0f).y, -2.0f);
    float f = 1.5f;
    EXPECT_EQ(v.scale(f).x, 3.0f);
    EXPECT_EQ(v.add(Vector2(1, 1)).y, -3.0f);
    EXPECT_EQ(v.subtract(Vector2(1, 1)).x, 1.0f);
    EXPECT_EQ(Vector2(1, 0).cosAngle(Vector2(-3, 0), false), -1.0f);
    EXPECT_EQ(Vector2(1, 0).cosAngle(Vector2(-3, 0), true), -3.0f);
}

TEST(Color4Test, ClampsFloatsAndMapsBytes) {
    Color4 c(0, 128, 255, 300);
    EXPECT_EQ(c.r, 0.0f);
    EXPECT_EQ(c.g, 128.0f / 255.0f);
    EXPECT_EQ(c.b, 1.0f);
    EXPECT_EQ(c.a, 1.0f);
    Color4 low(-5, 1, 254, 0);
    EXPECT_EQ(low.r, 0.0f);
    EXPECT_EQ(low.g, 1.0f / 255.0f);
    EXPECT_EQ(low.b, 254.0f / 255.0f);

    Color4 f(-0.5f, 0.25f, 1.5f, 1.0f);
    EXPECT_EQ(f.r, 0.0f);
    EXPECT_EQ(f.g, 0.25f);
    EXPECT_EQ(f.b, 1.0f);
    EXPECT_EQ(f.a, 1.0f);
}

TEST(WrapAngle, DegreesAndRadians) {
    EXPECT_EQ(wrapAngle(370, true, 0), 10.0f);
    EXPECT_EQ(wrapAngle(-10, true, 0), 350.0f);
    EXPECT_EQ(wrapAngle(360, true, 0), 0.0f);
    EXPECT_EQ(wrapAngle(0, true, 0), 0.0f);
    EXPECT_EQ(wrapAngle(-180, true, -180), -180.0f);
    EXPECT_EQ(wrapAngle(180, true, -180), -180.0f);
    EXPECT_EQ(wrapAngle(1090, true, 0), 10.0f);
    EXPECT_EQ(wrapAngle(TWO_PI, false, 0), 0.0f);
    EXPECT_FLOAT_EQ(wrapAngle(-HALF_PI, false, 0), TWO_PI - HALF_PI);
    // Steps are rounded to float one by one.
    float expected = -725.0f;
    while (expected < 0.0f) {
        expected += 360.0f;
    }
    EXPECT_EQ(wrapAngle(-725, true, 0), expected);
}

TEST(WrapAngle, HugeAndInfiniteAnglesEndWithinTheRange) {
    float huge = wrapAngle(1e30f, true, 0);
    EXPECT_GE(huge, 0.0f);
    EXPECT_LT(huge, 360.0f);
    float negative = wrapAngle(-1e12f, false, -PI);
    EXPECT_GE(negative, -PI);
    EXPECT_LT(negative, PI);
    EXPECT_EQ(wrapAngle(std::numeric_limits<float>::infinity(), true, 0), 0.0f);
    EXPECT_EQ(wrapAngle(-std::numeric_limits<float>::infinity(), true, 90), 90.0f);
}

TEST(MapRangeClamped, ClampsAndInterpolates) {
    EXPECT_EQ(mapRangeClamped(10, 20, 0, 1, 0.5f), 15.0f);
    EXPECT_EQ(mapRangeClamped(10, 20, 0, 1, -1), 10.0f);
    EXPECT_EQ(mapRangeClamped(10, 20, 0, 1, 2), 20.0f);
    EXPECT_EQ(mapRangeClamped(10, 20, 0, 1, 1), 20.0f);
    EXPECT_EQ(mapRangeClamped(10, 20, 0, 1, 0), 10.0f);
    // x >= x1 is tested first, so equal bounds never divide.
    EXPECT_EQ(mapRangeClamped(3, 7, 5, 5, 5), 7.0f);
    EXPECT_EQ(mapRangeClamped(3, 7, 5, 5, 4), 3.0f);
    EXPECT_FLOAT_EQ(mapRangeClamped(1, 0, 0, 4, 1), 0.75f);
}

TEST(RandomNumbers, BoundsInEitherOrder) {
    EXPECT_EQ(randomIntFromDraw(0, 1, 5), 1);
    EXPECT_EQ(randomIntFromDraw(32767, 1, 5), 5);
    EXPECT_EQ(randomIntFromDraw(32767, 5, 1), 5);
    EXPECT_EQ(randomIntFromDraw(16384, 0, 1), 1);
    EXPECT_EQ(randomIntFromDraw(16383, 0, 1), 0);
    EXPECT_EQ(randomIntFromDraw(32767, 7, 7), 7);
    // A range wider than int stays inside its bounds.
    EXPECT_EQ(randomIntFromDraw(32767, -2147483647 - 1, 2147483647), 2147352576);
    EXPECT_EQ(randomIntFromDraw(0, -2147483647 - 1, 2147483647), -2147483647 - 1);

    EXPECT_EQ(randomFloatFromDraw(0, 2.0f, -2.0f), -2.0f);
    EXPECT_EQ(randomFloatFromDraw(32767, 2.0f, -2.0f), 2.0f);

    for (int i = 0; i < 20000; ++i) {
        int r = randomInt(5, 1);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 5);
        float f = randomFloat(3.0f, -1.0f);
        ASSERT_GE(f, -1.0f);
        ASSERT_LE(f, 3.0f);
    }
}

}  // namespace
