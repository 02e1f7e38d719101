// Drags with the zigzag tool played through the real module and the real host: the points that reach the
// document, the slowdown gate, the trail, the modifier keys, pen pressure, the weave's paint order, the undo
// of whole drags and the exported picture, all seen through the session report's "art".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <utility>
#include <vector>

#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

using Anchor = std::pair<double, double>;
using Anchors = std::vector<Anchor>;

constexpr uint32_t kStepKey = 0x20;
constexpr uint32_t kAlternateKey = 0x40;
constexpr uint32_t kMoveKey = 0x200;

// ---- script building

json setFields(json fields) {
    return {{"do", "settings"}, {"set", std::move(fields)}};
}
json mouseDown(double x, double y) {
    return {{"do", "mouseDown"}, {"at", {x, y}}};
}
json dragTo(double x, double y, uint32_t modifiers = 0) {
    json event = {{"do", "drag"}, {"to", {x, y}}};
    if (modifiers != 0) event["modifiers"] = modifiers;
    return event;
}
json dragWithPressure(double x, double y, int pressure) {
    return {{"do", "drag"}, {"to", {x, y}}, {"pressure", pressure}};
}
json mouseUp() {
    return {{"do", "mouseUp"}};
}
json hostEvent(const char* name) {
    return {{"do", name}};
}

// A whole drag: press at `from`, one drag event per point, release.
std::vector<json> wholeDrag(Anchor from, const std::vector<Anchor>& to, uint32_t modifiers = 0) {
    std::vector<json> events = {mouseDown(from.first, from.second)};
    for (const Anchor& point : to)
        events.push_back(dragTo(point.first, point.second, modifiers));
    events.push_back(mouseUp());
    return events;
}

std::vector<json> operator+(std::vector<json> a, const std::vector<json>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Starts the module, plays the first `count` of `events` (all when count is negative) and returns the report.
// Every message the module answers must answer 0.
ordered_json play(const std::vector<json>& events, const json& top = json::object(), int count = -1) {
    json script = top;
    script["events"] = json::array({hostEvent("startup")});
    const std::size_t played = count < 0 ? events.size() : static_cast<std::size_t>(count);
    EXPECT_LE(played, events.size()) << "the test asks for more events than it wrote";
    for (std::size_t i = 0; i < played && i < events.size(); ++i)
        script["events"].push_back(events[i]);
    const ordered_json report = sessiontest::run(script.dump());
    if (report.is_null()) return report;
    for (std::size_t i = 0; i < report["results"].size(); ++i) {
        if (!report["results"][i].is_null()) {
            EXPECT_EQ(report["results"][i], 0) << "event " << i << ": " << script["events"][i].dump();
        }
    }
    return report;
}

// ---- reading the art

Anchors anchorsOf(const ordered_json& art) {
    Anchors anchors;
    for (const ordered_json& segment : art["segments"])
        anchors.emplace_back(segment["p"][0].get<double>(), segment["p"][1].get<double>());
    return anchors;
}

std::string describe(const Anchors& anchors) {
    std::ostringstream text;
    for (const Anchor& a : anchors)
        text << "(" << a.first << "," << a.second << ") ";
    return text.str();
}

::testing::AssertionResult sameAnchors(const Anchors& actual, const Anchors& expected) {
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i)
        same = std::fabs(actual[i].first - expected[i].first) < 1e-4 &&
               std::fabs(actual[i].second - expected[i].second) < 1e-4;
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "anchors " << describe(actual) << "\n expected " << describe(expected);
}

// The one path a report's art must hold, checked for its anchors.
void expectOnePath(const ordered_json& report, const Anchors& expected) {
    ASSERT_EQ(report["art"].size(), 1u) << report["art"].dump();
    const ordered_json& path = report["art"][0];
    EXPECT_EQ(path["type"], "path");
    EXPECT_TRUE(sameAnchors(anchorsOf(path), expected));
}

// The design 0 zigzag from P = (0, 0) to E = (10, -30) in three elements.
const Anchors kThreeArrows = {{0, 0},   {10, -5}, {0, -10},  {0, -10}, {10, -15},
                              {0, -20}, {0, -20}, {10, -25}, {0, -30}};

ordered_json drawOnce(const json& fields, Anchor from, Anchor to, const json& top = json::object()) {
    return play(std::vector<json>{setFields(fields)} + wholeDrag(from, {to}), top);
}

// ---- anchors of one generation

