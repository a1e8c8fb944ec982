#include "app/PaintOptions.h"

#include "host/Mtl.h"
#include "line/LineFxManager.h"
#include "standalone/document/ClassObjects.h"
#include "standalone/document/MaterialWrapping.h"

#include <algorithm>

namespace app {

namespace {

using namespace standalone::document;

// The element types and settings of examples/still_life_painted_lines.json: a dark outline
// that bleeds a little when painted, over thinner, lighter creases.
constexpr const char* kLineEffect = R"({
  "class": "LineFxManager",
  "elements": [
    {"type": "outline", "lineWidth": 2, "lineColor": [0.1, 0.07, 0.06], "lineAlpha": 90,
     "outlineMaterial": true, "paintBlur": 25, "paintBlurBound": 60,
     "paintColorR": 4, "paintColorG": 4, "paintColorB": 4},
    {"type": "normalAngle", "lineWidth": 1, "lineColor": [0.16, 0.12, 0.1], "lineAlpha": 70,
     "normalMin": 35, "normalMax": 100, "paintBlur": 15}
  ]
})";

// The channel the line elements draw on: their lineMatID.
constexpr ULONG kLineChannel = 1;

std::vector<standalone::SceneNode*> allNodes(standalone::Scene& scene)
{
    std::vector<standalone::SceneNode*> nodes;
    for (const auto& node : scene.nodes())
        nodes.push_back(node.get());
    return nodes;
}

}  // namespace

void paintScene(standalone::Scene& scene, standalone::StandaloneCore& core, const Look& look, bool isModel,
                const std::filesystem::path& baseDir)
{
    ClassObjects classes(scene, core, baseDir, scene.render.frameRate);
    MaterialWrapping(wrapperFrom(look, classes), look.at).wrapNodes(allNodes(scene));
    if (isModel)
        scene.environment.background = look.canvas;
}

void addLines(standalone::Scene& scene, standalone::StandaloneCore& core,
              const std::filesystem::path& baseDir)
{
    if (std::any_of(scene.effects.begin(), scene.effects.end(),
                    [](Effect* e) { return dynamic_cast<vml::LineFxManager*>(e) != nullptr; }))
        return;
    ClassObjects classes(scene, core, baseDir, scene.render.frameRate);
    scene.effects.push_back(dynamic_cast<Effect*>(
        classes.create(ClassFamily::effect, Json::parse(kLineEffect), JsonLocation("(--lines)"))));
    for (const auto& node : scene.nodes())
        if (Mtl* m = node->mesh() ? node->GetMtl() : nullptr; m && m->GetGBufferID() == 0)
            m->SetGBufferID(kLineChannel);
}

}  // namespace app
