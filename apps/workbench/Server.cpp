#include "apps/workbench/Server.h"

// Boost 1.74's asio uses std::exchange without including <utility>.
#include <utility>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <optional>
#include <regex>
#include <thread>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "apps/workbench/Export.h"
#include "apps/workbench/Requests.h"
#include "apps/workbench/WebFiles.h"

namespace zz {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using nlohmann::json;

namespace {

constexpr std::size_t kMaxHeaderBytes = 16 * 1024;
constexpr std::size_t kMaxGetBodyBytes = 1024;
// Turns the export's SVG into PNG or PDF off the server's thread, a few at a time; more wait their turn up
// to a limit and are then refused, so that a burst of large conversions cannot pile up without end.
class ConversionPool {
  public:
    explicit ConversionPool(int threads) {
        for (int i = 0; i < std::max(1, threads); ++i)
            workers_.emplace_back([this] { work(); });
    }
    ~ConversionPool() { stop(); }

    // False when too many wait already.
    bool submit(std::function<void()> job) {
        std::lock_guard lock(mutex_);
        if (stopped_ || jobs_.size() >= Server::kMaxWaitingConversions) return false;
        jobs_.push_back(std::move(job));
        ready_.notify_one();
        return true;
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
            jobs_.clear();
        }
        ready_.notify_all();
        for (std::thread& worker : workers_)
            if (worker.joinable()) worker.join();
    }

  private:
    void work() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return stopped_ || !jobs_.empty(); });
                if (stopped_) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    bool stopped_ = false;
    std::vector<std::thread> workers_;
};

class SocketSession;

} // namespace

// What the server's thread and the replies on their way to it share; outlives the connections.
struct Server::Impl {
    Impl(HostLoop& loop, Options options)
        : loop(loop), options(std::move(options)), acceptor(io), conversions(this->options.conversions) {}

    HostLoop& loop;
    Options options;
    asio::io_context io;
    tcp::acceptor acceptor;
    std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
    std::thread thread;
    std::atomic<bool> stopped{false};
    ConversionPool conversions;
    // Touched on the server's thread only.
    uint64_t nextClient = 1;
    std::map<uint64_t, std::weak_ptr<SocketSession>> sockets;

    void accept(const std::shared_ptr<Impl>& self);
    void deliver(uint64_t client, std::string message);
};

namespace {

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// One page's socket: commands read as they come, up to a limit in flight, and answers and news written in
// the order they were handed over.
class SocketSession : public std::enable_shared_from_this<SocketSession> {
  public:
    SocketSession(const std::shared_ptr<Server::Impl>& server, beast::tcp_stream stream)
        : server_(server), loop_(server->loop), stream_(std::move(stream)) {}

    void start(http::request<http::string_body> upgrade) {
        beast::get_lowest_layer(stream_).expires_never();
        websocket::stream_base::timeout timeouts =
            websocket::stream_base::timeout::suggested(beast::role_type::server);
        // A page whose machine vanished is found by the pings going unanswered.
        timeouts.idle_timeout = std::chrono::seconds(60);
        timeouts.keep_alive_pings = true;
        stream_.set_option(timeouts);
        stream_.read_message_max(kMaxRequestBytes * 16);
        stream_.async_accept(upgrade, [self = shared_from_this()](beast::error_code failed) {
            if (failed) return;
            self->opened();
        });
    }

    void close() {
        beast::error_code ignored;
        beast::get_lowest_layer(stream_).socket().close(ignored);
    }

    // Queues a message to the page; a page that reads nothing for long enough is let go.
    void send(std::string message) {
        if (closed_) return;
        queuedBytes_ += message.size();
        if (queuedBytes_ > Server::kMaxQueuedBytes) {
            close();
            return;
        }
        outbox_.push_back(std::move(message));
        if (outbox_.size() == 1) writeNext();
    }

  private:
    void opened() {
        std::shared_ptr<Server::Impl> server = server_.lock();
        if (!server) return;
        client_ = server->nextClient++;
        server->sockets[client_] = weak_from_this();
        // The host learns of the page before any command of its: every change after it reaches the page.
        loop_.submit(json{{"do", "connected"}, {"client", client_}}, [](Reply) {});
        send(safeDump({{"event", "hello"}, {"client", client_}, {"commands", commandTableJson()}}));
        read();
    }

