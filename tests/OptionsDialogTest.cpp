// The options dialog against the fake dialog model: the items it makes and how, the pages, the items that
// enable one another, OK, Cancel and the presets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "PluginFakeSuites.h"
#include "plugin/dialog/OptionsDialog.h"
#include "plugin/settings/ToolSettings.h"

namespace {

using namespace pluginfakes;

constexpr int32_t kCreationOrder[] = {
    4,   10,  11,  12,  14,  13,  15,  16,  17,  83,  84,  85,  86,  30,  31,  32,  33,  36,
    34,  35,  40,  41,  42,  43,  44,  45,  46,  190, 191, 192, 193, 194, 195, 210, 211, 196,
    197, 198, 200, 199, 201, 202, 203, 204, 205, 3,   5,   6,   91,  81,  79,  59,  80,  69,
    70,  88,  89,  90,  63,  65,  74,  50,  51,  52,  66,  75,  76,  77,  58,  67,  68,  78,
    54,  55,  60,  64,  53,  87,  56,  57,  61,  62,  71,  72,  73,  1,   2,   240, 241, 242,
    243, 244, 245, 246, 300, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311, 312, 313};

// The items of each page, and those shown on every page.
const std::vector<std::vector<int32_t>> kPages = {
    {4, 190, 5, 6, 79, 59, 80},
    {10, 11, 191, 12, 14, 13, 15, 16, 17, 69, 70, 192, 193, 194, 195, 83, 84, 85, 86, 210, 211},
    {31, 32, 33, 34, 35, 36, 30, 197, 196, 198, 199, 200, 88, 89, 90, 91, 81},
    {40, 41, 42, 43, 44, 45, 46, 201, 202, 203, 204, 205, 63, 65, 74},
    {240, 243, 246, 241, 242, 244, 245},
    {50, 51, 52, 75, 76, 77, 66, 67, 68, 78, 58},
    {57, 87, 64, 53, 54, 55, 60, 56, 61, 62, 71, 72, 73}};
const std::vector<int32_t> kAlwaysShown = {300, 301, 302, 303, 304, 305, 306, 307, 308,
                                           309, 310, 311, 312, 313, 1,   2,   3};
const std::vector<int32_t> kReflectionItems = {31, 32, 33, 34, 35, 36, 88, 91, 81};

class OptionsDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        resetFakeHost();
        installDialogSuites();
        std::memset(&record, kBlockFillByte, sizeof record);
        writeDefaultSettings(record);
        globalsBlock = &record;
    }
    void TearDown() override {
        globalsBlock = nullptr;
        resetFakeHost();
    }
    void open() {
        fake.items.clear();
        fake.createdItems.clear();
        fake.admCalls.clear();
        ASSERT_EQ(initOptionsDialog(fakeDialog()), kSPNoError);
    }
    // The calls made on `id` from its creation up to the first call on another item.
    std::vector<std::string> configurationOf(int32_t id) {
        std::vector<std::string> calls;
        const std::string created = "CreateItem " + std::to_string(id);
        for (auto at = std::find(fake.admCalls.begin(), fake.admCalls.end(), created);
             at != fake.admCalls.end(); ++at) {
            std::string rest = at->substr(at->find(' ') + 1);
            if (rest.substr(0, rest.find(' ')) != std::to_string(id)) break;
            calls.push_back(*at);
        }
        return calls;
    }
    std::set<int32_t> visibleItems() {
        std::set<int32_t> shown;
        for (const auto& [id, item] : fake.items)
            if (item.created && item.visible) shown.insert(id);
        return shown;
    }
    std::set<int32_t> pageAndAlwaysShown(int page) {
        std::set<int32_t> expected(kAlwaysShown.begin(), kAlwaysShown.end());
        expected.insert(kPages[page - 1].begin(), kPages[page - 1].end());
        return expected;
    }
    std::vector<int32_t> boldLabels() {
        std::vector<int32_t> bold;
        for (int32_t id = 307; id <= 313; ++id)
            if (fake.items[id].font == kADMDialogFontBold) bold.push_back(id);
        return bold;
    }
    ToolSettings record;
};

// ---- layout ----

