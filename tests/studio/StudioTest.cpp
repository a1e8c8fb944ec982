// The studio without sockets: who may ask, and the session's edits, history, saving and viewport.

#include "support/CommandTestSupport.h"

#include "studio/StudioApi.h"
#include "studio/StudioSession.h"

#include <chrono>
#include <fstream>
#include <thread>

using namespace test_support;

namespace {

using studio::ApiRequest;
using studio::Json;

constexpr const char* kScene = R"(// a ball to paint
{
  "render": {"width": 96, "height": 54, "renderer": {"class": "vmlRenderer"}},
  "camera": {"position": [0, -6, 1], "target": [0, 0, 0]},
  "lights": [{"name": "key", "type": "directional", "position": [-3, -4, 5], "target": [0, 0, 0]}],
  "objects": [{"name": "ball", "type": "sphere", "material": "ballPaint"}],
  "maps": [{"name": "dots", "class": "Checker"}],
  "materials": [
    {"name": "red", "class": "Standard", "diffuse": [0.7, 0.1, 0.1]},
    {"name": "ballPaint", "class": "vmlMaterial", "subMaterials": ["red"], "brushSize": 4}
  ]
}
)";

struct Studio : test_support::CommandTest {
    void SetUp() override
    {
        CommandTest::SetUp();
        path = (dir / "ball.json").string();
        std::ofstream(path) << kScene;
        std::ofstream(dir / "index.html") << "<title>studio</title>";
        session = std::make_unique<studio::StudioSession>(path, core, events, studio::StudioOptions{96, 54});
        api = std::make_unique<studio::StudioApi>(*session, "secret",
                                                  std::vector<std::string>{"127.0.0.1:8123"}, dir);
    }
    void TearDown() override
    {
        api.reset();
        session.reset();
        CommandTest::TearDown();
    }
    ApiRequest request(std::string method, std::string target, std::string body = "")
    {
        ApiRequest r{std::move(method), std::move(target), {}, {{"host", "127.0.0.1:8123"}}, std::move(body)};
        r.headers["x-vermil-token"] = "secret";
        return r;
    }
    Json call(std::string method, std::string target, std::string body = "")
    {
        return Json::parse(api->handle(request(std::move(method), std::move(target), std::move(body))).body);
    }
    // The value control `id` of page `dialog` shows in `state`.
    static Json value(const Json& state, int dialog, int id)
    {
        for (const Json& page : state["pages"])
            for (const Json& c : page["controls"])
                if (page["template"] == dialog && c["id"] == id)
                    return c["value"];
        return Json();
    }
    std::string fileText() { return TempDir::readText(path); }
    // The first finished (not quick) viewport frame showing state `version` or later, or an empty
    // object after a while.
    Json nextFrame(std::uint64_t version)
    {
        for (int i = 0; i < 200; ++i) {
            const auto m = events.next(seen, 300);
            if (!m)
                continue;
            seen = m->number;
            if (m->type == "frame") {
                Json f = Json::parse(m->data);
                if (!f.value("quick", true) && f.value("version", 0u) >= version)
                    return f;
            }
        }
        return Json::object();
    }
    std::string path;
    studio::StudioEvents events;
    std::unique_ptr<studio::StudioSession> session;
    std::unique_ptr<studio::StudioApi> api;
    std::uint64_t seen = 0;
};

TEST_F(Studio, OnlyThisServersPagesWithTheTokenAreAnswered)
{
    ApiRequest r = request("GET", "/api/status");
    EXPECT_EQ(api->handle(r).status, 200);
    r.headers.erase("x-vermil-token");
    EXPECT_EQ(api->handle(r).status, 403);
    r.headers["cookie"] = "theme=dark; vermil_token=secret";
    EXPECT_EQ(api->handle(r).status, 200);
    r.headers["cookie"] = "vermil_token=secreT";
    EXPECT_EQ(api->handle(r).status, 403);
    // The address's token becomes a cookie.
    ApiRequest page = request("GET", "/");
    page.headers.erase("x-vermil-token");
    page.query["token"] = "secret";
    const studio::ApiResponse first = api->handle(page);
    EXPECT_EQ(first.status, 200);
    EXPECT_EQ(first.contentType.rfind("text/html", 0), 0u);
    ASSERT_FALSE(first.headers.empty());
    EXPECT_NE(first.headers.back().second.find("vermil_token=secret; Path=/; HttpOnly; SameSite=Strict"),
              std::string::npos);
    // Another site's page, or this server reached by another name, is refused even with the token.
    ApiRequest foreign = request("POST", "/api/undo");
    foreign.headers["origin"] = "http://evil.example";
    EXPECT_EQ(api->handle(foreign).status, 403);
    foreign.headers["origin"] = "http://127.0.0.1:8123";
    EXPECT_EQ(api->handle(foreign).status, 200);
    foreign.headers["host"] = "rebound.example:8123";
    EXPECT_EQ(api->handle(foreign).status, 403);
    EXPECT_EQ(
        api->handle(request("POST", "/api/event", std::string(studio::kMaxRequestBody + 1, ' '))).status,
        413);
    EXPECT_EQ(api->handle(request("GET", "/static/..%2Fball.json")).status, 404);
    EXPECT_EQ(api->handle(request("GET", "/static/../ball.json")).status, 404);
    EXPECT_EQ(api->handle(request("POST", "/api/event", "[1]")).status, 400);
    EXPECT_EQ(api->handle(request("POST", "/api/open", R"({"kind": "material", "name": "nothing"})")).status,
              404);
}

