#pragma once
// The studio's HTTP API as plain requests and responses, without sockets: who may ask (the session
// token, and only pages of this server asking through a host name it answers to), the editor's
// files, and the JSON calls over the session. StudioServer carries them over HTTP.

#include "studio/StudioSession.h"

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace studio {

struct ApiRequest {
    std::string method;  // GET, POST
    std::string path;
    std::map<std::string, std::string> query;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

struct ApiResponse {
    int status = 200;
    std::string contentType = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

inline constexpr std::size_t kMaxRequestBody = 1 << 20;
inline constexpr const char* kTokenCookie = "vermil_token";

// A new random session token (128 bits, hex).
std::string makeSessionToken();

class StudioApi {
public:
    // hosts: the host:port names the server answers to (127.0.0.1:PORT, localhost:PORT, ...).
    StudioApi(StudioSession& session, std::string token, std::vector<std::string> hosts,
              std::filesystem::path shareDir);

    // Empty when the request may be answered; else why not (answered with 403).
    std::string refusal(const ApiRequest& request) const;
    ApiResponse handle(const ApiRequest& request);

    void setHosts(std::vector<std::string> hosts) { hosts_ = std::move(hosts); }

private:
    ApiResponse staticFile(const std::string& name) const;
    ApiResponse call(const ApiRequest& request);

    StudioSession& session_;
    std::string token_;
    std::vector<std::string> hosts_;
    std::filesystem::path shareDir_;
};

// Where the editor's files are: VERMIL_STUDIO_DIR, else share/vermil/studio beside the program's
// folder, else the source tree's share/studio.
std::filesystem::path studioShareDir(const std::filesystem::path& programPath);

}  // namespace studio
