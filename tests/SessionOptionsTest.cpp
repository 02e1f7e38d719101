// The options dialog through the real module and host: what its items show after opening, what OK stores and
// what Cancel leaves.
#include <gtest/gtest.h>

#include <string>

#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using sessiontest::fourCC;
using sessiontest::run;

// Starts the module in a document with `swatches` swatches, runs `events` and returns the report.
ordered_json runOptions(const std::string& events, int swatches = 5) {
    return run(R"({"document":{"swatches":)" + std::to_string(swatches) + R"(},"events":[{"do":"startup"},)" +
               events + "]}");
}

// The settings of a module that was only started.
ordered_json settingsAfterStartup(int swatches = 5) {
    return runOptions(R"({"do":"select"})", swatches)["settings"];
}

TEST(SessionOptions, AFirstOpeningShowsEveryItemWithTheDefaultsAndCancelChangesNothing) {
    const ordered_json report = runOptions(R"({"do":"editOptions"})");
    EXPECT_EQ(report["results"][1], fourCC("STOP"));
    ASSERT_EQ(report["dialogs"].size(), 1u);
    const ordered_json& dialog = report["dialogs"][0];
    EXPECT_EQ(dialog["name"], "ZigzagTool");
    EXPECT_EQ(dialog["result"], 2);
    EXPECT_EQ(dialog["items"].size(), 108u);
    const std::pair<const char*, const char*> texts[] = {
        {"1", "OK"},
        {"2", "Cancel"},
        {"4", "10"},
        {"12", "100.00"},
        {"33", "180.00"},
        {"17", "99"},
        {"45", "0.00"},
        {"46", "9999.00"},
        {"241", "2"},
        {"242", "0"},
        {"190", "Zigzag elements"},
        {"79", "Fill / stroke style to separate elements"},
        {"60", "Trail cursor - keep generated zigzags"},
        {"205", "Max points/zigzag"},
        {"300", ""},
        {"307", "Zigzag"},
        {"313", "Settings1"},
    };
    for (const auto& [id, text] : texts)
        EXPECT_EQ(dialog["items"][id], text) << id;
    EXPECT_EQ(report["settings"], settingsAfterStartup());
}

TEST(SessionOptions, OkStoresTheItemsAsTheyShowThemAndDerivesTheFactors) {
    const ordered_json report = runOptions(R"({"do":"settings","set":{"scalingPattern1A":50,
        "horizontalGroupScaling":200,"zigzagElements":400,"optionsPage":3,"numberOfReflections":2}},
        {"do":"editOptions","close":1})");
    EXPECT_EQ(report["results"][2], 0);
    EXPECT_EQ(report["dialogs"][0]["result"], 1);
    EXPECT_EQ(report["dialogs"][0]["items"]["4"], "400");
    ordered_json expected = settingsAfterStartup();
    expected["scalingPattern1A"] = 50.0;
    expected["scalingPattern1AFactor"] = 0.5;
    expected["horizontalGroupScaling"] = 200.0;
    expected["horizontalGroupScalingFactor"] = 2.0;
    expected["zigzagElements"] = 400;
    expected["optionsPage"] = 3;
    expected["numberOfReflections"] = 2;
    EXPECT_EQ(report["settings"], expected);
}

TEST(SessionOptions, CancelKeepsWhatTheDialogWroteWhileOpening) {
    const ordered_json report = runOptions(R"({"do":"settings","set":{"optionsPage":7,"zigzagElements":400,
        "scalingPattern2B":50}},{"do":"editOptions"})");
    ordered_json expected = settingsAfterStartup();
    expected["optionsPage"] = 7; // opened on the page it was left on
    expected["zigzagElements"] = 400;
    expected["scalingPattern2B"] = 50.0;
    EXPECT_EQ(report["settings"], expected);
}

TEST(SessionOptions, ASwatchIndexBeyondTheDocumentShowsAndStoresTheLastSwatch) {
    const ordered_json none = runOptions(R"({"do":"editOptions","close":1})", 0);
    EXPECT_EQ(none["dialogs"][0]["items"]["241"], "0");
    EXPECT_EQ(none["dialogs"][0]["items"]["244"], "0");
    EXPECT_EQ(none["settings"]["fillSwatchIndex"], 0);
    EXPECT_EQ(none["settings"]["strokeSwatchIndex"], 0);

    const ordered_json three = runOptions(R"({"do":"settings","set":{"strokeSwatchIndex":12}},
        {"do":"editOptions","close":1})",
                                          3);
    EXPECT_EQ(three["dialogs"][0]["items"]["244"], "3");
    EXPECT_EQ(three["settings"]["strokeSwatchIndex"], 3);
    EXPECT_EQ(three["settings"]["fillSwatchIndex"], 2);

    const ordered_json cancelled = runOptions(R"({"do":"editOptions"})", 0);
    EXPECT_EQ(cancelled["settings"]["fillSwatchIndex"], 2);
}

TEST(SessionOptions, EveryOpeningBuildsTheDialogAnewFromTheRecord) {
    const ordered_json report = runOptions(R"({"do":"editOptions","close":1},
        {"do":"settings","set":{"curve2X":-7.5,"linkZigzag2To1":1}},{"do":"editOptions","close":1})");
    ASSERT_EQ(report["dialogs"].size(), 2u);
    EXPECT_EQ(report["dialogs"][0]["items"]["85"], "0.00");
    EXPECT_EQ(report["dialogs"][1]["items"]["85"], "-7.50");
    EXPECT_EQ(report["dialogs"][1]["items"].size(), 108u);
    EXPECT_EQ(report["settings"]["curve2X"], -7.5);
    EXPECT_EQ(report["settings"]["linkZigzag2To1"], 1);
}

TEST(SessionOptions, AUserTypingOnAnotherPageStoresWhatTheFieldShowsAndAChosenPresetLastsThroughOk) {
    // Page 2 holds the curve handle fields (two decimals); the element count (item 4) is on page 1.
    const ordered_json typed = run(R"({"events":[{"do":"startup"},{"do":"editOptions","actions":[
        {"item":301,"click":true},{"item":83,"value":1.237},{"item":4,"value":500},{"item":1,"click":true}]}]})");
    EXPECT_EQ(typed["results"][1], 0);
    EXPECT_EQ(typed["settings"]["curve1X"], 1.24);
    EXPECT_EQ(typed["settings"]["zigzagElements"], 10); // item 4 was hidden: the user could not type there
    ASSERT_EQ(typed["dialogs"][0]["refused"].size(), 1u);
    EXPECT_EQ(typed["dialogs"][0]["refused"][0]["reason"], "item 4 is hidden");

    const ordered_json preset = run(R"({"events":[{"do":"startup"},{"do":"editOptions","actions":[
        {"item":3,"select":14},{"item":1,"click":true}]}]})");
    EXPECT_EQ(preset["results"][1], 0);
    EXPECT_EQ(preset["settings"]["zigzagElements"], 30);
    EXPECT_EQ(preset["settings"]["presetIndex"], 14);
}

} // namespace
} // namespace zz
