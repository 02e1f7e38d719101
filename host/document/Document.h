// The host's document: colour model, page, swatches, named graphic styles, one layer of art in paint order,
// the symbol definitions, and the undo history.
//
// Art lives in a tree of nodes. The layer and the symbol list are the two roots; a container's children form
// an intrusive doubly linked list from the bottom-most to the top-most, so placing art above all or below all
// art costs the same however large the layer grows. Every node has an id that is never reused while the
// Document object lives (not even across reset), so an id that names undone or discarded art is recognised as
// stale in constant time instead of being followed.
//
// Undo. Every change is recorded in the open undo context as one of three inverse-able entries: a node was
// linked into a container, a node was unlinked from one, or a node's data was replaced (the data before the
// first change in the context is kept, once per node). Art created inside the context needs no data snapshot:
// undoing its link removes it whole. undoChanges() rolls the open context back to its start, which costs as
// much as the changes made since then and nothing for the art made before. Closed contexts form the history
// that undo() and redo() step through, one whole context (one drag) at a time. A change made while no context
// is open is a history step of its own.
//
// The model knows nothing of suites; statuses are its own DocStatus, translated by the suite adapters.
#ifndef ZZ_HOST_DOCUMENT_DOCUMENT_H
#define ZZ_HOST_DOCUMENT_DOCUMENT_H

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "AIEnvelope.h"
#include "ZZTypes.h"

namespace zz {

// The facts a session script can give about the document.
struct DocumentFacts {
    int16_t colorModel = kDocRGBColor;
    AIReal pageWidth = 612.0f;
    AIReal pageHeight = 792.0f;
    std::vector<AIColor> swatches; // the whole list, the first two entries being the special ones
    int32_t namedStyles = 0;
    bool hasPressure = false; // informational; the tool suite answers SystemHasPressure
};

// A plausible swatch list of `count` entries: entry 0 is "none", entry 1 "registration", the others ordinary
// colours of the colour model (three-colour for RGB, four-colour for CMYK, gray for gray). count <= 0 gives
// none.
std::vector<AIColor> makeSwatchList(int count, int16_t colorModel = kDocRGBColor);

// The document's starting paint for new art in a colour model: fill white, stroke black, width 1.
AIPathStyle defaultPaint(int16_t colorModel);

// Result of a model operation; the suite adapters turn it into a host status.
enum class DocStatus { ok, badHandle, badParameter, badArtType, tooManySegments, noContext };

using ArtId = uint32_t; // 0 is "no art"

// A named graphic style: a path style and an opacity.
struct NamedStyle {
    std::string name;
    AIPathStyle style;
    AIReal opacity = 1.0f;
};

// A warp recorded on an envelope.
struct Warp {
    int32_t style = 0; // 1 to 15
    AIReal bend = 0.0f;
    AIReal horizontal = 0.0f;
    AIReal vertical = 0.0f;
    bool rotate = false;
};

// The outline of a path held as plain data (an envelope's shape).
struct PathOutline {
    std::vector<AIPathSegment> segments;
    bool closed = false;
};

// Everything of one art object except its place in the tree; copied whole for undo.
struct ArtData {
    int16_t type = kPathArt;
    std::vector<AIPathSegment> segments; // paths
    bool closed = false;                 // paths
    AIPathStyle style{};
    AIReal opacity = 1.0f;
    int32_t blendMode = kNormalBlendingMode;
    std::map<std::string, std::string> tags;
    int32_t graphicStyle = -1; // index of the named style applied last, or -1
    AIReal styleScale = 1.0f;  // the graphic style's scale factor
    // Envelopes: the options they were made with, the shape they took over, and the warp set on them.
    AIEnvelopeOptions envelopeOptions{0, 0};
    std::vector<PathOutline> envelopeShape;
    std::optional<Warp> warp;
};

// One node of the art tree. Read-only outside the Document.
class Art {
  public:
    ArtId id() const { return id_; }
    int16_t type() const { return data_.type; }
    const ArtData& data() const { return data_; }
    const Art* parent() const { return parent_; }
    const Art* firstChild() const { return first_; } // bottom-most
    const Art* lastChild() const { return last_; }   // top-most
    const Art* nextSibling() const { return next_; } // the next one above
    const Art* previousSibling() const { return prev_; }
    bool isContainer() const;

