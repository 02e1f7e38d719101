// The art report written as a stream: byte for byte the text of the tree form, at any indentation, for every
// kind of art; numbers that are not finite as "nan", "inf" and "-inf".
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>

#include "apps/script/ArtReport.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using test::corner;

constexpr AIReal kNan = std::numeric_limits<AIReal>::quiet_NaN();
constexpr AIReal kInf = std::numeric_limits<AIReal>::infinity();

// The tree form as the session report embeds it: the value of "art" in a top-level object.
std::string treeText(const nlohmann::json& tree) {
    ordered_json top;
    top["art"] = ordered_json(tree);
    return top.dump(2, ' ', false, ordered_json::error_handler_t::replace);
}

std::string streamedText(void (*write)(std::ostream&, const Document&, unsigned), const Document& document) {
    std::ostringstream out;
    out << "{\n  \"art\": ";
    write(out, document, 2);
    out << "\n}";
    return out.str();
}

void expectSameText(const Document& document) {
    EXPECT_EQ(streamedText(writeArtReport, document), treeText(artReport(document)));
    EXPECT_EQ(streamedText(writeSymbolReport, document), treeText(symbolReport(document)));
    // At the top level too.
    std::ostringstream out;
    writeArtReport(out, document, 0);
    EXPECT_EQ(out.str(),
              ordered_json(artReport(document)).dump(2, ' ', false, ordered_json::error_handler_t::replace));
}

ArtId pathWith(Document& document, std::vector<AIPathSegment> segments, int16_t order = kPlaceAboveAll,
               ArtId prep = 0) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, order, prep, &id), DocStatus::ok);
    if (!segments.empty()) {
        EXPECT_EQ(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()),
                  DocStatus::ok);
    }
    return id;
}

TEST(DocumentReport, AnEmptyDocumentStreamsAsAnEmptyList) {
    Document document;
    EXPECT_EQ(streamedText(writeArtReport, document), "{\n  \"art\": []\n}");
    expectSameText(document);
}

TEST(DocumentReport, EveryKindOfArtStreamsAsTheTreeFormWouldPrintIt) {
    Document document(DocumentFacts{kDocCMYKColor, 612, 792, {}, 3, false});
    AIPathSegment curved = corner(0.1f, -2.5f);
    curved.in = AIRealPoint{1e-7f, 3e20f};
    curved.corner = 1;
    const ArtId path = pathWith(document, {curved, corner(10, 20), corner(-3, 4)});
    ASSERT_EQ(document.setClosed(path, true), DocStatus::ok);
    ASSERT_EQ(document.setOpacity(path, 0.3f), DocStatus::ok);
    ASSERT_EQ(document.setBlendMode(path, 7), DocStatus::ok);
    ASSERT_EQ(document.applyNamedStyle(path, 2), DocStatus::ok);
    pathWith(document, {}); // a path without segments

    // Tags that are not UTF-8, need escapes, or become one name once made valid.
    ASSERT_EQ(document.setTag(path, "caf\xE9", "na\xEFve\n\"quoted\"\t\x01"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "caf\xEA", "second"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "plain", "\xE2\x82"), DocStatus::ok);

    ArtId compound = 0, group = 0, inner = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceBelowAll, 0, &compound), DocStatus::ok);
    pathWith(document, {corner(1, 1), corner(2, 2)}, kPlaceInsideOnTop, compound);
    pathWith(document, {corner(3, 3)}, kPlaceInsideOnTop, compound);
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceInsideOnTop, group, &inner), DocStatus::ok); // empty group
    ArtId copy = 0;
    ASSERT_EQ(document.duplicateArt(compound, kPlaceInsideOnBottom, group, &copy), DocStatus::ok);

    ArtId shape = 0, envelope = 0, bare = 0;
    const ArtId wrapped = pathWith(document, {corner(0, 0), corner(5, 5)});
    shape = pathWith(document, {corner(0, 0), corner(9, 0), corner(9, 9)});
    ASSERT_EQ(document.makeEnvelope(&wrapped, 1, shape, AIEnvelopeOptions{0, 50}, &envelope), DocStatus::ok);
    ASSERT_EQ(document.setWarp(envelope, Warp{4, 0.25f, -0.5f, 1.0f, true}), DocStatus::ok);
    const ArtId second = pathWith(document, {corner(7, 7)});
    shape = pathWith(document, {corner(1, 0)});
    ASSERT_EQ(document.makeEnvelope(&second, 1, shape, AIEnvelopeOptions{0, 50}, &bare), DocStatus::ok);

    ArtId symbol = 0;
    ASSERT_EQ(document.newSymbol(group, false, &symbol), DocStatus::ok);
    ASSERT_EQ(document.newSymbol(path, true, &symbol), DocStatus::ok);

    expectSameText(document);
    const ordered_json parsed = ordered_json::parse(streamedText(writeArtReport, document));
    ASSERT_EQ(parsed.at("art").size(), document.layerArtCount());
    size_t index = 0;
    for (const Art* each = document.layer().firstChild(); each->id() != path; each = each->nextSibling())
        ++index;
    EXPECT_EQ(parsed.at("art").at(index).at("tags").at("caf\xEF\xBF\xBD"),
              "second"); // the later raw name wins
}

