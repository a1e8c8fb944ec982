#pragma once
// `vermil studio SCENE [--port N] [--host ADDR] [--no-browser]`: the live editor. Starts the local
// web server on the scene document, prints its address (with the session token) and opens it in
// the user's browser; serves until Ctrl-C.

#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

struct StudioCommandOptions {
    std::string scenePath;
    std::string host = "127.0.0.1";
    int port = 0;  // 0: a free one
    bool openBrowser = true;
    std::string programPath;  // argv[0], to find the editor's files
};

// Exit code: 0 after Ctrl-C, 1 when the document does not load or the port cannot be had.
int runStudio(const StudioCommandOptions& options, standalone::StandaloneCore& core);

}  // namespace app
