// The entry point's dispatch, the suite bookkeeping, the module life cycle and the error report, against a
// fake basic suite that hands out small fake suites.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "SuiteNames.h"
#include "plugin/shell/ErrorReport.h"
#include "plugin/shell/PluginMain.h"
#include "plugin/tool/ZigzagTool.h"

namespace {

using pluginfakes::fake;

constexpr SPErr kSuiteNotFound = ZZ_FOURCC('S', '!', 'F', 'd');
using zz::test::kSuiteCount;
using zz::test::kSuitesInOrder;

std::vector<std::string> callsFor(const char* verb, int first, int count) {
    std::vector<std::string> calls;
    for (int i = first; i < first + count; ++i)
        calls.push_back(std::string(verb) + " " + kSuitesInOrder[i]);
    return calls;
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void fillErrorList() {
    fake.errorList = {{1, "-108"},
                      {2, "The filter cannot complete because there isn't enough memory (RAM) available."},
                      {3, "271"},
                      {4, "The filter cannot complete because there isn't enough memory (RAM) available."},
                      {5, "SEGM"},
                      {6, "The filter cannot complete because a layer is locked or invisible."},
                      {7, "NESS"},
                      {8, "The filter cannot complete because a path has too many anchor points."},
                      {9, "!sel"},
                      {10, "The selection is not valid for this filter."},
                      {11, "<Others>"},
                      {12, "Unknown error - too many paths created ? by zigzag.."}};
}

bool heldNone() {
    for (const auto& [name, count] : fake.held)
        if (count != 0) return false;
    return true;
}

class PluginShell : public ::testing::Test {
  protected:
    void SetUp() override {
        pluginfakes::resetFakeHost();
        globalsBlock = nullptr;
        fillErrorList();
        data = pluginfakes::fakeMessageData();
    }
    void TearDown() override {
        globalsBlock = nullptr;
        pluginfakes::resetFakeHost();
    }
    SPErr send(const char* caller, const char* selector) {
        return dispatchPluginMessage(caller, selector, &data);
    }
    SPErr sendTool(const char* selector) {
        AIToolMessage message = {};
        message.d = data;
        message.cursor = {3.0f, 4.0f};
        message.pressure = kMaxPointPressure;
        return dispatchPluginMessage(kCallerAITool, selector, &message);
    }
    SPErr startUp() { return send(kSPInterfaceCaller, kSPInterfaceStartupSelector); }
    SPMessageData data;
};

// ---- dispatch and suites ----

TEST_F(PluginShell, UnknownCallerAcquiresAndReleasesEverySuiteInOrder) {
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSPNoError);
    EXPECT_EQ(fake.calls, concat(callsFor("acquire", 0, kSuiteCount), callsFor("release", 0, kSuiteCount)));
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_EQ(sAIArt, nullptr);
    EXPECT_EQ(sADMNotifier, nullptr);
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginShell, AccessMessagesTouchNeitherSuitesNorBlock) {
    EXPECT_EQ(send(kSPAccessCaller, "Something Else"), kSPNoError);
    EXPECT_EQ(send(kSPAccessCaller, kSPAccessUnloadSelector), kSPNoError);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(data.globals, nullptr); // unload before start-up hands over a null block
}

TEST_F(PluginShell, NestedCallsShareTheOutermostAcquisition) {
    ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSPNoError);
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSPNoError);
    EXPECT_EQ(fake.calls.size(), static_cast<size_t>(kSuiteCount));
    EXPECT_NE(sAIArt, nullptr);
    EXPECT_EQ(sSuiteNestingCount, 1);
    releaseSuites(&pluginfakes::fakeBasicSuite);
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_TRUE(heldNone());
}