TEST_F(OptionsDialog, MakesAll108ItemsInTheirOrderOnA500By375Dialog) {
    open();
    EXPECT_EQ(fake.dialogWidth, 500);
    EXPECT_EQ(fake.dialogHeight, 375);
    EXPECT_EQ(fake.createdItems, std::vector<int32_t>(std::begin(kCreationOrder), std::end(kCreationOrder)));
    std::map<std::string, int> kinds;
    int floatSpins = 0;
    for (int32_t id : fake.createdItems) {
        ++kinds[fake.items[id].type];
        if (fake.items[id].type == kADMSpinEditType && fake.items[id].precision == 2 && id != 45 && id != 46)
            ++floatSpins;
    }
    EXPECT_EQ(kinds[kADMSpinEditType], 31);
    EXPECT_EQ(floatSpins, 22);
    EXPECT_EQ(kinds[kADMTextCheckBoxType], 35);
    EXPECT_EQ(kinds[kADMPopupListType], 6);
    EXPECT_EQ(kinds[kADMListBoxType], 2);
    EXPECT_EQ(kinds[kADMPicturePushButtonType], 7);
    EXPECT_EQ(kinds[kADMTextPushButtonType], 2);
    EXPECT_EQ(kinds[kADMTextStaticType], 25);
}

struct ItemRow {
    int32_t id;
    const char* type;
    ADMRect rect;
    const char* text;
};

TEST_F(OptionsDialog, ItemsHaveTheirKindRectangleAndText) {
    const ItemRow rows[] = {
        {4, kADMSpinEditType, {190, 250, 250, 270}, ""},
        {10, kADMSpinEditType, {190, 80, 250, 100}, ""},
        {205, kADMTextStaticType, {10, 168, 185, 188}, "Max points/zigzag"},
        {3, kADMPopupListType, {350, 350, 450, 370}, ""},
        {5, kADMListBoxType, {10, 60, 240, 230}, ""},
        {6, kADMListBoxType, {250, 60, 480, 230}, ""},
        {89, kADMTextCheckBoxType, {10, 248, 490, 261}, "Reflect horizontal [R]"},
        {60, kADMTextCheckBoxType, {10, 114, 490, 128}, "Trail cursor - keep generated zigzags"},
        {1, kADMTextPushButtonType, {90, 350, 170, 370}, "OK"},
        {2, kADMTextPushButtonType, {180, 350, 260, 370}, "Cancel"},
        {246, kADMPopupListType, {10, 140, 180, 160}, ""},
        {300, kADMPicturePushButtonType, {10, 5, 60, 35}, ""},
        {306, kADMPicturePushButtonType, {430, 5, 480, 35}, ""},
        {310, kADMTextStaticType, {220, 40, 289, 55}, "Transform"},
        {313, kADMTextStaticType, {430, 40, 499, 55}, "Settings1"},
    };
    open();
    for (const ItemRow& row : rows) {
        const FakeItem& item = fake.items[row.id];
        EXPECT_EQ(item.type, row.type) << row.id;
        EXPECT_EQ(std::vector<int32_t>({item.rect.left, item.rect.top, item.rect.right, item.rect.bottom}),
                  std::vector<int32_t>({row.rect.left, row.rect.top, row.rect.right, row.rect.bottom}))
            << row.id;
        EXPECT_EQ(item.text, row.text) << row.id;
    }
}

struct SpinRow {
    int32_t id;
    double min, max;
    int32_t precision; // -1: left to the host
    double value;
};

TEST_F(OptionsDialog, SpinEditsHaveNoUnitsTheirRangeDecimalsAndTheRecordsValue) {
    fake.swatchCount = 5;
    record.curve2Y = -12.5f;
    record.fillCycleLength = 1000;
    const SpinRow rows[] = {
        {4, 1, 400, -1, 10},     {17, 1, 99, -1, 99},   {30, 0, 100, -1, 0},  {45, 0, 100, 2, 0},
        {46, 1, 9999, 2, 9999},  {10, -500, 500, 2, 0}, {16, 1, 200, 2, 100}, {86, -500, 500, 2, -12.5},
        {33, -360, 360, 2, 180}, {43, 0, 500, 2, 0},    {241, 0, 5, -1, 2},   {242, 0, 1000, -1, 1000},
        {244, 0, 5, -1, 2},      {245, 0, 1000, -1, 0},
    };
    open();
    for (const SpinRow& row : rows) {
        const FakeItem& item = fake.items[row.id];
        EXPECT_EQ(item.units, kADMNoUnits) << row.id;
        EXPECT_EQ(item.min, row.min) << row.id;
        EXPECT_EQ(item.max, row.max) << row.id;
        EXPECT_EQ(item.precision, row.precision) << row.id;
        EXPECT_EQ(item.value, row.value) << row.id;
    }
    for (int32_t id : fake.createdItems)
        if (fake.items[id].type == kADMSpinEditType) {
            EXPECT_EQ(fake.items[id].units, kADMNoUnits) << id;
        }
}

