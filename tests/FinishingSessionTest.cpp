// The finishing options through the real module and the host's document: where the copies go, what colour
// they take and how they are stacked, read from the session report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using sessiontest::run;

struct Drag {
    std::string document = R"({"colorModel":"rgb","page":[600,600]})";
    std::string settings = "{}";
    std::string random = "[]";
    float fromX = 100, fromY = 100, toX = 200, toY = 400;
    int pressure = 255;
};

// One drag with the settings on top of the defaults; returns the report.
ordered_json draw(const Drag& d) {
    const std::string script = R"({"document":)" + d.document + R"(,"random":)" + d.random +
                               R"(,"events":[{"do":"startup"},{"do":"settings","set":)" + d.settings +
                               R"(},{"do":"mouseDown","at":[)" + std::to_string(d.fromX) + "," +
                               std::to_string(d.fromY) + R"(]},{"do":"drag","to":[)" + std::to_string(d.toX) +
                               "," + std::to_string(d.toY) + R"(],"pressure":)" + std::to_string(d.pressure) +
                               R"(},{"do":"mouseUp"}]})";
    ordered_json report = run(script);
    EXPECT_EQ(report["results"][2], 0) << report["results"].dump();
    return report;
}

struct Box {
    double left, top, right, bottom;
    double cx() const { return (left + right) / 2; }
    double cy() const { return (top + bottom) / 2; }
    double width() const { return right - left; }
    double height() const { return top - bottom; }
};

Box anchorBox(const ordered_json& art) {
    Box box{1e30, -1e30, -1e30, 1e30};
    for (const ordered_json& s : art["segments"]) {
        const double h = s["p"][0].get<double>(), v = s["p"][1].get<double>();
        box.left = std::min(box.left, h);
        box.right = std::max(box.right, h);
        box.bottom = std::min(box.bottom, v);
        box.top = std::max(box.top, v);
    }
    return box;
}

std::vector<float> values(const ordered_json& colour) {
    return colour["values"].get<std::vector<float>>();
}

bool isTile(const ordered_json& art) {
    return art["tags"].contains("multi-tool");
}

// The art that is neither a tile copy nor an envelope, bottom to top.
std::vector<ordered_json> plainPaths(const ordered_json& report) {
    std::vector<ordered_json> paths;
    for (const ordered_json& art : report["art"])
        if (art["type"] == "path" && !isTile(art)) paths.push_back(art);
    return paths;
}

TEST(Finishing, TheDefaultsLeaveTheGeneratedPathAsTheDriverWroteIt) {
    const ordered_json report = draw({});
    ASSERT_EQ(report["art"].size(), 1u);
    const ordered_json& path = report["art"][0];
    EXPECT_EQ(path["blendMode"], 0);
    EXPECT_EQ(path["opacity"], 1.0);
    EXPECT_TRUE(path["tags"].empty());
    EXPECT_EQ(values(path["style"]["fill"]), (std::vector<float>{1, 1, 1}));
    EXPECT_EQ(path["style"]["strokeWidth"], 1.0);
}

TEST(Finishing, RandomBlendModesFallInSixteenBandsAndTheTopFifthIsNormal) {
    const std::vector<std::pair<float, int>> bands = {{0.0f, 0},    {0.051f, 1}, {0.3f, 6},  {0.749f, 14},
                                                      {0.751f, 15}, {0.8f, 0},   {0.82f, 0}, {0.99f, 0}};
    for (const auto& [draw_, mode] : bands) {
        Drag d;
        d.settings = R"({"randomBlendMode":1})";
        d.random = "[" + std::to_string(draw_) + "]";
        EXPECT_EQ(draw(d)["art"][0]["blendMode"], mode) << "draw " << draw_;
    }
}

