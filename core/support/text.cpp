#include "support/text.hpp"

#include <algorithm>
#include <charconv>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qm {

namespace {
constexpr std::ptrdiff_t kNearScan = 64;
constexpr std::size_t kShortNeedle = 32;

bool rest_matches(const char* at, std::string_view needle, std::size_t from_index) {
    for (std::size_t k = from_index; k < needle.size(); ++k)
        if (at[k] != needle[k]) return false;
    return true;
}

#if defined(__SSE2__)
// Looks at 16 starts at a time and compares only where the needle's first and last bytes both
// fit. Returns the match, or the first start it did not look at (fewer than 16 remain from there).
const char* scan_blocks(const char* p, const char* last_start, std::string_view needle, bool& found) {
    const std::size_t n = needle.size();
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i last = _mm_set1_epi8(needle[n - 1]);
    for (; last_start - p >= 15; p += 16) {
        __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last))));
        for (; mask != 0; mask &= mask - 1) {
            const char* at = p + __builtin_ctz(mask);
            if (rest_matches(at, needle.substr(0, n - 1), 1)) {
                found = true;
                return at;
            }
        }
    }
    return p;
}
#endif
}  // namespace

std::size_t find(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size() || needle.size() > text.size() - from) return npos;
    if (needle.empty()) return from;
    const char* const base = text.data();
    const char* const end = base + text.size();
    const char* const last_start = end - needle.size();
    const char* p = base + from;
#if defined(__SSE2__)
    // Searches in markup mostly stop within a few bytes, where memmem's per-call setup costs more
    // than the whole scan.
    if (needle.size() <= kShortNeedle) {
        bool found = false;
        p = scan_blocks(p, last_start, needle, found);
        if (found) return static_cast<std::size_t>(p - base);
    }
#endif
    // The first bytes one by one (all that is left after the blocks), then memmem for the rest.
    const char* const near_end = last_start - p < kNearScan ? last_start + 1 : p + kNearScan;
    for (; p < near_end; ++p)
        if (*p == needle[0] && rest_matches(p, needle, 1)) return static_cast<std::size_t>(p - base);
    if (near_end > last_start) return npos;
    const void* hit =
        ::memmem(near_end, static_cast<std::size_t>(end - near_end), needle.data(), needle.size());
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - base) : npos;
}

bool contains_either(std::string_view text, std::string_view a, std::string_view b) {
    if (a.empty() || b.empty()) return true;
    const char* p = text.data();
    const char* const end = p + text.size();
    const std::size_t longest = std::max(a.size(), b.size());
    auto at = [&](const char* q, std::string_view needle) {
        return static_cast<std::size_t>(end - q) >= needle.size() && rest_matches(q, needle, 0);
    };
#if defined(__SSE2__)
    const __m128i a_first = _mm_set1_epi8(a[0]), a_last = _mm_set1_epi8(a.back());
    const __m128i b_first = _mm_set1_epi8(b[0]), b_last = _mm_set1_epi8(b.back());
    // Blocks run while both needles' last bytes of all 16 starts are in the text.
    for (; static_cast<std::size_t>(end - p) >= 16 + longest - 1; p += 16) {
        __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i a_tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + a.size() - 1));
        __m128i b_tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + b.size() - 1));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_and_si128(_mm_cmpeq_epi8(head, a_first), _mm_cmpeq_epi8(a_tail, a_last)),
                         _mm_and_si128(_mm_cmpeq_epi8(head, b_first), _mm_cmpeq_epi8(b_tail, b_last)))));
        for (; mask != 0; mask &= mask - 1) {
            const char* q = p + __builtin_ctz(mask);
            if (at(q, a) || at(q, b)) return true;
        }
    }
#endif
    for (; p < end; ++p)
        if (at(p, a) || at(p, b)) return true;
    return false;
}

std::size_t find_before(std::string_view text, std::string_view needle, std::size_t from,
                        std::size_t limit) {
    if (limit > text.size()) limit = text.size();
    if (from >= limit) return npos;
    // A match must start before `limit` but may run past it.
    std::size_t window_end = std::min(text.size(), limit - 1 + needle.size());
    std::size_t pos = find(text.substr(0, window_end), needle, from);
    return pos < limit ? pos : npos;
}

std::size_t rfind(std::string_view text, std::string_view needle) { return text.rfind(needle); }

std::size_t rfind_before(std::string_view text, std::string_view needle, std::size_t before) {
    if (before == 0) return npos;
    if (before > text.size()) before = text.size();
    return text.rfind(needle, before - 1);
}

void append_escaped_text(std::string& out, std::string_view text) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char* entity = nullptr;
        switch (text[i]) {
            case '&': entity = "&amp;"; break;
            case '<': entity = "&lt;"; break;
            case '>': entity = "&gt;"; break;
            case '\'': entity = "&apos;"; break;
            case '"': entity = "&quot;"; break;
            default: continue;
        }
        out.append(text.substr(run, i - run));
        out.append(entity);
        run = i + 1;
    }
    out.append(text.substr(run));
}

std::string escape_text(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    append_escaped_text(out, text);
    return out;
}

namespace {
std::string escape_set(std::string_view text, bool quotes) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"':
                if (quotes) { out += "&quot;"; break; }
                [[fallthrough]];
            default: out += c;
        }
    }
    return out;
}

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}
}  // namespace

std::string escape_minimal(std::string_view text) { return escape_set(text, false); }
std::string escape_attribute(std::string_view text) { return escape_set(text, true); }

std::string resolve_attribute_value(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        char c = raw[i];
        if (c == '\t' || c == '\n' || c == '\r') {
            // CR LF is one line break before normalisation.
            if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
            out += ' ';
            continue;
        }
        if (c != '&') {
            out += c;
            continue;
        }
        std::size_t semi = raw.find(';', i + 1);
        if (semi == npos) {
            out += c;
            continue;
        }
        std::string_view ref = raw.substr(i + 1, semi - i - 1);
        if (ref == "amp") out += '&';
        else if (ref == "lt") out += '<';
        else if (ref == "gt") out += '>';
        else if (ref == "quot") out += '"';
        else if (ref == "apos") out += '\'';
        else if (ref.size() > 1 && ref[0] == '#') {
            std::uint32_t cp = 0;
            bool hex = ref[1] == 'x';
            std::string_view digits = ref.substr(hex ? 2 : 1);
            auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp,
                                             hex ? 16 : 10);
            if (ec != std::errc() || ptr != digits.data() + digits.size() || digits.empty() ||
                cp > 0x10FFFF) {
                out.append(raw.substr(i, semi - i + 1));
            } else {
                append_utf8(out, cp);
            }
        } else {
            out.append(raw.substr(i, semi - i + 1));
        }
        i = semi;
    }
    return out;
}

void append_decimal(std::string& out, std::uint64_t value) {
    char buf[24];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    out.append(buf, ptr);
}

std::string to_decimal(std::uint64_t value) {
    std::string out;
    append_decimal(out, value);
    return out;
}

std::string ascii_uppercase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ascii_upper(c);
    return out;
}

std::size_t find_first_digit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (is_ascii_digit(static_cast<unsigned char>(text[i]))) return i;
    return npos;
}

}  // namespace qm
