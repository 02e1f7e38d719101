#include "plugin/dialog/OptionsLayout.h"

#include <cstdio>

#include "ADMEntry.h"
#include "ADMList.h"
#include "plugin/dialog/OptionsDialog.h"
#include "plugin/designs/DesignTemplates.h"
#include "plugin/resources/ResourceIds.h"
#include "plugin/suites/PluginSuites.h"

namespace {

using S = ToolSettings;

constexpr ItemLayout intSpin(int32_t id, int8_t page, ADMRect rect, int32_t S::*field, float minimum,
                             float maximum, int8_t decimals = 0, ADMItemNotifyProc notifier = nullptr) {
    return {.id = id,
            .kind = ItemKind::IntSpin,
            .page = page,
            .rect = rect,
            .intField = field,
            .minimum = minimum,
            .maximum = maximum,
            .decimals = decimals,
            .notifier = notifier};
}
// A swatch index: 0 to the number of swatches of the document when the dialog opens.
constexpr ItemLayout swatchSpin(int32_t id, ADMRect rect, int32_t S::*field) {
    return {.id = id,
            .kind = ItemKind::IntSpin,
            .page = 5,
            .rect = rect,
            .intField = field,
            .maximumIsSwatchCount = true};
}
constexpr ItemLayout floatSpin(int32_t id, int8_t page, ADMRect rect, float S::*field, float minimum,
                               float maximum) {
    return {.id = id,
            .kind = ItemKind::FloatSpin,
            .page = page,
            .rect = rect,
            .floatField = field,
            .minimum = minimum,
            .maximum = maximum,
            .decimals = 2};
}
constexpr ItemLayout label(int32_t id, int8_t page, ADMRect rect, const char* text) {
    return {.id = id, .kind = ItemKind::Label, .page = page, .rect = rect, .text = text};
}
constexpr ItemLayout checkBox(int32_t id, int8_t page, ADMRect rect, const char* text, int32_t S::*field,
                              ADMItemNotifyProc notifier = nullptr) {
    return {.id = id,
            .kind = ItemKind::CheckBox,
            .page = page,
            .rect = rect,
            .text = text,
            .intField = field,
            .notifier = notifier};
}
constexpr ItemLayout popup(int32_t id, int8_t page, ADMRect rect, int32_t S::*field, EntryList entries,
                           bool entriesAtCreation, ADMItemNotifyProc notifier) {
    return {.id = id,
            .kind = ItemKind::Popup,
            .page = page,
            .rect = rect,
            .intField = field,
            .entries = entries,
            .entriesAtCreation = entriesAtCreation,
            .notifier = notifier};
}
constexpr ItemLayout listBox(int32_t id, ADMRect rect, int32_t S::*field) {
    return {.id = id,
            .kind = ItemKind::ListBox,
            .page = 1,
            .rect = rect,
            .intField = field,
            .entries = EntryList::Design};
}
constexpr ItemLayout button(int32_t id, ADMRect rect, const char* text, ADMItemNotifyProc notifier) {
    return {.id = id, .kind = ItemKind::Button, .rect = rect, .text = text, .notifier = notifier};
}
constexpr ItemLayout pageButton(int32_t id, ADMRect rect) {
    return {.id = id, .kind = ItemKind::PageButton, .rect = rect, .notifier = pageButtonNotify};
}

} // namespace