TEST(DocumentReport, EveryEnvelopeSaysItsWarpAndNoOtherArtHasOne) {
    Document document;
    ArtId shape = 0, warped = 0, bare = 0;
    const ArtId first = pathWith(document, {corner(0, 0), corner(5, 5)});
    shape = pathWith(document, {corner(0, 0), corner(9, 9)});
    ASSERT_EQ(document.makeEnvelope(&first, 1, shape, AIEnvelopeOptions{0, 50}, &warped), DocStatus::ok);
    ASSERT_EQ(document.setWarp(warped, Warp{15, -0.75f, 0.5f, 0.125f, true}), DocStatus::ok);
    const ArtId second = pathWith(document, {corner(1, 1)});
    shape = pathWith(document, {corner(2, 2)});
    ASSERT_EQ(document.makeEnvelope(&second, 1, shape, AIEnvelopeOptions{0, 50}, &bare), DocStatus::ok);
    ArtId group = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);

    expectSameText(document);
    const ordered_json art = ordered_json::parse(streamedText(writeArtReport, document)).at("art");
    ASSERT_EQ(art.size(), 3u);
    EXPECT_EQ(art[0]["type"], "envelope");
    EXPECT_EQ(
        art[0]["warp"],
        (ordered_json{
            {"bend", -0.75}, {"horizontal", 0.5}, {"rotate", true}, {"style", 15}, {"vertical", 0.125}}));
    EXPECT_EQ(art[0]["children"].size(), 1u);
    EXPECT_EQ(art[0]["children"][0].count("warp"), 0u); // the wrapped path
    EXPECT_EQ(art[1]["type"], "envelope");
    ASSERT_TRUE(art[1].contains("warp"));
    EXPECT_TRUE(art[1]["warp"].is_null());
    EXPECT_EQ(art[2]["type"], "group");
    EXPECT_EQ(art[2].count("warp"), 0u);
}

TEST(DocumentReport, NumbersThatAreNotFiniteShowAsNanInfAndMinusInf) {
    Document document;
    AIPathSegment odd = corner(1, 2);
    odd.p.h = kNan;
    odd.in.v = kInf;
    odd.out.h = -kInf;
    const ArtId path = pathWith(document, {odd});
    AIPathStyle style = document.currentPaint();
    style.stroke.width = kInf;
    style.fill.color.value[1] = -kInf;
    ASSERT_EQ(document.setPathStyle(path, style), DocStatus::ok);

    expectSameText(document);
    const nlohmann::json art = artReport(document)[0];
    EXPECT_EQ(art["segments"][0]["p"], nlohmann::json::array({"nan", 2.0}));
    EXPECT_EQ(art["segments"][0]["in"], nlohmann::json::array({1.0, "inf"}));
    EXPECT_EQ(art["segments"][0]["out"], nlohmann::json::array({"-inf", 2.0}));
    EXPECT_EQ(art["style"]["strokeWidth"], "inf");
    EXPECT_EQ(art["style"]["fill"]["values"][1], "-inf");
}

} // namespace
} // namespace zz
