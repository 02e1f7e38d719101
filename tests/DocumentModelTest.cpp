// The host's document model: paint order, stale ids, undo contexts and history, path growth, bounds,
// transforms, envelopes, symbols, styles.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "host/document/Document.h"
#include "host/document/RealMath.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using test::corner;

ArtId newPath(Document& document, int16_t order = kPlaceAboveAll, std::vector<AIRealPoint> points = {}) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, order, 0, &id), DocStatus::ok);
    for (size_t i = 0; i < points.size(); ++i) {
        const AIPathSegment segment = corner(points[i].h, points[i].v);
        EXPECT_EQ(document.setSegments(id, static_cast<int32_t>(i), 1, &segment), DocStatus::ok);
    }
    return id;
}

std::vector<ArtId> layerIds(const Document& document) {
    std::vector<ArtId> ids;
    for (const Art* art = document.layer().firstChild(); art != nullptr; art = art->nextSibling())
        ids.push_back(art->id());
    return ids;
}

// ---- paint order ----

TEST(DocumentPaintOrder, AboveAllGoesOnTopAndBelowAllToTheBottom) {
    Document document;
    const ArtId a = newPath(document);
    const ArtId b = newPath(document, kPlaceAboveAll);
    const ArtId c = newPath(document, kPlaceBelowAll);
    const ArtId d = newPath(document, kPlaceAboveAll);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{c, a, b, d}));
    EXPECT_EQ(document.layerArtCount(), 4u);
}

TEST(DocumentPaintOrder, OrdersRelativeToAReferenceArt) {
    Document document;
    const ArtId a = newPath(document);
    const ArtId b = newPath(document);
    ArtId above = 0, below = 0, group = 0, inside = 0, insideBottom = 0;
    ASSERT_EQ(document.newArt(kPathArt, kPlaceAbove, a, &above), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceBelow, a, &below), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{below, a, above, b}));

    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &inside), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnBottom, group, &insideBottom), DocStatus::ok);
    const Art* groupArt = document.find(group);
    ASSERT_NE(groupArt, nullptr);
    EXPECT_EQ(groupArt->firstChild()->id(), insideBottom);
    EXPECT_EQ(groupArt->lastChild()->id(), inside);
    EXPECT_EQ(document.layerArtCount(), 5u); // the children are not in the layer itself

    ArtId unused = 0;
    EXPECT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, a, &unused),
              DocStatus::badParameter);                                                     // not a container
    EXPECT_EQ(document.newArt(kPathArt, kPlaceAbove, 0, &unused), DocStatus::badParameter); // no reference
    EXPECT_EQ(document.newArt(kPathArt, 7, 0, &unused), DocStatus::badParameter);
    EXPECT_EQ(document.newArt(kSymbolArt, kPlaceAboveAll, 0, &unused), DocStatus::badParameter);
    EXPECT_EQ(document.newArt(kPathArt, kPlaceAbove, 999999, &unused), DocStatus::badHandle);
}

TEST(DocumentPaintOrder, ALongTrailOfAlternatingOrdersKeepsEveryObjectInPlace) {
    Document document;
    document.beginUndoContext();
    std::vector<ArtId> bottom, top;
    for (int i = 0; i < 20000; ++i) {
        const bool below = i % 2 == 1;
        (below ? bottom : top).push_back(newPath(document, below ? kPlaceBelowAll : kPlaceAboveAll));
    }
    document.endUndoContext();
    std::vector<ArtId> expected(bottom.rbegin(), bottom.rend());
    expected.insert(expected.end(), top.begin(), top.end());
    EXPECT_EQ(layerIds(document), expected);
    EXPECT_EQ(document.undoSteps(), 1u);
}

// ---- paths ----

TEST(DocumentPath, GrowsAtTheEndOverwritesInsideAndRefusesGaps) {
    Document document;
    const ArtId path = newPath(document, kPlaceAboveAll, {{0, 0}, {1, 1}});
    const AIPathSegment segment = corner(5, 5);
    EXPECT_EQ(document.setSegments(path, 3, 1, &segment), DocStatus::badParameter); // a gap
    EXPECT_EQ(document.setSegments(path, -1, 1, &segment), DocStatus::badParameter);
    EXPECT_EQ(document.setSegments(path, 1, 1, &segment), DocStatus::ok); // overwrite
    EXPECT_EQ(document.setSegments(path, 2, 1, &segment), DocStatus::ok); // grow
    const auto& segments = document.find(path)->data().segments;
    ASSERT_EQ(segments.size(), 3u);
    EXPECT_EQ(segments[1].p.h, 5.0f);
    EXPECT_EQ(segments[0].p.h, 0.0f);

    ArtId group = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    EXPECT_EQ(document.setSegments(group, 0, 1, &segment), DocStatus::badArtType);
    EXPECT_EQ(document.setClosed(group, true), DocStatus::badArtType);
}

