#include "line/LineSettingsFile.h"

#include "host/Interface.h"
#include "host/PrivateProfile.h"
#include "line/LineDefaultSettings.h"
#include "line/LineFxElement.h"
#include "shell/IniHandler.h"
#include "shell/SettingsValues.h"

#include <array>

namespace vml {

namespace {

using S = LineSettings;

constexpr LineSettingsKey f(const char* key, float S::*word) { return {key, word, nullptr}; }
constexpr LineSettingsKey i(const char* key, std::int32_t S::*word) { return {key, nullptr, word}; }
constexpr LineSettingsKey color(const char* key) { return {key, nullptr, nullptr}; }

constexpr std::array lineKeys{
    i("material_id", &S::lineMatID),
    i("blend_method", &S::lineBlend),
    f("blend_amount", &S::lineAlpha),
    color("blend_color"),
    f("map_opacity", &S::lineMapOpacity),
    i("map_enable", &S::lineMapEnable),
    f("width", &S::lineWidth),
    f("deform", &S::lineDeform),
    f("stretch", &S::lineStretch),
    f("angle", &S::lineAngle),
    f("zscale_min", &S::lineZMin),
    f("zscale_max", &S::lineZMax),
    i("zscale_enable", &S::lineZScaleEnable),
    f("zalpha_min", &S::lineZAlphaMin),
    f("zalpha_max", &S::lineZAlphaMax),
    i("zalpha_enable", &S::lineZAlphaEnable),
    f("line_blur", &S::lineBlur),
    f("line_blur_offset", &S::lineBlurOffset),
    f("outline_obj_thre", &S::outlineObjectThreshold),
    f("outline_mat_thre", &S::outlineMaterialThreshold),
    f("edge_depth_thre", &S::edgeDepthThreshold),
    f("normal_min", &S::normalMin),
    f("normal_max", &S::normalMax),
    f("normal_depth", &S::normalDepth),
    f("zalpha_min_value", &S::lineZAlphaMinValue),
    f("zalpha_max_value", &S::lineZAlphaMaxValue),
};

constexpr std::array paintKeys{
    i("paint_color_type", &S::paintColorType),
    f("paint_color_colorR", &S::paintColorR),
    f("paint_color_colorG", &S::paintColorG),
    f("paint_color_colorB", &S::paintColorB),
    f("paint_blur", &S::paintBlur),
    f("paint_blur_rnd", &S::paintBlurRnd),
    f("paint_blur_bound", &S::paintBlurBound),
    f("paint_blur_bound_rnd", &S::paintBlurBoundRnd),
    f("paint_mix", &S::paintMix),
    f("paint_mix_rnd", &S::paintMixRnd),
    f("paint_wind", &S::paintWind),
    f("paint_wind_rnd", &S::paintWindRnd),
    f("paint_wind_angle", &S::paintWindAngle),
    i("paint_rnd_size_enable", &S::paintRndSizeEnable),
    f("paint_rnd_size", &S::paintRndSize),
    f("paint_dry", &S::paintDry),
    f("paint_dry_rnd", &S::paintDryRnd),
};

// The platform reads at most 255 characters of a value.
constexpr DWORD valueBufferSize = 256;

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

bool parseLineSettingsValue(const LineSettingsKey& key, const char* text, LineSettings& s)
{
    if (!text)
        return false;
    if (key.floatWord)
        return scanSettingsFloat(text, s.*key.floatWord) != nullptr;
    if (key.intWord)
        return parseSettingsInt(text, s.*key.intWord);
    const char* p = text;
    int read = 0;
    while (read < 3 && (p = scanSettingsFloat(p, s.lineColor[read])) != nullptr)
        ++read;
    return read > 0;
}

void readLineSettingsKeys(const char* path, LineSettings& s)
{
    if (!path || !*path)
        return;
    char text[valueBufferSize];
    for (auto keys : {lineSettingsKeys(), linePaintSettingsKeys()}) {
        for (const LineSettingsKey& k : keys) {
            if (getPrivateProfileString(lineSettingsSection, k.key, "", text, valueBufferSize, path) > 0)
                parseLineSettingsValue(k, text, s);
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
