// The line effect's frame: real frames of the scanline renderer with the effect applied.

#include "support/ScanlineTestSupport.h"

#include "host/IParamBlock2.h"
#include "host/Texmap.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"
#include "standalone/StandaloneCore.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace test_support;
using vml::LineFxElement;
using vml::LineFxManager;

constexpr int size = 64;
// The square covers pixels 16..47 in both directions; its left silhouette column is 16.
constexpr int edgeX = 16, midY = 32;

// A white square of material-effects channel 1 (the elements' default) on a grey background.
struct SquareScene {
    std::unique_ptr<TestScene> ts = TestScene::orthographic(8.0f);
    SquareScene()
    {
        ts->add("square", rectMesh(-2.0f, -2.0f, 2.0f, 2.0f, -10.0f),
                ts->material<ConstantMtl>(Color(1, 1, 1), Color(), 1));
    }
    Bitmap render(Effect* effect = nullptr)
    {
        RenderSetup setup;
        setup.width = setup.height = size;
        setup.background = Color(0.5f, 0.5f, 0.5f);
        setup.effect = effect;
        return rendered(*ts, setup);
    }
};

LineFxElement* addOutline(LineFxManager& fx, Color colour)
{
    LineFxElement* e = fx.addElement(vml::Outline);
    EXPECT_NE(e, nullptr);
    if (e)
        e->pblock()->SetValue(vml::lineParam::lineColor, 0, colour);
    return e;
}

float red(const Bitmap& bm, int x, int y) { return pixel(bm, x, y).r / 65535.0f; }

// Number of pixels whose colour or alpha differ.
int differingPixels(const Bitmap& a, const Bitmap& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            n += !(pixel(a, x, y) == pixel(b, x, y));
    return n;
}

TEST(LineEffect, LeavesTheImageAloneWithoutAnythingToDraw)
{
    SquareScene scene;
    const Bitmap plain = scene.render();
    LineFxManager empty;
    EXPECT_EQ(differingPixels(scene.render(&empty), plain), 0);
    LineFxManager off;
    addOutline(off, Color(0, 0, 0))->pblock()->SetValue(vml::lineParam::lineOn, 0, 0);
    EXPECT_EQ(differingPixels(scene.render(&off), plain), 0);
    // Lines of another material channel than the square's.
    LineFxManager otherChannel;
    addOutline(otherChannel, Color(0, 0, 0))->pblock()->SetValue(vml::lineParam::lineMatID, 0, 2);
    EXPECT_EQ(differingPixels(scene.render(&otherChannel), plain), 0);
    // A bitmap without G-buffer channels.
    Bitmap bm = plain;
    bm.DeleteChannels(bm.ChannelsPresent());
    otherChannel.element(0)->pblock()->SetValue(vml::lineParam::lineMatID, 0, 1);
    otherChannel.Apply(0, &bm, nullptr, nullptr);
    EXPECT_EQ(differingPixels(bm, plain), 0);
}

// Colour (u, v, 0) of the screen coordinates it is evaluated at.
class ScreenUVMap : public Texmap {
public:
    AColor EvalColor(ShadeContext& sc) override
    {
        Point2 uv, duv;
        sc.ScreenUV(uv, duv);
        return {uv.x, uv.y, 0.0f, 1.0f};
    }
    void Update(TimeValue, Interval&) override { ++updates; }
    ReferenceTarget* Clone() override { return new ScreenUVMap(); }
    int updates = 0;
};

TEST(LineEffect, LineMapIsEvaluatedAtScreenCoordinates)
{
    SquareScene scene;
    ScreenUVMap map;
    LineFxManager fx;
    LineFxElement* e = addOutline(fx, Color(0, 0, 0));
    e->ReplaceReference(LineFxElement::lineMapRef, &map);
    const Bitmap lined = scene.render(&fx);
    EXPECT_GT(map.updates, 0);
    // u grows to the right, v upwards: the right edge is redder, the top edge greener.
    EXPECT_GT(red(lined, 47, midY), red(lined, edgeX, midY) + 0.3f);
    EXPECT_GT(pixel(lined, midY, 16).g, pixel(lined, midY, 47).g + q16(0.3));
    e->pblock()->SetValue(vml::lineParam::lineMapEnable, 0, 0);
    EXPECT_LT(red(scene.render(&fx), 47, midY), 0.2f);
}

