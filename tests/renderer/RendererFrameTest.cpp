// vmlRenderer frames through the standalone host: the hooks inside the inner render, the picture
// it leaves, the refused field render and memory failures.

#include "renderer/StrokePaintContext.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "renderer/vmlStrokeRecord.h"
#include "support/RendererTestSupport.h"

#include "host/IParamBlock2.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"

#include <new>
#include <string>
#include <vector>

namespace {

using namespace test_support;
using vml::vmlRenderer;

// An effect for the failed open to leave in place.
struct IdleEffect final : Effect {
    void Apply(TimeValue, Bitmap*, RenderGlobalContext*, CheckAbortCallback*) override {}
};

class RendererFrame : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        scene = smallScene();
    }
    IParamBlock2& params(vmlRenderer& r) { return *r.paramBlock(); }
    // The bleed mask of the canvas the frame painted, full or light.
    static int maskAt(const vmlRenderer& r, int x, int y)
    {
        if (auto* full = dynamic_cast<const vml::vmlRaster*>(r.canvas()))
            return full->maskAt(x, y);
        return dynamic_cast<const vml::vmlRasterRS&>(*r.canvas()).maskAt(x, y);
    }
    std::unique_ptr<test_support::TestScene> scene;
};

TEST_F(RendererFrame, BleedStrengthComesFromTheMapAtTheFrameTime)
{
    vmlRenderer r;
    params(r).SetValue(vml::rendererSaveMemoryEnable, 0, 0);
    params(r).SetValue(vml::rendererBlurstrAmount, 0, 100);
    ConstantMap map(0.5f);
    map.loadSucceeds = false;  // a map file it cannot read does not end the frame
    params(r).SetValue(vml::rendererBlurstrMap, 0, static_cast<ReferenceTarget*>(&map));
    ASSERT_EQ(r.bleedStrengthMap(), &map);
    auto session = openSession(scene->scene, r);
    Bitmap bm;
    ASSERT_TRUE(session->renderFrame(320, bm).ok);
    ASSERT_FALSE(map.updatedAt.empty());
    EXPECT_EQ(map.updatedAt.back(), 320);
    EXPECT_EQ(maskAt(r, 23, 15), 127);       // trunc(255 x (1 - 0.5))
    EXPECT_DOUBLE_EQ(r.frameNumber(), 2.5);  // 30 frames per second: 320 ticks are frame 2
    params(r).SetValue(vml::rendererBlurstrEnable, 0, 0);
    session->close();
    std::string error;
    ASSERT_TRUE(session->open(error)) << error;
    ASSERT_TRUE(session->renderFrame(0, bm).ok);
    EXPECT_EQ(maskAt(r, 5, 5), 255);
    params(r).SetValue(vml::rendererBlurstrMap, 0, nullptr);
}

TEST_F(RendererFrame, AFailedOpenLeavesTheHostAsItWasAndFieldRenderIsRefused)
{
    vmlRenderer r;
    IdleEffect effect;
    RendParams rp;
    rp.effect = &effect;
    // The inner renderer refuses a render without a scene.
    EXPECT_EQ(r.Open(nullptr, nullptr, nullptr, rp, nullptr, nullptr), 0);
    EXPECT_EQ(rp.effect, &effect);
    EXPECT_TRUE(core.messages().empty());
    rp.fieldRender = TRUE;
    EXPECT_EQ(r.Open(scene->scene.root(), scene->camera, nullptr, rp, nullptr, nullptr), 0);
    ASSERT_EQ(core.messages().size(), 1u);
    EXPECT_EQ(core.messages()[0].text, text(1202));
    EXPECT_EQ(rp.effect, &effect);
    EXPECT_FALSE(core.redrawSuspended());
    EXPECT_FALSE(vml::memoryWarningArmed.load());
    rp.isNetRender = TRUE;  // networked: refused without a message
    EXPECT_EQ(r.Open(scene->scene.root(), scene->camera, nullptr, rp, nullptr, nullptr), 0);
    EXPECT_EQ(core.messages().size(), 1u);
}

// A stroke the test files by hand; nothing paints it until the stroke painter exists.
class ProbeStroke final : public vml::vmlStrokeRecord {
public:
    ProbeStroke() : vmlStrokeRecord(-4.0f) {}
    ProbeStroke(const ProbeStroke&) = default;
    void paint(vml::StrokePaintContext&) override {}
    std::size_t size() const override { return sizeof(ProbeStroke); }
    vmlStrokeRecord* copyTo(void* storage) const override { return new (storage) ProbeStroke(*this); }
    std::uint64_t orderKey() const override { return 0; }
};

