#include "host/base/Utf8.h"

#include <cstdio>

namespace zz {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The length of the well-formed sequence at the start of `text`, or 0.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // no overlong forms
        if (lead == 0xED) high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;  // no overlong forms
        if (lead == 0xF4) high = 0x8F; // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

// The escape of a control character, or nothing for a printable one. `sequence` is one well-formed sequence.
std::string controlEscape(std::string_view sequence) {
    char text[8] = {};
    const auto lead = static_cast<unsigned char>(sequence[0]);
    if (sequence.size() == 1 && (lead < 0x20 || lead == 0x7F)) {
        std::snprintf(text, sizeof text, "\\x%02x", lead);
        return text;
    }
    // U+0080 to U+009F, the C1 controls, are C2 80 to C2 9F.
    const bool c1 = sequence.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(sequence[1]) < 0xA0;
    if (c1) std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned char>(sequence[1]));
    return text;
}

} // namespace

std::string safeQuote(std::string_view text, std::size_t limit) {
    std::string out;
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == limit) return out + "\u2026"; // an ellipsis
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
        } else {
            const std::string escape = controlEscape(text.substr(0, length));
            out += escape.empty() ? text.substr(0, length) : std::string_view(escape);
            text.remove_prefix(length);
        }
        ++characters;
    }
    return out;
}

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}

} // namespace zz
