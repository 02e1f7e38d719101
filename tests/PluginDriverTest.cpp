// The generation driver's arithmetic, draw order and control flow against small fake suites.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PluginFakeSuites.h"
#include "PluginGenerationFixture.h"
#include "plugin/tool/GenerationDriver.h"
#include "plugin/tool/ZigzagTool.h"

namespace {

using pluginfakes::anchorsOf;
using pluginfakes::fake;

struct Anchor {
    float h, v;
};
using Anchors = std::vector<Anchor>;

void expectAnchors(const std::vector<AIRealPoint>& actual, const Anchors& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i].h, expected[i].h) << "anchor " << i;
        EXPECT_FLOAT_EQ(actual[i].v, expected[i].v) << "anchor " << i;
    }
}

class PluginDriver : public pluginfakes::GenerationFixture {
  protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        record.zigzagElements = 3;
        press(0.0f, 0.0f);
    }
    void press(float h, float v) {
        AIToolMessage message = {};
        message.d = pluginfakes::fakeMessageData();
        message.cursor = {h, v};
        ASSERT_EQ(dispatchToolMessage(kCallerAITool, kSelectorAIToolMouseDown, &message), kSPNoError);
    }
    SPErr drag(float h, float v, int16_t pressure = kMaxPointPressure) {
        return generateZigzagArt(h, v, pressure);
    }
};

// The design 0 example: P (0, 0), E (10, -30), three elements.
const Anchors kNineAnchors = {{0, 0},   {10, -5}, {0, -10},  {0, -10}, {10, -15},
                              {0, -20}, {0, -20}, {10, -25}, {0, -30}};

TEST_F(PluginDriver, ThreeElementsOfDesignZeroMakeNineAnchorsInOnePath) {
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(fake.paths[0].paintOrder, kPlaceAboveAll);
    EXPECT_FALSE(fake.paths[0].closed);
    expectAnchors(anchorsOf(0), kNineAnchors);
    for (const AIPathSegment& segment : fake.paths[0].segments) {
        EXPECT_EQ(segment.in.h, segment.p.h);
        EXPECT_EQ(segment.in.v, segment.p.v);
        EXPECT_EQ(segment.out.h, segment.p.h);
        EXPECT_EQ(segment.out.v, segment.p.v);
        EXPECT_EQ(segment.corner, 1);
    }
    EXPECT_EQ(fake.undoCalls, 1);
    // The points draw nothing; finishing the path draws the path jitter's four numbers.
    EXPECT_EQ(fake.randomDraws, 4);
    EXPECT_EQ(record.dragPointX, 10.0f);
    EXPECT_EQ(record.dragPointY, -30.0f);
    EXPECT_EQ(record.cumulativeReflectScaleX, 1.0f);
    EXPECT_EQ(record.cumulativeReflectScaleY, 1.0f);
}

TEST_F(PluginDriver, AlternateMirrorFlipsOddElementsAcrossTheMidline) {
    record.alternateMirror = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(
        anchorsOf(0),
        {{0, 0}, {10, -5}, {0, -10}, {10, -10}, {0, -15}, {10, -20}, {0, -20}, {10, -25}, {0, -30}});
}

TEST_F(PluginDriver, FlattenAlternateKeepsOnlyTheLastPointOfOddElements) {
    record.flattenAlternate = 1;
    record.alternateMirror = 1; // has no effect while flattening
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {10, -5}, {0, -10}, {0, -20}, {0, -20}, {10, -25}, {0, -30}});
}

TEST_F(PluginDriver, GroupScalingJoinsEachElementToThePrevious) {
    record.horizontalGroupScalingFactor = 2.0f;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(
        anchorsOf(0),
        {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {15, -15}, {-5, -20}, {-5, -20}, {25, -25}, {-15, -30}});
}

TEST_F(PluginDriver, EvenElementsTwiceAsTallRunPastTheCursor) {
    record.scalingPattern1BFactor = 2.0f;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(
        anchorsOf(0),
        {{0, 0}, {10, -10}, {0, -20}, {0, -20}, {10, -25}, {0, -30}, {0, -30}, {10, -40}, {0, -50}});
}