// clang-format off
const ItemLayout kOptionsItems[] = {
    // spin edits
    intSpin  (4,   1, {190, 250, 250, 270}, &S::zigzagElements, 1, 400),
    floatSpin(10,  2, {190, 80, 250, 100}, &S::jitterPointsX, -500, 500),
    floatSpin(11,  2, {260, 80, 320, 100}, &S::jitterPointsY, -500, 500),
    floatSpin(12,  2, {190, 102, 250, 122}, &S::scalingPattern1A, 1, 200),
    floatSpin(14,  2, {260, 102, 320, 122}, &S::scalingPattern1B, 1, 200),
    floatSpin(13,  2, {190, 124, 250, 144}, &S::scalingPattern2A, 1, 200),
    floatSpin(15,  2, {260, 124, 320, 144}, &S::scalingPattern2B, 1, 200),
    floatSpin(16,  2, {190, 146, 250, 166}, &S::horizontalGroupScaling, 1, 200),
    intSpin  (17,  2, {190, 168, 250, 188}, &S::maxPointsPerGroup, 1, 99),
    floatSpin(83,  2, {190, 190, 250, 210}, &S::curve1X, -500, 500),
    floatSpin(84,  2, {260, 190, 320, 210}, &S::curve1Y, -500, 500),
    floatSpin(85,  2, {190, 212, 250, 232}, &S::curve2X, -500, 500),
    floatSpin(86,  2, {260, 212, 320, 232}, &S::curve2Y, -500, 500),
    intSpin  (30,  3, {190, 80, 250, 100}, &S::numberOfReflections, 0, 100, 0, reflectionLinkNotify),
    floatSpin(31,  3, {190, 102, 250, 122}, &S::reflectShiftX, -500, 500),
    floatSpin(32,  3, {260, 102, 320, 122}, &S::reflectShiftY, -500, 500),
    floatSpin(33,  3, {190, 142, 250, 162}, &S::alternateAngle, -360, 360),
    floatSpin(36,  3, {190, 164, 250, 184}, &S::reflectTurn, -360, 360),
    floatSpin(34,  3, {190, 204, 250, 224}, &S::reflectScalingX, -500, 500),
    floatSpin(35,  3, {260, 204, 320, 224}, &S::reflectScalingY, -500, 500),
    floatSpin(40,  4, {190, 80, 250, 100}, &S::initialAngle, -360, 360),
    floatSpin(41,  4, {190, 102, 250, 122}, &S::initialScalingX, -500, 500),
    floatSpin(42,  4, {260, 102, 320, 122}, &S::initialScalingY, -500, 500),
    floatSpin(43,  4, {190, 124, 250, 144}, &S::pathJitterX, 0, 500),
    floatSpin(44,  4, {260, 124, 320, 144}, &S::pathJitterY, 0, 500),
    intSpin  (45,  4, {190, 146, 250, 166}, &S::applySlowdown, 0, 100, 2),
    intSpin  (46,  4, {190, 168, 250, 188}, &S::maxPointsPerZigzag, 1, 9999, 2),
    // labels
    label(190, 1, {10, 250, 185, 270}, "Zigzag elements"),
    label(191, 2, {10, 80, 185, 100}, "Jitter points (p)"),
    label(192, 2, {10, 102, 185, 122}, "Scaling pattern 1"),
    label(193, 2, {10, 124, 185, 144}, "Scaling pattern 2"),
    label(194, 2, {10, 146, 185, 166}, "Horizontal group scaling"),
    label(195, 2, {10, 168, 185, 188}, "Max points per group"),
    label(210, 2, {10, 190, 185, 210}, "Curve1"),
    label(211, 2, {10, 212, 185, 232}, "Curve2"),
    label(196, 3, {10, 80, 185, 100}, "Number of reflections"),
    label(197, 3, {10, 102, 185, 122}, "Reflect shift (p)"),
    label(198, 3, {10, 142, 185, 162}, "Alternate angle (o)"),
    label(200, 3, {10, 164, 185, 184}, "Reflect turn (o)"),
    label(199, 3, {10, 204, 185, 224}, "Reflect scaling (%)"),
    label(201, 4, {10, 80, 185, 100}, "Initial angle (o)"),
    label(202, 4, {10, 102, 185, 122}, "Initial scaling (%)"),
    label(203, 4, {10, 124, 185, 144}, "Path jitter"),
    label(204, 4, {10, 146, 185, 166}, "Apply slowdown"),
    label(205, 4, {10, 168, 185, 188}, "Max points/zigzag"),
    // lists whose entries come after all items exist
    popup  (3,  0, {350, 350, 450, 370}, &S::presetIndex, EntryList::Preset, false, presetPopupNotify),
    listBox(5,     {10, 60, 240, 230}, &S::designIndex1),
    listBox(6,     {250, 60, 480, 230}, &S::designIndex2),
    popup  (91, 3, {10, 285, 240, 305}, &S::repeatColorMode, EntryList::RepeatColor, false, nullptr),
    popup  (81, 3, {10, 310, 240, 330}, &S::weavePlaceMode, EntryList::WeavePlace, false, nullptr),
    // check boxes
    checkBox(79, 1, {10, 280, 470, 294}, "Fill / stroke style to separate elements", &S::styleToSeparateElements),
    checkBox(59, 1, {10, 297, 250, 311}, "Separate zigzag path elements", &S::separateElements),
    checkBox(80, 1, {10, 314, 250, 328}, "Link Zigzag 2 to 1", &S::linkZigzag2To1, reflectionLinkNotify),
    checkBox(69, 2, {10, 234, 470, 248}, "Horizontal distance [R]", &S::randomHorizontalDistance),
    checkBox(70, 2, {10, 251, 470, 265}, "Vertical distance [R]", &S::randomVerticalDistance),
    checkBox(88, 3, {10, 231, 470, 245}, "Fill / stroke style to reflect", &S::styleToReflect),
    checkBox(89, 3, {10, 248, 490, 261}, "Reflect horizontal [R]", &S::reflectHorizontal),
    checkBox(90, 3, {10, 264, 490, 278}, "Reflect vertical [R]", &S::reflectVertical),
    checkBox(63, 4, {10, 200, 470, 214}, "Rotation [R]", &S::randomRotation),
    checkBox(65, 4, {10, 217, 470, 231}, "Scaling [R]", &S::randomScaling),
    checkBox(74, 4, {10, 234, 470, 248}, "Max points/zigzag [R]", &S::randomMaxPoints),
    checkBox(50, 6, {10, 80, 490, 94}, "Width [R]", &S::randomWidth),
    checkBox(51, 6, {10, 97, 490, 111}, "Opacity [R]", &S::randomOpacity),
    checkBox(52, 6, {10, 114, 490, 128}, "Blend mode [R]", &S::randomBlendMode),
    checkBox(66, 6, {10, 131, 490, 145}, "Style [R]", &S::randomStyle),
    checkBox(75, 6, {10, 155, 490, 169}, "Fill (Jitter)", &S::jitterFill),
    checkBox(76, 6, {10, 172, 490, 186}, "Stroke (Jitter)", &S::jitterStroke),
    checkBox(77, 6, {10, 189, 490, 203}, "Width (Jitter)", &S::jitterWidth),
    checkBox(58, 6, {10, 213, 490, 227}, "Closed zigzag path", &S::closedPath),
    checkBox(67, 6, {10, 230, 490, 244}, "Symbolize zigzag", &S::symbolizeZigzag),
    checkBox(68, 6, {10, 247, 490, 263}, "Locked vertical-horizontal", &S::lockedVerticalHorizontal),
    checkBox(78, 6, {10, 266, 490, 280}, "Drop shadow added", &S::dropShadow),
    checkBox(54, 7, {10, 80, 490, 94}, "Alternate mirror elements", &S::alternateMirror),
    checkBox(55, 7, {10, 97, 490, 111}, "Flatten alternate elements", &S::flattenAlternate),
    checkBox(60, 7, {10, 114, 490, 128}, "Trail cursor - keep generated zigzags", &S::trailCursor),
    checkBox(64, 7, {10, 131, 490, 145}, "Zigzag slant match cursor", &S::slantMatchCursor),
    checkBox(53, 7, {10, 155, 490, 169}, "Warp zigzag [R]", &S::randomWarp),
    checkBox(87, 7, {10, 172, 490, 186}, "Curve [R]", &S::randomCurve),
    checkBox(56, 7, {10, 189, 490, 203}, "Zigzag design type [R]", &S::randomDesignType),
    checkBox(57, 7, {10, 206, 490, 220}, "Create zigzag elements [R]", &S::randomCreateElements),
    checkBox(61, 7, {10, 230, 490, 244}, "Groups (Pen pressure)", &S::pressureGroups),
    checkBox(62, 7, {10, 247, 490, 261}, "Rotation (Pen pressure)", &S::pressureRotation),
    checkBox(71, 7, {10, 264, 490, 278}, "StyleFactor (Pen pressure)", &S::pressureStyleFactor),
    checkBox(72, 7, {10, 281, 490, 294}, "Width/10pts (Pen pressure)", &S::pressureWidth),
    checkBox(73, 7, {10, 297, 490, 311}, "Opacity (Pen pressure)", &S::pressureOpacity),
    // OK and Cancel
    button(1, {90, 350, 170, 370}, "OK", applyOptionsDialog),
    button(2, {180, 350, 260, 370}, "Cancel", nullptr),
    // the Style page
    popup     (240, 5, {10, 80, 180, 100}, &S::fillColorMode, EntryList::FillColor, true, colorModeNotify),
    swatchSpin(241,    {190, 80, 250, 100}, &S::fillSwatchIndex),
    intSpin   (242, 5, {260, 80, 320, 100}, &S::fillCycleLength, 0, 1000),
    popup     (243, 5, {10, 110, 180, 130}, &S::strokeColorMode, EntryList::StrokeColor, true, colorModeNotify),
    swatchSpin(244,    {190, 110, 250, 130}, &S::strokeSwatchIndex),
    intSpin   (245, 5, {260, 110, 320, 130}, &S::strokeCycleLength, 0, 1000),
    popup     (246, 5, {10, 140, 180, 160}, &S::patternMode, EntryList::Pattern, true, nullptr),
    // page buttons and their labels
    pageButton(300, {10, 5, 60, 35}),
    pageButton(301, {80, 5, 130, 35}),
    pageButton(302, {150, 5, 200, 35}),
    pageButton(303, {220, 5, 270, 35}),
    pageButton(304, {290, 5, 340, 35}),
    pageButton(305, {360, 5, 410, 35}),
    pageButton(306, {430, 5, 480, 35}),
    label(307, 0, {12, 40, 79, 55}, "Zigzag"),
    label(308, 0, {83, 40, 149, 55}, "Points"),
    label(309, 0, {153, 40, 219, 55}, "Reflect"),
    label(310, 0, {220, 40, 289, 55}, "Transform"),
    label(311, 0, {294, 40, 359, 55}, "Style"),
    label(312, 0, {360, 40, 429, 55}, "Settings"),
    label(313, 0, {430, 40, 499, 55}, "Settings1"),
};
// clang-format on
const int32_t kOptionsItemCount = static_cast<int32_t>(sizeof kOptionsItems / sizeof kOptionsItems[0]);

