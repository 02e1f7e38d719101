#include "host/document/UndoJournal.h"

#include <algorithm>
#include <utility>

namespace zz {

struct UndoJournal::Entry {
    enum Kind : uint8_t { link, unlink, attributes, segments, shape };
    Kind kind = link;
    ArtId node = 0;
    ArtId parent = 0;  // link, unlink: the container
    ArtId prev = 0;    // link, unlink: the sibling directly below, 0 at the bottom
    int32_t index = 0; // segments: the range written
    int32_t count = 0;
    size_t size = 0;                  // segments: the path's size in the other state
    std::vector<AIPathSegment> range; // segments: what the other state holds of the range
    // attributes: the node's other data, its segments and shape left empty; shape: the other shape.
    std::unique_ptr<ArtData> saved;
};

struct UndoJournal::Step {
    std::vector<Entry> entries;
};

namespace {

// Swaps the segments [index, index + count) and the size of `segments` with what the entry holds.
void swapRange(std::vector<AIPathSegment>& segments, int32_t index, int32_t count, size_t& otherSize,
               std::vector<AIPathSegment>& otherRange) {
    const auto from = static_cast<size_t>(index);
    const size_t end = std::min(segments.size(), from + static_cast<size_t>(count));
    std::vector<AIPathSegment> mine(segments.begin() + static_cast<std::ptrdiff_t>(from),
                                    segments.begin() + static_cast<std::ptrdiff_t>(end));
    const size_t mySize = segments.size();
    segments.resize(otherSize);
    std::copy(otherRange.begin(), otherRange.end(), segments.begin() + static_cast<std::ptrdiff_t>(from));
    otherRange = std::move(mine);
    otherSize = mySize;
}

size_t tagBytes(const std::map<std::string, std::string>& tags) {
    size_t bytes = 0;
    for (const auto& [name, value] : tags)
        bytes += 64 + name.capacity() + value.capacity(); // a map node and its two strings
    return bytes;
}

size_t shapeBytes(const std::vector<PathOutline>& shape) {
    size_t bytes = shape.capacity() * sizeof(PathOutline);
    for (const PathOutline& outline : shape)
        bytes += outline.segments.capacity() * sizeof(AIPathSegment);
    return bytes;
}

} // namespace

UndoJournal::UndoJournal(ArtTree& tree, ChangeLog& log) : tree_(tree), log_(log) {}

UndoJournal::~UndoJournal() = default;

void UndoJournal::clear() {
    open_.reset();
    implicitOpen_ = false;
    undoStack_.clear();
    redoStack_.clear();
    ++epoch_;
}

void UndoJournal::begin(bool implicit) {
    if (open_ != nullptr) end();
    open_ = std::make_unique<Step>();
    implicitOpen_ = implicit;
    ++epoch_;
}

void UndoJournal::end() {
    if (open_ == nullptr) return;
    if (!open_->entries.empty()) {
        dropSteps(redoStack_);
        undoStack_.push_back(std::move(open_));
    }
    open_.reset();
    implicitOpen_ = false;
    ++epoch_;
}

bool UndoJournal::openHasEntries() const {
    return open_ != nullptr && !open_->entries.empty();
}

void UndoJournal::rollBackOpen() {
    if (open_ == nullptr) return;
    rollBack(*open_, true);
    open_->entries.clear();
    ++epoch_;
}

bool UndoJournal::undo() {
    if (undoStack_.empty()) return false;
    std::unique_ptr<Step> step = std::move(undoStack_.back());
    undoStack_.pop_back();
    rollBack(*step, false);
    redoStack_.push_back(std::move(step));
    return true;
}

bool UndoJournal::redo() {
    if (redoStack_.empty()) return false;
    std::unique_ptr<Step> step = std::move(redoStack_.back());
    redoStack_.pop_back();
    for (Entry& entry : step->entries)
        apply(entry, true);
    undoStack_.push_back(std::move(step));
    return true;
}

// ---- recording

void UndoJournal::recordLink(Art* node) {
    recordPlacement(node, Entry::link);
}

void UndoJournal::recordUnlink(Art* node) {
    recordPlacement(node, Entry::unlink);
}

// Records where `node` sits in its container as it is linked there or about to be unlinked from there.
void UndoJournal::recordPlacement(Art* node, uint8_t kind) {
    if (open_ == nullptr || node->parent_ == nullptr) return;
    Entry entry;
    entry.kind = static_cast<Entry::Kind>(kind);
    entry.node = node->id_;
    entry.parent = node->parent_->id_;
    entry.prev = node->prev_ != nullptr ? node->prev_->id_ : 0;
    open_->entries.push_back(std::move(entry));
}

void UndoJournal::recordAttributes(Art* node) {
    // Art made in this epoch vanishes whole when its link is undone; art already saved keeps its first state.
    if (open_ == nullptr || node->bornEpoch_ == epoch_ || node->snapshotEpoch_ == epoch_) return;
    Entry entry;
    entry.kind = Entry::attributes;
    entry.node = node->id_;
    const ArtData& data = node->data_;
    auto saved = std::make_unique<ArtData>();
    saved->type = data.type;
    saved->closed = data.closed;
    saved->style = data.style;
    saved->opacity = data.opacity;
    saved->blendMode = data.blendMode;
    saved->tags = data.tags;
    saved->graphicStyle = data.graphicStyle;
    saved->styleScale = data.styleScale;
    saved->envelopeOptions = data.envelopeOptions;
    saved->warp = data.warp;
    entry.saved = std::move(saved);
    node->snapshotEpoch_ = epoch_;
    open_->entries.push_back(std::move(entry));
}

void UndoJournal::keepSegments(Art* node, int32_t index, int32_t count) {
    Entry entry;
    entry.kind = Entry::segments;
    entry.node = node->id_;
    entry.index = index;
    entry.count = count;
    const std::vector<AIPathSegment>& segments = node->data_.segments;
    const auto from = static_cast<size_t>(index);
    const size_t end = std::min(segments.size(), from + static_cast<size_t>(count));
    entry.size = segments.size();
    entry.range.assign(segments.begin() + static_cast<std::ptrdiff_t>(from),
                       segments.begin() + static_cast<std::ptrdiff_t>(end));
    open_->entries.push_back(std::move(entry));
}

void UndoJournal::recordShape(Art* node) {
    if (open_ == nullptr || node->bornEpoch_ == epoch_) return;
    Entry entry;
    entry.kind = Entry::shape;
    entry.node = node->id_;
    entry.saved = std::make_unique<ArtData>();
    entry.saved->envelopeShape = node->data_.envelopeShape;
    open_->entries.push_back(std::move(entry));
}

// ---- replay

void UndoJournal::apply(Entry& entry, bool forward) {
    Art* target = tree_.node(entry.node);
    if (target == nullptr) return;
    ArtData& data = target->data_;
    switch (entry.kind) {
    case Entry::link:
    case Entry::unlink:
        if ((entry.kind == Entry::link) == forward) {
            Art* parent = tree_.node(entry.parent);
            if (parent == nullptr) return;
            Art* prev = entry.prev != 0 ? tree_.node(entry.prev) : nullptr;
            if (entry.prev != 0 && (prev == nullptr || prev->parent_ != parent)) prev = parent->last_;
            tree_.unlink(target);
            tree_.linkAfter(target, parent, prev);
        } else {
            tree_.unlink(target);
        }
        return;
    case Entry::attributes:
        // Everything but the segments and the shape, which have entries of their own.
        std::swap(data, *entry.saved);
        std::swap(data.segments, entry.saved->segments);
        std::swap(data.envelopeShape, entry.saved->envelopeShape);
        break;
    case Entry::segments:
        swapRange(data.segments, entry.index, entry.count, entry.size, entry.range);
        break;
    case Entry::shape:
        std::swap(data.envelopeShape, entry.saved->envelopeShape);
        break;
    }
    log_.record(ChangeLog::Event::changed, target->id_);
}

void UndoJournal::rollBack(Step& step, bool freeBorn) {
    for (auto it = step.entries.rbegin(); it != step.entries.rend(); ++it) {
        apply(*it, false);
        if (freeBorn && it->kind == Entry::link) {
            Art* node = tree_.node(it->node);
            if (node != nullptr && node->bornEpoch_ == epoch_ && node->parent_ == nullptr) tree_.free(node);
        }
    }
}

void UndoJournal::dropSteps(std::vector<std::unique_ptr<Step>>& steps) {
    // Art that only these (undone) steps made is unlinked now and can never come back: free it.
    for (auto& step : steps)
        for (Entry& entry : step->entries) {
            if (entry.kind != Entry::link) continue;
            Art* node = tree_.node(entry.node);
            if (node != nullptr && node->parent_ == nullptr) tree_.free(node);
        }
    steps.clear();
}

size_t UndoJournal::bytes() const {
    auto stepBytes = [](const Step& step) {
        size_t bytes = sizeof(Step) + step.entries.capacity() * sizeof(Entry);
        for (const Entry& entry : step.entries) {
            bytes += entry.range.capacity() * sizeof(AIPathSegment);
            if (entry.saved != nullptr)
                bytes +=
                    sizeof(ArtData) + tagBytes(entry.saved->tags) + shapeBytes(entry.saved->envelopeShape);
        }
        return bytes;
    };
    size_t bytes = (undoStack_.capacity() + redoStack_.capacity()) * sizeof(std::unique_ptr<Step>);
    for (const auto& step : undoStack_)
        bytes += stepBytes(*step);
    for (const auto& step : redoStack_)
        bytes += stepBytes(*step);
    if (open_ != nullptr) bytes += stepBytes(*open_);
    return bytes;
}

} // namespace zz
