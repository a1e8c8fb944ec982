#pragma once
// The logic of the renderer's settings rollout over block "parameters": the pen-stroke blend
// list, the nine multipass tabs with the node list of the selected one, and the add, remove,
// cut and paste buttons. The plain controls (checkboxes, spinners, map button) are bound to the
// block directly and need no code here.
//
// The host's select-by-name dialog is not part of this handler: a button takes the nodes the
// user picked in it. Nodes the button's pick callback filters out are ignored, as the dialog
// would not have offered them.

#include "host/ParamMap2.h"

#include <string>
#include <vector>

class INode;

namespace vml {

class vmlRenderer;

class RenderBaseDlgProc final : public ParamMap2UserDlgProc {
public:
    static constexpr int tabCount = 9;
    // Controls of template 108 this code drives.
    enum Control : int {
        controlBlend = 1105,
        controlNodes = 1108,
        controlTabs = 1110,
        controlAdd = 1112,
        controlDelete = 1113,
        controlCut = 1114,
        controlPaste = 1115,
        controlSelected = 1116,
    };

    explicit RenderBaseDlgProc(vmlRenderer& renderer) : renderer_(renderer) {}
    ~RenderBaseDlgProc();
    RenderBaseDlgProc(const RenderBaseDlgProc&) = delete;
    RenderBaseDlgProc& operator=(const RenderBaseDlgProc&) = delete;

    // Fills the controls, cleans the lists and registers with the renderer as its settings
    // rollout. Close forgets it (the destructor closes).
    void open();
    void close();
    bool isOpen() const { return open_; }

    // Combo box 1105: the sixteen blend names in list order, the selection = penStrokeBlend.
    const std::vector<std::string>& blendNames() const { return blendNames_; }
    int blendSelection() const { return blendSelection_; }
    // A new selection is written to penStrokeBlend at time 0.
    void selectBlend(int index);

    // Tabs "1" to "9"; tab i edits pass identifier i.
    const std::vector<std::string>& tabLabels() const { return tabLabels_; }
    int selectedTab() const { return selectedTab_; }
    void selectTab(int tab);

    // List box 1108 (names of the selected tab's nodes) and label 1116 (the tab's number).
    const std::vector<std::string>& nodeList() const { return nodeList_; }
    const std::string& selectedLabel() const { return selectedLabel_; }
    void refresh();

    void pressAdd(const std::vector<INode*>& picked);
    void pressDelete(const std::vector<INode*>& picked);
    void pressCut(const std::vector<INode*>& picked);
    // Adds the clipboard's nodes that may be added (when the clipboard is usable) to the
    // selected tab, then empties the clipboard in any case.
    void pressPaste();

    bool pasteEnabled() const { return pasteEnabled_; }
    void setPasteEnabled(bool on);

    // The page of template 108: the combo box, tabs, node list, label and paste button shown from
    // the state above; the add, delete and cut buttons open the host's select-by-name dialog.
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    template <class Callback> void pick(const std::vector<INode*>& picked);
    // Opens the select-by-name dialog with Callback's title, button and filter.
    template <class Callback> void pickByName();
    // The controls the state above drives, on the open page.
    void show();

    vmlRenderer& renderer_;
    bool open_ = false;
    std::vector<std::string> blendNames_;
    int blendSelection_ = 0;
    std::vector<std::string> tabLabels_;
    int selectedTab_ = 0;
    std::vector<std::string> nodeList_;
    std::string selectedLabel_;
    bool pasteEnabled_ = false;
    HWND page_ = nullptr;
};

}  // namespace vml
