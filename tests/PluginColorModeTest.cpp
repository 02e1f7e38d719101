// The fill and stroke colour modes: the arithmetic of every mode on every colour kind, the swatch lookups and
// the random draws they make.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "PluginGenerationFixture.h"
#include "plugin/finish/ColorModes.h"
#include "plugin/settings/ToolSettings.h"

namespace {

using pluginfakes::expectColor;
using pluginfakes::four;
using pluginfakes::gray;
using pluginfakes::three;

using pluginfakes::fake;
using pluginfakes::logOf;
using pluginfakes::pathOf;
using Log = std::vector<std::string>;

constexpr int32_t kSwatches = 7;
constexpr int32_t kSwatchIndex = 3; // three-colour 0.3, 0.3, 0.3

const AIColor kFour = {kFourColor, {0.2f, 0.4f, 0.6f, 0.8f}};
const AIColor kThree = {kThreeColor, {0.2f, 0.4f, 0.6f, 0.0f}};
const AIColor kGray = {kGrayColor, {0.8f, 0.0f, 0.0f, 0.0f}};
const AIColor kPatternFill = {kPattern, {0.5f, 0.5f, 0.5f, 0.5f}};
// What the other side of the style holds while one side changes.
const AIColor kUntouched = {kFourColor, {0.11f, 0.22f, 0.33f, 0.44f}};

class PluginColorMode : public pluginfakes::GenerationFixture {
  protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        art = pluginfakes::addPath({{0.0f, 0.0f}, {10.0f, -10.0f}});
    }
    // Gives the fill (or stroke) `before`, unpainted, and the other side kUntouched; applies the mode.
    void apply(bool stroke, int32_t mode, const AIColor& before, int32_t step, int32_t total,
               int32_t swatchCount = kSwatches, int32_t swatchIndex = kSwatchIndex) {
        AIPathStyle& style = pathOf(art).style;
        style.fillPaint = 0;
        style.strokePaint = 0;
        style.fill.color = stroke ? kUntouched : before;
        style.stroke.color = stroke ? before : kUntouched;
        fake.log.clear();
        fake.randomDraws = 0;
        auto operation = stroke ? applyStrokeColorMode : applyFillColorMode;
        operation(mode, art, swatchCount, swatchIndex, total / 2, step, total);
    }
    const AIColor& changed(bool stroke) {
        return stroke ? pathOf(art).style.stroke.color : pathOf(art).style.fill.color;
    }
    bool painted(bool stroke) {
        return (stroke ? pathOf(art).style.strokePaint : pathOf(art).style.fillPaint) != 0;
    }
    const AIColor& other(bool stroke) { return changed(!stroke); }
    AIArtHandle art = nullptr;
};

