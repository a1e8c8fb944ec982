#include "host/ParamMap2.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "host/MtlBase.h"
#include "host/ParamBlockDesc2.h"
#include "host/ParamIntake.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

DialogService* dialogService = nullptr;

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

bool isIntegral(ParamType2 type)
{
    const int base = type & ~TYPE_TAB;
    return base == TYPE_INT || base == TYPE_BOOL;
}

std::string nameOf(ReferenceTarget* target)
{
    if (!target)
        return "None";
    if (auto* m = dynamic_cast<MtlBase*>(target))
        return m->GetName().empty() ? "(unnamed)" : m->GetName();
    if (auto* n = dynamic_cast<INode*>(target))
        return n->GetName() ? n->GetName() : "(unnamed)";
    return "(unnamed)";
}

}  // namespace

DialogService* GetDialogService() { return dialogService; }
void SetDialogService(DialogService* service) { dialogService = service; }

IParamMap2::IParamMap2(IParamBlock2* block, ParamMap2UserDlgProc* proc) : block_(block), proc_(proc) {}

IParamMap2::~IParamMap2() = default;

ParamID IParamMap2::boundTo(int controlId) const
{
    const ParamBlockDesc2* desc = block_ ? block_->GetDesc() : nullptr;
    if (!desc || controlId == 0)
        return -1;
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& d = desc->GetParamDefByIndex(i);
        if (std::find(d.ui.ids.begin(), d.ui.ids.end(), controlId) != d.ui.ids.end())
            return d.id;
    }
    return -1;
}

void IParamMap2::showValue(ParamID id, TimeValue t)
{
    DialogService* ui = GetDialogService();
    const ParamDef* d = block_ ? block_->GetParamDef(id) : nullptr;
    if (!ui || !d || d->ui.ids.empty() || !page_)
        return;
    const int control = d->ui.ids.back();
    switch (d->ui.control) {
    case ParamControl::none: return;
    case ParamControl::spinner: {
        const bool integer = isIntegral(d->type);
        const float lo = d->hasRange ? float(d->rangeMin) : -1.0e30f;
        const float hi = d->hasRange ? float(d->rangeMax) : 1.0e30f;
        ui->SetSpinnerLimits(page_, control, lo, hi, d->ui.step, integer);
        ui->SetSpinnerValue(page_, control, integer ? float(block_->GetInt(id, t)) : block_->GetFloat(id, t));
        ui->SetKeyMark(page_, control, block_->GetKeyCount(id) > 0);
        return;
    }
    case ParamControl::checkBox: ui->SetCheck(page_, control, block_->GetInt(id, t) != 0); return;
    case ParamControl::radio: {
        const int value = block_->GetInt(id, t);
        for (std::size_t k = 0; k < d->ui.ids.size(); ++k)
            ui->SetCheck(page_, d->ui.ids[k], int(k) == value);
        return;
    }
    case ParamControl::colorSwatch:
        ui->SetColor(page_, control, block_->GetColor(id, t));
        ui->SetKeyMark(page_, control, block_->GetKeyCount(id) > 0);
        return;
    case ParamControl::mapButton:
    case ParamControl::nodeButton:
        ui->SetText(page_, control, nameOf(block_->GetReferenceTarget(id, t)));
        return;
    case ParamControl::editText: {
        const char* text = block_->GetStr(id, t);
        ui->SetText(page_, control, text ? text : "");
        return;
    }
    }
}

void IParamMap2::UpdateUI(TimeValue t)
{
    const ParamBlockDesc2* desc = block_ ? block_->GetDesc() : nullptr;
    if (!desc || !page_ || !dialog_)
        return;
    updating_ = true;
    for (int i = 0; i < desc->Count(); ++i) {
        const ParamDef& d = desc->GetParamDefByIndex(i);
        if (d.ui.control != ParamControl::none && !d.ui.ids.empty() && dialog_->find(d.ui.ids.back()))
            showValue(d.id, t);
    }
    updating_ = false;
}

