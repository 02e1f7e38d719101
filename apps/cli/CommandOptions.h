// Values of the commands' options, and the options that describe the document a command runs in, which
// `zigzag draw`, `zigzag presets` and `zigzag dialog` share.
#ifndef ZZ_APPS_CLI_COMMAND_OPTIONS_H
#define ZZ_APPS_CLI_COMMAND_OPTIONS_H

#include <cstdint>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace zz {

// A bad option or value; the message names the option and what it expects.
struct OptionError {
    std::string message;
};

// A number the host can keep as a 32-bit float (finite, within its range), or nothing.
std::optional<double> parseNumber(const std::string& text);
// A decimal integer, or hex after 0x (a leading zero does not make octal), or nothing.
std::optional<int64_t> parseInteger(const std::string& text);
// "X,Y" as the JSON point [X, Y]; OptionError otherwise.
nlohmann::json parsePoint(const std::string& option, const std::string& text);
// An integer from `low` to `high`; OptionError otherwise.
int64_t parseRange(const std::string& option, const std::string& text, int64_t low, int64_t high);

// The document options: --page W,H, --color-model gray|rgb|cmyk, --swatches N, --styles N and --document
// DOC (a session script's "document" object, as JSON text starting with '{' or a file holding it).
bool isDocumentOption(const std::string& option);
// Lays document option `option` with its value over `document` (a script's "document" object): a later
// option replaces the keys an earlier one gave. OptionError names a bad value and its place.
void applyDocumentOption(const std::string& option, const std::string& value, nlohmann::json& document);
// The document options in a usage text, one line each after two blanks.
extern const char* const kDocumentOptionsUsage;

} // namespace zz

#endif
