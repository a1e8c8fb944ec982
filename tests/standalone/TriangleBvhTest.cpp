#include "standalone/TriangleBvh.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace {

using standalone::BvhTriangle;
using standalone::TriangleBvh;

TriangleBvh bvhOf(std::vector<BvhTriangle> tris)
{
    TriangleBvh bvh;
    bvh.build(std::move(tris));
    return bvh;
}

// The reference answer: every triangle tested on its own, no hierarchy involved.
struct BruteForce {
    explicit BruteForce(const std::vector<BvhTriangle>& tris)
    {
        for (const BvhTriangle& t : tris)
            singles.push_back(bvhOf({t}));
    }
    bool occluded(const Point3& o, const Point3& d, float maxDistance) const
    {
        for (const TriangleBvh& b : singles)
            if (b.occluded(o, d, maxDistance))
                return true;
        return false;
    }
    std::vector<TriangleBvh> singles;
};

TEST(TriangleBvh, EmptyAndDegenerateInputBlockNothing)
{
    TriangleBvh bvh;
    EXPECT_TRUE(bvh.empty());
    EXPECT_FALSE(bvh.occluded(Point3(0, 0, 1), Point3(0, 0, -1), 10.0f));
    bvh.build({});
    EXPECT_FALSE(bvh.occluded(Point3(0, 0, 1), Point3(0, 0, -1), 10.0f));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    bvh.build({{Point3(0, 0, 0), Point3(1, 0, 0), Point3(2, 0, 0)},      // collinear
               {Point3(0, 0, 0), Point3(0, 0, 0), Point3(0, 1, 0)},      // repeated vertex
               {Point3(nan, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)}});  // not finite
    EXPECT_TRUE(bvh.empty());
    EXPECT_FALSE(bvh.occluded(Point3(0.1f, 0.1f, 1), Point3(0, 0, -1), 10.0f));
}

std::vector<BvhTriangle> randomTriangles(std::mt19937& rng, int count)
{
    std::uniform_real_distribution<float> pos(-10.0f, 10.0f), size(0.05f, 2.0f);
    std::vector<BvhTriangle> tris;
    for (int i = 0; i < count; ++i) {
        const Point3 a(pos(rng), pos(rng), pos(rng));
        const Point3 b = a + Point3(size(rng), pos(rng) * 0.1f, pos(rng) * 0.1f);
        const Point3 c = a + Point3(pos(rng) * 0.1f, size(rng), pos(rng) * 0.1f);
        tris.push_back({a, b, c, static_cast<std::uint32_t>(i)});
    }
    return tris;
}

TEST(TriangleBvh, SplitsScenesThatMixLargeAndSmallTriangles)
{
    // A ground plane under many small objects: the two big triangles must not stop the build
    // from splitting the small ones apart.
    std::vector<BvhTriangle> tris = {{{-100, -100, 0}, {100, -100, 0}, {100, 100, 0}},
                                     {{-100, -100, 0}, {100, 100, 0}, {-100, 100, 0}}};
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> pos(-10.0f, 10.0f);
    for (int i = 0; i < 2000; ++i) {
        Point3 p(pos(rng), pos(rng), pos(rng) * 0.1f + 1.0f);
        tris.push_back({p, p + Point3(0.05f, 0, 0), p + Point3(0, 0.05f, 0.01f)});
    }
    TriangleBvh bvh = bvhOf(tris);
    EXPECT_LE(bvh.largestLeaf(), 16u);
}

TEST(TriangleBvh, AgreesWithBruteForceOnRandomScenes)
{
    std::mt19937 rng(1234);
    std::vector<BvhTriangle> tris = randomTriangles(rng, 600);
    // Copies of one triangle: identical centroids that no split can separate.
    for (int i = 0; i < 40; ++i)
        tris.push_back({Point3(0, 0, 20), Point3(1, 0, 20), Point3(0, 1, 20)});
    const TriangleBvh bvh = bvhOf(tris);
    const BruteForce reference(tris);
    std::uniform_real_distribution<float> pos(-12.0f, 12.0f), unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(tris.size()) - 1);
    int hits = 0, misses = 0;
    for (int i = 0; i < 4000; ++i) {
        const Point3 origin(pos(rng), pos(rng), pos(rng));
        const BvhTriangle& t = tris[static_cast<std::size_t>(pick(rng))];
        Point3 dir;
        switch (i % 4) {
        case 0: dir = Point3(pos(rng), pos(rng), pos(rng)) - origin; break;
        case 1: dir = t.a + (t.b - t.a) * unit(rng) - origin; break;  // grazes an edge
        case 2: dir = t.c - origin; break;                            // through a vertex
        default: dir[i % 3] = pos(rng); break;  // axis-aligned: zero components in the slab test
        }
        // Some segments stop just short of the target, some just past it, some far beyond.
        const float reach = i % 5 == 0 ? 0.999f : i % 5 == 1 ? 1.001f : 1.0f + 3.0f * unit(rng);
        const bool expected = reference.occluded(origin, dir, reach);
        ASSERT_EQ(bvh.occluded(origin, dir, reach), expected) << "segment " << i;
        (expected ? hits : misses)++;
    }
    // Both outcomes were exercised in quantity.
    EXPECT_GT(hits, 500);
    EXPECT_GT(misses, 500);
    EXPECT_TRUE(bvh.occluded(Point3(0.25f, 0.25f, 0), Point3(0, 0, 1), 30.0f));
}

}  // namespace
