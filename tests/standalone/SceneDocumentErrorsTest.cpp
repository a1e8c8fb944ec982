#include "support/DocumentTestClasses.h"

#include "host/IParamBlock2.h"
#include "host/Interface.h"
#include "standalone/SceneDocument.h"
#include "standalone/SceneNode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace standalone;
using namespace test_support;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A camera, so that documents are complete apart from what a test breaks.
const std::string kCamera = R"("camera": {"position": [0, -5, 1], "target": [0, 0, 0]})";

class SceneDocumentErrors : public ::testing::Test {
protected:
    void SetUp() override
    {
        core.setQuietMode(true);
        SetCOREInterface(&core);
        registerTestClasses(core);
    }
    void TearDown() override { SetCOREInterface(nullptr); }

    // The error loading `body` (the inside of the top-level object, after the camera) fails with.
    SceneError errorOf(const std::string& body)
    {
        return errorOfText("{" + kCamera + (body.empty() ? "" : ", " + body) + "}");
    }
    SceneError errorOfText(const std::string& text)
    {
        const std::string path = dir.write("scene.json", text);
        try {
            loadScene(path, core);
        } catch (const SceneError& e) {
            EXPECT_EQ(e.file(), path);
            EXPECT_THAT(e.what(), HasSubstr(path));
            return e;
        }
        ADD_FAILURE() << "loaded without error: " << text;
        return SceneError(path, "", "");
    }

    StandaloneCore core;
    TempDir dir;
};

TEST_F(SceneDocumentErrors, MisspeltParameterListsTheValidNames)
{
    const SceneError e = errorOf(R"("materials": [{"name": "m", "class": "TestMtl", "glosiness": 0.5}])");
    EXPECT_EQ(e.jsonPath(), "/materials/0/glosiness");
    EXPECT_THAT(e.what(), HasSubstr("unknown parameter \"glosiness\" (did you mean \"glossiness\"?)"));
    EXPECT_THAT(e.what(), HasSubstr("TestMtl"));
    EXPECT_THAT(e.what(), HasSubstr("diffuse, glossiness, layers, twoSided, tint, offset, label, texture"));
}

TEST_F(SceneDocumentErrors, ValuesOfTheWrongForm)
{
    const std::string m = R"("materials": [{"name": "m", "class": "TestMtl", )";
    struct Case {
        std::string params, path, message;
    } cases[] = {
        {R"("glossiness": "high")", "/materials/0/glossiness",
         "expected a number from 0 to 1, got a string \"high\""},
        {R"("layers": 2.5)", "/materials/0/layers", "expected a whole number from 1 to 8, got 2.5"},
        {R"("twoSided": "yes")", "/materials/0/twoSided", "expected true or false"},
        {R"("diffuse": [1, 0])", "/materials/0/diffuse", "expected a colour [r, g, b]"},
        {R"("diffuse": [1, 0, -1])", "/materials/0/diffuse/2", "0 or more, got -1"},
        {R"("offset": {"x": 1})", "/materials/0/offset", "expected a point [x, y, z], got an object"},
        {R"("label": 5)", "/materials/0/label", "expected a string, got the number 5"},
        {R"("weights": 0.5)", "/materials/0/weights", "expected an array of a number values (a table)"},
        {R"("coat": 3)", "/materials/0/coat", "expected a material: a name from \"materials\""},
        {R"("focus": "nobody")", "/materials/0/focus", "no object, light or camera named \"nobody\""},
        {R"("layers": {"keys": [[0, 1], [10, 2]]})", "/materials/0/layers", "cannot be animated"},
        {R"("glossiness": {"keys": []})", "/materials/0/glossiness/keys", "at least one key"},
        {R"("glossiness": {"keys": [[0, 0.1], [0, 0.2]]})", "/materials/0/glossiness/keys/1/0",
         "a second key at frame 0"},
        {R"("glossiness": {"kees": [[0, 1]]})", "/materials/0/glossiness/kees", "did you mean \"keys\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        const SceneError e = errorOf(m + c.params + "}]");
        EXPECT_EQ(e.jsonPath(), c.path);
        EXPECT_THAT(e.reason(), HasSubstr(c.message));
    }
}