TEST_F(PluginShell, ReleasingWithNothingHeldDoesNothing) {
    releaseSuites(&pluginfakes::fakeBasicSuite);
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(PluginShell, FailureBeforeTheAlertSuiteGivesBackWhatWasAcquired) {
    fake.failAcquireOf = "AI Art Suite";
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSuiteNotFound);
    EXPECT_EQ(fake.calls, concat(callsFor("acquire", 0, 6), callsFor("release", 0, 5)));
    EXPECT_TRUE(heldNone());
    EXPECT_TRUE(fake.alerts.empty());
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_EQ(sSPBlocks, nullptr);

    // The next message starts afresh and gets every suite.
    fake.failAcquireOf.clear();
    fake.calls.clear();
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSPNoError);
    EXPECT_EQ(fake.calls.size(), 2u * kSuiteCount);
    EXPECT_TRUE(heldNone());
}

TEST_F(PluginShell, FailureBeforeTheAlertSuiteIsReturnedEvenWhenItIsNotTheUsualCode) {
    fake.failAcquireOf = "ADM Basic Suite";
    fake.acquireError = kSPOutOfMemoryError;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceStartupSelector), kSPOutOfMemoryError);
    EXPECT_TRUE(fake.liveBlocks.empty()); // start-up never ran
    EXPECT_TRUE(heldNone());
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginShell, FailureAfterTheAlertSuiteIsAnnouncedAndReleased) {
    fake.failAcquireOf = "ADM Item Suite";
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSuiteNotFound);
    ASSERT_EQ(fake.alerts.size(), 1u);
    EXPECT_EQ(fake.alerts[0], "Suite Loading Error: 1394689636, suite: ADM Item Suite, version: 4!");
    EXPECT_TRUE(fake.modalNames.empty()); // 'S!Fd' is never reported
    EXPECT_TRUE(heldNone());
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_EQ(sADMBasic, nullptr);
}

TEST_F(PluginShell, NestedCallsDoNotRunOnAnIncompleteAcquisition) {
    // The outermost call announced a missing suite and still holds the others, for instance while its error
    // dialog is open; a message that arrives meanwhile must not run its handler without that suite.
    fake.failAcquireOf = "ADM Tracker Suite";
    ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSuiteNotFound);
    ASSERT_EQ(fake.alerts.size(), 1u);
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kSuiteNotFound);
    EXPECT_TRUE(fake.modalNames.empty());
    EXPECT_EQ(fake.alerts.size(), 1u);
    EXPECT_EQ(sSuiteNestingCount, 1);
    releaseSuites(&pluginfakes::fakeBasicSuite);
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_TRUE(heldNone());

    // A complete acquisition lets nested calls run again.
    fake.failAcquireOf.clear();
    ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSPNoError);
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kSPNoError);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"About Dialog"}));
    releaseSuites(&pluginfakes::fakeBasicSuite);
    EXPECT_TRUE(heldNone());
}

TEST_F(PluginShell, AFailedReleaseStillGivesBackEveryLaterSuiteAndAnswersTheFirstFailure) {
    ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSPNoError);
    fake.calls.clear();
    fake.failReleaseOf = "AI Art Suite";
    fake.releaseError = kSPBadHandleError;
    EXPECT_EQ(releaseSuites(&pluginfakes::fakeBasicSuite), kSPBadHandleError);
    EXPECT_EQ(fake.calls, callsFor("release", 0, kSuiteCount));
    EXPECT_EQ(fake.held["AI Art Suite"], 1); // the host refused it
    fake.held["AI Art Suite"] = 0;
    EXPECT_TRUE(heldNone());
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_EQ(sAIArt, nullptr);
    EXPECT_EQ(sADMNotifier, nullptr);

    // Two failures: the first one is answered.
    ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSPNoError);
    fake.failReleaseOf = "SP Blocks Suite";
    fake.releaseError = kSPOutOfMemoryError;
    fake.held["ADM Notifier Suite"] = 0; // its release fails as one of a suite not held
    EXPECT_EQ(releaseSuites(&pluginfakes::fakeBasicSuite), kSPOutOfMemoryError);
    EXPECT_EQ(fake.held["ADM Dialog Suite"], 0);
}

