// Strokes walked ahead on the workers are painted in order, each with its own walk, once.

#include "renderer/StrokesAhead.h"

#include "renderer/BrushCache.h"
#include "renderer/StrokeList.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/vmlStrokeRecord.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using vml::PreparedStroke;
using vml::StrokePaintContext;

struct Log {
    explicit Log(std::size_t n) : prepares(n) {}
    std::vector<std::atomic<int>> prepares;
    std::vector<std::uint32_t> painted;  // render thread only
    std::vector<std::uint32_t> direct;   // painted without a prepared walk
    std::atomic<int> failOffMainThread{-1};
    std::thread::id mainThread = std::this_thread::get_id();
};

struct Walk final : PreparedStroke {
    std::uint32_t id = 0;
};

class AheadStroke final : public vml::vmlStrokeRecord {
public:
    AheadStroke(std::uint32_t id, Log* log) : vmlStrokeRecord(static_cast<float>(id)), id_(id), log_(log) {}
    AheadStroke(const AheadStroke&) = default;

    void paint(StrokePaintContext&) override { log_->direct.push_back(id_); }
    bool preparable(const StrokePaintContext&) const override { return true; }
    bool prepare(const StrokePaintContext&, std::unique_ptr<PreparedStroke>& slot) const override
    {
        log_->prepares[id_].fetch_add(1);
        int failing = static_cast<int>(id_);
        if (std::this_thread::get_id() != log_->mainThread &&
            log_->failOffMainThread.compare_exchange_strong(failing, -1))
            throw std::bad_alloc();
        if (!dynamic_cast<Walk*>(slot.get()))
            slot = std::make_unique<Walk>();
        static_cast<Walk&>(*slot).id = id_;
        return true;
    }
    void paintPrepared(StrokePaintContext&, PreparedStroke& prepared) override
    {
        // A walk left over from another stroke in the same slot would show here.
        log_->painted.push_back(static_cast<Walk&>(prepared).id == id_ ? id_ : 0xFFFFFFFFu);
    }
    std::size_t size() const override { return sizeof(AheadStroke); }
    vml::vmlStrokeRecord* copyTo(void* storage) const override { return new (storage) AheadStroke(*this); }
    std::uint64_t orderKey() const override { return id_; }

private:
    std::uint32_t id_;
    Log* log_;
};

struct StrokesAheadTest : ::testing::Test {
    static constexpr std::size_t count = 5 * vml::StrokesAhead::ring + 17;
    Log log{count};
    vml::StrokeList strokes;
    vml::BrushCache cache;
    StrokePaintContext context;

    void SetUp() override
    {
        ASSERT_TRUE(strokes.reset());
        for (std::uint32_t i = 0; i < count; ++i)
            ASSERT_TRUE(strokes.fileStroke(AheadStroke(i, &log)));
        strokes.sortByDepth();
        context.brushCache = &cache;
        ASSERT_TRUE(vml::StrokesAhead::applies(strokes, context, count));
    }
    // Paints strokes [0, n) through a StrokesAhead over all of them.
    void paintFirst(std::size_t n)
    {
        vml::StrokesAhead ahead(strokes, context, count);
        ahead.run([&] {
            for (std::size_t i = 0; i < n; ++i)
                ahead.paint(i, context);
        });
    }
    void expectPaintedInOrder(std::size_t n) const
    {
        ASSERT_EQ(log.painted.size(), n);
        for (std::size_t i = 0; i < n; ++i)
            ASSERT_EQ(log.painted[i], i) << "stroke " << i;
        EXPECT_TRUE(log.direct.empty());
    }
};

TEST_F(StrokesAheadTest, EveryStrokeIsPaintedInOrderWithItsOwnWalkPreparedOnce)
{
    paintFirst(count);
    expectPaintedInOrder(count);
    for (std::size_t i = 0; i < count; ++i)
        ASSERT_EQ(log.prepares[i].load(), 1) << "stroke " << i;
}

TEST_F(StrokesAheadTest, StoppingEarlyEndsTheWalkersWithinTheRing)
{
    const std::size_t painted = 300;
    paintFirst(painted);
    expectPaintedInOrder(painted);
    std::size_t preparedBeyond = 0;
    for (std::size_t i = painted; i < count; ++i)
        preparedBeyond += log.prepares[i].load() > 0;
    EXPECT_LE(preparedBeyond, vml::StrokesAhead::ring);
}

TEST_F(StrokesAheadTest, AWalkThatFailsOnAWorkerIsWalkedAgainByThePainter)
{
    log.failOffMainThread = 700;
    paintFirst(count);
    expectPaintedInOrder(count);
    EXPECT_GE(log.prepares[700].load(), 1);
    EXPECT_LE(log.prepares[700].load(), 2);
}

TEST_F(StrokesAheadTest, AFailingPaintLoopIsRethrownOnceTheWalkersStop)
{
    vml::StrokesAhead ahead(strokes, context, count);
    EXPECT_THROW(ahead.run([&] {
        for (std::size_t i = 0; i < 50; ++i)
            ahead.paint(i, context);
        throw std::runtime_error("cancelled");
    }),
                 std::runtime_error);
    expectPaintedInOrder(50);
}

}  // namespace
