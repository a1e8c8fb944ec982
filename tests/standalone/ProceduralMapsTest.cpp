#include "standalone/maps/CheckerMap.h"
#include "standalone/maps/GradientMap.h"
#include "standalone/maps/GradientNoise3.h"
#include "standalone/maps/NoiseMap.h"

#include "support/ParamByName.h"
#include "support/TestShadeContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

using namespace test_support;

namespace {

using standalone::CheckerMap;
using standalone::GradientMap;
using standalone::NoiseMap;

constexpr float kTol = 1e-5f;
const Color kRed(1, 0, 0), kGreen(0, 1, 0), kBlue(0, 0, 1);

AColor at(Texmap& map, float u, float v)
{
    TestShadeContext sc;
    sc.uvw = Point3(u, v, 0);
    return map.EvalColor(sc);
}

TEST(CheckerMap, SubMapReplacesItsColourUnlessDisabled)
{
    CheckerMap checker;
    GradientMap inner;
    setParam(inner, "color1", kGreen);
    setParam(inner, "color2", kGreen);
    setParam(inner, "color3", kGreen);
    setParam(checker, "color1", kRed);
    setParam(checker, "color2", kBlue);
    setParam(checker, "map1", &inner);
    expectColor(at(checker, 0.25f, 0.25f), kGreen);
    expectColor(at(checker, 0.75f, 0.25f), kBlue);
    setParam(checker, "map1Enable", 0);
    expectColor(at(checker, 0.25f, 0.25f), kRed);
    checker.SetSubTexmap(1, &inner);
    expectColor(at(checker, 0.75f, 0.25f), kGreen);
}

TEST(GradientMap, EnvironmentModeLooksUpTheWorldReflectionVector)
{
    GradientMap g;
    setParam(g, "color1", kRed);  // top
    setParam(g, "color2", kGreen);
    setParam(g, "color3", kBlue);
    setParam(g, "mapping", 1);
    EXPECT_EQ(g.Requirements(-1) & MTLREQ_UV, 0u);
    TestShadeContext sc;
    sc.place(Point3(0, 0, -10), Point3(0, 0, 1));
    sc.view = Point3(0, 0, -1);          // reflects straight back along camera +z
    expectColor(g.EvalColor(sc), kRed);  // camera +z is world up with the identity camera
    sc.camToWorld = Matrix3(Point3(1, 0, 0), Point3(0, -1, 0), Point3(0, 0, -1), Point3(5, 5, 5));
    expectColor(g.EvalColor(sc), kBlue);  // now camera +z is world down
    sc.camToWorld = Matrix3();
    sc.normal = Normalize(Point3(1, 0, 1));  // reflects along camera +x: the horizon
    expectColor(g.EvalColor(sc), kGreen);
    EXPECT_EQ(g.EvalNormalPerturb(sc), Point3()) << "environment maps do not bump";
}

TEST(GradientNoise3, DeterministicBoundedAndZeroOnTheLattice)
{
    EXPECT_EQ(standalone::gradientNoise3(Point3(3, -7, 12)), 0.0f);
    EXPECT_EQ(standalone::gradientNoise3(Point3(0, 0, 0)), 0.0f);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> pos(-50.0f, 50.0f);
    float lo = 1.0f, hi = -1.0f;
    for (int i = 0; i < 5000; ++i) {
        const Point3 p(pos(rng), pos(rng), pos(rng));
        const float n = standalone::gradientNoise3(p);
        ASSERT_GE(n, -1.0f);
        ASSERT_LE(n, 1.0f);
        ASSERT_EQ(n, standalone::gradientNoise3(p));
        // Smooth: a tiny step makes a tiny change.
        ASSERT_NEAR(standalone::gradientNoise3(p + Point3(1e-3f, 0, 0)), n, 1e-2f);
        lo = std::min(lo, n), hi = std::max(hi, n);
        const float f = standalone::fractalNoise3(p, 4);
        ASSERT_GE(f, -1.0f);
        ASSERT_LE(f, 1.0f);
    }
    EXPECT_LT(lo, -0.4f) << "the noise uses its range";
    EXPECT_GT(hi, 0.4f);
    const float nan = std::nanf("");
    EXPECT_EQ(standalone::gradientNoise3(Point3(nan, 0, 0)), 0.0f);
}

TEST(NoiseMap, FollowsTheObjectScalesWithSizeOrReadsUVs)
{
    NoiseMap small, large, uvNoise;
    setParam(large, "size", 3.0f);
    TestShadeContext sc, moved;
    const Point3 p(1.3f, -2.2f, 0.7f), shift(10, -4, 2);
    moved.camToObj = TransMatrix(shift);
    sc.point = p + shift;
    moved.point = p;
    EXPECT_EQ(small.noiseValue(sc), small.noiseValue(moved));
    sc.point = p * 3.0f;
    moved.point = p;
    moved.camToObj = Matrix3();
    EXPECT_NEAR(large.noiseValue(sc), small.noiseValue(moved), 1e-5f);
    setParam(uvNoise, "space", 1);
    setParam(uvNoise, "size", 0.2f);
    EXPECT_NE(uvNoise.Requirements(-1) & MTLREQ_UV, 0u);
    sc.uvw = Point3(0.37f, 0.61f, 0);
    const float before = uvNoise.noiseValue(sc);
    sc.point = Point3(40, 40, -40);  // the object-space point does not matter in UV space
    EXPECT_EQ(uvNoise.noiseValue(sc), before);
}

// With N = +z the perturbation is minus the noise's x-y gradient (times size), whatever tangent
// frame the map picks.
TEST(NoiseMap, ObjectSpaceBumpIsTheTangentGradient)
{
    NoiseMap noise;  // black to white: mono == noiseValue
    setParam(noise, "size", 2.0f);
    TestShadeContext sc;
    const Point3 p(0.3f, 0.45f, -3.2f);
    sc.place(p, Point3(0, 0, 1));
    const Point3 np = noise.EvalNormalPerturb(sc);
    auto valueAt = [&](const Point3& q) {
        TestShadeContext probe;
        probe.point = q;
        return noise.noiseValue(probe);
    };
    const float h = 1e-3f;
    const float gx = (valueAt(p + Point3(h, 0, 0)) - valueAt(p - Point3(h, 0, 0))) / (2 * h);
    const float gy = (valueAt(p + Point3(0, h, 0)) - valueAt(p - Point3(0, h, 0))) / (2 * h);
    ASSERT_GT(std::hypot(gx, gy), 0.05f);
    EXPECT_NEAR(np.x, -2.0f * gx, 0.02f);
    EXPECT_NEAR(np.y, -2.0f * gy, 0.02f);
    EXPECT_NEAR(np.z, 0.0f, 1e-4f);
}

}  // namespace
