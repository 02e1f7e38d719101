// One art object of the document: its data and its place in the art tree.
#ifndef ZZ_HOST_DOCUMENT_ART_H
#define ZZ_HOST_DOCUMENT_ART_H

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "AIEnvelope.h"
#include "ZZTypes.h"

namespace zz {

using ArtId = uint32_t; // 0 is "no art"

// Result of a document operation; the suite adapters turn it into a host status.
enum class DocStatus { ok, badHandle, badParameter, badArtType, tooManySegments, noContext };

// How many values a colour of `kind` has: gray one, three-colour three, four-colour four, the others none.
constexpr int colourValueCount(int64_t kind) {
    return kind == kGrayColor ? 1 : kind == kThreeColor ? 3 : kind == kFourColor ? 4 : 0;
}

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

// Everything of one art object except its place in the tree.
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

// One node of the art tree. Read-only outside the document's own classes.
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
    bool isContainer() const {
        return root_ || data_.type == kGroupArt || data_.type == kCompoundPathArt ||
               data_.type == kEnvelopeArt;
    }

  private:
    friend class ArtTree;
    friend class UndoJournal;
    friend class Document;
    ArtId id_ = 0;
    ArtData data_;
    Art* parent_ = nullptr;
    Art* first_ = nullptr;
    Art* last_ = nullptr;
    Art* prev_ = nullptr;
    Art* next_ = nullptr;
    uint64_t bornEpoch_ = 0;     // the undo epoch the node was made in
    uint64_t snapshotEpoch_ = 0; // the undo epoch whose journal already holds this node's earlier attributes
    bool root_ = false;
};

// Calls fn on the node and every node below it, the node first, children bottom to top.
template <typename Node, typename Fn> void forEachNode(Node* node, Fn&& fn) {
    fn(node);
    for (const Art* child = node->firstChild(); child != nullptr; child = child->nextSibling())
        forEachNode(const_cast<Node*>(child), fn);
}

} // namespace zz

#endif
