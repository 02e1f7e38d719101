#include "host/dialogs/DialogDriver.h"

#include "host/dialogs/DialogModel.h"

namespace zz {

void endWithItem(DialogModel& model, AdmDialog& dialog, int32_t item) {
    if (AdmItem* target = dialog.item(item)) model.notify(*target, kADMUserChangedNotifier);
    if (!dialog.endedWith) dialog.endedWith = item;
}

} // namespace zz
