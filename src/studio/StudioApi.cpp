#include "studio/StudioApi.h"

#include "standalone/SceneDocument.h"

#include <fmt/format.h>

#include <charconv>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

namespace studio {

namespace {

ApiResponse json(int status, const Json& body) { return {status, "application/json", body.dump(), {}}; }

ApiResponse error(int status, const std::string& message)
{
    return json(status, Json{{"ok", false}, {"error", message}});
}

// Compares without stopping at the first difference, so timing tells nothing about the token.
bool sameSecret(const std::string& a, const std::string& b)
{
    unsigned diff = static_cast<unsigned>(a.size() ^ b.size());
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0 && !a.empty();
}

std::string cookieValue(const std::string& cookies, const std::string& name)
{
    std::stringstream list(cookies);
    for (std::string part; std::getline(list, part, ';');) {
        const std::size_t start = part.find_first_not_of(' ');
        if (start == std::string::npos)
            continue;
        part.erase(0, start);
        if (part.compare(0, name.size() + 1, name + "=") == 0)
            return part.substr(name.size() + 1);
    }
    return {};
}

std::string header(const ApiRequest& r, const std::string& name)
{
    const auto it = r.headers.find(name);
    return it == r.headers.end() ? std::string() : it->second;
}

std::string param(const ApiRequest& r, const std::string& name, const std::string& fallback = "")
{
    const auto it = r.query.find(name);
    return it == r.query.end() ? fallback : it->second;
}

int intOf(const std::string& text, int fallback)
{
    int v = fallback;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && ptr == text.data() + text.size() ? v : fallback;
}

Json body(const ApiRequest& r)
{
    if (r.body.empty())
        return Json::object();
    Json j = Json::parse(r.body, nullptr, false);
    if (j.is_discarded() || !j.is_object())
        throw StudioError(400, "expected a JSON object as the request body");
    return j;
}

std::string stringField(const Json& j, const char* key)
{
    const auto it = j.find(key);
    if (it == j.end())
        return {};
    if (it->is_string())
        return it->get<std::string>();
    if (it->is_number())
        return it->dump();
    throw StudioError(400, fmt::format("\"{}\" must be a string or a number", key));
}

int intField(const Json& j, const char* key)
{
    const auto it = j.find(key);
    if (it == j.end() || !it->is_number_integer())
        throw StudioError(400, fmt::format("\"{}\" must be a whole number", key));
    return it->get<int>();
}

ApiResponse png(std::string bytes, const std::string& missing)
{
    if (bytes.empty())
        return error(404, missing);
    ApiResponse r{200, "image/png", std::move(bytes), {}};
    r.headers.push_back({"Cache-Control", "no-store"});
    return r;
}

}  // namespace

std::string makeSessionToken()
{
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i)
        token += fmt::format("{:08x}", static_cast<std::uint32_t>(device()));
    return token;
}

StudioApi::StudioApi(StudioSession& session, std::string token, std::vector<std::string> hosts,
                     std::filesystem::path shareDir)
    : session_(session), token_(std::move(token)), hosts_(std::move(hosts)), shareDir_(std::move(shareDir))
{}

std::string StudioApi::refusal(const ApiRequest& r) const
{
    // A page of another site, or one reaching this server under a name it does not answer to (a
    // rebound DNS name), is refused whatever it carries.
    const std::string host = header(r, "host");
    if (std::find(hosts_.begin(), hosts_.end(), host) == hosts_.end())
        return fmt::format("host \"{}\" is not this server", host);
    const std::string origin = header(r, "origin");
    if (!origin.empty() && origin != "http://" + host)
        return fmt::format("requests from \"{}\" are not accepted", origin);
    std::string token = param(r, "token");
    if (token.empty())
        token = header(r, "x-vermil-token");
    if (token.empty())
        token = cookieValue(header(r, "cookie"), kTokenCookie);
    if (!sameSecret(token, token_))
        return "this needs the session token printed when the studio started";
    return {};
}

ApiResponse StudioApi::handle(const ApiRequest& r)
{
    if (const std::string why = refusal(r); !why.empty())
        return error(403, why);
    if (r.body.size() > kMaxRequestBody)
        return error(413, "the request body is too large");
    ApiResponse response;
    if (r.method == "GET" && r.path == "/")
        response = staticFile("index.html");
    else if (r.method == "GET" && r.path.rfind("/static/", 0) == 0)
        response = staticFile(r.path.substr(8));
    else if (r.path.rfind("/api/", 0) == 0)
        response = call(r);
    else
        response = error(404, "no such page");
    // The address's token becomes a cookie, so the page's own requests carry it.
    if (!param(r, "token").empty())
        response.headers.push_back(
            {"Set-Cookie", fmt::format("{}={}; Path=/; HttpOnly; SameSite=Strict", kTokenCookie, token_)});
    return response;
}