    void read() {
        if (reading_ || closed_ || inFlight_ >= Server::kMaxCommandsInFlight) return;
        reading_ = true;
        stream_.async_read(buffer_, [self = shared_from_this()](beast::error_code failed, std::size_t) {
            self->reading_ = false;
            if (failed) {
                self->ended();
                return;
            }
            self->onMessage();
            self->read();
        });
    }

    void onMessage() {
        const std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (!stream_.got_text()) {
            send(refusal(json(nullptr), 400, "commands come as text messages of JSON"));
            return;
        }
        ParsedRequest parsed = parseRequest(text);
        if (!parsed.error.empty()) {
            // The id, when one can be read, goes back with the refusal.
            const json loose = json::parse(text, nullptr, false);
            const json id = loose.is_object() && loose.contains("id") && loose["id"].is_number_integer()
                                ? loose["id"]
                                : json(nullptr);
            send(refusal(id, 400, parsed.error));
            return;
        }
        const CommandRule* rule = commandRule(parsed.command["do"].get<std::string>());
        if (rule == nullptr || rule->route != Route::Socket) {
            send(refusal(parsed.command.value("id", json(nullptr)), 400,
                         "\"" + parsed.command["do"].get<std::string>() +
                             "\" is not taken on the socket: it is an HTTP GET"));
            return;
        }
        // An answer is matched to its command by the id alone: a command without one is not carried out.
        if (!parsed.command.contains("id")) {
            send(refusal(
                json(nullptr), 400,
                "\"" + parsed.command["do"].get<std::string>() +
                    "\" has no \"id\": a command over the socket needs one, which its answer repeats"));
            return;
        }
        const json id = parsed.command["id"];
        parsed.command.erase("id");
        parsed.command["client"] = client_;
        ++inFlight_;
        loop_.submit(std::move(parsed.command),
                     [server = server_, self = shared_from_this(), id](Reply answer) {
                         // On the host thread: the answer goes back to the server's thread to be written.
                         if (std::shared_ptr<Server::Impl> alive = server.lock())
                             asio::post(alive->io, [self, id, answer = std::move(answer)]() mutable {
                                 --self->inFlight_;
                                 self->send(self->answerText(id, answer));
                                 self->read();
                             });
                     });
    }

    static std::string refusal(const json& id, int status, const std::string& why) {
        json out = Reply::errorJson(why);
        out["http"] = status;
        if (!id.is_null()) out["id"] = id;
        return safeDump(out);
    }

    // The host's answer with the command's id (and the status, when not 200) added as its last keys, which a
    // reader takes over any of the same name. The answer's text is the host's own JSON object, which can be
    // megabytes (the whole document for a new page): it is extended as text, not read and written again.
    std::string answerText(const json& id, const Reply& answer) const {
        if (answer.contentType != "application/json") return refusal(id, 500, "the answer is not JSON");
        const std::string& body = answer.body;
        const std::size_t open = body.find_first_not_of(" \t\r\n");
        const std::size_t close = body.find_last_not_of(" \t\r\n");
        if (open == std::string::npos || body[open] != '{' || body[close] != '}')
            return refusal(id, 500, "the host's answer could not be read");
        std::string added;
        if (answer.status != 200) added += "\"http\":" + std::to_string(answer.status);
        if (!id.is_null()) added += (added.empty() ? "" : ",") + std::string("\"id\":") + safeDump(id);
        if (added.empty()) return body;
        const bool empty = body.find_first_not_of(" \t\r\n", open + 1) == close;
        std::string text;
        text.reserve(close + added.size() + 2);
        text.append(body, 0, close).append(empty ? "" : ",").append(added).push_back('}');
        return text;
    }

    void writeNext() {
        stream_.text(true);
        stream_.async_write(asio::buffer(outbox_.front()),
                            [self = shared_from_this()](beast::error_code failed, std::size_t) {
                                if (failed) {
                                    self->ended();
                                    return;
                                }
                                self->queuedBytes_ -= self->outbox_.front().size();
                                self->outbox_.pop_front();
                                if (!self->outbox_.empty() && !self->closed_) self->writeNext();
                            });
    }

