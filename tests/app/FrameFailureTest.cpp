// A painted frame with lines cut short, by Ctrl-C at any progress call or by an allocation failing
// anywhere: the frame ends, cancelled or through the renderer's out-of-memory path, and the renderer
// paints the next frame exactly as a fresh one.

#include "support/PaintedFrameTestSupport.h"

#include "host/IParamBlock2.h"
#include "host/RendParams.h"
#include "renderer/ArenaHooks.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"

#include <algorithm>
#include <atomic>
#include <set>
#include <string>
#include <vector>

using namespace test_support;

namespace {

// A progress call: the phase it came in (its title and total) and how far that phase was.
struct Call {
    std::string title;
    int total = 0, done = 0;
};

// Where to cancel: in the n-th run of calls of one phase (a phase starts again where its count
// goes back: the next line element), at its first call that has come `done` far. How many calls
// a threaded phase makes varies a little with timing; the phases and their order do not.
struct CancelPoint {
    int run = -1;  // -1: never
    Call at;
};

// Answers as the program's progress bar does once Ctrl-C has set the host's cancel flag, and
// sets it at the cancel point (or at the first call past it).
class CancellingProgress : public RendProgressCallback {
public:
    explicit CancellingProgress(Interface& core) : core_(core) {}
    void SetTitle(const char* title) override { title_ = title ? title : ""; }
    int Progress(int done, int total) override
    {
        const bool sameRun = !calls.empty() && calls.back().title == title_ && calls.back().total == total &&
                             done >= calls.back().done;
        if (!sameRun)
            ++run_;
        calls.push_back({title_, total, done});
        runs.push_back(run_);
        if (target_.run >= 0 && (run_ > target_.run || (run_ == target_.run && done >= target_.at.done)))
            core_.SetCancel(TRUE);
        if (!core_.GetCancel())
            return RENDPROG_CONTINUE;
        ++callsCancelled;
        return RENDPROG_ABORT;
    }
    void restart(const CancelPoint& target)
    {
        target_ = target;
        calls.clear();
        runs.clear();
        run_ = -1;
        callsCancelled = 0;
        core_.SetCancel(FALSE);
    }
    std::vector<Call> calls;  // since the restart
    std::vector<int> runs;    // the run of each call
    int callsCancelled = 0;   // the call that cancelled and every one after it

private:
    Interface& core_;
    std::string title_;
    CancelPoint target_;
    int run_ = -1;
};

// The first and the last call of every run, and the middle of the longer runs: so the shading,
// the bleed strengths, the sample resolution, the sort, the strokes, the bleeding, each line
// element and the lines' bleeding are each cut into at their start, inside and at their end.
std::vector<CancelPoint> cancelPoints(const std::vector<Call>& calls, const std::vector<int>& runs)
{
    std::vector<std::size_t> picked;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= calls.size(); ++i) {
        if (i < calls.size() && runs[i] == runs[start])
            continue;
        picked.push_back(start);
        if (i - start >= 8)
            picked.push_back((start + i - 1) / 2);
        picked.push_back(i - 1);
        start = i;
    }
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    std::vector<CancelPoint> points;
    for (std::size_t i : picked)
        points.push_back({runs[i], calls[i]});
    return points;
}

struct FrameCancel : test_support::PaintedFrameTest {};

TEST_F(FrameCancel, ACancelAtAnyProgressCallEndsTheFrameAndTheNextPaintsAsAFreshRenderer)
{
    CancellingProgress progress(core);
    standalone::RenderJobOptions options;
    options.threads = 2;
    options.progress = &progress;
    auto session = open(*painter, options);
    // The first frame also allocates the canvas, row by row with progress; every later one finds it.
    ASSERT_TRUE(render(*session).ok);
    progress.restart({});
    const Frame reference = render(*session);
    ASSERT_TRUE(reference.ok);
    const std::vector<CancelPoint> points = cancelPoints(progress.calls, progress.runs);
    ASSERT_GT(points.size(), 20u);
    for (const CancelPoint& point : points) {
        SCOPED_TRACE(::testing::Message() << "cancelled in run " << point.run << ": " << point.at.title << " "
                                          << point.at.done << " of " << point.at.total);
        progress.restart(point);
        EXPECT_FALSE(render(*session).ok);
        // Every phase stops at its next check, and no later one starts.
        EXPECT_LE(progress.callsCancelled, 2);
        progress.restart({});
        const Frame next = render(*session);
        EXPECT_TRUE(next.ok);
        EXPECT_TRUE(next.pixels == reference.pixels);
    }
}

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
std::set<int> failurePoints(int n) { return {1, std::min(2, n), (n + 1) / 2, n}; }

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

const char* const siteNames[] = {"StrokeAndSampleArenas", "Canvases", "LineEffectBuffers",
                                 "MultipassGBufferCopy"};

INSTANTIATE_TEST_SUITE_P(Sites, FrameMemoryFailure,
                         ::testing::Values(AllocationSite::arena, AllocationSite::canvas,
                                           AllocationSite::lineBuffer, AllocationSite::gbufferCopy),
                         [](const auto& info) {
                             return std::string(siteNames[static_cast<int>(info.param)]);
                         });

}  // namespace
