#include "renderer/RenderVersionDlgProc.h"

#include "renderer/vmlRenderer.h"

#include <cstdio>

namespace vml {

RenderVersionDlgProc::~RenderVersionDlgProc() { close(); }

void RenderVersionDlgProc::open()
{
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d%d", versionMajor, versionMinor, versionRevision);
    text_ = text;
    open_ = true;
    renderer_.setVersionRollout(this);
}

void RenderVersionDlgProc::close()
{
    if (!open_)
        return;
    open_ = false;
    if (renderer_.versionRollout() == this)
        renderer_.setVersionRollout(nullptr);
}

INT_PTR RenderVersionDlgProc::DlgProc(TimeValue, IParamMap2*, HWND page, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        open();
        if (DialogService* ui = GetDialogService())
            ui->SetText(page, 1003, text_);
    } else if (msg == WM_DESTROY) {
        close();
    }
    return TRUE;
}

}  // namespace vml
