// The workbench over HTTP (cpp-httplib): the page's files, the command endpoint, the event stream and the
// module's pictures, all in front of one HostLoop.
//
//   GET  /, /app.js, /app.css          the page
//   POST /api/command                  one command (Requests.h); the reply is JSON, or the export's bytes
//   GET  /api/events                   server-sent events: "hello", "document", "dialog", "abandoned"
//   GET  /api/icon.png, /api/cursor.png, /api/bitmap/N.png   the module's tool icon, cursor and bitmaps
//   GET  /api/export.svg|png|pdf       the document as a file
//   GET  /api/channel                  where the command socket (SocketServer.h) listens: {"socket": {"port"}}
//
// Every page shares the one document the host holds.
#ifndef ZZ_HOST_WORKBENCH_SERVER_H
#define ZZ_HOST_WORKBENCH_SERVER_H

#include <functional>
#include <memory>
#include <string>

#include "host/workbench/HostLoop.h"

namespace zz {

class Server {
  public:
    explicit Server(HostLoop& loop);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds to `host`:`port` (0: a free port). The port bound, or -1 with the reason.
    int bind(const std::string& host, int port, std::string* error);
    // Tells pages the command socket's port (none: pages use HTTP alone).
    void setSocketPort(int port);
    // Serves until stop() (from any thread).
    void serve();
    void stop();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace zz

#endif
