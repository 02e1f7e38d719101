#include "host/workbench/Server.h"

#include <atomic>
#include <chrono>

#include <httplib.h>

#include "host/workbench/Requests.h"
#include "host/workbench/WebFiles.h"

namespace zz {

namespace {

using nlohmann::json;

// How long an event stream stays silent before it sends a comment, which also finds streams whose page has
// gone.
constexpr std::chrono::seconds kKeepAlive{15};

void send(httplib::Response& res, const Reply& reply) {
    res.status = reply.status;
    res.set_header("Cache-Control", "no-store");
    res.set_content(reply.body, reply.contentType.c_str());
}

} // namespace

struct Server::Impl {
    explicit Impl(HostLoop& loop) : loop(loop) {}
    HostLoop& loop;
    httplib::Server http;
    std::atomic<int> socketPort{0};
};

Server::Server(HostLoop& loop) : impl_(std::make_unique<Impl>(loop)) {
    httplib::Server& http = impl_->http;
    HostLoop& host = loop;
    // Event streams hold a thread each for as long as their page is open; the editOptions request holds one
    // while the dialog is up.
    http.new_task_queue = [] { return new httplib::ThreadPool(32); };
    http.set_keep_alive_max_count(100000);
    // Replies go out at once: a drag's answer must not wait for the acknowledgement of the one before.
    http.set_tcp_nodelay(true);
    http.set_keep_alive_timeout(30);
    // Bodies past this are refused before they are read; those between kMaxRequestBytes and it are read and
    // refused by the checks, with the same message.
    http.set_payload_max_length(kMaxRequestBytes * 16);

    http.set_error_handler(
        httplib::Server::HandlerWithResponse([](const httplib::Request& req, httplib::Response& res) {
            if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
            if (res.status == 413) {
                res.status = 400;
                res.set_content(json{{"ok", false},
                                     {"error", "the request body is larger than the limit of " +
                                                   std::to_string(kMaxRequestBytes) + " bytes"}}
                                    .dump(),
                                "application/json");
            } else {
                res.set_content(
                    json{{"ok", false}, {"error", "nothing at " + req.method + " " + req.path}}.dump(),
                    "application/json");
            }
            return httplib::Server::HandlerResponse::Handled;
        }));

    http.Get(R"(/|/index\.html|/app\.js|/app\.css)", [](const httplib::Request& req, httplib::Response& res) {
        const std::optional<WebFile> file = webFile(req.path);
        if (!file) {
            res.status = 404;
            return;
        }
        res.set_header("Cache-Control", "no-cache");
        res.set_content(std::string(file->body), std::string(file->contentType).c_str());
    });

    http.Post("/api/command", [&host](const httplib::Request& req, httplib::Response& res) {
        send(res, host.request(req.body));
    });

    http.Get("/api/channel", [impl = impl_.get()](const httplib::Request&, httplib::Response& res) {
        const int port = impl->socketPort.load();
        send(res, Reply::json({{"socket",
                                port > 0 ? json{{"port", port}, {"path", "/api/socket"}} : json(nullptr)}}));
    });
    http.Get("/api/icon.png", [&host](const httplib::Request&, httplib::Response& res) {
        send(res, host.call({{"do", "image"}, {"kind", "icon"}}));
    });
    http.Get("/api/cursor.png", [&host](const httplib::Request&, httplib::Response& res) {
        send(res, host.call({{"do", "image"}, {"kind", "cursor"}}));
    });
    http.Get(R"(/api/bitmap/(\d{1,5})\.png)", [&host](const httplib::Request& req, httplib::Response& res) {
        const long id = std::stol(req.matches[1].str());
        if (id < 1 || id > 0xFFFF) {
            send(res, Reply::error(404, "no bitmap " + req.matches[1].str()));
            return;
        }
        Reply reply = host.call({{"do", "image"}, {"kind", "bitmap"}, {"id", id}});
        send(res, reply);
        if (reply.status == 200) res.set_header("Cache-Control", "max-age=3600");
    });
    http.Get(R"(/api/export\.(svg|png|pdf))", [&host](const httplib::Request& req, httplib::Response& res) {
        const std::string format = req.matches[1].str();
        send(res, host.call({{"do", "export"}, {"format", format}}));
        if (res.status == 200)
            res.set_header("Content-Disposition", "attachment; filename=\"zigzag." + format + "\"");
    });

    http.Get("/api/events", [&host](const httplib::Request&, httplib::Response& res) {
        // Listening before the state is read: nothing that happens after it is missed.
        std::shared_ptr<EventHub::Listener> listener = host.events().listen();
        const Reply state = host.call({{"do", "state"}});
        json hello = json::object();
        if (state.status == 200) {
            const json parsed = json::parse(state.body);
            hello = {{"revision", parsed["revision"]}, {"dialog", parsed["dialog"]}};
        }
        auto first =
            std::make_shared<std::string>("retry: 1000\nevent: hello\ndata: " + hello.dump() + "\n\n");
        res.set_header("Cache-Control", "no-store");
        res.set_chunked_content_provider(
            "text/event-stream",
            [listener, first](size_t, httplib::DataSink& sink) {
                if (!first->empty()) {
                    const std::string text = std::move(*first);
                    first->clear();
                    return sink.write(text.data(), text.size());
                }
                const std::optional<Event> event = listener->next(kKeepAlive);
                if (!event && listener->closed()) {
                    sink.done();
                    return true;
                }
                const std::string text =
                    event ? "event: " + event->name + "\ndata: " + event->data + "\n\n" : ": keep-alive\n\n";
                return sink.write(text.data(), text.size());
            },
            [&host, listener](bool) { host.events().forget(listener); });
    });
}

Server::~Server() = default;

int Server::bind(const std::string& host, int port, std::string* error) {
    httplib::Server& http = impl_->http;
    int bound = -1;
    if (port == 0)
        bound = http.bind_to_any_port(host);
    else if (http.bind_to_port(host, port))
        bound = port;
    if (bound <= 0) {
        if (error != nullptr)
            *error = "cannot listen on " + host + ":" +
                     (port == 0 ? std::string("a free port") : std::to_string(port));
        return -1;
    }
    return bound;
}

void Server::setSocketPort(int port) {
    impl_->socketPort = port;
}

void Server::serve() {
    impl_->http.listen_after_bind();
}

void Server::stop() {
    impl_->http.stop();
}

} // namespace zz
