// Models imported into a scene document: the camera chosen, overrides, materials named from the
// document and "wrap" in "assign".

#include "support/ImportTestSupport.h"

#include "host/Mtl.h"
#include "standalone/SceneDocument.h"
#include "standalone/document/Looks.h"

#include <gmock/gmock.h>

using namespace standalone;
using namespace test_support;
using ::testing::HasSubstr;

namespace {

// A model of two panels sharing the material "Paint", a lamp post with a bulb sharing "Metal", an
// empty node and a camera.
class ImportDocument : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        Gltf gltf;
        const int paint = gltf.add("materials", {{"name", "Paint"}});
        const int metal = gltf.add("materials", {{"name", "Metal"}});
        gltf.node({{"name", "PanelA"}, {"mesh", unitSquare(gltf, paint)}});
        gltf.node({{"name", "PanelB"}, {"translation", {2, 0, 0}}, {"mesh", unitSquare(gltf, paint)}});
        const int bulb = gltf.node(
            {{"name", "Bulb"}, {"translation", {0, 1, 0}}, {"mesh", unitSquare(gltf, metal)}}, false);
        gltf.node({{"name", "Post"},
                   {"translation", {4, 0, 0}},
                   {"children", {bulb}},
                   {"mesh", unitSquare(gltf, metal)}});
        const int camera =
            gltf.add("cameras", {{"type", "perspective"}, {"perspective", {{"yfov", 0.6}, {"znear", 0.1}}}});
        gltf.node({{"name", "Shot"}, {"translation", {0, 0, 10}}, {"camera", camera}});
        gltf.node({{"name", "Marker"}, {"translation", {0, 3, 0}}});
        dir.write("models/yard.gltf", gltf.text());
    }

    std::unique_ptr<Scene> load(const std::string& body)
    {
        return loadDocument("scenes/yard.json", "{" + body + "}");
    }
    SceneError errorOf(const std::string& body)
    {
        return documentError("scenes/yard.json", "{" + body + "}");
    }
    // The model imported under a camera of the document's own.
    static std::string imported(const std::string& body)
    {
        return R"("import": "../models/yard.gltf", "camera": {}, )" + body;
    }
    Mtl* mtlOf(Scene& scene, const char* node) { return scene.findNode(node)->GetMtl(); }
};

// The imported camera renders when the document has none; the document's wins unless "render"
// names an imported one.
TEST_F(ImportDocument, CameraChoice)
{
    auto scene = load(R"("import": "../models/yard.gltf")");
    ASSERT_NE(scene->findNode("yard"), nullptr);
    EXPECT_EQ(scene->findNode("Bulb")->GetParentNode(), scene->findNode("Post"));
    EXPECT_EQ(scene->camera, scene->findNode("Shot"));
    auto own = load(R"("import": ["../models/yard.gltf"], "camera": {"position": [0, -9, 1]})");
    EXPECT_EQ(own->camera, own->findNode("camera"));
    auto chosen = load(R"("import": ["../models/yard.gltf"], "camera": {"position": [0, -9, 1]},
                          "render": {"camera": "Shot"})");
    EXPECT_EQ(chosen->camera, chosen->findNode("Shot"));
}

TEST_F(ImportDocument, OverridesReplaceTransformPartsAndSwitches)
{
    auto scene = load(R"("import": {"file": "../models/yard.gltf", "position": [0, 0, 1]},
                         "overrides": [{"node": "PanelB", "position": [0, 5, 0], "hidden": true},
                                       {"node": "yard", "position": [10, 0, 0]},
                                       {"node": "Post", "rotation": [0, 0, 90], "renderable": false}])");
    SceneNode& panel = *scene->findNode("PanelB");
    EXPECT_TRUE(panel.IsHidden());
    // A node's override is in its parent's (the file's Y-up) space: file (0, 5, 0) is world up.
    expectNear(worldPoint(panel, Point3()), Point3(10, 0, 5));
    // The root keeps its conversion to Z up: file +Y still points along world +Z.
    expectNear(scene->findNode("yard")->GetNodeTM(0).VectorTransform(Point3(0, 1, 0)), Point3(0, 0, 1));
    SceneNode& post = *scene->findNode("Post");
    EXPECT_FALSE(post.Renderable());
    // A quarter turn about the file's Z: file +X turns to file +Y, the world's +Z.
    expectNear(post.GetNodeTM(0).VectorTransform(Point3(1, 0, 0)), Point3(0, 0, 1));
    expectNear(worldPoint(post, Point3()), Point3(14, 0, 0));  // the position stays
}

