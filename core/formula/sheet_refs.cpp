#include <algorithm>

#include "formula/formula.hpp"
#include "support/text.hpp"
#include "support/unicode.hpp"

namespace qm {

namespace {

// Next code point of valid-looking UTF-8 at `i`; malformed bytes read as themselves.
char32_t next_code_point(std::string_view s, std::size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t cp = extra == 3 ? (b & 0x07) : extra == 2 ? (b & 0x0F) : extra == 1 ? (b & 0x1F) : b;
    for (int k = 0; k < extra && i < s.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    return cp;
}

// Non-ASCII characters that are spaces, punctuation or symbols rather than letters.
bool is_non_letter(char32_t cp) {
    return (cp >= 0x80 && cp <= 0xBF) || cp == 0xD7 || cp == 0xF7 || (cp >= 0x2000 && cp <= 0x2BFF) ||
           (cp >= 0x3000 && cp <= 0x303F) || (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF20) ||
           (cp >= 0xFF3B && cp <= 0xFF40) || (cp >= 0xFF5B && cp <= 0xFF65);
}

bool all_digits(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return is_ascii_digit(static_cast<unsigned char>(c)); });
}

// A1-style: letters then digits.
bool looks_like_a1(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && is_ascii_letter(static_cast<unsigned char>(s[i]))) ++i;
    return i >= 1 && i <= 3 && i < s.size() && all_digits(s.substr(i));
}

// R1C1-style: R, C, RC, R1, C1, R1C, RC1, R1C1 in either case.
bool looks_like_r1c1(std::string_view s) {
    std::size_t i = 0;
    bool any = false;
    if (i < s.size() && (s[i] == 'R' || s[i] == 'r')) {
        any = true;
        ++i;
        while (i < s.size() && is_ascii_digit(static_cast<unsigned char>(s[i]))) ++i;
    }
    if (i < s.size() && (s[i] == 'C' || s[i] == 'c')) {
        any = true;
        ++i;
        while (i < s.size() && is_ascii_digit(static_cast<unsigned char>(s[i]))) ++i;
    }
    return any && i == s.size();
}

void append_name(std::string& out, std::string_view name, bool quoted) {
    for (char c : name) {
        out += c;
        if (quoted && c == '\'') out += '\'';
    }
}

std::string render_prefix(std::string_view first, std::string_view last) {
    bool quoted = sheet_name_needs_quotes(first) || (!last.empty() && sheet_name_needs_quotes(last));
    std::string out;
    if (quoted) out += '\'';
    append_name(out, first, quoted);
    if (!last.empty()) {
        out += ':';
        append_name(out, last, quoted);
    }
    if (quoted) out += '\'';
    out += '!';
    return out;
}

std::optional<std::size_t> position_of(const SheetChange& change, std::string_view name) {
    for (std::size_t i = 0; i < change.sheet_order.size(); ++i) {
        const std::string& listed = change.sheet_order[i];
        if (change.match_case ? listed == name : same_sheet_name(listed, name)) return i;
    }
    return std::nullopt;
}

// New prefix text for a deleted sheet, or nullopt when the whole prefix turns into #REF!. An end of
// a 3-D range moves inward to the neighbouring sheet; a range left with one sheet names just it.
std::optional<std::string> prefix_after_delete(const SheetPrefix& prefix, const SheetChange& change) {
    if (prefix.last.empty()) return std::nullopt;
    auto i1 = position_of(change, prefix.first);
    auto i2 = position_of(change, prefix.last);
    auto gone = position_of(change, change.old_name);
    if (!i1 || !i2 || !gone || *i1 == *i2) return std::nullopt;
    std::size_t a = *i1, b = *i2;
    bool forward = a < b;
    if (a == *gone) a = forward ? a + 1 : a - 1;
    else b = forward ? b - 1 : b + 1;
    const std::string& first = change.sheet_order[a];
    const std::string& last = change.sheet_order[b];
    return a == b ? render_prefix(first, "") : render_prefix(first, last);
}

}  // namespace

bool same_sheet_name(std::string_view a, std::string_view b) { return equal_ignoring_case(a, b); }

bool sheet_name_needs_quotes(std::string_view name) {
    if (name.empty() || is_ascii_digit(static_cast<unsigned char>(name[0]))) return true;
    for (std::size_t i = 0; i < name.size();) {
        auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            ++i;
            if (!is_ascii_letter(c) && !is_ascii_digit(c) && c != '_') return true;
        } else if (is_non_letter(next_code_point(name, i))) {
            return true;
        }
    }
    // Names a reference would read as a cell or a logical value.
    return looks_like_a1(name) || looks_like_r1c1(name) || same_sheet_name(name, "TRUE") ||
           same_sheet_name(name, "FALSE");
}

std::string format_sheet_prefix_name(std::string_view name) {
    std::string out = render_prefix(name, "");
    out.pop_back();  // the "!"
    return out;
}

Result<std::optional<std::string>> rewrite_sheet_references(std::string_view formula,
                                                            const SheetChange& change) {
    auto tokens = tokenize_formula(formula);
    if (!tokens) return fail(std::move(tokens.error()));
    std::string out;
    std::size_t copied = 0;
    bool changed = false;
    for (const FormulaToken& token : *tokens) {
        if (!token.sheet || !token.sheet->book.empty()) continue;
        const SheetPrefix& prefix = *token.sheet;
        auto names_it = [&](std::string_view name) {
            return change.match_case ? name == change.old_name : same_sheet_name(name, change.old_name);
        };
        bool first_hit = names_it(prefix.first);
        bool last_hit = !prefix.last.empty() && names_it(prefix.last);
        if (!first_hit && !last_hit) continue;
        out.append(formula.substr(copied, prefix.begin - copied));
        std::size_t resume = prefix.end;
        if (change.new_name) {
            out += render_prefix(first_hit ? std::string_view(*change.new_name) : std::string_view(prefix.first),
                                 last_hit ? std::string_view(*change.new_name) : std::string_view(prefix.last));
        } else if (auto moved = prefix_after_delete(prefix, change)) {
            out += *moved;
        } else {
            out += "#REF!";
            // Only a cell or range keeps its body after the lost sheet; a name or error there
            // means nothing without it.
            if (token.kind != TokenKind::Reference) resume = token.end;
        }
        copied = resume;
        changed = true;
    }
    if (!changed) return std::optional<std::string>();
    out.append(formula.substr(copied));
    return std::optional<std::string>(std::move(out));
}

}  // namespace qm
