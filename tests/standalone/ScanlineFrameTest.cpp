// The frame as the painterly renderer drives it: threads, cancellation, effects, bad meshes, and
// rendering a scene without the command line.

#include "support/ScanlineTestSupport.h"

#include "host/Notify.h"
#include "host/RenderGlobalContext.h"
#include "standalone/RenderJob.h"
#include "standalone/StandaloneCore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace test_support;

// Counts its applications and keeps the frame's context.
class ProbeEffect : public Effect {
public:
    void Apply(TimeValue, Bitmap*, RenderGlobalContext* gc, CheckAbortCallback*) override
    {
        ++applied;
        context = gc;
    }
    int applied = 0;
    RenderGlobalContext* context = nullptr;
};

// Overlapping, transparent, lit and shadowed objects: enough to expose any ordering difference.
std::unique_ptr<TestScene> busyScene()
{
    auto ts = TestScene::perspective(50.0f);
    auto* glass = ts->material<ConstantMtl>(Color(0.2f, 0.1f, 0.0f), Color(0.6f, 0.7f, 0.8f));
    for (int i = 0; i < 6; ++i) {
        float o = static_cast<float>(i) * 0.37f;
        ts->add("tile", rectMesh(-2.0f + o, -1.5f + o * 0.5f, 0.3f + o, 1.1f + o * 0.3f, -6.0f - o),
                i % 2 ? glass : nullptr);
    }
    standalone::SceneNode* lamp = ts->scene.addNode("lamp");
    lamp->light = standalone::LightSettings{};
    lamp->setLocalTM(TransMatrix(Point3(2, 3, 2)));
    return ts;
}

TEST(ScanlineThreads, OneAndTwoThreadsGiveTheSameImage)
{
    Bitmap images[2];
    for (int i = 0; i < 2; ++i) {
        images[i] = rendered(
            *busyScene(), {.width = 96, .height = 64, .ambient = Color(0.1f, 0.1f, 0.1f), .threads = i + 1});
    }
    bool anyLit = false;
    for (int y = 0; y < 64; ++y) {
        ASSERT_EQ(std::memcmp(images[0].Row(y), images[1].Row(y), 96 * sizeof(BMM_Color_64)), 0)
            << "row " << y;
        for (int x = 0; x < 96; ++x)
            anyLit = anyLit || pixel(images[0], x, y).r > q16(0.1);
    }
    EXPECT_TRUE(anyLit);
    const std::size_t n = 96 * 64;
    EXPECT_EQ(std::memcmp(images[0].Channel<float>(BMM_CHAN_Z), images[1].Channel<float>(BMM_CHAN_Z), n * 4),
              0);
}

class AbortAfter : public RendProgressCallback {
public:
    explicit AbortAfter(int rows) : rows_(rows) {}
    void SetTitle(const char* t) override { title = t; }
    int Progress(int done, int total) override
    {
        reports.emplace_back(done, total);
        return done >= rows_ ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }
    std::string title;
    std::vector<std::pair<int, int>> reports;

private:
    int rows_;
};

TEST(ScanlineCancel, AbortMidFrameSkipsEffectsAndTheNextFrameWorks)
{
    auto ts = TestScene::orthographic(16.0f);
    ts->add("a", rectMesh(-8, -8, 8, 8, -5), ts->material<ConstantMtl>(Color(1, 1, 1)));
    ProbeEffect effect;
    int postFrames = 0;
    FrameHook hook([&](int code, RenderGlobalContext*) { postFrames += code == NOTIFY_POST_RENDERFRAME; });
    AbortAfter abort(standalone::ScanlineRenderer::rowsPerBatch);
    standalone::ScanlineRenderer renderer;
    Bitmap bm;
    EXPECT_EQ(renderOpen(renderer, *ts, bm, {.height = 64, .effect = &effect, .progress = &abort}), 0);
    EXPECT_EQ(abort.title, "Rendering");
    EXPECT_EQ(abort.reports,
              (std::vector<std::pair<int, int>>{{standalone::ScanlineRenderer::rowsPerBatch, 64}}));
    EXPECT_EQ(effect.applied, 0);
    EXPECT_TRUE(renderer.stats().cancelled);
    EXPECT_EQ(postFrames, 1);  // listeners still see the frame end
    EXPECT_EQ(pixel(bm, 4, 0).a, 65535);
    EXPECT_EQ(pixel(bm, 4, 63), BMM_Color_64{});  // never reached
    AbortAfter never(1000);
    FrameRendParams frp;
    ASSERT_EQ(renderer.Render(0, &bm, frp, nullptr, &never, nullptr), 1);
    EXPECT_EQ(effect.applied, 1);
    EXPECT_EQ(never.reports.back(), std::make_pair(64, 64));
    EXPECT_EQ(pixel(bm, 4, 63).a, 65535);
}

