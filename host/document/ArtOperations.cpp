// The operations on art: each checks its arguments, opens a history step of its own when no undo context is
// open, raises the revision, records what it is about to change, then changes it.
#include <algorithm>
#include <cmath>

#include "host/document/ArtGeometry.h"
#include "host/document/Document.h"

namespace zz {

namespace {

bool knownColorKind(int16_t kind) {
    return kind >= kGrayColor && kind <= kNoneColor;
}

} // namespace

// One change: a new revision, made inside the open undo context or, when none is open, as a history step of
// its own.
class Document::Change {
  public:
    explicit Change(Document& document) : document_(document) {
        document_.log_.advance();
        if (!document_.journal_.isOpen()) {
            document_.journal_.begin(true);
            implicit_ = true;
        }
    }
    ~Change() {
        if (implicit_) document_.journal_.end();
    }
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

  private:
    Document& document_;
    bool implicit_ = false;
};

void Document::touch(Art* node) {
    journal_.recordAttributes(node);
    log_.record(ChangeLog::Event::changed, node->id());
}

DocStatus Document::newArt(int16_t type, int16_t paintOrder, ArtId prep, ArtId* newArt) {
    if (newArt == nullptr) return DocStatus::badParameter;
    if (type != kGroupArt && type != kPathArt && type != kCompoundPathArt) return DocStatus::badParameter;
    Art* parent = nullptr;
    Art* prev = nullptr;
    if (DocStatus status = tree_.place(paintOrder, prep, &parent, &prev); status != DocStatus::ok)
        return status;
    Change change(*this);
    ArtData data;
    data.type = type;
    data.style = currentPaint_;
    Art* node = tree_.make(data, journal_.epoch());
    tree_.linkAfter(node, parent, prev);
    journal_.recordLink(node);
    *newArt = node->id();
    return DocStatus::ok;
}

DocStatus Document::duplicateArt(ArtId art, int16_t paintOrder, ArtId prep, ArtId* copy) {
    if (copy == nullptr) return DocStatus::badParameter;
    Art* source = tree_.live(art);
    if (source == nullptr) return DocStatus::badHandle;
    Art* parent = nullptr;
    Art* prev = nullptr;
    if (DocStatus status = tree_.place(paintOrder, prep, &parent, &prev); status != DocStatus::ok)
        return status;
    Change change(*this);
    Art* node = tree_.copy(*source, journal_.epoch());
    tree_.linkAfter(node, parent, prev);
    journal_.recordLink(node);
    *copy = node->id();
    return DocStatus::ok;
}

DocStatus Document::disposeArt(ArtId art) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    Change change(*this);
    journal_.recordUnlink(node);
    tree_.unlink(node);
    return DocStatus::ok;
}

DocStatus Document::setSegments(ArtId path, int32_t index, int32_t count, const AIPathSegment* segments) {
    Art* node = tree_.live(path);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->type() != kPathArt) return DocStatus::badArtType;
    const auto size = static_cast<int32_t>(node->data_.segments.size());
    if (index < 0 || count < 0 || index > size) return DocStatus::badParameter;
    if (count == 0) return DocStatus::ok;
    if (segments == nullptr) return DocStatus::badParameter;
    if (count > 32767 - index) return DocStatus::tooManySegments; // index + count could overflow
    Change change(*this);
    journal_.recordSegments(node, index, count);
    log_.record(ChangeLog::Event::changed, node->id());
    // The segments within the path replace its own and the rest are appended; most often that is one
    // segment at the end, a plain push.
    std::vector<AIPathSegment>& target = node->data_.segments;
    const int32_t within = std::min(count, size - index);
    for (int32_t i = 0; i < within; ++i)
        target[static_cast<size_t>(index + i)] = segments[i];
    if (count - within == 1)
        target.push_back(segments[within]);
    else
        target.insert(target.end(), segments + within, segments + count);
    return DocStatus::ok;
}

DocStatus Document::setClosed(ArtId path, bool closed) {
    Art* node = tree_.live(path);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->type() != kPathArt) return DocStatus::badArtType;
    if (node->data_.closed == closed) return DocStatus::ok;
    Change change(*this);
    touch(node);
    node->data_.closed = closed;
    return DocStatus::ok;
}

DocStatus Document::setPathStyle(ArtId art, const AIPathStyle& style) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!knownColorKind(style.fill.color.kind) || !knownColorKind(style.stroke.color.kind))
        return DocStatus::badParameter;
    Change change(*this);
    forEachNode(node, [&](Art* each) {
        touch(each);
        each->data_.style = style;
    });
    return DocStatus::ok;
}

DocStatus Document::setOpacity(ArtId art, AIReal opacity) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (std::isnan(opacity)) return DocStatus::badParameter;
    Change change(*this);
    touch(node);
    node->data_.opacity = std::clamp(opacity, 0.0f, 1.0f);
    return DocStatus::ok;
}

