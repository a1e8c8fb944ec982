// The shade entry inside the painterly renderer's camera pass, called with contexts the test
// places: the pixel sample, the stroke and the host-visible result; the callers that get an
// ordinary material instead.

#include "host/RenderGlobalContext.h"
#include "material/StrokePlacement.h"
#include "standalone/RenderJob.h"
#include "support/RendererTestSupport.h"
#include "support/ShadingTestSupport.h"

#include <functional>

namespace {

using namespace test_support;
using vml::vmlRenderer;

class PainterlyShade : public ShadingFixture {
protected:
    void SetUp() override
    {
        ShadingFixture::SetUp();
        scene = test_support::TestScene::perspective(60.0f);
        scene->scene.render.width = 64, scene->scene.render.height = 48;
        material = make();
        material->SetSubMtl(0, &translucent);
    }
    // Runs `inFrame` as shading starts (after the renderer's own hook) with a context placed at
    // a pixel that holds a stroke-grid corner.
    void duringFrame(const std::function<void(vmlRenderer&, RenderGlobalContext&, PixelContext&)>& inFrame)
    {
        vmlRenderer r;
        auto session = test_support::openSession(scene->scene, r);
        test_support::NotificationProbe probe(NOTIFY_PRE_RENDERFRAME, [&](RenderGlobalContext* gc) {
            update(*material);
            PixelContext sc;
            sc.globContext = gc;
            sc.place(Point3(0, 0, -6), Point3(0, 0, 1));
            const auto settings =
                vml::StrokePlacementSettings::of(material->baseCache(), material->brushCache());
            const vml::StrokeGrid grid = vml::strokeGrid(settings, vml::StrokeFrame::of(r), sc.nodeId);
            for (int i = 0; !vml::findStrokeCorner(grid, sc.pixel); ++i) {
                ASSERT_LT(i, r.width() * r.height());
                sc.pixel = {i % r.width(), i / r.width()};
            }
            inFrame(r, *gc, sc);
        });
        Bitmap bm;
        EXPECT_TRUE(session->renderFrame(0, bm).ok);
    }
    std::unique_ptr<test_support::TestScene> scene;
    test_support::ConstantMtl translucent{Color(0.2f, 0.3f, 0.1f), Color(0.5f, 1.0f, 0.0f)};
    std::unique_ptr<vml::vmlMaterial> material;
};

TEST_F(PainterlyShade, ShadowReflectedAndForeignCallsMakeNothingAndGetThePremultipliedColour)
{
    struct OtherContext final : RenderGlobalContext {
        int NumRenderInstances() override { return 0; }
        RenderInstance* GetRenderInstance(int) override { return nullptr; }
        IRenderElementMgr* GetRenderElementMgr() override { return nullptr; }
    } foreign;
    const std::function<void(PixelContext&)> callers[] = {
        [](PixelContext& sc) { sc.mode = SCMODE_SHADOW; },
        [](PixelContext& sc) { sc.rayLevel = 1; },
        [](PixelContext& sc) { sc.xshadeID = static_cast<int>(0x80000000u); },
        [&](PixelContext& sc) { sc.globContext = &foreign; },
    };
    duringFrame([&](vmlRenderer& r, RenderGlobalContext&, PixelContext& camera) {
        for (const auto& caller : callers) {
            PixelContext sc = camera;
            caller(sc);
            material->Shade(sc);
            // Straight (0.4, 0.3, 0.1) times 1 - t.
            EXPECT_NEAR(sc.out.c.r, 0.2f, 1e-6f);
            EXPECT_EQ(sc.out.c.g, 0.0f);
            EXPECT_NEAR(sc.out.c.b, 0.1f, 1e-6f);
            EXPECT_EQ(sc.out.t, Color(0.5f, 1.0f, 0.0f));
        }
        EXPECT_EQ(r.strokeCount(), 0u);
        material->Shade(camera);
        EXPECT_EQ(r.strokeCount(), 1u);
    });
}

}  // namespace
