// The tool settings record as JSON: every field by name in record order, and writes of single fields by name.
// This is the host's testing knowledge of the plug-in's record layout (settings/ToolSettings.h).
#ifndef ZZ_APPS_SCRIPT_SETTINGS_JSON_H
#define ZZ_APPS_SCRIPT_SETTINGS_JSON_H

#include <optional>
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

// Checks a {"field": value, ...} object without writing: unknown names and wrong types are reported as
// "FIELD: what is wrong". Integer fields take integers (or true / false), float fields numbers or the three
// strings, designTemplate a list of at most 105 such floats.
std::optional<std::string> checkSettingsPatch(const nlohmann::json& patch);
// Writes a checked patch into the record. designTemplate writes its list from the first
// slot on and leaves the rest alone.
void applySettingsPatch(ToolSettings& settings, const nlohmann::json& patch);

} // namespace zz

#endif
