// The module's life cycle seen through session scripts: start-up defaults, unload and reload, shutdown, the
// suite bookkeeping of every message, and acquisition failures.
#include <gtest/gtest.h>

#include <cstring>

#include "plugin/settings/ToolSettings.h"
#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using sessiontest::fourCC;
using sessiontest::kUnwrittenInt;
using sessiontest::run;

// A float field that nothing has written: the host's fill pattern.
const double kUnwrittenFloat = static_cast<double>([] {
    float value;
    const uint32_t bits = 0xCDCDCDCDu;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}());

TEST(SessionLifecycle, StartupHoldsTheGlobalsBlockWithEveryDefault) {
    const ordered_json report = run(R"({"events":[{"do":"startup"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0]"));
    ASSERT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["blocks"][0]["name"], "globals");
    EXPECT_EQ(report["blocks"][0]["size"], sizeof(ToolSettings));
    EXPECT_EQ(report["plugin"]["options"].get<int>() & 2, 2);

    const ordered_json& settings = report["settings"];
    ASSERT_TRUE(settings.is_object());
    const std::map<std::string, double> defaults = {
        {"weavePlaceMode", 0},           {"fillSwatchIndex", 2},
        {"strokeSwatchIndex", 2},        {"optionsPage", 1},
        {"maxPointsPerZigzag", 9999},    {"maxPointsPerGroup", 99},
        {"zigzagElements", 10},          {"alternateAngle", 180},
        {"initialScalingX", 100},        {"scalingPattern1AFactor", 1},
        {"horizontalGroupScaling", 100}, {"reflectScalingY", 100},
        {"styleToSeparateElements", 1},  {"trailCursor", 0},
        {"oddElementShiftY", 0}};
    for (const auto& [name, value] : defaults)
        EXPECT_EQ(settings[name].get<double>(), value) << name;
    EXPECT_EQ(settings["designTemplate"].dump(), "[0.0,0.0,1.0,0.5,0.0,1.0,-999.0]");
    // Working fields are not written at start-up: they still hold the fill pattern.
    EXPECT_EQ(settings["dragEventCounter"].get<double>(), kUnwrittenFloat);
    EXPECT_EQ(settings["pressPointX"].get<double>(), kUnwrittenFloat);
    // Every flag but one is off.
    int flagsOn = 0;
    for (const char* flag : {"styleToReflect", "lockedVerticalHorizontal", "symbolizeZigzag", "randomStyle",
                             "slantMatchCursor", "randomRotation", "pressureGroups", "trailCursor",
                             "separateElements", "closedPath", "reflectVertical", "styleToSeparateElements"})
        flagsOn += settings[flag].get<int>();
    EXPECT_EQ(flagsOn, 1);
}

TEST(SessionLifecycle, ASecondStartupKeepsTheOneBlockAndToolAndItsSettings) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"settings","set":{"zigzagElements":55}},
        {"do":"startup"},{"do":"unload"},{"do":"reload"},{"do":"startup"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,null,0,0,0,0]"));
    EXPECT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["tools"].size(), 1u);
    EXPECT_EQ(report["settings"]["zigzagElements"], 55);
    EXPECT_TRUE(report["dialogs"].empty());
}

TEST(SessionLifecycle, AStartupRetriedAfterAFailureAddsOneToolInTheSameBlock) {
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":-108},
        {"do":"startup"},{"do":"startup"},{"do":"startup"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[null,-108,0,0]"));
    EXPECT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["tools"].size(), 1u);
    EXPECT_EQ(report["settings"]["zigzagElements"], 10);
}

