#include "material/MaterialPresetFile.h"

#include "host/PrivateProfile.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/SettingsValues.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vml {

namespace {

using mtlcache::BrushCache;
using mtlcache::PaintCache;
using mtlcache::StrokeCache;

template <class Record> constexpr PresetKey<Record> f(const char* key, ParamID param, float Record::*field)
{
    return {key, param, field, nullptr};
}
template <class Record>
constexpr PresetKey<Record> i(const char* key, ParamID param, std::int32_t Record::*field)
{
    return {key, param, nullptr, field};
}

constexpr std::array brushKeys{
    f("brush_opacity", brushParam::brushOpacity, &BrushCache::brushOpacity),
    f("brush_density", brushParam::brushDensity, &BrushCache::brushDensity),
    f("brush_size", brushParam::brushSize, &BrushCache::brushSize),
    f("brush_size_rnd", brushParam::brushSizeRnd, &BrushCache::brushSizeRnd),
    f("brush_size_geom", brushParam::brushSizeGeom, &BrushCache::brushSizeGeom),
    f("brush_angle", brushParam::brushAngle, &BrushCache::brushAngle),
    f("brush_angle_rnd", brushParam::brushAngleRnd, &BrushCache::brushAngleRnd),
    f("brush_angle_fit", brushParam::brushAngleFit, &BrushCache::brushAngleFit),
    f("brush_angle_fit_ofs", brushParam::brushAngleFitOfs, &BrushCache::brushAngleFitOfs),
    f("brush_rough", brushParam::brushRough, &BrushCache::brushRough),
    f("brush_rough_geom", brushParam::brushGeometry, &BrushCache::brushGeometry),
    f("brush_fine", brushParam::brushFine, &BrushCache::brushFine),
    f("brush_fine_rnd", brushParam::brushFineRnd, &BrushCache::brushFineRnd),
    f("brush_fade_size", brushParam::brushFadeSize, &BrushCache::brushFadeSize),
    f("brush_fade_size_thre", brushParam::brushFadeSizeThre, &BrushCache::brushFadeSizeThre),
    f("brush_fade_size_rnd", brushParam::brushFadeSizeRnd, &BrushCache::brushFadeSizeRnd),
    f("brush_fade_size_linear", brushParam::brushFadeSizeLinear, &BrushCache::brushFadeSizeLinear),
    f("brush_fade_alpha", brushParam::brushFadeAlpha, &BrushCache::brushFadeAlpha),
    f("brush_fade_alpha_thre", brushParam::brushFadeAlphaThre, &BrushCache::brushFadeAlphaThre),
    f("brush_fade_alpha_rnd", brushParam::brushFadeAlphaRnd, &BrushCache::brushFadeAlphaRnd),
    f("brush_fade_alpha_linear", brushParam::brushFadeAlphaLinear, &BrushCache::brushFadeAlphaLinear),
    i("brush_zscale_enable", brushParam::brushZScaleEnable, &BrushCache::brushZScaleEnable),
    f("brush_zscale_start", brushParam::brushZScaleStart, &BrushCache::brushZScaleStart),
    f("brush_zscale_end", brushParam::brushZScaleEnd, &BrushCache::brushZScaleEnd),
    f("brush_ofs_scr_x", brushParam::brushOfsScrX, &BrushCache::brushOfsScrX),
    f("brush_ofs_scr_x_rnd", brushParam::brushOfsScrXRnd, &BrushCache::brushOfsScrXRnd),
    f("brush_ofs_scr_y", brushParam::brushOfsScrY, &BrushCache::brushOfsScrY),
    f("brush_ofs_scr_y_rnd", brushParam::brushOfsScrYRnd, &BrushCache::brushOfsScrYRnd),
    f("brush_ofs_normal", brushParam::brushOfsNorm, &BrushCache::brushOfsNorm),
    f("brush_ofs_normal_rnd", brushParam::brushOfsNormRnd, &BrushCache::brushOfsNormRnd),
};

constexpr std::array strokeKeys{
    f("stroke_length", strokeParam::strokeLength, &StrokeCache::strokeLength),
    f("stroke_length_rnd", strokeParam::strokeLengthRnd, &StrokeCache::strokeLengthRnd),
    f("stroke_length_geom", strokeParam::strokeLengthGeom, &StrokeCache::strokeLengthGeom),
    f("stroke_angle", strokeParam::strokeAngle, &StrokeCache::strokeAngle),
    f("stroke_angle_rnd", strokeParam::strokeAngleRnd, &StrokeCache::strokeAngleRnd),
    f("stroke_angle_fit", strokeParam::strokeAngleFit, &StrokeCache::strokeAngleFit),
    f("stroke_angle_fit_ofs", strokeParam::strokeAngleFitOfs, &StrokeCache::strokeAngleFitOfs),
    f("stroke_offset", strokeParam::strokeOffset, &StrokeCache::strokeOffset),
    f("stroke_offset_rnd", strokeParam::strokeOffsetRnd, &StrokeCache::strokeOffsetRnd),
    f("stroke_deform_amp", strokeParam::strokeDeformAmp, &StrokeCache::strokeDeformAmp),
    f("stroke_deform_amp_rnd", strokeParam::strokeDeformAmpRnd, &StrokeCache::strokeDeformAmpRnd),
    f("stroke_deform_freq", strokeParam::strokeDeformFreq, &StrokeCache::strokeDeformFreq),
    f("stroke_deform_freq_rnd", strokeParam::strokeDeformFreqRnd, &StrokeCache::strokeDeformFreqRnd),
    f("stroke_deform_phase", strokeParam::strokeDeformPhase, &StrokeCache::strokeDeformPhase),
    f("stroke_deform_phase_rnd", strokeParam::strokeDeformPhaseRnd, &StrokeCache::strokeDeformPhaseRnd),
    f("stroke_rough", strokeParam::strokeRough, &StrokeCache::strokeRough),
    f("stroke_rough_rnd", strokeParam::strokeRoughRnd, &StrokeCache::strokeRoughRnd),
    i("stroke_rake", strokeParam::strokeRake, &StrokeCache::strokeRake),
    f("stroke_damp_size_st", strokeParam::strokeDampSizeSt, &StrokeCache::strokeDampSizeSt),
    f("stroke_damp_size_st_pos", strokeParam::strokeDampSizeStPos, &StrokeCache::strokeDampSizeStPos),
    f("stroke_damp_size_ed", strokeParam::strokeDampSizeEd, &StrokeCache::strokeDampSizeEd),
    f("stroke_damp_size_ed_pos", strokeParam::strokeDampSizeEdPos, &StrokeCache::strokeDampSizeEdPos),
    f("stroke_damp_size_rnd", strokeParam::strokeDampSizeRnd, &StrokeCache::strokeDampSizeRnd),
    f("stroke_damp_alpha_st", strokeParam::strokeDampAlphaSt, &StrokeCache::strokeDampAlphaSt),
    f("stroke_damp_alpha_st_pos", strokeParam::strokeDampAlphaStPos, &StrokeCache::strokeDampAlphaStPos),
    f("stroke_damp_alpha_ed", strokeParam::strokeDampAlphaEd, &StrokeCache::strokeDampAlphaEd),
    f("stroke_damp_alpha_ed_pos", strokeParam::strokeDampAlphaEdPos, &StrokeCache::strokeDampAlphaEdPos),
    f("stroke_damp_alpha_rnd", strokeParam::strokeDampAlphaRnd, &StrokeCache::strokeDampAlphaRnd),
    f("stroke_space", strokeParam::strokeSpace, &StrokeCache::strokeSpace),
    f("stroke_space_rnd", strokeParam::strokeSpaceRnd, &StrokeCache::strokeSpaceRnd),
};

constexpr std::array paintKeys{
    i("paint_blendMethod", paintParam::paintBlendMethod, &PaintCache::paintBlendMethod),
    f("paint_blendAmount", paintParam::paintBlendAmount, &PaintCache::paintBlendAmount),
    i("paint_monoEnable", paintParam::paintMonoEnable, &PaintCache::paintMonoEnable),
    f("paint_monoAmount", paintParam::paintMonoAmount, &PaintCache::paintMonoAmount),
    i("paint_colorType", paintParam::paintColorType, &PaintCache::paintColorType),
    f("paint_colorR", paintParam::paintColorR, &PaintCache::paintColorR),
    f("paint_colorG", paintParam::paintColorG, &PaintCache::paintColorG),
    f("paint_colorB", paintParam::paintColorB, &PaintCache::paintColorB),
    f("paint_blur", paintParam::paintBlur, &PaintCache::paintBlur),
    f("paint_blur_rnd", paintParam::paintBlurRnd, &PaintCache::paintBlurRnd),
    f("paint_blur_bound", paintParam::paintBlurBound, &PaintCache::paintBlurBound),
    f("paint_blur_bound_rnd", paintParam::paintBlurBoundRnd, &PaintCache::paintBlurBoundRnd),
    f("paint_mix", paintParam::paintMix, &PaintCache::paintMix),
    f("paint_mix_rnd", paintParam::paintMixRnd, &PaintCache::paintMixRnd),
    f("paint_wind", paintParam::paintWind, &PaintCache::paintWind),
    f("paint_wind_rnd", paintParam::paintWindRnd, &PaintCache::paintWindRnd),
    f("paint_wind_angle", paintParam::paintWindAngle, &PaintCache::paintWindAngle),
    f("paint_dry", paintParam::paintDry, &PaintCache::paintDry),
    f("paint_dry_rnd", paintParam::paintDryRnd, &PaintCache::paintDryRnd),
    i("paint_whiteTransEnable", paintParam::paintWhiteTransEnable, &PaintCache::paintWhiteTransEnable),
    f("paint_whiteTransAmount", paintParam::paintWhiteTransAmount, &PaintCache::paintWhiteTransAmount),
    i("paint_conEnable", paintParam::paintConEnable, &PaintCache::paintConEnable),
    f("paint_conAmount", paintParam::paintConAmount, &PaintCache::paintConAmount),
};

template <class Record>
void readSection(const char* path, const char* section, std::span<const PresetKey<Record>> keys,
                 const ParamBlockDesc2& desc, Record& record)
{
    for (const PresetKey<Record>& k : keys) {
        const ParamDef* def = desc.GetParamDef(k.param);
        if (!def)
            continue;
        ParamNumber n{k.floatField ? double(record.*k.floatField) : double(record.*k.intField), 0, 0, 0};
        readSettingsValue(path, section, k.key, *def, n);
        if (k.floatField)
            record.*k.floatField = static_cast<float>(n[0]);
        else
            record.*k.intField =
                static_cast<std::int32_t>(std::clamp(n[0], double(INT32_MIN), double(INT32_MAX)));
    }
}

template <class Record>
void writeSection(const char* path, const char* section, std::span<const PresetKey<Record>> keys,
                  const Record& record)
{
    for (const PresetKey<Record>& k : keys) {
        std::string text =
            k.floatField ? formatPresetFloat(record.*k.floatField) : formatPresetInt(record.*k.intField);
        writePrivateProfileString(section, k.key, text.c_str(), path);
    }
}

}  // namespace

