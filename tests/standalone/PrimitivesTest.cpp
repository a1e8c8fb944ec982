#include "standalone/primitives/Box.h"
#include "standalone/primitives/Cylinder.h"
#include "standalone/primitives/Plane.h"
#include "standalone/primitives/Sphere.h"
#include "standalone/primitives/Teapot.h"
#include "standalone/primitives/Torus.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <stdexcept>
#include <utility>

using namespace standalone;

namespace {

// Every directed edge appears once and its reverse once: closed and consistently wound.
::testing::AssertionResult isWatertight(const Mesh& m)
{
    std::map<std::pair<DWORD, DWORD>, int> edges;
    for (const Face& f : m.faces)
        for (int k = 0; k < 3; ++k)
            ++edges[{f.v[k], f.v[(k + 1) % 3]}];
    for (const auto& [e, count] : edges)
        if (count != 1 || !edges.count({e.second, e.first}))
            return ::testing::AssertionFailure()
                   << "edge " << e.first << "-" << e.second << " used " << count << "x or open";
    return ::testing::AssertionSuccess();
}

// Signed volume by the divergence theorem: positive for a closed mesh wound outward.
double signedVolume(const Mesh& m)
{
    double v = 0.0;
    for (const Face& f : m.faces)
        v += DotProd(m.verts[f.v[0]], CrossProd(m.verts[f.v[1]], m.verts[f.v[2]])) / 6.0;
    return v;
}

TEST(Primitives, SolidsAreClosedWoundOutwardAndHoldTheirVolume)
{
    const struct {
        const char* name;
        std::shared_ptr<Mesh> mesh;
        double volume, tolerance;
    } solids[] = {
        {"box", makeBox({2.0f, 3.0f, 4.0f, 3}), 24.0, 1e-4},
        {"sphere", makeSphere({2.0f, 48}), 4.0 / 3.0 * 3.14159265 * 8.0, 0.7},
        {"smallest sphere", makeSphere({1.0f, 4}), 0.0, 0.0},
        {"torus", makeTorus({2.0f, 0.5f, 96, 48}), 2.0 * 3.14159265 * 3.14159265 * 2.0 * 0.25, 0.1},
        {"capped cylinder", makeCylinder({1.0f, 3.0f, 32, 2, true}), 3.14159265 * 3.0, 0.2},
    };
    for (const auto& s : solids) {
        SCOPED_TRACE(s.name);
        ASSERT_TRUE(s.mesh->isValid() && s.mesh->hasUVs() && s.mesh->hasNormals());
        EXPECT_TRUE(isWatertight(*s.mesh));
        if (s.volume > 0.0)
            EXPECT_NEAR(signedVolume(*s.mesh), s.volume, s.tolerance);
        else
            EXPECT_GT(signedVolume(*s.mesh), 0.0);
    }
    EXPECT_FALSE(isWatertight(*makeCylinder({1.0f, 3.0f, 32, 2, false}))) << "no caps: open at both rims";
    EXPECT_GT(signedVolume(*makeTeapot({1.0f, 6})), 0.0) << "nearly closed and wound outward";
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
