// Multipass frames through the standalone host: which passes run and what each shows, the
// background of later passes, the effect held back until the merged G-buffer is ready.

#include "renderer/MultipassNodeTable.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "support/RendererTestSupport.h"

#include "host/IParamBlock2.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace test_support;
using vml::vmlRenderer;

// Counts its applications and keeps the node render ids it saw.
class CountingEffect : public Effect {
public:
    explicit CountingEffect(DWORD channels = 0) : channels_(channels) {}
    DWORD GBufferChannelsRequired(TimeValue) override { return channels_; }
    void Apply(TimeValue, Bitmap* bm, RenderGlobalContext*, CheckAbortCallback*) override
    {
        ++applied;
        if (const auto* ids = bm->Channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID))
            renderIds.assign(ids, ids + std::size_t(bm->Width()) * std::size_t(bm->Height()));
    }
    int applied = 0;
    std::vector<std::uint16_t> renderIds;

private:
    DWORD channels_;
};

class Multipass : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        scene = smallScene(48, 32);
    }
    // Lists the named nodes under pass identifier id (tab id + 1) and turns multipass on.
    void list(vmlRenderer& r, std::vector<std::string> names, int id)
    {
        std::vector<INode*> nodes;
        for (const std::string& name : names)
            nodes.push_back(scene->scene.findNode(name));
        vml::appendMultipassNodes(*r.paramBlock(), nodes, id);
        r.paramBlock()->SetValue(vml::rendererMultipassEnable, 0, 1);
    }
    Bitmap render(vmlRenderer& r, TimeValue t = 0, ULONG gbufferChannels = BMM_CHAN_RENDER_DEFAULT)
    {
        auto session = openSession(scene->scene, r, {.gbufferChannels = gbufferChannels});
        Bitmap bm;
        EXPECT_TRUE(session->renderFrame(t, bm).ok);
        return bm;
    }
    std::unique_ptr<test_support::TestScene> scene;
};

TEST_F(Multipass, AHostThatAsksForNoGBufferStillGetsTheMergeTheEffectNeeds)
{
    // The host asks for no channels and the effect for Z alone: the merge of the passes needs
    // the node render ids, which the renderer adds, so the effect sees every pass as before.
    CountingEffect single(BMM_CHAN_Z), layered(BMM_CHAN_Z);
    scene->scene.effects.push_back(&single);
    vmlRenderer one;
    const Bitmap plain = render(one, 0, BMM_CHAN_NONE);
    scene->scene.effects.back() = &layered;
    vmlRenderer two;
    list(two, {"blue", "green"}, 0);
    const Bitmap passes = render(two, 0, BMM_CHAN_NONE);
    EXPECT_EQ(two.passStrokes().size(), 2u);
    EXPECT_TRUE(sameImage(plain, passes, 2));
    EXPECT_EQ(plain.ChannelsPresent(), BMM_CHAN_Z);
    EXPECT_EQ(passes.ChannelsPresent(), BMM_CHAN_Z | BMM_CHAN_NODE_RENDER_ID);
    EXPECT_EQ(layered.applied, 1);
    ASSERT_FALSE(layered.renderIds.empty());
    EXPECT_NE(std::count(layered.renderIds.begin(), layered.renderIds.end(), BMM_BACKGROUND_NODE_RENDER_ID),
              static_cast<std::ptrdiff_t>(layered.renderIds.size()));
}

TEST_F(Multipass, FramesFollowEachOtherAndThreadsDoNotChangeThePixels)
{
    vmlRenderer r;
    list(r, {"green"}, 2);
    auto session = openSession(scene->scene, r);
    Bitmap first, second;
    ASSERT_TRUE(session->renderFrame(0, first).ok);
    ASSERT_TRUE(session->renderFrame(160, second).ok);
    EXPECT_TRUE(sameImage(first, second, 0)) << "nothing in the scene moves";
    session->close();
    core.setShadingThreads(1);
    vmlRenderer a;
    list(a, {"green"}, 2);
    const Bitmap oneThread = render(a);
    core.setShadingThreads(2);
    vmlRenderer b;
    list(b, {"green"}, 2);
    EXPECT_TRUE(sameImage(oneThread, render(b), 0));
    core.setShadingThreads(0);
}

}  // namespace
