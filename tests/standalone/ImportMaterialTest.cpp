#include "support/AssimpModels.h"
#include "support/ImportTestSupport.h"
#include "support/TestShadeContext.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/StdMat2.h"
#include "standalone/import/MaterialImport.h"
#include "standalone/import/ModelImport.h"
#include "standalone/maps/BitmapMap.h"

#include <assimp/material.h>

#include "standalone/HighlightLobe.h"

#include <cmath>
#include <limits>

using namespace standalone;
using namespace test_support;
using nlohmann::json;
using test_support::expectColor;

namespace {

// A parameter of the material's block by script name.
template <class T> T param(ReferenceTarget* mtl, const char* name)
{
    IParamBlock2* block = mtl->GetParamBlock(0);
    const ParamDef* def = block->GetDesc()->FindParam(name);
    EXPECT_NE(def, nullptr) << name;
    T value{};
    Interval valid = FOREVER;
    block->GetValue(def->id, 0, value, valid);
    return value;
}

Mtl* onlyMaterial(const ImportResult& model)
{
    EXPECT_EQ(model.materials.size(), 1u);
    return model.materials.empty() ? nullptr : model.materials.front();
}

using MaterialImport = ImportFixture;

TEST_F(MaterialImport, PbrMaterialBecomesAStandardMaterial)
{
    Gltf gltf;
    const int paint = gltf.add(
        "materials",
        {{"name", "Paint"},
         {"doubleSided", true},
         {"emissiveFactor", {0.4, 0.1, 0.05}},
         {"pbrMetallicRoughness",
          {{"baseColorFactor", {0.8, 0.2, 0.1, 1}}, {"metallicFactor", 0.5}, {"roughnessFactor", 0.25}}}});
    gltf.node({{"name", "Panel"}, {"mesh", unitSquare(gltf, paint)}});
    Scene scene;
    const ImportResult model = importModel(dir.write("paint.gltf", gltf.text()), scene, core);
    Mtl* mtl = onlyMaterial(model);
    ASSERT_NE(mtl, nullptr);
    EXPECT_EQ(mtl->ClassID(), DMTL_CLASS_ID);
    EXPECT_EQ(scene.findNode("Panel")->GetMtl(), mtl);
    expectColor(param<Color>(mtl, "ambient"), Color(0.8f, 0.2f, 0.1f));
    expectColor(param<Color>(mtl, "specular"), Color(0.9f, 0.6f, 0.55f));  // half way to metal
    // Roughness 0.25: GGX alpha 1/16, Blinn exponent 2 * 16^2 - 2 = 510; F0 half way to metal, 0.52.
    EXPECT_NEAR(param<float>(mtl, "glossiness"), (std::log2(510.0f) - 1.0f) * 10.0f, 1e-3f);
    EXPECT_NEAR(param<float>(mtl, "specularLevel"), 100.0f * 0.52f * 64.0f / std::sqrt(512.0f / 6.0f), 1e-2f);
    EXPECT_NEAR(param<float>(mtl, "selfIllum"), 50.0f, 1e-3f);  // emissive 0.4 of diffuse 0.8
    EXPECT_EQ(param<int>(mtl, "twoSided"), 1);
}

TEST_F(MaterialImport, PhongMaterialAndItsTextureFileFromAnObjAndMtl)
{
    test_support::writePng(dir.path() / "textures/grid.png", 2, 1, {255, 0, 0, 0, 0, 255});
    dir.write("box.mtl", "newmtl Glaze\nKd 0.2 0.4 0.6\nKs 0.5 0.5 0.5\nNs 64\nd 0.5\n"
                         "map_Kd textures\\grid.png\n");
    const std::string obj = dir.write("box.obj", "mtllib box.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                                                 "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                                 "usemtl Glaze\nf 1/1 2/2 3/3 4/4\n");
    Scene scene;
    const ImportResult model = importModel(obj, scene, core);
    Mtl* mtl = onlyMaterial(model);
    ASSERT_NE(mtl, nullptr);
    expectColor(param<Color>(mtl, "diffuse"), Color(0.2f, 0.4f, 0.6f));
    EXPECT_NEAR(param<float>(mtl, "glossiness"), 50.0f, 1e-3f);  // exponent 64 = 2^(10 g + 1)
    EXPECT_NEAR(param<float>(mtl, "specularLevel"), 100.0f, 1e-3f);
    EXPECT_NEAR(param<float>(mtl, "opacity"), 50.0f, 1e-3f);

    auto* standard = dynamic_cast<StdMat2*>(mtl);
    ASSERT_NE(standard, nullptr);
    auto* map = dynamic_cast<BitmapMap*>(standard->GetSubTexmap(ID_DI));
    ASSERT_NE(map, nullptr) << "the backslash path found textures/grid.png";
    EXPECT_TRUE(map->loaded());
    EXPECT_EQ(standard->GetSubTexmap(ID_AM), map) << "ambient follows diffuse";
    EXPECT_EQ(param<std::string>(map, "fileName"), (dir.path() / "textures/grid.png").string());
    EXPECT_TRUE(model.warnings.empty());
}

TEST_F(MaterialImport, AMissingTextureIsAWarningNotAFailure)
{
    dir.write("box.mtl", "newmtl Clay\nKd 0.7 0.5 0.3\nmap_Kd C:\\somewhere\\else\\missing.png\n");
    const std::string obj = dir.write("box.obj", "mtllib box.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nvt 0 0\nvt 1 0\n"
                                                 "vt 1 1\nusemtl Clay\nf 1/1 2/2 3/3\n");
    Scene scene;
    const ImportResult model = importModel(obj, scene, core);
    Mtl* mtl = onlyMaterial(model);
    ASSERT_NE(mtl, nullptr);
    EXPECT_EQ(dynamic_cast<StdMat2*>(mtl)->GetSubTexmap(ID_DI), nullptr);
    expectColor(param<Color>(mtl, "diffuse"), Color(0.7f, 0.5f, 0.3f));
    ASSERT_EQ(model.warnings.size(), 1u);
    EXPECT_NE(model.warnings[0].find("missing.png"), std::string::npos) << model.warnings[0];
}

TEST_F(MaterialImport, EmbeddedTextureIsReadFromMemory)
{
    Scene scene;
    const ImportResult model = importModel(test_support::boxTexturedGlb, scene, core);
    Mtl* mtl = onlyMaterial(model);
    ASSERT_NE(mtl, nullptr);
    auto* map = dynamic_cast<BitmapMap*>(dynamic_cast<StdMat2*>(mtl)->GetSubTexmap(ID_DI));
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->loaded());
    EXPECT_EQ(param<std::string>(map, "fileName"), "");
    // The logo: sky at the top of the image, grass at the bottom.
    test_support::TestShadeContext sc;
    sc.uvw = Point3(0.5f, 0.8f, 0);
    const AColor sky = map->EvalColor(sc);
    sc.uvw = Point3(0.5f, 0.2f, 0);
    const AColor grass = map->EvalColor(sc);
    EXPECT_GT(sky.b, sky.r + 0.2f);
    EXPECT_GT(grass.g, grass.b + 0.2f);
}