TEST(DocumentPath, HoldsAtMost32767Segments) {
    Document document;
    const ArtId path = newPath(document);
    std::vector<AIPathSegment> many(32767, corner(1, 2));
    EXPECT_EQ(document.setSegments(path, 0, 32767, many.data()), DocStatus::ok);
    EXPECT_EQ(document.setSegments(path, 32767, 1, many.data()), DocStatus::tooManySegments);
    EXPECT_EQ(document.setSegments(path, 32766, 2, many.data()), DocStatus::tooManySegments);
    EXPECT_EQ(document.setSegments(path, 32766, 1, many.data()),
              DocStatus::ok); // overwriting the last is fine
    EXPECT_EQ(document.find(path)->data().segments.size(), 32767u);
}

// ---- bounds and transforms ----

TEST(DocumentBounds, CoverAnchorsAndHandlesOfEveryPathHeld) {
    Document document;
    const ArtId path = newPath(document, kPlaceAboveAll, {{0, 0}, {10, -20}});
    AIPathSegment curved = corner(4, 4);
    curved.out = AIRealPoint{30, 6};
    ASSERT_EQ(document.setSegments(path, 2, 1, &curved), DocStatus::ok);
    AIRealRect rect{};
    ASSERT_EQ(document.bounds(path, &rect), DocStatus::ok);
    EXPECT_EQ(rect.left, 0.0f);
    EXPECT_EQ(rect.right, 30.0f); // the handle counts
    EXPECT_EQ(rect.top, 6.0f);
    EXPECT_EQ(rect.bottom, -20.0f);

    ArtId group = 0, inner = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.bounds(group, &rect), DocStatus::ok);
    EXPECT_EQ(rect.left, 0.0f);
    EXPECT_EQ(rect.top, 0.0f); // empty art: all zero
    EXPECT_EQ(rect.right, 0.0f);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &inner), DocStatus::ok);
    const AIPathSegment far[] = {corner(-5, 50), corner(-1, 40)};
    ASSERT_EQ(document.setSegments(inner, 0, 2, far), DocStatus::ok);
    ArtId copy = 0;
    ASSERT_EQ(document.duplicateArt(path, kPlaceInsideOnTop, group, &copy), DocStatus::ok);
    ASSERT_EQ(document.bounds(group, &rect), DocStatus::ok);
    EXPECT_EQ(rect.left, -5.0f);
    EXPECT_EQ(rect.right, 30.0f);
    EXPECT_EQ(rect.top, 50.0f);
    EXPECT_EQ(rect.bottom, -20.0f);
}

TEST(DocumentTransform, RotatesAboutTheCentreCounterClockwiseAndScalesWidthsByLineScale) {
    Document document;
    const ArtId path = newPath(document, kPlaceAboveAll, {{0, 0}, {10, 0}});
    // About the centre (5, 0): translate to the origin first, then turn, then back.
    AIRealMatrix m{};
    realmath::setTranslate(m, -5.0f, 0.0f);
    realmath::concatRotate(m, realmath::degreeToRadian(90.0f));
    realmath::concatTranslate(m, 5.0f, 0.0f);
    ASSERT_EQ(document.transform(path, m, 2.0f, kTransformObjects), DocStatus::ok);
    const auto& segments = document.find(path)->data().segments;
    EXPECT_NEAR(segments[0].p.h, 5.0f, 1e-5f);
    EXPECT_NEAR(segments[0].p.v, -5.0f, 1e-5f); // the left end turns down: counter-clockwise
    EXPECT_NEAR(segments[1].p.h, 5.0f, 1e-5f);
    EXPECT_NEAR(segments[1].p.v, 5.0f, 1e-5f);
    EXPECT_NEAR(segments[1].in.v, 5.0f, 1e-5f); // handles move with their anchors
    EXPECT_EQ(document.find(path)->data().style.stroke.width, 2.0f);

    // Without kTransformObjects only the widths change.
    realmath::setTranslate(m, 100.0f, 100.0f);
    ASSERT_EQ(document.transform(path, m, 0.5f, 0), DocStatus::ok);
    EXPECT_NEAR(segments[1].p.v, 5.0f, 1e-5f);
    EXPECT_EQ(document.find(path)->data().style.stroke.width, 1.0f);

    m.a = std::numeric_limits<AIReal>::infinity();
    EXPECT_EQ(document.transform(path, m, 1.0f, kTransformObjects), DocStatus::badParameter);
}

