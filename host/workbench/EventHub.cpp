#include "host/workbench/EventHub.h"

#include <algorithm>

namespace zz {

std::optional<Event> EventHub::Listener::next(std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, wait, [this] { return closed_ || !mailbox_.empty(); });
    if (mailbox_.empty()) return std::nullopt;
    Event event = std::move(mailbox_.front());
    mailbox_.pop_front();
    return event;
}

bool EventHub::Listener::closed() const {
    std::lock_guard lock(mutex_);
    return closed_;
}

std::shared_ptr<EventHub::Listener> EventHub::listen() {
    auto listener = std::make_shared<Listener>();
    std::lock_guard lock(mutex_);
    if (closed_)
        listener->closed_ = true;
    else
        listeners_.push_back(listener);
    return listener;
}

void EventHub::forget(const std::shared_ptr<Listener>& listener) {
    std::lock_guard lock(mutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void EventHub::publish(const std::string& name, const std::string& data) {
    std::lock_guard lock(mutex_);
    for (const auto& listener : listeners_) {
        {
            std::lock_guard inner(listener->mutex_);
            if (listener->mailbox_.size() >= kMailboxLimit) listener->mailbox_.pop_front();
            listener->mailbox_.push_back(Event{name, data});
        }
        listener->ready_.notify_one();
    }
}

void EventHub::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    for (const auto& listener : listeners_) {
        {
            std::lock_guard inner(listener->mutex_);
            listener->closed_ = true;
        }
        listener->ready_.notify_all();
    }
    listeners_.clear();
}

std::size_t EventHub::listeners() const {
    std::lock_guard lock(mutex_);
    return listeners_.size();
}

} // namespace zz
