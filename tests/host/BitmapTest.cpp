#include "host/Bitmap.h"

#include <gtest/gtest.h>

namespace {

TEST(Bitmap, PixelSpansAreClipped)
{
    Bitmap bm(4, 2);
    BMM_Color_64 row[6];
    for (int i = 0; i < 6; ++i)
        row[i] = {static_cast<std::uint16_t>(i + 1), 0, 0, 65535};
    EXPECT_EQ(bm.PutPixels(2, 1, 6, row), 2);  // only columns 2 and 3 exist
    BMM_Color_64 back[4] = {};
    EXPECT_EQ(bm.GetPixels(0, 1, 4, back), 4);
    EXPECT_EQ(back[0].r, 0);
    EXPECT_EQ(back[2].r, 1);
    EXPECT_EQ(back[3].r, 2);
    EXPECT_EQ(bm.GetPixels(0, 2, 1, back), 0);
    EXPECT_EQ(bm.GetPixels(-1, 0, 1, back), 0);
    EXPECT_EQ(bm.PutPixels(4, 0, 1, row), 0);
}

TEST(Bitmap, WithoutStorageDoesNothing)
{
    Bitmap bm;
    BMM_Color_64 px{};
    EXPECT_FALSE(bm.HasStorage());
    EXPECT_EQ(bm.GetPixels(0, 0, 1, &px), 0);
    EXPECT_EQ(bm.PutPixels(0, 0, 1, &px), 0);
    EXPECT_EQ(bm.Row(0), nullptr);
    bm.CreateChannels(BMM_CHAN_Z);
    EXPECT_EQ(bm.ChannelsPresent(), 0u);
    Bitmap negative(-3, 5);
    EXPECT_FALSE(negative.HasStorage());
    EXPECT_EQ(negative.Width(), 0);
}

TEST(Bitmap, GBufferChannelsStartAtTheirBackgroundValues)
{
    Bitmap bm(3, 3);
    bm.CreateChannels(BMM_CHAN_Z | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_NORMAL | BMM_CHAN_VELOC);
    EXPECT_EQ(bm.ChannelsPresent(), BMM_CHAN_Z | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_NORMAL | BMM_CHAN_VELOC);
    EXPECT_EQ(bm.Channel<float>(BMM_CHAN_Z)[8], BMM_BACKGROUND_Z);
    EXPECT_EQ(bm.Channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID)[4], 0xFFFF);
    EXPECT_EQ(bm.Channel<std::uint32_t>(BMM_CHAN_NORMAL)[0], 0u);
    EXPECT_EQ(bm.Channel<Point2>(BMM_CHAN_VELOC)[8], Point2());
    EXPECT_EQ(bm.Channel<std::uint8_t>(BMM_CHAN_COVERAGE), nullptr);
    // Only single bits address a channel.
    ULONG type = 0;
    EXPECT_EQ(bm.GetChannel(BMM_CHAN_Z | BMM_CHAN_NORMAL, type), nullptr);
    // Existing channels keep their contents when more are added.
    bm.Channel<float>(BMM_CHAN_Z)[0] = -5.0f;
    bm.CreateChannels(BMM_CHAN_Z | BMM_CHAN_COVERAGE);
    EXPECT_EQ(bm.Channel<float>(BMM_CHAN_Z)[0], -5.0f);
    bm.DeleteChannels(BMM_CHAN_Z);
    EXPECT_EQ(bm.Channel<float>(BMM_CHAN_Z), nullptr);
    EXPECT_NE(bm.Channel<std::uint8_t>(BMM_CHAN_COVERAGE), nullptr);
}

TEST(Bitmap, RefreshWindowReachesTheObserver)
{
    Bitmap bm(1, 1);
    int seen = 0;
    bm.SetRefreshObserver([&](const Bitmap& b) { seen += b.Width(); });
    bm.RefreshWindow();
    bm.RefreshWindow();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(bm.RefreshCount(), 2);
}

}  // namespace
