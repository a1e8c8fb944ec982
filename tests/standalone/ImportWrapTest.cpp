// Imported materials named from the document, and "wrap" in "assign".

#include "support/ImportTestSupport.h"

#include "host/Mtl.h"
#include "standalone/SceneDocument.h"
#include "standalone/document/Looks.h"

#include <gmock/gmock.h>

using namespace standalone;
using namespace test_support;
using ::testing::HasSubstr;

namespace {

// Two panels sharing the material "Paint", a post with a bulb sharing "Metal", and an empty node.
class ImportWrap : public ImportFixture {
protected:
    void SetUp() override
    {
        ImportFixture::SetUp();
        Gltf gltf;
        const int paint = gltf.add("materials", {{"name", "Paint"}});
        const int metal = gltf.add("materials", {{"name", "Metal"}});
        gltf.node({{"name", "PanelA"}, {"mesh", unitSquare(gltf, paint)}});
        gltf.node({{"name", "PanelB"}, {"translation", {2, 0, 0}}, {"mesh", unitSquare(gltf, paint)}});
        const int bulb = gltf.node({{"name", "Bulb"}, {"mesh", unitSquare(gltf, metal)}}, false);
        gltf.node({{"name", "Post"}, {"children", {bulb}}, {"mesh", unitSquare(gltf, metal)}});
        gltf.node({{"name", "Marker"}, {"translation", {0, 3, 0}}});
        dir.write("yard.gltf", gltf.text());
    }

    static std::string document(const std::string& body)
    {
        return R"({"import": "yard.gltf", "camera": {}, )" + body + "}";
    }
    std::unique_ptr<Scene> load(const std::string& body) { return loadDocument("yard.json", document(body)); }
    SceneError errorOf(const std::string& body) { return documentError("yard.json", document(body)); }
    Mtl* mtlOf(Scene& scene, const char* node) { return scene.findNode(node)->GetMtl(); }
};

// A document material naming itself inside wraps the imported one it replaces; without an
// imported namesake that is still a cycle.
TEST_F(ImportWrap, ADocumentMaterialWrapsItsImportedNamesake)
{
    auto scene =
        load(R"("materials": [{"name": "Paint", "class": "TestWrapper", "subMaterials": ["Paint"]}])");
    Mtl* wrapper = mtlOf(*scene, "PanelA");
    EXPECT_EQ(mtlOf(*scene, "PanelB"), wrapper);
    ASSERT_NE(wrapper->GetSubMtl(0), nullptr);
    EXPECT_EQ(wrapper->GetSubMtl(0)->GetName(), "Paint");
    EXPECT_EQ(wrapper->GetSubMtl(0)->ClassID(), mtlOf(*scene, "Post")->ClassID()) << "the imported Paint";

    const SceneError e =
        errorOf(R"("materials": [{"name": "Loop", "class": "TestWrapper", "subMaterials": ["Loop"]}])");
    EXPECT_EQ(e.jsonPath(), "/materials/0/subMaterials/0");
    EXPECT_THAT(e.reason(), HasSubstr("refers back to itself"));
}

TEST_F(ImportWrap, ErrorsNameThePlaceAndListWhatIsValid)
{
    SceneError e = errorOf(R"("materials": [{"name": "chalk", "class": "TestMtl"}],
                              "objects": [{"name": "sign", "type": "box", "material": "Stone"}])");
    EXPECT_EQ(e.jsonPath(), "/objects/0/material");
    EXPECT_THAT(e.reason(), HasSubstr("the document's and imported materials are: chalk, Paint, Metal"));

    e = errorOf(R"("assign": [{"objects": ["*"], "wrap": {"look": "wett"}}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/look");
    EXPECT_THAT(e.reason(), HasSubstr("unknown look \"wett\""));
    for (const document::Look& look : document::looks())
        EXPECT_THAT(e.reason(), HasSubstr(look.name));

    e = errorOf(R"("assign": [{"objects": ["*"], "material": "Paint", "wrap": {"class": "TestWrapper"}}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap");
    e = errorOf(
        R"("assign": [{"objects": ["*"], "wrap": {"class": "TestWrapper", "subMaterials": [null]}}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/subMaterials");
    e = errorOf(R"("assign": [{"objects": ["*"], "wrap": {"class": "TestMtl"}}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap");
    EXPECT_THAT(e.reason(), HasSubstr("no sub-material"));
    // Checked even when the chosen objects have no mesh to wrap.
    e = errorOf(R"("assign": [{"objects": ["Marker"], "wrap": {"class": "TestWrapper", "glosiness": 1}}])");
    EXPECT_EQ(e.jsonPath(), "/assign/0/wrap/glosiness");
}

}  // namespace
