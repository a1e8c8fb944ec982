#include "renderer/ScreenMapping.h"

#include <gtest/gtest.h>

using vml::ScreenMapping;

namespace {

TEST(ScreenMapping, MapsPixelCentresBottomLeftUp)
{
    const ScreenMapping whole = ScreenMapping::whole(100, 50);
    EXPECT_FLOAT_EQ(whole.screenUV(0, 0).x, 0.005f);
    EXPECT_FLOAT_EQ(whole.screenUV(0, 0).y, 0.99f);
    EXPECT_FLOAT_EQ(whole.screenUV(99, 49).x, 0.995f);
    EXPECT_FLOAT_EQ(whole.screenUV(99, 49).y, 0.01f);
    // A crop's pixel is the full image's pixel shifted by the region origin.
    const ScreenMapping crop = ScreenMapping::regionCrop(200, 100, 20, 30);
    const ScreenMapping full = ScreenMapping::whole(200, 100);
    EXPECT_FLOAT_EQ(crop.screenUV(3, 4).x, full.screenUV(23, 34).x);
    EXPECT_FLOAT_EQ(crop.screenUV(3, 4).y, full.screenUV(23, 34).y);
    FrameRendParams frame;
    frame.regxmin = 20, frame.regymin = 30;
    EXPECT_EQ(ScreenMapping::forRender(RENDTYPE_REGIONCROP, 200, 100, 40, 40, frame).x0, 20.0f);
    EXPECT_EQ(ScreenMapping::forRender(RENDTYPE_REGION, 200, 100, 200, 100, frame).x0, 0.0f);
}

}  // namespace
