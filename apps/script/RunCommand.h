// `zigzag run SCRIPT.json [--out REPORT.json] [--module PATH]`: plays a session script and writes its report.
#ifndef ZZ_APPS_SCRIPT_RUN_COMMAND_H
#define ZZ_APPS_SCRIPT_RUN_COMMAND_H

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/commandline/CommandLine.h"

namespace zz {

// Exit statuses of the command, those every command shares.
enum RunStatus { kRunOk = kCommandOk, kRunFailed = kCommandFailed, kRunUsage = kCommandUsage };

// `args` are the words after "run" (`zigzag run --help` lists the options). Without --module the module is
// `defaultModule`. The report goes to `out` (indented JSON) or, with --out, atomically into the file.
// Messages go to `err`. Returns kRunOk, kRunUsage (bad arguments, unreadable or invalid script) or kRunFailed
// (the module cannot be loaded, the report cannot be written, an export fails).
//
// A workbench document (an SQLite file) is played as the script of its history when `readDocument` is given:
// it reads such a file as a script, or says why it cannot.
using DocumentScriptReader = std::optional<nlohmann::json> (*)(const std::string& path, std::string* error);
int runRunCommand(const std::vector<std::string>& args, const std::string& defaultModule, std::ostream& out,
                  std::ostream& err, DocumentScriptReader readDocument = nullptr);

} // namespace zz

#endif