TEST(SessionLifecycle, UnloadThenReloadKeepsEveryFieldAndTheBlock) {
    const std::string setUp = R"({"do":"startup"},
        {"do":"settings","set":{"zigzagElements":37,"initialAngle":-12.5,"trailCursor":1,"designIndex2":44}},
        {"do":"mouseDown","at":[5,7]},{"do":"mouseUp","at":[5,7]})";
    const ordered_json before = run(R"({"events":[)" + setUp + "]}");
    const ordered_json after = run(R"({"events":[)" + setUp + R"(,{"do":"unload"},{"do":"reload"}]})");
    EXPECT_EQ(after["results"], ordered_json::parse("[0,null,0,0,0,0]"));
    EXPECT_EQ(after["settings"], before["settings"]);
    EXPECT_EQ(after["settings"]["zigzagElements"], 37);
    EXPECT_EQ(after["blocks"], before["blocks"]);

    // The reloaded module works on the same block: a mouse down after the reload lands in it.
    const ordered_json again = run(R"({"events":[)" + setUp +
                                   R"(,{"do":"unload"},{"do":"reload"},{"do":"mouseDown","at":[-3,9]}]})");
    EXPECT_EQ(again["settings"]["pressPointX"], -3.0);
    EXPECT_EQ(again["settings"]["pressPointY"], 9.0);
    EXPECT_EQ(again["settings"]["zigzagElements"], 37);
    EXPECT_EQ(again["blocks"].size(), 1u);
}

TEST(SessionLifecycle, UnloadBeforeStartupHandsOverNothingAndReloadTakesNothingBack) {
    const ordered_json report = run(R"({"events":[{"do":"unload"},{"do":"reload"},{"do":"startup"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,0,0]"));
    EXPECT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["settings"]["zigzagElements"], 10);
}

TEST(SessionLifecycle, AnotherSpAccessSelectorAnswersZeroAndAcquiresNothing) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"settings","set":{"zigzagElements":55}},
        {"do":"message","caller":"SP Access","selector":"Flush"}]})");
    const ordered_json startupOnly = run(R"({"events":[{"do":"startup"}]})");
    EXPECT_EQ(report["results"][2], 0);
    EXPECT_EQ(report["suites"]["acquired"], startupOnly["suites"]["acquired"]);
    EXPECT_EQ(report["suites"]["released"], startupOnly["suites"]["released"]);
    EXPECT_EQ(report["settings"]["zigzagElements"], 55);
}

TEST(SessionLifecycle, AnUnknownCallerAcquiresAndReleasesEverySuiteAndAnswersZero) {
    const ordered_json report =
        run(R"({"events":[{"do":"message","caller":"Somebody Else","selector":"Hello"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0]"));
    EXPECT_EQ(report["suites"]["acquired"], 29);
    EXPECT_EQ(report["suites"]["released"], 29);
    EXPECT_TRUE(report["suites"]["held"].empty());
    EXPECT_TRUE(report["alerts"].empty());
    EXPECT_TRUE(report["settings"].is_null());
}

TEST(SessionLifecycle, ShutdownFreesTheBlock) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},{"do":"shutdown"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,0]"));
    EXPECT_TRUE(report["blocks"].empty());
    EXPECT_TRUE(report["settings"].is_null());
    EXPECT_TRUE(report["suites"]["held"].empty());
    EXPECT_EQ(report["suites"]["acquired"], report["suites"]["released"]);
}

TEST(SessionLifecycle, ShutdownWhoseBlockSuiteCannotBeAcquiredKeepsTheBlockAndReturnsTheError) {
    // The first acquisition of the message is the general one; the shutdown's own is the second.
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"fault","suite":"SP Blocks Suite","op":"acquire","code":-108,"skip":1},
        {"do":"shutdown"}]})");
    EXPECT_EQ(report["results"][2], -108);
    ASSERT_EQ(report["blocks"].size(), 1u);
    EXPECT_EQ(report["blocks"][0]["name"], "globals");
    EXPECT_TRUE(report["suites"]["held"].empty());
    // The error is reported like any other.
    ASSERT_FALSE(report["dialogs"].empty());
    EXPECT_EQ(report["dialogs"].back()["items"]["3"], "-108");
}

