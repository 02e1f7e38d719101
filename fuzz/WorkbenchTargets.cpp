// The harnesses of the workbench: a request body as the server reads it, and a list of commands run by the
// host as the server hands them over, without sockets.
#include <chrono>
#include <vector>

#include "apps/workbench/CommandQueue.h"
#include "apps/workbench/Requests.h"
#include "apps/workbench/Workbench.h"
#include "fuzz/FuzzTargets.h"
#include "host/base/Platform.h"

namespace zz::fuzz {

namespace {

using nlohmann::json;

constexpr uint64_t kPage = 1;
// The most commands one input runs.
constexpr std::size_t kMaxCommands = 64;

std::string_view textOf(Bytes input) {
    return std::string_view(reinterpret_cast<const char*>(input.data()), input.size());
}

// An answer keeps its promises: the host never fails (500), a JSON answer is JSON, and a refusal is in the
// host's own words.
Verdict checkReply(const json& command, const Reply& reply) {
    const std::string what = "\"" + command.value("do", std::string()) + "\": ";
    if (reply.status == 500) return what + "the host failed: " + reply.body;
    if (reply.contentType != "application/json") return std::nullopt;
    const json body = json::parse(reply.body, nullptr, false);
    if (body.is_discarded()) return what + "the answer is not JSON";
    if (reply.status != 200) {
        if (!body.contains("error") || !body["error"].is_string())
            return what + "a refusal without its reason";
        if (Verdict problem = checkWording(body["error"].get<std::string>())) return what + *problem;
    }
    return std::nullopt;
}

} // namespace

Verdict runRequests(Bytes input) {
    const InputScope scope(input);
    const ParsedRequest parsed = parseRequest(textOf(input));
    if (!parsed.error.empty()) {
        if (!parsed.command.is_null()) return "a refused request keeps its command";
        return checkWording(parsed.error);
    }
    // A good command stays good as the page would send it again.
    if (std::optional<std::string> problem = commandProblem(json::parse(safeDump(parsed.command))))
        return "a command that passed is refused when sent again: " + *problem;
    return std::nullopt;
}

// A JSON list of command objects. Each is checked as the server checks a request body, and those that pass
// run in order on a fresh workbench, the options dialog taking the commands after the one that opened it,
// as a page's would.
Verdict runWorkbench(Bytes input) {
    const InputScope scope(input);
    const json commands = json::parse(textOf(input), nullptr, false);
    if (!commands.is_array()) return std::nullopt;
    const std::string module = besideExecutable("KT07_Zigzag.aip");

    CommandQueue queue;
    Workbench::Options options;
    options.modulePath = module;
    // What the page shows of the dialog beyond the module's items is learned in 39 sessions of its own; the
    // harness goes without it.
    options.notes = DialogNotes{};
    options.poll = std::chrono::milliseconds(1);
    // A dialog whose page has gone is cancelled at once.
    options.dialogTimeout = std::chrono::milliseconds(0);
    Workbench bench(options, queue, [](uint64_t, std::string) {});
    std::string why;
    if (!bench.start(&why)) return "the workbench did not start: " + why;
    // A page is connected, so that a dialog waits for its commands.
    bench.execute({{"do", "connected"}, {"client", kPage}});

    Verdict verdict;
    const auto submit = [&](json command) {
        queue.submit(command, [&verdict, command](Reply reply) {
            if (!verdict) verdict = checkReply(command, reply);
        });
    };
    for (std::size_t i = 0; i < commands.size() && i < kMaxCommands; ++i) {
        const ParsedRequest parsed = parseRequest(safeDump(commands[i]));
        if (!parsed.error.empty()) {
            if (Verdict problem = checkWording(parsed.error)) return problem;
            continue;
        }
        json command = parsed.command;
        command["client"] = kPage;
        submit(std::move(command));
    }
    // Whatever dialog the commands leave open (and one the module opens over it) ends with Cancel; should
    // one still wait, the page goes, and a dialog without a page is cancelled.
    for (int i = 0; i < 3; ++i)
        submit({{"do", "dialog"}, {"action", "close"}, {"item", 2}, {"client", kPage}});
    queue.submit({{"do", "disconnected"}, {"client", kPage}}, [](Reply) {});
    while (std::optional<Job> job = queue.take(std::chrono::milliseconds(0)))
        job->answer(bench.execute(job->command));
    return verdict;
}

} // namespace zz::fuzz
