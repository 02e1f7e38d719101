#include "host/base/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace zz {

std::optional<std::string> formatNumber(AIReal value, int decimals) {
    if (!std::isfinite(value) || decimals < 0 || decimals > 10) return std::nullopt;
    char buffer[80];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return std::nullopt;
    std::string text(buffer, result.ptr);
    // "-0" and "-0.00" are zero: no sign.
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::optional<AIReal> parseNumber(std::string_view text) {
    std::size_t at = text.find_first_not_of(' ');
    if (at == std::string_view::npos) return std::nullopt;
    text.remove_prefix(at);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Only digits, at most one point, and at least one digit: no exponents, no "inf" or "nan".
    int digits = 0;
    int points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0 || points > 1) return std::nullopt;
    float value = 0.0f;
    const auto result =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

void toPascal(std::string_view text, unsigned char* buffer) {
    const std::size_t length = text.size() < 255 ? text.size() : 255;
    buffer[0] = static_cast<unsigned char>(length);
    std::memcpy(buffer + 1, text.data(), length);
}

std::string fromPascal(const unsigned char* buffer) {
    return std::string(reinterpret_cast<const char*>(buffer + 1), buffer[0]);
}

std::optional<int64_t> parseDecimal(std::string_view text, int64_t low, int64_t high) {
    // Eighteen digits always fit a 64-bit integer.
    if (text.empty() || text.size() > 18) return std::nullopt;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high) return std::nullopt;
    return value;
}

} // namespace zz
