#include "standalone/primitives/Box.h"
#include "standalone/primitives/Cylinder.h"
#include "standalone/primitives/Plane.h"
#include "standalone/primitives/Sphere.h"
#include "standalone/primitives/Teapot.h"
#include "standalone/primitives/Torus.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <numbers>
#include <stdexcept>
#include <utility>

using namespace standalone;

namespace {

constexpr double kPi = std::numbers::pi;

Point3 corner(const Mesh& m, int f, int k) { return m.verts[m.faces[std::size_t(f)].v[k]]; }
Point3 centroid(const Mesh& m, int f) { return (corner(m, f, 0) + corner(m, f, 1) + corner(m, f, 2)) / 3.0f; }
double area(const Mesh& m, int f)
{
    return 0.5 * Length(CrossProd(corner(m, f, 1) - corner(m, f, 0), corner(m, f, 2) - corner(m, f, 0)));
}

double totalArea(const Mesh& m)
{
    double a = 0.0;
    for (int f = 0; f < m.getNumFaces(); ++f)
        a += area(m, f);
    return a;
}

// Signed volume by the divergence theorem: positive for a closed mesh wound outward.
double signedVolume(const Mesh& m)
{
    double v = 0.0;
    for (int f = 0; f < m.getNumFaces(); ++f)
        v += DotProd(corner(m, f, 0), CrossProd(corner(m, f, 1), corner(m, f, 2))) / 6.0;
    return v;
}

// Every directed edge appears once and its reverse once: closed and consistently wound.
::testing::AssertionResult isWatertight(const Mesh& m)
{
    std::map<std::pair<DWORD, DWORD>, int> edges;
    for (const Face& f : m.faces)
        for (int k = 0; k < 3; ++k)
            ++edges[{f.v[k], f.v[(k + 1) % 3]}];
    for (const auto& [e, count] : edges) {
        if (count != 1)
            return ::testing::AssertionFailure()
                   << "edge " << e.first << "-" << e.second << " used " << count << "x";
        if (!edges.count({e.second, e.first}))
            return ::testing::AssertionFailure() << "edge " << e.first << "-" << e.second << " is open";
    }
    return ::testing::AssertionSuccess();
}

// Checks every mesh must pass: valid indices, UVs in [0, 1], unit normals that lean the same way
// as their face's winding, no degenerate triangles.
void expectWellFormed(const Mesh& m)
{
    ASSERT_TRUE(m.isValid());
    ASSERT_TRUE(m.hasUVs());
    ASSERT_TRUE(m.hasNormals());
    ASSERT_GT(m.getNumFaces(), 0);
    for (const Point3& t : m.tVerts)
        EXPECT_TRUE(t.x >= 0.0f && t.x <= 1.0f && t.y >= 0.0f && t.y <= 1.0f) << t.x << " " << t.y;
    for (const Point3& n : m.normals)
        ASSERT_NEAR(n.Length(), 1.0f, 1e-5f) << n.x << " " << n.y << " " << n.z;
    int degenerate = 0, disagreeing = 0;
    for (int f = 0; f < m.getNumFaces(); ++f) {
        degenerate += area(m, f) <= 1e-12;
        const Point3 fn = m.faceNormal(f);
        for (int k = 0; k < 3; ++k)
            disagreeing += DotProd(fn, m.normals[m.normalFaces[std::size_t(f)].t[k]]) <= 0.0f;
    }
    EXPECT_EQ(degenerate, 0);
    EXPECT_EQ(disagreeing, 0);
}

// Outward winding: each face normal points away from the nearest point of the shape's core.
void expectOutward(const Mesh& m, const std::function<Point3(const Point3&)>& core)
{
    int inward = 0;
    for (int f = 0; f < m.getNumFaces(); ++f) {
        const Point3 c = centroid(m, f);
        inward += DotProd(m.faceNormal(f), c - core(c)) <= 0.0f;
    }
    EXPECT_EQ(inward, 0);
}

TEST(Primitives, BoxStandsOnZeroIsClosedAndHardEdged)
{
    for (int segments : {1, 3}) {
        auto m = makeBox({2.0f, 3.0f, 4.0f, segments});
        expectWellFormed(*m);
        EXPECT_TRUE(isWatertight(*m));
        EXPECT_NEAR(signedVolume(*m), 24.0, 1e-4);
        EXPECT_NEAR(totalArea(*m), 2.0 * (6 + 8 + 12), 1e-4);
        expectOutward(*m, [](const Point3&) { return Point3(0, 0, 2); });
        for (const Point3& v : m->verts)
            EXPECT_TRUE(std::abs(v.x) <= 1.0f && std::abs(v.y) <= 1.5f && v.z >= 0.0f && v.z <= 4.0f);
        // Flat shading: each corner's normal is its face's normal.
        for (int f = 0; f < m->getNumFaces(); ++f)
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(m->normals[m->normalFaces[std::size_t(f)].t[k]], m->faceNormal(f));
    }
}

TEST(Primitives, InvalidParametersAreRejected)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_THROW(makePlane({0.0f, 1.0f, 1}), std::invalid_argument);
    EXPECT_THROW(makeBox({1.0f, 1.0f, 1.0f, 0}), std::invalid_argument);
    EXPECT_THROW(makeSphere({nan, 16}), std::invalid_argument);
    EXPECT_THROW(makeSphere({1.0f, 3}), std::invalid_argument);
    EXPECT_THROW(makeCylinder({1.0f, -2.0f, 8, 1, true}), std::invalid_argument);
    EXPECT_THROW(makeTorus({1.0f, 0.25f, 2, 8}), std::invalid_argument);
    EXPECT_THROW(makeTeapot({1.0f, 65}), std::invalid_argument);
    try {
        makeSphere({1.0f, 2000});
        FAIL();
    } catch (const std::invalid_argument& e) {
        EXPECT_STREQ(e.what(), "sphere: segments must be from 4 to 1024 (got 2000)");
    }
}

}  // namespace