TEST_F(PluginDriver, HorizontalPatternScalesOddElementsAboutTheMidline) {
    record.scalingPattern2AFactor = 0.5f;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    const auto anchors = anchorsOf(0);
    ASSERT_EQ(anchors.size(), 9u);
    EXPECT_FLOAT_EQ(anchors[1].h, 10.0f);
    EXPECT_FLOAT_EQ(anchors[3].h, 2.5f);
    EXPECT_FLOAT_EQ(anchors[4].h, 7.5f);
    EXPECT_FLOAT_EQ(anchors[7].h, 10.0f);
}

TEST_F(PluginDriver, PointCapOfOneLetsThreePointsThrough) {
    record.maxPointsPerZigzag = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {10, -5}, {0, -10}});
}

TEST_F(PluginDriver, RandomPointCapIsAtLeastOne) {
    record.randomMaxPoints = 1;
    fake.randomValues = {0.0001f};
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(anchorsOf(0).size(), 3u);
    EXPECT_EQ(fake.randomDraws, 1 + 4); // the cap, then the path jitter
}

TEST_F(PluginDriver, PointsPerGroupBoundsTheTemplatePositionsRead) {
    record.maxPointsPerGroup = 5;
    record.designIndex1 = 4; // ten points: (0,0) (0,0.1) (1,0.1) ...
    record.designIndex2 = 4;
    record.zigzagElements = 2;
    ASSERT_EQ(drag(10.0f, -20.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {0, -1}, {10, -1}, {0, -10}, {0, -11}, {10, -11}});
}

TEST_F(PluginDriver, OddElementsFollowDesignTwoUnlessLinked) {
    record.designIndex1 = 0;
    record.designIndex2 = 63; // (0,0) (1,1)
    record.zigzagElements = 2;
    ASSERT_EQ(drag(10.0f, -20.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -20}});
    record.linkZigzag2To1 = 1;
    ASSERT_EQ(drag(10.0f, -20.0f), kSPNoError);
    expectAnchors(anchorsOf(1), {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -15}, {0, -20}});
}

TEST_F(PluginDriver, RandomDesignsDrawTwiceAndFollowTheSecond) {
    record.randomDesignType = 1;
    record.zigzagElements = 1;
    // a = trunc(0.99 x 62) = 61 (Blank2, x = 1 throughout), b = 0 (the arrow).
    fake.randomValues = {0.99f, 0.0f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {10, -5}, {0, -10}});
    // Linked, the element follows the first draw.
    record.linkZigzag2To1 = 1;
    fake.randomValues = {0.99f, 0.0f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    expectAnchors(anchorsOf(1), {{10, 0}, {10, -5}, {10, -10}});
    EXPECT_EQ(fake.randomDraws, 2 * (2 + 4)); // per drag the two designs, then the path jitter
}

TEST_F(PluginDriver, JitterDrawsSignBeforeMagnitudeVerticalFirst) {
    record.zigzagElements = 1;
    record.jitterPointsY = 2.0f;
    record.jitterPointsX = 4.0f;
    // Per point: sign y (0.9 -> -1), magnitude y, sign x (0.1 -> +1), magnitude x.
    fake.randomValues = {0.9f, 0.5f, 0.1f, 0.25f, 0.2f, 1.0f, 0.7f, 0.5f, 0.5f, 0.0f, 0.5f, 0.0f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{1, -1}, {8, -3}, {0, -10}});
    EXPECT_EQ(fake.randomDraws, 12 + 4); // then the path jitter
}

TEST_F(PluginDriver, ElementShiftsSkipPointsOnTheTemplateAxis) {
    record.zigzagElements = 2;
    record.evenElementShiftX = 5.0f;
    record.evenElementShiftY = -1.0f;
    record.oddElementShiftX = 100.0f;
    ASSERT_EQ(drag(10.0f, -20.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {15, -6}, {0, -10}, {0, -10}, {110, -15}, {0, -20}});
}

