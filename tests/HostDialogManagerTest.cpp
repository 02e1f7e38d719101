// The host's dialog manager behind the ADM suites: values held as a spin edit holds them, lists, notifiers
// and the default handling, and a user's actions played by the script's dialog driver on a small dialog that
// an init procedure of this file builds, with the snapshots the recorder keeps. The module is loaded only for
// its (empty) options dialog template.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ADMDialog.h"
#include "ADMEntry.h"
#include "ADMItem.h"
#include "ADMList.h"
#include "ADMNotifier.h"
#include "host/core/Host.h"
#include "apps/script/Report.h"
#include "apps/script/ScriptDialogs.h"
#include "tests/TestSupport.h"

namespace zz {
namespace {

constexpr int32_t kEmptyDialog = 16201; // a template without items
constexpr int32_t kErrorDialog = 16051;

// Items of the test dialog.
enum : int32_t {
    kOk = 1,
    kCancel = 2,
    kPopup = 3,      // four entries; its notifier writes the choice into the count field
    kCount = 4,      // integer 1 to 400
    kList = 5,       // list box with pictures
    kReal = 10,      // float -500 to 500, 2 decimals
    kDependent = 31, // float, enabled while the box 80 is ticked
    kBox = 80,       // check box
    kLabel = 190,
    kPage = 300,   // picture button that hides the real field
    kNested = 301, // push button that opens the error dialog
};

struct Suites {
    const ADMDialogSuite* dialog = nullptr;
    const ADMItemSuite* item = nullptr;
    const ADMListSuite* list = nullptr;
    const ADMEntrySuite* entry = nullptr;
    const ADMNotifierSuite* notifier = nullptr;
} suites;

// What the notifiers saw.
struct Seen {
    std::vector<int32_t> notified; // item ids, in order
    int32_t chosen = -1;           // the popup's active entry id, as its notifier read it
    int32_t count = 0;             // item 4 as OK read it
    AIReal real = 0.0f;            // item 10 as OK read it
    AIBoolean box = 0;             // item 80 as OK read it
    int32_t nestedResult = 0;
} seen;

ADMItemRef itemOf(ADMItemRef any, int32_t id) {
    return suites.dialog->GetItem(suites.item->GetDialog(any), id);
}

void SPAPI okNotify(ADMItemRef item, ADMNotifierRef notifier) {
    seen.notified.push_back(kOk);
    suites.item->DefaultNotify(item, notifier); // ends the dialog; the items stay until this returns
    seen.count = suites.item->GetIntValue(itemOf(item, kCount));
    seen.real = suites.item->GetFloatValue(itemOf(item, kReal));
    seen.box = suites.item->GetBooleanValue(itemOf(item, kBox));
}

void SPAPI popupNotify(ADMItemRef item, ADMNotifierRef notifier) {
    seen.notified.push_back(kPopup);
    suites.item->DefaultNotify(item, notifier);
    seen.chosen = suites.entry->GetID(suites.list->GetActiveEntry(suites.item->GetList(item)));
    suites.item->SetIntValue(itemOf(item, kCount), seen.chosen * 100);
}

void SPAPI boxNotify(ADMItemRef item, ADMNotifierRef notifier) {
    seen.notified.push_back(kBox);
    suites.item->DefaultNotify(item, notifier);
    suites.item->Enable(itemOf(item, kDependent), suites.item->GetBooleanValue(item));
}

void SPAPI pageNotify(ADMItemRef item, ADMNotifierRef) {
    seen.notified.push_back(kPage);
    suites.item->Show(itemOf(item, kReal), false);
    suites.item->SetFont(itemOf(item, kLabel), kADMDialogFontBold);
}

void SPAPI countNotify(ADMItemRef item, ADMNotifierRef notifier) {
    seen.notified.push_back(suites.item->GetID(item));
    suites.item->DefaultNotify(item, notifier);
}

SPErr SPAPI errorInit(ADMDialogRef) {
    return 0;
}

SPPluginRef nestedPlugin = nullptr; // the plug-in the nested dialog is opened for

void SPAPI nestedNotify(ADMItemRef, ADMNotifierRef) {
    seen.notified.push_back(kNested);
    seen.nestedResult = suites.dialog->Modal(nestedPlugin, "Nested", kErrorDialog, 0, errorInit, nullptr, 0);
}

ADMItemRef create(ADMDialogRef dialog, int32_t id, const char* type, ADMRect rect) {
    return suites.dialog->CreateItem(dialog, id, type, &rect, nullptr, nullptr, 0);
}

SPErr SPAPI testDialogInit(ADMDialogRef dialog) {
    suites.dialog->Size(dialog, 300, 200);
    ADMItemRef ok = create(dialog, kOk, kADMTextPushButtonType, {10, 170, 80, 190});
    suites.item->SetNotifyProc(ok, okNotify);
    suites.item->SetText(ok, "OK");
    suites.item->SetText(create(dialog, kCancel, kADMTextPushButtonType, {90, 170, 160, 190}), "Cancel");

    ADMItemRef popup = create(dialog, kPopup, kADMPopupListType, {170, 170, 290, 190});
    suites.item->SetNotifyProc(popup, popupNotify);
    const char* const names[] = {" -- None -- ", " One", " Two", " Three"};
    ADMListRef entries = suites.item->GetList(popup);
    for (int32_t k = 0; k < 4; ++k) {
        ADMEntryRef entry = suites.list->InsertEntry(entries, k);
        suites.entry->SetText(entry, names[k]);
        suites.entry->SetID(entry, k);
    }
    suites.entry->Select(suites.list->IndexEntry(entries, 0), true);

    ADMItemRef count = create(dialog, kCount, kADMSpinEditType, {100, 10, 160, 30});
    suites.item->SetUnits(count, kADMNoUnits);
    suites.item->SetMinIntValue(count, 1);
    suites.item->SetMaxIntValue(count, 400);
    suites.item->SetIntValue(count, 12);
    suites.item->SetNotifyProc(count, countNotify);

    ADMItemRef designs = create(dialog, kList, kADMListBoxType, {10, 40, 160, 160});
    suites.item->SetItemStyle(designs, kADMSingleSelectListBoxStyle);
    ADMListRef designList = suites.item->GetList(designs);
    suites.list->SetEntryHeight(designList, 40);
    for (int32_t k = 0; k < 3; ++k) {
        ADMEntryRef entry = suites.list->InsertEntry(designList, k);
        suites.entry->SetText(entry, ("Design " + std::to_string(k)).c_str());
        suites.entry->SetID(entry, k);
        suites.entry->SetPictureID(entry, 100 + k, nullptr);
    }
    suites.entry->Select(suites.list->IndexEntry(designList, 1), true);

    ADMItemRef real = create(dialog, kReal, kADMSpinEditType, {170, 10, 230, 30});
    suites.item->SetMinFloatValue(real, -500.0f);
    suites.item->SetMaxFloatValue(real, 500.0f);
    suites.item->SetFloatValue(real, 12.3456f);
    suites.item->SetPrecision(real, 2);

    ADMItemRef dependent = create(dialog, kDependent, kADMSpinEditType, {240, 10, 290, 30});
    suites.item->SetFloatValue(dependent, 1.0f);
    ADMItemRef box = create(dialog, kBox, kADMTextCheckBoxType, {10, 140, 160, 160});
    suites.item->SetBooleanValue(box, false);
    suites.item->SetText(box, "Link");
    suites.item->SetNotifyProc(box, boxNotify);
    suites.item->SendNotify(box, nullptr); // disables the dependent field, as the box is clear

    suites.item->SetText(create(dialog, kLabel, kADMTextStaticType, {10, 10, 90, 30}), "Count");
    suites.item->SetNotifyProc(create(dialog, kPage, kADMPicturePushButtonType, {240, 40, 290, 80}),
                               pageNotify);
    suites.item->SetNotifyProc(create(dialog, kNested, kADMTextPushButtonType, {240, 90, 290, 110}),
                               nestedNotify);
    suites.item->Activate(count, true);
    suites.item->SelectAll(count);
    return 0;
}

SPErr SPAPI failingInit(ADMDialogRef) {
    return -1;
}

DialogAction typed(int32_t item, double value) {
    return DialogAction{DialogAction::Kind::Value, item, value, 0};
}
DialogAction chosen(int32_t item, int32_t entry) {
    return DialogAction{DialogAction::Kind::Select, item, 0.0, entry};
}
DialogAction clicked(int32_t item) {
    return DialogAction{DialogAction::Kind::Click, item, 0.0, 0};
}

class HostDialogManager : public ::testing::Test {
  protected:
    void SetUp() override {
        host.setDialogDriver(&driver);
        host.setDialogObserver(&recorder);
        driver.setObserver(&recorder);
        std::string why;
        ASSERT_TRUE(host.loadModule(test::modulePath(), &why)) << why;
        nestedPlugin = host.self();
        suites = Suites{};
        seen = Seen{};
        const SPBasicSuite* basic = host.basicSuite();
        auto acquire = [&](const char* name, int32_t version, auto** suite) {
            ASSERT_EQ(basic->AcquireSuite(name, version, reinterpret_cast<const void**>(suite)), 0) << name;
        };
        acquire(kADMDialogSuite, kADMDialogSuiteVersion, &suites.dialog);
        acquire(kADMItemSuite, kADMItemSuiteVersion, &suites.item);
        acquire(kADMListSuite, kADMListSuiteVersion, &suites.list);
        acquire(kADMEntrySuite, kADMEntrySuiteVersion, &suites.entry);
        acquire(kADMNotifierSuite, kADMNotifierSuiteVersion, &suites.notifier);
    }
    // Runs the test dialog with these actions; the dialog ends with `close` unless they end it.
    int32_t play(std::vector<DialogAction> actions, int32_t close = kCancel,
                 ADMDialogInitProc init = testDialogInit) {
        driver.beginEvent(close, std::move(actions));
        return suites.dialog->Modal(host.self(), "Test", kEmptyDialog, kADMModalDialogStyle, init, nullptr,
                                    0);
    }
    const DialogRecord& record() const { return recorder.records().at(0); }
    // An item in the snapshot after action `action` (-1: after the init procedure).
    const ItemState& state(int action, int32_t id) const {
        const DialogSnapshot& snapshot = record().snapshots.at(static_cast<std::size_t>(action + 1));
        for (const ItemState& item : snapshot.items)
            if (item.id == id) return item;
        ADD_FAILURE() << "no item " << id;
        static const ItemState none;
        return none;
    }
    std::vector<std::pair<std::size_t, std::string>> refused() const { return record().refused; }

