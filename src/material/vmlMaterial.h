#pragma once
// The painterly material. Towards the host it is an ordinary material that wraps a base material
// (any host material, which does the surface shading), seven map slots and five parameter blocks.
// Towards the painterly renderer it is the source of strokes: its shade entry files pixel samples
// and stroke records while the host shades.
//
// Update copies the blocks into the four caches; shading, stroke placement and painting read the
// caches and the references only, never the blocks, so they may run on several shading threads
// while nothing changes the material. Update, the reference operations, Clone, Save and Load come
// from one host thread.
//
// Ownership: the blocks, and the base material, brush and clones the material makes itself, are
// adopted by the material; an adopted object that leaves its slot and has no other dependent is
// deleted. Objects the host or a scene puts into the slots stay theirs. highlightMtl and
// reflectMtl are private helpers, never references.

#include "host/Mtl.h"
#include "host/StdMat2.h"
#include "material/vmlMaterialCaches.h"
#include "paint/vmlBrushClassId.h"
#include "renderer/PixelSample.h"

#include <memory>
#include <string>

class IParamBlock2;
class Texmap;

namespace vml {

class MaterialRollouts;

inline constexpr Class_ID vmlMaterialClassId{0x54022254, 0x03200729};

// Message 258 from a referenced object: the material tells its dependents that all parts changed.
inline constexpr RefMessage vmlMaterialNotifyAllMessage = 258;
// Requirement bit the material adds while the painterly renderer renders.
inline constexpr ULONG vmlMaterialRenderRequirement = 0x2000000;

// Whether map is a brush texture (the class vmlBrush).
bool isBrushTexture(ReferenceTarget* map);

class vmlMaterial final : public Mtl {
public:
    using BaseCache = mtlcache::BaseCache;
    using BrushCache = mtlcache::BrushCache;
    using StrokeCache = mtlcache::StrokeCache;
    using PaintCache = mtlcache::PaintCache;

    // References, in order; the sub-animatables are the same thirteen.
    static constexpr int baseBlockRef = 0;
    static constexpr int brushBlockRef = 1;
    static constexpr int strokeBlockRef = 2;
    static constexpr int paintBlockRef = 3;
    static constexpr int versionBlockRef = 4;
    static constexpr int baseMaterialRef = 5;
    static constexpr int firstMapRef = 6;  // sub-map i is reference firstMapRef + i
    static constexpr int brushMapRef = 12;
    static constexpr int refCount = 13;
    // Sub-map slots.
    static constexpr int baseMatMapSlot = 0;
    static constexpr int hiMapSlot = 1;
    static constexpr int hiLevelMapSlot = 2;
    static constexpr int hiGrossMapSlot = 3;
    static constexpr int bumpMapSlot = 4;
    static constexpr int reflecMapSlot = 5;
    static constexpr int brushMapSlot = 6;
    static constexpr int subMapCount = 7;
    static constexpr int blockCount = 5;
    // Scene-file chunks. The material writes only the base-class chunk; chunk 0x1010 is skipped.
    enum ChunkId : USHORT { mtlBaseChunk = 0x1000, initChunk = 0x1010 };

    // A new material: blocks, highlightMtl and reflectMtl, then InitDefaults (a default standard
    // base material, a fresh brush and the presets). loading: the material is about to be filled
    // from a saved scene, so it starts with its blocks at the descriptors' defaults, empty slots,
    // and needsInit set; Load clears needsInit, so a loaded material keeps what the scene holds.
    explicit vmlMaterial(bool loading = false);
    ~vmlMaterial() override;

    // Defaults of a new material (also run by Reset, and by Update while needsInit is set).
    void InitDefaults();

    // Host material interface.
    Class_ID ClassID() override { return vmlMaterialClassId; }
    void GetClassName(std::string& s) override;
    int NumRefs() override { return refCount; }
    ReferenceTarget* GetReference(int i) override;
    // Stores without registering (use ReplaceReference). Reference 12 applies the brush-slot guard.
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    int NumParamBlocks() override { return blockCount; }
    IParamBlock2* GetParamBlock(int i) override;
    IParamBlock2* GetParamBlockByID(BlockID id) override;

    int NumSubs() const { return refCount; }
    ReferenceTarget* SubAnim(int i) { return GetReference(i); }
    // The reference table's names: blocks by the string table, the base material by its
    // sub-material slot name, maps empty.
    std::string SubAnimName(int i) const;

    // A material with the same settings, clones of the base material and maps (a target that
    // cannot be cloned is shared) and the same empty slots.
    ReferenceTarget* Clone() override;
    // Chunk 0x1000: the name and G-buffer id. Blocks, base material and maps are references,
    // saved and restored by the host.
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

    void Update(TimeValue t, Interval& valid) override;
    // The blocks back to their defaults, then InitDefaults.
    void Reset() override;
    Interval Validity(TimeValue t) override;
    // The base material's and maps' requirements; while a painterly frame is in progress also
    // vmlMaterialRenderRequirement, and the transparency bit exactly when baseHiddenFace is off.
    ULONG Requirements(int subMtlNum) override;
    bool LoadMapFiles(TimeValue t) override;

