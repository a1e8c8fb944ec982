#include "support/DocumentTestClasses.h"
#include "support/TestShadeContext.h"

#include "host/Interface.h"
#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>

using namespace standalone;
using namespace test_support;
using test_support::expectNear;

namespace {

// A still life using every section of the format.
const char* kStillLife = R"json({
  // Comments are allowed.
  "render": {"width": 320, "height": 240, "antialias": false, "output": "out/still.png", "frameRate": 24,
             "renderer": {"class": "TestRenderer", "quality": 7}},
  "environment": {"background": [0.1, 0.2, 0.3], "backgroundAlpha": 0, "ambient": 0.2, "map": "sky"},
  "camera": {"type": "perspective", "fov": 50, "position": [10, -10, 6], "target": [0, 0, 1]},
  "lights": [
    {"name": "key", "type": "spot", "color": [1, 0.9, 0.8], "multiplier": 1.5, "position": [5, -5, 8],
     "target": [0, 0, 0], "hotspot": 30, "falloff": 40, "castShadows": false, "shadowBias": 0.01,
     "decayStart": 2},
    {"name": "fill", "type": "ambient", "color": 0.25}
  ],
  "materials": [
    {"name": "wood", "class": "TestMtl", "diffuse": [0.6, 0.4, 0.2], "glossiness": 0.5, "layers": 3,
     "twoSided": true, "tint": [1, 0.5, 0.25, 0.5], "offset": [1, 2, 3], "label": "oak",
     "texture": "textures/oak.png", "diffuseMap": "grain", "coat": "glaze", "focus": "pot",
     "weights": [0.25, 0.75], "maps": ["sky", {"class": "TestMap"}], "angle": -45, "gbufferId": 7},
    {"name": "glaze", "class": "TestMtl", "diffuse": {"keys": [[0, [1, 0, 0]], [12, [0, 0, 1]]]}}
  ],
  "maps": [
    {"name": "sky", "class": "TestMap", "color": [0.5, 0.6, 1]},
    {"name": "grain", "class": "TestMap", "scale": {"keys": [[0, 1], [24, 5]]},
     "source": {"class": "TestMap", "scale": 2}}
  ],
  "objects": [
    {"name": "table", "type": "box", "width": 4, "length": 3, "height": 0.2, "material": "wood",
     "position": [0, 0, -0.2]},
    {"name": "pot", "type": "teapot", "segments": 3, "parent": "table", "position": [0, 0, 0.2],
     "rotation": [0, 0, 90], "scale": 0.5, "material": "glaze", "gbufferId": 3},
    {"name": "ball", "type": "sphere", "radius": 0.3, "parent": "pot", "position": [1, 0, 0],
     "renderable": false, "hidden": true, "material": {"class": "TestMtl", "layers": 2}},
    {"name": "closeup", "type": "camera", "projection": "orthographic", "width": 5,
     "position": [0, -10, 2], "rotation": [90, 0, 0]}
  ],
  "effects": [{"class": "TestEffect", "name": "glow", "strength": 2}],
  "renderElements": ["TestElement", {"class": "TestElement", "name": "depth"}]
})json";

class SceneDocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        SetCOREInterface(&core);
        registerTestClasses(core);
        path = dir.write("scenes/still_life.json", kStillLife);
        scene = loadScene(path, core);
    }
    void TearDown() override { SetCOREInterface(nullptr); }

    Point3 worldPosition(const char* name) { return scene->findNode(name)->GetNodeTM(0).GetTrans(); }

    StandaloneCore core;
    TempDir dir;
    std::string path;
    std::unique_ptr<Scene> scene;
};

TEST_F(SceneDocumentTest, RenderSettingsPluginRendererAndEnvironment)
{
    const RenderSettings& r = scene->render;
    EXPECT_EQ(r.height, 240);
    EXPECT_FALSE(r.antialias);
    EXPECT_EQ(core.GetFrameRate(), 24);
    // Relative to the document's folder, not the working directory.
    EXPECT_EQ(r.output, (dir.path() / "scenes/out/still.png").string());
    EXPECT_EQ(r.renderer, "TestRenderer");
    ASSERT_NE(scene->renderer, nullptr);
    EXPECT_EQ(blockOf(scene->renderer)->GetInt(0), 7);
    EXPECT_STREQ(blockOf(scene->renderer)->GetStr(1), "oil");  // untouched parameters keep defaults

    const Environment& e = scene->environment;
    EXPECT_EQ(e.background, Color(0.1f, 0.2f, 0.3f));
    EXPECT_EQ(e.ambient, Color(0.2f, 0.2f, 0.2f));
    EXPECT_EQ(e.map->GetName(), "sky");
}