// Numbers pass the intake: one outside its parameter's range is held to it with a warning that
// names the document, the value's place and the parameter, and loading goes on.
TEST_F(SceneDocumentErrors, NumbersOutsideTheirRangesAreHeldWithAWarning)
{
    struct Case {
        std::string params;
        ParamID param;
        double after;
        std::string warning;  // after "PATH: "
    } cases[] = {
        {R"("glossiness": 1.5)", mtl_glossiness, 1,
         "/materials/0/glossiness: parameter glossiness: 1.5 is outside its range 0 to 1; held to 1"},
        {R"("layers": 1e300)", mtl_layers, 8,
         "/materials/0/layers: parameter layers: 1e+300 is outside its range 1 to 8; held to 8"},
        {R"("glossiness": {"keys": [[0, 0.5], [10, 2]]})", mtl_glossiness, 0.5,
         "/materials/0/glossiness/keys/1/1: parameter glossiness: 2 is outside its range 0 to 1; held to 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        const std::string path = dir.write(
            "scene.json", "{" + kCamera + R"(, "materials": [{"name": "m", "class": "TestMtl", )" + c.params +
                              R"(}], "objects": [{"name": "a", "type": "box", "material": "m"}]})");
        std::vector<std::string> warnings;
        const auto scene =
            loadScene(path, core, [&warnings](const std::string& w) { warnings.push_back(w); });
        IParamBlock2* b = blockOf(scene->findNode("a")->GetMtl());
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(c.param == mtl_layers ? double(b->GetInt(c.param)) : double(b->GetFloat(c.param)), c.after);
        EXPECT_EQ(warnings, std::vector<std::string>{path + ": " + c.warning});
    }
    EXPECT_TRUE(core.warnings().empty()) << "the loader's handler took them";
}

TEST_F(SceneDocumentErrors, ClassesMustExistBeCreatableAndBelongToTheFamily)
{
    SceneError e = errorOf(R"("materials": [{"name": "m", "class": "TestMtll"}])");
    EXPECT_EQ(e.jsonPath(), "/materials/0/class");
    EXPECT_THAT(e.reason(), HasSubstr("unknown class \"TestMtll\" (did you mean \"TestMtl\"?)"));
    EXPECT_THAT(e.reason(), HasSubstr("the registered material classes are: TestMtl, Impostor, Broken"));
    e = errorOf(R"("materials": [{"name": "m", "class": "TestMap"}])");
    EXPECT_THAT(e.reason(), HasSubstr("class TestMap makes maps, not materials"));
    e = errorOf(R"("materials": [{"name": "m", "class": "Broken"}])");
    EXPECT_THAT(e.reason(), HasSubstr("class Broken cannot be created"));
    e = errorOf(R"("materials": [{"name": "m", "class": "Impostor"}])");
    EXPECT_THAT(e.reason(), HasSubstr("class Impostor did not create a material"));
    e = errorOf(R"("effects": ["TestElement"])");
    EXPECT_EQ(e.jsonPath(), "/effects/0");
    EXPECT_THAT(e.reason(), HasSubstr("makes render elements, not effects"));
    e = errorOf(R"("render": {"renderer": "Fancy"})");
    EXPECT_EQ(e.jsonPath(), "/render/renderer");
    EXPECT_THAT(e.reason(),
                HasSubstr("unknown class \"Fancy\"; the registered renderer classes are: TestRenderer"));
}

TEST_F(SceneDocumentErrors, ReferencesToMaterialsAndMaps)
{
    SceneError e = errorOf(R"("materials": [{"name": "wood", "class": "TestMtl"}],
        "objects": [{"name": "a", "type": "box", "material": "wod"}])");
    EXPECT_EQ(e.jsonPath(), "/objects/0/material");
    EXPECT_THAT(e.reason(),
                HasSubstr("no material named \"wod\" (did you mean \"wood\"?); the materials are: wood"));
    e = errorOf(R"("maps": [{"name": "sky", "class": "TestMap"}],
        "objects": [{"name": "a", "type": "box", "material": "sky"}])");
    EXPECT_THAT(e.reason(), HasSubstr("\"sky\" is a map, not a material"));
    e = errorOf(R"("maps": [{"name": "a", "class": "TestMap", "source": "b"},
                            {"name": "b", "class": "TestMap", "source": "a"}])");
    EXPECT_THAT(e.reason(), HasSubstr("refers back to itself"));
    e = errorOf(R"("materials": [{"name": "m", "class": "TestMtl"}, {"name": "m", "class": "TestMtl"}])");
    EXPECT_EQ(e.jsonPath(), "/materials/1/name");
    EXPECT_THAT(e.reason(), HasSubstr("a second material named \"m\" (the first is /materials/0)"));
    // Inline maps nested past the limit.
    std::string deep = R"({"class": "TestMap"})";
    for (int i = 0; i < 40; ++i)
        deep = R"({"class": "TestMap", "source": )" + deep + "}";
    e = errorOf(R"("environment": {"map": )" + deep + "}");
    EXPECT_THAT(e.reason(), HasSubstr("nest more than 32 levels"));
}