TEST(DragSessionAnchors, ThreeArrowsJoinAtRepeatedAnchorsAndKeepTheirHandlesOnThePoint) {
    const ordered_json report = drawOnce({{"zigzagElements", 3}}, {0, 0}, {10, -30});
    expectOnePath(report, kThreeArrows);
    const ordered_json& path = report["art"][0];
    EXPECT_EQ(path["closed"], false);
    for (const ordered_json& segment : path["segments"]) {
        EXPECT_EQ(segment["in"], segment["p"]);
        EXPECT_EQ(segment["out"], segment["p"]);
    }
}

TEST(DragSessionAnchors, AlternateMirrorFlipsOnlyTheOddElementAcrossTheMidline) {
    expectOnePath(
        drawOnce({{"zigzagElements", 3}, {"alternateMirror", true}}, {0, 0}, {10, -30}),
        {{0, 0}, {10, -5}, {0, -10}, {10, -10}, {0, -15}, {10, -20}, {0, -20}, {10, -25}, {0, -30}});
}

TEST(DragSessionAnchors, GroupScalingWidensEachElementFromWhereThePreviousOneEnded) {
    expectOnePath(
        drawOnce({{"zigzagElements", 3}, {"horizontalGroupScalingFactor", 2.0}}, {0, 0}, {10, -30}),
        {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {15, -15}, {-5, -20}, {-5, -20}, {25, -25}, {-15, -30}});
}

TEST(DragSessionAnchors, TallerEvenElementsRunPastTheCursor) {
    expectOnePath(
        drawOnce({{"zigzagElements", 3}, {"scalingPattern1BFactor", 2.0}}, {0, 0}, {10, -30}),
        {{0, 0}, {10, -10}, {0, -20}, {0, -20}, {10, -25}, {0, -30}, {0, -30}, {10, -40}, {0, -50}});
}

TEST(DragSessionAnchors, FlattenAlternateKeepsOnlyTheLastAnchorOfOddElements) {
    expectOnePath(drawOnce({{"zigzagElements", 3}, {"flattenAlternate", true}}, {0, 0}, {10, -30}),
                  {{0, 0}, {10, -5}, {0, -10}, {0, -20}, {0, -20}, {10, -25}, {0, -30}});
}

TEST(DragSessionAnchors, ThePointsCapLetsAGenerationWriteTwoPointsMoreThanTheCap) {
    // A cap of 1: the first element gets its three points, the later ones none.
    expectOnePath(drawOnce({{"zigzagElements", 3}, {"maxPointsPerZigzag", 1}}, {0, 0}, {10, -30}),
                  {{0, 0}, {10, -5}, {0, -10}});
    // A cap of 4: six points, the first two elements whole.
    expectOnePath(drawOnce({{"zigzagElements", 3}, {"maxPointsPerZigzag", 4}}, {0, 0}, {10, -30}),
                  {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -15}, {0, -20}});
}

TEST(DragSessionAnchors, MaxPointsPerGroupUsesOnlyTheFirstTemplatePointsOfEachElement) {
    // Design 1 starts (0,0) (0,0.1) (0.5,0.1) (0.5,0.2); two elements from (0,0) to (10,-20).
    const Anchors firstThree = {{0, 0}, {0, -1}, {5, -1}, {0, -10}, {0, -11}, {5, -11}};
    for (int limit : {5, 6}) {
        SCOPED_TRACE(limit);
        expectOnePath(drawOnce({{"zigzagElements", 2},
                                {"designIndex1", 1},
                                {"designIndex2", 1},
                                {"maxPointsPerGroup", limit}},
                               {0, 0}, {10, -20}),
                      firstThree);
    }
    expectOnePath(
        drawOnce({{"zigzagElements", 2}, {"designIndex1", 1}, {"designIndex2", 1}, {"maxPointsPerGroup", 7}},
                 {0, 0}, {10, -20}),
        {{0, 0}, {0, -1}, {5, -1}, {5, -2}, {0, -10}, {0, -11}, {5, -11}, {5, -12}});
}

TEST(DragSessionAnchors, OddElementsFollowTheSecondDesignUnlessLinked) {
    // Design 2 is (0,0) (1,0.1) (1,0.9) (0,1).
    expectOnePath(drawOnce({{"zigzagElements", 2}, {"designIndex2", 2}}, {0, 0}, {10, -20}),
                  {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -11}, {10, -19}, {0, -20}});
    expectOnePath(
        drawOnce({{"zigzagElements", 2}, {"designIndex2", 2}, {"linkZigzag2To1", true}}, {0, 0}, {10, -20}),
        {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -15}, {0, -20}});
}

