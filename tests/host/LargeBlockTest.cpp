#include "host/LargeBlock.h"
#include "host/Bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

// Heap-sized and page-mapped blocks alike: zeros throughout, writable to the last byte, copies
// that own their bytes and moves that leave the source empty.
TEST(LargeBlock, BlocksOfEverySizeAreZeroedAndCopiesOwnTheirBytes)
{
    for (std::size_t bytes :
         {std::size_t{2}, std::size_t{4096}, std::size_t{5} << 20, (std::size_t{2} << 20) + 1}) {
        SCOPED_TRACE(bytes);
        LargeBlock block(bytes);
        ASSERT_EQ(block.size(), bytes);
        EXPECT_TRUE(
            std::all_of(block.data(), block.data() + bytes, [](std::byte b) { return b == std::byte{0}; }));
        block.data()[0] = std::byte{7};
        block.data()[bytes - 1] = std::byte{9};
        LargeBlock copy(block);
        block.data()[bytes - 1] = std::byte{1};
        EXPECT_EQ(copy.data()[0], std::byte{7});
        EXPECT_EQ(copy.data()[bytes - 1], std::byte{9});
        LargeBlock moved(std::move(copy));
        EXPECT_TRUE(copy.empty());
        EXPECT_EQ(moved.data()[bytes - 1], std::byte{9});
    }
    EXPECT_TRUE(LargeBlock(0).empty());
}

TEST(LargeBlock, ACopiedBitmapKeepsItsPixelsAndChannels)
{
    Bitmap source;
    source.Allocate(1024, 1024);  // large enough for page-mapped storage
    source.CreateChannels(BMM_CHAN_Z);
    const BMM_Color_64 red{65535, 0, 0, 65535};
    source.PutPixels(1023, 1023, 1, &red);
    Bitmap copy = source;
    const BMM_Color_64 blue{0, 0, 65535, 65535};
    source.PutPixels(1023, 1023, 1, &blue);
    BMM_Color_64 read{};
    ASSERT_EQ(copy.GetPixels(1023, 1023, 1, &read), 1);
    EXPECT_EQ(read.r, 65535);
    EXPECT_EQ(read.b, 0);
    ASSERT_NE(copy.GetChannel(BMM_CHAN_Z), nullptr);
    EXPECT_NE(copy.GetChannel(BMM_CHAN_Z), source.GetChannel(BMM_CHAN_Z));
    EXPECT_EQ(static_cast<const float*>(copy.GetChannel(BMM_CHAN_Z))[5], BMM_BACKGROUND_Z);
}