    // The page closed the socket or it failed: the host forgets the page, and a drag it had open ends
    // where it is.
    void ended() {
        if (closed_) return;
        // What waits to be written goes with the session: a write still on its way reads from its front.
        closed_ = true;
        close();
        if (client_ == 0) return;
        if (std::shared_ptr<Server::Impl> server = server_.lock()) server->sockets.erase(client_);
        loop_.submit(json{{"do", "disconnected"}, {"client", client_}}, [](Reply) {});
    }

    std::weak_ptr<Server::Impl> server_;
    HostLoop& loop_;
    websocket::stream<beast::tcp_stream> stream_;
    beast::flat_buffer buffer_;
    std::deque<std::string> outbox_;
    std::size_t queuedBytes_ = 0;
    std::size_t inFlight_ = 0;
    uint64_t client_ = 0;
    bool reading_ = false;
    bool closed_ = false;
};

using Response = http::response<http::string_body>;

// One HTTP connection: requests read one at a time and answered; an upgrade to the socket hands the
// connection on to a SocketSession.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
  public:
    HttpSession(const std::shared_ptr<Server::Impl>& server, tcp::socket socket)
        : server_(server), stream_(std::move(socket)) {}

    void start() {
        beast::error_code ignored;
        stream_.socket().set_option(tcp::no_delay(true), ignored);
        readNext();
    }

    void close() {
        beast::error_code ignored;
        stream_.socket().close(ignored);
    }

  private:
    std::shared_ptr<Server::Impl> server() const { return server_.lock(); }

    void readNext() {
        std::shared_ptr<Server::Impl> server = this->server();
        if (!server) return;
        parser_.emplace();
        parser_->header_limit(kMaxHeaderBytes);
        parser_->body_limit(kMaxGetBodyBytes);
        // The first request must come quickly; a connection kept alive may then wait longer for the next.
        stream_.expires_after(served_ == 0 ? server->options.requestTime : server->options.idleTime);
        http::async_read(
            stream_, buffer_, *parser_, [self = shared_from_this()](beast::error_code failed, std::size_t) {
                if (failed == http::error::header_limit || failed == http::error::body_limit) {
                    self->respondError(413, "the request is too large", false);
                    return;
                }
                if (failed == http::error::bad_target || failed == http::error::bad_method ||
                    failed == http::error::bad_field || failed == http::error::bad_value ||
                    failed == http::error::bad_version) {
                    self->respondError(400, "the request cannot be read: " + failed.message(), false);
                    return;
                }
                if (failed) {
                    self->close();
                    return;
                }
                self->onRequest();
            });
    }

    void onRequest() {
        ++served_;
        downloadExtension_.clear();
        request_ = parser_->release();
        const std::string target(request_.target());
        const std::size_t question = target.find('?');
        path_ = target.substr(0, question);
        query_ = question == std::string::npos ? "" : target.substr(question + 1);
        std::shared_ptr<Server::Impl> server = this->server();
        if (!server) return;

        if (std::optional<Refusal> refused = refusal(server->options.access, requestFacts())) {
            respondError(refused->status, refused->why, request_.keep_alive());
            return;
        }
        if (request_.method() != http::verb::get && request_.method() != http::verb::head) {
            respondError(405,
                         "the workbench takes commands over its socket only; " +
                             std::string(request_.method_string()) + " is not served",
                         request_.keep_alive(), {{"Allow", "GET, HEAD"}});
            return;
        }
        route(server);
    }

    // What the access rules look at.
    RequestFacts requestFacts() const {
        RequestFacts facts;
        facts.host = std::string(request_[http::field::host]);
        facts.origin = std::string(request_[http::field::origin]);
        facts.fetchSite = lowered(std::string(request_["Sec-Fetch-Site"]));
        facts.openingPage = lowered(std::string(request_["Sec-Fetch-Mode"])) == "navigate" &&
                            request_.method() == http::verb::get && (path_ == "/" || path_ == "/index.html");
        facts.pageFile = (request_.method() == http::verb::get || request_.method() == http::verb::head) &&
                         path_.rfind("/api/", 0) != 0 && webFile(path_).has_value();
        facts.authorization = std::string(request_[http::field::authorization]);
        facts.queryToken = queryParameter(query_, "token").value_or("");
        return facts;
    }

