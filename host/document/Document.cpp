#include "host/document/Document.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace zz {

namespace {

struct Rgb {
    float r, g, b;
};

// Ordinary swatch and style colours, as red, green and blue.
constexpr Rgb kPalette[] = {
    {1.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 0.0f},    {0.9f, 0.1f, 0.1f}, {0.1f, 0.6f, 0.2f},
    {0.1f, 0.3f, 0.9f}, {1.0f, 0.8f, 0.0f},    {0.6f, 0.2f, 0.7f}, {0.0f, 0.7f, 0.8f},
    {1.0f, 0.5f, 0.1f}, {0.75f, 0.75f, 0.75f}, {0.8f, 0.4f, 0.6f}, {0.3f, 0.2f, 0.1f},
    {0.6f, 0.8f, 0.3f}, {0.2f, 0.2f, 0.5f},    {0.9f, 0.9f, 0.6f}, {0.7f, 0.1f, 0.3f},
};
constexpr int kPaletteSize = static_cast<int>(sizeof(kPalette) / sizeof(kPalette[0]));

AIColor colorIn(int16_t colorModel, Rgb rgb) {
    AIColor color{};
    switch (colorModel) {
    case kDocGrayColor:
        color.kind = kGrayColor;
        color.value[0] = 1.0f - (0.299f * rgb.r + 0.587f * rgb.g + 0.114f * rgb.b);
        break;
    case kDocCMYKColor: {
        color.kind = kFourColor;
        const float k = 1.0f - std::max({rgb.r, rgb.g, rgb.b});
        const float rest = 1.0f - k;
        color.value[0] = rest > 0.0f ? (rest - rgb.r) / rest : 0.0f;
        color.value[1] = rest > 0.0f ? (rest - rgb.g) / rest : 0.0f;
        color.value[2] = rest > 0.0f ? (rest - rgb.b) / rest : 0.0f;
        color.value[3] = k;
        for (AIReal& value : color.value)
            value = std::clamp(value, 0.0f, 1.0f); // rounding may leave -1e-7
        break;
    }
    default:
        color.kind = kThreeColor;
        color.value[0] = rgb.r;
        color.value[1] = rgb.g;
        color.value[2] = rgb.b;
        break;
    }
    return color;
}

bool knownColorKind(int16_t kind) {
    return kind >= kGrayColor && kind <= kNoneColor;
}

bool finite(AIReal value) {
    return std::isfinite(value);
}

// Calls fn on the node and every node below it.
template <typename Node, typename Fn> void forEachNode(Node* node, Fn&& fn) {
    fn(node);
    for (const Art* child = node->firstChild(); child != nullptr; child = child->nextSibling())
        forEachNode(const_cast<Node*>(child), fn);
}

} // namespace

std::vector<AIColor> makeSwatchList(int count, int16_t colorModel) {
    std::vector<AIColor> list;
    if (count <= 0) return list;
    list.reserve(static_cast<size_t>(count));
    AIColor none{};
    none.kind = kNoneColor;
    list.push_back(none);
    if (count >= 2) {
        AIColor registration{};
        registration.kind = kFourColor;
        std::fill(std::begin(registration.value), std::end(registration.value), 1.0f);
        list.push_back(registration);
    }
    for (int i = 2; i < count; ++i) {
        Rgb rgb = kPalette[(i - 2) % kPaletteSize];
        // Later rounds of the palette move towards mid gray, so that no two swatches of a long list are
        // alike.
        const float toGray = 1.0f - std::pow(0.8f, static_cast<float>((i - 2) / kPaletteSize));
        rgb = {rgb.r + (0.5f - rgb.r) * toGray, rgb.g + (0.5f - rgb.g) * toGray,
               rgb.b + (0.5f - rgb.b) * toGray};
        list.push_back(colorIn(colorModel, rgb));
    }
    return list;
}

