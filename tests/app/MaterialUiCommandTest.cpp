// `vermil ui` over the painterly material's rollouts and the brush editor.

#include "support/CommandTestSupport.h"

#include "app/UiCommand.h"
#include "host/IParamBlock2.h"
#include "host/Mtl.h"
#include "host/ParamBlockDesc2.h"
#include "material/vmlMaterial.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/vmlBrushParamBlock.h"
#include "shell/StringLookup.h"
#include "standalone/import/SceneOrModel.h"

#include <OpenImageIO/imagebuf.h>
#include <fstream>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

using namespace test_support;

namespace {

using nlohmann::json;

constexpr const char* kScene = VML_EXAMPLES_DIR "/still_life_painted.json";

struct MaterialUiCommand : test_support::CommandTest {
    // The pages `vermil ui` prints for the options, as JSON.
    json run(app::UiOptions o)
    {
        o.scenePath = kScene;
        o.json = true;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(app::runUi(o, core), 0);
        return json::parse(::testing::internal::GetCapturedStdout());
    }
    static json control(const json& page, int id)
    {
        for (const json& c : page["controls"])
            if (c["id"] == id)
                return c;
        return json();
    }
};

TEST_F(MaterialUiCommand, FivePagesShowEveryBoundParameterOfTheMaterial)
{
    app::UiOptions o;
    o.material = "glazePaint";
    const json pages = run(o);
    ASSERT_EQ(pages.size(), 5u);

    // The same material, loaded as the command loads it, to compare the values with.
    auto scene = standalone::loadSceneOrModel(kScene, core);
    vml::vmlMaterial* material = nullptr;
    for (const auto& node : scene->nodes())
        if (auto* m = dynamic_cast<vml::vmlMaterial*>(node->GetMtl()); m && m->GetName() == "glazePaint")
            material = m;
    ASSERT_NE(material, nullptr);

    std::vector<std::string> byCode;
    for (int b = 0; b < vml::vmlMaterial::blockCount; ++b) {
        IParamBlock2& block = *material->GetParamBlock(b);
        const ParamBlockDesc2& desc = *block.GetDesc();
        const json& page = pages[std::size_t(b)];
        EXPECT_EQ(page["template"], desc.RolloutDialogId());
        EXPECT_EQ(page["title"], vml::getString(desc.RolloutTitleId()));
        for (int i = 0; i < desc.Count(); ++i) {
            const ParamDef& d = desc.GetParamDefByIndex(i);
            if (d.ui.control == ParamControl::none) {
                byCode.push_back(d.name);
                continue;
            }
            SCOPED_TRACE(d.name);
            const json c = control(page, d.ui.ids.back());
            ASSERT_FALSE(c.is_null()) << "the page lacks the parameter's control";
            if (d.ui.control == ParamControl::mapButton) {
                auto* target = dynamic_cast<MtlBase*>(block.GetReferenceTarget(d.id));
                // The highlight level and gloss buttons show a marker rather than a name.
                if (c["id"] == 1038 || c["id"] == 1039)
                    EXPECT_EQ(c["value"], target ? "M" : "");
                else
                    EXPECT_EQ(c["value"], target ? target->GetName() : "None");
            } else if (d.ui.control == ParamControl::spinner) {
                EXPECT_EQ(c["animated"], block.GetKeyCount(d.id) > 0);
            }
        }
    }
    // Only the parameters the rollouts' own code edits are left unbound.
    EXPECT_EQ(byCode, (std::vector<std::string>{"hiBlend", "baseMatBlend", "strokeRake", "paintBlendEnable",
                                                "paintBlendMethod", "paintColorType"}));
    EXPECT_EQ(control(pages[0], 1100)["value"], "glaze");
    EXPECT_EQ(control(pages[1], 1200)["value"], "roundSable");
    EXPECT_EQ(control(pages[3], 1026)["items"].size(), 16u);
    EXPECT_EQ(control(pages[4], 1003)["value"], "Version 1.52");
    EXPECT_TRUE(pages[4]["rolledUp"]);
}

TEST_F(MaterialUiCommand, EventsEditTheMaterialThroughItsPages)
{
    app::UiOptions o;
    o.material = "glazePaint";
    o.events = {
        {app::UiEvent::press, 1049, ""}, {app::UiEvent::select, 1026, "6"}, {app::UiEvent::press, 1016, ""}};
    const json pages = run(o);
    EXPECT_EQ(control(pages[3], 1056)["value"], "H");
    EXPECT_EQ(control(pages[3], 1049)["value"], true);
    EXPECT_EQ(control(pages[3], 1026)["value"], 6);
    EXPECT_EQ(control(pages[2], 1016)["value"], true);
    EXPECT_EQ(control(pages[2], 1015)["value"], false);
}

TEST_F(MaterialUiCommand, ABrushMapOpensTheBrushEditor)
{
    app::UiOptions o;
    o.map = "roundSable";
    const json pages = run(o);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0]["template"], 113);
    EXPECT_EQ(pages[0]["title"], vml::getString(500));
    const json list = control(pages[0], 1070);
    EXPECT_EQ(list["items"], json({vml::getString(937), vml::getString(938)}));
    EXPECT_EQ(control(pages[0], 1510)["label"], vml::getString(3503));
    EXPECT_NE(control(pages[0], 1013)["value"], "") << "the preview is drawn when the page opens";

    // Every bound parameter of the brush has its control on the page.
    const ParamBlockDesc2& desc = vml::vmlBrushParamBlock();
    for (int i = 0; i < desc.Count(); ++i) {
        const ParamDef& d = desc.GetParamDefByIndex(i);
        if (d.ui.control != ParamControl::none) {
            EXPECT_FALSE(control(pages[0], d.ui.ids.back()).is_null()) << d.name;
        }
    }
}

