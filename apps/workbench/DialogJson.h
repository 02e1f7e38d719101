// A shown dialog as a page draws it: every item at its own rectangle with what it shows and holds.
//
//   {"name", "resource", "width", "height",
//    "items": [{"id", "kind": label|spin|check|popup|list|button|frame|other, "rect": [l, t, r, b], "text",
//               "visible", "enabled", "bold", "focus",
//               spin: "value", "min", "max", "whole"; check: "value" (bool);
//               popup, list: "active" (entry id or null), "entries": [{"id", "text", "picture"}]}, ...]}
//
// "width" and "height" reach to the farthest item, with a margin as wide as the nearest item's. With notes
// (DialogNotes.h), items and entries may also carry "caption", "pressed" and "hint".
#ifndef ZZ_APPS_WORKBENCH_DIALOG_JSON_H
#define ZZ_APPS_WORKBENCH_DIALOG_JSON_H

#include <nlohmann/json.hpp>

#include "host/dialogs/DialogModel.h"
#include "apps/workbench/DialogNotes.h"

namespace zz {

nlohmann::json dialogJson(const AdmDialog& dialog);
nlohmann::json dialogJson(const AdmDialog& dialog, const DialogNotes& notes);

} // namespace zz

#endif
