// What the workbench sends a page about the document: deltas that, applied one after another the way the
// page applies them, keep the page's picture equal to the document; their size follows the change, not the
// document. And the PNG files the page gets for the module's pictures.
#include <gtest/gtest.h>

#include <charconv>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/document/Document.h"
#include "host/document/SvgExport.h"
#include "apps/workbench/DeltaJson.h"
#include "apps/workbench/Png.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using test::corner;
using namespace std::string_literals;

// The page's picture: every art element with its container and its children bottom to top, and the record
// it was last drawn from. Deltas are applied as the page (web/scene.js) applies them.
class PagePicture {
  public:
    void apply(const json& delta) {
        if (delta["everything"].get<bool>()) nodes_.clear(), nodes_[0] = Node{};
        for (const json& id : delta["removed"])
            drop(id.get<ArtId>());
        for (const json& place : delta["placed"]) {
            const ArtId id = place["id"].get<ArtId>();
            if (place.contains("art")) build(place["art"]);
            ASSERT_TRUE(nodes_.count(id)) << "placed art " << id << " is unknown to the page";
            const ArtId parent = place["parent"].get<ArtId>();
            ASSERT_TRUE(nodes_.count(parent)) << "art " << id << " goes into unknown container " << parent;
            detach(id);
            std::vector<ArtId>& children = nodes_[parent].children;
            const ArtId below = place["below"].get<ArtId>();
            auto at = children.begin();
            if (below != 0) {
                at = std::find(children.begin(), children.end(), below);
                ASSERT_NE(at, children.end())
                    << "art " << id << " goes above " << below << ", not in place yet";
                ++at;
            }
            children.insert(at, id);
            nodes_[id].parent = parent;
        }
        for (const json& art : delta["changed"]) {
            ASSERT_TRUE(nodes_.count(art["id"].get<ArtId>()));
            nodes_[art["id"].get<ArtId>()].record = art;
        }
    }

    // The picture as text: each element's id and path, in paint order, containers in brackets.
    std::string text(ArtId id = 0) const {
        std::string out;
        for (const ArtId child : nodes_.at(id).children) {
            const Node& node = nodes_.at(child);
            out += std::to_string(child);
            if (node.record.value("t", "") == "path") out += ":" + node.record["d"].get<std::string>();
            if (!node.children.empty()) out += "[" + text(child) + "]";
            out += " ";
        }
        return out;
    }

  private:
    struct Node {
        ArtId parent = 0;
        json record;
        std::vector<ArtId> children;
    };

    void build(const json& art) {
        const ArtId id = art["id"].get<ArtId>();
        Node node;
        node.record = art;
        node.record.erase("children");
        if (art.contains("children"))
            for (const json& child : art["children"]) {
                build(child);
                nodes_[child["id"].get<ArtId>()].parent = id;
                node.children.push_back(child["id"].get<ArtId>());
            }
        nodes_[id] = std::move(node);
    }
    void detach(ArtId id) {
        for (auto& [key, node] : nodes_)
            node.children.erase(std::remove(node.children.begin(), node.children.end(), id),
                                node.children.end());
    }
    void drop(ArtId id) {
        if (!nodes_.count(id)) return;
        for (const ArtId child : std::vector<ArtId>(nodes_[id].children))
            drop(child);
        detach(id);
        nodes_.erase(id);
    }

    std::map<ArtId, Node> nodes_{{0, Node{}}};
};

// The same text from the document itself.
std::string documentText(const Document& document, const Art& container) {
    std::string out;
    for (const Art* art = container.firstChild(); art != nullptr; art = art->nextSibling()) {
        out += std::to_string(art->id());
        const json record = artJson(*art, document.facts().pageHeight, false);
        if (record["t"] == "path") out += ":" + record["d"].get<std::string>();
        if (art->firstChild() != nullptr && art->type() != kCompoundPathArt)
            out += "[" + documentText(document, *art) + "]";
        out += " ";
    }
    return out;
}

ArtId path(Document& document, std::vector<AIPathSegment> segments, int16_t order = kPlaceAboveAll,
           ArtId prep = 0) {
    ArtId id = 0;
    EXPECT_EQ(document.newArt(kPathArt, order, prep, &id), DocStatus::ok);
    EXPECT_EQ(document.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()),
              DocStatus::ok);
    return id;
}

// Keeps a page in step with the document, one delta per step, and checks the picture after each.
struct FollowingPage {
    Document& document;
    PagePicture picture;
    uint64_t revision = 0;

