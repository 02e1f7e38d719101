#include "host/workbench/CommandQueue.h"

namespace zz {

namespace {

Reply shutDown() {
    return Reply::error(503, "the workbench is shutting down");
}

} // namespace

std::future<Reply> CommandQueue::submit(nlohmann::json command) {
    Job job{std::move(command), {}};
    std::future<Reply> reply = job.reply.get_future();
    {
        std::lock_guard lock(mutex_);
        if (!closed_) {
            jobs_.push_back(std::move(job));
            ready_.notify_one();
            return reply;
        }
    }
    job.reply.set_value(shutDown());
    return reply;
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
        job.reply.set_value(shutDown());
}

bool CommandQueue::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

} // namespace zz