TEST_F(OptionsDialog, EachKindIsConfiguredInItsOrderRightAfterItIsMade) {
    record.numberOfReflections = 3;
    open();
    EXPECT_EQ(configurationOf(4),
              std::vector<std::string>({"CreateItem 4", "SetUnits 4 0", "SetMinIntValue 4 1",
                                        "SetMaxIntValue 4 400", "SetIntValue 4 10"}));
    EXPECT_EQ(configurationOf(10),
              std::vector<std::string>({"CreateItem 10", "SetUnits 10 0", "SetMinFloatValue 10 -500",
                                        "SetMaxFloatValue 10 500", "SetFloatValue 10 0", "SetPrecision 10 2",
                                        "Show 10 0"}));
    EXPECT_EQ(configurationOf(30),
              std::vector<std::string>({"CreateItem 30", "SetUnits 30 0", "SetMinIntValue 30 0",
                                        "SetMaxIntValue 30 100", "SetIntValue 30 3", "SetNotifyProc 30",
                                        "Show 30 0"}));
    EXPECT_EQ(configurationOf(46),
              std::vector<std::string>({"CreateItem 46", "SetUnits 46 0", "SetMinIntValue 46 1",
                                        "SetMaxIntValue 46 9999", "SetIntValue 46 9999", "SetPrecision 46 2",
                                        "Show 46 0"}));
    EXPECT_EQ(configurationOf(80), std::vector<std::string>({"CreateItem 80", "SetBooleanValue 80 0",
                                                             "SetText 80", "SetNotifyProc 80"}));
    EXPECT_EQ(configurationOf(1), std::vector<std::string>({"CreateItem 1", "SetNotifyProc 1", "SetText 1"}));
    EXPECT_EQ(configurationOf(3), std::vector<std::string>({"CreateItem 3", "SetNotifyProc 3"}));
    EXPECT_EQ(configurationOf(91), std::vector<std::string>({"CreateItem 91"})); // visible, filled later
    EXPECT_EQ(configurationOf(5), std::vector<std::string>({"CreateItem 5", "SetItemStyle 5 2"}));
    EXPECT_EQ(configurationOf(313), std::vector<std::string>({"CreateItem 313", "SetText 313"}));
    // The Style popups are hidden before their entries go in, then the record's entry is selected.
    const std::vector<std::string> fill = configurationOf(240);
    ASSERT_EQ(fill.size(), 3u + 15u + 1u);
    EXPECT_EQ(
        std::vector<std::string>(fill.begin(), fill.begin() + 4),
        std::vector<std::string>({"CreateItem 240", "SetNotifyProc 240", "Show 240 0", "InsertEntry 240 0"}));
    EXPECT_EQ(fill.back(), "Select 240 0");
    const std::vector<std::string> pattern = configurationOf(246);
    EXPECT_EQ(std::vector<std::string>(pattern.begin(), pattern.begin() + 3),
              std::vector<std::string>({"CreateItem 246", "Show 246 0", "InsertEntry 246 0"}));
}

TEST_F(OptionsDialog, ListsHoldTheirEntriesWithIdsEqualToPositions) {
    open();
    auto texts = [](int32_t id) {
        std::vector<std::string> result;
        int32_t position = 0;
        for (const FakeEntry& entry : fake.items[id].entries) {
            EXPECT_EQ(entry.id, position++) << id;
            result.push_back(entry.text);
        }
        return result;
    };
    const std::vector<std::string> presets = texts(3);
    ASSERT_EQ(presets.size(), 37u);
    EXPECT_EQ(presets[0], " -- Reset -- ");
    EXPECT_EQ(presets[1], " Preset 001");
    EXPECT_EQ(presets[30], " Preset 030");
    EXPECT_EQ(presets[31], " Weave preset 1");
    EXPECT_EQ(presets[36], " Weave preset 6");

    std::vector<std::string> fill = texts(240), stroke = texts(243);
    ASSERT_EQ(fill.size(), 15u);
    EXPECT_EQ(fill[0], " Fill color - Ignore");
    EXPECT_EQ(stroke[0], " Stroke color - Ignore");
    EXPECT_EQ(fill[14], " 10% reduction");
    fill.erase(fill.begin());
    stroke.erase(stroke.begin());
    EXPECT_EQ(fill, stroke);

    EXPECT_EQ(texts(246),
              std::vector<std::string>({" Pattern / tile - Ignore", " Use document center", " Use end point",
                                        " Use start point", " Use original path"}));
    EXPECT_EQ(texts(91),
              std::vector<std::string>({" Repeat color - ignore", " Alternate invert", " Alternate black",
                                        " Alternate reduced", " Alternate doubled"}));
    const std::vector<std::string> weave = texts(81);
    ASSERT_EQ(weave.size(), 9u);
    EXPECT_EQ(weave[1], " Place beneath all ");
    EXPECT_EQ(weave[2], " Weave 01 ");
    EXPECT_EQ(weave[8], " Weave 07");
}

