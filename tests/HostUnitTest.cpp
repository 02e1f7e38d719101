// Host pieces whose behaviour is easy to get subtly wrong: the block store, fault rules, number <-> text, the
// dialog model's values and lists, and the settings record as JSON.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "host/suites/BlockStore.h"
#include "host/dialogs/DialogModel.h"
#include "host/suites/Faults.h"
#include "host/base/NumberText.h"
#include "host/suites/OperationCatalog.h"
#include "apps/script/SettingsJson.h"
#include "tests/SuiteNames.h"

namespace zz {
namespace {

// ---- block store ----

TEST(HostBlockStore, NewBlocksCarryTheFillPatternNameAndSizeInAllocationOrder) {
    BlockStore store;
    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(store.allocate(16, "globals", &first), kSPNoError);
    ASSERT_EQ(store.allocate(3, "other", &second), kSPNoError);
    ASSERT_NE(first, nullptr);
    const auto* bytes = static_cast<const unsigned char*>(first);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bytes[i], BlockStore::kFillByte) << "byte " << i;
    const auto live = store.live();
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0].name, "globals");
    EXPECT_EQ(live[0].size, 16u);
    EXPECT_EQ(live[1].name, "other");
    EXPECT_EQ(store.find("other")->address, second);
}

TEST(HostBlockStore, FreeingAnythingButALiveBlockIsRefusedAndFreesNothing) {
    BlockStore store;
    void* block = nullptr;
    ASSERT_EQ(store.allocate(8, "globals", &block), kSPNoError);
    int local = 0;
    EXPECT_EQ(store.free(&local), kSPBadHandleError);
    EXPECT_EQ(store.free(nullptr), kSPBadHandleError);
    EXPECT_EQ(store.free(static_cast<char*>(block) + 1), kSPBadHandleError); // inside, not the start
    EXPECT_TRUE(store.contains(block));
    EXPECT_EQ(store.free(block), kSPNoError);
    EXPECT_EQ(store.free(block), kSPBadHandleError); // twice
    EXPECT_TRUE(store.live().empty());
    EXPECT_EQ(store.find("globals"), nullptr);
}

TEST(HostBlockStore, ZeroSizeBlocksAreDistinctAndHugeRequestsFailWithOutOfMemory) {
    BlockStore store;
    void* a = nullptr;
    void* b = nullptr;
    ASSERT_EQ(store.allocate(0, "a", &a), kSPNoError);
    ASSERT_EQ(store.allocate(0, "b", &b), kSPNoError);
    EXPECT_NE(a, b);
    void* huge = reinterpret_cast<void*>(1);
    EXPECT_EQ(store.allocate(BlockStore::kMaxBlockSize + 1, "huge", &huge), kSPOutOfMemoryError);
    EXPECT_EQ(huge, nullptr);
    EXPECT_EQ(store.allocate(4, "x", nullptr), kSPBadParameterError);
    EXPECT_EQ(store.live().size(), 2u);
}

TEST(HostBlockStore, FindGivesTheOldestLiveBlockOfAName) {
    BlockStore store;
    void* first = nullptr;
    void* second = nullptr;
    ASSERT_EQ(store.allocate(4, "globals", &first), kSPNoError);
    ASSERT_EQ(store.allocate(4, "globals", &second), kSPNoError);
    ASSERT_NE(store.find("globals"), nullptr);
    EXPECT_EQ(store.find("globals")->address, first);
    ASSERT_EQ(store.free(first), kSPNoError);
    ASSERT_NE(store.find("globals"), nullptr);
    EXPECT_EQ(store.find("globals")->address, second);
}

// ---- fault rules ----

