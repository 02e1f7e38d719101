// SVG export: structure, the flipped y axis, colours, attributes, nesting, the atomic write, and pictures
// that rsvg-convert renders (when it is installed); and "zigzag draw" end to end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <regex>
#include <sstream>
#include <string>

#include "host/base/AtomicFile.h"
#include "host/document/SvgExport.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

namespace fs = std::filesystem;
using test::corner;
using test::haveRsvgConvert;
using test::readFile;

ArtId addPath(Document& document, std::vector<AIPathSegment> segments, int16_t order = kPlaceAboveAll) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, order, 0, &id), DocStatus::ok);
    EXPECT_EQ(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()),
              DocStatus::ok);
    return id;
}

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

// ---- structure ----

TEST(SvgExport, PageIsTheViewBoxAndYRunsDown) {
    Document document(DocumentFacts{kDocRGBColor, 300.0f, 200.0f, {}, 0, false});
    addPath(document, {corner(0, 0), corner(10, -5), corner(0, 50.5f)});
    const std::string svg = svgText(document);
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 300 200\""), std::string::npos);
    EXPECT_NE(svg.find("version=\"1.1\""), std::string::npos);
    // Document (x, y) is drawn at (x, 200 - y).
    EXPECT_NE(svg.find("d=\"M 0 200 L 10 205 L 0 149.5\""), std::string::npos) << svg;
    EXPECT_EQ(count(svg, "<path"), 1u);
}

TEST(SvgExport, CurvesWhereHandlesDifferAndClosedPathsClose) {
    Document document(DocumentFacts{kDocRGBColor, 100.0f, 100.0f, {}, 0, false});
    AIPathSegment a = corner(0, 0), b = corner(10, 0), c = corner(10, 10);
    a.out = AIRealPoint{2, 3};
    b.in = AIRealPoint{8, 3};
    const ArtId id = addPath(document, {a, b, c});
    ASSERT_EQ(document.setClosed(id, true), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_NE(svg.find("M 0 100 C 2 97 8 97 10 100 L 10 90 Z"), std::string::npos) << svg;

    addPath(document, {}); // an empty path draws nothing
    EXPECT_EQ(count(svgText(document), "<path"), 1u);
}

TEST(SvgExport, ColoursOfEveryModelBecomeSrgbAndUnpaintedIsNone) {
    EXPECT_EQ(svgColor(AIColor{kGrayColor, {0.0f}}), "#ffffff");
    EXPECT_EQ(svgColor(AIColor{kGrayColor, {1.0f}}), "#000000");
    EXPECT_EQ(svgColor(AIColor{kGrayColor, {0.5f}}), "#808080");
    EXPECT_EQ(svgColor(AIColor{kThreeColor, {1.0f, 0.0f, 0.5f}}), "#ff0080");
    EXPECT_EQ(svgColor(AIColor{kFourColor, {0.0f, 0.0f, 0.0f, 1.0f}}), "#000000");
    EXPECT_EQ(svgColor(AIColor{kFourColor, {1.0f, 0.0f, 0.0f, 0.0f}}), "#00ffff");
    EXPECT_EQ(svgColor(AIColor{kFourColor, {0.0f, 0.0f, 0.0f, 0.0f}}), "#ffffff");
    EXPECT_EQ(svgColor(AIColor{kThreeColor, {2.0f, -1.0f, 0.0f}}), "#ff0000"); // clamped
    EXPECT_EQ(svgColor(AIColor{kNoneColor, {}}), "none");

    Document document;
    const ArtId id = addPath(document, {corner(0, 0), corner(1, 1)});
    AIPathStyle style = defaultPaint(kDocRGBColor);
    style.fillPaint = 0;
    style.stroke.color = AIColor{kThreeColor, {0.0f, 0.0f, 1.0f, 0.0f}};
    style.stroke.width = 2.5f;
    ASSERT_EQ(document.setPathStyle(id, style), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_NE(svg.find("fill=\"none\" stroke=\"#0000ff\" stroke-width=\"2.5\""), std::string::npos) << svg;
}

TEST(SvgExport, OpacityBlendModeAndTagsAreAttributes) {
    Document document;
    const ArtId id = addPath(document, {corner(0, 0), corner(1, 1)});
    ASSERT_EQ(document.setOpacity(id, 0.5f), DocStatus::ok);
    ASSERT_EQ(document.setBlendMode(id, 1), DocStatus::ok);
    ASSERT_EQ(document.setTag(id, "multi-tool", "a<b\"c"), DocStatus::ok);
    ASSERT_EQ(document.setTag(id, "Odd Name", "x"), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_NE(svg.find("opacity=\"0.5\""), std::string::npos);
    EXPECT_NE(svg.find("style=\"mix-blend-mode:multiply\""), std::string::npos);
    EXPECT_NE(svg.find("data-multi-tool=\"a&lt;b&quot;c\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("data-odd-name=\"x\""), std::string::npos);
}

TEST(SvgExport, GroupsNestAndCompoundPathsAreOnePathOfSubpaths) {
    Document document;
    ArtId group = 0, compound = 0, a = 0, b = 0, inner = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceInsideOnTop, group, &compound), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &a), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &b), DocStatus::ok);
    const AIPathSegment square[] = {corner(0, 0), corner(10, 0), corner(10, 10)};
    ASSERT_EQ(document.setSegments(a, 0, 3, square), DocStatus::ok);
    ASSERT_EQ(document.setSegments(b, 0, 2, square), DocStatus::ok);
    ASSERT_EQ(document.setTag(b, "multi-tool", "multi-tool"), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnBottom, group, &inner), DocStatus::ok);
    ASSERT_EQ(document.setSegments(inner, 0, 2, square), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_EQ(count(svg, "<path"), 2u); // the loose path and the compound
    EXPECT_EQ(count(svg, " M "), 1u);   // the compound's second subpath
    // The group holds both, the inner path first (bottom-most).
    const std::regex nested(
        "<g id=\"layer\">\\n<g>\\n<path d=\"M 0 792 L 10 792\"[^\\n]*\\n<path d=\"M 0 792 "
        "L 10 792 L 10 782 M 0 792 L 10 792\"[^\\n]*data-multi-tool[^\\n]*\\n</g>\\n</g>");
    EXPECT_TRUE(std::regex_search(svg, nested)) << svg;
}

