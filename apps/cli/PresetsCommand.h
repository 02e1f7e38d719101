// "zigzag presets": the tool's presets, as its options dialog offers them, and what each one changes.
#ifndef ZZ_APPS_CLI_PRESETS_COMMAND_H
#define ZZ_APPS_CLI_PRESETS_COMMAND_H

#include <ostream>
#include <string>
#include <vector>

// `args` are the words after "presets": --module PATH and the document options, all optional (`zigzag
// presets --help` lists them). Starts the module, opens its options dialog and reads the entries of the
// preset popup; then, for each entry in a fresh session, chooses it, clicks OK and prints the entry's id, its
// text and every settings field that differs from the settings after start-up ("field: before -> after").
// Returns 0; 1 when the module cannot run or its dialog has no preset popup; 2 for bad arguments.
int runPresetsCommand(const std::vector<std::string>& args, const std::string& modulePath, std::ostream& out,
                      std::ostream& err);

#endif
