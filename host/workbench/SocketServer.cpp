#include "host/workbench/SocketServer.h"

// Boost 1.74's asio uses std::exchange without including <utility>.
#include <utility>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <thread>
#include <vector>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "host/workbench/Requests.h"

namespace zz {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using nlohmann::json;

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// "name:port" or "[v6]:port" without the port; the whole text when it has none.
std::string hostName(const std::string& authority) {
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        return close == std::string::npos ? authority : authority.substr(0, close + 1);
    }
    const std::size_t colon = authority.rfind(':');
    return colon == std::string::npos ? authority : authority.substr(0, colon);
}

} // namespace

bool pageMayConnect(const std::string& origin, const std::string& hostHeader, int pagePort) {
    if (origin.empty()) return true;
    const std::string expected = "http://" + lowered(hostName(hostHeader)) + ":" + std::to_string(pagePort);
    return lowered(origin) == expected;
}

namespace {

class Connection;

// What the socket thread and the replies on their way to it share; outlives the connections' operations.
struct SocketHub {
    SocketHub(HostLoop& loop, int pagePort) : loop(loop), pagePort(pagePort), acceptor(io) {}

    HostLoop& loop;
    const int pagePort;
    asio::io_context io;
    tcp::acceptor acceptor;
    std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work;
    std::thread thread;
    // Touched on the socket thread only.
    uint64_t nextClient = 1;
    std::vector<std::weak_ptr<Connection>> connections;

    void accept(const std::shared_ptr<SocketHub>& self);
};

constexpr std::size_t kMaxHandshakeBytes = 16 * 1024;

// One page's socket: the upgrade request, then commands read one at a time and answered in order. Lives
// as long as an operation of its own or a reply on its way holds it.
class Connection : public std::enable_shared_from_this<Connection> {
  public:
    Connection(const std::shared_ptr<SocketHub>& server, tcp::socket socket)
        : server_(server), loop_(server->loop), pagePort_(server->pagePort), stream_(std::move(socket)) {}

    void start() {
        boost::system::error_code ignored;
        stream_.next_layer().set_option(tcp::no_delay(true), ignored);
        upgrade_.header_limit(kMaxHandshakeBytes);
        http::async_read(stream_.next_layer(), buffer_, upgrade_,
                         [self = shared_from_this()](boost::system::error_code failed, std::size_t) {
                             if (!failed) self->onUpgrade();
                         });
    }

    // Closes the socket: every operation still waiting ends with an error, and the connection with it.
    void close() {
        boost::system::error_code ignored;
        stream_.next_layer().close(ignored);
    }

  private:
    void onUpgrade() {
        const http::request<http::empty_body>& request = upgrade_.get();
        const std::string target(request.target());
        const std::string origin(request[http::field::origin]);
        int status = 0;
        std::string why;
        if (target != "/api/socket") {
            status = 404;
            why = "nothing at " + target + " on the workbench's socket (use /api/socket)";
        } else if (!websocket::is_upgrade(request)) {
            status = 400;
            why = "/api/socket takes WebSocket connections only";
        } else if (!pageMayConnect(origin, std::string(request[http::field::host]), pagePort_)) {
            status = 403;
            why = "pages from " + origin + " may not use the workbench's socket";
        }
        if (status != 0) {
            refuse(status, why);
            return;
        }
        stream_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
        stream_.read_message_max(kMaxRequestBytes * 16);
        stream_.async_accept(request, [self = shared_from_this()](boost::system::error_code failed) {
            if (failed) return;
            if (auto server = self->server_.lock()) self->client_ = server->nextClient++;
            self->read();
        });
    }

    void refuse(int status, const std::string& why) {
        auto response = std::make_shared<http::response<http::string_body>>(static_cast<http::status>(status),
                                                                            upgrade_.get().version());
        response->set(http::field::content_type, "application/json");
        response->set(http::field::connection, "close");
        response->body() = json{{"ok", false}, {"error", why}}.dump();
        response->prepare_payload();
        http::async_write(
            stream_.next_layer(), *response,
            [self = shared_from_this(), response](boost::system::error_code, std::size_t) { self->close(); });
    }

    void read() {
        stream_.async_read(buffer_,
                           [self = shared_from_this()](boost::system::error_code failed, std::size_t) {
                               if (failed)
                                   self->ended();
                               else
                                   self->onMessage();
                           });
    }

