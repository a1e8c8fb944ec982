#pragma once
// What the painterly material's rollouts add to their bound controls: the blend lists, the map
// markers, the stroke mode radios, the brush preview, the set-as-default buttons and the version
// text. The colour-range preview of the paint rollout is in PaintDlgProc.h.
//
// Each procedure edits the material it was last given (setMaterial), only while its page is
// open.

#include "host/ParamMap2.h"
#include "paint/BrushPreview.h"

#include <memory>
#include <string>
#include <vector>

namespace vml {

class vmlMaterial;

// The sixteen blend method names in blendMethodTable order: entry i is what index i selects.
std::vector<std::string> blendMethodNames();

// A material rollout's procedure: its page and the material it edits.
class MaterialDlgProc : public ParamMap2UserDlgProc {
public:
    static constexpr int controlSetDefault = 1084;

    void setMaterial(vmlMaterial* material) { material_ = material; }
    vmlMaterial* material() const { return material_; }
    bool isOpen() const { return page_ != nullptr; }
    // The block changed other than through this page: the procedure's own controls follow.
    virtual void update(TimeValue t) { (void)t; }

protected:
    // The common part: WM_INITDIALOG opens, WM_DESTROY closes. FALSE for other messages.
    INT_PTR track(HWND page, UINT msg);

    vmlMaterial* material_ = nullptr;
    HWND page_ = nullptr;
};

// Template 109: the highlight and base colour blend lists (1018, 1022) and the "M" markers of
// the small highlight level and gloss map buttons (1038, 1039).
class BaseDlgProc final : public MaterialDlgProc {
public:
    enum Control : int {
        controlHiBlend = 1018,
        controlBaseBlend = 1022,
        controlLevelMap = 1038,
        controlGlossMap = 1039
    };

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void update(TimeValue t) override;
    // "M" on a map button whose sub-map is set, nothing otherwise.
    void showMapMarkers();
};

// Template 103: the preview of the material's brush (1013) and the set-as-default button.
class BrushDlgProc final : public MaterialDlgProc {
public:
    static constexpr int controlPreview = 1013;

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Redraws the preview when the brush's tip changed.
    void update(TimeValue t) override;
    const BrushPreviewImage* preview() const { return preview_.get(); }

private:
    void redraw(TimeValue t, bool force);
    std::unique_ptr<BrushPreviewImage> preview_;
};

// Template 110: the stroke mode radios (normal 1015, rake 1016, random 1051) and the
// set-as-default button.
class StrokeDlgProc final : public MaterialDlgProc {
public:
    static constexpr int modeButtons[3] = {1015, 1016, 1051};

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void update(TimeValue t) override;
};

// Template 104: the version text (1003).
class VersionDlgProc final : public MaterialDlgProc {
public:
    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND page, UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The client size of image control `id` of template `templateId`, (0, 0) when it has none.
struct ImageSize {
    int width = 0, height = 0;
};
ImageSize imageControlSize(int templateId, int id);

}  // namespace vml
