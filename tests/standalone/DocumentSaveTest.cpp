// Writing changed values back into a scene document's text: the patcher keeps everything it was
// not asked to change, and what it writes reads back as the objects held it.

#include "support/DocumentTestClasses.h"

#include "host/Interface.h"
#include "standalone/SceneDocument.h"
#include "standalone/document/DocumentEdits.h"
#include "standalone/document/JsonTextPatch.h"
#include "standalone/document/ParameterValues.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using namespace standalone;
using namespace standalone::document;
using namespace test_support;

std::string fileText(const std::string& path) { return TempDir::readText(path); }

TEST(JsonTextPatch, ChangesOnlyTheValueAndAddsKeysInTheStyleOfTheirNeighbours)
{
    const std::string text = R"(// a scene
{
  "a": {
    "x": 1.50,  // keep this
    "list": [1, 2, /* two */ 3],
    "s": "a/b"
  },
  "inline": {"class": "K", "v": 1},
  "commented": {
    "k": true // the last one
  },
  "empty": {},
  "we~ird/key": 0
}
)";
    JsonTextPatch p(text, "doc.json");
    p.set("/a/x", 2);
    p.set("/a/list/2", Json::array({0.25, 1}));
    p.set("/a/added", "new");
    p.set("/inline/w", false);
    p.set("/commented/n", nullptr);
    p.set("/empty/e", 1);
    p.set("/we~0ird~1key", 5);
    EXPECT_EQ(p.text(), R"(// a scene
{
  "a": {
    "x": 2,  // keep this
    "list": [1, 2, /* two */ [0.25, 1]],
    "s": "a/b",
    "added": "new"
  },
  "inline": {"class": "K", "v": 1, "w": false},
  "commented": {
    "k": true, // the last one
    "n": null
  },
  "empty": {"e": 1},
  "we~ird/key": 5
}
)");
    EXPECT_EQ(p.valueText("/a/s"), "\"a/b\"");
    EXPECT_EQ(p.valueText("/a/nothing"), "");
}

TEST(JsonTextPatch, RefusesPlacesTheDocumentDoesNotHave)
{
    JsonTextPatch p("{\"a\": [1], \"s\": \"Standard\"}\r\n", "doc.json");
    EXPECT_THROW(p.set("/missing/x", 1), SceneError);
    EXPECT_THROW(p.set("/a/3", 1), SceneError);
    EXPECT_THROW(p.set("/a/x", 1), SceneError);
    EXPECT_THROW(p.set("/s/x", 1), SceneError);  // a bare class name holds no values
    EXPECT_THROW(JsonTextPatch("{\"a\": }", "bad.json"), SceneError);
    JsonTextPatch crlf("{\r\n  \"a\": 1\r\n}\r\n", "doc.json");
    crlf.set("/b", 2);
    EXPECT_EQ(crlf.text(), "{\r\n  \"a\": 1,\r\n  \"b\": 2\r\n}\r\n");
}

constexpr const char* kDocument = R"json(// materials to edit
{
  "render": {"frameRate": 10},
  "camera": {"position": [0, -5, 0], "target": [0, 0, 0]},
  "objects": [{"name": "ball", "type": "sphere", "material": "red"}],
  "maps": [{"name": "dots", "class": "TestMap", "scale": 2}],
  "materials": [
    {
      "name": "red",
      "class": "TestMtl",
      "glossiness": 0.5, // shiny
      "coat": {"class": "TestMtl", "layers": 2}
    },
    {"name": "blue", "class": "TestMtl", "glossiness": {"keys": [[0, 0.1], [10, 0.9]]}}
  ]
})json";

class DocumentSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        SetCOREInterface(&core);
        registerTestClasses(core);
        path = dir.write("scenes/doc.json", kDocument);
        scene = loadScene(path, core);
        edits.emplace(*scene);
    }
    void TearDown() override
    {
        edits.reset();
        scene.reset();
        SetCOREInterface(nullptr);
    }
    template <class T = Mtl> T* find(const char* name)
    {
        for (const auto& o : scene->objects())
            if (auto* m = dynamic_cast<T*>(o.get()); m && m->GetName() == name)
                return m;
        return nullptr;
    }
    Json valuesOf(Scene& s, const char* name)
    {
        for (const auto& o : s.objects())
            if (auto* m = dynamic_cast<Mtl*>(o.get()); m && m->GetName() == name)
                return parameterValues(*m, {dir.path() / "scenes", 10, &s.places()});
        return nullptr;
    }
    int save()
    {
        std::string problem;
        const int n = edits->save(problem);
        EXPECT_EQ(problem, "") << problem;
        return n;
    }

    StandaloneCore core;
    TempDir dir;
    std::string path;
    std::unique_ptr<Scene> scene;
    std::optional<DocumentEdits> edits;
};