TEST_F(PluginShell, AFailedReleaseWhileGivingBackAnEarlyAcquisitionFailureGivesBackTheRest) {
    fake.failAcquireOf = "AI Art Suite";
    fake.failReleaseOf = "SP Access Suite";
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSuiteNotFound);
    EXPECT_EQ(fake.calls, concat(callsFor("acquire", 0, 6), callsFor("release", 0, 5)));
    EXPECT_EQ(fake.held["SP Access Suite"], 1);
    EXPECT_EQ(fake.held["AI Real Math Suite"], 0);
    EXPECT_EQ(sSuiteNestingCount, 0);
    EXPECT_EQ(sSPAccess, nullptr);
}

TEST_F(PluginShell, AFailedReleaseDoesNotChangeTheMessageResult) {
    fake.failReleaseOf = "ADM Item Suite";
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kSPNoError);
    EXPECT_EQ(fake.held["ADM List Suite"], 0);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"About Dialog"})); // no error dialog
}

TEST_F(PluginShell, OtherAcquisitionErrorsAreAlsoReported) {
    fake.failAcquireOf = "ADM Tracker Suite";
    fake.acquireError = kSPOutOfMemoryError;
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSPOutOfMemoryError);
    ASSERT_EQ(fake.alerts.size(), 1u);
    EXPECT_EQ(fake.alerts[0], "Suite Loading Error: -108, suite: ADM Tracker Suite, version: 1!");
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"Error Dialog"}));
    EXPECT_EQ(fake.itemTexts[3], "-108");
    EXPECT_TRUE(heldNone());
}

TEST_F(PluginShell, AboutMessageShowsTheAboutBox) {
    fake.modalResult = kADMCancelItemID;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceAboutSelector), kSPNoError);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"About Dialog"}));
    EXPECT_EQ(fake.modalIDs, std::vector<int32_t>({16050}));
    EXPECT_TRUE(heldNone());
}

// ---- life cycle ----

TEST_F(PluginShell, StartupAllocatesTheBlockAddsTheToolAndWritesDefaults) {
    ASSERT_EQ(startUp(), kSPNoError);
    ASSERT_NE(globalsBlock, nullptr);
    EXPECT_EQ(fake.blockName, "globals");
    EXPECT_EQ(fake.blockSize, sizeof(ToolSettings));
    EXPECT_EQ(globalsBlock->hostBasicSuite, &pluginfakes::fakeBasicSuite);
    EXPECT_EQ(fake.pluginOptions, 0x12);
    EXPECT_EQ(fake.addedToolName, " KT7 Zigzag Tool");
    EXPECT_STREQ(fake.addedTool.title, " KT7 Zigzag Tool");
    EXPECT_STREQ(fake.addedTool.tooltip, " KT7 Zigzag Tool (Drag cursor to create path)");
    EXPECT_EQ(fake.addedTool.sameGroupAs, -2);
    EXPECT_EQ(fake.addedTool.sameToolsAs, -2);
    EXPECT_NE(fake.addedTool.icon, nullptr);
    EXPECT_EQ(fake.addedToolOptions, 1);
    EXPECT_EQ(fake.toolHandleAddress, &globalsBlock->toolHandle);
    EXPECT_EQ(globalsBlock->toolHandle, reinterpret_cast<AIToolHandle>(0x7001));
    EXPECT_EQ(globalsBlock->zigzagElements, 10);
    EXPECT_EQ(globalsBlock->styleToSeparateElements, 1);
    // Working fields keep what the host's memory held.
    EXPECT_TRUE(pluginfakes::untouchedField(&globalsBlock->dragEventCounter));
}

