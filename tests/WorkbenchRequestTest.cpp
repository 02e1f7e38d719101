// The workbench's front door: what a page may send, and the queue between the threads that receive requests
// and the one host thread.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "apps/workbench/CommandQueue.h"
#include "apps/workbench/Requests.h"
#include "apps/workbench/ServeCommand.h"
#include "apps/workbench/Workbench.h"

namespace zz {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

TEST(WorkbenchRequests, BadBodiesAreRefusedWithTheProblemNamed) {
    struct Case {
        std::string body;
        std::string named; // a piece of the message
    };
    const std::vector<Case> cases = {
        {"", "not JSON"},
        {"{\"do\":\"drag\",", "not JSON"},
        {"[1,2]", "must be a JSON object"},
        {"{\"at\":[1,2]}", "no \"do\""},
        {"{\"do\":\"fly\"}", "unknown command \"fly\""},
        {"{\"do\":\"undo\",\"times\":2}", "unknown key \"times\""},
        {"{\"do\":\"mouseDown\"}", "\"at\" must be given"},
        {"{\"do\":\"mouseDown\",\"at\":[1]}", "\"at\" must be [x, y]"},
        {"{\"do\":\"mouseDown\",\"at\":[\"1\",2]}", "\"at\" must be [x, y]"},
        {"{\"do\":\"drag\",\"to\":[1,1e300]}", "within the float range"},
        {"{\"do\":\"drag\",\"to\":[1,2],\"pressure\":256}", "\"pressure\" must be an integer from 0 to 255"},
        {"{\"do\":\"drag\",\"to\":[1,2],\"pressure\":0.5}", "\"pressure\""},
        {"{\"do\":\"drag\",\"to\":[1,2],\"modifiers\":-1}", "\"modifiers\""},
        {"{\"do\":\"drag\",\"to\":[1,2],\"pointer\":\"stylus\"}", "\"pointer\""},
        {"{\"do\":\"undo\",\"since\":-3}", "\"since\""},
        {"{\"do\":\"seed\"}", "\"seed\" must be given"},
        {"{\"do\":\"seed\",\"seed\":4294967296}", "\"seed\""},
        {"{\"do\":\"newDocument\",\"colorModel\":\"hsv\"}", "\"colorModel\""},
        {"{\"do\":\"newDocument\",\"page\":[0,100]}", "\"page\""},
        {"{\"do\":\"newDocument\",\"paint\":{\"fill\":\"red\"}}", "\"paint.fill\""},
        {"{\"do\":\"newDocument\",\"paint\":{\"glow\":1}}", "unknown key \"paint.glow\""},
        {"{\"do\":\"dialog\",\"action\":\"shout\"}", "\"action\""},
        {"{\"do\":\"dialog\",\"action\":\"click\"}", "\"item\" must be given"},
        {"{\"do\":\"dialog\",\"action\":\"select\",\"item\":3}", "\"entry\""},
        {"{\"do\":\"dialog\",\"action\":\"value\",\"item\":4}", "\"value\""},
        {"{\"do\":\"export\",\"format\":\"gif\"}", "\"format\""},
        {"{\"do\":\"image\",\"kind\":\"bitmap\",\"id\":0}", "\"id\""},
    };
    for (const Case& c : cases) {
        const ParsedRequest parsed = parseRequest(c.body);
        EXPECT_NE(parsed.error.find(c.named), std::string::npos)
            << c.body << " gave \"" << parsed.error << "\", expected it to name " << c.named;
        EXPECT_TRUE(parsed.command.is_null()) << c.body;
    }
}

TEST(WorkbenchRequests, GoodCommandsPassAndABodyOverTheLimitIsRefusedUnread) {
    for (const char* body :
         {"{\"do\":\"state\",\"since\":0}",
          "{\"do\":\"mouseDown\",\"at\":[1.5,-2],\"modifiers\":512,\"pressure\":0,"
          "\"pointer\":\"pen\"}",
          "{\"do\":\"drag\",\"to\":[1,2]}", "{\"do\":\"mouseUp\"}",
          "{\"do\":\"newDocument\",\"colorModel\":\"cmyk\",\"page\":[100,50],\"swatches\":4,"
          "\"paint\":{\"fill\":null,\"stroke\":\"#ff0000\",\"strokeWidth\":2}}",
          "{\"do\":\"dialog\",\"action\":\"value\",\"item\":4,\"value\":true}",
          "{\"do\":\"seed\",\"seed\":4294967295}"}) {
        const ParsedRequest parsed = parseRequest(body);
        EXPECT_EQ(parsed.error, "") << body;
        EXPECT_TRUE(parsed.command.is_object()) << body;
    }
    // A good command padded past the limit: refused on its size alone.
    std::string big = "{\"do\":\"state\",\"since\":0}";
    big += std::string(kMaxRequestBytes, ' ');
    const ParsedRequest parsed = parseRequest(big);
    EXPECT_EQ(parsed.error, "the request body is " + std::to_string(big.size()) + " bytes; the limit is " +
                                std::to_string(kMaxRequestBytes));
}

TEST(WorkbenchRequests, TheHostHandlesEveryCommandOfTheTableAndThePageIsSentTheTable) {
    EXPECT_TRUE(Workbench::handlesEveryCommand());
    const json table = commandTableJson();
    ASSERT_EQ(table.size(), commandRules().size());
    for (const json& command : table) {
        // Whatever the page reads of a command is what the checks hold it to.
        const CommandRule* rule = commandRule(command["do"].get<std::string>());
        ASSERT_NE(rule, nullptr) << command;
        EXPECT_EQ(command["fields"].size(), rule->fields.size()) << command;
    }
}

TEST(WorkbenchServe, ABadTokenFileIsRefusedBeforeAnythingStarts) {
    const std::string folder = ::testing::TempDir();
    const std::string shortToken = folder + "/short-token";
    const std::string blankToken = folder + "/blank-token";
    std::ofstream(shortToken) << "abc\n";
    std::ofstream(blankToken) << "0123456789 abcdef0123\n";
    struct Case {
        std::string path;
        std::string named;
    };
    for (const Case& c :
         {Case{folder + "/no-such-token", "cannot be read"}, Case{shortToken, "at least 16 characters"},
          Case{blankToken, "a token may not have"}}) {
        std::ostringstream out, err;
        EXPECT_EQ(runServeCommand({"--port", "0", "--token-file", c.path}, "KT07_Zigzag.aip", out, err), 2);
        EXPECT_NE(err.str().find(c.named), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "") << "nothing was served";
    }
}

TEST(WorkbenchQueue, CommandsFromManyThreadsComeOutEachThreadsInTheOrderSent) {
    CommandQueue queue;
    constexpr int kThreads = 4, kEach = 200;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t)
        senders.emplace_back([&queue, t] {
            for (int i = 0; i < kEach; ++i)
                queue.submit(json{{"thread", t}, {"n", i}});
        });
    std::vector<int> next(kThreads, 0);
    int taken = 0;
    while (taken < kThreads * kEach) {
        std::optional<Job> job = queue.take(1000ms);
        ASSERT_TRUE(job) << "a command went missing after " << taken;
        const int t = job->command["thread"].get<int>();
        EXPECT_EQ(job->command["n"].get<int>(), next[t]) << "thread " << t;
        next[t] = job->command["n"].get<int>() + 1;
        job->answer(Reply::json(json::object()));
        ++taken;
    }
    for (std::thread& sender : senders)
        sender.join();
}

TEST(WorkbenchQueue, ClosingAnswersWaitingCommandsAndLaterOnesWithShuttingDown) {
    CommandQueue queue;
    std::future<Reply> waiting = queue.submit(json{{"do", "state"}});
    std::thread closer([&queue] { queue.close(); });
    EXPECT_EQ(waiting.get().status, 503);
    closer.join();
    EXPECT_EQ(queue.submit(json{{"do", "state"}}).get().status, 503);
    EXPECT_FALSE(queue.take(0ms).has_value());
}

} // namespace
} // namespace zz