TEST_F(SceneDocumentErrors, ParentsMustExistAndNotFormCycles)
{
    SceneError e = errorOf(R"("objects": [{"name": "table", "type": "box"},
                                           {"name": "cup", "type": "box", "parent": "tabel"}])");
    EXPECT_EQ(e.jsonPath(), "/objects/1/parent");
    EXPECT_THAT(e.reason(),
                HasSubstr("no object, light or camera named \"tabel\" (did you mean \"table\"?)"));
    e = errorOf(R"("objects": [{"name": "a", "type": "box", "parent": "c"},
                               {"name": "b", "type": "box", "parent": "a"},
                               {"name": "c", "type": "box", "parent": "b"}])");
    EXPECT_THAT(e.reason(), HasSubstr("parent cycle: "));
    EXPECT_THAT(e.reason(), HasSubstr("a -> c -> b -> a"));
    e = errorOf(R"("objects": [{"name": "a", "type": "box", "parent": "a"}])");
    EXPECT_THAT(e.reason(), HasSubstr("cannot be its own parent"));
    e = errorOf(R"("objects": [{"name": "a", "type": "box"}], "lights": [{"name": "a"}])");
    EXPECT_EQ(e.jsonPath(), "/lights/0/name");
    EXPECT_THAT(e.reason(), HasSubstr("a second node named \"a\""));
}

// Transforms recurse along the parents: a chain long enough to overflow the stack is refused,
// listed root first or deepest first.
TEST_F(SceneDocumentErrors, ParentsNestAtMostAThousandLevels)
{
    auto chain = [](int levels, bool deepestFirst) {
        std::string objects;
        for (int k = 0; k < levels; ++k) {
            const int i = deepestFirst ? levels - 1 - k : k;
            objects += (k ? ", " : "") + std::string(R"({"type": "group", "name": "n)") + std::to_string(i) +
                       '"' + (i ? R"(, "parent": "n)" + std::to_string(i - 1) + '"' : std::string()) + "}";
        }
        return "{" + kCamera + R"(, "objects": [)" + objects + "]}";
    };
    for (bool deepestFirst : {false, true}) {
        SceneError e = errorOfText(chain(1200, deepestFirst));
        EXPECT_THAT(e.jsonPath(), testing::MatchesRegex("/objects/[0-9]+/parent"));
        EXPECT_THAT(e.reason(), HasSubstr("objects nest more than 1000 levels deep"));
        const std::string path = dir.write("deep.json", chain(900, deepestFirst));
        EXPECT_NO_THROW(loadScene(path, core));
    }
}