TEST_F(PluginShell, MissingIconFailsStartupWithoutDefaults) {
    fake.iconType = kUnknownIcon;
    EXPECT_EQ(startUp(), kToolIconMissingError);
    ASSERT_NE(globalsBlock, nullptr);
    EXPECT_TRUE(fake.addedToolName.empty());
    EXPECT_TRUE(pluginfakes::untouchedField(&globalsBlock->zigzagElements));
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"Error Dialog"}));
    EXPECT_EQ(fake.itemTexts[2], "Unknown error - too many paths created ? by zigzag..");
    EXPECT_EQ(fake.itemTexts[3], "!ico");
}

TEST_F(PluginShell, RefusedToolFailsStartupWithoutDefaults) {
    fake.addToolStatus = kSPBadParameterError;
    EXPECT_EQ(startUp(), kSPBadParameterError);
    ASSERT_NE(globalsBlock, nullptr);
    EXPECT_TRUE(pluginfakes::untouchedField(&globalsBlock->zigzagElements));
    EXPECT_TRUE(pluginfakes::untouchedField(&globalsBlock->designTemplate[0]));
}

TEST_F(PluginShell, FailedAllocationEndsStartup) {
    fake.allocateStatus = kSPOutOfMemoryError;
    EXPECT_EQ(startUp(), kSPOutOfMemoryError);
    EXPECT_EQ(globalsBlock, nullptr);
    EXPECT_EQ(fake.pluginOptions, 0x10);
    EXPECT_EQ(fake.itemTexts[3], "-108");
}

TEST_F(PluginShell, ASecondStartupKeepsTheBlockAndToolItHasAndWritesNothing) {
    ASSERT_EQ(startUp(), kSPNoError);
    ToolSettings* block = globalsBlock;
    block->zigzagElements = 77;
    fake.pluginOptions = 0x10;
    EXPECT_EQ(startUp(), kSPNoError);
    EXPECT_EQ(globalsBlock, block);
    EXPECT_EQ(fake.liveBlocks.size(), 1u);
    EXPECT_EQ(fake.addToolCalls, 1);
    EXPECT_EQ(globalsBlock->zigzagElements, 77);
    EXPECT_EQ(fake.pluginOptions, 0x10);
    EXPECT_TRUE(heldNone());

    // Also after the block went to the host and came back.
    ASSERT_EQ(send(kSPAccessCaller, kSPAccessUnloadSelector), kSPNoError);
    globalsBlock = nullptr;
    ASSERT_EQ(send(kSPAccessCaller, kSPAccessReloadSelector), kSPNoError);
    EXPECT_EQ(startUp(), kSPNoError);
    EXPECT_EQ(fake.liveBlocks.size(), 1u);
    EXPECT_EQ(fake.addToolCalls, 1);
    EXPECT_EQ(globalsBlock->zigzagElements, 77);
}

TEST_F(PluginShell, ARetriedStartupUsesTheBlockOfTheFailedOneAndAddsOneTool) {
    fake.iconType = kUnknownIcon;
    ASSERT_EQ(startUp(), kToolIconMissingError);
    ToolSettings* block = globalsBlock;
    ASSERT_NE(block, nullptr);
    fake.iconType = kWinIcon;
    fake.addToolStatus = kSPBadParameterError;
    ASSERT_EQ(startUp(), kSPBadParameterError);
    EXPECT_EQ(fake.addToolCalls, 1);
    fake.addToolStatus = kSPNoError;
    EXPECT_EQ(startUp(), kSPNoError);
    EXPECT_EQ(globalsBlock, block);
    EXPECT_EQ(fake.liveBlocks.size(), 1u);
    EXPECT_EQ(fake.addToolCalls, 2);
    EXPECT_EQ(globalsBlock->zigzagElements, 10);
    EXPECT_EQ(globalsBlock->toolHandle, reinterpret_cast<AIToolHandle>(0x7001));
    EXPECT_EQ(startUp(), kSPNoError);
    EXPECT_EQ(fake.addToolCalls, 2);
}

