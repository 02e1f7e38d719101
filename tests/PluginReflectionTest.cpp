// The reflection builder's order of calls and draws, its running scale factors, the failures that end one
// reflection, the repeat colours and colour steps, against the fake suites.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "PluginGenerationFixture.h"
#include "plugin/finish/Reflection.h"
#include "plugin/settings/ToolSettings.h"

namespace {

using pluginfakes::expectColor;
using pluginfakes::four;
using pluginfakes::gray;
using pluginfakes::three;

using pluginfakes::fake;
using pluginfakes::logOf;
using Log = std::vector<std::string>;

constexpr SPErr kInjected = ZZ_FOURCC('F', 'A', 'I', 'L');

const std::vector<std::string> kSteps = {"rnd",   "bounds", "transform", "duplicate", "style",  "opacity",
                                         "blend", "named",  "apply",     "scale",     "symbol", "envelope",
                                         "warp",  "tag",    "type",      "segments",  "segment"};

class PluginReflection : public pluginfakes::GenerationFixture {
  protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        record.cumulativeReflectScaleX = 1.0f;
        record.cumulativeReflectScaleY = 1.0f;
        record.numberOfReflections = 3;
        element = pluginfakes::addPath({{0.0f, 0.0f}, {10.0f, -5.0f}, {0.0f, -10.0f}});
    }
    void reflect(int32_t index, int32_t placeBelow = 0, int16_t colorModel = kDocRGBColor) {
        buildReflection(element, colorModel, index, styleFactor, widthFactor, opacityFactor, placeBelow);
    }
    // The copy made by the first reflection.
    const pluginfakes::FakePath& copy() { return fake.paths.at(1); }
    // Every option of the builder that draws, decorates or can fail, on.
    void everythingOn() {
        record.reflectShiftX = 10.0f;
        record.reflectShiftY = 20.0f;
        record.reflectHorizontal = 1;
        record.reflectVertical = 1;
        record.randomStyle = 1;
        record.pressureStyleFactor = 1;
        styleFactor = 0.5f;
        record.styleToReflect = 1;
        record.fillColorMode = 3;
        widthFactor = 0.5f;
        opacityFactor = 0.5f;
        record.randomWidth = 1;
        record.randomOpacity = 1;
        record.randomBlendMode = 1;
        record.jitterFill = 1;
        record.jitterStroke = 1;
        record.jitterWidth = 1;
        record.symbolizeZigzag = 1;
        record.dropShadow = 1;
        record.randomWarp = 1;
        fake.randomValues = std::deque<float>(80, 0.25f);
    }
    AIArtHandle element = nullptr;
    AIReal styleFactor = 1.0f, widthFactor = 1.0f, opacityFactor = 1.0f;
};

TEST_F(PluginReflection, CallsAndDrawsRunInTheirFixedOrder) {
    everythingOn();
    reflect(1); // odd: no alternate angle; no turn or scaling either
    const Log expected = {
        // the shift draws, across then down, before anything is made
        "rnd x2", "duplicate 1 order 5", "segments 1", "segment get 1 0", "segment set 2 0",
        "segment get 1 1", "segment set 2 1", "segment get 1 2", "segment set 2 2",
        // random style and its pressure factor
        "rnd", "named style 1", "apply style 2 1", "scale get 2", "scale set 2 0.5",
        // colour step: random colours of the fill (the stroke's mode is 0)
        "style get 2", "rnd x3", "style set 2",
        // pressure width and opacity, random width, opacity and blend mode, the three jitters
        "style get 2", "style set 2", "opacity 2 0.5", "style get 2", "rnd", "style set 2", "rnd",
        "opacity 2 0.25", "rnd", "blend 2 5", "style get 2", "rnd x6", "style set 2", "style get 2", "rnd x6",
        "style set 2", "style get 2", "rnd x2", "style set 2",
        // repeat colour and clamp
        "style get 2", "style set 2",
        // symbol, shadow (painted from the copy's style, moved, its bounds), the copy's bounds, the warp
        "symbol 2", "duplicate 2 order 6", "style get 2", "style set 3", "transform 3 flags 15", "bounds 3",
        "bounds 2", "duplicate 2 order 5", "envelope 2 shape 4", "rnd x8", "warp 5 4 0.25 0.25 0.25 0"};
    EXPECT_EQ(logOf(kSteps), expected);
    // Reflection 1 is step n = 2: the shift is draw x shift x n.
    EXPECT_FLOAT_EQ(copy().segments[0].p.h, 0.25f * 10.0f * 2.0f);
    EXPECT_FLOAT_EQ(copy().segments[0].p.v, 0.25f * 20.0f * 2.0f);
    EXPECT_EQ(copy().reference, 0);
    EXPECT_EQ(fake.paths.at(2).reference, 0); // the shadow is placed by the element
}