    using Handler = void (HttpSession::*)(const std::shared_ptr<Server::Impl>& server,
                                          const std::smatch& match);

    // Every path the server answers, but the page's own files: the whole path must match, and what the
    // pattern's group catches goes to the handler.
    struct RouteEntry {
        std::regex path;
        Handler answer;
    };

    static const std::vector<RouteEntry>& routes() {
        static const std::vector<RouteEntry> table = {
            {std::regex(R"(/api/socket)"), &HttpSession::openSocket},
            {std::regex(R"(/api/icon\.png)"), &HttpSession::sendIcon},
            {std::regex(R"(/api/cursor\.png)"), &HttpSession::sendCursor},
            {std::regex(R"(/api/bitmap/(\d{1,5})\.png)"), &HttpSession::sendBitmap},
            {std::regex(R"(/api/export\.(svg|png|pdf))"), &HttpSession::sendExport},
            {std::regex(R"(/api/thumbnail/([0-9a-f]{16})\.png)"), &HttpSession::sendThumbnail},
            {std::regex(R"(/api/script\.json)"), &HttpSession::sendScript},
        };
        return table;
    }

    void route(const std::shared_ptr<Server::Impl>& server) {
        std::smatch match;
        for (const RouteEntry& entry : routes())
            if (std::regex_match(path_, match, entry.path)) return (this->*entry.answer)(server, match);
        if (const std::optional<WebFile> file = webFile(path_)) return sendWebFile(*server, *file);
        respondError(404, "nothing at " + path_, request_.keep_alive());
    }

    // The connection becomes the page's socket.
    void openSocket(const std::shared_ptr<Server::Impl>& server, const std::smatch&) {
        if (!websocket::is_upgrade(request_)) {
            respondError(400, "/api/socket takes WebSocket connections only", false);
            return;
        }
        beast::get_lowest_layer(stream_).expires_never();
        auto socket = std::make_shared<SocketSession>(server, std::move(stream_));
        socket->start(std::move(request_));
    }

    void sendIcon(const std::shared_ptr<Server::Impl>& server, const std::smatch&) {
        callHost(*server, {{"do", "image"}, {"kind", "icon"}}, "");
    }

    void sendCursor(const std::shared_ptr<Server::Impl>& server, const std::smatch&) {
        callHost(*server, {{"do", "image"}, {"kind", "cursor"}}, "");
    }

    // match[1]: the bitmap's resource number.
    void sendBitmap(const std::shared_ptr<Server::Impl>& server, const std::smatch& match) {
        const long id = std::stol(match[1].str());
        json command = {{"do", "image"}, {"kind", "bitmap"}, {"id", id}};
        if (std::optional<std::string> problem = commandProblem(command))
            respondError(404, "no bitmap " + match[1].str(), request_.keep_alive());
        else
            callHost(*server, std::move(command), "max-age=3600");
    }

    // match[1]: the file format.
    void sendExport(const std::shared_ptr<Server::Impl>& server, const std::smatch& match) {
        exportDocument(*server, match[1].str());
    }

    // match[1]: the document's key.
    void sendThumbnail(const std::shared_ptr<Server::Impl>& server, const std::smatch& match) {
        callHost(*server, {{"do", "thumbnail"}, {"document", match[1].str()}}, "no-cache");
    }

    // The document as the script that draws it again, saved under the document's name.
    void sendScript(const std::shared_ptr<Server::Impl>& server, const std::smatch&) {
        downloadExtension_ = "json";
        callHost(*server, {{"do", "script"}}, "no-store");
    }

