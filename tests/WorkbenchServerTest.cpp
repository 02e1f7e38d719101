// The workbench's one server with the real module, reached as pages and other sites reach it: over real
// HTTP and WebSocket connections on loopback. Only requests that name this server, come from its own page
// and carry its token get anything; each page's drag is its own and every page is sent every change; bad
// messages are answered and change nothing; a dialog no page is left to drive is cancelled.
#include <utility>

#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>

#include "apps/workbench/HostLoop.h"
#include "apps/workbench/Requests.h"
#include "apps/workbench/Server.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using nlohmann::json;
using namespace std::chrono_literals;

// The cases below name only the headers they change; the rest keep their defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

const std::string kToken = "0123456789abcdef0123456789abcdef";

// What a request carries besides its target.
struct Headers {
    std::string host;           // "" : 127.0.0.1:PORT
    std::string origin;         // "" : none
    std::string token = kToken; // sent as "Authorization: Bearer"
    std::string fetchSite;
    std::string cookie;
    std::string target = "/api/socket"; // the socket's
};

// A page's end of the socket, blocking. The greeting is read on connecting.
class Page {
  public:
    explicit Page(int port, Headers headers = {}) : stream_(io_) {
        tcp::resolver resolver(io_);
        asio::connect(stream_.next_layer(), resolver.resolve("127.0.0.1", std::to_string(port)));
        stream_.set_option(websocket::stream_base::decorator([headers](websocket::request_type& request) {
            if (!headers.origin.empty()) request.set(http::field::origin, headers.origin);
            if (!headers.token.empty()) request.set(http::field::authorization, "Bearer " + headers.token);
            if (!headers.cookie.empty()) request.set(http::field::cookie, headers.cookie);
        }));
        stream_.handshake(headers.host.empty() ? "127.0.0.1:" + std::to_string(port) : headers.host,
                          headers.target);
        hello = next();
    }

    json call(const json& command) {
        json withId = command;
        withId["id"] = ++lastId_;
        return callText(withId.dump(), lastId_);
    }
    void send(const json& command) {
        stream_.binary(false);
        stream_.write(asio::buffer(command.dump()));
    }
    // Sends `text` and reads until the answer with `id` (or any answer, for 0); other messages are kept.
    json callText(const std::string& text, uint64_t id = 0, bool binary = false) {
        stream_.binary(binary);
        stream_.write(asio::buffer(text));
        for (;;) {
            json message = next();
            if (message.contains("event")) {
                events.push_back(std::move(message));
                continue;
            }
            if (id == 0 || message.value("id", uint64_t{0}) == id) return message;
        }
    }
    // The next message of `event`, waiting for it.
    json nextEvent(const std::string& event) {
        for (;;) {
            for (auto it = events.begin(); it != events.end(); ++it)
                if ((*it)["event"] == event) {
                    json found = *it;
                    events.erase(it);
                    return found;
                }
            events.push_back(next());
        }
    }
    boost::system::error_code sendExpectingClose(const std::string& text) {
        boost::system::error_code failed;
        stream_.write(asio::buffer(text), failed);
        beast::flat_buffer buffer;
        while (!failed)
            stream_.read(buffer, failed);
        return failed;
    }
    void close() { stream_.close(websocket::close_code::normal); }

    json hello;
    std::vector<json> events;

  private:
    json next() {
        beast::flat_buffer buffer;
        stream_.read(buffer);
        return json::parse(beast::buffers_to_string(buffer.data()));
    }

    asio::io_context io_;
    websocket::stream<tcp::socket> stream_;
    uint64_t lastId_ = 0;
};

// One plain HTTP request.
http::response<http::string_body> fetch(int port, http::verb method, const std::string& target,
                                        const Headers& headers = {}) {
    asio::io_context io;
    beast::tcp_stream stream(io);
    tcp::resolver resolver(io);
    stream.connect(resolver.resolve("127.0.0.1", std::to_string(port)));
    http::request<http::string_body> request{method, target, 11};
    request.set(http::field::host, headers.host.empty() ? "127.0.0.1:" + std::to_string(port) : headers.host);
    if (!headers.origin.empty()) request.set(http::field::origin, headers.origin);
    if (!headers.token.empty()) request.set(http::field::authorization, "Bearer " + headers.token);
    if (!headers.cookie.empty()) request.set(http::field::cookie, headers.cookie);
    if (!headers.fetchSite.empty()) request.set("Sec-Fetch-Site", headers.fetchSite);
    if (method == http::verb::post) {
        request.set(http::field::content_type, "text/plain");
        request.body() = "{\"do\":\"newDocument\"}";
        request.prepare_payload();
    }
    http::write(stream, request);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(stream, buffer, response);
    return response;
}

