#pragma once
// The multipass node lists of the renderer's block "parameters": multipassNode and multipassID
// are parallel tables (entry i puts node i into pass identifier i); multipassCutNode is the
// clipboard of cut and paste. A deleted node leaves a null entry until the lists are cleaned.

#include <span>
#include <vector>

class INode;
class IParamBlock2;

namespace vml {

// Appends the nodes, each with identifier passId.
void appendMultipassNodes(IParamBlock2& block, std::span<INode* const> nodes, int passId);
// Deletes every entry whose node is one of `nodes` from both tables.
void removeMultipassNodes(IParamBlock2& block, std::span<INode* const> nodes);
// Nodes of the entries that must go: null (deleted) nodes and group members.
std::vector<INode*> staleMultipassNodes(IParamBlock2& block);
// Makes multipassID as long as multipassNode (a damaged scene may differ; missing identifiers
// become 0).
void matchMultipassTables(IParamBlock2& block);

// Whether the node is listed under any identifier, or under passId.
bool isMultipassListed(IParamBlock2& block, INode* node);
bool isMultipassListedUnder(IParamBlock2& block, INode* node, int passId);
// The non-null nodes listed under passId, in table order.
std::vector<INode*> multipassNodesUnder(IParamBlock2& block, int passId);

// The clipboard.
std::vector<INode*> multipassClipboard(IParamBlock2& block);
void setMultipassClipboard(IParamBlock2& block, std::span<INode* const> nodes);

}  // namespace vml
