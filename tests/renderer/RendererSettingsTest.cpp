// vmlRenderer's settings: the parameter blocks and their cached copies, save, load and clone, the
// multipass node lists with their pick filters and notifications, and the render elements.

#include "renderer/RendererSettings.h"
#include "renderer/CrayonStrokeRenderElement.h"
#include "renderer/LineFxRenderElement.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/MultipassPickCallbacks.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/VmlRenderElementMgr.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"
#include "support/RendererTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "standalone/RenderElementManager.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace test_support;
using vml::vmlRenderer;

class RendererSettings : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        r = std::make_unique<vmlRenderer>();
    }
    IParamBlock2& pb() { return *r->paramBlock(); }
    int entries() { return pb().Count(vml::rendererMultipassNode); }
    // (node name, identifier) of every entry, in table order; the two tables must be parallel.
    std::vector<std::pair<std::string, int>> listed()
    {
        EXPECT_EQ(pb().Count(vml::rendererMultipassId), entries());
        std::vector<std::pair<std::string, int>> out;
        for (int i = 0; i < entries(); ++i) {
            auto* node = dynamic_cast<INode*>(pb().GetReferenceTarget(vml::rendererMultipassNode, 0, i));
            out.emplace_back(node ? node->GetName() : "-", pb().GetInt(vml::rendererMultipassId, 0, i));
        }
        return out;
    }
    using Listing = std::vector<std::pair<std::string, int>>;
    std::unique_ptr<vmlRenderer> r;
    TestNode root{"root"}, a{"a"}, b{"b"}, c{"c"}, light{"light"}, group{"group"};
};

TEST_F(RendererSettings, CachedCopiesFollowTheBlockAndTheRenderKind)
{
    pb().SetValue(vml::rendererBrushScaleAmount, 0, 150);
    EXPECT_EQ(vml::readRendererSettings(&pb(), false).brushScale, 1.0f) << "scaling is off";
    pb().SetValue(vml::rendererBrushScaleEnable, 0, 1);
    pb().SetValue(vml::rendererPenStrokeEnable, 0, 1);
    pb().SetValue(vml::rendererMultipassEnable, 0, 1);
    pb().SetValue(vml::rendererPenStrokeAlpha, 0, 40.0f);
    vml::RendererSettings s = vml::readRendererSettings(&pb(), false);
    EXPECT_FLOAT_EQ(s.brushScale, 1.5f);
    EXPECT_FLOAT_EQ(s.brushScaleInverse, 1.0f / 1.5f);
    EXPECT_TRUE(s.penStrokeEnable);
    EXPECT_TRUE(s.multipassEnable);
    EXPECT_FLOAT_EQ(s.penStrokeAlpha, 0.4f);
    // The material editor's renders use none of it.
    s = vml::readRendererSettings(&pb(), true);
    EXPECT_EQ(s.brushScale, 1.0f);
    EXPECT_FALSE(s.penStrokeEnable);
    EXPECT_FALSE(s.multipassEnable);
    // Values no rollout would allow (a damaged scene) are held to the ranges.
    pb().SetValue(vml::rendererBrushScaleAmount, 0, 0);
    pb().SetValue(vml::rendererBrushCacheSize, 0, 0);
    pb().SetValue(vml::rendererPenStrokeBlend, 0, 40);
    s = vml::readRendererSettings(&pb(), false);
    EXPECT_FLOAT_EQ(s.brushScale, 0.1f);
    EXPECT_TRUE(std::isfinite(s.brushScaleInverse));
    EXPECT_EQ(s.brushCacheSize, 16);
    EXPECT_EQ(s.penStrokeBlend, 15);
}

