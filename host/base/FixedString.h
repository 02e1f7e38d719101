// A string usable as a template argument, so that a suite operation's name can be part of its adapter's type.
#ifndef ZZ_HOST_BASE_FIXED_STRING_H
#define ZZ_HOST_BASE_FIXED_STRING_H

#include <cstddef>
#include <string_view>

namespace zz {

template <std::size_t N> struct FixedString {
    char text[N]{};
    constexpr FixedString(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i)
            text[i] = s[i];
    }
    constexpr std::string_view view() const { return {text, N - 1}; }
};

} // namespace zz

#endif