TEST(HostFaults, ARuleSkipsThenFailsTimesCallsThenPassesAgain) {
    FaultInjector faults;
    faults.add(FaultRule{"S", "Op", 7, /*skip*/ 2, /*times*/ 2});
    std::vector<SPErr> seen;
    for (int call = 0; call < 6; ++call)
        seen.push_back(faults.strike("S", "Op").value_or(0));
    EXPECT_EQ(seen, (std::vector<SPErr>{0, 0, 7, 7, 0, 0}));
}

TEST(HostFaults, TimesZeroFailsEveryCallFromTheSkipOn) {
    FaultInjector faults;
    faults.add(FaultRule{"S", "Op", -108, 1, 0});
    EXPECT_FALSE(faults.strike("S", "Op"));
    for (int call = 0; call < 50; ++call)
        EXPECT_EQ(faults.strike("S", "Op").value_or(0), -108);
}

TEST(HostFaults, RulesMatchSuiteAndOperationExactlyAndTheFirstStrikingRuleWins) {
    FaultInjector faults;
    faults.add(FaultRule{"S", "Op", 1, 1, 1});
    faults.add(FaultRule{"S", "Op", 2, 0, 0});
    EXPECT_FALSE(faults.strike("S", "Other"));
    EXPECT_FALSE(faults.strike("T", "Op"));
    EXPECT_EQ(faults.strike("S", "Op").value_or(0), 2); // rule 1 still skipping
    EXPECT_EQ(faults.strike("S", "Op").value_or(0), 1); // both strike: the first wins
    EXPECT_EQ(faults.strike("S", "Op").value_or(0), 2); // rule 1 used up
}

TEST(HostFaults, TheCatalogueNamesEverySuiteOfTheAcquisitionListAndTheirOperations) {
    // Every suite the plug-in acquires can be named by a fault rule, and only those and the basic suite.
    for (const char* suite : test::kSuitesInOrder) {
        const auto found = operationCatalog().find(suite);
        ASSERT_NE(found, operationCatalog().end()) << suite;
        EXPECT_FALSE(found->second.empty()) << suite;
    }
    EXPECT_TRUE(operationCatalog().count("SP Basic Suite"));
    EXPECT_TRUE(isCataloguedOperation("SP Blocks Suite", "AllocateBlock"));
    EXPECT_TRUE(isCataloguedOperation("ADM Icon Suite", "GetType"));
    EXPECT_TRUE(isCataloguedOperation("AI Tool Suite", "AddTool"));
    EXPECT_TRUE(isCataloguedOperation("SP Basic Suite", "ReleaseSuite"));
    EXPECT_FALSE(isCataloguedOperation("AI Tool Suite", "addTool"));
    EXPECT_FALSE(isCataloguedOperation("No Such Suite", "AddTool"));
    EXPECT_EQ(operationCatalog().size(), 1u + test::kSuiteCount); // the basic suite and the acquisition list
}

// ---- numbers and texts ----

TEST(HostNumberText, FormatsWithTheRequestedDecimalsAndNoSignOnZero) {
    EXPECT_EQ(formatNumber(-108.0f, 0), "-108");
    EXPECT_EQ(formatNumber(271.0f, 0), "271");
    EXPECT_EQ(formatNumber(2.25f, 1), "2.2"); // 2.25 is exact: round half to even
    EXPECT_EQ(formatNumber(1.0f / 3.0f, 2), "0.33");
    EXPECT_EQ(formatNumber(-0.4f, 0), "0");
    EXPECT_EQ(formatNumber(-0.001f, 2), "0.00");
    EXPECT_EQ(formatNumber(-1.5f, 0), "-2");
    EXPECT_EQ(formatNumber(3.0e38f, 0)->size(), 39u);
}

TEST(HostNumberText, RefusesNonFiniteValuesAndDecimalsOutOfRange) {
    EXPECT_FALSE(formatNumber(std::numeric_limits<float>::quiet_NaN(), 0));
    EXPECT_FALSE(formatNumber(std::numeric_limits<float>::infinity(), 2));
    EXPECT_FALSE(formatNumber(1.0f, -1));
    EXPECT_FALSE(formatNumber(1.0f, 11));
    EXPECT_TRUE(formatNumber(1.0f, 10));
}