TEST(DragSessionAnchors, RandomDesignsFollowTheSecondDrawOrTheFirstWhenLinked) {
    // Per element: a = trunc(0.04 x 62) = 2 (four points), then b = trunc(0.01 x 62) = 0 (three points).
    const json draws = {{"random", {0.04, 0.01, 0.04, 0.01}}};
    const ordered_json unlinked =
        drawOnce({{"zigzagElements", 2}, {"randomDesignType", true}}, {0, 0}, {10, -20}, draws);
    expectOnePath(unlinked, {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {10, -15}, {0, -20}});
    const ordered_json linked =
        drawOnce({{"zigzagElements", 2}, {"randomDesignType", true}, {"linkZigzag2To1", true}}, {0, 0},
                 {10, -20}, draws);
    expectOnePath(linked, {{0, 0}, {10, -1}, {10, -9}, {0, -10}, {0, -10}, {10, -11}, {10, -19}, {0, -20}});
}

TEST(DragSessionAnchors, ADragBackToThePressPointDrawsNothing) {
    const ordered_json report = play(wholeDrag({5, 5}, {{5, 5}}));
    EXPECT_TRUE(report["art"].empty()) << report["art"].dump();
}

TEST(DragSessionAnchors, StraightDragsKeepEveryPointOnTheirLine) {
    // Straight down: every anchor on x = 3.
    const ordered_json vertical = drawOnce({{"zigzagElements", 3}}, {3, 0}, {3, -30});
    ASSERT_EQ(vertical["art"].size(), 1u);
    const Anchors run = anchorsOf(vertical["art"][0]);
    EXPECT_EQ(run.size(), 9u);
    for (const Anchor& a : run)
        EXPECT_EQ(a.first, 3.0) << describe(run);
    EXPECT_EQ(run.back().second, -30.0);
    // Straight across: every anchor on y = 7, still zigzagging across.
    expectOnePath(drawOnce({{"zigzagElements", 3}}, {0, 7}, {10, 7}),
                  {{0, 7}, {10, 7}, {0, 7}, {0, 7}, {10, 7}, {0, 7}, {0, 7}, {10, 7}, {0, 7}});
}

TEST(DragSessionAnchors, TheLockedEndPointTakesTheCursorsHorizontalCoordinateForItsHeight) {
    const ordered_json report =
        drawOnce({{"zigzagElements", 3}, {"lockedVerticalHorizontal", true}}, {0, 0}, {30, 80});
    expectOnePath(report, {{0, 0}, {30, 5}, {0, 10}, {0, 10}, {30, 15}, {0, 20}, {0, 20}, {30, 25}, {0, 30}});
    EXPECT_EQ(report["settings"]["dragPointY"], 80.0); // the cursor itself is recorded unchanged
}

// ---- pen pressure

TEST(DragSessionPressure, HalfPressureHalvesTheElementsWhenPressureDrivesTheGroups) {
    const ordered_json report = play(
        {setFields({{"pressureGroups", true}}), mouseDown(0, 0), dragWithPressure(10, -30, 128), mouseUp()});
    // N = trunc(10 x 128 / 255) = 5 elements of three anchors, each 6 points tall.
    ASSERT_EQ(report["art"].size(), 1u);
    const Anchors anchors = anchorsOf(report["art"][0]);
    ASSERT_EQ(anchors.size(), 15u) << describe(anchors);
    EXPECT_TRUE(
        sameAnchors(Anchors(anchors.begin(), anchors.begin() + 4), {{0, 0}, {10, -3}, {0, -6}, {0, -6}}));
    EXPECT_EQ(anchors.back(), Anchor(0, -30));
}

TEST(DragSessionPressure, NoPressureLeavesOneEmptyPath) {
    const ordered_json report = play(
        {setFields({{"pressureGroups", true}}), mouseDown(0, 0), dragWithPressure(10, -30, 0), mouseUp()});
    ASSERT_EQ(report["art"].size(), 1u) << report["art"].dump();
    EXPECT_EQ(report["art"][0]["type"], "path");
    EXPECT_TRUE(report["art"][0]["segments"].empty());
}

TEST(DragSessionPressure, FullPressureAPenlessSystemOrPressureLeftOffKeepEveryElement) {
    auto anchorCount = [](const json& fields, int pressure, const json& top) {
        const ordered_json report =
            play({setFields(fields), mouseDown(0, 0), dragWithPressure(10, -30, pressure), mouseUp()}, top);
        return report["art"].size() == 1 ? report["art"][0]["segments"].size() : 0u;
    };
    EXPECT_EQ(anchorCount({{"pressureGroups", true}}, 255, json::object()), 30u);
    EXPECT_EQ(anchorCount({{"pressureGroups", true}}, 128, {{"document", {{"pressure", false}}}}), 30u);
    EXPECT_EQ(anchorCount({{"pressureGroups", false}}, 128, json::object()), 30u);
}