TEST_F(OptionsDialog, DesignListsShowEveryDesignWithItsThumbnail) {
    open();
    for (int32_t id : {5, 6}) {
        const FakeItem& list = fake.items[id];
        EXPECT_EQ(list.entryHeight, 40);
        EXPECT_EQ(list.style, kADMSingleSelectListBoxStyle);
        ASSERT_EQ(list.entries.size(), 67u);
        std::vector<const FakeEntry*> entries;
        for (const FakeEntry& entry : list.entries)
            entries.push_back(&entry);
        EXPECT_EQ(entries[0]->text, "  Zigzag - Arrow (01)");
        EXPECT_EQ(entries[66]->text, "  Zigzag - Line4");
        for (int32_t k = 0; k < 67; ++k) {
            EXPECT_EQ(entries[k]->id, k);
            EXPECT_EQ(entries[k]->picture, k <= 62 ? 100 + k : 162) << k;
        }
    }
}

// ---- opening ----

TEST_F(OptionsDialog, AFirstOpeningShowsTheZigzagPageWithTheFirstEntriesAndTheFocusOnTheElements) {
    open();
    EXPECT_EQ(visibleItems(), pageAndAlwaysShown(1));
    EXPECT_EQ(boldLabels(), std::vector<int32_t>({307}));
    for (int32_t id = 308; id <= 313; ++id)
        EXPECT_EQ(fake.items[id].font, kADMDefaultFont);
    for (int32_t id : {3, 5, 6, 91, 81, 240, 243, 246})
        EXPECT_EQ(activeEntryOf(id), 0) << id;
    EXPECT_TRUE(fake.items[4].active);
    EXPECT_TRUE(fake.items[4].textSelected);
    EXPECT_EQ(record.optionsPage, 1);
    // Defaults: no reflections, no link, both colour modes "Ignore".
    for (int32_t id : kReflectionItems)
        EXPECT_FALSE(fake.items[id].enabled) << id;
    for (int32_t id : {241, 242, 244, 245})
        EXPECT_FALSE(fake.items[id].enabled) << id;
    EXPECT_TRUE(fake.items[6].enabled);
    EXPECT_TRUE(fake.items[89].enabled);
    EXPECT_TRUE(fake.items[90].enabled);
}

TEST_F(OptionsDialog, OpensOnThePageShownLastAndOnTheZigzagPageForAnyOtherValue) {
    record.optionsPage = 3;
    open();
    EXPECT_EQ(visibleItems(), pageAndAlwaysShown(3));
    EXPECT_EQ(boldLabels(), std::vector<int32_t>({309}));
    EXPECT_TRUE(fake.items[4].active); // focused before its page was hidden
    EXPECT_FALSE(fake.items[4].visible);
    for (int32_t page : {0, 8, -1}) {
        record.optionsPage = page;
        open();
        EXPECT_EQ(visibleItems(), pageAndAlwaysShown(1)) << page;
        EXPECT_EQ(record.optionsPage, 1);
    }
}

TEST_F(OptionsDialog, OpensWithTheDependentItemsFollowingTheRecord) {
    record.numberOfReflections = 2;
    record.linkZigzag2To1 = 1;
    record.fillColorMode = 11;
    record.strokeColorMode = 7;
    open();
    for (int32_t id : kReflectionItems)
        EXPECT_TRUE(fake.items[id].enabled) << id;
    EXPECT_FALSE(fake.items[6].enabled);
    EXPECT_TRUE(fake.items[241].enabled);
    EXPECT_FALSE(fake.items[242].enabled);
    EXPECT_FALSE(fake.items[244].enabled);
    EXPECT_TRUE(fake.items[245].enabled);
}

TEST_F(OptionsDialog, AListPositionWithoutAnEntryLeavesItsFieldAsItWas) {
    record.fillColorMode = 15;
    record.designIndex1 = 67;
    open();
    EXPECT_EQ(activeEntryOf(240), -1);
    EXPECT_EQ(record.fillColorMode, 15);
    userClicks(5);
    EXPECT_EQ(record.designIndex1, 67);
}