namespace {

// The items of each page, in the order the page notifier shows or hides them.
constexpr int32_t kZigzagPage[] = {4, 190, 5, 6, 79, 59, 80};
constexpr int32_t kPointsPage[] = {10,  11,  191, 12,  14, 13, 15, 16, 17,  69, 70,
                                   192, 193, 194, 195, 83, 84, 85, 86, 210, 211};
constexpr int32_t kReflectPage[] = {31, 32, 33, 34, 35, 36, 30, 197, 196, 198, 199, 200, 88, 89, 90, 91, 81};
constexpr int32_t kTransformPage[] = {40, 41, 42, 43, 44, 45, 46, 201, 202, 203, 204, 205, 63, 65, 74};
constexpr int32_t kStylePage[] = {240, 243, 246, 241, 242, 244, 245};
constexpr int32_t kSettingsPage[] = {50, 51, 52, 75, 76, 77, 66, 67, 68, 78, 58};
constexpr int32_t kSettings1Page[] = {57, 87, 64, 53, 54, 55, 60, 56, 61, 62, 71, 72, 73};

#define ZZ_PAGE(ids)                                                                                         \
    { ids, static_cast<int32_t>(sizeof ids / sizeof ids[0]) }
constexpr PageMembers kPages[kPageCount] = {
    ZZ_PAGE(kZigzagPage), ZZ_PAGE(kPointsPage),   ZZ_PAGE(kReflectPage),  ZZ_PAGE(kTransformPage),
    ZZ_PAGE(kStylePage),  ZZ_PAGE(kSettingsPage), ZZ_PAGE(kSettings1Page)};
#undef ZZ_PAGE

// clang-format off
// Entry texts, exact to the blank; the id of each entry is its position.
constexpr const char* kPresetEntries[] = {
    " -- Reset -- ",   " Preset 001",     " Preset 002",     " Preset 003",     " Preset 004",
    " Preset 005",     " Preset 006",     " Preset 007",     " Preset 008",     " Preset 009",
    " Preset 010",     " Preset 011",     " Preset 012",     " Preset 013",     " Preset 014",
    " Preset 015",     " Preset 016",     " Preset 017",     " Preset 018",     " Preset 019",
    " Preset 020",     " Preset 021",     " Preset 022",     " Preset 023",     " Preset 024",
    " Preset 025",     " Preset 026",     " Preset 027",     " Preset 028",     " Preset 029",
    " Preset 030",     " Weave preset 1", " Weave preset 2", " Weave preset 3", " Weave preset 4",
    " Weave preset 5", " Weave preset 6"};
constexpr const char* kFillColorEntries[] = {
    " Fill color - Ignore", " To white", " To black", " Random colors", " Random swatches",
    " To white / midpoint", " To swatch", " To half color", " To inverted", " Alternate white",
    " Alternate black", " Alternate swatch", " Alternate inverted", " To half color inverted", " 10% reduction"};
constexpr const char* kStrokeColorEntries[] = {
    " Stroke color - Ignore", " To white", " To black", " Random colors", " Random swatches",
    " To white / midpoint", " To swatch", " To half color", " To inverted", " Alternate white",
    " Alternate black", " Alternate swatch", " Alternate inverted", " To half color inverted", " 10% reduction"};
constexpr const char* kPatternEntries[] = {
    " Pattern / tile - Ignore", " Use document center", " Use end point", " Use start point", " Use original path"};
constexpr const char* kRepeatColorEntries[] = {
    " Repeat color - ignore", " Alternate invert", " Alternate black", " Alternate reduced", " Alternate doubled"};
constexpr const char* kWeavePlaceEntries[] = {
    " Weave / place options - ignore", " Place beneath all ", " Weave 01 ", " Weave 02", " Weave 03", " Weave 04",
    " Weave 05", " Weave 06", " Weave 07"};
// clang-format on
#define ZZ_ENTRIES(texts)                                                                                    \
    { texts, static_cast<int32_t>(sizeof texts / sizeof texts[0]) }
struct EntryListTexts {
    EntryList list;
    EntryTexts texts;
};
constexpr EntryListTexts kEntryLists[] = {{EntryList::Preset, ZZ_ENTRIES(kPresetEntries)},
                                          {EntryList::FillColor, ZZ_ENTRIES(kFillColorEntries)},
                                          {EntryList::StrokeColor, ZZ_ENTRIES(kStrokeColorEntries)},
                                          {EntryList::Pattern, ZZ_ENTRIES(kPatternEntries)},
                                          {EntryList::RepeatColor, ZZ_ENTRIES(kRepeatColorEntries)},
                                          {EntryList::WeavePlace, ZZ_ENTRIES(kWeavePlaceEntries)}};
#undef ZZ_ENTRIES

// The picture of design entry k: its own thumbnail, or for the line designs, which have none, the last one.
int32_t designPicture(int32_t design) {
    const int32_t last = ZZ_THUMBNAIL_BITMAP_COUNT - 1;
    return ZZ_FIRST_THUMBNAIL_BITMAP + (design < last ? design : last);
}

} // namespace

