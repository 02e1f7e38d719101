// Texts that come from the plug-in are bytes of its code page; what the host writes as UTF-8 (SVG files, JSON
// reports) must be valid UTF-8.
#ifndef ZZ_HOST_BASE_UTF8_H
#define ZZ_HOST_BASE_UTF8_H

#include <string>
#include <string_view>

namespace zz {

// `text` with every byte that does not belong to a well-formed UTF-8 sequence replaced by U+FFFD (overlong
// forms, surrogates and code points beyond U+10FFFF are not well formed). Valid text comes back unchanged.
std::string validUtf8(std::string_view text);

// `text` as it may be quoted in a message to a terminal or a log: invalid bytes replaced as validUtf8 does,
// control characters written as escapes (\x1b, \x00, \u0085 for the C1 controls), and text past `limit`
// characters cut and ended with an ellipsis (U+2026). What comes back holds no byte a terminal would act on.
std::string safeQuote(std::string_view text, std::size_t limit = 80);

} // namespace zz

#endif