    json step(const char* what) {
        const json delta = deltaJson(document, revision);
        EXPECT_EQ(deltaText(document, revision), delta.dump()) << "the delta's text after " << what;
        picture.apply(delta);
        revision = delta["revision"].get<uint64_t>();
        EXPECT_EQ(picture.text(), documentText(document, document.layer())) << "after " << what;
        return delta;
    }
};

TEST(WorkbenchDelta, APageFollowingEveryDeltaShowsTheDocumentThroughDragsUndoRedoAndContainers) {
    Document document(DocumentFacts{kDocRGBColor, 200, 100, {}, 0, false});
    FollowingPage page{document, {}, 0};
    page.step("nothing");

    // A drag that replaces its art, as the tool does without trail.
    document.beginUndoContext();
    ArtId a = path(document, {corner(0, 0), corner(10, 10)});
    page.step("first event");
    ASSERT_EQ(document.undoChanges(), DocStatus::ok);
    a = path(document, {corner(0, 0), corner(20, 20)});
    const ArtId b = path(document, {corner(5, 5), corner(6, 6)});
    page.step("second event");
    document.endUndoContext();

    // Art below all and directly above another, then a group with two paths inside.
    const ArtId bottom = path(document, {corner(1, 1), corner(2, 2)}, kPlaceBelowAll);
    path(document, {corner(3, 3), corner(4, 4)}, kPlaceAbove, bottom);
    ArtId group = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    path(document, {corner(7, 7), corner(8, 8)}, kPlaceInsideOnTop, group);
    path(document, {corner(9, 9), corner(9, 1)}, kPlaceInsideOnBottom, group);
    page.step("placed art and a group");

    // Newer art under older art in one delta: the lower one must be in place first.
    path(document, {corner(11, 11), corner(12, 12)}, kPlaceBelowAll);
    path(document, {corner(13, 13), corner(14, 14)}, kPlaceBelowAll);
    path(document, {corner(15, 15), corner(16, 16)}, kPlaceBelowAll);
    page.step("three paths each below all");

    ASSERT_EQ(document.disposeArt(b), DocStatus::ok);
    const AIPathSegment moved = corner(50, 50);
    ASSERT_EQ(document.setSegments(a, 1, 1, &moved), DocStatus::ok);
    page.step("removed and changed");

    // Undo and redo take art out and put it back: the page moves it, does not lose it.
    ASSERT_TRUE(document.undo());
    page.step("undo");
    ASSERT_TRUE(document.redo());
    page.step("redo");
    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.undo());
    page.step("two undos at once");
    ASSERT_TRUE(document.redo());
    ASSERT_TRUE(document.redo());
    page.step("two redos at once");
}

TEST(WorkbenchDelta, PathsComeInPageCoordinatesWithTheirPaint) {
    Document document(DocumentFacts{kDocRGBColor, 200, 100, {}, 0, false});
    AIPathSegment curved = corner(30, 40);
    curved.in = AIRealPoint{25, 40};
    const ArtId id = path(document, {corner(10, 0), curved, corner(50.5f, 100)});
    ASSERT_EQ(document.setClosed(id, true), DocStatus::ok);
    ASSERT_EQ(document.setOpacity(id, 0.25f), DocStatus::ok);
    ASSERT_EQ(document.setBlendMode(id, 1), DocStatus::ok);

    const json delta = deltaJson(document, 0);
    ASSERT_EQ(delta["placed"].size(), 1u);
    const json& art = delta["placed"][0]["art"];
    // y runs down from the page's top: 100 - y. A side whose handles differ from its anchors is a curve; the
    // straight closing side is the Z's own.
    EXPECT_EQ(art["d"], "M 10 100 C 10 100 25 60 30 60 L 50.5 0 Z");
    EXPECT_EQ(art["fill"], "#ffffff");
    EXPECT_EQ(art["stroke"], "#000000");
    EXPECT_EQ(art["sw"], 1.0);
    EXPECT_EQ(art["op"], 0.25);
    EXPECT_EQ(art["blend"], "multiply");
}

TEST(WorkbenchDelta, APartOfACompoundPathChangingResendsTheWholeCompoundPath) {
    Document document(DocumentFacts{kDocRGBColor, 100, 100, {}, 0, false});
    ArtId compound = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
    const ArtId outer =
        path(document, {corner(0, 0), corner(10, 0), corner(10, 10)}, kPlaceInsideOnTop, compound);
    path(document, {corner(2, 2), corner(3, 3)}, kPlaceInsideOnTop, compound);
    const uint64_t before = document.revision();
    const AIPathSegment moved = corner(20, 20);
    ASSERT_EQ(document.setSegments(outer, 2, 1, &moved), DocStatus::ok);

    const json delta = deltaJson(document, before);
    EXPECT_TRUE(delta["placed"].empty());
    ASSERT_EQ(delta["changed"].size(), 1u);
    EXPECT_EQ(delta["changed"][0]["id"], compound);
    EXPECT_EQ(delta["changed"][0]["d"], "M 0 100 L 10 100 L 20 80 M 2 98 L 3 97");
}