TEST_F(PluginDriver, CurveHandlesTakeTheirOffsetsAndRandomFactorsInOrder) {
    record.zigzagElements = 1;
    record.curve1X = 1.0f;
    record.curve1Y = 2.0f;
    record.curve2X = 3.0f;
    record.curve2Y = 4.0f;
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 1u);
    ASSERT_EQ(fake.paths[0].segments.size(), 3u);
    const AIPathSegment plain = fake.paths[0].segments[1];
    EXPECT_FLOAT_EQ(plain.in.h, 11.0f);
    EXPECT_FLOAT_EQ(plain.in.v, -2.0f);
    EXPECT_FLOAT_EQ(plain.out.h, 12.0f);
    EXPECT_FLOAT_EQ(plain.out.v, -1.0f);

    record.randomCurve = 1;
    fake.randomValues = {0.5f, 0.25f, 0.125f, 1.0f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 2u);
    ASSERT_EQ(fake.paths[1].segments.size(), 3u);
    const AIPathSegment first = fake.paths[1].segments[0];
    EXPECT_FLOAT_EQ(first.in.h, 0.5f);   // curve1X x r1
    EXPECT_FLOAT_EQ(first.out.h, 0.5f);  // curve1Y x r2
    EXPECT_FLOAT_EQ(first.in.v, 0.375f); // curve2X x r3
    EXPECT_FLOAT_EQ(first.out.v, 4.0f);  // curve2Y x r4
}

TEST_F(PluginDriver, RandomCreateElementsDropsPointsAboveHalf) {
    record.zigzagElements = 1;
    record.randomCreateElements = 1;
    fake.randomValues = {0.2f, 0.8f, 0.5f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {0, -10}});
}

TEST_F(PluginDriver, RandomDistancesScaleTheTemplateCoordinates) {
    record.zigzagElements = 1;
    record.randomHorizontalDistance = 1;
    record.randomVerticalDistance = 1;
    // Per point: x factor, then y factor.
    fake.randomValues = {1.0f, 1.0f, 0.5f, 0.5f, 1.0f, 0.5f};
    ASSERT_EQ(drag(10.0f, -10.0f), kSPNoError);
    expectAnchors(anchorsOf(0), {{0, 0}, {5, -2.5f}, {0, -5}});
}

TEST_F(PluginDriver, LockedEndPointTakesTheCursorsHorizontalValue) {
    record.lockedVerticalHorizontal = 1;
    ASSERT_EQ(drag(30.0f, 80.0f), kSPNoError);
    const auto anchors = anchorsOf(0);
    ASSERT_EQ(anchors.size(), 9u);
    EXPECT_FLOAT_EQ(anchors[1].h, 30.0f);
    EXPECT_FLOAT_EQ(anchors[8].v, 30.0f);
    EXPECT_EQ(record.dragPointY, 80.0f);
}

TEST_F(PluginDriver, ZeroDragDrawsNothingAndAnswersThePressureStatus) {
    press(5.0f, 5.0f);
    ASSERT_EQ(drag(5.0f, 5.0f), kSPNoError);
    EXPECT_TRUE(fake.paths.empty());
    fake.pressureStatus = kSPUnimplementedError;
    EXPECT_EQ(drag(5.0f, 5.0f), kSPUnimplementedError);
    EXPECT_TRUE(fake.paths.empty());
}

TEST_F(PluginDriver, FlatDragsStayOnTheirLines) {
    ASSERT_EQ(drag(0.0f, -30.0f), kSPNoError);
    const auto upright = anchorsOf(0);
    ASSERT_EQ(upright.size(), 9u);
    for (const AIRealPoint& anchor : upright)
        EXPECT_EQ(anchor.h, 0.0f);
    ASSERT_EQ(drag(10.0f, 0.0f), kSPNoError);
    const auto flat = anchorsOf(1);
    ASSERT_EQ(flat.size(), 9u);
    for (const AIRealPoint& anchor : flat)
        EXPECT_EQ(anchor.v, 0.0f);
}

TEST_F(PluginDriver, FullPressureKeepsTheElementCount) {
    record.pressureGroups = 1;
    record.zigzagElements = 10;
    fake.hasPressure = 1;
    ASSERT_EQ(drag(10.0f, -30.0f, 255), kSPNoError);
    EXPECT_EQ(anchorsOf(0).size(), 30u);
}