// ---- the slowdown gate

TEST(DragSessionGate, SlowdownTwoGeneratesAtTheThirdSixthAndNinthDragEvents) {
    // Drag event k goes to (10 + k, -30), so the widest anchor tells which event generated.
    std::vector<json> events = {setFields({{"applySlowdown", 2}, {"zigzagElements", 3}}), mouseDown(0, 0)};
    for (int k = 1; k <= 9; ++k)
        events.push_back(dragTo(10 + k, -30));
    for (int played = 0; played <= 9; ++played) {
        SCOPED_TRACE("after drag event " + std::to_string(played));
        const ordered_json report = play(events, json::object(), 2 + played);
        const int generating = played - played % 3;
        if (generating == 0) {
            EXPECT_TRUE(report["art"].empty()) << report["art"].dump();
        } else {
            ASSERT_EQ(report["art"].size(), 1u);
            EXPECT_EQ(anchorsOf(report["art"][0]).at(1), Anchor(10 + generating, -5));
        }
        EXPECT_EQ(report["settings"]["dragEventCounter"], played % 3);
    }
}

TEST(DragSessionGate, EachPressStartsTheCountAgain) {
    // The first drag leaves the counter at 1; the second drag still generates only at its third event.
    const std::vector<json> events =
        std::vector<json>{setFields({{"applySlowdown", 2}, {"zigzagElements", 3}, {"trailCursor", true}})} +
        wholeDrag({0, 0}, {{1, -30}, {2, -30}, {3, -30}, {4, -30}}) +
        wholeDrag({100, 0}, {{101, -30}, {102, -30}, {103, -30}});
    const ordered_json report = play(events);
    ASSERT_EQ(report["art"].size(), 2u) << report["art"].dump();
    EXPECT_EQ(anchorsOf(report["art"][0]).at(1), Anchor(3, -5));
    EXPECT_EQ(anchorsOf(report["art"][1]).at(1), Anchor(103, -5));
}

// ---- the trail

// The widest x of each path, bottom to top: which cursor each remaining generation followed.
std::vector<double> generationEnds(const ordered_json& report) {
    std::vector<double> ends;
    for (const ordered_json& path : report["art"])
        ends.push_back(anchorsOf(path).at(1).first);
    return ends;
}

const std::vector<Anchor> kFiveCursors = {{10, -30}, {20, -30}, {30, -30}, {40, -30}, {50, -30}};

TEST(DragSessionTrail, WithoutTheTrailOnlyTheLastGenerationRemains) {
    const ordered_json report =
        play(std::vector<json>{setFields({{"zigzagElements", 3}})} + wholeDrag({0, 0}, kFiveCursors));
    EXPECT_EQ(generationEnds(report), std::vector<double>({50}));
}

TEST(DragSessionTrail, WithTheTrailEveryGenerationRemainsInDrawingOrder) {
    const ordered_json report =
        play(std::vector<json>{setFields({{"zigzagElements", 3}, {"trailCursor", true}})} +
             wholeDrag({0, 0}, kFiveCursors));
    EXPECT_EQ(generationEnds(report), std::vector<double>({10, 20, 30, 40, 50}));
    for (const ordered_json& path : report["art"])
        EXPECT_EQ(path["segments"].size(), 9u);
}

TEST(DragSessionTrail, TheAlternateKeyMakesATrailGenerationReplaceTheEarlierOnes) {
    const std::vector<json> events = {setFields({{"zigzagElements", 3}, {"trailCursor", true}}),
                                      mouseDown(0, 0),
                                      dragTo(10, -30),
                                      dragTo(20, -30),
                                      dragTo(30, -30),
                                      dragTo(40, -30, kAlternateKey),
                                      dragTo(50, -30),
                                      mouseUp()};
    EXPECT_EQ(generationEnds(play(events, json::object(), 5)), std::vector<double>({10, 20, 30}));
    EXPECT_EQ(generationEnds(play(events, json::object(), 6)), std::vector<double>({40}));
    EXPECT_EQ(generationEnds(play(events)), std::vector<double>({40, 50}));
    // Held through the whole drag, the trail behaves as if it were off.
    const ordered_json held =
        play(std::vector<json>{setFields({{"zigzagElements", 3}, {"trailCursor", true}})} +
             wholeDrag({0, 0}, kFiveCursors, kAlternateKey));
    EXPECT_EQ(generationEnds(held), std::vector<double>({50}));
}

// ---- modifier keys

