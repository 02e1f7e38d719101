#include "apps/workbench/CommandQueue.h"

namespace zz {

namespace {

Reply shutDown() {
    return Reply::error(503, "the workbench is shutting down");
}

} // namespace

std::future<Reply> CommandQueue::submit(nlohmann::json command) {
    auto promise = std::make_shared<std::promise<Reply>>();
    std::future<Reply> reply = promise->get_future();
    submit(std::move(command), [promise](Reply answer) { promise->set_value(std::move(answer)); });
    return reply;
}

void CommandQueue::submit(nlohmann::json command, std::function<void(Reply)> answer) {
    {
        std::lock_guard lock(mutex_);
        if (!closed_) {
            jobs_.push_back(Job{std::move(command), std::move(answer)});
            ready_.notify_one();
            return;
        }
    }
    answer(shutDown());
}

std::optional<Job> CommandQueue::take(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, wait, [this] { return closed_ || !jobs_.empty(); });
    if (closed_ || jobs_.empty()) return std::nullopt;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    return job;
}

void CommandQueue::close() {
    std::deque<Job> left;
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        left.swap(jobs_);
    }
    ready_.notify_all();
    for (Job& job : left)
        job.answer(shutDown());
}

bool CommandQueue::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

} // namespace zz
