// The undo journal's cost and exactness: segment writes are kept as ranges, open context or not, and undo and
// redo restore every state exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/document/Document.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using test::corner;

bool sameSegments(const std::vector<AIPathSegment>& a, const std::vector<AIPathSegment>& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

// A path made (and its history step closed) before the writes under test.
ArtId earlierPath(Document& document, int segments) {
    ArtId id = 0;
    document.beginUndoContext();
    EXPECT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &id), DocStatus::ok);
    std::vector<AIPathSegment> many(static_cast<size_t>(segments), corner(1, 1));
    if (segments > 0) {
        EXPECT_EQ(document.setSegments(id, 0, segments, many.data()), DocStatus::ok);
    }
    document.endUndoContext();
    return id;
}

// Journal bytes added by appending `count` segments one at a time to a path of `start` segments.
size_t bytesForAppends(bool inContext, int start, int count) {
    Document document;
    const ArtId path = earlierPath(document, start);
    if (inContext) document.beginUndoContext();
    const size_t before = document.journalBytes();
    for (int i = 0; i < count; ++i) {
        const AIPathSegment segment = corner(static_cast<AIReal>(i), 0);
        EXPECT_EQ(document.setSegments(path, start + i, 1, &segment), DocStatus::ok);
    }
    return document.journalBytes() - before;
}

TEST(DocumentJournal, SegmentWritesCostTheSegmentsWrittenNotThePath) {
    for (const bool inContext : {false, true}) {
        SCOPED_TRACE(inContext ? "inside a context" : "each write a step of its own");
        const size_t thousand = bytesForAppends(inContext, 0, 1000);
        const size_t twoThousand = bytesForAppends(inContext, 0, 2000);
        // Linear: twice the writes, about twice the bytes (copying whole paths would make it four times).
        EXPECT_GT(thousand, 0u);
        EXPECT_LE(twoThousand, thousand * 2 + thousand / 4);
        // And independent of what the path held before.
        EXPECT_LE(bytesForAppends(inContext, 20000, 1000), thousand + thousand / 4);
        EXPECT_LT(thousand / 1000, 400u); // bytes per write
    }
}

TEST(DocumentJournal, ChangesToOtherDataDoNotCopyThePath) {
    Document document;
    const ArtId path = earlierPath(document, 30000);
    const size_t before = document.journalBytes();
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(document.setOpacity(path, static_cast<AIReal>(i) / 100.0f), DocStatus::ok);
    EXPECT_LT((document.journalBytes() - before) / 100, 1000u);
}

TEST(DocumentJournal, UndoAndRedoRestoreOverwrittenRangesSizesAndOtherDataExactly) {
    for (const bool inContext : {false, true}) {
        SCOPED_TRACE(inContext ? "one context" : "each change a step of its own");
        Document document;
        ArtId shapeSource = 0;
        const ArtId path = earlierPath(document, 5);
        std::vector<AIPathSegment> start(5);
        for (int i = 0; i < 5; ++i)
            start[static_cast<size_t>(i)] = corner(static_cast<AIReal>(i), static_cast<AIReal>(-i));
        ASSERT_EQ(document.setSegments(path, 0, 5, start.data()), DocStatus::ok);
        shapeSource = earlierPath(document, 3);
        ArtId envelope = 0;
        const ArtId inside = earlierPath(document, 2);
        ASSERT_EQ(document.makeEnvelope(&inside, 1, shapeSource, AIEnvelopeOptions{0, 50}, &envelope),
                  DocStatus::ok);

        std::vector<std::vector<AIPathSegment>> states{document.find(path)->data().segments};
        std::vector<std::vector<AIPathSegment>> shapes{
            document.find(envelope)->data().envelopeShape[0].segments};
        const size_t stepsBefore = document.undoSteps();
        if (inContext) document.beginUndoContext();
        const AIPathSegment two[] = {corner(10, 10), corner(11, 11)};
        const AIPathSegment four[] = {corner(20, 0), corner(21, 0), corner(22, 0), corner(23, 0)};
        auto step = [&](DocStatus status) {
            ASSERT_EQ(status, DocStatus::ok);
            states.push_back(document.find(path)->data().segments);
            shapes.push_back(document.find(envelope)->data().envelopeShape[0].segments);
        };
        step(document.setSegments(path, 1, 2, two));  // inside
        step(document.setSegments(path, 3, 4, four)); // over the end: grows to 7
        step(document.setSegments(path, 7, 2, two));  // appended: 9
        step(document.setClosed(path, true));
        step(document.transform(path, AIRealMatrix{0, 1, -1, 0, 3, 4}, 2.0f, kTransformObjects));
        step(document.transform(envelope, AIRealMatrix{2, 0, 0, 2, 1, 1}, 1.0f, kTransformObjects));
        step(document.setSegments(path, 0, 1, four));
        if (inContext) document.endUndoContext();
        const size_t steps = document.undoSteps() - stepsBefore;
        ASSERT_EQ(steps, inContext ? 1u : states.size() - 1);

        auto expectState = [&](size_t index) {
            EXPECT_TRUE(sameSegments(document.find(path)->data().segments, states[index])) << index;
            EXPECT_TRUE(
                sameSegments(document.find(envelope)->data().envelopeShape[0].segments, shapes[index]))
                << index;
        };
        for (size_t i = 0; i < steps; ++i) {
            ASSERT_TRUE(document.undo());
            expectState(inContext ? 0 : states.size() - 2 - i);
        }
        EXPECT_FALSE(document.find(path)->data().closed);
        EXPECT_EQ(document.find(path)->data().style.stroke.width, 1.0f);
        for (size_t i = 0; i < steps; ++i) {
            ASSERT_TRUE(document.redo());
            expectState(inContext ? states.size() - 1 : i + 1);
        }
        EXPECT_TRUE(document.find(path)->data().closed);
        EXPECT_EQ(document.find(path)->data().style.stroke.width, 2.0f);
    }
}

} // namespace
} // namespace zz
