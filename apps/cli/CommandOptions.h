// Values of the commands' options, and the options that describe the document a command runs in, which
// `zigzag draw`, `zigzag presets` and `zigzag dialog` share.
#ifndef ZZ_APPS_CLI_COMMAND_OPTIONS_H
#define ZZ_APPS_CLI_COMMAND_OPTIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "apps/commandline/CommandLine.h"

namespace zz {

// A number the host can keep as a 32-bit float (finite, within its range), or nothing.
std::optional<double> parseNumber(const std::string& text);
// A decimal integer, or hex after 0x (a leading zero does not make octal), or nothing.
std::optional<int64_t> parseInteger(const std::string& text);
// "X,Y" as the JSON point [X, Y]; OptionError otherwise.
nlohmann::json parsePoint(const std::string& option, const std::string& text);
// An integer from `low` to `high`; OptionError otherwise.
int64_t parseRange(const std::string& option, const std::string& text, int64_t low, int64_t high);

// Declares the document options on `line`, each value recorded in `given` in the order given: --page W,H
// (unless `withPage` is false, where the command has a --page of its own), --color-model gray|rgb|cmyk,
// --swatches N (the help names `swatches` as the default), --styles N and --document DOC (a session
// script's "document" object, as JSON text starting with '{' or a file holding it).
void addDocumentOptions(CommandLine& line, std::vector<GivenOption>& given, bool withPage, int swatches);
// Lays the given document options over `document` (a script's "document" object) in the order given: a later
// option replaces the keys an earlier one gave. OptionError names a bad value and its place.
void applyDocumentOptions(const std::vector<GivenOption>& given, nlohmann::json& document);
// The files a command that runs `module` in a document from `given` reads: the module and each --document
// that is no JSON text, for the check that no output replaces them.
std::vector<std::string> inputFiles(const std::vector<GivenOption>& given, const std::string& module);

} // namespace zz

#endif