TEST(Finishing, ColourJitterClampsTheFirstThreeValuesAndNeverTouchesFourColourBlack) {
    // The CMYK stroke starts black (0, 0, 0, 1): each of c, m, y goes down by 0.05 and is clamped at 0.
    Drag d;
    d.document = R"({"colorModel":"cmyk","page":[600,600]})";
    d.settings = R"({"jitterStroke":1})";
    d.random = "[0.5,0.9,0.5,0.9,0.5,0.9]";
    const ordered_json stroke = draw(d)["art"][0]["style"]["stroke"];
    EXPECT_EQ(stroke["kind"], kFourColor);
    EXPECT_EQ(values(stroke), (std::vector<float>{0, 0, 0, 1}));

    // The RGB fill starts white: +0.05 on red is clamped at 1, -0.05 on green and blue is kept.
    d.document = R"({"colorModel":"rgb","page":[600,600]})";
    d.settings = R"({"jitterFill":1})";
    d.random = "[0.5,0.5,0.5,0.9,0.5,0.9]";
    const std::vector<float> fill = values(draw(d)["art"][0]["style"]["fill"]);
    EXPECT_EQ(fill[0], 1.0f);
    EXPECT_EQ(fill[1], 1.0f - 0.5f * 0.1f);
    EXPECT_EQ(fill[2], 1.0f - 0.5f * 0.1f);
}

TEST(Finishing, PenPressureWidthLeavesFullPressureAloneAndHalvesAtPressure128) {
    Drag d;
    d.settings = R"({"pressureWidth":1})";
    EXPECT_EQ(draw(d)["art"][0]["style"]["strokeWidth"], 1.0);
    d.pressure = 128;
    const float expected = 128.0f * 0.003921569f * 10.0f;
    EXPECT_EQ(draw(d)["art"][0]["style"]["strokeWidth"].get<float>(), expected);
    EXPECT_NEAR(expected, 5.02, 0.01);
}

