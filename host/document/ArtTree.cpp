#include "host/document/ArtTree.h"

namespace zz {

ArtTree::ArtTree(ChangeLog& log) : log_(log) {}

void ArtTree::reset() {
    idBase_ += static_cast<ArtId>(nodes_.size());
    nodes_.clear();
    ArtData rootData;
    rootData.type = kGroupArt;
    layer_ = make(rootData, 0);
    layer_->root_ = true;
    symbols_ = make(rootData, 0);
    symbols_->root_ = true;
    layerCount_ = 0;
}

Art* ArtTree::make(const ArtData& data, uint64_t epoch) {
    auto fresh = std::make_unique<Art>();
    fresh->id_ = idBase_ + static_cast<ArtId>(nodes_.size());
    fresh->data_ = data;
    fresh->bornEpoch_ = epoch;
    nodes_.push_back(std::move(fresh));
    Art* made = nodes_.back().get();
    log_.record(ChangeLog::Event::made, made->id_);
    return made;
}

Art* ArtTree::copy(const Art& source, uint64_t epoch) {
    Art* copied = make(source.data_, epoch);
    for (const Art* child = source.first_; child != nullptr; child = child->next_)
        linkAfter(copy(*child, epoch), copied, copied->last_);
    return copied;
}

void ArtTree::free(Art* node) {
    Art* child = node->first_;
    while (child != nullptr) {
        Art* next = child->next_;
        free(child);
        child = next;
    }
    nodes_[node->id_ - idBase_].reset();
}

void ArtTree::linkAfter(Art* node, Art* parent, Art* prev) {
    node->parent_ = parent;
    node->prev_ = prev;
    node->next_ = prev != nullptr ? prev->next_ : parent->first_;
    if (node->next_ != nullptr)
        node->next_->prev_ = node;
    else
        parent->last_ = node;
    if (prev != nullptr)
        prev->next_ = node;
    else
        parent->first_ = node;
    if (parent == layer_) ++layerCount_;
    if (isLive(*parent)) log_.record(ChangeLog::Event::linked, node->id_);
}

void ArtTree::unlink(Art* node) {
    Art* parent = node->parent_;
    if (parent == nullptr) return;
    if (isLive(*parent)) log_.record(ChangeLog::Event::unlinked, node->id_);
    if (node->prev_ != nullptr)
        node->prev_->next_ = node->next_;
    else
        parent->first_ = node->next_;
    if (node->next_ != nullptr)
        node->next_->prev_ = node->prev_;
    else
        parent->last_ = node->prev_;
    if (parent == layer_) --layerCount_;
    node->parent_ = node->prev_ = node->next_ = nullptr;
}

DocStatus ArtTree::place(int16_t paintOrder, ArtId prep, Art** parent, Art** prev) const {
    switch (paintOrder) {
    case kPlaceAboveAll:
        *parent = layer_;
        *prev = layer_->last_;
        return DocStatus::ok;
    case kPlaceBelowAll:
        *parent = layer_;
        *prev = nullptr;
        return DocStatus::ok;
    case kPlaceAbove:
    case kPlaceBelow:
    case kPlaceInsideOnTop:
    case kPlaceInsideOnBottom:
        break;
    default:
        return DocStatus::badParameter;
    }
    if (prep == 0) return DocStatus::badParameter;
    Art* reference = live(prep);
    if (reference == nullptr) return DocStatus::badHandle;
    switch (paintOrder) {
    case kPlaceAbove:
        *parent = reference->parent_;
        *prev = reference;
        break;
    case kPlaceBelow:
        *parent = reference->parent_;
        *prev = reference->prev_;
        break;
    default:
        if (reference->data_.type != kGroupArt && reference->data_.type != kCompoundPathArt)
            return DocStatus::badParameter;
        *parent = reference;
        *prev = paintOrder == kPlaceInsideOnTop ? reference->last_ : nullptr;
        break;
    }
    return DocStatus::ok;
}

} // namespace zz