TEST_F(PluginShell, SettingsSurviveUnloadAndReload) {
    ASSERT_EQ(startUp(), kSPNoError);
    ToolSettings* block = globalsBlock;
    block->zigzagElements = 77;
    ASSERT_EQ(send(kSPAccessCaller, kSPAccessUnloadSelector), kSPNoError);
    EXPECT_EQ(data.globals, block);
    globalsBlock = nullptr; // the module's own data is gone while it is unloaded
    sSuiteNestingCount = 5;
    ASSERT_EQ(send(kSPAccessCaller, kSPAccessReloadSelector), kSPNoError);
    EXPECT_EQ(globalsBlock, block);
    EXPECT_EQ(globalsBlock->zigzagElements, 77);
    EXPECT_EQ(sSuiteNestingCount, 0);
    fake.calls.clear();
    EXPECT_EQ(send("Some Caller", "Some Selector"), kSPNoError);
    EXPECT_EQ(fake.calls.size(), 2u * kSuiteCount);
}

TEST_F(PluginShell, ShutdownFreesTheBlock) {
    ASSERT_EQ(startUp(), kSPNoError);
    data.globals = globalsBlock;
    fake.calls.clear();
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceShutdownSelector), kSPNoError);
    EXPECT_EQ(globalsBlock, nullptr);
    EXPECT_EQ(data.globals, nullptr);
    EXPECT_TRUE(fake.liveBlocks.empty());
    EXPECT_TRUE(heldNone());
    // Its own acquisition of the block suite, on top of the general one.
    ASSERT_EQ(fake.calls.size(), 2u * kSuiteCount + 2u);
    EXPECT_EQ(fake.calls[kSuiteCount], "acquire SP Blocks Suite");
    EXPECT_EQ(fake.calls[kSuiteCount + 1], "release SP Blocks Suite");
}

TEST_F(PluginShell, ShutdownWithoutTheBlockSuiteKeepsTheBlockAndReports) {
    ASSERT_EQ(startUp(), kSPNoError);
    ToolSettings* block = globalsBlock;
    data.globals = block;
    fake.failAcquireOf = "SP Blocks Suite";
    fake.acquireFailAfter = 1; // the general acquisition succeeds, the shutdown's own one fails
    fake.acquireError = kSPOutOfMemoryError;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceShutdownSelector), kSPOutOfMemoryError);
    EXPECT_EQ(globalsBlock, block);
    EXPECT_EQ(data.globals, nullptr);
    EXPECT_EQ(fake.liveBlocks.size(), 1u);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"Error Dialog"}));
    EXPECT_TRUE(heldNone());
}

TEST_F(PluginShell, AShutdownWhoseFreeFailsKeepsTheBlockForALaterOne) {
    ASSERT_EQ(startUp(), kSPNoError);
    ToolSettings* block = globalsBlock;
    data.globals = block;
    fake.freeStatus = kSPBadHandleError;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceShutdownSelector), kSPBadHandleError);
    EXPECT_EQ(globalsBlock, block);
    EXPECT_EQ(data.globals, block);
    EXPECT_EQ(fake.liveBlocks.size(), 1u);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"Error Dialog"}));
    EXPECT_TRUE(heldNone());

    fake.freeStatus = kSPNoError;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceShutdownSelector), kSPNoError);
    EXPECT_EQ(globalsBlock, nullptr);
    EXPECT_EQ(data.globals, nullptr);
    EXPECT_TRUE(fake.liveBlocks.empty());
}

TEST_F(PluginShell, ShutdownBeforeStartupFreesNothingAndAnswersZero) {
    fake.freeStatus = kSPBadHandleError;
    EXPECT_EQ(send(kSPInterfaceCaller, kSPInterfaceShutdownSelector), kSPNoError);
    EXPECT_EQ(data.globals, nullptr);
    EXPECT_TRUE(fake.modalNames.empty());
}

// ---- tool messages ----