TEST(ScanlineCancel, HostCancelFlagStopsTheFrame)
{
    standalone::StandaloneCore core;
    Interface* previous = GetCOREInterface();
    SetCOREInterface(&core);
    core.SetCancel(TRUE);
    auto ts = TestScene::orthographic(16.0f);
    ts->add("a", rectMesh(-8, -8, 8, 8, -5), nullptr);
    ProbeEffect effect;
    Bitmap bm;
    EXPECT_EQ(render(*ts, bm, {.effect = &effect}), 0);
    EXPECT_EQ(effect.applied, 0);
    core.SetCancel(FALSE);
    EXPECT_EQ(render(*ts, bm, {.effect = &effect}), 1);
    SetCOREInterface(previous);
}

TEST(ScanlineEffects, ApplyRenderEffectsReusesTheLastFrame)
{
    auto ts = TestScene::orthographic(16.0f);
    ProbeEffect effect;
    standalone::ScanlineRenderer renderer;
    Bitmap bm;
    ASSERT_EQ(renderOpen(renderer, *ts, bm, {.effect = &effect}), 1);
    RenderGlobalContext* frameContext = effect.context;
    EXPECT_TRUE(renderer.ApplyRenderEffects(0, &bm, true));
    EXPECT_EQ(effect.applied, 2);
    EXPECT_EQ(effect.context, frameContext);
    renderer.Close(nullptr, nullptr);
    EXPECT_FALSE(renderer.ApplyRenderEffects(0, &bm, false));
    FrameRendParams frp;
    EXPECT_EQ(renderer.Render(0, &bm, frp, nullptr, nullptr, nullptr), 0);  // closed
}

TEST(ScanlineRenderer, BadMeshDataIsReportedAndSkipped)
{
    auto ts = TestScene::orthographic(16.0f);
    auto broken = rectMesh(-8, -8, 8, 8, -5);
    broken->faces[1].v[2] = 99;
    ts->add("broken", broken, ts->material<ConstantMtl>(Color(1, 0, 0)));
    auto odd = rectMesh(-8, -8, 8, 8, -7);
    odd->verts[3] = Point3(std::nanf(""), 0, -7);  // face 1 uses it; face 0 does not
    ts->add("odd", odd, ts->material<ConstantMtl>(Color(0, 1, 0)));
    standalone::ScanlineRenderer renderer;
    Bitmap bm;
    ASSERT_EQ(renderOpen(renderer, *ts, bm, {}), 1);
    ASSERT_EQ(renderer.frameWarnings().size(), 1u);
    EXPECT_NE(renderer.frameWarnings()[0].find("'broken'"), std::string::npos);
    EXPECT_EQ(pixel(bm, 14, 14), rgba(0, 1, 0));  // face 0 of "odd"
    EXPECT_EQ(pixel(bm, 1, 1), rgba(0, 0, 0));
}

TEST(ScanlineRenderJob, RendersTheScenesCameraWithoutTheCli)
{
    auto ts = TestScene::orthographic(16.0f);
    ts->scene.render.width = 24, ts->scene.render.height = 12;
    ts->scene.environment.background = Color(0, 0, 1);
    ts->add("a", rectMesh(-100, -100, 0, 100, -5), ts->material<ConstantMtl>(Color(1, 0, 0)));
    ProbeEffect effect;
    ts->scene.effects.push_back(&effect);
    Bitmap bm;
    standalone::RenderJobResult r = standalone::renderScanline(ts->scene, bm);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(bm.Width() * bm.Height(), 24 * 12);
    EXPECT_EQ(pixel(bm, 2, 2), rgba(1, 0, 0));
    EXPECT_EQ(pixel(bm, 20, 2), rgba(0, 0, 1));
    EXPECT_EQ(effect.applied, 1);
    EXPECT_EQ(r.stats.instances, 1);
    ts->scene.camera = nullptr;
    r = standalone::renderScanline(ts->scene, bm);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("camera"), std::string::npos);
}

}  // namespace