    void sendWebFile(const Server::Impl& server, const WebFile& file) {
        Response response{http::status::ok, request_.version()};
        response.set(http::field::content_type, std::string(file.contentType));
        response.set(http::field::cache_control, "no-cache");
        if (path_ == "/" || path_ == "/index.html") {
            // The page carries the token itself; a cookie an earlier workbench left goes.
            response.set(http::field::set_cookie, expiredTokenCookie(server.options.access.port));
            response.set("Content-Security-Policy",
                         "default-src 'self'; img-src 'self' blob: data:; style-src 'self' 'unsafe-inline'; "
                         "connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
        }
        response.body() = std::string(file.body);
        respond(std::move(response));
    }

    // The export's settings come from the query; the host thread writes the SVG of the area asked for,
    // which the conversion pool then turns into the file.
    void exportDocument(Server::Impl& server, const std::string& format) {
        std::string why;
        std::optional<ExportSettings> settings = parseExportSettings(format, query_, &why);
        if (!settings) {
            respondError(400, why, request_.keep_alive());
            return;
        }
        const json command = {{"do", "export"},
                              {"format", format},
                              {"area", settings->area == ExportSettings::Area::Art ? "art" : "page"}};
        downloadExtension_ = exportExtension(settings->format);
        server.loop.submit(
            command, [weak = server_, self = shared_from_this(), settings = *settings](Reply reply) {
                std::shared_ptr<Server::Impl> server = weak.lock();
                if (!server) return;
                const auto back = [weak, self](Reply done) {
                    if (std::shared_ptr<Server::Impl> alive = weak.lock())
                        asio::post(alive->io, [self, done = std::move(done)]() mutable {
                            self->respondReply(std::move(done), "no-store");
                        });
                };
                if (settings.format == ExportSettings::Format::Svg || reply.status != 200) {
                    back(std::move(reply));
                    return;
                }
                const bool queued = server->conversions.submit([back, settings, cancel = &server->stopped,
                                                                svg = std::move(reply.body),
                                                                name = std::move(reply.documentName)] {
                    ConvertLimits limits;
                    limits.cancel = cancel;
                    Reply converted = convertExport(svg, settings, limits);
                    converted.documentName = name;
                    back(std::move(converted));
                });
                if (!queued)
                    back(Reply::error(503, "too many exports are being made; try again in a moment"));
            });
    }

    // Runs a command on the host thread; the reply comes back to this thread to be written.
    void callHost(Server::Impl& server, json command, std::string cacheControl) {
        server.loop.submit(std::move(command), [weak = server_, self = shared_from_this(),
                                                cacheControl = std::move(cacheControl)](Reply reply) mutable {
            if (std::shared_ptr<Server::Impl> alive = weak.lock())
                asio::post(alive->io, [self, cacheControl, reply = std::move(reply)]() mutable {
                    self->respondReply(std::move(reply), cacheControl);
                });
        });
    }

    void respondReply(Reply reply, const std::string& cacheControl) {
        Response response{static_cast<http::status>(reply.status), request_.version()};
        response.set(http::field::content_type, reply.contentType);
        response.set(http::field::cache_control, reply.status == 200 ? cacheControl : "no-store");
        if (reply.status == 200 && !downloadExtension_.empty())
            response.set(http::field::content_disposition,
                         downloadDisposition(reply.documentName.empty() ? "Untitled" : reply.documentName,
                                             downloadExtension_));
        response.body() = std::move(reply.body);
        respond(std::move(response));
    }

    void respondError(int status, const std::string& why, bool keepAlive,
                      std::vector<std::pair<std::string, std::string>> headers = {}) {
        Response response{static_cast<http::status>(status), request_.version() ? request_.version() : 11};
        response.set(http::field::cache_control, "no-store");
        for (const auto& [name, value] : headers)
            response.set(name, value);
        if (path_.rfind("/api/", 0) == 0) {
            response.set(http::field::content_type, "application/json");
            response.body() = safeDump(Reply::errorJson(why));
        } else {
            // A person opened it: a line to read.
            response.set(http::field::content_type, "text/plain; charset=utf-8");
            response.body() = "Zigzag workbench: " + why + "\n";
        }
        response.keep_alive(keepAlive);
        respond(std::move(response));
    }

    void respond(Response response) {
        response.set(http::field::server, "zigzag-workbench");
        response.set("X-Content-Type-Options", "nosniff");
        response.set("Referrer-Policy", "no-referrer");
        response.set("X-Frame-Options", "DENY");
        if (request_.method() == http::verb::head) {
            response.content_length(response.body().size());
            response.body().clear();
        } else {
            response.prepare_payload();
        }
        if (served_ == 0) response.keep_alive(false);
        auto out = std::make_shared<Response>(std::move(response));
        stream_.expires_after(std::chrono::seconds(60));
        http::async_write(stream_, *out,
                          [self = shared_from_this(), out](beast::error_code failed, std::size_t) {
                              if (failed || !out->keep_alive()) {
                                  beast::error_code ignored;
                                  self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                                  return;
                              }
                              self->readNext();
                          });
    }

    std::weak_ptr<Server::Impl> server_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    http::request<http::string_body> request_;
    std::string path_;
    std::string query_;
    std::string downloadExtension_; // a download's: what its file name ends in
    int served_ = 0;
};

} // namespace