TEST_F(RendererFrame, AnArenaThatCannotGrowFailsTheFrameOnceAndTheNextFrameWorks)
{
    for (int run : {0, 1, 2}) {
        const int saveMemory = run == 1;
        const bool quiet = run == 2;
        SCOPED_TRACE(quiet ? "quiet host" : saveMemory ? "light canvas" : "full canvas");
        core.clearMessages();
        core.setQuietMode(quiet);
        vmlRenderer r;
        params(r).SetValue(vml::rendererSaveMemoryEnable, 0, saveMemory);
        auto session = openSession(scene->scene, r);
        EXPECT_EQ(vml::memoryWarningArmed.load(), !quiet);
        // The stroke pool refuses every chunk; the stroke is filed while the host shades.
        r.strokes().pool().setByteLimit(1);
        bool flagged = false;
        auto fileOne = std::make_unique<NotificationProbe>(NOTIFY_PRE_RENDERFRAME, [&](RenderGlobalContext*) {
            EXPECT_FALSE(r.fileStroke(ProbeStroke()));
            flagged = r.isOutOfMemory();
        });
        Bitmap bm;
        EXPECT_FALSE(session->renderFrame(0, bm).ok);
        EXPECT_TRUE(flagged);
        EXPECT_EQ(messageCount(text(1201)), saveMemory || quiet ? 0 : 1);
        EXPECT_EQ(core.messages().size(), saveMemory || quiet ? 0u : 1u);
        // The full canvas is freed with the message; the light one is kept.
        EXPECT_EQ(r.canvas()->IsAllocated(), saveMemory || quiet);
        fileOne.reset();
        r.strokes().pool().setByteLimit(0);
        EXPECT_TRUE(session->renderFrame(0, bm).ok);
        EXPECT_FALSE(r.isOutOfMemory());
        EXPECT_EQ(messageCount(text(1201)), saveMemory || quiet ? 0 : 1);
    }
}

TEST_F(RendererFrame, TheLowMemoryWarningShowsOncePerOpenBeforeTheFirstPostFrame)
{
    vmlRenderer r;
    auto session = openSession(scene->scene, r);
    ASSERT_TRUE(vml::memoryWarningArmed.load());
    r.checkLowMemoryWith(vml::lowMemoryThreshold);  // not below the threshold
    EXPECT_TRUE(core.messages().empty());
    r.checkLowMemoryWith(vml::lowMemoryThreshold - 1);
    r.checkLowMemoryWith(1024);
    EXPECT_EQ(messageCount(text(1200)), 1);
    EXPECT_EQ(core.messages().size(), 1u);
    session->close();
    std::string error;
    ASSERT_TRUE(session->open(error)) << error;
    Bitmap bm;
    ASSERT_TRUE(session->renderFrame(0, bm).ok);
    EXPECT_FALSE(vml::memoryWarningArmed.load()) << "disarmed by the post-frame hook";
    r.checkLowMemoryWith(0);
    EXPECT_EQ(messageCount(text(1200)), 1);
}

TEST_F(RendererFrame, EffectsAppliedAgainAfterTheFramePaintTheLinesIntoItsCanvas)
{
    vml::LineFxManager lines;
    vml::LineFxElement* outline = lines.addElement(vml::Outline);
    ASSERT_NE(outline, nullptr);
    outline->pblock()->SetValue(vml::lineParam::lineColor, 0, Color(1.0f, 1.0f, 1.0f));
    outline->pblock()->SetValue(vml::lineParam::lineWidth, 0, 3.0f);
    outline->pblock()->SetValue(vml::lineParam::lineMatID, 0, 0);  // the scene's materials set none
    // The lines painted inside the frame: wet paint in the renderer's canvas.
    vmlRenderer r;
    core.setCurrentRenderer(&r);
    scene->scene.effects.push_back(&lines);
    Bitmap inFrame;
    ASSERT_TRUE(openSession(scene->scene, r)->renderFrame(0, inFrame).ok);
    // A frame without the effect but with its G-buffer, then the effect applied after it, as a
    // host applies its effects again: the same painting.
    scene->scene.effects.clear();
    standalone::RenderJobOptions options;
    options.gbufferChannels = BMM_CHAN_RENDER_DEFAULT | lines.GBufferChannelsRequired(0);
    auto session = openSession(scene->scene, r, options);
    Bitmap painted;
    ASSERT_TRUE(session->renderFrame(0, painted).ok);
    ASSERT_FALSE(sameImage(painted, inFrame, 0));
    Bitmap after = painted;
    lines.Apply(0, &after, nullptr, nullptr);
    EXPECT_TRUE(sameImage(after, inFrame, 0));
    EXPECT_FALSE(r.isOutOfMemory());
    // While another renderer is the host's, the lines go straight into the bitmap.
    core.setCurrentRenderer(nullptr);
    Bitmap straight = painted;
    lines.Apply(0, &straight, nullptr, nullptr);
    EXPECT_FALSE(sameImage(straight, painted, 0));
    EXPECT_FALSE(sameImage(straight, inFrame, 0));
}

}  // namespace
