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

} // namespace zz

#endif
