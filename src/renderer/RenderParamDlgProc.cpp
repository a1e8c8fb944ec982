#include "renderer/RenderParamDlgProc.h"

#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <cmath>
#include <cstdio>

namespace vml {

namespace {

std::string text(int id)
{
    const char* s = getString(id);
    return s ? s : "";
}

std::string yesNo(bool on) { return text(on ? strings::yes : strings::no); }

}  // namespace

RenderParamDlgProc::~RenderParamDlgProc() { close(); }

void RenderParamDlgProc::open()
{
    renderer_.readSettings();
    const RendererSettings& s = renderer_.settings();
    values_[0] = "0";
    if (s.brushScaleEnable) {
        char scale[32];
        std::snprintf(scale, sizeof scale, "%d%%",
                      static_cast<int>(std::trunc(s.brushScale * 100.0f + 0.999f)));
        values_[1] = scale;
    } else {
        values_[1] = text(strings::no);
    }
    values_[2] = yesNo(s.bleedMapEnable);
    values_[3] = yesNo(s.brushCacheEnable);
    values_[4] = yesNo(s.penStrokeEnable);
    values_[5] = yesNo(s.saveMemory);
    open_ = true;
    renderer_.setSummaryRollout(this);
}

void RenderParamDlgProc::close()
{
    if (!open_)
        return;
    open_ = false;
    if (renderer_.summaryRollout() == this)
        renderer_.setSummaryRollout(nullptr);
}

void RenderParamDlgProc::setStrokeCount(std::size_t count)
{
    values_[0] = std::to_string(count);
    show(firstField);
}

void RenderParamDlgProc::show(int fieldId)
{
    if (DialogService* ui = GetDialogService(); ui && page_)
        ui->SetText(page_, fieldId, value(fieldId));
}

INT_PTR RenderParamDlgProc::DlgProc(TimeValue, IParamMap2*, HWND page, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        page_ = page;
        open();
        for (int id = firstField; id < firstField + fieldCount; ++id)
            show(id);
    } else if (msg == WM_DESTROY) {
        close();
        page_ = nullptr;
    }
    return TRUE;
}

std::string RenderParamDlgProc::value(int fieldId) const
{
    const int i = fieldId - firstField;
    return i >= 0 && i < fieldCount ? values_[static_cast<std::size_t>(i)] : std::string();
}

}  // namespace vml