const ItemLayout* itemLayout(int32_t id) {
    for (const ItemLayout& row : kOptionsItems)
        if (row.id == id) return &row;
    return nullptr;
}

const char* itemTypeName(ItemKind kind) {
    switch (kind) {
    case ItemKind::IntSpin:
    case ItemKind::FloatSpin:
        return kADMSpinEditType;
    case ItemKind::Label:
        return kADMTextStaticType;
    case ItemKind::CheckBox:
        return kADMTextCheckBoxType;
    case ItemKind::Popup:
        return kADMPopupListType;
    case ItemKind::ListBox:
        return kADMListBoxType;
    case ItemKind::Button:
        return kADMTextPushButtonType;
    case ItemKind::PageButton:
        return kADMPicturePushButtonType;
    }
    return kADMTextStaticType;
}

PageMembers pageMembers(int32_t page) {
    if (page < 1 || page > kPageCount) return {nullptr, 0};
    return kPages[page - 1];
}

EntryTexts entryTexts(EntryList list) {
    for (const EntryListTexts& entry : kEntryLists)
        if (entry.list == list) return entry.texts;
    return {nullptr, 0};
}

void fillEntries(ADMItemRef item, EntryList list) {
    ADMListRef entries = sADMItem->GetList(item);
    if (entries == nullptr) return;
    if (list == EntryList::Design) {
        for (int32_t k = 0; k < kDesignCount; ++k) {
            ADMEntryRef entry = sADMList->InsertEntry(entries, k);
            if (entry == nullptr) return;
            char text[64];
            std::snprintf(text, sizeof text, "  Zigzag - %s", designTemplateAt(k)->name);
            sADMEntry->SetText(entry, text);
            sADMEntry->SetID(entry, k);
            sADMEntry->SetPictureID(entry, designPicture(k), nullptr);
        }
        return;
    }
    const EntryTexts texts = entryTexts(list);
    for (int32_t k = 0; k < texts.count; ++k) {
        ADMEntryRef entry = sADMList->InsertEntry(entries, k);
        if (entry == nullptr) return;
        sADMEntry->SetText(entry, texts.texts[k]);
        sADMEntry->SetID(entry, k);
    }
}

