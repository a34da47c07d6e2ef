#include "support/unicode.hpp"

#include <cstdint>

namespace qm {

namespace {
bool is_white_space(std::uint32_t cp) {
    return (cp >= 0x09 && cp <= 0x0D) || cp == 0x20 || cp == 0x85 || cp == 0xA0 || cp == 0x1680 ||
           (cp >= 0x2000 && cp <= 0x200A) || cp == 0x2028 || cp == 0x2029 || cp == 0x202F ||
           cp == 0x205F || cp == 0x3000;
}

// Length of the valid UTF-8 sequence at `i` and its code point; 0 when invalid.
std::size_t decode_at(std::string_view s, std::size_t i, std::uint32_t& cp) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    std::uint32_t min;
    if ((b0 & 0xE0) == 0xC0) len = 2, cp = b0 & 0x1F, min = 0x80;
    else if ((b0 & 0xF0) == 0xE0) len = 3, cp = b0 & 0x0F, min = 0x800;
    else if ((b0 & 0xF8) == 0xF0) len = 4, cp = b0 & 0x07, min = 0x10000;
    else return 0;
    if (i + len > s.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        unsigned char b = byte(i + k);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

// Start of the code point that ends just before `end`.
std::size_t previous_start(std::string_view s, std::size_t end) {
    std::size_t i = end - 1;
    while (i > 0 && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80 && end - i < 4) --i;
    return i;
}
}  // namespace

std::string_view trim_white_space(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end) {
        std::uint32_t cp;
        std::size_t len = decode_at(text, begin, cp);
        if (len == 0 || !is_white_space(cp)) break;
        begin += len;
    }
    while (end > begin) {
        std::size_t start = previous_start(text, end);
        if (start < begin) break;
        std::uint32_t cp;
        std::size_t len = decode_at(text, start, cp);
        if (len == 0 || start + len != end || !is_white_space(cp)) break;
        end = start;
    }
    return text.substr(begin, end - begin);
}

std::size_t count_code_points(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

bool is_valid_utf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp;
        std::size_t len = decode_at(text, i, cp);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

std::string to_utf8_lossy(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t cp;
        std::size_t len = decode_at(text, i, cp);
        if (len == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        std::uint32_t x = 0, y = 0;
        std::size_t n = decode_at(a, i, x), m = decode_at(b, j, y);
        // Invalid bytes compare as themselves.
        if (n == 0) x = 0x110000 + static_cast<unsigned char>(a[i]), n = 1;
        if (m == 0) y = 0x110000 + static_cast<unsigned char>(b[j]), m = 1;
        if (x != y && fold_case_simple(x) != fold_case_simple(y)) return false;
        i += n;
        j += m;
    }
    return i == a.size() && j == b.size();
}

}  // namespace qm
