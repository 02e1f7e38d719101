#include "host/document/Document.h"

#include <utility>

#include "host/document/ArtGeometry.h"

namespace zz {

Document::Document(DocumentFacts facts) {
    reset(std::move(facts));
}

Document::~Document() = default;

void Document::reset(DocumentFacts facts) {
    journal_.clear();
    tree_.reset();
    log_.restart();
    fixtures_ = DocumentFixtures(std::move(facts));
    currentPaint_ = defaultPaint(fixtures_.facts().colorModel);
}

// ---- undo

DocStatus Document::undoChanges() {
    if (!journal_.isOpen() || journal_.implicitOpen()) return DocStatus::noContext;
    if (journal_.openHasEntries()) log_.advance();
    journal_.rollBackOpen();
    return DocStatus::ok;
}

bool Document::undo() {
    journal_.end();
    if (!journal_.canUndo()) return false;
    log_.advance();
    return journal_.undo();
}

bool Document::redo() {
    journal_.end();
    if (!journal_.canRedo()) return false;
    log_.advance();
    return journal_.redo();
}

// ---- revisions

DocumentDelta Document::changesSince(uint64_t revision) const {
    return log_.since(revision, [this](ArtId id) { return tree_.live(id) != nullptr; });
}

// ---- queries

DocStatus Document::bounds(ArtId art, AIRealRect* rect) const {
    const Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (rect == nullptr) return DocStatus::badParameter;
    *rect = artBounds(*node);
    return DocStatus::ok;
}

DocStatus Document::pathStyle(ArtId art, AIPathStyle* style) const {
    const Art* node = tree_.live(art);
    if (node == nullptr) return DocStatus::badHandle;
    if (style == nullptr) return DocStatus::badParameter;
    const Art* firstPath = nullptr;
    forEachNode(node, [&](const Art* each) {
        if (firstPath == nullptr && each->type() == kPathArt) firstPath = each;
    });
    *style = (firstPath != nullptr ? firstPath : node)->data().style;
    return DocStatus::ok;
}

} // namespace zz