DocStatus Document::setBlendMode(ArtId art, int32_t mode) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (mode < kNormalBlendingMode || mode > kLastBlendingMode) return DocStatus::badParameter;
    Change change(*this);
    touch(node);
    node->data_.blendMode = mode;
    return DocStatus::ok;
}

DocStatus Document::setTag(ArtId art, const std::string& name, const std::string& value) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (name.empty()) return DocStatus::badParameter;
    Change change(*this);
    touch(node);
    node->data_.tags[name] = value;
    return DocStatus::ok;
}

DocStatus Document::applyNamedStyle(ArtId art, int32_t index) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    const NamedStyle* named = namedStyle(index);
    if (named == nullptr) return DocStatus::badParameter;
    Change change(*this);
    forEachNode(node, [&](Art* each) {
        touch(each);
        each->data_.style = named->style;
    });
    node->data_.opacity = named->opacity;
    node->data_.graphicStyle = index;
    node->data_.styleScale = 1.0f;
    return DocStatus::ok;
}

DocStatus Document::setStyleScale(ArtId art, AIReal factor) {
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!std::isfinite(factor)) return DocStatus::badParameter;
    Change change(*this);
    const NamedStyle* named = namedStyle(node->data_.graphicStyle);
    const AIReal old = node->data_.styleScale;
    forEachNode(node, [&](Art* each) {
        touch(each);
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
    Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (!finiteMatrix(m) || !std::isfinite(lineScale)) return DocStatus::badParameter;
    const bool moveObjects = (flags & kTransformObjects) != 0;
    if (!moveObjects && lineScale == 1.0f) return DocStatus::ok;
    Change change(*this);
    forEachNode(node, [&](Art* each) {
        touch(each);
        ArtData& data = each->data_;
        if (moveObjects) {
            if (!data.segments.empty()) {
                journal_.recordSegments(each, 0, static_cast<int32_t>(data.segments.size()));
                transformSegments(data.segments, m);
            }
            if (!data.envelopeShape.empty()) {
                journal_.recordShape(each);
                for (PathOutline& outline : data.envelopeShape)
                    transformSegments(outline.segments, m);
            }
        }
        data.style.stroke.width *= lineScale;
    });
    return DocStatus::ok;
}

DocStatus Document::makeEnvelope(const ArtId* arts, int32_t count, ArtId shape,
                                 const AIEnvelopeOptions& options, ArtId* envelope) {
    if (arts == nullptr || count < 1 || envelope == nullptr) return DocStatus::badParameter;
    std::vector<Art*> contents;
    for (int32_t i = 0; i < count; ++i) {
        Art* node = tree_.live(arts[i]);
        if (node == nullptr) return DocStatus::badHandle;
        contents.push_back(node);
    }
    Art* shapeNode = tree_.live(shape);
    if (shapeNode == nullptr) return DocStatus::badHandle;
    // Each object may go in once, none may hold another or the shape, and the shape may hold none of them.
    auto holds = [](const Art* outer, const Art* inner) {
        for (const Art* up = inner; up != nullptr; up = up->parent())
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
        if (each->type() == kPathArt)
            data.envelopeShape.push_back({each->data().segments, each->data().closed});
    });
    Art* node = tree_.make(data, journal_.epoch());
    tree_.linkAfter(node, contents.front()->parent_, contents.front());
    journal_.recordLink(node);
    for (Art* art : contents) {
        journal_.recordUnlink(art);
        tree_.unlink(art);
        tree_.linkAfter(art, node, node->last_);
        journal_.recordLink(art);
    }
    journal_.recordUnlink(shapeNode);
    tree_.unlink(shapeNode);
    *envelope = node->id();
    return DocStatus::ok;
}

DocStatus Document::setWarp(ArtId envelope, const Warp& warp) {
    Art* node = tree_.live(envelope);
    if (node == nullptr) return DocStatus::badHandle;
    if (node->type() != kEnvelopeArt) return DocStatus::badArtType;
    auto unit = [](AIReal value) { return std::isfinite(value) && value >= -1.0f && value <= 1.0f; };
    if (warp.style < kFirstWarpStyle || warp.style > kLastWarpStyle || !unit(warp.bend) ||
        !unit(warp.horizontal) || !unit(warp.vertical))
        return DocStatus::badParameter;
    Change change(*this);
    touch(node);
    node->data_.warp = warp;
    return DocStatus::ok;
}

DocStatus Document::newSymbol(ArtId art, bool /*unlisted: every definition is kept in one list*/,
                              ArtId* symbol) {
    if (symbol == nullptr) return DocStatus::badParameter;
    Art* source = tree_.live(art);
    if (source == nullptr) return DocStatus::badHandle;
    Change change(*this);
    Art* copy = tree_.copy(*source, journal_.epoch());
    tree_.linkAfter(copy, &tree_.symbols(), tree_.symbols().last_);
    journal_.recordLink(copy);
    *symbol = copy->id();
    return DocStatus::ok;
}

} // namespace zz
