// vmlMaterial in scene documents: made by class name, parameters by script name, and the base
// material through the reserved key "subMaterials".

#include "support/MaterialTestSupport.h"

#include "host/Bitmap.h"
#include "material/vmlMaterialParamBlocks.h"
#include "standalone/RenderJob.h"
#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace test_support;

using namespace vml;

namespace {

std::string document(const std::string& material)
{
    return R"({
      "render": {"width": 40, "height": 30, "antialias": false},
      "environment": {"background": [0.1, 0.1, 0.2], "ambient": 0.05},
      "camera": {"position": [0, -5, 0], "target": [0, 0, 0], "fov": 40},
      "lights": [{"name": "key", "type": "omni", "position": [-3, -4, 3]}],
      "materials": [{"name": "porcelain", "class": "Standard", "diffuse": [0.9, 0.6, 0.3],
                     "specularLevel": 60, "glossiness": 40},
                    {"name": "paint", "class": "vmlMaterial", "subMaterials": ["porcelain"], "brushSize": 12}],
      "objects": [{"name": "ball", "type": "sphere", "radius": 1, "segments": 24, "material": ")" +
           material + R"("}]
    })";
}

class MaterialSceneDocument : public test_support::MaterialFixture {
protected:
    std::unique_ptr<standalone::Scene> parse(const std::string& text)
    {
        return standalone::parseScene(text, "scene.json", core);
    }
    std::string errorOf(const std::string& text)
    {
        try {
            parse(text);
        } catch (const standalone::SceneError& e) {
            return std::string(e.what());
        }
        return "no error";
    }
};

TEST_F(MaterialSceneDocument, SubMaterialErrorsNameThePath)
{
    const std::pair<const char*, const char*> cases[] = {
        {R"({"materials": [{"name": "a", "class": "Standard"},
                           {"name": "paint", "class": "vmlMaterial", "subMaterials": ["a", "a"]}]})",
         "scene.json: /materials/1/subMaterials/1: class vmlMaterial has only 1 sub-material"},
        {R"({"materials": [{"name": "a", "class": "Standard", "subMaterials": [null]}]})",
         "scene.json: /materials/0/subMaterials/0: class Standard has no sub-materials"},
        {R"({"materials": [{"name": "paint", "class": "vmlMaterial", "subMaterials": "a"}]})",
         "/materials/0/subMaterials: expected an array of sub-materials"},
        {R"({"materials": [{"name": "paint", "class": "vmlMaterial", "subMaterials": ["nothing"]}]})",
         "/materials/0/subMaterials/0: no material named \"nothing\""}};
    for (const auto& [text, error] : cases)
        EXPECT_NE(errorOf(text).find(error), std::string::npos) << errorOf(text);
}

// With the host's own renderer (no painterly frame) and default settings the material shades as
// its base material: full lighting, no base colour, reflection or highlight.
TEST_F(MaterialSceneDocument, OutsideAPainterlyFrameItLooksLikeItsBaseMaterial)
{
    auto wrapped = parse(document("paint"));
    auto plain = parse(document("porcelain"));
    Bitmap a, b;
    standalone::RenderJobOptions options;
    options.threads = 1;
    ASSERT_TRUE(standalone::renderScanline(*wrapped, a, options).ok);
    ASSERT_TRUE(standalone::renderScanline(*plain, b, options).ok);
    ASSERT_EQ(a.Width(), 40);
    int covered = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            BMM_Color_64 pa, pb;
            a.GetPixels(x, y, 1, &pa);
            b.GetPixels(x, y, 1, &pb);
            // 16-bit channels; un-premultiplying and premultiplying again may cost a step.
            EXPECT_LE(std::abs(int(pa.r) - int(pb.r)), 2) << x << "," << y;
            EXPECT_LE(std::abs(int(pa.g) - int(pb.g)), 2) << x << "," << y;
            EXPECT_LE(std::abs(int(pa.b) - int(pb.b)), 2) << x << "," << y;
            EXPECT_EQ(pa.a, pb.a) << x << "," << y;
            covered += pb.r > 0.5 * 65535 ? 1 : 0;
        }
    }
    EXPECT_GT(covered, 100) << "the ball is lit and in view";
}

}  // namespace