  private:
    friend class Document;
    ArtId id_ = 0;
    ArtData data_;
    Art* parent_ = nullptr;
    Art* first_ = nullptr;
    Art* last_ = nullptr;
    Art* prev_ = nullptr;
    Art* next_ = nullptr;
    uint64_t bornEpoch_ = 0;     // the undo epoch the node was made in
    uint64_t snapshotEpoch_ = 0; // the undo epoch whose journal already holds this node's earlier data
    bool root_ = false;
};

class Document {
  public:
    explicit Document(DocumentFacts facts = {});
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Starts a fresh document with these facts: no art, no symbols, no history. Ids of the old art stay
    // stale.
    void reset(DocumentFacts facts);
    const DocumentFacts& facts() const { return facts_; }

    // The paint new art takes.
    const AIPathStyle& currentPaint() const { return currentPaint_; }
    void setCurrentPaint(const AIPathStyle& style) { currentPaint_ = style; }

    int32_t namedStyleCount() const { return static_cast<int32_t>(namedStyles_.size()); }
    const NamedStyle* namedStyle(int32_t index) const;

    // ---- the art tree ----
    const Art& layer() const { return *layer_; }     // children: the layer's art, bottom to top
    const Art& symbols() const { return *symbols_; } // children: one definition per symbol, oldest first
    // The live art named by `id` (in the layer or a symbol definition), or null for 0, stale or unknown ids.
    const Art* find(ArtId id) const;
    size_t layerArtCount() const { return layerCount_; }

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
    void beginUndoContext();
    // Closes it (mouse up): its changes become one step of the history; an empty context leaves none.
    void endUndoContext();
    bool undoContextOpen() const { return open_ != nullptr; }
    // Takes the document back to its state at the start of the open context; noContext when none is open.
    DocStatus undoChanges();
    // The host's own undo and redo over whole contexts (an open context is closed first). False: nothing to
    // do.
    bool undo();
    bool redo();
    size_t undoSteps() const { return undoStack_.size(); }
    size_t redoSteps() const { return redoStack_.size(); }

  private:
    struct Entry;
    struct Step;
    class Change;

    Art* live(ArtId id) const;
    Art* makeNode(const ArtData& data);
    Art* copyTree(const Art& source);
    void freeTree(Art* node);
    DocStatus checkPlace(int16_t paintOrder, ArtId prep, Art** parent, Art** prev) const;
    void linkAfter(Art* node, Art* parent, Art* prev);
    void unlink(Art* node);
    void journalLink(Art* node);
    void journalUnlink(Art* node);
    void journalPlacement(Art* node, int kind); // kind: Entry::link or Entry::unlink
    void journalData(Art* node);
    void applyEntry(Entry& entry, bool forward);
    void rollBack(Step& step, bool freeBorn);
    void dropSteps(std::vector<std::unique_ptr<Step>>& steps);

    DocumentFacts facts_;
    AIPathStyle currentPaint_{};
    std::vector<NamedStyle> namedStyles_;
    std::vector<std::unique_ptr<Art>> nodes_; // index = id - idBase_; null once freed
    ArtId idBase_ = 1;
    Art* layer_ = nullptr;
    Art* symbols_ = nullptr;
    size_t layerCount_ = 0;

    uint64_t epoch_ = 1;
    std::unique_ptr<Step> open_;
    bool implicitOpen_ = false;
    std::vector<std::unique_ptr<Step>> undoStack_;
    std::vector<std::unique_ptr<Step>> redoStack_;
};

} // namespace zz

#endif