AIPathStyle defaultPaint(int16_t colorModel) {
    AIPathStyle style{};
    style.fillPaint = 1;
    style.fill.color = colorIn(colorModel, {1.0f, 1.0f, 1.0f});
    style.strokePaint = 1;
    style.stroke.color = colorIn(colorModel, {0.0f, 0.0f, 0.0f});
    style.stroke.width = 1.0f;
    style.stroke.cap = 0;
    style.stroke.join = 0;
    style.stroke.miterLimit = 4.0f;
    style.evenodd = 0;
    return style;
}

bool Art::isContainer() const {
    return root_ || data_.type == kGroupArt || data_.type == kCompoundPathArt || data_.type == kEnvelopeArt;
}

// ---- undo journal
// ----------------------------------------------------------------------------------------------

struct Document::Entry {
    enum Kind { link, unlink, data };
    Kind kind = link;
    ArtId node = 0;
    ArtId parent = 0;               // link, unlink: the container
    ArtId prev = 0;                 // link, unlink: the sibling directly below, 0 at the bottom
    std::unique_ptr<ArtData> saved; // data: the other state of the node's data (swapped on every replay)
};

struct Document::Step {
    std::vector<Entry> entries;
};

// Makes a change outside any undo context a history step of its own.
class Document::Change {
  public:
    explicit Change(Document& document) : document_(document) {
        if (document_.open_ == nullptr) {
            document_.beginUndoContext();
            document_.implicitOpen_ = true;
            implicit_ = true;
        }
    }
    ~Change() {
        if (implicit_) document_.endUndoContext();
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

  private:
    Document& document_;
    bool implicit_ = false;
};

// ---- life
// ------------------------------------------------------------------------------------------------------

Document::Document(DocumentFacts facts) {
    reset(std::move(facts));
}

Document::~Document() = default;

void Document::reset(DocumentFacts facts) {
    open_.reset();
    implicitOpen_ = false;
    undoStack_.clear();
    redoStack_.clear();
    idBase_ += static_cast<ArtId>(nodes_.size());
    nodes_.clear();
    ++epoch_;

    facts_ = std::move(facts);
    currentPaint_ = defaultPaint(facts_.colorModel);
    namedStyles_.clear();
    for (int32_t i = 0; i < facts_.namedStyles; ++i) {
        NamedStyle named;
        if (i == 0) {
            named.name = "[Default]";
            named.style = currentPaint_;
        } else {
            named.name = "Style " + std::to_string(i);
            named.style = currentPaint_;
            named.style.fill.color = colorIn(facts_.colorModel, kPalette[(i + 1) % kPaletteSize]);
            named.style.stroke.color = colorIn(facts_.colorModel, kPalette[(i + 5) % kPaletteSize]);
            named.style.stroke.width = static_cast<AIReal>(1 + i % 4);
            named.opacity = i % 3 == 0 ? 0.75f : 1.0f;
        }
        namedStyles_.push_back(std::move(named));
    }

    ArtData rootData;
    rootData.type = kGroupArt;
    layer_ = makeNode(rootData);
    layer_->root_ = true;
    symbols_ = makeNode(rootData);
    symbols_->root_ = true;
    layerCount_ = 0;
}

const NamedStyle* Document::namedStyle(int32_t index) const {
    if (index < 0 || index >= namedStyleCount()) return nullptr;
    return &namedStyles_[static_cast<size_t>(index)];
}

// ---- nodes and the tree
// ----------------------------------------------------------------------------------------

Art* Document::live(ArtId id) const {
    if (id < idBase_) return nullptr;
    const size_t index = id - idBase_;
    if (index >= nodes_.size()) return nullptr;
    Art* node = nodes_[index].get();
    if (node == nullptr || node->root_) return nullptr;
    // Live art hangs, through its containers, from one of the two roots; unlinked (undone, disposed, taken
    // over) art does not.
    for (const Art* up = node->parent_; up != nullptr; up = up->parent_)
        if (up->root_) return node;
    return nullptr;
}

const Art* Document::find(ArtId id) const {
    return live(id);
}

Art* Document::makeNode(const ArtData& data) {
    auto node = std::make_unique<Art>();
    node->id_ = idBase_ + static_cast<ArtId>(nodes_.size());
    node->data_ = data;
    node->bornEpoch_ = epoch_;
    nodes_.push_back(std::move(node));
    return nodes_.back().get();
}

Art* Document::copyTree(const Art& source) {
    Art* copy = makeNode(source.data_);
    for (const Art* child = source.first_; child != nullptr; child = child->next_)
        linkAfter(copyTree(*child), copy, copy->last_);
    return copy;
}

void Document::freeTree(Art* node) {
    Art* child = node->first_;
    while (child != nullptr) {
        Art* next = child->next_;
        freeTree(child);
        child = next;
    }
    nodes_[node->id_ - idBase_].reset();
}

void Document::linkAfter(Art* node, Art* parent, Art* prev) {
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
}

void Document::unlink(Art* node) {
    Art* parent = node->parent_;
    if (parent == nullptr) return;
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

DocStatus Document::checkPlace(int16_t paintOrder, ArtId prep, Art** parent, Art** prev) const {
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

// ---- journal
// ---------------------------------------------------------------------------------------------------

void Document::journalLink(Art* node) {
    journalPlacement(node, Entry::link);
}

void Document::journalUnlink(Art* node) {
    journalPlacement(node, Entry::unlink);
}

// Records where `node` sits in its container as it is linked there or about to be unlinked from there.
void Document::journalPlacement(Art* node, int kind) {
    if (open_ == nullptr || node->parent_ == nullptr) return;
    Entry entry;
    entry.kind = static_cast<Entry::Kind>(kind);
    entry.node = node->id_;
    entry.parent = node->parent_->id_;
    entry.prev = node->prev_ != nullptr ? node->prev_->id_ : 0;
    open_->entries.push_back(std::move(entry));
}

void Document::journalData(Art* node) {
    // Art made in this epoch vanishes whole when its link is undone; art already saved keeps its first state.
    if (open_ == nullptr || node->bornEpoch_ == epoch_ || node->snapshotEpoch_ == epoch_) return;
    Entry entry;
    entry.kind = Entry::data;
    entry.node = node->id_;
    entry.saved = std::make_unique<ArtData>(node->data_);
    node->snapshotEpoch_ = epoch_;
    open_->entries.push_back(std::move(entry));
}

void Document::applyEntry(Entry& entry, bool forward) {
    auto node = [this](ArtId id) -> Art* {
        if (id < idBase_ || id - idBase_ >= nodes_.size()) return nullptr;
        return nodes_[id - idBase_].get();
    };
    Art* target = node(entry.node);
    if (target == nullptr) return;
    const bool linking = (entry.kind == Entry::link) == forward;
    switch (entry.kind) {
    case Entry::link:
    case Entry::unlink:
        if (linking) {
            Art* parent = node(entry.parent);
            if (parent == nullptr) return;
            Art* prev = entry.prev != 0 ? node(entry.prev) : nullptr;
            if (entry.prev != 0 && (prev == nullptr || prev->parent_ != parent)) prev = parent->last_;
            unlink(target);
            linkAfter(target, parent, prev);
        } else {
            unlink(target);
        }
        break;
    case Entry::data:
        std::swap(target->data_, *entry.saved);
        break;
    }
}

void Document::rollBack(Step& step, bool freeBorn) {
    for (auto it = step.entries.rbegin(); it != step.entries.rend(); ++it) {
        applyEntry(*it, false);
        if (freeBorn && it->kind == Entry::link) {
            Art* node = it->node >= idBase_ && it->node - idBase_ < nodes_.size()
                            ? nodes_[it->node - idBase_].get()
                            : nullptr;
            if (node != nullptr && node->bornEpoch_ == epoch_ && node->parent_ == nullptr) freeTree(node);
        }
    }
}

void Document::dropSteps(std::vector<std::unique_ptr<Step>>& steps) {
    // Art that only these (undone) steps made is unlinked now and can never come back: free it.
    for (auto& step : steps)
        for (Entry& entry : step->entries) {
            if (entry.kind != Entry::link || entry.node < idBase_ || entry.node - idBase_ >= nodes_.size())
                continue;
            Art* node = nodes_[entry.node - idBase_].get();
            if (node != nullptr && node->parent_ == nullptr) freeTree(node);
        }
    steps.clear();
}

// ---- undo contexts
// ---------------------------------------------------------------------------------------------

void Document::beginUndoContext() {
    if (open_ != nullptr) endUndoContext();
    open_ = std::make_unique<Step>();
    implicitOpen_ = false;
    ++epoch_;
}

void Document::endUndoContext() {
    if (open_ == nullptr) return;
    if (!open_->entries.empty()) {
        dropSteps(redoStack_);
        undoStack_.push_back(std::move(open_));
    }
    open_.reset();
    implicitOpen_ = false;
    ++epoch_;
}

DocStatus Document::undoChanges() {
    if (open_ == nullptr || implicitOpen_) return DocStatus::noContext;
    rollBack(*open_, true);
    open_->entries.clear();
    ++epoch_;
    return DocStatus::ok;
}

bool Document::undo() {
    if (open_ != nullptr) endUndoContext();
    if (undoStack_.empty()) return false;
    std::unique_ptr<Step> step = std::move(undoStack_.back());
    undoStack_.pop_back();
    rollBack(*step, false);
    redoStack_.push_back(std::move(step));
    return true;
}

bool Document::redo() {
    if (open_ != nullptr) endUndoContext();
    if (redoStack_.empty()) return false;
    std::unique_ptr<Step> step = std::move(redoStack_.back());
    redoStack_.pop_back();
    for (Entry& entry : step->entries)
        applyEntry(entry, true);
    undoStack_.push_back(std::move(step));
    return true;
}

// ---- changes
// ---------------------------------------------------------------------------------------------------

DocStatus Document::newArt(int16_t type, int16_t paintOrder, ArtId prep, ArtId* newArt) {
    if (newArt == nullptr) return DocStatus::badParameter;
    if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) return DocStatus::badParameter;
    Art* parent = nullptr;
    Art* prev = nullptr;
    if (DocStatus status = checkPlace(paintOrder, prep, &parent, &prev); status != DocStatus::ok)
        return status;
    Change change(*this);
    ArtData data;
    data.type = type;
    data.style = currentPaint_;
    Art* node = makeNode(data);
    linkAfter(node, parent, prev);
    journalLink(node);
    *newArt = node->id_;
    return DocStatus::ok;
}

DocStatus Document::duplicateArt(ArtId art, int16_t paintOrder, ArtId prep, ArtId* copy) {
    if (copy == nullptr) return DocStatus::badParameter;
    Art* source = live(art);
    if (source == nullptr) return DocStatus::badHandle;
    Art* parent = nullptr;
    Art* prev = nullptr;
    if (DocStatus status = checkPlace(paintOrder, prep, &parent, &prev); status != DocStatus::ok)
        return status;
    Change change(*this);
    Art* node = copyTree(*source);
    linkAfter(node, parent, prev);
    journalLink(node);
    *copy = node->id_;
    return DocStatus::ok;
}

DocStatus Document::disposeArt(ArtId art) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    Change change(*this);
    journalUnlink(node);
    unlink(node);
    return DocStatus::ok;
}

DocStatus Document::setSegments(ArtId path, int32_t index, int32_t count, const AIPathSegment* segments) {
    Art* node = live(path);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->data_.type != kPathArt) return DocStatus::badArtType;
    const auto size = static_cast<int32_t>(node->data_.segments.size());
    if (index < 0 || count < 0 || index > size) return DocStatus::badParameter;
    if (count == 0) return DocStatus::ok;
    if (segments == nullptr) return DocStatus::badParameter;
    if (count > 32767 - index) return DocStatus::tooManySegments; // index + count could overflow
    Change change(*this);
    journalData(node);
    std::vector<AIPathSegment>& target = node->data_.segments;
    if (index + count > size) target.resize(static_cast<size_t>(index + count));
    std::copy(segments, segments + count, target.begin() + index);
    return DocStatus::ok;
}

