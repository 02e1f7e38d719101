#include "host/document/ChangeLog.h"

#include <algorithm>
#include <unordered_map>

namespace zz {

void ChangeLog::restart() {
    ++revision_;
    records_.clear();
    floor_ = revision_;
}

void ChangeLog::setLimit(size_t records) {
    limit_ = std::max<size_t>(records, 2);
}

void ChangeLog::append(Event event, ArtId id) {
    if (records_.size() >= limit_) {
        // Drop the older half. Every record after the last one dropped is kept, so the log still answers for
        // that record's revision.
        const size_t drop = records_.size() / 2;
        floor_ = std::max(floor_, records_[drop - 1].revision);
        records_.erase(records_.begin(), records_.begin() + static_cast<std::ptrdiff_t>(drop));
    }
    records_.push_back(Record{revision_, id, event});
}

DocumentDelta ChangeLog::since(uint64_t revision, const std::function<bool(ArtId)>& isLive) const {
    DocumentDelta delta;
    delta.revision = revision_;
    if (revision < floor_ || revision > revision_) {
        delta.everything = true;
        return delta;
    }
    struct Summary {
        Event first;
        bool moved = false;
        bool changed = false;
    };
    const auto start = std::partition_point(records_.begin(), records_.end(),
                                            [revision](const Record& r) { return r.revision <= revision; });
    std::unordered_map<ArtId, Summary> seen;
    std::vector<ArtId> ids;
    for (auto it = start; it != records_.end(); ++it) {
        auto [entry, fresh] = seen.try_emplace(it->id, Summary{it->event});
        if (fresh) ids.push_back(it->id);
        entry->second.moved =
            entry->second.moved || it->event == Event::linked || it->event == Event::unlinked;
        entry->second.changed = entry->second.changed || it->event == Event::changed;
    }
    std::sort(ids.begin(), ids.end());
    for (const ArtId id : ids) {
        const Summary& summary = seen.at(id);
        // Art is linked only from outside the live tree and made outside it; a first record that takes it
        // out or changes it says it was live at the revision.
        const bool wasLive = summary.first == Event::unlinked || summary.first == Event::changed;
        const bool live = isLive(id);
        // Art that came or went inside a container without being moved itself comes and goes with it.
        if (!wasLive && live) {
            if (summary.moved) delta.added.push_back(id);
        } else if (wasLive && !live) {
            if (summary.moved) delta.removed.push_back(id);
        } else if (wasLive && live) {
            if (summary.changed) delta.changed.push_back(id);
            if (summary.moved) delta.reordered.push_back(id);
        }
    }
    return delta;
}

} // namespace zz
