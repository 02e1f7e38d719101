// Modal dialogs of the host, driven by init procedures written here: the template's items, the user data, the
// closing item's notifier, and the ends a dialog can come to. The module is loaded only for its templates.
#include <gtest/gtest.h>

#include <string>

#include "ADMDialog.h"
#include "ADMItem.h"
#include "ADMNotifier.h"
#include "host/core/Host.h"
#include "host/base/Platform.h"
#include "apps/script/ScriptDialogs.h"

namespace zz {
namespace {

constexpr int32_t kErrorDialog = 16051; // items: 1 OK, 2 message, 3 code, 4 frame
constexpr int32_t kOptionsDialog = 16201;

// What the init procedures below see and do; reset by the fixture.
struct Probe {
    const ADMDialogSuite* dialogs = nullptr;
    const ADMItemSuite* items = nullptr;
    const ADMNotifierSuite* notifiers = nullptr;
    void* userData = nullptr;
    std::string okText, codeType;
    int notified = 0;
    bool notifierWasUserChanged = false;
    SPErr initResult = 0;
    int32_t endDuringInit = 0;
} probe;

void SPAPI countingNotify(ADMItemRef item, ADMNotifierRef notifier) {
    ++probe.notified;
    probe.notifierWasUserChanged = probe.notifiers->IsNotifierType(notifier, kADMUserChangedNotifier) != 0;
    (void)item; // no default handling: the dialog is not ended by this procedure
}

void SPAPI defaultOnlyNotify(ADMItemRef item, ADMNotifierRef notifier) {
    ++probe.notified;
    probe.items->DefaultNotify(item, notifier);
}

SPErr SPAPI errorDialogInit(ADMDialogRef dialog) {
    probe.userData = probe.dialogs->GetUserData(dialog);
    ADMItemRef ok = probe.dialogs->GetItem(dialog, 1);
    char text[64];
    probe.items->GetText(ok, text, sizeof text);
    probe.okText = text;
    probe.items->SetText(probe.dialogs->GetItem(dialog, 2), "The message");
    probe.items->SetText(probe.dialogs->GetItem(dialog, 3), "SEGM");
    probe.items->SetNotifyProc(ok, countingNotify);
    if (probe.endDuringInit != 0) probe.dialogs->EndModal(dialog, probe.endDuringInit, false);
    return probe.initResult;
}

SPErr SPAPI optionsDialogInit(ADMDialogRef dialog) {
    const ADMRect rect{0, 0, 40, 20};
    ADMItemRef ok = probe.dialogs->CreateItem(dialog, 1, kADMTextPushButtonType, &rect, nullptr, nullptr, 0);
    ADMItemRef cancel =
        probe.dialogs->CreateItem(dialog, 2, kADMTextPushButtonType, &rect, nullptr, nullptr, 0);
    ADMItemRef count = probe.dialogs->CreateItem(dialog, 4, kADMSpinEditType, &rect, nullptr, nullptr, 0);
    probe.items->SetText(ok, "OK");
    probe.items->SetText(cancel, "Cancel");
    probe.items->SetNotifyProc(ok, defaultOnlyNotify);
    probe.items->SetMinIntValue(count, 1);
    probe.items->SetMaxIntValue(count, 400);
    probe.items->SetIntValue(count, 1000);
    return 0;
}

class HostModal : public ::testing::Test {
  protected:
    void SetUp() override {
        host.setDialogDriver(&driver);
        host.setDialogObserver(&recorder);
        std::string why;
        ASSERT_TRUE(host.loadModule(besideExecutable("KT07_Zigzag.aip"), &why)) << why;
        probe = Probe{};
        const SPBasicSuite* basic = host.basicSuite();
        ASSERT_EQ(basic->AcquireSuite(kADMDialogSuite, kADMDialogSuiteVersion,
                                      reinterpret_cast<const void**>(&probe.dialogs)),
                  0);
        ASSERT_EQ(basic->AcquireSuite(kADMItemSuite, kADMItemSuiteVersion,
                                      reinterpret_cast<const void**>(&probe.items)),
                  0);
        ASSERT_EQ(basic->AcquireSuite(kADMNotifierSuite, kADMNotifierSuiteVersion,
                                      reinterpret_cast<const void**>(&probe.notifiers)),
                  0);
    }
    int32_t modal(int32_t resource, ADMDialogInitProc init, void* userData = nullptr) {
        return probe.dialogs->Modal(host.self(), "Test Dialog", resource, kADMModalDialogStyle, init,
                                    userData, 0);
    }
    Host host;
    CurrentHost scope{host};
    ScriptDialogDriver driver;
    DialogRecorder recorder;
};

// A driver that leaves without ending the dialog, as a user interface that lost its user would.
class GivingUpDriver : public DialogDriver {
  public:
    void run(DialogModel&, AdmDialog&) override { ++runs; }
    int runs = 0;
};

TEST_F(HostModal, TemplateItemsExistForTheInitProcedureWhichGetsTheUserData) {
    int data = 0;
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit, &data), 1);
    EXPECT_EQ(probe.userData, &data);
    EXPECT_EQ(probe.okText, "OK");
    ASSERT_EQ(recorder.records().size(), 1u);
    const DialogRecord& record = recorder.records()[0];
    EXPECT_EQ(record.name, "Test Dialog");
    EXPECT_EQ(record.resource, kErrorDialog);
    EXPECT_EQ(record.result, 1);
    EXPECT_EQ(record.items.at(2), "The message");
    EXPECT_EQ(record.items.at(3), "SEGM");
    EXPECT_EQ(record.items.count(4), 1u);
    EXPECT_TRUE(host.dialogs().empty()); // destroyed before Modal returned
}