void selectEntryAt(ADMItemRef item, int32_t position) {
    ADMListRef list = sADMItem->GetList(item);
    ADMEntryRef entry = list != nullptr ? sADMList->IndexEntry(list, position) : nullptr;
    if (entry != nullptr) sADMEntry->Select(entry, true);
}

int32_t optionsSwatchCount = 0;

double itemMaximum(const ItemLayout& row) {
    return row.maximumIsSwatchCount ? optionsSwatchCount : row.maximum;
}

int32_t entryCount(EntryList list) {
    return list == EntryList::Design ? kDesignCount : entryTexts(list).count;
}

EntryRead readActiveEntry(ADMItemRef item, EntryList list, int32_t& id) {
    ADMListRef entries = sADMItem->GetList(item);
    ADMEntryRef entry = entries != nullptr ? sADMList->GetActiveEntry(entries) : nullptr;
    if (entry == nullptr) return EntryRead::NoneActive;
    const int32_t read = sADMEntry->GetID(entry);
    if (read < 0 || read >= entryCount(list)) return EntryRead::Failed;
    id = read;
    return EntryRead::Found;
}

int32_t activeEntryID(ADMItemRef item, EntryList list, int32_t fallback) {
    int32_t id = fallback;
    readActiveEntry(item, list, id);
    return id;
}