TEST_F(PluginReflection, RandomShiftsDrawAcrossBeforeDown) {
    struct Row {
        bool horizontal, vertical;
        AIRealPoint first; // reflection 1 (n = 2) of the anchor (0, 0)
    };
    const Row rows[] = {{true, true, {0.5f * 10.0f * 2.0f, 0.25f * 20.0f * 2.0f}},
                        {false, true, {10.0f * 2.0f, 0.5f * 20.0f * 2.0f}},
                        {true, false, {0.5f * 10.0f * 2.0f, 20.0f * 2.0f}},
                        {false, false, {10.0f * 2.0f, 20.0f * 2.0f}}};
    for (const Row& row : rows) {
        SetUp();
        record.reflectShiftX = 10.0f;
        record.reflectShiftY = 20.0f;
        record.alternateAngle = 0.0f;
        record.reflectHorizontal = row.horizontal;
        record.reflectVertical = row.vertical;
        fake.randomValues = {0.5f, 0.25f};
        reflect(1);
        EXPECT_EQ(fake.randomDraws, int(row.horizontal) + int(row.vertical));
        EXPECT_FLOAT_EQ(copy().segments[0].p.h, row.first.h) << row.horizontal << row.vertical;
        EXPECT_FLOAT_EQ(copy().segments[0].p.v, row.first.v) << row.horizontal << row.vertical;
        // Both handles move with the anchor.
        EXPECT_EQ(copy().segments[1].in.h, copy().segments[1].p.h);
        EXPECT_EQ(copy().segments[1].out.v, copy().segments[1].p.v);
    }
}

TEST_F(PluginReflection, EvenReflectionsTurnByTheAlternateAngleBeforeTheirOwnTurn) {
    record.reflectTurn = 15.0f;
    record.reflectScalingY = 50.0f;
    // Alternate angle (even reflections only), then 15 degrees x n, then the running scale (no turn).
    const std::vector<double> turns[] = {{180, 15, 0}, {30, 0}, {180, 45, 0}};
    for (int32_t index : {0, 1, 2}) {
        fake.transforms.clear();
        reflect(index);
        std::vector<double> degrees;
        for (const auto& transform : fake.transforms)
            degrees.push_back(pluginfakes::rotationDegrees(transform.matrix));
        EXPECT_EQ(degrees, turns[index]) << index;
    }
}

TEST_F(PluginReflection, RunningScaleMultipliesBeforeAnythingIsMadeEvenWhenTheReflectionFails) {
    record.reflectScalingX = 50.0f;
    record.alternateAngle = 0.0f;
    reflect(0);
    ASSERT_EQ(fake.transforms.size(), 1u);
    EXPECT_FLOAT_EQ(fake.transforms[0].matrix.a, 0.5f);
    EXPECT_FLOAT_EQ(fake.transforms[0].matrix.d, 1.0f);
    fake.namedStyleStatus = kInjected; // the style count, before the copy
    reflect(1);
    fake.namedStyleStatus = kSPNoError;
    pluginfakes::failCall("duplicate", 2, kInjected);
    reflect(2);
    EXPECT_EQ(record.cumulativeReflectScaleX, 0.125f);
    EXPECT_EQ(record.cumulativeReflectScaleY, 1.0f);
    EXPECT_EQ(fake.paths.size(), 2u);
    reflect(3);
    ASSERT_EQ(fake.transforms.size(), 2u);
    EXPECT_FLOAT_EQ(fake.transforms[1].matrix.a, 0.0625f);
}

