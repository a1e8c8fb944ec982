#include "line/LineSettingsFile.h"

#include "host/Interface.h"
#include "host/PrivateProfile.h"
#include "line/LineDefaultSettings.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "shell/IniHandler.h"
#include "shell/SettingsValues.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vml {

namespace {

using S = LineSettings;
namespace lp = lineParam;
namespace pp = linePaintParam;

constexpr LineSettingsKey f(const char* key, float S::*word, ParamID param, bool paint = false)
{
    return {key, word, nullptr, paint, param};
}
constexpr LineSettingsKey i(const char* key, std::int32_t S::*word, ParamID param, bool paint = false)
{
    return {key, nullptr, word, paint, param};
}
constexpr LineSettingsKey color(const char* key) { return {key, nullptr, nullptr, false, lp::lineColor}; }

constexpr std::array lineKeys{
    i("material_id", &S::lineMatID, lp::lineMatID),
    i("blend_method", &S::lineBlend, lp::lineBlend),
    f("blend_amount", &S::lineAlpha, lp::lineAlpha),
    color("blend_color"),
    f("map_opacity", &S::lineMapOpacity, lp::lineMapOpacity),
    i("map_enable", &S::lineMapEnable, lp::lineMapEnable),
    f("width", &S::lineWidth, lp::lineWidth),
    f("deform", &S::lineDeform, lp::lineDeform),
    f("stretch", &S::lineStretch, lp::lineStretch),
    f("angle", &S::lineAngle, lp::lineAngle),
    f("zscale_min", &S::lineZMin, lp::lineZMin),
    f("zscale_max", &S::lineZMax, lp::lineZMax),
    i("zscale_enable", &S::lineZScaleEnable, lp::lineZScaleEnable),
    f("zalpha_min", &S::lineZAlphaMin, lp::lineZAlphaMin),
    f("zalpha_max", &S::lineZAlphaMax, lp::lineZAlphaMax),
    i("zalpha_enable", &S::lineZAlphaEnable, lp::lineZAlphaEnable),
    f("line_blur", &S::lineBlur, lp::lineBlur),
    f("line_blur_offset", &S::lineBlurOffset, lp::lineBlurOffset),
    f("outline_obj_thre", &S::outlineObjectThreshold, lp::outlineObjectThreshold),
    f("outline_mat_thre", &S::outlineMaterialThreshold, lp::outlineMaterialThreshold),
    f("edge_depth_thre", &S::edgeDepthThreshold, lp::edgeDepthThreshold),
    f("normal_min", &S::normalMin, lp::normalMin),
    f("normal_max", &S::normalMax, lp::normalMax),
    f("normal_depth", &S::normalDepth, lp::normalDepth),
    f("zalpha_min_value", &S::lineZAlphaMinValue, lp::lineZAlphaMinValue),
    f("zalpha_max_value", &S::lineZAlphaMaxValue, lp::lineZAlphaMaxValue),
};

constexpr std::array paintKeys{
    i("paint_color_type", &S::paintColorType, pp::paintColorType, true),
    f("paint_color_colorR", &S::paintColorR, pp::paintColorR, true),
    f("paint_color_colorG", &S::paintColorG, pp::paintColorG, true),
    f("paint_color_colorB", &S::paintColorB, pp::paintColorB, true),
    f("paint_blur", &S::paintBlur, pp::paintBlur, true),
    f("paint_blur_rnd", &S::paintBlurRnd, pp::paintBlurRnd, true),
    f("paint_blur_bound", &S::paintBlurBound, pp::paintBlurBound, true),
    f("paint_blur_bound_rnd", &S::paintBlurBoundRnd, pp::paintBlurBoundRnd, true),
    f("paint_mix", &S::paintMix, pp::paintMix, true),
    f("paint_mix_rnd", &S::paintMixRnd, pp::paintMixRnd, true),
    f("paint_wind", &S::paintWind, pp::paintWind, true),
    f("paint_wind_rnd", &S::paintWindRnd, pp::paintWindRnd, true),
    f("paint_wind_angle", &S::paintWindAngle, pp::paintWindAngle, true),
    i("paint_rnd_size_enable", &S::paintRndSizeEnable, pp::paintRndSizeEnable, true),
    f("paint_rnd_size", &S::paintRndSize, pp::paintRndSize, true),
    f("paint_dry", &S::paintDry, pp::paintDry, true),
    f("paint_dry_rnd", &S::paintDryRnd, pp::paintDryRnd, true),
};

// Each reader and writer locates the file afresh, as the settings files are meant to be used.
std::string locateFile()
{
    IniHandler ini(settingsFilePath(linePresetFileName));
    ini.ensureWritable();
    return ini.path;
}

TimeValue currentTime()
{
    Interface* core = GetCOREInterface();
    return core ? core->GetTime() : 0;
}

}  // namespace