    void onMessage() {
        const std::string text = beast::buffers_to_string(buffer_.data());
        buffer_.consume(buffer_.size());
        if (!stream_.got_text()) {
            reply(Reply::error(400, "commands come as text messages of JSON"));
            return;
        }
        ParsedRequest parsed = parseRequest(text);
        if (!parsed.error.empty()) {
            reply(Reply::error(400, parsed.error));
            return;
        }
        const std::string name = parsed.command["do"].get<std::string>();
        if (name == "editOptions" || name == "export" || name == "image") {
            reply(Reply::error(400, "\"" + name + "\" is not taken on the socket: send it over HTTP"));
            return;
        }
        parsed.command["client"] = client_;
        loop_.submit(std::move(parsed.command), [server = server_, self = shared_from_this()](Reply answer) {
            // On the host thread: the answer goes back to the socket's own thread to be written.
            if (std::shared_ptr<SocketHub> alive = server.lock())
                asio::post(alive->io,
                           [self, answer = std::move(answer)]() mutable { self->reply(std::move(answer)); });
        });
    }

    void reply(Reply answer) {
        out_ = std::move(answer.body);
        if (answer.status != 200) {
            json body = json::parse(out_, nullptr, false);
            if (body.is_object()) {
                body["http"] = answer.status;
                out_ = body.dump();
            }
        }
        stream_.text(true);
        stream_.async_write(asio::buffer(out_),
                            [self = shared_from_this()](boost::system::error_code failed, std::size_t) {
                                if (failed)
                                    self->ended();
                                else
                                    self->read();
                            });
    }

    // The page closed the socket or it failed: a drag the page had open ends where it is.
    void ended() {
        if (client_ == 0 || abandoned_) return;
        abandoned_ = true;
        loop_.submit(json{{"do", "abandon"}, {"client", client_}, {"why", "the page's connection closed"}},
                     [](Reply) {});
    }

    std::weak_ptr<SocketHub> server_;
    HostLoop& loop_;
    const int pagePort_;
    websocket::stream<tcp::socket> stream_;
    beast::flat_buffer buffer_;
    http::request_parser<http::empty_body> upgrade_;
    std::string out_;
    uint64_t client_ = 0;
    bool abandoned_ = false;
};

void SocketHub::accept(const std::shared_ptr<SocketHub>& self) {
    acceptor.async_accept([self](boost::system::error_code failed, tcp::socket socket) {
        if (failed) return; // closed by stop()
        std::erase_if(self->connections, [](const std::weak_ptr<Connection>& c) { return c.expired(); });
        auto connection = std::make_shared<Connection>(self, std::move(socket));
        self->connections.push_back(connection);
        connection->start();
        self->accept(self);
    });
}

} // namespace

struct SocketServer::Impl {
    std::shared_ptr<SocketHub> hub;
};

SocketServer::SocketServer(HostLoop& loop, int pagePort)
    : impl_(std::make_shared<Impl>(Impl{std::make_shared<SocketHub>(loop, pagePort)})) {}

SocketServer::~SocketServer() {
    stop();
}

int SocketServer::bind(const std::string& host, int port, std::string* error) {
    SocketHub& impl = *impl_->hub;
    boost::system::error_code failed;
    tcp::resolver resolver(impl.io);
    const auto found = resolver.resolve(host, std::to_string(port), tcp::resolver::passive, failed);
    if (!failed && !found.empty()) {
        const tcp::endpoint endpoint = found.begin()->endpoint();
        impl.acceptor.open(endpoint.protocol(), failed);
        if (!failed) impl.acceptor.set_option(tcp::acceptor::reuse_address(true), failed);
        if (!failed) impl.acceptor.bind(endpoint, failed);
        if (!failed) impl.acceptor.listen(asio::socket_base::max_listen_connections, failed);
        if (!failed) return impl.acceptor.local_endpoint().port();
    }
    if (error != nullptr)
        *error = "cannot listen on " + host + ":" +
                 (port == 0 ? std::string("a free port") : std::to_string(port)) + " for the socket" +
                 (failed ? ": " + failed.message() : std::string());
    boost::system::error_code ignored;
    impl.acceptor.close(ignored);
    return -1;
}

void SocketServer::start() {
    SocketHub& hub = *impl_->hub;
    if (hub.thread.joinable()) return;
    hub.work.emplace(hub.io.get_executor());
    hub.accept(impl_->hub);
    hub.thread = std::thread([impl = &hub] {
        try {
            impl->io.run();
        } catch (const std::exception& problem) {
            std::cerr << "zigzag serve: the socket thread failed: " << problem.what() << "\n";
        }
    });
}

void SocketServer::stop() {
    SocketHub& impl = *impl_->hub;
    if (!impl.thread.joinable()) return;
    asio::post(impl.io, [&impl] {
        boost::system::error_code ignored;
        impl.acceptor.close(ignored);
        for (const std::weak_ptr<Connection>& weak : impl.connections)
            if (std::shared_ptr<Connection> connection = weak.lock()) connection->close();
    });
    impl.work.reset();
    impl.thread.join();
}

} // namespace zz