TEST_F(PluginReflection, FullScaleMakesNoScaleTransform) {
    record.alternateAngle = 0.0f;
    for (int32_t index = 0; index < 3; ++index)
        reflect(index);
    EXPECT_TRUE(fake.transforms.empty());
    EXPECT_EQ(logOf({"duplicate"}).size(), 3u);
}

TEST_F(PluginReflection, FailureEndsOnlyThatReflection) {
    struct Row {
        const char* operation;
        int call;
        std::string lastCall; // empty: nothing of this reflection logged
        size_t arts;
    };
    // Reflection 0 with a turn, a scale, a style, a symbol, a shadow, tiles and a warp: 1 element, R = 2,
    // shadow 3 and its tile 4 to 6, R's tile 7 to 9, the warp shape 10 and its envelope 11.
    const Row rows[] = {{"setup", 0, "", 1},
                        {"style count", 0, "", 1},
                        {"duplicate", 1, "duplicate 1 order 5", 1},
                        {"segments", 1, "segments 1", 2},
                        {"segment get", 2, "segment get 1 1", 2},
                        {"segment set", 3, "segment set 2 2", 2},
                        {"bounds", 1, "bounds 2", 2},
                        {"transform", 1, "transform 2 flags 15", 2},
                        {"transform", 2, "transform 2 flags 15", 2},
                        {"transform", 3, "transform 2 flags 15", 2},
                        {"named style", 1, "named style 1", 2},
                        {"apply style", 1, "apply style 2 1", 2},
                        {"symbol", 1, "symbol 2", 2},
                        {"duplicate", 2, "duplicate 2 order 6", 2},
                        {"transform", 4, "transform 3 flags 15", 3},
                        {"bounds", 4, "bounds 3", 3},
                        {"duplicate", 3, "duplicate 3 order 5", 3},
                        {"bounds", 9, "bounds 2", 6},
                        {"duplicate", 6, "duplicate 2 order 5", 6},
                        {"duplicate", 9, "duplicate 2 order 5", 9},
                        {"envelope", 1, "envelope 2 shape 10", 10},
                        {"warp", 1, "warp 11 9 0 0 0 0", 11}};
    for (const Row& row : rows) {
        SetUp();
        record.reflectTurn = 15.0f;
        record.reflectScalingX = 50.0f;
        record.randomStyle = 1;
        record.symbolizeZigzag = 1;
        record.dropShadow = 1;
        record.patternMode = 4;
        record.randomWarp = 1;
        fake.randomValues = {0.0f, 0.5f}; // style 1, then warp style 9
        if (row.call == 0)
            (row.operation == std::string("setup") ? fake.setupStatus : fake.namedStyleStatus) = kInjected;
        else
            pluginfakes::failCall(row.operation, row.call, kInjected);
        reflect(0);
        EXPECT_EQ(fake.log.empty() ? "" : fake.log.back(), row.lastCall) << row.operation << " " << row.call;
        EXPECT_EQ(fake.paths.size(), row.arts) << row.operation << " " << row.call;
        // The running scale is multiplied once the page centre is read.
        const float scaleX = row.operation == std::string("setup") ? 1.0f : 0.5f;
        EXPECT_EQ(record.cumulativeReflectScaleX, scaleX) << row.operation;
        // The next reflection is made whole.
        fake.setupStatus = kSPNoError;
        fake.namedStyleStatus = kSPNoError;
        fake.failures.clear();
        fake.randomValues = {0.0f, 0.5f};
        reflect(1);
        EXPECT_EQ(fake.log.back().rfind("warp ", 0), 0u) << row.operation << " " << row.call;
    }
}

