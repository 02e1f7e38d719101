// The reference host under bad input: numbers beyond the float range, counts at the 32-bit limits, texts that
// are not UTF-8, odd command lines, and thousands of mutated session scripts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "SessionTestSupport.h"
#include "host/suites/Faults.h"
#include "host/base/Utf8.h"
#include "apps/script/ArtReport.h"
#include "host/document/Document.h"
#include "host/document/SvgExport.h"
#include "apps/script/RunCommand.h"

namespace zz {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using test::corner;
using test::ScratchDir;

// ---- counts at the 32-bit limits ----

TEST(HostRobustness, AFaultRuleWithHugeSkipAndTimesStillCountsCorrectly) {
    FaultInjector faults;
    faults.add(FaultRule{"S", "Op", 9, /*skip*/ 2, /*times*/ std::numeric_limits<int>::max()});
    faults.add(FaultRule{"S", "Late", 9, std::numeric_limits<int>::max(), std::numeric_limits<int>::max()});
    EXPECT_FALSE(faults.strike("S", "Op"));
    EXPECT_FALSE(faults.strike("S", "Op"));
    for (int call = 0; call < 10; ++call)
        EXPECT_EQ(faults.strike("S", "Op").value_or(0), 9) << "call " << call + 2;
    for (int call = 0; call < 10; ++call)
        EXPECT_FALSE(faults.strike("S", "Late"));
}

TEST(HostRobustness, SegmentWritesBeyondThe16BitLimitAreRefusedWhateverTheCount) {
    Document document;
    ArtId path = 0;
    ASSERT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &path), DocStatus::ok);
    const AIPathSegment one = corner(1, 2);
    ASSERT_EQ(document.setSegments(path, 0, 1, &one), DocStatus::ok);
    // index + count passes the 32-bit range: refused before anything is read from the caller's array.
    EXPECT_EQ(document.setSegments(path, 1, std::numeric_limits<int32_t>::max(), &one),
              DocStatus::tooManySegments);
    EXPECT_EQ(document.setSegments(path, 1, 32767, &one), DocStatus::tooManySegments);
    std::vector<AIPathSegment> full(32766, corner(3, 4));
    EXPECT_EQ(document.setSegments(path, 1, 32766, full.data()), DocStatus::ok);
    EXPECT_EQ(document.find(path)->data().segments.size(), 32767u);
    EXPECT_EQ(document.setSegments(path, 32767, 1, &one), DocStatus::tooManySegments);
}

// ---- numbers the host keeps as 32-bit floats ----

TEST(HostRobustness, ScriptNumbersBeyondTheFloatRangeAreScriptErrorsNamingTheField) {
    struct Case {
        const char* script;
        const char* named;
    };
    const Case cases[] = {
        {R"({"events":[{"do":"startup"},{"do":"mouseDown","at":[1e300,0]}]})",
         R"(events[1] ("mouseDown"): "at")"},
        {R"({"events":[{"do":"startup"},{"do":"drag","to":[0,-1e39]}]})", R"(events[1] ("drag"): "to")"},
        {R"({"document":{"page":[1e300,792]}})", "document.page"},
        {R"({"document":{"page":[612,1e-300]}})", "document.page"},
        {R"({"random":[0.5,1e300]})", "random[1]"},
        {R"({"random":[0.5,1.0000001]})", "random[1]"},
        {R"({"random":[-0.25]})", "random[0]"},
        {R"({"document":{"swatches":[{"kind":6},{"kind":5,"values":[1,1e300,0]}]}})", "document.swatches[1]"},
    };
    for (const Case& each : cases) {
        const SessionError error = sessiontest::failure(each.script);
        EXPECT_EQ(error.kind, SessionError::Kind::Script) << each.script;
        EXPECT_NE(error.message.find(each.named), std::string::npos) << error.message;
    }
    // The largest float and the smallest positive one still pass, and so do both ends of the random range.
    sessiontest::run(R"({"document":{"page":[3.4e38,1.5e-45]},"random":[0,1]})");
}