TEST_F(PluginShell, ToolOptionsDialogAnswersOkOrCancel) {
    ASSERT_EQ(startUp(), kSPNoError);
    EXPECT_EQ(sendTool(kSelectorAIEditToolOptions), kSPNoError);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"ZigzagTool"}));
    EXPECT_EQ(fake.modalIDs, std::vector<int32_t>({16201}));
    fake.modalResult = kADMCancelItemID;
    EXPECT_EQ(sendTool(kSelectorAIEditToolOptions), kSPUserCanceledError);
    fake.modalResult = -1;
    EXPECT_EQ(sendTool(kSelectorAIEditToolOptions), kSPUserCanceledError);
    // Cancelling shows no error dialog.
    EXPECT_EQ(fake.modalNames.size(), 3u);
}

TEST_F(PluginShell, ToolMessagesOfOtherCallersAndIdleSelectorsAnswerZero) {
    ASSERT_EQ(startUp(), kSPNoError);
    AIToolMessage message = {};
    message.d = data;
    EXPECT_EQ(dispatchPluginMessage("AI Filter", kSelectorAIToolMouseDown, &message), kSPNoError);
    EXPECT_TRUE(pluginfakes::untouchedField(&globalsBlock->pressPointX));
    for (const char* selector :
         {kSelectorAIToolMouseUp, kSelectorAISelectTool, kSelectorAIDeselectTool, "AI ???"})
        EXPECT_EQ(sendTool(selector), kSPNoError) << selector;
    EXPECT_EQ(sendTool(kSelectorAIToolMouseDown), kSPNoError);
    EXPECT_EQ(globalsBlock->pressPointX, 3.0f);
    EXPECT_EQ(globalsBlock->pressPointY, 4.0f);
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginShell, ToolMessagesWithoutSettingsFailInsteadOfCrashing) {
    EXPECT_EQ(sendTool(kSelectorAIToolMouseDown), kSPBadHandleError);
    EXPECT_EQ(sendTool(kSelectorAIToolMouseDrag), kSPBadHandleError);
    EXPECT_EQ(sendTool(kSelectorAIEditToolOptions), kSPBadHandleError);
    EXPECT_EQ(sendTool(kSelectorAIToolMouseUp), kSPNoError);
}

// ---- error report and about box ----

class PluginErrorReport : public PluginShell {
  protected:
    void SetUp() override {
        PluginShell::SetUp();
        ASSERT_EQ(acquireSuites(&pluginfakes::fakeBasicSuite), kSPNoError);
    }
    void TearDown() override {
        releaseSuites(&pluginfakes::fakeBasicSuite);
        PluginShell::TearDown();
    }
    void expectDialog(const std::string& message, const std::string& code) {
        ASSERT_EQ(fake.modalNames, std::vector<std::string>({"Error Dialog"}));
        EXPECT_EQ(fake.modalIDs, std::vector<int32_t>({16051}));
        EXPECT_EQ(fake.itemTexts[2], message);
        EXPECT_EQ(fake.itemTexts[3], code);
    }
};

TEST_F(PluginErrorReport, NumberedCodesFindTheirMessages) {
    reportError(&data, kSPOutOfMemoryError);
    expectDialog("The filter cannot complete because there isn't enough memory (RAM) available.", "-108");
    fake.modalNames.clear();
    fake.modalIDs.clear();
    reportError(&data, 271);
    expectDialog("The filter cannot complete because there isn't enough memory (RAM) available.", "271");
}

TEST_F(PluginErrorReport, FourCharacterCodesFindTheirMessages) {
    reportError(&data, ZZ_FOURCC('S', 'E', 'G', 'M'));
    expectDialog("The filter cannot complete because a layer is locked or invisible.", "SEGM");
}

TEST_F(PluginErrorReport, UnknownCodesShowTheLastMessage) {
    reportError(&data, ZZ_FOURCC('!', 'i', 'c', 'o'));
    expectDialog("Unknown error - too many paths created ? by zigzag..", "!ico");
    fake.modalNames.clear();
    fake.modalIDs.clear();
    reportError(&data, -5);
    expectDialog("Unknown error - too many paths created ? by zigzag..", "-5");
}

