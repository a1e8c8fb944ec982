#include "line/GBufferViews.h"

#include "support/GBufferImage.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

using namespace vml;

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
