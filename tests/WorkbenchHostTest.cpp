// The workbench's host thread with the real module, reached as the server reaches it but without a socket:
// commands run in the order they came, bad requests change nothing, a drag whose page went away closes its
// undo step, and the options dialog runs from the page's actions until OK or Cancel ends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "apps/workbench/HostLoop.h"
#include "apps/workbench/Requests.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

constexpr int32_t kPresetPopup = 3;
constexpr int32_t kElementsField = 4;      // the spin edit of the element count, on the first page
constexpr int32_t kLastPageButton = 306;   // shows the seventh page
constexpr int32_t kPressureGroupsBox = 61; // on the seventh page: the pen's pressure scales the element count

class WorkbenchHost : public ::testing::Test {
  protected:
    void SetUp() override { start(5000ms); }

    void start(std::chrono::milliseconds dragTimeout) {
        Workbench::Options options;
        options.modulePath = test::modulePath();
        options.dragTimeout = dragTimeout;
        options.poll = 10ms;
        loop_ = std::make_unique<HostLoop>(options);
        std::string why;
        ASSERT_TRUE(loop_->start(&why)) << why;
    }

    json request(const json& command) {
        const Reply reply = loop_->request(command.dump());
        EXPECT_EQ(reply.contentType, "application/json");
        json answer = json::parse(reply.body);
        answer["http"] = reply.status;
        return answer;
    }
    json state() { return request({{"do", "state"}}); }

    // The paths of one drag from (100, 700) to `to`, as the delta of the whole document shows them.
    std::vector<std::string> drawnPaths() {
        std::vector<std::string> paths;
        const json answer = request({{"do", "state"}, {"since", 0}});
        for (const json& place : answer["delta"]["placed"])
            paths.push_back(place["art"].value("d", ""));
        return paths;
    }
    void drag(double x, double y) {
        ASSERT_EQ(request({{"do", "mouseDown"}, {"at", {100, 700}}})["status"], 0);
        ASSERT_EQ(request({{"do", "drag"}, {"to", {x, y}}})["status"], 0);
        ASSERT_EQ(request({{"do", "mouseUp"}})["status"], 0);
    }

    // Connects a page, as the server does for a socket: from now on what the host sends it unasked comes
    // into the mailbox.
    void listen() {
        loop_->setOutbox([this](uint64_t client, std::string message) {
            std::lock_guard lock(mailMutex_);
            mail_.push_back(json::parse(message));
            EXPECT_EQ(client, kPage);
            mailCame_.notify_all();
        });
        ASSERT_EQ(loop_->call({{"do", "connected"}, {"client", kPage}}).status, 200);
    }
    // The next message of `event` the page was sent, or a string after five seconds without one.
    json nextEvent(const std::string& event) {
        std::unique_lock lock(mailMutex_);
        for (;;) {
            while (!mail_.empty()) {
                json message = std::move(mail_.front());
                mail_.pop_front();
                if (message["event"] == event) return message;
            }
            if (!mailCame_.wait_for(lock, 5s, [this] { return !mail_.empty(); }))
                return "no " + event + " came";
        }
    }
    // The dialog as the next dialog event shows it (null once it ended).
    json nextDialog() {
        const json message = nextEvent("dialog");
        return message.is_object() ? message["dialog"] : message;
    }

    static constexpr uint64_t kPage = 7;
    std::mutex mailMutex_;
    std::condition_variable mailCame_;
    std::deque<json> mail_;
    std::unique_ptr<HostLoop> loop_;
};

TEST_F(WorkbenchHost, CommandsSentTogetherRunInTheOrderSent) {
    std::vector<std::future<Reply>> replies;
    for (const json& command :
         {json{{"do", "mouseDown"}, {"at", {100, 700}}}, json{{"do", "drag"}, {"to", {300, 400}}},
          json{{"do", "mouseUp"}}, json{{"do", "undo"}}, json{{"do", "redo"}}, json{{"do", "undo"}}})
        replies.push_back(loop_->submit(command));
    std::vector<json> answers;
    for (std::future<Reply>& reply : replies)
        answers.push_back(json::parse(reply.get().body));
    EXPECT_TRUE(answers[1]["dragging"].get<bool>());
    EXPECT_EQ(answers[2]["undo"], 1);
    EXPECT_TRUE(answers[3]["done"].get<bool>());
    EXPECT_EQ(answers[3]["redo"], 1);
    EXPECT_EQ(answers[4]["undo"], 1);
    EXPECT_EQ(answers[5]["undo"], 0);
    // Revisions never go back in the order of the answers.
    for (size_t i = 1; i < answers.size(); ++i)
        EXPECT_GE(answers[i]["revision"].get<uint64_t>(), answers[i - 1]["revision"].get<uint64_t>());
    EXPECT_TRUE(drawnPaths().empty());
}