void IParamMap2::Invalidate(ParamID id)
{
    const ParamDef* d = block_ ? block_->GetParamDef(id) : nullptr;
    if (!d || !page_ || !dialog_ || d->ui.ids.empty() || !dialog_->find(d->ui.ids.back()))
        return;
    const bool was = updating_;
    updating_ = true;
    showValue(id, currentTime());
    updating_ = was;
}

void IParamMap2::Enable(ParamID id, bool on)
{
    DialogService* ui = GetDialogService();
    const ParamDef* d = block_ ? block_->GetParamDef(id) : nullptr;
    if (!ui || !d || !page_)
        return;
    for (int control : d->ui.ids)
        ui->Enable(page_, control, on);
}

void IParamMap2::takeValue(ParamID id, int controlId, TimeValue t)
{
    DialogService* ui = GetDialogService();
    const ParamDef* d = block_->GetParamDef(id);
    if (!ui || !d)
        return;
    // What a control gives comes from outside: numbers pass the intake.
    ParamIntake intake("control " + std::to_string(dialog_ ? dialog_->id : 0) + ":" +
                       std::to_string(controlId));
    switch (d->ui.control) {
    case ParamControl::spinner: {
        const float v = ui->GetSpinnerValue(page_, controlId);
        // An int spinner's value rounds to the nearest whole number; one beyond any int is the
        // intake's to hold, not a conversion's to overflow.
        intake.set(*block_, id, t,
                   ParamNumber{isIntegral(d->type) ? std::round(double(v)) : double(v), 0, 0, 0});
        break;
    }
    case ParamControl::checkBox: block_->SetValue(id, t, ui->IsChecked(page_, controlId) ? 1 : 0); break;
    case ParamControl::radio: {
        const auto at = std::find(d->ui.ids.begin(), d->ui.ids.end(), controlId);
        intake.set(*block_, id, t, int(at - d->ui.ids.begin()));
        break;
    }
    case ParamControl::colorSwatch: intake.set(*block_, id, t, ui->GetColor(page_, controlId)); break;
    case ParamControl::editText: block_->SetValue(id, t, ui->GetText(page_, controlId)); break;
    // A map or material slot takes what the host's browser picks; other pickers are the
    // procedure's business, which hears the press.
    case ParamControl::mapButton: {
        const ParamType2 type = baseType(d->type);
        ReferenceTarget* picked = nullptr;
        if (isTableType(d->type) || (type != TYPE_TEXMAP && type != TYPE_MTL) ||
            !ui->BrowseForMap(type == TYPE_MTL, picked))
            return;
        block_->SetValue(id, t, picked);
        break;
    }
    case ParamControl::nodeButton:
    case ParamControl::none: return;
    }
    // The control may hold what the block refused or held to its range; show what it kept.
    updating_ = true;
    showValue(id, t);
    updating_ = false;
}

INT_PTR IParamMap2::HandleMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const TimeValue t = currentTime();
    if (msg == WM_INITDIALOG) {
        page_ = page;
        UpdateUI(t);
    } else if (!updating_ && block_ &&
               (msg == CC_SPINNER_CHANGE || msg == CC_COLOR_CHANGE ||
                (msg == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == EN_CHANGE)))) {
        const int control = LOWORD(wParam);
        if (const ParamID id = boundTo(control); id >= 0)
            takeValue(id, control, t);
    }
    const INT_PTR answer = proc_ ? proc_->DlgProc(t, this, page, msg, wParam, lParam) : FALSE;
    if (msg == WM_DESTROY)
        page_ = nullptr;
    return answer;
}

IParamMap2* CreateParamMap2(IParamBlock2* block, const DialogTemplate& dialog, const std::string& title,
                            DWORD flags, int category, ParamMap2UserDlgProc* proc)
{
    DialogService* ui = GetDialogService();
    if (!ui)
        return nullptr;
    auto map = std::make_unique<IParamMap2>(block, proc);
    map->dialog_ = &dialog;
    if (!ui->AddRollupPage(dialog, title, map.get(), flags, category))
        return nullptr;
    return map.release();
}

void DestroyParamMap2(IParamMap2* map)
{
    if (!map)
        return;
    if (DialogService* ui = GetDialogService(); ui && map->GetHWnd())
        ui->DeleteRollupPage(map->GetHWnd());
    delete map;
}