class WorkbenchServer : public ::testing::Test {
  protected:
    void SetUp() override { start(30000ms); }
    void start(std::chrono::milliseconds dialogTimeout) {
        Workbench::Options options;
        options.modulePath = test::modulePath();
        options.poll = 10ms;
        options.dialogTimeout = dialogTimeout;
        loop_ = std::make_unique<HostLoop>(options);
        std::string why;
        ASSERT_TRUE(loop_->start(&why)) << why;
        Server::Options serverOptions;
        serverOptions.access.token = kToken;
        server_ = std::make_unique<Server>(*loop_, serverOptions);
        port_ = server_->bind("127.0.0.1", 0, &why);
        ASSERT_GT(port_, 0) << why;
        server_->start();
    }
    void TearDown() override {
        loop_->stop();
        server_.reset();
    }

    json hostState() { return json::parse(loop_->call({{"do", "state"}}).body); }
    // Waits until the host's state satisfies `done`, up to three seconds.
    json waitFor(const std::function<bool(const json&)>& done) {
        json state;
        for (int tries = 0; tries < 300; ++tries) {
            state = hostState();
            if (done(state)) break;
            std::this_thread::sleep_for(10ms);
        }
        return state;
    }
    std::string own() const { return "http://127.0.0.1:" + std::to_string(port_); }

    std::unique_ptr<HostLoop> loop_;
    std::unique_ptr<Server> server_;
    int port_ = 0;
};

