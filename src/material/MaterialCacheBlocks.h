#pragma once
// Copying between the material's blocks and the cache records: reading a block into its record
// (the material's update, the preset writer) and writing a record into a block (presets applied
// to a new material).

#include "host/Interval.h"
#include "material/vmlMaterialCaches.h"

class IParamBlock2;

namespace vml {

// The four records together: the shape of the material's presets.
struct MaterialPresetValues {
    mtlcache::BaseCache base;
    mtlcache::BrushCache brush;
    mtlcache::StrokeCache stroke;
    mtlcache::PaintCache paint;

    bool operator==(const MaterialPresetValues&) const = default;
};

// Reads every cached parameter of the block at t into the record, narrowing valid. A parameter
// the block cannot answer (a block of another descriptor) leaves its field as it was. The stroke
// record is read as stored: the material's own clean-up of strokeDeformPhaseRnd is not applied.
void readBaseCache(IParamBlock2& block, TimeValue t, mtlcache::BaseCache& cache, Interval& valid);
void readBrushCache(IParamBlock2& block, TimeValue t, mtlcache::BrushCache& cache, Interval& valid);
void readStrokeCache(IParamBlock2& block, TimeValue t, mtlcache::StrokeCache& cache, Interval& valid);
void readPaintCache(IParamBlock2& block, TimeValue t, mtlcache::PaintCache& cache, Interval& valid);

// Writes every field of the record into its parameter at t, in the order presets are applied.
// Each write notifies the block's dependents.
void applyBaseCache(IParamBlock2& block, const mtlcache::BaseCache& cache, TimeValue t);
void applyBrushCache(IParamBlock2& block, const mtlcache::BrushCache& cache, TimeValue t);
void applyStrokeCache(IParamBlock2& block, const mtlcache::StrokeCache& cache, TimeValue t);
void applyPaintCache(IParamBlock2& block, const mtlcache::PaintCache& cache, TimeValue t);

// The descriptors' defaults of the four blocks, as records.
MaterialPresetValues materialBlockDefaults();

}  // namespace vml