TEST(WorkbenchDelta, ARevisionTheDocumentCannotAnswerForGetsEverythingWithThePage) {
    Document document(DocumentFacts{kDocRGBColor, 300, 400, {}, 0, false});
    path(document, {corner(0, 0), corner(1, 1)});
    const uint64_t known = document.revision();
    // A page that remembers a revision from before a restart of the host: ahead of the document.
    const json ahead = deltaJson(document, known + 5);
    EXPECT_TRUE(ahead["everything"].get<bool>());
    EXPECT_EQ(ahead["page"], json({300.0, 400.0}));
    EXPECT_EQ(ahead["placed"].size(), 1u);

    document.reset(DocumentFacts{kDocRGBColor, 50, 60, {}, 0, false});
    path(document, {corner(0, 0), corner(1, 1)});
    const json after = deltaJson(document, known);
    EXPECT_TRUE(after["everything"].get<bool>());
    EXPECT_EQ(after["page"], json({50.0, 60.0}));
    ASSERT_EQ(after["placed"].size(), 1u);
    EXPECT_EQ(after["placed"][0]["art"]["d"], "M 0 60 L 1 59");
}

// The page draws a path with the export's own text: the same path data (numbers rounded alike, never with an
// exponent) and the same paint values.
TEST(WorkbenchDelta, PathsReadAsTheSvgExportWritesThem) {
    Document document(DocumentFacts{kDocRGBColor, 300, 400, {}, 0, false});
    AIPathSegment curved = corner(0.1f, 1e-7f);
    curved.out = AIRealPoint{12345.678f, -0.3f};
    const ArtId open = path(document, {corner(1.0f / 3.0f, 2.5f), curved, corner(7e-6f, 399.99f)});
    AIPathStyle style = document.find(open)->data().style;
    style.fillPaint = 1;
    style.evenodd = 1;
    style.stroke.width = 0.3f;
    style.stroke.cap = 1;
    style.stroke.join = 2;
    ASSERT_EQ(document.setPathStyle(open, style), DocStatus::ok);
    ASSERT_EQ(document.setOpacity(open, 0.7f), DocStatus::ok);
    ArtId compound = 0;
    ASSERT_EQ(document.newArt(kCompoundPathArt, kPlaceAboveAll, 0, &compound), DocStatus::ok);
    const ArtId outer =
        path(document, {corner(0, 0), corner(10.125f, 0), corner(10, 10)}, kPlaceInsideOnTop, compound);
    ASSERT_EQ(document.setClosed(outer, true), DocStatus::ok);
    path(document, {corner(2, 2), corner(3, 3)}, kPlaceInsideOnTop, compound);

    const std::string svg = svgText(document);
    const json delta = deltaJson(document, 0);
    ASSERT_EQ(delta["placed"].size(), 2u);
    size_t at = 0;
    for (const json& place : delta["placed"]) {
        const json& art = place["art"];
        at = svg.find("<path d=\"", at);
        ASSERT_NE(at, std::string::npos) << svg;
        const size_t end = svg.find("/>", at);
        const std::string element = svg.substr(at, end - at);
        at = end;
        const auto attribute = [&](const std::string& name) {
            const size_t from = element.find(" " + name + "=\"");
            if (from == std::string::npos) return std::string("(none)");
            const size_t start = from + name.size() + 3;
            return element.substr(start, element.find('"', start) - start);
        };
        EXPECT_EQ(element.substr(9, element.find('"', 9) - 9), art["d"].get<std::string>());
        EXPECT_EQ(attribute("fill"), art["fill"]);
        EXPECT_EQ(attribute("stroke"), art["stroke"]);
        // Numbers as the page's script writes them into its attributes: the double's shortest text.
        const auto scriptText = [&](const char* key) {
            if (!art.contains(key)) return std::string("(none)");
            char text[32];
            return std::string(text, std::to_chars(text, text + sizeof text, art[key].get<double>()).ptr);
        };
        EXPECT_EQ(attribute("stroke-width"), scriptText("sw"));
        EXPECT_EQ(attribute("opacity"), scriptText("op"));
        EXPECT_EQ(attribute("stroke-linecap"), art.value("cap", "(none)"));
        EXPECT_EQ(attribute("stroke-linejoin"), art.value("join", "(none)"));
        // The page leaves out SVG's default fill rule.
        if (art["fill"] != "none") {
            EXPECT_EQ(attribute("fill-rule"), art.value("rule", "nonzero"));
        }
    }
    EXPECT_EQ(delta["placed"][0]["art"]["sw"].dump(), "0.3");
    const std::string d = delta["placed"][0]["art"]["d"].get<std::string>();
    EXPECT_EQ(d.find('e'), std::string::npos) << d;
    EXPECT_NE(d.find(" 0.000007 "), std::string::npos) << d;
}