TEST(SvgExport, LongSubpathsOfACompoundStayOnePathAcrossTheWriteBuffer) {
    // Subpaths long enough that the writer hands its buffer on in the middle of the compound's "d".
    Document document;
    ArtId compound = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
    std::vector<AIPathSegment> many;
    for (int i = 0; i < 5000; ++i)
        many.push_back(corner(static_cast<AIReal>(i) + 0.125f, static_cast<AIReal>(i % 7) + 0.5f));
    for (int subpath = 0; subpath < 3; ++subpath) {
        ArtId path = 0;
        ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &path), DocStatus::ok);
        ASSERT_EQ(document.setSegments(path, 0, 5000, many.data()), DocStatus::ok);
    }
    const std::string svg = svgText(document);
    EXPECT_EQ(count(svg, "<path"), 1u);
    EXPECT_EQ(count(svg, "d=\"M 0.125 791.5 L 1.125 790.5"), 1u);
    EXPECT_EQ(count(svg, " L 4999.125 790.5 M 0.125 791.5 L 1.125 790.5"), 2u); // each next subpath
    EXPECT_EQ(count(svg, " L "), 3u * 4999u);
    EXPECT_EQ(svg.substr(svg.size() - 12), "</g>\n</svg>\n");
}

TEST(SvgExport, DeviceColoursGoAlongAsTheDocumentHoldsThem) {
    struct Case {
        AIColor color;
        const char* device;
        const char* srgb;
    };
    const Case cases[] = {
        {{kGrayColor, {0.5f}}, "gray 0.5", "#808080"},
        {{kGrayColor, {1.25f}}, "gray 1.25", "#000000"}, // beyond black: shown black, kept as it is
        {{kFourColor, {0.1f, 0.2f, 0.3f, 0.4f}}, "cmyk 0.1 0.2 0.3 0.4", "#8a7a6b"},
        {{kFourColor, {0, 0, 0, -2}}, "cmyk 0 0 0 -2", "#ffffff"},
        {{kThreeColor, {1, 0, 0.5f}}, "rgb 1 0 0.5", "#ff0080"},
        {{kThreeColor, {2, -1, 0.25f}}, "rgb 2 -1 0.25", "#ff0040"},
        {{kThreeColor, {std::numeric_limits<AIReal>::quiet_NaN(), 1, 1}}, "rgb nan 1 1", "#00ffff"},
        {{kPattern, {0.3f}}, "pattern", "#808080"},
        {{kCustomColor, {}}, "spot", "#808080"},
        {{kGradient, {}}, "gradient", "#808080"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device);
        EXPECT_EQ(svgDeviceColor(c.color), c.device);
        EXPECT_EQ(svgColor(c.color), c.srgb);
        // In the picture: both colours on the fill and on the stroke.
        Document document;
        const ArtId id = addPath(document, {corner(0, 0), corner(1, 1)});
        AIPathStyle style = defaultPaint(kDocRGBColor);
        style.fill.color = style.stroke.color = c.color;
        ASSERT_EQ(document.setPathStyle(id, style), DocStatus::ok);
        const std::string svg = svgText(document);
        EXPECT_NE(svg.find(std::string("fill=\"") + c.srgb + "\""), std::string::npos) << svg;
        EXPECT_NE(svg.find(std::string("stroke=\"") + c.srgb + "\""), std::string::npos) << svg;
        EXPECT_NE(svg.find(std::string("data-fill-device=\"") + c.device + "\""), std::string::npos) << svg;
        EXPECT_NE(svg.find(std::string("data-stroke-device=\"") + c.device + "\""), std::string::npos) << svg;
    }

    // Unpainted sides carry no device colour.
    Document document;
    const ArtId id = addPath(document, {corner(0, 0), corner(1, 1)});
    AIPathStyle style = defaultPaint(kDocCMYKColor);
    style.fillPaint = 0;
    style.stroke.color = AIColor{kNoneColor, {}};
    ASSERT_EQ(document.setPathStyle(id, style), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_EQ(svg.find("-device="), std::string::npos) << svg;
    EXPECT_EQ(svg.find("fill-rule"), std::string::npos) << svg;
}

TEST(SvgExport, TagsNamedLikeTheWritersOwnAttributesDoNotRepeatThem) {
    Document document;
    const ArtId id = addPath(document, {corner(0, 0), corner(1, 1)});
    ASSERT_EQ(document.setTag(id, "Fill-Device", "mine"), DocStatus::ok);
    ASSERT_EQ(document.setTag(id, "graphic style", "mine too"), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_EQ(count(svg, "data-fill-device=\""), 1u) << svg;
    EXPECT_NE(svg.find("data-fill-device-2=\"mine\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("data-graphic-style-2=\"mine too\""), std::string::npos) << svg;
}

TEST(SvgExport, CompoundPathsKeepTheirFillRule) {
    for (const bool evenodd : {true, false}) {
        Document document;
        ArtId compound = 0;
        ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
        for (AIReal size : {40.0f, 20.0f}) { // an outer square and a hole
            ArtId path = 0;
            ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &path), DocStatus::ok);
            const AIPathSegment square[] = {corner(50 - size, 50 - size), corner(50 + size, 50 - size),
                                            corner(50 + size, 50 + size), corner(50 - size, 50 + size)};
            ASSERT_EQ(document.setSegments(path, 0, 4, square), DocStatus::ok);
            ASSERT_EQ(document.setClosed(path, true), DocStatus::ok);
        }
        AIPathStyle style = document.currentPaint();
        style.evenodd = evenodd;
        ASSERT_EQ(document.setPathStyle(compound, style), DocStatus::ok);
        const std::string svg = svgText(document);
        EXPECT_EQ(count(svg, "<path"), 1u);
        EXPECT_EQ(count(svg, " Z"), 2u);
        EXPECT_NE(svg.find(evenodd ? "fill-rule=\"evenodd\"" : "fill-rule=\"nonzero\""), std::string::npos)
            << svg;
    }
}

