// The workbench's command socket with the real module, reached as a page reaches it: over a real WebSocket
// on loopback. Each connection's drag is its own; a connection that closes mid-drag leaves one closed undo
// step; bad messages and foreign pages are refused and change nothing.
#include <utility>

#include <gtest/gtest.h>

#include <boost/asio.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "host/workbench/HostLoop.h"
#include "host/workbench/Requests.h"
#include "host/workbench/SocketServer.h"
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

constexpr int kPagePort = 8407;

// A page's end of the socket, blocking.
class Page {
  public:
    Page(int port, const std::string& origin = "") : stream_(io_) {
        tcp::resolver resolver(io_);
        asio::connect(stream_.next_layer(), resolver.resolve("127.0.0.1", std::to_string(port)));
        stream_.set_option(websocket::stream_base::decorator([origin](websocket::request_type& request) {
            if (!origin.empty()) request.set(http::field::origin, origin);
        }));
        stream_.handshake("127.0.0.1:" + std::to_string(port), "/api/socket");
    }

    json call(const json& command) { return call(command.dump()); }
    json call(const std::string& text) {
        stream_.write(asio::buffer(text));
        beast::flat_buffer buffer;
        stream_.read(buffer);
        return json::parse(beast::buffers_to_string(buffer.data()));
    }
    // Sends and waits for the answer, or for the connection to end: the error it ended with.
    boost::system::error_code sendExpectingClose(const std::string& text) {
        boost::system::error_code failed;
        stream_.write(asio::buffer(text), failed);
        beast::flat_buffer buffer;
        if (!failed) stream_.read(buffer, failed);
        return failed;
    }
    void close() { stream_.close(websocket::close_code::normal); }

  private:
    asio::io_context io_;
    websocket::stream<tcp::socket> stream_;
};

class WorkbenchSocket : public ::testing::Test {
  protected:
    void SetUp() override {
        Workbench::Options options;
        options.modulePath = test::modulePath();
        options.poll = 10ms;
        loop_ = std::make_unique<HostLoop>(options);
        std::string why;
        ASSERT_TRUE(loop_->start(&why)) << why;
        sockets_ = std::make_unique<SocketServer>(*loop_, kPagePort);
        port_ = sockets_->bind("127.0.0.1", 0, &why);
        ASSERT_GT(port_, 0) << why;
        sockets_->start();
    }
    void TearDown() override {
        loop_->stop();
        sockets_.reset();
    }

    json hostState() { return json::parse(loop_->call({{"do", "state"}}).body); }

    std::unique_ptr<HostLoop> loop_;
    std::unique_ptr<SocketServer> sockets_;
    int port_ = 0;
};

TEST_F(WorkbenchSocket, ADragOverTheSocketIsAnsweredInOrderWithItsDelta) {
    Page page(port_);
    const uint64_t start = page.call({{"do", "state"}})["revision"].get<uint64_t>();
    EXPECT_EQ(page.call({{"do", "mouseDown"}, {"at", {100, 700}}, {"since", start}})["status"], 0);
    const json dragged = page.call({{"do", "drag"}, {"to", {300, 500}}, {"since", start}});
    ASSERT_EQ(dragged["status"], 0);
    ASSERT_EQ(dragged["delta"]["placed"].size(), 1u);
    EXPECT_EQ(dragged["delta"]["placed"][0]["art"]["d"].get<std::string>().substr(0, 19),
              "M100 92L300 102L100");
    const json released = page.call({{"do", "mouseUp"}});
    EXPECT_EQ(released["undo"], 1);
    EXPECT_FALSE(released["dragging"].get<bool>());
}

