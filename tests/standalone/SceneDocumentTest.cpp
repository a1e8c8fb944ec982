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

    StandaloneCore core;
    TempDir dir;
    std::string path;
    std::unique_ptr<Scene> scene;
};

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
