// The document suites as a plug-in sees them: acquired through the basic suite of a current host, handles and
// statuses as the interface headers document them.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "AIArt.h"
#include "AIArtStyle.h"
#include "AIBlendStyle.h"
#include "AIDocument.h"
#include "AIEnvelope.h"
#include "AIPath.h"
#include "AIPathStyle.h"
#include "AIRandom.h"
#include "AIRealMath.h"
#include "AISwatchList.h"
#include "AISymbol.h"
#include "AITag.h"
#include "AITransformArt.h"
#include "AIUndo.h"
#include "host/core/Host.h"

namespace zz {
namespace {

class SuiteDocument : public ::testing::Test {
  protected:
    SuiteDocument() : scope_(host_) {
        DocumentFacts facts;
        facts.colorModel = kDocGrayColor;
        facts.pageWidth = 300.0f;
        facts.pageHeight = 200.0f;
        facts.swatches = makeSwatchList(5, kDocGrayColor);
        facts.namedStyles = 3;
        host_.document().reset(facts);
        art = acquire<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
        path = acquire<AIPathSuite>(kAIPathSuite, kAIPathSuiteVersion);
        style = acquire<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
        undo = acquire<AIUndoSuite>(kAIUndoSuite, kAIUndoSuiteVersion);
        math = acquire<AIRealMathSuite>(kAIRealMathSuite, kAIRealMathSuiteVersion);
        document = acquire<AIDocumentSuite>(kAIDocumentSuite, kAIDocumentSuiteVersion);
        swatches = acquire<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);
        artStyle = acquire<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
        blend = acquire<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
        transform = acquire<AITransformArtSuite>(kAITransformArtSuite, kAITransformArtSuiteVersion);
        envelope = acquire<AIEnvelopeSuite>(kAIEnvelopeSuite, kAIEnvelopeSuiteVersion);
        symbol = acquire<AISymbolSuite>(kAISymbolSuite, kAISymbolSuiteVersion);
        tag = acquire<AITagSuite>(kAITagSuite, kAITagSuiteVersion);
        random = acquire<AIRandomSuite>(kAIRandomSuite, kAIRandomSuiteVersion);
    }

    template <typename Suite> const Suite* acquire(const char* name, int32_t version) {
        const void* table = nullptr;
        EXPECT_EQ(host_.basicSuite()->AcquireSuite(name, version, &table), kSPNoError) << name;
        return static_cast<const Suite*>(table);
    }

    AIArtHandle newPathWith(std::vector<AIRealPoint> points, int16_t order = kPlaceAboveAll) {
        AIArtHandle handle = nullptr;
        EXPECT_EQ(art->NewArt(kPathArt, order, nullptr, &handle), kSPNoError);
        for (size_t i = 0; i < points.size(); ++i) {
            AIPathSegment segment{};
            segment.p = segment.in = segment.out = points[i];
            EXPECT_EQ(path->SetPathSegments(handle, static_cast<int16_t>(i), 1, &segment), kSPNoError);
        }
        return handle;
    }

