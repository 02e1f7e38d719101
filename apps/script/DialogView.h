// A dialog's state in one form, for whatever draws it (the workbench's page, `zigzag dialog`'s picture):
// every item at its own rectangle with what it shows and holds.
//
//   {"name", "resource", "width", "height",
//    "items": [{"id", "kind": label|spin|check|popup|list|button|frame|other, "rect": [l, t, r, b], "text",
//               "visible", "enabled", "bold", "focus",
//               spin: "value", "min", "max", "whole"; check: "value" (bool);
//               popup, list: "active" (entry id or null), "entries": [{"id", "text", "picture"}]}, ...]}
//
// "width" and "height" reach to the farthest shown item, with a margin as wide as the nearest item's. Items
// keep the dialog's order; items that share an id (unnamed labels) each appear. The workbench adds notes
// (apps/workbench/DialogNotes.h): items and entries may also carry "caption", "pressed" and "hint".
//
// A session report keeps its own record of a dialog (every snapshot, in the report's kept format); this is
// the form of the dialog as it stands.
#ifndef ZZ_APPS_SCRIPT_DIALOG_VIEW_H
#define ZZ_APPS_SCRIPT_DIALOG_VIEW_H

#include <nlohmann/json.hpp>

#include "host/dialogs/DialogModel.h"

namespace zz {

nlohmann::json dialogView(const AdmDialog& dialog);

} // namespace zz

#endif
