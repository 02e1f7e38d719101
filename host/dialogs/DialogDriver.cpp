#include "host/dialogs/DialogDriver.h"

#include "host/dialogs/DialogModel.h"

#include "ADMNotifier.h"

namespace zz {

void endWithItem(DialogModel& model, AdmDialog& dialog, int32_t item) {
    if (AdmItem* target = dialog.item(item)) model.notify(*target, kADMUserChangedNotifier);
    if (!dialog.endedWith) dialog.endedWith = item;
}

namespace {

// The item a user could reach, or why not.
AdmItem* reachable(AdmDialog& dialog, int32_t id, std::optional<std::string>* refusal) {
    AdmItem* item = dialog.item(id);
    const std::string name = "item " + std::to_string(id);
    if (item == nullptr)
        *refusal = "the dialog has no " + name;
    else if (!item->visible)
        *refusal = name + " is hidden";
    else if (!item->enabled)
        *refusal = name + " is disabled";
    else
        return item;
    return nullptr;
}

std::string cannot(const AdmItem& item, const char* what) {
    return "item " + std::to_string(item.id) + " (" + item.type + ") cannot " + what;
}

} // namespace

std::optional<std::string> typeValue(DialogModel& model, AdmDialog& dialog, int32_t id, double number) {
    std::optional<std::string> refusal;
    AdmItem* item = reachable(dialog, id, &refusal);
    if (item == nullptr) return refusal;
    if (item->isCheckBox()) {
        item->value.set(number != 0.0 ? 1.0 : 0.0);
    } else if (item->isNumeric()) {
        // Typing goes to the field the user clicked into: it has the focus from now on.
        for (const auto& other : dialog.items)
            other->active = false;
        item->active = true;
        item->textSelected = false;
        item->enterValue(number);
    } else {
        return cannot(*item, "take a value");
    }
    model.notify(*item, kADMUserChangedNotifier);
    return std::nullopt;
}

std::optional<std::string> chooseEntry(DialogModel& model, AdmDialog& dialog, int32_t id, int32_t entryId) {
    std::optional<std::string> refusal;
    AdmItem* item = reachable(dialog, id, &refusal);
    if (item == nullptr) return refusal;
    if (!item->isList()) return cannot(*item, "choose an entry");
    for (const auto& entry : item->list->entries) {
        if (entry->id != entryId) continue;
        DialogModel::select(*entry, true);
        model.notify(*item, kADMUserChangedNotifier);
        return std::nullopt;
    }
    return "item " + std::to_string(id) + " has no entry with id " + std::to_string(entryId);
}

std::optional<std::string> clickItem(DialogModel& model, AdmDialog& dialog, int32_t id) {
    std::optional<std::string> refusal;
    AdmItem* item = reachable(dialog, id, &refusal);
    if (item == nullptr) return refusal;
    if (item->isCheckBox())
        item->value.set(item->heldValue() != 0.0 ? 0.0 : 1.0);
    else if (!item->isButton())
        return cannot(*item, "be clicked");
    model.notify(*item, kADMUserChangedNotifier);
    return std::nullopt;
}

} // namespace zz
