// What the commands promise about the files and text they are given: an output never replaces an input or
// something that is not a regular file, a script cannot ask for more than a user could, and whatever a
// message quotes of the user's input reaches the terminal bounded and without control bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "SessionTestSupport.h"
#include "host/base/AtomicFile.h"
#include "host/base/Utf8.h"
#include "apps/script/Session.h"
#include "apps/script/SettingsJson.h"
#include "tests/TestSupport.h"

#if !defined(_WIN32)

namespace zz {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using test::ScratchDir;

std::string shellWord(const std::string& word) {
    return "'" + word + "'";
}

// Plays `script` with the built module; the error's message, or "" when it played.
std::string refusalOf(const json& script) {
    SessionError error;
    return playSession(script, test::modulePath(), &error) ? std::string() : error.message;
}

TEST(CommandSafety, NoCommandWritesItsOutputOverAFileItReads) {
    ScratchDir dir;
    const std::string module = dir.file("m.aip");
    fs::copy_file(test::modulePath(), module);
    const std::string original = test::readFile(module);
    const std::string script = dir.file("s.json");
    std::ofstream(script) << R"({"events":[{"do":"startup"}]})";
    const std::string document = dir.file("doc.json");
    std::ofstream(document) << R"({"page":[100,100]})";
    fs::create_symlink(module, dir.path() / "link.aip");

    const std::string m = shellWord(module);
    const std::string cases[] = {
        "run " + shellWord(script) + " --module " + m + " --out " + m,
        "run " + shellWord(script) + " --module " + m + " --out " + shellWord(dir.file("link.aip")),
        "dialog --page 1 --module " + m + " -o " + m,
        "draw --to 5,5 --document " + shellWord(document) + " -o " + shellWord(document),
        "validate " + m + " --check scenario/startup --json " + m,
        "validate " + m + " --check scenario/startup --junit " + m,
    };
    for (const std::string& command : cases) {
        SCOPED_TRACE(command);
        int status = -1;
        const std::string said = test::zigzagErrors(command, &status);
        EXPECT_EQ(status, 2);
        EXPECT_NE(said.find("itself; writing it would replace what is read"), std::string::npos) << said;
    }
    // A script's export may not land on the module either.
    const std::string exporting = dir.file("e.json");
    std::ofstream(exporting) << json{
        {"events", json::array({{{"do", "startup"}}, {{"do", "export"}, {"svg", module}}})}};
    int status = -1;
    const std::string said = test::zigzagErrors("run " + shellWord(exporting) + " --module " + m, &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(said.find("events[1] (\"export\"): \"svg\" "), std::string::npos) << said;
    EXPECT_EQ(test::readFile(module), original);
    EXPECT_EQ(test::readFile(document), R"({"page":[100,100]})");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "link.aip")));

    // A report that does not exist yet is compared by its path.
    EXPECT_TRUE(outputRefusal(dir.file("sub/../new.json"), {dir.file("new.json")}));
    EXPECT_FALSE(outputRefusal(dir.file("new.json"), {dir.file("other.json"), ""}));
}

TEST(CommandSafety, ALinkLoopADirectoryOrAPipeIsRefusedAndLeftAsItWas) {
    ScratchDir dir;
    const std::string script = dir.file("s.json");
    std::ofstream(script) << R"({"events":[{"do":"startup"}]})";
    fs::create_symlink(dir.path() / "b", dir.path() / "a");
    fs::create_symlink(dir.path() / "a", dir.path() / "b");
    fs::create_directory(dir.path() / "folder");
    ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const struct {
        std::string output, says;
    } cases[] = {{dir.file("a"), "leads round in a loop"},
                 {dir.file("folder"), "is a directory"},
                 {dir.file("pipe"), "is not a regular file"}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.output);
        int status = -1;
        const std::string said = test::zigzagErrors(
            "run " + shellWord(script) + " --out " + shellWord(each.output) + " </dev/null", &status);
        EXPECT_EQ(status, 2);
        EXPECT_NE(said.find(each.says), std::string::npos) << said;
        std::string why;
        EXPECT_FALSE(writeFileAtomically(each.output, "x", &why));
        EXPECT_NE(why.find(each.says), std::string::npos) << why;
    }
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.path() / "a")));
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_TRUE(fs::is_fifo(fs::status(dir.file("pipe"))));
}

