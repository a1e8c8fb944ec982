// vmlMaterial in real painterly frames: what the host image shows, the strokes the frame collects,
// and the painting's independence of the thread count.

#include "material/vmlObjBrush.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "standalone/RenderJob.h"
#include "support/RendererTestSupport.h"
#include "support/ShadingTestSupport.h"

#include <algorithm>

namespace {

using namespace test_support;
using vml::vmlRenderer;
namespace base = vml::baseParam;

const vml::vmlObjBrush& strokeOf(vmlRenderer& r, std::size_t i)
{
    return dynamic_cast<const vml::vmlObjBrush&>(r.strokes().stroke(i));
}

class MaterialFrame : public ShadingFixture {
protected:
    void SetUp() override
    {
        ShadingFixture::SetUp();
        scene = test_support::TestScene::perspective(60.0f);
        scene->scene.render.width = 80, scene->scene.render.height = 60;
        scene->scene.environment.background = Color(0, 0, 1);
    }
    void TearDown() override
    {
        sessions.clear();  // closing needs the renderers and the host
        renderers.clear();
        ShadingFixture::TearDown();
    }
    vml::vmlMaterial* painterly(Color colour)
    {
        vml::vmlMaterial* m = scene->scene.own(make());
        m->SetSubMtl(0, scene->material<test_support::ConstantMtl>(colour));
        return m;
    }
    // Renders frame 0 with a new renderer, `threads` for its scanline renderer; the renderer stays
    // open, so its stores still hold the frame.
    vmlRenderer& render(Bitmap& bm, int threads = 0)
    {
        vmlRenderer& r = *renderers.emplace_back(std::make_unique<vmlRenderer>());
        auto& session = sessions.emplace_back(test_support::openSession(scene->scene, r));
        if (auto* inner = dynamic_cast<standalone::ScanlineRenderer*>(r.innerRenderer()))
            inner->setThreadCount(threads);
        EXPECT_TRUE(session->renderFrame(0, bm).ok) << "a frame with strokes renders (unpainted)";
        return r;
    }

    std::unique_ptr<test_support::TestScene> scene;
    std::vector<std::unique_ptr<vmlRenderer>> renderers;
    std::vector<std::unique_ptr<standalone::RenderSession>> sessions;
};

TEST_F(MaterialFrame, HiddenFaceRemovalDecidesWhatTheHostShowsStrokesAreMadeEitherWay)
{
    scene->add("wall", test_support::rectMesh(-8, -8, 8, 8, -9),
               scene->material<test_support::ConstantMtl>(Color(0.8f, 0.0f, 0.0f)));
    vml::vmlMaterial* m = painterly(Color(0.1f, 0.8f, 0.1f));
    scene->add("card", test_support::rectMesh(-1, -1, 1, 1, -5), m);
    for (int hidden : {1, 0}) {
        SCOPED_TRACE(hidden ? "hidden-face removal on" : "off");
        m->baseBlock()->SetValue(base::baseHiddenFace, 0, hidden);
        Bitmap bm;
        vmlRenderer& r = render(bm);
        // On, the card hides the wall and shows the background; off, the host sees the wall.
        const BMM_Color_64 centre = test_support::pixel(bm, 40, 30);
        EXPECT_NEAR(centre.r, hidden ? 0 : 0.8 * 65535, 2);
        EXPECT_NEAR(centre.b, hidden ? 65535 : 0, 2);
        EXPECT_GT(r.strokeCount(), 10u);
        for (std::size_t i = 0; i < r.strokeCount(); ++i) {
            EXPECT_EQ(strokeOf(r, i).material, m);
            EXPECT_EQ(strokeOf(r, i).color[1], 204) << "0.8 x 255";
        }
    }
}

TEST_F(MaterialFrame, PaintedFramesDoNotDependOnTheThreadsAndNearStrokesCoverFarOnes)
{
    // Two painterly cards with a round brush and strokes along x; the red one is nearer and
    // overlaps the right half of the blue one.
    auto* brush = scene->scene.own(std::make_unique<vml::vmlBrush>());
    brush->GetParamBlock(0)->SetValue(vml::brushMapParam::brushMapType, 0, 0);
    auto paintedCard = [&](Color colour) {
        vml::vmlMaterial* m = painterly(colour);
        m->SetSubTexmap(vml::vmlMaterial::brushMapSlot, brush);
        m->brushBlock()->SetValue(vml::brushParam::brushSize, 0, 4.0f);
        m->strokeBlock()->SetValue(vml::strokeParam::strokeLength, 0, 12.0f);
        return m;
    };
    scene->scene.render.width = 120, scene->scene.render.height = 90;
    scene->add("far", test_support::rectMesh(-2.0f, -1.0f, 1.0f, 1.0f, -6), paintedCard(Color(0, 0, 1)));
    scene->add("near", test_support::rectMesh(-0.2f, -0.5f, 1.4f, 0.5f, -5), paintedCard(Color(1, 0, 0)));

    Bitmap one, two;
    ASSERT_GT(render(one, 1).strokeCount(), 50u);
    render(two, 2);
    EXPECT_TRUE(test_support::sameImage(one, two, 0)) << "the same strokes in the same order";

    // Where the cards overlap the near card's red strokes lie on top of the blue ones.
    int redOverBlue = 0, blueOverRed = 0;
    for (int y = 40; y < 50; ++y) {
        for (int x = 62; x < 80; ++x) {
            const BMM_Color_64 p = test_support::pixel(one, x, y);
            redOverBlue += p.r > 2 * p.b;
            blueOverRed += p.b > 2 * p.r;
        }
    }
    EXPECT_GT(redOverBlue, 150);
    EXPECT_EQ(blueOverRed, 0);
}

}  // namespace
