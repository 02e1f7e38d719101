#include "apps/workbench/Thumbnails.h"

#include <algorithm>

#include "apps/workbench/Export.h"

namespace zz {

namespace {

// The SVG's width and height in points, read from its root element; nothing when it has none.
bool svgSize(const std::string& svg, double* width, double* height) {
    const auto number = [&](const char* attribute, double* out) {
        const std::size_t at = svg.find(attribute);
        if (at == std::string::npos) return false;
        *out = std::strtod(svg.c_str() + at + std::char_traits<char>::length(attribute), nullptr);
        return *out > 0.0;
    };
    return number(" width=\"", width) && number(" height=\"", height);
}

} // namespace

void Thumbnails::start(HostLoop& loop) {
    loop_ = &loop;
    stopping_ = false;
    thread_ = std::thread([this] { main(); });
}

void Thumbnails::add(std::string document, std::string svg) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_ || !thread_.joinable()) return;
        std::erase_if(waiting_, [&](const auto& entry) { return entry.first == document; });
        waiting_.emplace_back(std::move(document), std::move(svg));
    }
    wake_.notify_one();
}

void Thumbnails::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        waiting_.clear();
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void Thumbnails::main() {
    for (;;) {
        std::pair<std::string, std::string> next;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || !waiting_.empty(); });
            if (stopping_) return;
            next = std::move(waiting_.front());
            waiting_.pop_front();
        }
        double width = 0.0, height = 0.0;
        if (!svgSize(next.second, &width, &height)) continue;
        ExportSettings settings;
        settings.format = ExportSettings::Format::Png;
        settings.scale = std::clamp(kSide / std::max(width, height), 0.01, 100.0);
        ConvertLimits limits;
        limits.cancel = &stopping_;
        Reply picture = convertExport(next.second, settings, limits);
        if (picture.status != 200 || stopping_) continue;
        nlohmann::json command = {{"do", "storeThumbnail"},
                                  {"document", next.first},
                                  {"png", nlohmann::json::binary_t(std::vector<uint8_t>(
                                              picture.body.begin(), picture.body.end()))}};
        loop_->submit(std::move(command));
    }
}

} // namespace zz
