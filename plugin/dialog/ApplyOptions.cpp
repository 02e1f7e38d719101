#include "plugin/dialog/OptionsDialog.h"

#include "plugin/dialog/OptionsLayout.h"
#include "plugin/suites/PluginSuites.h"

namespace {

// Every item OK reads, in reading order. Design list 2 and the preset popup are not read: their notifiers
// keep their fields up to date.
constexpr int32_t kReadOrder[] = {
    4,  10, 11, 12, 13, 14, 15, 16, 17, 31, 32, 30, 33, 34, 35, 36, 83, 84,  85,  86,  40,  41,  42,  43,
    44, 45, 46, 54, 55, 58, 78, 59, 57, 50, 51, 52, 53, 56, 60, 61, 62, 63,  64,  65,  66,  67,  68,  69,
    70, 71, 72, 73, 74, 75, 76, 77, 87, 88, 79, 80, 89, 90, 5,  91, 81, 241, 244, 242, 245, 246, 240, 243};

} // namespace

void SPAPI applyOptionsDialog(ADMItemRef item, ADMNotifierRef notifier) {
    ADMDialogRef dialog = sADMItem->GetDialog(item);
    // Ends the modal dialog with OK; its items stay until this notifier returns.
    sADMItem->DefaultNotify(item, notifier);
    if (globalsBlock == nullptr) return;
    for (int32_t id : kReadOrder)
        readField(sADMDialog->GetItem(dialog, id), *itemLayout(id), *globalsBlock);
    deriveScalingFactors(*globalsBlock);
}
