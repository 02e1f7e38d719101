// What the page shows of the tool's options dialog beyond what the module put in it, as a desktop host draws
// its own around a plug-in's controls: captions for the controls the module left without a label (the two
// design lists and the preset popup), which page button is down (the one whose page is shown), and what
// choosing each preset changes, as `zigzag presets` says it.
//
// They are added to the dialog's view (apps/script/DialogView.h) as the page gets it:
//
//   an item:                "caption": text
//   a page button:          "pressed": true while the label under it is bold, the mark of the page shown;
//                           "labelledBy": that label's id, the button's name
//   an entry of a popup:    "hint": what choosing it and OK change, "field before -> after, ..."
//
// each only where the dialog holds what the notes expect: a caption on an item of the kind it was written
// for, a page button over its label, a hint on an entry whose id and text are those that were played. Any
// other dialog, or a module with other items, is shown as it is.
#ifndef ZZ_APPS_WORKBENCH_DIALOG_NOTES_H
#define ZZ_APPS_WORKBENCH_DIALOG_NOTES_H

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/dialogs/DialogModel.h"

namespace zz {

struct DialogNotes {
    struct Caption {
        int32_t item = 0;
        std::string kind; // as DialogView.h names it: "list", "popup", ...
        std::string text;
    };
    struct PageButton {
        int32_t button = 0;
        int32_t label = 0;
    };
    struct Hint {
        int32_t item = 0;
        int32_t entry = 0;
        std::string text; // the entry's text when it was played
        std::string hint;
    };
    std::vector<Caption> captions;
    std::vector<PageButton> pageButtons;
    std::vector<Hint> hints;
};

// The notes on the tool's options dialog. What each preset changes is played in sessions of their own with
// the module at `modulePath`, one after another, each from start-up: call this before any other session of
// the same module is started in this process (a module's globals are its own, one set per process). When
// they cannot be played the notes hold no hints and *error says why.
DialogNotes toolDialogNotes(const std::string& modulePath, std::string* error);

// Adds the notes to `dialog`, a dialog as dialogView gives it.
void annotateDialog(nlohmann::json& dialog, const DialogNotes& notes);

// The view of `dialog` with the notes added: the dialog as the page gets it.
nlohmann::json notedDialogView(const AdmDialog& dialog, const DialogNotes& notes);

} // namespace zz

#endif