TEST(SvgExport, ANamedGraphicStyleShowsAsWhatItPaintsAndByItsIndex) {
    Document document(DocumentFacts{kDocRGBColor, 100.0f, 100.0f, {}, 4, false});
    const ArtId styled = addPath(document, {corner(0, 0), corner(1, 1)});
    const ArtId plain = addPath(document, {corner(2, 2), corner(3, 3)});
    ASSERT_EQ(document.applyNamedStyle(styled, 3), DocStatus::ok);
    const NamedStyle* named = document.namedStyle(3);
    ASSERT_NE(named, nullptr);
    const std::string svg = svgText(document);
    const size_t at = svg.find("d=\"M 0 100 L 1 99\"");
    ASSERT_NE(at, std::string::npos) << svg;
    const std::string element = svg.substr(at, svg.find('\n', at) - at);
    EXPECT_NE(element.find("data-graphic-style=\"3\""), std::string::npos) << element;
    EXPECT_NE(element.find("fill=\"" + svgColor(named->style.fill.color) + "\""), std::string::npos)
        << element;
    EXPECT_NE(element.find("stroke=\"" + svgColor(named->style.stroke.color) + "\""), std::string::npos)
        << element;
    EXPECT_NE(
        element.find("stroke-width=\"" + std::to_string(static_cast<int>(named->style.stroke.width)) + "\""),
        std::string::npos)
        << element;
    EXPECT_EQ(count(svg, "data-graphic-style"), 1u);
    const size_t other = svg.find("d=\"M 2 98 L 3 97\""); // the plain path has none
    ASSERT_NE(other, std::string::npos) << svg;
    EXPECT_EQ(svg.substr(other, svg.find('\n', other) - other).find("data-graphic-style"), std::string::npos);
    EXPECT_EQ(document.find(plain)->data().graphicStyle, -1);
}

