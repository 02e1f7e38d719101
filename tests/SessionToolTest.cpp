// The zigzag tool through session scripts: the tool it adds, the icon check, the error report with the
// module's error list, the cursor, the mouse and the dialogs.
#include <gtest/gtest.h>

#include "ADMIcon.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using sessiontest::fourCC;
using sessiontest::kUnwrittenInt;
using sessiontest::run;

constexpr const char* kMemoryMessage =
    "The filter cannot complete because there isn't enough memory (RAM) available.";
constexpr const char* kLockedMessage = "The filter cannot complete because a layer is locked or invisible.";
constexpr const char* kLastMessage = "Unknown error - too many paths created ? by zigzag..";

// The one error dialog a report shows, checked for its texts.
void expectErrorDialog(const ordered_json& report, const std::string& message, const std::string& code) {
    ASSERT_EQ(report["dialogs"].size(), 1u) << report["dialogs"].dump();
    const ordered_json& dialog = report["dialogs"][0];
    EXPECT_EQ(dialog["name"], "Error Dialog");
    EXPECT_EQ(dialog["resource"], 16051);
    EXPECT_EQ(dialog["result"], 1);
    EXPECT_EQ(dialog["items"]["1"], "OK");
    EXPECT_EQ(dialog["items"]["2"], message);
    EXPECT_EQ(dialog["items"]["3"], code);
}

TEST(SessionTool, StartupAddsTheZigzagToolWithItsDescription) {
    const ordered_json report = run(R"({"events":[{"do":"startup"}]})");
    ASSERT_EQ(report["tools"].size(), 1u);
    const ordered_json& tool = report["tools"][0];
    EXPECT_EQ(tool["name"], " KT7 Zigzag Tool");
    EXPECT_EQ(tool["title"], " KT7 Zigzag Tool");
    EXPECT_EQ(tool["tooltip"], " KT7 Zigzag Tool (Drag cursor to create path)");
    EXPECT_EQ(tool["sameGroupAs"], -2);
    EXPECT_EQ(tool["sameToolsetAs"], -2);
    EXPECT_EQ(tool["options"], 1);
    EXPECT_EQ(tool["icon"]["id"], 16050);
    EXPECT_EQ(tool["icon"]["index"], 1);
    EXPECT_EQ(tool["icon"]["type"], kWinIcon); // the module's icon group 16051 was found
    EXPECT_TRUE(report["dialogs"].empty());
}

TEST(SessionTool, AnIconOfUnknownTypeFailsStartupWithoutToolOrDefaults) {
    const ordered_json report = run(R"({"document":{"iconType":6},"events":[{"do":"startup"}]})");
    EXPECT_EQ(report["results"][0], fourCC("!ico"));
    EXPECT_TRUE(report["tools"].empty());
    EXPECT_EQ(report["settings"]["zigzagElements"], kUnwrittenInt); // never written
    expectErrorDialog(report, kLastMessage, "!ico");
}

TEST(SessionTool, AFaultOnTheIconTypeWorksLikeTheDocumentFact) {
    const ordered_json report = run(
        R"({"events":[{"do":"fault","suite":"ADM Icon Suite","op":"GetType","code":6},{"do":"startup"}]})");
    EXPECT_EQ(report["results"][1], fourCC("!ico"));
    EXPECT_TRUE(report["tools"].empty());
}

TEST(SessionTool, StartupErrorsShowTheirListedMessagesAndCodeTexts) {
    {
        SCOPED_TRACE("-108 from the block allocation");
        const ordered_json report = run(
            R"({"events":[{"do":"fault","suite":"SP Blocks Suite","op":"AllocateBlock","code":-108},{"do":"startup"}]})");
        EXPECT_EQ(report["results"][1], -108);
        EXPECT_TRUE(report["blocks"].empty());
        expectErrorDialog(report, kMemoryMessage, "-108");
    }
    {
        SCOPED_TRACE("271 from the plug-in options");
        const ordered_json report = run(
            R"({"events":[{"do":"fault","suite":"AI Plugin Suite","op":"SetPluginOptions","code":271},{"do":"startup"}]})");
        EXPECT_EQ(report["results"][1], 271);
        EXPECT_TRUE(report["tools"].empty());
        expectErrorDialog(report, kMemoryMessage, "271");
    }
    {
        SCOPED_TRACE("'SEGM' from adding the tool");
        const ordered_json report = run(
            R"({"events":[{"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":"SEGM"},{"do":"startup"}]})");
        EXPECT_EQ(report["results"][1], fourCC("SEGM"));
        EXPECT_TRUE(report["tools"].empty());
        EXPECT_EQ(report["settings"]["optionsPage"], kUnwrittenInt);
        expectErrorDialog(report, kLockedMessage, "SEGM");
    }
    {
        SCOPED_TRACE("an unlisted number");
        const ordered_json report = run(
            R"({"events":[{"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":-50},{"do":"startup"}]})");
        expectErrorDialog(report, kLastMessage, "-50");
    }
}

