#include "standalone/TransformAnimation.h"
#include "standalone/SceneNode.h"
#include "support/TestShadeContext.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace test_support;

namespace {

using standalone::Quat;
using standalone::TransformAnimation;

const float halfPi = std::acos(-1.0f) / 2;

TEST(TransformAnimation, PositionAtBetweenAndOutsideKeys)
{
    TransformAnimation anim;
    anim.addPositionKey(160, {10, 0, 0});
    anim.addPositionKey(0, {0, 0, 0});  // keys may arrive in any order
    Matrix3 rest;
    expectNear(anim.evaluate(40, rest).GetTrans(), {2.5f, 0, 0});
    Interval before = FOREVER, between = FOREVER, after = FOREVER;
    expectNear(anim.evaluate(-100, rest, &before).GetTrans(), {0, 0, 0});
    anim.evaluate(80, rest, &between);
    expectNear(anim.evaluate(500, rest, &after).GetTrans(), {10, 0, 0});
    EXPECT_EQ(before, Interval(TIME_NegInfinity, 0));
    EXPECT_EQ(between, Interval(80, 80));
    EXPECT_EQ(after, Interval(160, TIME_PosInfinity));
    EXPECT_EQ(anim.lastKey(), 160);
    anim.addPositionKey(160, {20, 0, 0});  // replaces
    expectNear(anim.evaluate(160, rest).GetTrans(), {20, 0, 0});
}

TEST(TransformAnimation, RotationTakesTheShortArcAndUnkeyedChannelsKeepTheRest)
{
    TransformAnimation anim;
    anim.addRotationKey(0, Quat{});
    anim.addRotationKey(100, Quat::fromAxisAngle({0, 0, 1}, halfPi));
    Matrix3 rest = ScaleMatrix({2, 2, 2});
    rest.SetTrans({1, 2, 3});
    Matrix3 m = anim.evaluate(50, rest);
    // Halfway: 45 degrees about z, the rest's scale and position kept.
    float c = std::cos(halfPi / 2) * 2;
    expectNear(Point3(1, 0, 0) * m, Point3(c, c, 0) + Point3(1, 2, 3), 1e-4f);
    // A key given as the negated quaternion is the same rotation and must not spin the long way.
    TransformAnimation flipped;
    Quat q = Quat::fromAxisAngle({0, 0, 1}, halfPi);
    flipped.addRotationKey(0, Quat{});
    flipped.addRotationKey(100, Quat{-q.x, -q.y, -q.z, -q.w});
    expectNear(Point3(1, 0, 0) * flipped.evaluate(50, Matrix3()), Point3(c / 2, c / 2, 0), 1e-4f);
}

TEST(TransformAnimation, QuaternionMatrixRoundTrip)
{
    Matrix3 r = RotateXMatrix(0.3f) * RotateZMatrix(-1.1f) * RotateYMatrix(2.0f);
    Matrix3 back = Quat::fromMatrix(r).toMatrix();
    for (int i = 0; i < 3; ++i)
        expectNear(back.GetRow(i), r.GetRow(i), 1e-5f);
}

}  // namespace
