// Number <-> text conversions of the AI User suite, over length-prefixed strings (a length byte, then that
// many characters, no terminator). Independent of the C locale: the decimal point is always ".".
#ifndef ZZ_HOST_BASE_NUMBER_TEXT_H
#define ZZ_HOST_BASE_NUMBER_TEXT_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "ZZTypes.h"

namespace zz {

// `value` with `decimals` places after the point (0: no point), a leading "-" for negative values; a value
// that rounds to zero is written without a sign. Null for a non-finite value or decimals outside 0..10.
std::optional<std::string> formatNumber(AIReal value, int decimals);

// Reads an optional sign, digits and an optional point with digits (at least one digit in all) after any
// leading blanks; the number must fill the rest of the text. Null when the text is not such a number or its
// value does not fit a 32-bit float.
std::optional<AIReal> parseNumber(std::string_view text);

// A decimal integer of plain digits (no sign, no blanks) from `low` to `high`; null for anything else.
std::optional<int64_t> parseDecimal(std::string_view text, int64_t low, int64_t high);

// Length-prefixed strings. toPascal cuts the text to 255 characters.
void toPascal(std::string_view text, unsigned char* buffer);
std::string fromPascal(const unsigned char* buffer);

} // namespace zz

#endif
