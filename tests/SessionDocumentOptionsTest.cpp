// The document a session script describes: the paint new art takes, a swatch list given entry by entry, named
// styles given one by one, the checks that name the place of a bad value, and the same options on
// `zigzag draw`; and the session report's envelopes and symbol definitions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <string>

#include "AIArt.h"
#include "AIArtStyle.h"
#include "AIBlendStyle.h"
#include "AIPathStyle.h"
#include "AISwatchList.h"
#include "host/core/ToolSession.h"
#include "apps/script/ArtReport.h"
#include "apps/script/Report.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;
using sessiontest::run;

// Starts the module in the document `document` (JSON text), drags once and returns the report.
ordered_json drawIn(const std::string& document) {
    return run(R"({"document":)" + document +
               R"(,"events":[{"do":"startup"},{"do":"mouseDown","at":[10,10]},{"do":"drag","to":[90,-120]},)"
               R"({"do":"mouseUp"}]})");
}

ordered_json colour(int kind, std::vector<double> values) {
    return ordered_json{{"kind", kind}, {"values", values}};
}

// ---- the paint new art takes ----

TEST(SessionDocumentOptions, ThePaintTheDocumentGivesIsThePaintOfTheFirstDragsPath) {
    struct Case {
        const char* document;
        ordered_json style; // the path's style as the report shows it
    };
    const Case cases[] = {
        // null: not painted; the colour stays the colour model's default one.
        {R"({"colorModel":"cmyk","paint":{"fill":null,"stroke":{"kind":1,"values":[0.1,0.2,0.3,0.4]},)"
         R"("strokeWidth":2.5}})",
         {{"fill", colour(1, {0, 0, 0, 0})},
          {"fillPaint", false},
          {"stroke", colour(1, {0.1, 0.2, 0.3, 0.4})},
          {"strokePaint", true},
          {"strokeWidth", 2.5}}},
        // What the paint leaves out is the colour model's default paint: white fill, black stroke, width 1.
        {R"({"colorModel":"gray","paint":{"strokeWidth":0}})",
         {{"fill", colour(0, {0})},
          {"fillPaint", true},
          {"stroke", colour(0, {1})},
          {"strokePaint", true},
          {"strokeWidth", 0}}},
        {R"({"paint":{"fill":{"kind":5,"values":[0.25,0.5,0.75]},"stroke":null}})",
         {{"fill", colour(5, {0.25, 0.5, 0.75})},
          {"fillPaint", true},
          {"stroke", colour(5, {0, 0, 0})},
          {"strokePaint", false},
          {"strokeWidth", 1}}},
        // A colour of another kind than the model's, and one without values.
        {R"({"colorModel":"rgb","paint":{"fill":{"kind":0,"values":[0.4]},"stroke":{"kind":6}}})",
         {{"fill", colour(0, {0.4})},
          {"fillPaint", true},
          {"stroke", colour(6, {})},
          {"strokePaint", true},
          {"strokeWidth", 1}}},
        // No paint at all: the default paint of RGB.
        {R"({})",
         {{"fill", colour(5, {1, 1, 1})},
          {"fillPaint", true},
          {"stroke", colour(5, {0, 0, 0})},
          {"strokePaint", true},
          {"strokeWidth", 1}}},
    };
    for (const Case& each : cases) {
        const ordered_json report = drawIn(each.document);
        EXPECT_EQ(report["results"], ordered_json::array({0, 0, 0, 0})) << each.document;
        ASSERT_EQ(report["art"].size(), 1u) << each.document;
        EXPECT_EQ(report["art"][0]["type"], "path");
        EXPECT_EQ(report["art"][0]["style"], each.style) << each.document;
    }
}