DocStatus Document::setClosed(ArtId path, bool closed) {
    Art* node = live(path);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->data_.type != kPathArt) return DocStatus::badArtType;
    if (node->data_.closed == closed) return DocStatus::ok;
    Change change(*this);
    journalData(node);
    node->data_.closed = closed;
    return DocStatus::ok;
}

DocStatus Document::setPathStyle(ArtId art, const AIPathStyle& style) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!knownColorKind(style.fill.color.kind) || !knownColorKind(style.stroke.color.kind))
        return DocStatus::badParameter;
    Change change(*this);
    forEachNode(node, [&](Art* each) {
        journalData(each);
        each->data_.style = style;
    });
    return DocStatus::ok;
}

DocStatus Document::setOpacity(ArtId art, AIReal opacity) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (std::isnan(opacity)) return DocStatus::badParameter;
    Change change(*this);
    journalData(node);
    node->data_.opacity = std::clamp(opacity, 0.0f, 1.0f);
    return DocStatus::ok;
}

DocStatus Document::setBlendMode(ArtId art, int32_t mode) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (mode < kNormalBlendingMode || mode > kLastBlendingMode) return DocStatus::badParameter;
    Change change(*this);
    journalData(node);
    node->data_.blendMode = mode;
    return DocStatus::ok;
}

