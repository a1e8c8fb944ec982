// vmlMaterial in scene documents: the base material through the reserved key "subMaterials", and
// what a wrong one says.

#include "support/MaterialTestSupport.h"

#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>

#include <string>

using namespace test_support;
using namespace vml;

namespace {

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

}  // namespace