TEST(SessionDocumentOptions, EveryNewDocumentOfTheSessionTakesThePaintItsFactsGive) {
    ToolSession session;
    std::string why;
    ASSERT_TRUE(session.load(sessiontest::modulePath(), &why)) << why;
    const DocumentFacts facts = documentFacts(json::parse(
        R"({"colorModel":"rgb","paint":{"fill":null,"stroke":{"kind":5,"values":[1,0,0]},"strokeWidth":4}})"));
    ASSERT_EQ(session.startup(), kSPNoError);
    auto dragOnce = [&session]() -> AIPathStyle {
        ToolInput input;
        session.mouseDown(input);
        input.point = {60.0f, -80.0f};
        EXPECT_EQ(session.drag(input), kSPNoError);
        session.mouseUp(input);
        const Art* path = session.document().layer().lastChild();
        return path != nullptr ? path->data().style : AIPathStyle{};
    };
    for (int round = 0; round < 2; ++round) { // the second document starts over from the same facts
        session.newDocument(facts);
        const AIPathStyle style = dragOnce();
        EXPECT_EQ(style.fillPaint, 0) << "round " << round;
        EXPECT_EQ(style.strokePaint, 1);
        EXPECT_EQ(style.stroke.color.kind, kThreeColor);
        EXPECT_EQ(style.stroke.color.value[0], 1.0f);
        EXPECT_EQ(style.stroke.width, 4.0f);
    }
    // A document whose facts give no paint starts from the colour model's default one again.
    session.newDocument(documentFacts(json::parse(R"({"colorModel":"gray"})")));
    const AIPathStyle style = dragOnce();
    EXPECT_EQ(style.fillPaint, 1);
    EXPECT_EQ(style.fill.color.kind, kGrayColor);
    EXPECT_EQ(style.stroke.width, 1.0f);
}

// ---- swatches and named styles through the document suites ----

class DocumentSuites : public ::testing::Test {
  protected:
    void open(const std::string& document) {
        session_.newDocument(documentFacts(json::parse(document)));
        swatches = acquire<AISwatchListSuite>(kAISwatchListSuite, kAISwatchListSuiteVersion);
        styles = acquire<AIArtStyleSuite>(kAIArtStyleSuite, kAIArtStyleSuiteVersion);
        art = acquire<AIArtSuite>(kAIArtSuite, kAIArtSuiteVersion);
        pathStyle = acquire<AIPathStyleSuite>(kAIPathStyleSuite, kAIPathStyleSuiteVersion);
        blend = acquire<AIBlendStyleSuite>(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion);
    }
    template <typename Suite> const Suite* acquire(const char* name, int32_t version) {
        const void* table = nullptr;
        EXPECT_EQ(session_.host().basicSuite()->AcquireSuite(name, version, &table), kSPNoError) << name;
        return static_cast<const Suite*>(table);
    }
    // The colour of swatch `index` as a plug-in reads it.
    AIColor swatchColour(int32_t index) {
        AIColor colour{};
        colour.kind = -1;
        EXPECT_EQ(swatches->GetSwatchColor(swatches->GetNthSwatch(nullptr, index), &colour), kSPNoError)
            << "swatch " << index;
        return colour;
    }

    ToolSession session_;
    CurrentHost scope_{session_.host()};
    const AISwatchListSuite* swatches = nullptr;
    const AIArtStyleSuite* styles = nullptr;
    const AIArtSuite* art = nullptr;
    const AIPathStyleSuite* pathStyle = nullptr;
    const AIBlendStyleSuite* blend = nullptr;
};

TEST_F(DocumentSuites, ASwatchListGivenEntryByEntryIsTheListThePluginReads) {
    open(R"({"colorModel":"cmyk","swatches":[null,null,{"kind":1,"values":[0.1,0.2,0.3,0.4]},)"
         R"({"kind":0,"values":[0.75]},{"kind":5,"values":[1,0.5,0]},{"kind":3},null]})");
    ASSERT_EQ(swatches->CountSwatches(nullptr), 7);
    // null entries, such as the list's "none" and "registration", read as colours of kind none.
    for (int32_t index : {0, 1, 6})
        EXPECT_EQ(swatchColour(index).kind, kNoneColor) << "swatch " << index;
    const AIColor four = swatchColour(2);
    EXPECT_EQ(four.kind, kFourColor);
    EXPECT_EQ(four.value[0], 0.1f);
    EXPECT_EQ(four.value[3], 0.4f);
    const AIColor gray = swatchColour(3);
    EXPECT_EQ(gray.kind, kGrayColor);
    EXPECT_EQ(gray.value[0], 0.75f);
    const AIColor three = swatchColour(4);
    EXPECT_EQ(three.kind, kThreeColor);
    EXPECT_EQ(three.value[1], 0.5f);
    EXPECT_EQ(swatchColour(5).kind, kCustomColor);
    EXPECT_EQ(swatches->GetNthSwatch(nullptr, 7), nullptr);

    // A count still makes up a list of that size: "none" first, then "registration", then the model's
    // colours.
    open(R"({"colorModel":"gray","swatches":4})");
    ASSERT_EQ(swatches->CountSwatches(nullptr), 4);
    EXPECT_EQ(swatchColour(0).kind, kNoneColor);
    EXPECT_EQ(swatchColour(1).kind, kFourColor);
    EXPECT_EQ(swatchColour(3).kind, kGrayColor);
    open(R"({"swatches":[]})");
    EXPECT_EQ(swatches->CountSwatches(nullptr), 0);
}