TEST_F(PluginDriver, HalfPressureHalvesTheElementCount) {
    record.pressureGroups = 1;
    record.zigzagElements = 10;
    fake.hasPressure = 1;
    ASSERT_EQ(drag(10.0f, -30.0f, 128), kSPNoError);
    EXPECT_EQ(anchorsOf(0).size(), 15u);
    // Five elements share the drag: each is a fifth of it tall.
    EXPECT_FLOAT_EQ(anchorsOf(0)[2].v, -6.0f);
}

TEST_F(PluginDriver, NoPressureStillMakesAndFinishesAnEmptyPath) {
    record.pressureGroups = 1;
    fake.hasPressure = 1;
    ASSERT_EQ(drag(10.0f, -30.0f, 0), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 1u);
    EXPECT_TRUE(fake.paths[0].segments.empty());
}

TEST_F(PluginDriver, WithoutAPenThePressureValueIsIgnored) {
    record.pressureGroups = 1;
    fake.hasPressure = 0;
    ASSERT_EQ(drag(10.0f, -30.0f, 0), kSPNoError);
    EXPECT_EQ(anchorsOf(0).size(), 9u);
}

TEST_F(PluginDriver, SlowdownLetsEveryThirdEventGenerate) {
    record.applySlowdown = 2;
    std::vector<int> generatingEvents;
    for (int event = 1; event <= 9; ++event) {
        size_t before = fake.paths.size();
        ASSERT_EQ(drag(10.0f, -30.0f - static_cast<float>(event)), kSPNoError);
        if (fake.paths.size() > before) generatingEvents.push_back(event);
    }
    EXPECT_EQ(generatingEvents, std::vector<int>({3, 6, 9}));
    EXPECT_EQ(fake.undoCalls, 3);
    EXPECT_EQ(record.dragEventCounter, 0.0f);
    EXPECT_EQ(record.dragPointY, -39.0f);
    // A new press restarts the count, whatever the last drag left.
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(record.dragEventCounter, 1.0f);
    press(1.0f, 2.0f);
    EXPECT_EQ(record.dragEventCounter, 0.0f);
    EXPECT_EQ(record.pressPointX, 1.0f);
    EXPECT_EQ(record.pressPointY, 2.0f);
}

TEST_F(PluginDriver, TrailKeepsEarlierGenerationsUnlessTheAlternateKeyIsHeld) {
    record.trailCursor = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(fake.undoCalls, 0);
    fake.modifiers = kAlternateModifier;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(fake.undoCalls, 1);
}

TEST_F(PluginDriver, StepAndAlternateKeysStepBothDesignsAndWrap) {
    record.designIndex1 = 59;
    record.designIndex2 = 3;
    fake.modifiers = kStepModifier | kAlternateModifier;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(record.designIndex1, 0);
    EXPECT_EQ(record.designIndex2, 4);
    EXPECT_EQ(record.zigzagElements, 3);
    // Element 1 follows design 4 now.
    EXPECT_EQ(anchorsOf(0).size(), 3u + 10u + 3u);
    // The trail test and the three modifier tests each read the keys.
    EXPECT_EQ(fake.modifierReads, 4);
}

TEST_F(PluginDriver, StepKeyStepsTheElementCountAndWrapsToOne) {
    fake.modifiers = kStepModifier;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(record.zigzagElements, 4);
    EXPECT_EQ(anchorsOf(0).size(), 12u);
    for (int32_t start : {100, 250}) {
        record.zigzagElements = start;
        ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
        EXPECT_EQ(record.zigzagElements, 1) << start;
    }
    EXPECT_EQ(anchorsOf(2).size(), 3u);
}