// ---- undo ----

TEST(DocumentUndo, UndoChangesReturnsToTheDragStartAndNeverTouchesEarlierArt) {
    Document document;
    const ArtId earlier = newPath(document, kPlaceAboveAll, {{1, 1}, {2, 2}});
    const ArtData before = document.find(earlier)->data();
    const size_t stepsBefore = document.undoSteps();

    document.beginUndoContext();
    const ArtId first = newPath(document, kPlaceBelowAll, {{0, 0}});
    EXPECT_EQ(document.undoChanges(), DocStatus::ok);
    EXPECT_EQ(document.find(first), nullptr);

    const ArtId second = newPath(document, kPlaceAboveAll, {{3, 3}});
    ArtId copy = 0;
    ASSERT_EQ(document.duplicateArt(earlier, kPlaceBelowAll, earlier, &copy), DocStatus::ok);
    // The drag may also change earlier art: the undo takes that back too.
    AIPathStyle style = before.style;
    style.stroke.width = 9.0f;
    ASSERT_EQ(document.setPathStyle(earlier, style), DocStatus::ok);
    ASSERT_EQ(document.setOpacity(earlier, 0.25f), DocStatus::ok);
    ASSERT_EQ(document.setTag(earlier, "t", "v"), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{copy, earlier, second}));

    EXPECT_EQ(document.undoChanges(), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{earlier}));
    EXPECT_EQ(document.find(second), nullptr);
    EXPECT_EQ(document.find(copy), nullptr);
    const ArtData& after = document.find(earlier)->data();
    EXPECT_EQ(after.style.stroke.width, before.style.stroke.width);
    EXPECT_EQ(after.opacity, 1.0f);
    EXPECT_TRUE(after.tags.empty());
    ASSERT_EQ(after.segments.size(), 2u);

    // Changed again after the undo: undoing again restores the same state.
    ASSERT_EQ(document.setOpacity(earlier, 0.5f), DocStatus::ok);
    EXPECT_EQ(document.undoChanges(), DocStatus::ok);
    EXPECT_EQ(document.find(earlier)->data().opacity, 1.0f);
    document.endUndoContext();
    EXPECT_EQ(document.undoSteps(), stepsBefore); // the drag left nothing to undo
}

TEST(DocumentUndo, UndoChangesNeedsAnOpenContext) {
    Document document;
    EXPECT_EQ(document.undoChanges(), DocStatus::noContext);
    document.beginUndoContext();
    document.endUndoContext();
    EXPECT_EQ(document.undoChanges(), DocStatus::noContext);
}

TEST(DocumentUndo, UndoneIdsStayStaleEvenAfterLaterArtIsMade) {
    Document document;
    document.beginUndoContext();
    const ArtId gone = newPath(document, kPlaceAboveAll, {{0, 0}});
    ASSERT_EQ(document.undoChanges(), DocStatus::ok);
    for (int i = 0; i < 10; ++i)
        newPath(document);
    EXPECT_EQ(document.find(gone), nullptr);
    const AIPathSegment segment = corner(1, 1);
    EXPECT_EQ(document.setSegments(gone, 0, 1, &segment), DocStatus::badHandle);
    EXPECT_EQ(document.disposeArt(gone), DocStatus::badHandle);
    document.endUndoContext();

    // A reset document does not know the old ids either.
    const ArtId old = layerIds(document).front();
    document.reset(DocumentFacts{});
    EXPECT_EQ(document.find(old), nullptr);
    const ArtId fresh = newPath(document);
    EXPECT_NE(fresh, old);
}

