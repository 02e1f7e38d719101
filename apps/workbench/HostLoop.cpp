#include "apps/workbench/HostLoop.h"

#include "apps/workbench/Export.h"
#include "apps/workbench/Requests.h"

namespace zz {

bool HostLoop::start(std::string* error) {
    std::promise<std::string> started;
    std::future<std::string> outcome = started.get_future();
    thread_ = std::thread([this, promise = std::move(started)]() mutable { main(std::move(promise)); });
    const std::string why = outcome.get();
    if (why.empty()) return true;
    thread_.join();
    if (error != nullptr) *error = why;
    return false;
}

void HostLoop::stop() {
    queue_.close();
    if (thread_.joinable()) thread_.join();
}

void HostLoop::interrupt() {
    queue_.close();
}

void HostLoop::setOutbox(Workbench::Outbox outbox) {
    std::lock_guard lock(outboxMutex_);
    outbox_ = std::move(outbox);
}

void HostLoop::deliver(uint64_t client, std::string message) {
    std::lock_guard lock(outboxMutex_);
    if (outbox_) outbox_(client, std::move(message));
}

void HostLoop::main(std::promise<std::string> started) {
    Workbench bench(options_, queue_,
                    [this](uint64_t client, std::string message) { deliver(client, std::move(message)); });
    std::string why;
    if (!bench.start(&why)) {
        started.set_value(why.empty() ? "the module could not be started" : why);
        return;
    }
    started.set_value("");
    while (!queue_.closed()) {
        if (std::optional<Job> job = queue_.take(options_.poll)) job->answer(bench.execute(job->command));
        bench.idle(Workbench::Clock::now());
    }
}

Reply HostLoop::request(std::string_view body) {
    ParsedRequest parsed = parseRequest(body);
    if (!parsed.error.empty()) return Reply::error(400, parsed.error);
    return call(std::move(parsed.command));
}

Reply HostLoop::call(nlohmann::json command) {
    const bool convert = command.value("do", "") == "export" && command.value("format", "svg") != "svg";
    std::optional<ExportSettings> settings;
    if (convert) {
        std::string why;
        settings = parseExportSettings(command["format"].get<std::string>(), "", &why);
        if (!settings) return Reply::error(400, why);
    }
    Reply reply = queue_.submit(std::move(command)).get();
    if (!convert || reply.status != 200) return reply;
    return convertExport(reply.body, *settings);
}

} // namespace zz