// A new page's whole document is written as text directly; it reads as the delta does.
TEST(WorkbenchDelta, TheWholeDocumentsTextIsTheDeltasJsonWithGroupsAndPaint) {
    Document document(DocumentFacts{kDocRGBColor, 300, 400, {}, 0, false});
    EXPECT_EQ(deltaText(document, 0), deltaJson(document, 0).dump()) << "an empty document";
    path(document, {corner(0, 0), corner(1, 1)});
    ArtId group = 0;
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    path(document, {corner(7, 7), corner(8, 8)}, kPlaceInsideOnTop, group);
    const ArtId top = path(document, {corner(2, 2), corner(3, 1), corner(4, 2)});
    ASSERT_EQ(document.setOpacity(top, 0.5f), DocStatus::ok);
    const json whole = deltaJson(document, 0);
    ASSERT_TRUE(whole["everything"].get<bool>());
    ASSERT_EQ(whole["placed"].size(), 3u);
    EXPECT_EQ(deltaText(document, 0), whole.dump());
    EXPECT_EQ(deltaText(document, document.revision() + 1),
              deltaJson(document, document.revision() + 1).dump());

    // An answer or a message with its delta as its last key.
    EXPECT_EQ(withDelta({{"ok", true}, {"revision", 3}}, "[1]"), R"({"ok":true,"revision":3,"delta":[1]})");
    EXPECT_EQ(withDelta(json::object(), "{}"), R"({"delta":{}})");
}

TEST(WorkbenchDelta, TheDeltaOfOneNewPathStaysSmallHoweverLargeTheDocument) {
    Document document(DocumentFacts{kDocRGBColor, 612, 792, {}, 0, false});
    const auto oneMore = [&] {
        const uint64_t before = document.revision();
        path(document, {corner(0, 0), corner(1, 1), corner(2, 0)});
        return deltaJson(document, before).dump().size();
    };
    const size_t small = oneMore();
    for (int i = 0; i < 2000; ++i)
        path(document, {corner(0, 0), corner(1, 1), corner(2, 0)});
    const size_t large = oneMore();
    EXPECT_LE(large, small + 16) << "one path in a document of 2000 costs " << large << " bytes, alone "
                                 << small;
}

// The bytes of a PNG chunk's data, found by its type.
std::string chunkData(const std::string& png, const std::string& type) {
    size_t at = 8;
    while (at + 8 <= png.size()) {
        const uint32_t length = (static_cast<uint8_t>(png[at]) << 24) |
                                (static_cast<uint8_t>(png[at + 1]) << 16) |
                                (static_cast<uint8_t>(png[at + 2]) << 8) | static_cast<uint8_t>(png[at + 3]);
        if (png.compare(at + 4, 4, type) == 0) return png.substr(at + 8, length);
        at += 12 + length;
    }
    return "";
}

TEST(WorkbenchPng, APalettePictureBecomesRgbaRowsWithMaskedPixelsTransparent) {
    IndexedImage image;
    image.width = 2;
    image.height = 2;
    image.bitCount = 1;
    image.palette = {0x000000, 0xFF8000};
    image.pixels = {0, 1, 1, 0};
    image.transparent = {0, 0, 1, 0};
    const std::string png = pngOf(image);
    ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    const std::string header = chunkData(png, "IHDR");
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(header.substr(0, 8), std::string("\0\0\0\2\0\0\0\2", 8));
    EXPECT_EQ(header[8], 8); // bits per channel
    EXPECT_EQ(header[9], 6); // RGBA

    // One stored deflate block after the zlib header: each row a filter byte 0 and its RGBA pixels.
    const std::string data = chunkData(png, "IDAT");
    ASSERT_GE(data.size(), 2u + 5u + 18u + 4u);
    EXPECT_EQ(data[2], 1); // the last (and only) block, stored
    const std::string rows = data.substr(7, 18);
    const std::string expected = std::string("\0", 1) + std::string("\0\0\0\xff", 4) + "\xff\x80\0\xff"s +
                                 std::string("\0", 1) + "\xff\x80\0\0"s + std::string("\0\0\0\xff", 4);
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(chunkData(png, "IEND"), "");
}

} // namespace
} // namespace zz