TEST_F(DocumentSave, EveryKindOfValueReadsBackAsItWasSet)
{
    IParamBlock2& b = *blockOf(find("red"));
    b.SetValue(mtl_diffuse, 0, Color(0.2f, 0.3f, 0.4f));
    b.SetValue(mtl_glossiness, 0, 0.7f);
    b.SetValue(mtl_layers, 0, 3);
    b.SetValue(mtl_twoSided, 0, 1);
    b.SetValue(mtl_tint, 0, AColor(0.1f, 0.2f, 0.3f, 0.5f));
    b.SetValue(mtl_offset, 0, Point3(1, -2, 3.5f));
    b.SetValue(mtl_label, 0, "a \"quoted\" label");
    b.SetValue(mtl_texture, 0, (dir.path() / "scenes/tex/wood.png").string());
    b.SetValue(mtl_diffuseMap, 0, static_cast<ReferenceTarget*>(find<Texmap>("dots")));
    b.SetValue(mtl_focus, 0, static_cast<ReferenceTarget*>(scene->findNode("ball")));
    b.SetCount(mtl_weights, 2);
    b.SetValue(mtl_weights, 0, 0.5f, 1);
    b.SetValue(mtl_angle, 0, 45.0f);
    blockOf(find("blue"))->SetKey(mtl_glossiness, 5 * TIME_TICKSPERSEC / 10, 0.3f);
    // The inline coat is a new object after a reload; its own values are checked below.
    auto withoutCoat = [](Json v) {
        v.erase("coat");
        return v;
    };
    const Json red = withoutCoat(valuesOf(*scene, "red")), blue = valuesOf(*scene, "blue");
    EXPECT_GT(save(), 10);
    const std::string text = fileText(path);
    EXPECT_NE(text.find("\"glossiness\": 0.7, // shiny"), std::string::npos) << text;
    EXPECT_NE(text.find("\"texture\": \"tex/wood.png\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"diffuseMap\": \"dots\""), std::string::npos) << text;
    EXPECT_NE(text.find("[[0, 0.1], [5, 0.3], [10, 0.9]]"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("// materials to edit", 0), 0u);
    StandaloneCore again;
    again.setQuietMode(true);
    SetCOREInterface(&again);
    registerTestClasses(again);
    const auto reloaded = loadScene(path, again);
    EXPECT_EQ(withoutCoat(valuesOf(*reloaded, "red")), red);
    EXPECT_EQ(valuesOf(*reloaded, "blue"), blue);
    SetCOREInterface(&core);
}

TEST_F(DocumentSave, NothingChangedWritesNothingAndASecondSaveWritesOnlyTheNewChange)
{
    const std::string before = fileText(path);
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(fileText(path), before);
    blockOf(find("red"))->SetValue(mtl_layers, 0, 4);
    EXPECT_EQ(save(), 1);
    blockOf(find("red"))->SetValue(mtl_layers, 0, 5);
    EXPECT_EQ(save(), 1);
    const std::string after = fileText(path);
    EXPECT_NE(after.find("\"layers\": 5\n"), std::string::npos) << after;
    EXPECT_EQ(after.find("\"layers\": 4"), std::string::npos) << after;
}

TEST_F(DocumentSave, InlineObjectsAreWrittenInPlace)
{
    auto* coat = static_cast<Mtl*>(blockOf(find("red"))->GetReferenceTarget(mtl_coat));
    ASSERT_NE(coat, nullptr);
    blockOf(coat)->SetValue(mtl_layers, 0, 6);
    EXPECT_EQ(save(), 1);
    EXPECT_NE(fileText(path).find("\"coat\": {\"class\": \"TestMtl\", \"layers\": 6}"), std::string::npos);
}

TEST_F(DocumentSave, ChangesWithoutAPlaceOrOnAChangedFileAreRefusedAndWriteNothing)
{
    const std::string before = fileText(path);
    std::string problem;
    // A reference to an object the document can only hold inline.
    auto* coat = blockOf(find("red"))->GetReferenceTarget(mtl_coat);
    blockOf(find("blue"))->SetValue(mtl_coat, 0, coat);
    EXPECT_EQ(edits->save(problem), -1);
    EXPECT_NE(problem.find("\"coat\""), std::string::npos) << problem;
    EXPECT_EQ(fileText(path), before);
    blockOf(find("blue"))->SetValue(mtl_coat, 0, nullptr);
    // The file changed on disk since it was read.
    blockOf(find("red"))->SetValue(mtl_layers, 0, 2);
    std::ofstream(path, std::ios::app) << "\n// edited elsewhere\n";
    EXPECT_EQ(edits->save(problem), -1);
    EXPECT_NE(problem.find("changed on disk"), std::string::npos) << problem;
    EXPECT_EQ(fileText(path), before + "\n// edited elsewhere\n");
}

TEST_F(DocumentSave, AModelSceneHasNoDocumentToSaveTo)
{
    Scene model;
    DocumentEdits none(model);
    std::string problem;
    EXPECT_EQ(none.save(problem), -1);
    EXPECT_NE(problem.find("not read from a scene document"), std::string::npos);
}

}  // namespace
