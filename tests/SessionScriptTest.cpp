// Bad scripts and the `zigzag run` command: every mistake is named, nothing crashes, the exit status tells.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "apps/script/RunCommand.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using sessiontest::failure;

void expectScriptError(const std::string& script, const std::vector<std::string>& mentions) {
    const SessionError error = failure(script);
    EXPECT_EQ(error.kind, SessionError::Kind::Script) << error.message;
    for (const std::string& mention : mentions)
        EXPECT_NE(error.message.find(mention), std::string::npos) << error.message << " lacks " << mention;
}

TEST(SessionScript, TextThatIsNotJsonOrNotAnObjectIsRefused) {
    expectScriptError("{\"events\": [", {"not valid JSON"});
    expectScriptError("[]", {"JSON object"});
    expectScriptError("", {"not valid JSON"});
    // In the script's words: the place, what is wrong there, and where in the text; never the parser's own.
    const SessionError overflow = failure(R"({"events":[{"do":"drag",)"
                                          "\n"
                                          R"("to":[1e400,0]}]})");
    EXPECT_EQ(overflow.message,
              "the script is not valid JSON: events[0] (\"drag\"): \"to\"[0]: the number 1e400 "
              "is beyond the range of a double (line 2, column 7)");
    expectScriptError("{\"events\": [tru]}",
                      {"events[0]", "not true, false or null", "at \"tru]\" (line 1, column 16)"});
}

// The reader that names places builds the same value the JSON library's own reader does, for awkward text and
// for every kept script and example.
TEST(SessionScript, AReadScriptIsTheValueItsTextHolds) {
    std::vector<std::string> texts = {
        R"({"a":[[],{},[[1,[2]],{"b":{}}]],"c":-0,"d":18446744073709551615,"e":-9223372036854775808,)"
        R"("f":1.5e-300,"g":"\u00e9\ud83d\ude00","h":null,"i":[true,false],"a":"last wins"})",
        "  {\n\"events\" : [ ]\t}\n"};
    for (const char* folder : {"tests/scripts", "examples"})
        for (const auto& file :
             std::filesystem::directory_iterator(std::filesystem::path(ZZ_SOURCE_DIR) / folder))
            if (file.path().extension() == ".json") {
                std::ifstream in(file.path());
                texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
    ASSERT_GT(texts.size(), 4u);
    for (const std::string& text : texts) {
        SessionError error;
        const std::optional<nlohmann::json> read = parseScript(text, &error);
        ASSERT_TRUE(read.has_value()) << error.message;
        EXPECT_EQ(*read, nlohmann::json::parse(text)) << text.substr(0, 80);
    }
}

TEST(SessionScript, ErrorsNameTheEventIndexAndTheField) {
    expectScriptError(R"({"events":[{"do":"startup"},{"do":"jump"}]})",
                      {"events[1]", "unknown event", "jump"});
    expectScriptError(R"({"events":[{"do":"startup"},{"do":"drag","to":[1]}]})", {"events[1]", "\"to\""});
    expectScriptError(R"({"events":[{"do":"drag","to":[1,"a"]}]})", {"events[0]", "\"to\""});
    expectScriptError(R"({"events":[{"do":"mouseDown"}]})", {"events[0]", "\"at\"", "missing"});
    expectScriptError(R"({"events":[{"do":"drag","to":[1,2],"pressure":"hard"}]})",
                      {"events[0]", "\"pressure\""});
    expectScriptError(R"({"events":[{"do":"drag","to":[1,2],"speed":3}]})",
                      {"events[0]", "unknown field", "speed"});
    expectScriptError(R"({"events":[{"do":"editOptions","close":"OK"}]})", {"events[0]", "\"close\""});
    expectScriptError(R"({"events":[{"do":"message","caller":"X"}]})", {"events[0]", "selector"});
    expectScriptError(R"({"events":[3]})", {"events[0]"});
    expectScriptError(R"({"events":[{"go":"startup"}]})", {"events[0]", "\"do\""});
}

TEST(SessionScript, SettingsAndFaultsAreCheckedAgainstWhatExists) {
    expectScriptError(R"({"events":[{"do":"settings","set":{"zigzagElement":3}}]})",
                      {"events[0]", "zigzagElement"});
    expectScriptError(R"({"events":[{"do":"settings","set":{"zigzagElements":"many"}}]})",
                      {"zigzagElements"});
    expectScriptError(R"({"events":[{"do":"fault","suite":"AI Tool Suite","op":"AddTools","code":1}]})",
                      {"events[0]", "AddTools"});
    expectScriptError(R"({"events":[{"do":"fault","suite":"AI Toolbox Suite","op":"AddTool","code":1}]})",
                      {"events[0]", "AI Toolbox Suite"});
    expectScriptError(R"({"events":[{"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":"SEG"}]})",
                      {"events[0]", "\"code\""});
    expectScriptError(
        R"({"events":[{"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":1,"times":-1}]})",
        {"events[0]", "\"times\""});
}

TEST(SessionScript, TopLevelKeysAndDocumentFactsAreChecked) {
    expectScriptError(R"({"event":[]})", {"unknown key", "event"});
    expectScriptError(R"({"seed":-1})", {"seed"});
    expectScriptError(R"({"random":[0.5,"x"]})", {"random[1]"});
    expectScriptError(R"({"document":{"colorModel":"hsv"}})", {"document.colorModel"});
    expectScriptError(R"({"document":{"page":[0,10]}})", {"document.page"});
    expectScriptError(R"({"document":{"swatches":[{"kind":9}]}})", {"document.swatches[0]"});
    expectScriptError(R"({"document":{"pressure":1}})", {"document.pressure"});
    expectScriptError(R"({"document":{"paper":1}})", {"document", "paper"});
}

TEST(SessionScript, ScriptsBeyondTheLimitsAreRefusedNamingTheLimit) {
    nlohmann::json events = nlohmann::json::array();
    for (int i = 0; i <= 100000; ++i)
        events.push_back({{"do", "undo"}});
    expectScriptError(nlohmann::json{{"events", events}}.dump(), {"events: 100001 events", "at most 100000"});
    nlohmann::json actions = nlohmann::json::array();
    for (int i = 0; i <= 1000; ++i)
        actions.push_back({{"item", 1}, {"click", true}});
    expectScriptError(nlohmann::json{{"events", {{{"do", "editOptions"}, {"actions", actions}}}}}.dump(),
                      {"events[0] (\"editOptions\")", "1001 actions", "at most 1000"});
    // Art past the limit, within the options dialog's ranges: a trail of separate elements, each reflected a
    // hundred times, keeps 40,400 objects per drag event. The event that passed it is named, with the limit.
    nlohmann::json trail = nlohmann::json::parse(R"({"events":[{"do":"startup"},{"do":"settings","set":{
        "zigzagElements":400,"numberOfReflections":100,"separateElements":1,"trailCursor":1}},
        {"do":"mouseDown","at":[0,0]}]})");
    for (int i = 1; i <= 20; ++i)
        trail["events"].push_back({{"do", "drag"}, {"to", {300 + i, 400}}});
    expectScriptError(trail.dump(), {"events[15] (\"drag\")", "limit of 500000 art objects"});
}

