// An allocation that fails anywhere in a painted frame with lines: the frame fails through the
// renderer's out-of-memory path, and the renderer paints the next frame exactly as a fresh one.

#include "support/PaintedFrameTestSupport.h"

#include "host/IParamBlock2.h"
#include "renderer/ArenaHooks.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

using namespace test_support;

namespace {

using vml::AllocationSite;

// Fails the `failAt`-th allocation at one site (1-based; 0 never) and counts them all.
class FailingAllocation : public vml::AllocationFaults {
public:
    FailingAllocation(AllocationSite site, int failAt) : site_(site), failAt_(failAt) {}
    bool fail(AllocationSite site) override { return site == site_ && ++asked == failAt_; }
    std::atomic<int> asked{0};

private:
    AllocationSite site_;
    int failAt_;
};

// The first, second, middle and last of n.
std::vector<int> failurePoints(int n)
{
    std::vector<int> points{1, 2, (n + 1) / 2, n};
    points.erase(std::remove_if(points.begin(), points.end(), [n](int k) { return k > n; }), points.end());
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

struct FrameMemoryFailure : test_support::PaintedFrameTest, ::testing::WithParamInterface<AllocationSite> {
    void SetUp() override
    {
        PaintedFrameTest::SetUp();
        // The message is the report; it is shown with the full canvas to a host that is not quiet.
        core.setQuietMode(false);
        core.setMessageStream(nullptr);
        IParamBlock2& settings = *painter->paramBlock();
        settings.SetValue(vml::rendererSaveMemoryEnable, 0, 0);
        // Multipass with no node listed: one pass, with the copy of its G-buffer.
        if (GetParam() == AllocationSite::gbufferCopy)
            settings.SetValue(vml::rendererMultipassEnable, 0, 1);
        // One shading thread: each thread files into arenas of its own.
        options.threads = 1;
    }

    int memoryReports() const
    {
        const std::string text = vml::getString(1201);
        return static_cast<int>(std::count_if(core.messages().begin(), core.messages().end(),
                                              [&](const auto& m) { return m.text == text; }));
    }

    standalone::RenderJobOptions options;
};

TEST_P(FrameMemoryFailure, FailsTheFrameWithTheReportAndTheNextFramePaintsAsAFreshRenderer)
{
    auto fresh = freshRenderer();
    FailingAllocation counting(GetParam(), 0);
    fresh->setAllocationFaults(&counting);
    Frame reference;
    {
        auto session = open(*fresh, options);
        reference = render(*session);
    }
    ASSERT_TRUE(reference.ok);
    const int allocations = counting.asked;
    ASSERT_GT(allocations, 0);

    for (int n : failurePoints(allocations)) {
        SCOPED_TRACE(::testing::Message() << "allocation " << n << " of " << allocations << " fails");
        auto renderer = freshRenderer();
        FailingAllocation failing(GetParam(), n);
        renderer->setAllocationFaults(&failing);
        auto session = open(*renderer, options);
        const int reports = memoryReports();
        EXPECT_FALSE(render(*session).ok);
        EXPECT_GE(failing.asked, n);
        EXPECT_TRUE(renderer->isOutOfMemory());
        EXPECT_EQ(memoryReports(), reports + 1);

        renderer->setAllocationFaults(nullptr);
        const Frame next = render(*session);
        EXPECT_TRUE(next.ok);
        EXPECT_FALSE(renderer->isOutOfMemory());
        EXPECT_TRUE(next.pixels == reference.pixels);
    }
}

std::string siteName(const ::testing::TestParamInfo<AllocationSite>& info)
{
    switch (info.param) {
    case AllocationSite::arena: return "StrokeAndSampleArenas";
    case AllocationSite::canvas: return "Canvases";
    case AllocationSite::lineBuffer: return "LineEffectBuffers";
    case AllocationSite::gbufferCopy: return "MultipassGBufferCopy";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Sites, FrameMemoryFailure,
                         ::testing::Values(AllocationSite::arena, AllocationSite::canvas,
                                           AllocationSite::lineBuffer, AllocationSite::gbufferCopy),
                         siteName);

}  // namespace
