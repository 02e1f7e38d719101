// Thumbnails of documents, made off the host thread: the host hands over a document's SVG, a thread of
// its own has rsvg-convert make a small PNG of it, and the picture goes back to the host thread as the
// command {"do": "storeThumbnail", "document", "png"} to be kept in the document.
#ifndef ZZ_APPS_WORKBENCH_THUMBNAILS_H
#define ZZ_APPS_WORKBENCH_THUMBNAILS_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "apps/workbench/HostLoop.h"

namespace zz {

class Thumbnails {
  public:
    // The longer side of a thumbnail, in pixels.
    static constexpr double kSide = 256.0;

    Thumbnails() = default;
    ~Thumbnails() { stop(); }
    Thumbnails(const Thumbnails&) = delete;
    Thumbnails& operator=(const Thumbnails&) = delete;

    // Starts the thread, which sends the pictures to `loop`.
    void start(HostLoop& loop);
    // Queues a document's SVG; a newer one of the same document takes the place of one still waiting.
    void add(std::string document, std::string svg);
    // Ends the thread; a conversion under way is cancelled, and what waits is dropped.
    void stop();

  private:
    void main();

    HostLoop* loop_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::pair<std::string, std::string>> waiting_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace zz

#endif