TEST_F(RendererSettings, SaveWritesTheInnerRendererChunkAndLoadReadsAnyOrder)
{
    ChunkWriter writer;
    ASSERT_EQ(r->Save(&writer), IO_OK);
    {
        ChunkReader reader(writer.Bytes());
        ASSERT_EQ(reader.OpenChunk(), IO_OK);
        EXPECT_EQ(reader.CurChunkID(), vmlRenderer::innerRendererChunk);
        reader.CloseChunk();
        EXPECT_EQ(reader.OpenChunk(), IO_END) << "no filter chunks without a filter";
    }
    // Filter chunks before the inner renderer's, and an unknown one: the loaded renderer makes
    // its inner renderer and cannot paste.
    ChunkWriter saved;
    saved.BeginChunk(0x7777);
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::filterClassChunk);
    writeValue(&saved, ULONG(0x1234));
    writeValue(&saved, ULONG(0x5678));
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::filterDataChunk);
    writeValue(&saved, ULONG(1));
    saved.EndChunk();
    saved.BeginChunk(vmlRenderer::innerRendererChunk);
    saved.EndChunk();
    vmlRenderer loaded(false);
    EXPECT_EQ(loaded.innerRenderer(), nullptr);
    EXPECT_TRUE(loaded.clipboardUsable());
    ChunkReader reader(saved.Bytes());
    EXPECT_EQ(loaded.Load(&reader), IO_OK);
    EXPECT_NE(loaded.innerRenderer(), nullptr);
    EXPECT_FALSE(loaded.clipboardUsable());
    // A filter class chunk too short for its two words ends the load with the error.
    ChunkWriter broken;
    broken.BeginChunk(vmlRenderer::filterClassChunk);
    writeValue(&broken, ULONG(0x1234));
    broken.EndChunk();
    broken.BeginChunk(vmlRenderer::innerRendererChunk);
    broken.EndChunk();
    ChunkReader brokenReader(broken.Bytes());
    vmlRenderer failed(false);
    EXPECT_EQ(failed.Load(&brokenReader), IO_ERROR);
}

TEST_F(RendererSettings, CloneCopiesTheBlocksTheMapAndTheInnerRenderer)
{
    pb().SetValue(vml::rendererBlurstrAmount, 0, 42);
    ConstantMap map(0.25f);
    pb().SetValue(vml::rendererBlurstrMap, 0, static_cast<ReferenceTarget*>(&map));
    INode* nodes[] = {&a};
    r->addNodes(nodes, 3);
    std::unique_ptr<ReferenceTarget> copyHolder(r->Clone());
    auto* copy = dynamic_cast<vmlRenderer*>(copyHolder.get());
    ASSERT_NE(copy, nullptr);
    IParamBlock2* cpb = copy->paramBlock();
    ASSERT_NE(cpb, &pb());
    EXPECT_EQ(cpb->GetOwner(), copy);
    EXPECT_EQ(cpb->GetInt(vml::rendererBlurstrAmount), 42);
    EXPECT_EQ(cpb->GetReferenceTarget(vml::rendererMultipassNode, 0, 0), &a);
    EXPECT_EQ(cpb->GetInt(vml::rendererMultipassId, 0, 0), 3);
    ASSERT_NE(copy->bleedStrengthMap(), nullptr);
    EXPECT_NE(copy->bleedStrengthMap(), &map);
    EXPECT_EQ(cpb->GetReferenceTarget(vml::rendererBlurstrMap), copy->bleedStrengthMap());
    EXPECT_NE(copy->innerRenderer(), nullptr);
    EXPECT_NE(copy->innerRenderer(), r->innerRenderer());
    for (int i = 1; i < 3; ++i)
        EXPECT_NE(copy->GetParamBlock(i), r->GetParamBlock(i));
    cpb->SetValue(vml::rendererBlurstrAmount, 0, 7);
    EXPECT_EQ(pb().GetInt(vml::rendererBlurstrAmount), 42);
    pb().SetValue(vml::rendererBlurstrMap, 0, nullptr);
}