TEST(StandardValues, PhongAndEmissiveEdgeCases)
{
    {
        aiMaterial m;
        const aiColor3D specular(1, 1, 1);
        const float shininess = 0;
        m.AddProperty(&specular, 1, AI_MATKEY_COLOR_SPECULAR);
        m.AddProperty(&shininess, 1, AI_MATKEY_SHININESS);
        EXPECT_EQ(import::standardValues(m).specularLevel, 0.0f) << "no shininess, no highlight";
    }
    {
        aiMaterial m;
        const aiColor3D black(0, 0, 0), glow(0.3f, 0.6f, 0.9f);
        m.AddProperty(&black, 1, AI_MATKEY_COLOR_DIFFUSE);
        m.AddProperty(&glow, 1, AI_MATKEY_COLOR_EMISSIVE);
        const import::StandardValues v = import::standardValues(m);
        // A black diffuse cannot glow: the emission becomes the diffuse, fully self-illuminated.
        expectColor(v.diffuse, Color(0.3f, 0.6f, 0.9f));
        EXPECT_EQ(v.selfIllum, 1.0f);
    }
    {
        aiMaterial m;
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const aiColor3D broken(nan, 0.5f, 0.5f), negative(-1, 0.5f, 0.5f);
        const float opacity = 7;
        m.AddProperty(&broken, 1, AI_MATKEY_COLOR_DIFFUSE);
        m.AddProperty(&negative, 1, AI_MATKEY_COLOR_SPECULAR);
        m.AddProperty(&opacity, 1, AI_MATKEY_OPACITY);
        const import::StandardValues v = import::standardValues(m);
        EXPECT_FALSE(v.hasDiffuse);
        expectColor(v.specular, Color(1, 1, 1));
        EXPECT_EQ(v.opacity, 1.0f);
    }
}

// The highlight peaks where a GGX lobe of the same roughness does, relative to a white diffuse
// surface: F0 / (4 roughness^4), F0 0.04 for dielectrics and 1 for metals. A rough dielectric
// keeps a faint sheen; a smooth metal a bright spot.
TEST(PbrHighlight, PeaksWhereTheGgxLobeDoes)
{
    for (float roughness : {0.3f, 0.6f, 0.9f})
        for (float metal : {0.0f, 1.0f}) {
            SCOPED_TRACE(testing::Message() << "roughness " << roughness << ", metalness " << metal);
            const import::PbrHighlight h = import::pbrHighlight(roughness, metal);
            const float peak = h.level * std::sqrt((HighlightLobe::exponent(h.glossiness) + 2.0f) / 6.0f);
            const float want = (metal > 0.0f ? 1.0f : 0.04f) / (4.0f * std::pow(roughness, 4.0f));
            EXPECT_NEAR(peak, want, 1e-3f * want);
        }
    EXPECT_LT(import::pbrHighlight(0.6f, 0.0f).level, 0.06f);
    EXPECT_EQ(import::pbrHighlight(0.0f, 1.0f).level, 9.99f) << "a mirror is held to the highest level";
}

}  // namespace