TEST_F(MaterialUiCommand, PreviewsAreWrittenWhereAsked)
{
    app::UiOptions o;
    o.material = "glazePaint";
    o.previews = (dir / "previews").string();
    ::testing::internal::CaptureStderr();
    run(o);
    ::testing::internal::GetCapturedStderr();
    // The brush page's tip and the paint page's colour range, each at its control's size.
    for (const char* name : {"103_1013.png", "111_1041.png"}) {
        OIIO::ImageBuf picture((dir / "previews" / name).string());
        ASSERT_TRUE(picture.read()) << name;
        EXPECT_GT(picture.roi().width(), 16) << name;
    }
}

// Animated values are shown and edited at the frame asked for.
TEST_F(MaterialUiCommand, AnimatedValuesAreEditedAtTheFrame)
{
    std::ofstream(dir / "keys.json") << R"({"camera": {"position": [0, -6, 0], "target": [0, 0, 0]},
        "materials": [{"name": "keyed", "class": "vmlMaterial", "brushSize": {"keys": [[0, 4], [10, 8]]}}],
        "objects": [{"name": "ball", "type": "sphere", "material": "keyed"}]})";
    const ParamDef& size = *vml::vmlMaterialBrushBlock().GetParamDef(vml::brushParam::brushSize);
    const int spinner = size.ui.ids.back();
    app::UiOptions o;
    o.scenePath = (dir / "keys.json").string();
    o.material = "keyed";
    o.json = true;
    o.frame = 10;
    o.events = {{app::UiEvent::set, spinner, "6"}};
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runUi(o, core), 0);
    const json pages = json::parse(::testing::internal::GetCapturedStdout());
    const json shown = control(pages[1], spinner);
    EXPECT_EQ(shown["value"], 6.0);
    EXPECT_EQ(shown["animated"], true);

    // Frame 0 of the document shows the first key.
    o.frame = 0;
    o.events.clear();
    ::testing::internal::CaptureStdout();
    ASSERT_EQ(app::runUi(o, core), 0);
    EXPECT_EQ(control(json::parse(::testing::internal::GetCapturedStdout())[1], spinner)["value"], 4.0);
}

}  // namespace