TEST_F(PluginReflection, UntestedFailuresLetTheReflectionRunToTheEnd) {
    for (const char* operation : {"style get", "style set", "opacity", "blend", "scale set"})
        for (int call = 1; call <= 2; ++call) {
            SetUp();
            everythingOn();
            pluginfakes::failCall(operation, call, kInjected);
            reflect(1);
            EXPECT_EQ(fake.log.back(), "warp 5 4 0.25 0.25 0.25 0") << operation << " " << call;
        }
}

TEST_F(PluginReflection, RepeatColourActsOnEvenReflectionsAndTheClampAlways) {
    struct Row {
        int32_t mode;
        int32_t index;
        AIColor before, after;
    };
    const Row rows[] = {{1, 0, four(0.2f, 0.4f, 0.6f, 0.8f), four(0.8f, 0.6f, 0.4f, 0.8f)},
                        {1, 2, three(0.2f, 0.4f, 0.6f), three(0.8f, 0.6f, 0.4f)},
                        {1, 0, gray(0.8f), gray(0.2f)},
                        {1, 1, four(0.2f, 0.4f, 0.6f, 0.8f), four(0.2f, 0.4f, 0.6f, 0.8f)},
                        {2, 0, four(0.2f, 0.4f, 0.6f, 0.8f), four(1.0f, 1.0f, 1.0f, 1.0f)},
                        {2, 0, three(0.2f, 0.4f, 0.6f), three(0.0f, 0.0f, 0.0f)},
                        {2, 0, gray(0.2f), gray(1.0f)},
                        {2, 3, gray(0.2f), gray(0.2f)},
                        {3, 0, four(0.2f, 0.4f, 0.6f, 0.8f), four(0.1f, 0.2f, 0.3f, 0.4f)},
                        {3, 0, gray(0.8f), gray(0.4f)},
                        // doubled, then the first three clamped; a four-colour black is never clamped
                        {4, 0, four(0.2f, 0.4f, 0.6f, 0.7f), four(0.4f, 0.8f, 1.0f, 1.4f)},
                        {4, 0, three(0.2f, 0.4f, 0.6f), three(0.4f, 0.8f, 1.0f)},
                        {4, 1, three(0.2f, 0.4f, 0.6f), three(0.2f, 0.4f, 0.6f)},
                        // the clamp without a mode, on odd reflections too
                        {0, 1, three(1.2f, -0.1f, 0.5f), three(1.0f, 0.0f, 0.5f)},
                        {0, 0, four(1.2f, -0.1f, 0.5f, 1.5f), four(1.0f, 0.0f, 0.5f, 1.5f)},
                        {3, 1, gray(1.3f), gray(1.0f)},
                        {2, 0, {kPattern, {0.5f, 2.0f, 0.5f, 0.5f}}, {kPattern, {0.5f, 2.0f, 0.5f, 0.5f}}}};
    for (const Row& row : rows) {
        SetUp();
        record.repeatColorMode = row.mode;
        pluginfakes::pathOf(element).style.fill.color = row.before;
        pluginfakes::pathOf(element).style.stroke.color = row.before;
        reflect(row.index);
        const std::string what = "mode " + std::to_string(row.mode) + " reflection " +
                                 std::to_string(row.index) + " kind " + std::to_string(row.before.kind);
        expectColor(copy().style.fill.color, row.after, what + " fill");
        expectColor(copy().style.stroke.color, row.after, what + " stroke");
    }
}

