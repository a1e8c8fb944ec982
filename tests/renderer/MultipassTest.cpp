// Multipass frames through the standalone host: which passes run and what each shows, the
// background of later passes, the effect held back until the merged G-buffer is ready.

#include "renderer/MultipassNodeTable.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "support/RendererTestSupport.h"

#include "host/IParamBlock2.h"
#include "host/RenderInstance.h"

#include <algorithm>
#include <map>
#include <set>
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
    static std::set<std::string> shown(RenderGlobalContext* gc)
    {
        std::set<std::string> names;
        for (int i = 0; i < gc->NumRenderInstances(); ++i)
            if (!(gc->GetRenderInstance(i)->flags & INST_HIDE))
                names.insert(gc->GetRenderInstance(i)->GetINode()->GetName());
        return names;
    }

    std::unique_ptr<test_support::TestScene> scene;
};

TEST_F(Multipass, OnlyPassesWithContentRunEachShowingItsNodesAndHiddenInstancesStayHidden)
{
    vmlRenderer r;
    list(r, {"blue"}, 1);  // tab "2"
    // Hidden before the renderer's hook ever runs (registered before its Open).
    RenderGlobalContext* context = nullptr;
    NotificationProbe hideGreen(NOTIFY_PRE_RENDERFRAME, [&](RenderGlobalContext* gc) {
        if (context)
            return;
        context = gc;
        for (int i = 0; i < gc->NumRenderInstances(); ++i)
            if (std::string(gc->GetRenderInstance(i)->GetINode()->GetName()) == "green")
                gc->GetRenderInstance(i)->flags |= INST_HIDE;
    });
    auto session = openSession(scene->scene, r);
    std::vector<std::set<std::string>> passes;
    NotificationProbe seen(NOTIFY_PRE_RENDERFRAME,
                           [&](RenderGlobalContext* gc) { passes.push_back(shown(gc)); });
    Bitmap bm;
    ASSERT_TRUE(session->renderFrame(0, bm).ok);

    // Pass 0 shows what no pass lists, pass 2 the listed node; passes 1 and 3..9 never run.
    ASSERT_EQ(passes.size(), 2u);
    EXPECT_EQ(passes[0], (std::set<std::string>{"red"}));
    EXPECT_EQ(passes[1], (std::set<std::string>{"blue"}));
    EXPECT_EQ(r.passStrokes().size(), 2u);
    EXPECT_EQ(r.passStrokes().back().pass, 2);
    // After the frame every instance is as it was: green hidden, the others shown.
    EXPECT_EQ(shown(context), (std::set<std::string>{"red", "blue"}));
}

TEST_F(Multipass, AGroupHeadBringsItsSubtreeAndEmptyListsRenderOnePass)
{
    vmlRenderer r;
    vml::MultipassController passes;
    TestNode group("group"), member("member"), inner("inner"), loose("loose");
    group.groupHead = TRUE;
    group.adopt(&member);
    member.adopt(&inner);
    std::vector<INode*> listed{&group};
    vml::appendMultipassNodes(*r.paramBlock(), listed, 4);
    passes.setUp(true, r.paramBlock());
    EXPECT_EQ(passes.passIdOf(&group), 4);
    EXPECT_EQ(passes.passIdOf(&inner), 4);
    EXPECT_EQ(passes.passIdOf(&loose), -1);
    EXPECT_TRUE(passes.visibleInPass(&inner, 5));
    EXPECT_TRUE(passes.visibleInPass(&loose, 0));
    EXPECT_FALSE(passes.visibleInPass(&inner, 0));
    // A listed node that heads no group brings only itself.
    group.groupHead = FALSE;
    EXPECT_EQ(passes.passIdOf(&inner), -1);

    // Multipass on with nothing listed paints exactly what multipass off paints.
    vmlRenderer off, onEmpty;
    onEmpty.paramBlock()->SetValue(vml::rendererMultipassEnable, 0, 1);
    EXPECT_TRUE(sameImage(render(off), render(onEmpty), 0));
    EXPECT_EQ(onEmpty.passStrokes().size(), 1u);
}

TEST_F(Multipass, LaterPassesLetTheEarlierPaintingShowAndTheEffectSeesEveryPass)
{
    CountingEffect single, layered;
    scene->scene.effects.push_back(&single);
    vmlRenderer one;
    const Bitmap plain = render(one);
    scene->scene.effects.back() = &layered;
    vmlRenderer two;
    list(two, {"blue", "green"}, 0);
    const Bitmap passes = render(two);
    EXPECT_EQ(two.passStrokes().size(), 2u);

    // Red comes from pass 0 and shows wherever pass 1 has no object; the half-transparent blue
    // of pass 1 lies over it as it does in one pass.
    EXPECT_TRUE(sameImage(plain, passes, 2));
    // The effect ran once, after the last pass, on the G-buffer of both passes.
    EXPECT_EQ(single.applied, 1);
    EXPECT_EQ(layered.applied, 1);
    EXPECT_EQ(layered.renderIds, single.renderIds);
}

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