TEST(SvgExport, SymbolsAreDefinitionsThatShowWhereTheyStandWhenUsed) {
    Document document(DocumentFacts{kDocRGBColor, 100.0f, 100.0f, {}, 0, false});
    const ArtId art = addPath(document, {corner(10, 10), corner(90, 90)});
    ArtId first = 0, second = 0;
    ASSERT_EQ(document.newSymbol(art, false, &first), DocStatus::ok);
    ASSERT_EQ(document.newSymbol(art, false, &second), DocStatus::ok);
    const std::string svg = svgText(document);
    const std::string firstOpen =
        "<symbol id=\"symbol-" + std::to_string(first) + "\" overflow=\"visible\">\n";
    const size_t defs = svg.find("<defs>\n");
    const size_t at = svg.find(firstOpen);
    ASSERT_NE(defs, std::string::npos) << svg;
    ASSERT_NE(at, std::string::npos) << svg;
    EXPECT_LT(defs, at);
    EXPECT_LT(at, svg.find("<symbol id=\"symbol-" + std::to_string(second) + "\""));
    EXPECT_EQ(count(svg, "</symbol>\n"), 2u);
    EXPECT_LT(svg.rfind("</symbol>"), svg.find("</defs>"));
    EXPECT_LT(svg.find("</defs>"), svg.find("<g id=\"layer\">"));
    EXPECT_EQ(count(svg, "d=\"M 10 90 L 90 10\""), 3u); // two definitions and the art
}

// An envelope of a closed 200 x 100 box path filled red, shaped by a copy of it as the tool makes it.
struct BoxEnvelope {
    Document document{DocumentFacts{kDocRGBColor, 300.0f, 300.0f, {}, 0, false}};
    ArtId path = 0;
    ArtId envelope = 0;