std::span<const LineSettingsKey> lineSettingsKeys() { return lineKeys; }
std::span<const LineSettingsKey> linePaintSettingsKeys() { return paintKeys; }

std::string formatLineSettingsValue(const LineSettingsKey& key, const LineSettings& s)
{
    if (key.floatWord)
        return formatSettingsFloat(s.*key.floatWord);
    if (key.intWord)
        return formatSettingsInt(s.*key.intWord);
    return formatSettingsFloat(s.lineColor[0]) + ' ' + formatSettingsFloat(s.lineColor[1]) + ' ' +
           formatSettingsFloat(s.lineColor[2]);
}

const ParamDef& lineSettingsParam(const LineSettingsKey& key)
{
    static const ParamDef none;
    const ParamDef* def =
        (key.paint ? lineFxElementPaintBlock() : lineFxElementParamsBlock()).GetParamDef(key.param);
    return def ? *def : none;
}

ParamNumber lineSettingsNumbers(const LineSettingsKey& key, const LineSettings& s)
{
    if (key.floatWord)
        return {s.*key.floatWord, 0, 0, 0};
    if (key.intWord)
        return {double(s.*key.intWord), 0, 0, 0};
    return {s.lineColor[0], s.lineColor[1], s.lineColor[2], 1.0};
}

void setLineSettingsNumbers(const LineSettingsKey& key, const ParamNumber& n, LineSettings& s)
{
    if (key.floatWord) {
        s.*key.floatWord = static_cast<float>(n[0]);
    } else if (key.intWord) {
        s.*key.intWord = static_cast<std::int32_t>(std::clamp(n[0], double(INT32_MIN), double(INT32_MAX)));
    } else {
        for (std::size_t c = 0; c < 3; ++c)
            s.lineColor[c] = static_cast<float>(n[c]);
    }
}

void readLineSettingsKeys(const char* path, LineSettings& s)
{
    if (!path || !*path)
        return;
    for (auto keys : {lineSettingsKeys(), linePaintSettingsKeys()}) {
        for (const LineSettingsKey& k : keys) {
            ParamNumber n = lineSettingsNumbers(k, s);
            readSettingsValue(path, lineSettingsSection, k.key, lineSettingsParam(k), n);
            setLineSettingsNumbers(k, n, s);
        }
    }
}

void writeLineSettingsKeys(const char* path, std::span<const LineSettingsKey> keys, const LineSettings& s)
{
    if (!path || !*path)
        return;
    for (const LineSettingsKey& k : keys)
        writePrivateProfileString(lineSettingsSection, k.key, formatLineSettingsValue(k, s).c_str(), path);
}

void readLineSettingsFile(LineFxElement& element)
{
    LineSettings& defaults = lineDefaultSettings();
    element.readSettings(0, defaults);
    markLineDefaultSettingsFilled();
    const std::string path = locateFile();
    readLineSettingsKeys(path.c_str(), defaults);
    writeLineSettingsKeys(path.c_str(), lineSettingsKeys(), defaults);
    writeLineSettingsKeys(path.c_str(), linePaintSettingsKeys(), defaults);
}

void writeLineSettingsFile(LineFxElement& element, bool fromElement)
{
    if (fromElement)
        element.readLineWords(currentTime(), lineDefaultSettings());
    writeLineSettingsKeys(locateFile().c_str(), lineSettingsKeys(), lineDefaultSettings());
}

void writeLinePaintSettingsFile(LineFxElement& element, bool fromElement)
{
    if (fromElement)
        element.readPaintWords(currentTime(), lineDefaultSettings());
    writeLineSettingsKeys(locateFile().c_str(), linePaintSettingsKeys(), lineDefaultSettings());
}

}  // namespace vml