TEST(HostRobustness, NumbersBeyondTheDoubleRangeAreScriptErrorsNamingTheEventAndField) {
    struct Case {
        const char* script;
        const char* named;
    };
    const Case cases[] = {
        {R"({"events":[{"do":"startup"},{"do":"drag","to":[1e400,0]}]})", R"(events[1] ("drag"): "to"[0])"},
        {R"({"events":[{"do":"mouseDown","at":[0,-1e999]}]})", R"(events[0] ("mouseDown"): "at"[1])"},
        {R"({"seed":1e400})", "seed"},
    };
    for (const Case& each : cases) {
        const SessionError error = sessiontest::failure(each.script);
        EXPECT_EQ(error.kind, SessionError::Kind::Script) << each.script;
        EXPECT_NE(error.message.find(each.named), std::string::npos) << error.message;
    }
    // Through the command: a usage error (2), not a failure of the host (1).
    ScratchDir dir;
    std::ofstream(dir.file("s.json")) << cases[0].script;
    std::ostringstream out, err;
    EXPECT_EQ(runRunCommand({dir.file("s.json")}, sessiontest::modulePath(), out, err), kRunUsage);
    EXPECT_NE(err.str().find(cases[0].named), std::string::npos) << err.str();
}

// ---- texts and codes the module would misread ----

TEST(HostRobustness, StringsWithANulAndFaultsThatAnswerSuccessAreRefused) {
    const std::string withNul = std::string(R"({"events":[{"do":"message","caller":"AI Tool)") + "\\u0000" +
                                R"(x","selector":"AI Mouse Drag"}]})";
    const SessionError nul = sessiontest::failure(withNul);
    EXPECT_EQ(nul.kind, SessionError::Kind::Script);
    EXPECT_NE(nul.message.find(R"(events[0] ("message"): "caller")"), std::string::npos) << nul.message;

    for (const char* code : {"0", "\"\\u0000\\u0000\\u0000\\u0000\""}) {
        const SessionError zero = sessiontest::failure(
            std::string(R"({"events":[{"do":"fault","suite":"AI Art Suite","op":"NewArt","code":)") + code +
            "}]}");
        EXPECT_EQ(zero.kind, SessionError::Kind::Script) << code;
        EXPECT_NE(zero.message.find("not 0"), std::string::npos) << zero.message;
    }
}

// ---- message records ----

TEST(HostRobustness, AMessageEventWithAToolCallerGivesTheModuleAWholeToolRecord) {
    // The module reads an "AI Tool" message as a tool record whatever event sent it: the host's record must
    // hold one (the sanitizer build saw the read past a header-only record).
    const auto report = sessiontest::run(R"({"events":[{"do":"startup"},
        {"do":"message","caller":"AI Tool","selector":"AI Mouse Down"},
        {"do":"message","caller":"AI Tool","selector":"AI Mouse Drag"},
        {"do":"message","caller":"AI Tool","selector":"AI Mouse Up"},
        {"do":"message","caller":"AI Tool","selector":"AI Track Cursor"}]})");
    // Start-up, a press, a drag back onto the press point, a release and a cursor track answer 0, except the
    // drag: a bare message opens no undo context, so the undo of the earlier art fails and the drag answers
    // that failure ('NOW?') instead of drawing.
    EXPECT_EQ(report["results"].dump(), json::array({0, 0, sessiontest::fourCC("NOW?"), 0, 0}).dump());
    EXPECT_TRUE(report["art"].empty());
}

// ---- counting calls that fail ----

TEST(HostRobustness, AReleaseFailedByAFaultIsStillCountedAsACall) {
    const auto plain = sessiontest::run(R"({"events":[{"do":"startup"}]})");
    EXPECT_EQ(plain["suites"]["released"], plain["suites"]["acquired"]);
    const auto faulted = sessiontest::run(
        R"({"events":[{"do":"fault","suite":"SP Basic Suite","op":"ReleaseSuite","code":5},{"do":"startup"}]})");
    // Every acquisition succeeded; of the release calls one failed and left its suite held.
    const int acquired = faulted["suites"]["acquired"].get<int>();
    const int released = faulted["suites"]["released"].get<int>();
    const int held = static_cast<int>(faulted["suites"]["held"].size());
    EXPECT_GE(released, 1);
    EXPECT_EQ(released, acquired - held + 1);
}

// ---- texts that are not UTF-8 ----

