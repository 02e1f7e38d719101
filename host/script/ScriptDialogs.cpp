#include "host/script/ScriptDialogs.h"

#include "ADMDialog.h"
#include "host/dialogs/DialogModel.h"

namespace zz {

void ScriptDialogDriver::run(DialogModel& model, AdmDialog& dialog) {
    const int32_t close = close_.value_or(kADMDefaultItemID);
    close_.reset(); // the event's item belongs to its first dialog
    endWithItem(model, dialog, close);
}

void DialogRecorder::opened(std::string_view name, int32_t resource) {
    open_.push_back(records_.size());
    records_.push_back(DialogRecord{std::string(name), resource, -1, {}});
}

void DialogRecorder::shown(const AdmDialog& dialog) {
    if (open_.empty()) return;
    DialogRecord& record = records_[open_.back()];
    for (const auto& item : dialog.items) {
        std::string& text = record.items[item->id];
        if (!text.empty()) text += "\n";
        text += item->shownText();
    }
}

void DialogRecorder::ended(int32_t result) {
    if (open_.empty()) return;
    records_[open_.back()].result = result;
    open_.pop_back();
}

} // namespace zz