TEST(DocumentUndo, HostUndoAndRedoStepOverWholeDrags) {
    Document document;
    document.beginUndoContext();
    const ArtId a1 = newPath(document, kPlaceAboveAll, {{0, 0}});
    const ArtId a2 = newPath(document, kPlaceBelowAll, {{1, 1}});
    document.endUndoContext();
    document.beginUndoContext();
    const ArtId b = newPath(document, kPlaceAboveAll, {{2, 2}});
    AIPathStyle style = document.find(a1)->data().style;
    style.fillPaint = 0;
    ASSERT_EQ(document.setPathStyle(a1, style), DocStatus::ok);
    document.endUndoContext();
    ASSERT_EQ(document.undoSteps(), 2u);

    EXPECT_TRUE(document.undo());
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{a2, a1}));
    EXPECT_TRUE(document.find(a1)->data().style.fillPaint);
    EXPECT_EQ(document.find(b), nullptr);
    EXPECT_TRUE(document.undo());
    EXPECT_TRUE(layerIds(document).empty());
    EXPECT_FALSE(document.undo());

    EXPECT_TRUE(document.redo());
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{a2, a1}));
    EXPECT_TRUE(document.redo());
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{a2, a1, b}));
    EXPECT_FALSE(document.find(a1)->data().style.fillPaint);
    ASSERT_NE(document.find(b), nullptr);
    EXPECT_EQ(document.find(b)->data().segments.front().p.h, 2.0f); // redone art keeps its id and contents
    EXPECT_FALSE(document.redo());

    // A new drag after an undo drops the redo history.
    EXPECT_TRUE(document.undo());
    document.beginUndoContext();
    const ArtId c = newPath(document);
    document.endUndoContext();
    EXPECT_FALSE(document.redo());
    EXPECT_EQ(document.find(b), nullptr);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{a2, a1, c}));
}

TEST(DocumentUndo, EmptyDragsLeaveNoStepAndLoneChangesAreStepsOfTheirOwn) {
    Document document;
    document.beginUndoContext();
    document.endUndoContext();
    EXPECT_EQ(document.undoSteps(), 0u);
    const ArtId a = newPath(document);                      // no context open: a step of its own
    ASSERT_EQ(document.setOpacity(a, 0.5f), DocStatus::ok); // another
    EXPECT_EQ(document.undoSteps(), 2u);
    EXPECT_TRUE(document.undo());
    EXPECT_EQ(document.find(a)->data().opacity, 1.0f);
    EXPECT_TRUE(document.undo());
    EXPECT_EQ(document.find(a), nullptr);
}

TEST(DocumentUndo, ATrailOffDragKeepsOnlyItsLastGenerationAndUndoesInOneStep) {
    Document document;
    const ArtId earlier = newPath(document);
    document.beginUndoContext();
    ArtId last = 0;
    for (int generation = 0; generation < 500; ++generation) {
        ASSERT_EQ(document.undoChanges(), DocStatus::ok);
        last = newPath(document, kPlaceAboveAll, {{0, 0}, {1, 1}, {2, 0}});
    }
    document.endUndoContext();
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{earlier, last}));
    EXPECT_TRUE(document.undo());
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{earlier}));
    EXPECT_TRUE(document.redo());
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{earlier, last}));
}

// ---- art, containers, envelopes, symbols, styles, swatches ----

TEST(DocumentArt, NewArtTakesTheCurrentPaint) {
    Document document(DocumentFacts{kDocCMYKColor, 100.0f, 100.0f, {}, 0, false});
    const Art* art = document.find(newPath(document));
    ASSERT_NE(art, nullptr);
    const AIPathStyle& style = art->data().style;
    EXPECT_TRUE(style.fillPaint);
    EXPECT_TRUE(style.strokePaint);
    EXPECT_EQ(style.fill.color.kind, kFourColor);
    EXPECT_EQ(style.fill.color.value[3], 0.0f); // white: no ink
    EXPECT_EQ(style.stroke.color.kind, kFourColor);
    EXPECT_EQ(style.stroke.color.value[3], 1.0f); // black
    EXPECT_EQ(style.stroke.width, 1.0f);

    AIPathStyle red = defaultPaint(kDocRGBColor);
    red.fill.color = AIColor{kThreeColor, {1.0f, 0.0f, 0.0f, 0.0f}};
    document.setCurrentPaint(red);
    EXPECT_EQ(document.find(newPath(document))->data().style.fill.color.value[0], 1.0f);
}