TEST_F(ImportDocument, ErrorsNameTheEntryAndListWhatWasImported)
{
    SceneError e = errorOf(R"("import": [{"file": "../models/none.glb"}])");
    EXPECT_EQ(e.jsonPath(), "/import/0/file");
    EXPECT_NE(e.reason().find("none.glb: cannot import: no such file"), std::string::npos) << e.what();
    e = errorOf(R"("import": "../models/yard.gltf", "overrides": [{"node": "PanelC", "hidden": true}])");
    EXPECT_EQ(e.jsonPath(), "/overrides/0/node");
    EXPECT_NE(e.reason().find("PanelB"), std::string::npos) << e.what();
    e = errorOf(
        R"("import": "../models/yard.gltf", "assign": [{"objects": ["Lamp*"], "material": "Paint"}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/objects/0");
    EXPECT_NE(e.reason().find("matches no imported object"), std::string::npos) << e.what();
    e = errorOf(R"("import": "../models/yard.gltf", "assign": [{"objects": ["Post"], "material": "Stone"}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/material");
    EXPECT_NE(e.reason().find("Metal"), std::string::npos) << "lists the imported materials: " << e.what();
    e = errorOf(R"("import": {"file": "../models/yard.gltf", "scale": 0})");
    EXPECT_EQ(e.jsonPath(), "/import/scale");
    e = errorOf(R"("import": {"file": "../models/yard.gltf", "upAxis": "x"})");
    EXPECT_EQ(e.jsonPath(), "/import/upAxis");
}

// A document material naming itself inside wraps the imported one it replaces; without an
// imported namesake that is still a cycle.
TEST_F(ImportDocument, ADocumentMaterialWrapsItsImportedNamesake)
{
    auto scene = load(
        imported(R"("materials": [{"name": "Paint", "class": "TestWrapper", "subMaterials": ["Paint"]}])"));
    Mtl* wrapper = mtlOf(*scene, "PanelA");
    EXPECT_EQ(mtlOf(*scene, "PanelB"), wrapper);
    ASSERT_NE(wrapper->GetSubMtl(0), nullptr);
    EXPECT_EQ(wrapper->GetSubMtl(0)->GetName(), "Paint");
    EXPECT_EQ(wrapper->GetSubMtl(0)->ClassID(), mtlOf(*scene, "Post")->ClassID()) << "the imported Paint";
    const SceneError e = errorOf(
        imported(R"("materials": [{"name": "Loop", "class": "TestWrapper", "subMaterials": ["Loop"]}])"));
    EXPECT_EQ(e.jsonPath(), "/materials/0/subMaterials/0");
    EXPECT_THAT(e.reason(), HasSubstr("refers back to itself"));
}

TEST_F(ImportDocument, MaterialAndWrapErrorsNameThePlaceAndListWhatIsValid)
{
    SceneError e = errorOf(imported(R"("materials": [{"name": "chalk", "class": "TestMtl"}],
                              "objects": [{"name": "sign", "type": "box", "material": "Stone"}])"));
    EXPECT_EQ(e.jsonPath(), "/objects/0/material");
    EXPECT_THAT(e.reason(), HasSubstr("the document's and imported materials are: chalk, Paint, Metal"));
    e = errorOf(imported(R"("assign": [{"objects": ["*"], "wrap": {"look": "wett"}}])"));
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/look");
    EXPECT_THAT(e.reason(), HasSubstr("unknown look \"wett\""));
    for (const document::Look& look : document::looks())
        EXPECT_THAT(e.reason(), HasSubstr(look.name));
    e = errorOf(
        imported(R"("assign": [{"objects": ["*"], "material": "Paint", "wrap": {"class": "TestWrapper"}}])"));
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap");
    e = errorOf(imported(
        R"("assign": [{"objects": ["*"], "wrap": {"class": "TestWrapper", "subMaterials": [null]}}])"));
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/subMaterials");
    e = errorOf(imported(R"("assign": [{"objects": ["*"], "wrap": {"class": "TestMtl"}}])"));
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap");
    EXPECT_THAT(e.reason(), HasSubstr("no sub-material"));
    // Checked even when the chosen objects have no mesh to wrap.
    e = errorOf(
        imported(R"("assign": [{"objects": ["Marker"], "wrap": {"class": "TestWrapper", "glosiness": 1}}])"));
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/glosiness");
}

}  // namespace
