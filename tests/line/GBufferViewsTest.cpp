#include "line/GBufferViews.h"

#include "support/GBufferImage.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

using namespace vml;

TEST(GBufferViews, ViewTheBitmapChannelsAtTheBitmapSize)
{
    Bitmap bitmap(3, 2);
    bitmap.CreateChannels(test_support::allEdgeChannels | BMM_CHAN_VELOC);
    const Bitmap& image = bitmap;
    const GBufferViews views = makeGBufferViews(image);

    EXPECT_EQ(views.materialID.pixels, image.Channel<std::uint8_t>(BMM_CHAN_MTL_ID));
    EXPECT_EQ(views.node.pixels, image.Channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID));
    EXPECT_EQ(views.z.pixels, image.Channel<float>(BMM_CHAN_Z));
    EXPECT_EQ(views.normal.pixels, image.Channel<DWORD>(BMM_CHAN_NORMAL));
    EXPECT_EQ(views.coverage.pixels, image.Channel<std::uint8_t>(BMM_CHAN_COVERAGE));
    EXPECT_EQ(views.velocity.pixels, image.Channel<Point2>(BMM_CHAN_VELOC));
    EXPECT_TRUE(views.velocity);
    EXPECT_EQ(views.node.width, 3);
    EXPECT_EQ(views.node.height, 2);

    bitmap.DeleteChannels(BMM_CHAN_NORMAL);
    const GBufferViews partial = makeGBufferViews(image);
    EXPECT_TRUE(partial.z);
    EXPECT_FALSE(partial.normal);
    EXPECT_EQ(partial.normal.width, 0);
    EXPECT_FALSE(makeGBufferViews(Bitmap()).z);
}

TEST(GBufferViews, PixelXYIsRowMajorWithRowZeroAtTheTop)
{
    test_support::GBufferImage image(3, 2);
    image.surface(2, 1, 7, 5, -3.0f);
    image.surface(1, 0, 8, 6, -4.0f);
    const GBufferViews views = image.views();
    EXPECT_EQ(views.node.pixels[5], 7);
    EXPECT_EQ(views.node.at(2, 1), 7);
    EXPECT_EQ(views.materialID.at(1, 0), 6);
    EXPECT_EQ(views.z.at(1, 0), -4.0f);
    EXPECT_EQ(views.node.at(0, 0), BMM_BACKGROUND_NODE_RENDER_ID);
    EXPECT_EQ(views.z.at(0, 1), BMM_BACKGROUND_Z);
    EXPECT_TRUE(views.node.contains(2, 1));
    EXPECT_FALSE(views.node.contains(3, 0));
    EXPECT_FALSE(views.node.contains(0, 2));
}

TEST(GBufferViews, HasChannelsNeedsEveryBitPresentAtTheGivenSize)
{
    Bitmap bitmap(4, 3);
    bitmap.CreateChannels(BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NORMAL);
    GBufferViews views = makeGBufferViews(bitmap);

    EXPECT_TRUE(hasChannels(views, 0, 4, 3));
    EXPECT_TRUE(hasChannels(views, 0x13, 4, 3));
    EXPECT_FALSE(hasChannels(views, 0x13 | BMM_CHAN_NODE_RENDER_ID, 4, 3));
    EXPECT_FALSE(hasChannels(views, BMM_CHAN_VELOC, 4, 3));
    EXPECT_FALSE(hasChannels(views, 0x13, 3, 4));
    // A channel of another size would be read past its end.
    views.normal.width = 2;
    EXPECT_FALSE(hasChannels(views, BMM_CHAN_NORMAL, 4, 3));
    EXPECT_TRUE(hasChannels(views, BMM_CHAN_Z, 4, 3));
    // Channels the views do not hold cannot be vouched for.
    bitmap.CreateChannels(BMM_CHAN_UV);
    EXPECT_FALSE(hasChannels(makeGBufferViews(bitmap), BMM_CHAN_Z | BMM_CHAN_UV, 4, 3));
}

}  // namespace