TEST_F(SceneDocumentTest, HierarchyComposesTransforms)
{
    SceneNode* table = scene->findNode("table");
    SceneNode* pot = scene->findNode("pot");
    SceneNode* ball = scene->findNode("ball");
    ASSERT_TRUE(table && pot && ball);
    EXPECT_EQ(table->GetParentNode(), scene->root());
    expectNear(worldPosition("table"), {0, 0, -0.2f});
    expectNear(worldPosition("pot"), {0, 0, 0});
    // One unit along the pot's X: halved by its scale, turned onto +Y by its 90 degrees about Z.
    expectNear(worldPosition("ball"), {0, 0.5f, 0});
    const Matrix3 potTM = pot->GetNodeTM(0);
    expectNear(potTM.VectorTransform({0, 0, 1}), {0, 0, 0.5f});

    EXPECT_EQ(pot->GetGBufferID(), 3u);
    EXPECT_TRUE(!ball->Renderable() && ball->IsHidden());
    ASSERT_NE(table->mesh(), nullptr);
    float top = -1e9f;
    for (const Point3& v : table->mesh()->verts)
        top = std::max(top, v.z);
    EXPECT_NEAR(top, 0.2f, 1e-6f);
    EXPECT_NE(pot->mesh(), nullptr);
}

TEST_F(SceneDocumentTest, CamerasFrameTheirTargets)
{
    SceneNode* main = scene->findNode("camera");
    ASSERT_TRUE(main && main->camera.has_value());
    EXPECT_EQ(main->camera->fov, 50.0f);
    // No "render.camera": the main camera is the one to render from.
    EXPECT_EQ(scene->camera, main);

    // The target lies on the view axis, so it projects to the image centre; world up is up.
    const Matrix3 worldToCam = Inverse(main->GetNodeTM(0));
    const Point3 target = Point3(0, 0, 1) * worldToCam;
    EXPECT_NEAR(target.x, 0.0f, 1e-5f);
    EXPECT_NEAR(target.y, 0.0f, 1e-5f);
    EXPECT_NEAR(target.z, -Length(Point3(10, -10, 5)), 1e-4f);
    EXPECT_GT((Point3(0, 0, 2) * worldToCam).y, 0.0f);
    EXPECT_NEAR((Point3(1, 1, 1) * worldToCam).y, 0.0f, 1e-5f);  // horizontal: no roll

    SceneNode* closeup = scene->findNode("closeup");
    ASSERT_TRUE(closeup && closeup->camera);
    EXPECT_TRUE(closeup->camera->orthographic);
    // 90 degrees about X turns the view from straight down to along +Y.
    expectNear(Point3(0, 0, 2) * Inverse(closeup->GetNodeTM(0)), {0, 0, -10});
}

TEST_F(SceneDocumentTest, LightsKeepTheirSettingsAndAim)
{
    SceneNode* key = scene->findNode("key");
    ASSERT_TRUE(key && key->light);
    const LightSettings& l = *key->light;
    EXPECT_EQ(l.type, LightType::spot);
    EXPECT_EQ(l.color, Color(1, 0.9f, 0.8f));
    EXPECT_FALSE(l.castShadows);
    EXPECT_EQ(l.falloff, 40.0f);
    // Spot lights shine down their local -z.
    const Matrix3 tm = key->GetNodeTM(0);
    expectNear(Normalize(-tm.GetRow(2)), Normalize(Point3(-5, 5, -8)));
    expectNear(tm.GetTrans(), {5, -5, 8});

    SceneNode* fill = scene->findNode("fill");
    ASSERT_TRUE(fill && fill->light);
    EXPECT_EQ(fill->light->color, Color(0.25f, 0.25f, 0.25f));
    EXPECT_TRUE(fill->light->castShadows);  // default
}