    explicit BoxEnvelope(std::optional<Warp> warp) {
        path = addPath(document, {corner(0, 0), corner(200, 0), corner(200, 100), corner(0, 100)});
        EXPECT_EQ(document.setClosed(path, true), DocStatus::ok);
        AIPathStyle style = document.currentPaint();
        style.fill.color = AIColor{kThreeColor, {1, 0, 0, 0}};
        EXPECT_EQ(document.setPathStyle(path, style), DocStatus::ok);
        ArtId shape = 0;
        EXPECT_EQ(document.duplicateArt(path, kPlaceAboveAll, path, &shape), DocStatus::ok);
        EXPECT_EQ(document.makeEnvelope(&path, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
        if (warp) {
            EXPECT_EQ(document.setWarp(envelope, *warp), DocStatus::ok);
        }
    }
};

TEST(SvgExport, EnvelopesAreDrawnAsTheyMapTheirContents) {
    // Without a warp: exactly the contents.
    const BoxEnvelope plain(std::nullopt);
    const std::string unwarped = svgText(plain.document);
    EXPECT_NE(unwarped.find("<g data-envelope=\"1\">\n<path d=\"M 0 300 L 200 300 L 200 200 L 0 200 Z\" "
                            "fill=\"#ff0000\""),
              std::string::npos)
        << unwarped;

    // Arc upper: the top edge bows up to y = 150, drawn at 300 - 150; the corners stay.
    const BoxEnvelope arched(Warp{3, 1, 0, 0, false});
    const std::string svg = svgText(arched.document);
    EXPECT_NE(
        svg.find(
            "<g data-envelope=\"1\" data-warp-style=\"3\" data-warp-bend=\"1\" "
            "data-warp-horizontal=\"0\" data-warp-vertical=\"0\" data-warp-rotate=\"0\">\n<path d=\"M 0 300 "
            "L "),
        std::string::npos)
        << svg;
    EXPECT_NE(svg.find(" L 100 150 "), std::string::npos) << svg;
    EXPECT_NE(svg.find(" L 200 200 "), std::string::npos) << svg;
    EXPECT_EQ(svg.find(" C "), std::string::npos); // lines only
    EXPECT_GT(count(svg, " L "), 20u);
    EXPECT_NE(svg.find("Z\" fill=\"#ff0000\" fill-rule=\"nonzero\""), std::string::npos) << svg;
    EXPECT_EQ(count(svg, "<path"), 1u);
}

TEST(SvgExport, EachPathInAnEnvelopeKeepsItsOwnPaintAndACompoundStaysOnePath) {
    Document document;
    ArtId group = 0, compound = 0, a = 0, b = 0, loose = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &loose), DocStatus::ok);
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceInsideOnTop, group, &compound), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &a), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &b), DocStatus::ok);
    const AIPathSegment big[] = {corner(0, 0), corner(100, 0), corner(100, 100), corner(0, 100)};
    const AIPathSegment small[] = {corner(25, 25), corner(75, 25), corner(75, 75), corner(25, 75)};
    ASSERT_EQ(document.setSegments(loose, 0, 4, big), DocStatus::ok);
    ASSERT_EQ(document.setSegments(a, 0, 4, big), DocStatus::ok);
    ASSERT_EQ(document.setSegments(b, 0, 4, small), DocStatus::ok);
    for (ArtId path : {loose, a, b})
        ASSERT_EQ(document.setClosed(path, true), DocStatus::ok);
    AIPathStyle blue = document.currentPaint();
    blue.fill.color = AIColor{kThreeColor, {0, 0, 1, 0}};
    blue.evenodd = 1;
    ASSERT_EQ(document.setPathStyle(compound, blue), DocStatus::ok);
    ASSERT_EQ(document.setOpacity(loose, 0.5f), DocStatus::ok);
    ArtId shape = 0, envelope = 0;
    ASSERT_EQ(document.duplicateArt(group, kPlaceAboveAll, group, &shape), DocStatus::ok);
    ASSERT_EQ(document.makeEnvelope(&group, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    ASSERT_EQ(document.setWarp(envelope, Warp{15, 1, 0, 0, false}), DocStatus::ok);
    const std::string svg = svgText(document);
    EXPECT_EQ(count(svg, "<path"), 2u);
    // The hole of the compound is twisted: its corner (25, 25) is no longer drawn where it was.
    EXPECT_EQ(svg.find(" 25 767"), std::string::npos) << svg;
    const std::regex shapes(
        "<g data-envelope=\"1\"[^>]*>\\n<g>\\n"
        "<path d=\"M 0 792 L [^\"]* Z\" fill=\"#ffffff\"[^\\n]* opacity=\"0.5\"/>\\n"
        "<path d=\"M 0 792 L [^\"]* Z M [^\"]* Z\" fill=\"#0000ff\" fill-rule=\"evenodd\"");
    EXPECT_TRUE(std::regex_search(svg, shapes)) << svg;
}

// ---- art that would be drawn wrongly ----

TEST(SvgExport, ArtWithANonFiniteCoordinateOrStrokeWidthIsRefusedAndNothingIsWritten) {
    constexpr AIReal kNan = std::numeric_limits<AIReal>::quiet_NaN();
    constexpr AIReal kInf = std::numeric_limits<AIReal>::infinity();
    struct Case {
        const char* what;
        AIReal h, v, handle, width;
        bool stroked;
        const char* message; // after "art N has "
    };
    const Case cases[] = {
        {"an anchor", kNan, 0, 0, 1, true, "a non-finite coordinate (nan)"},
        {"an anchor", 0, -kInf, 0, 1, true, "a non-finite coordinate (-inf)"},
        {"a handle", 0, 0, kInf, 1, true, "a non-finite coordinate (inf)"},
        {"a stroke width", 0, 0, 0, kNan, true, "a non-finite stroke width (nan)"},
        {"the width of no stroke", 0, 0, 0, kInf, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document document;
        addPath(document, {corner(1, 1), corner(2, 2)}); // fine art below
        AIPathSegment odd = corner(c.h, c.v);
        odd.out.h = c.handle;
        const ArtId path = addPath(document, {corner(5, 5), odd});
        AIPathStyle style = document.currentPaint();
        style.stroke.width = c.width;
        style.strokePaint = c.stroked;
        ASSERT_EQ(document.setPathStyle(path, style), DocStatus::ok);

        test::ScratchDir dir;
        const fs::path out = dir.path() / "picture.svg";
        std::string error;
        const bool written = writeSvg(document, out.string(), &error);
        if (c.message == nullptr) {
            EXPECT_TRUE(written) << error;
            EXPECT_EQ(readFile(out), svgText(document));
            continue;
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(error, "art " + std::to_string(path) + " has " + c.message +
                             "; the SVG would show a wrong picture");
        EXPECT_TRUE(fs::is_empty(dir.path())); // not even a temporary file
        EXPECT_EQ(svgText(document), "");
        std::ostringstream stream;
        EXPECT_FALSE(writeSvg(document, stream, &error));
        EXPECT_EQ(stream.str(), "");
    }
}

TEST(SvgExport, NonFiniteArtInsideACompoundOrASymbolIsRefusedToo) {
    Document document;
    ArtId compound = 0, first = 0, second = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &first), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, compound, &second), DocStatus::ok);
    const AIPathSegment fine[] = {corner(0, 0), corner(1, 1)};
    ASSERT_EQ(document.setSegments(first, 0, 2, fine), DocStatus::ok);
    ASSERT_EQ(document.setSegments(second, 0, 2, fine), DocStatus::ok);
    // The compound is painted with its first subpath's style: another subpath's width is never drawn.
    AIPathStyle style = document.currentPaint();
    style.stroke.width = std::numeric_limits<AIReal>::infinity();
    ASSERT_EQ(document.setPathStyle(second, style), DocStatus::ok);
    EXPECT_EQ(svgRefusal(document), "");
    ASSERT_EQ(document.setPathStyle(first, style), DocStatus::ok);
    EXPECT_EQ(svgRefusal(document),
              "art " + std::to_string(first) +
                  " has a non-finite stroke width (inf); the SVG would show a wrong picture");

    Document symbols;
    const ArtId path = addPath(symbols, {corner(0, 0), corner(std::numeric_limits<AIReal>::quiet_NaN(), 1)});
    ArtId symbol = 0;
    ASSERT_EQ(symbols.newSymbol(path, false, &symbol), DocStatus::ok);
    ASSERT_EQ(symbols.disposeArt(path), DocStatus::ok);
    EXPECT_NE(svgRefusal(symbols).find("art " + std::to_string(symbol) + " has"), std::string::npos);
}

