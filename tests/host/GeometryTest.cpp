#include "host/BaryCoords.h"
#include "host/Matrix3.h"
#include "host/NormalCompression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

void expectNear(const Point3& a, const Point3& b, float tol)
{
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

TEST(Matrix3, ComposesInRowVectorOrderAndInverts)
{
    // Scale first, then translate: the translation must not be scaled.
    Matrix3 m = ScaleMatrix({2, 2, 2}) * TransMatrix({1, 0, 0});
    expectNear(Point3(1, 1, 1) * m, {3, 2, 2}, 1e-6f);
    Matrix3 r = RotateZMatrix(0.5f) * RotateXMatrix(-1.2f) * TransMatrix({3, -4, 5}) * ScaleMatrix({1, 2, 3});
    Matrix3 inv = Inverse(r);
    Point3 p(0.3f, -7.0f, 2.5f);
    expectNear((p * r) * inv, p, 1e-4f);
    // Directions ignore the translation.
    expectNear(TransMatrix({9, 9, 9}).VectorTransform({1, 0, 0}), {1, 0, 0}, 0.0f);
    // A right-handed rotation about z takes x to y.
    expectNear(Point3(1, 0, 0) * RotateZMatrix(std::acos(-1.0f) / 2), {0, 1, 0}, 1e-6f);
    EXPECT_EQ(Inverse(ScaleMatrix({1, 0, 1})), Matrix3());  // singular: identity
}

TEST(BaryCoords, VerticesInteriorAndOutside)
{
    Point3 a(0, 0, 0), b(2, 0, 0), c(0, 2, 0);
    expectNear(BaryCoords(a, b, c, a), {1, 0, 0}, 1e-6f);
    expectNear(BaryCoords(a, b, c, c), {0, 0, 1}, 1e-6f);
    expectNear(BaryCoords(a, b, c, {0.5f, 0.5f, 0}), {0.5f, 0.25f, 0.25f}, 1e-6f);
    // Off the plane: projected onto it.
    expectNear(BaryCoords(a, b, c, {0.5f, 0.5f, 7}), {0.5f, 0.25f, 0.25f}, 1e-6f);
    // Beyond the edge b-c the first coordinate turns negative.
    EXPECT_LT(BaryCoords(a, b, c, {2, 2, 0}).x, 0.0f);
    expectNear(BaryCoords(a, a, a, b), {1.0f / 3, 1.0f / 3, 1.0f / 3}, 1e-6f);
}

TEST(NormalCompression, RoundTripsWithinTolerance)
{
    std::mt19937 rng(7);
    std::normal_distribution<float> g;
    for (int i = 0; i < 20000; ++i) {
        Point3 n = Normalize(Point3(g(rng), g(rng), g(rng)));
        Point3 d = DeCompressNormal(CompressNormal(n));
        ASSERT_NEAR(d.Length(), 1.0f, 1e-5f);
        expectNear(d, n, 1e-3f);
    }
    // The axes, including the folded lower hemisphere, survive exactly enough.
    for (Point3 axis : {Point3(0, 0, 1), Point3(0, 0, -1), Point3(1, 0, 0), Point3(0, -1, 0)})
        expectNear(DeCompressNormal(CompressNormal(axis)), axis, 1e-4f);
    // Degenerate input gives a valid unit normal rather than NaNs.
    EXPECT_NEAR(DeCompressNormal(CompressNormal({0, 0, 0})).Length(), 1.0f, 1e-5f);
    EXPECT_NEAR(DeCompressNormal(CompressNormal({NAN, 0, 0})).Length(), 1.0f, 1e-5f);
}

}  // namespace