TEST_F(SceneDocumentErrors, ObjectsLightsAndCameras)
{
    struct Case {
        std::string body, path, message;
    } cases[] = {
        {R"("objects": [{"name": "a", "type": "sphere", "segmnts": 8}])", "/objects/0/segmnts",
         "unknown key \"segmnts\" (did you mean \"segments\"?)"},
        {R"("objects": [{"name": "a", "type": "sphere", "segments": 2}])", "/objects/0/segments",
         "expected a whole number from 4 to 1024, got 2"},
        {R"("objects": [{"name": "a", "type": "cone"}])", "/objects/0/type", "unknown object type \"cone\""},
        {R"("objects": [{"type": "box"}])", "/objects/0", "missing \"name\""},
        {R"("objects": [{"name": "a", "type": "box", "scale": [1, 0, 1]}])", "/objects/0/scale",
         "must not be 0"},
        {R"("objects": [{"name": "b", "type": "box", "position": {"keys": [[0, [0,0,0]], [0, [1,0,0]]]}}])",
         "/objects/0/position/keys/1/0", "second key"},
        {R"("objects": {"name": "a"})", "/objects", "expected an array of objects, got an object"},
        {R"("lights": [{"name": "l", "type": "spot", "hotspot": 60, "falloff": 40}])", "/lights/0/hotspot",
         "must not be wider than the falloff"},
        {R"("lights": [{"name": "l", "type": "sun"}])", "/lights/0/type", "unknown light type \"sun\""},
        {R"("lights": [{"name": "l", "position": [0, 0, 1], "target": [0, 0, 1]}])", "/lights/0/target",
         "must differ from the position"},
        {R"("lights": [{"name": "l", "rotation": [0, 0, 1], "target": [0, 0, 2]}])", "/lights/0/target",
         "either \"rotation\" or \"target\""},
        {R"("render": {"camera": "nobody"})", "/render/camera", "no camera named \"nobody\""},
        {R"("rendr": {})", "/rendr", "did you mean \"render\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        const SceneError e = errorOf(c.body);
        EXPECT_EQ(e.jsonPath(), c.path);
        EXPECT_THAT(e.reason(), HasSubstr(c.message));
    }
    const SceneError e = errorOfText(R"({"camera": {"type": "fisheye"}})");
    EXPECT_EQ(e.jsonPath(), "/camera/type");
    EXPECT_THAT(errorOfText("{}").reason(), HasSubstr("the scene has no camera"));
}

TEST_F(SceneDocumentErrors, SyntaxErrorsGiveLineAndColumn)
{
    SceneError e = errorOfText("{\n  \"render\": {\"width\": 10,}\n}");
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 26);  // the '}' where a key should be
    EXPECT_THAT(e.what(), HasSubstr("scene.json:2:26: "));
    EXPECT_TRUE(e.jsonPath().empty());
    e = errorOfText("{\"camera\": {\"fov\": 1e999}}");
    EXPECT_EQ(e.line(), 1);
    EXPECT_EQ(e.column(), 20);
    EXPECT_THAT(e.reason(), HasSubstr("too large"));
    // Nesting beyond the limit is refused before anything recurses into it.
    e = errorOfText(std::string(5000, '[') + std::string(5000, ']'));
    EXPECT_EQ(e.line(), 1);
    EXPECT_THAT(e.reason(), HasSubstr("nest deeper than"));
    // The parser ends a line comment at a carriage return or a zero byte as well as a line feed.
    for (char end : {'\r', '\0'}) {
        e = errorOfText("// a comment" + std::string(1, end) + std::string(5000, '[') +
                        std::string(5000, ']'));
        EXPECT_THAT(e.reason(), HasSubstr("nest deeper than")) << int(end);
    }
    // Bytes that are not UTF-8 inside a string, reported printably.
    e = errorOfText("{\"objects\": [{\"name\": \"caf\xE9\"}]}");
    EXPECT_EQ(e.line(), 1);
    EXPECT_THAT(e.reason(), Not(HasSubstr("\xE9")));
}

TEST_F(SceneDocumentErrors, FilesThatAreNotDocuments)
{
    try {
        loadScene((dir.path() / "missing.json").string(), core);
        FAIL();
    } catch (const SceneError& e) {
        EXPECT_THAT(e.what(), HasSubstr("missing.json: cannot open the scene document: no such file"));
    }
    EXPECT_THROW(loadScene(dir.path().string(), core), SceneError);
    EXPECT_THAT(errorOfText("").reason(), HasSubstr("the document is empty"));
    EXPECT_THAT(errorOfText("  \n ").reason(), HasSubstr("the document is empty"));
    EXPECT_THAT(errorOfText("[1, 2]").reason(), HasSubstr("expected a scene document"));
    EXPECT_THAT(errorOfText("\x89PNG\r\n\x1a\n").what(), HasSubstr("scene.json:1:1: "));
}

TEST_F(SceneDocumentErrors, MapFilesResolveAgainstTheDocumentAndMissingOnesGiveTheMapsMessage)
{
    const SceneError e =
        errorOf(R"("maps": [{"name": "photo", "class": "TestMap", "file": "img/missing.png"}])");
    EXPECT_EQ(e.jsonPath(), "/maps/0");
    EXPECT_EQ(e.reason(), "cannot open " + (dir.path() / "img/missing.png").string());
    dir.write("img/photo.png", "not really a png");
    const std::string text =
        "{" + kCamera + R"(, "render": {"output": ")" + (dir.path() / "abs.png").string() +
        R"("}, "maps": [{"name": "photo", "class": "TestMap", "file": "img/photo.png"}]})";
    auto scene = loadScene(dir.write("scene.json", text), core);
    EXPECT_EQ(scene->render.output, (dir.path() / "abs.png").string()) << "absolute paths stay";
}

}  // namespace
