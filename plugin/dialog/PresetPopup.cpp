#include "plugin/dialog/OptionsDialog.h"

#include "plugin/dialog/OptionsLayout.h"
#include "plugin/settings/Presets.h"
#include "plugin/suites/PluginSuites.h"

void SPAPI presetPopupNotify(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    sADMItem->DefaultNotify(item, notifier);
    if (globalsBlock == nullptr) return;
    ToolSettings& settings = *globalsBlock;
    // Without an active entry the preset shown last is loaded again; an entry id that is none of the popup's
    // is a read that failed, and then no preset is loaded.
    int32_t entry = settings.presetIndex;
    if (readActiveEntry(sADMDialog->GetItem(dialog, kPresetPopupItem), EntryList::Preset, entry) ==
        EntryRead::Failed)
        return;
    loadPreset(settings, entry);

    // Every item that shows a setting follows the record; the preset popup stays as the user set it.
    for (int32_t i = 0; i < kOptionsItemCount; ++i) {
        const ItemLayout& row = kOptionsItems[i];
        if (row.id != kPresetPopupItem) showField(sADMDialog->GetItem(dialog, row.id), row, settings);
    }
    ADMItemRef elements = sADMDialog->GetItem(dialog, kElementsItem);
    sADMItem->Activate(elements, true);
    sADMItem->SelectAll(elements);

    sADMItem->SendNotify(sADMDialog->GetItem(dialog, kFillColorItem), kADMUserChangedNotifier);
    sADMItem->SendNotify(sADMDialog->GetItem(dialog, kReflectionsItem), kADMUserChangedNotifier);
}
