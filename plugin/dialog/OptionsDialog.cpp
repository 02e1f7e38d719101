#include "plugin/dialog/OptionsDialog.h"

#include "ADMList.h"
#include "plugin/dialog/OptionsLayout.h"
#include "plugin/suites/PluginSuites.h"

namespace {

constexpr int32_t kDialogWidth = 500;
constexpr int32_t kDialogHeight = 375;

// Makes one item and configures it from its row and the record.
void createItem(ADMDialogRef dialog, const ItemLayout& row, const ToolSettings& settings) {
    ADMItemRef item =
        sADMDialog->CreateItem(dialog, row.id, itemTypeName(row.kind), &row.rect, nullptr, nullptr, 0);
    // Every item off the Zigzag page starts hidden; choosing the page at the end shows the right ones. The
    // popups whose entries come later stay visible until then.
    bool hideLast = row.page > 1;
    switch (row.kind) {
    case ItemKind::IntSpin:
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinIntValue(item, static_cast<int32_t>(row.minimum));
        sADMItem->SetMaxIntValue(item, row.maximumIsSwatchCount ? optionsSwatchCount
                                                                : static_cast<int32_t>(row.maximum));
        showField(item, row, settings);
        if (row.decimals != 0) sADMItem->SetPrecision(item, row.decimals);
        if (row.notifier != nullptr) sADMItem->SetNotifyProc(item, row.notifier);
        break;
    case ItemKind::FloatSpin:
        sADMItem->SetUnits(item, kADMNoUnits);
        sADMItem->SetMinFloatValue(item, row.minimum);
        sADMItem->SetMaxFloatValue(item, row.maximum);
        showField(item, row, settings);
        sADMItem->SetPrecision(item, row.decimals);
        break;
    case ItemKind::CheckBox:
        showField(item, row, settings);
        sADMItem->SetText(item, row.text);
        if (row.notifier != nullptr) sADMItem->SetNotifyProc(item, row.notifier);
        break;
    case ItemKind::Label:
    case ItemKind::Button:
        if (row.notifier != nullptr) sADMItem->SetNotifyProc(item, row.notifier);
        sADMItem->SetText(item, row.text);
        break;
    case ItemKind::Popup:
        if (row.notifier != nullptr) sADMItem->SetNotifyProc(item, row.notifier);
        if (!row.entriesAtCreation) {
            hideLast = false;
            break;
        }
        if (hideLast) sADMItem->Show(item, false);
        hideLast = false;
        fillEntries(item, row.entries);
        showField(item, row, settings);
        break;
    case ItemKind::ListBox:
        sADMItem->SetItemStyle(item, kADMSingleSelectListBoxStyle);
        break;
    case ItemKind::PageButton:
        sADMItem->SetNotifyProc(item, row.notifier);
        break;
    }
    if (hideLast) sADMItem->Show(item, false);
}

// Fills a list whose entries come after all items exist and selects the entry at its field.
void fillList(ADMDialogRef dialog, int32_t id, const ToolSettings& settings) {
    const ItemLayout& row = *itemLayout(id);
    ADMItemRef item = sADMDialog->GetItem(dialog, id);
    if (row.kind == ItemKind::ListBox) {
        ADMListRef list = sADMItem->GetList(item);
        if (list != nullptr) sADMList->SetEntryHeight(list, kDesignEntryHeight);
    }
    fillEntries(item, row.entries);
    showField(item, row, settings);
}

void notifyItem(ADMDialogRef dialog, int32_t id) {
    sADMItem->SendNotify(sADMDialog->GetItem(dialog, id), kADMUserChangedNotifier);
}

} // namespace

SPErr SPAPI initOptionsDialog(ADMDialogRef dialog) {
    if (globalsBlock == nullptr) return kSPNoError;
    const ToolSettings& settings = *globalsBlock;
    sADMDialog->Size(dialog, kDialogWidth, kDialogHeight);
    optionsSwatchCount = sAISwatchList->CountSwatches(nullptr);
    if (optionsSwatchCount < 0) optionsSwatchCount = 0;

    for (int32_t i = 0; i < kOptionsItemCount; ++i)
        createItem(dialog, kOptionsItems[i], settings);

    fillList(dialog, kPresetPopupItem, settings);
    fillList(dialog, 91, settings);
    fillList(dialog, 81, settings);
    fillList(dialog, kDesignList1Item, settings);
    fillList(dialog, kDesignList2Item, settings);

    ADMItemRef elements = sADMDialog->GetItem(dialog, kElementsItem);
    sADMItem->Activate(elements, true);
    sADMItem->SelectAll(elements);

    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kADMDefaultItemID), applyOptionsDialog);
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kPresetPopupItem), presetPopupNotify);
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kDesignList1Item), design1ListNotify);
    sADMItem->SetNotifyProc(sADMDialog->GetItem(dialog, kDesignList2Item), design2ListNotify);

    // These notifications read the items back only to enable the items that depend on them: the record keeps
    // what it held, so that Cancel leaves it as it was before the dialog opened even when a read failed.
    const ToolSettings held = settings;
    notifyItem(dialog, kReflectionsItem);
    notifyItem(dialog, kFillColorItem);
    globalsBlock->numberOfReflections = held.numberOfReflections;
    globalsBlock->linkZigzag2To1 = held.linkZigzag2To1;
    globalsBlock->fillColorMode = held.fillColorMode;
    globalsBlock->strokeColorMode = held.strokeColorMode;
    const int32_t page = globalsBlock->optionsPage;
    notifyItem(dialog, page >= 1 && page <= kPageCount ? kFirstPageButton - 1 + page : kFirstPageButton);
    return kSPNoError;
}
