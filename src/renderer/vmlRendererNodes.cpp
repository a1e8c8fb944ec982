// vmlRenderer: the multipass node lists and the node notifications that keep them clean.

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "host/Notify.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/vmlRenderer.h"

#include <vector>

namespace vml {

namespace {

void collectSubtree(INode* node, std::vector<INode*>& out)
{
    out.push_back(node);
    const int n = node->NumberOfChildren();
    for (int i = 0; i < n; ++i) {
        if (INode* child = node->GetChildNode(i))
            collectSubtree(child, out);
    }
}

INode* notifiedNode(NotifyInfo* info) { return info ? static_cast<INode*>(info->callParam) : nullptr; }

}  // namespace

void vmlRenderer::addNodes(std::span<INode* const> nodes, int passId)
{
    if (IParamBlock2* block = paramBlock())
        appendMultipassNodes(*block, nodes, passId);
}

void vmlRenderer::removeNodes(std::span<INode* const> nodes, bool refresh)
{
    if (IParamBlock2* block = paramBlock())
        removeMultipassNodes(*block, nodes);
    if (refresh && settingsRollout_)
        settingsRollout_->refresh();
}

void vmlRenderer::purgeNodes(bool refresh)
{
    IParamBlock2* block = paramBlock();
    if (!block)
        return;
    matchMultipassTables(*block);
    removeNodes(staleMultipassNodes(*block), refresh);
}

void vmlRenderer::onNodeDeleted(void* param, NotifyInfo* info)
{
    INode* node = notifiedNode(info);
    if (param && node)
        static_cast<vmlRenderer*>(param)->removeNodes({&node, 1}, true);
}

void vmlRenderer::onSelectedNodesDeleted(void* param, NotifyInfo* info)
{
    auto* nodes = info ? static_cast<INodeTab*>(info->callParam) : nullptr;
    if (param && nodes)
        static_cast<vmlRenderer*>(param)->removeNodes(*nodes, true);
}

void vmlRenderer::onNodeRenamed(void* param, NotifyInfo*)
{
    auto* r = static_cast<vmlRenderer*>(param);
    if (r && r->settingsRollout_)
        r->settingsRollout_->refresh();
}

void vmlRenderer::onNodeLinked(void* param, NotifyInfo* info)
{
    INode* node = notifiedNode(info);
    if (!param || !node || !node->IsGroupMember())
        return;
    INode* parent = node->GetParentNode();
    if (!parent || !parent->IsGroupHead())
        return;
    std::vector<INode*> grouped;
    collectSubtree(node, grouped);
    static_cast<vmlRenderer*>(param)->removeNodes(grouped, true);
}

void vmlRenderer::onNodeUnlinked(void* param, NotifyInfo* info)
{
    INode* node = notifiedNode(info);
    if (!param || !node || !node->IsGroupHead())
        return;
    INode* parent = node->GetParentNode();
    if (parent && parent->IsRootNode())
        static_cast<vmlRenderer*>(param)->removeNodes({&node, 1}, true);
}

}  // namespace vml