TEST_F(WorkbenchHost, ADragDrawsTheDefaultZigzagAndUndoTakesItAway) {
    const uint64_t start = state()["revision"].get<uint64_t>();
    ASSERT_EQ(request({{"do", "mouseDown"}, {"at", {100, 700}}, {"since", start}})["status"], 0);
    const json dragged = request({{"do", "drag"}, {"to", {300, 500}}, {"since", start}});
    ASSERT_EQ(dragged["status"], 0);
    const json& delta = dragged["delta"];
    ASSERT_EQ(delta["placed"].size(), 1u);
    // Ten elements of three points from the press to the cursor, in page coordinates (y down).
    const std::string d = delta["placed"][0]["art"]["d"].get<std::string>();
    EXPECT_EQ(d.substr(0, 24), "M 100 92 L 300 102 L 100");
    EXPECT_EQ(std::count(d.begin(), d.end(), 'L'), 29);
    EXPECT_EQ(request({{"do", "mouseUp"}})["undo"], 1);

    const json undone = request({{"do", "undo"}, {"since", dragged["revision"]}});
    EXPECT_EQ(undone["delta"]["removed"], json::array({delta["placed"][0]["id"]}));
    EXPECT_TRUE(drawnPaths().empty());
    EXPECT_EQ(request({{"do", "redo"}})["redo"], 0);
    EXPECT_EQ(drawnPaths(), std::vector<std::string>{d});
}

TEST_F(WorkbenchHost, BadOrOversizedRequestsChangeNothing) {
    request({{"do", "mouseDown"}, {"at", {100, 700}}});
    const json before = state();
    for (const std::string& body :
         {std::string("{\"do\":\"drag\",\"to\":[300,"),
          std::string("{\"do\":\"drag\",\"to\":[300,400],\"pressure\":999}"),
          std::string("{\"do\":\"undo\",\"force\":true}"),
          "{\"do\":\"drag\",\"to\":[300,400],\"pad\":\"" + std::string(kMaxRequestBytes, 'x') + "\"}"}) {
        const Reply reply = loop_->request(body);
        EXPECT_EQ(reply.status, 400) << body.substr(0, 60);
        EXPECT_FALSE(json::parse(reply.body)["error"].get<std::string>().empty());
    }
    const json after = state();
    EXPECT_EQ(after["revision"], before["revision"]);
    EXPECT_TRUE(after["dragging"].get<bool>());
    EXPECT_TRUE(drawnPaths().empty());
}

TEST_F(WorkbenchHost, AnAbandonedDragBecomesOneUndoStepAndTakesNoMoreEvents) {
    request({{"do", "mouseDown"}, {"at", {100, 700}}});
    request({{"do", "drag"}, {"to", {300, 500}}});
    const json abandoned = request({{"do", "abandon"}});
    EXPECT_TRUE(abandoned["abandoned"].get<bool>());
    EXPECT_FALSE(abandoned["dragging"].get<bool>());
    EXPECT_EQ(abandoned["undo"], 1);
    EXPECT_EQ(drawnPaths().size(), 1u);

    const json late = request({{"do", "drag"}, {"to", {310, 500}}});
    EXPECT_EQ(late["http"], 409);
    EXPECT_TRUE(request({{"do", "undo"}})["done"].get<bool>());
    EXPECT_TRUE(drawnPaths().empty());
}

TEST_F(WorkbenchHost, ADragWhosePageGoesQuietIsEndedAfterTheTimeOut) {
    loop_.reset();
    start(100ms);
    listen();
    request({{"do", "mouseDown"}, {"at", {100, 700}}});
    request({{"do", "drag"}, {"to", {300, 500}}});
    EXPECT_TRUE(nextEvent("abandoned").is_object());
    const json after = state();
    EXPECT_FALSE(after["dragging"].get<bool>());
    EXPECT_EQ(after["undo"], 1);
    EXPECT_EQ(drawnPaths().size(), 1u);
}

