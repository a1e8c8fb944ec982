#pragma once
// The studio over HTTP: cpp-httplib carrying StudioApi's requests, and the server-sent event
// stream of StudioEvents. Request threads only hand over; rendering runs on the session's thread.

#include "studio/StudioApi.h"
#include "studio/StudioEvents.h"

#include <memory>
#include <string>

namespace httplib {
class Server;
}

namespace studio {

class StudioServer {
public:
    StudioServer(StudioApi& api, StudioEvents& events);
    ~StudioServer();

    // Binds host:port (port 0: any free one). False with error set when it cannot.
    bool bind(const std::string& host, int port, std::string& error);
    int port() const { return port_; }
    // Serves until stop(); call from one thread.
    void run();
    // Stops serving and ends every event stream; callable from any thread.
    void stop();

private:
    StudioApi& api_;
    StudioEvents& events_;
    std::unique_ptr<httplib::Server> server_;
    int port_ = 0;
};

}  // namespace studio