TEST_F(DocumentSuites, NamedStylesGivenOneByOneGiveArtTheirPaintAndOpacity) {
    open(R"({"colorModel":"rgb","namedStyles":[)"
         R"({"fill":{"kind":5,"values":[0.2,0.4,0.6]},"stroke":null,"strokeWidth":3,"opacity":0.25},)"
         R"({},)"
         R"({"fill":null,"stroke":{"kind":0,"values":[0.5]},"opacity":0}]})");
    int32_t count = -1;
    ASSERT_EQ(styles->CountNamedArtStyles(&count), kSPNoError);
    ASSERT_EQ(count, 3);

    AIArtHandle path = nullptr;
    ASSERT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &path), kSPNoError);
    auto apply = [&](int32_t index) -> AIPathStyle {
        AIArtStyleHandle style = nullptr;
        EXPECT_EQ(styles->GetNthNamedArtStyle(index, &style), kSPNoError);
        EXPECT_EQ(styles->SetArtStyle(path, style), kSPNoError);
        AIPathStyle read{};
        EXPECT_EQ(pathStyle->GetPathStyle(path, &read), kSPNoError);
        return read;
    };

    // Named style 0 is the list's first entry, not a made-up "[Default]".
    AIPathStyle read = apply(0);
    EXPECT_EQ(read.fillPaint, 1);
    EXPECT_EQ(read.fill.color.kind, kThreeColor);
    EXPECT_EQ(read.fill.color.value[2], 0.6f);
    EXPECT_EQ(read.strokePaint, 0);
    EXPECT_EQ(read.stroke.width, 3.0f);
    EXPECT_EQ(blend->GetOpacity(path), 0.25f);

    // An empty entry is the colour model's default paint, fully opaque.
    read = apply(1);
    const AIPathStyle paint = defaultPaint(kDocRGBColor);
    EXPECT_EQ(read.fillPaint, 1);
    EXPECT_EQ(read.fill.color.kind, paint.fill.color.kind);
    EXPECT_EQ(read.fill.color.value[0], paint.fill.color.value[0]);
    EXPECT_EQ(read.strokePaint, 1);
    EXPECT_EQ(read.stroke.width, 1.0f);
    EXPECT_EQ(blend->GetOpacity(path), 1.0f);

    read = apply(2);
    EXPECT_EQ(read.fillPaint, 0);
    EXPECT_EQ(read.stroke.color.kind, kGrayColor);
    EXPECT_EQ(read.stroke.color.value[0], 0.5f);
    EXPECT_EQ(blend->GetOpacity(path), 0.0f);

    AIArtStyleHandle none = nullptr;
    EXPECT_EQ(styles->GetNthNamedArtStyle(3, &none), kSPBadParameterError);

    // A count still makes that many made-up styles.
    open(R"({"namedStyles":5})");
    ASSERT_EQ(styles->CountNamedArtStyles(&count), kSPNoError);
    EXPECT_EQ(count, 5);
}

// ---- bad values ----

