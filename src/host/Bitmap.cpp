#include "host/Bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>

void Bitmap::Allocate(int width, int height)
{
    Free();
    if (width <= 0 || height <= 0)
        return;
    width_ = width, height_ = height;
    pixels_ = LargeArray<BMM_Color_64>(static_cast<std::size_t>(width) * height);
}

void Bitmap::Free()
{
    width_ = height_ = 0;
    pixels_.release();
    DeleteChannels(~ULONG{0});
}

int Bitmap::GetPixels(int x, int y, int n, BMM_Color_64* out) const
{
    if (!HasStorage() || y < 0 || y >= height_ || x < 0 || x >= width_ || n <= 0)
        return 0;
    n = std::min(n, width_ - x);
    std::copy_n(&pixels_[Index(x, y)], n, out);
    return n;
}

int Bitmap::PutPixels(int x, int y, int n, const BMM_Color_64* in)
{
    if (!HasStorage() || y < 0 || y >= height_ || x < 0 || x >= width_ || n <= 0)
        return 0;
    n = std::min(n, width_ - x);
    std::copy_n(in, n, &pixels_[Index(x, y)]);
    return n;
}

int Bitmap::ChannelSlot(ULONG bit)
{
    if (bit == 0 || !std::has_single_bit(bit))
        return -1;
    int slot = std::countr_zero(bit);
    return slot < BMM_CHAN_COUNT ? slot : -1;
}

void Bitmap::CreateChannels(ULONG bits)
{
    if (!HasStorage())
        return;
    const std::size_t count = static_cast<std::size_t>(width_) * height_;
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
        ULONG bit = ULONG{1} << slot;
        if (!(bits & bit) || (channelsPresent_ & bit))
            continue;
        auto& storage = channels_[slot];
        storage = LargeBlock(count * GBufferChannelSize(bit));
        if (bit == BMM_CHAN_Z)
            std::fill_n(reinterpret_cast<float*>(storage.data()), count, BMM_BACKGROUND_Z);
        else if (bit == BMM_CHAN_NODE_RENDER_ID)
            std::fill_n(reinterpret_cast<std::uint16_t*>(storage.data()), count,
                        BMM_BACKGROUND_NODE_RENDER_ID);
        channelsPresent_ |= bit;
    }
}

void Bitmap::DeleteChannels(ULONG bits)
{
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
        ULONG bit = ULONG{1} << slot;
        if (bits & bit) {
            channels_[slot].release();
            channelsPresent_ &= ~bit;
        }
    }
}

void* Bitmap::GetChannel(ULONG bit, ULONG& type)
{
    int slot = ChannelSlot(bit);
    type = bit;
    if (slot < 0 || !(channelsPresent_ & bit))
        return nullptr;
    return channels_[slot].data();
}

const void* Bitmap::GetChannel(ULONG bit) const
{
    int slot = ChannelSlot(bit);
    if (slot < 0 || !(channelsPresent_ & bit))
        return nullptr;
    return channels_[slot].data();
}

void Bitmap::RefreshWindow() const
{
    ++refreshCount_;
    if (refresh_)
        refresh_(*this);
}
