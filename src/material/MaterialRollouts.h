#pragma once
// The painterly material's editor panel: one page per block (base 109, brush 103, stroke 110,
// paint 111, version 104, in that order), each a parameter map with its rollout procedure. The
// material tells it of changes made other than through the pages; deleting it closes the pages.

#include "host/ParamDlg.h"
#include "host/ParamMap2.h"
#include "material/MaterialDlgProcs.h"
#include "material/PaintDlgProc.h"

#include <array>

namespace vml {

class vmlMaterial;

class MaterialRollouts final : public ParamDlg {
public:
    // Opens the pages on the material; isOpen() is false when the host shows no dialogs.
    explicit MaterialRollouts(vmlMaterial& material);
    ~MaterialRollouts() override;
    MaterialRollouts(const MaterialRollouts&) = delete;
    MaterialRollouts& operator=(const MaterialRollouts&) = delete;

    bool isOpen() const { return maps_[0] != nullptr; }

    // Another painterly material in the same pages (any other object is ignored).
    void SetThing(ReferenceTarget* thing) override;
    ReferenceTarget* GetThing() override;
    void SetTime(TimeValue t) override;
    void ReloadDialog() override;

    // From the material: parameter id of block `block` (0 to 4) changed.
    void blockChanged(int block, ParamID id);
    // From the material: sub-map slot changed (its button shows the new map).
    void mapChanged(int slot);
    // From the material's update: the brush preview follows the brush.
    void brushUpdated(TimeValue t);
    // Closes the pages and forgets the material; the panel stays empty.
    void close();

    PaintDlgProc& paintProc() { return paint_; }
    BrushDlgProc& brushProc() { return brush_; }

private:
    void open();
    std::array<MaterialDlgProc*, 5> procs();

    vmlMaterial* material_;
    BaseDlgProc base_;
    BrushDlgProc brush_;
    StrokeDlgProc stroke_;
    PaintDlgProc paint_;
    VersionDlgProc version_;
    std::array<IParamMap2*, 5> maps_{};
};

}  // namespace vml
