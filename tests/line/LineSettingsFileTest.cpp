// The line settings file: its keys and value texts, and the process-wide defaults read from it
// once and rewritten by set-as-default.

#include "line/LineSettingsFile.h"
#include "host/IParamBlock2.h"
#include "host/PrivateProfile.h"
#include "line/LineDefaultSettings.h"
#include "line/LineFxElement.h"
#include "line/LineFxParamBlocks.h"
#include "support/DirectoryCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

using namespace test_support;

namespace fs = std::filesystem;
using namespace vml;

namespace {

std::string value(const char* key, const std::string& path)
{
    char buffer[256];
    getPrivateProfileString(lineSettingsSection, key, "<missing>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

// The key names of the section, in file order.
std::vector<std::string> keysInFile(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> keys;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '[')
            inside = line == std::string("[") + lineSettingsSection + "]";
        else if (inside && line.find('=') != std::string::npos)
            keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

class LineSettingsRead : public ::testing::Test {
protected:
    void SetUp() override { SetCOREInterface(&core); }
    void TearDown() override { SetCOREInterface(nullptr); }
    // s after reading a file holding `lines` in the section.
    LineSettings read(const std::string& lines, const LineSettings& before)
    {
        std::ofstream(file) << "[Vermil+ Line]\n" << lines << "\n";
        LineSettings s = before;
        readLineSettingsKeys(file.c_str(), s);
        return s;
    }
    TempDir tmp;
    std::string file = (tmp.path() / "vermil+_line.ini").string();
    DirectoryCore core;
};

// Every value of the file passes the intake: held to its parameter's range, refused when not
// finite, each with a warning naming the file, the key and the parameter.
TEST_F(LineSettingsRead, ValuesOutsideTheirRangesAreHeldAndNonFiniteOnesRefused)
{
    LineSettings before;
    before.lineWidth = 3.0f;
    before.lineMatID = 4;
    before.lineColor[0] = 0.25f;
    struct Case {
        const char* line;
        float LineSettings::*floatWord;
        std::int32_t LineSettings::*intWord;
        double after;
        const char* warning;  // after "FILE [Vermil+ Line] "
    } cases[] = {
        // The width that once made one outlined sphere render for over a minute.
        {"width=100000", &LineSettings::lineWidth, nullptr, 100,
         "width: parameter lineWidth: 100000 is outside its range 0 to 100; held to 100"},
        {"width=-4.5", &LineSettings::lineWidth, nullptr, 0,
         "width: parameter lineWidth: -4.5 is outside its range 0 to 100; held to 0"},
        {"width=nan", &LineSettings::lineWidth, nullptr, 3,
         "width: parameter lineWidth: nan is not a finite number; kept 3"},
        {"width=1e999", &LineSettings::lineWidth, nullptr, 3,
         "width: parameter lineWidth: inf is not a finite number; kept 3"},
        {"material_id=99999999999", nullptr, &LineSettings::lineMatID, 15,
         "material_id: parameter lineMatID: 99999999999 is outside its range 0 to 15; held to 15"},
        {"blend_color=0.1 nan 0.3", nullptr, nullptr, 0.25,
         "blend_color: parameter lineColor: [0.1, nan, 0.3] is not a finite number; kept [0.25, 0, 0]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        core.warnings.clear();
        const LineSettings s = read(c.line, before);
        const double after = c.floatWord ? double(s.*c.floatWord)
                             : c.intWord ? double(s.*c.intWord)
                                         : s.lineColor[0];
        EXPECT_EQ(after, c.after);
        ASSERT_EQ(core.warnings.size(), 1u);
        EXPECT_EQ(core.warnings[0], file + " [Vermil+ Line] " + c.warning);
    }
}

// The defaults are read once per process, at the first element, so their whole life is one test.
TEST(LineSettingsProcess, TheFirstElementReadsTheFileAndSetAsDefaultRewritesIt)
{
    TempDir tmp;
    DirectoryCore core;
    core.setDir(APP_PLUGCFG_DIR, tmp.dir() + "plugcfg/");
    core.setDir(APP_MACHINE_DATA_DIR, tmp.dir() + "data/");
    fs::create_directories(tmp.path() / "plugcfg");
    SetCOREInterface(&core);
    const std::string file = tmp.dir() + "plugcfg/vermil+_line.ini";
    std::ofstream(file) << "[Vermil+ Line]\nwidth=3.25\ndeform=\nblend_color=0.1 0.2 0.3\nmaterial_id=x\n"
                           "paint_dry=7\n";
    ASSERT_FALSE(lineDefaultSettingsFilled());
    LineFxElement first;
    ASSERT_TRUE(lineDefaultSettingsFilled());
    const LineSettings& d = lineDefaultSettings();
    EXPECT_EQ(d.lineWidth, 3.25f);
    EXPECT_EQ(d.paintDry, 7.0f);
    // Empty or unreadable values keep the block defaults.
    EXPECT_EQ(d.lineDeform, 0.0f);
    EXPECT_EQ(d.lineMatID, 1);
    EXPECT_EQ(first.pblock()->GetFloat(lineParam::lineWidth), 3.25f);
    EXPECT_EQ(first.paintBlock()->GetFloat(linePaintParam::paintDry), 7.0f);
    // Afterwards the file holds every key (the line's, then the paint's), with the values in use.
    std::istringstream names(
        "material_id blend_method blend_amount blend_color map_opacity map_enable width deform stretch angle "
        "zscale_min zscale_max zscale_enable zalpha_min zalpha_max zalpha_enable line_blur line_blur_offset "
        "outline_obj_thre outline_mat_thre edge_depth_thre normal_min normal_max normal_depth "
        "zalpha_min_value zalpha_max_value paint_color_type paint_color_colorR paint_color_colorG "
        "paint_color_colorB paint_blur paint_blur_rnd paint_blur_bound paint_blur_bound_rnd paint_mix "
        "paint_mix_rnd paint_wind paint_wind_rnd paint_wind_angle paint_rnd_size_enable paint_rnd_size "
        "paint_dry paint_dry_rnd");
    std::vector<std::string> want((std::istream_iterator<std::string>(names)),
                                  std::istream_iterator<std::string>());
    std::vector<std::string> inFile = keysInFile(file);
    std::sort(want.begin(), want.end());
    std::sort(inFile.begin(), inFile.end());
    EXPECT_EQ(inFile, want);
    EXPECT_EQ(value("width", file), "3.250000");
    EXPECT_EQ(value("material_id", file), "1");
    EXPECT_EQ(value("blend_color", file), "0.100000 0.200000 0.300000");
    // Later elements neither reread nor rewrite the file.
    writePrivateProfileString(lineSettingsSection, "width", "9", file.c_str());
    LineFxElement second;
    EXPECT_EQ(second.pblock()->GetFloat(lineParam::lineWidth), 3.25f);
    EXPECT_EQ(value("width", file), "9");
    // Set as default takes the element at the host's current time and writes only its half.
    second.pblock()->SetKey(lineParam::lineAlpha, 0, 10.0f);
    second.pblock()->SetKey(lineParam::lineAlpha, 160, 45.0f);
    second.pblock()->SetValue(lineParam::lineMatID, 0, 5);
    second.paintBlock()->SetValue(linePaintParam::paintMix, 0, 30.0f);
    core.setTime(160);
    writeLineSettingsFile(second, true);
    EXPECT_EQ(d.lineAlpha, 45.0f);
    EXPECT_EQ(d.lineMatID, 5);
    EXPECT_EQ(value("blend_amount", file), "45.000000");
    EXPECT_EQ(value("material_id", file), "5");
    EXPECT_EQ(value("width", file), "3.250000");
    EXPECT_EQ(d.paintMix, 0.0f);
    EXPECT_EQ(value("paint_mix", file), "0.000000");
    writeLinePaintSettingsFile(second, true);
    EXPECT_EQ(d.paintMix, 30.0f);
    EXPECT_EQ(value("paint_mix", file), "30.000000");
    // Without the element, the defaults in memory are written as they are.
    writePrivateProfileString(lineSettingsSection, "paint_dry", "1", file.c_str());
    writeLinePaintSettingsFile(second, false);
    EXPECT_EQ(value("paint_dry", file), "7.000000");
    // New elements start from the new defaults.
    LineFxElement third;
    EXPECT_EQ(third.pblock()->GetFloat(lineParam::lineAlpha), 45.0f);
    EXPECT_EQ(third.paintBlock()->GetFloat(linePaintParam::paintMix), 30.0f);
    SetCOREInterface(nullptr);
}

}  // namespace
