#pragma once
// The brush map's editor: one page (template 113) bound to the brush's block, whose procedure
// adds the brush type list and the live preview of the tip (control 1013).

#include "host/ParamDlg.h"
#include "host/ParamMap2.h"
#include "paint/BrushPreview.h"

namespace vml {

class vmlBrush;

class BrushMapDlgProc final : public ParamMap2UserDlgProc {
public:
    enum Control : int { controlType = 1070, controlPreview = 1013 };

    BrushMapDlgProc(vmlBrush& brush, int previewWidth, int previewHeight)
        : brush_(brush), preview_(previewWidth, previewHeight)
    {}
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The block changed: the list shows the type, the preview follows when the tip changed.
    void refresh(TimeValue t);
    bool isOpen() const { return page_ != nullptr; }
    const BrushPreviewImage& preview() const { return preview_; }

private:
    vmlBrush& brush_;
    BrushPreviewImage preview_;
    HWND page_ = nullptr;
};

// The editor's pages as the host's material editor holds them; deleting it closes the page.
class BrushEditor final : public ParamDlg {
public:
    // Opens the page; isOpen() is false when the host shows no dialogs.
    explicit BrushEditor(vmlBrush& brush);
    ~BrushEditor() override;
    BrushEditor(const BrushEditor&) = delete;
    BrushEditor& operator=(const BrushEditor&) = delete;

    bool isOpen() const { return map_ != nullptr; }
    ReferenceTarget* GetThing() override;
    void SetTime(TimeValue t) override;
    void ReloadDialog() override;

    // From the brush: parameter id of its block changed.
    void blockChanged(ParamID id);
    // From the brush's destructor: the page closes, the editor stays empty.
    void close();

private:
    vmlBrush* brush_;
    BrushMapDlgProc proc_;
    IParamMap2* map_ = nullptr;
};

}  // namespace vml
