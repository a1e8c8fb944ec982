#include "material/MaterialPresets.h"

#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "material/MaterialPresetFile.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/IniHandler.h"

#include <mutex>

namespace vml {

namespace {

MaterialPresetValues presets;
std::once_flag presetsRead;

// Each reader and writer locates the file afresh, as the settings files are meant to be used.
void writeSection(PresetSection section)
{
    IniHandler ini(settingsFilePath(materialPresetFileName));
    ini.ensureWritable();
    writeMaterialPresetSection(ini.path, section, presets);
}

void readPresets()
{
    presets = materialBlockDefaults();
    IniHandler ini(settingsFilePath(materialPresetFileName));
    ini.ensureWritable();
    readMaterialPresetFile(ini.path, presets);
    // Afterwards the file holds every key, with the values in use.
    writeSection(PresetSection::Brush);
    writeSection(PresetSection::Stroke);
    writeSection(PresetSection::Paint);
}

MaterialPresetValues& presetStore()
{
    std::call_once(presetsRead, readPresets);
    return presets;
}

}  // namespace

const MaterialPresetValues& materialPresets() { return presetStore(); }

void applyMaterialPresets(IParamBlock2* base, IParamBlock2* brush, IParamBlock2* stroke, IParamBlock2* paint)
{
    const MaterialPresetValues& p = presetStore();
    if (base)
        applyBaseCache(*base, p.base, 0);
    if (brush)
        applyBrushCache(*brush, p.brush, 0);
    if (stroke)
        applyStrokeCache(*stroke, p.stroke, 0);
    if (paint)
        applyPaintCache(*paint, p.paint, 0);
}

BOOL setMaterialPresetFromBlock(IParamBlock2& block)
{
    MaterialPresetValues& p = presetStore();
    Interface* core = GetCOREInterface();
    TimeValue t = core ? core->GetTime() : 0;
    Interval valid = FOREVER;
    const ParamBlockDesc2* desc = block.GetDesc();
    PresetSection section;
    if (desc == &vmlMaterialBrushBlock()) {
        readBrushCache(block, t, p.brush, valid);
        section = PresetSection::Brush;
    } else if (desc == &vmlMaterialStrokeBlock()) {
        readStrokeCache(block, t, p.stroke, valid);
        section = PresetSection::Stroke;
    } else if (desc == &vmlMaterialPaintBlock()) {
        readPaintCache(block, t, p.paint, valid);
        section = PresetSection::Paint;
    } else {
        return FALSE;
    }
    writeSection(section);
    return TRUE;
}

}  // namespace vml
