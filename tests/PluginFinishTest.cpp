// The finishing pipeline's order of steps and random draws, the statuses that end it and those it ignores,
// against the fake suites. Where the copies and paths end up is shown end to end through the real host.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "PluginGenerationFixture.h"
#include "plugin/settings/ToolSettings.h"
#include "plugin/finish/FinishZigzagArt.h"

namespace {

using pluginfakes::fake;
using pluginfakes::logOf;
using pluginfakes::pathOf;
using Log = std::vector<std::string>;

constexpr SPErr kInjected = ZZ_FOURCC('F', 'A', 'I', 'L');
constexpr float kRadiansPerDegree = 3.14159265f / 180.0f;

// Every operation of the log but the matrix arithmetic.
const std::vector<std::string> kSteps = {"rnd",     "bounds",   "transform", "duplicate", "style",
                                         "opacity", "blend",    "named",     "apply",     "scale",
                                         "symbol",  "envelope", "warp",      "tag",       "type",
                                         "child",   "sibling",  "swatch",    "segment"};

class PluginFinish : public pluginfakes::GenerationFixture {
  protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        record.cumulativeReflectScaleX = 1.0f;
        record.cumulativeReflectScaleY = 1.0f;
        record.pressPointX = -20.0f;
        record.pressPointY = 30.0f;
        record.dragPointX = 50.0f;
        record.dragPointY = 60.0f;
        context = GenerationContext{};
        context.colorModel = kDocRGBColor;
        context.swatchCount = 7;
        context.namedStyleCount = 3;
        context.pageCenter = {306.0f, 396.0f};
        context.scaleX = 1.0f;
        context.scaleY = 1.0f;
        context.styleFactor = 1.0f;
        context.widthFactor = 1.0f;
        context.opacityFactor = 1.0f;
        context.fillCycle = 1;
        context.strokeCycle = 1;
        context.reflectionsMade = -1;
        art = pluginfakes::addPath({{0.0f, 0.0f}, {10.0f, -5.0f}, {0.0f, -10.0f}}); // centre (5, -5)
    }
    SPErr finish(FinishVariant variant = FinishVariant::PerElement, int32_t elementIndex = 0) {
        return finishZigzagArt(art, context, variant, elementIndex);
    }
    // Every option of the pipeline on but reflections and the tile.
    void everythingOn() {
        record.randomStyle = 1;
        record.pressureStyleFactor = 1;
        context.styleFactor = 0.5f;
        record.fillColorMode = 3;
        record.strokeColorMode = 3;
        context.widthFactor = 0.5f;
        context.opacityFactor = 0.5f;
        record.randomWidth = 1;
        record.randomOpacity = 1;
        record.randomBlendMode = 1;
        record.jitterFill = 1;
        record.jitterStroke = 1;
        record.jitterWidth = 1;
        context.rotation = 0.5f;
        context.slant = 0.25f;
        record.randomRotation = 1;
        context.scaleX = 2.0f;
        record.randomScaling = 1;
        record.pathJitterX = 5.0f;
        record.symbolizeZigzag = 1;
        record.dropShadow = 1;
        record.randomWarp = 1;
        fake.randomValues = std::deque<float>(60, 0.25f);
    }
    GenerationContext context = {};
    AIArtHandle art = nullptr;
};

// ---- order of the steps and of the draws ----

TEST_F(PluginFinish, DefaultsOnlyDrawThePathJitterAndReadTheBounds) {
    ASSERT_EQ(finish(), kSPNoError);
    EXPECT_EQ(pluginfakes::countedLog(), Log({"rnd x4", "bounds 1"}));
    EXPECT_EQ(fake.paths.size(), 1u);
    EXPECT_EQ(pathOf(art).segments[1].p.h, 10.0f);
    EXPECT_EQ(context.reflectionsMade, -1);
}