TEST(SessionDocumentOptions, ABadValueIsAScriptErrorNamingItsPlace) {
    struct Case {
        const char* document;
        const char* message; // the start of the message
    };
    const Case cases[] = {
        {R"({"paint":{"fill":{"kind":5,"values":[1,0,"x"]}}})", "document.paint.fill.values[2]: "},
        {R"({"paint":{"fill":{"kind":5,"values":[1,0]}}})", "document.paint.fill.values: kind 5 takes 3"},
        {R"({"paint":{"stroke":{"kind":1}}})", "document.paint.stroke.values: is missing"},
        {R"({"paint":{"stroke":{"kind":4,"values":[0.5]}}})", "document.paint.stroke.values: kind 4 takes 0"},
        {R"({"paint":{"stroke":{"kind":7,"values":[]}}})", "document.paint.stroke.kind: "},
        {R"({"paint":{"stroke":{"values":[1]}}})", "document.paint.stroke.kind: is missing"},
        {R"({"paint":{"stroke":{"kind":0,"values":[1],"alpha":1}}})", "document.paint.stroke: unknown key"},
        {R"({"paint":{"fill":{"kind":0,"values":[1e300]}}})", "document.paint.fill.values[0]: "},
        {R"({"paint":{"fill":"red"}})", "document.paint.fill: "},
        {R"({"paint":{"strokeWidth":-0.5}})", "document.paint.strokeWidth: "},
        {R"({"paint":{"strokeWidth":"1"}})", "document.paint.strokeWidth: "},
        {R"({"paint":{"opacity":0.5}})", "document.paint: unknown key \"opacity\""},
        {R"({"paint":null})", "document.paint: "},
        {R"({"swatches":[null,{"kind":-1}]})", "document.swatches[1].kind: "},
        {R"({"swatches":[null,null,{"kind":0,"values":[0.5,0.5]}]})", "document.swatches[2].values: "},
        {R"({"swatches":[null,3]})", "document.swatches[1]: "},
        {R"({"swatches":-1})", "document.swatches: "},
        {R"({"namedStyles":[{},{"opacity":1.01}]})", "document.namedStyles[1].opacity: "},
        {R"({"namedStyles":[{"opacity":-0.01}]})", "document.namedStyles[0].opacity: "},
        {R"({"namedStyles":[{"strokeWidth":-1}]})", "document.namedStyles[0].strokeWidth: "},
        {R"({"namedStyles":[{"fill":{"kind":1,"values":[0,0,0,"nan"]}}]})",
         "document.namedStyles[0].fill.values[3]: "},
        {R"({"namedStyles":[{"style":1}]})", "document.namedStyles[0]: unknown key \"style\""},
        {R"({"namedStyles":[[]]})", "document.namedStyles[0]: "},
        {R"({"namedStyles":2.5})", "document.namedStyles: "},
    };
    for (const Case& each : cases) {
        const SessionError error = sessiontest::failure(R"({"document":)" + std::string(each.document) + "}");
        EXPECT_EQ(error.kind, SessionError::Kind::Script) << each.document;
        EXPECT_EQ(error.message.rfind(each.message, 0), 0u) << each.document << " gave: " << error.message;
    }
    // The limits themselves pass.
    run(R"({"document":{"paint":{"strokeWidth":0},"namedStyles":[{"opacity":0},{"opacity":1}],)"
        R"("swatches":[null,{"kind":2,"values":[]},{"kind":0,"values":[3.4e38]}]}})");
}

// Documents of valid options, damaged at one place at random (a value of another type or out of range, an
// unknown key, a missing key): every one either runs or is refused with a message that names the document,
// and none throws.
class DocumentDamage {
  public:
    explicit DocumentDamage(uint32_t seed) : random_(seed) {}

    json document() {
        json document = json::object();
        if (chance(0.5)) document["colorModel"] = kModels[pick(0, 2)];
        if (chance(0.6)) document["paint"] = paint(false);
        if (chance(0.6)) {
            json list = json::array();
            for (int i = pick(0, 6); i > 0; --i)
                list.push_back(chance(0.3) ? json(nullptr) : colour());
            document["swatches"] = list;
        }
        if (chance(0.6)) {
            json list = json::array();
            for (int i = pick(0, 4); i > 0; --i)
                list.push_back(paint(true));
            document["namedStyles"] = list;
        }
        if (chance(0.7)) damage(document);
        return document;
    }

