#pragma once
// The painting order of stroke records and the pieces the depth sort needs: a total order on
// records, a random-access iterator over the chunked pointer array, and bounded progress.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>

namespace vml {

class vmlStrokeRecord;

// Depth as an unsigned key in ascending float order; -0 equals +0 and every NaN sorts last.
std::uint32_t depthSortKey(float depth);

// True when a paints before b: ascending depth, then orderKey, then size, then the bytes from the
// depth key to the end of the record. A strict total order on records of distinct content.
bool strokeBefore(const vmlStrokeRecord& a, const vmlStrokeRecord& b);

// Calls the callback at most `maxCalls` times while ticking towards `total`, then once at finish.
class StrokeSortProgress {
public:
    StrokeSortProgress(const std::function<void(std::size_t, std::size_t)>& callback, std::size_t total,
                       int maxCalls);
    void tick()
    {
        if (++ticks_ >= next_)
            report();
    }
    void finish();

private:
    void report();

    const std::function<void(std::size_t, std::size_t)>& callback_;
    std::size_t total_;
    std::size_t step_;
    std::size_t ticks_ = 0;
    std::size_t next_;
    int callsLeft_;
};

// Slot i of a chunked pointer array whose chunks hold `perChunk` pointers each.
class ChunkedSlotIterator {
public:
    static constexpr std::size_t perChunk = 1024;

    using iterator_category = std::random_access_iterator_tag;
    using value_type = vmlStrokeRecord*;
    using difference_type = std::ptrdiff_t;
    using pointer = vmlStrokeRecord**;
    using reference = vmlStrokeRecord*&;

    ChunkedSlotIterator() = default;
    ChunkedSlotIterator(vmlStrokeRecord** const* chunks, std::size_t index) : chunks_(chunks), i_(index) {}

    reference operator*() const { return chunks_[i_ / perChunk][i_ % perChunk]; }
    pointer operator->() const { return &**this; }
    reference operator[](difference_type n) const { return *(*this + n); }

    ChunkedSlotIterator& operator++() { return ++i_, *this; }
    ChunkedSlotIterator& operator--() { return --i_, *this; }
    ChunkedSlotIterator operator++(int) { return {chunks_, i_++}; }
    ChunkedSlotIterator operator--(int) { return {chunks_, i_--}; }
    ChunkedSlotIterator& operator+=(difference_type n) { return i_ += static_cast<std::size_t>(n), *this; }
    ChunkedSlotIterator& operator-=(difference_type n) { return i_ -= static_cast<std::size_t>(n), *this; }
    friend ChunkedSlotIterator operator+(ChunkedSlotIterator it, difference_type n) { return it += n; }
    friend ChunkedSlotIterator operator+(difference_type n, ChunkedSlotIterator it) { return it += n; }
    friend ChunkedSlotIterator operator-(ChunkedSlotIterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const ChunkedSlotIterator& a, const ChunkedSlotIterator& b)
    {
        return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
    }
    friend bool operator==(const ChunkedSlotIterator& a, const ChunkedSlotIterator& b)
    {
        return a.i_ == b.i_;
    }
    friend auto operator<=>(const ChunkedSlotIterator& a, const ChunkedSlotIterator& b)
    {
        return a.i_ <=> b.i_;
    }

private:
    vmlStrokeRecord** const* chunks_ = nullptr;
    std::size_t i_ = 0;
};

}  // namespace vml
