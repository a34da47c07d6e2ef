#pragma once
// Byte-level search and splice helpers over part texts, and the XML escapes the markup needs.
// Every position is a byte offset; `npos` means "not found".
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace qm {

inline constexpr std::size_t npos = std::string_view::npos;

// First occurrence of `needle` at or after `from` (memmem past the first bytes: these run over
// 100 MB worksheets).
std::size_t find(std::string_view text, std::string_view needle, std::size_t from = 0);
// First occurrence of `needle` starting in [from, limit): the match may not begin at or after limit.
std::size_t find_before(std::string_view text, std::string_view needle, std::size_t from,
                        std::size_t limit);
// Last occurrence of `needle` in the whole text.
std::size_t rfind(std::string_view text, std::string_view needle);
// Last occurrence of `needle` that starts before `before`.
std::size_t rfind_before(std::string_view text, std::string_view needle, std::size_t before);

inline bool contains(std::string_view text, std::string_view needle) {
    return find(text, needle) != npos;
}
// Whether either needle (both non-empty) occurs: one pass where two searches would read a large
// text twice.
bool contains_either(std::string_view text, std::string_view a, std::string_view b);

// Copies `s` to `p` and returns the end. Short pieces take fixed-size moves (overlapping where the
// size is in between), where a memcpy call each would cost more than the copy: large blocks of
// cells make millions of them.
inline char* put_short(char* p, std::string_view s) {
    const char* from = s.data();
    const std::size_t n = s.size();
    if (n > 32) {
        std::memcpy(p, from, n);
    } else if (n >= 16) {
        std::memcpy(p, from, 16);
        std::memcpy(p + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(p, from, 8);
        std::memcpy(p + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(p, from, 4);
        std::memcpy(p + n - 4, from + n - 4, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i) p[i] = from[i];
    }
    return p + n;
}

// Replace [pos, pos + len) of `text` by `with`.
inline void splice(std::string& text, std::size_t pos, std::size_t len, std::string_view with) {
    text.replace(pos, len, with);
}
inline void insert_at(std::string& text, std::size_t pos, std::string_view what) {
    text.insert(pos, what);
}

// Replace every "&", "<", ">", "'" and '"' by its entity; everything else is copied unchanged.
std::string escape_text(std::string_view text);
void append_escaped_text(std::string& out, std::string_view text);
// "&", then "<", then ">" only: quotes stay.
std::string escape_minimal(std::string_view text);
// Attribute escaping that leaves the apostrophe alone ("&", '"', "<", ">").
std::string escape_attribute(std::string_view text);

// Resolve the five predefined entities and decimal/hex character references, and normalise literal
// tab, CR and LF to a space as XML does for attribute values. Unknown references stay as written.
std::string resolve_attribute_value(std::string_view raw);

// Decimal text of an unsigned number.
std::string to_decimal(std::uint64_t value);
void append_decimal(std::string& out, std::uint64_t value);

inline bool is_ascii_digit(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool is_ascii_letter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline char ascii_upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
std::string ascii_uppercase(std::string_view text);

// Position of the first ASCII digit, or npos.
std::size_t find_first_digit(std::string_view text);

}  // namespace qm