// ---- notifiers ----

TEST_F(OptionsDialog, APageButtonShowsItsPageAloneAndBoldsItsLabel) {
    open();
    userClicks(304);
    EXPECT_EQ(visibleItems(), pageAndAlwaysShown(5));
    EXPECT_EQ(boldLabels(), std::vector<int32_t>({311}));
    EXPECT_EQ(record.optionsPage, 5);
    userClicks(304);
    EXPECT_EQ(visibleItems(), pageAndAlwaysShown(5));
    for (int page = 1; page <= 7; ++page) {
        userClicks(299 + page);
        EXPECT_EQ(visibleItems(), pageAndAlwaysShown(page)) << page;
        EXPECT_EQ(record.optionsPage, page);
    }
}

TEST_F(OptionsDialog, SwitchingPagesChangesNoValueAndNoEnabledState) {
    record.fillColorMode = 6;
    open();
    std::map<int32_t, FakeItem> before;
    for (int32_t id : fake.createdItems)
        before[id] = fake.items[id];
    userClicks(305);
    for (int32_t id : fake.createdItems) {
        EXPECT_EQ(fake.items[id].value, before[id].value) << id;
        EXPECT_EQ(fake.items[id].enabled, before[id].enabled) << id;
    }
}

TEST_F(OptionsDialog, TheNumberOfReflectionsEnablesTheReflectionItemsAtOnce) {
    open();
    userSets(30, 1);
    EXPECT_EQ(record.numberOfReflections, 1);
    for (int32_t id : kReflectionItems)
        EXPECT_TRUE(fake.items[id].enabled) << id;
    userSets(30, 0);
    EXPECT_EQ(record.numberOfReflections, 0);
    for (int32_t id : kReflectionItems)
        EXPECT_FALSE(fake.items[id].enabled) << id;
    for (int32_t id : {30, 89, 90, 196, 197})
        EXPECT_TRUE(fake.items[id].enabled) << id;
}

TEST_F(OptionsDialog, LinkingTheDesignsDisablesTheSecondListAndStaysAfterCancel) {
    open();
    userSets(80, 1);
    EXPECT_FALSE(fake.items[6].enabled);
    EXPECT_EQ(record.linkZigzag2To1, 1);
    userClicks(kADMCancelItemID);
    EXPECT_EQ(fake.endedWith, kADMCancelItemID);
    EXPECT_EQ(record.linkZigzag2To1, 1);
    userSets(80, 0);
    EXPECT_TRUE(fake.items[6].enabled);
}

TEST_F(OptionsDialog, EveryColourModeEnablesItsSwatchAndCycleFields) {
    // mode -> (swatch index enabled, cycle length enabled)
    const std::map<int32_t, std::pair<bool, bool>> rules = {
        {0, {false, false}},  {1, {false, true}},  {2, {false, true}},   {3, {false, false}},
        {4, {false, false}},  {5, {false, true}},  {6, {true, true}},    {7, {false, true}},
        {8, {false, true}},   {9, {false, false}}, {10, {false, false}}, {11, {true, false}},
        {12, {false, false}}, {13, {false, true}}, {14, {false, false}}};
    open();
    for (const auto& [mode, enabled] : rules) {
        userChooses(240, mode);
        EXPECT_EQ(record.fillColorMode, mode);
        EXPECT_EQ(fake.items[241].enabled, enabled.first) << mode;
        EXPECT_EQ(fake.items[242].enabled, enabled.second) << mode;
        userChooses(243, mode);
        EXPECT_EQ(record.strokeColorMode, mode);
        EXPECT_EQ(fake.items[244].enabled, enabled.first) << mode;
        EXPECT_EQ(fake.items[245].enabled, enabled.second) << mode;
    }
}

TEST_F(OptionsDialog, ChangingTheStrokeModeStoresTheFillModeThePopupShows) {
    open();
    // The popup changes without its notification reaching the record ...
    fake.items[240].entries.front().selected = false;
    std::next(fake.items[240].entries.begin(), 6)->selected = true;
    EXPECT_EQ(record.fillColorMode, 0);
    // ... until the stroke popup notifies.
    userChooses(243, 2);
    EXPECT_EQ(record.fillColorMode, 6);
    EXPECT_TRUE(fake.items[241].enabled);
}

