// A user's actions in the options dialog through `zigzag run`, the dialog entries of the report, and the
// front ends that choose a preset through the dialog: `zigzag draw --preset` and `zigzag presets`.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "apps/script/DialogChoices.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;
using sessiontest::failure;
using sessiontest::fourCC;
using sessiontest::run;

void expectActionError(const std::string& actions, const std::vector<std::string>& mentions) {
    const SessionError error =
        failure(R"({"events":[{"do":"startup"},{"do":"editOptions","actions":)" + actions + "}]}");
    EXPECT_EQ(error.kind, SessionError::Kind::Script) << error.message;
    for (const std::string& mention : mentions)
        EXPECT_NE(error.message.find(mention), std::string::npos) << error.message << " lacks " << mention;
}

TEST(SessionDialogActions, BadActionsAreScriptErrorsNamingTheEventTheActionAndTheField) {
    const std::string event = "events[1] (\"editOptions\")";
    expectActionError(R"({"item":1})", {event, "\"actions\" must be a list"});
    expectActionError(R"([{"item":1,"click":true}, 5])", {event, "actions[1]", "must be an object"});
    expectActionError(R"([{"click":true}])", {event, "actions[0]", "\"item\" is missing"});
    expectActionError(R"([{"item":"OK","click":true}])", {event, "actions[0]", "\"item\"", "item id"});
    expectActionError(R"([{"item":4,"value":"12"}])", {event, "actions[0]", "\"value\"", "number or true"});
    expectActionError(R"([{"item":4,"value":1e300}])", {event, "actions[0]", "\"value\""});
    expectActionError(R"([{"item":3,"select":1.5}])", {event, "actions[0]", "\"select\"", "entry id"});
    expectActionError(R"([{"item":3,"select":4294967296}])", {event, "\"select\""});
    expectActionError(R"([{"item":1,"click":false}])", {event, "actions[0]", "\"click\"", "must be true"});
    expectActionError(R"([{"item":1,"click":true,"select":2}])", {event, "actions[0]", "exactly one"});
    expectActionError(R"([{"item":1}])", {event, "actions[0]", "exactly one"});
    expectActionError(R"([{"item":1,"press":true}])", {event, "actions[0]", "unknown field", "press"});
    // Actions belong to the options dialog's event only.
    const SessionError about = failure(R"({"events":[{"do":"startup"},{"do":"about","actions":[]}]})");
    EXPECT_NE(about.message.find("unknown field \"actions\""), std::string::npos) << about.message;
}

TEST(SessionDialogActions, ActionsOnMissingOrHiddenItemsAreRefusedAndTheDialogEndsWithCancel) {
    // Item 10 lies on the second page, hidden while the first is shown.
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"editOptions","actions":[
        {"item":9999,"click":true},{"item":10,"value":5}]}]})");
    EXPECT_EQ(report["results"][1], fourCC("STOP")); // ended with Cancel: a user cancel
    const ordered_json& dialog = report["dialogs"][0];
    EXPECT_EQ(dialog["name"], "ZigzagTool");
    EXPECT_EQ(dialog["result"], 2);
    ASSERT_EQ(dialog["refused"].size(), 2u);
    EXPECT_EQ(dialog["refused"][0], (ordered_json{{"action", 0}, {"reason", "the dialog has no item 9999"}}));
    EXPECT_EQ(dialog["refused"][1]["action"], 1);
    EXPECT_NE(dialog["refused"][1]["reason"].get<std::string>().find("hidden"), std::string::npos)
        << dialog["refused"][1];
    ASSERT_EQ(dialog["snapshots"].size(), 3u); // after the init procedure and after each action
    EXPECT_EQ(dialog["snapshots"][0]["after"], "init");
    EXPECT_EQ(dialog["snapshots"][2]["after"], 1);
    EXPECT_EQ(dialog["snapshots"][2]["items"], dialog["snapshots"][0]["items"]); // nothing changed
}

