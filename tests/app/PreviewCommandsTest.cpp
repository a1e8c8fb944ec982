// `vermil preview-material`, a material of a document on a sample object rendered as a material
// editor renders it, and `vermil brush-preview`, a brush's tip.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/BrushPreviewCommand.h"
#include "app/PreviewMaterialCommand.h"
#include "renderer/vmlRenderer.h"
#include "standalone/MaterialSample.h"
#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

const fs::path paintedStillLife = fs::path(VML_EXAMPLES_DIR) / "still_life_painted.json";

// Mean of a per-pixel measure over the central disc, where only the sphere is.
template <class F> double overDisc(const ReadImage& image, F measure)
{
    const double centre = (image.width - 1) * 0.5;
    double sum = 0.0;
    int n = 0;
    for (int y = 1; y < image.height - 1; ++y)
        for (int x = 1; x < image.width - 1; ++x)
            if (std::hypot(x - centre, y - centre) < image.width * 0.3)
                sum += measure(x, y), ++n;
    return n ? sum / n : 0.0;
}

struct PreviewMaterialCommand : test_support::CommandTest {
    app::PreviewMaterialOptions options(const std::string& material, const std::string& output)
    {
        app::PreviewMaterialOptions o;
        o.scenePath = paintedStillLife.string();
        o.material = material;
        o.size = 96;
        o.output = (dir / output).string();
        o.quiet = true;
        return o;
    }
    // The command's exit code; what it printed on stderr goes to err.
    int run(const app::PreviewMaterialOptions& o, std::string* err = nullptr)
    {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int code = app::runPreviewMaterial(o, core);
        ::testing::internal::GetCapturedStdout();
        const std::string text = ::testing::internal::GetCapturedStderr();
        if (err)
            *err = text;
        return code;
    }
};

// Against its base standard material under the same renderer, the painted sphere differs inside
// and its brush marks vary more from pixel to pixel than smooth shading does.
TEST_F(PreviewMaterialCommand, PaintedSpheresShowStrokesNotThePlainShading)
{
    for (const auto& [painted, base] : {std::pair{"brassPaint", "brass"}, std::pair{"glazePaint", "glaze"}}) {
        SCOPED_TRACE(painted);
        ASSERT_EQ(run(options(painted, "painted.png")), 0);
        ASSERT_EQ(run(options(base, "plain.png")), 0);
        const ReadImage p = readImage(dir / "painted.png"), s = readImage(dir / "plain.png");
        ASSERT_EQ(p.luma.size(), s.luma.size());
        auto variation = [](const ReadImage& i) {
            return [&i](int x, int y) {
                return std::abs(i.at(x + 1, y) - i.at(x, y)) + std::abs(i.at(x, y + 1) - i.at(x, y));
            };
        };
        EXPECT_GT(overDisc(p, [&](int x, int y) { return std::abs(p.at(x, y) - s.at(x, y)); }), 0.05);
        EXPECT_GT(overDisc(p, variation(p)), 2.5 * overDisc(s, variation(s)));
    }
}

// Without a plug-in renderer in the document, a painterly material gets the painterly renderer.
TEST_F(PreviewMaterialCommand, ScanlineDocumentsPaintPainterlyMaterialsAndShadePlainOnes)
{
    std::ofstream(dir / "scene.json") << R"({
      "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
      "materials": [{"name": "base", "class": "Standard"},
                    {"name": "basePaint", "class": "vmlMaterial", "subMaterials": ["base"]}],
      "objects": [{"name": "ball", "type": "sphere", "material": "basePaint"}]})";
    auto document = standalone::loadScene((dir / "scene.json").string(), core);
    for (const auto& [name, renderer] :
         {std::pair{"basePaint", "vmlRenderer"}, std::pair{"base", "scanline"}}) {
        standalone::SampleRenderer picked;
        std::string error;
        ASSERT_TRUE(standalone::chooseSampleRenderer(
            *document, *standalone::findSceneMaterial(*document, name), core, picked, error));
        EXPECT_EQ(picked.className, renderer);
        EXPECT_EQ(picked.renderer, picked.owned.get());
        EXPECT_EQ(dynamic_cast<vml::vmlRenderer*>(picked.renderer) != nullptr,
                  picked.className == "vmlRenderer");
    }
}

TEST_F(PreviewMaterialCommand, MistakesAreReportedAndWriteNothing)
{
    std::string err;
    EXPECT_EQ(run(options("applPaint", "a.png"), &err), 1);
    EXPECT_NE(err.find("no material named \"applPaint\""), std::string::npos) << err;
    for (const char* listed : {"applePaint", "apple", "glazePaint", "ground"})
        EXPECT_NE(err.find(listed), std::string::npos) << listed << " listed in: " << err;
    app::PreviewMaterialOptions o = options("applePaint", "a.png");
    o.shape = "cone";
    EXPECT_EQ(run(o, &err), 1);
    EXPECT_NE(err.find("sphere, box, teapot"), std::string::npos) << err;
    for (int size : {standalone::kMinSampleSize - 1, standalone::kMaxSampleSize + 1}) {
        o = options("applePaint", "a.png");
        o.size = size;
        EXPECT_EQ(run(o, &err), 1) << size;
        EXPECT_NE(err.find("--size"), std::string::npos) << err;
    }
    o = options("applePaint", "a.png");
    o.scenePath = (dir / "missing.json").string();
    EXPECT_EQ(run(o, &err), 1);
    EXPECT_NE(err.find("missing.json"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "a.png"));
}

// A painterly material whose brush is a plain round tip.
constexpr const char* brushScene = R"({
  "camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
  "maps": [{"name": "round", "class": "vmlBrush", "brushMapType": 0}],
  "materials": [{"name": "base", "class": "Standard"},
                {"name": "roundPaint", "class": "vmlMaterial", "subMaterials": ["base"], "brushMap": "round"}],
  "objects": [{"name": "a", "type": "sphere", "radius": 1, "material": "roundPaint"}]
})";

using BrushPreviewCommand = test_support::CommandTest;

TEST_F(BrushPreviewCommand, DrawsTheNamedBrushWithItsSettingsAndReportsMistakes)
{
    std::ofstream(dir / "scene.json") << brushScene;
    app::BrushPreviewOptions o;
    o.scenePath = (dir / "scene.json").string();
    o.brushName = "roundPaint";
    o.width = o.height = 64;
    o.output = (dir / "tip.png").string();
    ASSERT_EQ(app::runBrushPreview(o, core), 0);
    const ReadImage tip = readImage(o.output);
    ASSERT_EQ(tip.width, 64);
    EXPECT_FLOAT_EQ(tip.at(0, 0), 0.0f) << "black frame";
    EXPECT_FLOAT_EQ(tip.at(32, 32), 0.0f) << "the tip's full centre";
    EXPECT_FLOAT_EQ(tip.at(3, 32), 1.0f) << "outside the round tip";
    o.settings = {"brushMapDampStart=100", "brushMapDampEnd=10"};  // a ring: light centre
    ASSERT_EQ(app::runBrushPreview(o, core), 0);
    EXPECT_FLOAT_EQ(readImage(o.output).at(32, 32), 1.0f);
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
    o.brushName = "nobody";
    EXPECT_EQ(app::runBrushPreview(o, core), 1);
}

}  // namespace