    Host host_;
    CurrentHost scope_;
    const AIArtSuite* art = nullptr;
    const AIPathSuite* path = nullptr;
    const AIPathStyleSuite* style = nullptr;
    const AIUndoSuite* undo = nullptr;
    const AIRealMathSuite* math = nullptr;
    const AIDocumentSuite* document = nullptr;
    const AISwatchListSuite* swatches = nullptr;
    const AIArtStyleSuite* artStyle = nullptr;
    const AIBlendStyleSuite* blend = nullptr;
    const AITransformArtSuite* transform = nullptr;
    const AIEnvelopeSuite* envelope = nullptr;
    const AISymbolSuite* symbol = nullptr;
    const AITagSuite* tag = nullptr;
    const AIRandomSuite* random = nullptr;
};

TEST_F(SuiteDocument, UndoneArtIsABadHandleNeverAUseAfterFree) {
    host_.document().beginUndoContext();
    AIArtHandle made = newPathWith({{0, 0}, {1, 1}});
    ASSERT_EQ(undo->UndoChanges(), kSPNoError);
    int16_t type = 0, count = 0;
    AIRealRect bounds{};
    AIPathStyle read{};
    EXPECT_EQ(art->GetArtType(made, &type), kSPBadHandleError);
    EXPECT_EQ(art->GetArtBounds(made, &bounds), kSPBadHandleError);
    EXPECT_EQ(path->GetPathSegmentCount(made, &count), kSPBadHandleError);
    EXPECT_EQ(style->GetPathStyle(made, &read), kSPBadHandleError);
    EXPECT_EQ(blend->SetOpacity(made, 0.5f), kSPBadHandleError);
    EXPECT_EQ(blend->GetOpacity(made), 1.0f);
    AIArtHandle copy = nullptr;
    EXPECT_EQ(art->DuplicateArt(made, kPlaceAboveAll, made, &copy), kSPBadHandleError);
    host_.document().endUndoContext();
    EXPECT_EQ(undo->UndoChanges(), kNotNowErr); // no drag open
    EXPECT_EQ(art->GetArtType(reinterpret_cast<AIArtHandle>(0x7fffffff), &type), kSPBadHandleError);
    EXPECT_EQ(art->GetArtType(nullptr, &type), kSPBadHandleError);
}

TEST_F(SuiteDocument, PathSegmentsAreReadWrittenClosedAndCappedAt32767) {
    AIArtHandle made = newPathWith({{0, 0}, {10, -5}, {0, -10}});
    int16_t count = 0;
    ASSERT_EQ(path->GetPathSegmentCount(made, &count), kSPNoError);
    EXPECT_EQ(count, 3);
    AIPathSegment read[2]{};
    ASSERT_EQ(path->GetPathSegments(made, 1, 2, read), kSPNoError);
    EXPECT_EQ(read[0].p.h, 10.0f);
    EXPECT_EQ(read[1].p.v, -10.0f);
    EXPECT_EQ(path->GetPathSegments(made, 2, 2, read), kSPBadParameterError);
    EXPECT_EQ(path->SetPathSegments(made, 5, 1, read), kSPBadParameterError);
    EXPECT_EQ(path->SetPathSegments(made, 3, 1, nullptr), kSPBadParameterError);

    std::vector<AIPathSegment> many(32764, read[0]);
    ASSERT_EQ(path->SetPathSegments(made, 3, static_cast<int16_t>(many.size()), many.data()), kSPNoError);
    ASSERT_EQ(path->GetPathSegmentCount(made, &count), kSPNoError);
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(path->SetPathSegments(made, 32767, 1, read), kTooManySegmentsErr);

    AIBoolean closed = 1;
    ASSERT_EQ(path->GetPathClosed(made, &closed), kSPNoError);
    EXPECT_EQ(closed, 0);
    ASSERT_EQ(path->SetPathClosed(made, 1), kSPNoError);
    ASSERT_EQ(path->GetPathClosed(made, &closed), kSPNoError);
    EXPECT_EQ(closed, 1);

    AIArtHandle group = nullptr;
    ASSERT_EQ(art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &group), kSPNoError);
    EXPECT_EQ(path->GetPathSegmentCount(group, &count), kBadArtTypeErr);
    EXPECT_EQ(path->SetPathClosed(group, 1), kBadArtTypeErr);
}

TEST_F(SuiteDocument, SiblingsChildrenAndBoundsFollowTheTreeAndDisposingTakesTheChildren) {
    AIArtHandle bottom = newPathWith({{0, 0}}, kPlaceBelowAll);
    AIArtHandle compound = nullptr, child = nullptr;
    ASSERT_EQ(art->NewArt(kCompoundPathArt, kPlaceAboveAll, nullptr, &compound), kSPNoError);
    ASSERT_EQ(art->NewArt(kPathArt, kPlaceInsideOnTop, compound, &child), kSPNoError);
    AIPathSegment segment{};
    segment.p = segment.in = segment.out = AIRealPoint{4, 8};
    ASSERT_EQ(path->SetPathSegments(child, 0, 1, &segment), kSPNoError);

    AIArtHandle found = nullptr;
    ASSERT_EQ(art->GetArtSibling(bottom, &found), kSPNoError);
    EXPECT_EQ(found, compound);
    ASSERT_EQ(art->GetArtSibling(compound, &found), kSPNoError);
    EXPECT_EQ(found, nullptr);
    ASSERT_EQ(art->GetArtFirstChild(compound, &found), kSPNoError);
    EXPECT_EQ(found, child);
    ASSERT_EQ(art->GetArtFirstChild(bottom, &found), kSPNoError);
    EXPECT_EQ(found, nullptr);
    int16_t type = 0;
    ASSERT_EQ(art->GetArtType(compound, &type), kSPNoError);
    EXPECT_EQ(type, kCompoundPathArt);
    AIRealRect bounds{};
    ASSERT_EQ(art->GetArtBounds(compound, &bounds), kSPNoError);
    EXPECT_EQ(bounds.left, 4.0f);
    EXPECT_EQ(bounds.top, 8.0f);
    EXPECT_EQ(art->GetArtBounds(compound, nullptr), kSPBadParameterError);
    EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, nullptr), kSPBadParameterError);

    ASSERT_EQ(art->DisposeArt(compound), kSPNoError);
    EXPECT_EQ(art->GetArtType(child, &type), kSPBadHandleError); // the children go with it
}