TEST_F(WorkbenchHost, APresetChosenInTheDialogAndOkChangesTheNextDrag) {
    drag(300, 500);
    const std::vector<std::string> before = drawnPaths();
    ASSERT_TRUE(request({{"do", "undo"}})["done"].get<bool>());

    listen();
    std::future<Reply> options = loop_->submit({{"do", "editOptions"}});
    const json shown = nextDialog();
    ASSERT_TRUE(shown.is_object()) << shown;
    EXPECT_EQ(shown["name"], "ZigzagTool");
    const auto item = [](const json& dialog, int32_t id) {
        for (const json& each : dialog["items"])
            if (each["id"] == id) return each;
        return json();
    };
    EXPECT_EQ(item(shown, kElementsField)["value"], 10);
    EXPECT_GT(item(shown, kPresetPopup)["entries"].size(), 14u);

    // Document commands wait for the dialog.
    EXPECT_EQ(request({{"do", "mouseDown"}, {"at", {1, 1}}})["http"], 409);

    const json chosen =
        request({{"do", "dialog"}, {"action", "select"}, {"item", kPresetPopup}, {"entry", 14}});
    EXPECT_TRUE(chosen["refusal"].is_null());
    EXPECT_EQ(item(chosen["dialog"], kElementsField)["value"], 30);
    EXPECT_EQ(item(nextDialog(), kElementsField)["value"], 30) << "the page hears of the change too";

    const json refused = request({{"do", "dialog"}, {"action", "click"}, {"item", 9999}});
    EXPECT_EQ(refused["refusal"], "the dialog has no item 9999");

    const json ok = request({{"do", "dialog"}, {"action", "click"}, {"item", 1}});
    EXPECT_TRUE(ok["dialog"].is_null());
    EXPECT_EQ(ok["closedWith"], 1);
    ASSERT_EQ(options.wait_for(5s), std::future_status::ready);
    const json answer = json::parse(options.get().body);
    EXPECT_EQ(answer["status"], 0);
    EXPECT_EQ(answer["closedWith"], 1);
    json last = nextDialog();
    while (last.is_object())
        last = nextDialog();
    EXPECT_TRUE(last.is_null()) << "the page hears that the dialog ended: " << last;

    drag(300, 500);
    const std::vector<std::string> after = drawnPaths();
    ASSERT_EQ(after.size(), 1u);
    EXPECT_NE(after, before);
    EXPECT_EQ(std::count(after[0].begin(), after[0].end(), 'L'), 89) << "thirty elements of three points";
}

TEST_F(WorkbenchHost, CancelEndsTheDialogWithoutTakingTheTypedCount) {
    drag(300, 500);
    const std::vector<std::string> before = drawnPaths();
    ASSERT_TRUE(request({{"do", "undo"}})["done"].get<bool>());

    listen();
    std::future<Reply> options = loop_->submit({{"do", "editOptions"}});
    ASSERT_TRUE(nextDialog().is_object());
    const json typed =
        request({{"do", "dialog"}, {"action", "value"}, {"item", kElementsField}, {"value", 3}});
    EXPECT_TRUE(typed["refusal"].is_null());
    EXPECT_EQ(request({{"do", "dialog"}, {"action", "click"}, {"item", 2}})["closedWith"], 2);
    const json answer = json::parse(options.get().body);
    EXPECT_EQ(answer["statusText"], "'STOP'");
    EXPECT_EQ(answer["closedWith"], 2);

    drag(300, 500);
    EXPECT_EQ(drawnPaths(), before);
}