  private:
    static constexpr const char* kModels[] = {"gray", "rgb", "cmyk"};

    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    double unit() { return 0.125 * pick(0, 8); }

    json colour() {
        static const int kinds[] = {0, 1, 2, 3, 4, 5, 6};
        static const int counts[] = {1, 4, 0, 0, 0, 3, 0};
        const int kind = kinds[pick(0, 6)];
        json values = json::array();
        for (int i = 0; i < counts[kind]; ++i)
            values.push_back(unit());
        json result = {{"kind", kind}};
        if (counts[kind] > 0 || chance(0.5)) result["values"] = values;
        return result;
    }

    json paint(bool withOpacity) {
        json paint = json::object();
        if (chance(0.7)) paint["fill"] = chance(0.3) ? json(nullptr) : colour();
        if (chance(0.7)) paint["stroke"] = chance(0.3) ? json(nullptr) : colour();
        if (chance(0.5)) paint["strokeWidth"] = unit() * 8.0;
        if (withOpacity && chance(0.5)) paint["opacity"] = unit();
        return paint;
    }

    json anyValue() {
        switch (pick(0, 8)) {
        case 0:
            return nullptr;
        case 1:
            return pick(-3, 9);
        case 2:
            return -0.5;
        case 3:
            return 1e300;
        case 4:
            return "x";
        case 5:
            return true;
        case 6:
            return json::array({1, "y"});
        case 7:
            return colour();
        default:
            return json::object({{"kind", 5}});
        }
    }

    void damage(json& value) {
        if (value.is_object() && !value.empty() && chance(0.8)) {
            auto it = value.begin();
            std::advance(it, pick(0, static_cast<int>(value.size()) - 1));
            if (chance(0.1))
                value["unknown"] = anyValue();
            else if (chance(0.1))
                value.erase(it);
            else
                damage(it.value());
            return;
        }
        if (value.is_array() && !value.empty() && chance(0.8)) {
            damage(value[static_cast<size_t>(pick(0, static_cast<int>(value.size()) - 1))]);
            return;
        }
        value = anyValue();
    }

    std::mt19937 random_;
};

TEST(SessionDocumentOptions, DamagedDocumentsNeverThrowAndEveryRefusalNamesTheDocument) {
    DocumentDamage damage(90210u);
    int ran = 0, refused = 0;
    for (int i = 0; i < 400; ++i) {
        const json document = damage.document();
        const std::string text = json{{"document", document}, {"events", {{{"do", "startup"}}}}}.dump();
        SessionError error;
        ordered_json report;
        ASSERT_NO_THROW(report = runSessionText(text, sessiontest::modulePath(), &error)) << text;
        if (report.is_null()) {
            ++refused;
            EXPECT_EQ(error.kind, SessionError::Kind::Script) << text;
            EXPECT_EQ(error.message.rfind("document", 0), 0u) << text << " gave: " << error.message;
        } else {
            ++ran;
            EXPECT_EQ(report["results"], ordered_json::array({0})) << text;
        }
    }
    EXPECT_GT(ran, 100);
    EXPECT_GT(refused, 100);
}

// ---- zigzag draw ----