TEST_F(PluginColorMode, EveryModeOnEveryKind) {
    struct Row {
        int32_t mode;
        AIColor before;
        int32_t step, total;
        AIColor after;
        bool paint;
        int draws;
    };
    // Draws are 0.25, 0.5, 0.75, 0.5 in turn; swatch 3 is three-colour 0.3 and swatch 4 three-colour 0.4.
    const Row rows[] = {{1, kFour, 1, 4, four(0.15f, 0.3f, 0.45f, 0.6f), false, 0},
                        {1, kThree, 1, 4, three(0.4f, 0.55f, 0.7f), false, 0},
                        {1, kGray, 1, 4, gray(0.6f), false, 0},
                        {2, kFour, 1, 4, four(0.4f, 0.55f, 0.7f, 0.85f), false, 0},
                        {2, kThree, 1, 4, three(0.15f, 0.3f, 0.45f), false, 0},
                        {2, kGray, 1, 4, gray(0.85f), false, 0},
                        {3, kFour, 1, 4, four(0.25f, 0.5f, 0.75f, 0.5f * 0.8f), false, 4},
                        {3, kThree, 1, 4, three(0.25f, 0.5f, 0.75f), false, 3},
                        {3, kGray, 1, 4, gray(0.25f), false, 1},
                        // trunc(0.25 x 7) + 1 = 2: the whole record of swatch 2, whatever the kind was
                        {4, kFour, 1, 4, three(0.2f, 0.2f, 0.2f), true, 1},
                        {4, kPatternFill, 1, 4, three(0.2f, 0.2f, 0.2f), true, 1},
                        // midpoint 5 of 10: lightest at 5, darker again past it
                        {5, kFour, 5, 10, four(0.1f, 0.2f, 0.3f, 0.4f), false, 0},
                        {5, kFour, 7, 10, four(0.24f, 0.48f, 0.72f, 0.96f), false, 0},
                        {5, kThree, 7, 10, three(0.04f, 0.28f, 0.52f), false, 0},
                        {5, kGray, 2, 4, gray(0.4f), false, 0},
                        // towards swatch 3 by a quarter, read in the places of the art's kind (a three-colour
                        // swatch has 0 where a four-colour black stands)
                        {6, kThree, 1, 4, three(0.225f, 0.375f, 0.525f), true, 0},
                        {6, kFour, 1, 4, four(0.225f, 0.375f, 0.525f, 0.6f), true, 0},
                        {6, kGray, 1, 4, gray(0.675f), true, 0},
                        {7, kFour, 1, 4, four(0.175f, 0.35f, 0.525f, 0.7f), false, 0},
                        {7, kThree, 1, 4, three(0.175f, 0.35f, 0.525f), false, 0},
                        {7, kGray, 1, 4, gray(0.7f), false, 0},
                        {8, kFour, 1, 4, four(0.35f, 0.45f, 0.55f, 0.65f), false, 0},
                        {8, kGray, 1, 4, gray(0.65f), false, 0},
                        {9, kFour, 1, 4, four(0.0f, 0.0f, 0.0f, 0.0f), false, 0},
                        {9, kThree, 3, 4, three(1.0f, 1.0f, 1.0f), false, 0},
                        {9, kGray, 1, 4, gray(0.0f), false, 0},
                        {9, kFour, 2, 4, kFour, false, 0},
                        {10, kFour, 1, 4, four(1.0f, 1.0f, 1.0f, 1.0f), false, 0},
                        {10, kThree, 1, 4, three(0.0f, 0.0f, 0.0f), false, 0},
                        {10, kGray, 5, 4, gray(1.0f), false, 0},
                        {10, kThree, 0, 4, kThree, false, 0},
                        {11, kThree, 1, 4, three(0.3f, 0.3f, 0.3f), true, 0},
                        {11, kFour, 1, 4, four(0.3f, 0.3f, 0.3f, 0.0f), true, 0},
                        {11, kThree, 2, 4, kThree, true, 0},
                        {12, kFour, 1, 4, four(0.8f, 0.6f, 0.4f, 0.2f), true, 0},
                        {12, kGray, 3, 4, gray(0.2f), true, 0},
                        {12, kFour, 2, 4, kFour, true, 0},
                        {12, kFour, -1, 4, kFour, true, 0}, // a negative step is never odd
                        {13, kFour, 1, 4, four(0.3f, 0.475f, 0.65f, 0.775f), false, 0},
                        {13, kGray, 1, 4, gray(0.775f), false, 0},
                        {14, kFour, 1, 4, four(0.155f, 0.31f, 0.465f, 0.62f), false, 0},
                        {14, kThree, 1, 4, three(0.155f, 0.31f, 0.465f), false, 0},
                        {14, kGray, 1, 4, gray(0.62f), false, 0}};
    for (bool stroke : {false, true})
        for (const Row& row : rows) {
            const std::string what = std::string(stroke ? "stroke" : "fill") + " mode " +
                                     std::to_string(row.mode) + " kind " + std::to_string(row.before.kind) +
                                     " step " + std::to_string(row.step);
            fake.randomValues = {0.25f, 0.5f, 0.75f, 0.5f};
            apply(stroke, row.mode, row.before, row.step, row.total);
            // The stroke keeps its colour under the two fill-only modes.
            const bool fillOnly = stroke && row.mode >= 13;
            expectColor(changed(stroke), fillOnly ? row.before : row.after, what);
            EXPECT_EQ(painted(stroke), row.paint) << what;
            EXPECT_EQ(fake.randomDraws, row.draws) << what;
            expectColor(other(stroke), kUntouched, what);
            EXPECT_FALSE(painted(!stroke)) << what;
            EXPECT_EQ(logOf({"style"}), Log({"style get 1", "style set 1"})) << what;
        }
}

