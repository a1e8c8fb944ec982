#include "paint/BrushEditor.h"

#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "paint/vmlBrush.h"
#include "paint/vmlBrushParamBlock.h"
#include "resources/DialogTemplates.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <string>
#include <vector>

namespace vml {

namespace {

constexpr int editorTemplate = 113;
constexpr int typeNames[] = {strings::singleTip, strings::multipleBristles};

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

const DialogTemplate* editorPage() { return resources::findDialogTemplate(editorTemplate, textLanguage()); }

int previewExtent(bool width)
{
    const DialogTemplate* page = editorPage();
    const DialogControl* c = page ? page->find(BrushMapDlgProc::controlPreview) : nullptr;
    return c ? (width ? c->width : c->height) : 0;
}

}  // namespace

INT_PTR BrushMapDlgProc::DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = brush_.GetParamBlock(0);
    switch (msg) {
    case WM_INITDIALOG: {
        page_ = page;
        std::vector<std::string> names;
        for (int id : typeNames) {
            const char* text = getString(id);
            names.emplace_back(text ? text : "");
        }
        if (ui)
            ui->SetItems(page, controlType, names);
        preview_.forget();
        refresh(t);
        return TRUE;
    }
    case WM_PAINT: preview_.redraw(brush_, t, page_, controlPreview, true); return TRUE;
    case WM_DESTROY: page_ = nullptr; return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != controlType || HIWORD(wParam) != CBN_SELCHANGE || !ui || !block)
            return FALSE;
        if (const int type = ui->GetSelection(page, controlType);
            type >= 0 && type != block->GetInt(brushMapParam::brushMapType, t)) {
            // The block's change notice refreshes the preview through the brush.
            block->SetValue(brushMapParam::brushMapType, 0, type);
            if (map)
                map->UpdateUI(t);
        }
        return TRUE;
    default: return FALSE;
    }
}

void BrushMapDlgProc::refresh(TimeValue t)
{
    if (!page_)
        return;
    if (DialogService* ui = GetDialogService(); ui && brush_.GetParamBlock(0))
        ui->SetSelection(page_, controlType, brush_.GetParamBlock(0)->GetInt(brushMapParam::brushMapType, t));
    preview_.redraw(brush_, t, page_, controlPreview, false);
}

BrushEditor::BrushEditor(vmlBrush& brush)
    : brush_(&brush), proc_(brush, previewExtent(true), previewExtent(false))
{
    const DialogTemplate* page = editorPage();
    const char* title = getString(strings::brushEditorTitle);
    if (page && brush.GetParamBlock(0))
        map_ = CreateParamMap2(brush.GetParamBlock(0), *page, title ? title : "", 0, 0, &proc_);
}

BrushEditor::~BrushEditor()
{
    if (brush_ && brush_->editor() == this)
        brush_->setEditor(nullptr);
    close();
}

void BrushEditor::close()
{
    DestroyParamMap2(map_);
    map_ = nullptr;
    brush_ = nullptr;
}

ReferenceTarget* BrushEditor::GetThing() { return brush_; }

void BrushEditor::SetTime(TimeValue t)
{
    if (map_)
        map_->UpdateUI(t);
    proc_.refresh(t);
}

void BrushEditor::ReloadDialog() { SetTime(currentTime()); }

void BrushEditor::blockChanged(ParamID id)
{
    if (map_)
        map_->Invalidate(id);
    proc_.refresh(currentTime());
}

}  // namespace vml
