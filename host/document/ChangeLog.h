// The document's revisions and what changed between them.
//
// Every change to the document raises its revision by one. As art is made, put into or taken out of the live
// tree, or has its data changed, the log records that with the revision of the change, so that the document
// can say what changed since any revision the log still covers, at a cost that grows with the changes since
// then and not with the document. Consecutive data changes of one art object share one record (the latest
// revision), which keeps the log of a drag that writes a path segment by segment as short as its art.
//
// The log is bounded: past its limit, its older half goes, and revisions before what is left are answered
// with "everything".
#ifndef ZZ_HOST_DOCUMENT_CHANGE_LOG_H
#define ZZ_HOST_DOCUMENT_CHANGE_LOG_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "host/document/Art.h"

namespace zz {

// What changed in the document since a revision. Art inside containers that were added or removed comes and
// goes with them and is not listed itself. Each list is in ascending id order.
struct DocumentDelta {
    uint64_t revision = 0;        // the document's revision now
    bool everything = false;      // the revision is older than the log covers: take the whole document as new
    std::vector<ArtId> added;     // live now, not at the revision
    std::vector<ArtId> removed;   // live at the revision, not now
    std::vector<ArtId> changed;   // live at both, its data changed
    std::vector<ArtId> reordered; // live at both, moved within its container or to another (or taken out
                                  // and put back, as an undo and a redo do)
};

class ChangeLog {
  public:
    enum class Event : uint8_t { made, linked, unlinked, changed };

    uint64_t revision() const { return revision_; }
    // Starts the next revision; the events recorded from now on belong to it.
    void advance() { ++revision_; }
    // Starts the next revision and forgets everything before it (a new document).
    void restart();

    void record(Event event, ArtId id) {
        // Another change to the art the last record names as changed only moves that record on: a path
        // written segment by segment makes one record, with no call.
        if (event == Event::changed && !records_.empty()) {
            Record& last = records_.back();
            if (last.event == Event::changed && last.id == id) {
                last.revision = revision_;
                return;
            }
        }
        append(event, id);
    }

    // Net changes since `revision`; isLive says whether an id names live art now.
    DocumentDelta since(uint64_t revision, const std::function<bool(ArtId)>& isLive) const;

    // Records kept before the older half is dropped (at least 2).
    void setLimit(size_t records);
    size_t size() const { return records_.size(); }

  private:
    void append(Event event, ArtId id);

    struct Record {
        uint64_t revision;
        ArtId id;
        Event event;
    };

    std::vector<Record> records_; // in revision order
    uint64_t revision_ = 0;
    uint64_t floor_ = 0; // the oldest revision the log can answer for
    size_t limit_ = size_t{1} << 22;
};

} // namespace zz

#endif