TEST(SessionDialogActions, SnapshotsKeyItemsSharingAnIdApartAndListOnlyTheKeysThatApply) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"about"}]})");
    const ordered_json& dialog = report["dialogs"][0];
    ASSERT_EQ(dialog["snapshots"].size(), 1u);
    const ordered_json& items = dialog["snapshots"][0]["items"];
    ASSERT_TRUE(items.contains("1"));
    EXPECT_EQ(items["1"]["type"], "ADM Text Push Button Type");
    EXPECT_EQ(items["1"]["text"], "OK");
    EXPECT_EQ(items["1"]["rect"].size(), 4u);
    EXPECT_EQ(items["1"]["enabled"], true);
    EXPECT_FALSE(items["1"].contains("value")); // a button holds no value
    EXPECT_FALSE(items["1"].contains("entries"));
    // The about box's unnamed labels all have the id -1: the first keeps the key, the others are numbered.
    ASSERT_TRUE(items.contains("-1"));
    ASSERT_TRUE(items.contains("-1#2"));
    EXPECT_NE(items["-1"]["text"], items["-1#2"]["text"]);
    EXPECT_TRUE(dialog["refused"].empty());
    EXPECT_TRUE(dialog["lists"].empty());
}

TEST(SessionDialogActions, CloseStillEndsADialogTheActionsLeaveOpen) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"editOptions","close":1,"actions":[{"item":300,"click":true}]}]})");
    EXPECT_EQ(report["results"][1], 0); // ended with OK
    EXPECT_EQ(report["dialogs"][0]["result"], 1);
    EXPECT_EQ(report["dialogs"][0]["snapshots"].size(), 2u);
}

// ---- presets through the dialog ----

TEST(DialogChoices, ChoosingAPresetIsSelectingItsEntryAndClickingOk) {
    EXPECT_EQ(
        chooseAndConfirmEvent(3, 14),
        json::parse(R"({"do":"editOptions","actions":[{"item":3,"select":14},{"item":1,"click":true}]})"));
}

TEST(DialogChoices, SettingsDiffListsTheFieldsThatChangedInRecordOrder) {
    const ordered_json before = ordered_json::parse(R"({"a":1,"b":2.5,"c":"nan","d":[1,-999]})");
    const ordered_json after = ordered_json::parse(R"({"a":1,"b":3,"c":"nan","d":[2,-999]})");
    const std::vector<SettingChange> changes = settingsDiff(before, after);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].field, "b");
    EXPECT_EQ(changes[0].before, 2.5);
    EXPECT_EQ(changes[0].after, 3);
    EXPECT_EQ(changes[1].field, "d");
    EXPECT_TRUE(settingsDiff(before, before).empty());
}

// A module that offers two choices in popup 7 and gives choice k the setting "x" = k: stands in for a module
// whose options dialog is built, and records the scripts the listing plays.
struct TwoChoiceModule {
    std::vector<json> scripts;
    ordered_json operator()(const json& script) {
        scripts.push_back(script);
        const json& events = script["events"];
        ordered_json report{{"settings", {{"x", 0}, {"y", 5}}}, {"dialogs", ordered_json::array()}};
        if (events.size() < 2) return report;
        ordered_json dialog{
            {"name", "Options"}, {"refused", ordered_json::array()}, {"lists", ordered_json::object()}};
        dialog["lists"]["7"] = ordered_json::parse(R"([{"id":0,"text":" None"},{"id":5,"text":" Five"}])");
        const json& actions = events[1].value("actions", json::array());
        if (!actions.empty()) report["settings"]["x"] = actions[0]["select"];
        report["dialogs"].push_back(dialog);
        return report;
    }
};

TEST(DialogChoices, EachEntryIsPlayedInAFreshSessionAndComparedWithTheSettingsAfterStartup) {
    TwoChoiceModule module;
    std::vector<ChoiceEffect> choices;
    std::string why;
    ASSERT_TRUE(
        listChoices([&](const json& script, std::string*) { return module(script); }, 7, &choices, &why))
        << why;
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].text, " None");
    EXPECT_TRUE(choices[0].changes.empty());
    EXPECT_EQ(choices[1].id, 5);
    ASSERT_EQ(choices[1].changes.size(), 1u);
    EXPECT_EQ(choices[1].changes[0].field, "x");
    EXPECT_EQ(choices[1].changes[0].after, 5);
    // Start-up alone, the dialog opened, then one session per entry, each choosing it and clicking OK.
    ASSERT_EQ(module.scripts.size(), 4u);
    EXPECT_EQ(module.scripts[3]["events"][1], chooseAndConfirmEvent(7, 5));
}