TEST(CommandSafety, ADragOutsideAPressIsAScriptErrorNamingTheEvent) {
    const json before = json::parse(R"({"events":[{"do":"startup"},{"do":"drag","to":[5,5]}]})");
    EXPECT_NE(refusalOf(before).find("events[1] (\"drag\"): no drag is open"), std::string::npos)
        << refusalOf(before);
    const json after = json::parse(R"({"events":[{"do":"startup"},{"do":"mouseDown","at":[0,0]},
        {"do":"drag","to":[5,5]},{"do":"mouseUp"},{"do":"drag","to":[9,9]}]})");
    EXPECT_NE(refusalOf(after).find("events[4] (\"drag\"): no drag is open"), std::string::npos)
        << refusalOf(after);
    json inside = after;
    inside["events"].erase(4);
    EXPECT_EQ(refusalOf(inside), "");
    // An abandoned drag is closed too.
    json abandoned = after;
    abandoned["events"][3] = {{"do", "abandon"}};
    EXPECT_NE(refusalOf(abandoned).find("events[4]"), std::string::npos);
}

TEST(CommandSafety, SettingsAreHeldToTheRangesOfTheOptionsDialog) {
    const auto settings = [](const json& set) {
        return json{{"events", json::array({{{"do", "startup"}}, {{"do", "settings"}, {"set", set}}})}};
    };
    const std::string many = refusalOf(settings({{"numberOfReflections", 100000}}));
    EXPECT_NE(many.find("events[1] (\"settings\")"), std::string::npos) << many;
    EXPECT_NE(many.find("numberOfReflections: 100000"), std::string::npos) << many;
    EXPECT_NE(many.find("(0 to 100)"), std::string::npos) << many;
    EXPECT_EQ(refusalOf(settings({{"numberOfReflections", 100}, {"initialAngle", -360}})), "");
    EXPECT_NE(refusalOf(settings({{"initialAngle", 360.5}})).find("(-360 to 360)"), std::string::npos);
    EXPECT_NE(refusalOf(settings({{"initialAngle", "nan"}})).find("initialAngle: nan"), std::string::npos);
    EXPECT_NE(refusalOf(settings({{"trailCursor", 2}})).find("(0 to 1)"), std::string::npos);
    EXPECT_NE(refusalOf(settings({{"designIndex1", 67}})).find("(0 to 66)"), std::string::npos);
    // The working fields of a drag are not options: the dialog does not bound them.
    EXPECT_EQ(refusalOf(settings({{"dragEventCounter", 12345}})), "");

    int status = -1;
    ScratchDir dir;
    const std::string said = test::zigzagErrors(
        "draw --to 5,5 --set numberOfReflections=200000 -o " + shellWord(dir.file("x.svg")), &status);
    EXPECT_EQ(status, 2);
    EXPECT_NE(said.find("numberOfReflections: 200000"), std::string::npos) << said;
}

// The table of ranges agrees with the dialog the module makes: each item's minimum and maximum, the entries
// of each list, and check boxes.
TEST(CommandSafety, TheRangesAreTheOnesTheModulesDialogSets) {
    const json script = json::parse(R"({"document":{"swatches":32},
        "events":[{"do":"startup"},{"do":"editOptions","close":2}]})");
    SessionError error;
    const std::optional<SessionOutcome> outcome = playSession(script, test::modulePath(), &error);
    ASSERT_TRUE(outcome) << error.message;
    ASSERT_FALSE(outcome->dialogs.empty());
    const json& dialog = outcome->dialogs.front();
    std::size_t compared = 0;
    for (const SettingsFieldRange& range : settingsFieldRanges()) {
        if (range.item == 0) continue;
        SCOPED_TRACE(range.name);
        const json* found = nullptr;
        for (const json& item : dialog["items"])
            if (item["id"] == range.item) found = &item;
        ASSERT_NE(found, nullptr);
        if (found->contains("entries")) {
            EXPECT_EQ(range.low, 0.0);
            EXPECT_EQ(range.high, static_cast<double>((*found)["entries"].size() - 1));
        } else if (found->contains("min") && (*found)["max"] != 32) { // swatch indexes follow the document
            EXPECT_EQ(range.low, (*found)["min"].get<double>());
            EXPECT_EQ(range.high, (*found)["max"].get<double>());
        } else if (!found->contains("min")) {
            EXPECT_EQ(range.low, 0.0);
            EXPECT_EQ(range.high, 1.0);
        }
        ++compared;
    }
    EXPECT_GT(compared, 70u);
}