TEST_F(RendererSettings, TheAddFilterRefusesGroupMembersUnrenderableAndListedNodes)
{
    light.renderable = FALSE;
    group.groupHead = TRUE;
    group.renderable = FALSE;
    b.groupMember = TRUE;
    INode* first[] = {&a};
    r->addNodes(first, 4);
    vml::MultipassAddCallback add(*r, 1);
    EXPECT_FALSE(add.filter(&a)) << "listed under another identifier";
    EXPECT_FALSE(add.filter(&b)) << "a group member";
    EXPECT_FALSE(add.filter(&light)) << "nothing to render";
    EXPECT_TRUE(add.filter(&group)) << "a group head renders its members";
    EXPECT_TRUE(add.filter(&c));
    EXPECT_FALSE(add.filter(nullptr));
    vml::MultipassDeleteCallback remove(*r, 4);
    EXPECT_TRUE(remove.filter(&a));
    EXPECT_FALSE(remove.filter(&c));
    EXPECT_FALSE(vml::MultipassDeleteCallback(*r, 1).filter(&a));
}

// The rollout's cutting and pasting as the user sees it is the app's to test; these are its edges.
TEST_F(RendererSettings, APasteSkipsNodesListedAgainAndAfterALoadOnlyEmptiesTheClipboard)
{
    vml::RenderBaseDlgProc dlg(*r);
    dlg.open();
    dlg.pressAdd({&a, &b, &c});
    dlg.pressCut({&a, &c});
    EXPECT_EQ(vml::multipassClipboard(pb()), (std::vector<INode*>{&a, &c}));
    INode* again[] = {&a};
    r->addNodes(again, 1);
    dlg.selectTab(5);
    dlg.pressPaste();
    EXPECT_EQ(listed(), (Listing{{"b", 0}, {"a", 1}, {"c", 5}}));
    dlg.pressCut({&c});
    ChunkWriter saved;
    ASSERT_EQ(r->Save(&saved), IO_OK);
    ChunkReader reader(saved.Bytes());
    ASSERT_EQ(r->Load(&reader), IO_OK);
    dlg.pressPaste();
    EXPECT_EQ(entries(), 2);
    EXPECT_EQ(pb().Count(vml::rendererMultipassCutNode), 0);
    EXPECT_FALSE(dlg.pasteEnabled());
}

TEST_F(RendererSettings, DeletedNodesLeaveBothTables)
{
    auto doomed = std::make_unique<TestNode>("doomed");
    INode* nodes[] = {&a, doomed.get(), &b, &c};
    r->addNodes(nodes, 2);
    BroadcastNotification(NOTIFY_SCENE_PRE_DELETED_NODE, static_cast<INode*>(&a));
    EXPECT_EQ(listed(), (Listing{{"doomed", 2}, {"b", 2}, {"c", 2}}));
    INodeTab selection{&b, &c};
    BroadcastNotification(NOTIFY_SEL_NODES_PRE_DELETE, &selection);
    EXPECT_EQ(listed(), (Listing{{"doomed", 2}}));
    // A node destroyed without a notification leaves an empty entry, which the next Open drops.
    doomed.reset();
    EXPECT_EQ(listed(), (Listing{{"-", 2}}));
    r->purgeNodes(false);
    EXPECT_EQ(entries(), 0);
    // Notifications end with their renderer.
    auto other = std::make_unique<vmlRenderer>();
    INode* kept[] = {&a, &b, &c};
    r->addNodes(kept, 0);
    other->addNodes(kept, 0);
    other.reset();
    BroadcastNotification(NOTIFY_SCENE_PRE_DELETED_NODE, static_cast<INode*>(&a));
    EXPECT_EQ(listed(), (Listing{{"b", 0}, {"c", 0}}));
}

