// The art tree and paint order.
//
// The layer and the symbol list are the two roots; a container's children form an intrusive doubly linked
// list from the bottom-most to the top-most, so placing art above all or below all art costs the same however
// large the layer grows. Every node has an id that is never reused while the tree lives (not even across
// reset), so an id that names undone or discarded art is recognised as stale in constant time instead of
// being followed.
//
// The tree tells the change log when art is made and when art is put into or taken out of the live tree.
#ifndef ZZ_HOST_DOCUMENT_ART_TREE_H
#define ZZ_HOST_DOCUMENT_ART_TREE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "host/document/Art.h"
#include "host/document/ChangeLog.h"

namespace zz {

class ArtTree {
  public:
    // The tree has no roots until the first reset.
    explicit ArtTree(ChangeLog& log);

    // Forgets every node and starts with two empty roots; old ids stay stale.
    void reset();

    Art& layer() const { return *layer_; }
    Art& symbols() const { return *symbols_; }
    size_t layerCount() const { return layerCount_; }

    // The node named by `id` whether or not it is live, or null for ids never made or already freed.
    Art* node(ArtId id) const {
        if (id < idBase_) return nullptr;
        const size_t index = id - idBase_;
        return index < nodes_.size() ? nodes_[index].get() : nullptr;
    }
    // The node if it is live: held, through its containers, by one of the two roots. (Inline with node() and
    // isLive(), as every suite call on art asks it.)
    Art* live(ArtId id) const {
        Art* found = node(id);
        return found != nullptr && !found->root_ && isLive(*found) ? found : nullptr;
    }
    bool isLive(const Art& node) const {
        if (node.root_) return true;
        // Unlinked (undone, disposed, taken over) art, and art inside it, hangs from no root.
        for (const Art* up = node.parent_; up != nullptr; up = up->parent_)
            if (up->root_) return true;
        return false;
    }

    // A new node outside the tree, made in undo epoch `epoch`.
    Art* make(const ArtData& data, uint64_t epoch);
    // A deep copy of `source` outside the tree (its nodes made in `epoch`).
    Art* copy(const Art& source, uint64_t epoch);
    // Frees the node and everything it holds; the node must be out of the tree.
    void free(Art* node);

    // Places `node` (out of the tree) into `parent` directly above `prev` (null: at the bottom).
    void linkAfter(Art* node, Art* parent, Art* prev);
    // Takes `node` out of its container; nothing for a node out of the tree.
    void unlink(Art* node);

    // Where new art goes for a paint order relative to `prep` (ignored for above all / below all).
    DocStatus place(int16_t paintOrder, ArtId prep, Art** parent, Art** prev) const;

  private:
    ChangeLog& log_;
    std::vector<std::unique_ptr<Art>> nodes_; // index = id - idBase_; null once freed
    ArtId idBase_ = 1;
    Art* layer_ = nullptr;
    Art* symbols_ = nullptr;
    size_t layerCount_ = 0;
};

} // namespace zz

#endif