DocStatus Document::setTag(ArtId art, const std::string& name, const std::string& value) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (name.empty()) return DocStatus::badParameter;
    Change change(*this);
    journalData(node);
    node->data_.tags[name] = value;
    return DocStatus::ok;
}

DocStatus Document::applyNamedStyle(ArtId art, int32_t index) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    const NamedStyle* named = namedStyle(index);
    if (named == nullptr) return DocStatus::badParameter;
    Change change(*this);
    forEachNode(node, [&](Art* each) {
        journalData(each);
        each->data_.style = named->style;
    });
    node->data_.opacity = named->opacity;
    node->data_.graphicStyle = index;
    node->data_.styleScale = 1.0f;
    return DocStatus::ok;
}

DocStatus Document::setStyleScale(ArtId art, AIReal factor) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!finite(factor)) return DocStatus::badParameter;
    Change change(*this);
    const NamedStyle* named = namedStyle(node->data_.graphicStyle);
    const AIReal old = node->data_.styleScale;
    forEachNode(node, [&](Art* each) {
        journalData(each);
        AIReal& width = each->data_.style.stroke.width;
        if (named != nullptr)
            width = named->style.stroke.width * factor;
        else if (old != 0.0f)
            width = width * (factor / old);
    });
    node->data_.styleScale = factor;
    return DocStatus::ok;
}

