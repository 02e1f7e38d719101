// The workbench's command channel over a WebSocket (Boost.Beast), beside the HTTP server: a page's pointer
// events go through it because in a browser a WebSocket message and its answer take a fraction of a
// millisecond, where an HTTP request takes several.
//
//   ws://HOST:PORT/api/socket   one text message per command (Requests.h), answered in order with the
//                               command's JSON; an answer other than HTTP's 200 also carries "http",
//                               the status HTTP would have answered with
//
// Each connection is a client of its own (Workbench.h): the drag it presses is its own, and closing the
// connection mid-drag ends that drag where it is. A connection takes one command at a time: the next is
// read once the answer to the last is written. editOptions (answered only when the dialog ends), export and
// image stay on HTTP. A message past the request limit is answered with the error and changes nothing; one
// past sixteen times the limit closes the connection ("message too big"). Browsers say which page opened
// the socket: only pages of the workbench itself (the same host name, the HTTP server's port) are let in.
#ifndef ZZ_HOST_WORKBENCH_SOCKET_SERVER_H
#define ZZ_HOST_WORKBENCH_SOCKET_SERVER_H

#include <memory>
#include <string>

#include "host/workbench/HostLoop.h"

namespace zz {

class SocketServer {
  public:
    // `pagePort`: the HTTP server's port, whose pages may connect.
    SocketServer(HostLoop& loop, int pagePort);
    // Stops. The host loop must have stopped first, so that no reply is still on its way here.
    ~SocketServer();
    SocketServer(const SocketServer&) = delete;
    SocketServer& operator=(const SocketServer&) = delete;

    // Binds to `host`:`port` (0: a free port). The port bound, or -1 with the reason.
    int bind(const std::string& host, int port, std::string* error);
    // Serves on a thread of its own until stop().
    void start();
    void stop();

  private:
    struct Impl;
    std::shared_ptr<Impl> impl_;
};

// Whether a browser page from `origin` may open the socket that was asked for as `hostHeader`: its scheme is
// http, its host name is the one the socket was asked for under, and its port is the page server's. A
// request without an origin does not come from a page and is let in.
bool pageMayConnect(const std::string& origin, const std::string& hostHeader, int pagePort);

} // namespace zz

#endif
