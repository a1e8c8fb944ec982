#pragma once
// The brush texture map: the grey shape of one brush dab over the unit square, from a procedural
// tip (BrushShape) optionally mixed with a sub-map. A brush also offers random variants of its
// tip, which the stroke painter selects per stroke and per dab.
//
// Reference 0 is the parameter block; the sub-map is the block's brushMapMap parameter. Update
// copies the block into the cached shape; evaluation reads only the cached shape, the variant
// state and the sub-map, so several threads may evaluate a brush that nobody changes meanwhile.
// Update, the variant setters, the reference operations, Clone, Save and Load come from one
// thread.
//
// Coordinates: there is no UV generator in this host; the brush reads (u, v) = UVW(1).x, .y as
// given, which is what a default generator with tiling 1 and no offset hands on.

#include "host/Texmap.h"
#include "paint/BrushShape.h"
#include "paint/vmlBrushClassId.h"

#include <atomic>
#include <cstdint>

class IParamBlock2;

namespace vml {

class BrushEditor;

class vmlBrush : public Texmap {
public:
    static constexpr int blockRef = 0;

    // Builds the parameter block through the class descriptor once the registry has attached
    // the block's descriptor, and by itself before that.
    vmlBrush();
    // Closes an open editor first.
    ~vmlBrush() override;

    Class_ID ClassID() override { return vmlBrushClassId; }
    void GetClassName(std::string& s) override;  // strings::brushClass

    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }

    int NumSubTexmaps() override { return 1; }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* m) override;

    // Re-reads the block when t lies outside the cached values' interval, then narrows valid.
    void Update(TimeValue t, Interval& valid) override;
    // Block back to its defaults; the cached values are re-read at the next update.
    void Reset() override;
    ULONG Requirements(int subMtlNum) override;
    bool LoadMapFiles(TimeValue t) override;

    AColor EvalColor(ShadeContext& sc) override;  // (B, B, B, 1)
    float EvalMono(ShadeContext& sc) override;    // B
    // dPdu * (g0 * 0.02) + dPdv * (g1 * 0.02), (g0, g1) the gradient of B over (u, v).
    Point3 EvalNormalPerturb(ShadeContext& sc) override;

    // Same settings; a sub-map is cloned too and owned by the copy. Variant state starts afresh.
    ReferenceTarget* Clone() override;
    // The brush has no data of its own: its settings are the block, which the host saves and
    // restores as reference 0. Load makes the next update re-read the block.
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

    // The brush editor (template 113); nullptr when the host shows no dialogs.
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;
    // The open editor, told of every change of the block.
    BrushEditor* editor() const { return editor_; }
    void setEditor(BrushEditor* editor) { editor_ = editor; }

    // Variant state, set by the stroke painter. index is taken modulo variantCount().
    void setVariant(std::uint16_t seed, int index);
    std::uint16_t variantSeed() const { return variantSeed_; }
    int variantIndex() const { return variantIndex_; }

    // Cached at the last update.
    int variantCount() const { return shape_.rndNum; }  // brushRndNum, 1 or more
    float angleRandomDegrees() const { return shape_.angleRnd; }
    bool cacheDisabled() const { return shape_.cacheDisable; }
    const BrushShape& shape() const { return shape_; }

    // B(u, v) with the current variant (variant 0 unless strokes are being painted). sc serves
    // only the sub-map; with sc null the sub-map is left out. Call Update first.
    float value(float u, float v, ShadeContext* sc);

    // On while strokes are stamped; while off, every brush samples variant 0. Walks on several
    // threads each begin and end it: it stays on until the last has ended.
    static void setStrokePainting(bool on) { strokePainting_.store(on ? 1 : 0, std::memory_order_relaxed); }
    static void beginStrokePainting() { strokePainting_.fetch_add(1, std::memory_order_relaxed); }
    static void endStrokePainting() { strokePainting_.fetch_sub(1, std::memory_order_relaxed); }
    static bool strokePainting() { return strokePainting_.load(std::memory_order_relaxed) > 0; }

private:
    void readBlock(TimeValue t, Interval& valid);
    // The sub-map the block holds now (a deleted map has left its slot).
    Texmap* subMap() const;
    float sample(ShadeContext& sc);

    IParamBlock2* pblock_ = nullptr;
    BrushShape shape_;
    Interval ivalid_;
    TimeValue time_ = 0;
    bool hasSubMap_ = false;  // at the last update
    BrushEditor* editor_ = nullptr;
    std::uint16_t variantSeed_ = 0;
    int variantIndex_ = 0;

    static std::atomic<int> strokePainting_;
};

}  // namespace vml
