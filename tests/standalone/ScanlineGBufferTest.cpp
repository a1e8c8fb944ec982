// The G-buffer channels the scanline renderer writes, and back-face handling.

#include "support/ScanlineTestSupport.h"
#include "support/TestShadeContext.h"

#include "host/NormalCompression.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace test_support;

// Orthographic 16 x 16, one unit per pixel (screen x = 8 + x, y = 8 - y). Left: a flat square at
// z = -3 with material-effects id 5. Right: a plane tilted to z = -6 + 0.5 x. Rows 12..15 see
// only the background.
struct GBufferScene {
    std::unique_ptr<TestScene> ts = TestScene::orthographic(16.0f);
    Bitmap bm;
    GBufferScene()
    {
        ts->add("flat", rectMesh(-8, -4, 0, 8, -3), ts->material<ConstantMtl>(Color(1, 1, 1), Color(), 5));
        auto tilted = quadMesh({0, -4, -6}, {8, -4, -2}, {8, 8, -2}, {0, 8, -6});
        ts->add("tilted", tilted, ts->material<ConstantMtl>(Color(1, 1, 1)))->setGBufferID(9);
    }
};

// Channels an effect asks for are created and filled too.
class ChannelAsker : public Effect {
public:
    DWORD GBufferChannelsRequired(TimeValue) override
    {
        return BMM_CHAN_NODE_ID | BMM_CHAN_MASK | BMM_CHAN_BG;
    }
    void Apply(TimeValue, Bitmap*, RenderGlobalContext*, CheckAbortCallback*) override {}
};

TEST(ScanlineGBuffer, ChannelsRequiredByTheEffectAreFilled)
{
    GBufferScene g;
    ChannelAsker effect;
    g.bm = rendered(*g.ts, {.background = Color(0, 1, 0), .effect = &effect});
    EXPECT_EQ(channelAt<std::uint16_t>(g.bm, BMM_CHAN_NODE_ID, 10, 2), 9);
    EXPECT_EQ(channelAt<std::uint16_t>(g.bm, BMM_CHAN_MASK, 10, 2), 0xFFFF);
    EXPECT_EQ(channelAt<Color24>(g.bm, BMM_CHAN_BG, 8, 14).g, 255);
}

TEST(ScanlineGBuffer, ValuesFromAPreviousFrameDoNotSurvive)
{
    GBufferScene g;
    ASSERT_EQ(render(*g.ts, g.bm), 1);
    g.ts->scene.findNode("flat")->setHidden(true);
    standalone::ScanlineRenderer renderer;
    RendParams rp;
    ASSERT_EQ(renderer.Open(g.ts->scene.root(), g.ts->camera, nullptr, rp, nullptr, nullptr), 1);
    FrameRendParams frp;
    ASSERT_EQ(renderer.Render(0, &g.bm, frp, nullptr, nullptr, nullptr), 1);  // same bitmap, kept channels
    EXPECT_EQ(channelAt<float>(g.bm, BMM_CHAN_Z, 3, 5), BMM_BACKGROUND_Z);
    EXPECT_EQ(channelAt<std::uint16_t>(g.bm, BMM_CHAN_NODE_RENDER_ID, 3, 5), BMM_BACKGROUND_NODE_RENDER_ID);
    EXPECT_EQ(channelAt<std::uint16_t>(g.bm, BMM_CHAN_NODE_RENDER_ID, 12, 5), 0);  // ids are per render
}

}  // namespace
