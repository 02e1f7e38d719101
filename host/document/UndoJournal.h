// The undo journal.
//
// Every change is recorded in the open undo context as inverse-able entries: a node was linked into a
// container, a node was unlinked from one, a range of a path's segments was written (the range's earlier
// segments and the path's earlier size are kept), an envelope's shape was replaced, or a node's other data
// (style, opacity, tags, ...) was replaced: those are kept once per node and context, before the first
// change. Every entry costs what its change touched, never a whole path. Art created inside the context needs
// no entries but its link: undoing that removes it whole. Replaying an entry swaps the node's state with the
// one the entry holds, so the same entry serves undo and redo.
//
// undoChanges() rolls the open context back to its start, which costs as much as the changes made since then
// and nothing for the art made before. Closed contexts form the history that undo() and redo() step through,
// one whole context (one drag) at a time. A change made while no context is open is a history step of its
// own (an implicit context).
#ifndef ZZ_HOST_DOCUMENT_UNDO_JOURNAL_H
#define ZZ_HOST_DOCUMENT_UNDO_JOURNAL_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/document/ArtTree.h"
#include "host/document/ChangeLog.h"

namespace zz {

class UndoJournal {
  public:
    UndoJournal(ArtTree& tree, ChangeLog& log);
    ~UndoJournal();
    UndoJournal(const UndoJournal&) = delete;
    UndoJournal& operator=(const UndoJournal&) = delete;

    // Forgets the whole history and any open context.
    void clear();

    // The epoch changes whenever a context opens, closes or is rolled back; art made in the current epoch
    // needs no entries but its link.
    uint64_t epoch() const { return epoch_; }

    // Opens a context (an open one is closed first); `implicit` marks one that a lone change opened.
    void begin(bool implicit = false);
    // Closes the open context: its entries become one step of the history; an empty context leaves none.
    void end();
    bool isOpen() const { return open_ != nullptr; }
    bool implicitOpen() const { return implicitOpen_; }
    // Whether the open context holds entries.
    bool openHasEntries() const;

    // Rolls the open context back to its start and frees the art it made.
    void rollBackOpen();
    // Steps back or forward one whole context; false when there is none.
    bool undo();
    bool redo();
    bool canUndo() const { return !undoStack_.empty(); }
    bool canRedo() const { return !redoStack_.empty(); }
    size_t undoSteps() const { return undoStack_.size(); }
    size_t redoSteps() const { return redoStack_.size(); }

    // ---- recording, each before (unlink, data) or after (link) the change, and only with a context open
    // ----
    void recordLink(Art* node);
    void recordUnlink(Art* node);
    // Before a change to anything of the node's data but its segments and envelope shape.
    void recordAttributes(Art* node);
    // Before segments [index, index + count) of the node's path are written (the path may grow). Inline, as
    // a path written one segment at a time asks once per segment and usually needs nothing kept: art made in
    // the open context is undone whole.
    void recordSegments(Art* node, int32_t index, int32_t count) {
        if (open_ != nullptr && node->bornEpoch_ != epoch_) keepSegments(node, index, count);
    }
    // Before the node's envelope shape is replaced.
    void recordShape(Art* node);

    // Bytes the history and the open context hold (entries and what they keep).
    size_t bytes() const;

  private:
    struct Entry;
    struct Step;

    void recordPlacement(Art* node, uint8_t kind);
    void keepSegments(Art* node, int32_t index, int32_t count);
    void apply(Entry& entry, bool forward);
    void rollBack(Step& step, bool freeBorn);
    void dropSteps(std::vector<std::unique_ptr<Step>>& steps);

    ArtTree& tree_;
    ChangeLog& log_;
    uint64_t epoch_ = 1;
    std::unique_ptr<Step> open_;
    bool implicitOpen_ = false;
    std::vector<std::unique_ptr<Step>> undoStack_;
    std::vector<std::unique_ptr<Step>> redoStack_;
};

} // namespace zz

#endif
