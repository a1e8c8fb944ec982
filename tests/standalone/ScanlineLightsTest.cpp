#include "standalone/ScanlineLights.h"

#include "standalone/TriangleBvh.h"
#include "support/TestShadeContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace test_support;

namespace {

using standalone::LightSettings;
using standalone::LightType;
using standalone::makeScanlineLight;

constexpr float kTol = 1e-5f;
constexpr float kDeg = std::numbers::pi_v<float> / 180.0f;

struct Sample {
    BOOL lit = FALSE;
    Color color;
    Point3 dir;
    float dotNL = 0.0f;
    float diffuseCoef = 0.0f;
};

Sample illuminate(LightDesc& light, TestShadeContext& sc)
{
    Sample s;
    s.lit = light.Illuminate(sc, sc.Normal(), s.color, s.dir, s.dotNL, s.diffuseCoef);
    return s;
}

LightSettings settings(LightType type, Color color = Color(1, 1, 1), float multiplier = 1.0f)
{
    LightSettings s;
    s.type = type;
    s.color = color;
    s.multiplier = multiplier;
    return s;
}

std::vector<standalone::BvhTriangle> quad(const Point3& corner, const Point3& u, const Point3& v)
{
    return {{corner, corner + u, corner + u + v}, {corner, corner + u + v, corner + v}};
}

}  // namespace

// A tilted floor seen from far away at several scales (millimetres to kilometres): points on it,
// found by intersecting camera rays in float as the renderer does, must not shadow themselves, and
// a post standing on it must still shadow the floor right up to its foot.
TEST(AutomaticShadowBias, NoSelfShadowingAndClosedContactShadowsAtAnyScale)
{
    for (float scale : {0.01f, 1.0f, 100.0f, 10000.0f}) {
        SCOPED_TRACE(scale);
        // The floor: the plane through (0, 0, -20) * scale, tilted 60 degrees toward the camera.
        const Point3 centre = Point3(0, 0, -20) * scale;
        const Point3 n = Normalize(Point3(0, std::sin(60 * kDeg), std::cos(60 * kDeg)));
        const Point3 u = Point3(1, 0, 0) * (40 * scale);
        const Point3 v = Normalize(CrossProd(n, Point3(1, 0, 0))) * (40 * scale);
        auto tris = quad(centre - (u + v) * 0.5f, u, v);
        // A post on the floor at the centre: two crossed walls one unit wide, standing along the normal.
        const Point3 side = Point3(1, 0, 0) * scale, depth = Normalize(v) * scale;
        for (const Point3& across : {side, depth}) {
            auto wall = quad(centre - across * 0.5f, across, n * (5 * scale));
            tris.insert(tris.end(), wall.begin(), wall.end());
        }
        standalone::TriangleBvh bvh;
        bvh.build(tris);
        // A sun low over the floor, from +x: shadows fall toward -x.
        const Point3 towardSun = Normalize(n * 0.3f + Point3(1, 0, 0));
        Matrix3 aim(Normalize(CrossProd(Point3(0, 1, 0), towardSun)), Point3(0, 1, 0), towardSun, Point3());
        aim.SetRow(1, Normalize(CrossProd(towardSun, aim.GetRow(0))));
        auto sun = makeScanlineLight(settings(LightType::directional), aim, &bvh);
        TestShadeContext sc;
        int selfShadowed = 0;
        for (int i = 0; i < 400; ++i) {
            // A camera ray through a grid point of the floor, intersected in float.
            const Point3 target = centre + u * (0.4f * ((i % 20) / 19.0f - 0.5f)) +
                                  v * (0.4f * ((i / 20) / 19.0f - 0.5f)) + Point3(10, 0, 0) * scale;
            const Point3 ray = Normalize(target);
            const float t = DotProd(centre, n) / DotProd(ray, n);
            sc.place(ray * t, n);
            selfShadowed += illuminate(*sun, sc).color == Color() ? 1 : 0;
        }
        EXPECT_EQ(selfShadowed, 0);
        // Behind the post, a hundredth of its width from the foot of the wall facing the sun.
        sc.place(centre - side * 0.01f + depth * 0.3f, n);
        EXPECT_EQ(illuminate(*sun, sc).color, Color());
    }
}
