#pragma once
// The material presets: the values every new material starts from, kept once per process and, for
// the brush, stroke and paint blocks, in the settings file "vermil+.ini". The base preset has no
// section: it always equals the block defaults.

#include "host/MaxTypes.h"
#include "material/MaterialCacheBlocks.h"

class IParamBlock2;

namespace vml {

// The process-wide presets. The first call reads them: the block defaults, overridden by every key
// of the settings file whose text parses, after which the file is rewritten with every key. Later
// calls answer the same record without touching the file. The first call is thread-safe; the
// record changes afterwards only through setMaterialPresetFromBlock (main thread).
const MaterialPresetValues& materialPresets();

// "Apply presets" of InitDefaults: writes the presets into a new material's four blocks at time 0.
// A null block is skipped.
void applyMaterialPresets(IParamBlock2* base, IParamBlock2* brush, IParamBlock2* stroke, IParamBlock2* paint);

// The "set as default" button of the brush, stroke and paint rollouts: takes that section's preset
// from `block` (the material's brush, stroke or paint block) at the host's current time and
// rewrites only that section of the settings file. Existing materials keep their values. FALSE,
// changing nothing, for a block of another id.
BOOL setMaterialPresetFromBlock(IParamBlock2& block);

}  // namespace vml