TEST(HostRobustness, ValidUtf8KeepsGoodTextAndReplacesEveryBadByte) {
    EXPECT_EQ(validUtf8("plain"), "plain");
    EXPECT_EQ(validUtf8("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    const std::string bad = "\xEF\xBF\xBD";
    EXPECT_EQ(validUtf8("caf\xE9"), "caf" + bad);                    // a code page byte
    EXPECT_EQ(validUtf8("\xC0\xAF"), bad + bad);                     // overlong
    EXPECT_EQ(validUtf8("\xED\xA0\x80"), bad + bad + bad);           // a surrogate
    EXPECT_EQ(validUtf8("\xF4\x90\x80\x80"), bad + bad + bad + bad); // beyond U+10FFFF
    EXPECT_EQ(validUtf8("a\xE2\x82"), "a" + bad + bad);              // cut short
    EXPECT_EQ(validUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

// One path whose tags are not UTF-8, hold control characters, or have distinct names that map to one
// attribute name.
void addAwkwardlyTaggedPath(Document& document) {
    ArtId path = 0;
    ASSERT_EQ(document.newArt(kPathArt, kPlaceAboveAll, 0, &path), DocStatus::ok);
    const AIPathSegment two[] = {corner(0, 0), corner(5, 5)};
    ASSERT_EQ(document.setSegments(path, 0, 2, two), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "caf\xE9", "na\xEFve\nline\ttab"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "A", "1"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "a", "2"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "a b", "3"), DocStatus::ok);
    ASSERT_EQ(document.setTag(path, "a-b", "4"), DocStatus::ok);
}

TEST(HostRobustness, TagsThatAreNotUtf8StillGiveAReportAndAWellFormedSvg) {
    Document document;
    ASSERT_NO_FATAL_FAILURE(addAwkwardlyTaggedPath(document));

    const json report = artReport(document);
    std::string dumped;
    EXPECT_NO_THROW(dumped = report.dump());
    EXPECT_EQ(report[0]["tags"]["caf\xEF\xBF\xBD"], "na\xEF\xBF\xBDve\nline\ttab");

    const std::string svg = svgText(document);
    EXPECT_EQ(validUtf8(svg), svg);
    EXPECT_NE(svg.find("=\"na\xEF\xBF\xBDve&#10;line&#9;tab\""), std::string::npos) << svg;
    // Every attribute of the path appears once.
    const std::string element =
        svg.substr(svg.find("<path"), svg.find("/>", svg.find("<path")) - svg.find("<path"));
    std::set<std::string> names;
    const std::regex attribute(R"( ([A-Za-z_:][-A-Za-z0-9_:.]*)=")");
    for (auto it = std::sregex_iterator(element.begin(), element.end(), attribute);
         it != std::sregex_iterator(); ++it)
        EXPECT_TRUE(names.insert((*it)[1]).second) << "twice: " << (*it)[1] << " in " << element;
    // d, fill, fill-rule, stroke, stroke-width, the two device colours and the five tags
    EXPECT_EQ(names.size(), 7u + 5u);
}

TEST(HostRobustness, TagsThatAreNotUtf8ExportAsXmlThatAParserAccepts) {
    // An XML parser refuses bytes that are not UTF-8 and an attribute given twice; rsvg-convert parses with
    // one, xmllint where it is installed is the stricter check.
    const bool xmllint = std::system("command -v xmllint >/dev/null 2>&1") == 0;
    if (!xmllint && !test::haveRsvgConvert()) GTEST_SKIP() << "neither xmllint nor rsvg-convert can be run";
    Document document;
    ASSERT_NO_FATAL_FAILURE(addAwkwardlyTaggedPath(document));
    ScratchDir dir;
    const std::string file = dir.file("tags.svg");
    std::string error;
    ASSERT_TRUE(writeSvg(document, file, &error)) << error;
    const std::string command = xmllint ? "xmllint --noout '" + file + "'"
                                        : "rsvg-convert -o '" + dir.file("tags.png") + "' '" + file + "'";
    EXPECT_EQ(std::system((command + " 2>&1").c_str()), 0) << command;
}

// ---- command lines ----

TEST(HostRobustness, ADirectoryGivenAsTheScriptCannotBeRead) {
    ScratchDir dir;
    std::ostringstream out, err;
    EXPECT_EQ(runRunCommand({dir.path().string()}, sessiontest::modulePath(), out, err), kRunUsage);
    EXPECT_NE(err.str().find("cannot read the script"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());
}

TEST(HostRobustness, AReportThatCannotBeWrittenLeavesTheOldReportWhole) {
    ScratchDir dir;
    const fs::path script = dir.path() / "s.json";
    std::ofstream(script) << R"({"events":[{"do":"startup"}]})";
    const fs::path report = dir.path() / "report.json";
    std::ofstream(report) << "old";
    fs::create_directories(dir.path() / "busy.json" / "inside");
    std::ostringstream out, err;
    EXPECT_EQ(runRunCommand({script.string(), "--out", (dir.path() / "busy.json").string()},
                            sessiontest::modulePath(), out, err),
              kRunUsage);
    EXPECT_NE(err.str().find("busy.json is a directory"), std::string::npos) << err.str();
    std::size_t entries = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 3u); // the script, the old report, the directory: no temporary file
    std::ifstream old(report);
    std::string text((std::istreambuf_iterator<char>(old)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "old");
}

TEST(HostRobustness, AReportNamedLikeTheScriptIsRefusedAndTheScriptKept) {
    ScratchDir dir;
    const std::string script = dir.file("s.json");
    const std::string text = R"({"events":[{"do":"startup"}]})";
    std::ofstream(script) << text;
    for (const std::string& out : {script, (dir.path() / "." / "s.json").string()}) {
        std::ostringstream stdoutText, err;
        EXPECT_EQ(runRunCommand({script, "--out", out}, sessiontest::modulePath(), stdoutText, err),
                  kRunUsage);
        EXPECT_NE(err.str().find("is the input " + script + " itself"), std::string::npos) << err.str();
        EXPECT_EQ(test::readFile(script), text);
    }
}

TEST(HostRobustness, AModuleNamedWithoutAFolderIsTheFileOfThatNameHere) {
    const fs::path before = fs::current_path();
    fs::current_path(fs::path(sessiontest::modulePath()).parent_path());
    SessionError error;
    const nlohmann::ordered_json report =
        runSession(json::parse(R"({"events":[{"do":"startup"}]})"), "KT07_Zigzag.aip", &error);
    fs::current_path(before);
    ASSERT_FALSE(report.is_null()) << error.message;
    EXPECT_EQ(report["results"][0], 0);
}

#if !defined(_WIN32)
TEST(HostRobustness, ReportsFollowLinksWithoutReplacingThem) {
    ScratchDir dir;
    const std::string script = dir.file("s.json");
    std::ofstream(script) << R"({"events":[{"do":"startup"}]})";

    // A link stays a link; the file it names gets the report.
    const fs::path target = dir.path() / "target.json";
    std::ofstream(target) << "old";
    fs::create_symlink(target, dir.path() / "link.json");
    std::ostringstream out, err;
    ASSERT_EQ(runRunCommand({script, "--out", dir.file("link.json")}, sessiontest::modulePath(), out, err),
              kRunOk)
        << err.str();
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link.json")));
    EXPECT_EQ(json::parse(test::readFile(target))["results"][0], 0);
}

using test::runZigzag;

TEST(HostRobustness, DrawNumbersAreDecimalOrHexAndWithinTheFloatRange) {
    // The command is built with the tests: its absence is a build fault, not a reason to skip.
    ASSERT_TRUE(fs::exists(besideExecutable("zigzag"))) << besideExecutable("zigzag");
    ScratchDir dir;
    const std::string out = " -o '" + (dir.path() / "x.svg").string() + "'";
    // A leading zero is not octal: 0377 is three hundred and seventy-seven, beyond the pressure range.
    EXPECT_EQ(runZigzag("draw --to 5,5 --pressure 0377" + out), 2);
    EXPECT_EQ(runZigzag("draw --to 5,5 --seed 09" + out), 0);
    EXPECT_EQ(runZigzag("draw --to 5,5 --seed 0x10 --modifiers 0X20" + out), 0);
    EXPECT_EQ(runZigzag("draw --to 5,5 --seed ' 1'" + out), 2);
    EXPECT_EQ(runZigzag("draw --to 5,5 --seed 0x" + out), 2);
    EXPECT_EQ(runZigzag("draw --to 5,5 --seed 1-" + out), 2);
    // A point the host cannot hold as floats is a usage error, not a picture of infinities.
    EXPECT_EQ(runZigzag("draw --to 1e300,5" + out), 2);
    EXPECT_EQ(runZigzag("draw --to 5,5 --from 0,-1e39" + out), 2);
    EXPECT_EQ(runZigzag("draw --to 5,5 --page 1e300,100" + out), 2);
}
#endif

// ---- mutated scripts ----

// Builds scripts from the events the runner knows, then damages them: wrong types, huge and negative
// numbers, non-finite texts, deep nesting, long lists, unknown keys. Exports only ever go into `dir`.
class ScriptMutator {
  public:
    ScriptMutator(uint32_t seed, fs::path dir) : random_(seed), dir_(std::move(dir)) {}

    json script() {
        json events = json::array();
        const int count = pick(0, 12);
        if (chance(0.8)) events.push_back({{"do", "startup"}});
        for (int i = 0; i < count; ++i) {
            events.push_back(event());
            if (events.back()["do"] == "unload" && chance(0.8)) events.push_back({{"do", "reload"}});
        }
        json script = {{"events", events}};
        if (chance(0.3)) script["seed"] = chance(0.8) ? json(pick(0, 1000)) : anyValue(0);
        if (chance(0.3)) script["random"] = numberList(pick(0, 50));
        if (chance(0.3)) script["document"] = document();
        const int damage = pick(0, 3);
        for (int i = 0; i < damage; ++i)
            mutate(script, 0);
        return script;
    }

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }

    json number() {
        static const json specials[] = {
            0,          -1,           1e300,         -1e300,       3.5e38,       1e-300,
            2147483647, 2147483648LL, -2147483649LL, 4294967295LL, 4294967296LL, "nan",
            "inf",      "-inf",       255,           0.5};
        if (chance(0.5)) return pick(-100, 100);
        return specials[pick(0, static_cast<int>(std::size(specials)) - 1)];
    }
    json numberList(int n) {
        json list = json::array();
        for (int i = 0; i < n; ++i)
            list.push_back(number());
        return list;
    }
    json point() { return json::array({number(), number()}); }

    json anyValue(int depth) {
        switch (pick(0, depth > 3 ? 5 : 7)) {
        case 0:
            return nullptr;
        case 1:
            return chance(0.5);
        case 2:
            return number();
        case 3:
            return std::string(static_cast<size_t>(pick(0, 6)), static_cast<char>(pick(1, 255)));
        case 4:
            return "SEGM";
        case 5:
            return json::array();
        case 6: {
            json list = json::array();
            for (int i = pick(0, 4); i > 0; --i)
                list.push_back(anyValue(depth + 1));
            return list;
        }
        default: {
            json object = json::object();
            for (int i = pick(0, 3); i > 0; --i)
                object[std::string(1, static_cast<char>('a' + pick(0, 25)))] = anyValue(depth + 1);
            return object;
        }
        }
    }

    json document() {
        json document = json::object();
        if (chance(0.5)) document["colorModel"] = chance(0.8) ? json("cmyk") : anyValue(0);
        if (chance(0.5)) document["page"] = point();
        if (chance(0.5)) {
            if (chance(0.5)) {
                document["swatches"] = pick(-2, 300);
            } else {
                json list = json::array();
                for (int i = pick(0, 40); i > 0; --i)
                    list.push_back({{"kind", pick(-1, 7)}, {"values", numberList(pick(0, 5))}});
                document["swatches"] = list;
            }
        }
        if (chance(0.3)) document["namedStyles"] = pick(-1, 50);
        if (chance(0.3)) document["pressure"] = chance(0.5);
        if (chance(0.3)) document["iconType"] = number();
        return document;
    }

    json event() {
        static const char* const settingsFields[] = {"zigzagElements", "maxPointsPerZigzag", "applySlowdown",
                                                     "designTemplate", "trailCursor",        "noSuchField"};
        static const char* const suites[] = {
            "SP Blocks Suite", "AI Art Suite",  "AI Path Suite", "ADM Icon Suite",
            "SP Basic Suite",  "AI Undo Suite", "Nope"};
        static const char* const ops[] = {"AllocateBlock", "NewArt",  "SetPathSegments", "GetType",
                                          "ReleaseSuite",  "acquire", "UndoChanges",     "Nope"};
        switch (pick(0, 16)) {
        case 0:
            return {{"do", "mouseDown"}, {"at", point()}};
        case 1:
        case 2:
        case 3:
            return {{"do", "drag"},
                    {"to", point()},
                    {"modifiers", chance(0.7) ? json(pick(0, 0x260)) : number()}};
        case 4:
            return {{"do", "mouseUp"}};
        case 5:
            return {
                {"do", "settings"},
                {"set",
                 {{settingsFields[pick(0, 5)], chance(0.5) ? number() : json(numberList(pick(0, 110)))}}}};
        case 6:
            return {{"do", "fault"},         {"suite", suites[pick(0, 6)]},
                    {"op", ops[pick(0, 7)]}, {"code", chance(0.5) ? json("SEGM") : number()},
                    {"skip", pick(0, 5)},    {"times", chance(0.8) ? json(pick(0, 3)) : number()}};
        case 7:
            return {{"do", "undo"}};
        case 8:
            return {{"do", "redo"}};
        case 9:
            return {{"do", "export"}, {"svg", (dir_ / ("e" + std::to_string(pick(0, 3)) + ".svg")).string()}};
        case 10:
            return {{"do", chance(0.5) ? "unload" : "reload"}};
        case 11:
            return {{"do", "editOptions"}, {"close", pick(-1, 3)}};
        case 12:
            return {{"do", "about"}, {"close", pick(-1, 3)}};
        case 13:
            return {
                {"do", "message"}, {"caller", "AI Tool"}, {"selector", chance(0.5) ? "AI Mouse Drag" : "x"}};
        case 14:
            return {{"do", "trackCursor"}};
        case 15:
            return {{"do", "shutdown"}};
        default:
            return {{"do", chance(0.5) ? "select" : "deselect"}};
        }
    }

    // Damages one place of the script; never turns an export path into a path outside the scratch folder.
    void mutate(json& value, int depth) {
        if (value.is_object() && !value.empty() && chance(0.75)) {
            auto it = value.begin();
            std::advance(it, pick(0, static_cast<int>(value.size()) - 1));
            if (it.key() == "svg") return;
            if (chance(0.1)) {
                value["unknown" + std::to_string(pick(0, 3))] = anyValue(0);
            } else if (chance(0.1)) {
                value.erase(it);
            } else {
                mutate(it.value(), depth + 1);
            }
            return;
        }
        if (value.is_array() && !value.empty() && chance(0.75)) {
            mutate(value[static_cast<size_t>(pick(0, static_cast<int>(value.size()) - 1))], depth + 1);
            return;
        }
        value = anyValue(depth);
        if (chance(0.02)) { // deep nesting
            const json deep = json::parse(std::string(2000, '[') + std::string(2000, ']'));
            value = deep;
        }
    }

    std::mt19937 random_;
    fs::path dir_;
};

TEST(HostRobustness, MutatedScriptsNeverCrashAndEveryErrorNamesWhatIsWrong) {
    ScratchDir dir;
    ScriptMutator mutator(20240611u, dir.path());
    int ran = 0, refused = 0;
    for (int i = 0; i < 600; ++i) {
        const json script = mutator.script();
        const std::string text = script.dump(-1, ' ', false, json::error_handler_t::replace);
        SessionError error;
        nlohmann::ordered_json report;
        ASSERT_NO_THROW(report = runSessionText(text, sessiontest::modulePath(), &error))
            << text.substr(0, 2000);
        if (report.is_null()) {
            ++refused;
            EXPECT_NE(error.kind, SessionError::Kind::None) << text.substr(0, 2000);
            EXPECT_FALSE(error.message.empty()) << text.substr(0, 2000);
            if (error.kind == SessionError::Kind::Script) {
                // A script error names the event by index, a top-level key, or the script as a whole.
                const bool named = error.message.find("events") != std::string::npos ||
                                   error.message.find("document") != std::string::npos ||
                                   error.message.find("random") != std::string::npos ||
                                   error.message.find("seed") != std::string::npos ||
                                   error.message.find("unknown key") != std::string::npos ||
                                   error.message.find("the script") != std::string::npos;
                EXPECT_TRUE(named) << error.message;
            }
        } else {
            ++ran;
            EXPECT_EQ(report["results"].size(), script.contains("events") ? script["events"].size() : 0u);
            std::string dumped;
            ASSERT_NO_THROW(dumped = report.dump()) << text.substr(0, 2000);
        }
    }
    RecordProperty("ran", ran);
    RecordProperty("refused", refused);
    // Both kinds were exercised.
    EXPECT_GT(ran, 20);
    EXPECT_GT(refused, 50);
}

} // namespace
} // namespace zz