TEST(SessionScript, MessagesCannotReachAnUnloadedModule) {
    expectScriptError(R"({"events":[{"do":"startup"},{"do":"unload"},{"do":"trackCursor"}]})",
                      {"events[2]", "unloaded"});
    expectScriptError(R"({"events":[{"do":"reload"}]})", {"events[0]", "not unloaded"});
    expectScriptError(R"({"events":[{"do":"unload"},{"do":"unload"}]})", {"events[1]"});
}

TEST(SessionScript, SettingsWithoutABlockAreRefusedWhenTheyArePlayed) {
    expectScriptError(R"({"events":[{"do":"settings","set":{"zigzagElements":3}}]})",
                      {"events[0]", "globals"});
    expectScriptError(
        R"({"events":[{"do":"startup"},{"do":"shutdown"},{"do":"settings","set":{"zigzagElements":3}}]})",
        {"events[2]"});
}

TEST(SessionScript, AModuleThatCannotBeLoadedIsAModuleError) {
    SessionError error;
    const auto report = runSessionText(R"({"events":[]})", sessiontest::modulePath() + ".missing", &error);
    EXPECT_TRUE(report.is_null());
    EXPECT_EQ(error.kind, SessionError::Kind::Module);
    EXPECT_NE(error.message.find(".missing"), std::string::npos);
}

// ---- the command ----

class RunCommand : public ::testing::Test {
  protected:
    std::string file(const std::string& name, const std::string& content) {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return runRunCommand(args, sessiontest::modulePath(), out, err);
    }
    test::ScratchDir dir;
    std::ostringstream out, err;
};

TEST_F(RunCommand, PrintsTheReportOrWritesItWhereAsked) {
    const std::string script = file("ok.json", R"({"events":[{"do":"startup"}]})");
    EXPECT_EQ(run({script}), kRunOk) << err.str();
    EXPECT_EQ(nlohmann::json::parse(out.str())["results"], nlohmann::json::parse("[0]"));

    const std::string reportPath = dir.file("report.json");
    EXPECT_EQ(run({script, "--out", reportPath, "--module", sessiontest::modulePath()}), kRunOk) << err.str();
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(nlohmann::json::parse(test::readFile(reportPath))["tools"].size(), 1u);
}

TEST_F(RunCommand, UsageMistakesAndBadScriptsExitWithTwo) {
    EXPECT_EQ(run({}), kRunUsage);
    EXPECT_NE(err.str().find("SCRIPT: required"), std::string::npos);
    EXPECT_EQ(run({"--frobnicate"}), kRunUsage);
    EXPECT_NE(err.str().find("--frobnicate"), std::string::npos);
    const std::string script = file("two.json", "{}");
    EXPECT_EQ(run({script, script}), kRunUsage);
    EXPECT_EQ(run({script, "--out"}), kRunUsage);
    EXPECT_NE(err.str().find("--out"), std::string::npos);
    EXPECT_EQ(run({dir.file("no_such_script.json")}), kRunUsage);
    EXPECT_NE(err.str().find("cannot read"), std::string::npos);
    const std::string bad = file("bad.json", R"({"events":[{"do":"startup"},{"do":"drag"}]})");
    EXPECT_EQ(run({bad}), kRunUsage);
    EXPECT_NE(err.str().find("events[1]"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(RunCommand, AMissingModuleOrAnUnwritableReportExitsWithOne) {
    const std::string script = file("mod.json", R"({"events":[]})");
    EXPECT_EQ(run({script, "--module", script + ".no_module"}), kRunFailed);
    EXPECT_NE(err.str().find("no_module"), std::string::npos);
    EXPECT_EQ(run({script, "--out", dir.file("no_such_dir") + "/zz/report.json"}), kRunFailed);
    EXPECT_NE(err.str().find("cannot write"), std::string::npos);
}

} // namespace
} // namespace zz
