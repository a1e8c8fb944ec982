// Where the scanline renderer puts things on screen, and what its shading context reports.

#include "support/ScanlineTestSupport.h"
#include "support/TestShadeContext.h"

#include "host/INode.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace {

using namespace test_support;

const Color white(1, 1, 1);

// Copies the global context's projection at the pre-frame notification.
struct ProjectionSpy {
    int projType = -1;
    float xscale = 0, yscale = 0, xc = 0, yc = 0;
    FrameHook hook{[this](int code, RenderGlobalContext* gc) {
        if (code == NOTIFY_PRE_RENDERFRAME)
            projType = gc->projType, xscale = gc->xscale, yscale = gc->yscale, xc = gc->xc, yc = gc->yc;
    }};
};

// Everything a material can ask at pixel (60, 44), inside one triangle of a perspective square
// (x 0.9..1.3, y 0.3..0.7) whose node sits at z = -5 with the mesh in its z = 0 plane.
TEST(ScanlineShadeContext, AnswersMatchTheGeometry)
{
    auto ts = TestScene::perspective(90.0f);
    int calls = 0;
    INode* seenNode = nullptr;
    auto* probe = ts->material<ProbeMtl>([&](ShadeContext& sc) {
        if (!(sc.ScreenCoord() == IPoint2{60, 44}))
            return;
        ++calls;
        seenNode = sc.Node();
        EXPECT_EQ(sc.SurfacePtScreen(), Point2(60.5f, 44.5f));
        // The ray through (60.5, 44.5) is (0.21, 0.11, -1); it meets z = -5 at (1.05, 0.55, -5).
        const Point3 p = sc.P(), v = sc.V();
        expectNear(p, Point3(1.05f, 0.55f, -5.0f));
        EXPECT_NEAR(DotProd(v, Normalize(p)), 1.0f, 1e-6f);
        EXPECT_NEAR(v.Length(), 1.0f, 1e-6f);
        expectNear(sc.PObj(), Point3(1.05f, 0.55f, 0.0f));
        expectNear(sc.PointFrom(sc.PointTo(p, REF_OBJECT), REF_OBJECT), p);
        expectNear(sc.VectorTo(Point3(0, 0, 1), REF_WORLD), Point3(0, 0, 1));
        expectNear(sc.Normal(), Point3(0, 0, 1));
        expectNear(sc.GNormal(), Point3(0, 0, 1));
        sc.SetNormal(Point3(0, 1, 0));
        EXPECT_EQ(sc.Normal(), Point3(0, 1, 0));
        expectNear(sc.OrigNormal(), Point3(0, 0, 1));
        expectNear(sc.ReflectVector(), Point3(v.x, -v.y, v.z));   // V about the new normal (0, 1, 0)
        expectNear(sc.UVW(1), Point3(0.375f, 0.625f, 0), 1e-4f);  // UVs run 0..1 over the square
        Point3 dp[3];
        sc.DPdUVW(dp, 1);
        expectNear(dp[0], Point3(0.4f, 0, 0));
        expectNear(dp[1], Point3(0, 0.4f, 0));
        // One pixel step moves 5 / 50 = 0.1 units, a quarter of the UV range.
        EXPECT_NEAR(sc.DP().x, 0.1f, 1e-4f);
        EXPECT_NEAR(sc.DP().y, 0.1f, 1e-4f);
        EXPECT_NEAR(sc.DUVW(1).x, 0.25f, 1e-3f);
        Point3 bary = sc.BarycentricCoords();
        EXPECT_NEAR(bary.x + bary.y + bary.z, 1.0f, 1e-6f);
        Point2 uv, duv;
        sc.ScreenUV(uv, duv);
        expectNear(Point3(uv.x, uv.y, duv.x), Point3(0.605f, 0.555f, 0.01f), 1e-6f);
        EXPECT_FALSE(sc.backFace);
        EXPECT_EQ(sc.ProjType(), PROJ_PERSPECTIVE);
        EXPECT_EQ(sc.CurTime(), 320);
        EXPECT_EQ(sc.ambientLight, Color(0.1f, 0.2f, 0.3f));
        EXPECT_EQ(sc.Light(0), nullptr);
        Color bg, transp(1, 1, 1);
        sc.GetBGColor(bg, transp);
        EXPECT_EQ(bg, Color(0.7f, 0.6f, 0.5f));
        EXPECT_EQ(transp, Color());
    });
    standalone::SceneNode* node = ts->add("square", rectMesh(0.9f, 0.3f, 1.3f, 0.7f, 0.0f), probe);
    node->setLocalTM(TransMatrix(Point3(0, 0, -5)));
    rendered(*ts, {.width = 100,
                   .height = 100,
                   .background = Color(0.7f, 0.6f, 0.5f),
                   .ambient = Color(0.1f, 0.2f, 0.3f),
                   .time = 320});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenNode, node);
}

}  // namespace