TEST(HostNumberText, ParsesPlainDecimalsOnly) {
    EXPECT_EQ(parseNumber("-108"), -108.0f);
    EXPECT_EQ(parseNumber("  271"), 271.0f);
    EXPECT_EQ(parseNumber("+2.5"), 2.5f);
    EXPECT_EQ(parseNumber(".5"), 0.5f);
    EXPECT_EQ(parseNumber("5."), 5.0f);
    for (const char* bad : {"", "   ", "-", ".", "1e5", "SEGM", "12 ", "1.2.3", "--1", "inf", "nan", "0x10",
                            "99999999999999999999999999999999999999999"})
        EXPECT_FALSE(parseNumber(bad)) << '"' << bad << '"';
}

TEST(HostNumberText, PascalStringsCarryTheirLengthAndAreCutAt255) {
    unsigned char buffer[256];
    toPascal("-108", buffer);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(std::memcmp(buffer + 1, "-108", 4), 0);
    EXPECT_EQ(fromPascal(buffer), "-108");
    toPascal(std::string(300, 'x'), buffer);
    EXPECT_EQ(buffer[0], 255);
    EXPECT_EQ(fromPascal(buffer), std::string(255, 'x'));
    toPascal("", buffer);
    EXPECT_EQ(fromPascal(buffer), "");
}

// ---- dialog model ----

class HostDialogModel : public ::testing::Test {
  protected:
    AdmItem* make(int32_t id, const char* type) {
        return model.createItem(*dialog, id, type, ADMRect{0, 0, 10, 10});
    }
    DialogModel model;
    AdmDialog* dialog = &model.open("Test", 1, kADMModalDialogStyle, nullptr);
};

TEST_F(HostDialogModel, ValuesAreClampedIntoTheirRangeWhateverTheOrder) {
    AdmItem* field = make(4, kADMSpinEditType);
    field->value.set(500);
    field->value.setMin(1);
    field->value.setMax(400);
    EXPECT_EQ(field->value.get(), 400); // the range clamps a value set before it
    field->value.set(-3);
    EXPECT_EQ(field->value.get(), 1);
    field->value.set(2.5);
    EXPECT_EQ(field->value.get(), 2.5);
    field->value.set(std::nan(""));
    EXPECT_EQ(field->value.get(), 2.5); // NaN is refused
}

TEST_F(HostDialogModel, ARangeOfZeroToZeroPinsTheValueAndAnUpperBoundBelowTheLowerWins) {
    AdmItem* swatch = make(241, kADMSpinEditType);
    swatch->value.setMin(0);
    swatch->value.setMax(0);
    swatch->value.set(2);
    EXPECT_EQ(swatch->value.get(), 0);
    AdmItem* crossed = make(242, kADMSpinEditType);
    crossed->value.setMin(10);
    crossed->value.setMax(5);
    crossed->value.set(7);
    EXPECT_EQ(crossed->value.get(), 5);
}

TEST_F(HostDialogModel, NumericFieldsShowTheirValueWithTheirPrecision) {
    AdmItem* field = make(40, kADMSpinEditType);
    field->value.set(12.345);
    field->precision = 2;
    EXPECT_EQ(field->shownText(), "12.35");
    field->precision = -1;
    field->value.set(10);
    EXPECT_EQ(field->shownText(), "10");
    AdmItem* label = make(190, kADMTextStaticType);
    label->text = "Zigzag elements";
    EXPECT_EQ(label->shownText(), "Zigzag elements");
}

TEST_F(HostDialogModel, ItemIdsAreUniqueAndUnknownTypesAreRefused) {
    EXPECT_NE(make(5, kADMListBoxType), nullptr);
    EXPECT_EQ(make(5, kADMTextStaticType), nullptr);
    EXPECT_EQ(make(6, "ADM Nonsense Type"), nullptr);
    EXPECT_NE(model.createItem(*dialog, 5, kADMTextStaticType, ADMRect{}, /*sharedId*/ true), nullptr);
}