    int NumSubTexmaps() override { return subMapCount; }
    Texmap* GetSubTexmap(int i) override;
    // Puts the map into reference firstMapRef + i. A bump or reflection map put into an empty
    // slot switches bumpEnable or reflecEnable on (at time 0).
    void SetSubTexmap(int i, Texmap* m) override;
    std::string GetSubTexmapSlotName(int i) const;

    int NumSubMtls() override { return 1; }
    Mtl* GetSubMtl(int i) override;
    void SetSubMtl(int i, Mtl* m) override;
    std::string GetSubMtlSlotName(int i) const;
    // Sub-material the viewport shows: 0 with a base material, -1 without.
    int VPDisplaySubMtl() const { return baseMtl_ ? 0 : -1; }

    // Forwarded to the base material; black without one.
    Color GetAmbient() override;
    Color GetDiffuse() override;
    Color GetSpecular() override;

    // The shade entry (vmlMaterialShade.cpp).
    void Shade(ShadeContext& sc) override;

    // The five rollouts (MaterialRollouts); nullptr when the host shows no dialogs.
    ParamDlg* CreateParamDlg(HWND hwMtlEdit, IMtlParams* imp) override;
    // The open rollouts, told of changes made other than through them.
    MaterialRollouts* rollouts() const { return rollouts_; }
    void setRollouts(MaterialRollouts* rollouts) { rollouts_ = rollouts; }
    // The stroke mode and colour type radios: the cache at once, the block at time 0.
    void setStrokeRake(int mode);
    void setPaintColorType(int type);

    // Caches, valid after Update for ivalid().
    const BaseCache& baseCache() const { return baseCache_; }
    const BrushCache& brushCache() const { return brushCache_; }
    const StrokeCache& strokeCache() const { return strokeCache_; }
    const PaintCache& paintCache() const { return paintCache_; }
    const Interval& ivalid() const { return ivalid_; }

    // References, read directly while rendering.
    Mtl* baseMaterial() const { return baseMtl_; }
    Texmap* subMap(int i) const { return i >= 0 && i < subMapCount ? maps_[i] : nullptr; }
    Texmap* baseMatMap() const { return maps_[baseMatMapSlot]; }
    Texmap* hiMap() const { return maps_[hiMapSlot]; }
    Texmap* hiLevelMap() const { return maps_[hiLevelMapSlot]; }
    Texmap* hiGrossMap() const { return maps_[hiGrossMapSlot]; }
    Texmap* bumpMap() const { return maps_[bumpMapSlot]; }
    Texmap* reflecMap() const { return maps_[reflecMapSlot]; }
    // Tells this material's pixel samples from every other material's; unique in the process.
    MaterialKey sampleKey() const { return sampleKey_; }
    // The brush slot; it may hold a map of another class until the next update repairs it.
    Texmap* brushMap() const { return maps_[brushMapSlot]; }
    IParamBlock2* baseBlock() const { return blocks_[baseBlockRef]; }
    IParamBlock2* brushBlock() const { return blocks_[brushBlockRef]; }
    IParamBlock2* strokeBlock() const { return blocks_[strokeBlockRef]; }
    IParamBlock2* paintBlock() const { return blocks_[paintBlockRef]; }
    IParamBlock2* versionBlock() const { return blocks_[versionBlockRef]; }

    // Highlight and reflection helpers (host standard materials; null when the host could not
    // make one). Configured by Update.
    StdMat2* highlightMtl() const { return highlightMtl_.get(); }
    StdMat2* reflectMtl() const { return reflectMtl_.get(); }

    // Brush-slot guard state.
    bool needsInit() const { return needsInit_; }
    Texmap* savedBrush() const { return savedBrush_.get(); }
    int foreignBrushRef() const { return foreignBrushRef_; }

private:
    struct Bare {};
    // Blocks and helpers only: no InitDefaults, needsInit clear (for Clone).
    vmlMaterial(Bare);

    // A host default standard material, or null when the host cannot make one.
    static std::unique_ptr<StdMat2> makeStandardMaterial();
    static MaterialKey nextSampleKey();
    void makeBlocks();
    void makeHelpers();
    // Points slot i at target; a material-made object that leaves the slot and has no other
    // dependent is deleted.
    void replaceRef(int i, ReferenceTarget* target);
    void discardIfOrphan(ReferenceTarget* object);
    ReferenceTarget* cloneTarget(ReferenceTarget* target);
    void applyPresets();
    void checkBrushSlot();
    void readCaches(TimeValue t);
    void configureHelpers();
    void updateReferences(TimeValue t);
    void detachHelperMaps();

    IParamBlock2* blocks_[blockCount] = {};
    Mtl* baseMtl_ = nullptr;
    Texmap* maps_[subMapCount] = {};

    std::unique_ptr<StdMat2> highlightMtl_;
    std::unique_ptr<StdMat2> reflectMtl_;

    BaseCache baseCache_;
    BrushCache brushCache_;
    StrokeCache strokeCache_;
    PaintCache paintCache_;
    Interval ivalid_;

    bool needsInit_ = false;
    const MaterialKey sampleKey_ = nextSampleKey();
    std::unique_ptr<Texmap> savedBrush_;
    int foreignBrushRef_ = 0;
    // Set between the deletion notice of the brush in the slot and the slot's clearing: a dying
    // brush is not cloned.
    bool brushDying_ = false;
    MaterialRollouts* rollouts_ = nullptr;
};

}  // namespace vml
