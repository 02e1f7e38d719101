// The line between the threads that take requests and the one host thread that owns the module and its
// document: requests go in as commands, each with the promise of its reply, and come out in the order they
// went in. The host thread waits for the next command with a time limit, so that it can do its own chores
// (ending a drag whose client went away) between commands.
#ifndef ZZ_APPS_WORKBENCH_COMMAND_QUEUE_H
#define ZZ_APPS_WORKBENCH_COMMAND_QUEUE_H

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

#include "apps/workbench/Reply.h"

namespace zz {

struct Job {
    nlohmann::json command;
    // Called once with the reply, on the host thread (or on the closing thread, for a command the queue
    // answers itself).
    std::function<void(Reply)> answer;
};

class CommandQueue {
  public:
    // Queues a command; its reply comes through the future. A closed queue answers at once with 503.
    std::future<Reply> submit(nlohmann::json command);
    // Queues a command whose reply goes to `answer` instead, for callers that must not wait.
    void submit(nlohmann::json command, std::function<void(Reply)> answer);
    // The oldest command, waiting up to `wait` for one; nothing when none came or the queue is closed.
    std::optional<Job> take(std::chrono::milliseconds wait);
    // Refuses further commands and answers those still waiting with 503; wakes a waiting taker.
    void close();
    bool closed() const;

  private:
    mutable std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Job> jobs_;
    bool closed_ = false;
};

} // namespace zz

#endif
