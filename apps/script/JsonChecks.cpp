#include "apps/script/JsonChecks.h"

#include <cmath>
#include <limits>

namespace zz {

namespace {

constexpr double kFloatMax = std::numeric_limits<float>::max();

} // namespace

bool isInteger(const nlohmann::json& value, int64_t low, int64_t high) {
    if (value.is_number_unsigned()) {
        const uint64_t number = value.get<uint64_t>();
        return high >= 0 && number <= static_cast<uint64_t>(high) &&
               (low < 0 || number >= static_cast<uint64_t>(low));
    }
    if (!value.is_number_integer()) return false;
    const int64_t number = value.get<int64_t>();
    return number >= low && number <= high;
}

bool isNumberIn(const nlohmann::json& value, double low, double high) {
    if (!value.is_number()) return false;
    const double number = value.get<double>();
    return std::isfinite(number) && number >= low && number <= high;
}

bool isFiniteNumber(const nlohmann::json& value) {
    return isNumberIn(value, -kFloatMax, kFloatMax);
}

bool isPairIn(const nlohmann::json& value, double low, double high) {
    return value.is_array() && value.size() == 2 && isNumberIn(value[0], low, high) &&
           isNumberIn(value[1], low, high);
}

bool isPoint(const nlohmann::json& value) {
    return isPairIn(value, -kFloatMax, kFloatMax);
}

} // namespace zz