TEST(DragSessionModifiers, TheStepKeyAddsAnElementAndWrapsPastAHundredToOne) {
    struct Case {
        int before;
        int after;
    };
    for (const Case c : {Case{5, 6}, Case{99, 100}, Case{100, 1}, Case{250, 1}}) {
        SCOPED_TRACE(c.before);
        const ordered_json report = play(std::vector<json>{setFields({{"zigzagElements", c.before}})} +
                                         wholeDrag({0, 0}, {{10, -30}}, kStepKey));
        EXPECT_EQ(report["settings"]["zigzagElements"], c.after);
        // The generation already uses the stepped count.
        ASSERT_EQ(report["art"].size(), 1u);
        EXPECT_EQ(report["art"][0]["segments"].size(), static_cast<std::size_t>(3 * c.after));
    }
    // The stepped count stays for the next drag, made without the key.
    const ordered_json later =
        play(std::vector<json>{setFields({{"zigzagElements", 100}})} +
             wholeDrag({0, 0}, {{10, -30}}, kStepKey) + wholeDrag({0, 0}, {{10, -30}}));
    ASSERT_EQ(later["art"].size(), 2u);
    EXPECT_TRUE(sameAnchors(anchorsOf(later["art"][1]), {{0, 0}, {10, -15}, {0, -30}}));
}

TEST(DragSessionModifiers, StepAndAlternateKeysStepBothDesignsAndWrapPastFiftyNine) {
    const ordered_json report = play(
        std::vector<json>{setFields({{"zigzagElements", 2}, {"designIndex1", 59}, {"designIndex2", 3}})} +
        wholeDrag({0, 0}, {{10, -20}}, kStepKey | kAlternateKey));
    EXPECT_EQ(report["settings"]["designIndex1"], 0);
    EXPECT_EQ(report["settings"]["designIndex2"], 4);
    EXPECT_EQ(report["settings"]["zigzagElements"], 2); // the element count is not stepped as well
    // Element 0 follows design 0 (three points), element 1 design 4 "Towers" (ten points).
    ASSERT_EQ(report["art"].size(), 1u);
    const Anchors anchors = anchorsOf(report["art"][0]);
    ASSERT_EQ(anchors.size(), 13u) << describe(anchors);
    EXPECT_TRUE(sameAnchors(Anchors(anchors.begin(), anchors.begin() + 6),
                            {{0, 0}, {10, -5}, {0, -10}, {0, -10}, {0, -11}, {10, -11}}));
    EXPECT_EQ(anchors.back(), Anchor(0, -20));
}

TEST(DragSessionModifiers, TheMoveKeyMovesThePressPointRemovesTheLastGenerationAndDrawsNothing) {
    const std::vector<json> events = {setFields({{"zigzagElements", 3}}), mouseDown(0, 0), dragTo(10, -30),
                                      dragTo(20, -50, kMoveKey),          dragTo(30, -80), mouseUp()};
    const ordered_json moved = play(events, json::object(), 4);
    EXPECT_TRUE(moved["art"].empty()) << moved["art"].dump();
    EXPECT_EQ(moved["settings"]["pressPointX"], 20.0);
    EXPECT_EQ(moved["settings"]["pressPointY"], -50.0);
    // The next event draws from the moved corner.
    expectOnePath(
        play(events),
        {{20, -50}, {30, -55}, {20, -60}, {20, -60}, {30, -65}, {20, -70}, {20, -70}, {30, -75}, {20, -80}});
}

TEST(DragSessionModifiers, TheMoveKeyWithTheTrailKeepsEarlierGenerations) {
    const ordered_json report =
        play({setFields({{"zigzagElements", 3}, {"trailCursor", true}}), mouseDown(0, 0), dragTo(10, -30),
              dragTo(20, -50, kMoveKey), mouseUp()});
    expectOnePath(report, kThreeArrows);
    EXPECT_EQ(report["settings"]["pressPointX"], 20.0);
}

TEST(DragSessionModifiers, TheStepKeyTakesPrecedenceOverTheMoveKey) {
    const ordered_json report = play(std::vector<json>{setFields({{"zigzagElements", 3}})} +
                                     wholeDrag({0, 0}, {{10, -40}}, kStepKey | kMoveKey));
    EXPECT_EQ(report["settings"]["zigzagElements"], 4);
    EXPECT_EQ(report["settings"]["pressPointX"], 0.0);
    ASSERT_EQ(report["art"].size(), 1u);
    EXPECT_EQ(report["art"][0]["segments"].size(), 12u);
}

// ---- separate elements and the weave