DocStatus Document::transform(ArtId art, const AIRealMatrix& m, AIReal lineScale, int32_t flags) {
    Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!finite(m.a) || !finite(m.b) || !finite(m.c) || !finite(m.d) || !finite(m.tx) || !finite(m.ty) ||
        !finite(lineScale))
        return DocStatus::badParameter;
    const bool moveObjects = (flags & kTransformObjects) != 0;
    if (!moveObjects && lineScale == 1.0f) return DocStatus::ok;
    Change change(*this);
    auto apply = [&m](AIRealPoint& p) {
        const AIReal h = m.a * p.h + m.c * p.v + m.tx;
        const AIReal v = m.b * p.h + m.d * p.v + m.ty;
        p.h = h;
        p.v = v;
    };
    auto applyAll = [&](std::vector<AIPathSegment>& segments) {
        for (AIPathSegment& segment : segments) {
            apply(segment.p);
            apply(segment.in);
            apply(segment.out);
        }
    };
    forEachNode(node, [&](Art* each) {
        journalData(each);
        if (moveObjects) {
            applyAll(each->data_.segments);
            for (PathOutline& outline : each->data_.envelopeShape)
                applyAll(outline.segments);
        }
        each->data_.style.stroke.width *= lineScale;
    });
    return DocStatus::ok;
}

