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
    show();
}

void RenderBaseDlgProc::setPasteEnabled(bool on)
{
    pasteEnabled_ = on;
    show();
}

void RenderBaseDlgProc::show()
{
    DialogService* ui = GetDialogService();
    if (!ui || !page_)
        return;
    ui->SetItems(page_, controlBlend, blendNames_);
    ui->SetSelection(page_, controlBlend, blendSelection_);
    ui->SetItems(page_, controlTabs, tabLabels_);
    ui->SetSelection(page_, controlTabs, selectedTab_);
    ui->SetItems(page_, controlNodes, nodeList_);
    ui->SetText(page_, controlSelected, selectedLabel_);
    ui->Enable(page_, controlPaste, pasteEnabled_);
}

namespace {

// The host's select-by-name dialog over one of the multipass pick callbacks; what the user picks
// goes to `picked`.
template <class Callback> class NodePick final : public HitByNameDlgCallback {
public:
    NodePick(Callback& callback, std::vector<INode*>& picked) : callback_(callback), picked_(picked) {}
    std::string dialogTitle() override { return textOf(callback_.titleId()); }
    std::string buttonText() override { return textOf(callback_.buttonId()); }
    bool showHiddenAndFrozen() override { return callback_.showHidden() && callback_.showFrozen(); }
    bool filter(INode* node) override { return callback_.filter(node); }
    void proc(const std::vector<INode*>& picked) override { picked_ = picked; }

private:
    static std::string textOf(int id)
    {
        const char* text = getString(id);
        return text ? text : "";
    }
    Callback& callback_;
    std::vector<INode*>& picked_;
};

}  // namespace

template <class Callback> void RenderBaseDlgProc::pickByName()
{
    DialogService* ui = GetDialogService();
    if (!ui)
        return;
    Callback callback(renderer_, selectedTab_);
    std::vector<INode*> picked;
    NodePick<Callback> dialog(callback, picked);
    if (ui->DoHitByNameDialog(dialog))
        pick<Callback>(picked);
}

INT_PTR RenderBaseDlgProc::DlgProc(TimeValue, IParamMap2*, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    DialogService* ui = GetDialogService();
    switch (msg) {
    case WM_INITDIALOG:
        page_ = page;
        open();
        show();
        return TRUE;
    case WM_DESTROY:
        close();
        page_ = nullptr;
        return TRUE;
    case WM_COMMAND: break;
    default: return FALSE;
    }
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == controlBlend && code == CBN_SELCHANGE && ui)
        selectBlend(ui->GetSelection(page, controlBlend));
    else if (id == controlTabs && code == TCN_SELCHANGE && ui)
        selectTab(ui->GetSelection(page, controlTabs));
    else if (id == controlAdd && code == BN_CLICKED)
        pickByName<MultipassAddCallback>();
    else if (id == controlDelete && code == BN_CLICKED)
        pickByName<MultipassDeleteCallback>();
    else if (id == controlCut && code == BN_CLICKED)
        pickByName<MultipassCutCallback>();
    else if (id == controlPaste && code == BN_CLICKED)
        pressPaste();
    else
        return FALSE;
    show();
    return TRUE;
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