// Eight elements of design 0 from (0,0) to (10,-80): element k is the path whose first anchor is (0, -10k).
std::vector<int> elementOrder(const ordered_json& report) {
    std::vector<int> order;
    for (const ordered_json& path : report["art"]) {
        const Anchors anchors = anchorsOf(path);
        EXPECT_EQ(anchors.size(), 3u) << describe(anchors);
        if (anchors.empty()) continue;
        order.push_back(static_cast<int>(std::lround(-anchors[0].second / 10.0)));
    }
    return order;
}

// The bottom-to-top order that paint orders 6 (beneath all, for 1) and 5 (above all, for 0) give.
std::vector<int> stacked(const std::vector<int>& beneath) {
    std::vector<int> order;
    for (int k = 0; k < static_cast<int>(beneath.size()); ++k)
        if (beneath[k])
            order.insert(order.begin(), k);
        else
            order.push_back(k);
    return order;
}

ordered_json weaveDrag(int mode, const json& top = json::object()) {
    return play(std::vector<json>{setFields(
                    {{"separateElements", true}, {"zigzagElements", 8}, {"weavePlaceMode", mode}})} +
                    wholeDrag({0, 0}, {{10, -80}}),
                top);
}

TEST(DragSessionWeave, EachFixedModePlacesItsElementsAboveOrBeneath) {
    const std::vector<std::vector<int>> beneath = {
        {0, 0, 0, 0, 0, 0, 0, 0}, // 0: ignore
        {1, 1, 1, 1, 1, 1, 1, 1}, // 1: place beneath all
        {0, 1, 0, 1, 0, 1, 0, 1}, // 2: odd elements
        {0, 1, 0, 0, 1, 0, 0, 1}, // 3: k % 3 = 1
        {1, 0, 0, 1, 0, 0, 1, 0}, // 4: k % 3 = 0
        {1, 0, 1, 0, 1, 0, 1, 0}, // 5: even elements
        {0, 0, 1, 1, 0, 0, 1, 1}, // 6: k % 4 is 2 or 3
    };
    for (int mode = 0; mode < static_cast<int>(beneath.size()); ++mode) {
        SCOPED_TRACE("weave mode " + std::to_string(mode));
        EXPECT_EQ(elementOrder(weaveDrag(mode)), stacked(beneath[mode]));
    }
    // Spelled out for mode 2: the odd elements stack beneath in reverse, the even ones on top in order.
    EXPECT_EQ(elementOrder(weaveDrag(2)), std::vector<int>({7, 5, 3, 1, 0, 2, 4, 6}));
}

// The random list of one drag of separate elements in which the weave decision of element k draws `weave[k]`
// (none for an element given -1). Each element's finishing then draws four path jitter numbers and, for its
// tile, the weave decision again, which draws for the elements that drew a first number.
json weaveDraws(const std::vector<double>& weave) {
    json draws = json::array();
    for (const double value : weave) {
        if (value >= 0) draws.push_back(value);
        for (int i = 0; i < 4; ++i)
            draws.push_back(0.0);
        if (value >= 0) draws.push_back(0.0);
    }
    return draws;
}

TEST(DragSessionWeave, RandomModesDrawOneNumberPerTestAndFireAboveOneHalf) {
    // Mode 7 draws for every element; 0.5 does not fire (5 is not above 5), 0.51 does.
    const ordered_json everyElement =
        weaveDrag(7, {{"random", weaveDraws({0.2, 0.9, 0.9, 0.1, 0.5, 0.51, 0.0, 1.0})}});
    EXPECT_EQ(elementOrder(everyElement), stacked({0, 1, 1, 0, 0, 1, 0, 1}));
    // Mode 8 draws only for odd elements, so these four numbers decide elements 1, 3, 5 and 7.
    const ordered_json oddOnly = weaveDrag(8, {{"random", weaveDraws({-1, 0.9, -1, 0.2, -1, 0.7, -1, 0.3})}});
    EXPECT_EQ(elementOrder(oddOnly), stacked({0, 1, 0, 0, 0, 1, 0, 0}));
}

TEST(DragSessionWeave, ElementsPlacedBeneathGoUnderArtMadeBeforeTheDrag) {
    const std::vector<json> before =
        std::vector<json>{setFields({{"zigzagElements", 3}})} + wholeDrag({100, 0}, {{110, -30}});
    const ordered_json alone = play(before);
    ASSERT_EQ(alone["art"].size(), 1u);
    for (int mode : {1, 2}) {
        SCOPED_TRACE(mode);
        const ordered_json report = play(
            before + std::vector<json>{setFields({{"separateElements", true}, {"weavePlaceMode", mode}})} +
            wholeDrag({0, 0}, {{10, -30}}));
        const ordered_json& art = report["art"];
        ASSERT_EQ(art.size(), 4u) << art.dump();
        // The earlier path, unchanged, sits above the beneath elements and below the others.
        const std::size_t earlier = mode == 1 ? 3 : 1;
        EXPECT_EQ(art[earlier], alone["art"][0]);
        std::vector<double> firstY;
        for (std::size_t i = 0; i < art.size(); ++i)
            if (i != earlier) firstY.push_back(anchorsOf(art[i]).at(0).second);
        EXPECT_EQ(firstY,
                  mode == 1 ? std::vector<double>({-20, -10, 0}) : std::vector<double>({-10, 0, -20}));
    }
}

