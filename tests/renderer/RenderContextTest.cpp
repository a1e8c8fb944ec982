#include "renderer/ScreenMapping.h"
#include "renderer/VmlRenderContext.h"

#include "host/RenderGlobalContext.h"

#include <gtest/gtest.h>

using vml::ScreenMapping;
using vml::VmlRenderContext;

namespace {

class PlainContext : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return 0; }
    RenderInstance* GetRenderInstance(int) override { return nullptr; }
    IRenderElementMgr* GetRenderElementMgr() override { return nullptr; }
};

void expectNear(Point3 a, Point3 b)
{
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(ScreenMapping, MapsPixelCentresBottomLeftUp)
{
    const ScreenMapping whole = ScreenMapping::whole(100, 50);
    EXPECT_FLOAT_EQ(whole.screenUV(0, 0).x, 0.005f);
    EXPECT_FLOAT_EQ(whole.screenUV(0, 0).y, 0.99f);
    EXPECT_FLOAT_EQ(whole.screenUV(99, 49).x, 0.995f);
    EXPECT_FLOAT_EQ(whole.screenUV(99, 49).y, 0.01f);

    // A crop's pixel is the full image's pixel shifted by the region origin.
    const ScreenMapping crop = ScreenMapping::regionCrop(200, 100, 20, 30);
    const ScreenMapping full = ScreenMapping::whole(200, 100);
    EXPECT_FLOAT_EQ(crop.screenUV(3, 4).x, full.screenUV(23, 34).x);
    EXPECT_FLOAT_EQ(crop.screenUV(3, 4).y, full.screenUV(23, 34).y);

    FrameRendParams frame;
    frame.regxmin = 20, frame.regymin = 30;
    EXPECT_EQ(ScreenMapping::forRender(RENDTYPE_REGIONCROP, 200, 100, 40, 40, frame).x0, 20.0f);
    EXPECT_EQ(ScreenMapping::forRender(RENDTYPE_REGION, 200, 100, 200, 100, frame).x0, 0.0f);
}

TEST(VmlRenderContext, PlacesOnAPixelWithTheHostsRay)
{
    PlainContext gc;
    gc.projType = PROJ_PERSPECTIVE;
    gc.xc = 50.5f, gc.yc = 25.5f, gc.xscale = -60.0f, gc.yscale = 60.0f;
    gc.camToWorld.SetTrans({1, 2, 3});
    VmlRenderContext sc;
    sc.setFrame(&gc, 480);
    sc.setScreenMapping(ScreenMapping::whole(101, 51));

    sc.placeAtPixel(50, 25);  // the projection centre
    expectNear(sc.V(), {0, 0, -1});
    expectNear(sc.P(), {0, 0, -100});
    expectNear(sc.worldPoint(), {1, 2, -97});
    expectNear(sc.PointTo(sc.P(), REF_WORLD), sc.worldPoint());

    sc.placeAtPixel(10, 40);
    expectNear(sc.V(), gc.RayDirection({10.5f, 40.5f}));
    expectNear(sc.Normal(), -sc.V());
    EXPECT_EQ(sc.CurTime(), 480);
    Point2 uv, duv;
    sc.ScreenUV(uv, duv);
    EXPECT_FLOAT_EQ(uv.x, 10.5f / 101.0f);
    EXPECT_FLOAT_EQ(duv.y, 1.0f / 51.0f);

    // Parallel: every ray looks down -z; the point stays on the pixel's ray.
    gc.projType = PROJ_PARALLEL;
    gc.xscale = 2.0f, gc.yscale = -2.0f;
    sc.placeAtPixel(10, 40);
    expectNear(sc.V(), {0, 0, -1});
    const Point2 back = gc.MapToScreen(sc.P());
    EXPECT_NEAR(back.x, 10.5f, 1e-4f);
    EXPECT_NEAR(back.y, 40.5f, 1e-4f);
}

}  // namespace
