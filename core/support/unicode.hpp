#pragma once
// The little Unicode the names and column texts need: White_Space trimming, code-point counting,
// UTF-8 validity.
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

// Remove leading and trailing characters with the Unicode White_Space property.
std::string_view trim_white_space(std::string_view text);
// Number of code points of valid UTF-8 text (continuation bytes are not counted).
std::size_t count_code_points(std::string_view text);
bool is_valid_utf8(std::string_view text);
// Invalid byte sequences replaced by U+FFFD.
std::string to_utf8_lossy(std::string_view text);
// Unicode simple case folding: one code point to one (A to a, U+1E9E to U+00DF); others unchanged.
char32_t fold_case_simple(char32_t c);
// Equal code point by code point under simple case folding ("Data" and "DATA", "Ä" and "ä").
bool equal_ignoring_case(std::string_view a, std::string_view b);

}  // namespace qm