// ---- atomic write ----

TEST(SvgWrite, ReplacesTheFileWholeAndLeavesNoTemporaryFile) {
    test::ScratchDir dir;
    const fs::path out = dir.path() / "picture.svg";
    {
        std::ofstream old(out);
        old << "old";
    }
    Document document;
    addPath(document, {corner(0, 0), corner(1, 1)});
    std::string error;
    ASSERT_TRUE(writeSvg(document, out.string(), &error)) << error;
    EXPECT_EQ(readFile(out), svgText(document));
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(SvgWrite, AnUnwritablePlaceGivesAnErrorAndLeavesNothing) {
    test::ScratchDir dir;
    const fs::path out = dir.path() / "missing-folder" / "picture.svg";
    Document document;
    std::string error;
    EXPECT_FALSE(writeSvg(document, out.string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.path() / "missing-folder"));

    // A directory in the way of the file name: the rename fails, the temporary file goes, the directory
    // stays.
    const fs::path blocked = dir.path() / "blocked.svg";
    fs::create_directories(blocked / "inside");
    error.clear();
    EXPECT_FALSE(writeSvg(document, blocked.string(), &error));
    EXPECT_FALSE(error.empty());
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "blocked.svg");
        ++files;
    }
    EXPECT_EQ(files, 1u);
    EXPECT_TRUE(fs::is_directory(blocked / "inside"));
}

