#include "renderer/MultipassPickCallbacks.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"

namespace vml {

bool MultipassAddCallback::filter(INode* node)
{
    IParamBlock2* block = renderer_.paramBlock();
    if (!node || !block || node->IsGroupMember())
        return false;
    if (!node->IsGroupHead() && !node->IsObjectRenderable())
        return false;
    return !isMultipassListed(*block, node);
}

void MultipassAddCallback::proc(const std::vector<INode*>& nodes) { renderer_.addNodes(nodes, passId_); }

bool MultipassDeleteCallback::filter(INode* node)
{
    IParamBlock2* block = renderer_.paramBlock();
    return node && block && isMultipassListedUnder(*block, node, passId_);
}

void MultipassDeleteCallback::proc(const std::vector<INode*>& nodes) { renderer_.removeNodes(nodes, false); }

bool MultipassCutCallback::filter(INode* node)
{
    IParamBlock2* block = renderer_.paramBlock();
    return node && block && isMultipassListedUnder(*block, node, passId_);
}

void MultipassCutCallback::proc(const std::vector<INode*>& nodes)
{
    IParamBlock2* block = renderer_.paramBlock();
    if (!block)
        return;
    setMultipassClipboard(*block, nodes);
    renderer_.removeNodes(nodes, false);
    renderer_.setClipboardUsable(true);
    if (RenderBaseDlgProc* dlg = renderer_.settingsRollout();
        dlg && block->Count(rendererMultipassCutNode) > 0)
        dlg->setPasteEnabled(true);
}

}  // namespace vml