    Host host;
    CurrentHost scope{host};
    ScriptDialogDriver driver;
    DialogRecorder recorder;
};

// ---- values as a spin edit holds them ----

TEST_F(HostDialogManager, AFloatFieldShowsAndReturnsItsValueRoundedToItsPrecision) {
    EXPECT_EQ(play({clicked(kOk)}), kOk);
    EXPECT_FLOAT_EQ(seen.real, 12.35f); // 12.3456 with 2 decimals
    EXPECT_EQ(record().items.at(kReal), "12.35");
    const ItemState& real = state(-1, kReal);
    EXPECT_EQ(real.valueKind, ValueKind::Float);
    EXPECT_FLOAT_EQ(static_cast<float>(real.value), 12.35f);
    EXPECT_EQ(real.precision, 2);
    // Without a precision the field keeps every digit it was given.
    EXPECT_EQ(state(-1, kDependent).text, "1");
}

TEST_F(HostDialogManager, TypedValuesAreClampedIntoTheRangeAndWholeNumberFieldsTakeTheNearestOne) {
    EXPECT_EQ(play({typed(kCount, 1000), typed(kReal, -123.456), typed(kCount, 0.4), typed(kCount, 3.6),
                    typed(kReal, 9999.0), clicked(kOk)}),
              kOk);
    EXPECT_EQ(state(0, kCount).value, 400.0);   // beyond the top
    EXPECT_EQ(state(1, kReal).text, "-123.46"); // rounded to the precision
    EXPECT_EQ(state(2, kCount).value, 1.0);     // 0.4 rounds to 0, below the bottom
    EXPECT_EQ(state(3, kCount).value, 4.0);
    EXPECT_EQ(state(3, kCount).text, "4");
    EXPECT_EQ(seen.count, 4);
    EXPECT_FLOAT_EQ(seen.real, 500.0f);
    EXPECT_TRUE(refused().empty());
}

TEST_F(HostDialogManager, ATypedValueReachesTheFieldsNotifierAndMovesTheFocusThere) {
    EXPECT_EQ(play({typed(kReal, 5)}), kCancel);
    EXPECT_TRUE(state(-1, kCount).focus);
    EXPECT_FALSE(state(0, kCount).focus);
    EXPECT_TRUE(state(0, kReal).focus);
    // A field without a notifier gets the default handling; the one with a notifier reports.
    play({typed(kCount, 7)});
    EXPECT_EQ(seen.notified.back(), kCount);
}

TEST_F(HostDialogManager, RangesSetAfterTheValueClampItAndANaNChangesNothing) {
    struct Init {
        static SPErr SPAPI run(ADMDialogRef dialog) {
            const ADMItemSuite* items = suites.item;
            ADMItemRef field = create(dialog, 9, kADMSpinEditType, {0, 0, 10, 10});
            items->SetFloatValue(field, 250.0f);
            items->SetMaxFloatValue(field, 200.0f); // clamps the value at once
            items->SetFloatValue(field, std::numeric_limits<float>::quiet_NaN());
            items->SetMinFloatValue(field, std::numeric_limits<float>::quiet_NaN());
            ADMItemRef whole = create(dialog, 8, kADMSpinEditType, {0, 0, 10, 10});
            items->SetIntValue(whole, 10);
            items->SetPrecision(whole, 2);
            items->SetText(whole, "7.6"); // typed as text: the nearest whole number
            ADMItemRef text = create(dialog, 7, kADMSpinEditType, {0, 0, 10, 10});
            items->SetText(text, "not a number");
            return 0;
        }
    };
    play({}, kCancel, Init::run);
    EXPECT_EQ(state(-1, 9).value, 200.0);
    EXPECT_FALSE(state(-1, 9).min.has_value());
    EXPECT_EQ(state(-1, 8).value, 8.0);
    EXPECT_EQ(state(-1, 8).text, "8.00"); // an integer field with decimals shows them
    EXPECT_EQ(state(-1, 7).value, 0.0);
}

// ---- lists ----

TEST_F(HostDialogManager, ChoosingAnEntryMakesItActiveBeforeThePopupsNotifierReadsIt) {
    EXPECT_EQ(play({chosen(kPopup, 2), clicked(kOk)}), kOk);
    EXPECT_EQ(seen.chosen, 2);
    EXPECT_EQ(seen.count, 200); // the notifier wrote the field, OK read it back
    const ItemState& popup = state(0, kPopup);
    EXPECT_EQ(popup.active, 2);
    EXPECT_EQ(popup.activeText, " Two");
    EXPECT_EQ(popup.entries, 4);
    EXPECT_EQ(state(-1, kPopup).active, 0);
    // The lists as the init procedure left them, entries with their pictures.
    const std::vector<EntryRecord>& designs = record().lists.at(kList);
    ASSERT_EQ(designs.size(), 3u);
    EXPECT_EQ(designs[2].text, "Design 2");
    EXPECT_EQ(designs[2].picture, 102);
    EXPECT_EQ(state(-1, kList).active, 1);
}

TEST_F(HostDialogManager, AnEntryTheListLacksIsRefusedAndTheActiveEntryStays) {
    play({chosen(kPopup, 9), chosen(kList, 0)});
    ASSERT_EQ(refused().size(), 1u);
    EXPECT_EQ(refused()[0], std::make_pair(std::size_t{0}, std::string("item 3 has no entry with id 9")));
    EXPECT_EQ(state(0, kPopup).active, 0);
    EXPECT_EQ(state(1, kList).active, 0); // a list box without notifier still takes the choice
    EXPECT_EQ(seen.chosen, -1);
}

// ---- what a user can reach ----

TEST_F(HostDialogManager, HiddenDisabledAndMissingItemsRefuseActionsAndTheDialogGoesOn) {
    EXPECT_EQ(play({clicked(kPage), typed(kReal, 3), typed(kDependent, 3), clicked(99), clicked(kBox),
                    typed(kDependent, 3), clicked(kOk)}),
              kOk);
    EXPECT_EQ(refused(),
              (std::vector<std::pair<std::size_t, std::string>>{
                  {1, "item 10 is hidden"}, {2, "item 31 is disabled"}, {3, "the dialog has no item 99"}}));
    EXPECT_FLOAT_EQ(seen.real, 12.35f); // the hidden field kept its value and OK still read it
    EXPECT_FALSE(state(0, kReal).visible);
    EXPECT_EQ(state(0, kLabel).font, kADMDialogFontBold);
    EXPECT_FALSE(state(3, kDependent).enabled);
    EXPECT_TRUE(state(4, kDependent).enabled); // the box's notifier enabled it
    EXPECT_EQ(state(5, kDependent).value, 3.0);
    EXPECT_EQ(record().snapshots.size(), 8u); // init and one per action, refused ones too
}

TEST_F(HostDialogManager, EachKindOfItemTakesOnlyWhatAUserCanDoToIt) {
    play({chosen(kCount, 1), typed(kPopup, 1), clicked(kLabel), clicked(kList), typed(kLabel, 1)});
    ASSERT_EQ(refused().size(), 5u);
    EXPECT_EQ(refused()[0].second, "item 4 (ADM Spin Edit Type) cannot choose an entry");
    EXPECT_EQ(refused()[1].second, "item 3 (ADM Popup List Type) cannot take a value");
    EXPECT_EQ(refused()[2].second, "item 190 (ADM Text Static Type) cannot be clicked");
    EXPECT_EQ(refused()[3].second, "item 5 (ADM List Box Type) cannot be clicked");
    EXPECT_EQ(refused()[4].second, "item 190 (ADM Text Static Type) cannot take a value");
    EXPECT_EQ(seen.notified, std::vector<int32_t>{kBox}); // only the init procedure's SendNotify
}

TEST_F(HostDialogManager, ACheckBoxIsTickedByAValueOrTurnedOverByAClick) {
    EXPECT_EQ(play({typed(kBox, 1), typed(kBox, 1), clicked(kBox), clicked(kBox), clicked(kOk)}), kOk);
    EXPECT_EQ(state(0, kBox).value, 1.0);
    EXPECT_EQ(state(1, kBox).value, 1.0);
    EXPECT_EQ(state(2, kBox).value, 0.0);
    EXPECT_EQ(state(3, kBox).value, 1.0);
    EXPECT_EQ(state(3, kBox).valueKind, ValueKind::Boolean);
    EXPECT_EQ(seen.box, 1);
    // Each change reached the box's notifier once, after the init procedure's own SendNotify.
    EXPECT_EQ(std::count(seen.notified.begin(), seen.notified.end(), kBox), 5);
}

// ---- how a dialog ends ----

TEST_F(HostDialogManager, OkEndsTheDialogThroughDefaultNotifyAndLaterActionsAreNotPlayed) {
    EXPECT_EQ(play({typed(kCount, 50), clicked(kOk), typed(kCount, 60)}), kOk);
    EXPECT_EQ(seen.count, 50);
    EXPECT_EQ(refused(),
              (std::vector<std::pair<std::size_t, std::string>>{{2, "the dialog had already ended"}}));
    EXPECT_EQ(record().snapshots.size(), 3u); // no snapshot for an action that was not played
    EXPECT_EQ(record().result, kOk);
}

TEST_F(HostDialogManager, ADialogTheActionsLeaveOpenEndsWithTheClosingItem) {
    EXPECT_EQ(play({typed(kCount, 50), clicked(kPage)}), kCancel);
    EXPECT_EQ(seen.count, 0); // OK never ran
    // A button without the default item's id ends nothing by its default handling.
    EXPECT_EQ(play({clicked(kNested)}, kOk), kOk);
    EXPECT_EQ(seen.nestedResult, kOk); // the nested dialog got none of the outer dialog's actions
    ASSERT_EQ(recorder.records().size(), 3u);
    EXPECT_EQ(recorder.records()[2].name, "Nested");
    EXPECT_EQ(recorder.records()[2].snapshots.size(), 1u);
}

TEST_F(HostDialogManager, ActionsForADialogThatIsNeverShownAreReportedAndDoNotReachTheNextOne) {
    EXPECT_EQ(play({clicked(kOk), clicked(kOk)}, kOk, failingInit), kCancel);
    EXPECT_EQ(refused().size(), 2u);
    EXPECT_EQ(refused()[0].second, "the dialog was not shown");
    // The next dialog of the same event ends with its default item, untouched by those actions.
    EXPECT_EQ(suites.dialog->Modal(host.self(), "Next", kEmptyDialog, 0, testDialogInit, nullptr, 0), kOk);
    EXPECT_EQ(recorder.records()[1].snapshots.size(), 1u);
}

TEST_F(HostDialogManager, TheSnapshotKeepsEveryItemsLookAndState) {
    play({});
    const ItemState& count = state(-1, kCount);
    EXPECT_EQ(count.type, kADMSpinEditType);
    EXPECT_EQ(count.rect.left, 100);
    EXPECT_EQ(count.rect.bottom, 30);
    EXPECT_EQ(count.valueKind, ValueKind::Integer);
    EXPECT_EQ(count.value, 12.0);
    EXPECT_EQ(count.min, 1.0);
    EXPECT_EQ(count.max, 400.0);
    EXPECT_EQ(count.precision, -1);
    EXPECT_TRUE(count.focus);
    const ItemState& label = state(-1, kLabel);
    EXPECT_EQ(label.text, "Count");
    EXPECT_FALSE(label.hasValue);
    EXPECT_EQ(label.font, kADMDefaultFont);
    EXPECT_TRUE(state(-1, kList).isList);
    EXPECT_EQ(state(-1, kPage).type, kADMPicturePushButtonType);
    EXPECT_FALSE(state(-1, kDependent).enabled); // the init procedure's SendNotify ran the box's notifier
    const DialogSnapshot& init = record().snapshots.at(0);
    EXPECT_FALSE(init.after.has_value());
    EXPECT_TRUE(std::is_sorted(init.items.begin(), init.items.end(),
                               [](const ItemState& a, const ItemState& b) { return a.id < b.id; }));
}

TEST_F(HostDialogManager, TheReportWritesEachValueAsItsKindAndOnlyTheKeysThatApply) {
    play({chosen(kPopup, 3)});
    const nlohmann::ordered_json init = snapshotToJson(record().snapshots.at(0));
    EXPECT_EQ(init["after"], "init");
    const auto& items = init["items"];
    EXPECT_EQ(items["4"]["value"].dump(), "12"); // a whole number
    EXPECT_EQ(items["4"]["min"].dump(), "1");
    EXPECT_EQ(items["4"]["max"].dump(), "400");
    EXPECT_FALSE(items["4"].contains("precision"));
    EXPECT_EQ(items["4"]["text"], "12");
    EXPECT_EQ(items["4"]["focus"], true);
    EXPECT_EQ(items["10"]["value"].dump(), "12.35"); // the shortest text of the 32-bit float
    EXPECT_EQ(items["10"]["precision"], 2);
    EXPECT_EQ(items["80"]["value"], false);
    EXPECT_EQ(items["80"]["text"], "Link");
    EXPECT_FALSE(items["80"].contains("min"));
    EXPECT_EQ(items["31"]["enabled"], false);
    EXPECT_EQ(items["190"]["font"], 0);
    EXPECT_FALSE(items["190"].contains("value"));
    EXPECT_EQ(items["5"]["rect"], nlohmann::ordered_json::parse("[10, 40, 160, 160]"));
    EXPECT_FALSE(items["3"].contains("text"));
    EXPECT_EQ(items["3"]["active"], 0);
    EXPECT_EQ(items["3"]["activeText"], " -- None -- ");
    EXPECT_EQ(items["3"]["entries"], 4);
    const nlohmann::ordered_json after = snapshotToJson(record().snapshots.at(1));
    EXPECT_EQ(after["after"], 0);
    EXPECT_EQ(after["items"]["3"]["activeText"], " Three");
    EXPECT_EQ(after["items"]["4"]["value"].dump(), "300");
}

TEST_F(HostDialogManager, RandomActionSequencesKeepEveryValueInRangeAndOneFocusAndOneActiveEntry) {
    std::mt19937 random(20261207u);
    const int32_t ids[] = {kOk, kCancel, kPopup, kCount, kList, kReal, kDependent, kBox, kLabel, kPage, 99};
    for (int round = 0; round < 50; ++round) {
        std::vector<DialogAction> actions;
        for (int i = 0; i < 40; ++i) {
            const int32_t item = ids[random() % std::size(ids)];
            switch (random() % 3) {
            case 0:
                actions.push_back(
                    typed(item, std::uniform_real_distribution<double>(-1000.0, 1000.0)(random)));
                break;
            case 1:
                actions.push_back(chosen(item, static_cast<int32_t>(random() % 6) - 1));
                break;
            default:
                actions.push_back(clicked(item));
            }
        }
        const int32_t result = play(actions);
        const DialogRecord& last = recorder.records().back();
        ASSERT_EQ(last.result, result);
        std::size_t notPlayed = 0;
        for (const auto& [index, reason] : last.refused)
            notPlayed += reason == "the dialog had already ended" ? 1 : 0;
        ASSERT_EQ(last.snapshots.size(), actions.size() - notPlayed + 1);
        for (const DialogSnapshot& snapshot : last.snapshots) {
            int focused = 0;
            for (const ItemState& item : snapshot.items) {
                focused += item.focus ? 1 : 0;
                EXPECT_GE(item.value, item.min.value_or(item.value)) << "item " << item.id;
                EXPECT_LE(item.value, item.max.value_or(item.value)) << "item " << item.id;
                EXPECT_EQ(item.isList, item.active.has_value()) << "item " << item.id;
            }
            EXPECT_LE(focused, 1);
        }
    }
    EXPECT_TRUE(host.dialogs().empty());
}

} // namespace
} // namespace zz