// The temporary file is named on its own, so a name as long as the system allows is written; the test reads
// its name while the content is produced, then takes the names the next writes would try, and those files
// (not ours) are left as they were.
TEST(SvgWrite, TheTemporaryFileHasAShortNameOfItsOwnAndReplacesNoOtherFile) {
    test::ScratchDir dir;
    std::string seen;
    const std::string out = dir.file("picture.svg");
    ASSERT_TRUE(writeFileAtomically(
        out,
        [&](std::ostream& stream, std::string*) {
            for (const auto& entry : fs::directory_iterator(dir.path()))
                seen = entry.path().filename().string();
            stream << "first";
            return true;
        },
        nullptr));
    const std::regex shape(R"(\.zz-(\d+)-(\d+)\.tmp)");
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(seen, parts, shape)) << seen;
    const unsigned long next = std::stoul(parts[2].str()) + 1;
    for (unsigned long n = next; n < next + 3; ++n)
        std::ofstream(dir.path() / (".zz-" + parts[1].str() + "-" + std::to_string(n) + ".tmp"))
            << "not ours";
    std::string error;
    ASSERT_TRUE(writeFileAtomically(out, "second", &error)) << error;
    EXPECT_EQ(readFile(out), "second");
    size_t others = 0;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        if (entry.path() != fs::path(out)) {
            EXPECT_EQ(readFile(entry.path()), "not ours") << entry.path();
            ++others;
        }
    EXPECT_EQ(others, 3u);

#if !defined(_WIN32) // Windows limits a whole path to 260 characters
    const std::string longest = dir.file(std::string(250, 'n') + ".svg");
    Document document;
    addPath(document, {corner(0, 0), corner(1, 1)});
    ASSERT_TRUE(writeSvg(document, longest, &error)) << error;
    EXPECT_EQ(readFile(longest), svgText(document));
#endif
}

// ---- rendering ----