TEST(DocumentArt, DuplicatesAreDeepAndIndependent) {
    Document document;
    ArtId compound = 0, child = 0, copy = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &child), DocStatus::ok);
    const AIPathSegment segment = corner(3, 4);
    ASSERT_EQ(document.setSegments(child, 0, 1, &segment), DocStatus::ok);
    ASSERT_EQ(document.setTag(compound, "multi-tool", "multi-tool"), DocStatus::ok);
    ASSERT_EQ(document.duplicateArt(compound, kPlaceBelowAll, compound, &copy), DocStatus::ok);
    const Art* copied = document.find(copy);
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{copy, compound}));
    ASSERT_NE(copied->firstChild(), nullptr);
    EXPECT_NE(copied->firstChild()->id(), child);
    EXPECT_EQ(copied->firstChild()->data().segments.front().p.v, 4.0f);
    EXPECT_EQ(copied->data().tags.at("multi-tool"), "multi-tool");
    const AIPathSegment moved = corner(9, 9);
    ASSERT_EQ(document.setSegments(child, 0, 1, &moved), DocStatus::ok);
    EXPECT_EQ(copied->firstChild()->data().segments.front().p.v, 4.0f);
}

TEST(DocumentArt, AnEnvelopeTakesThePlaceOfItsArtAndTakesOverItsShape) {
    Document document;
    const ArtId below = newPath(document, kPlaceAboveAll, {{0, 0}});
    const ArtId art = newPath(document, kPlaceAboveAll, {{0, 0}, {10, 10}});
    const ArtId above = newPath(document, kPlaceAboveAll, {{5, 5}});
    document.beginUndoContext();
    ArtId shape = 0, envelope = 0;
    ASSERT_EQ(document.duplicateArt(art, kPlaceAboveAll, art, &shape), DocStatus::ok);
    ASSERT_EQ(document.makeEnvelope(&art, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{below, envelope, above}));
    EXPECT_EQ(document.find(shape), nullptr);
    const Art* wrapped = document.find(envelope);
    ASSERT_NE(wrapped, nullptr);
    EXPECT_EQ(wrapped->type(), kEnvelopeArt);
    EXPECT_EQ(wrapped->firstChild()->id(), art);
    ASSERT_NE(document.find(art), nullptr); // still live, inside the envelope
    EXPECT_EQ(wrapped->data().envelopeShape.size(), 1u);

    EXPECT_EQ(document.setWarp(envelope, Warp{3, 0.5f, -0.25f, 1.0f, true}), DocStatus::ok);
    EXPECT_EQ(document.find(envelope)->data().warp->style, 3);
    EXPECT_EQ(document.setWarp(envelope, Warp{16, 0, 0, 0, false}), DocStatus::badParameter);
    EXPECT_EQ(document.setWarp(envelope, Warp{1, 1.5f, 0, 0, false}), DocStatus::badParameter);
    EXPECT_EQ(document.setWarp(art, Warp{1, 0, 0, 0, false}), DocStatus::badArtType);
    EXPECT_EQ(document.makeEnvelope(&art, 1, art, AIEnvelopeOptions{0, 50}, &envelope),
              DocStatus::badParameter);

    ASSERT_EQ(document.undoChanges(), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{below, art, above}));
    document.endUndoContext();
}

TEST(DocumentArt, SymbolsHoldACopyOutsideTheLayer) {
    Document document;
    const ArtId art = newPath(document, kPlaceAboveAll, {{1, 2}});
    ArtId symbol = 0;
    ASSERT_EQ(document.newSymbol(art, false, &symbol), DocStatus::ok);
    EXPECT_EQ(layerIds(document), (std::vector<ArtId>{art}));
    ASSERT_NE(document.symbols().firstChild(), nullptr);
    EXPECT_EQ(document.symbols().firstChild()->id(), symbol);
    EXPECT_EQ(document.symbols().firstChild()->data().segments.front().p.v, 2.0f);
    EXPECT_TRUE(document.undo());
    EXPECT_EQ(document.symbols().firstChild(), nullptr);
}

