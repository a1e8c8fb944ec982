#include "studio/StudioServer.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>

namespace studio {

namespace {

ApiRequest apiRequest(const httplib::Request& req)
{
    ApiRequest r;
    r.method = req.method;
    r.path = req.path;
    for (const auto& [name, value] : req.params)
        r.query.emplace(name, value);
    for (const auto& [name, value] : req.headers) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        r.headers.emplace(lower, value);
    }
    r.body = req.body;
    return r;
}

void send(const ApiResponse& a, httplib::Response& res)
{
    res.status = a.status;
    for (const auto& [name, value] : a.headers)
        res.set_header(name.c_str(), value);
    res.set_content(a.body, a.contentType.c_str());
}

}  // namespace

StudioServer::StudioServer(StudioApi& api, StudioEvents& events)
    : api_(api), events_(events), server_(std::make_unique<httplib::Server>())
{
    server_->set_payload_max_length(kMaxRequestBody);
    // Idle browser connections close soon, so stopping never waits long for them.
    server_->set_keep_alive_timeout(2);
    auto handle = [this](const httplib::Request& req, httplib::Response& res) {
        send(api_.handle(apiRequest(req)), res);
    };
    server_->Get(".*", [this, handle](const httplib::Request& req, httplib::Response& res) {
        if (req.path != "/api/events")
            return handle(req, res);
        const ApiRequest r = apiRequest(req);
        if (const std::string why = api_.refusal(r); !why.empty()) {
            ApiResponse refused{
                403, "application/json", nlohmann::json{{"ok", false}, {"error", why}}.dump(), {}};
            return send(refused, res);
        }
        // One stream per tab; it ends when the tab goes (a failed write) or the server stops.
        res.set_header("Cache-Control", "no-store");
        const std::uint64_t start = events_.latest();
        res.set_chunked_content_provider(
            "text/event-stream", [this, last = start](std::size_t, httplib::DataSink& sink) mutable {
                const auto message = events_.next(last, 15000);
                if (events_.closed())
                    return false;
                std::string text;
                if (message) {
                    last = message->number;
                    text = "event: " + message->type + "\ndata: " + message->data + "\n\n";
                } else {
                    text = ": still here\n\n";
                }
                return sink.is_writable() && sink.write(text.data(), text.size());
            });
    });
    server_->Post(".*", handle);
}

StudioServer::~StudioServer() { stop(); }

bool StudioServer::bind(const std::string& host, int port, std::string& error)
{
    if (port == 0) {
        port_ = server_->bind_to_any_port(host);
        if (port_ <= 0) {
            error = "cannot listen on " + host;
            return false;
        }
        return true;
    }
    if (!server_->bind_to_port(host, port)) {
        error = "cannot listen on " + host + ":" + std::to_string(port) +
                " (in use, or not an address of this machine)";
        return false;
    }
    port_ = port;
    return true;
}

void StudioServer::run() { server_->listen_after_bind(); }

void StudioServer::stop()
{
    events_.close();
    if (server_)
        server_->stop();
}

}  // namespace studio