// ---- undo and redo of whole drags

TEST(DragSessionUndo, UndoAndRedoStepOverWholeDrags) {
    // Drag A replaces its generations (one path), drag B keeps its trail (three paths).
    const std::vector<json> events =
        std::vector<json>{setFields({{"zigzagElements", 3}})} + wholeDrag({0, 0}, {{5, -30}, {10, -30}}) +
        std::vector<json>{setFields({{"trailCursor", true}})} +
        wholeDrag({100, 0}, {{110, -30}, {120, -30}, {130, -30}}) +
        std::vector<json>{hostEvent("undo"), hostEvent("undo"), hostEvent("undo"),
                          hostEvent("redo"), hostEvent("redo"), hostEvent("redo")};
    const std::size_t firstUndo = events.size() - 6;
    const std::vector<std::vector<double>> expected = {
        {10, 110, 120, 130}, // both drags
        {10},                // undo: all of drag B
        {},                  // undo: drag A
        {},                  // nothing more to undo
        {10},                // redo: drag A
        {10, 110, 120, 130}, // redo: drag B
        {10, 110, 120, 130}, // nothing more to redo
    };
    for (std::size_t step = 0; step < expected.size(); ++step) {
        SCOPED_TRACE("after " + std::to_string(step) + " undo/redo events");
        const ordered_json report = play(events, json::object(), static_cast<int>(firstUndo + step));
        EXPECT_EQ(generationEnds(report), expected[step]);
    }
}

TEST(DragSessionUndo, ANewDragAfterAnUndoLeavesNothingToRedo) {
    const ordered_json report =
        play(std::vector<json>{setFields({{"zigzagElements", 3}})} + wholeDrag({0, 0}, {{10, -30}}) +
             wholeDrag({0, 0}, {{20, -30}}) + std::vector<json>{hostEvent("undo")} +
             wholeDrag({0, 0}, {{30, -30}}) + std::vector<json>{hostEvent("redo")});
    EXPECT_EQ(generationEnds(report), std::vector<double>({10, 30}));
}

TEST(DragSessionUndo, RedoPutsWovenElementsBackAboveAndBeneathTheEarlierArt) {
    // A plain path first, then a woven drag whose elements go on both sides of it, replaced a few times.
    const std::vector<json> events =
        std::vector<json>{setFields({{"zigzagElements", 4}})} + wholeDrag({100, 0}, {{110, -40}}) +
        std::vector<json>{setFields({{"separateElements", true}, {"weavePlaceMode", 3}})} +
        wholeDrag({0, 0}, {{5, -40}, {8, -40}, {10, -40}});
    const ordered_json drawn = play(events);
    ASSERT_EQ(drawn["art"].size(), 5u);
    const ordered_json undone = play(events + std::vector<json>{hostEvent("undo")});
    ASSERT_EQ(undone["art"].size(), 1u);
    EXPECT_EQ(undone["art"][0], drawn["art"][1]); // element 1 went beneath the earlier path
    const ordered_json redone = play(events + std::vector<json>{hostEvent("undo"), hostEvent("redo")});
    EXPECT_EQ(redone["art"], drawn["art"]);
}

TEST(DragSessionUndo, ADragsOwnUndoNeverTouchesArtMadeBeforeIt) {
    const std::vector<json> first =
        std::vector<json>{setFields({{"zigzagElements", 3}})} + wholeDrag({0, 0}, {{10, -30}});
    const ordered_json alone = play(first);
    ASSERT_EQ(alone["art"].size(), 1u);
    // A second drag that replaces its generations many times, then takes the last one back with the move key.
    std::vector<json> second = {mouseDown(50, 0)};
    for (int k = 1; k <= 12; ++k)
        second.push_back(dragTo(50 + k, -30));
    const ordered_json during = play(first + second);
    ASSERT_EQ(during["art"].size(), 2u);
    EXPECT_EQ(during["art"][0], alone["art"][0]);
    EXPECT_EQ(anchorsOf(during["art"][1]).at(1), Anchor(62, -5));

    second.push_back(dragTo(70, -30, kMoveKey));
    second.push_back(mouseUp());
    const ordered_json after = play(first + second);
    EXPECT_EQ(after["art"], alone["art"]);
    // The second drag left nothing, so the host's undo takes back the first one.
    const ordered_json undone = play(first + second + std::vector<json>{hostEvent("undo")});
    EXPECT_TRUE(undone["art"].empty()) << undone["art"].dump();
}