TEST_F(PluginDriver, MoveStartKeyMovesThePressPointAndDrawsNothing) {
    fake.modifiers = kMoveStartModifier;
    ASSERT_EQ(drag(40.0f, 50.0f), kSPNoError);
    EXPECT_TRUE(fake.paths.empty());
    EXPECT_EQ(fake.undoCalls, 1);
    EXPECT_EQ(record.pressPointX, 40.0f);
    EXPECT_EQ(record.pressPointY, 50.0f);
    fake.modifiers = 0;
    ASSERT_EQ(drag(50.0f, 20.0f), kSPNoError);
    ASSERT_EQ(anchorsOf(0).size(), 9u);
    EXPECT_FLOAT_EQ(anchorsOf(0).front().h, 40.0f);
    EXPECT_FLOAT_EQ(anchorsOf(0).back().v, 20.0f);
    // With the step key held too, the element count steps and the drag draws.
    fake.modifiers = kMoveStartModifier | kStepModifier;
    ASSERT_EQ(drag(60.0f, 20.0f), kSPNoError);
    EXPECT_EQ(fake.paths.size(), 2u);
}

TEST_F(PluginDriver, SeparateElementsGetAPathEachPlacedByTheWeave) {
    record.separateElements = 1;
    record.closedPath = 1;
    record.weavePlaceMode = 2; // odd elements beneath
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 3u);
    const int16_t orders[] = {kPlaceAboveAll, kPlaceBelowAll, kPlaceAboveAll};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(fake.paths[i].paintOrder, orders[i]) << i;
        EXPECT_TRUE(fake.paths[i].closed) << i;
    }
    expectAnchors(anchorsOf(1), {{0, -10}, {10, -15}, {0, -20}});
}

TEST_F(PluginDriver, SeparatePathsAreFinishedAsWrittenAndOnePathOnceAtTheEnd) {
    using Log = std::vector<std::string>;
    record.separateElements = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    // Each element's last segment, then its pattern step's bounds read, before the next path.
    EXPECT_EQ(
        pluginfakes::logOf({"segment set 1 2", "segment set 2 2", "segment set 3 2", "bounds"}),
        Log({"segment set 1 2", "bounds 1", "segment set 2 2", "bounds 2", "segment set 3 2", "bounds 3"}));
    record.separateElements = 0;
    fake.log.clear();
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(pluginfakes::logOf({"segment set 4 8", "bounds"}), Log({"segment set 4 8", "bounds 4"}));
}

// The paint orders of the tile copies of each path the driver made, in the order the paths were made.
std::vector<std::vector<int16_t>> tileOrders() {
    std::vector<std::vector<int16_t>> orders;
    for (size_t i = 0; i < fake.paths.size(); ++i) {
        if (fake.paths[i].copyOf >= 0) continue;
        orders.emplace_back();
        for (const auto& copy : fake.paths)
            if (copy.copyOf == static_cast<long>(i)) orders.back().push_back(copy.paintOrder);
    }
    return orders;
}

TEST_F(PluginDriver, FinishingWeavesByTheElementIndexOrTheElementCount) {
    using Orders = std::vector<std::vector<int16_t>>;
    const std::vector<int16_t> above(3, kPlaceAboveAll), below(3, kPlaceBelowAll);
    // Weave 01 puts odd elements beneath; the pattern step of each path asks for its element, or for the
    // element count in one path.
    record.weavePlaceMode = 2;
    record.patternMode = 4;
    record.separateElements = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(tileOrders(), Orders({above, below, above}));
    record.separateElements = 0;
    for (auto [elements, orders] : {std::pair{3, below}, {2, above}}) {
        record.zigzagElements = elements;
        ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
        EXPECT_EQ(tileOrders().back(), orders) << elements;
    }
}

TEST_F(PluginDriver, PlaceBeneathAllPutsEverySeparatePathBelow) {
    record.separateElements = 1;
    record.weavePlaceMode = 1;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 3u);
    for (const auto& path : fake.paths)
        EXPECT_EQ(path.paintOrder, kPlaceBelowAll);
    EXPECT_FALSE(fake.paths[0].closed);
}

TEST_F(PluginDriver, WeaveDecisionDrawsForEveryElementEvenInOnePath) {
    record.weavePlaceMode = 7;
    fake.randomValues = {0.9f, 0.9f, 0.9f};
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    // One per element; finishing adds the path jitter's four and the pattern step's weave decision, which
    // is made even when no tile is asked for.
    EXPECT_EQ(fake.randomDraws, 3 + 4 + 1);
    ASSERT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(fake.paths[0].paintOrder, kPlaceAboveAll);
}