TEST(Finishing, TheDropShadowIsABlackCopyBelowAllArtMovedRightAndDown) {
    struct Case {
        const char* model;
        int kind;
        std::vector<float> black;
    };
    const std::vector<Case> cases = {
        {"rgb", kThreeColor, {0, 0, 0}}, {"cmyk", kFourColor, {1, 1, 1, 1}}, {"gray", kGrayColor, {1}}};
    for (const Case& c : cases) {
        Drag d;
        d.document = std::string(R"({"colorModel":")") + c.model + R"(","page":[600,600]})";
        d.settings = R"({"dropShadow":1})";
        const ordered_json report = draw(d);
        ASSERT_EQ(report["art"].size(), 2u) << c.model;
        const ordered_json& shadow = report["art"][0];
        const ordered_json& path = report["art"][1];
        for (const char* paint : {"fill", "stroke"}) {
            EXPECT_EQ(shadow["style"][paint]["kind"], c.kind) << c.model << " " << paint;
            EXPECT_EQ(values(shadow["style"][paint]), c.black) << c.model << " " << paint;
        }
        ASSERT_EQ(shadow["segments"].size(), path["segments"].size());
        for (size_t i = 0; i < path["segments"].size(); ++i) {
            EXPECT_EQ(shadow["segments"][i]["p"][0].get<float>(),
                      path["segments"][i]["p"][0].get<float>() + 10);
            EXPECT_EQ(shadow["segments"][i]["p"][1].get<float>(),
                      path["segments"][i]["p"][1].get<float>() - 10);
        }
    }
}

TEST(Finishing, AShadowOfAnUnpaintedFillLeavesItUnpaintedAndJitterStopsAtOne) {
    Drag d;
    d.document = R"({"colorModel":"rgb","page":[600,600],)"
                 R"("paint":{"fill":null,"stroke":{"kind":5,"values":[0.2,0.4,0.6]},"strokeWidth":2}})";
    d.settings = R"({"dropShadow":1})";
    ordered_json report = draw(d);
    ASSERT_EQ(report["art"].size(), 2u);
    EXPECT_EQ(report["art"][0]["style"]["fillPaint"], false);
    EXPECT_EQ(values(report["art"][0]["style"]["stroke"]), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(values(report["art"][1]["style"]["stroke"]), (std::vector<float>{0.2f, 0.4f, 0.6f}));

    // Red 0.98 stepped up by 0.05 is clamped at 1, not 1.03.
    d.document =
        R"({"colorModel":"rgb","page":[600,600],"paint":{"fill":{"kind":5,"values":[0.98,0.5,0.5]}}})";
    d.settings = R"({"jitterFill":1})";
    d.random = "[0.5,0.1,0.5,0.1,0.5,0.9]";
    report = draw(d);
    EXPECT_EQ(values(report["art"][0]["style"]["fill"]), (std::vector<float>{1.0f, 0.55f, 0.45f}));
}

TEST(Finishing, TheTileMirrorsAboutTheArtsOwnCentreOrTheRawCursor) {
    // Mode 4: all three copies keep the art's bounds, each tagged.
    Drag d;
    d.settings = R"({"patternMode":4})";
    ordered_json report = draw(d);
    ASSERT_EQ(report["art"].size(), 4u);
    const Box own = anchorBox(plainPaths(report).at(0));
    int tiles = 0;
    for (const ordered_json& art : report["art"]) {
        if (!isTile(art)) continue;
        ++tiles;
        EXPECT_EQ(art["tags"]["multi-tool"], "multi-tool");
        const Box box = anchorBox(art);
        EXPECT_NEAR(box.cx(), own.cx(), 1e-3);
        EXPECT_NEAR(box.cy(), own.cy(), 1e-3);
    }
    EXPECT_EQ(tiles, 3);

    // Mode 2 with the locked end point: the centre is the cursor (200, 400) as it was, not the locked point.
    d.settings = R"({"patternMode":2,"lockedVerticalHorizontal":1})";
    report = draw(d);
    const Box art = anchorBox(plainPaths(report).at(0));
    std::vector<std::pair<double, double>> centres;
    for (const ordered_json& each : report["art"])
        if (isTile(each)) centres.push_back({anchorBox(each).cx(), anchorBox(each).cy()});
    ASSERT_EQ(centres.size(), 3u);
    const double mirroredX = 2 * 200.0 - art.cx(), mirroredY = 2 * 400.0 - art.cy();
    // Above all art in the order made: left-right, half turn, top-bottom.
    EXPECT_NEAR(centres[0].first, mirroredX, 1e-2);
    EXPECT_NEAR(centres[0].second, art.cy(), 1e-2);
    EXPECT_NEAR(centres[1].first, mirroredX, 1e-2);
    EXPECT_NEAR(centres[1].second, mirroredY, 1e-2);
    EXPECT_NEAR(centres[2].first, art.cx(), 1e-2);
    EXPECT_NEAR(centres[2].second, mirroredY, 1e-2);
}

TEST(Finishing, TheFirstReflectionIsTheElementTurnedHalfARevolution) {
    Drag d;
    d.settings = R"({"numberOfReflections":1})";
    const ordered_json report = draw(d);
    ASSERT_EQ(report["art"].size(), 2u);
    const ordered_json& path = report["art"][0];
    const ordered_json& reflection = report["art"][1];
    const Box box = anchorBox(path);
    for (size_t i = 0; i < path["segments"].size(); ++i) {
        EXPECT_NEAR(reflection["segments"][i]["p"][0].get<double>(),
                    2 * box.cx() - path["segments"][i]["p"][0].get<double>(), 1e-3);
        EXPECT_NEAR(reflection["segments"][i]["p"][1].get<double>(),
                    2 * box.cy() - path["segments"][i]["p"][1].get<double>(), 1e-3);
    }
}

TEST(Finishing, ReflectionsShiftStepByStepAndTheirScalesMultiplyOverTheGeneration) {
    Drag d;
    d.settings = R"({"numberOfReflections":3,"alternateAngle":0,"reflectShiftX":10})";
    ordered_json report = draw(d);
    std::vector<ordered_json> paths = plainPaths(report);
    ASSERT_EQ(paths.size(), 4u);
    for (int i = 1; i <= 3; ++i)
        for (size_t s = 0; s < paths[0]["segments"].size(); ++s) {
            EXPECT_EQ(paths[i]["segments"][s]["p"][0].get<float>(),
                      paths[0]["segments"][s]["p"][0].get<float>() + 10.0f * static_cast<float>(i));
            EXPECT_EQ(paths[i]["segments"][s]["p"][1], paths[0]["segments"][s]["p"][1]);
        }

    // Two separate elements: the second element's copies go on with the product (0.0625, ...).
    d.settings = R"({"numberOfReflections":3,"alternateAngle":0,"reflectScalingX":50,"separateElements":1,)"
                 R"("zigzagElements":2})";
    report = draw(d);
    paths = plainPaths(report);
    ASSERT_EQ(paths.size(), 8u);
    const std::vector<double> factors = {0.5, 0.25, 0.125, 0.0625, 0.03125, 0.015625};
    for (size_t e = 0; e < 2; ++e) {
        const Box element = anchorBox(paths[e * 4]);
        for (size_t r = 0; r < 3; ++r) {
            const Box copy = anchorBox(paths[e * 4 + 1 + r]);
            EXPECT_NEAR(copy.width(), element.width() * factors[e * 3 + r], 1e-3) << e << " " << r;
            EXPECT_NEAR(copy.height(), element.height(), 1e-3);
            EXPECT_NEAR(copy.cx(), element.cx(), 1e-3);
        }
    }
}

TEST(Finishing, WholePathWeaveUsesTheElementCountAndTheReflectionsMadeForTheTile) {
    // " Weave 01 ": a reflection goes beneath when it and the element index have the same parity. The whole
    // path passes the element count; the decision for the path's own tile uses reflection index 2. Tile
    // copies (mode 4) lie on their source: the path A, reflection R0 100 points right of it, R1 200 points
    // right.
    struct Case {
        int elements;
        std::vector<std::string> order; // bottom to top
    };
    const std::vector<Case> cases = {
        {4, {"TA", "TA", "TA", "TR0", "TR0", "TR0", "R0", "A", "R1", "TR1", "TR1", "TR1"}},
        {3, {"TR1", "TR1", "TR1", "R1", "A", "R0", "TR0", "TR0", "TR0", "TA", "TA", "TA"}},
    };
    for (const Case& c : cases) {
        Drag d;
        d.settings = R"({"weavePlaceMode":2,"numberOfReflections":2,"alternateAngle":0,"reflectShiftX":100,)"
                     R"("patternMode":4,"zigzagElements":)" +
                     std::to_string(c.elements) + "}";
        const ordered_json report = draw(d);
        double pathLeft = 1e30;
        for (const ordered_json& art : report["art"])
            pathLeft = std::min(pathLeft, anchorBox(art).left);
        std::vector<std::string> order;
        for (const ordered_json& art : report["art"]) {
            const double offset = anchorBox(art).left - pathLeft;
            const std::string source = offset < 50 ? "A" : offset < 150 ? "R0" : "R1";
            order.push_back(isTile(art) ? "T" + source : source);
        }
        EXPECT_EQ(order, c.order) << c.elements << " elements";
    }
}

TEST(Finishing, AWarpStyleDrawOf16MakesAnEnvelopeWithoutAWarp) {
    Drag d;
    d.settings = R"({"randomWarp":1})";
    // Four path jitter draws, then the warp's: style, sign, bend, sign, horizontal, sign, vertical, rotate.
    d.random = "[0,0,0,0, 0.9, 0.2,0.5, 0.7,0.25, 0.2,0.75, 0.6]";
    ordered_json report = draw(d);
    ASSERT_EQ(report["art"].size(), 1u);
    EXPECT_EQ(report["art"][0]["type"], "envelope");
    EXPECT_TRUE(!report["art"][0].contains("warp") || report["art"][0]["warp"].is_null());

    d.random = "[0,0,0,0, 0.3, 0.2,0.5, 0.7,0.25, 0.2,0.75, 0.6]";
    report = draw(d);
    const ordered_json& warp = report["art"][0]["warp"];
    EXPECT_EQ(warp["style"], 5);
    EXPECT_EQ(warp["bend"], 0.5);
    EXPECT_EQ(warp["horizontal"], -0.25);
    EXPECT_EQ(warp["vertical"], 0.75);
    EXPECT_EQ(warp["rotate"], true);
}

TEST(Finishing, RandomSwatchesSkipTheTwoSpecialEntriesAndKeepTheColourPastTheList) {
    // A list of five: none, registration, then three colours. A draw d picks trunc(d x 5) + 1, capped at 5;
    // 0 and 1 become 2; 5 names no swatch, so the fill keeps its colour (and is painted).
    const std::string swatches = R"([null,null,{"kind":5,"values":[1,0,0]},{"kind":5,"values":[0,1,0]},)"
                                 R"({"kind":5,"values":[0,0,1]}])";
    const std::vector<std::pair<float, std::vector<float>>> cases = {
        {0.0f, {1, 0, 0}}, {0.2f, {1, 0, 0}}, {0.4f, {0, 1, 0}}, {0.6f, {0, 0, 1}}, {0.99f, {1, 1, 1}}};
    for (const auto& [d_, fill] : cases) {
        Drag d;
        d.document = R"({"colorModel":"rgb","page":[600,600],"swatches":)" + swatches + "}";
        d.settings = R"({"fillColorMode":4})";
        d.random = "[" + std::to_string(d_) + "]";
        const ordered_json style = draw(d)["art"][0]["style"];
        EXPECT_EQ(values(style["fill"]), fill) << "draw " << d_;
        EXPECT_EQ(style["fillPaint"], true);
    }
}

TEST(Finishing, AlternatingColourModesChangeOddElementsOnly) {
    struct Case {
        int mode;
        std::vector<float> odd;
    };
    // The RGB fill is white (1, 1, 1).
    const std::vector<Case> cases = {{9, {1, 1, 1}}, {10, {0, 0, 0}}, {12, {0, 0, 0}}};
    for (const Case& c : cases) {
        Drag d;
        d.settings =
            R"({"separateElements":1,"zigzagElements":4,"fillColorMode":)" + std::to_string(c.mode) + "}";
        const ordered_json report = draw(d);
        ASSERT_EQ(report["art"].size(), 4u);
        for (int k = 0; k < 4; ++k) {
            const std::vector<float> expected = k % 2 == 1 ? c.odd : std::vector<float>{1, 1, 1};
            EXPECT_EQ(values(report["art"][k]["style"]["fill"]), expected)
                << "mode " << c.mode << " element " << k;
        }
    }
}

TEST(Finishing, AlternateInvertedReadsItsSwatchSoAFailingReadFallsOnIt) {
    // Element 1 (odd) first inverts its fill (mode 12), then alternates its stroke with swatch 2 (mode 11);
    // both look swatch 2 up. The first swatch read of the drag fails: it is the fill's, so the stroke still
    // takes the swatch.
    const std::string script =
        R"({"document":{"colorModel":"rgb","page":[600,600],"swatches":[null,null,{"kind":5,"values":[0,0.5,1]}]},)"
        R"("events":[{"do":"startup"},{"do":"settings","set":{"separateElements":1,"zigzagElements":2,)"
        R"("fillColorMode":12,"strokeColorMode":11}},{"do":"mouseDown","at":[100,100]},)"
        R"({"do":"fault","suite":"AI Swatch List Suite","op":"GetSwatchColor","code":-1},)"
        R"({"do":"drag","to":[200,400]},{"do":"mouseUp"}]})";
    const ordered_json report = run(script);
    EXPECT_EQ(report["results"][4], 0) << report["results"].dump();
    ASSERT_EQ(report["art"].size(), 2u);
    const ordered_json& odd = report["art"][1]["style"];
    EXPECT_EQ(values(odd["fill"]), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(values(odd["stroke"]), (std::vector<float>{0, 0.5f, 1}));
    // The even element reads no swatch: its stroke keeps the paint of new art.
    EXPECT_EQ(values(report["art"][0]["style"]["stroke"]), (std::vector<float>{0, 0, 0}));
}

TEST(Finishing, ARandomStyleWithoutAStyleToApplyStillDraws) {
    for (const int styles : {0, 1}) {
        Drag d;
        d.document = R"({"colorModel":"rgb","page":[600,600],"namedStyles":)" + std::to_string(styles) + "}";
        d.settings = R"({"randomStyle":1,"numberOfReflections":1})";
        const ordered_json report = draw(d);
        EXPECT_EQ(report["art"].size(), 2u) << styles << " named styles";
    }
}

TEST(Finishing, EveryOptionTogetherDrawsOnEveryColourModel) {
    for (const char* model : {"gray", "rgb", "cmyk"}) {
        Drag d;
        d.document =
            std::string(R"({"colorModel":")") + model + R"(","page":[600,600],"swatches":9,"namedStyles":4})";
        d.settings =
            R"({"separateElements":1,"zigzagElements":5,"numberOfReflections":3,"dropShadow":1,)"
            R"("patternMode":4,"randomWarp":1,"fillColorMode":6,"strokeColorMode":13,"randomWidth":1,)"
            R"("randomOpacity":1,"randomBlendMode":1,"jitterFill":1,"jitterStroke":1,"jitterWidth":1,)"
            R"("randomRotation":1,"randomScaling":1,"randomStyle":1,"pressureStyleFactor":1,)"
            R"("symbolizeZigzag":1,"styleToReflect":1,"repeatColorMode":4,"reflectShiftX":20,)"
            R"("reflectTurn":15,"pathJitterX":5,"pathJitterY":5,"weavePlaceMode":7})";
        d.random = "[]";
        const ordered_json report = draw(d);
        EXPECT_GT(report["art"].size(), 50u) << model;
    }
}

} // namespace
} // namespace zz
