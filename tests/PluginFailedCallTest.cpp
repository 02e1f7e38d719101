// Host calls that fail while the module works, played through the real module and host with the host's fault
// rules: the module never stores what a failed read gave and answers a failure as a failure.
#include <gtest/gtest.h>

#include <string>

#include "tests/SessionTestSupport.h"

namespace zz {
namespace {

using nlohmann::ordered_json;
using sessiontest::run;

constexpr int kHostFault = 2000000;

// Starts the module, adds the fault rules `faults` (JSON objects without "do"), then runs `events`.
ordered_json runWithFaults(const std::string& faults, const std::string& events) {
    std::string script = R"({"events":[{"do":"startup"})";
    if (!faults.empty()) script += "," + faults;
    return run(script + "," + events + "]}");
}

std::string fault(const char* suite, const char* op, int code, int skip = 0, int times = 1) {
    return std::string(R"({"do":"fault","suite":")") + suite + R"(","op":")" + op + R"(","code":)" +
           std::to_string(code) + R"(,"skip":)" + std::to_string(skip) + R"(,"times":)" +
           std::to_string(times) + "}";
}

// The fields whose values differ, as "name: before -> after" lines; empty when none does.
std::string changedFields(const ordered_json& before, const ordered_json& after) {
    std::string changed;
    for (const auto& [name, value] : before.items())
        if (after[name] != value) changed += name + ": " + value.dump() + " -> " + after[name].dump() + "\n";
    return changed;
}

// ---- the options dialog

TEST(FailedDialogRead, AFailedReadWhileTheDialogOpensIsNotKeptByCancel) {
    const ordered_json before = runWithFaults("", R"({"do":"select"})")["settings"];
    // The code the failed read returns lies outside "Number of reflections" (0 to 100) in the first case and
    // inside it in the second: neither may reach the record, and Cancel leaves it as it was.
    for (int code : {609098733, 3}) {
        SCOPED_TRACE(code);
        const ordered_json report =
            runWithFaults(fault("ADM Item Suite", "GetIntValue", code), R"({"do":"editOptions"})");
        EXPECT_EQ(report["results"][2], sessiontest::fourCC("STOP"));
        EXPECT_EQ(changedFields(before, report["settings"]), "");
    }
    // The fill colour popup's entry id read while opening fails the same way.
    const ordered_json report =
        runWithFaults(fault("ADM Entry Suite", "GetID", 5), R"({"do":"editOptions"})");
    EXPECT_EQ(changedFields(before, report["settings"]), "");
}

TEST(FailedDialogRead, APresetWhoseEntryCannotBeReadIsNotLoaded) {
    // The two colour popups' entries are read while the dialog opens; the third read is the preset's.
    const std::string setUp = R"({"do":"settings","set":{"zigzagElements":25}})";
    const ordered_json before = runWithFaults(setUp, R"({"do":"select"})")["settings"];
    const ordered_json report = runWithFaults(setUp + "," + fault("ADM Entry Suite", "GetID", kHostFault, 2),
                                              R"({"do":"editOptions","actions":[{"item":3,"select":4}]})");
    EXPECT_TRUE(report["dialogs"][0]["refused"].empty());
    EXPECT_EQ(changedFields(before, report["settings"]), "");
}

TEST(FailedDialogRead, OkWithEveryReadFailingStoresNothingOutsideTheItemsRanges) {
    const std::string everyRead = fault("ADM Item Suite", "GetIntValue", kHostFault, 0, 0) + "," +
                                  fault("ADM Item Suite", "GetBooleanValue", kHostFault, 0, 0) + "," +
                                  fault("ADM Item Suite", "GetFloatValue", kHostFault, 0, 0) + "," +
                                  fault("ADM Entry Suite", "GetID", kHostFault, 0, 0);
    const ordered_json before = runWithFaults("", R"({"do":"select"})")["settings"];
    const ordered_json report = runWithFaults(everyRead, R"({"do":"editOptions","close":1})");
    EXPECT_EQ(report["results"][5], 0);
    const ordered_json& after = report["settings"];
    // A failed float read gives 0, which is also a value the user may type where the range holds it; every
    // other field keeps what it held.
    for (const auto& [name, value] : before.items()) {
        if (after[name] == value) continue;
        EXPECT_TRUE(after[name].is_number_float() && after[name] == 0.0) << name << ": " << after[name];
    }
    EXPECT_EQ(after["zigzagElements"], before["zigzagElements"]);
    EXPECT_EQ(after["scalingPattern1A"], before["scalingPattern1A"]);
}

TEST(FailedDialogRead, AReadOutsideTheRangeKeepsTheOldValueWhileGoodReadsAreStored) {
    // Only the read of "Zigzag elements" fails, at OK: the user's other change is still stored.
    const ordered_json report = runWithFaults(
        fault("ADM Item Suite", "GetIntValue", 401, 1),
        R"({"do":"editOptions","actions":[{"item":301,"click":true},{"item":17,"value":7},{"item":1,"click":true}]})");
    // Item 30's read at opening passes; the one after it, the first of OK, is item 4's.
    EXPECT_TRUE(report["dialogs"][0]["refused"].empty());
    EXPECT_EQ(report["settings"]["zigzagElements"], 10);
    EXPECT_EQ(report["settings"]["maxPointsPerGroup"], 7);
}

// ---- the drag

TEST(FailedDragCall, AFailedUndoOfTheEarlierArtEndsTheEventWithItsStatus) {
    const ordered_json report =
        runWithFaults("", R"({"do":"mouseDown","at":[0,0]},{"do":"drag","to":[10,-30]},)" +
                              fault("AI Undo Suite", "UndoChanges", -108) +
                              R"(,{"do":"drag","to":[20,-30]},{"do":"mouseUp"})");
    EXPECT_EQ(report["results"][2], 0);
    EXPECT_EQ(report["results"][4], -108);
    // The earlier event's zigzag stays alone: nothing was drawn beside it.
    ASSERT_EQ(report["art"].size(), 1u);
    EXPECT_EQ(report["art"][0]["segments"][1]["p"][0], 10);
    // The failure was reported to the user.
    EXPECT_FALSE(report["dialogs"].empty());
}

TEST(FailedDragCall, AFailedFirstSegmentLeavesNoEmptyPath) {
    const std::string drag = R"({"do":"mouseDown","at":[0,0]},{"do":"drag","to":[10,-30]},{"do":"mouseUp"})";
    // One path for all elements: its first point cannot be written.
    const ordered_json single = runWithFaults(fault("AI Path Suite", "SetPathSegments", -108), drag);
    EXPECT_EQ(single["results"][3], -108);
    EXPECT_TRUE(single["art"].empty());
    // Separate elements: the first element is finished, the second's first point fails.
    const ordered_json separate =
        runWithFaults(R"({"do":"settings","set":{"separateElements":1,"zigzagElements":4}},)" +
                          fault("AI Path Suite", "SetPathSegments", -108, 3),
                      drag);
    EXPECT_EQ(separate["results"][4], -108);
    ASSERT_EQ(separate["art"].size(), 1u);
    EXPECT_EQ(separate["art"][0]["segments"].size(), 3u);
}

} // namespace
} // namespace zz
