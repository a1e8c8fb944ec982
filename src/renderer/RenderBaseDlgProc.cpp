#include "renderer/RenderBaseDlgProc.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "paint/Blend.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/MultipassPickCallbacks.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "shell/StringLookup.h"

#include <algorithm>
#include <string>

namespace vml {

RenderBaseDlgProc::~RenderBaseDlgProc() { close(); }

void RenderBaseDlgProc::open()
{
    blendNames_.clear();
    for (int id : blendMethodTable) {
        const char* name = getString(id);
        blendNames_.emplace_back(name ? name : "");
    }
    IParamBlock2* block = renderer_.paramBlock();
    blendSelection_ = block ? block->GetInt(rendererPenStrokeBlend, 0) : 0;
    tabLabels_.clear();
    for (int i = 1; i <= tabCount; ++i)
        tabLabels_.push_back(std::to_string(i));
    open_ = true;
    renderer_.setSettingsRollout(this);
    renderer_.purgeNodes(false);
    refresh();
    pasteEnabled_ = renderer_.clipboardUsable() && block && block->Count(rendererMultipassCutNode) > 0;
}

void RenderBaseDlgProc::close()
{
    if (!open_)
        return;
    open_ = false;
    if (renderer_.settingsRollout() == this)
        renderer_.setSettingsRollout(nullptr);
}

void RenderBaseDlgProc::selectBlend(int index)
{
    if (index < 0 || index >= static_cast<int>(blendNames_.size()))
        return;
    blendSelection_ = index;
    IParamBlock2* block = renderer_.paramBlock();
    if (block && index != block->GetInt(rendererPenStrokeBlend, 0))
        block->SetValue(rendererPenStrokeBlend, 0, index);
}

void RenderBaseDlgProc::selectTab(int tab)
{
    if (tab < 0 || tab >= tabCount)
        return;
    selectedTab_ = tab;
    renderer_.purgeNodes(false);
    refresh();
}

void RenderBaseDlgProc::refresh()
{
    nodeList_.clear();
    if (IParamBlock2* block = renderer_.paramBlock()) {
        for (INode* node : multipassNodesUnder(*block, selectedTab_)) {
            const char* name = node->GetName();
            nodeList_.emplace_back(name ? name : "");
        }
    }
    selectedLabel_ = std::to_string(selectedTab_ + 1);
}

template <class Callback> void RenderBaseDlgProc::pick(const std::vector<INode*>& picked)
{
    Callback callback(renderer_, selectedTab_);
    std::vector<INode*> offered;
    for (INode* node : picked) {
        if (callback.filter(node) && std::find(offered.begin(), offered.end(), node) == offered.end())
            offered.push_back(node);
    }
    if (!offered.empty())
        callback.proc(offered);
    refresh();
}

void RenderBaseDlgProc::pressAdd(const std::vector<INode*>& picked) { pick<MultipassAddCallback>(picked); }
void RenderBaseDlgProc::pressDelete(const std::vector<INode*>& picked)
{
    pick<MultipassDeleteCallback>(picked);
}
void RenderBaseDlgProc::pressCut(const std::vector<INode*>& picked) { pick<MultipassCutCallback>(picked); }

void RenderBaseDlgProc::pressPaste()
{
    IParamBlock2* block = renderer_.paramBlock();
    if (!block)
        return;
    if (renderer_.clipboardUsable()) {
        MultipassAddCallback filter(renderer_, selectedTab_);
        std::vector<INode*> accepted;
        for (INode* node : multipassClipboard(*block)) {
            if (filter.filter(node) && std::find(accepted.begin(), accepted.end(), node) == accepted.end())
                accepted.push_back(node);
        }
        renderer_.addNodes(accepted, selectedTab_);
    }
    block->SetCount(rendererMultipassCutNode, 0);
    pasteEnabled_ = false;
    refresh();
}

}  // namespace vml