// The session scripts kept with the tests (scripts/check-targets.sh also compares their reports across the
// two targets): each plays through, random action sequences on every item of the real dialog among them.
TEST(SessionDialogActions, TheKeptSessionScriptsPlayThroughAndEveryRefusalIsExplained) {
    std::size_t scripts = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(ZZ_SOURCE_DIR) + "/tests/scripts")) {
        if (entry.path().extension() != ".json") continue;
        ++scripts;
        SessionError error;
        const ordered_json report =
            runSessionText(test::readFile(entry.path()), sessiontest::modulePath(), &error);
        ASSERT_FALSE(report.is_null()) << entry.path() << ": " << error.message;
        for (const ordered_json& dialog : report["dialogs"])
            for (const ordered_json& refusal : dialog.value("refused", ordered_json::array()))
                EXPECT_FALSE(refusal["reason"].get<std::string>().empty()) << entry.path();
    }
    EXPECT_GE(scripts, 4u);
}

TEST(DialogChoices, TheToolsPresetsAreListedWithWhatEachChanges) {
    std::vector<ChoiceEffect> choices;
    std::string why;
    ASSERT_TRUE(listChoices(moduleSessions(sessiontest::modulePath()), 3, &choices, &why)) << why;
    ASSERT_EQ(choices.size(), 37u);
    EXPECT_EQ(choices[14].id, 14);
    EXPECT_EQ(choices[14].text, " Preset 014");
    EXPECT_TRUE(choices[14].refused.empty()) << choices[14].refused;
    bool elements = false;
    for (const SettingChange& change : choices[14].changes)
        elements = elements || change.field == "zigzagElements";
    EXPECT_TRUE(elements);
}

TEST(DialogChoices, ADialogWithoutThePopupIsAnError) {
    std::vector<ChoiceEffect> choices;
    std::string why;
    EXPECT_FALSE(listChoices(moduleSessions(sessiontest::modulePath()), 9999, &choices, &why));
    EXPECT_EQ(why, "the dialog \"ZigzagTool\" has no popup list 9999");
    EXPECT_FALSE(listChoices(moduleSessions("no-such-module.aip"), 3, &choices, &why));
    EXPECT_FALSE(why.empty());
}

#if !defined(_WIN32)
TEST(DialogChoices, DrawWithAPresetTheDialogRefusesSaysSoAndStillDraws) {
    test::ScratchDir scratch;
    const std::string out = scratch.file("preset.svg");
    EXPECT_EQ(test::runZigzag("draw --to 10,-30 --preset 4 -o '" + out + "'"), 0);
    std::filesystem::remove(out);
    EXPECT_EQ(test::runZigzag("draw --to 10,-30 --preset 99 -o '" + out + "'"), 1); // no such entry
    EXPECT_TRUE(std::filesystem::exists(out));
    EXPECT_EQ(test::runZigzag("draw --to 10,-30 --preset -1 -o '" + out + "'"), 2);
    EXPECT_EQ(test::runZigzag("presets"), 0);
    EXPECT_EQ(test::runZigzag("presets --verbose"), 2);
}

// The presets are listed in a document with swatches, so that a swatch index a preset keeps or sets is not
// cut to the range of a document without any; the document options still choose another document.
TEST(DialogChoices, PresetsRunInADocumentWithSwatchesUnlessTheOptionsSayOtherwise) {
    auto lineOf = [](const std::string& listing, const std::string& start) {
        std::istringstream lines(listing);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(start, 0) == 0) return line;
        return std::string("(no line " + start + ")");
    };
    int status = -1;
    const std::string listing = test::zigzagOutput("presets", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lineOf(listing, "0 "), "0 \" -- Reset -- \": no change");
    EXPECT_NE(lineOf(listing, "7 ").find("fillSwatchIndex 2 -> 12"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("fillSwatchIndex 2 -> 0"), std::string::npos) << listing;

    const std::string without = test::zigzagOutput("presets --swatches 0", &status);
    EXPECT_EQ(status, 0);
    EXPECT_NE(lineOf(without, "0 ").find("fillSwatchIndex 2 -> 0"), std::string::npos) << without;
    EXPECT_NE(lineOf(test::zigzagOutput("presets --document '{\"swatches\": 5}'", &status), "7 ")
                  .find("fillSwatchIndex 2 -> 5"),
              std::string::npos);
    EXPECT_EQ(test::runZigzag("presets --swatches many"), 2);
    EXPECT_EQ(test::runZigzag("presets --swatches"), 2);
    EXPECT_EQ(test::runZigzag("presets --document '{\"swatches\": -1}'"), 2);
}
#endif

} // namespace
} // namespace zz