TEST_F(SceneDocumentTest, MaterialParametersAreSetByScriptName)
{
    Mtl* wood = scene->findNode("table")->GetMtl();
    ASSERT_NE(wood, nullptr);
    EXPECT_EQ(wood->GetGBufferID(), 7u);
    IParamBlock2* b = blockOf(wood);
    EXPECT_EQ(b->GetColor(mtl_diffuse), Color(0.6f, 0.4f, 0.2f));
    EXPECT_EQ(b->GetFloat(mtl_glossiness), 0.5f);
    EXPECT_EQ(b->GetInt(mtl_twoSided), 1);
    EXPECT_EQ(b->GetAColor(mtl_tint), AColor(1, 0.5f, 0.25f, 0.5f));
    EXPECT_EQ(b->GetPoint3(mtl_offset), Point3(1, 2, 3));
    EXPECT_STREQ(b->GetStr(mtl_label), "oak");
    EXPECT_EQ(std::string(b->GetStr(mtl_texture)), (dir.path() / "scenes/textures/oak.png").string());
    EXPECT_EQ(b->GetFloat(mtl_angle), -45.0f);

    Mtl* glaze = scene->findNode("pot")->GetMtl();
    ASSERT_NE(glaze, nullptr);
    EXPECT_EQ(b->GetReferenceTarget(mtl_coat), glaze);  // named materials are shared, not copied
    EXPECT_EQ(b->GetReferenceTarget(mtl_focus), scene->findNode("pot"));
    auto* grain = dynamic_cast<Texmap*>(b->GetReferenceTarget(mtl_diffuseMap));
    ASSERT_NE(grain, nullptr);
    EXPECT_EQ(grain->GetName(), "grain");

    ASSERT_EQ(b->Count(mtl_weights), 2);
    EXPECT_EQ(b->GetFloat(mtl_weights, 0, 1), 0.75f);
    ASSERT_EQ(b->Count(mtl_maps), 2);
    EXPECT_EQ(b->GetReferenceTarget(mtl_maps, 0, 0), scene->environment.map);
    ASSERT_NE(b->GetReferenceTarget(mtl_maps, 0, 1), nullptr);
    EXPECT_NE(b->GetReferenceTarget(mtl_maps, 0, 1), scene->environment.map);

    // Inline objects belong to their user alone.
    Mtl* ballMtl = scene->findNode("ball")->GetMtl();
    ASSERT_NE(ballMtl, nullptr);
    EXPECT_NE(ballMtl, wood);
    EXPECT_EQ(blockOf(ballMtl)->GetInt(mtl_layers), 2);
}

TEST_F(SceneDocumentTest, KeysAreFramesAtTheDocumentsFrameRate)
{
    IParamBlock2* glaze = blockOf(scene->findNode("pot")->GetMtl());
    ASSERT_EQ(glaze->GetKeyCount(mtl_diffuse), 2);
    EXPECT_EQ(glaze->GetKeyTime(mtl_diffuse, 1), 12 * 4800 / 24);
    const Color mid = glaze->GetColor(mtl_diffuse, 6 * 4800 / 24);
    EXPECT_NEAR(mid.r, 0.5f, 1e-5f);

    IParamBlock2* grain =
        blockOf(blockOf(scene->findNode("table")->GetMtl())->GetReferenceTarget(mtl_diffuseMap));
    ASSERT_EQ(grain->GetKeyCount(map_scale), 2);
    EXPECT_EQ(grain->GetKeyTime(map_scale, 1), 4800);
    EXPECT_NEAR(grain->GetFloat(map_scale, 2400), 3.0f, 1e-5f);
    IParamBlock2* source = blockOf(grain->GetReferenceTarget(map_source));
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->GetKeyCount(map_scale), 0);
}

TEST_F(SceneDocumentTest, EffectsAndRenderElementsInDocumentOrder)
{
    ASSERT_EQ(scene->effects.size(), 1u);
    EXPECT_EQ(scene->effects[0]->GetName(), "glow");
    EXPECT_EQ(blockOf(scene->effects[0])->GetFloat(0), 2.0f);
    ASSERT_EQ(scene->renderElements.size(), 2u);
    EXPECT_STREQ(scene->renderElements[0]->ElementName(), "Test Element");  // the class's own name
    EXPECT_STREQ(scene->renderElements[1]->ElementName(), "depth");
}