TEST_F(PluginErrorReport, NumberTextsAreCutToSixteenBits) {
    // 65428 cut to 16 bits and sign-extended is -108; 70000 matches 70000 - 65536.
    fake.errorList[1] = "65428";
    fake.errorList[3] = "70000.9";
    reportError(&data, kSPOutOfMemoryError);
    expectDialog("The filter cannot complete because there isn't enough memory (RAM) available.", "-108");
    fake.modalNames.clear();
    fake.modalIDs.clear();
    reportError(&data, 70000 - 65536);
    expectDialog("The filter cannot complete because there isn't enough memory (RAM) available.", "4464");
}

TEST_F(PluginErrorReport, CodesBeyondSixteenBitsShowTheirCharacters) {
    reportError(&data, 0x00012345 + ZZ_FOURCC('A', 0, 0, 0));
    ASSERT_EQ(fake.modalNames.size(), 1u);
    EXPECT_EQ(fake.itemTexts[3], std::string("A\x01#E"));
}

TEST_F(PluginErrorReport, OkButtonOnlyDoesTheDefaultHandling) {
    reportError(&data, kSPOutOfMemoryError);
    ASSERT_NE(fake.notifyProcs[kADMDefaultItemID], nullptr);
    fake.notifyProcs[kADMDefaultItemID](reinterpret_cast<ADMItemRef>(1), nullptr);
    EXPECT_EQ(fake.defaultNotifies, 1);
}

TEST_F(PluginErrorReport, SilentForCancelAndWithoutTheList) {
    reportError(&data, kSPUserCanceledError);
    reportError(&data, kSPNoError);
    EXPECT_TRUE(fake.modalNames.empty());
    fake.errorListMissing = true;
    reportError(&data, kSPOutOfMemoryError);
    EXPECT_TRUE(fake.modalNames.empty());
    fake.errorListMissing = false;
    fake.errorList.clear();
    reportError(&data, kSPOutOfMemoryError);
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginErrorReport, AListThatCannotBeReadPartwayShowsNoOtherCodesMessage) {
    // Entry 3 cannot be read: the lookup of 'SEGM' (entry 5) must not fall back on entry 2, the message of
    // -108.
    fake.errorListFailAt = 3;
    reportError(&data, ZZ_FOURCC('S', 'E', 'G', 'M'));
    reportError(&data, ZZ_FOURCC('!', 'i', 'c', 'o'));
    EXPECT_TRUE(fake.modalNames.empty());
    // A code found before the unreadable entry still shows its own message.
    reportError(&data, kSPOutOfMemoryError);
    expectDialog("The filter cannot complete because there isn't enough memory (RAM) available.", "-108");
}

TEST_F(PluginErrorReport, AnUnreadableMessageShowsNothing) {
    fake.errorListFailAt = 6;
    reportError(&data, ZZ_FOURCC('S', 'E', 'G', 'M'));
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginErrorReport, SilentWithoutTheDialogSuites) {
    const ADMDialogSuite* dialog = sADMDialog;
    sADMDialog = nullptr;
    reportError(&data, kSPOutOfMemoryError);
    sADMDialog = dialog;
    EXPECT_TRUE(fake.modalNames.empty());
}

TEST_F(PluginErrorReport, AboutBoxAnswersZeroWhateverItReturns) {
    fake.modalResult = -1;
    EXPECT_EQ(showAboutBox(&data), kSPNoError);
    EXPECT_EQ(fake.modalNames, std::vector<std::string>({"About Dialog"}));
    EXPECT_EQ(fake.modalIDs, std::vector<int32_t>({16050}));
    EXPECT_NE(fake.notifyProcs[kADMDefaultItemID], nullptr);
    EXPECT_TRUE(fake.itemTexts.empty());
}

} // namespace