TEST_F(HostDialogModel, ListsKeepOneActiveEntryAndInsertOnlyWithinBounds) {
    AdmItem* popup = make(3, kADMPopupListType);
    ASSERT_NE(popup->list, nullptr);
    EXPECT_EQ(make(4, kADMSpinEditType)->list, nullptr);
    AdmList& list = *popup->list;
    EXPECT_EQ(model.insertEntry(list, 1), nullptr);
    AdmEntry* a = model.insertEntry(list, 0);
    AdmEntry* c = model.insertEntry(list, 1);
    AdmEntry* b = model.insertEntry(list, 1);
    EXPECT_EQ(model.insertEntry(list, -1), nullptr);
    EXPECT_EQ(list.indexOf(a), 0);
    EXPECT_EQ(list.indexOf(b), 1);
    EXPECT_EQ(list.indexOf(c), 2);
    EXPECT_EQ(list.active(), nullptr);
    DialogModel::select(*b, true);
    DialogModel::select(*c, true);
    EXPECT_FALSE(b->selected);
    EXPECT_EQ(list.active(), c);
    DialogModel::select(*c, false);
    EXPECT_EQ(list.active(), nullptr);
}

TEST_F(HostDialogModel, HandlesOfAClosedDialogAreRefused) {
    AdmItem* popup = make(3, kADMPopupListType);
    AdmList* list = popup->list.get();
    AdmEntry* entry = model.insertEntry(*list, 0);
    EXPECT_EQ(model.item(toRef(popup)), popup);
    EXPECT_EQ(model.entry(toRef(entry)), entry);
    model.close(*dialog);
    EXPECT_EQ(model.dialog(toRef(dialog)), nullptr);
    EXPECT_EQ(model.item(toRef(popup)), nullptr);
    EXPECT_EQ(model.list(toRef(list)), nullptr);
    EXPECT_EQ(model.entry(toRef(entry)), nullptr);
    EXPECT_TRUE(model.empty());
}

TEST_F(HostDialogModel, DefaultHandlingEndsTheDialogOnlyForTheOkAndCancelButtons) {
    AdmItem* label = make(1, kADMTextStaticType);
    DialogModel::defaultNotify(*label);
    EXPECT_FALSE(dialog->endedWith);
    AdmItem* other = make(300, kADMPicturePushButtonType);
    DialogModel::defaultNotify(*other);
    EXPECT_FALSE(dialog->endedWith);
    AdmItem* cancel = make(2, kADMTextPushButtonType);
    model.notify(*cancel, kADMUserChangedNotifier); // no notify procedure: default handling
    EXPECT_EQ(dialog->endedWith, 2);
}

AdmNotification* gSeen = nullptr;
std::string gSeenType;
DialogModel* gModel = nullptr;
void SPAPI recordNotify(ADMItemRef, ADMNotifierRef notifier) {
    gSeen = gModel->notification(notifier);
    gSeenType = gSeen ? gSeen->type : "";
}

TEST_F(HostDialogModel, ANotifyProcedureReceivesALiveNotificationOfTheSentType) {
    AdmItem* ok = make(1, kADMTextPushButtonType);
    ok->notifyProc = recordNotify;
    gSeen = nullptr; // nothing left over from an earlier run of this test
    gSeenType.clear();
    gModel = &model;
    model.notify(*ok, "Custom Notifier");
    EXPECT_NE(gSeen, nullptr);
    EXPECT_EQ(gSeenType, "Custom Notifier");
    EXPECT_FALSE(dialog->endedWith); // the procedure did not ask for the default handling
    EXPECT_EQ(model.notification(toRef(gSeen)), nullptr); // gone once the notification returned
}