TEST_F(WorkbenchHost, OnlyAPenHasPressureAndItThinsTheElementsWhenPressureGroupsIsOn) {
    const auto elements = [this](const json& device) {
        json down = {{"do", "mouseDown"}, {"at", {100, 700}}};
        json moved = {{"do", "drag"}, {"to", {300, 500}}};
        down.update(device);
        moved.update(device);
        EXPECT_EQ(request(down)["status"], 0);
        EXPECT_EQ(request(moved)["status"], 0);
        EXPECT_EQ(request({{"do", "mouseUp"}})["status"], 0);
        const std::vector<std::string> paths = drawnPaths();
        EXPECT_TRUE(request({{"do", "undo"}})["done"].get<bool>());
        return paths.size() == 1 ? (std::count(paths[0].begin(), paths[0].end(), 'L') + 1) / 3 : -1;
    };
    const json pen = {{"pointer", "pen"}, {"pressure", 64}};
    EXPECT_EQ(elements(pen), 10) << "pressure groups are off by default";

    listen();
    std::future<Reply> options = loop_->submit({{"do", "editOptions"}});
    ASSERT_TRUE(nextDialog().is_object());
    for (const int32_t item : {kLastPageButton, kPressureGroupsBox})
        EXPECT_TRUE(request({{"do", "dialog"}, {"action", "click"}, {"item", item}})["refusal"].is_null());
    EXPECT_EQ(request({{"do", "dialog"}, {"action", "click"}, {"item", 1}})["closedWith"], 1);
    ASSERT_EQ(options.wait_for(5s), std::future_status::ready);

    EXPECT_EQ(elements(pen), 2);
    EXPECT_EQ(elements({{"pointer", "pen"}, {"pressure", 255}}), 10);
    EXPECT_EQ(elements({{"pressure", 64}}), 2) << "a pressure without a device is a pen's";
    EXPECT_EQ(elements({{"pointer", "mouse"}, {"pressure", 64}}), 10) << "a mouse has no pressure";
    EXPECT_EQ(elements({{"pointer", "touch"}, {"pressure", 64}}), 10);
    EXPECT_EQ(elements(json::object()), 10);
}

TEST_F(WorkbenchHost, StoppingWhileTheDialogIsUpCancelsItAndAnswersTheOpener) {
    listen();
    std::future<Reply> options = loop_->submit({{"do", "editOptions"}});
    ASSERT_TRUE(nextDialog().is_object());
    std::thread stopper([this] { loop_->stop(); });
    ASSERT_EQ(options.wait_for(5s), std::future_status::ready);
    const json answer = json::parse(options.get().body);
    EXPECT_EQ(answer["closedWith"], 2);
    stopper.join();
    EXPECT_EQ(loop_->request("{\"do\":\"state\"}").status, 503);
}

TEST_F(WorkbenchHost, ExportsAreTheDocumentsSvgAndPicturesMadeFromIt) {
    drag(300, 500);
    const Reply svg = loop_->call({{"do", "export"}, {"format", "svg"}});
    ASSERT_EQ(svg.status, 200);
    EXPECT_EQ(svg.contentType, "image/svg+xml");
    EXPECT_NE(svg.body.find("<path d=\"M 100 92 L 300 102"), std::string::npos);
    const Reply png = loop_->call({{"do", "export"}, {"format", "png"}});
    ASSERT_EQ(png.status, 200) << png.body;
    EXPECT_EQ(png.body.substr(1, 3), "PNG");
    const Reply pdf = loop_->call({{"do", "export"}, {"format", "pdf"}});
    ASSERT_EQ(pdf.status, 200) << pdf.body;
    EXPECT_EQ(pdf.body.substr(0, 5), "%PDF-");
}

TEST_F(WorkbenchHost, TheModulesIconCursorAndThumbnailsComeAsPng) {
    const json shown = state();
    EXPECT_EQ(shown["tool"]["title"], " KT7 Zigzag Tool");
    EXPECT_EQ(shown["cursor"]["hot"], json({16, 15}));
    for (const json& command :
         {json{{"do", "image"}, {"kind", "icon"}}, json{{"do", "image"}, {"kind", "cursor"}},
          json{{"do", "image"}, {"kind", "bitmap"}, {"id", 100}}}) {
        const Reply picture = loop_->call(command);
        ASSERT_EQ(picture.status, 200) << command;
        EXPECT_EQ(picture.contentType, "image/png");
        EXPECT_EQ(picture.body.substr(1, 3), "PNG");
    }
    EXPECT_EQ(loop_->call({{"do", "image"}, {"kind", "bitmap"}, {"id", 9}}).status, 404);
}

} // namespace
} // namespace zz
