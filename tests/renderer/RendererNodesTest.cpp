// The multipass node lists: the settings rollout's editing, the pick filters, and the node
// notifications that keep the lists clean.

#include "renderer/MultipassNodeTable.h"
#include "renderer/MultipassPickCallbacks.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"
#include "support/RendererTestSupport.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"

#include <string>
#include <vector>

namespace {

using namespace test_support;
using vml::vmlRenderer;

class RendererNodes : public HostFixture {
protected:
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

    std::unique_ptr<vmlRenderer> r = std::make_unique<vmlRenderer>();
    TestNode root{"root"}, a{"a"}, b{"b"}, c{"c"}, light{"light"}, group{"group"};
};

TEST_F(RendererNodes, TheRolloutListsTheSelectedTabsNodes)
{
    root.adopt(&a), root.adopt(&b), root.adopt(&c);
    vml::RenderBaseDlgProc dlg(*r);
    dlg.open();
    EXPECT_EQ(r->settingsRollout(), &dlg);
    ASSERT_EQ(dlg.tabLabels().size(), 9u);
    EXPECT_EQ(dlg.tabLabels().front(), "1");
    EXPECT_EQ(dlg.tabLabels().back(), "9");
    EXPECT_EQ(dlg.selectedLabel(), "1");
    EXPECT_FALSE(dlg.pasteEnabled()) << "the clipboard is empty";

    dlg.pressAdd({&a, &b});
    dlg.selectTab(2);
    EXPECT_EQ(dlg.selectedLabel(), "3");
    dlg.pressAdd({&c, &a});  // a is listed under tab 1 already
    EXPECT_EQ(listed(), (Listing{{"a", 0}, {"b", 0}, {"c", 2}}));
    EXPECT_EQ(dlg.nodeList(), (std::vector<std::string>{"c"}));
    dlg.selectTab(0);
    EXPECT_EQ(dlg.nodeList(), (std::vector<std::string>{"a", "b"}));

    // Only the selected tab's nodes can be removed.
    dlg.pressDelete({&c, &b});
    EXPECT_EQ(listed(), (Listing{{"a", 0}, {"c", 2}}));
    EXPECT_EQ(dlg.nodeList(), (std::vector<std::string>{"a"}));

    // A renamed node shows its new name at once.
    a.rename("apple");
    BroadcastNotification(NOTIFY_NODE_RENAMED, static_cast<INode*>(&a));
    EXPECT_EQ(dlg.nodeList(), (std::vector<std::string>{"apple"}));

    dlg.selectTab(12);  // no such tab
    EXPECT_EQ(dlg.selectedTab(), 0);
    dlg.close();
    EXPECT_EQ(r->settingsRollout(), nullptr);
}

TEST_F(RendererNodes, TheAddFilterRefusesGroupMembersUnrenderableAndListedNodes)
{
    light.renderable = FALSE;
    group.groupHead = TRUE;
    group.renderable = FALSE;
    b.groupMember = TRUE;
    INode* first[] = {&a};
    r->addNodes(first, 4);

    vml::MultipassAddCallback add(*r, 1);
    EXPECT_EQ(vml::getString(add.titleId()), std::string("オブジェクトを追加"));
    EXPECT_TRUE(add.multipleSelection());
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

TEST_F(RendererNodes, CutAndPasteMoveNodesBetweenTabs)
{
    vml::RenderBaseDlgProc dlg(*r);
    dlg.open();
    dlg.pressAdd({&a, &b, &c});
    dlg.pressCut({&a, &c});
    EXPECT_EQ(listed(), (Listing{{"b", 0}}));
    EXPECT_EQ(vml::multipassClipboard(pb()), (std::vector<INode*>{&a, &c}));
    EXPECT_TRUE(dlg.pasteEnabled());

    dlg.selectTab(5);
    dlg.pressPaste();
    EXPECT_EQ(listed(), (Listing{{"b", 0}, {"a", 5}, {"c", 5}}));
    EXPECT_EQ(pb().Count(vml::rendererMultipassCutNode), 0);
    EXPECT_FALSE(dlg.pasteEnabled());
    EXPECT_EQ(dlg.nodeList(), (std::vector<std::string>{"a", "c"}));

    // A node listed again meanwhile is not pasted twice.
    dlg.pressCut({&a});
    INode* again[] = {&a};
    r->addNodes(again, 1);
    dlg.pressPaste();
    EXPECT_EQ(listed(), (Listing{{"b", 0}, {"c", 5}, {"a", 1}}));
}

TEST_F(RendererNodes, PasteAfterALoadOnlyEmptiesTheClipboard)
{
    vml::RenderBaseDlgProc dlg(*r);
    dlg.open();
    dlg.pressAdd({&a});
    dlg.pressCut({&a});
    ASSERT_EQ(pb().Count(vml::rendererMultipassCutNode), 1);

    ChunkWriter saved;
    ASSERT_EQ(r->Save(&saved), IO_OK);
    ChunkReader reader(saved.Bytes());
    ASSERT_EQ(r->Load(&reader), IO_OK);
    dlg.pressPaste();
    EXPECT_EQ(entries(), 0);
    EXPECT_EQ(pb().Count(vml::rendererMultipassCutNode), 0);
    EXPECT_FALSE(dlg.pasteEnabled());

    vml::RenderBaseDlgProc reopened(*r);
    reopened.open();
    EXPECT_FALSE(reopened.pasteEnabled());
}

TEST_F(RendererNodes, DeletedNodesLeaveBothTables)
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
    EXPECT_EQ(pb().Count(vml::rendererMultipassId), 0);
}

TEST_F(RendererNodes, GroupingRemovesTheMembersAndLetsTheHeadIn)
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
    EXPECT_TRUE(add.filter(&group));
    add.proc({&group});
    EXPECT_EQ(listed(), (Listing{{"c", 0}, {"group", 3}}));

