// The tool settings record as JSON: every field by name in record order, and writes of single fields by name.
// This is the host's testing knowledge of the plug-in's record layout (settings/ToolSettings.h).
#ifndef ZZ_APPS_SCRIPT_SETTINGS_JSON_H
#define ZZ_APPS_SCRIPT_SETTINGS_JSON_H

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/suites/HostServices.h"
#include "plugin/settings/ToolSettings.h"

namespace zz {

// The live settings record: the first live block named "globals" that is big enough to hold it, or null.
ToolSettings* settingsBlock(HostServices& host);

// A 32-bit float as JSON: the shortest decimal that reads back as the same float; non-finite values as the
// strings "nan", "inf" and "-inf".
nlohmann::ordered_json floatToJson(float value);
// The inverse: a number, or one of the three strings. Null for anything else.
std::optional<float> floatFromJson(const nlohmann::json& value);

// Every field of the record in order; integers as integers, floats by floatToJson, designTemplate as its
// floats up to and including the end marker (all of them when it has none). The host words are left out.
nlohmann::ordered_json settingsToJson(const ToolSettings& settings);

// The names of the fields a session may write, in record order (designTemplate included, host words not).
const std::vector<std::string>& settingsFieldNames();

// What a user can set in a field through the options dialog: the range of its spin edit, the entries of its
// list (0 to the count less one), 0 or 1 for a check box; `item` is the dialog item that sets it (0 for the
// fields that the dialog sets in other ways: its page, the scaling factors it works out).
struct SettingsFieldRange {
    const char* name;
    int32_t item;
    double low, high;
};
// Every field the options dialog sets, with its range. The working fields of a drag and the design template
// are not among them.
std::span<const SettingsFieldRange> settingsFieldRanges();

// Checks a {"field": value, ...} object without writing: unknown names, wrong types and values beyond what
// the options dialog lets a user set are reported as "FIELD: what is wrong". Integer fields take integers (or
// true / false), float fields numbers or, when the dialog does not set them, the three strings;
// designTemplate a list of at most 105 such floats.
std::optional<std::string> checkSettingsPatch(const nlohmann::json& patch);
// Writes a checked patch into the record. designTemplate writes its list from the first
// slot on and leaves the rest alone.
void applySettingsPatch(ToolSettings& settings, const nlohmann::json& patch);

} // namespace zz

#endif
