// Checks of JSON values shared by the script checker and the workbench's requests, so that both take the same
// values for an integer, a number and a point.
#ifndef ZZ_APPS_SCRIPT_JSON_CHECKS_H
#define ZZ_APPS_SCRIPT_JSON_CHECKS_H

#include <cstdint>

#include <nlohmann/json.hpp>

namespace zz {

// A JSON integer (3.0 is not one) from `low` to `high`, compared exactly.
bool isInteger(const nlohmann::json& value, int64_t low, int64_t high);

// A number (not NaN or infinite) from `low` to `high`.
bool isNumberIn(const nlohmann::json& value, double low, double high);

// A number that stays finite as the 32-bit float the host keeps it in (1e300 would become infinite).
bool isFiniteNumber(const nlohmann::json& value);

// [a, b]: two numbers, each from `low` to `high`.
bool isPairIn(const nlohmann::json& value, double low, double high);

// [x, y]: two numbers that stay finite as 32-bit floats.
bool isPoint(const nlohmann::json& value);

} // namespace zz

#endif
