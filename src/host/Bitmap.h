#pragma once
// A host bitmap: rows of 16-bit premultiplied RGBA pixels plus optional G-buffer channels.
// A default-constructed bitmap has no storage; its pixel operations do nothing and report 0.

#include "host/Color.h"
#include "host/GBufferChannels.h"
#include "host/LargeBlock.h"

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { Allocate(width, height); }

    // (Re)allocates black, transparent storage; non-positive sizes leave the bitmap empty.
    // Existing G-buffer channels are dropped.
    void Allocate(int width, int height);
    void Free();

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool HasStorage() const { return !pixels_.empty(); }

    // Copy n pixels of row y starting at x; the span is clipped to the bitmap. Returns the number
    // of pixels copied (0 without storage or outside the bitmap). Calls on different rows may run
    // on different threads at once.
    int GetPixels(int x, int y, int n, BMM_Color_64* out) const;
    int PutPixels(int x, int y, int n, const BMM_Color_64* in);
    BMM_Color_64* Row(int y)
    {
        return HasStorage() && y >= 0 && y < height_ ? &pixels_[Index(0, y)] : nullptr;
    }
    const BMM_Color_64* Row(int y) const
    {
        return HasStorage() && y >= 0 && y < height_ ? &pixels_[Index(0, y)] : nullptr;
    }

    // G-buffer. CreateChannels adds the channels in `bits` (zero-filled, Z and node render id
    // set to their background values) and keeps existing ones.
    void CreateChannels(ULONG bits);
    void DeleteChannels(ULONG bits);
    ULONG ChannelsPresent() const { return channelsPresent_; }
    // Raw storage of one channel (a single bit), or nullptr when absent. `type` gets the bit back.
    void* GetChannel(ULONG bit, ULONG& type);
    const void* GetChannel(ULONG bit) const;
    template <class T> T* Channel(ULONG bit)
    {
        ULONG type;
        return static_cast<T*>(GetChannel(bit, type));
    }
    template <class T> const T* Channel(ULONG bit) const { return static_cast<const T*>(GetChannel(bit)); }

    // Asks any window showing the bitmap to redraw. The host installs the observer.
    void RefreshWindow() const;
    void SetRefreshObserver(std::function<void(const Bitmap&)> observer) { refresh_ = std::move(observer); }
    int RefreshCount() const { return refreshCount_; }
    // Whether a window shows the bitmap (the host installed an observer).
    bool HasWindow() const { return static_cast<bool>(refresh_); }

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * width_ + x; }
    static int ChannelSlot(ULONG bit);

    int width_ = 0, height_ = 0;
    LargeArray<BMM_Color_64> pixels_;
    ULONG channelsPresent_ = 0;
    std::array<LargeBlock, BMM_CHAN_COUNT> channels_;
    std::function<void(const Bitmap&)> refresh_;
    mutable int refreshCount_ = 0;
};