TEST_F(OptionsDialog, ChoosingADesignStoresItAtOnceAndCancelKeepsIt) {
    open();
    userChooses(5, 7);
    EXPECT_EQ(record.designIndex1, 7);
    EXPECT_EQ(record.designIndex2, 0);
    userChooses(6, 66);
    EXPECT_EQ(record.designIndex2, 66);
    userClicks(kADMCancelItemID);
    EXPECT_EQ(record.designIndex1, 7);
    EXPECT_EQ(record.designIndex2, 66);
}

// ---- OK and Cancel ----

TEST_F(OptionsDialog, OkWithoutChangesStoresWhatTheDialogOpenedWith) {
    record.curve1X = 12.25f;
    record.randomWarp = 1;
    record.patternMode = 3;
    record.scalingPattern2B = 150.0f;
    ToolSettings before = record;
    open();
    userClicks(kADMDefaultItemID);
    EXPECT_EQ(fake.endedWith, kADMDefaultItemID);
    before.scalingPattern2BFactor = 150.0f * 0.01f;
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    EXPECT_EQ(record.scalingPattern1AFactor, 1.0f);
    EXPECT_FLOAT_EQ(record.scalingPattern2BFactor, 1.5f);
}

TEST_F(OptionsDialog, OkReadsEveryItemVisibleOrNotAndDerivesTheFactors) {
    open();
    userSets(4, 25);             // Zigzag page
    fake.items[12].value = 50.0; // Points page, never shown
    fake.items[16].value = 200.0;
    fake.items[45].value = 7.0;  // Transform page
    fake.items[67].value = 1.0;  // Settings page
    fake.items[241].value = 4.0; // disabled while the fill mode is "Ignore"
    userChooses(81, 3);
    userChooses(246, 4);
    userClicks(kADMDefaultItemID);
    EXPECT_EQ(record.zigzagElements, 25);
    EXPECT_EQ(record.scalingPattern1A, 50.0f);
    EXPECT_EQ(record.scalingPattern1AFactor, 0.5f);
    EXPECT_EQ(record.horizontalGroupScalingFactor, 2.0f);
    EXPECT_EQ(record.applySlowdown, 7);
    EXPECT_EQ(record.symbolizeZigzag, 1);
    EXPECT_EQ(record.fillSwatchIndex, 4);
    EXPECT_EQ(record.weavePlaceMode, 3);
    EXPECT_EQ(record.patternMode, 4);
}

TEST_F(OptionsDialog, OkLeavesTheSecondDesignAndThePresetToTheirNotifiers) {
    open();
    // Entries that change without a notification are not read by OK.
    std::next(fake.items[6].entries.begin(), 9)->selected = true;
    fake.items[6].entries.front().selected = false;
    std::next(fake.items[3].entries.begin(), 4)->selected = true;
    fake.items[3].entries.front().selected = false;
    userClicks(kADMDefaultItemID);
    EXPECT_EQ(record.designIndex2, 0);
    EXPECT_EQ(record.presetIndex, 0);
}

TEST_F(OptionsDialog, CancelKeepsOnlyWhatTheNotifiersWrote) {
    open();
    userSets(4, 99);
    userSets(30, 4);
    userChooses(240, 8);
    userClicks(304);
    userClicks(kADMCancelItemID);
    EXPECT_EQ(fake.endedWith, kADMCancelItemID);
    EXPECT_EQ(record.zigzagElements, 10);
    EXPECT_EQ(record.numberOfReflections, 4);
    EXPECT_EQ(record.fillColorMode, 8);
    EXPECT_EQ(record.optionsPage, 5);
}

// ---- presets ----

using Change = std::function<void(ToolSettings&)>;