TEST(DocumentStyles, NamedStylesApplyAndScaleTheirWidth) {
    Document document(DocumentFacts{kDocRGBColor, 612, 792, {}, 4, false});
    ASSERT_EQ(document.namedStyleCount(), 4);
    const ArtId art = newPath(document);
    EXPECT_EQ(document.applyNamedStyle(art, 4), DocStatus::badParameter);
    ASSERT_EQ(document.applyNamedStyle(art, 2), DocStatus::ok);
    const AIReal width = document.namedStyle(2)->style.stroke.width;
    EXPECT_EQ(document.find(art)->data().style.stroke.width, width);
    ASSERT_EQ(document.setStyleScale(art, 2.5f), DocStatus::ok);
    EXPECT_EQ(document.find(art)->data().style.stroke.width, width * 2.5f);
    EXPECT_EQ(document.find(art)->data().styleScale, 2.5f);
    ASSERT_EQ(document.setStyleScale(art, 1.0f), DocStatus::ok);
    EXPECT_EQ(document.find(art)->data().style.stroke.width, width);

    AIPathStyle bad = defaultPaint(kDocRGBColor);
    bad.fill.color.kind = 9;
    EXPECT_EQ(document.setPathStyle(art, bad), DocStatus::badParameter);
    EXPECT_EQ(document.setBlendMode(art, 16), DocStatus::badParameter);
    EXPECT_EQ(document.setOpacity(art, 3.0f), DocStatus::ok);
    EXPECT_EQ(document.find(art)->data().opacity, 1.0f); // clamped
}

TEST(DocumentSwatches, ListsStartWithTheTwoSpecialEntries) {
    EXPECT_TRUE(makeSwatchList(0).empty());
    const auto list = makeSwatchList(30, kDocCMYKColor);
    ASSERT_EQ(list.size(), 30u);
    EXPECT_EQ(list[0].kind, kNoneColor);
    EXPECT_EQ(list[1].kind, kFourColor); // registration: all inks
    EXPECT_EQ(list[1].value[0], 1.0f);
    for (size_t i = 2; i < list.size(); ++i) {
        EXPECT_EQ(list[i].kind, kFourColor);
        for (AIReal value : list[i].value) {
            EXPECT_GE(value, 0.0f);
            EXPECT_LE(value, 1.0f);
        }
    }
    // No two ordinary swatches alike.
    for (size_t i = 2; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
            EXPECT_FALSE(list[i].value[0] == list[j].value[0] && list[i].value[1] == list[j].value[1] &&
                         list[i].value[2] == list[j].value[2] && list[i].value[3] == list[j].value[3])
                << i << " " << j;
    EXPECT_EQ(makeSwatchList(5, kDocGrayColor)[2].kind, kGrayColor);
}

// ---- real math ----

TEST(DocumentRealMath, ConcatenationAppliesTheExistingMatrixFirst) {
    AIRealMatrix m{};
    realmath::setTranslate(m, 10.0f, 0.0f);
    realmath::concatScale(m, 2.0f, 3.0f);
    AIRealPoint p = realmath::apply(m, AIRealPoint{1.0f, 1.0f});
    EXPECT_EQ(p.h, 22.0f); // (1 + 10) * 2
    EXPECT_EQ(p.v, 3.0f);

    realmath::setIdentity(m);
    realmath::concatScale(m, 2.0f, 3.0f);
    realmath::concatTranslate(m, 10.0f, 0.0f);
    p = realmath::apply(m, AIRealPoint{1.0f, 1.0f});
    EXPECT_EQ(p.h, 12.0f); // 1 * 2 + 10
    EXPECT_EQ(p.v, 3.0f);

    realmath::setTranslate(m, 1.0f, 0.0f);
    realmath::concatRotate(m, realmath::degreeToRadian(90.0f));
    p = realmath::apply(m, AIRealPoint{0.0f, 0.0f});
    EXPECT_NEAR(p.h, 0.0f, 1e-6f);
    EXPECT_NEAR(p.v, 1.0f, 1e-6f); // translated first, then turned counter-clockwise
}

TEST(DocumentRealMath, PointAnglesRunCounterClockwiseFromThePositiveHorizontal) {
    EXPECT_FLOAT_EQ(realmath::degreeToRadian(180.0f), 3.14159265f);
    EXPECT_EQ(realmath::degreeToRadian(0.0f), 0.0f);
    const AIRealPoint origin{0, 0};
    EXPECT_FLOAT_EQ(realmath::pointAngle(origin, AIRealPoint{0, 5}), 3.14159265f / 2);
    EXPECT_FLOAT_EQ(realmath::pointAngle(origin, AIRealPoint{-1, 0}), 3.14159265f);
    EXPECT_FLOAT_EQ(realmath::pointAngle(origin, AIRealPoint{10, -10}), -3.14159265f / 4);
    EXPECT_EQ(realmath::pointAngle(AIRealPoint{3, 3}, AIRealPoint{3, 3}), 0.0f);
}

} // namespace
} // namespace zz
