#pragma once
// Parameter maps: a rollout page bound to a parameter block. Every parameter whose definition
// names a control (ParamDef::ui) that the page's template has is kept in step both ways: the
// control shows the value at the host's current time (with its limits and step, and the key mark
// of an animated parameter), and a user change of the control sets the value at that time. Every
// message then goes on to the page's user procedure, which drives what the block alone cannot
// (lists, tabs, previews, buttons).

#include "host/DialogService.h"
#include "host/ParamTypes.h"

#include <memory>
#include <string>

class IParamBlock2;
class IParamMap2;
class ReferenceTarget;

// The rollout's own code. Messages arrive after the map has handled them; the answer is the
// procedure's (TRUE: handled).
class ParamMap2UserDlgProc {
public:
    virtual ~ParamMap2UserDlgProc() = default;
    virtual INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam,
                            LPARAM lParam) = 0;
};

class IParamMap2 final : public DialogHandler {
public:
    // Use CreateParamMap2.
    IParamMap2(IParamBlock2* block, ParamMap2UserDlgProc* proc);
    ~IParamMap2() override;
    IParamMap2(const IParamMap2&) = delete;
    IParamMap2& operator=(const IParamMap2&) = delete;

    HWND GetHWnd() const { return page_; }
    IParamBlock2* GetParamBlock() const { return block_; }
    ParamMap2UserDlgProc* GetUserDlgProc() const { return proc_; }
    void SetUserDlgProc(ParamMap2UserDlgProc* proc) { proc_ = proc; }

    // The controls again from the block at t: after the block changed other than through them.
    void UpdateUI(TimeValue t);
    // One parameter's control again from the block at the host's current time.
    void Invalidate(ParamID id);
    // One parameter's control enabled or not (the parameter's value is untouched).
    void Enable(ParamID id, bool on);

    INT_PTR HandleMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend IParamMap2* CreateParamMap2(IParamBlock2*, const DialogTemplate&, const std::string&, DWORD, int,
                                       ParamMap2UserDlgProc*);
    void showValue(ParamID id, TimeValue t);
    // The bound parameter that control id edits, or -1.
    ParamID boundTo(int controlId) const;
    void takeValue(ParamID id, int controlId, TimeValue t);

    IParamBlock2* block_;
    ParamMap2UserDlgProc* proc_;
    const DialogTemplate* dialog_ = nullptr;
    HWND page_ = nullptr;
    bool updating_ = false;  // controls being set from the block: their echoes are not user changes
};

// A page of the dialog service drawn from `dialog`, bound to `block`, with the user procedure
// (may be null). The map belongs to the caller (DestroyParamMap2); the template must outlive it.
// nullptr when the host shows no dialogs.
IParamMap2* CreateParamMap2(IParamBlock2* block, const DialogTemplate& dialog, const std::string& title,
                            DWORD flags, int category, ParamMap2UserDlgProc* proc);
// Deletes the page (its procedure gets WM_DESTROY) and the map.
void DestroyParamMap2(IParamMap2* map);
