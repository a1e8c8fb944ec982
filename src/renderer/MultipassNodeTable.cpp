#include "renderer/MultipassNodeTable.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "renderer/vmlRendererParamBlocks.h"

#include <algorithm>

namespace vml {

namespace {

INode* nodeAt(IParamBlock2& block, ParamID table, int i)
{
    return dynamic_cast<INode*>(block.GetReferenceTarget(table, 0, i));
}

}  // namespace

void appendMultipassNodes(IParamBlock2& block, std::span<INode* const> nodes, int passId)
{
    for (INode* node : nodes) {
        block.Append(rendererMultipassNode, static_cast<ReferenceTarget*>(node));
        block.Append(rendererMultipassId, passId);
    }
}

void removeMultipassNodes(IParamBlock2& block, std::span<INode* const> nodes)
{
    for (int i = block.Count(rendererMultipassNode) - 1; i >= 0; --i) {
        if (std::find(nodes.begin(), nodes.end(), nodeAt(block, rendererMultipassNode, i)) == nodes.end())
            continue;
        block.Delete(rendererMultipassNode, i, 1);
        block.Delete(rendererMultipassId, i, 1);
    }
}

std::vector<INode*> staleMultipassNodes(IParamBlock2& block)
{
    std::vector<INode*> stale;
    const int n = block.Count(rendererMultipassNode);
    for (int i = 0; i < n; ++i) {
        INode* node = nodeAt(block, rendererMultipassNode, i);
        if ((!node || node->IsGroupMember()) && std::find(stale.begin(), stale.end(), node) == stale.end())
            stale.push_back(node);
    }
    return stale;
}

void matchMultipassTables(IParamBlock2& block)
{
    const int n = block.Count(rendererMultipassNode);
    if (block.Count(rendererMultipassId) != n)
        block.SetCount(rendererMultipassId, n);
}

bool isMultipassListed(IParamBlock2& block, INode* node)
{
    const int n = block.Count(rendererMultipassNode);
    for (int i = 0; i < n; ++i) {
        if (nodeAt(block, rendererMultipassNode, i) == node)
            return true;
    }
    return false;
}

bool isMultipassListedUnder(IParamBlock2& block, INode* node, int passId)
{
    const int n = block.Count(rendererMultipassNode);
    for (int i = 0; i < n; ++i) {
        if (nodeAt(block, rendererMultipassNode, i) == node &&
            block.GetInt(rendererMultipassId, 0, i) == passId)
            return true;
    }
    return false;
}

std::vector<INode*> multipassNodesUnder(IParamBlock2& block, int passId)
{
    std::vector<INode*> nodes;
    const int n = block.Count(rendererMultipassNode);
    for (int i = 0; i < n; ++i) {
        INode* node = nodeAt(block, rendererMultipassNode, i);
        if (node && block.GetInt(rendererMultipassId, 0, i) == passId)
            nodes.push_back(node);
    }
    return nodes;
}

std::vector<INode*> multipassClipboard(IParamBlock2& block)
{
    std::vector<INode*> nodes;
    const int n = block.Count(rendererMultipassCutNode);
    for (int i = 0; i < n; ++i)
        nodes.push_back(nodeAt(block, rendererMultipassCutNode, i));
    return nodes;
}

void setMultipassClipboard(IParamBlock2& block, std::span<INode* const> nodes)
{
    block.SetCount(rendererMultipassCutNode, 0);
    for (INode* node : nodes)
        block.Append(rendererMultipassCutNode, static_cast<ReferenceTarget*>(node));
}

}  // namespace vml