TEST(SvgRender, RsvgConvertRendersAnExportedDocument) {
    if (!haveRsvgConvert()) GTEST_SKIP() << "rsvg-convert is not installed";
    test::ScratchDir dir;
    Document document(DocumentFacts{kDocCMYKColor, 200.0f, 100.0f, {}, 0, false});
    AIPathSegment curved = corner(50, 50);
    curved.in = AIRealPoint{40, 80};
    const ArtId id = addPath(document, {corner(10, 10), curved, corner(90, 10)});
    ASSERT_EQ(document.setClosed(id, true), DocStatus::ok);
    ASSERT_EQ(document.setBlendMode(id, 3), DocStatus::ok);
    ASSERT_EQ(document.setTag(id, "multi-tool", "multi-tool"), DocStatus::ok);
    ArtId copy = 0, shape = 0, envelope = 0;
    ASSERT_EQ(document.duplicateArt(id, kPlaceBelowAll, id, &copy), DocStatus::ok);
    ASSERT_EQ(document.duplicateArt(copy, kPlaceAboveAll, copy, &shape), DocStatus::ok);
    ASSERT_EQ(document.makeEnvelope(&copy, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    ASSERT_EQ(document.setWarp(envelope, Warp{4, 0.5f, 0, 0, false}), DocStatus::ok);
    ArtId symbol = 0;
    ASSERT_EQ(document.newSymbol(id, false, &symbol), DocStatus::ok);
    const fs::path svg = dir.path() / "doc.svg";
    const fs::path png = dir.path() / "doc.png";
    std::string error;
    ASSERT_TRUE(writeSvg(document, svg.string(), &error)) << error;
    const std::string command = "rsvg-convert -o '" + png.string() + "' '" + svg.string() + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    ASSERT_TRUE(fs::exists(png));
    EXPECT_GT(fs::file_size(png), 100u);
    EXPECT_EQ(readFile(png).substr(1, 3), "PNG");
}

// ---- zigzag draw ----

#if !defined(_WIN32)
using test::runZigzag;

TEST(SvgDrawCommand, DrawsOneZigzagThatRenders) {
    // The command is built with the tests: its absence is a build fault, not a reason to skip.
    ASSERT_TRUE(fs::exists(besideExecutable("zigzag"))) << besideExecutable("zigzag");
    test::ScratchDir dir;
    const fs::path out = dir.path() / "zigzag.svg";
    ASSERT_EQ(
        runZigzag("draw --from 0,0 --to 10,-30 --events 4 --set zigzagElements=3 -o '" + out.string() + "'"),
        0);
    const std::string svg = readFile(out);
    EXPECT_EQ(count(svg, "<path"), 1u); // trail off: only the last generation's path
    // The edge example: anchors (0,0) (10,-5) (0,-10) (0,-10) (10,-15) (0,-20) (0,-20) (10,-25) (0,-30),
    // drawn with y flipped on the 792 point page.
    EXPECT_NE(svg.find("M 0 792 L 10 797 L 0 802 L 0 802 L 10 807 L 0 812 L 0 812 L 10 817 L 0 822\""),
              std::string::npos)
        << svg;
    if (haveRsvgConvert()) {
        const std::string command =
            "rsvg-convert -o '" + (dir.path() / "z.png").string() + "' '" + out.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
}

TEST(SvgDrawCommand, BadArgumentsAreUsageErrors) {
    // The command is built with the tests: its absence is a build fault, not a reason to skip.
    ASSERT_TRUE(fs::exists(besideExecutable("zigzag"))) << besideExecutable("zigzag");
    test::ScratchDir dir;
    const std::string out = "-o '" + (dir.path() / "x.svg").string() + "'";
    EXPECT_EQ(runZigzag("draw " + out), 2);                              // no --to
    EXPECT_EQ(runZigzag("draw --to 5 " + out), 2);                       // not a point
    EXPECT_EQ(runZigzag("draw --to 5,5 --events 0 " + out), 2);          // no steps
    EXPECT_EQ(runZigzag("draw --to 5,5 --set noSuchField=1 " + out), 2); // unknown field
    EXPECT_EQ(runZigzag("draw --to 5,5 --pressure 300 " + out), 2);      // out of range
    EXPECT_EQ(runZigzag("draw --to 5,5 --bogus " + out), 2);             // unknown argument
    EXPECT_EQ(runZigzag("draw --to 5,5"), 2);                            // no output
    EXPECT_FALSE(fs::exists(dir.path() / "x.svg"));
    // An unwritable output is a failure, not a usage error.
    EXPECT_EQ(runZigzag("draw --to 5,5 -o '" + (dir.path() / "no" / "x.svg").string() + "'"), 1);
}
#endif

} // namespace
} // namespace zz