TEST(CommandSafety, QuotedTextIsBoundedAndHoldsNoControlByte) {
    EXPECT_EQ(safeQuote("plain words"), "plain words");
    EXPECT_EQ(safeQuote(std::string("a\0b\x1b[2Jc\x7f", 9)), "a\\x00b\\x1b[2Jc\\x7f");
    EXPECT_EQ(safeQuote("\xC2\x85 \xff \xC3\xA9"), "\\u0085 \xEF\xBF\xBD \xC3\xA9");
    EXPECT_EQ(safeQuote(std::string(200, 'x')), std::string(80, 'x') + "\u2026");
    EXPECT_EQ(safeQuote(std::string(80, 'x')), std::string(80, 'x'));
    // Characters, not bytes, are counted: a cut never splits one.
    EXPECT_EQ(safeQuote(std::string(100, 'a') + "\xC3\xA9", 100), std::string(100, 'a') + "\u2026");
    EXPECT_EQ(safeQuote("\xC3\xA9\xC3\xA9", 1), "\xC3\xA9\u2026");
}

TEST(CommandSafety, RefusalsQuoteTheUsersWordsSafely) {
    ScratchDir dir;
    const std::string script = dir.file("s.json");
    std::ofstream(script) << R"({"events":[{"do":"start\u001b[2J\u0000)" << std::string(70000, 'x')
                          << R"("}]})";
    int status = -1;
    std::string said = test::zigzagErrors("run " + shellWord(script), &status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << said.substr(0, 200);
    EXPECT_EQ(said.find('\0'), std::string::npos);
    EXPECT_LT(said.size(), 1000u);
    EXPECT_NE(said.find("unknown event \"start\\x1b[2J\\x00xxx"), std::string::npos) << said;
    EXPECT_NE(said.find("\u2026"), std::string::npos) << said;

    // The command line's own words too.
    said = test::zigzagErrors("draw --to \"$(printf '1\\033[31m,5')\" -o x.svg", &status);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(said.find('\x1b'), std::string::npos) << said;
    EXPECT_NE(said.find("--to 1\\x1b[31m,5"), std::string::npos) << said;

    // A module that cannot be read shows no table heading.
    const std::string junk = dir.file("junk.aip");
    std::ofstream(junk) << "not a module";
    EXPECT_EQ(test::zigzagOutput("resources " + shellWord(junk), &status), "");
    EXPECT_EQ(status, 2);
}

TEST(CommandSafety, DrawSpeaksOfTheOptionsNotOfItsSession) {
    ScratchDir dir;
    int status = -1;
    const std::string said =
        test::zigzagErrors("draw --to 5,5 -o " + shellWord(dir.file("no/such/folder/x.svg")), &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(said.rfind("zigzag draw: writing ", 0), 0u) << said;
    EXPECT_NE(said.find("x.svg"), std::string::npos) << said;
    for (const char* internal : {"events[", "\"export\"", ".tmp", ".zz-"})
        EXPECT_EQ(said.find(internal), std::string::npos) << internal << " in " << said;
}

TEST(CommandSafety, ValidateWritesItsJsonForAModuleWhoseNameIsNotUtf8) {
    ScratchDir dir;
    const std::string module = dir.file("bad\xff\xfe.aip");
    std::ofstream(module) << "not a module";
    const std::string report = dir.file("report.json");
    int status = -1;
    const std::string said =
        test::commandOutput("'" + besideExecutable("zigzag") + "' validate " + shellWord(module) +
                                " --check scenario/startup --json " + shellWord(report) + " 2>&1",
                            &status);
    EXPECT_EQ(status, 1) << said;
    EXPECT_EQ(said.find("json.exception"), std::string::npos) << said;
    ASSERT_TRUE(fs::exists(report)) << said;
    const json written = json::parse(test::readFile(report));
    EXPECT_FALSE(written["passed"].get<bool>());
    EXPECT_NE(written["module"].get<std::string>().find("bad\xEF\xBF\xBD"), std::string::npos);
}

} // namespace
} // namespace zz

#endif