TEST_F(PluginFinish, StepsAndDrawsRunInTheirFixedOrder) {
    everythingOn();
    ASSERT_EQ(finish(), kSPNoError);
    const Log expected = {
        // random graphic style: trunc(0.25 x 3) = 0 becomes 1; its scale factor times the pressure
        "rnd", "named style 1", "apply style 1 1", "scale get 1", "scale set 1 0.5",
        // random colours of the fill, then of the stroke
        "style get 1", "rnd x3", "style set 1", "style get 1", "rnd x3", "style set 1",
        // pressure width and opacity
        "style get 1", "style set 1", "opacity 1 0.5",
        // random width, opacity and blend mode
        "style get 1", "rnd", "style set 1", "rnd", "opacity 1 0.25", "rnd", "blend 1 5",
        // fill, stroke and width jitter: a magnitude and a turn-back draw each
        "style get 1", "rnd x6", "style set 1", "style get 1", "rnd x6", "style set 1", "style get 1",
        "rnd x2", "style set 1",
        // rotation, slant, random rotation, scaling, random scaling, each about a fresh centre
        "bounds 1", "transform 1 flags 15", "bounds 1", "transform 1 flags 15", "rnd", "bounds 1",
        "transform 1 flags 15", "bounds 1", "transform 1 flags 15", "rnd x2", "bounds 1",
        "transform 1 flags 15",
        // path jitter, not about the centre
        "rnd x4", "transform 1 flags 15",
        // symbol; shadow painted from the art's style, moved, its pattern step
        "symbol 1", "duplicate 1 order 6", "style get 1", "style set 2", "transform 2 flags 15", "bounds 2",
        // the art's pattern step, then the warp: its shape, the envelope, eight draws, the warp
        "bounds 1", "duplicate 1 order 5", "envelope 1 shape 3", "rnd x8", "warp 4 4 0.25 0.25 0.25 0"};
    EXPECT_EQ(logOf(kSteps), expected);
    // Width 1: pressure 0.5 x 10, random 0.25 x 5, jitter + 0.25 x 3.
    EXPECT_FLOAT_EQ(pathOf(art).style.stroke.width, 2.0f);
    EXPECT_EQ(pathOf(art).namedStyle, 1);
    EXPECT_EQ(fake.symbolFlags, std::vector<AIBoolean>({0}));
}

TEST_F(PluginFinish, RotationsFollowTheVariantsOrder) {
    struct Row {
        FinishVariant variant;
        std::vector<double> degrees;
        Log draws;
    };
    const Row rows[] = {
        {FinishVariant::PerElement, {10, 20, 90}, {"transform", "transform", "rnd", "transform", "rnd x4"}},
        {FinishVariant::WholePath, {10, 90, 20}, {"transform", "rnd", "transform", "transform", "rnd x4"}}};
    for (const Row& row : rows) {
        SetUp();
        context.rotation = 10.0f * kRadiansPerDegree;
        context.slant = 20.0f * kRadiansPerDegree;
        record.randomRotation = 1;
        fake.randomValues = {0.25f};
        ASSERT_EQ(finish(row.variant), kSPNoError);
        std::vector<double> degrees;
        for (const auto& transform : fake.transforms)
            degrees.push_back(pluginfakes::rotationDegrees(transform.matrix));
        EXPECT_EQ(degrees, row.degrees);
        Log draws;
        for (const std::string& entry : logOf({"rnd", "transform"}))
            draws.push_back(entry.rfind("transform", 0) == 0 ? "transform" : entry);
        EXPECT_EQ(draws, row.draws);
    }
}

TEST_F(PluginFinish, RandomScalingTakesTheSecondDrawAcrossAndTheFirstDown) {
    context.scaleX = 2.0f;
    context.scaleY = 3.0f;
    record.randomScaling = 1;
    fake.randomValues = {0.25f, 0.5f};
    ASSERT_EQ(finish(), kSPNoError);
    ASSERT_EQ(fake.transforms.size(), 2u);
    EXPECT_FLOAT_EQ(fake.transforms[0].matrix.a, 2.0f);
    EXPECT_FLOAT_EQ(fake.transforms[0].matrix.d, 3.0f);
    EXPECT_FLOAT_EQ(fake.transforms[1].matrix.a, 0.5f * 2.0f);
    EXPECT_FLOAT_EQ(fake.transforms[1].matrix.d, 0.25f * 3.0f);
}

