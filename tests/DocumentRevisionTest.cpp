// Revisions and what the document says changed since one: drags that replace or accumulate their art, undo
// and redo of whole drags and in the middle of one, resets and the bounded change log.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "host/document/Document.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using test::corner;
using Ids = std::vector<ArtId>;

// One generation of a drag as the tool makes it: `count` paths above all, each written segment by segment.
Ids generation(Document& document, int count, int segments = 10) {
    Ids ids;
    for (int i = 0; i < count; ++i) {
        ArtId id = 0;
        EXPECT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &id), DocStatus::ok);
        for (int s = 0; s < segments; ++s) {
            const AIPathSegment segment = corner(static_cast<AIReal>(i), static_cast<AIReal>(s));
            EXPECT_EQ(document.setSegments(id, s, 1, &segment), DocStatus::ok);
        }
        ids.push_back(id);
    }
    return ids;
}

Ids joined(Ids a, const Ids& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The delta's four lists, compared as a whole.
void expectDelta(const DocumentDelta& delta, const Ids& added, const Ids& removed, const Ids& changed,
                 const Ids& reordered) {
    EXPECT_FALSE(delta.everything);
    EXPECT_EQ(delta.added, added);
    EXPECT_EQ(delta.removed, removed);
    EXPECT_EQ(delta.changed, changed);
    EXPECT_EQ(delta.reordered, reordered);
}

TEST(DocumentRevision, EveryChangeRaisesTheRevisionAndRefusedCallsDoNot) {
    Document document(DocumentFacts{kDocRGBColor, 612, 792, {}, 2, false});
    uint64_t last = document.revision();
    auto raised = [&](const char* what) {
        EXPECT_GT(document.revision(), last) << what;
        last = document.revision();
    };
    auto same = [&](const char* what) { EXPECT_EQ(document.revision(), last) << what; };

    const Ids one = generation(document, 1, 1);
    raised("new art and segments");
    const ArtId path = one.front();
    ASSERT_EQ(document.setClosed(path, true), DocStatus::ok);
    raised("closed");
    ASSERT_EQ(document.setTag(path, "t", "v"), DocStatus::ok);
    raised("tag");
    ASSERT_EQ(document.applyNamedStyle(path, 1), DocStatus::ok);
    raised("named style");
    AIRealMatrix move{1, 0, 0, 1, 5, 5};
    ASSERT_EQ(document.transform(path, move, 1.0f, kTransformObjects), DocStatus::ok);
    raised("transform");
    ASSERT_TRUE(document.undo());
    raised("undo");
    ASSERT_TRUE(document.redo());
    raised("redo");
    document.beginUndoContext();
    generation(document, 1, 1);
    last = document.revision();
    ASSERT_EQ(document.undoChanges(), DocStatus::ok);
    raised("undoChanges");
    document.endUndoContext();
    same("closing a context changes no art");

    EXPECT_EQ(document.setOpacity(path, std::numeric_limits<AIReal>::quiet_NaN()), DocStatus::badParameter);
    EXPECT_EQ(document.setSegments(999999, 0, 1, nullptr), DocStatus::badHandle);
    EXPECT_EQ(document.setClosed(path, true), DocStatus::ok); // already closed: nothing to do
    EXPECT_FALSE(document.redo());
    same("refused and empty calls");
    EXPECT_EQ(document.changesSince(last).added, Ids{});

    document.reset(DocumentFacts{});
    raised("reset");
}

TEST(DocumentRevision, ADragThatReplacesItsGenerationReportsOnlyWhatEachEventChanged) {
    Document document;
    const Ids before = generation(document, 2); // earlier art, never touched by the drag
    const uint64_t atMouseDown = document.revision();
    document.beginUndoContext();
    Ids previous;
    for (int event = 0; event < 5; ++event) {
        const uint64_t atEvent = document.revision();
        ASSERT_EQ(document.undoChanges(), DocStatus::ok); // the tool without the trail
        const Ids current = generation(document, 3);
        // The previous generation went, the new one came; art made and undone within the event never shows.
        expectDelta(document.changesSince(atEvent), current, previous, {}, {});
        previous = current;
    }
    expectDelta(document.changesSince(atMouseDown), previous, {}, {}, {});
    const uint64_t beforeMouseUp = document.revision();
    document.endUndoContext();
    expectDelta(document.changesSince(beforeMouseUp), {}, {}, {}, {});
    EXPECT_EQ(document.changesSince(document.revision()).revision, document.revision());
    for (ArtId id : before)
        EXPECT_NE(document.find(id), nullptr);
}

TEST(DocumentRevision, ATrailDragAccumulatesItsArt) {
    Document document;
    const uint64_t atMouseDown = document.revision();
    document.beginUndoContext();
    Ids all;
    for (int event = 0; event < 4; ++event) {
        const uint64_t atEvent = document.revision();
        const Ids current = generation(document, 3);
        expectDelta(document.changesSince(atEvent), current, {}, {}, {});
        all = joined(all, current);
    }
    document.endUndoContext();
    expectDelta(document.changesSince(atMouseDown), all, {}, {}, {});
}

TEST(DocumentRevision, UndoAndRedoOfWholeDragsReportTheirArtComingAndGoing) {
    Document document;
    document.beginUndoContext();
    const Ids a = generation(document, 2);
    document.endUndoContext();
    document.beginUndoContext();
    const Ids b = generation(document, 1);
    ASSERT_EQ(document.setOpacity(a[0], 0.5f), DocStatus::ok);
    ASSERT_EQ(document.disposeArt(a[1]), DocStatus::ok);
    document.endUndoContext();

    const uint64_t afterDrags = document.revision();
    ASSERT_TRUE(document.undo());
    expectDelta(document.changesSince(afterDrags), {a[1]}, b, {a[0]}, {});
    const uint64_t afterUndo = document.revision();
    ASSERT_TRUE(document.redo());
    expectDelta(document.changesSince(afterUndo), b, {a[1]}, {a[0]}, {});
    // Over both: the drag's art was taken out and put back, the disposed art stays gone.
    expectDelta(document.changesSince(afterDrags), {}, {}, {a[0]}, b);

    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.undo());
    expectDelta(document.changesSince(afterDrags), {}, joined({a[0]}, b), {}, {});
}

