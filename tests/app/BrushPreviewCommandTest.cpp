#include "support/CommandTestSupport.h"

#include "app/BrushPreviewCommand.h"
#include "app/HostSetup.h"
#include "standalone/StandaloneCore.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

// A painterly material whose brush is a plain round tip.
constexpr const char* brushScene = R"({
  "render": {"width": 16, "height": 16},
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "maps": [{"name": "round", "class": "vmlBrush", "brushMapType": 0}],
  "materials": [{"name": "base", "class": "Standard"},
                {"name": "roundPaint", "class": "vmlMaterial", "subMaterials": ["base"], "brushMap": "round"}],
  "objects": [{"name": "a", "type": "sphere", "radius": 1, "material": "roundPaint"}]
})";

struct BrushPreviewCommand : test_support::CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        std::ofstream(dir / "scene.json") << brushScene;
    }
    app::BrushPreviewOptions options(const std::string& brush = "")
    {
        app::BrushPreviewOptions o;
        o.scenePath = (dir / "scene.json").string();
        o.brushName = brush;
        o.width = o.height = 64;
        o.output = (dir / "tip.png").string();
        return o;
    }
    // Grey level of pixel (x, y) of the written preview, 0..1.
    float grey(int x, int y)
    {
        auto in = OIIO::ImageInput::open((dir / "tip.png").string());
        EXPECT_TRUE(in);
        if (!in)
            return -1.0f;
        EXPECT_EQ(in->spec_dimensions(0).width, 64);
        std::vector<float> pixels(64 * 64 * static_cast<std::size_t>(in->spec_dimensions(0).nchannels));
        in->read_image(0, 0, 0, -1, OIIO::TypeDesc::FLOAT, pixels.data());
        return pixels[(static_cast<std::size_t>(y) * 64 + x) * in->spec_dimensions(0).nchannels];
    }
};

TEST_F(BrushPreviewCommand, DrawsTheNamedBrushWithItsSettingsAndReportsMistakes)
{
    app::BrushPreviewOptions o = options("roundPaint");
    ASSERT_EQ(app::runBrushPreview(o, core), 0);
    EXPECT_EQ(grey(0, 0), 0.0f) << "black frame";
    EXPECT_EQ(grey(32, 32), 0.0f) << "the tip's full centre";
    EXPECT_EQ(grey(3, 32), 1.0f) << "outside the round tip";
    o.settings = {"brushMapDampStart=100", "brushMapDampEnd=10"};  // a ring: light centre
    ASSERT_EQ(app::runBrushPreview(o, core), 0);
    EXPECT_EQ(grey(32, 32), 1.0f);

    for (const char* bad : {"brushMapSize", "noSuchParameter=1", "brushMapType=\"x\""}) {
        o.settings = {bad};
        EXPECT_EQ(app::runBrushPreview(o, core), 1) << bad;
    }
    // A number beyond its range is held to it, with a warning naming the setting.
    core.clearWarnings();
    o.settings = {"brushMapSize=5000"};
    EXPECT_EQ(app::runBrushPreview(o, core), 0);
    ASSERT_EQ(core.warnings().size(), 1u);
    EXPECT_EQ(
        core.warnings()[0].find("--set: /brushMapSize: parameter brushMapSize: 5000 is outside its range"),
        0u)
        << core.warnings()[0];
    EXPECT_EQ(app::runBrushPreview(options("nobody"), core), 1);
}

}  // namespace