TEST_F(PluginFinish, PathJitterDrawsEachSignBeforeItsMagnitudeAcrossFirst) {
    struct Row {
        std::deque<float> draws;
        float tx, ty;
    };
    // A sign draw above 0.5 is -1; exactly 0.5 is +1.
    const Row rows[] = {{{0.9f, 0.5f, 0.2f, 0.25f}, -5.0f, 5.0f}, {{0.5f, 0.5f, 0.51f, 0.5f}, 5.0f, -10.0f}};
    for (const Row& row : rows) {
        SetUp();
        record.pathJitterX = 10.0f;
        record.pathJitterY = 20.0f;
        fake.randomValues = row.draws;
        ASSERT_EQ(finish(), kSPNoError);
        // A plain translation, not about the centre.
        EXPECT_EQ(logOf({"matrix", "bounds"}).front().rfind("matrix set", 0), 0u);
        ASSERT_EQ(fake.transforms.size(), 1u);
        const AIRealMatrix& m = fake.transforms[0].matrix;
        EXPECT_EQ(m.a, 1.0f);
        EXPECT_EQ(m.d, 1.0f);
        EXPECT_FLOAT_EQ(m.tx, row.tx);
        EXPECT_FLOAT_EQ(m.ty, row.ty);
        EXPECT_EQ(fake.transforms[0].flags, 15);
    }
}

TEST_F(PluginFinish, ColourJitterMovesTheFirstThreeValuesThenClamps) {
    struct Row {
        AIColor before;
        std::deque<float> draws;
        AIColor after;
    };
    // Per value: a magnitude r x 0.1, then a draw that turns it back when r x 10 > 5 (0.5 does not).
    const std::deque<float> draws = {0.5f, 0.6f, 0.2f, 0.5f, 0.5f, 0.0f};
    const Row rows[] = {
        {{kThreeColor, {0.5f, 0.5f, 0.98f, 0.0f}}, draws, {kThreeColor, {0.45f, 0.52f, 1.0f, 0.0f}}},
        {{kFourColor, {0.5f, 0.5f, 0.5f, 0.7f}}, draws, {kFourColor, {0.45f, 0.52f, 0.55f, 0.7f}}},
        {{kGrayColor, {0.02f, 0.0f, 0.0f, 0.0f}}, {0.5f, 0.9f}, {kGrayColor, {0.0f, 0.0f, 0.0f, 0.0f}}},
        {{kPattern, {0.5f, 0.5f, 0.5f, 0.5f}}, {}, {kPattern, {0.5f, 0.5f, 0.5f, 0.5f}}}};
    for (bool stroke : {false, true})
        for (const Row& row : rows) {
            SetUp();
            (stroke ? record.jitterStroke : record.jitterFill) = 1;
            AIColor& color = stroke ? pathOf(art).style.stroke.color : pathOf(art).style.fill.color;
            color = row.before;
            fake.randomValues = row.draws;
            ASSERT_EQ(finish(), kSPNoError);
            EXPECT_EQ(color.kind, row.after.kind);
            for (int i = 0; i < 4; ++i)
                EXPECT_FLOAT_EQ(color.value[i], row.after.value[i]) << stroke << " kind " << row.before.kind;
            EXPECT_EQ(fake.randomDraws, static_cast<int>(row.draws.size()) + 4);
            EXPECT_EQ(logOf({"style"}), Log({"style get 1", "style set 1"}));
        }
}

TEST_F(PluginFinish, WidthJitterNeverGoesBelowZero) {
    record.jitterWidth = 1;
    for (auto [draws, width] : {std::pair{std::deque<float>{1.0f, 0.9f}, 0.0f}, {{0.5f, 0.5f}, 2.5f}}) {
        pathOf(art).style.stroke.width = 1.0f;
        fake.randomValues = draws;
        ASSERT_EQ(finish(), kSPNoError);
        EXPECT_FLOAT_EQ(pathOf(art).style.stroke.width, width);
    }
}