TEST(SessionTool, TrackingTheCursorMakesTheToolCursorCurrent) {
    const ordered_json before = run(R"({"events":[{"do":"startup"}]})");
    EXPECT_TRUE(before["cursor"].is_null());
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"trackCursor"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,0]"));
    EXPECT_EQ(report["cursor"], 16001);
}

TEST(SessionTool, TrackingWithoutAccessInformationLeavesTheCursorAndAnswersZero) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"fault","suite":"SP Access Suite","op":"GetAccessInfo","code":-1},{"do":"trackCursor"}]})");
    EXPECT_EQ(report["results"][2], 0);
    EXPECT_TRUE(report["cursor"].is_null());
}

TEST(SessionTool, MouseDownStoresThePressPointAndResetsTheDragCounter) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"settings","set":{"dragEventCounter":5}},
        {"do":"mouseDown","at":[12.5,-40]},{"do":"mouseUp","at":[12.5,-40]},{"do":"select"},{"do":"deselect"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,null,0,0,0,0]"));
    EXPECT_EQ(report["settings"]["pressPointX"], 12.5);
    EXPECT_EQ(report["settings"]["pressPointY"], -40.0);
    EXPECT_EQ(report["settings"]["dragEventCounter"], 0.0);
    EXPECT_TRUE(report["art"].empty()); // nothing is drawn without a drag
}

TEST(SessionTool, TheOptionsDialogClosedWithCancelAnswersStopSilently) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"editOptions","close":2}]})");
    EXPECT_EQ(report["results"][1], fourCC("STOP"));
    ASSERT_EQ(report["dialogs"].size(), 1u);
    EXPECT_EQ(report["dialogs"][0]["name"], "ZigzagTool");
    EXPECT_EQ(report["dialogs"][0]["resource"], 16201);
    EXPECT_EQ(report["dialogs"][0]["result"], 2);
    // Cancel is also what a session does by default.
    const ordered_json byDefault = run(R"({"events":[{"do":"startup"},{"do":"editOptions"}]})");
    EXPECT_EQ(byDefault["results"][1], fourCC("STOP"));
    EXPECT_EQ(byDefault["dialogs"].size(), 1u);
}

TEST(SessionTool, TheOptionsDialogClosedWithOkAnswersZero) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"editOptions","close":1}]})");
    EXPECT_EQ(report["results"][1], 0);
    ASSERT_EQ(report["dialogs"].size(), 1u);
    EXPECT_EQ(report["dialogs"][0]["result"], 1);
}

TEST(SessionTool, TheAboutBoxShowsItsTemplateAndAnswersZeroHoweverItCloses) {
    const ordered_json report = run(R"({"events":[{"do":"about"},{"do":"about","close":2}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,0]"));
    ASSERT_EQ(report["dialogs"].size(), 2u);
    EXPECT_EQ(report["dialogs"][0]["name"], "About Dialog");
    EXPECT_EQ(report["dialogs"][0]["resource"], 16050);
    EXPECT_EQ(report["dialogs"][0]["result"], 1);
    EXPECT_EQ(report["dialogs"][0]["items"]["1"], "OK");
    EXPECT_NE(report["dialogs"][0]["items"]["-1"].get<std::string>().find("KT07_Zigzag.aip"),
              std::string::npos);
    EXPECT_EQ(report["dialogs"][1]["result"], 2);
}

TEST(SessionTool, ADialogThatCannotBeMadeAnswersLikeCancel) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"fault","suite":"ADM Dialog Suite","op":"Modal","code":-1},{"do":"editOptions","close":1}]})");
    EXPECT_EQ(report["results"][2], fourCC("STOP"));
    // 'STOP' is a cancel: no error dialog, no alert.
    for (const ordered_json& dialog : report["dialogs"])
        EXPECT_NE(dialog["name"], "Error Dialog") << report["dialogs"].dump();
    EXPECT_TRUE(report["alerts"].empty());
}

} // namespace
} // namespace zz