TEST_F(HostModal, TheClosingItemsNotifierRunsAndTheSessionEndsTheDialogIfItDoesNot) {
    driver.beginEvent(1);
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), 1);
    EXPECT_EQ(probe.notified, 1);
    EXPECT_TRUE(probe.notifierWasUserChanged);
}

TEST_F(HostModal, ACloseItemTheDialogLacksStillEndsIt) {
    driver.beginEvent(7);
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), 7);
    EXPECT_EQ(probe.notified, 0);
    // The close belonged to that dialog only: the next one ends with its default item.
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), 1);
}

TEST_F(HostModal, AFailingInitProcedureCancelsWithoutClosingNotifier) {
    probe.initResult = -1;
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), kADMCancelItemID);
    EXPECT_EQ(probe.notified, 0);
    EXPECT_EQ(recorder.records().back().result, kADMCancelItemID);
}

TEST_F(HostModal, EndModalDuringInitDecidesTheResult) {
    probe.endDuringInit = 42;
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), 42);
    EXPECT_EQ(probe.notified, 0);
}

TEST_F(HostModal, TheOptionsDialogEndsWithTheItemTheDriverClicksAndOkThroughItsNotifier) {
    driver.beginEvent(kADMCancelItemID);
    EXPECT_EQ(modal(kOptionsDialog, optionsDialogInit), kADMCancelItemID);
    EXPECT_EQ(probe.notified, 0); // Cancel has no notify procedure: default handling
    EXPECT_EQ(recorder.records().back().items.at(4), "400"); // clamped into its range
    driver.beginEvent(1);
    EXPECT_EQ(modal(kOptionsDialog, optionsDialogInit), 1);
    EXPECT_EQ(probe.notified, 1);
}

TEST_F(HostModal, ADriverThatGivesUpLeavesTheDialogCancelledAndNoDriverMeansTheDefaultItem) {
    GivingUpDriver quitter;
    host.setDialogDriver(&quitter);
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), kADMCancelItemID);
    EXPECT_EQ(quitter.runs, 1);
    EXPECT_EQ(probe.notified, 0);
    EXPECT_TRUE(host.dialogs().empty());

    host.setDialogDriver(nullptr);
    EXPECT_EQ(modal(kErrorDialog, errorDialogInit), kADMDefaultItemID);
    EXPECT_EQ(probe.notified, 1); // the default item was clicked: its notifier ran
}

TEST_F(HostModal, ADialogWithoutTemplateCannotBeMade) {
    EXPECT_EQ(modal(999, errorDialogInit), -1);
    EXPECT_EQ(probe.okText, ""); // the init procedure never ran
    ASSERT_EQ(recorder.records().size(), 1u);
    EXPECT_EQ(recorder.records()[0].result, -1);
    EXPECT_EQ(probe.dialogs->Modal(nullptr, "X", kErrorDialog, 0, errorDialogInit, nullptr, 0),
              -1); // not our plug-in
}

} // namespace
} // namespace zz