TEST(DocumentRevision, AnUndoInTheMiddleOfADragClosesTheDragFirstAndLaterEventsAreStepsOfTheirOwn) {
    Document document;
    document.beginUndoContext();
    const Ids earlier = generation(document, 1);
    document.endUndoContext();

    document.beginUndoContext();
    ASSERT_EQ(document.undoChanges(), DocStatus::ok);
    const Ids first = generation(document, 2);
    const uint64_t beforeUndo = document.revision();
    ASSERT_TRUE(document.undo()); // takes back the drag so far, not the earlier drag
    EXPECT_FALSE(document.undoContextOpen());
    expectDelta(document.changesSince(beforeUndo), {}, first, {}, {});
    ASSERT_NE(document.find(earlier[0]), nullptr);

    // The next drag event: no context is open, so undoChanges does nothing and each change is a step.
    const uint64_t afterUndo = document.revision();
    EXPECT_EQ(document.undoChanges(), DocStatus::noContext);
    const Ids second = generation(document, 2, 3);
    expectDelta(document.changesSince(afterUndo), second, {}, {}, {});
    EXPECT_EQ(document.undoSteps(), 1u + 2u * (1u + 3u));

    // Undoing one such step takes back one segment.
    const uint64_t beforeStep = document.revision();
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.find(second[1])->data().segments.size(), 2u);
    expectDelta(document.changesSince(beforeStep), {}, {}, {second[1]}, {});
}

TEST(DocumentRevision, ARedoInTheMiddleOfADragFindsNothingToRedoOnceTheDragIsClosed) {
    Document document;
    document.beginUndoContext();
    const Ids undone = generation(document, 1);
    document.endUndoContext();
    ASSERT_TRUE(document.undo());

    document.beginUndoContext();
    const Ids drag = generation(document, 2);
    const uint64_t beforeRedo = document.revision();
    EXPECT_FALSE(document.redo()); // the drag became the newest step, which leaves nothing to redo
    EXPECT_FALSE(document.undoContextOpen());
    expectDelta(document.changesSince(beforeRedo), {}, {}, {}, {});
    const Ids after = generation(document, 1);
    expectDelta(document.changesSince(beforeRedo), after, {}, {}, {});
    EXPECT_EQ(document.find(undone[0]), nullptr);
    const uint64_t beforeUndo = document.revision();
    ASSERT_TRUE(document.undo()); // the last step wrote the new path's last segment
    expectDelta(document.changesSince(beforeUndo), {}, {}, after, {});
    ASSERT_NE(document.find(after[0]), nullptr);
    EXPECT_EQ(document.find(after[0])->data().segments.size(), 9u);
}

TEST(DocumentRevision, MovesBetweenContainersAreReorderedAndInnerArtComesWithItsContainer) {
    Document document;
    const Ids art = generation(document, 3, 2);
    ArtId group = 0, inner = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    const uint64_t start = document.revision();
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &inner), DocStatus::ok);
    ArtId copy = 0, shape = 0, envelope = 0;
    ASSERT_EQ(document.duplicateArt(group, kPlaceBelowAll, 0, &copy), DocStatus::ok);
    ASSERT_EQ(document.duplicateArt(art[0], kPlaceAboveAll, 0, &shape), DocStatus::ok);
    ASSERT_EQ(document.makeEnvelope(&art[1], 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    // The copy's inner path is not listed: it came with the copy. The shape came and went.
    expectDelta(document.changesSince(start), {inner, copy, envelope}, {}, {}, {art[1]});
    const uint64_t beforeDispose = document.revision();
    ASSERT_EQ(document.disposeArt(group), DocStatus::ok);
    expectDelta(document.changesSince(beforeDispose), {}, {group}, {}, {});
}

TEST(DocumentRevision, RevisionsTheLogCannotAnswerForAreEverything) {
    Document document;
    generation(document, 1);
    const uint64_t beforeReset = document.revision();
    document.reset(DocumentFacts{});
    EXPECT_TRUE(document.changesSince(beforeReset).everything);
    EXPECT_TRUE(document.changesSince(document.revision() + 1).everything);
    EXPECT_FALSE(document.changesSince(document.revision()).everything);

    document.setChangeLogLimit(16);
    const uint64_t old = document.revision();
    generation(document, 20, 1); // two records a path: the log drops its older half more than once
    EXPECT_TRUE(document.changesSince(old).everything);
    const uint64_t recent = document.revision();
    const Ids last = generation(document, 3, 1);
    expectDelta(document.changesSince(recent), last, {}, {}, {});
}

} // namespace
} // namespace zz