TEST_F(PluginFinish, RandomBlendModeFallsBackToNormalAboveFifteen) {
    record.randomBlendMode = 1;
    const std::pair<float, int> rows[] = {{0.0f, 0}, {0.05f, 1}, {0.5f, 10}, {0.79f, 15},
                                          {0.8f, 0}, {0.82f, 0}, {0.99f, 0}};
    for (auto [draw, mode] : rows) {
        fake.log.clear();
        fake.randomValues = {draw};
        ASSERT_EQ(finish(), kSPNoError);
        EXPECT_EQ(logOf({"blend"}), Log({"blend 1 " + std::to_string(mode)})) << draw;
    }
}

TEST_F(PluginFinish, RandomStyleNeverTakesTheFirstAndSkipsStylesTheDocumentLacks) {
    struct Row {
        int32_t styles;
        float draw;
        int32_t style; // -1: nothing fetched or applied
    };
    // With 0 or 1 named styles the number drawn names none: nothing is applied and the pipeline goes on.
    const Row rows[] = {{0, 0.5f, -1}, {1, 0.0f, -1}, {1, 0.99f, -1}, {2, 0.0f, 1},
                        {2, 0.99f, 1}, {3, 0.7f, 2},  {5, 0.1f, 1},   {5, 0.99f, 4}};
    for (const Row& row : rows) {
        SetUp();
        record.randomStyle = 1;
        record.pressureStyleFactor = 1;
        context.styleFactor = 0.5f;
        context.namedStyleCount = row.styles;
        fake.namedStyleCount = row.styles;
        fake.randomValues = {row.draw};
        ASSERT_EQ(finish(), kSPNoError) << row.styles << " " << row.draw;
        const std::string k = std::to_string(row.style);
        const Log styleCalls =
            row.style < 0 ? Log()
                          : Log({"named style " + k, "apply style 1 " + k, "scale get 1", "scale set 1 0.5"});
        EXPECT_EQ(logOf({"named", "apply", "scale"}), styleCalls) << row.styles << " " << row.draw;
        EXPECT_EQ(fake.log.back(), "bounds 1");
    }
}

TEST_F(PluginFinish, StyleScaleFactorFollowsOnlyARandomStyleWithItsOptionOn) {
    record.pressureStyleFactor = 1;
    context.styleFactor = 0.5f;
    ASSERT_EQ(finish(), kSPNoError);
    record.randomStyle = 1;
    record.pressureStyleFactor = 0;
    ASSERT_EQ(finish(), kSPNoError);
    EXPECT_EQ(logOf({"named", "apply", "scale"}), Log({"named style 1", "apply style 1 1"}));
}

TEST_F(PluginFinish, VariantsGiveTheColourModesTheirStep) {
    // Alternate inverted changes odd steps only: element 1 is step 1 per element, step 0 in the whole path.
    record.fillColorMode = 12;
    ASSERT_EQ(finish(FinishVariant::PerElement, 1), kSPNoError);
    EXPECT_FLOAT_EQ(pathOf(art).style.fill.color.value[0], 0.8f);
    ASSERT_EQ(finish(FinishVariant::WholePath, 1), kSPNoError);
    EXPECT_FLOAT_EQ(pathOf(art).style.fill.color.value[0], 0.8f);
    // The midpoints are half of each cycle: to white / midpoint darkens fill step 3 of 5 (midpoint 2) but
    // still lightens stroke step 3 of 7 (midpoint 3).
    record.fillColorMode = 5;
    record.strokeColorMode = 5;
    context.fillCycle = 5;
    context.strokeCycle = 7;
    pathOf(art).style.fill.color = {kThreeColor, {0.5f, 0.5f, 0.5f, 0.0f}};
    pathOf(art).style.stroke.color = {kThreeColor, {0.5f, 0.5f, 0.5f, 0.0f}};
    ASSERT_EQ(finish(FinishVariant::PerElement, 3), kSPNoError);
    EXPECT_FLOAT_EQ(pathOf(art).style.fill.color.value[0], 0.5f + 0.5f * (-1.0f / 5.0f));
    EXPECT_FLOAT_EQ(pathOf(art).style.stroke.color.value[0], 0.5f + 0.5f * (3.0f / 7.0f));
}

// ---- reflections and the weave decisions around them ----

