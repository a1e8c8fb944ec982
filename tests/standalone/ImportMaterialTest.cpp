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

}  // namespace
