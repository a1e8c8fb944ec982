#include "renderer/StrokeList.h"

#include "renderer/StrokeOrder.h"
#include "renderer/vmlStrokeRecord.h"

#include <algorithm>
#include <vector>

namespace vml {

StrokeList::StrokeList(ArenaHooks* hooks) : pool_(hooks), list_(hooks) {}

void StrokeList::setHooks(ArenaHooks* hooks)
{
    pool_.setHooks(hooks);
    list_.setHooks(hooks);
}

bool StrokeList::reset()
{
    count_ = 0;
    const bool pool = pool_.setup(0, 0, poolChunkBytes);
    const bool list = list_.setup(0, 0, listChunkBytes);
    return pool && list;
}

void StrokeList::release()
{
    count_ = 0;
    pool_.release();
    list_.release();
}

bool StrokeList::fileStroke(const vmlStrokeRecord& record)
{
    // The pool block first: a list slot taken without a record would break the slot indexing.
    void* storage = pool_.allocate(record.size());
    if (!storage)
        return false;
    auto* slot = static_cast<vmlStrokeRecord**>(list_.allocate(sizeof(vmlStrokeRecord*)));
    if (!slot)
        return false;
    *slot = record.copyTo(storage);
    ++count_;
    return true;
}

vmlStrokeRecord& StrokeList::stroke(std::size_t i) const
{
    auto* const* chunk = reinterpret_cast<vmlStrokeRecord* const*>(list_.chunk(i / pointersPerChunk));
    return *chunk[i % pointersPerChunk];
}

void StrokeList::sortByDepth(const SortProgress& progress)
{
    if (count_ == 0) {
        if (progress)
            progress(1, 1);
        return;
    }
    std::vector<vmlStrokeRecord**> chunks((count_ + pointersPerChunk - 1) / pointersPerChunk);
    for (std::size_t c = 0; c < chunks.size(); ++c)
        chunks[c] = reinterpret_cast<vmlStrokeRecord**>(list_.chunk(c));

    // Roughly the comparisons of an n log n sort; progress is reported against it.
    std::size_t log2n = 1;
    while ((std::size_t{1} << log2n) < count_)
        ++log2n;
    const std::size_t total = count_ * (log2n + 1);
    StrokeSortProgress ticker(progress, total, maxSortProgressCalls);

    ChunkedSlotIterator first(chunks.data(), 0), last(chunks.data(), count_);
    std::sort(first, last, [&ticker](const vmlStrokeRecord* a, const vmlStrokeRecord* b) {
        ticker.tick();
        return strokeBefore(*a, *b);
    });
    ticker.finish();
}

}  // namespace vml