TEST_F(RendererSettings, GroupingRemovesTheMembersAndLetsTheHeadIn)
{
    root.adopt(&group);
    INode* nodes[] = {&a, &b, &c};
    r->addNodes(nodes, 0);
    // Group a (with its child b) under a new group head.
    a.adopt(&b);
    group.groupHead = TRUE;
    group.adopt(&a);
    a.groupMember = TRUE;
    b.groupMember = TRUE;
    BroadcastNotification(NOTIFY_NODE_LINKED, static_cast<INode*>(&a));
    EXPECT_EQ(listed(), (Listing{{"c", 0}}));
    vml::MultipassAddCallback add(*r, 3);
    add.proc({&group});
    EXPECT_EQ(listed(), (Listing{{"c", 0}, {"group", 3}}));
    // A linked node that is not in a group stays; a group head detached to the root leaves.
    c.parent = &root;
    BroadcastNotification(NOTIFY_NODE_LINKED, static_cast<INode*>(&c));
    BroadcastNotification(NOTIFY_NODE_UNLINKED, static_cast<INode*>(&group));
    EXPECT_EQ(listed(), (Listing{{"c", 0}}));
}

TEST_F(RendererSettings, ElementSaveNamesTheEffectAfterTheElementAndRoundTrips)
{
    vml::CrayonStrokeRenderElement e;
    e.SetElementName("Pen");
    e.SetEnabled(FALSE);
    EXPECT_EQ(e.GetName(), "Crayon+ ｽﾄﾛｰｸ");  // renaming alone leaves the effect name
    // As the host saves an element: its own data, then its block as reference 0.
    ChunkWriter w;
    w.BeginChunk(1);
    EXPECT_EQ(e.Save(&w), IO_OK);
    w.EndChunk();
    w.BeginChunk(2);
    EXPECT_EQ(e.pblock()->Save(&w), IO_OK);
    w.EndChunk();
    EXPECT_EQ(e.GetName(), "Pen");
    vml::CrayonStrokeRenderElement loaded;
    ChunkReader reader(w.Bytes());
    ASSERT_EQ(reader.OpenChunk(), IO_OK);
    EXPECT_EQ(loaded.Load(&reader), IO_OK);
    reader.CloseChunk();
    ASSERT_EQ(reader.OpenChunk(), IO_OK);
    EXPECT_EQ(loaded.pblock()->Load(&reader), IO_OK);
    EXPECT_STREQ(loaded.ElementName(), "Pen");
    EXPECT_FALSE(loaded.IsEnabled());
    EXPECT_TRUE(loaded.IsFilterEnabled());
}

TEST_F(RendererSettings, ElementManagerListsTheExtraElementFirstAndForwardsTheRest)
{
    vml::LineFxRenderElement first, second, added;
    vml::CrayonStrokeRenderElement stroke;
    standalone::RenderElementManager host;
    host.AddRenderElement(&first);
    host.AddRenderElement(&second);
    vml::VmlRenderElementMgr mgr(&host, nullptr);
    mgr.extra = &stroke;
    EXPECT_EQ(mgr.NumRenderElements(), 3);
    EXPECT_EQ(mgr.GetRenderElement(0), &stroke);
    EXPECT_EQ(mgr.GetRenderElement(2), &second);
    EXPECT_EQ(mgr.GetRenderElement(3), nullptr);
    EXPECT_EQ(host.NumRenderElements(), 2);  // the user's list is untouched
    EXPECT_TRUE(mgr.AddRenderElement(&added));
    EXPECT_EQ(host.GetRenderElement(2), &added);
    EXPECT_FALSE(mgr.RemoveRenderElement(&stroke));
    mgr.RemoveAllRenderElements();
    EXPECT_EQ(mgr.NumRenderElements(), 1);
    // Without a host manager only the extra element is there and nothing is forwarded.
    vml::VmlRenderElementMgr bare;
    bare.extra = &stroke;
    EXPECT_EQ(bare.NumRenderElements(), 1);
    EXPECT_FALSE(bare.AddRenderElement(&added));
    EXPECT_FALSE(bare.GetDisplayElements());
}

}  // namespace
