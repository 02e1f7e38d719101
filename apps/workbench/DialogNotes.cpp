#include "apps/workbench/DialogNotes.h"

#include <map>

#include "apps/script/DialogChoices.h"
#include "apps/script/DialogView.h"
#include "apps/script/ToolDialog.h"

namespace zz {

using nlohmann::json;

DialogNotes toolDialogNotes(const std::string& modulePath, std::string* error) {
    DialogNotes notes;
    // The lists' captions name the zigzag's two elements as the "Link Zigzag 2 to 1" box beside them does.
    notes.captions = {{kDesignList1, "list", "Zigzag 1"},
                      {kDesignList2, "list", "Zigzag 2"},
                      {kPresetPopup, "popup", "Preset"}};
    for (int32_t page = 0; page < kPageCount; ++page)
        notes.pageButtons.push_back({kFirstPageButton + page, kFirstPageLabel + page});
    std::vector<ChoiceEffect> presets;
    // In the document `zigzag presets` uses, so that both say the same of every preset.
    const json document = {{"swatches", kDialogDocumentSwatches}};
    if (!listChoices(moduleSessions(modulePath, document), kPresetPopup, &presets, error)) return notes;
    for (const ChoiceEffect& preset : presets)
        notes.hints.push_back(
            {kPresetPopup, preset.id, preset.text,
             preset.refused.empty() ? describeChanges(preset.changes) : "refused (" + preset.refused + ")"});
    return notes;
}

void annotateDialog(json& dialog, const DialogNotes& notes) {
    if (!dialog.is_object() || !dialog.contains("items")) return;
    std::map<int32_t, json*> items;
    for (json& item : dialog["items"])
        items.emplace(item["id"].get<int32_t>(), &item);
    const auto find = [&](int32_t id, const char* kind) -> json* {
        const auto found = items.find(id);
        return found != items.end() && (*found->second)["kind"] == kind ? found->second : nullptr;
    };
    for (const DialogNotes::Caption& caption : notes.captions)
        if (json* item = find(caption.item, caption.kind.c_str())) (*item)["caption"] = caption.text;
    for (const DialogNotes::PageButton& page : notes.pageButtons) {
        json* button = find(page.button, "button");
        const json* label = find(page.label, "label");
        if (button == nullptr || label == nullptr) continue;
        (*button)["pressed"] = (*label)["bold"];
        (*button)["labelledBy"] = page.label;
    }
    for (const DialogNotes::Hint& hint : notes.hints) {
        json* item = find(hint.item, "popup");
        if (item == nullptr) continue;
        for (json& entry : (*item)["entries"])
            if (entry["id"] == hint.entry && entry["text"] == hint.text) entry["hint"] = hint.hint;
    }
}

json notedDialogView(const AdmDialog& dialog, const DialogNotes& notes) {
    json view = dialogView(dialog);
    annotateDialog(view, notes);
    return view;
}

} // namespace zz
