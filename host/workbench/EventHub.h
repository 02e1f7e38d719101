// News the host thread sends to every page that listens (the server-sent event stream): the document's new
// revision, the dialog as it now is, a drag that was abandoned. Each listener has a mailbox of its own;
// a listener that falls far behind loses its oldest news, never blocks the host thread.
#ifndef ZZ_HOST_WORKBENCH_EVENT_HUB_H
#define ZZ_HOST_WORKBENCH_EVENT_HUB_H

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zz {

struct Event {
    std::string name;
    std::string data; // one line of JSON
};

class EventHub {
  public:
    class Listener {
      public:
        // The next event, waiting up to `wait`; nothing on time-out or once the hub has closed.
        std::optional<Event> next(std::chrono::milliseconds wait);
        bool closed() const;

      private:
        friend class EventHub;
        mutable std::mutex mutex_;
        std::condition_variable ready_;
        std::deque<Event> mailbox_;
        bool closed_ = false;
    };

    // Events a listener keeps before it drops its oldest.
    static constexpr std::size_t kMailboxLimit = 256;

    std::shared_ptr<Listener> listen();
    void forget(const std::shared_ptr<Listener>& listener);
    void publish(const std::string& name, const std::string& data);
    // Wakes every listener for good: their streams end.
    void close();
    std::size_t listeners() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Listener>> listeners_;
    bool closed_ = false;
};

} // namespace zz

#endif
