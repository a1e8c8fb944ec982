#pragma once
// The host's dialog layer: rollout pages made from dialog templates, their controls by id, and
// the pickers a dialog opens (nodes by name, files, the clipboard). The system's rollouts are
// written against these calls only; a host draws the pages however it likes (a desktop window,
// a web page) and reports what the user does as messages to the page's handler.
//
// Control calls on an id the page does not have, or of another kind, do nothing and answer
// empty values. All calls come from the host's main thread.

#include "host/Color.h"
#include "host/DialogMessages.h"
#include "host/DialogTemplate.h"

#include <functional>
#include <string>
#include <vector>

class Bitmap;
class ReferenceTarget;
class INode;

// Receives a page's messages (see DialogMessages.h). The parameter maps are one kind of handler.
class DialogHandler {
public:
    virtual ~DialogHandler() = default;
    virtual INT_PTR HandleMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
};

// What the select-by-name dialog offers and what it does with the user's choice.
class HitByNameDlgCallback {
public:
    virtual ~HitByNameDlgCallback() = default;
    virtual std::string dialogTitle() = 0;
    virtual std::string buttonText() = 0;
    virtual bool singleSelect() { return false; }
    virtual bool showHiddenAndFrozen() { return false; }
    // Whether the dialog offers the node.
    virtual bool filter(INode*) { return true; }
    // The nodes the user picked, all offered by filter.
    virtual void proc(const std::vector<INode*>& picked) = 0;
};

// A file open or save dialog: its title, filter ("Lines (*.vma)|*.vma"), and the initial path,
// which the answer replaces.
struct FilePickRequest {
    std::string title;
    std::string filter;
    std::string path;  // in: where the dialog opens (a folder, or a folder and a pattern); out: the choice
    bool save = false;
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // A new page of category `category` (pages show ordered by category, then by addition), drawn
    // from the template with the title, rolled up when flags has APPENDROLL_CLOSED. The handler
    // gets WM_INITDIALOG before this returns, and WM_DESTROY when the page is deleted. nullptr
    // when the host shows no dialogs.
    virtual HWND AddRollupPage(const DialogTemplate& dialog, const std::string& title, DialogHandler* handler,
                               DWORD flags = 0, int category = 0) = 0;
    virtual void DeleteRollupPage(HWND page) = 0;

    virtual void SetText(HWND page, int id, const std::string& text) = 0;
    virtual std::string GetText(HWND page, int id) = 0;
    virtual void SetCheck(HWND page, int id, bool on) = 0;
    virtual bool IsChecked(HWND page, int id) = 0;
    virtual void Enable(HWND page, int id, bool on) = 0;
    virtual bool IsEnabled(HWND page, int id) = 0;
    // Items of a combo box, list box or tab row; the selection is -1 for none.
    virtual void SetItems(HWND page, int id, const std::vector<std::string>& items) = 0;
    virtual std::vector<std::string> GetItems(HWND page, int id) = 0;
    virtual void SetSelection(HWND page, int id, int index) = 0;
    virtual int GetSelection(HWND page, int id) = 0;
    // Every selected row of a list box that takes several, ascending; other controls answer their
    // one selection.
    virtual std::vector<int> GetSelections(HWND page, int id)
    {
        const int one = GetSelection(page, id);
        return one < 0 ? std::vector<int>() : std::vector<int>{one};
    }
    // A spinner's limits and step (how much a drag changes it), and whether it holds integers.
    virtual void SetSpinnerLimits(HWND page, int id, float min, float max, float step, bool integer) = 0;
    virtual void SetSpinnerValue(HWND page, int id, float value) = 0;
    virtual float GetSpinnerValue(HWND page, int id) = 0;
    // The "animated" mark of a spinner or swatch whose parameter has keys.
    virtual void SetKeyMark(HWND page, int id, bool keyed) = 0;
    virtual void SetColor(HWND page, int id, const Color& c) = 0;
    virtual Color GetColor(HWND page, int id) = 0;
    // A preview's picture (copied); nullptr clears it.
    virtual void SetImage(HWND page, int id, const Bitmap* image) = 0;

    // The select-by-name dialog; false when the user cancelled or nothing could be offered.
    virtual bool DoHitByNameDialog(HitByNameDlgCallback& callback) = 0;
    // The map browser: one of the host's maps (materials when `materials`) for a map button, or
    // none (picked = nullptr). False when cancelled; hosts without a browser never offer one.
    virtual bool BrowseForMap(bool materials, ReferenceTarget*& picked)
    {
        (void)materials;
        picked = nullptr;
        return false;
    }
    // File dialogs; false when cancelled. On true request.path holds the chosen file.
    virtual bool PickFile(FilePickRequest& request) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    virtual std::string GetClipboardText() = 0;
};

// The core interface's dialog service, or nullptr when the host shows no dialogs.
DialogService* GetDialogService();
// Installs the process's dialog service (the host does this at start-up; tests may swap it).
void SetDialogService(DialogService* service);