TEST_F(SuiteDocument, DocumentFactsSwatchesAndNamedStylesAreThoseTheHostWasGiven) {
    int16_t model = -1;
    ASSERT_EQ(document->GetDocumentColorModel(&model), kSPNoError);
    EXPECT_EQ(model, kDocGrayColor);
    AIDocumentSetup setup{};
    ASSERT_EQ(document->GetDocumentSetup(&setup), kSPNoError);
    EXPECT_EQ(setup.width, 300.0f);
    EXPECT_EQ(setup.height, 200.0f);
    EXPECT_EQ(document->GetDocumentSetup(nullptr), kSPBadParameterError);

    EXPECT_EQ(swatches->CountSwatches(nullptr), 5);
    EXPECT_EQ(swatches->GetNthSwatch(nullptr, 5), nullptr);
    EXPECT_EQ(swatches->GetNthSwatch(nullptr, -1), nullptr);
    AIColor color{};
    ASSERT_EQ(swatches->GetSwatchColor(swatches->GetNthSwatch(nullptr, 0), &color), kSPNoError);
    EXPECT_EQ(color.kind, kNoneColor);
    ASSERT_EQ(swatches->GetSwatchColor(swatches->GetNthSwatch(nullptr, 3), &color), kSPNoError);
    EXPECT_EQ(color.kind, kGrayColor);
    EXPECT_EQ(swatches->GetSwatchColor(nullptr, &color), kSPBadHandleError);

    int32_t count = 0;
    ASSERT_EQ(artStyle->CountNamedArtStyles(&count), kSPNoError);
    EXPECT_EQ(count, 3);
    AIArtStyleHandle named = nullptr;
    EXPECT_EQ(artStyle->GetNthNamedArtStyle(3, &named), kSPBadParameterError);
    ASSERT_EQ(artStyle->GetNthNamedArtStyle(1, &named), kSPNoError);
    AIArtHandle made = newPathWith({{0, 0}});
    EXPECT_EQ(artStyle->GetArtStyleScaleFactor(made), 1.0f);
    ASSERT_EQ(artStyle->SetArtStyle(made, named), kSPNoError);
    ASSERT_EQ(artStyle->SetArtStyleScaleFactor(made, artStyle->GetArtStyleScaleFactor(made) * 2.0f),
              kSPNoError);
    EXPECT_EQ(artStyle->GetArtStyleScaleFactor(made), 2.0f);
    AIPathStyle read{};
    ASSERT_EQ(style->GetPathStyle(made, &read), kSPNoError);
    EXPECT_EQ(read.stroke.width, host_.document().namedStyle(1)->style.stroke.width * 2.0f);
    EXPECT_EQ(artStyle->SetArtStyle(made, reinterpret_cast<AIArtStyleHandle>(99)), kSPBadHandleError);
}