TEST_F(PluginReflection, ColourStepIsTheIndexPlusOneOverTheCycleOrTheReflectionCount) {
    struct Row {
        int32_t fillMode, fillCycle, strokeCycle, reflections, index;
        float fill, stroke; // from four-colour 0.8 (fill) and 0.2 (stroke); the stroke goes to black
    };
    const Row rows[] = {
        {1, 0, 0, 4, 1, 0.8f - 0.8f * 2.0f / 4.0f, 0.2f + 0.8f * 2.0f / 4.0f},
        {1, 8, 0, 4, 1, 0.8f - 0.8f * 2.0f / 8.0f, 0.2f + 0.8f * 2.0f / 4.0f},
        {1, 0, 10, 4, 3, 0.0f, 0.2f + 0.8f * 4.0f / 10.0f},
        // to white / midpoint: step 3 of 5 is past the midpoint 2 and darkens; fill starts at 0.8
        {5, 5, 0, 4, 2, 0.8f + 0.8f * 1.0f / 5.0f, 0.2f + 0.8f * 3.0f / 4.0f}};
    for (const Row& row : rows) {
        SetUp();
        record.styleToReflect = 1;
        record.fillColorMode = row.fillMode;
        record.strokeColorMode = 2;
        record.fillCycleLength = row.fillCycle;
        record.strokeCycleLength = row.strokeCycle;
        record.numberOfReflections = row.reflections;
        pluginfakes::pathOf(element).style.fill.color = four(0.8f, 0.8f, 0.8f, 0.8f);
        pluginfakes::pathOf(element).style.stroke.color = four(0.2f, 0.2f, 0.2f, 0.2f);
        reflect(row.index);
        EXPECT_FLOAT_EQ(copy().style.fill.color.value[3], row.fill) << row.fillMode << " " << row.index;
        EXPECT_FLOAT_EQ(copy().style.stroke.color.value[3], row.stroke) << row.fillMode << " " << row.index;
    }
    // Without the option the colour modes are not applied: only the repeat colour reads the style.
    SetUp();
    record.fillColorMode = 1;
    record.strokeColorMode = 1;
    reflect(0);
    EXPECT_EQ(logOf({"style"}), Log({"style get 2", "style set 2"}));
}

TEST_F(PluginReflection, ShadowIsBlackInTheDocumentsColourModel) {
    const std::pair<int16_t, AIColor> rows[] = {{kDocGrayColor, gray(1.0f)},
                                                {kDocRGBColor, three(0.0f, 0.0f, 0.0f)},
                                                {kDocCMYKColor, four(1.0f, 1.0f, 1.0f, 1.0f)}};
    for (const auto& [model, black] : rows) {
        SetUp();
        record.dropShadow = 1;
        pluginfakes::pathOf(element).style.strokePaint = 0;
        reflect(1, 0, model);
        ASSERT_EQ(fake.paths.size(), 3u);
        const pluginfakes::FakePath& shadow = fake.paths[2];
        expectColor(shadow.style.fill.color, black, "model " + std::to_string(model));
        expectColor(shadow.style.stroke.color, pluginfakes::defaultPathStyle().stroke.color,
                    "unpainted stroke");
        EXPECT_EQ(shadow.paintOrder, kPlaceBelowAll);
    }
}

TEST_F(PluginReflection, PlaceBelowPutsTheCopyAndItsTilesBeneathButNotTheWarpShape) {
    for (int32_t below : {0, 1}) {
        SetUp();
        record.patternMode = 4;
        record.randomWarp = 1;
        record.dropShadow = 1;
        reflect(1, below);
        const std::string order = below ? "6" : "5";
        // R, the shadow, the shadow's three tile copies, R's three tile copies, the warp shape.
        EXPECT_EQ(
            logOf({"duplicate"}),
            Log({"duplicate 1 order " + order, "duplicate 2 order 6", "duplicate 3 order " + order,
                 "duplicate 3 order " + order, "duplicate 3 order " + order, "duplicate 2 order " + order,
                 "duplicate 2 order " + order, "duplicate 2 order " + order, "duplicate 2 order 5"}))
            << below;
    }
}

} // namespace
