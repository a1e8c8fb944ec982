#pragma once
// The dialog layer of the standalone host, kept in memory: every page with its controls' state.
// Nothing is drawn; a caller (the CLI's `vermil ui`, the editor, a test) acts as the user through
// the user* calls, which change a control as a user would (only while it is enabled, a radio
// button clearing the others of its group) and send the page its message, and reads every page's
// state back as data. A spinner's page hears the value as given, so that a parameter map passes it
// through the intake (host/ParamIntake.h), which holds it to the parameter's range or refuses it
// with a warning; what the page leaves is then held to the spinner's limits. Pickers answer from
// queued choices.

#include "host/Bitmap.h"
#include "host/DialogService.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MtlBase;

namespace standalone {

class MemoryDialogs final : public DialogService {
public:
    struct Control {
        DialogControl def;
        std::string text;
        bool checked = false;
        bool enabled = true;
        bool keyed = false;
        std::vector<std::string> items;
        int selection = -1;           // the first selected row, -1 for none
        std::vector<int> selections;  // every selected row, ascending
        float value = 0.0f, min = -1.0e30f, max = 1.0e30f, step = 0.1f;
        bool integer = false;
        Color color;
        std::shared_ptr<Bitmap> image;  // a preview's picture; null when none
    };
    struct Page {
        int dialogId = 0;
        std::string title;
        DWORD flags = 0;
        int category = 0;
        DialogHandler* handler = nullptr;
        std::vector<Control> controls;  // in template order

        Control* find(int id);
    };

    MemoryDialogs() = default;
    MemoryDialogs(const MemoryDialogs&) = delete;
    MemoryDialogs& operator=(const MemoryDialogs&) = delete;

    // Open pages, ordered by category, then by opening.
    std::vector<HWND> pages() const;
    const Page* page(HWND handle) const;

    // The user's acts. False, sending nothing, when the page or control is missing, of another
    // kind, or disabled.
    bool userSetValue(HWND page, int id, float value);  // spinner; any number, NaN and infinities too
    bool userSetText(HWND page, int id, const std::string& text);
    bool userClick(HWND page, int id);              // button, check box (toggles), radio button
    bool userSelect(HWND page, int id, int index);  // combo box, list box, tab row
    // Several rows of a list box at once (as with Ctrl held); false for no rows or one outside.
    bool userSelectRows(HWND page, int id, std::vector<int> rows);
    bool userSetColor(HWND page, int id, const Color& c);

    // What the pickers answer next: node names (matched against what the dialog offers), a file
    // (std::nullopt: cancelled). Without a queued answer a picker is cancelled.
    std::deque<std::vector<std::string>> nodeAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    // The nodes the select-by-name dialog can offer (the host's scene); set by the caller.
    std::vector<INode*> sceneNodes;
    // What the map browser answers next: a name from sceneMaps ("" for none); without a queued
    // answer, or with a name it does not offer, it is cancelled.
    std::deque<std::string> mapAnswers;
    // The maps and materials the map browser offers (the host's scene); set by the caller.
    std::vector<MtlBase*> sceneMaps;
    int mapPicks = 0;  // how many answers the map browser gave (not cancelled)
    // Every picker request seen, for callers that show them.
    std::vector<FilePickRequest> fileRequests;

    // DialogService
    HWND AddRollupPage(const DialogTemplate& dialog, const std::string& title, DialogHandler* handler,
                       DWORD flags, int category) override;
    void DeleteRollupPage(HWND page) override;
    void SetText(HWND page, int id, const std::string& text) override;
    std::string GetText(HWND page, int id) override;
    void SetCheck(HWND page, int id, bool on) override;
    bool IsChecked(HWND page, int id) override;
    void Enable(HWND page, int id, bool on) override;
    bool IsEnabled(HWND page, int id) override;
    void SetItems(HWND page, int id, const std::vector<std::string>& items) override;
    std::vector<std::string> GetItems(HWND page, int id) override;
    void SetSelection(HWND page, int id, int index) override;
    int GetSelection(HWND page, int id) override;
    std::vector<int> GetSelections(HWND page, int id) override;
    void SetSpinnerLimits(HWND page, int id, float min, float max, float step, bool integer) override;
    void SetSpinnerValue(HWND page, int id, float value) override;
    float GetSpinnerValue(HWND page, int id) override;
    void SetKeyMark(HWND page, int id, bool keyed) override;
    void SetColor(HWND page, int id, const Color& c) override;
    Color GetColor(HWND page, int id) override;
    void SetImage(HWND page, int id, const Bitmap* image) override;
    bool DoHitByNameDialog(HitByNameDlgCallback& callback) override;
    bool PickFile(FilePickRequest& request) override;
    bool BrowseForMap(bool materials, ReferenceTarget*& picked) override;
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    std::string GetClipboardText() override { return clipboard_; }

private:
    Page* pageOf(HWND handle);
    Control* control(HWND page, int id);
    Control* usable(HWND page, int id, std::initializer_list<ControlKind> kinds);
    void send(HWND page, UINT msg, WPARAM wParam);

    std::vector<std::unique_ptr<Page>> pages_;  // in opening order
    std::string clipboard_;
};

}  // namespace standalone