TEST(SessionLifecycle, ShutdownWhoseFreeBlockFailsAnswersTheFailureAndALaterShutdownFreesTheBlock) {
    const ordered_json report = run(R"({"events":[{"do":"startup"},
        {"do":"fault","suite":"SP Blocks Suite","op":"FreeBlock","code":-108},
        {"do":"shutdown"},{"do":"unload"},{"do":"reload"},{"do":"shutdown"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[0,null,-108,0,0,0]"));
    EXPECT_TRUE(report["blocks"].empty());
    EXPECT_TRUE(report["suites"]["held"].empty());
    ASSERT_EQ(report["dialogs"].size(), 1u);
    EXPECT_EQ(report["dialogs"][0]["items"]["3"], "-108");
}

TEST(SessionLifecycle, AFailingReleaseStillReleasesEveryOtherSuite) {
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"SP Basic Suite","op":"ReleaseSuite","code":-108,"skip":3},
        {"do":"startup"},{"do":"message","caller":"Somebody Else","selector":"Hello"}]})");
    EXPECT_EQ(report["results"], ordered_json::parse("[null,0,0]"));
    // The fourth suite of the start-up stays held; the message after it acquires and releases in full.
    EXPECT_EQ(report["suites"]["held"], ordered_json::parse(R"(["AI MdMemory Suite"])"));
    EXPECT_EQ(report["suites"]["released"], 2 * 29);
    EXPECT_TRUE(report["dialogs"].empty());
}

TEST(SessionLifecycle, AFailingAcquisitionAfterAdmBasicShowsTheSuiteLoadingAlert) {
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"ADM Dialog Suite","op":"acquire","code":-108},
        {"do":"startup"}]})");
    EXPECT_EQ(report["results"][1], -108);
    EXPECT_EQ(report["alerts"],
              ordered_json::parse(R"(["Suite Loading Error: -108, suite: ADM Dialog Suite, version: 3!"])"));
    EXPECT_TRUE(report["suites"]["held"].empty());
    EXPECT_TRUE(report["blocks"].empty());  // the start-up did not run
    EXPECT_TRUE(report["dialogs"].empty()); // no error dialog without the dialog suite
}

TEST(SessionLifecycle, AFailingAcquisitionBeforeAdmBasicReturnsTheErrorAndReleasesWhatItHeld) {
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"AI Plugin Suite","op":"acquire","code":"NOPE"},
        {"do":"startup"},
        {"do":"startup"}]})");
    EXPECT_EQ(report["results"][1], fourCC("NOPE"));
    EXPECT_TRUE(report["alerts"].empty());
    EXPECT_TRUE(report["suites"]["held"].empty());
    // The failed message stopped at the third suite and gave back the two it held; the next one ran in full.
    EXPECT_EQ(report["suites"]["acquired"].get<int>() - 29, 3);
    EXPECT_EQ(report["suites"]["released"].get<int>() - 29, 2);
    EXPECT_EQ(report["results"][2], 0);
    EXPECT_EQ(report["blocks"].size(), 1u);
}

TEST(SessionLifecycle, AnErrorListThatCannotBeReadPartwayShowsNoMessageOfAnotherCode) {
    // The second code text of the list cannot be read while 'SEGM', the third, is looked up.
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":"SEGM"},
        {"do":"fault","suite":"ADM Basic Suite","op":"GetIndexString","code":-108,"skip":1},
        {"do":"startup"}]})");
    EXPECT_EQ(report["results"][2], fourCC("SEGM"));
    EXPECT_TRUE(report["dialogs"].empty());
}

TEST(SessionLifecycle, AStopFromAddingTheToolIsReturnedWithoutAnyMessageAndWritesNoDefault) {
    const ordered_json report = run(R"({"events":[
        {"do":"fault","suite":"AI Tool Suite","op":"AddTool","code":"STOP"},
        {"do":"startup"}]})");
    EXPECT_EQ(report["results"][0], nullptr);
    EXPECT_EQ(report["results"][1], fourCC("STOP"));
    EXPECT_TRUE(report["dialogs"].empty());
    EXPECT_TRUE(report["alerts"].empty());
    EXPECT_TRUE(report["tools"].empty());
    ASSERT_EQ(report["blocks"].size(), 1u); // allocated before the tool was refused
    EXPECT_EQ(report["settings"]["zigzagElements"], kUnwrittenInt);
    EXPECT_EQ(report["settings"]["optionsPage"], kUnwrittenInt);
}

} // namespace
} // namespace zz
