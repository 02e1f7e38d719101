// The host thread and the way to it: a thread that owns the Workbench (loads the module, answers commands in
// the order they came, does its chores between them) and the calls other threads make to reach it. Nothing
// here needs a socket: the server hands request bodies to `request`, and tests do the same.
#ifndef ZZ_APPS_WORKBENCH_HOST_LOOP_H
#define ZZ_APPS_WORKBENCH_HOST_LOOP_H

#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include <nlohmann/json.hpp>

#include "apps/workbench/CommandQueue.h"
#include "apps/workbench/Reply.h"
#include "apps/workbench/Workbench.h"

namespace zz {

class HostLoop {
  public:
    explicit HostLoop(Workbench::Options options) : options_(std::move(options)) {}
    ~HostLoop() { stop(); }
    HostLoop(const HostLoop&) = delete;
    HostLoop& operator=(const HostLoop&) = delete;

    // Starts the host thread, which loads and starts the module; waits for that. False with the reason (the
    // thread has ended then).
    bool start(std::string* error);
    // Ends the host thread: commands still waiting are answered 503, an open dialog is cancelled, the module
    // is shut down on the host thread.
    void stop();
    // Asks the host thread to end, from any thread, without waiting: a document being opened stops being
    // played, start() then returns at once, and stop() ends the thread.
    void interrupt();

    // A request body from a page: checked on the calling thread (a bad one is answered 400 and never reaches
    // the host thread), then run on the host thread; waits for the reply. A PNG or PDF export is converted
    // from the host's SVG on the calling thread, so the host thread does not wait for the converter.
    Reply request(std::string_view body);
    // A command built by the caller (not checked again), sent without waiting for its reply.
    std::future<Reply> submit(nlohmann::json command) { return queue_.submit(std::move(command)); }
    // The same, with the reply handed to `answer` on the host thread.
    void submit(nlohmann::json command, std::function<void(Reply)> answer) {
        queue_.submit(std::move(command), std::move(answer));
    }
    // A command built by the caller, waiting for its reply.
    Reply call(nlohmann::json command);

    // Where the host thread's messages to clients go from now on (nothing: they are dropped). Called on
    // the host thread, so it must not wait for anything.
    void setOutbox(Workbench::Outbox outbox);

  private:
    void main(std::promise<std::string> started);
    void deliver(uint64_t client, std::string message);

    Workbench::Options options_;
    CommandQueue queue_;
    std::mutex outboxMutex_;
    Workbench::Outbox outbox_;
    std::thread thread_;
};

} // namespace zz

#endif