DocStatus Document::makeEnvelope(const ArtId* arts, int32_t count, ArtId shape,
                                 const AIEnvelopeOptions& options, ArtId* envelope) {
    if (arts == nullptr || count < 1 || envelope == nullptr) return DocStatus::badParameter;
    std::vector<Art*> contents;
    for (int32_t i = 0; i < count; ++i) {
        Art* node = live(arts[i]);
        if (node == nullptr) return DocStatus::badHandle;
        contents.push_back(node);
    }
    Art* shapeNode = live(shape);
    if (shapeNode == nullptr) return DocStatus::badHandle;
    // Each object may go in once, none may hold another or the shape, and the shape may hold none of them.
    auto holds = [](const Art* outer, const Art* inner) {
        for (const Art* up = inner; up != nullptr; up = up->parent_)
            if (up == outer) return true;
        return false;
    };
    for (Art* node : contents) {
        if (holds(node, shapeNode) || holds(shapeNode, node)) return DocStatus::badParameter;
        for (Art* other : contents)
            if (other != node && holds(other, node)) return DocStatus::badParameter;
    }
    Change change(*this);
    ArtData data;
    data.type = kEnvelopeArt;
    data.style = contents.front()->data_.style;
    data.envelopeOptions = options;
    forEachNode(static_cast<const Art*>(shapeNode), [&](const Art* each) {
        if (each->data_.type == kPathArt)
            data.envelopeShape.push_back({each->data_.segments, each->data_.closed});
    });
    Art* node = makeNode(data);
    linkAfter(node, contents.front()->parent_, contents.front());
    journalLink(node);
    for (Art* art : contents) {
        journalUnlink(art);
        unlink(art);
        linkAfter(art, node, node->last_);
        journalLink(art);
    }
    journalUnlink(shapeNode);
    unlink(shapeNode);
    *envelope = node->id_;
    return DocStatus::ok;
}

DocStatus Document::setWarp(ArtId envelope, const Warp& warp) {
    Art* node = live(envelope);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->data_.type != kEnvelopeArt) return DocStatus::badArtType;
    auto unit = [](AIReal value) { return finite(value) && value >= -1.0f && value <= 1.0f; };
    if (warp.style < kFirstWarpStyle || warp.style > kLastWarpStyle || !unit(warp.bend) ||
        !unit(warp.horizontal) || !unit(warp.vertical))
        return DocStatus::badParameter;
    Change change(*this);
    journalData(node);
    node->data_.warp = warp;
    return DocStatus::ok;
}

DocStatus Document::newSymbol(ArtId art, bool /*unlisted: every definition is kept in one list*/,
                              ArtId* symbol) {
    if (symbol == nullptr) return DocStatus::badParameter;
    Art* source = live(art);
    if (source == nullptr) return DocStatus::badHandle;
    Change change(*this);
    Art* copy = copyTree(*source);
    linkAfter(copy, symbols_, symbols_->last_);
    journalLink(copy);
    *symbol = copy->id_;
    return DocStatus::ok;
}

// ---- queries
// ---------------------------------------------------------------------------------------------------

DocStatus Document::bounds(ArtId art, AIRealRect* rect) const {
    const Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (rect == nullptr) return DocStatus::badParameter;
    bool any = false;
    AIRealRect box{0.0f, 0.0f, 0.0f, 0.0f};
    auto add = [&](const AIRealPoint& p) {
        if (!any) {
            box = {p.h, p.v, p.h, p.v};
            any = true;
            return;
        }
        box.left = std::min(box.left, p.h);
        box.right = std::max(box.right, p.h);
        box.bottom = std::min(box.bottom, p.v);
        box.top = std::max(box.top, p.v);
    };
    auto addAll = [&](const std::vector<AIPathSegment>& segments) {
        for (const AIPathSegment& segment : segments) {
            add(segment.p);
            add(segment.in);
            add(segment.out);
        }
    };
    forEachNode(node, [&](const Art* each) {
        addAll(each->data_.segments);
        for (const PathOutline& outline : each->data_.envelopeShape)
            addAll(outline.segments);
    });
    *rect = box;
    return DocStatus::ok;
}

DocStatus Document::pathStyle(ArtId art, AIPathStyle* style) const {
    const Art* node = live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (style == nullptr) return DocStatus::badParameter;
    const Art* firstPath = nullptr;
    forEachNode(node, [&](const Art* each) {
        if (firstPath == nullptr && each->data_.type == kPathArt) firstPath = each;
    });
    *style = (firstPath != nullptr ? firstPath : node)->data_.style;
    return DocStatus::ok;
}

} // namespace zz
