#include "host/IParamBlock2.h"
#include "host/PrivateProfile.h"
#include "material/MaterialPresetFile.h"
#include "material/MaterialPresets.h"
#include "material/vmlMaterialParamBlocks.h"
#include "shell/SettingsValues.h"
#include "support/DirectoryCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace test_support;

namespace fs = std::filesystem;
using namespace vml;

namespace {

// "{}" in text replaced by each number in turn, written as the intake writes them.
std::string fmt(std::string text, double a, double b, double c)
{
    for (double v : {a, b, c}) {
        const std::size_t at = text.find("{}");
        if (at == std::string::npos)
            break;
        std::ostringstream number;
        number << v;
        text.replace(at, 2, number.str());
    }
    return text;
}

std::string value(const char* section, const char* key, const std::string& path)
{
    char buffer[256];
    getPrivateProfileString(section, key, "<missing>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

// The key names of one section, in file order.
std::vector<std::string> keysOfSection(const std::string& path, const std::string& section)
{
    std::vector<std::string> keys;
    std::ifstream in(path);
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '[')
            inside = line == "[" + section + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

template <class Record> std::vector<std::string> namesOf(std::span<const PresetKey<Record>> keys)
{
    std::vector<std::string> out;
    for (const auto& k : keys)
        out.push_back(k.key);
    return out;
}

TEST(PresetValueText, NumbersScanAsScanningDoesAndFormatAsPrintfDoes)
{
    struct Case {
        const char* text;
        bool integer;
        const char* read;  // what is left unread; nullptr: refused and the value kept
        double want;
    };
    // A float's text reads as that float; numbers of any size are read for the intake to judge.
    const Case cases[] = {
        {"26.000000", false, "", 26.0},   {"-0.25junk", false, "junk", -0.25},
        {"0.1", false, "", double(0.1f)}, {"1e999", false, "", HUGE_VAL},
        {"1e-999", false, "", 0.0},       {"abc", false, nullptr, 42.0},
        {"+-1", false, nullptr, 42.0},    {" -7", true, "", -7.0},
        {"1.9", true, ".9", 1.0},         {"123456789012345678901234", true, "", 123456789012345678901234.0},
        {"x1", true, nullptr, 42.0},      {"", true, nullptr, 42.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = 42.0;
        const char* rest = scanSettingsNumber(c.text, c.integer, v);
        if (c.read)
            EXPECT_STREQ(rest, c.read);
        else
            EXPECT_EQ(rest, nullptr);
        EXPECT_EQ(v, c.want);
    }
    double n = 0.0;
    EXPECT_NE(scanSettingsNumber("nan", false, n), nullptr);
    EXPECT_TRUE(std::isnan(n));
    EXPECT_EQ(formatPresetFloat(-3600.0f), "-3600.000000");
    EXPECT_EQ(formatPresetFloat(1000000.0f), "1000000.000000");
    EXPECT_EQ(formatPresetFloat(0.0000004f), "0.000000");
    EXPECT_EQ(formatPresetInt(-12), "-12");
}

// Every value of the file passes the intake: held to its parameter's range, refused when not
// finite (the field kept), each with a warning naming the file, the section, the key and the
// parameter.
TEST(PresetFileTest, ValuesOutsideTheirRangesAreHeldAndNonFiniteOnesRefused)
{
    TempDir tmp;
    const std::string file = (tmp.path() / "vermil+.ini").string();
    DirectoryCore core;
    SetCOREInterface(&core);
    const MaterialPresetValues defaults = materialBlockDefaults();
    const ParamDef& size = *vmlMaterialBrushBlock().GetParamDef(brushParam::brushSize);
    const ParamDef& rake = *vmlMaterialStrokeBlock().GetParamDef(strokeParam::strokeRake);
    struct Case {
        const char* text;  // the file
        double size;       // brushSize afterwards
        double rake;       // strokeRake afterwards
        std::string warning;
    } cases[] = {
        {"[Vermil+ Brush]\nbrush_size=5000\n", size.rangeMax, double(defaults.stroke.strokeRake),
         fmt("[Vermil+ Brush] brush_size: parameter brushSize: 5000 is outside its range {} to {}; held to "
             "{}",
             size.rangeMin, size.rangeMax, size.rangeMax)},
        {"[Vermil+ Brush]\nbrush_size=NaN\n", defaults.brush.brushSize, double(defaults.stroke.strokeRake),
         fmt("[Vermil+ Brush] brush_size: parameter brushSize: nan is not a finite number; kept {}",
             defaults.brush.brushSize, 0, 0)},
        {"[Vermil+ Stroke]\nstroke_rake=99999999999\n", defaults.brush.brushSize, rake.rangeMax,
         fmt("[Vermil+ Stroke] stroke_rake: parameter strokeRake: 99999999999 is outside its range {} to {}; "
             "held to {}",
             rake.rangeMin, rake.rangeMax, rake.rangeMax)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        core.warnings.clear();
        std::ofstream(file) << c.text;
        MaterialPresetValues v = defaults;
        readMaterialPresetFile(file.c_str(), v);
        EXPECT_EQ(v.brush.brushSize, float(c.size));
        EXPECT_EQ(v.stroke.strokeRake, int(c.rake));
        ASSERT_EQ(core.warnings.size(), 1u);
        EXPECT_EQ(core.warnings[0], file + " " + c.warning);
    }
    SetCOREInterface(nullptr);
}

// The process-wide presets can be read only once per process, so their whole life is one test.
TEST(MaterialPresetsProcess, ReadOnceThenChangedOnlyBySetAsDefault)
{
    TempDir tmp;
    DirectoryCore core;
    core.setDir(APP_PLUGCFG_DIR, tmp.dir() + "plugcfg/");
    core.setDir(APP_MACHINE_DATA_DIR, tmp.dir() + "data/");
    fs::create_directories(tmp.path() / "plugcfg");
    SetCOREInterface(&core);
    const std::string file = tmp.dir() + "plugcfg/vermil+.ini";
    // First use from several threads at once: one read, one record.
    std::vector<const MaterialPresetValues*> seen(4);
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &materialPresets(); });
    for (auto& t : threads)
        t.join();
    for (const MaterialPresetValues* p : seen)
        EXPECT_EQ(p, seen[0]);
    // No file: the block defaults, and a file with every key.
    const MaterialPresetValues defaults = materialBlockDefaults();
    EXPECT_EQ(materialPresets(), defaults);
    EXPECT_EQ(keysOfSection(file, strokePresetSection), namesOf(strokePresetKeys()));
    EXPECT_EQ(value(brushPresetSection, "brush_density", file), "26.000000");
    EXPECT_EQ(value(strokePresetSection, "stroke_rake", file), "0");
    // Later uses neither reread nor rewrite the file.
    writePrivateProfileString(brushPresetSection, "brush_density", "40", file.c_str());
    EXPECT_EQ(materialPresets(), defaults);
    // Set as default takes the block at the host's current time and rewrites only its section.
    IParamBlock2 stroke(&vmlMaterialStrokeBlock());
    stroke.SetKey(strokeParam::strokeLength, 0, 5.0f);
    stroke.SetKey(strokeParam::strokeLength, 160, 12.0f);
    core.setTime(160);
    EXPECT_TRUE(setMaterialPresetFromBlock(stroke));
    EXPECT_EQ(materialPresets().stroke.strokeLength, 12.0f);
    EXPECT_EQ(value(strokePresetSection, "stroke_length", file), "12.000000");
    EXPECT_EQ(value(brushPresetSection, "brush_density", file), "40");
    IParamBlock2 base(&vmlMaterialBaseBlock());
    EXPECT_FALSE(setMaterialPresetFromBlock(base));
    // New materials get the presets; the base block its defaults.
    IParamBlock2 brush(&vmlMaterialBrushBlock()), newStroke(&vmlMaterialStrokeBlock()),
        paint(&vmlMaterialPaintBlock());
    base.SetValue(baseParam::shading, 0, 12.0f);
    applyMaterialPresets(&base, &brush, &newStroke, &paint);
    EXPECT_EQ(newStroke.GetFloat(strokeParam::strokeLength), 12.0f);
    EXPECT_EQ(base.GetFloat(baseParam::shading), defaults.base.shading);
    SetCOREInterface(nullptr);
}

}  // namespace