#if !defined(_WIN32)
// The paint attributes of the first path of an SVG file.
std::string firstPathPaint(const std::string& file) {
    const std::string svg = test::readFile(file);
    const size_t start = svg.find("<path ");
    if (start == std::string::npos) return "no path";
    // The fill rule goes with the fill; only the paint is compared.
    static const std::regex fillRule(R"re( fill-rule="[^"]*")re");
    const std::string tag = std::regex_replace(svg.substr(start, svg.find('>', start) - start), fillRule, "");
    static const std::regex paint(R"re(fill="[^"]*" stroke="[^"]*"( stroke-width="[^"]*")?)re");
    std::smatch match;
    return std::regex_search(tag, match, paint) ? match.str(0) : "no paint in " + tag;
}

TEST(SessionDocumentOptions, DrawTakesTheDocumentAsTextOrFileAndRefusesABadOneNamingThePlace) {
    test::ScratchDir scratch;
    const std::string out = scratch.file("drawn.svg");
    const std::string draw = "draw --to 40,-60 -o '" + out + "' ";
    EXPECT_EQ(test::runZigzag(draw + R"(--document '{"paint":{"fill":null,"stroke":{"kind":5,)"
                                     R"("values":[1,0,0]},"strokeWidth":4}}')"),
              0);
    EXPECT_EQ(firstPathPaint(out), R"(fill="none" stroke="#ff0000" stroke-width="4")");

    const std::string file = scratch.file("document.json");
    std::ofstream(file) << R"({"colorModel":"cmyk","paint":{"fill":{"kind":1,"values":[0,1,1,0]}}})";
    EXPECT_EQ(test::runZigzag(draw + "--document '" + file + "'"), 0);
    EXPECT_EQ(firstPathPaint(out), R"(fill="#ff0000" stroke="#000000" stroke-width="1")");

    // Keys apply in the order given: the later paint wins.
    EXPECT_EQ(test::runZigzag(draw + "--document '" + file + R"(' --document '{"paint":{"strokeWidth":2}}')"),
              0);
    EXPECT_EQ(firstPathPaint(out), R"(fill="#ffffff" stroke="#000000" stroke-width="2")");

    // A bad document is a usage error naming the place; nothing is drawn.
    std::filesystem::remove(out);
    const std::string errors = scratch.file("errors.txt");
    const std::string command = "'" + besideExecutable("zigzag") + "' " + draw +
                                R"(--document '{"paint":{"fill":{"kind":5,"values":[1,0,"x"]}}}' 2>')" +
                                errors + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_NE(test::readFile(errors).find("document.paint.fill.values[2]: "), std::string::npos)
        << test::readFile(errors);
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(test::runZigzag(draw + "--document '" + scratch.file("missing.json") + "'"), 2);
    EXPECT_EQ(test::runZigzag(draw + R"(--document '{"paint":')"), 2);
    EXPECT_EQ(test::runZigzag(draw + R"(--document '{"swatches":[null,{"kind":9}]}')"), 2);
}
#endif

// ---- the report's envelopes and symbols ----

TEST(SessionReportArt, TheReportListsTheSymbolDefinitionsAfterTheArtAndNoneAsAnEmptyList) {
    const ordered_json empty = drawIn("{}");
    std::vector<std::string> keys;
    for (const auto& [key, value] : empty.items())
        keys.push_back(key);
    const std::vector<std::string> expected = {"results", "settings", "alerts",  "blocks",
                                               "suites",  "tools",    "dialogs", "cursor",
                                               "art",     "symbols",  "plugin",  "unimplemented"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(empty["symbols"], ordered_json::array());

    // Two definitions, one of them a group holding a path, streamed at the report's indentation.
    ToolSession session;
    Document& document = session.document();
    ArtId path = 0, group = 0, inner = 0, symbol = 0;
    ASSERT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &path), DocStatus::ok);
    const AIPathSegment segment{{1.0f, 2.0f}, {1.0f, 2.0f}, {3.0f, 4.5f}, 1};
    ASSERT_EQ(document.setSegments(path, 0, 1, &segment), DocStatus::ok);
    ASSERT_EQ(document.newArt(kGroupArt, kPlaceAboveAll, 0, &group), DocStatus::ok);
    ASSERT_EQ(document.newArt(kPathArt, kPlaceInsideOnTop, group, &inner), DocStatus::ok);
    ASSERT_EQ(document.newSymbol(path, false, &symbol), DocStatus::ok);
    ASSERT_EQ(document.newSymbol(group, false, &symbol), DocStatus::ok);
    const std::vector<std::optional<int64_t>> results;
    const std::vector<DialogRecord> dialogs;
    std::ostringstream text;
    writeReport(text, ReportSources{session, results, dialogs});
    const ordered_json report = ordered_json::parse(text.str());
    EXPECT_EQ(report["symbols"], ordered_json(symbolReport(document)));
    ASSERT_EQ(report["symbols"].size(), 2u);
    EXPECT_EQ(report["symbols"][0]["segments"][0]["out"], ordered_json::array({3, 4.5}));
    EXPECT_EQ(report["symbols"][1]["children"].size(), 1u);
    EXPECT_EQ(report["art"].size(), 2u); // the originals stay in the layer
}

} // namespace
} // namespace zz