// Half a faceted cylinder along y, bulging toward the camera: a crease between every two facets.
std::shared_ptr<Mesh> facetedBarrel(float cx, float radius, float y0, float y1, float z, int facets)
{
    auto m = std::make_shared<Mesh>();
    for (int i = 0; i <= facets; ++i) {
        const float angle = 3.14159265f * static_cast<float>(i) / static_cast<float>(facets);
        const float x = cx - radius * std::cos(angle), depth = z + radius * std::sin(angle);
        m->verts.push_back({x, y0, depth});
        m->verts.push_back({x, y1, depth});
    }
    for (int i = 0; i < facets; ++i) {
        const DWORD a = 2 * i, b = 2 * i + 2, c = 2 * i + 3, d = 2 * i + 1;
        m->faces.push_back(Face{{a, b, c}});
        m->faces.push_back(Face{{a, c, d}});
    }
    return m;
}

// The host's render thread count for as long as it lives.
class RenderThreads {
public:
    explicit RenderThreads(int n) : previous_(GetCOREInterface())
    {
        core_.setShadingThreads(n);
        SetCOREInterface(&core_);
    }
    ~RenderThreads() { SetCOREInterface(previous_); }

private:
    standalone::StandaloneCore core_;
    Interface* previous_;
};

TEST(LineEffect, SamePixelsWhateverTheThreadCount)
{
    // Taller than a few bands and batches of rows, with outlines, depth and material edges and
    // creases, so every stage's bands meet lines.
    auto ts = TestScene::perspective(50.0f);
    ts->add("barrel", facetedBarrel(-1.5f, 1.5f, -2.5f, 2.0f, -12.0f, 9),
            ts->material<ConstantMtl>(Color(0.9f, 0.8f, 0.7f), Color(), 1));
    ts->add("near", rectMesh(-0.5f, -1.0f, 2.5f, 1.5f, -9.0f),
            ts->material<ConstantMtl>(Color(0.3f, 0.6f, 0.9f), Color(), 1));
    ts->add("far", rectMesh(0.5f, -3.0f, 4.5f, 0.5f, -14.0f),
            ts->material<ConstantMtl>(Color(0.6f, 0.9f, 0.3f), Color(), 2));
    LineFxManager fx;
    addOutline(fx, Color(0, 0, 0));
    IParamBlock2* creases = fx.addElement(vml::NormalAngle)->pblock();
    creases->SetValue(vml::lineParam::lineColor, 0, Color(0.8f, 0, 0));
    creases->SetValue(vml::lineParam::normalMin, 0, 5.0f);  // the facets turn by less than the default
    LineFxElement* all = fx.addElement(vml::BasicSet);
    all->pblock()->SetValue(vml::lineParam::lineMatID, 0, 2);
    all->pblock()->SetValue(vml::lineParam::lineColor, 0, Color(0, 0, 0.8f));
    RenderSetup setup;
    setup.width = 320, setup.height = 300;
    setup.background = Color(0.5f, 0.5f, 0.5f);
    setup.threads = 1;  // the scanline renderer's own; only the effect follows the host's count
    const Bitmap plain = rendered(*ts, setup);
    setup.effect = &fx;
    Bitmap single;
    {
        RenderThreads one(1);
        single = rendered(*ts, setup);
    }
    ASSERT_GT(differingPixels(single, plain), 1000);
    for (int threads : {2, 3, 8}) {
        RenderThreads many(threads);
        EXPECT_EQ(differingPixels(rendered(*ts, setup), single), 0) << threads << " threads";
    }
}

// Answers abort to every progress report and counts them.
class AbortingCheck : public CheckAbortCallback {
public:
    BOOL Check() override { return TRUE; }
    BOOL Progress(int, int) override
    {
        ++reports;
        return TRUE;
    }
    void SetTitle(const char*) override {}
    int reports = 0;
};

TEST(LineEffect, AbortStopsEachElementButNotTheLoop)
{
    SquareScene scene;
    LineFxManager none;
    const Bitmap withChannels = scene.render(&none);
    LineFxManager one, two;
    addOutline(one, Color(0, 0, 0));
    addOutline(two, Color(0, 0, 0));
    addOutline(two, Color(0, 0, 0));
    Bitmap bm = withChannels;
    AbortingCheck firstCheck, secondCheck;
    one.Apply(0, &bm, nullptr, &firstCheck);
    // Stopped before the silhouette rows were composited.
    EXPECT_EQ(pixel(bm, edgeX, midY).r, pixel(withChannels, edgeX, midY).r);
    EXPECT_GT(firstCheck.reports, 0);
    bm = withChannels;
    two.Apply(0, &bm, nullptr, &secondCheck);
    EXPECT_EQ(secondCheck.reports, 2 * firstCheck.reports);
}

}  // namespace