TEST_F(WorkbenchSocket, AnotherPagesPressWaitsWhileADragIsOpenAndItsEventsAreRefused) {
    Page drawing(port_), other(port_);
    ASSERT_EQ(drawing.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
    ASSERT_EQ(drawing.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
    for (const json& command : {json{{"do", "mouseDown"}, {"at", {50, 50}}},
                                json{{"do", "drag"}, {"to", {60, 60}}}, json{{"do", "mouseUp"}}}) {
        const json refused = other.call(command);
        EXPECT_EQ(refused["http"], 409) << command;
        EXPECT_NE(refused["error"].get<std::string>().find("another page is drawing"), std::string::npos);
    }
    EXPECT_FALSE(other.call({{"do", "abandon"}})["abandoned"].get<bool>());
    // The drawing page's drag went on untouched, and once it ends the other page may draw.
    EXPECT_EQ(drawing.call({{"do", "mouseUp"}})["undo"], 1);
    EXPECT_EQ(other.call({{"do", "mouseDown"}, {"at", {50, 50}}})["status"], 0);
    EXPECT_EQ(other.call({{"do", "drag"}, {"to", {200, 300}}})["status"], 0);
    EXPECT_EQ(other.call({{"do", "mouseUp"}})["undo"], 2);
}

TEST_F(WorkbenchSocket, APageWhoseConnectionClosesMidDragLeavesOneClosedUndoStep) {
    {
        Page page(port_);
        ASSERT_EQ(page.call({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
        ASSERT_EQ(page.call({{"do", "drag"}, {"to", {300, 500}}})["status"], 0);
        page.close();
    }
    json state;
    for (int tries = 0; tries < 200; ++tries) {
        state = hostState();
        if (!state["dragging"].get<bool>()) break;
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_FALSE(state["dragging"].get<bool>());
    EXPECT_EQ(state["undo"], 1);
    // The art of the last drag event stays.
    EXPECT_EQ(json::parse(loop_->call({{"do", "state"}, {"since", 0}}).body)["delta"]["placed"].size(), 1u);
}

TEST_F(WorkbenchSocket, BadMessagesAreAnsweredWithTheProblemAndChangeNothing) {
    Page page(port_);
    const uint64_t before = hostState()["revision"].get<uint64_t>();
    struct Case {
        std::string text;
        std::string named;
    };
    const std::vector<Case> cases = {
        {"{\"do\":\"drag\",", "not JSON"},
        {json{{"do", "undo"}, {"client", 7}}.dump(), "unknown key \"client\""},
        {json{{"do", "editOptions"}}.dump(), "send it over HTTP"},
        {json{{"do", "export"}, {"format", "svg"}}.dump(), "send it over HTTP"},
        {json{{"do", "seed"}, {"seed", 1}, {"pad", std::string(kMaxRequestBytes, 'x')}}.dump(),
         "the limit is"},
    };
    for (const Case& c : cases) {
        const json answer = page.call(c.text);
        EXPECT_EQ(answer["http"], 400) << c.text.substr(0, 60);
        EXPECT_NE(answer["error"].get<std::string>().find(c.named), std::string::npos) << answer["error"];
    }
    EXPECT_EQ(hostState()["revision"].get<uint64_t>(), before);
    // The connection still works, and one far past the limit is closed as too big.
    EXPECT_EQ(page.call({{"do", "state"}})["revision"].get<uint64_t>(), before);
    EXPECT_EQ(page.sendExpectingClose(std::string(kMaxRequestBytes * 16 + 1, ' ')), websocket::error::closed);
}

TEST_F(WorkbenchSocket, OnlyTheWorkbenchsOwnPagesMayConnect) {
    EXPECT_NO_THROW(Page(port_, "http://127.0.0.1:" + std::to_string(kPagePort)));
    try {
        Page foreign(port_, "http://evil.example");
        ADD_FAILURE() << "a foreign page's handshake was accepted";
    } catch (const boost::system::system_error& refused) {
        EXPECT_EQ(refused.code(), websocket::error::upgrade_declined);
    }

    struct Case {
        std::string origin, host;
        bool allowed;
    };
    for (const Case& c : std::vector<Case>{
             {"", "127.0.0.1:9000", true},
             {"http://127.0.0.1:8407", "127.0.0.1:9000", true},
             {"http://LOCALHOST:8407", "localhost:9000", true},
             {"http://[::1]:8407", "[::1]:9000", true},
             {"http://127.0.0.1:8408", "127.0.0.1:9000", false},
             {"https://127.0.0.1:8407", "127.0.0.1:9000", false},
             {"http://localhost:8407", "127.0.0.1:9000", false},
             {"null", "127.0.0.1:9000", false},
         })
        EXPECT_EQ(pageMayConnect(c.origin, c.host, kPagePort), c.allowed) << c.origin << " via " << c.host;
}

} // namespace
} // namespace zz
