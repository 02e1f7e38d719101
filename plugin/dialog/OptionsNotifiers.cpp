#include "plugin/dialog/OptionsDialog.h"

#include "plugin/dialog/OptionsLayout.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// The items that only mean something while there are reflections, in the order they are enabled.
constexpr int32_t kReflectionItems[] = {31, 32, 33, 34, 35, 36, 88, 91, 81};

// The swatch index field is used by " To swatch" (6) and " Alternate swatch" (11).
bool usesSwatchIndex(int32_t mode) {
    return mode == 6 || mode == 11;
}
// The cycle length is used by " To white", " To black", " To white / midpoint", " To swatch", " To half
// color", " To inverted" and " To half color inverted".
bool usesCycleLength(int32_t mode) {
    switch (mode) {
    case 1:
    case 2:
    case 5:
    case 6:
    case 7:
    case 8:
    case 13:
        return true;
    default:
        return false;
    }
}

ADMItemRef dialogItem(ADMItemRef sibling, int32_t id) {
    return sADMDialog->GetItem(sADMItem->GetDialog(sibling), id);
}

void enableItem(ADMItemRef sibling, int32_t id, bool enable) {
    sADMItem->Enable(dialogItem(sibling, id), enable);
}

// Reads item `id` of the sibling's dialog into its field; a read that failed leaves the field as it was.
void readItem(ADMItemRef sibling, int32_t id, ToolSettings& settings) {
    readField(dialogItem(sibling, id), *itemLayout(id), settings);
}

} // namespace

void SPAPI pageButtonNotify(ADMItemRef item, ADMNotifierRef) {
    if (globalsBlock == nullptr) return;
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    ADMItemRef buttons[kPageCount];
    for (int32_t n = 0; n < kPageCount; ++n)
        buttons[n] = sADMDialog->GetItem(dialog, kFirstPageButton + n);
    for (int32_t n = 0; n < kPageCount; ++n)
        sADMItem->SetFont(sADMDialog->GetItem(dialog, kFirstPageLabel + n), kADMDefaultFont);
    int32_t shown = 0;
    for (int32_t n = 0; n < kPageCount; ++n) {
        if (buttons[n] != item) continue;
        sADMItem->SetFont(sADMDialog->GetItem(dialog, kFirstPageLabel + n), kADMDialogFontBold);
        globalsBlock->optionsPage = n + 1;
        shown = n + 1;
    }
    for (int32_t page = 1; page <= kPageCount; ++page) {
        const PageMembers members = pageMembers(page);
        for (int32_t i = 0; i < members.count; ++i)
            sADMItem->Show(sADMDialog->GetItem(dialog, members.ids[i]), page == shown);
    }
}

void SPAPI reflectionLinkNotify(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    if (globalsBlock == nullptr) return;
    ToolSettings& settings = *globalsBlock;
    readItem(item, kReflectionsItem, settings);
    readItem(item, kLinkItem, settings);
    for (int32_t id : kReflectionItems)
        enableItem(item, id, settings.numberOfReflections != 0);
    enableItem(item, kDesignList2Item, settings.linkZigzag2To1 == 0);
}

void SPAPI colorModeNotify(ADMItemRef item, ADMNotifierRef notifier) {
    sADMItem->DefaultNotify(item, notifier);
    if (globalsBlock == nullptr) return;
    ToolSettings& settings = *globalsBlock;
    readItem(item, kFillColorItem, settings);
    readItem(item, kStrokeColorItem, settings);
    enableItem(item, 241, usesSwatchIndex(settings.fillColorMode));
    enableItem(item, 244, usesSwatchIndex(settings.strokeColorMode));
    enableItem(item, 242, usesCycleLength(settings.fillColorMode));
    enableItem(item, 245, usesCycleLength(settings.strokeColorMode));
}

void SPAPI design1ListNotify(ADMItemRef item, ADMNotifierRef) {
    if (globalsBlock == nullptr) return;
    readItem(item, kDesignList1Item, *globalsBlock);
}

void SPAPI design2ListNotify(ADMItemRef item, ADMNotifierRef) {
    if (globalsBlock == nullptr) return;
    readItem(item, kDesignList2Item, *globalsBlock);
}
