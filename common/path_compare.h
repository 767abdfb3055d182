#pragma once
// Paths compared as the file system compares the names the programs deal in.
#include <cstddef>
#include <string_view>

namespace fulmina {

// Two paths alike but for the case of ASCII letters.
template <typename Char>
bool sameIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    const auto lower = [](Char c) { return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace fulmina