TEST_F(WorkbenchServer, APagesDragIsAnsweredWithItsDeltaAndEveryOtherPageIsSentTheChange) {
    Page drawing(port_), watching(port_);
    EXPECT_EQ(drawing.hello["event"], "hello");
    EXPECT_TRUE(drawing.hello["commands"].is_array());
    EXPECT_NE(drawing.hello["client"], watching.hello["client"]);
    watching.call({{"do", "state"}});

    EXPECT_EQ(drawing.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
    const json dragged = drawing.call({{"do", "drag"}, {"to", {300, 500}}});
    ASSERT_EQ(dragged["delta"]["placed"].size(), 1u);
    const std::string d = dragged["delta"]["placed"][0]["art"]["d"].get<std::string>();
    EXPECT_EQ(d.substr(0, 24), "M 100 92 L 300 102 L 100");
    EXPECT_EQ(drawing.call({{"do", "mouseUp"}})["undo"], 1);

    // The watching page is sent each change as it happens, without asking.
    json seen;
    while (seen.empty() || seen["undo"] != 1)
        seen = watching.nextEvent("document");
    EXPECT_EQ(seen["undo"], 1);
    EXPECT_EQ(seen["revision"], hostState()["revision"]);
    const json everything = watching.call({{"do", "state"}, {"since", 0}});
    EXPECT_EQ(everything["delta"]["placed"][0]["art"]["d"], d);
    EXPECT_TRUE(watching.call({{"do", "state"}})["delta"]["placed"].empty())
        << "nothing it has not been sent";
}

TEST_F(WorkbenchServer, AnotherPagesPressIsRefusedWhileADragIsOpenAndAClosedPagesDragEnds) {
    Page other(port_);
    {
        Page drawing(port_);
        ASSERT_EQ(drawing.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
        ASSERT_EQ(drawing.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
        for (const json& command : {json{{"do", "mouseDown"}, {"at", {50, 50}}},
                                    json{{"do", "drag"}, {"to", {60, 60}}}, json{{"do", "mouseUp"}}}) {
            const json refused = other.call(command);
            EXPECT_EQ(refused["http"], 409) << command;
            EXPECT_NE(refused["error"].get<std::string>().find("another tab is drawing"), std::string::npos);
        }
        EXPECT_FALSE(other.call({{"do", "abandon"}})["abandoned"].get<bool>());
        drawing.close();
    }
    const json state = waitFor([](const json& s) { return !s["dragging"].get<bool>(); });
    EXPECT_FALSE(state["dragging"].get<bool>());
    EXPECT_EQ(state["undo"], 1);
    EXPECT_EQ(other.call({{"do", "mouseDown"}, {"at", {50, 50}}})["status"], 0);
    EXPECT_EQ(other.call({{"do", "drag"}, {"to", {200, 300}}})["status"], 0);
    EXPECT_EQ(other.call({{"do", "mouseUp"}})["undo"], 2);
}

TEST_F(WorkbenchServer, MalformedMessagesAreAnsweredAndLeaveEveryPageDrawing) {
    Page page(port_), bystander(port_);
    const uint64_t before = hostState()["revision"].get<uint64_t>();
    struct Case {
        std::string text;
        std::string named;
        bool binary = false;
    };
    const std::vector<Case> cases = {
        {"{\"do\":\"drag\",", "not JSON"},
        {"{\"do\":\"state\",\"since\":1e400}", "too large"},
        {"{\"do\":\"seed\",\"seed\":\"\\udcff\"}", "not JSON"},
        {"{\"do\":\"state\",\"since\":-1}", "\"since\" must be"},
        {"{\"do\":\"drag\",\"to\":[1e39,0]}", "\"to\" must be"},
        {"{\"do\":\"state\"}", "text messages", true},
        {json{{"do", "undo"}, {"client", 7}}.dump(), "unknown key \"client\""},
        {json{{"do", "export"}, {"format", "svg"}}.dump(), "HTTP GET"},
        {json{{"do", "seed"}, {"seed", 1}, {"pad", std::string(kMaxRequestBytes, 'x')}}.dump(),
         "the limit is"},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 100; ++i) {
            SCOPED_TRACE(c.text.substr(0, 60));
            const json answer = page.callText(c.text, 0, c.binary);
            ASSERT_EQ(answer["http"], 400) << c.text.substr(0, 60);
            ASSERT_NE(answer["error"].get<std::string>().find(c.named), std::string::npos) << answer["error"];
        }
    EXPECT_EQ(hostState()["revision"].get<uint64_t>(), before);
    EXPECT_EQ(page.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
    EXPECT_EQ(page.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
    EXPECT_EQ(page.call({{"do", "mouseUp"}})["undo"], 1);
    EXPECT_EQ(bystander.call({{"do", "undo"}})["done"], true);
    // A text message that is not UTF-8 breaks the WebSocket protocol, and one far past the limit is too big
    // to read: either closes that connection, and only that one.
    EXPECT_EQ(page.sendExpectingClose("{\"do\":\"seed\",\"seed\":\"\xff\xfe\"}"), websocket::error::closed);
    EXPECT_EQ(bystander.call({{"do", "redo"}})["done"], true);
    Page again(port_);
    EXPECT_EQ(again.sendExpectingClose(std::string(kMaxRequestBytes * 16 + 1, ' ')),
              websocket::error::closed);
    EXPECT_EQ(bystander.call({{"do", "undo"}})["done"], true);
}

// Sends `raw` as it is and gives the status of the answer, 0 when the connection closed without one.
int rawStatus(int port, const std::string& raw) {
    asio::io_context io;
    tcp::socket socket(io);
    tcp::resolver resolver(io);
    asio::connect(socket, resolver.resolve("127.0.0.1", std::to_string(port)));
    boost::system::error_code failed;
    asio::write(socket, asio::buffer(raw), failed);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(socket, buffer, response, failed);
    return failed ? 0 : response.result_int();
}

TEST_F(WorkbenchServer, MalformedHttpRequestsAreAnsweredAndLeaveThePagesDrawing) {
    Page page(port_);
    const std::string host = "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
    const std::string auth = "Authorization: Bearer " + kToken + "\r\n";
    struct Case {
        std::string raw;
        int status;
    };
    const std::vector<Case> cases = {
        {"GARBAGE\r\n\r\n", 400},
        {"GET /\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\n" + host + "X-Pad: " + std::string(20000, 'x') + "\r\n\r\n", 413},
        {"GET /\xff\xfe HTTP/1.1\r\n" + host + auth + "\r\n", 404},
        {"GET /api/export.png?scale=1e400 HTTP/1.1\r\n" + host + auth + "\r\n", 400},
        {"GET /api/export.png?scale=abc&area=moon HTTP/1.1\r\n" + host + auth + "\r\n", 400},
        {"GET /api/bitmap/99999.png HTTP/1.1\r\n" + host + auth + "\r\n", 404},
        {"DELETE / HTTP/1.1\r\n" + host + auth + "\r\n", 405},
        {"GET / HTTP/1.1\r\n" + host + auth + "Content-Length: 5000\r\n\r\n" + std::string(5000, 'x'), 413},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(rawStatus(port_, c.raw), c.status) << c.raw.substr(0, 50);
    EXPECT_EQ(page.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
    EXPECT_EQ(page.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
    EXPECT_EQ(page.call({{"do", "mouseUp"}})["undo"], 1);
}

TEST_F(WorkbenchServer, OnlyRequestsNamingThisServerFromItsOwnPageWithTheTokenGetAnything) {
    const json before = hostState()["revision"];
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/export.svg").result_int(), 200);
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/export.svg", {.origin = own()}).result_int(), 200);
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/icon.png", {.host = "localhost:" + std::to_string(port_)})
                  .result_int(),
              200);

    struct Case {
        const char* what;
        http::verb method;
        std::string target;
        Headers headers;
        int status;
    };
    const std::string port = std::to_string(port_);
    const std::string oldCookie = "zigzag-token-" + port + "=" + kToken;
    for (const Case& c : std::vector<Case>{
             {"no token", http::verb::get, "/api/export.svg", {.token = ""}, 401},
             {"a wrong token",
              http::verb::get,
              "/api/icon.png",
              {.token = "0123456789abcdef0123456789abcdee"},
              401},
             {"an old page's cookie",
              http::verb::get,
              "/api/export.svg",
              {.token = "", .cookie = oldCookie},
              401},
             {"a rebound name", http::verb::get, "/api/export.svg", {.host = "evil.example:" + port}, 403},
             {"another port", http::verb::get, "/", {.host = "127.0.0.1:1"}, 403},
             {"a foreign origin", http::verb::get, "/api/export.svg", {.origin = "http://evil.example"}, 403},
             {"a cross-site fetch", http::verb::get, "/api/export.svg", {.fetchSite = "cross-site"}, 403},
             {"a page on another port", http::verb::get, "/api/icon.png", {.fetchSite = "same-site"}, 403},
             {"a page on another port, for a script",
              http::verb::get,
              "/main.js",
              {.token = "", .fetchSite = "same-site"},
              403},
             {"a simple POST", http::verb::post, "/api/command", {}, 405},
             {"a POST to the page", http::verb::post, "/", {.token = ""}, 401},
             {"a foreign simple POST",
              http::verb::post,
              "/api/command",
              {.origin = "http://evil.example"},
              403},
         }) {
        const http::response<http::string_body> refused = fetch(port_, c.method, c.target, c.headers);
        EXPECT_EQ(refused.result_int(), c.status) << c.what;
        // A person reads the page's refusal; a program reads the API's.
        if (c.target.rfind("/api/", 0) == 0)
            EXPECT_FALSE(json::parse(refused.body())["error"].get<std::string>().empty()) << c.what;
        else
            EXPECT_EQ(refused.body().rfind("Zigzag workbench: ", 0), 0u) << c.what;
    }

    for (const Headers& bad :
         {Headers{.token = ""}, Headers{.token = "", .cookie = oldCookie},
          Headers{.token = "", .target = "/api/socket?token=0123456789abcdef0123456789abcdee"},
          Headers{.origin = "http://evil.example:" + port},
          Headers{.host = "evil.example:" + port, .origin = "http://evil.example:" + port}}) {
        try {
            Page refused(port_, bad);
            ADD_FAILURE() << "a handshake from " << bad.host << " " << bad.origin << " " << bad.target
                          << " was accepted";
        } catch (const boost::system::system_error& refused) {
            EXPECT_EQ(refused.code(), websocket::error::upgrade_declined);
        }
    }
    EXPECT_NO_THROW(Page(port_, {.origin = own()}));
    EXPECT_NO_THROW(Page(port_, {.origin = own(), .token = "", .target = "/api/socket?token=" + kToken}));
    EXPECT_EQ(hostState()["revision"], before) << "nothing was changed";
}

// The page's own files hold no secret and are served to anyone on this server's name; the token never goes
// back in a cookie, and a cookie an earlier workbench left is cleared.
TEST_F(WorkbenchServer, ThePagesFilesComeWithoutTheTokenAndHandNoneBack) {
    for (const std::string target : {"/", "/index.html", "/main.js", "/access.js", "/app.css"}) {
        const http::response<http::string_body> file = fetch(port_, http::verb::get, target, {.token = ""});
        EXPECT_EQ(file.result_int(), 200) << target;
        EXPECT_EQ(file.body().find(kToken), std::string::npos) << target;
    }
    const http::response<http::string_body> opened =
        fetch(port_, http::verb::get, "/?token=" + kToken, {.token = ""});
    EXPECT_EQ(opened.result_int(), 200);
    const std::string cookie(opened[http::field::set_cookie]);
    EXPECT_EQ(cookie.find(kToken), std::string::npos) << cookie;
    EXPECT_NE(cookie.find("zigzag-token-" + std::to_string(port_) + "=;"), std::string::npos) << cookie;
    EXPECT_NE(cookie.find("Max-Age=0"), std::string::npos) << cookie;
}

TEST_F(WorkbenchServer, TheExportsTakeTheTokenInTheirAddress) {
    const http::response<http::string_body> svg =
        fetch(port_, http::verb::get, "/api/export.svg?token=" + kToken, {.token = ""});
    EXPECT_EQ(svg.result_int(), 200) << svg.body();
    EXPECT_NE(svg.body().find("<svg"), std::string::npos);
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/export.svg?area=page&token=" + kToken, {.token = ""})
                  .result_int(),
              200);
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/export.pdf?token=" + kToken + "&area=page", {.token = ""})
                  .result_int(),
              200);
    // The token is no setting, but the settings are still checked around it.
    const http::response<http::string_body> bad =
        fetch(port_, http::verb::get, "/api/export.svg?token=" + kToken + "&colour=red", {.token = ""});
    EXPECT_EQ(bad.result_int(), 400);
    EXPECT_NE(bad.body().find("unknown setting \\\"colour\\\""), std::string::npos) << bad.body();
    EXPECT_EQ(fetch(port_, http::verb::get, "/api/export.svg?token=0123", {.token = ""}).result_int(), 401);
}

TEST_F(WorkbenchServer, ASocketCommandWithoutAnIdIsRefusedAndNotCarriedOut) {
    Page page(port_);
    ASSERT_EQ(page.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
    ASSERT_EQ(page.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
    ASSERT_EQ(page.call({{"do", "mouseUp"}})["undo"], 1);
    const uint64_t revision = hostState()["revision"].get<uint64_t>();
    for (const json& command : {json{{"do", "undo"}}, json{{"do", "mouseDown"}, {"at", {50, 50}}},
                                json{{"do", "seed"}, {"seed", 5}}, json{{"do", "state"}}}) {
        const json answer = page.callText(command.dump());
        EXPECT_EQ(answer["http"], 400) << command;
        EXPECT_EQ(answer["ok"], false) << command;
        EXPECT_FALSE(answer.contains("id")) << answer;
        EXPECT_NE(answer["error"].get<std::string>().find("has no \"id\""), std::string::npos) << answer;
    }
    const json state = hostState();
    EXPECT_EQ(state["revision"].get<uint64_t>(), revision);
    EXPECT_EQ(state["undo"], 1) << "the undo without an id was not carried out";
    EXPECT_FALSE(state["dragging"].get<bool>()) << "nor the press";
    EXPECT_NE(state["seed"], 5);
    // The same commands with an id are carried out.
    EXPECT_EQ(page.call({{"do", "undo"}})["undo"], 0);
}

TEST_F(WorkbenchServer, ADialogWhosePagesAllWentIsCancelledAfterTheDialogTimeOut) {
    loop_->stop();
    server_.reset();
    start(1000ms);
    {
        Page page(port_);
        page.send({{"do", "editOptions"}, {"id", 1}});
        ASSERT_TRUE(page.nextEvent("dialog")["dialog"].is_object());
        page.close();
    }
    EXPECT_TRUE(hostState()["dialog"].is_object()) << "a page may still come back to it";
    const json state = waitFor([](const json& s) { return s["dialog"].is_null(); });
    EXPECT_TRUE(state["dialog"].is_null());
    Page next(port_);
    EXPECT_EQ(next.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0)
        << "the document is free again";
}

} // namespace
} // namespace zz