TEST(SceneDocument, RenderCameraSelectsANamedCameraAndScanlineMeansNoPlugin)
{
    StandaloneCore core;
    core.setQuietMode(true);
    auto scene = parseScene(R"({
        "render": {"camera": "side", "renderer": "scanline"},
        "camera": {"position": [0, 0, 10]},
        "objects": [{"name": "side", "type": "camera", "position": [10, 0, 0], "target": [0, 0, 0]}]
    })",
                            "", core);
    EXPECT_EQ(scene->camera, scene->findNode("side"));
    EXPECT_EQ(scene->render.renderer, "scanline");
    EXPECT_EQ(scene->renderer, nullptr);
    // Without a target or rotation a camera looks straight down.
    expectNear(Point3(0, 0, 0) * Inverse(scene->findNode("camera")->GetNodeTM(0)), {0, 0, -10});
}

TEST(SceneDocument, KeyedTransformsAndAnAimedCameraFollowTheirKeys)
{
    StandaloneCore core;
    auto scene = parseScene(R"({
      "render": {"frameRate": 24},
      "camera": {"position": {"keys": [[0, [10, 0, 0]], [12, [0, 10, 0]]]}, "target": [0, 0, 0]},
      "objects": [
        {"name": "ball", "type": "sphere", "position": {"keys": [[0, [0, 0, 0]], [24, [4, 0, 0]]]}},
        {"name": "spin", "type": "box", "rotation": {"keys": [[0, [0, 0, 0]], [10, [0, 0, 90]]]},
         "scale": {"keys": [[0, 1], [10, [1, 1, 3]]]}}
      ]
    })",
                            "doc.json", core);
    const TimeValue frame = TIME_TICKSPERSEC / 24;
    SceneNode* ball = scene->findNode("ball");
    expectNear(ball->GetNodeTM(0).GetTrans(), {0, 0, 0}, 1e-4f);
    expectNear(ball->GetNodeTM(6 * frame).GetTrans(), {1, 0, 0}, 1e-4f);
    expectNear(ball->GetNodeTM(30 * frame).GetTrans(), {4, 0, 0}, 1e-4f);  // held after the last key
    Matrix3 half = scene->findNode("spin")->GetNodeTM(5 * frame);
    expectNear(Normalize(half.GetRow(0)), Normalize(Point3(1, 1, 0)), 1e-4f);
    EXPECT_NEAR(half.GetRow(2).Length(), 2.0f, 1e-4f);
    // The camera stays aimed at the target while it moves.
    for (int f : {0, 5, 12}) {
        Matrix3 cam = scene->camera->GetNodeTM(f * frame);
        expectNear(Normalize(-cam.GetRow(2)), Normalize(Point3() - cam.GetTrans()), 2e-3f);
    }
}

// Every value of a valid document, swapped for values of other forms, either still loads or fails
// with a SceneError: never a crash or another exception.
TEST(SceneDocument, AnyValueReplacedLoadsOrFailsCleanly)
{
    StandaloneCore core;
    core.setQuietMode(true);
    SetCOREInterface(&core);
    registerTestClasses(core);
    TempDir dir;
    const std::string path = (dir.path() / "still_life.json").string();
    const auto original = nlohmann::ordered_json::parse(kStillLife, nullptr, true, true);
    const nlohmann::ordered_json replacements[] = {
        nullptr,   "x", -1, 0, 1e30, nlohmann::ordered_json::array(), nlohmann::ordered_json::object(),
        {1, 2, 3}, true};
    int loaded = 0, failed = 0;
    std::function<void(const nlohmann::ordered_json::json_pointer&, const nlohmann::ordered_json&)> visit =
        [&](const auto& at, const nlohmann::ordered_json& v) {
            for (const auto& r : replacements) {
                auto doc = original;
                doc[at] = r;
                try {
                    parseScene(doc.dump(), path, core);
                    ++loaded;
                } catch (const SceneError&) {
                    ++failed;
                }
            }
            if (v.is_object())
                for (auto it = v.begin(); it != v.end(); ++it)
                    visit(at / it.key(), it.value());
            else if (v.is_array())
                for (std::size_t i = 0; i < v.size(); ++i)
                    visit(at / i, v[i]);
        };
    for (auto it = original.begin(); it != original.end(); ++it)
        visit(nlohmann::ordered_json::json_pointer("/" + it.key()), it.value());
    EXPECT_GT(failed, 0);
    EXPECT_GT(loaded, 0);  // some replacements are valid (optional sections dropped, other numbers)
    SetCOREInterface(nullptr);
}

}  // namespace
