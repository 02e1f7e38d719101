// The host's document: the facade the suites use over its parts.
//
//   DocumentFixtures  colour model, page, swatches and named graphic styles (DocumentFixtures.h)
//   ArtTree           one layer of art in paint order and the symbol definitions (ArtTree.h)
//   UndoJournal       undo contexts and the history (UndoJournal.h)
//   ChangeLog         revisions and what changed since one (ChangeLog.h)
//   art geometry      bounds and transforms (ArtGeometry.h)
//
// The operations on art (ArtOperations.cpp) check their arguments, then record the change for undo and in
// the change log, then make it. Every change raises the revision; so do undo, redo, undoChanges and reset
// when they change anything. The paint new art takes is not part of the revision.
//
// The model knows nothing of suites; statuses are its own DocStatus, translated by the suite adapters.
#ifndef ZZ_HOST_DOCUMENT_DOCUMENT_H
#define ZZ_HOST_DOCUMENT_DOCUMENT_H

#include <cstddef>
#include <cstdint>
#include <string>

#include "host/document/Art.h"
#include "host/document/ArtTree.h"
#include "host/document/ChangeLog.h"
#include "host/document/DocumentFixtures.h"
#include "host/document/UndoJournal.h"

namespace zz {

class Document {
  public:
    explicit Document(DocumentFacts facts = {});
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Starts a fresh document with these facts: no art, no symbols, no history. Ids of the old art stay
    // stale.
    void reset(DocumentFacts facts);
    const DocumentFacts& facts() const { return fixtures_.facts(); }

    // The paint new art takes.
    const AIPathStyle& currentPaint() const { return currentPaint_; }
    void setCurrentPaint(const AIPathStyle& style) { currentPaint_ = style; }

    int32_t namedStyleCount() const { return fixtures_.namedStyleCount(); }
    const NamedStyle* namedStyle(int32_t index) const { return fixtures_.namedStyle(index); }

    // ---- the art tree ----
    const Art& layer() const { return tree_.layer(); } // children: the layer's art, bottom to top
    const Art& symbols() const {
        return tree_.symbols();
    } // children: one definition per symbol, oldest first
    // The live art named by `id` (in the layer or a symbol definition), or null for 0, stale or unknown ids.
    const Art* find(ArtId id) const { return tree_.live(id); }
    size_t layerArtCount() const { return tree_.layerCount(); }

    // ---- changes (each recorded for undo) ----
    // New empty art of `type` (group, path, compound path) with the current paint, placed by paint order
    // relative to `prep` (ignored for above all / below all).
    DocStatus newArt(int16_t type, int16_t paintOrder, ArtId prep, ArtId* newArt);
    // A deep copy of `art`, placed like newArt.
    DocStatus duplicateArt(ArtId art, int16_t paintOrder, ArtId prep, ArtId* copy);
    DocStatus disposeArt(ArtId art);
    // Overwrites segments [index, index + count); segments at or past the end are appended. A path holds at
    // most 32767 segments.
    DocStatus setSegments(ArtId path, int32_t index, int32_t count, const AIPathSegment* segments);
    DocStatus setClosed(ArtId path, bool closed);
    // Sets the style of the art and of every path it holds.
    DocStatus setPathStyle(ArtId art, const AIPathStyle& style);
    DocStatus setOpacity(ArtId art, AIReal opacity); // clamped to 0..1
    DocStatus setBlendMode(ArtId art, int32_t mode); // 0..15
    DocStatus setTag(ArtId art, const std::string& name, const std::string& value);
    // Applies named style `index` (its path style and opacity) to the art; the scale factor goes back to 1.
    DocStatus applyNamedStyle(ArtId art, int32_t index);
    // Sets the graphic style's scale factor; the stroke widths follow it.
    DocStatus setStyleScale(ArtId art, AIReal factor);
    // x' = a x + c y + tx, y' = b x + d y + ty on every anchor and handle when kTransformObjects is in flags;
    // stroke widths times lineScale.
    DocStatus transform(ArtId art, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags);
    // Wraps `count` art objects in a new envelope shaped by `shape` (which the envelope takes over and
    // removes from the layer); the envelope takes the place of the first art.
    DocStatus makeEnvelope(const ArtId* arts, int32_t count, ArtId shape, const AIEnvelopeOptions& options,
                           ArtId* envelope);
    DocStatus setWarp(ArtId envelope, const Warp& warp);
    // A new symbol definition holding a copy of `art`; its id names the definition.
    DocStatus newSymbol(ArtId art, bool unlisted, ArtId* symbol);

    // ---- queries ----
    // Bounds of every anchor and handle the art holds; all zero when it holds none.
    DocStatus bounds(ArtId art, AIRealRect* rect) const;
    // The style of a path, or of a container's first path (its own when it holds none).
    DocStatus pathStyle(ArtId art, AIPathStyle* style) const;

    // ---- undo ----
    // Opens the undo context of a drag (mouse down); an open one is closed first.
    void beginUndoContext() { journal_.begin(); }
    // Closes it (mouse up): its changes become one step of the history; an empty context leaves none.
    void endUndoContext() { journal_.end(); }
    bool undoContextOpen() const { return journal_.isOpen(); }
    // Takes the document back to its state at the start of the open context; noContext when none is open.
    DocStatus undoChanges();
    // The host's own undo and redo over whole contexts (an open context is closed first). False: nothing to
    // do.
    bool undo();
    bool redo();
    size_t undoSteps() const { return journal_.undoSteps(); }
    size_t redoSteps() const { return journal_.redoSteps(); }
    // Bytes the undo history holds.
    size_t journalBytes() const { return journal_.bytes(); }

    // ---- revisions ----
    uint64_t revision() const { return log_.revision(); }
    // What changed since `revision` (see DocumentDelta); "everything" for a revision from before the last
    // reset or older than the change log still covers.
    DocumentDelta changesSince(uint64_t revision) const;
    // How many change records the log keeps before it forgets its older half.
    void setChangeLogLimit(size_t records) { log_.setLimit(records); }

  private:
    class Change;

    // Records a change to the node's data (not its segments or shape) for undo and in the change log.
    void touch(Art* node);

    DocumentFixtures fixtures_;
    AIPathStyle currentPaint_{};
    ChangeLog log_;
    ArtTree tree_{log_};
    UndoJournal journal_{tree_, log_};
};

} // namespace zz

#endif
