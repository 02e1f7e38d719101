#include "apps/script/ScriptDialogs.h"

#include <algorithm>

#include "ADMDialog.h"
#include "host/dialogs/DialogModel.h"
#include "apps/script/DialogView.h"

namespace zz {

namespace {

std::optional<std::string> play(DialogModel& model, AdmDialog& dialog, const DialogAction& action) {
    switch (action.kind) {
    case DialogAction::Kind::Value:
        return typeValue(model, dialog, action.item, action.value);
    case DialogAction::Kind::Select:
        return chooseEntry(model, dialog, action.item, action.entry);
    case DialogAction::Kind::Click:
        break;
    }
    return clickItem(model, dialog, action.item);
}

ItemState stateOf(const AdmItem& item) {
    ItemState state;
    state.id = item.id;
    state.type = item.type;
    state.rect = item.rect;
    state.visible = item.visible;
    state.enabled = item.enabled;
    state.font = item.font;
    state.focus = item.active;
    if (item.isList()) {
        state.isList = true;
        state.entries = static_cast<int32_t>(item.list->entries.size());
        if (const AdmEntry* active = item.list->active()) {
            state.active = active->id;
            state.activeText = active->text;
        }
        return state;
    }
    state.text = item.shownText();
    if (item.isNumeric() || item.isCheckBox()) {
        state.hasValue = true;
        state.valueKind = item.isCheckBox() ? ValueKind::Boolean : item.valueKind;
        state.value = item.heldValue();
        state.min = item.value.min();
        state.max = item.value.max();
        state.precision = item.precision;
    }
    return state;
}

DialogSnapshot snapshotOf(const AdmDialog& dialog, std::optional<std::size_t> after) {
    DialogSnapshot snapshot;
    snapshot.after = after;
    snapshot.items.reserve(dialog.items.size());
    for (const auto& item : dialog.items)
        snapshot.items.push_back(stateOf(*item));
    std::stable_sort(snapshot.items.begin(), snapshot.items.end(),
                     [](const ItemState& a, const ItemState& b) { return a.id < b.id; });
    return snapshot;
}

} // namespace

void ScriptDialogDriver::run(DialogModel& model, AdmDialog& dialog) {
    // The event's actions and item belong to its first dialog.
    const int32_t close = close_.value_or(kADMDefaultItemID);
    const std::vector<DialogAction> actions = std::move(actions_);
    close_.reset();
    actions_.clear();
    for (std::size_t index = 0; index < actions.size(); ++index) {
        if (dialog.endedWith) {
            if (observer_ != nullptr) observer_->skipped(index, "the dialog had already ended");
            continue;
        }
        const std::optional<std::string> refusal = play(model, dialog, actions[index]);
        if (observer_ != nullptr) observer_->acted(dialog, index, refusal.value_or(std::string()));
    }
    if (!dialog.endedWith) endWithItem(model, dialog, close);
}

void ScriptDialogDriver::notShown() {
    const std::vector<DialogAction> actions = std::move(actions_);
    close_.reset();
    actions_.clear();
    if (observer_ != nullptr)
        for (std::size_t index = 0; index < actions.size(); ++index)
            observer_->skipped(index, "the dialog was not shown");
}

void DialogRecorder::opened(std::string_view name, int32_t resource) {
    open_.push_back(records_.size());
    DialogRecord record;
    record.name = std::string(name);
    record.resource = resource;
    records_.push_back(std::move(record));
}

void DialogRecorder::shown(const AdmDialog& dialog) {
    if (open_.empty()) return;
    DialogRecord& record = records_[open_.back()];
    for (const auto& item : dialog.items) {
        std::string& text = record.items[item->id];
        if (!text.empty()) text += "\n";
        text += item->shownText();
        if (item->isList() && !record.lists.count(item->id)) {
            std::vector<EntryRecord>& entries = record.lists[item->id];
            for (const auto& entry : item->list->entries)
                entries.push_back(EntryRecord{entry->id, entry->text, entry->pictureID});
        }
    }
    record.snapshots.push_back(snapshotOf(dialog, std::nullopt));
    record.view = dialogView(dialog);
}

void DialogRecorder::acted(const AdmDialog& dialog, std::size_t action, std::string_view refusal) {
    if (open_.empty()) return;
    DialogRecord& record = records_[open_.back()];
    if (!refusal.empty()) record.refused.emplace_back(action, std::string(refusal));
    record.snapshots.push_back(snapshotOf(dialog, action));
    record.view = dialogView(dialog);
}

void DialogRecorder::skipped(std::size_t action, std::string_view reason) {
    if (open_.empty()) return;
    records_[open_.back()].refused.emplace_back(action, std::string(reason));
}

void DialogRecorder::ended(int32_t result) {
    if (open_.empty()) return;
    records_[open_.back()].result = result;
    open_.pop_back();
}

} // namespace zz