// Undo and redo inside a drag would end its one undo step early, so that each later event's art stays beside
// the last: the script is refused at that event, naming it, and the same drag without it draws one path.
TEST(DragSessionUndo, UndoOrRedoWhileADragIsOpenIsRefusedNamingTheEvent) {
    for (const char* during : {"redo", "undo"}) {
        SCOPED_TRACE(during);
        const json script = {{"events",
                              {hostEvent("startup"), mouseDown(0, 0), hostEvent(during), dragTo(10, -30),
                               dragTo(20, -30), dragTo(30, -30), mouseUp()}}};
        const SessionError error = sessiontest::failure(script.dump());
        EXPECT_EQ(error.kind, SessionError::Kind::Script);
        EXPECT_EQ(error.message,
                  "events[2] (\"" + std::string(during) +
                      "\"): refused while a drag is open (undo and redo wait for its mouse up)");
    }
    const ordered_json drawn = play(wholeDrag({0, 0}, {{10, -30}, {20, -30}, {30, -30}}) +
                                    std::vector<json>{hostEvent("undo"), hostEvent("redo")});
    EXPECT_EQ(drawn["art"].size(), 1u);
}

// ---- failing host calls

TEST(DragSessionFailure, AFailingHostCallEndsTheGenerationAndKeepsWhatItMade) {
    // The third element path cannot be made: the drag answers the host's status and two elements stay.
    json script = {
        {"events",
         {hostEvent("startup"),
          setFields({{"separateElements", true}, {"zigzagElements", 4}}),
          mouseDown(0, 0),
          {{"do", "fault"}, {"suite", "AI Art Suite"}, {"op", "NewArt"}, {"code", "SEGM"}, {"skip", 2}},
          dragTo(10, -40),
          mouseUp()}}};
    const ordered_json report = sessiontest::run(script.dump());
    ASSERT_FALSE(report.is_null());
    EXPECT_EQ(report["results"][4], sessiontest::fourCC("SEGM"));
    ASSERT_EQ(report["art"].size(), 2u);
    EXPECT_TRUE(sameAnchors(anchorsOf(report["art"][1]), {{0, -10}, {10, -15}, {0, -20}}));
    // Writing the fifth point fails: the single path keeps the four points before it.
    script["events"][1] = setFields({{"zigzagElements", 4}});
    script["events"][3] = {
        {"do", "fault"}, {"suite", "AI Path Suite"}, {"op", "SetPathSegments"}, {"code", -108}, {"skip", 4}};
    const ordered_json single = sessiontest::run(script.dump());
    ASSERT_FALSE(single.is_null());
    EXPECT_EQ(single["results"][4], -108);
    expectOnePath(single, {{0, 0}, {10, -5}, {0, -10}, {0, -10}});
}

// ---- the exported picture

TEST(DragSessionExport, AWovenTrailExportsAsAPictureThatRsvgConvertRenders) {
    if (!test::haveRsvgConvert()) GTEST_SKIP() << "rsvg-convert is not on the PATH";
    namespace fs = std::filesystem;
    const test::ScratchDir dir;
    const fs::path svg = dir.path() / "weave.svg";
    const fs::path png = dir.path() / "weave.png";
    const ordered_json report = play(std::vector<json>{setFields({{"separateElements", true},
                                                                  {"weavePlaceMode", 2},
                                                                  {"zigzagElements", 6},
                                                                  {"trailCursor", true},
                                                                  {"closedPath", true}})} +
                                     wholeDrag({100, 400}, {{150, 300}, {200, 250}, {250, 200}}) +
                                     std::vector<json>{{{"do", "export"}, {"svg", svg.string()}}});
    ASSERT_EQ(report["art"].size(), 18u);
    const std::string picture = test::readFile(svg);
    std::size_t paths = 0;
    for (std::size_t at = picture.find("<path"); at != std::string::npos; at = picture.find("<path", at + 1))
        ++paths;
    EXPECT_EQ(paths, 18u);
    EXPECT_NE(picture.find(" Z"), std::string::npos); // the element paths are closed
    const std::string command = "rsvg-convert -o '" + png.string() + "' '" + svg.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(fs::exists(png));
    EXPECT_GT(fs::exists(png) ? fs::file_size(png) : 0u, 100u);
}

} // namespace
} // namespace zz
