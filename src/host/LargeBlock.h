#pragma once
// Zero-filled storage for frame-sized arrays: canvases, sample arenas, bitmaps. A frame touches
// a few hundred megabytes once, and every first touch of a small page costs the system a fault;
// blocks of a few megabytes or more are therefore asked for in large pages where the system
// offers them, which takes a fault per 2 MB instead of per 4 KB. Smaller blocks come from the
// ordinary heap.

#include <cassert>
#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>

class LargeBlock {
public:
    LargeBlock() = default;
    // `bytes` of zeros; throws std::bad_alloc when the system refuses.
    explicit LargeBlock(std::size_t bytes);
    // As above, but an empty block when the system refuses.
    static LargeBlock tryAllocate(std::size_t bytes);
    ~LargeBlock() { release(); }
    LargeBlock(LargeBlock&& other) noexcept { swap(other); }
    LargeBlock& operator=(LargeBlock&& other) noexcept
    {
        LargeBlock(static_cast<LargeBlock&&>(other)).swap(*this);
        return *this;
    }
    // A copy holds its own block with the same bytes.
    LargeBlock(const LargeBlock& other) : LargeBlock(other.bytes_)
    {
        if (bytes_ > 0)
            std::memcpy(data_, other.data_, bytes_);
    }
    LargeBlock& operator=(const LargeBlock& other)
    {
        if (this != &other)
            LargeBlock(other).swap(*this);
        return *this;
    }

    std::byte* data() const { return data_; }
    std::size_t size() const { return bytes_; }
    bool empty() const { return data_ == nullptr; }
    void release();

private:
    void swap(LargeBlock& other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(bytes_, other.bytes_);
        std::swap(mapped_, other.mapped_);
    }

    std::byte* data_ = nullptr;
    std::size_t bytes_ = 0;
    std::size_t mapped_ = 0;  // bytes mapped from the system; 0 for a heap block
};

// n elements of T in a LargeBlock, each T{}: T must be trivially copyable and its value-initialised
// form all zero bits, which the zero-filled block already is.
template <class T> class LargeArray {
public:
    LargeArray() = default;
    explicit LargeArray(std::size_t n) : block_(n * sizeof(T)), size_(n) { checkZeroIsDefault(); }
    T* data() const { return reinterpret_cast<T*>(block_.data()); }
    T* begin() const { return data(); }
    T* end() const { return data() + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& operator[](std::size_t i) const
    {
        assert(i < size_);
        return data()[i];
    }
    void release()
    {
        block_.release();
        size_ = 0;
    }

private:
    static void checkZeroIsDefault()
    {
        static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
#ifndef NDEBUG
        const T value{};
        unsigned char zeros[sizeof(T)] = {};
        assert(std::memcmp(&value, zeros, sizeof(T)) == 0);
#endif
    }

    LargeBlock block_;
    std::size_t size_ = 0;
};