    // A linked node that is not in a group stays.
    c.parent = &root;
    BroadcastNotification(NOTIFY_NODE_LINKED, static_cast<INode*>(&c));
    EXPECT_EQ(entries(), 2);

    // A group head detached to the scene root leaves the lists.
    BroadcastNotification(NOTIFY_NODE_UNLINKED, static_cast<INode*>(&group));
    EXPECT_EQ(listed(), (Listing{{"c", 0}}));
}

TEST_F(RendererNodes, NotificationsEndWithTheRenderer)
{
    auto other = std::make_unique<vmlRenderer>();
    INode* nodes[] = {&a};
    r->addNodes(nodes, 0);
    other->addNodes(nodes, 0);
    other.reset();
    // Reaches the living renderer only.
    BroadcastNotification(NOTIFY_SCENE_PRE_DELETED_NODE, static_cast<INode*>(&a));
    EXPECT_EQ(entries(), 0);
}

TEST_F(RendererNodes, TheBlendListFollowsTheTableOrderAndWritesTheParameter)
{
    vml::RenderBaseDlgProc dlg(*r);
    pb().SetValue(vml::rendererPenStrokeBlend, 0, 6);
    dlg.open();
    ASSERT_EQ(dlg.blendNames().size(), 16u);
    const int ids[] = {50, 51, 52, 53, 54, 55, 57, 56, 58, 59, 60, 61, 62, 63, 64, 65};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(dlg.blendNames()[static_cast<std::size_t>(i)], vml::getString(ids[i])) << i;
    EXPECT_EQ(dlg.blendSelection(), 6);
    dlg.selectBlend(7);
    EXPECT_EQ(pb().GetInt(vml::rendererPenStrokeBlend), 7);
    dlg.selectBlend(16);
    EXPECT_EQ(pb().GetInt(vml::rendererPenStrokeBlend), 7);
}

}  // namespace
