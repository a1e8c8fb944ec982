// The painting schedule of a pass and the pen-stroke layer: store interval, bleed and store
// counters, cancel checks, the bleed-strength mask value and the compositing of the layer.

#include "renderer/StrokePaintLoop.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "support/RendererTestSupport.h"

#include "host/IParamBlock2.h"
#include "renderer/LineFxRenderElement.h"
#include "standalone/RenderElementManager.h"

#include <cmath>
#include <vector>

namespace {

using namespace test_support;

TEST(PaintSchedule, StoreIntervalIsATenthOfTheStrokesWithin20To2000)
{
    EXPECT_EQ(vml::storeInterval(209, false), 20);
    EXPECT_EQ(vml::storeInterval(219, false), 21);
    EXPECT_EQ(vml::storeInterval(5000, false), 500);
    EXPECT_EQ(vml::storeInterval(20009, false), 2000);
    // In the material editor nothing is stored before the end.
    EXPECT_EQ(vml::storeInterval(150, true), 152);
    EXPECT_EQ(vml::storeInterval(50000, true), 50002);
}

TEST(PaintSchedule, BleedMaskIsFullWhereTheMapIsDark)
{
    const struct {
        float map;
        int amount, mask;
    } cases[] = {{0.0f, 100, 255}, {1.0f, 100, 0},    {0.5f, 100, 127}, {1.0f, 50, 127},
                 {1.0f, 999, 0},   {-1.0f, 100, 255}, {0.7f, 0, 255},   {std::nanf(""), 100, 255}};
    for (const auto& c : cases)
        EXPECT_EQ(vml::bleedMaskValue(c.map, c.amount), c.mask) << c.map << " at " << c.amount;
}

// Records every step, optionally cancelling at a given check or stopping the bleed.
class RecordingSteps : public vml::StrokePaintSteps {
public:
    void paintStroke(std::size_t index) override
    {
        EXPECT_EQ(index, painted) << "strokes are painted in order, each once";
        ++painted;
    }
    bool bleed() override
    {
        bleedsAfter.push_back(painted);
        return ++bleeds < bleedUntil;
    }
    void store() override { storesAfter.push_back(painted), ++stores; }
    bool cancelled() override { return ++checks >= cancelAtCheck; }
    void progress(int done, int total) override { progressCalls.push_back({done, total}); }
    std::size_t painted = 0;
    int bleeds = 0, stores = 0, checks = 0;
    int bleedUntil = 1 << 30;
    int cancelAtCheck = 1 << 30;
    std::vector<std::size_t> bleedsAfter, storesAfter;
    std::vector<std::pair<int, int>> progressCalls;
};

TEST(PaintSchedule, ACancelStopsPaintingAtTheNext64thStroke)
{
    RecordingSteps steps;
    steps.cancelAtCheck = 2;
    EXPECT_FALSE(vml::runStrokeLoop(steps, 1000, 100));
    EXPECT_EQ(steps.painted, 128u);
    EXPECT_EQ(steps.progressCalls, (std::vector<std::pair<int, int>>{{64, 1000}}));
    RecordingSteps few;
    EXPECT_TRUE(vml::runStrokeLoop(few, 63, 20));
    EXPECT_EQ(few.checks, 0) << "fewer than 64 strokes are never interrupted";
}

TEST(PaintSchedule, FinalBleedRunsAtMost81StepsAndStopsWhenPaintRests)
{
    RecordingSteps full;
    EXPECT_EQ(vml::runFinalBleed(full), 81);
    EXPECT_EQ(full.stores, 11);  // k = 0, 8, ..., 80
    ASSERT_EQ(full.progressCalls.size(), 81u);
    EXPECT_EQ(full.progressCalls.back(), (std::pair<int, int>{80, 81}));
    RecordingSteps resting;
    resting.bleedUntil = 5;  // the fifth step reports no change
    EXPECT_EQ(vml::runFinalBleed(resting), 5);
    EXPECT_EQ(resting.stores, 1);
    RecordingSteps cancelled;
    cancelled.cancelAtCheck = 1;
    EXPECT_EQ(vml::runFinalBleed(cancelled), 0);
    EXPECT_EQ(cancelled.bleeds, 0);
}

class PenStrokeFrame : public HostFixture {};

TEST_F(PenStrokeFrame, TheStrokeElementIsListedFirstAndItsLayerPainted)
{
    auto ts = smallScene();
    vml::LineFxRenderElement userElement;
    ts->scene.renderElements.push_back(&userElement);
    Bitmap expected;
    ASSERT_TRUE(standalone::renderScanline(ts->scene, expected).ok);
    vml::vmlRenderer r;
    IParamBlock2& pb = *r.paramBlock();
    pb.SetValue(vml::rendererPenStrokeEnable, 0, 1);
    pb.SetValue(vml::rendererPenStrokeAlpha, 0, 50.0f);
    auto session = openSession(ts->scene, r);
    int elementsSeen = 0;
    IRenderElement* strokeElement = nullptr;
    // What an outside stroke effect would draw, after the host cleared the layer.
    NotificationProbe draw(NOTIFY_PRE_RENDERFRAME, [&](RenderGlobalContext* gc) {
        IRenderElementMgr* manager = gc->GetRenderElementMgr();
        elementsSeen = manager->NumRenderElements();
        strokeElement = manager->GetRenderElement(0);
        ASSERT_EQ(strokeElement->ClassID(), vml::crayonStrokeRenderElementClassId);
        EXPECT_EQ(manager->GetRenderElement(1), &userElement);
        Bitmap* layer = strokeElement->GetPBBitmap()->bm();
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->Width(), 24);
        const BMM_Color_64 transparent{65535, 65535, 65535, 0}, white{65535, 65535, 65535, 65535};
        layer->PutPixels(2, 2, 1, &transparent);
        layer->PutPixels(5, 3, 1, &white);
    });
    Bitmap bm;
    ASSERT_TRUE(session->renderFrame(0, bm).ok);
    EXPECT_EQ(elementsSeen, 2);
    EXPECT_FALSE(sameImage(bm, expected, 1));
    const BMM_Color_64 base = test_support::pixel(expected, 5, 3), out = test_support::pixel(bm, 5, 3);
    auto blended = [](std::uint16_t c) {
        const float b = c * 1.5258789e-5f;
        return static_cast<int>((b + (1.0f - b) * 0.5f) * 65535.0f);
    };
    EXPECT_NEAR(out.r, blended(base.r), 1);
    EXPECT_NEAR(out.g, blended(base.g), 1);
    EXPECT_NEAR(test_support::pixel(bm, 2, 2).r, test_support::pixel(expected, 2, 2).r, 1);
    session->close();
    ASSERT_NE(strokeElement, nullptr);
    EXPECT_EQ(strokeElement->GetPBBitmap()->bm(), nullptr) << "the layer is freed at Close";
}

}  // namespace
