#include "renderer/StrokeList.h"

#include "renderer/ArenaHooks.h"
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
    lanes_.restart();
    const bool pool = pool_.setup(0, 0, poolChunkBytes);
    const bool list = list_.setup(0, 0, listChunkBytes);
    return pool && list;
}

void StrokeList::release()
{
    count_ = 0;
    lanes_.release();
    pool_.release();
    list_.release();
}

StrokeList::Lane* StrokeList::lane()
{
    return lanes_.get(
        [this] {
            auto made = std::make_unique<Lane>();
            if (lanes_.held() == 0) {
                made->pool = &pool_;
                made->list = &list_;
                made->count = &count_;
            } else {
                made->ownPool = std::make_unique<ChunkedArena>(pool_.hooks());
                made->ownList = std::make_unique<ChunkedArena>(pool_.hooks());
                made->pool = made->ownPool.get();
                made->list = made->ownList.get();
                made->count = &made->ownCount;
            }
            return made;
        },
        [this](Lane& lane) {
            if (!lane.ownPool)
                return;
            lane.ownCount = 0;
            lane.ownPool->setHooks(pool_.hooks());
            lane.ownList->setHooks(pool_.hooks());
            lane.ownPool->setByteLimit(pool_.byteLimit());
            lane.ownList->setByteLimit(list_.byteLimit());
            lane.ownPool->setup(0, 0, poolChunkBytes);
            lane.ownList->setup(0, 0, listChunkBytes);
        });
}

bool StrokeList::append(ChunkedArena& list, vmlStrokeRecord* record)
{
    auto* slot = static_cast<vmlStrokeRecord**>(list.allocate(sizeof(vmlStrokeRecord*)));
    if (!slot)
        return false;
    *slot = record;
    return true;
}

bool StrokeList::fileStroke(const vmlStrokeRecord& record)
{
    Lane* l = lane();
    if (!l) {
        if (ArenaHooks* hooks = pool_.hooks())
            hooks->outOfMemory();
        return false;
    }
    // The pool block first: a list slot taken without a record would break the slot indexing.
    void* storage = l->pool->allocate(record.size());
    if (!storage || !append(*l->list, record.copyTo(storage)))
        return false;
    ++*l->count;
    return true;
}

bool StrokeList::collect()
{
    bool complete = true;
    for (std::size_t i = 0; i < lanes_.used(); ++i) {
        Lane& l = lanes_.lane(i);
        if (!l.ownList || l.ownCount == 0)
            continue;
        for (std::size_t k = 0; k < l.ownCount && complete; ++k) {
            auto* const* chunk =
                reinterpret_cast<vmlStrokeRecord* const*>(l.ownList->chunk(k / pointersPerChunk));
            complete = append(list_, chunk[k % pointersPerChunk]);
            if (complete)
                ++count_;
        }
        // The records stay in the lane's pool until the next reset; only their addresses moved.
        l.ownCount = 0;
        l.ownList->reset();
    }
    return complete;
}

std::size_t StrokeList::strokeCount() const
{
    std::size_t n = count_;
    for (std::size_t i = 0; i < lanes_.used(); ++i)
        if (lanes_.lane(i).ownList)
            n += lanes_.lane(i).ownCount;
    return n;
}

vmlStrokeRecord& StrokeList::stroke(std::size_t i) const
{
    auto* const* chunk = reinterpret_cast<vmlStrokeRecord* const*>(list_.chunk(i / pointersPerChunk));
    return *chunk[i % pointersPerChunk];
}

void StrokeList::sortByDepth(const SortProgress& progress)
{
    collect();
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