TEST_F(SuiteDocument, RealMathTurnsCounterClockwiseAndConcatenatesInOrder) {
    AIRealMatrix m{};
    // About the centre (5, 5): the point (10, 5) turns a quarter to (5, 10).
    math->AIRealMatrixSetTranslate(&m, -5.0f, -5.0f);
    math->AIRealMatrixConcatRotate(&m, math->DegreeToRadian(90.0f));
    math->AIRealMatrixConcatTranslate(&m, 5.0f, 5.0f);
    AIArtHandle made = newPathWith({{10, 5}});
    ASSERT_EQ(transform->TransformArt(made, &m, 1.0f, 15), kSPNoError);
    AIPathSegment read{};
    ASSERT_EQ(path->GetPathSegments(made, 0, 1, &read), kSPNoError);
    EXPECT_NEAR(read.p.h, 5.0f, 1e-5f);
    EXPECT_NEAR(read.p.v, 10.0f, 1e-5f);

    math->AIRealMatrixSetIdentity(&m);
    math->AIRealMatrixConcatTranslate(&m, 1.0f, 0.0f);
    math->AIRealMatrixConcatScale(&m, -1.0f, 1.0f); // mirror after the move
    ASSERT_EQ(transform->TransformArt(made, &m, 1.0f, kTransformObjects), kSPNoError);
    ASSERT_EQ(path->GetPathSegments(made, 0, 1, &read), kSPNoError);
    EXPECT_NEAR(read.p.h, -6.0f, 1e-5f);
    EXPECT_EQ(transform->TransformArt(made, nullptr, 1.0f, 1), kSPBadParameterError);

    const AIRealPoint a{0, 0}, b{-3, -3};
    EXPECT_FLOAT_EQ(math->AIRealPointAngle(&a, &b), -3.0f * 3.14159265f / 4.0f);
}

TEST_F(SuiteDocument, TagsAreCutToTheBufferOpacityIsClampedAndOnlyEnvelopesTakeAWarp) {
    AIArtHandle made = newPathWith({{0, 0}, {5, 5}});
    EXPECT_EQ(tag->SetTag(made, "multi-tool", "integer", "x"), kSPBadParameterError);
    ASSERT_EQ(tag->SetTag(made, "multi-tool", kTagStringType, "multi-tool"), kSPNoError);
    char value[6];
    ASSERT_EQ(tag->GetTag(made, "multi-tool", value, sizeof(value)), kSPNoError);
    EXPECT_STREQ(value, "multi"); // cut to the buffer, terminated
    EXPECT_EQ(tag->GetTag(made, "other", value, sizeof(value)), kResourceNotFoundErr);

    ASSERT_EQ(blend->SetOpacity(made, -2.0f), kSPNoError);
    EXPECT_EQ(blend->GetOpacity(made), 0.0f);
    EXPECT_EQ(blend->SetBlendingMode(made, 16), kSPBadParameterError);
    ASSERT_EQ(blend->SetBlendingMode(made, 15), kSPNoError);
    EXPECT_EQ(blend->GetBlendingMode(made), 15);

    AIArtHandle shape = nullptr, wrapped = nullptr;
    ASSERT_EQ(art->DuplicateArt(made, kPlaceAboveAll, made, &shape), kSPNoError);
    const AIEnvelopeOptions options{0, 50};
    ASSERT_EQ(envelope->MakeEnvelope(&made, 1, shape, &options, &wrapped), kSPNoError);
    EXPECT_EQ(envelope->ResetWithWarp(made, 1, 0, 0, 0, 0), kBadArtTypeErr);
    EXPECT_EQ(envelope->ResetWithWarp(wrapped, 0, 0, 0, 0, 0), kSPBadParameterError);
    ASSERT_EQ(envelope->ResetWithWarp(wrapped, 15, -1.0f, 0.5f, 1.0f, 1), kSPNoError);
    int16_t type = 0;
    ASSERT_EQ(art->GetArtType(wrapped, &type), kSPNoError);
    EXPECT_EQ(type, kEnvelopeArt);

    AIPatternHandle definition = nullptr;
    ASSERT_EQ(symbol->NewSymbolPattern(&definition, wrapped, 0), kSPNoError);
    EXPECT_NE(definition, nullptr);
    EXPECT_EQ(symbol->NewSymbolPattern(nullptr, wrapped, 0), kSPBadParameterError);
}

TEST_F(SuiteDocument, RandomTakesTheListedNumbersFirstThenTheSeededSequence) {
    host_.random().queue(0.25f);
    host_.random().queue(1.0f);
    EXPECT_EQ(random->FloatRnd(), 0.25f);
    EXPECT_EQ(random->FloatRnd(), 1.0f);
    random->SetRndSeed(7);
    const AIReal first = random->FloatRnd();
    random->SetRndSeed(7);
    EXPECT_EQ(random->FloatRnd(), first);
    for (int i = 0; i < 1000; ++i) {
        const AIReal r = random->FloatRnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LE(r, 1.0f);
    }
}

} // namespace
} // namespace zz