// The pending accept holds the server's state only weakly: what the io_context holds must not keep the
// io_context's owner alive, or neither would ever be freed.
void Server::Impl::accept(const std::shared_ptr<Impl>& self) {
    acceptor.async_accept([weak = std::weak_ptr<Impl>(self)](beast::error_code failed, tcp::socket socket) {
        std::shared_ptr<Impl> self = weak.lock();
        if (!self) return;
        if (failed) {
            if (failed == asio::error::operation_aborted || !self->acceptor.is_open()) return;
            // Out of file descriptors, say: try again shortly rather than stop serving.
            auto retry = std::make_shared<asio::steady_timer>(self->io, std::chrono::milliseconds(100));
            retry->async_wait([weak, retry](beast::error_code) {
                if (std::shared_ptr<Impl> again = weak.lock(); again && again->acceptor.is_open())
                    again->accept(again);
            });
            return;
        }
        std::make_shared<HttpSession>(self, std::move(socket))->start();
        self->accept(self);
    });
}

void Server::Impl::deliver(uint64_t client, std::string message) {
    const auto found = sockets.find(client);
    if (found == sockets.end()) return;
    if (std::shared_ptr<SocketSession> socket = found->second.lock()) socket->send(std::move(message));
}

Server::Server(HostLoop& loop, Options options) : impl_(std::make_shared<Impl>(loop, std::move(options))) {
    loop.setOutbox([weak = std::weak_ptr<Impl>(impl_)](uint64_t client, std::string message) {
        if (std::shared_ptr<Impl> impl = weak.lock())
            asio::post(impl->io, [weak, client, message = std::move(message)]() mutable {
                if (std::shared_ptr<Impl> alive = weak.lock()) alive->deliver(client, std::move(message));
            });
    });
}

Server::~Server() {
    stop();
    impl_->loop.setOutbox(nullptr);
}

int Server::bind(const std::string& host, int port, std::string* error) {
    Impl& impl = *impl_;
    beast::error_code failed;
    tcp::resolver resolver(impl.io);
    const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive, failed);
    if (!failed && !found.empty()) {
        const tcp::endpoint endpoint = found.begin()->endpoint();
        impl.acceptor.open(endpoint.protocol(), failed);
        if (!failed) impl.acceptor.set_option(tcp::acceptor::reuse_address(true), failed);
        if (!failed) impl.acceptor.bind(endpoint, failed);
        if (!failed) impl.acceptor.listen(asio::socket_base::max_listen_connections, failed);
        if (!failed) {
            impl.options.access.port = impl.acceptor.local_endpoint().port();
            return impl.options.access.port;
        }
    }
    if (error != nullptr)
        *error = "cannot listen on " + host + ":" +
                 (port == 0 ? std::string("a free port") : std::to_string(port)) +
                 (failed ? ": " + failed.message() : std::string());
    beast::error_code ignored;
    impl.acceptor.close(ignored);
    return -1;
}

void Server::serve() {
    Impl& impl = *impl_;
    if (impl.stopped) return;
    impl.work.emplace(impl.io.get_executor());
    impl.accept(impl_);
    for (;;) {
        try {
            impl.io.run();
            return;
        } catch (const std::exception& problem) {
            // A handler that throws must not end the server for every page: say so and go on.
            std::cerr << "zigzag serve: a connection failed: " << problem.what() << "\n";
        }
    }
}

void Server::start() {
    if (impl_->thread.joinable()) return;
    impl_->thread = std::thread([this] { serve(); });
}

void Server::stop() {
    Impl& impl = *impl_;
    if (impl.stopped.exchange(true)) return;
    asio::post(impl.io, [&impl] {
        beast::error_code ignored;
        impl.acceptor.close(ignored);
        impl.io.stop();
    });
    if (impl.thread.joinable()) impl.thread.join();
    impl.conversions.stop();
}

} // namespace zz
