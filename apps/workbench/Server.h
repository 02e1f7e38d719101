// The workbench's one server (Boost.Beast) in front of one HostLoop, on one port, on one thread: every
// connection is asynchronous, so idle or slow ones hold nothing but their memory and delay nobody.
//
//   GET /?token=TOKEN, /*.js, /app.css     the page's files, the only ones served without the token: the
//                                          page takes the token from its address (Access.h)
//   GET /api/icon.png, /api/cursor.png, /api/bitmap/N.png   the module's tool icon, cursor and bitmaps
//   GET /api/export.svg|png|pdf?area=page|art&scale=S&background=white|transparent   the document as a file
//   GET /api/socket?token=TOKEN            the page's WebSocket: everything live
//
// Every request must pass the access checks (Access.h) first; nothing but GET is served.
//
// The socket carries one JSON text message per command (Requests.h) and its answer, which repeats the
// command's "id" (a command without one is refused, not carried out); an answer that is no success carries
// "ok": false, "error" and "http", the status HTTP would have used. Answers come in the order the commands
// went. The server also sends, unasked:
//
//   {"event": "hello", "client": C, "commands": [...]}      first, on every new socket: the command table
//   {"event": "document", "revision", "delta", "undo", "redo", "dragging"}   the document changed
//   {"event": "dialog", "dialog": {...} | null}            the dialog as it now is
//   {"event": "abandoned", "why"}                          a drag was ended by the host
//
// Each socket is a client of its own (Workbench.h): its drag is its own, and its closing ends that drag. A
// socket takes up to kMaxCommandsInFlight commands before it waits for their answers; one whose page does
// not read what it is sent (kMaxQueuedBytes) is closed. Messages over the request limit are answered with
// the error; over sixteen times the limit the socket is closed.
#ifndef ZZ_APPS_WORKBENCH_SERVER_H
#define ZZ_APPS_WORKBENCH_SERVER_H

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "apps/workbench/Access.h"
#include "apps/workbench/HostLoop.h"

namespace zz {

class Server {
  public:
    static constexpr std::size_t kMaxCommandsInFlight = 64;
    static constexpr std::size_t kMaxQueuedBytes = 64 * 1024 * 1024;

    struct Options {
        // The token requests must carry; the port is filled in by bind().
        AccessPolicy access;
        // How long a connection may take to send a request's header, and how long an HTTP connection may
        // sit idle between requests.
        std::chrono::seconds requestTime{30};
        std::chrono::seconds idleTime{120};
        // Exports converted at once (PNG and PDF); more wait, up to kMaxWaitingConversions, then are
        // refused as busy.
        int conversions = 2;
    };
    static constexpr std::size_t kMaxWaitingConversions = 8;

    Server(HostLoop& loop, Options options);
    // Stops, if stop() was not called.
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Binds to `host`:`port` (0: a free port). The port bound, or -1 with the reason.
    int bind(const std::string& host, int port, std::string* error);
    // Serves on the calling thread until stop() (from any thread).
    void serve();
    // Serves on a thread of its own (for tests) until stop().
    void start();
    // Closes every connection and returns once the server's threads have ended.
    void stop();

    // The state the server's connections share (Server.cpp).
    struct Impl;

  private:
    std::shared_ptr<Impl> impl_;
};

} // namespace zz

#endif