TEST_F(PluginFinish, ReflectionsComeAfterThePathJitterAndBeforeTheSymbol) {
    record.numberOfReflections = 2;
    record.symbolizeZigzag = 1;
    ASSERT_EQ(finish(), kSPNoError);
    // Each reflection is made, and symbolised, before the art's own symbol.
    EXPECT_EQ(logOf({"rnd", "duplicate 1", "symbol"}), Log({"rnd x4", "duplicate 1 order 5", "symbol 2",
                                                            "duplicate 1 order 5", "symbol 3", "symbol 1"}));
    EXPECT_EQ(context.reflectionsMade, 2);
}

TEST_F(PluginFinish, WeaveDecisionsUseTheVariantsElementIndexAndTheReflectionCount) {
    struct Row {
        FinishVariant variant;
        int32_t elementIndex;
        int32_t reflections;
        Log duplicates; // of the art: its reflections, then its three tile copies
    };
    const std::string above = "duplicate 1 order 5", below = "duplicate 1 order 6";
    // Weave 01: a reflection goes beneath when its index has the element's parity; the tile asks for
    // reflection index `reflections`, or for the element itself (beneath when odd) without reflections.
    const Row rows[] = {{FinishVariant::PerElement, 1, 2, {above, below, above, above, above}},
                        {FinishVariant::WholePath, 2, 2, {below, above, below, below, below}},
                        {FinishVariant::PerElement, 1, 0, {below, below, below}},
                        {FinishVariant::PerElement, 2, 0, {above, above, above}}};
    for (const Row& row : rows) {
        SetUp();
        record.weavePlaceMode = 2;
        record.numberOfReflections = row.reflections;
        record.patternMode = 4;
        ASSERT_EQ(finish(row.variant, row.elementIndex), kSPNoError);
        EXPECT_EQ(logOf({"duplicate 1"}), row.duplicates) << row.elementIndex << " " << row.reflections;
    }
}

// ---- shadow, pattern, warp ----

TEST_F(PluginFinish, ShadowIsPaintedBlackInTheDocumentsColourModel) {
    struct Row {
        int16_t model;
        AIColor black;
    };
    const AIColor asRead = pluginfakes::defaultPathStyle().stroke.color;
    // A gray document's shadow is black too: gray 1.
    const Row rows[] = {{kDocGrayColor, {kGrayColor, {1.0f, 0.0f, 0.0f, 0.0f}}},
                        {kDocRGBColor, {kThreeColor, {0.0f, 0.0f, 0.0f, 0.0f}}},
                        {kDocCMYKColor, {kFourColor, {1.0f, 1.0f, 1.0f, 1.0f}}},
                        {3, asRead}};
    for (const Row& row : rows) {
        SetUp();
        record.dropShadow = 1;
        context.colorModel = row.model;
        pathOf(art).style.fillPaint = 0; // an unpainted fill keeps its colour
        ASSERT_EQ(finish(), kSPNoError);
        ASSERT_EQ(fake.paths.size(), 2u);
        const pluginfakes::FakePath& shadow = fake.paths[1];
        EXPECT_EQ(shadow.copyOf, 0);
        EXPECT_EQ(shadow.reference, 0);
        EXPECT_EQ(shadow.paintOrder, kPlaceBelowAll);
        EXPECT_EQ(shadow.style.fill.color.kind, kThreeColor);
        EXPECT_FLOAT_EQ(shadow.style.fill.color.value[0], 0.2f);
        EXPECT_EQ(shadow.style.stroke.color.kind, row.black.kind) << row.model;
        for (int i = 0; i < 4; ++i)
            EXPECT_FLOAT_EQ(shadow.style.stroke.color.value[i], row.black.value[i]) << row.model;
        // The art itself keeps its colours.
        EXPECT_FLOAT_EQ(pathOf(art).style.stroke.color.value[0], 0.1f);
        ASSERT_EQ(fake.transforms.size(), 1u);
        EXPECT_EQ(fake.transforms[0].art, 1u);
        EXPECT_EQ(fake.transforms[0].matrix.tx, 10.0f);
        EXPECT_EQ(fake.transforms[0].matrix.ty, -10.0f);
    }
}