ApiResponse StudioApi::staticFile(const std::string& name) const
{
    const bool plain =
        !name.empty() && name.find("..") == std::string::npos &&
        name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.-") ==
            std::string::npos;
    if (!plain)
        return error(404, "no such file");
    std::ifstream in(shareDir_ / name, std::ios::binary);
    if (!in)
        return error(404, "no such file: " + name);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string ext = std::filesystem::path(name).extension().string();
    const char* type = ext == ".html"  ? "text/html; charset=utf-8"
                       : ext == ".js"  ? "text/javascript; charset=utf-8"
                       : ext == ".css" ? "text/css; charset=utf-8"
                       : ext == ".png" ? "image/png"
                       : ext == ".svg" ? "image/svg+xml"
                                       : "application/octet-stream";
    ApiResponse r{200, type, bytes.str(), {}};
    r.headers.push_back({"Cache-Control", "no-cache"});
    return r;
}

ApiResponse StudioApi::call(const ApiRequest& r)
{
    const std::string& p = r.path;
    const bool get = r.method == "GET", post = r.method == "POST";
    try {
        if (get && p == "/api/tree")
            return json(200, session_.tree());
        if (get && p == "/api/status")
            return json(200, session_.status());
        if (get && p == "/api/state")
            return json(200, session_.state());
        if (post && p == "/api/open") {
            const Json b = body(r);
            return json(200, session_.open({stringField(b, "kind"), stringField(b, "name")}));
        }
        if (post && p == "/api/event") {
            const Json b = body(r);
            const std::string kind = stringField(b, "kind");
            standalone::RolloutEvent e;
            if (kind == "set")
                e.kind = standalone::RolloutEvent::set;
            else if (kind == "select")
                e.kind = standalone::RolloutEvent::select;
            else if (kind == "press")
                e.kind = standalone::RolloutEvent::press;
            else if (kind == "pick")
                e.kind = standalone::RolloutEvent::pick;
            else
                throw StudioError(400, "\"kind\" must be set, select, press or pick");
            e.id = intField(b, "id");
            e.dialog = b.contains("dialog") ? intField(b, "dialog") : 0;
            e.value = stringField(b, "value");
            return json(200, session_.act(e));
        }
        if (post && p == "/api/undo")
            return json(200, session_.undo());
        if (post && p == "/api/redo")
            return json(200, session_.redo());
        if (post && p == "/api/frame")
            return json(200, session_.setFrame(intField(body(r), "frame")));
        if (post && p == "/api/save") {
            Json result = session_.save();
            return json(result.value("ok", false) ? 200 : 409, result);
        }
        if (post && p == "/api/render") {
            std::string why;
            const Json b = body(r);
            const auto range = b.find("range");
            if (!session_.startFullRender(range != b.end() && range->is_boolean() && range->get<bool>(), why))
                return error(409, why);
            return json(200, Json{{"ok", true}});
        }
        if (get && p.rfind("/api/preview/", 0) == 0) {
            // /api/preview/TEMPLATE/ID.png
            const std::string rest = p.substr(13);
            const std::size_t slash = rest.find('/');
            const std::size_t dot = rest.rfind(".png");
            if (slash == std::string::npos || dot == std::string::npos || dot < slash)
                return error(404, "expected /api/preview/TEMPLATE/ID.png");
            const int dialog = intOf(rest.substr(0, slash), -1),
                      id = intOf(rest.substr(slash + 1, dot - slash - 1), -1);
            return png(session_.previewPng(dialog, id), "no such preview on the open rollouts");
        }
        if (get && p == "/api/sample.png") {
            const auto shape = standalone::sampleShapeNamed(param(r, "shape", "sphere"));
            if (!shape)
                return error(400, "shape must be one of " + standalone::sampleShapeNames());
            return png(session_.samplePng(*shape, intOf(param(r, "size"), 160), 8000),
                       "no material is open, or its sample did not render");
        }
        if (get && p == "/api/viewport.png")
            return png(session_.viewportPng(param(r, "layer", "painted")), "no frame of that layer yet");
    } catch (const StudioError& e) {
        return error(e.status(), e.what());
    } catch (const standalone::SceneError& e) {
        return error(422, e.what());
    } catch (const std::exception& e) {
        // A request the checks above let through must not take the server down.
        return error(500, std::string("the studio could not answer: ") + e.what());
    }
    return error(404, "no such call: " + r.method + " " + p);
}

std::filesystem::path studioShareDir(const std::filesystem::path& programPath)
{
    if (const char* dir = std::getenv("VERMIL_STUDIO_DIR"); dir && *dir)
        return dir;
    std::error_code ec;
    const std::filesystem::path installed =
        std::filesystem::weakly_canonical(programPath, ec).parent_path().parent_path() /
        "share/vermil/studio";
    if (!ec && std::filesystem::exists(installed / "index.html", ec))
        return installed;
    return VML_STUDIO_SOURCE_DIR;
}

}  // namespace studio