TEST_F(PluginDriver, HostFailuresEndTheGenerationWithTheirStatus) {
    fake.namedStyleStatus = kNoDocumentErr;
    EXPECT_EQ(drag(10.0f, -30.0f), kNoDocumentErr);
    EXPECT_TRUE(fake.paths.empty());
    fake.namedStyleStatus = kSPNoError;

    fake.setupStatus = kNoDocumentErr;
    EXPECT_EQ(drag(10.0f, -30.0f), kNoDocumentErr);
    EXPECT_TRUE(fake.paths.empty());
    fake.setupStatus = kSPNoError;

    fake.newArtFailAt = 0;
    EXPECT_EQ(drag(10.0f, -30.0f), kNoDocumentErr);
    EXPECT_TRUE(fake.paths.empty());
}

TEST_F(PluginDriver, FailedSegmentWriteLeavesTheArtMadeSoFar) {
    fake.segmentFailAt = 4;
    EXPECT_EQ(drag(10.0f, -30.0f), kTooManySegmentsErr);
    ASSERT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(fake.paths[0].segments.size(), 4u);
}

TEST_F(PluginDriver, FailedSeparatePathKeepsTheEarlierElements) {
    record.separateElements = 1;
    fake.newArtFailAt = 2;
    EXPECT_EQ(drag(10.0f, -30.0f), kNoDocumentErr);
    ASSERT_EQ(fake.paths.size(), 2u);
    EXPECT_EQ(fake.paths[1].segments.size(), 3u);
}

TEST_F(PluginDriver, SeparateModeWithoutElementsAnswersThePressureStatus) {
    record.separateElements = 1;
    record.zigzagElements = 0;
    fake.pressureStatus = kSPUnimplementedError;
    EXPECT_EQ(drag(10.0f, -30.0f), kSPUnimplementedError);
    EXPECT_TRUE(fake.paths.empty());
}

// ---- settings far outside the dialog's ranges: the record is used unchecked ----

TEST_F(PluginDriver, HugePointCapKeepsItsSizeThroughTheRandomCut) {
    record.maxPointsPerZigzag = INT32_MAX;
    record.randomMaxPoints = 1;
    fake.randomValues = {1.0f}; // trunc(1 x cap) is the whole cap, not a wrapped value
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    expectAnchors(anchorsOf(0), kNineAnchors);
}

TEST_F(PluginDriver, ElementCountsBeyondTheIntegerRangeDrawNoElement) {
    // The largest count becomes 2^31 as a float; pen pressure beyond the usual scale multiplies a large count
    // past the range too; the smallest count has no colour cycle one below it. Each time one empty path is
    // made and finished, as for a count of 0.
    record.zigzagElements = INT32_MAX;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    record.zigzagElements = INT32_MIN;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    record.zigzagElements = 20000000;
    record.pressureGroups = 1;
    fake.hasPressure = 1;
    ASSERT_EQ(drag(10.0f, -30.0f, INT16_MAX), kSPNoError);
    ASSERT_EQ(fake.paths.size(), 3u);
    for (const auto& path : fake.paths)
        EXPECT_TRUE(path.segments.empty());
    // Just inside the range the count is used as it is: the second path fails, the first has its element.
    record.separateElements = 1;
    record.zigzagElements = 10000000;
    fake.newArtFailAt = 5;
    EXPECT_EQ(drag(10.0f, -30.0f, INT16_MAX), kNoDocumentErr);
    ASSERT_EQ(fake.paths.size(), 5u);
    EXPECT_EQ(fake.paths[3].segments.size(), 3u);
}

TEST_F(PluginDriver, SteppingFromTheLargestValuesWraps) {
    record.designIndex1 = INT32_MAX;
    record.designIndex2 = INT32_MAX;
    fake.modifiers = kStepModifier | kAlternateModifier;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(record.designIndex1, 0);
    EXPECT_EQ(record.designIndex2, 0);

    record.zigzagElements = INT32_MAX;
    fake.modifiers = kStepModifier;
    ASSERT_EQ(drag(10.0f, -30.0f), kSPNoError);
    EXPECT_EQ(record.zigzagElements, 1);
    EXPECT_EQ(anchorsOf(1).size(), 3u);
}

} // namespace
