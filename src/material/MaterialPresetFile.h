#pragma once
// The settings file of the material presets: three sections of "key=value" text, one key per
// brush, stroke and paint preset field. Floats are written "%f"-style (six decimals), ints and
// bools "%d"-style; values are in the blocks' own units, so a written file reads back unchanged.

#include "host/ParamTypes.h"
#include "material/MaterialCacheBlocks.h"

#include <cstdint>
#include <span>
#include <string>

namespace vml {

inline constexpr char brushPresetSection[] = "Vermil+ Brush";
inline constexpr char strokePresetSection[] = "Vermil+ Stroke";
inline constexpr char paintPresetSection[] = "Vermil+ Paint";

enum class PresetSection { Brush, Stroke, Paint };

// One key of a section: its name, the block parameter it fills, and the record field holding it
// (exactly one of the two field pointers is set).
template <class Record> struct PresetKey {
    const char* key;
    ParamID param;
    float Record::*floatField;
    std::int32_t Record::*intField;
};

// The keys of each section, in file order.
std::span<const PresetKey<mtlcache::BrushCache>> brushPresetKeys();
std::span<const PresetKey<mtlcache::StrokeCache>> strokePresetKeys();
std::span<const PresetKey<mtlcache::PaintCache>> paintPresetKeys();

// Value texts, written as "%f" / "%d" write them.
std::string formatPresetFloat(float v);
std::string formatPresetInt(std::int32_t v);

// Reads every key of the three sections of the file at `path` into the brush, stroke and paint
// records (shell/SettingsValues.h: readSettingsValue): a key that is missing, empty or holds no
// number keeps its field, and the values read pass the intake — held to their parameters'
// ranges, refused when not finite (the field kept), with a warning naming the file, the key and
// the parameter. Nothing for an empty path.
void readMaterialPresetFile(const char* path, MaterialPresetValues& values);

// Writes every key of one section, in file order. Write failures are ignored (the presets in
// memory stay as they are). Nothing for an empty path.
void writeMaterialPresetSection(const char* path, PresetSection section, const MaterialPresetValues& values);

}  // namespace vml