// What each entry changes on top of the defaults.
const std::map<int32_t, Change> kPresetEffects = {
    {0, [](ToolSettings&) {}},
    {1, [](ToolSettings& s) { s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1; }},
    {2,
     [](ToolSettings& s) {
         s.patternMode = 1, s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1;
     }},
    {3, [](ToolSettings& s) { s.designIndex1 = 2, s.linkZigzag2To1 = 1; }},
    {4, [](ToolSettings& s) { s.designIndex1 = 4, s.linkZigzag2To1 = 1; }},
    {5, [](ToolSettings& s) { s.fillColorMode = 3, s.designIndex1 = 4, s.linkZigzag2To1 = 1; }},
    {6,
     [](ToolSettings& s) {
         s.fillColorMode = 7, s.designIndex1 = 4, s.linkZigzag2To1 = 1, s.separateElements = 1,
         s.closedPath = 1;
     }},
    {7,
     [](ToolSettings& s) {
         s.fillColorMode = 6, s.fillSwatchIndex = 12, s.designIndex1 = 4, s.linkZigzag2To1 = 1;
         s.separateElements = 1, s.closedPath = 1;
     }},
    {8, [](ToolSettings& s) { s.fillColorMode = 12, s.separateElements = 1, s.closedPath = 1; }},
    {9, [](ToolSettings& s) { s.numberOfReflections = 5; }},
    {10, [](ToolSettings& s) { s.numberOfReflections = 7, s.reflectShiftY = 30.0f; }},
    {11, [](ToolSettings& s) { s.numberOfReflections = 7, s.reflectShiftY = 30.0f, s.reflectVertical = 1; }},
    {12,
     [](ToolSettings& s) {
         s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1, s.jitterFill = 1;
     }},
    {13, [](ToolSettings& s) { s.curve1X = 50.0f; }},
    {14, [](ToolSettings& s) { s.zigzagElements = 30; }},
    {15, [](ToolSettings& s) { s.dropShadow = 1; }},
    {16, [](ToolSettings& s) { s.initialAngle = 45.0f; }},
    {17, [](ToolSettings& s) { s.randomWarp = 1; }},
    {18,
     [](ToolSettings& s) {
         s.randomCreateElements = 1, s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1;
     }},
    {19, [](ToolSettings& s) { s.alternateMirror = 1; }},
    {20, [](ToolSettings& s) { s.flattenAlternate = 1; }},
    {21, [](ToolSettings& s) { s.designIndex1 = 4, s.linkZigzag2To1 = 1, s.flattenAlternate = 1; }},
    {22, [](ToolSettings& s) { s.trailCursor = 1; }},
    {23, [](ToolSettings& s) { s.trailCursor = 1, s.randomOpacity = 1, s.applySlowdown = 10; }},
    // The percentage and the factor the drag draws with go together.
    {24, [](ToolSettings& s) { s.horizontalGroupScaling = 50.0f, s.horizontalGroupScalingFactor = 0.5f; }},
    {25, [](ToolSettings& s) { s.fillColorMode = 10, s.separateElements = 1, s.closedPath = 1; }},
    {26, [](ToolSettings& s) { s.fillColorMode = 12, s.separateElements = 1, s.closedPath = 1; }},
    {27,
     [](ToolSettings& s) {
         s.patternMode = 2, s.fillColorMode = 12, s.separateElements = 1, s.closedPath = 1;
     }},
    {28,
     [](ToolSettings& s) {
         s.maxPointsPerZigzag = 20, s.randomMaxPoints = 1, s.zigzagElements = 20, s.designIndex1 = 1;
         s.linkZigzag2To1 = 1;
     }},
    {29,
     [](ToolSettings& s) {
         s.randomDesignType = 1, s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1;
     }},
    {30,
     [](ToolSettings& s) {
         s.randomDesignType = 1, s.fillColorMode = 2, s.separateElements = 1, s.closedPath = 1;
     }},
    {31,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 1, s.numberOfReflections = 1;
     }},
    {32,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 1, s.numberOfReflections = 1;
         s.designIndex1 = 63, s.designIndex2 = 64, s.reflectShiftX = 20.0f, s.reflectShiftY = 20.0f;
     }},
    {33,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 2, s.numberOfReflections = 1;
         s.designIndex1 = 63, s.designIndex2 = 64, s.reflectShiftX = 30.0f, s.reflectShiftY = 30.0f;
     }},
    {34,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 2, s.numberOfReflections = 3;
         s.designIndex1 = 63, s.designIndex2 = 64, s.reflectShiftX = 15.0f, s.reflectShiftY = 30.0f;
     }},
    {35,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 2, s.numberOfReflections = 1;
         s.designIndex1 = 65, s.designIndex2 = 66, s.reflectShiftX = 30.0f, s.reflectShiftY = 30.0f;
     }},
    {36,
     [](ToolSettings& s) {
         s.weavePlaceMode = 2, s.separateElements = 1, s.repeatColorMode = 3, s.numberOfReflections = 1;
         s.designIndex1 = 65, s.designIndex2 = 66, s.reflectShiftX = 30.0f, s.reflectShiftY = 30.0f;
     }},
};