// ---- the settings record as JSON ----

TEST(HostSettingsJson, FloatsReadBackExactlyAndNonFiniteOnesAreNamed) {
    EXPECT_EQ(floatToJson(0.1f).dump(), "0.1");
    EXPECT_EQ(floatToJson(-999.0f).dump(), "-999.0");
    EXPECT_EQ(floatToJson(std::numeric_limits<float>::quiet_NaN()), "nan");
    EXPECT_EQ(floatToJson(-std::numeric_limits<float>::infinity()), "-inf");
    EXPECT_EQ(floatFromJson(floatToJson(0.003921569f)), 0.003921569f);
    EXPECT_TRUE(std::isinf(*floatFromJson("inf")));
    EXPECT_FALSE(floatFromJson(1e300)); // would become infinite
    EXPECT_FALSE(floatFromJson("infinity"));
}

TEST(HostSettingsJson, TheRecordIsReportedInFieldOrderWithTheTemplateUpToItsMarker) {
    ToolSettings settings;
    std::memset(&settings, 0, sizeof settings);
    settings.zigzagElements = 10;
    settings.alternateAngle = 180.0f;
    const float design[] = {0.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1.0f, kDesignEndMarker, 7.0f};
    std::memcpy(settings.designTemplate, design, sizeof design);
    const auto out = settingsToJson(settings);
    std::vector<std::string> names;
    for (const auto& [name, value] : out.items())
        names.push_back(name);
    EXPECT_EQ(names, settingsFieldNames());
    EXPECT_EQ(names.front(), "weavePlaceMode");
    EXPECT_EQ(names.back(), "dragPointY");
    EXPECT_TRUE(out["zigzagElements"].is_number_integer());
    EXPECT_EQ(out["alternateAngle"], 180.0);
    EXPECT_EQ(out["designTemplate"].dump(), "[0.0,0.0,1.0,0.5,0.0,1.0,-999.0]");
    EXPECT_FALSE(out.contains("toolHandle"));
    EXPECT_FALSE(out.contains("hostBasicSuite"));
}

TEST(HostSettingsJson, PatchesAreCheckedByNameAndKindBeforeAnythingIsWritten) {
    using nlohmann::json;
    EXPECT_FALSE(
        checkSettingsPatch(json{{"zigzagElements", 3}, {"dragEventCounter", "nan"}, {"trailCursor", true}}));
    EXPECT_NE(checkSettingsPatch(json{{"zigzagElement", 3}})->find("zigzagElement"), std::string::npos);
    EXPECT_TRUE(checkSettingsPatch(json{{"zigzagElements", 2.5}}));
    EXPECT_TRUE(checkSettingsPatch(json{{"zigzagElements", 4294967296LL}}));
    EXPECT_TRUE(checkSettingsPatch(json{{"initialAngle", "x"}}));
    EXPECT_TRUE(checkSettingsPatch(json{{"toolHandle", 0}}));
    EXPECT_TRUE(checkSettingsPatch(json{{"designTemplate", json::array({1, "a"})}}));
    EXPECT_TRUE(checkSettingsPatch(json::array()));

    ToolSettings settings;
    std::memset(&settings, 0, sizeof settings);
    applySettingsPatch(settings, json{{"zigzagElements", 3},
                                      {"initialAngle", -45.5},
                                      {"trailCursor", true},
                                      {"designTemplate", json::array({0.25, 0.5})}});
    EXPECT_EQ(settings.zigzagElements, 3);
    EXPECT_EQ(settings.initialAngle, -45.5f);
    EXPECT_EQ(settings.trailCursor, 1);
    EXPECT_EQ(settings.designTemplate[0], 0.25f);
    EXPECT_EQ(settings.designTemplate[1], 0.5f);
    EXPECT_EQ(settings.designTemplate[2], 0.0f);
}

} // namespace
} // namespace zz
