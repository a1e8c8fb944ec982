#include "renderer/StrokeOrder.h"

#include "renderer/StrokeList.h"
#include "renderer/vmlStrokeRecord.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace vml {

static_assert(ChunkedSlotIterator::perChunk == StrokeList::pointersPerChunk);

std::uint32_t depthSortKey(float depth)
{
    if (std::isnan(depth))
        return 0xFFFFFFFFu;
    if (depth == 0.0f)
        depth = 0.0f;
    const auto bits = std::bit_cast<std::uint32_t>(depth);
    // Negative floats order backwards in their bits: flip them all; positive ones only the sign.
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

bool strokeBefore(const vmlStrokeRecord& a, const vmlStrokeRecord& b)
{
    const std::uint32_t da = depthSortKey(a.depthKey), db = depthSortKey(b.depthKey);
    if (da != db)
        return da < db;
    const std::uint64_t oa = a.orderKey(), ob = b.orderKey();
    if (oa != ob)
        return oa < ob;
    const std::size_t sa = a.size(), sb = b.size();
    if (sa != sb)
        return sa < sb;
    // The content after the type identity; the identity itself differs from run to run.
    const auto* ba = reinterpret_cast<const unsigned char*>(&a.depthKey);
    const auto* bb = reinterpret_cast<const unsigned char*>(&b.depthKey);
    const auto skip = static_cast<std::size_t>(ba - reinterpret_cast<const unsigned char*>(&a));
    if (sa <= skip)
        return false;
    return std::memcmp(ba, bb, sa - skip) < 0;
}

StrokeSortProgress::StrokeSortProgress(const std::function<void(std::size_t, std::size_t)>& callback,
                                       std::size_t total, int maxCalls)
    : callback_(callback), total_(std::max<std::size_t>(total, 1)),
      step_(std::max<std::size_t>(total_ / static_cast<std::size_t>(std::max(maxCalls, 1)), 1)), next_(step_),
      callsLeft_(callback ? maxCalls : 0)
{
    if (!callback_)
        next_ = static_cast<std::size_t>(-1);
}

void StrokeSortProgress::report()
{
    if (callsLeft_ <= 0) {
        next_ = static_cast<std::size_t>(-1);
        return;
    }
    --callsLeft_;
    next_ = ticks_ + step_;
    callback_(std::min(ticks_, total_), total_);
}

void StrokeSortProgress::finish()
{
    if (callback_)
        callback_(total_, total_);
}

}  // namespace vml
