#pragma once
// What the host's texture maps share: one parameter block (reference 0, built by the class
// descriptor) holding every setting, sub-maps as texture-map parameters of that block, the
// coordinates, requirements, cloning and bump by finite differences of the mono value.
//
// Threads: settings are copied out of the block by Update (and whenever the block changes);
// evaluation only reads those copies and the block's map slots, so any number of threads may
// evaluate a map at once as long as nobody changes it meanwhile.

#include "host/ClassDesc2.h"
#include "host/Texmap.h"
#include "standalone/maps/UVCoordinates.h"

#include <vector>

class IParamBlock2;

namespace standalone {

class MapBase : public Texmap {
public:
    Class_ID ClassID() override { return desc_.ClassID(); }
    void GetClassName(std::string& s) override { s = desc_.ClassName(); }

    int NumRefs() override { return 1; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    int NumParamBlocks() override { return 1; }
    IParamBlock2* GetParamBlock(int i) override { return i == 0 ? pblock_ : nullptr; }

    // Sub-maps, in the order the class lists their parameters.
    int NumSubTexmaps() override { return static_cast<int>(subMapParams_.size()); }
    Texmap* GetSubTexmap(int i) override;
    void SetSubTexmap(int i, Texmap* map) override;

    void Update(TimeValue t, Interval& valid) override;
    // MTLREQ_UV (and MTLREQ_BUMPUV) when the map reads a UV channel; sub-maps add theirs.
    ULONG Requirements(int subMtlNum) override;
    bool LoadMapFiles(TimeValue t) override;
    // Same class and settings; sub-maps are cloned too and owned by the clone.
    ReferenceTarget* Clone() override;

    // The negated surface gradient of the mono value, camera space. Heights are measured in the
    // surface length of one UV unit (UV maps) or of spatialScale() (object-space maps), so the
    // bump looks the same at any object scale. Zero in environment mode.
    Point3 EvalNormalPerturb(ShadeContext& sc) override;

    const UVCoordinates& coordinates() const { return coords_; }

protected:
    // Builds the block from desc. subMapParams: the block's texture-map parameters, in sub-map
    // order. Derived constructors call refresh() once their members exist.
    MapBase(ClassDesc2& desc, std::vector<ParamID> subMapParams);

    // Copies the derived class's settings out of the block.
    virtual void readParams(IParamBlock2& block, TimeValue t, Interval& valid) = 0;
    // Whether the value depends on the UV channel (else on the object-space point).
    virtual bool usesUV() const { return coords_.usesUV(); }
    // Object-space maps: the length over which the pattern changes noticeably.
    virtual float spatialScale() const { return 1.0f; }
    // Clone: what the block does not hold (loaded images).
    virtual void copyLoadedState(MapBase& copy) const { (void)copy; }

    void refresh(TimeValue t, Interval& valid);
    void refresh();
    // Sub-map i when set and enabled for evaluation, else nullptr.
    Texmap* subMap(int i, ShadeContext& sc) const;
    IParamBlock2* block() const { return pblock_; }

private:
    ClassDesc2& desc_;
    std::vector<ParamID> subMapParams_;
    IParamBlock2* pblock_ = nullptr;
    UVCoordinates coords_;
    TimeValue time_ = 0;
};

// Mix of two colours: a at t = 0, b at t = 1.
inline AColor mixColor(const AColor& a, const AColor& b, float t) { return a * (1.0f - t) + b * t; }

}  // namespace standalone