TEST_F(OptionsDialog, EachPresetStartsFromTheDefaultsAndKeepsThePage) {
    // A record far from the defaults, and a page other than the first.
    record.zigzagElements = 77;
    record.curve1X = -3.0f;
    record.randomCurve = 1;
    record.scalingPattern1A = 20.0f;
    record.scalingPattern1AFactor = 0.2f;
    record.optionsPage = 4;
    for (float& slot : record.designTemplate)
        slot = 0.25f;
    open();
    // One after another in the same dialog: nothing of one preset may stay for the next.
    for (int32_t entry : {13, 14, 24, 0,  36, 1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 15, 16,
                          17, 18, 19, 20, 21, 22, 23, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35}) {
        ToolSettings expected = record;
        writeDefaultSettings(expected);
        expected.optionsPage = 4;
        expected.presetIndex = entry;
        kPresetEffects.at(entry)(expected);
        userChooses(3, entry);
        EXPECT_EQ(std::memcmp(&expected, &record, sizeof record), 0) << "preset " << entry;
        // The items follow the record.
        EXPECT_EQ(fake.items[4].value, record.zigzagElements) << entry;
        EXPECT_EQ(fake.items[32].value, record.reflectShiftY) << entry;
        EXPECT_EQ(fake.items[80].value, record.linkZigzag2To1) << entry;
        EXPECT_EQ(activeEntryOf(5), record.designIndex1) << entry;
        EXPECT_EQ(activeEntryOf(6), record.designIndex2) << entry;
        EXPECT_EQ(activeEntryOf(240), record.fillColorMode) << entry;
        EXPECT_EQ(activeEntryOf(81), record.weavePlaceMode) << entry;
        EXPECT_EQ(activeEntryOf(3), entry);
        EXPECT_EQ(visibleItems(), pageAndAlwaysShown(4)) << entry;
        EXPECT_TRUE(fake.items[4].active);
    }
}

TEST_F(OptionsDialog, APresetRefreshesTheDependentItems) {
    open();
    userChooses(3, 36);
    EXPECT_EQ(fake.items[5].entries.size(), 67u);
    EXPECT_EQ(std::next(fake.items[5].entries.begin(), activeEntryOf(5))->text, "  Zigzag - Line3");
    EXPECT_EQ(std::next(fake.items[6].entries.begin(), activeEntryOf(6))->text, "  Zigzag - Line4");
    for (int32_t id : kReflectionItems)
        EXPECT_TRUE(fake.items[id].enabled) << id;
    EXPECT_TRUE(fake.items[6].enabled);
    userChooses(3, 21);
    EXPECT_FALSE(fake.items[6].enabled);
    for (int32_t id : kReflectionItems)
        EXPECT_FALSE(fake.items[id].enabled) << id;
    userChooses(3, 7);
    EXPECT_TRUE(fake.items[241].enabled);
    EXPECT_TRUE(fake.items[242].enabled);
}

TEST_F(OptionsDialog, Preset24FollowedByCancelDrawsAtTheScalingTheDialogShows) {
    open();
    userChooses(3, 24);
    userClicks(kADMCancelItemID);
    EXPECT_EQ(record.horizontalGroupScaling, 50.0f);
    EXPECT_EQ(record.horizontalGroupScalingFactor, 0.5f);
}

TEST_F(OptionsDialog, SwatchFieldsShowAndStoreTheLastSwatchForAnIndexBeyondTheDocument) {
    fake.swatchCount = 7;
    open();
    userChooses(3, 7); // fillSwatchIndex 12
    EXPECT_EQ(record.fillSwatchIndex, 12);
    EXPECT_EQ(fake.items[241].value, 7.0);
    userClicks(kADMDefaultItemID);
    EXPECT_EQ(record.fillSwatchIndex, 7);
    EXPECT_EQ(record.strokeSwatchIndex, 2);

    fake.swatchCount = 0;
    open();
    EXPECT_EQ(fake.items[241].max, 0.0);
    EXPECT_EQ(fake.items[244].value, 0.0);
    userClicks(kADMCancelItemID);
    EXPECT_EQ(record.strokeSwatchIndex, 2); // Cancel reads nothing
}

TEST_F(OptionsDialog, NotifiersWithoutASettingsRecordDoNothing) {
    open();
    globalsBlock = nullptr;
    userClicks(301);
    userSets(30, 5);
    userChooses(3, 9);
    userClicks(kADMDefaultItemID);
    EXPECT_EQ(record.optionsPage, 1);
    EXPECT_EQ(record.numberOfReflections, 0);
    EXPECT_EQ(record.presetIndex, 0);
    EXPECT_EQ(initOptionsDialog(fakeDialog()), kSPNoError);
}

} // namespace