TEST_F(Studio, EditsUndoRedoAndSaveTouchOnlyTheEditedValue)
{
    Json s = call("POST", "/api/open", R"({"kind": "material", "name": "ballPaint"})");
    ASSERT_TRUE(s["ok"]);
    EXPECT_EQ(value(s, 103, 1204), 4.0);
    EXPECT_FALSE(s["canUndo"]);
    s = call("POST", "/api/event", R"({"kind": "set", "dialog": 103, "id": 1204, "value": "9"})");
    EXPECT_EQ(value(s, 103, 1204), 9.0);
    s = call("POST", "/api/event", R"({"kind": "set", "dialog": 103, "id": 1204, "value": "500"})");
    EXPECT_TRUE(s["ok"]);
    EXPECT_NE(s["message"].get<std::string>().find("0.1 to 100"), std::string::npos) << s["message"];
    s = call("POST", "/api/event", R"({"kind": "set", "dialog": 103, "id": 99999, "value": "1"})");
    EXPECT_FALSE(s["ok"]);
    EXPECT_TRUE(s["dirty"]);
    s = call("POST", "/api/undo");
    EXPECT_EQ(value(s, 103, 1204), 9.0);
    s = call("POST", "/api/undo");
    EXPECT_EQ(value(s, 103, 1204), 4.0);
    EXPECT_FALSE(s["canUndo"]);
    EXPECT_FALSE(s["dirty"]);
    s = call("POST", "/api/redo");
    EXPECT_EQ(value(s, 103, 1204), 9.0);
    EXPECT_TRUE(s["canRedo"]);
    const std::string before = fileText();
    EXPECT_TRUE(call("POST", "/api/save")["ok"]);
    std::string expected = before;
    expected.replace(expected.find("\"brushSize\": 4"), 14, "\"brushSize\": 9");
    EXPECT_EQ(fileText(), expected);
    EXPECT_FALSE(call("GET", "/api/state")["dirty"]);
    // Undone past the save, the document's value goes back with the next save.
    call("POST", "/api/undo");
    EXPECT_TRUE(call("POST", "/api/save")["ok"]);
    EXPECT_EQ(fileText(), before);
    // Someone else changed the file: the studio does not overwrite it.
    std::ofstream(path, std::ios::app) << "// edited elsewhere\n";
    call("POST", "/api/redo");
    const Json refused = call("POST", "/api/save");
    EXPECT_FALSE(refused["ok"]);
    EXPECT_EQ(fileText(), before + "// edited elsewhere\n");
}

TEST_F(Studio, MapButtonsPickFromTheScenesMapsAndTheChoiceIsSaved)
{
    call("POST", "/api/open", R"({"kind": "material", "name": "ballPaint"})");
    Json s = call("POST", "/api/event", R"({"kind": "pick", "dialog": 109, "id": 1111, "value": "dots"})");
    ASSERT_TRUE(s["ok"]) << s["message"];
    EXPECT_EQ(value(s, 109, 1111), "dots");
    // A material does not fit a map slot, and a name the scene lacks picks nothing.
    EXPECT_FALSE(
        call("POST", "/api/event", R"({"kind": "pick", "dialog": 109, "id": 1111, "value": "red"})")["ok"]);
    EXPECT_FALSE(
        call("POST", "/api/event", R"({"kind": "pick", "dialog": 109, "id": 1111, "value": "nope"})")["ok"]);
    const Json saved = call("POST", "/api/save");
    ASSERT_TRUE(saved["ok"]) << saved;
    EXPECT_NE(fileText().find("\"brushSize\": 4, \"hiMap\": \"dots\"}"), std::string::npos) << fileText();
    // None empties the slot again.
    s = call("POST", "/api/event", R"({"kind": "pick", "dialog": 109, "id": 1111, "value": ""})");
    EXPECT_TRUE(s["ok"]);
    EXPECT_EQ(value(s, 109, 1111), "None");
}

TEST_F(Studio, TheViewportAndTheSampleFollowAnEdit)
{
    const Json opened = call("POST", "/api/open", R"({"kind": "material", "name": "ballPaint"})");
    ASSERT_FALSE(nextFrame(opened["version"]).empty());
    const std::string before = session->viewportPng("painted");
    const std::string sampleBefore = session->samplePng(standalone::SampleShape::sphere, 48, 30000);
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(sampleBefore.empty());
    // The plain render for the before/after view follows the sample.
    for (int i = 0; i < 400 && session->viewportPng("plain").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(session->viewportPng("plain").empty());
    const Json edited =
        call("POST", "/api/event", R"({"kind": "set", "dialog": 103, "id": 1204, "value": "30"})");
    const Json frame = nextFrame(edited["version"]);
    ASSERT_FALSE(frame.empty());
    EXPECT_EQ(frame["width"], 96);
    EXPECT_TRUE(session->viewportPng("painted") != before) << "the viewport did not change";
    EXPECT_TRUE(session->samplePng(standalone::SampleShape::sphere, 48, 30000) != sampleBefore)
        << "the sample did not change";
}

}  // namespace