TEST_F(PluginFinish, PatternModeChoosesTheTileCentre) {
    // The first copy moves by twice the distance from the art's centre (5, -5) to the tile centre.
    const std::pair<int32_t, float> rows[] = {{1, 2.0f * (306.0f - 5.0f)}, // page centre
                                              {2, 2.0f * (50.0f - 5.0f)},  // drag point
                                              {3, 2.0f * (-20.0f - 5.0f)}, // press point
                                              {4, 0.0f}};                  // the art's own centre
    for (auto [mode, dx] : rows) {
        SetUp();
        record.patternMode = mode;
        ASSERT_EQ(finish(), kSPNoError);
        EXPECT_EQ(logOf({"duplicate"}).size(), 3u) << mode;
        ASSERT_FALSE(fake.transforms.empty());
        EXPECT_FLOAT_EQ(fake.transforms[0].matrix.tx, dx) << mode;
    }
    for (int32_t mode : {0, 5, -1}) {
        SetUp();
        record.patternMode = mode;
        ASSERT_EQ(finish(), kSPNoError);
        EXPECT_EQ(logOf({"duplicate", "transform"}), Log()) << mode;
    }
}

TEST_F(PluginFinish, WarpDrawsStyleThenSignedBendAndDistortionsThenOrientation) {
    struct Row {
        std::deque<float> draws;
        Log warp; // none for styles 0, 16 and 17
    };
    const Row rows[] = {{{0.5f, 0.9f, 0.25f, 0.1f, 0.5f, 0.6f, 0.75f, 0.51f}, {"warp 3 9 -0.25 0.5 -0.75 1"}},
                        {{0.85f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, {"warp 3 15 0.5 0.5 0.5 0"}},
                        {{0.9f}, {}},
                        {{0.0f}, {}}};
    for (const Row& row : rows) {
        SetUp();
        record.randomWarp = 1;
        fake.randomValues = std::deque<float>{0.0f, 0.0f, 0.0f, 0.0f}; // the path jitter
        fake.randomValues.insert(fake.randomValues.end(), row.draws.begin(), row.draws.end());
        ASSERT_EQ(finish(), kSPNoError);
        EXPECT_EQ(fake.randomDraws, 4 + 8);
        EXPECT_EQ(logOf({"duplicate", "envelope"}), Log({"duplicate 1 order 5", "envelope 1 shape 2"}));
        EXPECT_EQ(fake.paths[1].reference, 0);
        ASSERT_EQ(fake.envelopes.size(), 1u);
        EXPECT_EQ(fake.envelopes[0].art, std::vector<size_t>({0}));
        EXPECT_EQ(fake.envelopes[0].options.deformOptions, 0);
        EXPECT_EQ(fake.envelopes[0].options.fidelity, 50);
        EXPECT_EQ(logOf({"warp"}), row.warp);
    }
}

// ---- statuses ----

TEST_F(PluginFinish, TestedFailuresEndThePipelineAndKeepTheArtMadeSoFar) {
    using Setup = void (*)(ToolSettings&, GenerationContext&);
    struct Row {
        const char* what;
        Setup setup;
        const char* operation;
        int call;
        const char* lastCall;
        size_t arts;
    };
    const Row rows[] = {
        {"rotation bounds", [](ToolSettings&, GenerationContext& c) { c.rotation = 0.5f; }, "bounds", 1,
         "bounds 1", 1},
        {"rotation", [](ToolSettings&, GenerationContext& c) { c.rotation = 0.5f; }, "transform", 1,
         "transform 1 flags 15", 1},
        {"slant", [](ToolSettings&, GenerationContext& c) { c.slant = 0.5f; }, "transform", 1,
         "transform 1 flags 15", 1},
        {"random rotation", [](ToolSettings& s, GenerationContext&) { s.randomRotation = 1; }, "transform", 1,
         "transform 1 flags 15", 1},
        {"scaling", [](ToolSettings&, GenerationContext& c) { c.scaleY = 2.0f; }, "transform", 1,
         "transform 1 flags 15", 1},
        {"random scaling", [](ToolSettings& s, GenerationContext&) { s.randomScaling = 1; }, "transform", 1,
         "transform 1 flags 15", 1},
        {"path jitter",
         [](ToolSettings& s, GenerationContext&) {
             s.pathJitterY = 5.0f;
             fake.randomValues = {0.0f, 0.0f, 0.0f, 1.0f};
         },
         "transform", 1, "transform 1 flags 15", 1},
        {"style fetch", [](ToolSettings& s, GenerationContext&) { s.randomStyle = 1; }, "named style", 1,
         "named style 1", 1},
        {"style apply", [](ToolSettings& s, GenerationContext&) { s.randomStyle = 1; }, "apply style", 1,
         "apply style 1 1", 1},
        {"symbol", [](ToolSettings& s, GenerationContext&) { s.symbolizeZigzag = 1; }, "symbol", 1,
         "symbol 1", 1},
        {"shadow copy", [](ToolSettings& s, GenerationContext&) { s.dropShadow = 1; }, "duplicate", 1,
         "duplicate 1 order 6", 1},
        {"shadow move", [](ToolSettings& s, GenerationContext&) { s.dropShadow = 1; }, "transform", 1,
         "transform 2 flags 15", 2},
        {"shadow bounds", [](ToolSettings& s, GenerationContext&) { s.dropShadow = 1; }, "bounds", 1,
         "bounds 2", 2},
        {"shadow tile",
         [](ToolSettings& s, GenerationContext&) {
             s.dropShadow = 1;
             s.patternMode = 4;
         },
         "duplicate", 3, "duplicate 2 order 5", 3},
        {"pattern bounds", [](ToolSettings&, GenerationContext&) {}, "bounds", 1, "bounds 1", 1},
        {"tile", [](ToolSettings& s, GenerationContext&) { s.patternMode = 4; }, "transform", 2,
         "transform 3 flags 1", 3},
        {"warp shape", [](ToolSettings& s, GenerationContext&) { s.randomWarp = 1; }, "duplicate", 1,
         "duplicate 1 order 5", 1},
        {"envelope", [](ToolSettings& s, GenerationContext&) { s.randomWarp = 1; }, "envelope", 1,
         "envelope 1 shape 2", 2},
        {"warp",
         [](ToolSettings& s, GenerationContext&) {
             s.randomWarp = 1;
             fake.randomValues = {0.0f, 0.0f, 0.0f, 0.0f, 0.5f};
         },
         "warp", 1, "warp 3 9 0 0 0 0", 3}};
    for (const Row& row : rows) {
        SetUp();
        row.setup(record, context);
        pluginfakes::failCall(row.operation, row.call, kInjected);
        EXPECT_EQ(finish(), kInjected) << row.what;
        EXPECT_EQ(fake.log.back(), row.lastCall) << row.what;
        EXPECT_EQ(fake.paths.size(), row.arts) << row.what;
    }
}

TEST_F(PluginFinish, UntestedFailuresLetThePipelineRunToTheEnd) {
    for (const char* operation : {"style get", "style set", "opacity", "blend", "scale set"})
        for (int call = 1; call <= 3; ++call) {
            SetUp();
            everythingOn();
            pluginfakes::failCall(operation, call, kInjected);
            EXPECT_EQ(finish(), kSPNoError) << operation << " " << call;
            EXPECT_EQ(fake.log.back(), "warp 4 4 0.25 0.25 0.25 0") << operation << " " << call;
        }
}

TEST_F(PluginFinish, FailedReflectionEndsOnlyItself) {
    record.numberOfReflections = 2;
    record.symbolizeZigzag = 1;
    pluginfakes::failCall("duplicate", 1, kInjected);
    ASSERT_EQ(finish(), kSPNoError);
    // The first reflection's copy fails; the second is made and symbolised, then the art.
    EXPECT_EQ(logOf({"duplicate", "symbol"}),
              Log({"duplicate 1 order 5", "duplicate 1 order 5", "symbol 2", "symbol 1"}));
    EXPECT_EQ(fake.paths.size(), 2u);
    EXPECT_EQ(context.reflectionsMade, 2);
}

} // namespace
