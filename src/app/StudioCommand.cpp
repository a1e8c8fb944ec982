#include "app/StudioCommand.h"

#include "app/CancelOnInterrupt.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/SceneOrModel.h"
#include "studio/StudioApi.h"
#include "studio/StudioServer.h"
#include "studio/StudioSession.h"

#include <fmt/format.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace app {

namespace {

// The names a browser on this machine reaches the server by.
std::vector<std::string> hostNames(const std::string& host, int port)
{
    std::vector<std::string> names;
    auto add = [&](const std::string& name) { names.push_back(fmt::format("{}:{}", name, port)); };
    add(host.find(':') != std::string::npos ? "[" + host + "]" : host);
    if (host == "127.0.0.1" || host == "0.0.0.0" || host == "::1" || host == "::") {
        add("127.0.0.1");
        add("localhost");
        add("[::1]");
    }
    return names;
}

void openInBrowser(const std::string& address)
{
    // The user's own browser; without a desktop the printed address is enough.
    const std::string command = fmt::format("xdg-open '{}' >/dev/null 2>&1 &", address);
    if (std::system(command.c_str()) != 0)
        fmt::print(stderr, "vermil studio: could not open a browser; open the address above\n");
}

}  // namespace

int runStudio(const StudioCommandOptions& options, standalone::StandaloneCore& core)
{
    if (!standalone::isSceneDocument(options.scenePath)) {
        fmt::print(stderr,
                   "vermil studio: {}: the studio edits scene documents; import the model from one to edit "
                   "its look\n",
                   options.scenePath);
        return 1;
    }
    studio::StudioEvents events;
    std::unique_ptr<studio::StudioSession> session;
    try {
        session = std::make_unique<studio::StudioSession>(options.scenePath, core, events);
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    const std::string token = studio::makeSessionToken();
    studio::StudioApi api(*session, token, {}, studio::studioShareDir(options.programPath));
    studio::StudioServer server(api, events);
    std::string error;
    if (!server.bind(options.host, options.port, error)) {
        fmt::print(stderr, "vermil studio: {}\n", error);
        return 1;
    }
    api.setHosts(hostNames(options.host, server.port()));
    const std::string shown = options.host == "0.0.0.0" ? "127.0.0.1" : options.host;
    const std::string address =
        fmt::format("http://{}:{}/?token={}",
                    shown.find(':') != std::string::npos ? "[" + shown + "]" : shown, server.port(), token);
    fmt::print("vermil studio: {}\n", address);
    std::fflush(stdout);
    if (options.openBrowser)
        openInBrowser(address);

    std::thread serving([&] { server.run(); });
    // Ctrl-C (or a termination signal) stops the server; the render thread stops with the session.
    while (!interrupted())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server.stop();
    serving.join();
    session->stop();
    fmt::print(stderr, "vermil studio: stopped\n");
    return 0;
}

}  // namespace app
