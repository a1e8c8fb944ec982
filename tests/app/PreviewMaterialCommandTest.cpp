// `vermil preview-material`: a material of a document on a sample object, rendered as a material
// editor renders it.

#include "support/CommandTestSupport.h"

#include "app/PreviewMaterialCommand.h"
#include "host/Notify.h"
#include "host/RenderGlobalContext.h"
#include "renderer/vmlRenderer.h"
#include "standalone/MaterialSample.h"
#include "standalone/SceneDocument.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

const fs::path paintedStillLife = fs::path(VML_EXAMPLES_DIR) / "still_life_painted.json";

struct Image {
    int width = 0, height = 0;
    std::vector<float> luma;  // rows top first
    float at(int x, int y) const { return luma[static_cast<std::size_t>(y) * width + x]; }
};

Image readImage(const fs::path& file)
{
    Image image;
    auto in = OIIO::ImageInput::open(file.string());
    if (!in)
        return image;
    image.width = in->spec().width, image.height = in->spec().height;
    std::vector<float> rgb(std::size_t(image.width) * image.height * 3);
    in->read_image(0, 0, 0, 3, OIIO::TypeDesc::FLOAT, rgb.data());
    for (std::size_t i = 0; i < rgb.size(); i += 3)
        image.luma.push_back(0.2126f * rgb[i] + 0.7152f * rgb[i + 1] + 0.0722f * rgb[i + 2]);
    return image;
}

// Mean of a per-pixel measure over the central disc, where only the sphere is.
template <class F> double overDisc(const Image& image, F measure)
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
        const Image p = readImage(dir / "painted.png"), s = readImage(dir / "plain.png");
        ASSERT_EQ(p.luma.size(), s.luma.size());
        auto variation = [](const Image& i) {
            return [&i](int x, int y) {
                return std::abs(i.at(x + 1, y) - i.at(x, y)) + std::abs(i.at(x, y + 1) - i.at(x, y));
            };
        };
        EXPECT_GT(overDisc(p, [&](int x, int y) { return std::abs(p.at(x, y) - s.at(x, y)); }), 0.05);
        EXPECT_GT(overDisc(p, variation(p)), 2.5 * overDisc(s, variation(s)));
    }
}

// During the frame the document's painterly renderer knows it is in the material editor and paints
// on its editor canvas; rendering the same sample as a production frame it does neither.
TEST_F(PreviewMaterialCommand, TheEditorFlagReachesThePainterlyRenderer)
{
    auto document = standalone::loadScene(paintedStillLife.string(), core);
    Mtl* material = standalone::findSceneMaterial(*document, "applePaint");
    ASSERT_NE(material, nullptr);
    standalone::SampleRenderer picked;
    std::string error;
    ASSERT_TRUE(standalone::chooseSampleRenderer(*document, *material, core, picked, error)) << error;
    EXPECT_EQ(picked.renderer, document->renderer);
    auto* painterly = dynamic_cast<vml::vmlRenderer*>(picked.renderer);
    ASSERT_NE(painterly, nullptr);

    struct Seen {
        vml::vmlRenderer* renderer;
        bool contextFlag = false, rendererFlag = false;
        const vml::vmlRasterBase* canvas = nullptr;
        std::size_t strokes = 0;
    } seen{painterly};
    auto record = [](void* param, NotifyInfo* info) {
        auto* s = static_cast<Seen*>(param);
        s->contextFlag = static_cast<RenderGlobalContext*>(info->callParam)->inMtlEdit != FALSE;
        s->rendererFlag = s->renderer->inMtlEdit();
        s->canvas = s->renderer->canvas();
        s->strokes = s->renderer->strokeCount();
    };
    RegisterNotification(record, &seen, NOTIFY_POST_RENDERFRAME);
    auto sample = standalone::makeMaterialSample(*material, standalone::SampleShape::sphere, 64);
    Bitmap bitmap;
    EXPECT_TRUE(standalone::renderMaterialSample(*sample, *painterly, bitmap).ok);
    EXPECT_TRUE(seen.contextFlag && seen.rendererFlag);
    EXPECT_GT(seen.strokes, 0u) << "painted";
    const vml::vmlRasterBase* editorCanvas = seen.canvas;

    seen.strokes = 0;
    standalone::RenderSession production(*sample, *painterly, {});
    ASSERT_TRUE(production.open(error)) << error;
    EXPECT_TRUE(production.renderFrame(0, bitmap).ok);
    UnRegisterNotification(record, &seen, NOTIFY_POST_RENDERFRAME);
    EXPECT_GT(seen.strokes, 0u);
    EXPECT_FALSE(seen.contextFlag || seen.rendererFlag);
    EXPECT_NE(seen.canvas, editorCanvas) << "the material editor paints on a canvas of its own";
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

TEST_F(PreviewMaterialCommand, WritesASquareImageOfEachShape)
{
    for (const char* shape : {"sphere", "box", "teapot"}) {
        SCOPED_TRACE(shape);
        app::PreviewMaterialOptions o = options("linenPaint", std::string(shape) + ".png");
        o.shape = shape;
        o.size = 64;
        ASSERT_EQ(run(o), 0);
        const Image image = readImage(o.output);
        EXPECT_EQ(image.width, 64);
        EXPECT_EQ(image.height, 64);
        int object = 0;
        for (float v : image.luma)
            object += std::abs(v - image.at(0, 0)) > 0.02f;
        EXPECT_GT(object, 64 * 64 / 10) << "the object against the ground (a wide, low teapot covers least)";
    }
    // A model file's own materials too.
    app::PreviewMaterialOptions o = options("Stone", "stone.png");
    o.scenePath = (fs::path(VML_FIXTURES_DIR) / "blender" / "scene.glb").string();
    o.size = 24;
    ASSERT_EQ(run(o), 0);
    EXPECT_EQ(readImage(o.output).width, 24);
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

}  // namespace
