#include "material/MaterialDlgProcs.h"

#include "host/IParamBlock2.h"
#include "material/MaterialPresets.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/Blend.h"
#include "paint/vmlBrush.h"
#include "resources/DialogTemplates.h"
#include "shell/StringLookup.h"

#include <cstdio>

namespace vml {

namespace {

constexpr int controlVersion = 1003;
constexpr int versionMajor = 1, versionMinor = 5, versionRevision = 2;

bool clicked(UINT msg, WPARAM wParam, int id)
{
    return msg == WM_COMMAND && LOWORD(wParam) == id && HIWORD(wParam) == BN_CLICKED;
}

// A blend list's new selection goes to its parameter at time 0; the same entry again changes
// nothing, so no change notice goes out.
void takeBlend(IParamMap2* map, IParamBlock2* block, ParamID id, HWND page, int control, TimeValue t)
{
    DialogService* ui = GetDialogService();
    if (!ui || !block)
        return;
    const int index = ui->GetSelection(page, control);
    if (index < 0 || index == block->GetInt(id, 0))
        return;
    block->SetValue(id, 0, index);
    if (map)
        map->UpdateUI(t);
}

}  // namespace

std::vector<std::string> blendMethodNames()
{
    std::vector<std::string> names;
    for (int id : blendMethodTable) {
        const char* name = getString(id);
        names.emplace_back(name ? name : "");
    }
    return names;
}

ImageSize imageControlSize(int templateId, int id)
{
    const DialogTemplate* page = resources::findDialogTemplate(templateId, textLanguage());
    const DialogControl* c = page ? page->find(id) : nullptr;
    return c && c->kind == ControlKind::image ? ImageSize{c->width, c->height} : ImageSize{};
}

INT_PTR MaterialDlgProc::track(HWND page, UINT msg)
{
    if (msg == WM_INITDIALOG)
        page_ = page;
    else if (msg == WM_DESTROY)
        page_ = nullptr;
    return FALSE;
}

INT_PTR BaseDlgProc::DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    track(page, msg);
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->baseBlock() : nullptr;
    switch (msg) {
    case WM_INITDIALOG:
        if (ui) {
            ui->SetItems(page, controlHiBlend, blendMethodNames());
            ui->SetItems(page, controlBaseBlend, blendMethodNames());
        }
        update(t);
        return TRUE;
    case WM_PAINT: showMapMarkers(); return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) != CBN_SELCHANGE)
            return FALSE;
        if (LOWORD(wParam) == controlHiBlend)
            takeBlend(map, block, baseParam::hiBlend, page, controlHiBlend, t);
        else if (LOWORD(wParam) == controlBaseBlend)
            takeBlend(map, block, baseParam::baseMatBlend, page, controlBaseBlend, t);
        else
            return FALSE;
        // The map's redraw shows the map names again.
        showMapMarkers();
        return TRUE;
    default: return msg == WM_DESTROY;
    }
}

void BaseDlgProc::update(TimeValue t)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->baseBlock() : nullptr;
    if (!ui || !page_ || !block)
        return;
    ui->SetSelection(page_, controlHiBlend, block->GetInt(baseParam::hiBlend, t));
    ui->SetSelection(page_, controlBaseBlend, block->GetInt(baseParam::baseMatBlend, t));
    showMapMarkers();
}

void BaseDlgProc::showMapMarkers()
{
    DialogService* ui = GetDialogService();
    if (!ui || !page_ || !material_)
        return;
    ui->SetText(page_, controlLevelMap, material_->hiLevelMap() ? "M" : "");
    ui->SetText(page_, controlGlossMap, material_->hiGrossMap() ? "M" : "");
}

INT_PTR BrushDlgProc::DlgProc(TimeValue t, IParamMap2*, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    track(page, msg);
    switch (msg) {
    case WM_INITDIALOG: {
        const ImageSize size = imageControlSize(103, controlPreview);
        preview_ = std::make_unique<BrushPreviewImage>(size.width, size.height);
        redraw(t, true);
        return TRUE;
    }
    case WM_PAINT: redraw(t, true); return TRUE;
    case WM_DESTROY: return TRUE;
    default: break;
    }
    if (clicked(msg, wParam, controlSetDefault) && material_ && material_->brushBlock()) {
        setMaterialPresetFromBlock(*material_->brushBlock());
        return TRUE;
    }
    return FALSE;
}

void BrushDlgProc::update(TimeValue t) { redraw(t, false); }

void BrushDlgProc::redraw(TimeValue t, bool force)
{
    // A map of another class may sit in the brush slot until the next update repairs it.
    auto* brush = material_ ? dynamic_cast<vmlBrush*>(material_->brushMap()) : nullptr;
    if (!page_ || !preview_ || !brush)
        return;
    preview_->redraw(*brush, t, page_, controlPreview, force);
}

INT_PTR StrokeDlgProc::DlgProc(TimeValue t, IParamMap2*, HWND page, UINT msg, WPARAM wParam, LPARAM)
{
    track(page, msg);
    if (msg == WM_INITDIALOG) {
        update(t);
        return TRUE;
    }
    if (msg == WM_DESTROY || !material_)
        return msg == WM_DESTROY;
    for (int mode = 0; mode < 3; ++mode)
        if (clicked(msg, wParam, modeButtons[mode])) {
            material_->setStrokeRake(mode);
            update(t);
            return TRUE;
        }
    if (clicked(msg, wParam, controlSetDefault) && material_->strokeBlock()) {
        setMaterialPresetFromBlock(*material_->strokeBlock());
        return TRUE;
    }
    return FALSE;
}

void StrokeDlgProc::update(TimeValue t)
{
    DialogService* ui = GetDialogService();
    IParamBlock2* block = material_ ? material_->strokeBlock() : nullptr;
    if (!ui || !page_ || !block)
        return;
    const int mode = block->GetInt(strokeParam::strokeRake, t);
    for (int k = 0; k < 3; ++k)
        ui->SetCheck(page_, modeButtons[k], k == mode);
}

INT_PTR VersionDlgProc::DlgProc(TimeValue, IParamMap2*, HWND page, UINT msg, WPARAM, LPARAM)
{
    track(page, msg);
    if (msg != WM_INITDIALOG)
        return msg == WM_DESTROY;
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d%d", versionMajor, versionMinor, versionRevision);
    if (DialogService* ui = GetDialogService())
        ui->SetText(page, controlVersion, text);
    return TRUE;
}

}  // namespace vml