TEST_F(PluginColorMode, FullStepTurnsColoursExactlyWhite) {
    apply(false, 1, kFour, 4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(changed(false).value[i], 0.0f) << i;
    apply(false, 1, kThree, 4, 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(changed(false).value[i], 1.0f) << i;
}

TEST_F(PluginColorMode, OtherKindsKeepTheirColourUnderEveryModeButRandomSwatches) {
    for (bool stroke : {false, true})
        for (int32_t mode = 1; mode <= 14; ++mode) {
            if (mode == 4) continue;
            apply(stroke, mode, kPatternFill, 1, 4);
            const std::string what =
                std::string(stroke ? "stroke" : "fill") + " mode " + std::to_string(mode);
            expectColor(changed(stroke), kPatternFill, what);
            EXPECT_EQ(painted(stroke), mode == 6 || mode == 11 || mode == 12) << what;
            EXPECT_EQ(logOf({"style"}), Log({"style get 1", "style set 1"})) << what;
        }
}

TEST_F(PluginColorMode, IgnoreMakesNoHostCall) {
    for (bool stroke : {false, true}) {
        apply(stroke, 0, kFour, 1, 4);
        EXPECT_TRUE(fake.log.empty());
        expectColor(changed(stroke), kFour, "ignore");
    }
}

TEST_F(PluginColorMode, ZeroTotalLeavesTheGradedModesUnchanged) {
    for (int32_t mode : {1, 2, 5, 6, 7, 8, 13, 14}) {
        apply(false, mode, kFour, 1, 0);
        expectColor(changed(false), kFour, "mode " + std::to_string(mode));
    }
}

TEST_F(PluginColorMode, SwatchLookupsSkipTheFirstTwoAndStopAtTheCount) {
    struct Row {
        const char* what;
        int32_t mode;
        int32_t swatchCount;
        int32_t swatchIndex;
        float draw;
        int32_t swatch; // the swatch looked up
    };
    const Row rows[] = {{"one swatch, low draw", 4, 1, 0, 0.0f, 2},
                        {"one swatch, high draw", 4, 1, 0, 0.99f, 2},
                        {"one swatch, draw 1", 4, 1, 0, 1.0f, 2},
                        {"thirty swatches, draw 0.99", 4, 30, 0, 0.99f, 30},
                        {"index 0", 6, 7, 0, 0.0f, 2},
                        {"index 1", 6, 7, 1, 0.0f, 2},
                        {"negative index", 11, 7, -5, 0.0f, 2},
                        {"index past the count", 6, 7, 50, 0.0f, 7},
                        {"index at the count", 11, 7, 7, 0.0f, 7}};
    for (const Row& row : rows) {
        fake.randomValues = {row.draw};
        apply(false, row.mode, kThree, 1, 1, row.swatchCount, row.swatchIndex);
        EXPECT_EQ(logOf({"swatch"}), Log({"swatch " + std::to_string(row.swatch), "swatch color"}))
            << row.what;
    }
}

TEST_F(PluginColorMode, SwatchThatCannotBeReadLeavesTheColour) {
    // Swatch 7 of a list of seven is one past its end; a list of thirty holds swatch 29 at most.
    for (int32_t mode : {6, 11}) {
        apply(false, mode, kFour, 1, 1, kSwatches, kSwatches);
        expectColor(changed(false), kFour, "one past the list, mode " + std::to_string(mode));
        EXPECT_TRUE(painted(false));
    }
    fake.swatches.resize(30, three(0.9f, 0.9f, 0.9f));
    fake.randomValues = {0.99f};
    apply(false, 4, kFour, 1, 1, 30);
    expectColor(changed(false), kFour, "random swatch 30 of 30");
    EXPECT_TRUE(painted(false));
    fake.operationCalls.clear();
    pluginfakes::failCall("swatch color", 1, kSPBadHandleError);
    apply(false, 11, kFour, 1, 1);
    expectColor(changed(false), kFour, "swatch colour refused");
}

TEST_F(PluginColorMode, HostFailuresAreIgnored) {
    pluginfakes::failCall("style set", 1, kSPBadParameterError);
    apply(false, 12, kFour, 1, 4);
    expectColor(changed(false), kFour, "refused write");
    apply(false, 12, kFour, 1, 4);
    expectColor(changed(false), four(0.8f, 0.6f, 0.4f, 0.2f), "next write");
}

} // namespace