void showField(ADMItemRef item, const ItemLayout& row, const ToolSettings& settings) {
    switch (row.kind) {
    case ItemKind::IntSpin:
        sADMItem->SetIntValue(item, settings.*row.intField);
        break;
    case ItemKind::FloatSpin:
        sADMItem->SetFloatValue(item, settings.*row.floatField);
        break;
    case ItemKind::CheckBox:
        sADMItem->SetBooleanValue(item, settings.*row.intField != 0);
        break;
    case ItemKind::Popup:
    case ItemKind::ListBox:
        selectEntryAt(item, settings.*row.intField);
        break;
    default:
        break;
    }
}

namespace {

// Whether `value` lies in the row's range; never for a NaN.
bool inItemRange(const ItemLayout& row, double value) {
    return value >= row.minimum && value <= itemMaximum(row);
}

} // namespace

void readField(ADMItemRef item, const ItemLayout& row, ToolSettings& settings) {
    if (item == nullptr) return;
    switch (row.kind) {
    case ItemKind::IntSpin: {
        const int32_t value = sADMItem->GetIntValue(item);
        if (inItemRange(row, value)) settings.*row.intField = value;
        break;
    }
    case ItemKind::FloatSpin: {
        const float value = sADMItem->GetFloatValue(item);
        if (inItemRange(row, value)) settings.*row.floatField = value;
        break;
    }
    case ItemKind::CheckBox: {
        const AIBoolean value = sADMItem->GetBooleanValue(item);
        if (value == 0 || value == 1) settings.*row.intField = value;
        break;
    }
    case ItemKind::Popup:
    case ItemKind::ListBox:
        settings.*row.intField = activeEntryID(item, row.entries, settings.*row.intField);
        break;
    default:
        break;
    }
}
