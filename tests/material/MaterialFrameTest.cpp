// vmlMaterial in real painterly frames: what the host image shows, the strokes the
// frame collects, their independence of the thread count, and the stroke density.

#include "material/vmlObjBrush.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "standalone/RenderJob.h"
#include "standalone/primitives/Sphere.h"
#include "support/RendererTestSupport.h"
#include "support/ShadingTestSupport.h"

#include <algorithm>
#include <set>
#include <tuple>

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

TEST_F(MaterialFrame, StrokesDoNotDependOnTheShadingThreads)
{
    NormalColourMtl normals;
    vml::vmlMaterial* coarse = scene->scene.own(make());
    coarse->SetSubMtl(0, &normals);
    vml::vmlMaterial* fine = painterly(Color(0.9f, 0.6f, 0.2f));
    fine->brushBlock()->SetValue(vml::brushParam::brushDensity, 0, 60.0f);
    fine->baseBlock()->SetValue(base::brushOfsEnable, 0, 1);
    fine->baseBlock()->SetValue(base::brushOfsRnd, 0, 0.5f);
    scene->scene.render.width = 160, scene->scene.render.height = 120;
    scene->add("ball", standalone::makeSphere({1.2f, 24}), coarse)
        ->setLocalTM(TransMatrix(Point3(-0.4f, 0.1f, -5)));
    scene->add("card", test_support::rectMesh(-0.5f, -1.4f, 1.6f, 0.6f, -4.2f), fine);
    scene->add("floor", test_support::rectMesh(-4, -3, 4, -0.8f, -7), coarse);

    Bitmap a, b;
    vmlRenderer& one = render(a, 1);
    vmlRenderer& two = render(b, 2);
    ASSERT_GT(one.strokeCount(), 100u);
    // In painting order (after the depth sort), field by field.
    ASSERT_EQ(one.strokeCount(), two.strokeCount());
    for (std::size_t i = 0; i < one.strokeCount(); ++i) {
        const vml::vmlObjBrush &s = strokeOf(one, i), &t = strokeOf(two, i);
        EXPECT_EQ(std::tie(s.depthKey, s.x, s.y, s.nodeId, s.seed, s.color, s.face, s.normal, s.material),
                  std::tie(t.depthKey, t.x, t.y, t.nodeId, t.seed, t.color, t.face, t.normal, t.material))
            << "stroke " << i;
    }
    EXPECT_TRUE(test_support::sameImage(a, b, 0));
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

TEST_F(MaterialFrame, StrokeCountFollowsTheGridDensity)
{
    // Density 26 without brush scaling: grid pitch 1 / 0.26 pixels, so 0.26^2 corners per
    // covered pixel and one stroke at each.
    vml::vmlMaterial* m = painterly(Color(0.5f, 0.5f, 0.5f));
    m->brushBlock()->SetValue(vml::brushParam::brushDensity, 0, 26.0f);
    scene->scene.render.width = 200, scene->scene.render.height = 150;
    standalone::SceneNode* board =
        scene->add("board", test_support::rectMesh(-2.0f, -1.2f, 1.6f, 1.0f, -5), m);
    Bitmap bm;
    vmlRenderer& r = render(bm);
    ASSERT_EQ(r.paramBlock()->GetInt(vml::rendererBrushScaleEnable, 0), 0);

    // The pixels the board covers, from a plain render of it in white on the black background.
    test_support::ConstantMtl white(Color(1, 1, 1));
    board->setMtl(&white);
    Bitmap coverage;
    ASSERT_TRUE(standalone::renderScanline(scene->scene, coverage).ok);
    board->setMtl(m);
    int covered = 0, x0 = 1 << 30, x1 = -1, y0 = 1 << 30, y1 = -1;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (test_support::pixel(coverage, x, y).r == 0)
                continue;
            ++covered;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    }
    ASSERT_GT(covered, 5000);
    // A w x h block of pixels holds between (wk - 1)(hk - 1) and (wk + 1)(hk + 1) corners, so the
    // count may miss covered x k^2 by about (w + h) k + 1; partly covered edge pixels add a pixel
    // on each side. About 8% here.
    const double k = 0.26, w = x1 - x0 + 1, h = y1 - y0 + 1;
    EXPECT_NEAR(static_cast<double>(r.strokeCount()), covered * k * k, (w + h + 4) * k + 2)
        << covered << " covered pixels in a " << w << " x " << h << " block";
    std::set<std::pair<int, int>> cells;
    for (std::size_t i = 0; i < r.strokeCount(); ++i)
        EXPECT_TRUE(cells.emplace(strokeOf(r, i).cell.x, strokeOf(r, i).cell.y).second) << "a corner twice";
}

}  // namespace
