// The JSON report of a session, written as it is produced: each key's value goes to the stream as soon as it
// is known, and the art, by far the largest part, object by object, so that the memory a report takes beyond
// the document stays small whatever the document holds.
#ifndef ZZ_APPS_SCRIPT_REPORT_H
#define ZZ_APPS_SCRIPT_REPORT_H

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/core/ToolSession.h"
#include "apps/script/ScriptDialogs.h"

namespace zz {

struct ReportSources {
    ToolSession& session;
    const std::vector<std::optional<int64_t>>& results; // per event: the status, or none for host-side events
    const std::vector<DialogRecord>& dialogs;
};

// One dialog snapshot as the report writes it: {"after": "init" or the action's index, "items": {ID: {...}}},
// each item with the keys that apply to its kind; items sharing an id after the first keyed "ID#2", "ID#3".
nlohmann::ordered_json snapshotToJson(const DialogSnapshot& snapshot);

// Writes the report, indented by two spaces per level, texts that are not UTF-8 repaired; no final newline.
void writeReport(std::ostream& out, const ReportSources& sources);

} // namespace zz

#endif
