// The report that started the intake: a line settings file with width=100000 made a 320x240
// render of one outlined sphere run for over a minute. The width is held to its range (0 to 100)
// with a warning naming the file and the key (bench/line-width.sh times these frames). The line
// settings file is read once per process, at the first line element, hence a binary of its own.

#include "support/CommandTestSupport.h"

#include "app/RenderCommand.h"
#include "line/LineDefaultSettings.h"
#include "line/LineSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

// One outlined sphere, 320x240; the element takes its width from the settings file.
constexpr const char* kSphere = R"({
  "render": {"width": 320, "height": 240},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "lights": [{"name": "key", "type": "directional", "position": [-3, -5, 6], "target": [0, 0, 0]}],
  "materials": [{"name": "ball", "class": "Standard", "diffuse": [0.7, 0.3, 0.2], "gbufferId": 1}],
  "objects": [{"name": "ball", "type": "sphere", "radius": 1.5, "segments": 32, "material": "ball"}],
  "effects": [{"class": "LineFxManager", "elements": [{"type": "outline"}]}]
})";

using LineWidthRange = test_support::CommandTest;

TEST_F(LineWidthRange, AWidthFarBeyondItsRangeIsHeldWithAWarning)
{
    ASSERT_FALSE(vml::lineDefaultSettingsFilled()) << "the settings file is read once per process: run alone";
    fs::create_directories(dir / "plugcfg");
    core.setDir(APP_PLUGCFG_DIR, (dir / "plugcfg").string() + "/");
    core.setDir(APP_MACHINE_DATA_DIR, (dir / "data").string() + "/");
    const std::string ini = (dir / "plugcfg" / "vermil+_line.ini").string();
    std::ofstream(ini) << "[Vermil+ Line]\nwidth=100000\n";
    std::ofstream(dir / "sphere.json") << kSphere;

    app::RenderOptions o;
    o.scenePath = (dir / "sphere.json").string();
    o.output = (dir / "sphere.png").string();
    o.quiet = true;
    ASSERT_EQ(app::runRender(o, core), 0);
    EXPECT_EQ(vml::lineDefaultSettings().lineWidth, 100.0f);
    EXPECT_EQ(core.warnings(), std::vector<std::string>{
                                   ini + " [Vermil+ Line] width: parameter lineWidth: 100000 is outside its "
                                         "range 0 to 100; held to 100"});
    // The file is rewritten with the values in use, as before: the user finds the width held.
    EXPECT_NE(TempDir::readText(ini).find("width=100.000000"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "sphere.png"));
}

}  // namespace
