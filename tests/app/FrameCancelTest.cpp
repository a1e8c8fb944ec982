// Ctrl-C at any point of a painted frame with lines: the frame ends cancelled, soon, and the
// renderer paints the next frame exactly as a fresh one.

#include "PaintedFrameTestSupport.h"

#include "host/RendParams.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A progress call: the phase it came in (its title and total) and how far that phase was.
struct Call {
    std::string title;
    int total = 0;
    int done = 0;
};

// Answers as the program's progress bar does once Ctrl-C has set the host's cancel flag, and
// sets it at call `cancelAt` (1-based; 0 never).
class CancellingProgress : public RendProgressCallback {
public:
    explicit CancellingProgress(Interface& core) : core_(core) {}
    void SetTitle(const char* title) override { title_ = title ? title : ""; }
    int Progress(int done, int total) override
    {
        calls.push_back({title_, total, done});
        if (static_cast<int>(calls.size()) == cancelAt)
            core_.SetCancel(TRUE);
        if (!core_.GetCancel())
            return RENDPROG_CONTINUE;
        ++callsCancelled;
        return RENDPROG_ABORT;
    }
    void restart(int at)
    {
        cancelAt = at;
        calls.clear();
        callsCancelled = 0;
        core_.SetCancel(FALSE);
    }

    int cancelAt = 0;
    std::vector<Call> calls;  // since the restart
    int callsCancelled = 0;   // the call that cancelled and every one after it

private:
    Interface& core_;
    std::string title_;
};

// Calls to cancel at: the first and the last of every run of calls in one phase, and the middle
// of the longer runs, a phase starting again where its count goes back (the next line element).
// So the shading, the bleed strengths, the sample resolution, the sort, the strokes, the
// bleeding, each line element and the lines' bleeding are each cut into at their start, inside
// and at their end.
std::vector<int> cancelPoints(const std::vector<Call>& calls)
{
    std::vector<int> points;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= calls.size(); ++i) {
        const bool sameRun = i < calls.size() && calls[i].title == calls[start].title &&
                             calls[i].total == calls[start].total && calls[i].done >= calls[i - 1].done;
        if (sameRun)
            continue;
        points.push_back(static_cast<int>(start) + 1);
        if (i - start >= 8)
            points.push_back(static_cast<int>(start + i - 1) / 2 + 1);
        points.push_back(static_cast<int>(i));
        start = i;
    }
    points.erase(std::unique(points.begin(), points.end()), points.end());
    return points;
}

struct FrameCancel : command_test::PaintedFrameTest {};

TEST_F(FrameCancel, ACancelAtAnyProgressCallEndsTheFrameAndTheNextPaintsAsAFreshRenderer)
{
    CancellingProgress progress(core);
    standalone::RenderJobOptions options;
    options.threads = 2;
    options.progress = &progress;
    auto session = open(*painter, options);
    // The first frame also allocates the canvas, row by row with progress; every later one finds it.
    ASSERT_TRUE(render(*session).ok);
    progress.restart(0);
    const Frame reference = render(*session);
    ASSERT_TRUE(reference.ok);
    const std::vector<Call> calls = progress.calls;
    const std::vector<int> points = cancelPoints(calls);
    ASSERT_GT(points.size(), 20u);

    for (int k : points) {
        const Call& at = calls[static_cast<std::size_t>(k - 1)];
        SCOPED_TRACE(::testing::Message() << "cancelled at call " << k << " of " << calls.size() << ": "
                                          << at.title << " " << at.done << " of " << at.total);
        progress.restart(k);
        EXPECT_FALSE(render(*session).ok);
        // Every phase stops at its next check, and no later one starts.
        EXPECT_LE(progress.callsCancelled, 2);

        progress.restart(0);
        const Frame next = render(*session);
        EXPECT_TRUE(next.ok);
        EXPECT_TRUE(next.pixels == reference.pixels);
    }
}

}  // namespace