std::span<const PresetKey<BrushCache>> brushPresetKeys() { return brushKeys; }
std::span<const PresetKey<StrokeCache>> strokePresetKeys() { return strokeKeys; }
std::span<const PresetKey<PaintCache>> paintPresetKeys() { return paintKeys; }

std::string formatPresetFloat(float v) { return formatSettingsFloat(v); }

std::string formatPresetInt(std::int32_t v) { return formatSettingsInt(v); }

void readMaterialPresetFile(const char* path, MaterialPresetValues& values)
{
    if (!path || !*path)
        return;
    readSection(path, brushPresetSection, brushPresetKeys(), vmlMaterialBrushBlock(), values.brush);
    readSection(path, strokePresetSection, strokePresetKeys(), vmlMaterialStrokeBlock(), values.stroke);
    readSection(path, paintPresetSection, paintPresetKeys(), vmlMaterialPaintBlock(), values.paint);
}

void writeMaterialPresetSection(const char* path, PresetSection section, const MaterialPresetValues& values)
{
    if (!path || !*path)
        return;
    switch (section) {
    case PresetSection::Brush: writeSection(path, brushPresetSection, brushPresetKeys(), values.brush); break;
    case PresetSection::Stroke:
        writeSection(path, strokePresetSection, strokePresetKeys(), values.stroke);
        break;
    case PresetSection::Paint: writeSection(path, paintPresetSection, paintPresetKeys(), values.paint); break;
    }
}

}  // namespace vml
